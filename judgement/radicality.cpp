// Radicality: the considerations before judgement over the chart record.
#include "judgement/radicality.h"

#include <cmath>
#include <limits>

#include "chart/rulers.h"
#include "judgement/questionhouses.h"
#include "judgement/significators.h"

namespace {

constexpr double kEpoch1950 = 2433282.5;                // days, Julian day of 1950.0
constexpr double kYearsPerDay = 0.0027378507871321013;  // 1 / 365.25
constexpr double kViaCombustaStart = 195.0;             // degrees
constexpr double kViaCombustaEnd = 225.0;               // degrees
constexpr double kSpicaOrb = 1.0;                       // degrees
constexpr int kEarlyDegree = 3;                         // whole degrees of the sign
constexpr int kLateDegree = 26;
constexpr double kNever = std::numeric_limits<double>::infinity();

bool IsPoint(int p) { return p >= 0 && p < kBodyCount; }

double DegreeInSign(double lon) { return lon - 30.0 * SignOf(lon); }

// True when the first entry of the wheel ranking holding `body` lies in `house`.
bool InHouse(const ChartRecord& record, int body, int house) {
  for (const SortedPoint& s : record.SortedPoints)
    if (s.Body == body) return s.House == house;
  return false;
}

// The aspect kind of two signs `ahead` signs apart (0..11), or -1 where the
// signs are in no major aspect.
int MajorKindOfSigns(int ahead) {
  switch (ahead) {
    case 0:
      return 0;  // conjunction
    case 2:
    case 10:
      return 1;  // sextile
    case 3:
    case 9:
      return 2;  // square
    case 4:
    case 8:
      return 3;  // trine
    case 6:
      return 4;  // opposition
    default:
      return -1;
  }
}

double ExitOrNever(const TimedSearch& search, const ChartRecord& record, int body) {
  const std::optional<double> exit =
      SignExit(search, record.JulianDayUT, body, record.EclipticLongitude[body]);
  return exit ? *exit : kNever;
}

}  // namespace

bool MoonVoidOfCourse(const ChartRecord& record, int signRulerOption, const TimedSearch& search) {
  const int lastPoint = signRulerOption == kSevenPlanets ? kBodySaturn : 11;
  const double moonLon = record.EclipticLongitude[kBodyMoon];
  const int moonSign = SignOf(moonLon);
  const double dM = DegreeInSign(moonLon);
  const double moonExit = ExitOrNever(search, record, kBodyMoon);

  // first pass: a point ahead of the Moon's degree in a sign of major
  // aspect to hers, that stays in its sign until she leaves hers, or that
  // she meets before it leaves (a retrograde point going back over the
  // start of its sign, caught before it does)
  for (int c = 0; c <= lastPoint; ++c) {
    if (c == kBodyMoon || !IsTimedBody(c)) continue;
    const double lon = record.EclipticLongitude[c];
    if (dM > DegreeInSign(lon)) continue;
    const int ahead = Mod(SignOf(lon) - moonSign, 12);
    const int kind = MajorKindOfSigns(ahead);
    if (kind < 0) continue;
    const double exit = ExitOrNever(search, record, c);
    if (moonExit <= exit) return false;
    const std::optional<double> t =
        search(PerfectionRequest(record.JulianDayUT, kBodyMoon, c, kind, ahead <= 6 ? 1 : -1));
    if (t && *t <= exit) return false;
  }
  // second pass: a retrograde point that moves back one sign meets the Moon
  // in the aspect of their new sign distance before the Moon leaves its sign
  for (int c = kBodyMercury; c <= lastPoint; ++c) {
    if (!record.Retrograde[c] || !IsTimedBody(c)) continue;
    const int ahead = Mod(SignOf(record.EclipticLongitude[c]) - 1 - moonSign, 12);
    const int kind = MajorKindOfSigns(ahead);
    if (kind < 0) continue;
    const std::optional<double> t =
        search(PerfectionRequest(record.JulianDayUT, kBodyMoon, c, kind, ahead <= 6 ? 1 : -1));
    if (t && *t <= moonExit) return false;
  }
  return true;
}

RadicalityResult AnalyseRadicality(const ChartRecord& record, const RadicalityInput& input,
                                   const TimedSearch& search) {
  RadicalityResult result;
  auto fail = [&result](int test) {
    result.Failed[test] = true;
    result.Radical = false;
  };
  const int s1 = IsPoint(input.QuerentSignificator)
                     ? ClassicRuler(input.QuerentSignificator, input.SignRulerOption)
                     : -1;
  const int s2 = IsPoint(input.QuesitedSignificator)
                     ? ClassicRuler(input.QuesitedSignificator, input.SignRulerOption)
                     : -1;

  // the degree of the querent's cusp
  const int cuspDegree = static_cast<int>(std::floor(DegreeInSign(record.HouseCusps()[0])));
  if (cuspDegree < kEarlyDegree) fail(kEarlyAscendant);
  if (cuspDegree > kLateDegree) fail(kLateAscendant);

  // via combusta, with Spica's own degree excepted
  const double moon = record.EclipticLongitude[kBodyMoon];
  const double spica = record.FixedStarLon1950[kSpica] - (kEpoch1950 - record.JulianDayUT) *
                                                             kYearsPerDay *
                                                             record.FixedStarMotion[kSpica];
  if (moon >= kViaCombustaStart && moon <= kViaCombustaEnd && ArcBetween(moon, spica) > kSpicaOrb)
    fail(kMoonViaCombusta);

  result.SaturnRetrograde = record.Retrograde[kBodySaturn] != 0;
  if (InHouse(record, kBodySaturn, 1) && s1 != kBodySaturn) fail(kSaturnInFirst);

  // nearness to the Sun by the shorter arc
  const double sun = record.EclipticLongitude[kBodySun];
  auto sunTests = [&](int point, int combustTest, int beamsTest) {
    const SunNearness near = SunNearnessOf(record.EclipticLongitude[point], sun);
    if (near == SunNearness::kCombust) fail(combustTest);
    if (near == SunNearness::kUnderBeams) fail(beamsTest);
  };
  const bool sunMoonPair =
      (s1 == kBodySun && s2 == kBodyMoon) || (s1 == kBodyMoon && s2 == kBodySun);
  if (!sunMoonPair) sunTests(kBodyMoon, kMoonCombust, kMoonUnderBeams);
  if (s1 >= 0 && s1 != kBodySun && s1 != kBodyMoon && s2 != kBodySun)
    sunTests(s1, kQuerentCombust, kQuerentUnderBeams);
  if (s2 >= 0 && s2 != kBodyMoon && s1 != kBodySun && s2 != kBodySun)
    sunTests(s2, kQuesitedCombust, kQuesitedUnderBeams);

  if (MoonVoidOfCourse(record, input.SignRulerOption, search)) fail(kMoonVoidOfCourse);
  if (input.AsksForHimself && InHouse(record, kBodySaturn, 7)) fail(kSaturnInSeventh);
  return result;
}

std::vector<std::string> RadicalityVerdict(const RadicalityResult& result,
                                           const std::vector<std::string>& uiText) {
  if (result.Radical) return {UiEntry(uiText, kEntryRadical)};
  std::vector<std::string> lines{UiEntry(uiText, kEntryNotRadical)};
  for (int t = 0; t < kRadicalityTests; ++t)
    if (result.Failed[t]) lines.push_back(UiEntry(uiText, kEntryFirstTestLine + t));
  return lines;
}

const char* RadicalityTextFile(int test, bool saturnRetrograde) {
  static constexpr const char* kFiles[kRadicalityTests] = {
      "fd.txt",  "ld.txt", "mvc.txt", "sfh.txt", "mf.txt",   "s1f.txt",
      "s2f.txt", "ms.txt", "s1s.txt", "s2s.txt", "mwoc.txt", "s7h.txt"};
  if (test < 0 || test >= kRadicalityTests) return nullptr;
  if (test == kSaturnInFirst && saturnRetrograde) return "sfh1.txt";
  return kFiles[test];
}

std::vector<std::string> RadicalityDetails(const RadicalityResult& result,
                                           const std::vector<std::string>& uiText,
                                           const std::string& programFolder) {
  if (result.Radical) return {UiEntry(uiText, kEntryDetailsRadical)};
  std::vector<std::string> lines{UiEntry(uiText, kEntryDetailsNotRadical), ""};
  auto append = [&](const char* name) {
    const TextLines text = ReadOptionsText(programFolder, name);
    if (!text.Ok) lines.push_back(text.Message);
    lines.insert(lines.end(), text.Lines.begin(), text.Lines.end());
    lines.push_back("");
  };
  append("bt.txt");
  for (int t = 0; t < kRadicalityTests; ++t)
    if (result.Failed[t]) append(RadicalityTextFile(t, result.SaturnRetrograde));
  return lines;
}
