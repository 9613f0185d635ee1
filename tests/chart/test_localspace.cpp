// The local-space chart's computation: horizontal coordinates against the
// textbook formula (Meeus, Astronomical Algorithms, 2nd ed., eq. 13.5 and
// 13.6) over a sweep of places and directions; the whole chain from ecliptic
// positions against the horizon and the meridian of the house routine; the
// ranking and label spreading, also with directions that are not numbers;
// the hint's origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "chart/localspace.h"
#include "chart/pipeline.h"
#include "engine/astromath.h"

namespace {

constexpr double kHorizontalTolDeg = 0.001;  // degrees: conversion against the textbook formula
constexpr double kChainTolDeg = 0.01;        // degrees: horizon and meridian of the house routine
constexpr double kZenithGuardDeg = 0.1;      // degrees from the zenith where azimuth is not tested

double CircularDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return std::fabs(d);
}

// Meeus 13.5 and 13.6: azimuth from the South westwards, turned here to
// North through East.
void TextbookHorizontal(double H, double dec, double phi, double& az, double& alt) {
  az = std::atan2(std::sin(H), std::cos(H) * std::sin(phi) - std::tan(dec) * std::cos(phi)) *
           kRadToDeg +
       180.0;
  az = std::fmod(az + 360.0, 360.0);
  alt = std::asin(std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(H)) *
        kRadToDeg;
}

TEST(HorizontalCoords, AgreeWithTheTextbookFormulaOverPlacesAndDirections) {
  const double latitudes[] = {-90, -66.5, -45, -10, 0, 23.4, 55.75, 66.5, 89.9, 90};
  int compared = 0;
  for (double latDeg : latitudes)
    for (double decDeg = -85; decDeg <= 85; decDeg += 8.5)
      for (double hDeg = 0; hDeg < 360; hDeg += 7.5) {
        const double H = hDeg * kDegToRad, dec = decDeg * kDegToRad, phi = latDeg * kDegToRad;
        double az, alt;
        TextbookHorizontal(H, dec, phi, az, alt);
        float gotAz, gotAlt;
        HorizontalFromEquatorial(H, dec, phi, gotAz, gotAlt);
        ASSERT_NEAR(gotAlt, alt, kHorizontalTolDeg)
            << "lat " << latDeg << " dec " << decDeg << " H " << hDeg;
        if (std::fabs(alt) > 90 - kZenithGuardDeg) continue;
        ASSERT_LE(CircularDiff(gotAz, az), kHorizontalTolDeg)
            << "lat " << latDeg << " dec " << decDeg << " H " << hDeg << " expected " << az
            << " got " << gotAz;
        ASSERT_GE(gotAz, 0.0f);
        ASSERT_LT(gotAz, 360.0f);
        ++compared;
      }
  EXPECT_GT(compared, 5000);
}

// The chain from ecliptic positions: a point on the ecliptic at the
// Ascendant stands on the horizon in the East, at the Descendant on the
// horizon in the West, at the MC on the meridian at the altitude its
// declination gives.
TEST(HorizontalCoords, AscendantOnTheHorizonAndMidheavenOnTheMeridian) {
  struct Place {
    float lat, lon;  // degrees
  };
  const Place places[] = {
      {55.75f, 37.58f}, {-33.9f, 18.4f}, {0.0f, -78.5f}, {40.7f, -74.0f}, {64.1f, -21.9f}};
  const double moments[] = {2451545.0, 2447892.75, 2460310.3};
  for (const Place& place : places)
    for (double jd : moments) {
      auto chart = std::make_unique<ChartRecord>();
      chart->HouseSystem = 1;
      chart->JulianDayUT = jd;
      chart->JulianDay0h = std::floor(jd - 0.5) + 0.5;
      chart->UniversalTime = static_cast<float>((jd - chart->JulianDay0h) * 24.0);
      chart->GeoLatitude = place.lat;
      chart->GeoLongitude = place.lon;
      chart->GeocentricLatitude = place.lat;
      CalcHouses(*chart);
      const double asc = chart->HouseCusps()[0], mc = chart->HouseCusps()[9];
      const double onEcliptic[4] = {asc, mc, std::fmod(asc + 180, 360), std::fmod(mc + 180, 360)};
      for (int i = 0; i < 4; ++i) {
        chart->EclipticLongitude[i] = onEcliptic[i];
        chart->EclipticLatitude[i] = 0;
        chart->BodyDistance[i] = 1;
      }
      LocalSpaceRecord space;
      CalcHorizontalCoords(*chart, space);
      const std::string where = "lat " + std::to_string(place.lat) + " jd " + std::to_string(jd);
      EXPECT_NEAR(space.Altitude[0], 0.0, kChainTolDeg) << where;
      EXPECT_GT(space.Azimuth[0], 0.0f) << where;
      EXPECT_LT(space.Azimuth[0], 180.0f) << where;
      EXPECT_NEAR(space.Altitude[2], 0.0, kChainTolDeg) << where;
      EXPECT_GT(space.Azimuth[2], 180.0f) << where;
      // the MC's declination by the textbook (Meeus 13.4) at the mean obliquity of J2000
      const double eps = 23.4392911 * kDegToRad;
      const double decMc = std::asin(std::sin(eps) * std::sin(mc * kDegToRad)) * kRadToDeg;
      EXPECT_NEAR(space.Altitude[1], 90.0 - std::fabs(place.lat - decMc), 0.02) << where;
      EXPECT_LE(CircularDiff(space.Azimuth[1], place.lat > decMc ? 180.0 : 0.0), kChainTolDeg)
          << where;
    }
}

LocalSpaceRecord WithAzimuths(std::initializer_list<float> azimuths) {
  LocalSpaceRecord space;
  int i = 0;
  for (float a : azimuths) space.Azimuth[i++] = a;
  return space;
}

TEST(SortLocalSpacePlanets, CrowdedLabelsMoveOnAndAlternateTheirRow) {
  // rank angles 270 - azimuth: 100, 101, 102 for planets 0..2, the rest far apart
  LocalSpaceRecord space = WithAzimuths({170, 169, 168, 90, 60, 30, 0, 300, 250, 220});
  SortLocalSpacePlanets(space, false);
  EXPECT_EQ(space.LocalSpaceOrder[2], 0);
  EXPECT_EQ(space.LocalSpaceOrder[3], 1);
  EXPECT_EQ(space.LocalSpaceOrder[4], 2);
  EXPECT_FLOAT_EQ(space.LocalSpaceSlots[2][kSlotLabelAngle], 100.0f);
  EXPECT_FLOAT_EQ(space.LocalSpaceSlots[3][kSlotLabelAngle], 103.0f);
  EXPECT_FLOAT_EQ(space.LocalSpaceSlots[4][kSlotLabelAngle], 106.0f);
  EXPECT_EQ(space.LabelRow[2], 0);
  EXPECT_EQ(space.LabelRow[3], 1);
  EXPECT_EQ(space.LabelRow[4], 0);
}

// Whatever the directions (repeated, at the zenith, not numbers), every
// place of the ranking holds exactly one planet, the finite angles ascend,
// equal angles keep the planets' order and non-numbers come last.
TEST(SortLocalSpacePlanets, RankingIsAStablePermutationWithNonNumbersLast) {
  std::mt19937 random(13);
  std::uniform_int_distribution<int> pick(0, 5);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float choices[] = {0.0f, 90.0f, 359.5f, 0.25f, nan, std::numeric_limits<float>::infinity()};
  for (int run = 0; run < 2000; ++run) {
    LocalSpaceRecord space;
    for (float& a : space.Azimuth) a = choices[pick(random)];
    SortLocalSpacePlanets(space, run % 2 == 0);
    bool seen[kLocalSpacePlanetCount] = {};
    for (int r = 0; r < kLocalSpacePlanetCount; ++r) {
      const int p = space.LocalSpaceOrder[r];
      ASSERT_GE(p, 0);
      ASSERT_LT(p, kLocalSpacePlanetCount);
      ASSERT_FALSE(seen[p]) << "planet " << p << " ranked twice, run " << run;
      seen[p] = true;
      if (r == 0) continue;
      const int q = space.LocalSpaceOrder[r - 1];
      const float prev = space.LocalSpaceSlots[r - 1][kSlotSortedAngle];
      const float cur = space.LocalSpaceSlots[r][kSlotSortedAngle];
      if (std::isfinite(cur)) {
        ASSERT_TRUE(std::isfinite(prev)) << "a non-number ranked before a number, run " << run;
        ASSERT_LE(prev, cur);
        if (prev == cur) {
          ASSERT_LT(q, p) << "equal angles out of planet order, run " << run;
        }
        // crowded neighbours never share a label row
        if (cur - prev < kLocalSpaceLabelGap) {
          ASSERT_NE(space.LabelRow[r], space.LabelRow[r - 1]) << "run " << run;
        }
      } else if (!std::isfinite(prev)) {
        ASSERT_LT(q, p);
      }
    }
  }
}

TEST(LocalSpaceHint, AzimuthCountedFromTheChosenOrigin) {
  ChartRecord chart;
  chart.ObjectNames[1] = "Sun";
  chart.ObjectNames[2] = "Moon";
  LocalSpaceRecord space = WithAzimuths({0, 270.5f, 10, 20, 30, 40, 50, 60, 70, 80});
  SortLocalSpacePlanets(space, true);
  EXPECT_EQ(LocalSpaceHint(chart, space, 0),
            "Sun:90\xB0"
            "00'00\"");
  EXPECT_EQ(LocalSpaceHint(chart, space, 1),
            "Moon:179\xB0"
            "30'00\"");
  SortLocalSpacePlanets(space, false);
  EXPECT_EQ(LocalSpaceHint(chart, space, 0),
            "Sun:180\xB0"
            "00'00\"");
  EXPECT_EQ(LocalSpaceHint(chart, space, 1),
            "Moon:90\xB0"
            "30'00\"");
  space.Azimuth[0] = std::numeric_limits<float>::quiet_NaN();
  SortLocalSpacePlanets(space, false);
  EXPECT_EQ(LocalSpaceHint(chart, space, 0), "Sun:\x97");
}

}  // namespace
