// Moments just before, at and after local midnight at the ends of months and
// years, with the local date and time to the nearest second that they must
// show, worked out by calendar arithmetic of the test's own (the Julian day
// number of Fliegel and Van Flandern, Comm. ACM 11 (1968) 657, and the
// Gregorian leap rule). Shared by the tests of the moment texts.
#pragma once

#include <cmath>
#include <vector>

#include "engine/astromath.h"

namespace testsupport {

struct CivilCase {
  double chartJulianDay;     // days, chart time scale (universal time plus Delta T)
  float universalHours;      // hours of universal time on the universal date, [0, 24)
  float timeZone;            // hours East
  int year, month, day;      // the local date to show
  int hour, minute, second;  // the local time to show
};

// Julian day number of a Gregorian date (the day beginning at noon).
inline long long GregorianDayNumber(int y, int m, int d) {
  const long long a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

inline void NextDate(int& y, int& m, int& d) {
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const int length[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (++d > length[m - 1]) {
    d = 1;
    if (++m > 12) m = 1, ++y;
  }
}

// Offsets from the local midnight that ends each date, seconds; none lies on
// a half second, so the rounding is never a tie.
inline std::vector<CivilCase> MidnightSweep() {
  const int dates[][3] = {{1999, 12, 31}, {2000, 2, 28},  {2000, 2, 29}, {2100, 2, 28},
                          {2023, 4, 30},  {2024, 12, 31}, {1950, 6, 14}};
  const double offsets[] = {-1.3, -0.6, -0.5005, -0.4995, -0.02, 0.0, 0.02, 0.7};
  const float zones[] = {0.0f, 3.0f, -5.5f};
  std::vector<CivilCase> cases;
  for (const auto& date : dates)
    for (double offset : offsets)
      for (float zone : zones) {
        // local midnight at the end of the date, as a universal Julian day
        const double midnight = GregorianDayNumber(date[0], date[1], date[2]) + 0.5;
        const double ut = midnight + offset / 86400.0 - zone / 24.0;
        CivilCase c;
        c.chartJulianDay = ut + DeltaTSeconds(ut) / 86400.0;
        c.universalHours = static_cast<float>((ut + 0.5 - std::floor(ut + 0.5)) * 24.0);
        c.timeZone = zone;
        c.year = date[0], c.month = date[1], c.day = date[2];
        long long seconds = std::llround(86400.0 + offset);
        if (seconds >= 86400) {
          NextDate(c.year, c.month, c.day);
          seconds -= 86400;
        }
        c.hour = static_cast<int>(seconds / 3600);
        c.minute = static_cast<int>(seconds / 60 % 60);
        c.second = static_cast<int>(seconds % 60);
        cases.push_back(c);
      }
  return cases;
}

}  // namespace testsupport
