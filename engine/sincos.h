// Sine and cosine of one angle together, for the inner steps of the series
// (the tables of multiples, the spherical-to-rectangular turns), where the
// library's general routine costs more than the rest of a term.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/lanes.h"

// s = sin x, c = cos x for x in radians. Within a few units of the last place
// of std::sin and std::cos for |x| < 1e9 (the series pass angles below a few
// hundred radians); larger or non-finite x goes to the library.
// Notes: x is reduced by the nearest multiple k of pi/2, with pi/2 split in
// two parts so that k pi/2 is subtracted exactly (Cody and Waite); the reduced
// angle, at most pi/4, goes through the polynomial kernels of fdlibm
// (k_sin.c, k_cos.c: minimax fits with errors below 2^-58), and k mod 4 picks
// the quadrant. k is rounded by adding and taking off 1.5 * 2^52, which
// needs the default rounding to nearest (the engine never changes it).
// Source: W. J. Cody, W. Waite, "Software Manual for the Elementary
// Functions" (1980), ch. 8; Sun Microsystems, fdlibm 5.3 (freely
// redistributable), k_sin.c and k_cos.c.
inline void SinCos(double x, double& s, double& c) {
  if (!(std::fabs(x) < 1e9)) {
    s = std::sin(x);
    c = std::cos(x);
    return;
  }
  constexpr double kTwoOverPi = 6.36619772367581382433e-01;
  constexpr double kPiOver2Hi = 1.57079632673412561417e+00;  // first 33 bits of pi/2
  constexpr double kPiOver2Lo = 6.07710050650619224932e-11;  // pi/2 - kPiOver2Hi
  constexpr double kRound = 6755399441055744.0;              // 1.5 * 2^52
  const double t = x * kTwoOverPi + kRound;
  const double k = t - kRound;
  std::uint64_t bits;
  std::memcpy(&bits, &t, sizeof bits);
  const unsigned quadrant = static_cast<unsigned>(bits) & 3u;
  const double r = (x - k * kPiOver2Hi) - k * kPiOver2Lo;
  const double z = r * r;
  const double sr =
      r + r * z *
              (-1.66666666666666324348e-01 +
               z * (8.33333333332248946124e-03 +
                    z * (-1.98412698298579493134e-04 +
                         z * (2.75573137070700676789e-06 + z * (-2.50507602534068634195e-08 +
                                                                z * 1.58969099521155010221e-10)))));
  const double cr =
      1.0 - 0.5 * z +
      z * z *
          (4.16666666666666019037e-02 +
           z * (-1.38888888888741095749e-03 +
                z * (2.48015872894767294178e-05 +
                     z * (-2.75573143513906633035e-07 +
                          z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
  // the quadrant picks a kernel and a sign without a branch (the quadrants of
  // the series' angles follow no pattern a processor could predict):
  // sin = sr, cr, -sr, -cr and cos = cr, -sr, -cr, sr for quadrants 0..3
  const double kernel[2] = {sr, cr};
  const double sign[2] = {1.0, -1.0};
  s = kernel[quadrant & 1u] * sign[(quadrant >> 1) & 1u];
  c = kernel[(quadrant + 1u) & 1u] * sign[((quadrant + 1u) >> 1) & 1u];
}

// The last steps of SinCos for two reduced angles r (|r| <= pi/4) and their
// quadrants (the low two bits of each lane): the polynomial kernels, chosen
// and signed by the quadrant as in SinCos (a product by -1 flips the sign
// bit alone).
typedef long long LaneBits __attribute__((vector_size(16)));
inline void SinCosKernelPair(Lanes r, LaneBits quadrant, Lanes& s, Lanes& c) {
  const Lanes z = r * r;
  const Lanes sr =
      r + r * z *
              (Lanes{-1.66666666666666324348e-01, -1.66666666666666324348e-01} +
               z * (Lanes{8.33333333332248946124e-03, 8.33333333332248946124e-03} +
                    z * (Lanes{-1.98412698298579493134e-04, -1.98412698298579493134e-04} +
                         z * (Lanes{2.75573137070700676789e-06, 2.75573137070700676789e-06} +
                              z * (Lanes{-2.50507602534068634195e-08, -2.50507602534068634195e-08} +
                                   z * Lanes{1.58969099521155010221e-10,
                                             1.58969099521155010221e-10})))));
  const Lanes cr =
      Lanes{1.0, 1.0} - Lanes{0.5, 0.5} * z +
      z * z *
          (Lanes{4.16666666666666019037e-02, 4.16666666666666019037e-02} +
           z * (Lanes{-1.38888888888741095749e-03, -1.38888888888741095749e-03} +
                z * (Lanes{2.48015872894767294178e-05, 2.48015872894767294178e-05} +
                     z * (Lanes{-2.75573143513906633035e-07, -2.75573143513906633035e-07} +
                          z * (Lanes{2.08757232129817482790e-09, 2.08757232129817482790e-09} +
                               z * Lanes{-1.13596475577881948265e-11,
                                         -1.13596475577881948265e-11})))));
  LaneBits sb, cb;
  std::memcpy(&sb, &sr, sizeof sb);
  std::memcpy(&cb, &cr, sizeof cb);
  const LaneBits odd = -(quadrant & 1);
  const LaneBits sinBits = ((sb & ~odd) | (cb & odd)) ^ ((quadrant & 2) << 62);
  const LaneBits cosBits = ((cb & ~odd) | (sb & odd)) ^ (((quadrant + 1) & 2) << 62);
  std::memcpy(&s, &sinBits, sizeof s);
  std::memcpy(&c, &cosBits, sizeof c);
}

// SinCos of two angles at once, lane by lane: the same operations on each
// lane, so the same values as two calls.
inline void SinCosPair(Lanes x, Lanes& s, Lanes& c) {
  if (!(std::fabs(x[0]) < 1e9 && std::fabs(x[1]) < 1e9)) {
    double s0, c0, s1, c1;
    SinCos(x[0], s0, c0);
    SinCos(x[1], s1, c1);
    s = Lanes{s0, s1}, c = Lanes{c0, c1};
    return;
  }
  const Lanes kTwoOverPi = {6.36619772367581382433e-01, 6.36619772367581382433e-01};
  const Lanes kPiOver2Hi = {1.57079632673412561417e+00, 1.57079632673412561417e+00};
  const Lanes kPiOver2Lo = {6.07710050650619224932e-11, 6.07710050650619224932e-11};
  const Lanes kRound = {6755399441055744.0, 6755399441055744.0};
  const Lanes t = x * kTwoOverPi + kRound;
  const Lanes k = t - kRound;
  LaneBits quadrant;
  std::memcpy(&quadrant, &t, sizeof quadrant);
  const Lanes r = (x - k * kPiOver2Hi) - k * kPiOver2Lo;
  SinCosKernelPair(r, quadrant, s, c);
}

// sin and cos of 2 pi x for two x in revolutions: the nearest quarter
// revolution k/4 is taken off exactly (x - k/4 needs no rounding), the rest
// turned into radians, and the kernels of SinCos do the rest. Within a few
// units of the last place of sin(2 pi Frac(x)) for |x| < 2^40; larger or
// non-finite x takes that way itself.
inline void SinCosRevolutionsPair(Lanes x, Lanes& s, Lanes& c) {
  if (!(std::fabs(x[0]) < 0x1p40 && std::fabs(x[1]) < 0x1p40)) {
    const auto frac = [](double v) {
      if (!std::isfinite(v)) return 0.0;
      const double f = v - std::floor(v);
      return f >= 1.0 ? 0.0 : f;
    };
    SinCosPair(Lanes{frac(x[0]), frac(x[1])} * 6.28318530717958647692, s, c);
    return;
  }
  const Lanes kRound = {6755399441055744.0, 6755399441055744.0};
  const Lanes t = x * Lanes{4.0, 4.0} + kRound;
  const Lanes k = t - kRound;
  LaneBits quadrant;
  std::memcpy(&quadrant, &t, sizeof quadrant);
  const Lanes r =
      (x - k * Lanes{0.25, 0.25}) * Lanes{6.28318530717958647692, 6.28318530717958647692};
  SinCosKernelPair(r, quadrant, s, c);
}

// The sine, and the cosine, alone by the same steps.
inline double SineOf(double x) {
  double s, c;
  SinCos(x, s, c);
  return s;
}
inline double CosineOf(double x) {
  double s, c;
  SinCos(x, s, c);
  return c;
}

// The direction of (x, y), atan2(y, x) in radians (-pi, pi]; 0 for (0, 0).
// Within a few units of the last place of std::atan2 for finite arguments
// (the driver's longitudes and latitudes); infinite or not-a-number
// arguments go to the library.
// Notes: the angle is folded into [0, pi/4] by the octant (the smaller of
// |x|, |y| over the larger); above tan(pi/8) the tangent t becomes
// (t - 1)/(t + 1), which leaves it in [-tan(pi/8), tan(pi/8)] with pi/4 to
// add, so one division and no table serve every octant. The arctangent of
// the folded tangent is fdlibm's odd minimax polynomial of degree 23 (error
// below 2^-58 for |t| < 7/16), and the octant unfolds it.
// Source: Sun Microsystems, fdlibm 5.3 (freely redistributable), s_atan.c.
inline double ArcTan2Of(double y, double x) {
  const double ax = std::fabs(x), ay = std::fabs(y);
  if (!(ax <= 1.7976931348623157e308 && ay <= 1.7976931348623157e308)) return std::atan2(y, x);
  if (ax == 0.0 && ay == 0.0) return 0.0;
  constexpr double kTanPiOver8 = 0.41421356237309504880;
  constexpr double kPiOver4 = 7.85398163397448278999e-01;
  constexpr double kPiOver2 = 1.57079632679489655800e+00;
  constexpr double kPi = 3.14159265358979311600e+00;
  const bool steep = ay > ax;
  const double small = steep ? ax : ay, large = steep ? ay : ax;
  // the tangent of the octant's angle, folded about pi/8
  const bool upper = small > kTanPiOver8 * large;
  const double t = upper ? (small - large) / (small + large) : small / large;
  const double z = t * t, w = z * z;
  const double s1 =
      z * (3.33333333333329318027e-01 +
           w * (1.42857142725034663711e-01 +
                w * (9.09088713343650656196e-02 +
                     w * (6.66107313738753120669e-02 +
                          w * (4.97687799461593236017e-02 + w * 1.62858201153657823623e-02)))));
  const double s2 =
      w * (-1.99999999998764832476e-01 +
           w * (-1.11111104054623557880e-01 +
                w * (-7.69187620504482999495e-02 +
                     w * (-5.83357013379057348645e-02 + w * -3.65315727442169155270e-02))));
  double a = (upper ? kPiOver4 : 0.0) + (t - t * (s1 + s2));
  if (steep) a = kPiOver2 - a;
  if (x < 0) a = kPi - a;
  return y < 0 ? -a : a;
}

// ArcTan2Of of two pairs at once, lane by lane: the same operations on each
// lane, so the same values as two calls.
inline Lanes ArcTan2Pair(Lanes y, Lanes x) {
  const bool ordinary0 = std::fabs(x[0]) <= 1.7976931348623157e308 &&
                         std::fabs(y[0]) <= 1.7976931348623157e308 && (x[0] != 0.0 || y[0] != 0.0);
  const bool ordinary1 = std::fabs(x[1]) <= 1.7976931348623157e308 &&
                         std::fabs(y[1]) <= 1.7976931348623157e308 && (x[1] != 0.0 || y[1] != 0.0);
  if (!(ordinary0 && ordinary1)) return Lanes{ArcTan2Of(y[0], x[0]), ArcTan2Of(y[1], x[1])};
  const Lanes zero = {0.0, 0.0};
  const Lanes ax = x < zero ? -x : x, ay = y < zero ? -y : y;
  const auto steep = ay > ax;
  const Lanes small = steep ? ax : ay, large = steep ? ay : ax;
  const Lanes kTanPiOver8 = {0.41421356237309504880, 0.41421356237309504880};
  const auto upper = small > kTanPiOver8 * large;
  const Lanes t = (upper ? small - large : small) / (upper ? small + large : large);
  const Lanes z = t * t, w = z * z;
  const Lanes s1 =
      z *
      (Lanes{3.33333333333329318027e-01, 3.33333333333329318027e-01} +
       w * (Lanes{1.42857142725034663711e-01, 1.42857142725034663711e-01} +
            w * (Lanes{9.09088713343650656196e-02, 9.09088713343650656196e-02} +
                 w * (Lanes{6.66107313738753120669e-02, 6.66107313738753120669e-02} +
                      w * (Lanes{4.97687799461593236017e-02, 4.97687799461593236017e-02} +
                           w * Lanes{1.62858201153657823623e-02, 1.62858201153657823623e-02})))));
  const Lanes s2 =
      w * (Lanes{-1.99999999998764832476e-01, -1.99999999998764832476e-01} +
           w * (Lanes{-1.11111104054623557880e-01, -1.11111104054623557880e-01} +
                w * (Lanes{-7.69187620504482999495e-02, -7.69187620504482999495e-02} +
                     w * (Lanes{-5.83357013379057348645e-02, -5.83357013379057348645e-02} +
                          w * Lanes{-3.65315727442169155270e-02, -3.65315727442169155270e-02}))));
  const Lanes kPiOver4 = {7.85398163397448278999e-01, 7.85398163397448278999e-01};
  const Lanes kPiOver2 = {1.57079632679489655800e+00, 1.57079632679489655800e+00};
  const Lanes kPi = {3.14159265358979311600e+00, 3.14159265358979311600e+00};
  Lanes a = (upper ? kPiOver4 : zero) + (t - t * (s1 + s2));
  a = steep ? kPiOver2 - a : a;
  a = x < zero ? kPi - a : a;
  return y < zero ? -a : a;
}
