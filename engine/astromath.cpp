// Astronomical math and time. Formulas after Montenbruck & Pfleger,
// "Astronomy on the Personal Computer" (MJD, PMATECL, NUTEQU, ECLEQU); the
// nutation after Meeus and Delta T after Espenak and Meeus (cited below).
#include "engine/astromath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <utility>

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

namespace {

// Observed Delta T at the start of each year 1973 .. 2025, seconds
// (TT - UT1 = 32.184 s + TAI - UTC - (UT1 - UTC); IERS Earth Orientation
// Parameters, as tabulated by the U.S. Naval Observatory).
constexpr int kObservedFirstYear = 1973;
constexpr double kObservedDeltaT[] = {
    43.37, 44.48, 45.48, 46.46, 47.52, 48.53, 49.59, 50.54, 51.38, 52.17, 52.96,  // 1973-1983
    53.79, 54.34, 54.87, 55.32, 55.82, 56.30, 56.86, 57.57, 58.31, 59.12,         // 1984-1993
    59.98, 60.79, 61.63, 62.30, 62.97, 63.47, 63.83, 64.09, 64.30, 64.47,         // 1994-2003
    64.57, 64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60, 66.91,         // 2004-2013
    67.28, 67.64, 68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20,         // 2014-2023
    69.18, 69.14,                                                                 // 2024-2025
};
constexpr int kObservedLastYear =
    kObservedFirstYear + static_cast<int>(std::size(kObservedDeltaT)) - 1;
// Years over which the polynomials are led onto the table's ends.
constexpr double kBlendBefore = 1961.0, kBlendAfter = 2050.0;

double Poly(double t, std::initializer_list<double> c) {
  double sum = 0;
  for (auto it = std::rbegin(c); it != std::rend(c); ++it) sum = sum * t + *it;
  return sum;
}

// Delta T of the polynomial model, seconds, at the decimal year y.
// Source: F. Espenak, J. Meeus, "Five Millennium Canon of Solar Eclipses:
// -1999 to +3000", NASA/TP-2006-214141 (2006), the polynomial expressions
// for Delta T (without their correction for the Moon's secular acceleration).
double EspenakMeeusDeltaT(double y) {
  const double u = (y - 1820.0) / 100.0;
  if (y < -500.0 || y >= 2150.0) return -20.0 + 32.0 * u * u;
  if (y < 500.0)
    return Poly(y / 100.0,
                {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521});
  if (y < 1600.0)
    return Poly((y - 1000.0) / 100.0,
                {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073});
  if (y < 1700.0) return Poly(y - 1600.0, {120.0, -0.9808, -0.01532, 1.0 / 7129.0});
  if (y < 1800.0) return Poly(y - 1700.0, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0});
  if (y < 1860.0)
    return Poly(y - 1800.0, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                             -0.0000001699, 0.000000000875});
  if (y < 1900.0)
    return Poly(y - 1860.0, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0});
  if (y < 1920.0) return Poly(y - 1900.0, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
  if (y < 1941.0) return Poly(y - 1920.0, {21.20, 0.84493, -0.076100, 0.0020936});
  if (y < 1961.0) return Poly(y - 1950.0, {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0});
  if (y < 1986.0) return Poly(y - 1975.0, {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0});
  if (y < 2005.0)
    return Poly(y - 2000.0, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
  if (y < 2050.0) return Poly(y - 2000.0, {62.92, 0.32217, 0.005589});
  return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

// The observed table at the decimal year y (inside it), linearly between years.
double ObservedDeltaT(double y) {
  const double at = y - kObservedFirstYear;
  const int i = std::min(static_cast<int>(at), kObservedLastYear - kObservedFirstYear - 1);
  const double f = at - i;
  return kObservedDeltaT[i] + f * (kObservedDeltaT[i + 1] - kObservedDeltaT[i]);
}

}  // namespace

// Delta T, seconds, of a Julian day: the observed yearly values where they
// exist, the polynomial model elsewhere. The model's difference from the
// table at each end of the table is faded out linearly over 1961 .. 1973 and
// 2025 .. 2050, so the whole curve is continuous.
double DeltaTSeconds(double jd) {
  // decimal year (Gregorian years of 365.2425 days from 2000 January 1.0)
  const double y = 2000.0 + (jd - 2451544.5) / 365.2425;
  if (!std::isfinite(y)) return 0.0;
  if (y >= kObservedFirstYear && y <= kObservedLastYear) return ObservedDeltaT(y);
  const double model = EspenakMeeusDeltaT(y);
  if (y > kBlendBefore && y < kObservedFirstYear) {
    const double offset = kObservedDeltaT[0] - EspenakMeeusDeltaT(kObservedFirstYear);
    return model + offset * (y - kBlendBefore) / (kObservedFirstYear - kBlendBefore);
  }
  if (y > kObservedLastYear && y < kBlendAfter) {
    const double offset = kObservedDeltaT[kObservedLastYear - kObservedFirstYear] -
                          EspenakMeeusDeltaT(kObservedLastYear);
    return model + offset * (kBlendAfter - y) / (kBlendAfter - kObservedLastYear);
  }
  return model;
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
  double bigPi =
      174.876383889 +
      ((3289.4789 + 0.60622 * T0) * T0 + (-869.8089 - 0.50491 * T0 + 0.03536 * dT) * dT) / 3600.0;
  double smallPi =
      (47.0029 - (0.06603 - 0.000598 * T0) * T0 + (-0.03302 + 0.000598 * T0 + 0.00006 * dT) * dT) *
      dT / 3600.0;
  double p = (5029.0966 + (2.22226 - 0.000042 * T0) * T0 +
              (1.11113 - 0.000042 * T0 - 0.000006 * dT) * dT) *
             dT / 3600.0;
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

namespace {

// One term of the nutation: the multiples of the Moon's mean elongation D,
// the Sun's mean anomaly M, the Moon's mean anomaly M', its argument of
// latitude F and the longitude of its ascending node Omega; the amplitudes in
// units of 0.0001": in longitude (s0 + s1 T) sin(arg), in obliquity
// (c0 + c1 T) cos(arg).
struct NutationTerm {
  int d, m, mp, f, om;  // multiples of D, M, M', F, Omega (each -2 .. 2)
  double s0, s1;        // longitude: 0.0001" and 0.0001" per century
  double c0, c1;        // obliquity: 0.0001" and 0.0001" per century
};

// The thirteen largest terms of the IAU 1980 theory of nutation, every term
// of 0.012" or more in longitude. The 50 smaller terms of the theory together
// stay within 0.05" in longitude and 0.02" in obliquity.
// Source: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), ch. 22, table
// 22.A (the IAU 1980 series, Seidelmann 1982).
constexpr NutationTerm kNutationTerms[] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
};

constexpr bool MultiplesWithinTwo() {
  for (const NutationTerm& t : kNutationTerms)
    for (int k : {t.d, t.m, t.mp, t.f, t.om})
      if (k < -2 || k > 2) return false;
  return true;
}
static_assert(MultiplesWithinTwo());

// cos and sin of k times an angle for k = -2 .. 2, element k + 2.
struct Multiples {
  double c[5], s[5];
};
Multiples MultiplesOf(double angle) {
  Multiples m;
  double s1, c1;
  SinCos(angle, s1, c1);
  const double c2 = c1 * c1 - s1 * s1, s2 = 2.0 * s1 * c1;
  m.c[0] = c2, m.s[0] = -s2;
  m.c[1] = c1, m.s[1] = -s1;
  m.c[2] = 1.0, m.s[2] = 0.0;
  m.c[3] = c1, m.s[3] = s1;
  m.c[4] = c2, m.s[4] = s2;
  return m;
}
// (a + ib)(c + id) into (a, b).
inline void Rotate(double& a, double& b, double c, double d) {
  const double re = a * c - b * d;
  b = b * c + a * d;
  a = re;
}

// Adds term I of the table to the sums: its argument turned together from
// the multiples of the fundamental arguments (a zero multiple is skipped at
// compile time).
template <std::size_t I>
void AddNutationTerm(const Multiples (&a)[5], double T, double& sumPsi, double& sumEps) {
  constexpr NutationTerm t = kNutationTerms[I];
  double c = a[0].c[t.d + 2], s = a[0].s[t.d + 2];
  if constexpr (t.m != 0) Rotate(c, s, a[1].c[t.m + 2], a[1].s[t.m + 2]);
  if constexpr (t.mp != 0) Rotate(c, s, a[2].c[t.mp + 2], a[2].s[t.mp + 2]);
  if constexpr (t.f != 0) Rotate(c, s, a[3].c[t.f + 2], a[3].s[t.f + 2]);
  if constexpr (t.om != 0) Rotate(c, s, a[4].c[t.om + 2], a[4].s[t.om + 2]);
  sumPsi += (t.s0 + t.s1 * T) * s;
  sumEps += (t.c0 + t.c1 * T) * c;
}
template <std::size_t... I>
void SumNutation(const Multiples (&a)[5], double T, double& sumPsi, double& sumEps,
                 std::index_sequence<I...>) {
  (AddNutationTerm<I>(a, T, sumPsi, sumEps), ...);
}

// Nutation in longitude and in obliquity, radians, at T centuries since J2000.
// The fundamental arguments D, M, M', F and Omega, degrees, to the square of
// T (Meeus, eq. 22.1 and following); each term's argument is built from
// their multiples by the addition theorem.
void NutationRad(double T, double& dpsi, double& deps) {
  const double T2 = T * T;
  const Multiples a[5] = {
      MultiplesOf((297.85036 + 445267.111480 * T - 0.0019142 * T2) * kDegToRad),
      MultiplesOf((357.52772 + 35999.050340 * T - 0.0001603 * T2) * kDegToRad),
      MultiplesOf((134.96298 + 477198.867398 * T + 0.0086972 * T2) * kDegToRad),
      MultiplesOf((93.27191 + 483202.017538 * T - 0.0036825 * T2) * kDegToRad),
      MultiplesOf((125.04452 - 1934.136261 * T + 0.0020708 * T2) * kDegToRad),
  };
  double sumPsi = 0, sumEps = 0;
  SumNutation(a, T, sumPsi, sumEps, std::make_index_sequence<std::size(kNutationTerms)>{});
  // units of 0.0001" to radians
  dpsi = sumPsi * 1e-4 / kArcsecPerRad;
  deps = sumEps * 1e-4 / kArcsecPerRad;
}

}  // namespace

FrameOfDate FrameOfDateAt(double T) {
  FrameOfDate f;
  SinCos(MeanObliquityDeg(T) * kDegToRad, f.sinEps, f.cosEps);
  double dpsi;
  NutationRad(T, dpsi, f.nutDeps);
  f.nutC = dpsi * f.cosEps;
  f.nutS = dpsi * f.sinEps;
  return f;
}

TrueEquinox TrueEquinoxAt(double T) {
  double dpsi, deps;
  NutationRad(T, dpsi, deps);
  TrueEquinox e;
  e.obliquityDeg = MeanObliquityDeg(T) + deps * kRadToDeg;
  e.equationOfEquinoxesDeg = dpsi * std::cos(e.obliquityDeg * kDegToRad) * kRadToDeg;
  return e;
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
