// An independent search of the tests' own for the moment two bodies perfect
// an aspect: the engine's longitudes scanned forward in fixed steps, a change
// of sign of the distance from the exact aspect bracketed and halved down to
// a second.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/bodies.h"

namespace horary_test {

inline double BodyLongitude(int body, double jd) {
  BodyPositions p;
  p.Selector = body;
  p.T = (jd - 2451545.0) / 36525.0;
  CalcBodies(p);
  return p.Longitude[body];
}

// Signed distance (degrees, -180..180) of body b from the point `sign` x
// angle ahead of body a.
inline double AspectGap(int a, int b, double angle, int sign, double jd) {
  return std::remainder(BodyLongitude(b, jd) - BodyLongitude(a, jd) - sign * angle, 360.0);
}

// The first moment after start (up to start + horizon days) at which b
// stands at `angle` degrees from a on either side (or on the side `onlySign`
// only, +1 ahead of a, -1 behind it).
inline std::optional<double> FirstPerfection(int a, int b, double angle, double start,
                                             double horizon, int onlySign = 0) {
  const double step = (a == 1 || b == 1) ? 0.05 : 0.5;  // days: under a degree of relative motion
  std::optional<double> best;
  for (const int sign : {1, -1}) {
    if (sign == -1 && (angle == 0 || angle == 180) && onlySign == 0) break;
    if (onlySign != 0 && sign != onlySign) continue;
    double t0 = start, g0 = AspectGap(a, b, angle, sign, t0);
    for (double t1 = start + step; t0 < start + horizon && (!best || t0 < *best); t1 += step) {
      t1 = std::min(t1, start + horizon);  // the last step ends at the horizon
      const double g1 = AspectGap(a, b, angle, sign, t1);
      if (g0 == 0) {
        best = best ? std::min(*best, t0) : t0;
        break;
      }
      // a change of side near the aspect, not the jump at 180 degrees from it
      if ((g1 == 0 || (g1 > 0) != (g0 > 0)) && std::fabs(g0) < 90 && std::fabs(g1) < 90) {
        double lo = t0, hi = t1;
        while (hi - lo > 1.0 / 86400) {
          const double mid = 0.5 * (lo + hi);
          ((AspectGap(a, b, angle, sign, mid) > 0) == (g0 > 0) ? lo : hi) = mid;
        }
        best = best ? std::min(*best, lo) : lo;
        break;
      }
      t0 = t1;
      g0 = g1;
    }
  }
  return best;
}

}  // namespace horary_test
