// A day count of the tests' own for the calendar the program keeps: Julian
// up to 4 October 1582, Gregorian from 15 October 1582 (the ten dates
// between are read as Gregorian ones), over every year the data-input dialog
// accepts, 9999 BC (astronomical -9998) to 9999. The Julian day of each
// 1 January is found by walking year lengths out from 1 January 2000 =
// JD 2451544.5 (Meeus, Astronomical Algorithms, ch. 7), so it shares no
// formula with the program's conversion. Also the dates a calendar sweep
// visits: year ends, the ends of February, the change of calendars.
#pragma once

#include <vector>

#include "engine/astromath.h"

namespace testsupport {

inline constexpr int kFirstDialogYear = -9998;  // 9999 BC, astronomical
inline constexpr int kLastDialogYear = 9999;

struct CalendarDate {
  int year, month, day;  // astronomical year
};

class CalendarCount {
 public:
  CalendarCount() : januaryFirst_(kLastDialogYear - kFirstDialogYear + 2) {
    januaryFirst_[Index(2000)] = 2451544.5;
    for (int y = 2000; y < kLastDialogYear + 1; ++y)
      januaryFirst_[Index(y + 1)] = januaryFirst_[Index(y)] + YearLength(y);
    for (int y = 2000; y > kFirstDialogYear; --y)
      januaryFirst_[Index(y - 1)] = januaryFirst_[Index(y)] - YearLength(y - 1);
  }

  static bool Leap(int year) {
    if (year <= 1582) return ((year % 4) + 4) % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  }
  static int YearLength(int year) { return year == 1582 ? 355 : Leap(year) ? 366 : 365; }
  static int MonthLength(int year, int month) {
    const int lengths[] = {31, Leap(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[month - 1];
  }
  // 5 to 14 October 1582: typed, they are Gregorian dates of the days that
  // the Julian calendar calls 25 September to 4 October.
  static bool InCalendarGap(const CalendarDate& d) {
    return d.year == 1582 && d.month == 10 && d.day >= 5 && d.day <= 14;
  }

  // Julian day of 0h universal time of the date.
  double Midnight(const CalendarDate& d) const {
    int dayOfYear = d.day - 1;
    for (int m = 1; m < d.month; ++m) dayOfYear += MonthLength(d.year, m);
    if (d.year == 1582 && (d.month > 10 || (d.month == 10 && d.day >= 5))) dayOfYear -= 10;
    return januaryFirst_[Index(d.year)] + dayOfYear;
  }

 private:
  static int Index(int year) { return year - kFirstDialogYear; }
  std::vector<double> januaryFirst_;  // days, Julian day of 1 January 0h, one past the last year
};

// Dates of every yearStep-th year of the dialog's range and of the years
// where calendars or day counts turn (the first year before the Julian day
// count, year 0, the change of calendars, the Gregorian centuries): 1 January,
// the last of February, 1 March, the 15th of one month from April to
// November (turning with the year) and 31 December; and every date of
// October 1582 outside the gap.
inline std::vector<CalendarDate> CalendarSweepDates(int yearStep) {
  std::vector<int> years;
  for (int y = kFirstDialogYear; y <= kLastDialogYear; y += yearStep) years.push_back(y);
  for (int y : {-4717, -4716, -4715, -4713, -4712, -1, 0, 1, 1581, 1582, 1583, 1600, 1700, 1900,
                2000, 2100, kLastDialogYear})
    years.push_back(y);
  std::vector<CalendarDate> dates;
  for (int y : years) {
    dates.push_back({y, 1, 1});
    dates.push_back({y, 2, CalendarCount::MonthLength(y, 2)});
    dates.push_back({y, 3, 1});
    dates.push_back({y, 4 + ((y % 8) + 8) % 8, 15});
    dates.push_back({y, 12, 31});
  }
  for (int day = 1; day <= 31; ++day)
    if (!CalendarCount::InCalendarGap({1582, 10, day})) dates.push_back({1582, 10, day});
  return dates;
}

// A local moment as the data-input dialog takes it and a record line
// stores it: the typed date, the local time and the zone.
struct LocalMomentCase {
  CalendarDate date;
  int hour, minute, second;    // local time
  int zoneHours, zoneMinutes;  // zone, unsigned
  bool zoneWest;
  double ZoneHoursEast() const { return (zoneWest ? -1 : 1) * (zoneHours + zoneMinutes / 60.0); }
  double LocalHours() const { return hour + minute / 60.0 + second / 3600.0; }
};

// The sweep dates at midnight, noon, 23:00 and the last second of the day,
// in zones East and West far enough to carry the universal date into the
// day before or after (and over a year end or the change of calendars).
inline std::vector<LocalMomentCase> LocalMomentSweep(int yearStep) {
  const int times[][3] = {{0, 0, 0}, {12, 0, 0}, {23, 0, 0}, {23, 59, 59}};
  const struct {
    int hours, minutes;
    bool west;
  } zones[] = {{0, 0, false}, {3, 30, false}, {11, 0, false}, {5, 0, true}, {11, 0, true}};
  std::vector<LocalMomentCase> cases;
  for (const CalendarDate& date : CalendarSweepDates(yearStep))
    for (const auto& t : times)
      for (const auto& z : zones)
        cases.push_back({date, t[0], t[1], t[2], z.hours, z.minutes, z.west});
  return cases;
}

// Delta T of the chart time scale, days, at a universal Julian day (the
// engine's, whose values the engine's own tests check).
inline double ChartDeltaTDays(double universalJulianDay) {
  return DeltaTSeconds(universalJulianDay) / 86400.0;
}

// The moment of a case as a universal Julian day, and on the chart time
// scale (plus Delta T).
inline double UniversalJulianDayOf(const CalendarCount& count, const LocalMomentCase& c) {
  return count.Midnight(c.date) + (c.LocalHours() - c.ZoneHoursEast()) / 24.0;
}
inline double ChartJulianDayOf(const CalendarCount& count, const LocalMomentCase& c) {
  const double ut = UniversalJulianDayOf(count, c);
  return ut + ChartDeltaTDays(ut);
}

}  // namespace testsupport
