// The dignities of the bodies: the dignity files, the two tables of scores
// and the drawing of a grid.
#include "judgement/dignities.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "chart/rulers.h"
#include "engine/astromath.h"
#include "judgement/significators.h"
#include "platform/text/cp1251.h"

namespace {

// ---- Fixed tables of the scoring -------------------------------------------

// Triplicity rulers by element (fire, earth, air, water): night, day.
constexpr int kTriplicityRulers[4][2] = {{5, 0}, {1, 3}, {2, 6}, {4, 4}};
// Accidental fortitude and debility of houses 1..12.
constexpr int kHouseFortitude[12] = {5, 3, 1, 4, 3, 0, 4, 0, 2, 5, 4, 0};
constexpr int kHouseDebility[12] = {0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 5};
// Mean daily motion of bodies 0..11, degrees per day (single precision, as
// the motions are compared with it).
constexpr float kMeanDailyMotion[12] = {0.9855555f,   13.183333f,   1.3833333f,   1.2f,
                                        0.51666665f,  0.083333336f, 0.033333335f, 0.011666667f,
                                        0.006666667f, 0.004166667f, 0.019712526f, 0.0012686454f};
// Fixed stars of the accidental dignities (index in the chart's star table).
constexpr int kRegulus = 39;
constexpr int kSpica = 48;
constexpr int kAlgol = 12;

// Second table: trigon rulers by sign, the fourteen-step cycle of rulers.
constexpr int kTrigonRulers[12][2] = {{5, 0}, {6, 11}, {7, 10}, {8, 9},  {5, 4},  {6, 3},
                                      {7, 2}, {8, 1},  {4, 0},  {3, 11}, {10, 2}, {9, 1}};
constexpr int kCycleRulers[14] = {4, 0, 3, 2, 1, 6, 5, 9, 0, 8, 7, 1, 11, 10};
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

// Sign 0..11 and whole degree 0..29 of a longitude.
int SignIndex(double lon) { return std::clamp(static_cast<int>(std::floor(lon / 30.0)), 0, 11); }
int DegreeIndex(double lon) {
  return std::clamp(static_cast<int>(std::floor(lon - 30.0 * SignIndex(lon))), 0, 29);
}

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

// Essential dignities of body p (columns 1, 2 and 5..10).
void ScoreEssential(const ChartRecord& r, const DignityTables& tables, const DignityChoice& choice,
                    int p, DignityScores& scores, std::vector<std::string>& row) {
  const bool seven = choice.RulerSet == 0;
  const int set = seven ? 0 : 1;
  const double lon = r.EclipticLongitude[p];
  const int s = SignIndex(lon), d = DegreeIndex(lon);
  const int dom = r.DomicileRuler[s], exa = r.ExaltationRuler[s];
  const int det = r.DetrimentRuler[s], fall = r.FallRuler[s];
  // with the seven planets a higher planet's domicile or detriment stands
  // for the classical planet's (Uranus Saturn, Neptune Jupiter, Pluto Mars)
  const bool classical = p <= kLastClassical;
  const bool scored = !seven || classical;
  int& plus = scores.EssPlus[p];
  int& minus = scores.EssMinus[p];

  row[5] = Name(r, seven && dom > kLastClassical ? 13 - dom : dom);
  row[6] = seven && exa > kLastClassical ? "---" : Name(r, exa);
  if (scored) {
    if (dom == p) plus += 5;
    if (classical && 13 - dom == p) plus += 5;
    // an exaltation counts only for the body the table names; the sign of
    // a higher planet's exaltation exalts no classical planet
    if (exa == p) plus += 4;
    if ((!seven || dom <= kLastClassical) && dom != p && IsBodyIndex(dom) &&
        r.DomicileRuler[SignIndex(r.EclipticLongitude[dom])] == p)
      plus += 5;  // reception by domicile
    if ((!seven || exa <= kLastClassical) && exa != p && IsBodyIndex(exa) &&
        r.ExaltationRuler[SignIndex(r.EclipticLongitude[exa])] == p)
      plus += 4;  // reception by exaltation
  }
  const int triplicity = kTriplicityRulers[s % 4][r.DayChart == 1 ? 1 : 0];
  if (triplicity == p) plus += 3;
  row[7] = Name(r, triplicity);

  const int system = std::clamp(choice.TermSystem, 0, kTermSystems - 1);
  int term = 0;
  while (term + 1 < kTermsPerSign && tables.TermEnds[s][term][system] <= d) ++term;
  const int termLord = tables.TermLords[s][term][system];
  if (termLord == p) plus += 2;
  row[8] = Name(r, termLord);

  const int faceLord = tables.FaceLords[s][d / 10][set];
  if (faceLord == p) plus += 1;
  row[9] = Name(r, faceLord);
  row[10] = Name(r, tables.DegreeLords[s][d][set]);
  row[1] = std::to_string(plus);

  if (scored) {
    if (det == p) minus += 5;
    if (classical && 13 - det == p) minus += 5;
    if (fall == p) minus += 4;
    if (plus == 0 && minus == 0) minus = 5;  // peregrine
  }
  row[2] = std::to_string(minus);
}

// Accidental dignities of the body at place i of SortedPoints, into its
// scores (plus, minus).
void ScoreAccidental(const ChartRecord& r, int i, int& plus, int& minus) {
  const int b = r.SortedPoints[i].Body;
  const int h = r.SortedPoints[i].House;
  const double lon = r.EclipticLongitude[b];
  if (h >= 1 && h <= 12) {
    plus += kHouseFortitude[h - 1];
    minus += kHouseDebility[h - 1];
  }
  if (r.Retrograde[b] == 0)
    plus += 4;
  else
    minus += 5;
  if (r.DailyMotion[b] < kMeanDailyMotion[b])
    minus += 2;
  else
    plus += 2;

  // oriental or occidental of the Sun
  const int delta = static_cast<int>(lon - r.EclipticLongitude[0]);
  const bool east = (delta >= 0 && delta < 180) || delta < -180;
  if (b == kBodyMars || b == kBodyJupiter || b == kBodySaturn) (east ? minus : plus) += 2;
  if (b == kBodyMoon || b == kBodyMercury || b == kBodyVenus) (east ? plus : minus) += 2;

  const auto sep = [&r, lon](int other) {
    return WholeSeparation(lon, r.EclipticLongitude[other]);
  };
  if (b != kBodySun) {
    // by the exact arc: the orbs of 17', 8 deg 30' and 17 deg are finer
    // than whole degrees
    const double e = ArcBetween(lon, r.EclipticLongitude[kBodySun]);
    if (e > kUnderBeamsOrb || e <= kCazimiOrb)
      plus += 5;  // free of the Sun, or in its heart
    else if (e <= kCombustOrb)
      minus += 5;
    else
      minus += 4;
  }
  for (const int benefic : {kBodyVenus, kBodyJupiter}) {
    if (b == benefic) continue;
    const int e = sep(benefic);
    if (e <= 1) plus += 5;
    if (e >= 119 && e <= 121) plus += 4;
    if (e >= 59 && e <= 61) plus += 3;
  }
  if (sep(kBodyNorthNode) <= 1) plus += 4;
  if (sep(kBodySouthNode) <= 1) minus += 4;
  for (const int malefic : {kBodyMars, kBodySaturn}) {
    if (b == malefic) continue;
    const int e = sep(malefic);
    if (e <= 1) minus += 5;
    if (e >= 179) minus += 4;
    if (e >= 89 && e <= 91) minus += 3;
  }

  const auto star = [&r, lon](int s) {
    return WholeSeparation(lon, FixedStarLongitudeAt(r, s, r.JulianDayUT));
  };
  if (star(kRegulus) <= 0.5) plus += 6;
  if (star(kSpica) <= 0.5) plus += 5;
  if (star(kAlgol) <= 0.25) minus += 5;

  // besieged: Mars and Saturn on the two places beside it (a ring)
  const int before = r.SortedPoints[(i + kBodyCount - 1) % kBodyCount].Body;
  const int after = r.SortedPoints[(i + 1) % kBodyCount].Body;
  if ((before == kBodyMars && after == kBodySaturn) ||
      (before == kBodySaturn && after == kBodyMars))
    minus += 5;
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
  const int s = SignIndex(lon);
  const int rulers[7] = {CycleRuler(lon, 1), CycleRuler(lon, 5),   CycleRuler(lon, 10),
                         r.DomicileRuler[s], r.ExaltationRuler[s], kTrigonRulers[s][0],
                         kTrigonRulers[s][1]};
  constexpr int kWeights[7] = {6, 5, 4, 3, 2, 1, 1};
  for (int k = 0; k < 7; ++k)
    if (IsBodyIndex(rulers[k])) scores.PointScore[rulers[k]] += sign * kWeights[k];
}

void FillSecondTable(const ChartRecord& r, DignityScores& scores, DignityGrid& grid) {
  // every body adds 7 to the ruler of its house's natural sign
  for (const SortedPoint& place : r.SortedPoints)
    if (IsBodyIndex(place.Body) && place.House >= 1 && place.House <= 12 &&
        IsBodyIndex(r.DomicileRuler[place.House - 1]))
      scores.RulerTally[r.DomicileRuler[place.House - 1]] += 7;

  const auto tally = [&scores](int body, int weight) {
    if (IsBodyIndex(body)) scores.RulerTally[body] += weight;
  };
  for (int p = 0; p < kDignityBodies; ++p) {
    std::vector<std::string>& row = grid.Rows[p + 1];
    const double lon = r.EclipticLongitude[p];
    const int s = SignIndex(lon);
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
    tally(dom, 6);
    tally(exa, 5);
    if (dom > kLastClassical) tally(13 - dom, 6);
    tally(kTrigonRulers[s][0], 4);
    tally(kTrigonRulers[s][1], 4);
    tally(c1, 3);
    tally(c5, 2);
    tally(c10, 1);
  }

  // the rulers of the main points: luminaries, Fortune, the querent's cusp
  // and the tenth for, the malefics, the Cross, the fourth and seventh against
  for (int b : {kBodySun, kBodyMoon, kBodyPartOfFortune})
    AddPointRulers(r, r.EclipticLongitude[b], +1, scores);
  for (int h : {0, 9}) AddPointRulers(r, r.HouseCusps()[h], +1, scores);
  for (int b : {kBodyMars, kBodySaturn, kBodyCrossOfFate})
    AddPointRulers(r, r.EclipticLongitude[b], -1, scores);
  for (int h : {3, 6}) AddPointRulers(r, r.HouseCusps()[h], -1, scores);

  // the distribution of the bodies over the zodiac
  float elements[4] = {}, qualities[3] = {}, thirds[3] = {}, quarters[4] = {}, halves[4] = {};
  const auto part = [](double lon, int n) {
    return std::clamp(static_cast<int>(std::floor(n * lon / 360.0)), 0, n - 1);
  };
  const auto turned = [](double lon) {
    lon += 90.0;
    Normalize360(lon);
    return lon;
  };
  for (int p = 0; p < kDignityBodies; ++p) {
    const double lon = r.EclipticLongitude[p];
    const float w = kDistributionWeight[p];
    const int s = SignIndex(lon);
    thirds[part(lon, 3)] += w;
    quarters[part(lon, 4)] += w;
    halves[part(lon, 2)] += w;
    halves[2 + part(turned(lon), 2)] += w;
    elements[s % 4] += w;
    qualities[s % 3] += w;
  }
  const GroupExtremes gThird = Extremes(thirds, 3), gQuality = Extremes(qualities, 3),
                      gElement = Extremes(elements, 4), gQuarter = Extremes(quarters, 4),
                      gHalfA = Extremes(halves, 2), gHalfB = Extremes(halves + 2, 2);

  for (int p = 0; p < kDignityBodies; ++p) {
    const double lon = r.EclipticLongitude[p];
    const int s = SignIndex(lon);
    int& score = scores.BalanceScore[p];
    if (r.DomicileRuler[s] == p) score += 3;
    if (r.ExaltationRuler[s] == p) score += 3;
    if (r.DetrimentRuler[s] == p) score -= 3;
    if (r.FallRuler[s] == p) score -= 3;
    if (p == kBodyMercury && s == 11) score = -4;  // Mercury in Pisces
    if (p == kBodyMercury && s == 6) score = 4;    // Mercury in Libra
    if (p == kBodyMoon && s == 7) {
      score += 1;  // the Moon in Scorpio
    } else {
      if (s % 4 == kBodyElement[p]) score += 2;
      if (kElementPolarity[s % 4] != kElementPolarity[kBodyElement[p]]) score -= 2;
    }
    if (p == kBodyMars && s == 3)
      score += 1;  // Mars in Cancer
    else if (s % 3 == kBodyQuality[p])
      score += 2;
    // the body's own third, counted 1..3
    if (part(lon, 3) + 1 == kBodyThird[p]) score += 1;
    score += ExtremeScore(gThird, part(lon, 3), 1) + ExtremeScore(gQuality, s % 3, 2) +
             ExtremeScore(gElement, s % 4, 2) + ExtremeScore(gQuarter, part(lon, 4), 1) +
             ExtremeScore(gHalfA, part(lon, 2), 1) + ExtremeScore(gHalfB, part(turned(lon), 2), 1);
  }

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
    ScoreAccidental(record, i, scores.AscPlus[b], scores.AscMinus[b]);
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
