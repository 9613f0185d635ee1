// The all-bodies driver: runs each body's theory for one moment and carries
// the result into the chart's frame (geocentric, ecliptic of date with
// nutation), with light time and annual aberration.
#include "engine/bodies.h"

#include <cmath>

#include "engine/apparent.h"
#include "engine/astromath.h"
#include "engine/kepler.h"
#include "engine/moon.h"
#include "engine/pluto.h"
#include "engine/series.h"

namespace {

// Mean elements of the fictitious points, degrees at T' = 0 and degrees per
// century T' counted from JD 2415020.5.
constexpr double kCenturiesJ2000From1900 = 0.9999863107460644;
struct LinearPoint {
  int body;
  double base;
  double rate;
};
constexpr LinearPoint kLinearPoints[] = {
    {kProserpina, 171.5483333, 46.337272},
    {kLilith, 154.371388889, 4069.0351027},
    {kSelena, 139.19888889, 5143.2425799},
};

// Earth radii per astronomical unit (6378.14 km, 149597870.7 km).
constexpr double kAuPerEarthRadius = 6378.14 / 149597870.7;

void Store(BodyPositions& p, int body, double r, double lat, double lon) {
  p.Longitude[body] = lon;
  p.Latitude[body] = lat;
  p.Distance[body] = r;
}

// Carries a geocentric ecliptic vector of date (mean equinox) to the equator,
// nutates it and, unless the caller wants equatorial output, returns it to
// the ecliptic; stores its direction with the given distance.
void StoreGeocentric(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput, int body,
                     double x, double y, double z, double distance) {
  EclipticToEquatorial(f, x, y, z);
  NutateEquatorial(f, x, y, z);
  if (!equatorialOutput) EquatorialToEcliptic(f, x, y, z);
  double r, lat, lon;
  RectToSpherical(x, y, z, r, lat, lon);
  Store(p, body, distance, lat, lon);
}

StateVector EarthVelocity(const BodyPositions& p) {
  StateVector earth;
  earth.vx = p.earthVx, earth.vy = p.earthVy, earth.vz = p.earthVz;
  return earth;
}

// A body's heliocentric position and velocity (ecliptic of date, AU, AU/day)
// seen from the Earth: apparent direction, geometric distance.
void HeliocentricToGeocentric(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput,
                              int body, const StateVector& helio) {
  double x = helio.x + p.sunEclX, y = helio.y + p.sunEclY, z = helio.z + p.sunEclZ;
  const double distance = std::sqrt(x * x + y * y + z * z);
  ApparentPlace(x, y, z, helio, EarthVelocity(p));
  StoreGeocentric(p, f, equatorialOutput, body, x, y, z, distance);
}

void CalcTheSun(BodyPositions& p, const FrameOfDate& f, int geocentric, bool equatorialOutput) {
  SeriesRecord sun;
  sun.T = p.T;
  CalcSun(sun);
  const StateVector s = StateFromSpherical(sun.R, sun.B, sun.L, sun.RRate, sun.BRate, sun.LRate);
  p.sunEclX = s.x, p.sunEclY = s.y, p.sunEclZ = s.z;
  p.earthVx = -s.vx, p.earthVy = -s.vy, p.earthVz = -s.vz;
  p.sunEqX = s.x, p.sunEqY = s.y, p.sunEqZ = s.z;
  EclipticToEquatorial(f, p.sunEqX, p.sunEqY, p.sunEqZ);
  // the Sun itself does not move about the Sun: light time leaves it alone
  p.sunX = s.x, p.sunY = s.y, p.sunZ = s.z;
  if (geocentric != 0) ApparentPlace(p.sunX, p.sunY, p.sunZ, StateVector{}, EarthVelocity(p));
  StoreGeocentric(p, f, equatorialOutput, kSun, p.sunX, p.sunY, p.sunZ, sun.R);
  if (geocentric == 0) {  // the Earth seen from the Sun
    p.Latitude[kSun] = -p.Latitude[kSun];
    p.Longitude[kSun] += 180;
    if (p.Longitude[kSun] > 360) p.Longitude[kSun] -= 360;
  }
}

void CalcTheMoon(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput) {
  MoonRecord moon;
  moon.T = p.T;
  CalcMoon(moon);
  // geocentric state in AU; its heliocentric velocity adds the Earth's
  const double r = moon.R * kAuPerEarthRadius;
  StateVector m =
      StateFromSpherical(r, moon.BETA, moon.LAMBDA, 0.0, moon.BETARate, moon.LAMBDARate);
  m.vx += p.earthVx, m.vy += p.earthVy, m.vz += p.earthVz;
  double x = m.x, y = m.y, z = m.z;
  ApparentPlace(x, y, z, m, EarthVelocity(p));
  StoreGeocentric(p, f, equatorialOutput, kMoon, x, y, z, moon.R);
  double node = moon.NODE;
  Normalize360(node);
  p.Longitude[kNorthNode] = node;
  p.Longitude[kSouthNode] = node < 180 ? node + 180 : node - 180;
}

void CalcPlanet(BodyPositions& p, const FrameOfDate& f, int body, int geocentric,
                bool equatorialOutput) {
  double L, B, R, LRate, BRate, RRate;
  if (body == kPluto) {
    PlutoRecord pluto;
    pluto.T = p.T;
    CalcPluto(pluto);
    L = pluto.L, B = pluto.B, R = pluto.R;
    LRate = pluto.LRate, BRate = pluto.BRate, RRate = pluto.RRate;
  } else {
    using Theory = void (*)(SeriesRecord&);
    static constexpr Theory kTheories[] = {CalcMercury, CalcVenus,  CalcMars,   CalcJupiter,
                                           CalcSaturn,  CalcUranus, CalcNeptune};
    SeriesRecord planet;
    planet.T = p.T;
    kTheories[body - kMercury](planet);
    L = planet.L, B = planet.B, R = planet.R;
    LRate = planet.LRate, BRate = planet.BRate, RRate = planet.RRate;
  }
  if (geocentric == 0) {
    Store(p, body, R, B, L);
    return;
  }
  HeliocentricToGeocentric(p, f, equatorialOutput, body,
                           StateFromSpherical(R, B, L, RRate, BRate, LRate));
}

// Chiron on its fixed ellipse, precessed to the date. Its velocity for the
// light time is the mean one over a day of its ellipse (its own accuracy is
// about a degree).
void CalcChiron(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput) {
  const double jd = kDaysPerJulianCentury * p.T + kJ2000;
  const double t = jd - kChironElements.EpochJulianDay;
  StateVector c;
  double bx, by, bz;
  KeplerPosition(t, kChironElements, c.x, c.y, c.z);
  KeplerPosition(t - 1.0, kChironElements, bx, by, bz);
  c.vx = c.x - bx, c.vy = c.y - by, c.vz = c.z - bz;
  PrecessRect(0.0, p.T, c.x, c.y, c.z);
  HeliocentricToGeocentric(p, f, equatorialOutput, kChiron, c);
  if (jd < kChironCorrectionEndJd) {
    p.Longitude[kChiron] += ChironLongitudeCorrection(jd);
    Normalize360(p.Longitude[kChiron]);
  }
}

}  // namespace

void CalcBodies(BodyPositions& p, int geocentric, bool equatorialOutput) {
  int first, last;
  if (p.Selector == kSelectorAllBodies) {
    first = kMoon, last = kSelena;
  } else if (p.Selector == kNorthNode || p.Selector == kSouthNode) {
    first = last = kMoon;
  } else if (p.Selector >= kMoon && p.Selector <= kSelena) {
    first = last = p.Selector;
  } else {
    first = 1, last = 0;  // the Sun alone
  }
  for (int b = 0; b <= kSouthNode; ++b) p.Longitude[b] = 0;

  // the angles of the frames of date, once for all bodies
  const FrameOfDate frame = FrameOfDateAt(p.T);
  CalcTheSun(p, frame, geocentric, equatorialOutput);
  for (int body = first; body <= last; ++body) {
    if (body == kMoon) {
      CalcTheMoon(p, frame, equatorialOutput);
    } else if (body >= kMercury && body <= kPluto) {
      CalcPlanet(p, frame, body, geocentric, equatorialOutput);
    } else if (body == kChiron) {
      CalcChiron(p, frame, equatorialOutput);
    } else {
      const double tt = p.T + kCenturiesJ2000From1900;
      for (const LinearPoint& point : kLinearPoints)
        if (point.body == body) p.Longitude[body] = point.base + point.rate * tt;
    }
  }
  for (int b = 0; b <= kSouthNode; ++b) Normalize360(p.Longitude[b]);
}
