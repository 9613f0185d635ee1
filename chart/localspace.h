// The local-space chart's computation: the horizontal coordinates of the ten
// planets (Sun to Pluto) at the chart's place and moment, their ranking
// around the compass with labels spread apart, and the text of a planet's
// hint. No drawing and no Qt here; the window and the export draw from the
// record filled by these functions.
#pragma once

#include <string>

#include "chart/chartrecord.h"

inline constexpr int kLocalSpacePlanetCount = 10;  // bodies 0..9, Sun to Pluto
// Smallest angle between two neighbouring labels, degrees.
inline constexpr float kLocalSpaceLabelGap = 4.0f;

// Slots of one place of the ranking.
enum LocalSpaceSlot {
  kSlotRankAngle = 0,     // 270 - azimuth, [0, 360): angle on the drawing
  kSlotSortedAngle = 1,   // the rank angles in ascending order
  kSlotLabelAngle = 2,    // label angle after spreading
  kSlotOriginAzimuth = 3  // azimuth from the chosen origin, [0, 360)
};

// What the local-space window holds between drawings.
struct LocalSpaceRecord {
  float Azimuth[kLocalSpacePlanetCount] = {};   // degrees from North through East
  float Altitude[kLocalSpacePlanetCount] = {};  // degrees above the horizon
  // [i][kSlotRankAngle] and [i][kSlotOriginAzimuth] are by planet i;
  // [r][kSlotSortedAngle] and [r][kSlotLabelAngle] by place r of the ranking.
  float LocalSpaceSlots[kLocalSpacePlanetCount][4] = {};
  int LocalSpaceOrder[kLocalSpacePlanetCount] = {};  // planet at each place
  int LabelRow[kLocalSpacePlanetCount] = {};         // 0 inner, 1 outer label row per place
};

// Azimuth (degrees from North through East, [0, 360)) and altitude (degrees)
// of a direction given by its hour angle and declination, at a latitude
// (all three in radians).
void HorizontalFromEquatorial(double hourAngle, double declination, double latitude, float& azimuth,
                              float& altitude);

// Azimuth and altitude of bodies 0..9 of the chart: ecliptic positions
// (EclipticLongitude, EclipticLatitude, BodyDistance) turned to the equator
// of J2000-based centuries of JulianDayUT, local sidereal time from
// JulianDay0h, UniversalTime and GeoLongitude, latitude GeocentricLatitude.
void CalcHorizontalCoords(const ChartRecord& chart, LocalSpaceRecord& space);

// Ranks the planets around the drawing and spreads their labels at least
// kLocalSpaceLabelGap apart, alternating the label row of crowded
// neighbours; fills slot kSlotOriginAzimuth from the East point
// (fromEastPoint) or from the South point. The ranking is stable (equal
// angles keep planet order) and a planet whose angle is not a number ranks
// last, so every place holds exactly one planet.
void SortLocalSpacePlanets(LocalSpaceRecord& space, bool fromEastPoint);

// The hint of planet i: its display name, ":" and its azimuth from the
// chosen origin as DD°MM'SS", code page 1251; "—" in place of the angle
// when it is not a number.
std::string LocalSpaceHint(const ChartRecord& chart, const LocalSpaceRecord& space, int planet);

// Degrees as the tables show them: sign, degrees "°", minutes "'", seconds
// and a double quote, minutes and seconds with two digits ("-0°30'00\"");
// "—" when the value is not a number. Code page 1251.
std::string DegreesText(double degrees);
