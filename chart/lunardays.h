// Lunar days: the first begins at the new moon, each further one at the next
// moonrise at the chart's place; a month has, as a rule, 29 or 30 of them.
#pragma once

struct LunarDayTable {
  double LunarDayStart[31] = {};  // Julian day (chart time scale) at which day n+1 begins;
                                  // LunarDayStart[LunarDayCount] is the next new moon
  int LunarDayCount = 0;          // 29 or 30; fewer where the Moon misses whole days of rising
  int LunarDay = 0;               // 1..30, the day of the chart's moment
  float GeocentricLatitude = 0;   // degrees, the place the table was computed for
  float GeoLongitude = 0;         // degrees East
};

// Computes the lunar days of the month holding the moment. Returns false,
// leaving the table untouched, where they cannot be determined (the new
// moons cannot be found, or the place lies above 65 degrees North, where the
// chart keeps its previous lunar day), so no undefined day reaches the chart.
// Southern latitudes are computed however far south. A day in which the
// Moon does not rise (high latitudes) runs on to the next moonrise.
bool CalcMoonDays(double julianDayUT, float geocentricLatitude, float geoLongitude,
                  LunarDayTable& table);

// The lunar day of a moment from a table already computed for the month and
// place: a month's table depends only on its new moons and the place, so a
// moment inside it at the same place needs no new search. Returns false when
// the table does not cover the moment or was made for another place.
bool LunarDayFromTable(const LunarDayTable& table, double julianDayUT, float geocentricLatitude,
                       float geoLongitude, int& day);
