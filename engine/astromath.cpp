// Astronomical math and time. Formulas after Montenbruck & Pfleger,
// "Astronomy on the Personal Computer" (MJD, PMATECL, NUTEQU, ECLEQU).
#include "engine/astromath.h"

#include <cmath>
#include <climits>
#include <stdexcept>

#include "engine/sincos.h"

namespace {

// Reduces a finite value into [0, period); a value that rounds up to the
// period itself becomes 0.
template <typename F>
F ReducePeriod(F value, F period) {
  if (value >= F(0) && value < period) return value;  // what fmod would give, without its cost
  if (!std::isfinite(value)) return F(0);
  F r = std::fmod(value, period);
  if (r < 0) r += period;
  if (r >= period) r = 0;
  return r;
}

// Splits a non-negative count of seconds of arc (or time) into whole
// degrees, minutes and seconds, counting a value within `slack` seconds
// below a whole second as that second.
void SplitSeconds(double totalSeconds, double slack, int& d, int& m, int& s) {
  double whole = std::floor(totalSeconds + slack);
  double deg = std::floor(whole / 3600.0);
  double rest = whole - deg * 3600.0;
  d = static_cast<int>(deg);
  m = static_cast<int>(rest / 60.0);
  s = static_cast<int>(rest - m * 60.0);
}

// Puts the sign on the first non-zero part.
void ApplySign(bool negative, int& d, int& m, int& s) {
  if (!negative) return;
  if (d != 0)
    d = -d;
  else if (m != 0)
    m = -m;
  else
    s = -s;
}

// A value this many seconds below a whole second counts as that second: far
// below what a chart record line shows, far above double rounding.
constexpr double kWholeSecondSlack = 1e-4;

void DegToDmsImpl(double value, double relativeSlack, int& d, int& m, int& s) {
  d = m = s = 0;
  if (std::isnan(value)) return;
  bool negative = value < 0;
  double a = std::fabs(value);
  // Beyond the reach of int the degrees saturate; minutes and seconds are 0.
  if (a >= static_cast<double>(INT_MAX)) {
    d = negative ? -INT_MAX : INT_MAX;
    return;
  }
  double total = a * 3600.0;
  SplitSeconds(total, kWholeSecondSlack + total * relativeSlack, d, m, s);
  ApplySign(negative, d, m, s);
}

}  // namespace

void Normalize360(double& angle) { angle = ReducePeriod(angle, 360.0); }

void Normalize360f(float& angle) { angle = ReducePeriod(angle, 360.0f); }

// Direction of (-b, -a). When b = 0 the first step is pi/2 - atan(b/a),
// which is pi/2 for every a; it is taken as pi/2 without the division, so
// a = b = 0 gives a defined angle too.
float ArcTan2OppositeRad(float a, float b) {
  const float pi = static_cast<float>(kPi);
  float t = (b == 0.0f) ? pi / 2.0f : std::atan(a / b);
  if (t < 0.0f) t += pi;
  if (a > 0.0f) t += pi;
  return t;
}

// The house routine's arctangent: the direction of (b, a) for a >= 0; for
// a < 0 and b < 0 it gives atan(a/b), the direction of (-b, -a). The house
// formulas' own half-circle tests rely on exactly this behaviour.
float ArcTan2Rad(float a, float b) {
  const float pi = static_cast<float>(kPi);
  float t = (b == 0.0f) ? pi / 2.0f : std::atan(a / b);
  if (t >= 0.0f) return t;
  t += pi;
  if (a >= 0.0f) return t;
  return t + pi;
}

double ArcTan2Deg(double y, double x) {
  if (x == 0.0 && y == 0.0) return 0.0;
  double ax = std::fabs(x), ay = std::fabs(y);
  double t = (ax <= ay) ? 90.0 - std::atan(ax / ay) * kRadToDeg : std::atan(ay / ax) * kRadToDeg;
  if (x < 0) t = 180.0 - t;
  if (y < 0) t = -t;
  return t;
}

int StrToIntNoSpaces(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (c != ' ') s += c;
  if (s.empty()) return 0;
  std::size_t used = 0;
  int v = std::stoi(s, &used, 10);
  if (used != s.size()) throw std::invalid_argument("'" + text + "' is not a valid integer value");
  return v;
}

double DmsToDeg(int d, int m, int s) {
  bool negative = d < 0 || (d == 0 && m < 0) || (d == 0 && m == 0 && s < 0);
  double v = std::abs(static_cast<double>(d)) + std::abs(static_cast<double>(m)) / 60.0 +
             std::abs(static_cast<double>(s)) / 3600.0;
  return negative ? -v : v;
}

// A float carries about 7 significant digits, so the slack scales with the
// value: 2 units in the last place of the seconds count.
void DegToDms(float value, int& d, int& m, int& s) { DegToDmsImpl(value, 2.4e-7, d, m, s); }

void DegToDmsD(double value, int& d, int& m, int& s) { DegToDmsImpl(value, 1e-12, d, m, s); }

double JulianDay(int day, int month, int year, float hoursUt) {
  // calendar key taken before January and February move to the previous year
  double key = 10000.0 * year + 100.0 * month + day;
  double y = year, mo = month;
  if (month <= 2) {
    mo += 12;
    y -= 1;
  }
  double b;
  if (key <= 15821004.1)
    b = std::floor((y + 4716) / 4) - 2 - 1179;  // Julian calendar
  else
    b = std::floor(y * 0.0025) - std::floor(y * 0.01) + std::floor(y * 0.25);
  double mjd = 365.0 * y - 679004.0 + b + std::floor(30.6001 * (mo + 1)) + day + hoursUt / 24.0;
  double jd = mjd + 2400000.5;
  return jd + DeltaTSeconds(jd) / 86400.0;
}

double DeltaTSeconds(double jd) {
  // quadratic in centuries since 1900
  double t = (jd - 2415020.5) / 36525.0;
  return -24.6 + 72.318 * t + 29.952 * t * t;
}

double GeocentricOfGeographic(double latitudeDeg) {
  return latitudeDeg - kGeocentricLatitudeFactor * std::sin(2.0 * latitudeDeg * kDegToRad);
}

double GeographicOfGeocentric(double geocentricDeg) {
  double phi = geocentricDeg;
  for (int i = 0; i < 5; ++i)
    phi = geocentricDeg + kGeocentricLatitudeFactor * std::sin(2 * phi * kDegToRad);
  return phi;
}

double UniversalJulianDay(double chartJulianDay) {
  // Delta T changes by about a second a year: three passes settle it
  double ut = chartJulianDay;
  for (int pass = 0; pass < 3; ++pass) ut = chartJulianDay - DeltaTSeconds(ut) / 86400.0;
  return ut;
}

void JulianDayToDate(double jd, int& year, int& month, int& day, float& hours) {
  double a = std::floor(jd + 0.5);
  double c;
  if (a < 2299161.0) {
    c = a + 1524.0;
  } else {
    double b = std::floor((a - 1867216.25) / 36524.25);
    c = a + b - std::trunc(b / 4) + 1525.0;
  }
  double d = std::floor((c - 122.1) / 365.25);
  // days before the year d, floor(365.25 d): d is negative before the year
  // -4715, where a truncated quarter would put every date one day early
  double e = 365.0 * d + std::floor(d / 4);
  double f = std::floor((c - e) / 30.6001);
  day = static_cast<int>(c - e - std::floor(30.6001 * f));
  month = static_cast<int>(f - 1 - 12 * std::trunc(f / 14));
  year = static_cast<int>(d - 4715 - std::trunc((7 + month) / 10.0));
  hours = static_cast<float>((jd + 0.5 - a) * 24.0);
}

DateTimeToSecond JulianDayToDateSecond(double jd) {
  DateTimeToSecond r;
  if (!std::isfinite(jd) || std::fabs(jd) > 1e9) return r;
  // the date's day number (days change at midnight, Julian days at noon) and
  // the seconds since its midnight, rounded
  double dayNumber = std::floor(jd + 0.5);
  long long seconds = std::llround((jd + 0.5 - dayNumber) * 86400.0);
  if (seconds >= 86400) {
    dayNumber += 1.0;
    seconds -= 86400;
  }
  float hours = 0;
  JulianDayToDate(dayNumber - 0.5, r.Year, r.Month, r.Day, hours);
  r.Hour = static_cast<int>(seconds / 3600);
  r.Minute = static_cast<int>(seconds / 60 % 60);
  r.Second = static_cast<int>(seconds % 60);
  return r;
}

void SphericalToRect(double r, double lat, double lon, double& x, double& y, double& z) {
  double cl = std::cos(lat * kDegToRad);
  x = r * cl * std::cos(lon * kDegToRad);
  y = r * cl * std::sin(lon * kDegToRad);
  z = r * std::sin(lat * kDegToRad);
}

void RectToSpherical(double x, double y, double z, double& r, double& lat, double& lon) {
  double rho2 = x * x + y * y;
  r = std::sqrt(rho2 + z * z);
  lon = ArcTan2Deg(y, x);
  if (lon < 0) lon += 360.0;
  lat = ArcTan2Deg(z, std::sqrt(rho2));
}

void PrecessRect(double T0, double T, double& x, double& y, double& z) {
  double dT = T - T0;
  // precession angles in degrees (arcseconds / 3600)
  double bigPi = 174.876383889 + ((3289.4789 + 0.60622 * T0) * T0 +
                                  (-869.8089 - 0.50491 * T0 + 0.03536 * dT) * dT) / 3600.0;
  double smallPi =
      (47.0029 - (0.06603 - 0.000598 * T0) * T0 + (-0.03302 + 0.000598 * T0 + 0.00006 * dT) * dT) *
      dT / 3600.0;
  double p = (5029.0966 + (2.22226 - 0.000042 * T0) * T0 +
              (1.11113 - 0.000042 * T0 - 0.000006 * dT) * dT) * dT / 3600.0;
  double c1 = CosineOf((bigPi + p) * kDegToRad), s1 = SineOf((bigPi + p) * kDegToRad);
  double c2 = CosineOf(smallPi * kDegToRad), s2 = SineOf(smallPi * kDegToRad);
  double c3 = CosineOf(bigPi * kDegToRad), s3 = SineOf(bigPi * kDegToRad);
  double nx = (c1 * c3 + s1 * c2 * s3) * x + (c1 * s3 - s1 * c2 * c3) * y - s1 * s2 * z;
  double ny = (s1 * c3 - c1 * c2 * s3) * x + (s1 * s3 + c1 * c2 * c3) * y + c1 * s2 * z;
  double nz = s2 * s3 * x - s2 * c3 * y + c2 * z;
  x = nx;
  y = ny;
  z = nz;
}

// The latitude is asin(u) and the longitude the angle of (q, N) taken back
// from Pi + p; both are written with two-argument arctangents so that no
// division by a vanishing cosine can occur.
void PrecessEcliptic(double T, double& lon, double& lat) {
  double l = lon * kDegToRad, b = lat * kDegToRad;
  double tt = T + 0.5;  // centuries since B1950
  double smallPi = 0.000228 * tt;
  double bigPi = 3.044;
  double p = (0.0243764 + 0.00000539 * tt) * tt;
  Lanes sines, cosines;
  SinCosPair(Lanes{smallPi, b}, sines, cosines);
  const double sinPi = sines[0], cosPi = cosines[0], sinB = sines[1], cosB = cosines[1];
  double sinL, cosL;
  SinCos(bigPi - l, sinL, cosL);
  double u = sinPi * cosB * sinL + cosPi * sinB;
  double root = std::sqrt(std::fmax(0.0, (1.0 - u) * (1.0 + u)));
  double q = cosB * cosL;
  double n = cosPi * cosB * sinL - sinPi * sinB;
  // the latitude and the angle of (q, n) side by side
  const Lanes angles = ArcTan2Pair(Lanes{u, n}, Lanes{root, q});
  lat = angles[0] * kRadToDeg;
  double bigL = bigPi + p - angles[1];
  lon = 360.0 * Frac(bigL / kTwoPi);
}

FrameOfDate FrameOfDateAt(double T) {
  FrameOfDate f;
  double eps0 = MeanObliquityDeg(T) * kDegToRad;
  f.cosEps = CosineOf(eps0);
  f.sinEps = SineOf(eps0);
  // short nutation series: mean arguments in revolutions, amplitudes in arcseconds
  double ls = kTwoPi * FracFloor(0.993133 + 99.997306 * T);
  double d = kTwoPi * FracFloor(0.827362 + 1236.853087 * T);
  double fa = kTwoPi * FracFloor(0.259089 + 1342.227826 * T);
  double n = kTwoPi * FracFloor(0.347346 - 5.372447 * T);
  double eps = 0.4090928 - 0.00022696 * T;
  double dpsi = (-17.2 * SineOf(n) - 1.319 * SineOf(2 * (fa - d + n)) -
                 0.227 * SineOf(2 * (fa + n)) + 0.206 * SineOf(2 * n) + 0.143 * SineOf(ls)) /
                kArcsecPerRad;
  f.nutDeps = (9.203 * CosineOf(n) + 0.574 * CosineOf(2 * (fa - d + n)) +
               0.098 * CosineOf(2 * (fa + n)) - 0.09 * CosineOf(2 * n)) /
              kArcsecPerRad;
  f.nutC = dpsi * CosineOf(eps);
  f.nutS = dpsi * SineOf(eps);
  return f;
}

void NutateEquatorial(const FrameOfDate& f, double& x, double& y, double& z) {
  // all three increments from the old x, y, z
  double dx = -(f.nutC * y + f.nutS * z);
  double dy = f.nutC * x - f.nutDeps * z;
  double dz = f.nutS * x + f.nutDeps * y;
  x += dx;
  y += dy;
  z += dz;
}

void EclipticToEquatorial(const FrameOfDate& f, double& x, double& y, double& z) {
  (void)x;
  double ny = f.cosEps * y - f.sinEps * z;
  double nz = f.sinEps * y + f.cosEps * z;
  y = ny;
  z = nz;
}

void EquatorialToEcliptic(const FrameOfDate& f, double& x, double& y, double& z) {
  (void)x;
  double ny = f.cosEps * y + f.sinEps * z;
  double nz = -f.sinEps * y + f.cosEps * z;
  y = ny;
  z = nz;
}

void NutateEquatorial(double T, double& x, double& y, double& z) {
  NutateEquatorial(FrameOfDateAt(T), x, y, z);
}

void EclipticToEquatorial(double T, double& x, double& y, double& z) {
  EclipticToEquatorial(FrameOfDateAt(T), x, y, z);
}

void EquatorialToEcliptic(double T, double& x, double& y, double& z) {
  EquatorialToEcliptic(FrameOfDateAt(T), x, y, z);
}
