// Light time and annual aberration of a geocentric position.
#include "engine/apparent.h"

#include <cmath>

#include "engine/astromath.h"
#include "engine/sincos.h"

// Rectangular position and velocity of a point given in spherical coordinates.
// In: r (AU), lat, lon (degrees) and their rates rRate (AU/day), latRate,
// lonRate (degrees/day). Out: the state vector (AU, AU/day).
// Source: the derivative of x = r cos b cos l, y = r cos b sin l, z = r sin b.
StateVector StateFromSpherical(double r, double lat, double lon, double rRate, double latRate,
                               double lonRate) {
  Lanes sines, cosines;
  SinCosPair(Lanes{lat, lon} * kDegToRad, sines, cosines);
  const double sb = sines[0], cb = cosines[0], sl = sines[1], cl = cosines[1];
  const double db = latRate * kDegToRad, dl = lonRate * kDegToRad;
  StateVector s;
  s.x = r * cb * cl;
  s.y = r * cb * sl;
  s.z = r * sb;
  // d(r cos b) = rRate cos b - r sin b db
  const double dRcb = rRate * cb - r * sb * db;
  s.vx = dRcb * cl - r * cb * sl * dl;
  s.vy = dRcb * sl + r * cb * cl * dl;
  s.vz = rRate * sb + r * cb * db;
  return s;
}

// Apparent place of a body from its geometric geocentric position.
// In: x, y, z (AU), the body relative to the Earth at the moment t, and the
// length of that vector; body, the body's heliocentric velocity and earth,
// the Earth's (AU/day).
// Out: x, y, z along the apparent direction (AU).
// Notes: light time: the body is taken at t - tau, tau = |P|/c, by its
// velocity, P = g - tau v (one refinement of tau from |P|); the second-order
// term of the body's path over tau stays below 0.04" (Mercury at inferior
// conjunction). Aberration: P + |P| V/c, the classical first-order annual
// aberration (its second order is about 0.002"). With the Earth's
// heliocentric velocity in place of its barycentric one the aberration is
// good to about 0.01"; light deflection by the Sun is not applied (0.004" at
// 90 degrees from the Sun, under 0.05" beyond 10 degrees, 0.5" at 1 degree). For the Moon the
// Earth's own displacement during the light time and its aberration cancel, leaving the Moon's
// geocentric motion over 1.3 s (about 0.7").
// Source: Meeus, Astronomical Algorithms, 2nd ed., ch. 23 (aberration) and
// ch. 33 (light time); G. H. Kaplan, USNO Circular 179 (2005), ch. 7 (the
// vector form).
void ApparentPlace(double& x, double& y, double& z, double distance, const StateVector& body,
                   const StateVector& earth) {
  // light time from the geometric distance, refined once from the retarded one
  double tau = distance * kLightDaysPerAu;
  double px = x - tau * body.vx, py = y - tau * body.vy, pz = z - tau * body.vz;
  tau = std::sqrt(px * px + py * py + pz * pz) * kLightDaysPerAu;
  px = x - tau * body.vx;
  py = y - tau * body.vy;
  pz = z - tau * body.vz;
  // annual aberration: the light's direction plus the Earth's velocity over c
  x = px + tau * earth.vx;
  y = py + tau * earth.vy;
  z = pz + tau * earth.vz;
}
