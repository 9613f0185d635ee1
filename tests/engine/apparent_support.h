// An independent computation of geometric and apparent places for the
// engine tests: the series evaluated at the retarded moment and the
// classical aberration formula, carried into the engine's frame.
#pragma once

#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/body_tables.h"
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

// The table of a body, or null when it has none.
inline const ChebyshevTable* TableOf(int body) {
  if (body == kNeptune) return &kNeptuneTable;
  if (body == kPluto) return &kPlutoTable;
  if (body == kChiron) return &kChironTable;
  return nullptr;
}

// Whether the driver takes the body at centuries T from its table.
inline bool Tabulated(int body, double T) {
  const ChebyshevTable* table = TableOf(body);
  return table != nullptr && TableCovers(*table, T * 36525.0 + 2451545.0);
}

// Geometric heliocentric position of a body (ecliptic of date, AU) at
// centuries T; the Sun's is zero, the Moon's is the Moon less the Sun.
// Neptune, Pluto and Chiron come from their tables within the tables' span.
inline Vec Heliocentric(int body, double T) {
  SeriesRecord s;
  s.T = T;
  if (body == kSun) return {0, 0, 0};
  if (Tabulated(body, T)) {
    StateVector state;
    TabulatedState(*TableOf(body), T * 36525.0 + 2451545.0, state);
    return {state.x, state.y, state.z};
  }
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

// From the true equator of date back to the ecliptic of date: the turn by the
// true obliquity, the mean one (Lieske 1977) plus the nutation in
// obliquity's four largest terms (IAU 1980: 9.2025" cos N + 0.5736" cos 2L +
// 0.0977" cos 2L' - 0.0895" cos 2N, good to 0.03"; L and L' the mean
// longitudes of the Sun and the Moon, N the Moon's node).
inline void TrueEquatorToEcliptic(double T, double& /*x*/, double& y, double& z) {
  auto rev = [](double v) { return 2.0 * 3.14159265358979323846 * (v - std::floor(v)); };
  const double node = rev(0.347346 - 5.372447 * T);
  const double sunL = rev(0.779072 + 100.002136 * T);
  const double moonL = rev(0.606434 + 1336.855231 * T);
  const double nutationArcsec = 9.2025 * std::cos(node) + 0.5736 * std::cos(2 * sunL) +
                                0.0977 * std::cos(2 * moonL) - 0.0895 * std::cos(2 * node);
  const double eps = (MeanObliquityDeg(T) + nutationArcsec / 3600.0) * kDegToRad;
  const double ny = std::cos(eps) * y + std::sin(eps) * z;
  const double nz = -std::sin(eps) * y + std::cos(eps) * z;
  y = ny, z = nz;
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
  // the engine's frame: nutation on the equator, back with the true obliquity
  Vec v = Rect(1, b, l);
  EclipticToEquatorial(T, v.x, v.y, v.z);
  NutateEquatorial(T, v.x, v.y, v.z);
  TrueEquatorToEcliptic(T, v.x, v.y, v.z);
  RectToSpherical(v.x, v.y, v.z, r, lat, lon);
  if (body == kChiron && !Tabulated(body, T))
    lon += ChironLongitudeCorrection(T * 36525.0 + 2451545.0);  // the ellipse's fit before 1967
}

}  // namespace testsupport
