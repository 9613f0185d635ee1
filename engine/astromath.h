// Astronomical math and time: angle reduction, arctangents, degrees and
// degrees/minutes/seconds, the calendar date and the Julian day on the chart's
// time scale (universal time plus Delta T), the addition theorem, spherical and
// rectangular coordinates, precession, nutation and the ecliptic/equator
// rotation. Stateless free functions on plain numbers; no I/O, no Qt.
//
// Angles are degrees on every interface unless the name ends in Rad.
// "T" is Julian centuries of 36525 days since J2000 (JD 2451545.0) on the
// chart's time scale.
#pragma once

#include <cmath>
#include <string>

#include "engine/sincos.h"

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr float kPiF = static_cast<float>(kPi);     // for the single-precision routines
inline constexpr double kDegToRad = 0.017453292519943295;  // pi/180
inline constexpr double kRadToDeg = 57.29577951308232;     // 180/pi
inline constexpr double kArcsecPerRad = 206264.8062;
inline constexpr double kJ2000 = 2451545.0;  // Julian day of J2000.0
inline constexpr double kDaysPerJulianCentury = 36525.0;
// Sidereal days per solar day: the rate of the sidereal time below.
inline constexpr double kSiderealPerSolarDay = 360.98564736629 / 360.0;
// Degrees North above which the house routine falls back to equal houses
// from the MC and the planetary hours and lunar days are not computed.
inline constexpr float kHighLatitudeLimit = 65.0f;
// Degrees: geographic less geocentric latitude is this times sin 2phi (the
// flattening of the Earth, 11'32.74" at most, as the chart computations take it).
inline constexpr double kGeocentricLatitudeFactor = 0.19242777777777778;

// Geocentric latitude of a geographic one, degrees: phi - 0.1924 sin 2phi.
double GeocentricOfGeographic(double latitudeDeg);
// Geographic latitude of a geocentric one, degrees, by fixed-point iteration
// of the formula above (the correction is small).
double GeographicOfGeocentric(double geocentricDeg);

// Greenwich mean sidereal time, degrees (not reduced), hoursUt hours after
// 0h UT of the date whose 0h lies days0h days after J2000.0 (IAU 1982;
// Meeus, Astronomical Algorithms, eq. 12.3 and 12.4). The one sidereal time
// of the engine: the house routine, the sunrise and the moonrise read it.
// days0h is on universal time: Delta T left in it moves the result by
// 0.04" per second (2.5", 0.16 seconds of time, per minute of Delta T).
inline double GreenwichMeanSiderealDeg(double days0h, double hoursUt) {
  const double T = days0h / kDaysPerJulianCentury;
  return 100.46061837 + 36000.770053608 * T + 0.000387933 * T * T - T * T * T / 38710000.0 +
         15.0 * kSiderealPerSolarDay * hoursUt;
}
// Mean obliquity of the ecliptic of date, degrees (IAU 1976; Lieske 1977).
inline double MeanObliquityDeg(double T) {
  return 23.43929111 - (46.815 + (0.00059 - 0.001813 * T) * T) * T / 3600.0;
}

// Reduces an angle into [0, 360). Every finite input lands in range (a tiny
// negative value gives 0, never 360); a non-finite input gives 0.
void Normalize360(double& angle);
void Normalize360f(float& angle);

// Direction of the vector (-b, -a), radians in [0, 2pi). b = 0 gives the
// quarter-turn step of the formula without dividing, so a = b = 0 is defined.
float ArcTan2OppositeRad(float a, float b);
// Direction of (b, a) for a >= 0; the house routine's own half-plane variant
// for a < 0 (see the notes in the source). Radians in [0, 2pi); a = b = 0
// gives pi/2, as every b = 0 does.
float ArcTan2Rad(float a, float b);
// Angle of (x, y) in degrees, (-180, 180]; both zero gives 0.
double ArcTan2Deg(double y, double x);

// Removes every space and converts to a signed integer; "" gives 0.
// Throws std::invalid_argument (or std::out_of_range) on text that is no integer.
int StrToIntNoSpaces(const std::string& text);

// Signed decimal degrees (or hours) of d, m, s whose sign sits on the first
// non-zero part.
double DmsToDeg(int d, int m, int s);
// The inverse split; seconds are whole, and a value a hair below a whole
// second counts as that second (10.99999999 gives 11 0 0). The sign goes onto
// the first non-zero part. NaN gives 0 0 0; a huge value saturates the degrees.
void DegToDms(float value, int& d, int& m, int& s);
void DegToDmsD(double value, int& d, int& m, int& s);

// Julian day of a date and universal time, plus Delta T (the chart's time
// scale). Julian calendar up to 4 October 1582, Gregorian after.
double JulianDay(int day, int month, int year, float hoursUt);
// Delta T that JulianDay adds, seconds, at the Julian day jd: the observed
// yearly values 1973 .. 2025 (IERS), the polynomials of Espenak and Meeus
// (2006) elsewhere, joined continuously (see the source). jd may be on either
// time scale (the difference moves the result by well under a second).
double DeltaTSeconds(double jd);
// The universal-time Julian day of a Julian day on the chart's time scale:
// Delta T taken off again, settled at the civil moment.
double UniversalJulianDay(double chartJulianDay);
// Calendar date and hours of a Julian day; Delta T is not removed.
void JulianDayToDate(double jd, int& year, int& month, int& day, float& hours);
// Calendar date and time of day of a Julian day to the nearest whole
// second. A time that rounds up to 24 h is 00:00:00 of the next date, the
// carry running on into the month and the year. Delta T is not removed. A
// non-finite or absurdly large jd gives all zeros.
struct DateTimeToSecond {
  int Year = 0, Month = 0, Day = 0;      // calendar date (astronomical year)
  int Hour = 0, Minute = 0, Second = 0;  // time of day, 0..23, 0..59, 0..59
};
DateTimeToSecond JulianDayToDateSecond(double jd);

// The helpers below run for every term of the series theories, so they are
// defined here where the compiler can inline them into the term loops.

// Fractional part in [0, 1) for every finite input; non-finite gives 0.
// x - floor(x) is exact for every finite double; only the rounding of a tiny
// negative x up to 1 needs mending.
inline double Frac(double x) {
  if (!std::isfinite(x)) return 0.0;
  double r = x - std::floor(x);
  return r >= 1.0 ? 0.0 : r;
}
// x - floor(x), also kept in [0, 1); non-finite gives 0.
inline double FracFloor(double x) { return Frac(x); }
// sin(2pi * Frac(x)).
inline double SinRevolutions(double x) { return SineOf(kTwoPi * Frac(x)); }

// (a + ib)(c + id). When the product is not a number (an infinite factor
// times zero) it is formed again with a = 0.
inline void ComplexMultiply(double a, double b, double c, double d, double& re, double& im) {
  double r = a * c - b * d;
  double i = b * c + a * d;
  if (std::isnan(r) || std::isnan(i)) {
    r = -b * d;
    i = b * c;
  }
  re = r;
  im = i;
}

// Spherical (degrees) to rectangular and back; lon comes back in [0, 360).
void SphericalToRect(double r, double lat, double lon, double& x, double& y, double& z);
void RectToSpherical(double x, double y, double z, double& r, double& lat, double& lon);

// Rigorous ecliptic precession of a rectangular vector from epoch T0 to T.
void PrecessRect(double T0, double T, double& x, double& y, double& z);
// Ecliptic precession of a longitude and latitude (degrees) from B1950 to T.
void PrecessEcliptic(double T, double& lon, double& lat);

// Adds the nutation (the leading terms of the IAU 1980 series, good to
// 0.05") to equatorial coordinates of date.
void NutateEquatorial(double T, double& x, double& y, double& z);
// Rotation by the mean obliquity of date, and its inverse.
void EclipticToEquatorial(double T, double& x, double& y, double& z);
void EquatorialToEcliptic(double T, double& x, double& y, double& z);

// The same three steps with their angles worked out once for a moment, for
// callers that carry many vectors through the frames of one date.
struct FrameOfDate {
  double cosEps = 1, sinEps = 0;  // mean obliquity of date
  double nutC = 0, nutS = 0;      // nutation in longitude times cos and sin of its obliquity
  double nutDeps = 0;             // nutation in obliquity, radians
};
FrameOfDate FrameOfDateAt(double T);
void NutateEquatorial(const FrameOfDate& f, double& x, double& y, double& z);
void EclipticToEquatorial(const FrameOfDate& f, double& x, double& y, double& z);
void EquatorialToEcliptic(const FrameOfDate& f, double& x, double& y, double& z);
// The true equator and equinox of date: the obliquity of the true equator
// (mean obliquity plus the nutation in obliquity) and the equation of the
// equinoxes (the nutation in longitude times the cosine of that obliquity),
// both degrees, from the nutation series above.
struct TrueEquinox {
  double obliquityDeg = 0;
  double equationOfEquinoxesDeg = 0;
};
TrueEquinox TrueEquinoxAt(double T);
// Greenwich apparent sidereal time, degrees (not reduced): the mean one of
// GreenwichMeanSiderealDeg plus the equation of the equinoxes at T.
inline double GreenwichApparentSiderealDeg(double days0h, double hoursUt, const TrueEquinox& e) {
  return GreenwichMeanSiderealDeg(days0h, hoursUt) + e.equationOfEquinoxesDeg;
}
