// The all-bodies driver: runs each body's theory for one moment and carries
// the result into the chart's frame (geocentric, ecliptic of date with
// nutation). Geometric positions: no light time, no aberration.
#include "engine/bodies.h"

#include "engine/astromath.h"
#include "engine/kepler.h"
#include "engine/moon.h"
#include "engine/pluto.h"
#include "engine/series.h"

namespace {

// Mean elements of the fictitious points, degrees at T' = 0 and degrees per
// century T' counted from JD 2415020.5.
constexpr double kCenturiesJ2000From1900 = 0.9999863107460644;
struct LinearPoint { int body; double base; double rate; };
constexpr LinearPoint kLinearPoints[] = {
    {kProserpina, 171.5483333, 46.337272},
    {kLilith, 154.371388889, 4069.0351027},
    {kSelena, 139.19888889, 5143.2425799},
};

// Rotates an ecliptic vector of date to the equator, nutates it and, unless
// the caller wants equatorial output, returns it to the ecliptic.
void NutateEclipticVector(const FrameOfDate& f, bool equatorialOutput, double& x, double& y,
                          double& z) {
  NutateEquatorial(f, x, y, z);
  if (!equatorialOutput) EquatorialToEcliptic(f, x, y, z);
}

void Store(BodyPositions& p, int body, double r, double lat, double lon) {
  p.Longitude[body] = lon;
  p.Latitude[body] = lat;
  p.Distance[body] = r;
}

// Heliocentric ecliptic position of date (degrees, AU) to geocentric.
void HeliocentricToGeocentric(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput,
                              int body) {
  EclipticToEquatorial(f, p.x, p.y, p.z);
  p.x += p.sunEqX;
  p.y += p.sunEqY;
  p.z += p.sunEqZ;
  NutateEclipticVector(f, equatorialOutput, p.x, p.y, p.z);
  double r, lat, lon;
  RectToSpherical(p.x, p.y, p.z, r, lat, lon);
  Store(p, body, r, lat, lon);
}

void CalcTheSun(BodyPositions& p, const FrameOfDate& f, int geocentric, bool equatorialOutput) {
  SeriesRecord sun;
  sun.T = p.T;
  CalcSun(sun);
  SphericalToRect(sun.R, sun.B, sun.L, p.sunX, p.sunY, p.sunZ);
  EclipticToEquatorial(f, p.sunX, p.sunY, p.sunZ);
  p.sunEqX = p.sunX;
  p.sunEqY = p.sunY;
  p.sunEqZ = p.sunZ;
  NutateEclipticVector(f, equatorialOutput, p.sunX, p.sunY, p.sunZ);
  double r, lat, lon;
  RectToSpherical(p.sunX, p.sunY, p.sunZ, r, lat, lon);
  if (geocentric == 0) {  // the Earth seen from the Sun
    lat = -lat;
    lon += 180;
    if (lon > 360) lon -= 360;
  }
  Store(p, kSun, r, lat, lon);
}

void CalcTheMoon(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput) {
  MoonRecord moon;
  moon.T = p.T;
  CalcMoon(moon);
  SphericalToRect(moon.R, moon.BETA, moon.LAMBDA, p.x, p.y, p.z);
  EclipticToEquatorial(f, p.x, p.y, p.z);
  NutateEclipticVector(f, equatorialOutput, p.x, p.y, p.z);
  double r, lat, lon;
  RectToSpherical(p.x, p.y, p.z, r, lat, lon);
  Store(p, kMoon, r, lat, lon);
  double node = moon.NODE;
  Normalize360(node);
  p.Longitude[kNorthNode] = node;
  p.Longitude[kSouthNode] = node < 180 ? node + 180 : node - 180;
}

void CalcPlanet(BodyPositions& p, const FrameOfDate& f, int body, int geocentric,
                bool equatorialOutput) {
  double L, B, R;
  if (body == kPluto) {
    PlutoRecord pluto;
    pluto.T = p.T;
    CalcPluto(pluto);
    L = pluto.L, B = pluto.B, R = pluto.R;
  } else {
    using Theory = void (*)(SeriesRecord&);
    static constexpr Theory kTheories[] = {CalcMercury, CalcVenus,  CalcMars,   CalcJupiter,
                                           CalcSaturn,  CalcUranus, CalcNeptune};
    SeriesRecord planet;
    planet.T = p.T;
    kTheories[body - kMercury](planet);
    L = planet.L, B = planet.B, R = planet.R;
  }
  if (geocentric == 0) {
    Store(p, body, R, B, L);
    return;
  }
  SphericalToRect(R, B, L, p.x, p.y, p.z);
  HeliocentricToGeocentric(p, f, equatorialOutput, body);
}

void CalcChiron(BodyPositions& p, const FrameOfDate& f, bool equatorialOutput) {
  double jd = kDaysPerJulianCentury * p.T + kJ2000;
  KeplerPosition(jd - kChironElements.EpochJulianDay, kChironElements, p.x, p.y, p.z);
  PrecessRect(0.0, p.T, p.x, p.y, p.z);
  HeliocentricToGeocentric(p, f, equatorialOutput, kChiron);
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
