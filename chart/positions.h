// The positions table and the planet parameters, as text: one line of the
// table per chart object (glyph, retrograde mark, position in the sign, sign
// glyph) and the grid of ecliptic, equatorial and horizontal coordinates,
// distance and daily motion of the Sun to Pluto. No drawing and no Qt here.
#pragma once

#include <string>

#include "chart/chartrecord.h"

inline constexpr int kPositionRows = 18;                // lines per column of the table
inline constexpr int kParameterRows = 11;               // title row and bodies 0..9
inline constexpr int kParameterColumns = 9;             // name and eight values
inline constexpr int kEntryParameterTitle = 268;        // column titles are entries 268..276
inline constexpr unsigned char kDegreeMarkGlyph = 145;  // glyph-font degree mark

// Sign 0..11 and degrees, minutes and seconds within it of a longitude,
// taken from one rounding of the whole circle: a longitude a hair below 360
// (a North point stored as a float) reads 0°00'00" Aries, never sign 12 or
// 30° of Pisces.
struct SignPosition {
  int Sign = 0;     // 0 Aries .. 11 Pisces
  int Degrees = 0;  // 0..29
  int Minutes = 0;  // 0..59
  int Seconds = 0;  // 0..59
};
SignPosition SignPositionOf(double longitude);

// The table's line of chart object o 0..35 in the glyph font: its glyph, the
// retrograde mark "!" (bodies only) or ":", the degrees with the degree mark,
// the minutes with "<", the seconds with "=", and the sign glyph when
// withSign.
std::string PositionLine(const ChartRecord& chart, int object, bool withSign);

// The planet-parameters grid, code page 1251: row 0 the column titles, column
// 0 the body names, then ecliptic longitude and latitude, right ascension and
// declination, azimuth and altitude, distance and daily motion.
struct PlanetParameterGrid {
  std::string Cells[kParameterRows][kParameterColumns];
};

// Fills the grid from a recomputation of the chart's moment that works on a
// copy: the chart record itself (swapped receptions and all) is not touched,
// and no equatorial switch outlives the call.
//   uiText  entries of the language file, for the titles
PlanetParameterGrid FillPlanetParameters(const ChartRecord& chart,
                                         const std::vector<std::string>& uiText);
