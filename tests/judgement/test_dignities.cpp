// Dignities: the factory tables against their published sums, the files
// refused line by line, the essential scores of every classical planet in
// every degree against an oracle of the traditional tables, charts worked by
// hand from Lilly's table, the accidental separations counted in whole
// degrees, the fixed stars of the scores, and the balance of the second
// table by the thirds of the zodiac.
#include <gtest/gtest.h>

#include <map>

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
// reception): domicile 5, exaltation 4, triplicity 3, term 2, face 1;
// detriment 5, fall 4; peregrine 5.
Essential LillyEssential(int p, double lon, bool day, const DignityTables& t, int system, int set) {
  const int s = static_cast<int>(lon / 30), d = static_cast<int>(lon) % 30;
  Essential e;
  if (kLillyDomicile[s] == p) e.Plus += 5;
  if (kLillyExaltation[s] == p) e.Plus += 4;
  if ((day ? kLillyTriplicityDay : kLillyTriplicityNight)[s % 4] == p) e.Plus += 3;
  int k = 0;
  while (t.TermEnds[s][k][system] <= d) ++k;
  if (t.TermLords[s][k][system] == p) e.Plus += 2;
  if (t.FaceLords[s][d / 10][set] == p) e.Plus += 1;
  if (kLillyDomicile[(s + 6) % 12] == p) e.Minus += 5;
  if (kLillyExaltation[(s + 6) % 12] == p) e.Minus += 4;
  if (e.Plus == 0 && e.Minus == 0) e.Minus = 5;
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
