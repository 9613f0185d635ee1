// Dignities: the factory tables against their published sums, the files
// refused line by line, the essential scores of every classical planet in
// every degree against an oracle of the traditional tables, charts worked by
// hand from Lilly's table, the accidental separations counted in whole
// degrees, the fixed stars of the scores, and the balance of the second
// table by the thirds of the zodiac.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "horary_charts.h"
#include "judgement/dignities.h"
#include "judgement/significators.h"

namespace {

using horary_test::PlainChart;
using horary_test::RankPoints;

const std::string kFactory = std::string(HORARY_SOURCE_DIR) + "/data";

constexpr int kEgyptian = 0, kChaldean = 1, kPtolemaic = 2;
constexpr double kStarTolDeg = 0.005;  // degrees: the published values to two decimals

DignityTables FactoryTables() {
  DignityTables tables;
  const DignityFileResult r = LoadDignityTables(kFactory, tables);
  EXPECT_TRUE(r.Ok) << r.Path << " line " << r.Line << " " << r.Detail;
  return tables;
}

// Degrees of each planet's terms over the zodiac in one term system.
std::map<int, int> TermDegrees(const DignityTables& t, int system) {
  std::map<int, int> sum;
  for (int s = 0; s < kSignCount; ++s)
    for (int k = 0; k < kTermsPerSign; ++k)
      sum[t.TermLords[s][k][system]] +=
          t.TermEnds[s][k][system] - (k ? t.TermEnds[s][k - 1][system] : 0);
  return sum;
}

TEST(DignityTables, FactoryTablesHoldThePublishedSchemes) {
  const DignityTables t = FactoryTables();
  for (int system = 0; system < kTermSystems; ++system)
    for (int s = 0; s < kSignCount; ++s) {
      int previous = 0;
      for (int k = 0; k < kTermsPerSign; ++k) {
        EXPECT_GT(t.TermEnds[s][k][system], previous) << "system " << system << " sign " << s;
        previous = t.TermEnds[s][k][system];
      }
      EXPECT_EQ(previous, 30) << "system " << system << " sign " << s;
    }
  // Tetrabiblos I.20: the Egyptian terms give Saturn 57, Jupiter 79, Mars 66,
  // Venus 82 and Mercury 76 degrees; I.21: the Chaldean terms by day Saturn
  // 78, Jupiter 72, Mars 69, Venus 75, Mercury 66
  EXPECT_EQ(TermDegrees(t, kEgyptian), (std::map<int, int>{{kBodyMercury, 76},
                                                           {kBodyVenus, 82},
                                                           {kBodyMars, 66},
                                                           {kBodyJupiter, 79},
                                                           {kBodySaturn, 57}}));
  EXPECT_EQ(TermDegrees(t, kChaldean), (std::map<int, int>{{kBodyMercury, 66},
                                                           {kBodyVenus, 75},
                                                           {kBodyMars, 69},
                                                           {kBodyJupiter, 72},
                                                           {kBodySaturn, 78}}));
  // every classical term system gives each of the five planets one term a sign
  for (int system : {kEgyptian, kChaldean, kPtolemaic})
    for (int s = 0; s < kSignCount; ++s) {
      int seen = 0;
      for (int k = 0; k < kTermsPerSign; ++k) seen |= 1 << t.TermLords[s][k][system];
      EXPECT_EQ(seen, 0b1111100) << "system " << system << " sign " << s;
    }
  // the faces run through the Chaldean order from Mars at 0 Aries to Mars at
  // 20 Pisces, and each sign's first degree belongs to its domicile lord
  constexpr int kChaldeanOrder[7] = {kBodySaturn, kBodyJupiter, kBodyMars, kBodySun,
                                     kBodyVenus,  kBodyMercury, kBodyMoon};
  for (int face = 0; face < 36; ++face)
    EXPECT_EQ(t.FaceLords[face / 3][face % 3][0], kChaldeanOrder[(2 + face) % 7])
        << "face " << face;
  for (int s = 0; s < kSignCount; ++s) {
    EXPECT_EQ(t.DegreeLords[s][0][0], ClassicRuler(kDomicileRuler[s], kSevenPlanets))
        << "sign " << s;
    for (int set = 0; set < kRulerSets; ++set)
      for (int d = 0; d < kDegreesPerSign; ++d) EXPECT_LT(t.DegreeLords[s][d][set], 10);
  }
}

LineList FactoryLines(const char* name) {
  LineList lines;
  EXPECT_TRUE(ReadLines(kFactory + "/Options/" + name, lines));
  return lines;
}

// A degree beyond the last term end would have no lord: such a file, and one
// with a field that is no number or no body, is refused at its line and the
// tables stay as they were.
TEST(DignityTables, DamagedFilesAreRefusedAtTheirLine) {
  struct Case {
    int Line;  // from 0
    std::string Text;
    DignityFileFault Fault;
  };
  const Case cases[] = {
      {7, "05030204060612202529", DignityFileFault::kTermEnds},   // ends at 29
      {7, "05030204060612122530", DignityFileFault::kTermEnds},   // 12 twice
      {59, "05030204060612302030", DignityFileFault::kTermEnds},  // 30 before 20
      {3, "0503020406061220253", DignityFileFault::kNotANumber},  // short line
      {3, "050302040606 1202530", DignityFileFault::kNotANumber},
      {4, "12030204060612202530", DignityFileFault::kNotABody},
  };
  const LineList factory = FactoryLines(kTermFileName);
  for (const Case& c : cases) {
    LineList lines = factory;
    lines[c.Line] = c.Text;
    DignityTables tables;
    tables.TermEnds[0][0][0] = 77;
    const DignityFileResult r = ReadTermLines(lines, "Term.opt", tables);
    EXPECT_FALSE(r.Ok) << c.Text;
    EXPECT_EQ(r.Fault, c.Fault) << c.Text;
    EXPECT_EQ(r.Line, c.Line + 1) << c.Text;
    EXPECT_EQ(tables.TermEnds[0][0][0], 77) << "tables changed by a refused file";
  }
  LineList shortFile = factory;
  shortFile.resize(59);
  DignityTables tables;
  DignityFileResult r = ReadTermLines(shortFile, "Term.opt", tables);
  EXPECT_EQ(r.Fault, DignityFileFault::kTooFewLines);
  EXPECT_EQ(r.Line, 60);

  LineList faces = FactoryLines(kFaceFileName);
  faces[23] = "0400x3";
  r = ReadFaceLines(faces, "Fac.opt", tables);
  EXPECT_EQ(r.Fault, DignityFileFault::kNotANumber);
  EXPECT_EQ(r.Line, 24);
  EXPECT_EQ(r.Detail, "x3");
  LineList degrees = FactoryLines(kDegreeFileName);
  degrees[0].pop_back();
  EXPECT_EQ(ReadDegreeLines(degrees, "Degr.opt", tables).Fault, DignityFileFault::kNotANumber);
}

// W. Lilly, Christian Astrology (London, 1647), p. 115, "A Table of the
// Fortitudes and Debilities of the Planets": the points of each fortitude
// (positive) and debility (negative), in his words.
const std::map<std::string, int> kLillyPoints = {
    // essential
    {"in his own house, or in mutual reception by house", 5},
    {"in his exaltation, or reception by exaltation", 4},
    {"in his own triplicity", 3},
    {"in his own term", 2},
    {"in his decanate or face", 1},
    {"in his detriment", -5},
    {"in his fall", -4},
    {"peregrine", -5},
    // accidental
    {"in the Midheaven or Ascendant", 5},
    {"in the 7th, 4th and 11th houses", 4},
    {"in the 2nd and 5th", 3},
    {"in the 9th", 2},
    {"in the 3rd house", 1},
    {"in the 12th house", -5},
    {"in the 8th and 6th", -2},
    {"direct", 4},
    {"retrograde", -5},
    {"swift in motion", 2},
    {"slow in motion", -2},
    {"Saturn, Jupiter, Mars oriental", 2},
    {"Saturn, Jupiter, Mars occidental", -2},
    {"Mercury, Venus occidental", 2},
    {"Mercury, Venus oriental", -2},
    {"Moon increasing in light", 2},
    {"Moon decreasing in light", -2},
    {"free from combustion and the Sun's beams", 5},
    {"in cazimi, or in the heart of the Sun", 5},
    {"combust of the Sun", -5},
    {"under the Sun's beams", -4},
    {"partile conjunction with Jupiter and Venus", 5},
    {"partile trine of Jupiter and Venus", 4},
    {"partile sextile of Jupiter and Venus", 3},
    {"partile conjunction with the Dragon's Head", 4},
    {"partile conjunction with the Dragon's Tail", -4},
    {"partile conjunction of Saturn or Mars", -5},
    {"partile opposition of Saturn or Mars", -4},
    {"partile square of Saturn or Mars", -3},
    {"besieged of Saturn and Mars", -5},
    {"in conjunction with Cor Leonis", 6},
    {"in conjunction with Spica Virginis", 5},
    {"in conjunction with Caput Algol", -5},
};

int Lilly(const std::string& words) {
  const auto found = kLillyPoints.find(words);
  EXPECT_NE(found, kLillyPoints.end()) << words;
  return found == kLillyPoints.end() ? 0 : found->second;
}

// The traditional tables of Lilly, by sign: domicile lords, exaltations
// (-1 none) and the triplicity lords by day and by night.
constexpr int kLillyDomicile[12] = {4, 3, 2, 1, 0, 2, 3, 4, 5, 6, 6, 5};
constexpr int kLillyExaltation[12] = {0, 1, -1, 5, -1, 2, 6, -1, -1, 4, -1, 3};
constexpr int kLillyTriplicityDay[4] = {0, 3, 6, 4};
constexpr int kLillyTriplicityNight[4] = {5, 1, 2, 4};

struct Essential {
  int Plus = 0;
  int Minus = 0;
};

// Essential dignity of a classical planet alone in its degree (so in no
// reception), by Lilly's points.
Essential LillyEssential(int p, double lon, bool day, const DignityTables& t, int system, int set) {
  const int s = static_cast<int>(lon / 30), d = static_cast<int>(lon) % 30;
  Essential e;
  if (kLillyDomicile[s] == p) e.Plus += Lilly("in his own house, or in mutual reception by house");
  if (kLillyExaltation[s] == p) e.Plus += Lilly("in his exaltation, or reception by exaltation");
  if ((day ? kLillyTriplicityDay : kLillyTriplicityNight)[s % 4] == p)
    e.Plus += Lilly("in his own triplicity");
  int k = 0;
  while (t.TermEnds[s][k][system] <= d) ++k;
  if (t.TermLords[s][k][system] == p) e.Plus += Lilly("in his own term");
  if (t.FaceLords[s][d / 10][set] == p) e.Plus += Lilly("in his decanate or face");
  if (kLillyDomicile[(s + 6) % 12] == p) e.Minus -= Lilly("in his detriment");
  if (kLillyExaltation[(s + 6) % 12] == p) e.Minus -= Lilly("in his fall");
  if (e.Plus == 0 && e.Minus == 0) e.Minus = -Lilly("peregrine");
  return e;
}

// Every classical planet in every degree, by day and by night, with both
// ruler sets and every term system: all bodies stand in one degree, so no
// planet is in reception, and the scores are Lilly's. (Mercury in Gemini,
// Mars in Leo, Saturn in Scorpio, Venus in Sagittarius and Jupiter in
// Aquarius have no exaltation, nor the opposite signs a fall.)
TEST(Dignities, EssentialScoresOfEveryDegreeAreLillys) {
  const DignityTables tables = FactoryTables();
  auto chart = PlainChart();
  int checked = 0;
  for (int system = 0; system < kTermSystems; ++system)
    for (int set = 0; set < kRulerSets; ++set)
      for (int day : {1, -1})
        for (int degree = 0; degree < 360; ++degree) {
          const double lon = degree + 0.5;
          for (double& l : chart->EclipticLongitude) l = lon;
          chart->DayChart = day;
          RankPoints(*chart);
          const DignityResult r = CalcDignities(*chart, tables, DignityChoice{system, set}, {});
          for (int p = kBodySun; p <= kBodySaturn; ++p) {
            const Essential e = LillyEssential(p, lon, day == 1, tables, system, set);
            ASSERT_EQ(r.Scores.EssPlus[p], e.Plus) << "body " << p << " at " << lon << " system "
                                                   << system << " set " << set << " day " << day;
            ASSERT_EQ(r.Scores.EssMinus[p], e.Minus) << "body " << p << " at " << lon;
            ++checked;
          }
        }
  EXPECT_EQ(checked, kTermSystems * kRulerSets * 2 * 360 * 7);
}

// A longitude a whole turn on or back (as a sum of angles may leave it)
// scores as the same place of the zodiac, in every degree.
TEST(Dignities, ALongitudeATurnAwayScoresAsItsPlace) {
  const DignityTables tables = FactoryTables();
  auto chart = PlainChart();
  const auto scores = [&](double lon) {
    for (double& l : chart->EclipticLongitude) l = lon;
    RankPoints(*chart);
    return CalcDignities(*chart, tables, DignityChoice{0, kSevenPlanets}, {}).Scores;
  };
  for (int degree = 0; degree < 360; ++degree) {
    const DignityScores here = scores(degree + 0.5);
    for (double turn : {360.0, -360.0}) {
      const DignityScores away = scores(degree + 0.5 + turn);
      for (int p = kBodySun; p <= kBodySaturn; ++p) {
        ASSERT_EQ(away.EssPlus[p], here.EssPlus[p]) << "body " << p << " at " << degree + turn;
        ASSERT_EQ(away.EssMinus[p], here.EssMinus[p]) << "body " << p << " at " << degree + turn;
      }
    }
  }
}

struct HandCase {
  const char* What;
  int Body;
  double Lon;
  int Day;
  int Plus;
  int Minus;
};

// Worked by hand from Lilly's table of essential dignities with the Egyptian
// terms, the body alone in its sign.
TEST(Dignities, ChartsWorkedByHand) {
  const HandCase cases[] = {
      {"Sun 15 Leo by day: domicile 5, triplicity 3", kBodySun, 135.0, 1, 8, 0},
      {"Mars 5 Aries by day: domicile 5, face 1", kBodyMars, 5.0, 1, 6, 0},
      {"Jupiter 3 Aries by night: triplicity 3, term 2", kBodyJupiter, 3.0, -1, 5, 0},
      {"Mars 15 Leo by day: peregrine", kBodyMars, 135.0, 1, 0, 5},
      {"Jupiter 15 Leo by day: face 1, no fall in Leo", kBodyJupiter, 135.0, 1, 1, 0},
      {"Saturn 10 Aquarius by day: domicile 5, triplicity 3", kBodySaturn, 310.0, 1, 8, 0},
      {"Venus 20 Virgo by night: fall 4 (the term is Jupiter's, the face Mercury's)", kBodyVenus,
       170.0, -1, 0, 4},
  };
  const DignityTables tables = FactoryTables();
  for (const HandCase& c : cases) {
    auto chart = PlainChart();
    // the other bodies far off in Taurus and Scorpio, in no reception with it
    for (int b = 0; b < kBodyCount; ++b) chart->EclipticLongitude[b] = b % 2 ? 50.0 : 230.0;
    chart->EclipticLongitude[c.Body] = c.Lon;
    chart->DayChart = c.Day;
    RankPoints(*chart);
    const DignityResult r =
        CalcDignities(*chart, tables, DignityChoice{kEgyptian, kSevenPlanets}, {});
    EXPECT_EQ(r.Scores.EssPlus[c.Body], c.Plus) << c.What;
    EXPECT_EQ(r.Scores.EssMinus[c.Body], c.Minus) << c.What;
    EXPECT_EQ((*r.Classic.PointRow(c.Body))[1], std::to_string(c.Plus)) << c.What;
  }
}

// Mutual reception by house and by exaltation, worked by hand with Lilly's
// points and the Egyptian terms, by day.
TEST(Dignities, ReceptionsByHouseAndByExaltation) {
  struct Case {
    const char* What;
    int Body, Other;
    double Lon, OtherLon;
    std::vector<const char*> Plus, Minus;
  };
  const Case cases[] = {
      {"Venus 10 Aries, Mars 10 Taurus: reception, Venus's term; detriment",
       kBodyVenus,
       kBodyMars,
       10.0,
       40.0,
       {"in his own house, or in mutual reception by house", "in his own term"},
       {"in his detriment"}},
      {"Mars 10 Taurus, Venus 10 Aries: reception; detriment",
       kBodyMars,
       kBodyVenus,
       40.0,
       10.0,
       {"in his own house, or in mutual reception by house"},
       {"in his detriment"}},
      {"Sun 10 Libra, Saturn 10 Aries: reception by exaltation; fall",
       kBodySun,
       kBodySaturn,
       190.0,
       10.0,
       {"in his exaltation, or reception by exaltation"},
       {"in his fall"}},
      {"Saturn 10 Aries, Sun 10 Libra: reception by exaltation; fall",
       kBodySaturn,
       kBodySun,
       10.0,
       190.0,
       {"in his exaltation, or reception by exaltation"},
       {"in his fall"}},
  };
  const DignityTables tables = FactoryTables();
  for (const Case& c : cases) {
    auto chart = PlainChart();
    for (int b = 0; b < kBodyCount; ++b) chart->EclipticLongitude[b] = b % 2 ? 50.0 : 230.0;
    chart->EclipticLongitude[c.Body] = c.Lon;
    chart->EclipticLongitude[c.Other] = c.OtherLon;
    chart->DayChart = 1;
    RankPoints(*chart);
    const DignityScores scores =
        CalcDignities(*chart, tables, DignityChoice{kEgyptian, kSevenPlanets}, {}).Scores;
    int plus = 0, minus = 0;
    for (const char* f : c.Plus) plus += Lilly(f);
    for (const char* f : c.Minus) minus -= Lilly(f);
    EXPECT_EQ(scores.EssPlus[c.Body], plus) << c.What;
    EXPECT_EQ(scores.EssMinus[c.Body], minus) << c.What;
  }
}

// Lilly's words for the accidental strength of houses 1..12.
const char* const kLillyHouse[12] = {"in the Midheaven or Ascendant",
                                     "in the 2nd and 5th",
                                     "in the 3rd house",
                                     "in the 7th, 4th and 11th houses",
                                     "in the 2nd and 5th",
                                     "in the 8th and 6th",
                                     "in the 7th, 4th and 11th houses",
                                     "in the 8th and 6th",
                                     "in the 9th",
                                     "in the Midheaven or Ascendant",
                                     "in the 7th, 4th and 11th houses",
                                     "in the 12th house"};

// One condition of a body for the accidental scores: where it stands, its
// house and motion, the Sun's place and the bodies moved near it (offsets in
// degrees from it); every other body 140..163 degrees away, in no aspect.
struct Condition {
  int Body = kBodyMercury;
  double At = 300;  // degrees
  int House = 10;
  double Motion = 1.9;  // degrees per day
  double Sun = -25;     // degrees from the body
  std::vector<std::pair<int, double>> Near;
};

DignityScores AccidentalScores(const Condition& c) {
  auto chart = PlainChart();
  for (int b = 0; b < kBodyCount; ++b) chart->EclipticLongitude[b] = c.At + 140 + 1.3 * b;
  chart->EclipticLongitude[kBodySun] = c.At + c.Sun;
  chart->EclipticLongitude[c.Body] = c.At;
  for (const auto& [body, offset] : c.Near) chart->EclipticLongitude[body] = c.At + offset;
  for (double& l : chart->EclipticLongitude) Normalize360(l);
  chart->DailyMotion[c.Body] = c.Motion;
  chart->Retrograde[c.Body] = c.Motion < 0 ? 1 : 0;
  RankPoints(*chart);
  for (SortedPoint& place : chart->SortedPoints)
    if (place.Body == c.Body) place.House = c.House;
  return CalcDignities(*chart, DignityTables{}, DignityChoice{0, kSevenPlanets}, {}).Scores;
}

// Every accidental weight the scorer uses against Lilly's table: a body in
// one condition at a time, its Asc+ and Asc- the sums of Lilly's points for
// the fortitudes and debilities it then has; the orbs of the Sun on both
// sides of 17', 8 deg 30' and 17 deg.
TEST(Dignities, AccidentalScoresAreLillysPoints) {
  const char* const free = "free from combustion and the Sun's beams";
  const char* const occidental = "Mercury, Venus occidental";
  const std::vector<const char*> mercury = {"direct", "swift in motion", occidental, free};
  struct Case {
    std::string What;
    Condition Where;
    std::vector<const char*> Has;  // besides the house's
  };
  std::vector<Case> cases;
  for (int h = 1; h <= 12; ++h) {
    Condition c;
    c.House = h;
    cases.push_back({"Mercury in house " + std::to_string(h), c, mercury});
  }
  const auto with = [&](std::string what, auto change, std::vector<const char*> has) {
    Condition c;
    change(c);
    cases.push_back({std::move(what), c, std::move(has)});
  };
  with("Mercury retrograde", [](Condition& c) { c.Motion = -0.5; },
       {"retrograde", "slow in motion", occidental, free});
  with("Mercury slow", [](Condition& c) { c.Motion = 0.5; },
       {"direct", "slow in motion", occidental, free});
  with("Mercury oriental", [](Condition& c) { c.Sun = 25; },
       {"direct", "swift in motion", "Mercury, Venus oriental", free});
  struct SunCase {
    double Offset;
    const char* Words;
  };
  for (const SunCase& sun :
       {SunCase{-0.27, "in cazimi, or in the heart of the Sun"},
        SunCase{-0.30, "combust of the Sun"}, SunCase{-8.4, "combust of the Sun"},
        SunCase{-8.6, "under the Sun's beams"}, SunCase{-16.9, "under the Sun's beams"},
        SunCase{-17.1, free}})
    with("Mercury " + std::to_string(-sun.Offset) + " deg from the Sun",
         [&](Condition& c) { c.Sun = sun.Offset; },
         {"direct", "swift in motion", occidental, sun.Words});
  with("Mercury 5 deg from the Sun across 0 Aries",
       [](Condition& c) {
         c.At = 2;
         c.Sun = -5;
       },
       {"direct", "swift in motion", occidental, "combust of the Sun"});
  struct NearCase {
    int Body;
    double Offset;
    const char* Words;
  };
  for (const NearCase& n :
       {NearCase{kBodyVenus, 0.5, "partile conjunction with Jupiter and Venus"},
        NearCase{kBodyJupiter, -0.6, "partile conjunction with Jupiter and Venus"},
        NearCase{kBodyJupiter, 120.5, "partile trine of Jupiter and Venus"},
        NearCase{kBodyVenus, -60.5, "partile sextile of Jupiter and Venus"},
        NearCase{kBodyNorthNode, 0.5, "partile conjunction with the Dragon's Head"},
        NearCase{kBodySouthNode, -0.5, "partile conjunction with the Dragon's Tail"},
        NearCase{kBodyMars, 0.5, "partile conjunction of Saturn or Mars"},
        NearCase{kBodySaturn, 180.3, "partile opposition of Saturn or Mars"},
        NearCase{kBodyMars, -90.4, "partile square of Saturn or Mars"}})
    with(std::string("Mercury and body ") + std::to_string(n.Body) + " at " +
             std::to_string(n.Offset),
         [&](Condition& c) {
           c.Near = {{n.Body, n.Offset}};
         },
         {"direct", "swift in motion", occidental, free, n.Words});
  // besieged by the malefics nearest on either side, both in its sign
  // (15 Aquarius); Uranus between counts for nothing with the seven planets
  const std::vector<const char*> besieged = {"direct", "swift in motion", occidental, free,
                                             "besieged of Saturn and Mars"};
  with(
      "Mercury between Mars and Saturn",
      [](Condition& c) {
        c.At = 315;
        c.Near = {{kBodyMars, -3}, {kBodySaturn, 3}};
      },
      besieged);
  with(
      "Mercury between the Dragon's Tail and Saturn, Uranus beside it",
      [](Condition& c) {
        c.At = 315;
        c.Near = {{kBodySouthNode, -3}, {kBodySaturn, 3}, {kBodyUranus, 1.5}};
      },
      besieged);
  with(
      "Mercury between Mars in Capricorn and Saturn",
      [](Condition& c) {
        c.At = 301;
        c.Near = {{kBodyMars, -3}, {kBodySaturn, 3}};
      },
      mercury);
  with(
      "Mercury between Mars and Saturn, Venus between",
      [](Condition& c) {
        c.At = 315;
        c.Near = {{kBodyMars, -3}, {kBodySaturn, 3}, {kBodyVenus, 2}};
      },
      mercury);
  // the other kinds of planet
  const auto body = [](int b, double motion, double sun) {
    return [=](Condition& c) {
      c.Body = b;
      c.Motion = motion;
      c.Sun = sun;
    };
  };
  with("Mars occidental", body(kBodyMars, 0.75, -25),
       {"direct", "swift in motion", "Saturn, Jupiter, Mars occidental", free});
  with("Mars oriental", body(kBodyMars, 0.75, 25),
       {"direct", "swift in motion", "Saturn, Jupiter, Mars oriental", free});
  with("Moon increasing", body(kBodyMoon, 15, -25),
       {"direct", "swift in motion", "Moon increasing in light", free});
  with("Moon decreasing", body(kBodyMoon, 15, 25),
       {"direct", "swift in motion", "Moon decreasing in light", free});
  with("the Sun", body(kBodySun, 1.0, 0), {"direct", "swift in motion"});
  // the stars at 2000.0: Regulus, Spica, Algol
  auto chart = PlainChart();
  struct StarCase {
    int Star;
    const char* Words;
  };
  for (const StarCase& star : {StarCase{39, "in conjunction with Cor Leonis"},
                               StarCase{48, "in conjunction with Spica Virginis"},
                               StarCase{12, "in conjunction with Caput Algol"}}) {
    const double at = FixedStarLongitudeAt(*chart, star.Star, chart->JulianDayUT) + 0.4;
    with(star.Words, [at](Condition& c) { c.At = at; },
         {"direct", "swift in motion", occidental, free, star.Words});
  }

  for (const Case& c : cases) {
    int plus = 0, minus = 0;
    std::vector<const char*> has = c.Has;
    has.push_back(kLillyHouse[c.Where.House - 1]);
    for (const char* f : has) (Lilly(f) > 0 ? plus : minus) += std::abs(Lilly(f));
    const DignityScores scores = AccidentalScores(c.Where);
    EXPECT_EQ(scores.AscPlus[c.Where.Body], plus) << c.What;
    EXPECT_EQ(scores.AscMinus[c.Where.Body], minus) << c.What;
  }
}

// Accidental points of Venus as the separations from other bodies change:
// whole degrees, truncated, on both sides and across 0 Aries.
TEST(Dignities, AccidentalSeparationsCountWholeDegrees) {
  const DignityTables tables = FactoryTables();
  struct Case {
    const char* What;
    int Other;
    double Offset;  // degrees from Venus
    int Plus;       // change of Asc+ against the other body far off
    int Minus;      // change of Asc-
  };
  const Case cases[] = {
      {"Jupiter 0.9 deg", kBodyJupiter, 0.9, 5, 0},   {"Jupiter 1.9 deg", kBodyJupiter, -1.9, 5, 0},
      {"Jupiter 2.05 deg", kBodyJupiter, 2.05, 0, 0}, {"Jupiter trine", kBodyJupiter, 120.9, 4, 0},
      {"Jupiter sextile", kBodyJupiter, -61.5, 3, 0}, {"Mars 90.5 deg", kBodyMars, 90.5, 0, 3},
      {"Mars opposite", kBodyMars, 179.2, 0, 4},      {"Saturn conjunct", kBodySaturn, -0.4, 0, 5},
      {"North node", kBodyNorthNode, 1.5, 4, 0},      {"South node", kBodySouthNode, -0.2, 0, 4},
  };
  for (const Case& c : cases)
    for (double venus : {0.3, 200.0, 359.6}) {
      const auto scores = [&](double otherLon) {
        auto chart = PlainChart();
        // the others spread over the zodiac away from Venus's aspects
        for (int b = 0; b < kBodyCount; ++b) chart->EclipticLongitude[b] = venus + 150.0 + 0.7 * b;
        chart->EclipticLongitude[kBodySun] = venus + 25.0;  // free of the Sun
        chart->EclipticLongitude[kBodyVenus] = venus;
        chart->EclipticLongitude[c.Other] = otherLon;
        for (double& l : chart->EclipticLongitude) Normalize360(l);
        RankPoints(*chart);
        return CalcDignities(*chart, tables, DignityChoice{0, kSevenPlanets}, {}).Scores;
      };
      const DignityScores base = scores(venus + 155.3), near = scores(venus + c.Offset);
      EXPECT_EQ(near.AscPlus[kBodyVenus] - base.AscPlus[kBodyVenus], c.Plus)
          << c.What << " at " << venus;
      EXPECT_EQ(near.AscMinus[kBodyVenus] - base.AscMinus[kBodyVenus], c.Minus)
          << c.What << " at " << venus;
    }
}

// The stars of the scores at 2000.0 from their 1950 places and rates, and a
// body on Regulus, on Spica and on Algol.
TEST(Dignities, FixedStarsOfTheScores) {
  auto chart = PlainChart();
  chart->JulianDayUT = 2451545.0;  // 2000.0
  EXPECT_NEAR(FixedStarLongitudeAt(*chart, 39, chart->JulianDayUT), 149.80,
              kStarTolDeg);                                                               // Regulus
  EXPECT_NEAR(FixedStarLongitudeAt(*chart, 12, chart->JulianDayUT), 56.28, kStarTolDeg);  // Algol
  const DignityTables tables = FactoryTables();
  struct Case {
    int Star;
    int Plus, Minus;
  };
  for (const Case& c : {Case{39, 6, 0}, Case{48, 5, 0}, Case{12, 0, 5}}) {
    const double star = FixedStarLongitudeAt(*chart, c.Star, chart->JulianDayUT);
    const auto venusAt = [&](double lon) {
      for (int b = 0; b < kBodyCount; ++b) chart->EclipticLongitude[b] = star + 100.0 + 0.5 * b;
      chart->EclipticLongitude[kBodySun] = star - 30.0;
      chart->EclipticLongitude[kBodyVenus] = lon;
      for (double& l : chart->EclipticLongitude) Normalize360(l);
      RankPoints(*chart);
      return CalcDignities(*chart, tables, DignityChoice{}, {}).Scores;
    };
    const DignityScores on = venusAt(star + 0.4), off = venusAt(star + 1.4);
    EXPECT_EQ(on.AscPlus[kBodyVenus] - off.AscPlus[kBodyVenus], c.Plus) << "star " << c.Star;
    EXPECT_EQ(on.AscMinus[kBodyVenus] - off.AscMinus[kBodyVenus], c.Minus) << "star " << c.Star;
  }
}

// All twelve bodies in one degree: every group of the distribution has that
// degree's member dominant (+8 in all), and the balance of a body is worked
// out by hand. The body's own third counts 1..3 against the thirds of the
// zodiac from 0 Aries: the Moon's is the first, the Sun's the second.
TEST(Dignities, BalanceCountsTheThirdOfTheZodiacFromOne) {
  struct Case {
    const char* What;
    int Body;
    double Lon;
    int Balance;
  };
  const Case cases[] = {
      // domicile 3, water 2, cardinal 2, first third 1, dominance 8
      {"Moon 15 Cancer", kBodyMoon, 105.0, 16},
      // fall -3, the Moon in Scorpio 1, second third 0, dominance 8
      {"Moon 15 Scorpio", kBodyMoon, 225.0, 6},
      // fire 2, third third 0, dominance 8
      {"Sun 15 Sagittarius", kBodySun, 255.0, 10},
      // fall -3, water against fire -2, Mars in Cancer 1 (not the 2 of a
      // cardinal sign), first third 1, dominance 8
      {"Mars 15 Cancer", kBodyMars, 105.0, 5},
      // domicile 3, fire 2, fixed 2, second third 1, dominance 8
      {"Sun 15 Leo", kBodySun, 135.0, 16},
  };
  for (const Case& c : cases) {
    auto chart = PlainChart();
    for (double& l : chart->EclipticLongitude) l = c.Lon;
    RankPoints(*chart);
    const DignityResult r = CalcDignities(*chart, DignityTables{}, DignityChoice{}, {});
    EXPECT_EQ(r.Scores.BalanceScore[c.Body], c.Balance) << c.What;
    EXPECT_EQ((*r.Second.PointRow(c.Body))[3], std::to_string(c.Balance)) << c.What;
  }
}

}  // namespace
