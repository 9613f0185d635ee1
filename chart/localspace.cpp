#include "chart/localspace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "engine/astromath.h"

namespace {

constexpr char kDash[] = "\x97";  // em dash, code page 1251

// Brings hours into [0, 24).
double ReduceHours(double hours) {
  hours = std::fmod(hours, 24.0);
  return hours < 0 ? hours + 24.0 : hours;
}

}  // namespace

void HorizontalFromEquatorial(double hourAngle, double declination, double latitude, float& azimuth,
                              float& altitude) {
  const double y = std::cos(declination) * std::sin(hourAngle);
  const double x = std::sin(latitude) * std::cos(declination) * std::cos(hourAngle) -
                   std::cos(latitude) * std::sin(declination);
  // the direction of (-x, -y): on the meridian (y exactly 0) too, where the
  // single-precision quadrant formula of the engine turns South into North
  azimuth = static_cast<float>(std::atan2(-y, -x) * kRadToDeg);
  Normalize360f(azimuth);
  const double s = std::sin(declination) * std::sin(latitude) +
                   std::cos(latitude) * std::cos(declination) * std::cos(hourAngle);
  altitude = static_cast<float>(std::asin(std::clamp(s, -1.0, 1.0)) * kRadToDeg);
}

void CalcHorizontalCoords(const ChartRecord& chart, LocalSpaceRecord& space) {
  // The positions are apparent, on the true ecliptic and equinox of date:
  // they reach the true equator by the true obliquity, and the hour angle
  // by the apparent sidereal time (on universal time), as the house
  // routine's angles do.
  const TrueEquinox equinox = TrueEquinoxAt((chart.JulianDayUT - kJ2000) / kDaysPerJulianCentury);
  const double lst =
      ReduceHours(chart.GeoLongitude / 15.0 +
                  GreenwichApparentSiderealDeg(UniversalJulianDay(chart.JulianDay0h) - kJ2000,
                                               chart.UniversalTime, equinox) /
                      15.0) *
      kPi / 12.0;
  const double phi = chart.GeocentricLatitude * kDegToRad;
  FrameOfDate frame;
  frame.cosEps = std::cos(equinox.obliquityDeg * kDegToRad);
  frame.sinEps = std::sin(equinox.obliquityDeg * kDegToRad);
  for (int i = 0; i < kLocalSpacePlanetCount; ++i) {
    double x, y, z, r, dec, ra;
    SphericalToRect(chart.BodyDistance[i], chart.EclipticLatitude[i], chart.EclipticLongitude[i], x,
                    y, z);
    EclipticToEquatorial(frame, x, y, z);
    RectToSpherical(x, y, z, r, dec, ra);
    double h = std::fmod(lst - ra * kDegToRad, kTwoPi);
    if (h < 0) h += kTwoPi;
    HorizontalFromEquatorial(h, dec * kDegToRad, phi, space.Azimuth[i], space.Altitude[i]);
  }
}

void SortLocalSpacePlanets(LocalSpaceRecord& space, bool fromEastPoint) {
  auto& slots = space.LocalSpaceSlots;
  for (int i = 0; i < kLocalSpacePlanetCount; ++i) {
    const float az = space.Azimuth[i];
    float fromOrigin = fromEastPoint ? 90.0f - az : 180.0f + az;
    float rank = 270.0f - az;
    // a non-number stays one, so that it ranks last and shows as a dash
    if (std::isfinite(az)) {
      Normalize360f(fromOrigin);
      Normalize360f(rank);
    }
    slots[i][kSlotOriginAzimuth] = fromOrigin;
    slots[i][kSlotRankAngle] = rank;
  }
  // a stable ranking, non-numbers last
  int order[kLocalSpacePlanetCount];
  std::iota(order, order + kLocalSpacePlanetCount, 0);
  std::stable_sort(order, order + kLocalSpacePlanetCount, [&](int a, int b) {
    const float va = slots[a][kSlotRankAngle], vb = slots[b][kSlotRankAngle];
    if (!std::isfinite(va) || !std::isfinite(vb)) return std::isfinite(va) && !std::isfinite(vb);
    return va < vb;
  });
  // spread: each label at least the gap beyond the one before, rows alternating
  for (int r = 0; r < kLocalSpacePlanetCount; ++r) {
    space.LocalSpaceOrder[r] = order[r];
    slots[r][kSlotSortedAngle] = slots[order[r]][kSlotRankAngle];
  }
  slots[0][kSlotLabelAngle] = slots[0][kSlotSortedAngle];
  space.LabelRow[0] = 0;
  for (int n = 1; n < kLocalSpacePlanetCount; ++n) {
    const float d = slots[n][kSlotSortedAngle] - slots[n - 1][kSlotSortedAngle];
    if (d < kLocalSpaceLabelGap) {
      slots[n][kSlotLabelAngle] = slots[n - 1][kSlotLabelAngle] + kLocalSpaceLabelGap - d;
      space.LabelRow[n] = space.LabelRow[n - 1] == 0 ? 1 : 0;
    } else {
      slots[n][kSlotLabelAngle] = slots[n][kSlotSortedAngle];
      space.LabelRow[n] = 0;
    }
  }
}

std::string DegreesText(double degrees) {
  if (!std::isfinite(degrees)) return kDash;
  int d, m, s;
  DegToDmsD(std::fabs(degrees), d, m, s);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%d\xB0%02d'%02d\"", degrees < 0 && (d || m || s) ? "-" : "", d,
                m, s);
  return buf;
}

std::string LocalSpaceHint(const ChartRecord& chart, const LocalSpaceRecord& space, int planet) {
  const float angle = space.LocalSpaceSlots[planet][kSlotOriginAzimuth];
  std::string text = chart.ObjectNames[planet + 1] + ":";
  if (!std::isfinite(angle)) return text + kDash;
  int d, m, s;
  DegToDms(angle, d, m, s);
  if (d >= 360) d -= 360;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d\xB0%02d'%02d\"", d, m, s);
  return text + buf;
}
