// Lunar days: the month runs from one new moon to the next; its first day
// begins at the new moon and each further day at the next moonrise at the
// chart's place.
#include "chart/lunardays.h"

#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/moon.h"
#include "engine/timing.h"

namespace {

constexpr double kRefractionDeg = 34.0 / 60.0;  // degrees, refraction at the horizon
constexpr double kParallaxFactor = 0.7275;      // dimensionless, Meeus ch. 15
constexpr double kMeanParallaxDeg = 0.9507;     // degrees, the Moon's mean horizontal parallax
constexpr double kScanStepDays = 1.0 / 24.0;    // days between altitude samples
// days; the next search starts this long after a rise: successive moonrises
// lie at least 22.6 hours apart within 65 degrees of the equator (least
// interval found over 2020-2029 at +-65, 64.5, +-60, 50 and 0 degrees, the
// grazing rises included, checked against a one-minute altitude scan), so
// nothing is skipped, and the month needs about a third of the samples
constexpr double kAfterRiseDays = 18.0 / 24.0;
constexpr double kRootTolDays = 1.0 / 86400.0;      // days; moonrise refined to a second
constexpr double kExtremumTolDays = 5.0 / 86400.0;  // days; a grazing extremum located this well
// degrees per hour squared: near the horizon the altitude's curvature is at
// most cos(latitude) w^2 for the Moon's hour-angle rate w, at most 14.64
// deg/h (0.2555 rad/h), i.e. 3.74 cos(latitude) deg/h^2. An extremum lies
// within half a step of a sample, so it differs from the nearest sample by
// at most 3.74 cos(latitude) step^2 / 8 degrees; twice that, plus 0.05
// degrees for the Moon's motion in declination, bounds the extrema worth
// locating.
constexpr double kBendDegPerHour2 = 3.74;
constexpr double kBendMarginDeg = 0.05;
constexpr double kMonthSearchOffsetDays = 2.0;  // days after a new moon to seek the next
constexpr double kMinMonthDays = 29.0;          // days, shortest synodic month (29.27) rounded
constexpr double kMaxMonthDays = 30.0;          // days, longest synodic month (29.83) rounded
// days; the search may stop this far past a moment
constexpr double kBoundaryTolDays = 1.0 / 86400.0;

// The observer of one month's search.
struct Observer {
  double sinPhi = 0, cosPhi = 1;  // geographic latitude
  double longitude = 0;           // degrees East
  double bendDeg = 0;             // degrees; the most the altitude can bend away from a sample
                                  // between two samples (see kBendDegPerHour2)
};

// Difference of the chart time scale and universal time on the date of a
// moment, days: 0h of that date taken again through JulianDay, which adds
// it. Taken for the whole date, so that it is the same to the bit however
// the moment was reached.
double DeltaTDays(double jd) {
  int year = 0, month = 0, day = 0;
  float hours = 0;
  const double date0h = std::floor(jd - 0.5) + 0.5;
  JulianDayToDate(date0h, year, month, day, hours);
  double d = JulianDay(day, month, year, 0.0f) - date0h;
  return std::isfinite(d) && std::fabs(d) < 1.0 ? d : 0.0;
}

// Altitude of the Moon's centre above the altitude at which it rises, degrees.
//   jd: chart time scale. The Moon's apparent right ascension and declination
//   of date (Moon series with nutation); Greenwich apparent sidereal time
//   (Meeus, Astronomical Algorithms, eq. 12.4, plus the equation of the
//   equinoxes); the rising altitude h0 = 0.7275 pi - 34' for horizontal
//   parallax pi (Meeus ch. 15), which takes in refraction, semi-diameter and
//   parallax, so the moonrise is that of the upper limb seen at the place.
double MoonAboveHorizon(const Observer& o, double jd) {
  // the Moon alone, carried to the true equator of date as the all-bodies
  // driver does (the Sun it would compute too is not needed here)
  MoonRecord moon;
  moon.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcMoon(moon);
  const FrameOfDate frame = FrameOfDateAt(moon.T);
  double x, y, z, r, decDeg, raDeg;
  SphericalToRect(moon.R, moon.BETA, moon.LAMBDA, x, y, z);
  EclipticToEquatorial(frame, x, y, z);
  NutateEquatorial(frame, x, y, z);
  RectToSpherical(x, y, z, r, decDeg, raDeg);
  const double ra = raDeg * kDegToRad;
  const double dec = decDeg * kDegToRad;
  const double earthRadii = r;
  const double parallax =
      earthRadii > 1.0 ? std::asin(1.0 / earthRadii) * kRadToDeg : kMeanParallaxDeg;
  const double h0 = kParallaxFactor * parallax - kRefractionDeg;

  // apparent sidereal time: the mean one plus the equation of the equinoxes
  const double ut = jd - DeltaTDays(jd) - kJ2000;
  const double days0h = std::floor(ut - 0.5) + 0.5;
  const double gast =
      GreenwichMeanSiderealDeg(days0h, (ut - days0h) * 24.0) + frame.nutC * kRadToDeg;
  const double hourAngle = (gast + o.longitude) * kDegToRad - ra;
  double sinAlt = o.sinPhi * std::sin(dec) + o.cosPhi * std::cos(dec) * std::cos(hourAngle);
  sinAlt = std::fmax(-1.0, std::fmin(1.0, sinAlt));
  return std::asin(sinAlt) * kRadToDeg - h0;
}

// The moment in (a, b] at which f changes from below 0 (at a) to at least 0
// (at b), by regula falsi with the Illinois modification.
double RefineRise(const Observer& o, double a, double fa, double b, double fb) {
  int side = 0;
  for (int i = 0; i < 60 && b - a > kRootTolDays; ++i) {
    double c = b - fb * (b - a) / (fb - fa);
    if (!(c > a && c < b)) c = (a + b) / 2;
    double fc = MoonAboveHorizon(o, c);
    if (fc < 0) {
      a = c, fa = fc;
      if (side == -1) fb /= 2;
      side = -1;
    } else {
      b = c, fb = fc;
      if (side == 1) fa /= 2;
      side = 1;
    }
  }
  return b;
}

// The extremum of the altitude inside [a, b] (a minimum when lowest is
// true, else a maximum), by golden-section search; the altitude has one
// extremum there. Stops early at the first moment found on the other side
// of the horizon from the samples, which is all a rise bracket needs.
//   Returns the moment and its altitude in t and f.
void SeekExtremum(const Observer& o, double a, double b, bool lowest, double& t, double& f) {
  constexpr double kGolden = 0.6180339887498949;
  const double sign = lowest ? 1.0 : -1.0;  // minimise sign * altitude
  double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
  double f1 = MoonAboveHorizon(o, x1), f2 = MoonAboveHorizon(o, x2);
  auto crossed = [lowest](double v) { return lowest ? v < 0 : v >= 0; };
  while (!crossed(f1) && !crossed(f2) && b - a > kExtremumTolDays) {
    if (sign * f1 < sign * f2) {
      b = x2, x2 = x1, f2 = f1;
      x1 = b - kGolden * (b - a);
      f1 = MoonAboveHorizon(o, x1);
    } else {
      a = x1, x1 = x2, f1 = f2;
      x2 = a + kGolden * (b - a);
      f2 = MoonAboveHorizon(o, x2);
    }
  }
  const bool first = crossed(f1) || (!crossed(f2) && sign * f1 < sign * f2);
  t = first ? x1 : x2;
  f = first ? f1 : f2;
}

// The moonrise that an extremum of the altitude at the middle of three
// samples (moments t, altitudes f; whole hours) holds, if any: a minimum whose samples are
// all above the horizon while the Moon dips below it between them (it sets
// and rises within a sample step), or a maximum whose samples are all below
// while the Moon clears the horizon between them (it rises and sets again).
// Only an extremum whose sample lies closer to the horizon than the
// altitude can bend between samples is sought (see kBendDegPerHour2).
bool RiseAtExtremum(const Observer& o, const double t[3], const double f[3], double& rise) {
  const bool minimum = f[1] <= f[0] && f[1] <= f[2] && f[1] >= 0;
  const bool maximum = f[1] >= f[0] && f[1] >= f[2] && f[1] < 0;
  if (!(minimum || maximum) || std::fabs(f[1]) > o.bendDeg) return false;
  double te, fe;
  SeekExtremum(o, t[0], t[2], minimum, te, fe);
  if (minimum) {
    if (!(fe < 0)) return false;
    // the rise follows the dip, before the next sample (above the horizon)
    const int next = te < t[1] ? 1 : 2;
    rise = RefineRise(o, te, fe, t[next], f[next]);
  } else {
    if (!(fe >= 0)) return false;
    // the rise precedes the top, after the sample before it (below the horizon)
    const int prev = te > t[1] ? 1 : 0;
    rise = RefineRise(o, t[prev], f[prev], te, fe);
  }
  return true;
}

// The first moonrise after `from` and not after `limit`, chart time scale.
//   Altitudes at whole hours of the Julian day, so that searches started
//   from different moments bracket a rise between the same samples and find
//   it to the same bit; a rise between two samples is refined to a second.
//   Besides a change of sign between two samples, each extremum of the
//   altitude is checked: a grazing Moon that sets and rises (or rises and
//   sets) between two samples leaves them all on one side of the horizon.
//   The samples start two steps before `from`, so that an extremum in the
//   step holding `from` is seen; a rise not after `from` is passed over.
// Returns false when the Moon does not rise in that interval.
bool NextMoonrise(const Observer& o, double from, double limit, double& rise) {
  double t[3], f[3];  // three successive samples
  // whole steps since JD 0: sample n is n * kScanStepDays, the same double
  // however the search was reached
  double n = std::floor(from / kScanStepDays) - 1;
  for (int i = 0; i < 3; ++i) {
    t[i] = (n + i) * kScanStepDays;
    f[i] = MoonAboveHorizon(o, t[i]);
  }
  while (t[1] <= limit) {
    double r = 0;
    bool found = RiseAtExtremum(o, t, f, r);
    if (!found && f[1] < 0 && f[2] >= 0) {
      r = RefineRise(o, t[1], f[1], t[2], f[2]);
      found = true;
    }
    if (found && r > from) {
      rise = r;
      return rise <= limit;
    }
    t[0] = t[1], f[0] = f[1];
    t[1] = t[2], f[1] = f[2];
    n += 1;
    t[2] = (n + 2) * kScanStepDays;
    f[2] = MoonAboveHorizon(o, t[2]);
  }
  return false;
}

// A new moon from jd, searching backwards (direction -1) or forwards (+1).
bool NewMoon(double jd, int direction, double& result) {
  return FindAspectTime(jd, jd, jd, kSun, kMoon, 0, 0.0f, 1, 1, direction, 0, 0.0f, result);
}

}  // namespace

// Lunar days of the month holding the moment.
//   julianDayUT         days, the chart's moment on the chart time scale
//   geocentricLatitude  degrees; geoLongitude degrees East
// Output: LunarDayStart (chart time scale; element 0 the new moon, element
// LunarDayCount the next one), LunarDayCount 29 or 30, LunarDay 1..30.
// Method: the new moons by the aspect-time search (Sun and Moon at 0
// degrees); each moonrise from the Moon's apparent equatorial position and
// the local sidereal time (see MoonAboveHorizon), the k-th lunar day
// beginning at the (k-1)-th moonrise after the new moon. When the 29th
// moonrise falls after the next new moon the month has 29 days. Where the
// Moon stays above or below the horizon for a whole day (far from the
// equator when its declination is large) a day lasts until the next
// moonrise, however long, and the month has fewer days.
// Returns false, leaving the table untouched, above 65 degrees North (the
// limit the chart's recomputation keeps; southern latitudes are computed,
// however far south) and when the new moons are not found.
bool CalcMoonDays(double julianDayUT, float geocentricLatitude, float geoLongitude,
                  LunarDayTable& table) {
  if (!std::isfinite(julianDayUT) || !std::isfinite(geocentricLatitude) ||
      !std::isfinite(geoLongitude) || geocentricLatitude > kHighLatitudeLimit)
    return false;
  double newMoon = 0, nextNewMoon = 0;
  if (!NewMoon(julianDayUT, -1, newMoon)) return false;
  if (!NewMoon(newMoon + kMonthSearchOffsetDays, 1, nextNewMoon)) return false;
  if (julianDayUT >= nextNewMoon) {
    // The moment lies a hair before a new moon that the forward search
    // placed a fraction of a second earlier: it opens the next month.
    newMoon = nextNewMoon;
    if (!NewMoon(newMoon + kMonthSearchOffsetDays, 1, nextNewMoon)) return false;
  }
  const double month = nextNewMoon - newMoon;
  if (!(month > kMinMonthDays && month < kMaxMonthDays)) return false;
  if (!(newMoon <= julianDayUT + kBoundaryTolDays && julianDayUT < nextNewMoon)) return false;

  Observer o;
  const double phi = GeographicOfGeocentric(geocentricLatitude) * kDegToRad;
  o.sinPhi = std::sin(phi);
  o.cosPhi = std::cos(phi);
  o.longitude = geoLongitude;
  const double stepHours = kScanStepDays * 24.0;
  o.bendDeg = 2.0 * kBendDegPerHour2 * o.cosPhi * stepHours * stepHours / 8.0 + kBendMarginDeg;

  // Day k+1 begins at the k-th moonrise after the new moon; the day in
  // which no further moonrise falls before the next new moon is the last.
  double start[31] = {};
  start[0] = newMoon;
  int count = 30;
  double from = newMoon;
  for (int k = 1; k <= 29; ++k) {
    double rise = 0;
    if (!NextMoonrise(o, from, nextNewMoon, rise)) {
      count = k;
      break;
    }
    start[k] = rise;
    from = rise + kAfterRiseDays;
  }
  for (int i = count; i <= 30; ++i) start[i] = nextNewMoon;

  int day = 0;
  for (int n = 1; n <= count; ++n)
    if (start[n - 1] <= julianDayUT && julianDayUT < start[n]) {
      day = n;
      break;
    }
  if (day == 0) {
    // The backward search may stop a hair after the moment itself.
    if (julianDayUT < start[0])
      day = 1;
    else
      return false;
  }
  for (int i = 0; i < 31; ++i) table.LunarDayStart[i] = start[i];
  table.LunarDayCount = count;
  table.LunarDay = day;
  table.GeocentricLatitude = geocentricLatitude;
  table.GeoLongitude = geoLongitude;
  return true;
}

bool LunarDayFromTable(const LunarDayTable& table, double julianDayUT, float geocentricLatitude,
                       float geoLongitude, int& day) {
  if (table.LunarDayCount < 1 || table.LunarDayCount > 30) return false;
  if (table.GeocentricLatitude != geocentricLatitude || table.GeoLongitude != geoLongitude)
    return false;
  for (int n = 1; n <= table.LunarDayCount; ++n)
    if (table.LunarDayStart[n - 1] <= julianDayUT && julianDayUT < table.LunarDayStart[n]) {
      day = n;
      return true;
    }
  return false;
}
