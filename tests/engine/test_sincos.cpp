// The joint sine and cosine against the library's over the angles the
// series pass and beyond, and its fallback for huge and non-finite angles.
#include "engine/sincos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

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

}  // namespace
