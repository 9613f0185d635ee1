// The tables of the planetary-hours and lunar-days windows: the text of
// their lines and their drawing onto a canvas. A table is laid out in two
// columns of lines 25 pixels apart; the window draws it at that size, an
// export or a printed page gets the same layout scaled to fill its picture.
// The line of the chart's own hour or lunar day is drawn in red (in bold in
// a monochrome picture); a table kept from an earlier chart marks none.
#pragma once

#include <string>
#include <vector>

#include "chart/companiondrawing.h"
#include "chart/lunardays.h"
#include "chart/planetaryhours.h"
#include "engine/astromath.h"
#include "platform/canvas.h"
#include "platform/graphics.h"

// One text of a table, at its place in the window's layout.
struct TableCell {
  int X = 0;             // pixels, left edge in the window's layout
  int Y = 0;             // pixels, top edge
  std::string Text;      // code page 1251
  bool Current = false;  // part of the chart's own line
};

// The picture a table is drawn into.
struct TablePicture {
  int Width = 0;                   // pixels
  int Height = 0;                  // pixels
  int ColorMode = 2;               // 2 the window's colour, 1 white, 0 black on white
  TColor WindowColor = clBtnFace;  // background in colour mode 2
  bool Scaled = false;             // the layout scaled to fill the picture (off screen)
};

// The table picture of a companion picture: the tables' own window colour,
// and the layout scaled to the picture off screen.
TablePicture TableOf(const CompanionPicture& picture);

// Local clock time of hours in [0, 24) as "hh:mm:ss", to the second as the
// angle helpers split it (a time that comes to 24:00:00 is written 00:00:00).
std::string ClockText(float hours);

// The civil date and time at which a moment of the chart's time scale falls
// in a zone (hours East), to the second; the year as written (the year
// before 1 shown one less, since there is no year 0).
DateTimeToSecond LocalMomentOf(double chartJulianDay, float timeZone);

// The lines of the planetary hours: hour n (two digits), two blanks and its
// ruler's name at x 25 (hours 1..12) or 250 (13..24), its start at x 130 or
// 370, from y 10 on. rulerNames[1..7]: Sun, Moon, Mars, Mercury, Jupiter,
// Venus, Saturn. currentHour 1..24 marks the chart's hour, 0 none.
std::vector<TableCell> PlanetHourCells(const PlanetaryHourTable& table,
                                       const std::string rulerNames[8], int currentHour);

// The lines of the lunar days 1..LunarDayCount: the day (two digits), five
// blanks, the local date of its start as dd.mm.yyyy, five blanks and the
// local time as hh:mm:ss; days 1..15 at x 25, 16..30 at x 250, from y 10
// on. currentDay 1..30 marks the chart's day, 0 none.
std::vector<TableCell> MoonDayCells(const LunarDayTable& table, float timeZone, int currentDay);

// Width and height of the planetary-hours and lunar-days layouts, pixels.
inline constexpr int kPlanetHourLayoutWidth = 470;
inline constexpr int kPlanetHourLayoutHeight = 310;
inline constexpr int kMoonDayLayoutWidth = 480;
inline constexpr int kMoonDayLayoutHeight = 385;

// Clears the picture and draws the cells of a layout of the given size in
// the "System" font at 14 points or, where the texts would run into the next
// cell of their line, at the largest size at which none does.
void DrawTable(const std::vector<TableCell>& cells, int layoutWidth, int layoutHeight,
               TCanvas& canvas, const TablePicture& picture);
