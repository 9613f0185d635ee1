// Planetary hours: the day from sunrise to sunset and the night from sunset
// to the next sunrise, each in twelve equal hours ruled in the Chaldean order.
#pragma once

struct PlanetaryHourTable {
  float HourStart[24] = {};  // local start time of hour n+1, hours [0, 24)
  int PlanetaryHour = 0;     // 1..24, the hour of the chart's moment
  int DayRuler =
      0;  // 1..7 index into RulerNames (Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn)
  int HourRuler = 0;  // 1..7 index into RulerNames
};

// The ruler (1..7 as DayRuler) of planetary hour `hour` (1..24) of a day
// ruled by `dayRuler`: hour 1 is the day's ruler, each next hour the planet
// five places further on (the Chaldean order Saturn, Jupiter, Mars, Sun,
// Venus, Mercury, Moon).
int HourRulerOf(int hour, int dayRuler);

// Computes the hours of the chart's date and place from the town's sunrises
// and sunset around the moment (the Sun computed at each; sunLongitude is
// not read). Returns false, leaving the table untouched, where the Sun does
// not rise or set there (polar day or night), so no undefined hour reaches
// the chart.
bool CalcPlanetHours(float universalTime, float geocentricLatitude, float geoLongitude,
                     double sunLongitude, double julianDayUT, double julianDay0h, float timeZone,
                     PlanetaryHourTable& table);
