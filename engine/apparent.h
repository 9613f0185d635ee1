// Apparent places: the geocentric direction in which a body is seen, with the
// light time (the body where it was when the light now arriving left it) and
// the annual aberration (the direction tilted by the Earth's velocity), both
// to first order in v/c. The rates of the series that feed the correction are
// computed beside their series (series.h, moon.h, pluto.h).
#pragma once

// Days light takes for one astronomical unit (IAU 2009 System of
// Astronomical Constants: c = 173.1446327 AU per day).
inline constexpr double kLightDaysPerAu = 0.0057755183;

// A position with its velocity in one rectangular frame.
struct StateVector {
  double x = 0, y = 0, z = 0;     // position, AU
  double vx = 0, vy = 0, vz = 0;  // velocity, AU per day
};

// Position and velocity from spherical coordinates and their rates:
// r (AU), lat and lon (degrees), rRate (AU per day), latRate and lonRate
// (degrees per day).
StateVector StateFromSpherical(double r, double lat, double lon, double rRate, double latRate,
                               double lonRate);

// Turns a geometric geocentric position into the apparent one, in place.
// In: x, y, z, the body's geometric position relative to the Earth at the
// moment (AU), and its length; body, its heliocentric velocity (AU per day;
// zero for the Sun); earth, the Earth's heliocentric velocity (AU per day);
// one frame for all. Out: x, y, z, a vector along the apparent direction
// whose length is the distance the light travelled (AU).
void ApparentPlace(double& x, double& y, double& z, double distance, const StateVector& body,
                   const StateVector& earth);
