#include "judgement/hourtables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kTop = 10;           // pixels, top of the first line
constexpr int kLinePitch = 25;     // pixels between lines
constexpr int kLeftColumn = 25;    // pixels, x of the first column's lines
constexpr int kRightColumn = 250;  // pixels, x of the second column's lines
constexpr int kLeftTime = 130;     // pixels, x of the planetary hours' start times
constexpr int kRightTime = 370;
constexpr int kHoursPerColumn = 12;
constexpr int kDaysPerColumn = 15;
constexpr int kCellGap = 4;     // pixels kept free before the next cell of a line
constexpr int kColumnGap = 16;  // pixels kept free before the second column
constexpr int kFontSize = 14;   // points, the window's font
constexpr int kScreenPixelsPerInch = 96;
const char* const kTableFont = "System";

// Two digits, a leading zero below 10.
std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// The room of each cell in the layout: up to the next cell of its line (or
// the layout's right edge), less a gap, a wider one before the second column.
std::vector<int> CellRoom(const std::vector<TableCell>& cells, int layoutWidth) {
  std::vector<int> room(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    int end = layoutWidth;
    for (const TableCell& other : cells)
      if (other.Y == cells[i].Y && other.X > cells[i].X) end = std::min(end, other.X);
    const bool beforeColumn = cells[i].X < kRightColumn && end == kRightColumn;
    room[i] = end - cells[i].X - (beforeColumn ? kColumnGap : kCellGap);
  }
  return room;
}

void SetCellFont(TCanvas& canvas, const TableCell& cell, bool monochrome) {
  canvas.Font.Color = cell.Current && !monochrome ? clRed : clBlack;
  canvas.Font.Bold = cell.Current && monochrome;
}

// Whether every cell fits its room (and its line) at the canvas's font size.
bool CellsFit(TCanvas& canvas, const std::vector<TableCell>& cells, const std::vector<int>& room,
              double scale, bool monochrome) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    SetCellFont(canvas, cells[i], monochrome);
    if (canvas.TextWidth(cells[i].Text) > room[i] * scale) return false;
    if (canvas.TextHeight(cells[i].Text) > kLinePitch * scale) return false;
  }
  return true;
}

}  // namespace

std::string ClockText(float hours) {
  int h, m, s;
  DegToDms(hours, h, m, s);
  h %= 24;
  if (h < 0) h += 24;
  return TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
}

DateTimeToSecond LocalMomentOf(double chartJulianDay, float timeZone) {
  DateTimeToSecond t = JulianDayToDateSecond(UniversalJulianDay(chartJulianDay) + timeZone / 24.0);
  if (t.Year < 1) t.Year -= 1;
  return t;
}

std::vector<TableCell> PlanetHourCells(const PlanetaryHourTable& table,
                                       const std::string rulerNames[8], int currentHour) {
  std::vector<TableCell> cells;
  for (int n = 1; n <= 2 * kHoursPerColumn; ++n) {
    const bool right = n > kHoursPerColumn;
    const int y = kTop + kLinePitch * ((n - 1) % kHoursPerColumn);
    const bool known = table.DayRuler >= 1 && table.DayRuler <= 7;
    const std::string ruler = known ? rulerNames[HourRulerOf(n, table.DayRuler)] : std::string();
    const bool current = n == currentHour;
    cells.push_back({right ? kRightColumn : kLeftColumn, y, TwoDigits(n) + "  " + ruler, current});
    cells.push_back(
        {right ? kRightTime : kLeftTime, y, ClockText(table.HourStart[n - 1]), current});
  }
  return cells;
}

std::vector<TableCell> MoonDayCells(const LunarDayTable& table, float timeZone, int currentDay) {
  std::vector<TableCell> cells;
  const int count = std::clamp(table.LunarDayCount, 0, 30);
  for (int n = 1; n <= count; ++n) {
    const DateTimeToSecond t = LocalMomentOf(table.LunarDayStart[n - 1], timeZone);
    const std::string blanks(5, ' ');
    const std::string text = TwoDigits(n) + blanks + TwoDigits(t.Day) + "." + TwoDigits(t.Month) +
                             "." + std::to_string(t.Year) + blanks + TwoDigits(t.Hour) + ":" +
                             TwoDigits(t.Minute) + ":" + TwoDigits(t.Second);
    const bool right = n > kDaysPerColumn;
    cells.push_back({right ? kRightColumn : kLeftColumn,
                     kTop + kLinePitch * ((n - 1) % kDaysPerColumn), text, n == currentDay});
  }
  return cells;
}

void DrawTable(const std::vector<TableCell>& cells, int layoutWidth, int layoutHeight,
               TCanvas& canvas, const TablePicture& picture) {
  const bool monochrome = picture.ColorMode == 0;
  const TColor back = picture.ColorMode == 2 ? picture.WindowColor : clWhite;
  canvas.Pen = {back, 1, psSolid};
  canvas.Brush = {back, bsSolid};
  canvas.FillRect(MakeRect(0, 0, picture.Width, picture.Height));
  if (picture.Width <= 0 || picture.Height <= 0) return;

  const double scale = picture.Scaled ? std::min(static_cast<double>(picture.Width) / layoutWidth,
                                                 static_cast<double>(picture.Height) / layoutHeight)
                                      : 1.0;
  // the window's size, or as much larger or smaller in pixels as the layout
  // is scaled, whatever the target's pixels per inch
  const int largest =
      picture.Scaled
          ? std::max(1, static_cast<int>(std::lround(kFontSize * scale * kScreenPixelsPerInch /
                                                     canvas.PixelsPerInch())))
          : kFontSize;
  canvas.Font = TFont{};
  canvas.Font.Name = kTableFont;
  const std::vector<int> room = CellRoom(cells, layoutWidth);
  int low = 1, high = largest;
  while (low < high) {
    const int size = (low + high + 1) / 2;
    canvas.Font.Size = size;
    if (CellsFit(canvas, cells, room, scale, monochrome))
      low = size;
    else
      high = size - 1;
  }
  canvas.Font.Size = low;
  canvas.Brush.Style = bsClear;
  for (const TableCell& cell : cells) {
    SetCellFont(canvas, cell, monochrome);
    canvas.TextOut(static_cast<int>(std::lround(cell.X * scale)),
                   static_cast<int>(std::lround(cell.Y * scale)), cell.Text);
  }
}

TablePicture TableOf(const CompanionPicture& picture) {
  TablePicture table;
  table.Width = picture.Width;
  table.Height = picture.Height;
  table.ColorMode = picture.ColorMode;
  table.WindowColor = clBtnFace;
  table.Scaled = !picture.OnScreen;
  return table;
}
