// Planetary hours against almanac sunrise and sunset times: the rulers of
// the weekdays and of the hours in the Chaldean order, the night hours
// before sunrise and across midnight, daylight that runs past 0h UT, and
// the polar day and night.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chart/planetaryhours.h"
#include "engine/astromath.h"
#include "engine/bodies.h"
#include "tests/engine/angle_reference.h"

namespace {

// Sunrise and sunset are the almanacs' events (the Sun's centre 50' below
// the horizon at the town's latitude), so the hours start where the
// almanac's times, printed to the minute, put them.
constexpr double kHourStartTolHours = 1.0 / 60;  // hours
constexpr double kTimeTolHours = 1e-3;           // hours, float times against the interval
// The last night hour ends at the next sunrise, which the table's circle of
// starts holds only as the clock time of the day's own sunrise.
constexpr double kSunriseDriftHours =
    6.0 / 60;  // hours, change of sunrise from one day to the next

enum Ruler { kSunR = 1, kMoonR, kMarsR, kMercuryR, kJupiterR, kVenusR, kSaturnR };
// The Chaldean order from the Sun: each hour's ruler is the next in it.
constexpr int kChaldeanFromSun[7] = {kSunR,    kVenusR,   kMercuryR, kMoonR,
                                     kSaturnR, kJupiterR, kMarsR};

// Ruler of hour n of a day whose first hour the day's ruler holds.
int RulerOfHour(int dayRuler, int n) {
  int first = 0;
  while (kChaldeanFromSun[first] != dayRuler) ++first;
  return kChaldeanFromSun[(first + n - 1) % 7];
}

struct Place {
  double latitude;   // degrees North
  double longitude;  // degrees East
  float zone;        // hours East
};
constexpr Place kLondon{51.5074, -0.1278, 0.0f};
constexpr Place kNewYork{40.7128, -74.0060, -4.0f};  // daylight saving time
constexpr Place kTokyo{35.6762, 139.6503, 9.0f};

// The chart's fields for a local date and time at a place.
struct ChartMoment {
  float ut = 0;         // hours
  double jd = 0;        // days, chart time scale
  double jd0 = 0;       // days, 0h UT of the date
  double sun = 0;       // degrees
  float latitude = 0;   // degrees, geocentric
  float longitude = 0;  // degrees East
  float zone = 0;       // hours
};

ChartMoment MomentAt(const Place& place, int day, int month, int year, double localHours) {
  // the UT date may be the day before or after the local one
  double jdLocal0 = JulianDay(day, month, year, 0);
  double jd = jdLocal0 + (localHours - place.zone) / 24.0;
  int y, m, d;
  float h;
  JulianDayToDate(jd, y, m, d, h);
  ChartMoment c;
  c.jd0 = JulianDay(d, m, y, 0);
  c.jd = jd;
  c.ut = static_cast<float>((jd - c.jd0) * 24.0);
  BodyPositions p;
  p.Selector = kSun;
  p.T = (jd - 2451545.0) / 36525.0;
  CalcBodies(p);
  c.sun = p.Longitude[kSun];
  c.latitude = static_cast<float>(place.latitude -
                                  0.19242777777777778 * std::sin(2 * place.latitude * kDegToRad));
  c.longitude = static_cast<float>(place.longitude);
  c.zone = place.zone;
  return c;
}

bool Compute(const ChartMoment& c, PlanetaryHourTable& t) {
  return CalcPlanetHours(c.ut, c.latitude, c.longitude, c.sun, c.jd, c.jd0, c.zone, t);
}

// The hour 1..24 an almanac gives: local sunrise, sunset and next sunrise
// (hours, the next sunrise on the following day) and a local time that may
// lie after midnight (hours + 24).
int AlmanacHour(double rise, double set, double nextRise, double local) {
  if (local < set) return 1 + static_cast<int>((local - rise) / ((set - rise) / 12));
  return 13 + static_cast<int>((local - set) / ((nextRise + 24 - set) / 12));
}

double CircularDiff(double a, double b) { return std::remainder(a - b, 24.0); }

TEST(PlanetaryHours, WeekdayRulesTheDayAndItsFirstHour) {
  // London, 08:30 GMT, in the first hour after sunrise (about 08:06) in
  // these winter weeks. 2000-01-02 was a Sunday.
  struct Case {
    int day, month, year;
    int ruler;
  };
  const Case cases[] = {
      {2, 1, 2000, kSunR},     {3, 1, 2000, kMoonR},    {4, 1, 2000, kMarsR},
      {5, 1, 2000, kMercuryR}, {6, 1, 2000, kJupiterR}, {7, 1, 2000, kVenusR},
      {1, 1, 2000, kSaturnR},  {26, 12, 1999, kSunR},   {25, 12, 1999, kSaturnR},
  };
  for (const Case& c : cases) {
    PlanetaryHourTable t;
    ASSERT_TRUE(Compute(MomentAt(kLondon, c.day, c.month, c.year, 8.5), t))
        << c.day << "." << c.month;
    EXPECT_EQ(t.PlanetaryHour, 1) << c.day << "." << c.month;
    EXPECT_EQ(t.DayRuler, c.ruler) << c.day << "." << c.month;
    EXPECT_EQ(t.HourRuler, c.ruler) << c.day << "." << c.month;
  }
}

TEST(PlanetaryHours, WeekdayFarInThePastWhereDeltaTExceedsHalfADay) {
  // 2 January of the year -2999 (Julian calendar) is JD 625674.5 at 0h
  // (Meeus ch. 7), and (625674.5 + 1.5) mod 7 = 2: a Tuesday.
  PlanetaryHourTable t;
  ASSERT_TRUE(Compute(MomentAt(kLondon, 2, 1, -2999, 12.0), t));
  EXPECT_EQ(t.DayRuler, kMarsR);
}

TEST(PlanetaryHours, AllTwentyFourHoursOfASundayInChaldeanOrder) {
  // London, Sunday 2000-01-02: sunrise 08:06, sunset 16:02, next sunrise
  // 08:06 (almanac). The middle of each hour, the night ones running past
  // midnight into the Monday morning, still belong to the Sunday.
  const double rise = 8 + 6 / 60.0, set = 16 + 2 / 60.0, next = rise;
  const double dayHour = (set - rise) / 12, nightHour = (next + 24 - set) / 12;
  for (int n = 1; n <= 24; ++n) {
    double local = n <= 12 ? rise + (n - 0.5) * dayHour : set + (n - 12.5) * nightHour;
    int day = local >= 24 ? 3 : 2;
    PlanetaryHourTable t;
    ASSERT_TRUE(Compute(MomentAt(kLondon, day, 1, 2000, std::fmod(local, 24.0)), t)) << n;
    EXPECT_EQ(t.PlanetaryHour, n);
    EXPECT_EQ(t.DayRuler, kSunR) << n;
    EXPECT_EQ(t.HourRuler, kChaldeanFromSun[(n - 1) % 7]) << n;
  }
}

TEST(PlanetaryHours, MomentBeforeSunriseBelongsToThePreviousNight) {
  // Sunday 2000-01-02 05:00 GMT, before the 08:06 sunrise: the night of
  // Saturday, whose sunset was at 16:01.
  PlanetaryHourTable t;
  ASSERT_TRUE(Compute(MomentAt(kLondon, 2, 1, 2000, 5.0), t));
  EXPECT_EQ(t.PlanetaryHour, AlmanacHour(8 + 6 / 60.0, 16 + 1 / 60.0, 8 + 6 / 60.0, 29.0));
  EXPECT_GE(t.PlanetaryHour, 13);
  EXPECT_EQ(t.DayRuler, kSaturnR);
  EXPECT_EQ(t.HourRuler, kSaturnR);  // hour 22 of a Saturday
  EXPECT_NEAR(CircularDiff(t.HourStart[12], 16 + 1 / 60.0), 0, kHourStartTolHours);
  EXPECT_NEAR(CircularDiff(t.HourStart[0], 8 + 6 / 60.0), 0, kHourStartTolHours);
}

TEST(PlanetaryHours, NightHourContainingLocalMidnight) {
  // Tokyo, 2007-02-04 (Sunday): sunrise 06:39, sunset 17:11; next sunrise
  // 06:38. At 00:30 on the Monday the hour that began before midnight is
  // still running: its start is later on the clock than its end.
  PlanetaryHourTable t;
  ASSERT_TRUE(Compute(MomentAt(kTokyo, 5, 2, 2007, 0.5), t));
  const int n = AlmanacHour(6 + 39 / 60.0, 17 + 11 / 60.0, 6 + 38 / 60.0, 24.5);
  EXPECT_EQ(t.PlanetaryHour, n);
  ASSERT_EQ(n, 19);
  EXPECT_GT(t.HourStart[18], t.HourStart[19]);
  EXPECT_GT(t.HourStart[18], 23.0f);
  EXPECT_EQ(t.DayRuler, kSunR);
  EXPECT_EQ(t.HourRuler, kSaturnR);
}

struct WrapCase {
  const char* name;
  Place place;
  int day, month, year;
  double local;                // hours
  double rise, set, nextRise;  // local almanac times, hours
  int dayRuler;
};

TEST(PlanetaryHours, DaylightRunningPast0hUniversalTime) {
  // New York in June: sunrise 09:25 UT, sunset 00:31 UT the next day.
  // Tokyo in February: sunrise 21:39 UT of the day before.
  const WrapCase cases[] = {
      {"NY evening", kNewYork, 21, 6, 2000, 20.0, 5 + 25 / 60.0, 20 + 31 / 60.0, 5 + 25 / 60.0,
       kMercuryR},
      {"NY night", kNewYork, 21, 6, 2000, 21.0, 5 + 25 / 60.0, 20 + 31 / 60.0, 5 + 25 / 60.0,
       kMercuryR},
      {"NY morning", kNewYork, 21, 6, 2000, 10.0, 5 + 25 / 60.0, 20 + 31 / 60.0, 5 + 25 / 60.0,
       kMercuryR},
      {"Tokyo dawn", kTokyo, 4, 2, 2007, 7.0, 6 + 39 / 60.0, 17 + 11 / 60.0, 6 + 38 / 60.0, kSunR},
      {"Tokyo morning", kTokyo, 4, 2, 2007, 9.0, 6 + 39 / 60.0, 17 + 11 / 60.0, 6 + 38 / 60.0,
       kSunR},
      {"Tokyo night", kTokyo, 4, 2, 2007, 23.5, 6 + 39 / 60.0, 17 + 11 / 60.0, 6 + 38 / 60.0,
       kSunR},
  };
  for (const WrapCase& c : cases) {
    PlanetaryHourTable t;
    ASSERT_TRUE(Compute(MomentAt(c.place, c.day, c.month, c.year, c.local), t)) << c.name;
    const int n = AlmanacHour(c.rise, c.set, c.nextRise, c.local);
    EXPECT_EQ(t.PlanetaryHour, n) << c.name;
    EXPECT_EQ(t.DayRuler, c.dayRuler) << c.name;
    EXPECT_EQ(t.HourRuler, RulerOfHour(c.dayRuler, n)) << c.name;
    EXPECT_NEAR(CircularDiff(t.HourStart[0], c.rise), 0, kHourStartTolHours) << c.name;
    EXPECT_NEAR(CircularDiff(t.HourStart[12], c.set), 0, kHourStartTolHours) << c.name;
  }
}

TEST(PlanetaryHours, PolarDayAndNightLeaveTheTableUntouched) {
  struct Case {
    const char* name;
    Place place;
    int day, month;
  };
  const Case cases[] = {
      {"70N winter", {70.0, 25.0, 1.0f}, 21, 12},
      {"70N summer", {70.0, 25.0, 1.0f}, 21, 6},
      {"70S summer", {-70.0, 25.0, 1.0f}, 21, 12},
      {"70S winter", {-70.0, 25.0, 1.0f}, 21, 6},
  };
  for (const Case& c : cases) {
    PlanetaryHourTable t;
    t.PlanetaryHour = 7;
    t.DayRuler = 3;
    t.HourRuler = 4;
    t.HourStart[5] = 12.5f;
    EXPECT_FALSE(Compute(MomentAt(c.place, c.day, c.month, 2000, 12.0), t)) << c.name;
    EXPECT_EQ(t.PlanetaryHour, 7) << c.name;
    EXPECT_EQ(t.DayRuler, 3) << c.name;
    EXPECT_EQ(t.HourRuler, 4) << c.name;
    EXPECT_EQ(t.HourStart[5], 12.5f) << c.name;
  }
  // Beyond the polar circle the Sun still rises and sets near the equinox.
  PlanetaryHourTable t;
  EXPECT_TRUE(Compute(MomentAt({-70.0, 25.0, 1.0f}, 21, 3, 2000, 12.0), t));
}

// The hour of the moment is the one whose interval on the 24-hour clock
// holds the local time, whatever the place, date and time: this runs over
// longitudes where sunrise or sunset falls near 0h UT, where the rising
// formula reports no event for some dates.
TEST(PlanetaryHours, HourIntervalHoldsTheLocalTimeEverywhere) {
  const double latitudes[] = {-55, -33.9, 0, 23.4, 51.5, 64};
  int failures = 0;
  for (double lat : latitudes)
    for (int lon = -180; lon < 180; lon += 15)
      for (int month = 1; month <= 12; month += 1)
        for (double local : {0.25, 5.9, 12.0, 18.3, 23.75}) {
          Place place{lat, lon + 0.5, static_cast<float>(std::round(lon / 15.0))};
          ChartMoment c = MomentAt(place, 10 + month, month, 2010, local);
          PlanetaryHourTable t;
          if (!Compute(c, t)) {
            ++failures;
            ADD_FAILURE() << lat << " " << lon << " " << month << " " << local;
            continue;
          }
          for (float s : t.HourStart) ASSERT_TRUE(std::isfinite(s) && s >= 0 && s < 24);
          ASSERT_GE(t.PlanetaryHour, 1);
          ASSERT_LE(t.PlanetaryHour, 24);
          double start = t.HourStart[t.PlanetaryHour - 1];
          double end = t.HourStart[t.PlanetaryHour % 24];
          double length = std::fmod(end - start + 24.0, 24.0);
          double into = std::fmod(local - start + 24.0, 24.0);
          if (into > 24 - kTimeTolHours) into -= 24;
          EXPECT_GE(into, -kTimeTolHours) << lat << " " << lon << " " << month << " " << local;
          const double endTol = t.PlanetaryHour == 24 ? kSunriseDriftHours : kTimeTolHours;
          EXPECT_LE(into, length + endTol) << lat << " " << lon << " " << month << " " << local;
          ASSERT_GE(t.HourRuler, 1);
          ASSERT_LE(t.HourRuler, 7);
          if (failures > 5) return;
        }
}

// The day hours begin at the sunrise and the night hours at the sunset of an
// astronomer's ephemeris library (tests/engine/angle_reference.h: dates of
// 1850 to 2150 at latitudes to 60 degrees either way), within a minute; the
// chart gives the house routine's geocentric latitude.
TEST(PlanetaryHours, DayAndNightBeginAtTheReferenceSunriseAndSunset) {
  for (const SunEventCase& c : kSunEventCases) {
    const bool setAfterRise = c.set > c.rise;
    const double ut = setAfterRise ? (c.rise + c.set) / 2 : c.rise + 0.5;
    const double jd0 = JulianDay(c.day, c.month, c.year, 0);
    const float latitude = static_cast<float>(GeocentricOfGeographic(c.latitude));
    PlanetaryHourTable t;
    const std::string where = std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                              std::to_string(c.day) + " " + std::to_string(c.latitude);
    ASSERT_TRUE(CalcPlanetHours(static_cast<float>(ut), latitude, static_cast<float>(c.longitude),
                                0, jd0 + ut / 24, jd0, 0, t))
        << where;
    EXPECT_LE(t.PlanetaryHour, 12) << where;
    EXPECT_NEAR(CircularDiff(t.HourStart[0], c.rise), 0, kHourStartTolHours) << where;
    if (setAfterRise) {
      EXPECT_NEAR(CircularDiff(t.HourStart[12], c.set), 0, kHourStartTolHours) << where;
    }
  }
}

// Days from 1900-01-01 of a Gregorian date, counted here month by month:
// the weekday oracle for the rulers of the day.
long DaysFrom1900(int day, int month, int year) {
  static constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  auto leap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
  long days = 0;
  for (int y = 1900; y < year; ++y) days += leap(y) ? 366 : 365;
  for (int m = 1; m < month; ++m) days += kMonthDays[m - 1] + (m == 2 && leap(year) ? 1 : 0);
  return days + day - 1;
}

TEST(PlanetaryHours, DayRulersFollowTheWeekdaysOfTwoCenturies) {
  // 1900-01-01 was a Monday: the weekday of every date follows from the
  // days counted since; the rulers of Sunday .. Saturday are the Sun, Moon,
  // Mars, Mercury, Jupiter, Venus and Saturn. Tokyo at noon, London at noon
  // and New York in the evening, whose UT date is the next day.
  const int rulerOfWeekdayFromMonday[7] = {kMoonR,  kMarsR,   kMercuryR, kJupiterR,
                                           kVenusR, kSaturnR, kSunR};
  ASSERT_EQ(rulerOfWeekdayFromMonday[DaysFrom1900(2, 1, 2000) % 7], kSunR);  // a Sunday
  const double start = JulianDay(1, 1, 1900, 0);
  for (long d = 0; d <= DaysFrom1900(31, 12, 2099); d += 53) {
    int year, month, day;
    float hours;
    JulianDayToDate(start + d + 0.5, year, month, day, hours);
    ASSERT_EQ(DaysFrom1900(day, month, year), d);
    const int expected = rulerOfWeekdayFromMonday[d % 7];
    const struct {
      Place place;
      double local;
    } charts[] = {{kTokyo, 12.0}, {kLondon, 12.0}, {kNewYork, 21.0}};
    for (const auto& c : charts) {
      PlanetaryHourTable t;
      ASSERT_TRUE(Compute(MomentAt(c.place, day, month, year, c.local), t))
          << day << "." << month << "." << year;
      EXPECT_EQ(t.DayRuler, expected) << day << "." << month << "." << year << " " << c.local;
      EXPECT_EQ(t.HourRuler, RulerOfHour(expected, t.PlanetaryHour))
          << day << "." << month << "." << year;
    }
  }
}

}  // namespace
