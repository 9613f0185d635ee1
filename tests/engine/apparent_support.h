// An independent computation of geometric and apparent places for the
// engine tests: the series evaluated at the retarded moment and the
// classical aberration formula, carried into the engine's frame.
#pragma once

#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/kepler.h"
#include "engine/moon.h"
#include "engine/pluto.h"
#include "engine/series.h"

namespace testsupport {

// Light time per AU (IAU 2009: c = 173.1446327 AU/day), days.
inline constexpr double kLightDays = 1.0 / 173.1446327;
inline constexpr double kKmPerEarthRadius = 6378.14, kKmPerAu = 149597870.7;
inline double Arcsec(double deg) { return deg * 3600.0; }
inline double LonDiffArcsec(double a, double b) { return Arcsec(std::remainder(a - b, 360.0)); }

struct Vec {
  double x, y, z;
};
inline Vec Rect(double r, double latDeg, double lonDeg) {
  Vec v;
  SphericalToRect(r, latDeg, lonDeg, v.x, v.y, v.z);
  return v;
}

// Geometric heliocentric position of a body (ecliptic of date, AU) at
// centuries T; the Sun's is zero, the Moon's is the Moon less the Sun.
inline Vec Heliocentric(int body, double T) {
  SeriesRecord s;
  s.T = T;
  if (body == kSun) return {0, 0, 0};
  if (body == kMoon) {
    MoonRecord m;
    m.T = T;
    CalcMoon(m);
    CalcSun(s);
    Vec moon = Rect(m.R * kKmPerEarthRadius / kKmPerAu, m.BETA, m.LAMBDA);
    Vec sun = Rect(s.R, s.B, s.L);
    return {moon.x - sun.x, moon.y - sun.y, moon.z - sun.z};
  }
  if (body == kPluto) {
    PlutoRecord p;
    p.T = T;
    CalcPluto(p);
    return Rect(p.R, p.B, p.L);
  }
  if (body == kChiron) {
    Vec c;
    KeplerPosition(T * 36525.0 + 2451545.0 - kChironElements.EpochJulianDay, kChironElements, c.x,
                   c.y, c.z);
    PrecessRect(0.0, T, c.x, c.y, c.z);
    return c;
  }
  using Theory = void (*)(SeriesRecord&);
  const Theory theories[] = {CalcMercury, CalcVenus,  CalcMars,   CalcJupiter,
                             CalcSaturn,  CalcUranus, CalcNeptune};
  theories[body - kMercury](s);
  return Rect(s.R, s.B, s.L);
}

// Longitude and latitude (degrees) in the engine's frame, computed
// independently of the driver: geometric, or apparent by the light-time
// iteration on the series themselves and the aberration of Meeus,
// Astronomical Algorithms, 2nd ed., eq. 23.2; then the engine's nutation and
// frame, which are not under test here.
inline void IndependentPlace(int body, double T, bool apparent, double& lon, double& lat) {
  SeriesRecord sun;
  sun.T = T;
  CalcSun(sun);
  const Vec earthToSun = Rect(sun.R, sun.B, sun.L);
  double tau = 0;
  Vec g{};
  for (int i = 0; i < (apparent ? 4 : 1); ++i) {  // light-time iteration
    const Vec h = Heliocentric(body, T - tau / 36525.0);
    g = {h.x + earthToSun.x, h.y + earthToSun.y, h.z + earthToSun.z};
    tau = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z) * kLightDays;
  }
  double r, b, l;
  RectToSpherical(g.x, g.y, g.z, r, b, l);
  if (apparent) {
    // Meeus eq. 23.2: the Sun's true longitude, the Earth orbit's e and perihelion
    const double kappa = 20.49552 / 3600.0;
    const double e = 0.016708634 - (0.000042037 + 0.0000001267 * T) * T;
    const double pi = (102.93735 + (1.71946 + 0.00046 * T) * T) * kDegToRad;
    const double sunLon = sun.L * kDegToRad, L = l * kDegToRad, B = b * kDegToRad;
    l += (-kappa * std::cos(sunLon - L) + e * kappa * std::cos(pi - L)) / std::cos(B);
    b += -kappa * std::sin(B) * (std::sin(sunLon - L) - e * std::sin(pi - L));
  }
  // the engine's frame: nutation on the equator, back with the mean obliquity
  Vec v = Rect(1, b, l);
  EclipticToEquatorial(T, v.x, v.y, v.z);
  NutateEquatorial(T, v.x, v.y, v.z);
  EquatorialToEcliptic(T, v.x, v.y, v.z);
  RectToSpherical(v.x, v.y, v.z, r, lat, lon);
  if (body == kChiron)
    lon += ChironLongitudeCorrection(T * 36525.0 + 2451545.0);  // fit before 1967
}

}  // namespace testsupport
