// Two doubles side by side in one register, for the series sums taken two
// rows at a time. A GCC and Clang vector type: its operations are the scalar
// ones lane by lane, on every target.
#pragma once

#include <cstring>

typedef double Lanes __attribute__((vector_size(16)));

// The two values of a 16-byte aligned pair.
inline Lanes LoadLanes(const double (&v)[2]) {
  Lanes x;
  std::memcpy(&x, v, sizeof x);
  return x;
}
