#include "judgement/dynamicsdrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/chartrecord.h"
#include "chart/companiondrawing.h"
#include "engine/astromath.h"

namespace {

const char* const kGlyphFont = "Zarn";
const char kDegree = '\xB0';  // code page 1251

constexpr TColor kLightGrey = RGBColor(220, 220, 220);
constexpr TColor kMidGrey = RGBColor(128, 128, 128);
constexpr TColor kDarkGreen = RGBColor(0, 128, 0);
constexpr TColor kPureRed = RGBColor(255, 0, 0);
constexpr TColor kPureBlue = RGBColor(0, 0, 255);
constexpr TColor kSignYellow = RGBColor(255, 255, 0);

constexpr int kTickLength = 6;         // pixels below the bottom axis
constexpr int kMarkLift = 2;           // pixels the time marks start above the bottom
constexpr int kHoverReach = 105;       // pixels the hover box moves left at the right edge
constexpr double kPrinterSide = 3500;  // printer pixels that count as scale 1
constexpr int kSignDivisions = 6;
constexpr int kAspectDivisions = 4;

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// The canvas with the picture's origin added to every coordinate.
struct Surface {
  TCanvas& c;
  int ox, oy;
  void Line(int x1, int y1, int x2, int y2) {
    c.MoveTo(ox + x1, oy + y1);
    c.LineTo(ox + x2, oy + y2);
  }
  void Text(int x, int y, const std::string& text) { c.TextOut(ox + x, oy + y, text); }
  void Pen(TColor color, int width, TPenStyle style = psSolid) { c.Pen = {color, width, style}; }
};

// Sizes and colours of one drawing.
struct Frame {
  GraphArea a;
  int w = 0, h = 0;
  double s = 1;  // scale
  double u = 0;  // text unit, pixels
  int mode = 2;
  TColor Grid() const { return mode == 0 ? ColorToRGB(clBtnFace) : kLightGrey; }
  TColor Rising(TColor colour) const { return mode == 0 ? clBlack : colour; }
  TColor Falling() const { return mode == 0 ? kMidGrey : kPureRed; }
};

Frame MakeFrame(const DynamicsPicture& p) {
  Frame f;
  f.w = std::max(p.Width, 1);
  f.h = std::max(p.Height, 1);
  f.a = DynamicsGraphArea(f.w, f.h);
  f.s = p.Printer ? std::max(f.w, f.h) / kPrinterSide : 1.0;
  f.u = f.h / 35.0 * f.s;
  f.mode = p.ColorMode;
  return f;
}

void LabelFont(TCanvas& c, const DynamicsPicture& p, const Frame& f) {
  c.Font = TFont{};
  if (!p.TableFont.empty()) c.Font.Name = p.TableFont;
  c.Font.Color = clBlack;
  c.Font.Size = std::max(1, p.Printer ? Trunc(f.h * 0.02 / 3 / f.s) : f.h / 38);
  c.Brush.Style = bsClear;
}

// A vertical mark through column x from the top of the area to a tick
// below its bottom.
void StationLine(Surface& out, const Frame& f, int x, TColor colour) {
  out.Pen(colour, 1);
  out.Line(x, f.a.Top, x, f.a.Bottom + kTickLength);
}

// Axes, the ticks at both ends and at the chart's moment, the grey line at
// the right end and the green line at the moment.
void DrawAxes(Surface& out, const Frame& f, const DynamicsRecord& r) {
  const GraphArea& a = f.a;
  out.Pen(clBlack, 2);
  out.Line(a.Left, a.Bottom, a.Right, a.Bottom);
  out.Line(a.Left, a.Bottom, a.Left, a.Top);
  int moment = 0;
  // the chart's moment is marked only while a zoom keeps it on the axis
  const bool hasMoment =
      MomentColumn(r, a, r.WindowMoment, moment) && moment >= a.Left && moment <= a.Right;
  out.Pen(clBlack, 1);
  out.Line(a.Left, a.Bottom, a.Left, a.Bottom + kTickLength);
  out.Line(a.Right, a.Bottom, a.Right, a.Bottom + kTickLength);
  if (hasMoment) out.Line(moment, a.Bottom, moment, a.Bottom + kTickLength);
  out.Pen(f.Grid(), 1);
  out.Line(a.Right, a.Bottom - kMarkLift, a.Right, a.Top);
  if (hasMoment) {
    out.Pen(f.mode == 0 ? kMidGrey : kDarkGreen, 1);
    out.Line(moment, a.Bottom - kMarkLift, moment, a.Top);
  }
}

void DrawDateLabels(Surface& out, const Frame& f, const DynamicsRecord& r,
                    const DynamicsPicture& p) {
  LabelFont(out.c, p, f);
  const int y = f.a.Bottom + Trunc(1.5 * f.u);
  // each label below its end of the axis, kept within the picture
  const auto label = [&](int x, double jd) {
    const std::string text = LocalMomentText(jd, p.TimeZone);
    x = std::min(x, f.w - out.c.TextWidth(text) - 1);
    out.Text(std::max(x, 0), y, text);
  };
  label(f.a.Left - Trunc(5 * f.u), r.WindowStart);
  label(f.a.Right - Trunc(5 * f.u), r.WindowEnd);
}

// A grey line across the area at y (none for the bottom) and its label.
void ScaleLine(Surface& out, const Frame& f, int y, const std::string& label, bool line,
               double labelX) {
  if (line) {
    out.Pen(f.Grid(), 1);
    out.Line(f.a.Left, y, f.a.Right, y);
  }
  // left of the vertical axis even where the label is wider than its place
  const int x = std::min(Trunc(labelX), f.a.Left - 3 - out.c.TextWidth(label));
  out.Text(std::max(x, 0), y - Trunc(0.9 * f.u), label);
}

void DrawSignGraph(Surface& out, const Frame& f, const DynamicsRecord& r,
                   const DynamicsSamples& samples, const DynamicsPicture& p, bool curves) {
  const GraphArea& a = f.a;
  const int sign = static_cast<int>(std::floor(p.LonAtMomentA / 30.0));
  const int columns = static_cast<int>(samples.LonA.size());
  std::vector<double> v(curves ? columns : 0);
  for (int i = 0; i < static_cast<int>(v.size()); ++i)
    v[i] = DegreesIntoSign(samples.LonA[i], sign);
  const double lowest = curves ? SignGraphFloor(samples, sign) : 0.0;
  // A body back in the preceding sign: the axis reaches below 0 by as much.
  int zeroY = a.Bottom;
  if (lowest < 0) zeroY = a.Bottom - Trunc((a.Bottom - a.Top) / (30 / -lowest + 1));
  const double perDegree = (zeroY - a.Top) / 30.0;
  const auto yOf = [&](double deg) { return Trunc(zeroY - perDegree * deg); };
  const double labelX = a.Left - 6 - 2.5 * f.u;
  LabelFont(out.c, p, f);
  for (int i = 0; i <= kSignDivisions; ++i) {
    char label[16];
    std::snprintf(label, sizeof label, "%d%c", 5 * i, kDegree);
    ScaleLine(out, f, zeroY - i * (zeroY - a.Top) / kSignDivisions, label, i != 0, labelX);
  }
  if (lowest < 0) {
    const int n = Trunc(std::floor(-lowest));
    char label[16];
    std::snprintf(label, sizeof label, "-%d%c", n, kDegree);
    ScaleLine(out, f, yOf(-n), label, true, labelX);
  }
  DrawAxes(out, f, r);
  // the sign's glyph at mid-height left of the scale
  out.c.Font = TFont{};
  out.c.Font.Name = kGlyphFont;
  out.c.Font.Color = clBlack;
  out.c.Font.Size = std::max(1, p.Printer ? Trunc(0.02 * f.h / f.s) : Trunc(0.04 * f.h));
  out.c.Brush.Style = bsClear;
  const std::string glyph(1, p.SignGlyph);
  const int glyphW = out.c.TextWidth(glyph), glyphH = out.c.TextHeight(glyph);
  out.Text(std::max(0, Trunc(labelX) - glyphW - Trunc(f.u / 2)), (a.Top + a.Bottom - glyphH) / 2,
           glyph);
  if (v.empty()) return;
  // direct stretches green, retrograde red; a station marked where they meet
  bool falling = false;
  for (int i = 1; i < columns; ++i) {
    const bool down = v[i] < v[i - 1];
    const int x0 = a.Left + i - 1, x1 = a.Left + i;
    if (i > 1 && down != falling)
      StationLine(out, f, x0, down ? f.Falling() : f.Rising(kDarkGreen));
    falling = down;
    out.Pen(down ? f.Falling() : f.Rising(kDarkGreen), 1);
    out.Line(x0, yOf(v[i - 1]), x1, yOf(v[i]));
  }
}

void DrawAspectGraph(Surface& out, const Frame& f, const DynamicsRecord& r,
                     const DynamicsSamples& samples, const DynamicsPicture& p, bool curves) {
  const GraphArea& a = f.a;
  const float orb = r.DynAspectOrb;
  const double labelX = a.Left - 6 - 2.5 * f.u;
  LabelFont(out.c, p, f);
  for (int i = 0; i <= kAspectDivisions; ++i) {
    int d = 0, m = 0, s = 0;
    DegToDms(orb * (kAspectDivisions - i) / kAspectDivisions, d, m, s);
    char label[24];
    std::snprintf(label, sizeof label, "%d%c%02d'", d, kDegree, m);
    ScaleLine(out, f, a.Top + i * (a.Bottom - a.Top) / kAspectDivisions, label, i != 0, labelX);
  }
  DrawAxes(out, f, r);
  if (!curves || !(orb > 0)) return;
  const int columns = static_cast<int>(samples.LonA.size());
  bool haveLast = false, lastRising = true, signFlag = false, signMarked = false;
  double lastC = 0;
  int lastX = 0, lastY = 0;
  for (int i = 0; i < columns; ++i) {
    if (i > 0 && samples.OtherSign[i]) signFlag = true;
    const double c = AspectCloseness(samples.LonA[i], samples.LonB[i], r.DynAspectKind, orb);
    if (c < 0) {
      haveLast = false;  // out of orb: the stroke breaks
      continue;
    }
    const int x = a.Left + i;
    const int y = Trunc(a.Bottom - (a.Bottom - a.Top) * c / orb);
    const bool rising = !haveLast || c >= lastC;
    const TColor colour = rising ? f.Rising(kPureBlue) : f.Falling();
    if (haveLast && rising != lastRising) StationLine(out, f, x - 1, colour);
    if (signFlag && !signMarked) {
      StationLine(out, f, x - 1, f.mode == 0 ? kMidGrey : kSignYellow);
      signMarked = true;
    }
    if (haveLast) {
      out.Pen(colour, 1);
      out.Line(lastX, lastY, x, y);
    }
    haveLast = true;
    lastRising = rising;
    lastC = c;
    lastX = x;
    lastY = y;
  }
}

}  // namespace

GraphArea DynamicsGraphArea(int w, int h) {
  return GraphArea{w / 10, 9 * w / 10, h / 10, 9 * h / 10 - 10};
}

GraphArea DrawDynamics(const DynamicsRecord& record, DynamicsSamples& samples,
                       const DynamicsPicture& picture, const DynamicsMouse& mouse,
                       TCanvas& canvas) {
  const Frame f = MakeFrame(picture);
  Surface out{canvas, picture.OriginX, picture.OriginY};
  const TColor back = picture.ColorMode == 2 ? picture.WindowColor : clWhite;
  canvas.Pen = {back, 1, psSolid};
  canvas.Brush = {back, bsSolid};
  canvas.FillRect(MakeRect(out.ox, out.oy, out.ox + f.w, out.oy + f.h));
  // curves only over a window that has a length, once the chart is there
  const bool curves = picture.LabelsActive && record.WindowEnd > record.WindowStart;
  if (curves) SampleDynamics(record, f.a, picture.LonAtMomentA, picture.LonAtMomentB, samples);
  if (record.DynamicsMode == 0)
    DrawAspectGraph(out, f, record, samples, picture, curves);
  else
    DrawSignGraph(out, f, record, samples, picture, curves);
  if (picture.LabelsActive) DrawDateLabels(out, f, record, picture);
  if (!picture.OnScreen) return f.a;
  if (mouse.Dragging) {
    canvas.Pen = {clRed, 1, psDash};
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(
        std::min(mouse.DragStartX, mouse.MouseX), std::min(mouse.DragStartY, mouse.MouseY),
        std::max(mouse.DragStartX, mouse.MouseX), std::max(mouse.DragStartY, mouse.MouseY));
  }
  if (mouse.Hover && picture.LabelsActive)
    DrawHintBox(canvas, f.w, mouse.MouseX, mouse.MouseY,
                LocalMomentText(ColumnMoment(record, f.a, mouse.MouseX), picture.TimeZone),
                kHoverReach, true);
  return f.a;
}
