// Sunrise and sunset against almanac times, and the aspect-time search
// against published lunation and ingress moments and its own target.
#include "engine/timing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"

namespace {

constexpr double kRiseSetTolHours = 8.0 / 60;   // the formula's shift along the ecliptic
constexpr double kEventTolDays = 4.0 / 1440;    // published moments vs geometric positions
constexpr double kTargetTolArcsec = 1.0;

double HoursDiff(double a, double b) { return std::remainder(a - b, 24.0); }

struct RiseSetCase {
  const char* place;
  int day, month, year;
  float lat, lon, sun;      // degrees, East positive; Sun's longitude
  double rise, set;         // hours UT from almanac tables
};

TEST(SunRiseSet, AlmanacTimes) {
  const RiseSetCase cases[] = {
      {"London", 20, 3, 2020, 51.5f, -0.13f, 0.2f, 6 + 3 / 60.0, 18 + 13 / 60.0},
      {"Moscow", 21, 6, 2020, 55.75f, 37.62f, 90.0f, 0 + 44 / 60.0, 18 + 18 / 60.0},
      {"New York", 4, 7, 1976, 40.71f, -74.0f, 102.5f, 9 + 28 / 60.0, 0 + 31 / 60.0},
      {"Sydney", 21, 12, 2020, -33.87f, 151.2f, 270.0f, 18 + 41 / 60.0, 9 + 5 / 60.0},
  };
  for (const auto& c : cases) {
    float rise, set;
    double jd = JulianDay(c.day, c.month, c.year, 12);
    SunRiseSetStatus st = CalcSunRiseSet(12, c.lat, c.lon, c.sun, jd, rise, set);
    EXPECT_EQ(st, SunRiseSetStatus::kNormal) << c.place;
    EXPECT_NEAR(HoursDiff(rise, c.rise), 0, kRiseSetTolHours) << c.place << " rise " << rise;
    EXPECT_NEAR(HoursDiff(set, c.set), 0, kRiseSetTolHours) << c.place << " set " << set;
    EXPECT_GE(rise, 0.0f);
    EXPECT_LT(rise, 24.0f);
    EXPECT_GE(set, 0.0f);
    EXPECT_LT(set, 24.0f);
  }
}

TEST(SunRiseSet, PolarDayAndNightAreReportedNotNaN) {
  float rise = -1, set = -1;
  double jd = JulianDay(21, 6, 2020, 12);
  EXPECT_EQ(CalcSunRiseSet(12, 69.0f, 18.9f, 90, jd, rise, set), SunRiseSetStatus::kAlwaysUp);
  EXPECT_EQ(rise, 0.0f);
  EXPECT_EQ(set, 0.0f);
  EXPECT_EQ(CalcSunRiseSet(12, -69.0f, 18.9f, 90, jd, rise, set), SunRiseSetStatus::kAlwaysDown);
  EXPECT_EQ(CalcSunRiseSet(12, 90.0f, 0, 90, jd, rise, set), SunRiseSetStatus::kAlwaysUp);
  EXPECT_EQ(CalcSunRiseSet(12, -90.0f, 0, 90, jd, rise, set), SunRiseSetStatus::kAlwaysDown);
  for (float lat = -89.5f; lat < 90; lat += 0.5f)
    for (float sun = 0; sun < 360; sun += 7.5f) {
      CalcSunRiseSet(3, lat, -150, sun, jd, rise, set);
      ASSERT_TRUE(std::isfinite(rise) && std::isfinite(set)) << lat << " " << sun;
      ASSERT_TRUE(rise >= 0 && rise < 24 && set >= 0 && set < 24) << lat << " " << sun;
    }
}

TEST(SunRiseSet, DaylightThatWrapsPastMidnight) {
  EXPECT_TRUE(IsDaytime(SunRiseSetStatus::kNormal, 12, 6, 18));
  EXPECT_FALSE(IsDaytime(SunRiseSetStatus::kNormal, 20, 6, 18));
  // rise 09:28 UT, set 00:31 UT
  EXPECT_TRUE(IsDaytime(SunRiseSetStatus::kNormal, 23.9f, 9.47f, 0.52f));
  EXPECT_TRUE(IsDaytime(SunRiseSetStatus::kNormal, 0.3f, 9.47f, 0.52f));
  EXPECT_FALSE(IsDaytime(SunRiseSetStatus::kNormal, 5.0f, 9.47f, 0.52f));
  EXPECT_TRUE(IsDaytime(SunRiseSetStatus::kAlwaysUp, 0, 0, 0));
  EXPECT_FALSE(IsDaytime(SunRiseSetStatus::kAlwaysDown, 12, 0, 0));
}

double LongitudeAt(int body, double jd) {
  BodyPositions p;
  p.Selector = body;
  p.T = (jd - 2451545.0) / 36525.0;
  CalcBodies(p);
  return p.Longitude[body];
}

double SepArcsec(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) * 3600; }

// Chart-scale Julian day of a universal time.
double Jd(int d, int m, int y, double hours) { return JulianDay(d, m, y, static_cast<float>(hours)); }

TEST(AspectSearch, NextAndPreviousNewMoon) {
  double start = Jd(1, 1, 2020, 0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, 1, 0, 0, found));
  // New moon of 24 January 2020, 21:42 UT
  EXPECT_NEAR(found, Jd(24, 1, 2020, 21 + 42 / 60.0), kEventTolDays);
  EXPECT_LE(SepArcsec(LongitudeAt(kSun, found), LongitudeAt(kMoon, found)), kTargetTolArcsec);

  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, -1, 0, 0, found));
  // New moon of 26 December 2019, 05:13 UT
  EXPECT_NEAR(found, Jd(26, 12, 2019, 5 + 13 / 60.0), kEventTolDays);
}

// A start whole halvings of the first step away from the event makes a trial
// land on the event itself; the search must take it, not step back and stop.
TEST(AspectSearch, TrialLandingOnTheEventIsTaken) {
  double start = Jd(1, 1, 2001, 0);
  double newMoon = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, 1, 0, 0, newMoon));
  for (double offset : {0.25, 0.5, 1.0, 2.0}) {
    double from = newMoon + offset, found = 0;
    ASSERT_TRUE(FindAspectTime(from, from, from, kSun, kMoon, 0, 0, 1, 1, -1, 0, 0, found)) << offset;
    EXPECT_NEAR(found, newMoon, 1.0 / 86400) << offset;
    EXPECT_LE(SepArcsec(LongitudeAt(kSun, found), LongitudeAt(kMoon, found)), kTargetTolArcsec);
  }
}

TEST(AspectSearch, FullMoonAsOpposition) {
  double start = Jd(1, 1, 2020, 0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 4, 0, 1, 1, 1, 0, 0, found));
  // Full moon of 10 January 2020, 19:21 UT
  EXPECT_NEAR(found, Jd(10, 1, 2020, 19 + 21 / 60.0), kEventTolDays);
}

TEST(AspectSearch, SunEntersTaurusForwardsAndBackwards) {
  double start = Jd(1, 3, 2020, 0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kSun, 0, 30.0f, 0, 1, 1, 1, 0, found));
  // The almanac's ingress (19 April 2020, 14:45 UT) is that of the apparent
  // Sun, which aberration holds 20.5" back: the geometric Sun, moving about
  // 146" an hour, gets there 8.4 minutes earlier.
  const double ingress = Jd(19, 4, 2020, 14 + 45 / 60.0 - 20.5 / 146.0);
  EXPECT_NEAR(found, ingress, kEventTolDays);
  EXPECT_LE(SepArcsec(LongitudeAt(kSun, found), 30.0), kTargetTolArcsec);

  double later = Jd(1, 6, 2020, 0);
  ASSERT_TRUE(FindAspectTime(later, later, later, kSun, kSun, 0, 30.0f, 0, 1, -1, 1, 0, found));
  EXPECT_NEAR(found, ingress, kEventTolDays);
}

TEST(AspectSearch, FixedTargetLessTheOrbWrapsBelowAries) {
  // 2 degrees less an orb of 5 is 357 degrees: the Sun gets there in March.
  double start = Jd(1, 1, 2020, 0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kSun, 0, 2.0f, 0, 1, 1, 1, 5.0f, found));
  EXPECT_LE(SepArcsec(LongitudeAt(kSun, found), 357.0), kTargetTolArcsec);
  EXPECT_GT(found, Jd(10, 3, 2020, 0));
  EXPECT_LT(found, Jd(20, 3, 2020, 0));
}

TEST(AspectSearch, CrossingAriesIsNotMistakenForTheTarget) {
  // Mars at about 348 degrees early in 2020 June reaches 10 degrees later in the month.
  double start = Jd(1, 6, 2020, 0);
  ASSERT_GT(LongitudeAt(kMars, start), 340.0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kMars, kMars, 0, 10.0f, 0, 1, 1, 1, 0, found));
  EXPECT_LE(SepArcsec(LongitudeAt(kMars, found), 10.0), kTargetTolArcsec);
  EXPECT_GT(found, start + 10);
}

TEST(AspectSearch, AlreadyExactReturnsTheStart) {
  double start = Jd(5, 5, 2021, 7.5);
  double sun = LongitudeAt(kSun, start);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kMoon, kSun, 0, static_cast<float>(sun), 0, 1, 1,
                             1, 0, found));
  EXPECT_EQ(found, start);
}

TEST(AspectSearch, SextileOfMercuryAndVenusLandsOnTheAngle) {
  double start = Jd(10, 3, 2021, 0);
  double found = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kMercury, kVenus, 1, 0, 1, 1, 1, 0, 0, found));
  double sep = std::remainder(LongitudeAt(kVenus, found) - LongitudeAt(kMercury, found), 360.0);
  EXPECT_NEAR(sep * 3600, 60 * 3600, kTargetTolArcsec);
  EXPECT_GT(found, start);
}

TEST(AspectSearch, UnreachableTargetEndsAndReportsNothing) {
  // The nodes always stand 180 degrees apart: no conjunction can be found.
  double start = Jd(1, 1, 2000, 0);
  double found = 0;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(
      FindAspectTime(start, start, start, kSouthNode, kNorthNode, 0, 0, 1, 1, 1, 0, 0, found));
  EXPECT_EQ(found, start);
  // A bounded search: seconds at most even on a slow machine.
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));
  EXPECT_FALSE(FindAspectTime(start, start, start, 3, 4, 77, 0, 1, 1, 1, 0, 0, found));
  EXPECT_FALSE(FindAspectTime(start, start, start, -1, 4, 0, 0, 1, 1, 1, 0, 0, found));
}

TEST(AspectSearch, ReceptionSwapShiftsTheBodies) {
  // With the Moon moved back one sign, the new moon comes about 2.5 days later.
  double start = Jd(1, 1, 2020, 0);
  double plain = 0, shifted = 0;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, 1, 0, 0, plain));
  AspectSearchFrame frame;
  frame.ReceptionSwap = 1;
  frame.ReceptionShift[kMoon] = -1;
  ASSERT_TRUE(FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, 1, 0, 0, shifted, frame));
  EXPECT_NEAR(shifted - plain, 30.0 / 12.2, 0.5);
}

}  // namespace
