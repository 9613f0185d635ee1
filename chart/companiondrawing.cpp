#include "chart/companiondrawing.h"

#include <algorithm>
#include <cmath>

#include "chart/positions.h"
#include "engine/astromath.h"

namespace {

const char* const kGlyphFont = "Zarn";
const char* const kHintFont = "Ms Sans Serif";
constexpr int kHintFontSize = 8;  // points
constexpr int kHintEdge = 85;     // pixels kept free at the right edge
constexpr int kHintTopEdge = 20;  // pixels
constexpr int kHintDrop = 35;     // pixels the box moves down near the top
constexpr int kHintRaise = 15;    // pixels the box stands above the mouse
constexpr int kHintGap = 2;       // pixels right of the mouse
constexpr TColor kHintBack = RGBColor(254, 254, 200);

// Positions table: off screen the font size is found from its cells at a
// probe size.
constexpr int kProbeFontSize = 100;  // points

// Local-space chart.
constexpr TColor kSkyBlue = RGBColor(149, 220, 249);    // outer disc
constexpr TColor kAxisCyan = RGBColor(0, 128, 128);     // axes
constexpr TColor kNavy = RGBColor(0, 0, 128);           // axis labels, centre
constexpr TColor kGrey = RGBColor(128, 128, 128);       // rays, monochrome fills
constexpr TColor kDotBlue = RGBColor(165, 201, 255);    // ray ends, North needle
constexpr TColor kNeedleRed = RGBColor(253, 125, 125);  // South needle
constexpr double kGlyphFactor = 0.6825939;              // glyph offset per point, bitmap
constexpr double kPrinterGlyphFactor = 2.04778158;
// Chart objects whose glyphs label the West, South, East and North axes.
constexpr int kAxisLabelObject[4] = {34, 33, 35, 32};

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// The point at radius r and drawing angle a (degrees): 270 up, 180 right.
TPoint At(int cx, int cy, double r, double a) {
  return {Trunc(cx - r * std::cos(a * kDegToRad)), Trunc(cy + r * std::sin(a * kDegToRad))};
}

void Circle(TCanvas& c, int cx, int cy, int r) { c.Ellipse(cx - r, cy - r, cx + r, cy + r); }

void Line(TCanvas& c, TPoint a, TPoint b) {
  c.MoveTo(a.X, a.Y);
  c.LineTo(b.X, b.Y);
}

}  // namespace

void DrawHintBox(TCanvas& canvas, int width, int mouseX, int mouseY, const std::string& text,
                 int reach, bool keepInside) {
  canvas.Font = TFont{};
  canvas.Font.Name = kHintFont;
  canvas.Font.Size = kHintFontSize;
  canvas.Font.Color = clBlack;
  if (keepInside) reach = std::max(reach, canvas.TextWidth(text) + kHintGap + 1);
  int shiftX = 0, shiftY = 0;
  if (width - mouseX < kHintEdge) shiftX = Trunc(reach - std::abs(mouseX - width));
  if (mouseY < kHintTopEdge) shiftY = kHintDrop;
  canvas.Brush = {kHintBack, bsSolid};
  canvas.TextOut(mouseX + kHintGap - shiftX, mouseY + shiftY - kHintRaise, text);
}

void DrawPositions(const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture,
                   bool withSigns) {
  const bool colours = picture.ColorMode == 2;
  const TColor back = colours ? picture.WindowColor : clWhite;
  canvas.Pen = {back, 1, psSolid};
  canvas.Brush = {back, bsSolid};
  canvas.FillRect(MakeRect(0, 0, picture.Width, picture.Height));
  canvas.Font = TFont{};
  canvas.Font.Name = kGlyphFont;
  canvas.Font.Color = colours ? chart.ChartColors[6] : clBlack;
  std::string lines[kObjectCount];
  for (int o = 0; o < kObjectCount; ++o) lines[o] = PositionLine(chart, o, withSigns);
  // the second column starts one glyph beyond the widest line of the first
  auto columnWidth = [&] {
    int widest = 0;
    for (int o = 0; o < kBodyCount; ++o) widest = std::max(widest, canvas.TextWidth(lines[o]));
    return widest + canvas.TextWidth("a");
  };
  // the lines stand half a glyph in from the left edge, clear of the border
  auto margin = [&] { return canvas.TextWidth("a") / 2; };
  canvas.Font.Size = kPositionsScreenFontSize;
  if (!picture.OnScreen) {
    // the largest size at which the two columns fill the picture, whatever
    // the target's pixels per inch
    canvas.Font.Size = kProbeFontSize;
    const double down =
        static_cast<double>(picture.Height) / (kPositionRows * canvas.TextHeight("a"));
    const double across = static_cast<double>(picture.Width) / (margin() + 2 * columnWidth());
    canvas.Font.Size = std::max(1, Trunc(kProbeFontSize * std::min(down, across)));
  }
  canvas.Brush.Style = bsClear;
  const int lineHeight = canvas.TextHeight("a");
  const int left = margin();
  const int secondColumn = left + columnWidth();
  for (int o = 0; o < kObjectCount; ++o)
    canvas.TextOut(o < kBodyCount ? left : secondColumn, (o % kBodyCount) * lineHeight, lines[o]);
}

void DrawLocalSpaceChart(const ChartRecord& chart, LocalSpaceRecord& space, bool fromEastPoint,
                         TCanvas& c, const CompanionPicture& picture, LocalSpaceHover* hover) {
  SortLocalSpacePlanets(space, fromEastPoint);
  const bool mono = picture.ColorMode == 0;
  const TColor back = picture.ColorMode == 2 ? picture.WindowColor : clWhite;
  c.Pen = {back, 1, psSolid};
  c.Brush = {back, bsSolid};
  c.FillRect(MakeRect(0, 0, picture.Width, picture.Height));

  const int cx = picture.Width / 2, cy = picture.Height / 2;
  const int R = std::min(Trunc(cx * 8.7 * 0.1), Trunc(cy * 8.7 * 0.1));
  if (R <= 0) return;
  int fontSize, dot;
  double k;
  if (picture.Printer) {
    const double s = R * 0.0005;
    k = kPrinterGlyphFactor * s * 2.5;
    fontSize = Trunc(R * 16 / 350.0 * 0.2 / s);
    dot = Trunc(R * 10 * 0.005 * 0.2);
  } else {
    k = kGlyphFactor;
    fontSize = Trunc(R * 16 * 0.004);
    dot = std::min(Trunc(R * 3 * 0.005), 3);
  }
  fontSize = std::max(fontSize, 3);

  // outer disc and the two scale circles
  c.Pen = {clBlack, 2, psSolid};
  c.Brush = {mono ? clWhite : kSkyBlue, bsSolid};
  Circle(c, cx, cy, R);
  const int R3 = Trunc(0.75 * R);
  const int inner = Trunc(0.97 * R3);
  c.Pen = {clBlack, 1, psSolid};
  c.Brush = {clWhite, bsSolid};
  Circle(c, cx, cy, R3);
  Circle(c, cx, cy, inner);

  // axes with the glyphs of the West, South, East and North points
  c.Font = TFont{};
  c.Font.Name = kGlyphFont;
  c.Font.Size = fontSize;
  c.Font.Color = mono ? clBlack : kNavy;
  for (int q = 0; q < 4; ++q) {
    const double a = 90.0 * q;
    c.Pen = {mono ? clBlack : kAxisCyan, 1, psSolid};
    Line(c, {cx, cy}, At(cx, cy, R, a));
    const TPoint p = At(cx, cy, 1.05 * R, a);
    c.Brush.Style = bsClear;
    c.TextOut(Trunc(p.X - fontSize * k), Trunc(p.Y - fontSize * k),
              std::string(1, ObjectGlyphOf(chart, kAxisLabelObject[q])));
  }

  // degree scale: every degree inside the circle R3, every 15 degrees outside
  c.Pen = {clBlack, 1, psSolid};
  for (int deg = 0; deg < 360; ++deg) {
    Line(c, At(cx, cy, inner, deg), At(cx, cy, R3, deg));
    if (deg % 15 == 0) Line(c, At(cx, cy, R3, deg), At(cx, cy, R3 / 0.98, deg));
  }

  // the planets: ray, glyph on its label row, dot at the ray's end
  c.Font.Size = std::max(fontSize - 2, 1);
  c.Font.Color = clBlack;
  for (int r = 0; r < kLocalSpacePlanetCount; ++r) {
    const int p = space.LocalSpaceOrder[r];
    const float a = space.LocalSpaceSlots[r][kSlotLabelAngle];
    if (hover) hover->HoverRects[p] = {-1, -1, -1, -1};
    if (!std::isfinite(a)) continue;  // a direction that is not a number is left out
    c.Pen = {kGrey, 1, psSolid};
    const TPoint end = At(cx, cy, R, a);
    Line(c, {cx, cy}, end);
    const int rl = Trunc(R3 + (R - R3) * 0.2 + (R - R3) / 3.0 * space.LabelRow[r]);
    const int gx = Trunc(cx - 1.05 * rl * std::cos(a * kDegToRad) - fontSize * k);
    const int gy = Trunc(cy + 1.05 * rl * std::sin(a * kDegToRad) - fontSize * k);
    c.Brush.Style = bsClear;
    c.TextOut(gx, gy, std::string(1, chart.ObjectGlyph[p]));
    if (hover)
      hover->HoverRects[p] = {gx, gy, gx + Trunc(fontSize * k * 4 / 3),
                              gy + Trunc(fontSize * k * 2)};
    c.Pen = {mono ? kGrey : kDotBlue, 1, psSolid};
    c.Brush = {mono ? kGrey : kDotBlue, bsSolid};
    if (dot > 0) Circle(c, end.X, end.Y, dot);
  }

  // compass needle and its centre
  const int L = inner;
  const int half = L / 15;
  c.Pen = {mono ? kGrey : clBlack, 1, psSolid};
  c.Brush = {mono ? kGrey : kDotBlue, bsSolid};
  c.Polygon({{cx, cy - L}, {cx - half, cy}, {cx + half, cy}});
  c.Brush = {mono ? kGrey : kNeedleRed, bsSolid};
  c.Polygon({{cx, cy + L}, {cx - half, cy}, {cx + half, cy}});
  c.Pen = {mono ? clBlack : kNavy, 1, psSolid};
  c.Brush = {mono ? clBlack : kNavy, bsSolid};
  Circle(c, cx, cy, L / 14);

  if (hover && hover->HintVisible && picture.OnScreen)
    DrawHintBox(c, picture.Width, hover->HintX, hover->HintY, hover->HintText);
}
