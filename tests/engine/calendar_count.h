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

// Delta T of the chart time scale, days, at a universal Julian day:
// -24.6 + 72.318 T + 29.952 T^2 seconds, T in centuries since 1900.
inline double ChartDeltaTDays(double universalJulianDay) {
  const double t = (universalJulianDay - 2415020.5) / 36525.0;
  return (-24.6 + 72.318 * t + 29.952 * t * t) / 86400.0;
}

}  // namespace testsupport
