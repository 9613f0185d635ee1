// The joint sine and cosine against the library's over the angles the
// series pass and beyond, and its fallback for huge and non-finite angles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/sincos.h"

namespace {

// Absolute error allowed: two units in the last place of a value near 1.
constexpr double kTrigTol = 4.5e-16;

TEST(SinCos, AgreesWithTheLibraryToTheLastPlaces) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> angle(-2000.0, 2000.0);
  double worst = 0;
  for (int i = 0; i < 1000000; ++i) {
    const double x = i < 1000 ? (i - 500) * 1.5707963267948966 : angle(random);  // quadrant edges
    double s, c;
    SinCos(x, s, c);
    worst = std::fmax(worst, std::fmax(std::fabs(s - std::sin(x)), std::fabs(c - std::cos(x))));
    ASSERT_LE(std::fabs(s - std::sin(x)), kTrigTol) << "sin " << x;
    ASSERT_LE(std::fabs(c - std::cos(x)), kTrigTol) << "cos " << x;
  }
  EXPECT_GT(worst, 0.0);  // the sweep ran
}

TEST(SinCos, HugeAndNonFiniteAnglesGoToTheLibrary) {
  for (double x : {1e9, -3e12, std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    double s, c;
    SinCos(x, s, c);
    if (std::isfinite(x)) {
      EXPECT_EQ(s, std::sin(x));
      EXPECT_EQ(c, std::cos(x));
    } else {
      EXPECT_TRUE(std::isnan(s) && std::isnan(c)) << x;
    }
  }
  EXPECT_EQ(SineOf(0.0), 0.0);
  EXPECT_EQ(CosineOf(0.0), 1.0);
}

// The folded arctangent against the library's: the octant edges, the fold
// at tan(pi/8), the axes, tiny and huge ratios, and random directions.
TEST(ArcTan2Of, AgreesWithTheLibraryToTheLastPlaces) {
  constexpr double kAngleTol = 9e-16;  // radians: two units in the last place of pi
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const double tanPiOver8 = std::tan(std::atan(1.0) / 2);
  for (int i = 0; i < 1000000; ++i) {
    double y = unit(random), x = unit(random);
    if (i % 5 == 1) y = x * tanPiOver8 * (1 + 1e-9 * unit(random));  // about the fold
    if (i % 5 == 2) y = x * (1 + 1e-12 * unit(random));              // about the diagonal
    if (i % 5 == 3) x *= 1e-200;                                     // near the axes
    if (i % 5 == 4) y *= 1e300;
    ASSERT_LE(std::fabs(ArcTan2Of(y, x) - std::atan2(y, x)), kAngleTol) << y << ", " << x;
  }
  for (double x : {-1.0, 0.0, 1.0}) {
    for (double y : {-1.0, 0.0, 1.0}) {
      if (x == 0 && y == 0) continue;
      EXPECT_NEAR(ArcTan2Of(y, x), std::atan2(y, x), kAngleTol) << y << ", " << x;
    }
  }
  EXPECT_EQ(ArcTan2Of(0.0, 0.0), 0.0);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ArcTan2Of(inf, 1.0), std::atan2(inf, 1.0));
  EXPECT_TRUE(std::isnan(ArcTan2Of(std::numeric_limits<double>::quiet_NaN(), 1.0)));
}

// The two-lane forms give the single ones' values bit for bit, whatever
// the quadrant or octant of each lane, and fall back lane by lane.
TEST(SinCosPair, EachLaneIsTheSingleRoutineBitForBit) {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> angle(-2000.0, 2000.0), unit(-1.0, 1.0);
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  for (int i = 0; i < 200000; ++i) {
    const double a = i < 1000 ? (i - 500) * 1.5707963267948966 : angle(random);
    const double b = i % 3 == 0 ? 3e9 : angle(random);  // a lane for the library
    Lanes s, c;
    SinCosPair(Lanes{a, b}, s, c);
    double s0, c0, s1, c1;
    SinCos(a, s0, c0);
    SinCos(b, s1, c1);
    ASSERT_TRUE(same(s[0], s0) && same(c[0], c0) && same(s[1], s1) && same(c[1], c1)) << a << b;
    const double y0 = unit(random), x0 = i % 7 == 0 ? -0.0 : unit(random);
    const double y1 = i % 5 == 0 ? 0.0 : unit(random), x1 = i % 5 == 0 ? 0.0 : unit(random);
    const Lanes t = ArcTan2Pair(Lanes{y0, y1}, Lanes{x0, x1});
    ASSERT_TRUE(same(t[0], ArcTan2Of(y0, x0)) && same(t[1], ArcTan2Of(y1, x1))) << y0 << x0;
  }
}

// Sines and cosines of whole turns: against the library's of 2 pi Frac(x),
// whose own rounding of the angle (up to 2 pi) is most of the difference.
TEST(SinCosRevolutionsPair, AgreesWithTheLibraryOnTheFraction) {
  constexpr double kTurnTol = 1.5e-15;
  std::mt19937_64 random(20261212);
  std::uniform_real_distribution<double> turns(-5000.0, 5000.0);
  for (int i = 0; i < 200000; ++i) {
    const double a = i < 1000 ? (i - 500) * 0.125 : turns(random);  // the quarter-turn edges
    const double b = i % 3 == 0 ? 1e13 + 0.3 : turns(random);       // beyond the fast way
    Lanes s, c;
    SinCosRevolutionsPair(Lanes{a, b}, s, c);
    for (int lane = 0; lane < 2; ++lane) {
      const double x = lane == 0 ? a : b;
      const double radians = 2 * 3.14159265358979323846 * (x - std::floor(x));
      ASSERT_NEAR(s[lane], std::sin(radians), kTurnTol) << x;
      ASSERT_NEAR(c[lane], std::cos(radians), kTurnTol) << x;
    }
  }
}

}  // namespace
