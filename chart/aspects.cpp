#include "chart/aspects.h"

#include <cmath>

#include "engine/astromath.h"

namespace {

constexpr double kApplyingStepDays = 0.001 / 24.0;  // a motion of 0.001 hour, days

// |a| reduced modulo 360 and folded into [0, 180], degrees.
double Folded(double a) {
  double s = std::fabs(a);
  if (s >= 360.0) s = std::fmod(s, 360.0);
  if (s > 180.0) s = 360.0 - s;
  return s;
}

bool HasLatitude(int o) { return o >= 0 && o < kLatitudeBodyCount; }

// Number of whole signs an aspect of the given angle spans: 0 up to 29 deg,
// 1 from 29 deg, ... (the angle plus 1 deg, in whole signs).
int SignSpan(float angle) { return static_cast<int>(std::floor((angle + 1.0) / 30.0)); }

// Two decimal digits, "0" before a single digit.
void AppendTwoDigits(std::string& out, int v) {
  if (v < 0) v = -v;
  if (v >= 100) out += std::to_string(v / 100);
  out += static_cast<char>('0' + v / 10 % 10);
  out += static_cast<char>('0' + v % 10);
}

}  // namespace

// Separation of two longitudes.
//   lon1, lon2  degrees
//   returns degrees [0, 180]
double LongitudeSeparation(double lon1, double lon2) { return Folded(lon1 - lon2); }

// Aspects of every pair of the 36 chart objects.
//   chart        EclipticLongitude, EclipticLatitude, DailyMotion (degrees,
//                degrees per day), HouseCusps, SpecialPoints (degrees),
//                AspectAngle, AspectOrbFactor, PairOrb, OrbScale[OrbScaleIndex]
//                and AspectKindEnabled in; ObjectLongitude, AspectKind (50 =
//                none), AspectSeparation (degrees: [o1][o2] the separation
//                measured for o1 < o2 by the last kind tried, [o2][o1] the
//                deviation from exact, 0 without aspect) and AspectApplying out
//   honourKinds  1 skips the kinds whose AspectKindEnabled flag is 0
// For each pair the kinds are tried in index order; the first whose angle
// lies within the orb (OrbScale x AspectOrbFactor x PairOrb) and whose
// whole-sign distance matches the sign span of its angle is taken. Kinds 0..25
// measure the longitude separation, 26 and 27 the difference of the absolute
// latitudes (only between bodies 0..9; 26 not across the ecliptic), 28 the
// sum of the longitudes against 360 and 29 against 180. An aspect between two
// bodies is applying when its deviation shrinks as both move on by their
// daily motions for 0.001 hour; the test runs in double precision, since a
// single-precision longitude near 300 deg cannot hold so small a step.
void CalcAspects(ChartRecord& chart, std::uint8_t honourKinds) {
  for (int o = 0; o < kBodyCount; ++o)
    chart.ObjectLongitude[o] = static_cast<float>(chart.EclipticLongitude[o]);
  for (int i = 0; i < 12; ++i) chart.ObjectLongitude[18 + i] = chart.HouseCusps()[i];
  for (int i = 0; i < 6; ++i) chart.ObjectLongitude[30 + i] = chart.SpecialPoints[i];

  // the kinds to try, in order, with their angle, orb factor and sign span
  const int scaleIndex =
      (chart.OrbScaleIndex >= 0 && chart.OrbScaleIndex < 3) ? chart.OrbScaleIndex : 0;
  const double scale = chart.OrbScale[scaleIndex];
  int kinds[kAspectKindCount];
  double angle[kAspectKindCount], orbFactor[kAspectKindCount];
  int span[kAspectKindCount];
  int kindCount = 0;
  for (int k = 0; k < kAspectKindCount; ++k) {
    if (honourKinds == 1 && chart.AspectKindEnabled[k] == 0) continue;
    kinds[kindCount] = k;
    angle[kindCount] = chart.AspectAngle[k];
    orbFactor[kindCount] = scale * chart.AspectOrbFactor[k];
    span[kindCount] = SignSpan(chart.AspectAngle[k]);
    ++kindCount;
  }
  int sign[kObjectCount];
  for (int o = 0; o < kObjectCount; ++o) sign[o] = SignOf(chart.ObjectLongitude[o]);

  for (int o1 = 0; o1 < kObjectCount - 1; ++o1) {
    for (int o2 = o1 + 1; o2 < kObjectCount; ++o2) {
      const bool bodies = o1 < kBodyCount && o2 < kBodyCount;
      const bool latitudes = HasLatitude(o1) && HasLatitude(o2);
      const double lon1 = chart.ObjectLongitude[o1];
      const double lon2 = chart.ObjectLongitude[o2];
      const double lat1 = latitudes ? chart.EclipticLatitude[o1] : 0.0;
      const double lat2 = latitudes ? chart.EclipticLatitude[o2] : 0.0;
      int signDistance = sign[o1] - sign[o2];
      if (signDistance < 0) signDistance = -signDistance;
      if (signDistance > 6) signDistance = 12 - signDistance;

      // the four measures of the pair, each worked out once
      const double byLongitude = LongitudeSeparation(lon1, lon2);
      const double byLatitude = latitudes ? Folded(std::fabs(lat1) - std::fabs(lat2)) : 0.0;
      const double bySum360 = Folded(360.0 - lon1 - lon2);
      const double bySum180 = Folded(180.0 - lon1 - lon2);
      const bool oppositeSides = (lat1 > 0 && lat2 < 0) || (lat1 < 0 && lat2 > 0);
      const double pairOrb = chart.PairOrb[o1][o2];

      int found = kNone;
      double separation = byLongitude;  // as the last kind tried measured it
      double deviation = 0;
      for (int i = 0; i < kindCount; ++i) {
        const int k = kinds[i];
        double s;
        if (k < kKindLatitudeSameSide) {
          s = byLongitude;
        } else if (k <= kKindLatitudeAnySide) {
          if (!latitudes) continue;  // no latitude to measure
          s = byLatitude;
        } else {
          s = k == kKindLongitudeSum360 ? bySum360 : bySum180;
        }
        separation = s;
        const double orb = orbFactor[i] * pairOrb;
        if (!(s >= angle[i] - orb && s <= angle[i] + orb)) continue;  // a NaN is no candidate
        // a latitude aspect of kind 26 needs both bodies on one side of the ecliptic
        if (k == kKindLatitudeSameSide && oppositeSides) continue;
        if (signDistance != span[i]) continue;
        found = k;
        deviation = std::fabs(angle[i] - s);
        break;
      }

      chart.AspectKind[o1][o2] = chart.AspectKind[o2][o1] = found;
      chart.AspectSeparation[o1][o2] = static_cast<float>(separation);
      chart.AspectSeparation[o2][o1] = static_cast<float>(deviation);
      if (!bodies) continue;
      std::uint8_t applying = 0;
      if (found != kNone) {
        const double next1 = lon1 + chart.DailyMotion[o1] * kApplyingStepDays;
        const double next2 = lon2 + chart.DailyMotion[o2] * kApplyingStepDays;
        const double nextDeviation =
            std::fabs(chart.AspectAngle[found] - LongitudeSeparation(next1, next2));
        applying = nextDeviation < deviation ? 1 : 0;
      }
      chart.AspectApplying[o1][o2] = chart.AspectApplying[o2][o1] = applying;
    }
  }
}

// One line of the aspect list.
//   o1, o2     chart objects (o1 a body 0..17, o2 0..35)
//   kind       aspect kind 0..29
//   deviation  degrees
//   returns 13 characters in the glyph font: glyph o1, aspect glyph, glyph
//           o2, ":", DD, degree mark, MM, "<", SS, "="
std::string AspectLine(const ChartRecord& chart, int o1, int o2, int kind, float deviation) {
  int d = 0, m = 0, s = 0;
  DegToDms(deviation, d, m, s);
  std::string line;
  line.reserve(kAspectLineLength);
  line += ObjectGlyphOf(chart, o1);
  line += chart.AspectGlyph[kind];
  line += ObjectGlyphOf(chart, o2);
  line += ':';
  AppendTwoDigits(line, d);
  line += kDegreeMark;
  AppendTwoDigits(line, m);
  line += kMinuteMark;
  AppendTwoDigits(line, s);
  line += kSecondMark;
  return line;
}

// The aspect list.
//   chart  AspectKind, AspectSeparation, ObjectShown, ObjectAspected,
//          AspectListShown, AspectListFilter, AspectListObject and the glyph
//          tables in
//   returns one line per aspect of a body 0..17 with a later object, in pair
//           order; empty while AspectListShown is 0
// Left out: pairs without the list's object while the list is filtered, the
// two lunar nodes with each other, the South node as first object, and pairs
// with an object that is hidden or not aspected.
std::vector<std::string> FillAspectList(const ChartRecord& chart) {
  std::vector<std::string> lines;
  if (chart.AspectListShown == 0) return lines;
  for (int o1 = 0; o1 < kBodyCount; ++o1) {
    for (int o2 = o1 + 1; o2 < kObjectCount; ++o2) {
      if (chart.AspectListFilter == 1 && o1 != chart.AspectListObject &&
          o2 != chart.AspectListObject)
        continue;
      if (o1 == 14 && o2 == 15) continue;
      if (o1 == 15) continue;
      if (chart.ObjectShown[o1] == 0 || chart.ObjectShown[o2] == 0 ||
          chart.ObjectAspected[o1] == 0 || chart.ObjectAspected[o2] == 0)
        continue;
      const int kind = chart.AspectKind[o1][o2];
      if (kind < 0 || kind >= kAspectKindCount) continue;
      lines.push_back(AspectLine(chart, o1, o2, kind, chart.AspectSeparation[o2][o1]));
    }
  }
  return lines;
}
