// Lunar days against published new moons and a published Moscow lunar
// calendar (moonrises and lunar-day numbers), months of 29 and 30 days,
// the boundary moments, and places far from the equator.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/lunardays.h"
#include "engine/astromath.h"
#include "engine/bodies.h"

namespace {

constexpr double kNewMoonTolDays = 3.0 / 1440;    // published minutes vs the series
constexpr double kMoonriseTolDays = 10.0 / 1440;  // a calendar's rise vs ours (horizon conventions)
constexpr double kMinDayLengthDays = 23.5 / 24;   // days between moonrises at mid-latitudes
constexpr double kMaxDayLengthDays = 26.0 / 24;
constexpr double kSearchTolDays =
    2.0 / 86400;  // the new-moon search from two sides agrees this well

struct Place {
  double latitude;   // degrees North
  double longitude;  // degrees East
};
constexpr Place kMoscow{55.7558, 37.6173};
constexpr Place kLondon{51.5074, -0.1278};

float Geocentric(double latitude) {
  return static_cast<float>(latitude - 0.19242777777777778 * std::sin(2 * latitude * kDegToRad));
}

bool Compute(const Place& p, double jd, LunarDayTable& t) {
  return CalcMoonDays(jd, Geocentric(p.latitude), static_cast<float>(p.longitude), t);
}

// Julian day (chart time scale) of a UT date and time in hours and minutes.
double Ut(int day, int month, int year, int hours, int minutes) {
  return JulianDay(day, month, year, static_cast<float>(hours + minutes / 60.0));
}

// The same for Moscow time (UT + 3 h), which may fall on the UT day before.
double Msk(int day, int month, int year, int hours, int minutes) {
  return JulianDay(day, month, year, 0) + (hours + minutes / 60.0 - 3.0) / 24.0;
}

// The Moon's altitude above the altitude at which it rises, degrees, worked
// out here from its apparent right ascension and declination: Greenwich
// sidereal time (Meeus, Astronomical Algorithms, eq. 12.4, plus the equation
// of the equinoxes) and the rising altitude 0.7275 pi - 34' for the
// horizontal parallax pi (Meeus ch. 15).
double MoonAltitude(const Place& p, double jd) {
  BodyPositions b;
  b.Selector = kMoon;
  b.T = (jd - 2451545.0) / 36525.0;
  CalcBodies(b, 1, true);
  const double ra = b.Longitude[kMoon] * kDegToRad, dec = b.Latitude[kMoon] * kDegToRad;
  const double d = UniversalJulianDay(jd) - 2451545.0, T = d / 36525.0;
  const double gmst =
      280.46061837 + 360.98564736629 * d + 0.000387933 * T * T - T * T * T / 38710000.0;
  const double gast = gmst + FrameOfDateAt(b.T).nutC * kRadToDeg;
  const double hourAngle = (gast + p.longitude) * kDegToRad - ra;
  const double phi = p.latitude * kDegToRad;
  const double sinAlt =
      std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(hourAngle);
  const double h0 = 0.7275 * std::asin(1.0 / b.Distance[kMoon]) * kRadToDeg - 34.0 / 60.0;
  return std::asin(sinAlt) * kRadToDeg - h0;
}

TEST(LunarDays, MonthRunsFromNewMoonToNewMoon) {
  struct Case {
    double moment, newMoon, nextNewMoon;
  };
  const Case cases[] = {
      {Ut(25, 1, 2020, 12, 0), Ut(24, 1, 2020, 21, 42), Ut(23, 2, 2020, 15, 32)},
      {Ut(20, 1, 2000, 0, 0), Ut(6, 1, 2000, 18, 14), Ut(5, 2, 2000, 13, 3)},
      {Ut(15, 7, 2021, 9, 0), Ut(10, 7, 2021, 1, 17), Ut(8, 8, 2021, 13, 50)},
  };
  for (const Case& c : cases) {
    LunarDayTable t;
    ASSERT_TRUE(Compute(kMoscow, c.moment, t));
    ASSERT_TRUE(t.LunarDayCount == 29 || t.LunarDayCount == 30) << t.LunarDayCount;
    EXPECT_NEAR(t.LunarDayStart[0], c.newMoon, kNewMoonTolDays);
    EXPECT_NEAR(t.LunarDayStart[t.LunarDayCount], c.nextNewMoon, kNewMoonTolDays);
    EXPECT_EQ(t.LunarDayStart[30], t.LunarDayStart[t.LunarDayCount]);
  }
}

TEST(LunarDays, MoonrisesMatchAPublishedMoscowCalendar) {
  // Moscow, July 2021 (Moscow time): new moon 10 July 04:17; lunar day 2
  // begins with the moonrise of 11 July, and so on, one a day.
  struct Rise {
    int lunarDay, date, hours, minutes;
  };
  const Rise rises[] = {
      {2, 11, 4, 46},  {3, 12, 6, 3},    {4, 13, 7, 25},  {5, 14, 8, 49},
      {6, 15, 10, 12}, {7, 16, 11, 37},  {8, 17, 13, 3},  {9, 18, 14, 32},
      {10, 19, 16, 5}, {11, 20, 17, 38}, {12, 21, 19, 5}, {13, 22, 20, 17},
      {14, 23, 21, 8}, {15, 24, 21, 42}, {16, 25, 22, 4}, {17, 26, 22, 20},
  };
  LunarDayTable t;
  ASSERT_TRUE(Compute(kMoscow, Msk(15, 7, 2021, 12, 0), t));
  EXPECT_EQ(t.LunarDay, 6);  // the calendar's day of 15 July after the 10:12 moonrise
  for (const Rise& r : rises)
    EXPECT_NEAR(t.LunarDayStart[r.lunarDay - 1], Msk(r.date, 7, 2021, r.hours, r.minutes),
                kMoonriseTolDays)
        << "lunar day " << r.lunarDay;
  // Before the 10:12 moonrise of 15 July it is still day 5.
  LunarDayTable before;
  ASSERT_TRUE(Compute(kMoscow, Msk(15, 7, 2021, 10, 0), before));
  EXPECT_EQ(before.LunarDay, 5);
}

TEST(LunarDays, MonthWithAThirtiethDay) {
  // The same calendar gives 10 July 2021 as "30, 1": the moonrise at 03:39
  // opened day 30 of the month of the new moon of 10 June (10:53 UT), and
  // the new moon at 04:17 ended it.
  LunarDayTable t;
  ASSERT_TRUE(Compute(kMoscow, Msk(10, 7, 2021, 3, 50), t));
  EXPECT_EQ(t.LunarDayCount, 30);
  EXPECT_EQ(t.LunarDay, 30);
  EXPECT_NEAR(t.LunarDayStart[0], Ut(10, 6, 2021, 10, 53), kNewMoonTolDays);
  EXPECT_NEAR(t.LunarDayStart[29], Msk(10, 7, 2021, 3, 39), kMoonriseTolDays);
  EXPECT_NEAR(t.LunarDayStart[30], Ut(10, 7, 2021, 1, 17), kNewMoonTolDays);
}

TEST(LunarDays, MonthWithTwentyNineDaysEndsWithTheNextNewMoon) {
  // From 11 July to 8 August 2021 the Moon rises over Moscow once on every
  // date but one (the date its rise passes midnight); on 8 August it rises
  // with the Sun, before the new moon of 16:50 Moscow time (13:50 UT). That
  // is 28 moonrises, so the month has 29 days and day 29 lasts until the
  // new moon.
  LunarDayTable t;
  ASSERT_TRUE(Compute(kMoscow, Msk(8, 8, 2021, 12, 0), t));
  EXPECT_EQ(t.LunarDayCount, 29);
  EXPECT_EQ(t.LunarDay, 29);
  EXPECT_NEAR(t.LunarDayStart[29], Ut(8, 8, 2021, 13, 50), kNewMoonTolDays);
  EXPECT_EQ(t.LunarDayStart[29], t.LunarDayStart[30]);
  EXPECT_LT(t.LunarDayStart[28], t.LunarDayStart[29]);
}

TEST(LunarDays, MomentOnABoundaryBelongsToTheDayBeginningThere) {
  LunarDayTable t;
  ASSERT_TRUE(Compute(kLondon, Ut(3, 3, 2022, 12, 0), t));
  for (int n : {1, 2, 6, 15}) {
    LunarDayTable at;
    ASSERT_TRUE(Compute(kLondon, t.LunarDayStart[n - 1], at)) << n;
    EXPECT_EQ(at.LunarDay, n);
    EXPECT_EQ(at.LunarDayStart[n - 1], t.LunarDayStart[n - 1]);
  }
}

TEST(LunarDays, AYearOfMonthsInLondon) {
  int months29 = 0, months30 = 0;
  for (int month = 1; month <= 12; ++month) {
    LunarDayTable t;
    ASSERT_TRUE(Compute(kLondon, Ut(15, month, 2019, 0, 0), t)) << month;
    ASSERT_TRUE(t.LunarDayCount == 29 || t.LunarDayCount == 30) << month;
    (t.LunarDayCount == 29 ? months29 : months30)++;
    for (int n = 1; n <= t.LunarDayCount; ++n) {
      ASSERT_TRUE(std::isfinite(t.LunarDayStart[n]));
      EXPECT_LT(t.LunarDayStart[n - 1], t.LunarDayStart[n]) << month << " day " << n;
      if (n >= 2 && n < t.LunarDayCount) {
        double length = t.LunarDayStart[n] - t.LunarDayStart[n - 1];
        EXPECT_GT(length, kMinDayLengthDays) << month << " day " << n;
        EXPECT_LT(length, kMaxDayLengthDays) << month << " day " << n;
      }
    }
    EXPECT_GE(t.LunarDay, 1);
    EXPECT_LE(t.LunarDay, t.LunarDayCount);
    const double jd = Ut(15, month, 2019, 0, 0);
    EXPECT_LE(t.LunarDayStart[t.LunarDay - 1], jd);
    EXPECT_LT(jd, t.LunarDayStart[t.LunarDay]);
  }
  // 29.53 days hold 28.5 moonrises on average: both lengths occur.
  EXPECT_GT(months29, 0);
  EXPECT_GT(months30, 0);
}

TEST(LunarDays, AboveSixtyFiveNorthTheTableIsLeftAlone) {
  LunarDayTable t;
  t.LunarDay = 12;
  t.LunarDayCount = 30;
  t.LunarDayStart[3] = 1.5;
  EXPECT_FALSE(Compute({70.0, 20.0}, Ut(15, 3, 2025, 0, 0), t));
  EXPECT_EQ(t.LunarDay, 12);
  EXPECT_EQ(t.LunarDayCount, 30);
  EXPECT_EQ(t.LunarDayStart[3], 1.5);
  EXPECT_EQ(t.LunarDayStart[4], 0.0);
}

TEST(LunarDays, FarSouthIsComputedWithoutUndefinedDays) {
  // The signed limit lets every southern latitude through: where the Moon
  // misses whole days of rising the days run on, and nothing is undefined.
  for (double latitude : {-70.0, -89.0})
    for (int month : {1, 3, 6}) {
      LunarDayTable t;
      const double jd = Ut(15, month, 2025, 0, 0);
      ASSERT_TRUE(Compute({latitude, 20.0}, jd, t)) << latitude << " " << month;
      EXPECT_GE(t.LunarDayCount, 1);
      EXPECT_LE(t.LunarDayCount, 30);
      EXPECT_GE(t.LunarDay, 1);
      EXPECT_LE(t.LunarDay, t.LunarDayCount);
      for (int i = 0; i <= t.LunarDayCount; ++i) EXPECT_TRUE(std::isfinite(t.LunarDayStart[i]));
      EXPECT_LE(t.LunarDayStart[t.LunarDay - 1], jd);
      EXPECT_LT(jd, t.LunarDayStart[t.LunarDay]);
    }
}

TEST(LunarDays, DaysWithoutMoonriseNearSixtyFiveDegrees) {
  // In 2025 the Moon's declination reaches 28 degrees: at 64.5 degrees it
  // stays above the horizon for days, then below it. The lunar day runs on
  // to the next moonrise and the month has fewer days.
  LunarDayTable t;
  ASSERT_TRUE(Compute({64.5, 40.5}, Ut(15, 3, 2025, 0, 0), t));
  EXPECT_LT(t.LunarDayCount, 29);
  bool longDay = false;
  for (int n = 1; n <= t.LunarDayCount; ++n) {
    ASSERT_TRUE(std::isfinite(t.LunarDayStart[n]));
    EXPECT_LT(t.LunarDayStart[n - 1], t.LunarDayStart[n]);
    if (t.LunarDayStart[n] - t.LunarDayStart[n - 1] > 1.5) longDay = true;
  }
  EXPECT_TRUE(longDay);
  for (int i = t.LunarDayCount; i <= 30; ++i) EXPECT_EQ(t.LunarDayStart[i], t.LunarDayStart[30]);
  EXPECT_GE(t.LunarDay, 1);
  EXPECT_LE(t.LunarDay, t.LunarDayCount);
}

TEST(LunarDays, ChartAtTheNewMoonItself) {
  const double newMoon = Ut(24, 1, 2020, 21, 42);
  LunarDayTable before, after;
  ASSERT_TRUE(Compute(kMoscow, newMoon - 1.0 / 24, before));
  ASSERT_TRUE(Compute(kMoscow, newMoon + 1.0 / 24, after));
  EXPECT_EQ(before.LunarDay, before.LunarDayCount);
  EXPECT_EQ(after.LunarDay, 1);
  EXPECT_NEAR(before.LunarDayStart[before.LunarDayCount], after.LunarDayStart[0], kSearchTolDays);
}

TEST(LunarDays, EveryMoonriseOfAYearStartsALunarDay) {
  // A one-minute scan of the Moon's altitude through consecutive months:
  // every rise it sees is a day start, and every day start after the new
  // moon is a rise. Far from the equator the Moon may graze the horizon,
  // setting and rising again within the hour: at 64.5 N, 20 E on 12 April
  // 2024 it is below the horizon for some ten minutes before rising at
  // 01:37 UT, a rise hourly samples of the altitude all miss.
  constexpr double kScanStepDays = 1.0 / 1440;
  constexpr double kMatchTolDays = 2.0 / 86400;  // the two altitudes agree far better
  const Place places[] = {{64.5, 20.0}, {-60.0, 150.0}};
  for (const Place& place : places) {
    std::vector<double> starts;
    LunarDayTable t;
    ASSERT_TRUE(Compute(place, Ut(1, 1, 2024, 0, 0), t));
    const double first = t.LunarDayStart[0];
    while (t.LunarDayStart[t.LunarDayCount] < Ut(1, 1, 2025, 0, 0)) {
      for (int n = 1; n < t.LunarDayCount; ++n) starts.push_back(t.LunarDayStart[n]);
      const double next = t.LunarDayStart[t.LunarDayCount];
      ASSERT_TRUE(Compute(place, next + kScanStepDays, t));
      ASSERT_NEAR(t.LunarDayStart[0], next, kSearchTolDays);
    }
    const double last = t.LunarDayStart[0];
    for (double s : starts) {
      EXPECT_LT(MoonAltitude(place, s - kMatchTolDays), 0) << place.latitude << " " << s;
      EXPECT_GE(MoonAltitude(place, s + kMatchTolDays), 0) << place.latitude << " " << s;
    }
    std::size_t next = 0;
    int rises = 0;
    double before = MoonAltitude(place, first);
    for (double jd = first + kScanStepDays; jd < last; jd += kScanStepDays) {
      const double now = MoonAltitude(place, jd);
      if (before < 0 && now >= 0) {
        ++rises;
        while (next < starts.size() && starts[next] < jd - kScanStepDays - kMatchTolDays) ++next;
        EXPECT_TRUE(next < starts.size() && starts[next] <= jd + kMatchTolDays)
            << "moonrise at " << place.latitude << ", " << place.longitude << " between JD "
            << jd - kScanStepDays << " and " << jd << " starts no lunar day";
      }
      before = now;
    }
    EXPECT_EQ(static_cast<std::size_t>(rises), starts.size()) << place.latitude;
  }
}

TEST(LunarDays, ChartCastExactlyAtTheNewMoonStillFindsTheNextOne) {
  // New moons of the almanac, UT: 6 January 2000 18:14 and 5 February 13:03;
  // 11 January 2024 11:57 and 9 February 22:59.
  constexpr double kPublishedTolDays = 2.0 / 1440;
  constexpr double kSecondDays = 1.0 / 86400;
  struct Month {
    double newMoon, nextNewMoon;
  };
  const Month months[] = {{Ut(6, 1, 2000, 18, 14), Ut(5, 2, 2000, 13, 3)},
                          {Ut(11, 1, 2024, 11, 57), Ut(9, 2, 2024, 22, 59)}};
  for (const Month& m : months) {
    LunarDayTable found;
    ASSERT_TRUE(Compute(kLondon, m.newMoon + 1.0, found));
    const double exact = found.LunarDayStart[0];
    EXPECT_NEAR(exact, m.newMoon, kPublishedTolDays);
    EXPECT_NEAR(found.LunarDayStart[found.LunarDayCount], m.nextNewMoon, kPublishedTolDays);
    // At the new moon itself and a second either side: the moment lies in
    // the day the table names, the month is a whole one, and it ends at the
    // next new moon.
    for (double offset : {0.0, kSecondDays, -kSecondDays}) {
      const double moment = exact + offset;
      LunarDayTable t;
      ASSERT_TRUE(Compute(kLondon, moment, t)) << offset;
      ASSERT_GE(t.LunarDay, 1);
      ASSERT_LE(t.LunarDay, t.LunarDayCount);
      EXPECT_LE(t.LunarDayStart[t.LunarDay - 1], moment) << offset;
      EXPECT_LT(moment, t.LunarDayStart[t.LunarDay]) << offset;
      if (t.LunarDay == 1) {
        EXPECT_NEAR(t.LunarDayStart[0], exact, kSearchTolDays) << offset;
        EXPECT_NEAR(t.LunarDayStart[t.LunarDayCount], m.nextNewMoon, kPublishedTolDays) << offset;
      } else {
        EXPECT_EQ(t.LunarDay, t.LunarDayCount) << offset;
        EXPECT_NEAR(t.LunarDayStart[t.LunarDayCount], exact, kSearchTolDays) << offset;
      }
    }
  }
}

}  // namespace
