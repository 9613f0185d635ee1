// Data input: the dialog's field texts read into a chart moment and place
// (folding, era, zone, universal date), refused when a field cannot be read,
// and a chart's moment written back as the field texts; the add-town
// dialog's numbers.
//
// Expected Julian days are Meeus's calendar algorithm (Astronomical
// Algorithms, ch. 7; Gregorian from 15 October 1582, Julian before) plus the
// chart time scale's Delta T (the engine's, checked by its own tests).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "input/datainput.h"
#include "platform/text/cp1251.h"
#include "tests/engine/calendar_count.h"
#include "tests/engine/civil_moment_support.h"

namespace {

constexpr double kJulianDayTolDays = 1e-7;  // days (under 10 ms): float hours inside JulianDay
constexpr double kHoursTol = 1e-5;          // hours: single-precision results
constexpr double kDegreesTol = 1e-5;        // degrees: single-precision results

// A universal Julian day carried onto the chart's time scale with the
// engine's Delta T (whose values the engine's own tests check).
double OnChartScale(double universalJd) {
  return universalJd + testsupport::ChartDeltaTDays(universalJd);
}

TimeMarks Marks() {
  TimeMarks marks;
  marks.Hour = Cp("ч");
  marks.Minute = Cp("м");
  marks.Second = Cp("с");
  return marks;
}

std::string Hms(const char* h, const char* m, const char* s) {
  return std::string(h) + Cp("ч") + m + Cp("м") + s + Cp("с");
}

// A date and local time at the equator and Greenwich, zone 0.
DataInputFields At(const char* day, const char* month, const char* year, const std::string& time) {
  DataInputFields f;
  f.DayText = day;
  f.MonthText = month;
  f.YearText = year;
  f.TimeText = time;
  f.LatitudeText = "00:00:00";
  f.LongitudeText = "000:00:00";
  f.ZoneText = Hms("00", "00", "00");
  return f;
}

DataInputResult Parsed(const DataInputFields& f) {
  DataInputResult r;
  InputRefusal refusal;
  EXPECT_TRUE(ParseDataInput(f, r, refusal)) << refusal.Text;
  return r;
}

TEST(DataInput, MoscowSummerNoonIsEightUniversal) {
  // 15 July 1990, 12:00 Moscow summer time (3 h standard + 1 h summer)
  DataInputFields f = At("15", "07", "1990", Hms("12", "00", "00"));
  f.LatitudeText = "55:45:00";
  f.LongitudeText = "037:37:00";
  f.ZoneText = Hms("04", "00", "00");
  const DataInputResult r = Parsed(f);
  EXPECT_EQ(r.Day, 15);
  EXPECT_EQ(r.Month, 7);
  EXPECT_EQ(r.Year, 1990);
  EXPECT_NEAR(r.UniversalTime, 8.0, kHoursTol);
  EXPECT_NEAR(r.TimeZone, 4.0, kHoursTol);
  EXPECT_NEAR(r.JulianDay0h, OnChartScale(2448087.5), kJulianDayTolDays);
  EXPECT_NEAR(r.JulianDayUT, OnChartScale(2448087.5 + 8.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(r.GeoLatitude, 55.75, kDegreesTol);
  EXPECT_NEAR(r.GeoLongitude, 37.0 + 37.0 / 60.0, kDegreesTol);
  EXPECT_EQ(r.LatSign, 1);
  EXPECT_EQ(r.LonSign, 1);
}

TEST(DataInput, NewYorkDaylightNoonIsSixteenUniversal) {
  // 4 July 1976, 12:00 EDT (4 h West), 40 43 N 74 00 W
  DataInputFields f = At("04", "07", "1976", Hms("12", "00", "00"));
  f.LatitudeText = "40:43:00";
  f.LongitudeText = "074:00:00";
  f.West = true;
  f.ZoneText = Hms("04", "00", "00");
  f.ZoneWest = true;
  const DataInputResult r = Parsed(f);
  EXPECT_EQ(r.Day, 4);
  EXPECT_NEAR(r.UniversalTime, 16.0, kHoursTol);
  EXPECT_NEAR(r.TimeZone, -4.0, kHoursTol);
  EXPECT_NEAR(r.JulianDay0h, OnChartScale(2442963.5), kJulianDayTolDays);
  EXPECT_NEAR(r.JulianDayUT, OnChartScale(2442963.5 + 16.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(r.GeoLongitude, -74.0, kDegreesTol);
  EXPECT_EQ(r.LonSign, -1);
  EXPECT_NEAR(r.GeoLatitude, 40.0 + 43.0 / 60.0, kDegreesTol);
}

TEST(DataInput, ZoneAheadCarriesTheDayBackIntoTheMonthBefore) {
  // 1 May 2000, 01:00 at 3 h East: 22:00 UT on day 0 of May, i.e. 30 April
  DataInputFields f = At("01", "05", "2000", Hms("01", "00", "00"));
  f.ZoneText = Hms("03", "00", "00");
  const DataInputResult r = Parsed(f);
  EXPECT_EQ(r.Day, 0);
  EXPECT_EQ(r.Month, 5);
  EXPECT_NEAR(r.UniversalTime, 22.0, kHoursTol);
  EXPECT_NEAR(r.JulianDayUT, OnChartScale(2451664.5 + 22.0 / 24), kJulianDayTolDays);
  EXPECT_NEAR(r.JulianDay0h, OnChartScale(2451664.5), kJulianDayTolDays);
}

TEST(DataInput, YearBeforeTheCommonEraIsAstronomical) {
  // 1 March 500 BC (astronomical -499, Julian calendar), 12:00 at Greenwich
  DataInputFields f = At("01", "03", "500 ", Hms("12", "00", "00"));
  f.BeforeCommonEra = true;
  const DataInputResult r = Parsed(f);
  EXPECT_EQ(r.Year, -499);
  EXPECT_NEAR(r.JulianDayUT, OnChartScale(1538858.0), kJulianDayTolDays);
  f.BeforeCommonEra = false;
  EXPECT_EQ(Parsed(f).Year, 500);
}

TEST(DataInput, OnlyTheHoursTypedGiveWholeHours) {
  const DataInputResult r = Parsed(At("10", "06", "2000", Hms("9 ", "  ", "  ")));
  EXPECT_EQ(r.Hour, 9);
  EXPECT_EQ(r.Minute, 0);
  EXPECT_EQ(r.Second, 0);
  EXPECT_NEAR(r.UniversalTime, 9.0, kHoursTol);
  // a blank beside a digit is dropped from either side
  EXPECT_EQ(Parsed(At("10", "06", "2000", Hms(" 7", " 5", "3 "))).Minute, 5);
}

std::string TwoDigitText(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Every hour, minute and second a two-digit part can hold, in the local time
// and in the zone either way: a time is taken exactly as typed while its
// hours are 0..23 and its minutes and seconds 0..59, a zone while it is no
// more than 14 hours from Greenwich with minutes and seconds 0..59; anything
// else is refused with the field and its text as typed, and nothing is
// taken (a typo folded back would be another moment).
TEST(DataInput, TimesAndZonesAreTakenAsTypedUpToTheirLimitsAndRefusedBeyond) {
  const DataInputFields good = At("10", "06", "2000", Hms("12", "00", "00"));
  int accepted = 0, refused = 0;
  for (int part = 0; part < 3; ++part)
    for (int v = 0; v <= 99; ++v)
      for (bool zone : {false, true})
        for (bool west : {false, true}) {
          int hms[3] = {zone ? 5 : 12, 30, 30};
          if (zone && part > 0) hms[0] = 14;  // minutes and seconds at the widest zone
          if (zone && part > 0) hms[3 - part] = 0;
          hms[part] = v;
          const std::string text = Hms(TwoDigitText(hms[0]).c_str(), TwoDigitText(hms[1]).c_str(),
                                       TwoDigitText(hms[2]).c_str());
          DataInputFields f = good;
          (zone ? f.ZoneText : f.TimeText) = text;
          f.ZoneWest = west;
          const double hours = hms[0] + hms[1] / 60.0 + hms[2] / 3600.0;
          const bool inRange =
              hms[1] <= 59 && hms[2] <= 59 && (zone ? hours <= 14.0 : hms[0] <= 23);
          DataInputResult r;
          r.Day = 77;
          InputRefusal refusal;
          const std::string what =
              (zone ? "zone " : "time ") + Cp1251ToUtf8(text) + (west ? " W" : " E");
          if (!inRange) {
            ++refused;
            EXPECT_FALSE(ParseDataInput(f, r, refusal)) << what;
            EXPECT_EQ(r.Day, 77) << what;
            EXPECT_EQ(refusal.Fault, zone ? InputFault::ZoneOutOfRange : InputFault::TimeOutOfRange)
                << what;
            EXPECT_EQ(refusal.Field, zone ? InputField::Zone : InputField::Time) << what;
            EXPECT_EQ(refusal.Text, text) << what;
            if (zone) {
              EXPECT_EQ(refusal.Limit, 14) << what;
            }
            continue;
          }
          ++accepted;
          ASSERT_TRUE(ParseDataInput(f, r, refusal)) << what;
          const double zoneEast = zone ? (west ? -hours : hours) : 0.0;
          const double local = zone ? 12.0 : hours;
          if (!zone) {
            EXPECT_EQ(r.Hour, hms[0]) << what;
            EXPECT_EQ(r.Minute, hms[1]) << what;
            EXPECT_EQ(r.Second, hms[2]) << what;
          } else {
            EXPECT_EQ(r.ZoneHour, hms[0]) << what;
            EXPECT_EQ(r.ZoneMin, hms[1]) << what;
            EXPECT_EQ(r.ZoneSec, hms[2]) << what;
          }
          EXPECT_NEAR(r.TimeZone, zoneEast, kHoursTol) << what;
          // 10 June 2000 0h is JD 2451705.5
          EXPECT_NEAR(r.JulianDayUT, OnChartScale(2451705.5 + (local - zoneEast) / 24.0),
                      kJulianDayTolDays)
              << what;
        }
  EXPECT_GT(accepted, 200);
  EXPECT_GT(refused, 200);
}

// Every day a two-digit field can hold, in every month of years on either
// side of the change of calendars and of both eras: taken while it is a day
// of that month by the tests' own calendar count (Julian leap years every
// fourth up to 1582, Gregorian after; 29 February 1500 and 2024 exist, 1900
// and 2023 have none), refused beyond with the month's last day named.
TEST(DataInput, ADayBeyondItsMonthIsRefusedWithTheMonthsLength) {
  const testsupport::CalendarCount count;
  const int years[] = {-500, -1, 0, 4, 1500, 1582, 1600, 1700, 1900, 2000, 2023, 2024, 2100};
  for (int year : years)
    for (int month = 1; month <= 12; ++month)
      for (int day = 0; day <= 99; ++day) {
        DataInputFields f = At("01", "01", "2000", Hms("12", "00", "00"));
        f.DayText = TwoDigitText(day);
        f.MonthText = TwoDigitText(month);
        f.BeforeCommonEra = year <= 0;
        f.YearText = std::to_string(year <= 0 ? 1 - year : year);
        const int length = testsupport::CalendarCount::MonthLength(year, month);
        const std::string what =
            std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
        DataInputResult r;
        InputRefusal refusal;
        if (day >= 1 && day <= length) {
          ASSERT_TRUE(ParseDataInput(f, r, refusal)) << what;
          if (!testsupport::CalendarCount::InCalendarGap({year, month, day})) {
            EXPECT_NEAR(r.JulianDay0h, OnChartScale(count.Midnight({year, month, day})), 1e-6)
                << what;
          }
          continue;
        }
        EXPECT_FALSE(ParseDataInput(f, r, refusal)) << what;
        EXPECT_EQ(refusal.Fault, InputFault::DayOutOfRange) << what;
        EXPECT_EQ(refusal.Field, InputField::Day) << what;
        EXPECT_EQ(refusal.Text, std::to_string(day)) << what;
        EXPECT_EQ(refusal.Limit, length) << what;
      }
}

// A place past the pole or the date line is refused with the field as
// typed, and nothing is taken: folded, 95 degrees would be the equator while
// the place still reads Moscow. Minutes and seconds past 60 still fold.
TEST(DataInput, CoordinatesBeyondThePoleOrTheDateLineAreRefused) {
  const DataInputFields good = At("10", "06", "2000", Hms("12", "00", "00"));
  const struct {
    const char* latitude;
    const char* longitude;
    InputField field;  // refused, or Day for taken
  } cases[] = {
      {"95:00:00", "037:37:00", InputField::Latitude},
      {"90:00:01", "037:37:00", InputField::Latitude},
      {"89:60:60", "037:37:00", InputField::Latitude},  // 90 degrees 1 minute
      {"55:45:00", "190:00:00", InputField::Longitude},
      {"55:45:00", "180:00:01", InputField::Longitude},
      {"55:45:00", "179:60:01", InputField::Longitude},  // 180 degrees 1 second
      {"90:00:00", "180:00:00", InputField::Day},
      {"89:59:60", "179:59:60", InputField::Day},  // exactly the pole and the date line
  };
  for (const auto& c : cases)
    for (bool southWest : {false, true}) {
      DataInputFields f = good;
      f.LatitudeText = c.latitude;
      f.LongitudeText = c.longitude;
      f.South = f.West = southWest;
      DataInputResult r;
      r.Day = 77;
      InputRefusal refusal;
      const std::string what =
          std::string(c.latitude) + " " + c.longitude + (southWest ? " SW" : " NE");
      if (c.field == InputField::Day) {
        ASSERT_TRUE(ParseDataInput(f, r, refusal)) << what;
        EXPECT_NEAR(r.GeoLatitude, southWest ? -90.0 : 90.0, kDegreesTol) << what;
        // 180 degrees West is 180 East
        EXPECT_NEAR(r.GeoLongitude, 180.0, kDegreesTol) << what;
        continue;
      }
      EXPECT_FALSE(ParseDataInput(f, r, refusal)) << what;
      EXPECT_EQ(r.Day, 77) << what;
      EXPECT_EQ(refusal.Fault, InputFault::CoordinateOutOfRange) << what;
      EXPECT_EQ(refusal.Field, c.field) << what;
      EXPECT_EQ(refusal.Text, c.field == InputField::Latitude ? c.latitude : c.longitude) << what;
    }

  DataInputFields f = good;
  f.LatitudeText = "50:75:61";
  f.LongitudeText = "020:61:75";
  const DataInputResult r = Parsed(f);
  EXPECT_NEAR(r.GeoLatitude, 50.0 + 15.0 / 60.0 + 1.0 / 3600.0, kDegreesTol);
  EXPECT_NEAR(r.GeoLongitude, 20.0 + 1.0 / 60.0 + 15.0 / 3600.0, kDegreesTol);
}

TEST(DataInput, GeocentricLatitudeTakesTheFlattening) {
  // 45 N: 45 - 0.19242777777777778 (sin 90 = 1)
  DataInputFields f = At("10", "06", "2000", Hms("12", "00", "00"));
  f.LatitudeText = "45:00:00";
  EXPECT_NEAR(Parsed(f).GeocentricLatitude, 44.80757222222222, kDegreesTol);
  f.South = true;
  const DataInputResult r = Parsed(f);
  EXPECT_NEAR(r.GeocentricLatitude, -44.80757222222222, kDegreesTol);
  EXPECT_NEAR(r.GeoLatitude, -45.0, kDegreesTol);
  EXPECT_EQ(r.LatSign, -1);
}

TEST(DataInput, AFieldThatCannotBeReadChangesNothing) {
  DataInputResult untouched;
  untouched.Day = 77;
  using F = InputField;
  using E = InputFault;
  struct Case {
    const char* what;
    DataInputFields fields;
    InputField field;  // the refusal names the field,
    InputFault fault;  // the fault
    const char* text;  // and the part as typed
  };
  DataInputFields good = At("10", "06", "2000", Hms("12", "00", "00"));
  auto with = [&good](auto change) {
    DataInputFields f = good;
    change(f);
    return f;
  };
  const Case cases[] = {
      {"letter in the hours", with([](DataInputFields& f) { f.TimeText = Hms("1a", "00", "00"); }),
       F::Time, E::NotANumber, "1a"},
      {"sign in the seconds", with([](DataInputFields& f) { f.TimeText = Hms("12", "00", "-1"); }),
       F::Time, E::NotANumber, "-1"},
      {"letter in the latitude", with([](DataInputFields& f) { f.LatitudeText = "5x:00:00"; }),
       F::Latitude, E::NotANumber, "5x"},
      {"letter in the longitude", with([](DataInputFields& f) { f.LongitudeText = "03O:00:00"; }),
       F::Longitude, E::NotANumber, "03O"},
      {"letter in the zone", with([](DataInputFields& f) { f.ZoneText = Hms("03", "3o", "00"); }),
       F::Zone, E::NotANumber, "3o"},
      {"empty day", with([](DataInputFields& f) { f.DayText = "  "; }), F::Day, E::EmptyField,
       "  "},
      {"empty year", with([](DataInputFields& f) { f.YearText = "    "; }), F::Year, E::EmptyField,
       "    "},
      {"letter in the month", with([](DataInputFields& f) { f.MonthText = "l2"; }), F::Month,
       E::NotANumber, "l2"},
      {"month 13", with([](DataInputFields& f) { f.MonthText = "13"; }), F::Month,
       E::MonthOutOfRange, "13"},
      {"month 0", with([](DataInputFields& f) { f.MonthText = "00"; }), F::Month,
       E::MonthOutOfRange, "0"},
      {"year 0", with([](DataInputFields& f) { f.YearText = "0"; }), F::Year, E::YearZero, "0"},
  };
  for (const Case& c : cases) {
    DataInputResult r = untouched;
    InputRefusal refusal;
    EXPECT_FALSE(ParseDataInput(c.fields, r, refusal)) << c.what;
    EXPECT_EQ(refusal.Field, c.field) << c.what;
    EXPECT_EQ(refusal.Fault, c.fault) << c.what;
    EXPECT_EQ(refusal.Text, c.text) << c.what;
    EXPECT_EQ(r.Day, 77) << c.what;
  }
}

TEST(DataInputFill, ChartMomentShowsItsLocalDateAndTime) {
  // 15 July 1990 08:00 UT, zone 4 h East, Moscow
  const DataInputFields f = FieldsOfChartMoment(OnChartScale(2448087.5 + 8.0 / 24), 8.0f, 4.0f,
                                                55.75f, 37.0f + 37.0f / 60.0f, Marks());
  EXPECT_EQ(f.DayText, "15");
  EXPECT_EQ(f.MonthText, "07");
  EXPECT_EQ(f.YearText, "1990");
  EXPECT_FALSE(f.BeforeCommonEra);
  EXPECT_EQ(f.TimeText, Hms("12", "00", "00"));
  EXPECT_EQ(f.ZoneText, Hms("04", "00", "00"));
  EXPECT_FALSE(f.ZoneWest);
  EXPECT_EQ(f.LatitudeText, "55:45:00");
  EXPECT_FALSE(f.South);
  EXPECT_EQ(f.LongitudeText, "037:37:00");
  EXPECT_FALSE(f.West);
}

TEST(DataInputFill, WestAndSouthAndTheLocalDateAcrossMidnight) {
  // 30 April 2000 22:00 UT at 3 h East is 1 May 01:00 local
  DataInputFields f = FieldsOfChartMoment(OnChartScale(2451664.5 + 22.0 / 24), 22.0f, 3.0f, -33.5f,
                                          -70.75f, Marks());
  EXPECT_EQ(f.DayText, "01");
  EXPECT_EQ(f.MonthText, "05");
  EXPECT_EQ(f.TimeText, Hms("01", "00", "00"));
  EXPECT_TRUE(f.South);
  EXPECT_EQ(f.LatitudeText, "33:30:00");
  EXPECT_TRUE(f.West);
  EXPECT_EQ(f.LongitudeText, "070:45:00");
  // 4 July 1976 16:00 UT at 4 h West is 12:00 local, the zone shown West
  f = FieldsOfChartMoment(OnChartScale(2442963.5 + 16.0 / 24), 16.0f, -4.0f, 40.7f, -74.0f,
                          Marks());
  EXPECT_EQ(f.DayText, "04");
  EXPECT_EQ(f.TimeText, Hms("12", "00", "00"));
  EXPECT_EQ(f.ZoneText, Hms("04", "00", "00"));
  EXPECT_TRUE(f.ZoneWest);
}

TEST(DataInputFill, AYearBeforeTheCommonEraShowsItsEra) {
  // 1 March 500 BC 12:00 UT: shown as 500 with "до н.э."
  const DataInputFields f =
      FieldsOfChartMoment(OnChartScale(1538858.0), 12.0f, 0.0f, 0, 0, Marks());
  EXPECT_EQ(f.YearText, "500");
  EXPECT_TRUE(f.BeforeCommonEra);
  EXPECT_EQ(f.DayText, "01");
  EXPECT_EQ(f.MonthText, "03");
}

TEST(DataInputFill, WhatIsShownReadsBackAsTheSameMoment) {
  const double moments[][5] = {
      // Julian day, UT hours, zone hours, latitude, longitude
      {OnChartScale(2448087.5 + 8.0 / 24), 8.0, 4.0, 55.75, 37.6166667},
      {OnChartScale(2442963.5 + 16.0 / 24), 16.0, -4.0, 40.7166667, -74.0},
      {OnChartScale(1538858.0), 12.0, 0.0, -12.5, 179.5},
      {OnChartScale(2451664.5 + 22.0 / 24), 22.0, 3.0, 0.0, 0.0},
  };
  for (const auto& m : moments) {
    const DataInputFields f =
        FieldsOfChartMoment(m[0], static_cast<float>(m[1]), static_cast<float>(m[2]),
                            static_cast<float>(m[3]), static_cast<float>(m[4]), Marks());
    const DataInputResult r = Parsed(f);
    EXPECT_NEAR(r.JulianDayUT, m[0], kJulianDayTolDays) << m[0];
    EXPECT_NEAR(r.UniversalTime, m[1], kHoursTol) << m[0];
    EXPECT_NEAR(r.TimeZone, m[2], kHoursTol) << m[0];
    // the fields keep whole arc seconds
    EXPECT_NEAR(r.GeoLatitude, m[3], 1.0 / 3600.0) << m[0];
    EXPECT_NEAR(r.GeoLongitude, m[4], 1.0 / 3600.0) << m[0];
  }
}

// Whatever the dialog accepts, it shows again as the same chart: random
// field texts, many past their limits (99 hours, 99 minutes, latitude 89 59
// 60) and with blank positions, are read, shown and read again; the second
// reading gives the same moment and place, and showing it gives the same
// texts.
TEST(DataInputFill, AcceptedFieldsShowAndReadBackAsTheSameChart) {
  constexpr double kHalfSecondDays = 0.5 / 86400.0;  // days: the fields keep whole seconds
  constexpr double kFloatDegreesTol = 2e-5;          // degrees: a float near 180
  std::mt19937 random(20261209);
  auto digits = [&random](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      const int d = static_cast<int>(random() % 11);  // one position in eleven left blank
      text += d == 10 ? ' ' : static_cast<char>('0' + d);
    }
    return text;
  };
  auto number = [&random](int low, int high) {
    return std::to_string(low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)));
  };
  auto two = [](const std::string& n) { return n.size() < 2 ? "0" + n : n; };
  auto three = [&two](const std::string& n) { return n.size() < 3 ? "0" + two(n) : n; };
  int read = 0;
  for (int trial = 0; trial < 5000; ++trial) {
    DataInputFields f;
    // any day of any month (a blank beside a digit dropped), times and zones
    // anywhere in their ranges; out of range they are refused, not taken
    f.DayText = random() % 4 == 0 ? " " + number(1, 9) : two(number(1, 28));
    f.MonthText = two(number(1, 12));
    f.BeforeCommonEra = random() % 5 == 0;
    f.YearText = f.BeforeCommonEra ? number(1, 4000) : number(1, 3000);
    f.TimeText =
        Hms(two(number(0, 23)).c_str(), two(number(0, 59)).c_str(), two(number(0, 59)).c_str());
    // degrees up to the pole and the date line (beyond them the place is
    // refused), minutes and seconds up to 99
    f.LatitudeText = two(number(0, 89)) + ":" + digits(2) + ":" + digits(2);
    if (trial % 50 == 0) f.LatitudeText = "89:59:60";
    f.LongitudeText = three(number(0, 179)) + ":" + digits(2) + ":" + digits(2);
    if (trial % 50 == 1) f.LongitudeText = "179:59:60";
    f.ZoneText =
        Hms(two(number(0, 13)).c_str(), two(number(0, 59)).c_str(), two(number(0, 59)).c_str());
    f.South = random() % 2 == 0;
    f.West = random() % 2 == 0;
    f.ZoneWest = random() % 2 == 0;
    DataInputResult first;
    InputRefusal refusal;
    if (!ParseDataInput(f, first, refusal)) continue;
    ++read;
    const DataInputFields shown =
        FieldsOfChartMoment(first.JulianDayUT, first.UniversalTime, first.TimeZone,
                            first.GeoLatitude, first.GeoLongitude, Marks());
    DataInputResult again;
    ASSERT_TRUE(ParseDataInput(shown, again, refusal)) << Cp1251ToUtf8(refusal.Text);
    const std::string typed = f.DayText + "." + f.MonthText + "." + f.YearText + " " +
                              Cp1251ToUtf8(f.TimeText) + " zone " + Cp1251ToUtf8(f.ZoneText) + " " +
                              f.LatitudeText + " " + f.LongitudeText;
    ASSERT_NEAR(again.JulianDayUT, first.JulianDayUT, kHalfSecondDays) << typed;
    ASSERT_NEAR(again.TimeZone, first.TimeZone, kHoursTol) << typed;
    ASSERT_LE(std::fabs(first.GeoLatitude), 90.0f) << typed;
    ASSERT_NEAR(again.GeoLatitude, first.GeoLatitude, kDegreesTol) << typed;
    ASSERT_GT(first.GeoLongitude, -180.0f) << typed;
    ASSERT_LE(first.GeoLongitude, 180.0f) << typed;
    ASSERT_NEAR(again.GeoLongitude, first.GeoLongitude, kFloatDegreesTol) << typed;
    const DataInputFields third =
        FieldsOfChartMoment(again.JulianDayUT, again.UniversalTime, again.TimeZone,
                            again.GeoLatitude, again.GeoLongitude, Marks());
    ASSERT_EQ(third.TimeText, shown.TimeText) << typed;
    ASSERT_EQ(third.DayText + third.MonthText + third.YearText,
              shown.DayText + shown.MonthText + shown.YearText)
        << typed;
    ASSERT_EQ(third.LongitudeText, shown.LongitudeText) << typed;
  }
  EXPECT_GT(read, 4000);
}

TEST(NewTownInput, TheMaskedFieldsGiveTheNumbersAsTyped) {
  NewTownFields f;
  f.Name = "Springfield";
  f.Country = "USA";
  f.Abbreviation = "CST";
  f.West = true;
  f.ZoneText = std::string("06") + Cp("ч") + "30" + Cp("м");
  f.LatitudeText = "39:48:00";
  f.LongitudeText = "089:39:00";
  NewTown t;
  InputRefusal refusal;
  ASSERT_TRUE(ReadNewTownFields(f, t, refusal)) << refusal.Text;
  EXPECT_EQ(t.ZoneHours, 6);
  EXPECT_EQ(t.ZoneMinutes, 30);
  EXPECT_EQ(t.LatDegrees, 39);
  EXPECT_EQ(t.LatMinutes, 48);
  EXPECT_EQ(t.LonDegrees, 89);
  EXPECT_EQ(t.LonMinutes, 39);
  EXPECT_TRUE(t.West);
  EXPECT_EQ(t.Abbreviation, "CST");

  f.LongitudeText = "0x9:39:00";
  NewTown before = t;
  EXPECT_FALSE(ReadNewTownFields(f, t, refusal));
  EXPECT_EQ(refusal.Field, InputField::Longitude);
  EXPECT_EQ(refusal.Text, "0x9");
  EXPECT_EQ(t.LonDegrees, before.LonDegrees);
}

TEST(DataInputFill, TheTimeRoundsToTheSecondAndCarriesIntoTheDate) {
  // 23:59:59.98 local is 00:00:00 of the next date, whichever month or year ends
  auto two = [](int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + char('0' + v % 10);
  };
  for (const testsupport::CivilCase& c : testsupport::MidnightSweep()) {
    const DataInputFields f =
        FieldsOfChartMoment(c.chartJulianDay, c.universalHours, c.timeZone, 0, 0, Marks());
    const std::string shown = f.DayText + "." + f.MonthText + "." + f.YearText + " " + f.TimeText;
    const std::string expected =
        two(c.day) + "." + two(c.month) + "." + std::to_string(c.year) + " " +
        Hms(two(c.hour).c_str(), two(c.minute).c_str(), two(c.second).c_str());
    EXPECT_EQ(shown, expected) << "JD " << c.chartJulianDay << ", UT " << c.universalHours
                               << " h, zone " << c.timeZone;
  }
}

// Dates across every year the dialog accepts, both eras, the change of
// calendars in October 1582 with zones East and West, midnights and year
// ends: the Julian days are those of the tests' own day count, and the chart
// shows again exactly as typed. 4 October 1582 23:00 five hours West is
// 04:00 UT on 5 October of the Julian calendar, not the Gregorian 5 October.
TEST(DataInputFill, EveryYearAndTheChangeOfCalendarsShowAsTyped) {
  constexpr double kFloatHoursDays = 2e-7;  // days: the hours reach JulianDay in single precision
  const testsupport::CalendarCount count;
  auto two = [](int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + char('0' + v % 10);
  };
  auto fields = [&](const testsupport::LocalMomentCase& c) {
    DataInputFields f = At(two(c.date.day).c_str(), two(c.date.month).c_str(),
                           std::to_string(c.date.year > 0 ? c.date.year : 1 - c.date.year).c_str(),
                           Hms(two(c.hour).c_str(), two(c.minute).c_str(), two(c.second).c_str()));
    f.BeforeCommonEra = c.date.year <= 0;
    f.ZoneText = Hms(two(c.zoneHours).c_str(), two(c.zoneMinutes).c_str(), "00");
    f.ZoneWest = c.zoneWest && c.zoneHours + c.zoneMinutes > 0;
    return f;
  };
  // the dates of the gap are typed as Gregorian ones and read as such
  std::vector<testsupport::LocalMomentCase> cases = testsupport::LocalMomentSweep(11);
  for (int day = 5; day <= 14; ++day)
    for (bool west : {false, true})
      cases.push_back({{1582, 10, day}, west ? 23 : 1, 0, 0, 5, 0, west});
  int wrong = 0;
  for (const testsupport::LocalMomentCase& c : cases) {
    const DataInputFields typed = fields(c);
    const std::string what = typed.DayText + "." + typed.MonthText + "." + typed.YearText +
                             (typed.BeforeCommonEra ? " BC " : " ") + Cp1251ToUtf8(typed.TimeText) +
                             (typed.ZoneWest ? " West " : " East ") + Cp1251ToUtf8(typed.ZoneText);
    DataInputResult r;
    InputRefusal refusal;
    ASSERT_TRUE(ParseDataInput(typed, r, refusal)) << what;
    const double expected = testsupport::ChartJulianDayOf(count, c);
    // 0h of the universal date: the typed date's midnight and the whole days carried
    const double ut = testsupport::UniversalJulianDayOf(count, c);
    const double midnight = std::floor(ut + 0.5) - 0.5;
    const double expected0h = midnight + testsupport::ChartDeltaTDays(midnight);
    const DataInputFields shown = FieldsOfChartMoment(r.JulianDayUT, r.UniversalTime, r.TimeZone,
                                                      r.GeoLatitude, r.GeoLongitude, Marks());
    const bool showsAsTyped =
        testsupport::CalendarCount::InCalendarGap(c.date) ||
        (shown.DayText == typed.DayText && shown.MonthText == typed.MonthText &&
         shown.YearText == typed.YearText && shown.BeforeCommonEra == typed.BeforeCommonEra &&
         shown.TimeText == typed.TimeText && shown.ZoneText == typed.ZoneText &&
         shown.ZoneWest == typed.ZoneWest);
    if (std::fabs(r.JulianDayUT - expected) > kFloatHoursDays ||
        std::fabs(r.JulianDay0h - expected0h) > kFloatHoursDays || r.UniversalTime < 0.0f ||
        r.UniversalTime >= 24.0f || !showsAsTyped) {
      ADD_FAILURE() << what << ": Julian day " << r.JulianDayUT << " (0h " << r.JulianDay0h
                    << "), expected " << expected << " (0h " << expected0h << "), UT "
                    << r.UniversalTime << " h; shown " << shown.DayText << "." << shown.MonthText
                    << "." << shown.YearText << (shown.BeforeCommonEra ? " BC " : " ")
                    << Cp1251ToUtf8(shown.TimeText);
      if (++wrong == 10) return;
    }
  }
}

}  // namespace
