// The all-bodies driver: runs each body's theory for one moment and carries
// the result into the chart's frame (geocentric, ecliptic of date with
// nutation), with light time and annual aberration.
#include "engine/bodies.h"

#include <cmath>

#include "engine/apparent.h"
#include "engine/astromath.h"
#include "engine/body_tables.h"
#include "engine/kepler.h"
#include "engine/moon.h"
#include "engine/pluto.h"
#include "engine/series.h"
#include "engine/sincos.h"

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

// Julian day of the record's moment, chart time scale.
double JulianDayOf(const BodyPositions& p) { return kDaysPerJulianCentury * p.T + kJ2000; }

void Store(BodyPositions& p, int body, double r, double lat, double lon) {
  p.Longitude[body] = lon;
  p.Latitude[body] = lat;
  p.Distance[body] = r;
}

// The turn from the ecliptic of date (mean equinox) to the chart's frame:
// to the equator, nutation, and back to the ecliptic unless the caller wants
// equatorial output; one matrix for the moment, since each step is linear.
struct ChartFrame {
  FrameOfDate frame;  // the angles of the frames of date
  double m[3][3];     // rows: the frame's axes in ecliptic coordinates (dimensionless)
};

ChartFrame ChartFrameAt(double T, bool equatorialOutput) {
  ChartFrame c;
  c.frame = FrameOfDateAt(T);
  // nutation carries the vector to the true equator, so the way back to the
  // ecliptic turns by the true obliquity (the mean one tilts the latitudes
  // by up to the nutation in obliquity, 9")
  FrameOfDate trueEquator = c.frame;
  const double trueObliquity = std::atan2(c.frame.sinEps, c.frame.cosEps) + c.frame.nutDeps;
  trueEquator.sinEps = std::sin(trueObliquity);
  trueEquator.cosEps = std::cos(trueObliquity);
  for (int axis = 0; axis < 3; ++axis) {
    double v[3] = {0, 0, 0};
    v[axis] = 1;
    EclipticToEquatorial(c.frame, v[0], v[1], v[2]);
    NutateEquatorial(c.frame, v[0], v[1], v[2]);
    if (!equatorialOutput) EquatorialToEcliptic(trueEquator, v[0], v[1], v[2]);
    for (int row = 0; row < 3; ++row) c.m[row][axis] = v[row];
  }
  return c;
}

// Carries a geocentric ecliptic vector of date into the chart's frame and
// stores its direction with the given distance.
void StoreGeocentric(BodyPositions& p, const ChartFrame& f, int body, double x, double y, double z,
                     double distance) {
  const double u = f.m[0][0] * x + f.m[0][1] * y + f.m[0][2] * z;
  const double v = f.m[1][0] * x + f.m[1][1] * y + f.m[1][2] * z;
  const double w = f.m[2][0] * x + f.m[2][1] * y + f.m[2][2] * z;
  // as RectToSpherical, the length aside: longitude and latitude side by side
  const Lanes angles = ArcTan2Pair(Lanes{v, w}, Lanes{u, std::sqrt(u * u + v * v)}) * kRadToDeg;
  double lon = angles[0];
  if (lon < 0) lon += 360.0;
  Store(p, body, distance, angles[1], lon);
}

StateVector EarthVelocity(const BodyPositions& p) {
  StateVector earth;
  earth.vx = p.earthVx, earth.vy = p.earthVy, earth.vz = p.earthVz;
  return earth;
}

void CalcTheSun(BodyPositions& p, const ChartFrame& f, int geocentric) {
  SeriesRecord sun;
  sun.T = p.T;
  CalcSun(sun);
  const StateVector s = StateFromSpherical(sun.R, sun.B, sun.L, sun.RRate, sun.BRate, sun.LRate);
  p.sunEclX = s.x, p.sunEclY = s.y, p.sunEclZ = s.z;
  p.earthVx = -s.vx, p.earthVy = -s.vy, p.earthVz = -s.vz;
  p.sunEqX = s.x, p.sunEqY = s.y, p.sunEqZ = s.z;
  EclipticToEquatorial(f.frame, p.sunEqX, p.sunEqY, p.sunEqZ);
  // the Sun itself does not move about the Sun: light time leaves it alone
  p.sunX = s.x, p.sunY = s.y, p.sunZ = s.z;
  if (geocentric != 0)
    ApparentPlace(p.sunX, p.sunY, p.sunZ, sun.R, StateVector{}, EarthVelocity(p));
  StoreGeocentric(p, f, kSun, p.sunX, p.sunY, p.sunZ, sun.R);
  if (geocentric == 0) {  // the Earth seen from the Sun
    p.Latitude[kSun] = -p.Latitude[kSun];
    p.Longitude[kSun] += 180;
    if (p.Longitude[kSun] > 360) p.Longitude[kSun] -= 360;
  }
}

// A body on its way to the chart: its place from its theory, then its state
// vector, then its apparent place. The bodies go through each step
// together, so that the processor can take the steps of several bodies side
// by side (each body's steps depend on one another, the bodies' do not).
struct BodyOnItsWay {
  int body;
  // the theory's place: spherical coordinates and their rates (AU, degrees;
  // per day), heliocentric, or geocentric for the Moon
  double r, lat, lon, rRate, latRate, lonRate;
  bool stateGiven;       // the state below came from the theory (Chiron)
  bool geocentric;       // the place is geocentric (the Moon)
  double shownDistance;  // the distance stored: AU, the Moon in Earth radii
  StateVector state;     // heliocentric velocity; position as the place (AU, AU/day)
  double x, y, z;        // apparent direction (AU)
  double distance;       // geometric distance (AU)
};

void TheMoon(BodyPositions& p, const ChartFrame& f, BodyOnItsWay& m) {
  MoonRecord moon;
  moon.T = p.T;
  CalcMoon(moon);
  m.body = kMoon;
  m.r = moon.R * kAuPerEarthRadius;
  m.lat = moon.BETA, m.lon = moon.LAMBDA;
  m.rRate = 0.0, m.latRate = moon.BETARate, m.lonRate = moon.LAMBDARate;
  m.stateGiven = false, m.geocentric = true;
  m.shownDistance = moon.R;
  // the mean node on the ecliptic of date, with the nutation in longitude
  // as every body's place has it (ecliptic longitude whatever the output)
  const double nutationInLongitude = f.frame.nutC / f.frame.cosEps * kRadToDeg;
  double node = moon.NODE + nutationInLongitude;
  Normalize360(node);
  p.Longitude[kNorthNode] = node;
  p.Longitude[kSouthNode] = node < 180 ? node + 180 : node - 180;
}

// A planet's heliocentric place; the record is the series' work record,
// which each theory sets up afresh.
void ThePlanet(const BodyPositions& p, int body, SeriesRecord& planet, BodyOnItsWay& w) {
  w.body = body;
  w.stateGiven = false, w.geocentric = false;
  if ((body == kNeptune || body == kPluto) &&
      TabulatedState(body == kNeptune ? kNeptuneTable : kPlutoTable, JulianDayOf(p), w.state)) {
    // the table's state in place of the series'; the heliocentric chart reads
    // the spherical coordinates
    const StateVector& s = w.state;
    RectToSpherical(s.x, s.y, s.z, w.r, w.lat, w.lon);
    w.stateGiven = true;
  } else if (body == kPluto) {
    PlutoRecord pluto;
    pluto.T = p.T;
    CalcPluto(pluto);
    w.r = pluto.R, w.lat = pluto.B, w.lon = pluto.L;
    w.rRate = pluto.RRate, w.latRate = pluto.BRate, w.lonRate = pluto.LRate;
  } else {
    using Theory = void (*)(SeriesRecord&);
    static constexpr Theory kTheories[] = {CalcMercury, CalcVenus,  CalcMars,   CalcJupiter,
                                           CalcSaturn,  CalcUranus, CalcNeptune};
    planet.T = p.T;
    kTheories[body - kMercury](planet);
    w.r = planet.R, w.lat = planet.B, w.lon = planet.L;
    w.rRate = planet.RRate, w.latRate = planet.BRate, w.lonRate = planet.LRate;
  }
}

// The state vector of a body's place; the Moon's velocity becomes
// heliocentric by the Earth's.
void StateOf(const BodyPositions& p, BodyOnItsWay& w) {
  if (w.stateGiven) return;
  w.state = StateFromSpherical(w.r, w.lat, w.lon, w.rRate, w.latRate, w.lonRate);
  if (w.geocentric) w.state.vx += p.earthVx, w.state.vy += p.earthVy, w.state.vz += p.earthVz;
}

// The body seen from the Earth: apparent direction, geometric distance.
void ApparentOf(const BodyPositions& p, BodyOnItsWay& w) {
  const StateVector& s = w.state;
  if (w.geocentric) {
    w.x = s.x, w.y = s.y, w.z = s.z;
    w.distance = w.r;
  } else {
    w.x = s.x + p.sunEclX, w.y = s.y + p.sunEclY, w.z = s.z + p.sunEclZ;
    w.distance = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
    w.shownDistance = w.distance;
  }
  ApparentPlace(w.x, w.y, w.z, w.distance, s, EarthVelocity(p));
}

// Chiron's orbit in the frame of its elements: the unit normal and the
// eccentricity vector (towards the perihelion, length e), and the speed
// factor sqrt(GM/p) in AU per day (Gauss's constant k = 0.01720209895).
struct OrbitGeometry {
  double hx, hy, hz;  // unit normal of the orbit plane
  double ex, ey, ez;  // eccentricity vector
  double speed;       // sqrt(GM / (a (1 - e^2))), AU per day
};
OrbitGeometry GeometryOf(const OrbitalElements& el) {
  const double w = el.omega * kDegToRad, i = el.i * kDegToRad, node = el.Omega * kDegToRad;
  OrbitGeometry g;
  g.hx = std::sin(i) * std::sin(node);
  g.hy = -std::sin(i) * std::cos(node);
  g.hz = std::cos(i);
  g.ex = el.e * (std::cos(w) * std::cos(node) - std::sin(w) * std::cos(i) * std::sin(node));
  g.ey = el.e * (std::cos(w) * std::sin(node) + std::sin(w) * std::cos(i) * std::cos(node));
  g.ez = el.e * std::sin(w) * std::sin(i);
  g.speed = 0.01720209895 / std::sqrt(el.a * (1.0 - static_cast<double>(el.e) * el.e));
  return g;
}

// Velocity on a Keplerian orbit at the heliocentric position x, y, z (AU):
// v = sqrt(GM/p) h x (r/|r| + e), the hodograph of the two-body problem.
// Source: Montenbruck & Gill, Satellite Orbits, sec. 2.2 (the eccentricity
// vector and the angular momentum).
void KeplerVelocity(const OrbitGeometry& g, StateVector& s) {
  const double r = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
  const double ux = s.x / r + g.ex, uy = s.y / r + g.ey, uz = s.z / r + g.ez;
  s.vx = g.speed * (g.hy * uz - g.hz * uy);
  s.vy = g.speed * (g.hz * ux - g.hx * uz);
  s.vz = g.speed * (g.hx * uy - g.hy * ux);
}

// Chiron from its table, or outside the table's span on its fixed ellipse,
// precessed to the date. On the ellipse its velocity for the light time is
// that of the ellipse, left in the frame of the elements (the turn of the
// frame by precession moves the light-time shift by less than 0.05", where
// the ellipse's own accuracy is about a degree).
void Chiron(const BodyPositions& p, BodyOnItsWay& w) {
  static const OrbitGeometry kChironOrbit = GeometryOf(kChironElements);
  const double jd = JulianDayOf(p);
  w.body = kChiron;
  w.stateGiven = true, w.geocentric = false;
  StateVector& c = w.state;
  if (TabulatedState(kChironTable, jd, c)) return;
  KeplerPosition(jd - kChironElements.EpochJulianDay, kChironElements, c.x, c.y, c.z);
  KeplerVelocity(kChironOrbit, c);
  PrecessRect(0.0, p.T, c.x, c.y, c.z);
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

  // the frames of date, once for all bodies
  const ChartFrame frame = ChartFrameAt(p.T, equatorialOutput);
  CalcTheSun(p, frame, geocentric);
  // the theories, then each later step for all bodies together
  BodyOnItsWay bodies[kChiron];
  int count = 0;
  SeriesRecord planet;
  for (int body = first; body <= last; ++body) {
    if (body == kMoon) {
      TheMoon(p, frame, bodies[count++]);
    } else if (body >= kMercury && body <= kPluto) {
      ThePlanet(p, body, planet, bodies[count]);
      if (geocentric != 0) {
        ++count;
      } else {
        const BodyOnItsWay& w = bodies[count];
        Store(p, body, w.r, w.lat, w.lon);
      }
    } else if (body == kChiron) {
      Chiron(p, bodies[count++]);
    } else {
      const double tt = p.T + kCenturiesJ2000From1900;
      for (const LinearPoint& point : kLinearPoints)
        if (point.body == body) p.Longitude[body] = point.base + point.rate * tt;
    }
  }
  for (int k = 0; k < count; ++k) StateOf(p, bodies[k]);
  for (int k = 0; k < count; ++k) ApparentOf(p, bodies[k]);
  for (int k = 0; k < count; ++k) {
    const BodyOnItsWay& w = bodies[k];
    StoreGeocentric(p, frame, w.body, w.x, w.y, w.z, w.shownDistance);
  }
  // the ellipse's longitude fitted before 1967, before the table begins
  const double jd = JulianDayOf(p);
  if (first <= kChiron && kChiron <= last && jd < kChironCorrectionEndJd &&
      !TableCovers(kChironTable, jd)) {
    p.Longitude[kChiron] += ChironLongitudeCorrection(jd);
    Normalize360(p.Longitude[kChiron]);
  }
  for (int b = 0; b <= kSouthNode; ++b) Normalize360(p.Longitude[b]);
}
