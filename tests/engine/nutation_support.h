// Helpers shared by the Moon and Pluto tests: angle difference and an
// independent nutation in longitude to compare against the reference.
#pragma once

#include <cmath>

namespace testsupport {

inline constexpr double kPi = 3.14159265358979323846;

// Signed difference a - b of two angles in degrees, in (-180, 180].
inline double AngleDiffDeg(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// Nutation in longitude (degrees) from its five largest terms (IAU 1980,
// arguments as in Montenbruck & Pfleger's NUTEQU); good to about 0.5".
inline double NutationInLongitudeDeg(double T) {
  auto rev = [](double x) { return 2.0 * kPi * (x - std::floor(x)); };
  const double ls = rev(0.993133 + 99.997306 * T);
  const double d = rev(0.827362 + 1236.853087 * T);
  const double f = rev(0.259089 + 1342.227826 * T);
  const double n = rev(0.347346 - 5.372447 * T);
  const double arcsec = -17.2 * std::sin(n) - 1.319 * std::sin(2.0 * (f - d + n)) -
                        0.227 * std::sin(2.0 * (f + n)) + 0.206 * std::sin(2.0 * n) +
                        0.143 * std::sin(ls);
  return arcsec / 3600.0;
}

}  // namespace testsupport
