// The dignities of the bodies: the dignity files, the two tables of scores
// and the drawing of a grid.
#include "judgement/dignities.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "chart/rulers.h"
#include "engine/astromath.h"
#include "judgement/siege.h"
#include "judgement/significators.h"
#include "platform/text/cp1251.h"

namespace {

// ---- Fixed tables of the scoring -------------------------------------------

// Triplicity rulers by element (fire, earth, air, water): night, day.
constexpr int kTriplicityRulers[4][2] = {{5, 0}, {1, 3}, {2, 6}, {4, 4}};

// The points of the first table: W. Lilly, Christian Astrology (London,
// 1647), p. 115, "A Table of the Fortitudes and Debilities of the Planets".
// A fortitude counts positive, a debility negative; a score keeps the
// fortitudes' sum and the debilities' sum apart (see Tally).
// essential
constexpr int kDomicile = 5;  // in his own house
constexpr int kMutualReceptionByHouse = 5;
constexpr int kExaltation = 4;
constexpr int kReceptionByExaltation = 4;
constexpr int kTriplicity = 3;
constexpr int kTerm = 2;
constexpr int kFace = 1;  // in his decanate or face
constexpr int kDetriment = -5;
constexpr int kFall = -4;
constexpr int kPeregrine = -5;  // no essential dignity or debility at all
// accidental: the houses
constexpr int kInAscendantOrMidheaven = 5;
constexpr int kInFourthSeventhOrEleventh = 4;
constexpr int kInSecondOrFifth = 3;
constexpr int kInNinth = 2;
constexpr int kInThird = 1;
constexpr int kInSixthOrEighth = -2;
constexpr int kInTwelfth = -5;
// accidental: motion
constexpr int kDirect = 4;
constexpr int kRetrograde = -5;
constexpr int kSwiftInMotion = 2;
constexpr int kSlowInMotion = -2;
// accidental: oriental or occidental of the Sun (the Moon increasing or
// decreasing in light counts as Mercury and Venus occidental or oriental)
constexpr int kSuperiorOriental = 2;  // Saturn, Jupiter, Mars
constexpr int kSuperiorOccidental = -2;
constexpr int kInferiorOccidental = 2;  // Mercury, Venus
constexpr int kInferiorOriental = -2;
// accidental: the Sun
constexpr int kFreeFromCombustion = 5;  // free from combustion and the Sun's beams
constexpr int kCazimi = 5;              // in the heart of the Sun
constexpr int kCombust = -5;
constexpr int kUnderSunbeams = -4;
// accidental: partile aspects and conjunctions
constexpr int kPartileConjunctionOfBenefic = 5;  // Jupiter or Venus
constexpr int kPartileTrineOfBenefic = 4;
constexpr int kPartileSextileOfBenefic = 3;
constexpr int kPartileConjunctionOfNorthNode = 4;   // the Dragon's Head
constexpr int kPartileConjunctionOfSouthNode = -4;  // the Dragon's Tail
constexpr int kPartileConjunctionOfMalefic = -5;    // Saturn or Mars
constexpr int kPartileOppositionOfMalefic = -4;
constexpr int kPartileSquareOfMalefic = -3;
constexpr int kBesieged = -5;  // between two malefics in its sign
// accidental: fixed stars
constexpr int kConjunctionOfRegulus = 6;  // Cor Leonis
constexpr int kConjunctionOfSpica = 5;
constexpr int kConjunctionOfAlgol = -5;  // Caput Algol

// Accidental points of houses 1..12.
constexpr int kHousePoints[12] = {
    kInAscendantOrMidheaven,    kInSecondOrFifth,           kInThird,
    kInFourthSeventhOrEleventh, kInSecondOrFifth,           kInSixthOrEighth,
    kInFourthSeventhOrEleventh, kInSixthOrEighth,           kInNinth,
    kInAscendantOrMidheaven,    kInFourthSeventhOrEleventh, kInTwelfth};
// A partile aspect is exact to the whole degree: within 1 degree of its arc.
constexpr int kPartileOrb = 1;  // whole degrees
// Mean daily motion of bodies 0..11, degrees per day (single precision, as
// the motions are compared with it).
constexpr float kMeanDailyMotion[12] = {0.9855555f,   13.183333f,   1.3833333f,   1.2f,
                                        0.51666665f,  0.083333336f, 0.033333335f, 0.011666667f,
                                        0.006666667f, 0.004166667f, 0.019712526f, 0.0012686454f};
// Second table: trigon rulers by sign, the fourteen-step cycle of rulers.
constexpr int kTrigonRulers[12][2] = {{5, 0}, {6, 11}, {7, 10}, {8, 9},  {5, 4},  {6, 3},
                                      {7, 2}, {8, 1},  {4, 0},  {3, 11}, {10, 2}, {9, 1}};
constexpr int kCycleRulers[14] = {4, 0, 3, 2, 1, 6, 5, 9, 0, 8, 7, 1, 11, 10};
// Second table, the rulership tally: what a ruler gains from each body.
constexpr int kTallyHouseSign = 7;  // ruler of the natural sign of the body's house
constexpr int kTallyDomicile = 6;
constexpr int kTallyCoRuler = 6;  // the classical planet beside a higher one's domicile
constexpr int kTallyExaltation = 5;
constexpr int kTallyTrigon = 4;    // each of the two trigon rulers
constexpr int kTallyCycleOf1 = 3;  // the cycle of rulers at 1, 5 and 10 degrees
constexpr int kTallyCycleOf5 = 2;
constexpr int kTallyCycleOf10 = 1;
// Second table, the point score: the weights of a main point's rulers (cycle
// at 1, 5 and 10 degrees, domicile, exaltation, the two trigon rulers).
constexpr int kPointRulerWeights[7] = {6, 5, 4, 3, 2, 1, 1};
// Second table, the balance score.
constexpr int kBalanceRulership = 3;  // for domicile or exaltation, against detriment or fall
constexpr int kBalanceOwnElement = 2;
constexpr int kBalanceOtherPolarity = -2;  // a sign of the other polarity than the body's element
constexpr int kBalanceOwnQuality = 2;
constexpr int kBalanceOwnThird = 1;
// Element (0 fire, 1 earth, 2 air, 3 water), quality (0 cardinal, 1 fixed,
// 2 mutable) and third of the zodiac (1..3) of each body.
constexpr int kBodyElement[12] = {0, 3, 2, 1, 0, 0, 1, 2, 3, 3, 2, 1};
constexpr int kBodyQuality[12] = {1, 0, 2, 1, 0, 2, 0, 1, 2, 1, 0, 2};
constexpr int kBodyThird[12] = {2, 1, 1, 1, 1, 3, 3, 3, 3, 2, 2, 2};
constexpr int kElementPolarity[4] = {+1, -1, +1, -1};
constexpr float kDistributionWeight[12] = {2.0f, 2.0f, 1.5f, 1.5f, 1.5f, 1.0f,
                                           1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kDominance = 1.5f;  // a member dominates beyond 1.5 times every other

constexpr int kLastClassical = kBodySaturn;

// ---- Helpers ---------------------------------------------------------------

bool IsBodyIndex(int b) { return b >= 0 && b < kDignityBodies; }

const std::string& Name(const ChartRecord& r, int body) {
  static const std::string empty;
  return body >= 0 && body + 1 < 49 ? r.ObjectNames[body + 1] : empty;
}

const std::string& Entry(const std::vector<std::string>& ui, int e) {
  static const std::string empty;
  return e >= 0 && e < static_cast<int>(ui.size()) ? ui[e] : empty;
}

// Whole degree 0..29 of a longitude inside its sign.
int DegreeIndex(double lon) { return DegreeOf(lon) % 30; }

// The separation of two longitudes in whole degrees 0..180: the shorter arc
// truncated. (Truncating the difference before taking the shorter arc would
// count 1.9 degrees across 0 Aries as 2.)
int WholeSeparation(double lon, double other) {
  double e = std::fabs(lon - other);
  while (e > 180.0) e = std::fabs(360.0 - e);
  return static_cast<int>(e);
}

// ---- Files -------------------------------------------------------------------

DignityFileResult Fault(DignityFileFault fault, const std::string& path, int line,
                        std::string detail = {}) {
  return DignityFileResult{false, fault, path, line, std::move(detail)};
}

// Field f (counted from 0) of a line: two decimal digits, or -1.
int Field(const std::string& line, int f, std::string& text) {
  const std::size_t at = 2 * static_cast<std::size_t>(f);
  text = at < line.size() ? line.substr(at, 2) : std::string();
  if (text.size() != 2 || !std::isdigit(static_cast<unsigned char>(text[0])) ||
      !std::isdigit(static_cast<unsigned char>(text[1])))
    return -1;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

// Reads every line of `sets` blocks of twelve, `fields` fields a line, of
// which the first `lords` are body indices; store(set, sign, values) keeps a
// line. Stops at the first fault.
template <typename Check, typename Store>
DignityFileResult ReadBlocks(const LineList& lines, const std::string& path, int sets, int fields,
                             int lords, Check check, Store store) {
  const int needed = sets * kSignCount;
  if (static_cast<int>(lines.size()) < needed)
    return Fault(DignityFileFault::kTooFewLines, path, static_cast<int>(lines.size()) + 1);
  std::vector<std::vector<int>> values(needed, std::vector<int>(fields));
  for (int i = 0; i < needed; ++i) {
    for (int f = 0; f < fields; ++f) {
      std::string text;
      const int v = Field(lines[i], f, text);
      if (v < 0) return Fault(DignityFileFault::kNotANumber, path, i + 1, text);
      if (f < lords && !IsBodyIndex(v))
        return Fault(DignityFileFault::kNotABody, path, i + 1, text);
      values[i][f] = v;
    }
    if (!check(values[i])) return Fault(DignityFileFault::kTermEnds, path, i + 1);
  }
  for (int i = 0; i < needed; ++i) store(i / kSignCount, i % kSignCount, values[i]);
  return {};
}

}  // namespace

// ---- Files -----------------------------------------------------------------

DignityFileResult ReadTermLines(const LineList& lines, const std::string& path,
                                DignityTables& tables) {
  // the ends increase and the last is 30, so every degree 0..29 has a term
  const auto endsIncreasing = [](const std::vector<int>& v) {
    for (int t = 0; t < kTermsPerSign; ++t)
      if (v[kTermsPerSign + t] <= (t == 0 ? 0 : v[kTermsPerSign + t - 1])) return false;
    return v[2 * kTermsPerSign - 1] == kDegreesPerSign;
  };
  return ReadBlocks(lines, path, kTermSystems, 2 * kTermsPerSign, kTermsPerSign, endsIncreasing,
                    [&tables](int set, int sign, const std::vector<int>& v) {
                      for (int t = 0; t < kTermsPerSign; ++t) {
                        tables.TermLords[sign][t][set] = v[t];
                        tables.TermEnds[sign][t][set] = v[kTermsPerSign + t];
                      }
                    });
}

DignityFileResult ReadFaceLines(const LineList& lines, const std::string& path,
                                DignityTables& tables) {
  return ReadBlocks(
      lines, path, kRulerSets, kFacesPerSign, kFacesPerSign,
      [](const std::vector<int>&) { return true; },
      [&tables](int set, int sign, const std::vector<int>& v) {
        for (int f = 0; f < kFacesPerSign; ++f) tables.FaceLords[sign][f][set] = v[f];
      });
}

DignityFileResult ReadDegreeLines(const LineList& lines, const std::string& path,
                                  DignityTables& tables) {
  return ReadBlocks(
      lines, path, kRulerSets, kDegreesPerSign, kDegreesPerSign,
      [](const std::vector<int>&) { return true; },
      [&tables](int set, int sign, const std::vector<int>& v) {
        for (int d = 0; d < kDegreesPerSign; ++d) tables.DegreeLords[sign][d][set] = v[d];
      });
}

DignityFileResult LoadDignityTables(const std::string& programFolder, DignityTables& tables) {
  using Reader = DignityFileResult (*)(const LineList&, const std::string&, DignityTables&);
  const struct {
    const char* Name;
    Reader Read;
  } files[] = {{kTermFileName, ReadTermLines},
               {kFaceFileName, ReadFaceLines},
               {kDegreeFileName, ReadDegreeLines}};
  DignityTables read = tables;
  for (const auto& file : files) {
    const std::string path = programFolder + "/Options/" + file.Name;
    LineList lines;
    std::string error;
    if (!ReadLines(path, lines, &error))
      return Fault(DignityFileFault::kUnreadable, path, 0, error);
    const DignityFileResult r = file.Read(lines, path, read);
    if (!r.Ok) return r;
  }
  tables = read;
  return {};
}

const std::vector<std::string>* DignityGrid::PointRow(int point) const {
  if (point < 0 || point >= kDignityRowPoints || point + 1 >= static_cast<int>(Rows.size()))
    return nullptr;
  return &Rows[point + 1];
}

// ---- The first table ---------------------------------------------------------

namespace {

// The two sums of a score: the fortitudes' points in Plus, the debilities'
// points in Minus, counted without their sign.
struct Tally {
  int& Plus;
  int& Minus;
  void Add(int points) const {
    if (points > 0)
      Plus += points;
    else
      Minus -= points;
  }
};

// Essential dignities of body p (columns 1, 2 and 5..10).
void ScoreEssential(const ChartRecord& r, const DignityTables& tables, const DignityChoice& choice,
                    int p, DignityScores& scores, std::vector<std::string>& row) {
  const bool seven = choice.RulerSet == 0;
  const int set = seven ? 0 : 1;
  const double lon = r.EclipticLongitude[p];
  const int s = SignOf(lon), d = DegreeIndex(lon);
  const int dom = r.DomicileRuler[s], exa = r.ExaltationRuler[s];
  const int det = r.DetrimentRuler[s], fall = r.FallRuler[s];
  // with the seven planets a higher planet's domicile or detriment stands
  // for the classical planet's (Uranus Saturn, Neptune Jupiter, Pluto Mars)
  const bool classical = p <= kLastClassical;
  const bool scored = !seven || classical;
  const Tally tally{scores.EssPlus[p], scores.EssMinus[p]};

  row[5] = Name(r, seven && dom > kLastClassical ? 13 - dom : dom);
  row[6] = seven && exa > kLastClassical ? "---" : Name(r, exa);
  if (scored) {
    if (dom == p) tally.Add(kDomicile);
    if (classical && 13 - dom == p) tally.Add(kDomicile);
    // an exaltation counts only for the body the table names; the sign of
    // a higher planet's exaltation exalts no classical planet
    if (exa == p) tally.Add(kExaltation);
    if ((!seven || dom <= kLastClassical) && dom != p && IsBodyIndex(dom) &&
        r.DomicileRuler[SignOf(r.EclipticLongitude[dom])] == p)
      tally.Add(kMutualReceptionByHouse);
    if ((!seven || exa <= kLastClassical) && exa != p && IsBodyIndex(exa) &&
        r.ExaltationRuler[SignOf(r.EclipticLongitude[exa])] == p)
      tally.Add(kReceptionByExaltation);
  }
  const int triplicity = kTriplicityRulers[s % 4][r.DayChart == 1 ? 1 : 0];
  if (triplicity == p) tally.Add(kTriplicity);
  row[7] = Name(r, triplicity);

  const int system = std::clamp(choice.TermSystem, 0, kTermSystems - 1);
  int term = 0;
  while (term + 1 < kTermsPerSign && tables.TermEnds[s][term][system] <= d) ++term;
  const int termLord = tables.TermLords[s][term][system];
  if (termLord == p) tally.Add(kTerm);
  row[8] = Name(r, termLord);

  const int faceLord = tables.FaceLords[s][d / 10][set];
  if (faceLord == p) tally.Add(kFace);
  row[9] = Name(r, faceLord);
  row[10] = Name(r, tables.DegreeLords[s][d][set]);
  row[1] = std::to_string(tally.Plus);

  if (scored) {
    if (det == p) tally.Add(kDetriment);
    if (classical && 13 - det == p) tally.Add(kDetriment);
    if (fall == p) tally.Add(kFall);
    if (tally.Plus == 0 && tally.Minus == 0) tally.Add(kPeregrine);
  }
  row[2] = std::to_string(tally.Minus);
}

// ---- The accidental dignities ------------------------------------------------

// The house's points (houses 1..12; none outside them).
void ScoreHouse(int house, const Tally& tally) {
  if (house >= 1 && house <= 12) tally.Add(kHousePoints[house - 1]);
}

// Direct or retrograde; swift or slow against the body's mean daily motion.
void ScoreMotion(const ChartRecord& r, int b, const Tally& tally) {
  tally.Add(r.Retrograde[b] == 0 ? kDirect : kRetrograde);
  tally.Add(r.DailyMotion[b] < kMeanDailyMotion[b] ? kSlowInMotion : kSwiftInMotion);
}

// Oriental or occidental of the Sun, by the whole degrees of longitude: a body
// less than 180 degrees ahead of the Sun rises after it (occidental; the Moon
// increasing in light). The Sun and the bodies after Saturn score nothing.
void ScoreOrientality(const ChartRecord& r, int b, double lon, const Tally& tally) {
  const int delta = static_cast<int>(lon - r.EclipticLongitude[kBodySun]);
  const bool occidental = (delta >= 0 && delta < 180) || delta < -180;
  if (b == kBodyMars || b == kBodyJupiter || b == kBodySaturn)
    tally.Add(occidental ? kSuperiorOccidental : kSuperiorOriental);
  if (b == kBodyMoon || b == kBodyMercury || b == kBodyVenus)
    tally.Add(occidental ? kInferiorOccidental : kInferiorOriental);
}

// Nearness to the Sun by the exact arc: the orbs of 17', 8 deg 30' and 17 deg
// are finer than whole degrees.
void ScoreSunNearness(const ChartRecord& r, int b, double lon, const Tally& tally) {
  if (b == kBodySun) return;
  const double e = ArcBetween(lon, r.EclipticLongitude[kBodySun]);
  if (e <= kCazimiOrb)
    tally.Add(kCazimi);
  else if (e > kUnderBeamsOrb)
    tally.Add(kFreeFromCombustion);
  else if (e <= kCombustOrb)
    tally.Add(kCombust);
  else
    tally.Add(kUnderSunbeams);
}

// A whole-degree separation 0..180 within the partile orb of an aspect's arc.
bool IsPartile(int separation, int arc) { return std::abs(separation - arc) <= kPartileOrb; }

// Partile aspects of the benefics and the malefics (a body none of its own),
// partile conjunctions of the nodes.
void ScorePartileAspects(const ChartRecord& r, int b, double lon, const Tally& tally) {
  const auto sep = [&r, lon](int other) {
    return WholeSeparation(lon, r.EclipticLongitude[other]);
  };
  for (const int benefic : {kBodyVenus, kBodyJupiter}) {
    if (b == benefic) continue;
    const int e = sep(benefic);
    if (IsPartile(e, 0)) tally.Add(kPartileConjunctionOfBenefic);
    if (IsPartile(e, 120)) tally.Add(kPartileTrineOfBenefic);
    if (IsPartile(e, 60)) tally.Add(kPartileSextileOfBenefic);
  }
  if (IsPartile(sep(kBodyNorthNode), 0)) tally.Add(kPartileConjunctionOfNorthNode);
  if (IsPartile(sep(kBodySouthNode), 0)) tally.Add(kPartileConjunctionOfSouthNode);
  for (const int malefic : {kBodyMars, kBodySaturn}) {
    if (b == malefic) continue;
    const int e = sep(malefic);
    if (IsPartile(e, 0)) tally.Add(kPartileConjunctionOfMalefic);
    if (IsPartile(e, 180)) tally.Add(kPartileOppositionOfMalefic);
    if (IsPartile(e, 90)) tally.Add(kPartileSquareOfMalefic);
  }
}

// Conjunctions with Regulus, Spica and Algol, by the whole-degree separation
// from the star's place at the chart's moment.
void ScoreFixedStars(const ChartRecord& r, double lon, const Tally& tally) {
  const auto star = [&r, lon](int s) {
    return WholeSeparation(lon, FixedStarLongitudeAt(r, s, r.JulianDayUT));
  };
  if (star(kRegulus) <= 0.5) tally.Add(kConjunctionOfRegulus);
  if (star(kSpica) <= 0.5) tally.Add(kConjunctionOfSpica);
  if (star(kAlgol) <= 0.25) tally.Add(kConjunctionOfAlgol);
}

// Besieged: malefics the nearest on either side of place i of SortedPoints
// (a ring), both in the body's sign, as the signs of completion judge it.
void ScoreSiege(const ChartRecord& r, int i, int rulerSet, const Tally& tally) {
  if (BesiegersAt(r, i, rulerSet)) tally.Add(kBesieged);
}

// Accidental dignities of the body at place i of SortedPoints, into its
// scores (plus, minus).
void ScoreAccidental(const ChartRecord& r, int i, int rulerSet, int& plus, int& minus) {
  const Tally tally{plus, minus};
  const int b = r.SortedPoints[i].Body;
  const double lon = r.EclipticLongitude[b];
  ScoreHouse(r.SortedPoints[i].House, tally);
  ScoreMotion(r, b, tally);
  ScoreOrientality(r, b, lon, tally);
  ScoreSunNearness(r, b, lon, tally);
  ScorePartileAspects(r, b, lon, tally);
  ScoreFixedStars(r, lon, tally);
  ScoreSiege(r, i, rulerSet, tally);
}

// ---- The second table --------------------------------------------------------

// Cycle position 0..13 of a longitude at a step of w degrees.
int CyclePosition(double lon, double w) {
  return static_cast<int>(std::floor(lon / w) - 14.0 * std::floor(lon / (14.0 * w)));
}
int CycleRuler(double lon, double w) {
  return kCycleRulers[std::clamp(CyclePosition(lon, w), 0, 13)];
}

// The dominant member of a group (its sum beyond 1.5 times every other's) and
// the weakest (1.5 times its sum below every other's); -1 for none.
struct GroupExtremes {
  int Dominant = -1;
  int Weakest = -1;
};
GroupExtremes Extremes(const float* sums, int n) {
  GroupExtremes g;
  for (int i = 0; i < n; ++i) {
    bool dominant = true, weakest = true;
    for (int j = 0; j < n; ++j) {
      if (j == i) continue;
      if (!(sums[i] > kDominance * sums[j])) dominant = false;
      if (!(sums[i] * kDominance < sums[j])) weakest = false;
    }
    if (dominant) g.Dominant = i;
    if (weakest) g.Weakest = i;
  }
  return g;
}
int ExtremeScore(const GroupExtremes& g, int member, int weight) {
  return (member == g.Dominant ? weight : 0) - (member == g.Weakest ? weight : 0);
}

// Adds the weights of a point's rulers (cycle at 1, 5 and 10 degrees,
// domicile, exaltation, the two trigon rulers) to the point score, with a
// sign for the benefic and the malefic points.
void AddPointRulers(const ChartRecord& r, double lon, int sign, DignityScores& scores) {
  Normalize360(lon);
  const int s = SignOf(lon);
  const int rulers[7] = {CycleRuler(lon, 1), CycleRuler(lon, 5),   CycleRuler(lon, 10),
                         r.DomicileRuler[s], r.ExaltationRuler[s], kTrigonRulers[s][0],
                         kTrigonRulers[s][1]};
  for (int k = 0; k < 7; ++k)
    if (IsBodyIndex(rulers[k])) scores.PointScore[rulers[k]] += sign * kPointRulerWeights[k];
}

// Every body adds to the ruler of its house's natural sign.
void TallyHouseSignRulers(const ChartRecord& r, DignityScores& scores) {
  for (const SortedPoint& place : r.SortedPoints)
    if (IsBodyIndex(place.Body) && place.House >= 1 && place.House <= 12 &&
        IsBodyIndex(r.DomicileRuler[place.House - 1]))
      scores.RulerTally[r.DomicileRuler[place.House - 1]] += kTallyHouseSign;
}

// Every body adds to the rulers of its place (domicile, co-ruler,
// exaltation, trigon rulers, the cycle at 1, 5 and 10 degrees), whose names
// fill columns 4..11 of its row.
void TallyPlaceRulers(const ChartRecord& r, DignityScores& scores, DignityGrid& grid) {
  const auto tally = [&scores](int body, int weight) {
    if (IsBodyIndex(body)) scores.RulerTally[body] += weight;
  };
  for (int p = 0; p < kDignityBodies; ++p) {
    std::vector<std::string>& row = grid.Rows[p + 1];
    const double lon = r.EclipticLongitude[p];
    const int s = SignOf(lon);
    const int dom = r.DomicileRuler[s], exa = r.ExaltationRuler[s];
    const int c1 = CycleRuler(lon, 1), c5 = CycleRuler(lon, 5), c10 = CycleRuler(lon, 10);
    row[4] = Name(r, dom);
    row[5] = dom > kLastClassical ? Name(r, 13 - dom) : "   ---   ";
    row[6] = Name(r, exa);
    row[7] = Name(r, kTrigonRulers[s][0]);
    row[8] = Name(r, kTrigonRulers[s][1]);
    row[9] = Name(r, c5);
    row[10] = Name(r, c10);
    row[11] = Name(r, c1);
    tally(dom, kTallyDomicile);
    tally(exa, kTallyExaltation);
    if (dom > kLastClassical) tally(13 - dom, kTallyCoRuler);
    tally(kTrigonRulers[s][0], kTallyTrigon);
    tally(kTrigonRulers[s][1], kTallyTrigon);
    tally(c1, kTallyCycleOf1);
    tally(c5, kTallyCycleOf5);
    tally(c10, kTallyCycleOf10);
  }
}

// The rulers of the main points: luminaries, Fortune, the querent's cusp and
// the tenth for, the malefics, the Cross, the fourth and seventh against.
void ScoreMainPointRulers(const ChartRecord& r, DignityScores& scores) {
  for (int b : {kBodySun, kBodyMoon, kBodyPartOfFortune})
    AddPointRulers(r, r.EclipticLongitude[b], +1, scores);
  for (int h : {0, 9}) AddPointRulers(r, r.HouseCusps()[h], +1, scores);
  for (int b : {kBodyMars, kBodySaturn, kBodyCrossOfFate})
    AddPointRulers(r, r.EclipticLongitude[b], -1, scores);
  for (int h : {3, 6}) AddPointRulers(r, r.HouseCusps()[h], -1, scores);
}

// Part 0..n-1 of the zodiac, of n equal parts from 0 Aries.
int ZodiacPart(double lon, int n) {
  return std::clamp(static_cast<int>(std::floor(n * lon / 360.0)), 0, n - 1);
}
// A longitude turned a quarter ahead, for the halves parted at the solstices.
double TurnedQuarter(double lon) {
  lon += 90.0;
  Normalize360(lon);
  return lon;
}

// The dominant and the weakest member of each group of the bodies'
// distribution over the zodiac, each body by its weight.
struct ZodiacBalance {
  GroupExtremes Third, Quality, Element, Quarter, HalfAtEquinoxes, HalfAtSolstices;
};
ZodiacBalance BalanceOf(const ChartRecord& r) {
  float elements[4] = {}, qualities[3] = {}, thirds[3] = {}, quarters[4] = {}, halves[4] = {};
  for (int p = 0; p < kDignityBodies; ++p) {
    const double lon = r.EclipticLongitude[p];
    const float w = kDistributionWeight[p];
    const int s = SignOf(lon);
    thirds[ZodiacPart(lon, 3)] += w;
    quarters[ZodiacPart(lon, 4)] += w;
    halves[ZodiacPart(lon, 2)] += w;
    halves[2 + ZodiacPart(TurnedQuarter(lon), 2)] += w;
    elements[s % 4] += w;
    qualities[s % 3] += w;
  }
  return {Extremes(thirds, 3),   Extremes(qualities, 3), Extremes(elements, 4),
          Extremes(quarters, 4), Extremes(halves, 2),    Extremes(halves + 2, 2)};
}

// The balance score of body p: its dignity, element, quality and third by
// its sign, and the chart's dominant or weakest groups it stands in.
int BalanceScore(const ChartRecord& r, int p, const ZodiacBalance& balance) {
  const double lon = r.EclipticLongitude[p];
  const int s = SignOf(lon);
  int score = 0;
  if (r.DomicileRuler[s] == p) score += kBalanceRulership;
  if (r.ExaltationRuler[s] == p) score += kBalanceRulership;
  if (r.DetrimentRuler[s] == p) score -= kBalanceRulership;
  if (r.FallRuler[s] == p) score -= kBalanceRulership;
  if (p == kBodyMercury && s == 11) score = -4;  // Mercury in Pisces
  if (p == kBodyMercury && s == 6) score = 4;    // Mercury in Libra
  if (p == kBodyMoon && s == 7) {
    score += 1;  // the Moon in Scorpio
  } else {
    if (s % 4 == kBodyElement[p]) score += kBalanceOwnElement;
    if (kElementPolarity[s % 4] != kElementPolarity[kBodyElement[p]])
      score += kBalanceOtherPolarity;
  }
  if (p == kBodyMars && s == 3)
    score += 1;  // Mars in Cancer
  else if (s % 3 == kBodyQuality[p])
    score += kBalanceOwnQuality;
  // the body's own third, counted 1..3
  if (ZodiacPart(lon, 3) + 1 == kBodyThird[p]) score += kBalanceOwnThird;
  return score + ExtremeScore(balance.Third, ZodiacPart(lon, 3), 1) +
         ExtremeScore(balance.Quality, s % 3, 2) + ExtremeScore(balance.Element, s % 4, 2) +
         ExtremeScore(balance.Quarter, ZodiacPart(lon, 4), 1) +
         ExtremeScore(balance.HalfAtEquinoxes, ZodiacPart(lon, 2), 1) +
         ExtremeScore(balance.HalfAtSolstices, ZodiacPart(TurnedQuarter(lon), 2), 1);
}

void FillSecondTable(const ChartRecord& r, DignityScores& scores, DignityGrid& grid) {
  TallyHouseSignRulers(r, scores);
  TallyPlaceRulers(r, scores, grid);
  ScoreMainPointRulers(r, scores);
  const ZodiacBalance balance = BalanceOf(r);
  for (int p = 0; p < kDignityBodies; ++p) scores.BalanceScore[p] = BalanceScore(r, p, balance);

  for (int p = 0; p < kDignityBodies; ++p) {
    std::vector<std::string>& row = grid.Rows[p + 1];
    row[1] = std::to_string(scores.RulerTally[p]);
    row[2] = std::to_string(scores.PointScore[p]);
    row[3] = std::to_string(scores.BalanceScore[p]);
  }
}

DignityGrid EmptyGrid(const ChartRecord& r, int columns) {
  DignityGrid grid;
  grid.Rows.assign(kDignityBodies + 1, std::vector<std::string>(columns));
  for (int p = 0; p < kDignityBodies; ++p) grid.Rows[p + 1][0] = Name(r, p);
  return grid;
}

}  // namespace

DignityResult CalcDignities(const ChartRecord& record, const DignityTables& tables,
                            const DignityChoice& choice, const std::vector<std::string>& uiText) {
  DignityResult result;
  DignityScores& scores = result.Scores;

  DignityGrid& first = result.Classic;
  first = EmptyGrid(record, kDignityColumns);
  std::vector<std::string>& head = first.Rows[0];
  head = {Entry(uiText, 268), "Ess+", "Ess-", "Asc+", "Asc-"};
  for (int e = 486; e <= 491; ++e) head.push_back(Entry(uiText, e));

  for (int p = 0; p < kDignityBodies; ++p)
    ScoreEssential(record, tables, choice, p, scores, first.Rows[p + 1]);
  for (int i = 0; i < kBodyCount; ++i) {
    const int b = record.SortedPoints[i].Body;
    if (!IsBodyIndex(b)) continue;
    std::vector<std::string>& row = first.Rows[b + 1];
    if (choice.RulerSet == 0 && b > kLastClassical) {
      row[3] = row[4] = "0";
      continue;
    }
    ScoreAccidental(record, i, choice.RulerSet, scores.AscPlus[b], scores.AscMinus[b]);
    row[3] = std::to_string(scores.AscPlus[b]);
    row[4] = std::to_string(scores.AscMinus[b]);
  }

  DignityGrid& second = result.Second;
  second = EmptyGrid(record, kSecondDignityColumns);
  second.Rows[0] = {Entry(uiText, 268), Cp("Сумма"),        Cp("+/-"),          Cp("Кармич."),
                    Entry(uiText, 486), Cp("Соуправитель"), Entry(uiText, 487), Cp("По тригону 1"),
                    Cp("По тригону 2"), Entry(uiText, 489), Entry(uiText, 490), Entry(uiText, 491)};
  FillSecondTable(record, scores, second);
  return result;
}

// ---- Drawing -------------------------------------------------------------------

void DrawDignityGrid(const DignityGrid& grid, TCanvas& canvas, int width, int height, int colorMode,
                     const std::string& fontName) {
  const int rows = static_cast<int>(grid.Rows.size());
  int columns = 0;
  for (const auto& row : grid.Rows) columns = std::max(columns, static_cast<int>(row.size()));
  canvas.Brush.Color = clWhite;
  canvas.Brush.Style = bsSolid;
  canvas.FillRect(TRect{0, 0, width, height});
  if (rows == 0 || columns == 0) return;

  // the font as large as the widest texts allow within the picture
  const int rowHeight = std::max(height / rows, 1);
  canvas.Font.Name = fontName;
  canvas.Font.Color = clBlack;
  canvas.Font.Bold = false;
  int size = std::max(rowHeight * 72 / canvas.PixelsPerInch() * 6 / 10, 1);
  std::vector<int> widths(columns);
  int total = 0;
  for (;; --size) {
    canvas.Font.Size = size;
    total = 0;
    for (int c = 0; c < columns; ++c) {
      widths[c] = 0;
      for (const auto& row : grid.Rows)
        if (c < static_cast<int>(row.size()))
          widths[c] = std::max(widths[c], canvas.TextWidth(row[c]));
      widths[c] += canvas.TextWidth("  ");
      total += widths[c];
    }
    if (total <= width || size <= 1) break;
  }
  // the spare width shared out over the columns
  const int spare = std::max(width - total, 0) / columns;
  std::vector<int> left(columns + 1, 0);
  for (int c = 0; c < columns; ++c) left[c + 1] = left[c] + widths[c] + spare;

  const TColor headColor = colorMode == 0 ? clWhite : TColor(0x00E0E0E0);
  canvas.Pen.Color = colorMode == 0 ? clBlack : clGray;
  canvas.Pen.Style = psSolid;
  canvas.Pen.Width = 1;
  for (int r = 0; r < rows; ++r) {
    const int top = r * rowHeight;
    for (int c = 0; c < columns; ++c) {
      canvas.Brush.Color = r == 0 || c == 0 ? headColor : clWhite;
      canvas.Rectangle(left[c], top, left[c + 1] + 1, top + rowHeight + 1);
      const std::vector<std::string>& row = grid.Rows[r];
      if (c >= static_cast<int>(row.size())) continue;
      const int textHeight = canvas.TextHeight(row[c]);
      canvas.TextOut(left[c] + canvas.TextWidth(" "), top + (rowHeight - textHeight) / 2, row[c]);
    }
  }
}
