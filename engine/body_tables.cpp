// Evaluation of the Chebyshev tables of Neptune, Pluto and Chiron.
#include "engine/body_tables.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
// More orders than any table holds.
constexpr int kMaxOrders = 24;
}  // namespace

bool TableCovers(const ChebyshevTable& table, double jd) {
  const double offset = jd - table.FirstJulianDay;
  return offset >= 0 && offset <= table.SegmentDays * table.Segments;
}

// The polynomials T_k(x) and their derivatives by the three-term recurrence
// T_k+1 = 2x T_k - T_k-1 (and its derivative T'_k+1 = 2 T_k + 2x T'_k -
// T'_k-1), once for the three axes; then each axis is a sum of products.
// x runs over [-1, 1] across the segment, so dx/dt = 2 / SegmentDays.
bool TabulatedState(const ChebyshevTable& table, double jd, StateVector& state) {
  if (!TableCovers(table, jd)) return false;
  const double offset = (jd - table.FirstJulianDay) / table.SegmentDays;
  const int segment = std::min(static_cast<int>(offset), table.Segments - 1);
  const double x = 2.0 * (offset - segment) - 1.0;
  const int orders = table.Degree + 1;
  double t[kMaxOrders], dt[kMaxOrders];
  t[0] = 1, t[1] = x;
  dt[0] = 0, dt[1] = 1;
  for (int k = 1; k + 1 < orders; ++k) {
    t[k + 1] = 2 * x * t[k] - t[k - 1];
    dt[k + 1] = 2 * t[k] + 2 * x * dt[k] - dt[k - 1];
  }
  const double* c = table.Coefficients + static_cast<std::ptrdiff_t>(segment) * 3 * orders;
  double p[3], v[3];
  for (int axis = 0; axis < 3; ++axis, c += orders) {
    double sum = 0, rate = 0;
    for (int k = 0; k < orders; ++k) sum += c[k] * t[k], rate += c[k] * dt[k];
    p[axis] = sum;
    v[axis] = rate * 2.0 / table.SegmentDays;
  }
  state.x = p[0], state.y = p[1], state.z = p[2];
  state.vx = v[0], state.vy = v[1], state.vz = v[2];
  return true;
}
