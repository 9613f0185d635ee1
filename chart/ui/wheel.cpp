// The chart wheel drawing.
//
// Geometry. A wheel angle a (degrees) at radius r is the point
// (cx - u r cos a, cy + r sin a): angle 0 at the left of the centre, and
// with u = 1 growing counter-clockwise on screen (u = -1 mirrors the wheel
// left to right). The European wheel draws longitude lambda at wheel angle
// lambda - o, with o = 0 (Aries on the left or right) or the querent's cusp
// (Ascendant on the left or right); the American wheel draws a
// house-proportional position x (30 degrees per house, the querent's cusp
// at 0) at wheel angle x with u = 1.
//
// Radii. R0 = 0.87 times the smaller half extent of the picture, R = R0
// times the first radius percentage; the European chain R1 (inside of the
// sign ring), R2 (inside of the body ring, outside of the houses), R3 (the
// aspect circle when houses are drawn) and R4 (centre disc) each takes its
// percentage of the one before.
//
// Glyphs are written in the glyph font "Zarn" with their text cell centred
// on their anchor point; a glyph's hover rectangle is its text cell.
#include "chart/ui/wheel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "chart/glyphslots.h"
#include "engine/astromath.h"
#include "platform/qt/canvas.h"

namespace {

constexpr double kPercent = 100.0;
constexpr int kGlyphScaleRadius =
    350;  // pixels: wheel radius at which glyph size indices apply as set
constexpr int kLastGlyphSize = kGlyphSizeCount - 1;
constexpr int kMinPrinterSizeIndex = 2;
constexpr int kMaxScreenDot = 3;           // pixels, largest body dot on a bitmap
constexpr double kScreenDotShare = 0.015;  // body dot radius per wheel radius, bitmap
constexpr double kPrinterDotShare = 0.01;  // body dot radius per wheel radius, printer

// Radii of the European wheel's parts, as shares of their reference radius.
constexpr double kTickShare = 1.03;       // 10-degree ticks from R2 outwards
constexpr double kCuspTickShare = 1.07;   // short cusp line from R3 outwards
constexpr double kCuspLabelShare = 1.05;  // cusp labels beyond the cusp tick
constexpr double kRowOneShare = 0.35;     // body row 1 between R2 and R1
constexpr double kRowTwoShare = 0.75;     // body row 2

// Radii of the American wheel's parts.
constexpr double kAmericanOuterShare = 0.93;  // Ra0 per R
constexpr double kAmericanInnerScale = 5.0 / 9.0;
constexpr double kAmericanAspectScale = 0.0125 * 0.88;
constexpr double kAmericanCuspLabelShare = 1.05;
constexpr double kAmericanPointShareNear = 1.14;  // objects 30, 31
constexpr double kAmericanPointShareFar = 1.21;   // objects 32..35
constexpr double kAmericanBodyShare = 0.93;       // body glyph radius per Ra0
constexpr double kAmericanLabelShares[3] = {0.91, 0.8, 0.69};
constexpr double kAmericanLabelStep = 3.5;   // degrees either side of a cusp or point
constexpr double kAmericanMarkShare = 1.03;  // variant marks per Ra1
// Degree and minute labels of the American wheel, as shares of the planet
// glyph size, so that the labels of glyphs 6 degrees apart stay clear of
// each other; the sign glyph among them likewise.
constexpr double kAmericanNumberShare = 0.6;
constexpr double kAmericanLabelSignShare = 0.75;
constexpr int kLabelGap = 2;      // pixels kept between a label and its neighbours
constexpr int kPointGap = 6;      // pixels kept round an American special point's label
constexpr int kMinLabelSize = 6;  // points: smallest legible label

// Retrograde mark: size and corner relative to the body glyph's cell.
constexpr double kRetroSizeShare = 5.0 / 9.0;
constexpr double kRetroDx = 0.9;   // cell widths right of the glyph's left edge
constexpr double kRetroDy = 0.55;  // cell heights below the glyph's top edge

// Variant marks (stars, parts, midpoints): the mark character, its size as
// a share of the planet glyph size, and the lunar mansions.
constexpr char kMarkGlyph = static_cast<char>(146);
constexpr double kMarkSizeShare = 0.6;
constexpr int kMansionCount = 28;
constexpr double kMansionStep = 360.0 / kMansionCount;  // degrees
constexpr double kMansionFontShare = 0.6;               // font height per width of the ring
constexpr double kPointsPerInch = 72.0;

// Lesser labels (marks, mansion numbers, the American special points) give
// way to the labels drawn before them: a mark turns at most this far along
// its ring, degrees, a special point at most kPointTurn; marks and mansion
// numbers go inward down to this share of the aspect circle's radius.
constexpr double kMarkTurn = 12.0;
constexpr double kPointTurn = 30.0;
// A European cusp label stays within this many degrees of its own line,
// and within this share of the way to the next line on either side; lines
// closer than kSameLine count as its own. Where it finds no clear place it
// is tried in smaller sizes, each this share of the last, down to
// kSmallestLabelShare of the sign size.
constexpr double kCuspLabelTurn = 5.0;
constexpr double kCuspLabelShareOfGap = 0.4;
constexpr double kSameLine = 0.01;
constexpr double kLabelShrink = 0.9;
constexpr double kSmallestLabelShare = 0.35;
constexpr double kLesserInnerShare = 0.7;
// The nearest clear place is looked for this many steps along the ring
// either way and inward.
constexpr int kSearchSteps = 24;
// A mark with no room stacks on another object's mark at most this many
// mark heights away.
constexpr int kStackReach = 3;
// Steps in which a label looks for the turn that keeps it clear of a
// neighbour, and the farthest it looks, degrees.
constexpr double kTurnStep = 0.25;
constexpr double kMaxTurn = 30.0;
// The American body columns move inward together at most this share of the
// glyphs' radius to clear the glyphs.
constexpr double kMaxColumnShift = 0.15;
constexpr double kColumnDrop = 4.0;  // text heights a text of a column may drop inward

// Reception arcs bulge this far towards the centre, pixels.
constexpr double kReceptionBulge = 20.0;
// Separation below which an object touches a fixed star of class 1, an
// Arabic part or a midpoint, degrees.
constexpr double kStarOrbClassOne = 0.5;
constexpr double kPartOrb = 1.0;
constexpr double kMidpointOrb = 1.0;
constexpr int kMidpointBodies = 16;  // midpoints of bodies 0..15

// Hint box.
constexpr int kHintEdge = 85;     // pixels kept free at the right edge
constexpr int kHintTopEdge = 20;  // pixels
constexpr int kHintDrop = 35;     // pixels the box moves down near the top
constexpr int kHintRaise = 15;    // pixels the box stands above the mouse
constexpr int kHintGap = 2;       // pixels right of the mouse
constexpr int kHintFontSize = 8;  // points

constexpr TColor kDotEdge = RGBColor(252, 71, 3);  // body within 1 degree of a sign edge
constexpr TColor kDotPlain = RGBColor(165, 201, 255);
constexpr TColor kGrey = RGBColor(128, 128, 128);
constexpr TColor kReceptionLight = RGBColor(255, 255, 0);  // domicile, exaltation
constexpr TColor kReceptionDark = RGBColor(128, 0, 0);     // detriment, fall
constexpr TColor kMansionColor = RGBColor(255, 255, 0);
constexpr TColor kHintBack = RGBColor(254, 254, 200);

const char* const kGlyphFont = "Zarn";
const char* const kHintFont = "Ms Sans Serif";
constexpr char kDegreeSign = static_cast<char>(0xB0);  // code page 1251

bool IsBody(int o) { return o >= 0 && o < kBodyCount; }

// Angle folded into (-180, 180], degrees.
double Folded(double a) {
  a = std::fmod(a, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

// Angular distance of two longitudes, degrees [0, 180].
double Separation(double a, double b) { return std::fabs(Folded(a - b)); }

int Trunc(double x) { return static_cast<int>(std::trunc(x)); }

bool IsEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// Whether two boxes overlap or come closer than `gap` pixels.
bool Intersect(const TRect& a, const TRect& b, int gap = 0) {
  return a.Left < b.Right + gap && b.Left < a.Right + gap && a.Top < b.Bottom + gap &&
         b.Top < a.Bottom + gap;
}

// Room kept round a lesser label (a mark, a mansion number, an American
// body's number) of height h pixels, so that it does not read as part of
// its neighbour.
int LesserGap(int h) { return std::max(kLabelGap, h / 3); }

// A cell of w x h pixels centred on a point, as Text places it.
TRect CellAround(TPoint p, int w, int h) {
  return TRect{p.X - w / 2, p.Y - h / 2, p.X - w / 2 + w, p.Y - h / 2 + h};
}

// Line class of an aspect kind: the index into AspectColors. Kinds 9..25,
// which the settings give no colour of their own, share the spare classes:
// the quintile family, the novile family and the septiles.
int LineClassOf(int kind) {
  switch (kind) {
    case 0:
    case 1:
    case 3:
    case 5:
    case 6:
      return 0;
    case 2:
    case 4:
    case 7:
    case 8:
      return 1;
    case 26:
    case 27:
      return 5;
    case 28:
    case 29:
      return 6;
    default:
      break;
  }
  if (kind >= 9 && kind <= 13) return 2;
  if (kind >= 14 && kind <= 19) return 3;
  return 4;
}

// Whole degrees, minutes and seconds of a longitude inside its sign.
void SignDms(double lon, int& d, int& m, int& s) {
  Normalize360(lon);
  DegToDmsD(lon - 30.0 * std::floor(lon / 30.0), d, m, s);
  if (d >= 30) d = 29, m = 59, s = 59;
}

std::string Digits(int value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d", value);
  return buf;
}

std::string Number(int value, char mark) { return Digits(value) + mark; }

// The degrees, sign and minutes of one body in the American wheel, written
// inwards under its glyph.
struct BodyColumn {
  int Body = 0;
  int House = 0;         // 1..12
  double Angle[3] = {};  // degrees, wheel angle of each text
  std::string Texts[3];  // outermost first
  int Width[3] = {};     // pixels, text cells
  int Height[3] = {};
};

// One drawing: the target's surface, the geometry of the wheel and the
// hover output collected while drawing.
class WheelDrawing {
 public:
  WheelDrawing(const ChartRecord& record, WheelWork& work, const WheelTarget& target,
               const WheelView& view)
      : rec_(record), work_(work), target_(target), view_(view) {
    for (TRect& r : hover_) r = kNoHoverRect;
    for (TRect& r : lastMark_) r = kNoHoverRect;
    for (TRect& r : stackedMark_) r = kNoHoverRect;
  }

  void Run(TCanvas& destination);

 private:
  // --- geometry -------------------------------------------------------
  TPoint At(double angleDeg, double r) const {
    const double a = angleDeg * kDegToRad;
    return TPoint{static_cast<int>(std::lround(cx_ - u_ * r * std::cos(a))),
                  static_cast<int>(std::lround(cy_ + r * std::sin(a)))};
  }
  // Wheel angle of a longitude (European) or of a house position (American).
  double LongitudeAngle(double lon) const { return lon - origin_; }

  // --- primitives -----------------------------------------------------
  void SetPen(TColor color, int width = 1, TPenStyle style = psSolid) {
    c_->Pen.Color = color;
    c_->Pen.Width = width;
    c_->Pen.Style = style;
  }
  void SetBrush(TColor color, TBrushStyle style = bsSolid) {
    c_->Brush.Color = color;
    c_->Brush.Style = style;
  }
  void Circle(int r) {
    if (r <= 0) return;
    c_->Ellipse(cx_ - r, cy_ - r, cx_ + r + 1, cy_ + r + 1);
  }
  void Spoke(double angle, double r1, double r2) {
    const TPoint a = At(angle, r1);
    const TPoint b = At(angle, r2);
    c_->MoveTo(a.X, a.Y);
    c_->LineTo(b.X, b.Y);
  }
  void Chord(double angle1, double angle2, double r) {
    const TPoint a = At(angle1, r);
    const TPoint b = At(angle2, r);
    c_->MoveTo(a.X, a.Y);
    c_->LineTo(b.X, b.Y);
  }
  void Sector(int r, double from, double to);
  TRect Text(const std::string& text, TPoint anchor);
  void TextIn(const TRect& cell, const std::string& text);
  // Text that is a label of the wheel: drawn and kept in the list of labels.
  TRect Label(const std::string& text, TPoint anchor, WheelLabel kind, int index) {
    const TRect cell = Text(text, anchor);
    Keep(cell, kind, index);
    return cell;
  }
  // The same for a cell measured before.
  TRect LabelIn(const TRect& cell, const std::string& text, WheelLabel kind, int index) {
    TextIn(cell, text);
    Keep(cell, kind, index);
    return cell;
  }
  void Keep(const TRect& box, WheelLabel kind, int index) {
    if (!IsEmpty(box)) labels_.push_back(LabelBox{box, kind, index});
  }
  // Whether a box lies wholly outside the circle of radius r round the
  // centre.
  bool Outside(const TRect& box, double r) const {
    const double dx = std::max({0.0, static_cast<double>(box.Left) - cx_, cx_ - (box.Right - 1.0)});
    const double dy = std::max({0.0, static_cast<double>(box.Top) - cy_, cy_ - (box.Bottom - 1.0)});
    return dx * dx + dy * dy >= r * r;
  }
  // Whether a box lies wholly inside the circle of radius r round the centre.
  bool Inside(const TRect& box, double r) const {
    const double dx = std::max(std::fabs(box.Left - cx_), std::fabs(box.Right - cx_));
    const double dy = std::max(std::fabs(box.Top - cy_), std::fabs(box.Bottom - cy_));
    return dx * dx + dy * dy <= r * r;
  }
  // Whether a box keeps `gap` pixels clear of every label drawn so far.
  bool Clear(const TRect& box, int gap = kLabelGap) const {
    for (const LabelBox& label : labels_)
      if (Intersect(label.Box, box, gap)) return false;
    return true;
  }
  void SetFont(const std::string& name, int size, TColor color) {
    c_->Font.Name = name;
    c_->Font.Size = size;
    c_->Font.Color = color;
  }

  // --- colours --------------------------------------------------------
  bool Mono() const { return rec_.ColorMode == 0; }
  TColor LineColor() const { return Mono() ? clBlack : rec_.ChartColors[5]; }
  TColor SignGlyphColor() const { return Mono() ? clBlack : rec_.ChartColors[7]; }
  TColor PlanetGlyphColor() const { return Mono() ? clBlack : rec_.ChartColors[6]; }
  // A disc filled as the inner circles are: white with a black edge on
  // white paper, the chart colour with the circle colour on the window.
  void FilledDisc(int r) {
    if (rec_.ColorMode == 0 || rec_.ColorMode == 1) {
      SetPen(clBlack);
      SetBrush(clWhite);
    } else {
      SetPen(rec_.ChartColors[5]);
      SetBrush(rec_.ChartColors[4]);
    }
    Circle(r);
  }

  // --- parts of the drawing -------------------------------------------
  void Setup(TCanvas& destination);
  int ProportionalSize(int index) const;
  void Background();
  void European();
  void CuspLabels(double r, double rMin, double rMax);
  void American();
  void BodyCells(int body, TPoint anchor, int size, TRect& glyph, TRect& mark);
  int FittedBodySize(const std::vector<std::pair<int, TPoint>>& places);
  void PlanetGlyph(int body, TPoint anchor, int size);
  void LabelledGlyph(const std::string (&texts)[3], double angle, double r, int numberSize,
                     double side, int index, bool clearOfOthers);
  template <class Fits>
  bool NearestClear(double& angle, double& r, double minTurn, double maxTurn, double rMin,
                    double stepPx, Fits fits) const;
  void BodyColumns(double rp, int numberSize);
  void ColumnFont(int t, int numberSize);
  TRect ColumnCell(const BodyColumn& c, int t, double angle, double rp, double shift) const;
  double ColumnGap(const BodyColumn& fixed, const BodyColumn& moving, int t, double from,
                   double dir, double least, double rp, double shift) const;
  void SpreadColumnRow(BodyColumn* cols, int n, int h, int t, double rp, double shift) const;
  void AspectLines();
  void Variants(bool american);
  void Mark(int object, std::vector<MarkerHit>& list, int first, int second);
  void ReceptionArcs();
  void ReceptionArc(double angleP, double angleQ);
  void BodyDots();
  void HintBox();
  void Finish(TCanvas& destination);

  // Wheel angle of chart object o's point on the aspect circle.
  double ObjectAngle(int o) const;
  // Wheel angle of a body's glyph in the American wheel.
  double AmericanBodyAngle(int body) const;

  // A copy of the chart: the drawing lays its glyphs out in the copy's
  // ranking (rows, house ranking) and leaves the chart as it was.
  ChartRecord rec_;
  WheelWork& work_;
  const WheelTarget& target_;
  const WheelView& view_;

  bool window_ = false;   // all target flags set: the chart window
  bool printer_ = false;  // drawn straight on the printer's canvas
  bool american_ = false;
  int halfX_ = 0, halfY_ = 0;  // pixels, half extents of the picture
  std::unique_ptr<TBitmap> bitmap_;
  TCanvas* c_ = nullptr;

  int cx_ = 0, cy_ = 0;              // pixels, centre on the drawing canvas
  int R_ = 0;                        // pixels, outer radius
  double u_ = 1.0;                   // +1 counter-clockwise, -1 mirrored
  double origin_ = 0.0;              // degrees, longitude at wheel angle 0
  int signSize_ = 0;                 // points
  int planetSize_ = 0;               // points
  int dot_ = 0;                      // pixels, body dot radius
  int ra_ = 0;                       // pixels, aspect circle radius
  int r2_ = 0;                       // pixels, European house ring radius
  int ra1_ = 0;                      // pixels, American inner circle
  double markRadius_ = 0;            // pixels, ring of the variants' marks
  TRect lastMark_[kObjectCount];     // last mark placed for each object
  TRect stackedMark_[kObjectCount];  // where the further marks of an object stack

  TRect hover_[kHoverRectCount];
  std::vector<LabelBox> labels_;
  std::vector<TRect> nearBoxes_;  // labels near a mark being placed
  std::vector<MarkerHit> stars_, parts_, midpoints_;
};

// Sector of radius r from wheel angle `from` to `to` in the wheel's
// direction, filled with the brush and outlined with the pen: the polygon
// of the centre and the arc's pixels, one pixel apart, which is the shape a
// pie of the canvas makes without tracing the whole circle for each sector.
// A sector of no width is skipped.
void WheelDrawing::Sector(int r, double from, double to) {
  if (r <= 0) return;
  const double width = std::fmod(std::fmod(to - from, 360.0) + 360.0, 360.0);
  if (!(width > 0.0)) return;
  const int steps = std::max(2, static_cast<int>(std::ceil(width * kDegToRad * r)));
  std::vector<TPoint> points;
  points.reserve(steps + 2);
  points.push_back(TPoint{cx_, cy_});
  for (int k = 0; k <= steps; ++k) {
    const TPoint p = At(from + width * k / steps, r);
    const TPoint& last = points.back();
    if (points.size() == 1 || p.X != last.X || p.Y != last.Y) points.push_back(p);
  }
  c_->Polygon(points);
}

// Text with its cell centred on the anchor; returns the cell. Nothing is
// written in a font of no size. Text is smoothed, shapes are not.
TRect WheelDrawing::Text(const std::string& text, TPoint anchor) {
  if (c_->Font.Size <= 0 || text.empty()) return kNoHoverRect;
  const TRect cell = CellAround(anchor, c_->TextWidth(text), c_->TextHeight(text));
  TextIn(cell, text);
  return cell;
}

// Text written into a cell measured before.
void WheelDrawing::TextIn(const TRect& cell, const std::string& text) {
  if (c_->Font.Size <= 0 || IsEmpty(cell)) return;
  c_->SetAntialiasing(true);
  c_->TextOut(cell.Left, cell.Top, text);
  c_->SetAntialiasing(false);
}

double WheelDrawing::AmericanBodyAngle(int body) const {
  const int q = rec_.SortedPoints[body].HouseRankOf;
  if (q < 0 || q >= kBodyCount) return 0.0;
  return 30.0 * (rec_.SortedPoints[q].HouseRankHouse - 1) + work_.Layout.GlyphSlots[q].HousePlace;
}

double WheelDrawing::ObjectAngle(int o) const {
  if (!american_) return LongitudeAngle(rec_.ObjectLongitude[o]);
  if (o < kBodyCount) return AmericanBodyAngle(o);
  if (o < 30) return 30.0 * (o - kBodyCount);  // cusp h = o - 17 at 30(h - 1)
  return work_.PointHousePositions[o - 30];
}

void WheelDrawing::Setup(TCanvas& destination) {
  const std::uint8_t* f = rec_.TargetFlags;
  window_ = f[0] != 0 && f[1] != 0 && f[2] != 0;
  printer_ = f[1] == 0;
  american_ = rec_.ChartStyle != 1;

  const TPoint size = WheelPictureSize(rec_, target_);
  halfX_ = size.X / 2;
  halfY_ = size.Y / 2;
  if (printer_) {
    c_ = &destination;
  } else {
    bitmap_ = std::make_unique<TBitmap>(size.X, size.Y);
    c_ = &bitmap_->Canvas();
  }
  work_.DrawCanvas = c_;
  cx_ = halfX_;
  cy_ = halfY_;

  const int* radii = american_ ? rec_.RadiiAmerican : rec_.RadiiEuropean;
  const int r0 = std::min(Trunc(halfX_ * 8.7 * 0.1), Trunc(halfY_ * 8.7 * 0.1));
  R_ = std::max(0, r0 * radii[0] / 100);
  origin_ = 0.0;
  u_ = 1.0;
  if (!american_) {
    const int orientation = rec_.WheelOrientation;
    u_ = (orientation == 2 || orientation == 4) ? -1.0 : 1.0;
    if (orientation == 3 || orientation == 4) origin_ = rec_.HouseCusps()[0];
  }

  // glyph sizes: on a bitmap they follow the wheel's radius; a printer's
  // pixels per inch already scale them
  int signIndex = 0, planetIndex = 0;
  if (printer_) {
    signIndex = Trunc((rec_.GlyphSizes[0] - 2) * 8.0 / 7.0);
    planetIndex = Trunc((rec_.GlyphSizes[1] - 2) * 8.0 / 7.0);
    if (signIndex <= 0) signIndex = kMinPrinterSizeIndex;
    if (planetIndex <= 0) planetIndex = kMinPrinterSizeIndex;
    dot_ = Trunc(R_ * kPrinterDotShare);
    cx_ += rec_.TargetRect[0];
    cy_ += rec_.TargetRect[2];
  } else {
    signIndex = rec_.GlyphSizes[0] * R_ / kGlyphScaleRadius;
    planetIndex = rec_.GlyphSizes[1] * R_ / kGlyphScaleRadius;
    dot_ = std::min(kMaxScreenDot, Trunc(R_ * kScreenDotShare));
  }
  // large pictures would run past the list of sizes: keep to its last entry
  signSize_ = rec_.GlyphSizeList[std::clamp(signIndex, 0, kLastGlyphSize)];
  planetSize_ = rec_.GlyphSizeList[std::clamp(planetIndex, 0, kLastGlyphSize)];
  if (!printer_) {
    // beyond the reference radius the sizes of the list grow faster than
    // their index: keep the glyphs in proportion to the wheel, so that they
    // stay inside their rings and clear of each other
    signSize_ = std::min(signSize_, ProportionalSize(rec_.GlyphSizes[0]));
    planetSize_ = std::min(planetSize_, ProportionalSize(rec_.GlyphSizes[1]));
  }
}

// The size of list entry `index` scaled from the reference radius to R.
int WheelDrawing::ProportionalSize(int index) const {
  const int chosen = rec_.GlyphSizeList[std::clamp(index, 0, kLastGlyphSize)];
  return static_cast<int>(static_cast<long long>(chosen) * R_ / kGlyphScaleRadius);
}

void WheelDrawing::Background() {
  const TColor color = (rec_.ColorMode == 0 || rec_.ColorMode == 1) ? clWhite : target_.WindowColor;
  SetPen(color);
  SetBrush(color);
  // the whole picture; on the printer the target rectangle
  if (printer_) {
    const int* t = rec_.TargetRect;
    c_->FillRect(TRect{std::min(t[0], t[1]), std::min(t[2], t[3]), std::max(t[0], t[1]),
                       std::max(t[2], t[3])});
  } else {
    c_->FillRect(TRect{0, 0, 2 * halfX_, 2 * halfY_});
  }
}

// The cells of a body's glyph of font size `size` anchored at a point and
// of its retrograde mark (empty when the body is direct), as PlanetGlyph
// draws them. Leaves the font at the mark's size.
void WheelDrawing::BodyCells(int body, TPoint anchor, int size, TRect& glyph, TRect& mark) {
  glyph = mark = kNoHoverRect;
  if (size <= 0) return;
  const std::string text(1, rec_.ObjectGlyph[body]);
  c_->Font.Name = kGlyphFont;
  c_->Font.Size = size;
  glyph = CellAround(anchor, c_->TextWidth(text), c_->TextHeight(text));
  if (rec_.Retrograde[body] == 0) return;
  c_->Font.Size = Trunc(size * kRetroSizeShare);
  if (c_->Font.Size <= 0) return;
  const std::string retro(1, rec_.RetrogradeGlyph);
  const int left = glyph.Left + Trunc(glyph.Width() * kRetroDx);
  const int top = glyph.Top + Trunc(glyph.Height() * kRetroDy);
  mark = TRect{left, top, left + c_->TextWidth(retro), top + c_->TextHeight(retro)};
}

// The size at which the body glyphs at these anchors, with their retrograde
// marks, keep clear of each other and of the labels drawn before them: the
// planet size, or where two would meet a size smaller, down to
// kSmallestLabelShare of it (a crowd closer than that still meets).
int WheelDrawing::FittedBodySize(const std::vector<std::pair<int, TPoint>>& places) {
  const int fullSize = planetSize_;
  const int smallest =
      std::min(fullSize, std::max(kMinLabelSize, Trunc(fullSize * kSmallestLabelShare)));
  std::vector<TRect> cells;
  for (int size = fullSize;;
       size = std::max(smallest, std::min(size - 1, Trunc(size * kLabelShrink)))) {
    cells.clear();
    for (const auto& [body, anchor] : places) {
      TRect glyph, mark;
      BodyCells(body, anchor, size, glyph, mark);
      cells.push_back(glyph);
      cells.push_back(mark);
    }
    bool clear = true;
    for (std::size_t a = 0; a < cells.size() && clear; ++a) {
      if (IsEmpty(cells[a])) continue;
      clear = Clear(cells[a], 0);  // the labels drawn before them: the signs
      for (std::size_t b = a / 2 * 2 + 2; b < cells.size() && clear; ++b)
        clear = IsEmpty(cells[b]) || !Intersect(cells[a], cells[b]);
    }
    if (clear || size <= smallest) return size;
  }
}

void WheelDrawing::PlanetGlyph(int body, TPoint anchor, int size) {
  if (size <= 0) return;
  TRect cell, mark;
  BodyCells(body, anchor, size, cell, mark);
  SetFont(kGlyphFont, size, PlanetGlyphColor());
  TextIn(cell, std::string(1, rec_.ObjectGlyph[body]));
  hover_[kHoverBodyFirst + body] = cell;
  Keep(cell, WheelLabel::kBody, body);
  if (IsEmpty(mark)) return;
  c_->Font.Size = Trunc(size * kRetroSizeShare);
  TextIn(mark, std::string(1, rec_.RetrogradeGlyph));
  Keep(mark, WheelLabel::kRetrograde, body);
}

// The nearest place to (angle, r) at which fits(angle, r) holds, looked
// for along the ring, turned by minTurn to maxTurn degrees, and inward down
// to rMin, in steps of stepPx pixels both ways; nearer places first, and of
// two as near the one along the ring. Leaves angle and r alone and returns
// false when no place fits.
template <class Fits>
bool WheelDrawing::NearestClear(double& angle, double& r, double minTurn, double maxTurn,
                                double rMin, double stepPx, Fits fits) const {
  constexpr int kSteps = kSearchSteps;
  struct Step {
    int In, Turn;
  };
  static const std::vector<Step> order = [] {
    std::vector<Step> steps;
    for (int k = 0; k <= kSteps; ++k)
      for (int j = -kSteps; j <= kSteps; ++j) steps.push_back(Step{k, j});
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
      const int da = a.In * a.In + a.Turn * a.Turn, db = b.In * b.In + b.Turn * b.Turn;
      if (da != db) return da < db;
      return a.In < b.In;
    });
    return steps;
  }();
  if (stepPx <= 0 || r <= 0) return false;
  for (const Step& step : order) {
    const double rk = r - step.In * stepPx;
    if (rk < rMin || rk <= 0) continue;
    const double turn = step.Turn * stepPx / rk * kRadToDeg;
    if (turn < minTurn || turn > maxTurn) continue;
    if (fits(angle + turn, rk)) {
      angle += turn;
      r = rk;
      return true;
    }
  }
  return false;
}

// A cusp's or a point's label (American wheel): texts[0], its glyph (sign
// size), at a wheel angle; in the table font its degrees texts[1] on one
// side and its minutes texts[2] on the other, along the circle: degrees at
// angle - 3.5 side, minutes at angle + 3.5 side, moved further out where the
// texts would touch the glyph. With clearOfOthers the whole label turns
// along its ring to the nearest place clear of the labels drawn before it.
void WheelDrawing::LabelledGlyph(const std::string (&texts)[3], double angle, double r,
                                 int numberSize, double side, int index, bool clearOfOthers) {
  SetBrush(clWhite, bsClear);
  int width[3] = {}, height[3] = {};
  for (int t = 0; t < 3; ++t) {
    if (t == 0)
      SetFont(kGlyphFont, signSize_, SignGlyphColor());
    else
      SetFont(view_.TableFontName, numberSize, SignGlyphColor());
    if (c_->Font.Size <= 0 || (t > 0 && r <= 0)) continue;
    width[t] = c_->TextWidth(texts[t]);
    height[t] = c_->TextHeight(texts[t]);
  }
  // the cells of the three texts with the glyph at wheel angle a: each
  // number 3.5 degrees aside, or as far as keeps it kLabelGap clear of the
  // glyph
  const auto cellsAt = [&](double a, double radius, TRect(&cells)[3]) {
    cells[0] = CellAround(At(a, radius), width[0], height[0]);
    const TRect near{cells[0].Left - kLabelGap, cells[0].Top - kLabelGap,
                     cells[0].Right + kLabelGap, cells[0].Bottom + kLabelGap};
    for (int t = 1; t < 3; ++t) {
      const double dir = t == 1 ? -side : side;
      double step = kAmericanLabelStep;
      do {
        cells[t] = CellAround(At(a + dir * step, radius), width[t], height[t]);
        step += kTurnStep;
      } while (width[0] > 0 && Intersect(cells[t], near) && step < kMaxTurn);
    }
  };
  if (clearOfOthers) {
    const auto fits = [&](double a, double radius) {
      TRect cells[3];
      cellsAt(a, radius, cells);
      for (int t = 0; t < 3; ++t)
        if (width[t] > 0 && !Clear(cells[t], kPointGap)) return false;
      return true;
    };
    const double step = std::max(1, std::max(height[0], width[0]) / 4);
    NearestClear(angle, r, -kPointTurn, kPointTurn, r, step, fits);
  }
  TRect cells[3];
  cellsAt(angle, r, cells);
  for (int t = 0; t < 3; ++t) {
    if (width[t] <= 0) continue;
    if (t == 0)
      SetFont(kGlyphFont, signSize_, SignGlyphColor());
    else
      SetFont(view_.TableFontName, numberSize, SignGlyphColor());
    LabelIn(cells[t], texts[t], WheelLabel::kCusp, index);
  }
}

// The labels of the cusps and the shown special points (European wheel) on
// radius r, each beside its own line: at its spread longitude where that
// lies within kCuspLabelTurn of the line, and never more than that, nor
// beyond kCuspLabelShareOfGap of the way to the next line either side, so no
// label reads as another line's. A label in the way of one drawn before it
// (a body glyph, another label) looks for the nearest clear place within
// those bounds, inward down to the circle of radius rMin, then outward up to
// the circle of radius rMax; where none is clear at its size it tries again
// a size smaller, down to kSmallestLabelShare of it. The house labels go
// first; a special point that finds no place beside its line (one on a cusp
// line, say) may turn up to kPointTurn from it. Each group is taken in ring
// order from the widest gap between its labels, so a crowd is met from its
// open end.
void WheelDrawing::CuspLabels(double r, double rMin, double rMax) {
  struct Item {
    int Index;
    double Angle;  // degrees, spread longitude
  };
  Item items[18];
  double lines[18];  // degrees, longitudes of every drawn line
  int n = 0;
  for (int k = 0; k < 18; ++k) {
    const int index = work_.Layout.SortedCuspIndex[k];
    if (index < 0 || index >= 18) continue;
    if (index >= 12 && rec_.ObjectShown[30 + index - 12] == 0) continue;
    lines[n] = rec_.CuspsAndPoints[index];
    items[n++] = Item{index, work_.Layout.SortedCuspPoints[k]};
  }
  if (n == 0) return;
  std::stable_sort(items, items + n, [](const Item& a, const Item& b) {
    return std::fmod(a.Angle, 360.0) < std::fmod(b.Angle, 360.0);
  });
  // the house labels in ring order from their widest gap, then the points
  std::vector<Item> order;
  for (const bool houses : {true, false}) {
    std::vector<Item> group;
    for (int k = 0; k < n; ++k)
      if ((items[k].Index < 12) == houses) group.push_back(items[k]);
    const int g = static_cast<int>(group.size());
    int start = 0;
    double widest = -1;
    for (int k = 0; k < g; ++k) {
      const double gap =
          std::fmod(std::fmod(group[k].Angle - group[(k + g - 1) % g].Angle, 360.0) + 360.0, 360.0);
      if (gap > widest) widest = gap, start = k;
    }
    for (int m = 0; m < g; ++m) order.push_back(group[(start + m) % g]);
  }
  const int fullSize = c_->Font.Size;
  const int smallest =
      std::min(fullSize, std::max(kMinLabelSize, Trunc(fullSize * kSmallestLabelShare)));
  for (const Item& item : order) {
    const std::string glyph(1, rec_.ObjectGlyph2[item.Index]);
    const double own = rec_.CuspsAndPoints[item.Index];
    // how far the label may turn back and on: up to the bound, and short of
    // the neighbouring lines (lines on its own line do not count)
    double back = kCuspLabelTurn, on = kCuspLabelTurn;
    for (int k = 0; k < n; ++k) {
      const double d = Folded(lines[k] - own);
      if (std::fabs(d) < kSameLine) continue;
      if (d > 0) on = std::min(on, d * kCuspLabelShareOfGap);
      if (d < 0) back = std::min(back, -d * kCuspLabelShareOfGap);
    }
    const double from = LongitudeAngle(own) + std::clamp(Folded(item.Angle - own), -back, on);
    // the nearest clear place within `turn` of the bounds at the font's
    // size, inward first, then outward
    const auto place = [&](double& angle, double& radius, double widen) {
      const int w = c_->TextWidth(glyph), h = c_->TextHeight(glyph);
      const double turnBack = LongitudeAngle(own) - back - widen - from;
      const double turnOn = LongitudeAngle(own) + on + widen - from;
      const double step = std::max(1, h / 4);
      const auto fits = [&](double a, double rr) {
        const TRect cell = CellAround(At(a, rr), w, h);
        // wholly outside the aspect circle, which is filled after the labels
        return Clear(cell) && Outside(cell, rMin) && Inside(cell, rMax);
      };
      angle = from;
      radius = r;
      if (NearestClear(angle, radius, turnBack, turnOn, rMin, step, fits)) return true;
      angle = from;
      radius = rMax - h / 2.0;
      return radius > r && NearestClear(angle, radius, turnBack, turnOn, r, step, fits);
    };
    double angle = from, radius = r;
    bool placed = false;
    for (int size = fullSize; !placed;) {
      c_->Font.Size = size;
      placed = place(angle, radius, 0.0);
      if (placed || size <= smallest) break;
      size = std::max(smallest, std::min(size - 1, Trunc(size * kLabelShrink)));
    }
    if (!placed && item.Index >= 12) placed = place(angle, radius, kPointTurn);
    if (!placed) {
      // no clear place near the line: at its place, at the smallest size
      angle = from;
      radius = r;
    }
    const int w = c_->TextWidth(glyph), h = c_->TextHeight(glyph);
    hover_[kHoverLabelFirst + item.Index] =
        LabelIn(CellAround(At(angle, radius), w, h), glyph, WheelLabel::kCusp, item.Index);
  }
  c_->Font.Size = fullSize;
}

void WheelDrawing::European() {
  const int* P = rec_.RadiiEuropean;
  const bool hatchSigns = rec_.HatchElements == 0;
  const bool hatchHouses = rec_.HatchHouses == 0;

  // 1. element sectors of the sign ring
  for (int s = 1; s <= 12; ++s) {
    const TColor element = rec_.ChartColors[(s - 1) % 4];
    SetPen(Mono() ? clBlack : element);
    SetBrush(Mono() ? clWhite : element, hatchSigns ? bsDiagCross : bsSolid);
    Sector(R_, LongitudeAngle(30.0 * (s - 1)), LongitudeAngle(30.0 * s));
  }
  // 2. outer circle, filled with the chart colour when the element fill is off
  if (Mono()) {
    SetPen(clBlack);
    SetBrush(clWhite);
  } else {
    SetPen(rec_.ChartColors[5]);
    SetBrush(rec_.ChartColors[4], view_.ElementFillRemoved ? bsSolid : bsClear);
  }
  Circle(R_);
  // 3. inner edge of the sign ring
  const int r1 = R_ * P[1] / 100;
  FilledDisc(r1);
  // 4. ten-degree ticks and sign boundaries
  const int r2 = r1 * P[2] / 100;
  r2_ = r2;
  SetPen(LineColor());
  for (int s = 0; s < 12; ++s) {
    Spoke(LongitudeAngle(30.0 * s + 10.0), r2, r2 * kTickShare);
    Spoke(LongitudeAngle(30.0 * s + 20.0), r2, r2 * kTickShare);
    Spoke(LongitudeAngle(30.0 * s), r2, R_);
  }
  // 5. sign glyphs in the middle of the ring, no taller than the ring is wide
  SetBrush(clWhite, bsClear);
  SetFont(kGlyphFont, signSize_, SignGlyphColor());
  while (c_->Font.Size > kMinLabelSize &&
         c_->TextHeight(std::string(1, rec_.SignGlyph[0])) > R_ - r1)
    c_->Font.Size = std::min(c_->Font.Size - 1, Trunc(c_->Font.Size * kLabelShrink));
  for (int s = 1; s <= 12; ++s)
    hover_[kHoverSignFirst + s - 1] =
        Label(std::string(1, rec_.SignGlyph[s - 1]),
              At(LongitudeAngle(30.0 * (s - 1) + 15.0), (R_ + r1) / 2.0), WheelLabel::kSign, s);
  // 6. body glyphs on their two rows, at a size at which they stay apart
  std::vector<std::pair<int, TPoint>> bodies;
  for (int j = 0; j < kBodyCount; ++j) {
    const SortedPoint& p = rec_.SortedPoints[j];
    if (!IsBody(p.Body) || rec_.ObjectShown[p.Body] == 0) continue;
    const double share = p.Row == 2 ? kRowTwoShare : kRowOneShare;
    const double lon = 30.0 * (p.Sign - 1) + work_.Layout.GlyphSlots[j].SignPlace;
    bodies.emplace_back(p.Body, At(LongitudeAngle(lon), r2 + (r1 - r2) * share));
  }
  const int bodySize = FittedBodySize(bodies);
  for (const auto& [body, anchor] : bodies) PlanetGlyph(body, anchor, bodySize);
  // 7.-9. houses, cusp lines and cusp labels
  const bool houses = rec_.ObjectShown[kBodyCount] != 0;
  const int r3 = r2 * P[3] / 100;
  if (houses) {
    const float* cusp = rec_.HouseCusps();
    for (int h = 1; h <= 12; ++h) {
      const TColor house = rec_.HouseColors[(h - 1) % 3];
      SetPen(Mono() ? clBlack : house);
      SetBrush(Mono() ? clWhite : house, hatchHouses ? bsDiagCross : bsSolid);
      Sector(r2, LongitudeAngle(cusp[h - 1]), LongitudeAngle(cusp[h % 12]));
    }
    if (Mono()) {
      SetPen(clBlack);
      SetBrush(clWhite);
    } else {
      SetPen(rec_.ChartColors[5]);
      SetBrush(rec_.ChartColors[4], view_.HouseFillRemoved ? bsSolid : bsClear);
    }
    Circle(r2);
    const int tickEnd = Trunc(kCuspTickShare * r3);
    for (int i = 0; i < 18; ++i) {
      if (i >= 12 && rec_.ObjectShown[30 + i - 12] == 0) continue;
      SetPen(LineColor(), (i < 12 && i % 3 == 0) ? 2 : 1);
      const double angle = LongitudeAngle(rec_.CuspsAndPoints[i]);
      Spoke(angle, 0, r2);
      Spoke(angle, r3, tickEnd);
    }
    SetPen(LineColor());
    SetBrush(clWhite, bsClear);
    SetFont(kGlyphFont, signSize_, SignGlyphColor());
    CuspLabels(Trunc(tickEnd * kCuspLabelShare), r3, r1);
  }
  // 10. aspect circle with the lines, the variants and the receptions
  ra_ = houses ? r3 : r2;
  FilledDisc(ra_);
  AspectLines();
  Variants(false);
  ReceptionArcs();
  // 11. body dots, 12. centre disc
  BodyDots();
  const int r4 = ra_ * P[4] / 100;
  if (r4 > 0) FilledDisc(r4);
}

void WheelDrawing::American() {
  const int* P = rec_.RadiiAmerican;
  SpreadHouseGlyphsSingleRow(rec_, work_.Layout);
  MapPointsToHouseSectors(rec_, work_.Layout, work_.PointHousePositions);
  // the body at each place of the house ranking knows its place
  for (int q = 0; q < kBodyCount; ++q) {
    const int b = rec_.SortedPoints[q].HouseRankBody;
    if (IsBody(b)) rec_.SortedPoints[b].HouseRankOf = q;
  }
  const float* cusp = rec_.HouseCusps();

  // 1. outer circle, 2. inner circle
  const int ra0 = Trunc(R_ * kAmericanOuterShare);
  FilledDisc(ra0);
  ra1_ = Trunc(ra0 * P[1] / kPercent * kAmericanInnerScale);
  SetPen(LineColor());
  SetBrush(clWhite, bsClear);
  Circle(ra1_);

  // 3. cusp labels: the sign on the cusp with its degrees and minutes
  const int numberSize =
      std::min(planetSize_, std::max(kMinLabelSize, Trunc(planetSize_ * kAmericanNumberShare)));
  for (int i = 1; i <= 12; ++i) {
    int d = 0, m = 0, s = 0;
    SignDms(cusp[i - 1], d, m, s);
    const std::string texts[3] = {std::string(1, rec_.SignGlyph[SignOf(cusp[i - 1])]),
                                  Number(d, kDegreeSign), Number(m, '\'')};
    LabelledGlyph(texts, 30.0 * (i - 1), ra0 * kAmericanCuspLabelShare, numberSize,
                  i <= 6 ? 1.0 : -1.0, i - 1, false);
  }
  // 4. special points at their house-proportional positions
  for (int i = 0; i < 6; ++i) {
    if (rec_.ObjectShown[30 + i] == 0) continue;
    int d = 0, m = 0, s = 0;
    SignDms(rec_.CuspsAndPoints[12 + i], d, m, s);
    // outside the wheel, but not off the picture
    const std::string glyph(1, rec_.ObjectGlyph2[12 + i]);
    SetFont(kGlyphFont, signSize_, SignGlyphColor());
    const double edge =
        std::min(halfX_, halfY_) - (signSize_ > 0 ? c_->TextHeight(glyph) : 0) / 2.0;
    const double r = ra0 * (i < 2 ? kAmericanPointShareNear : kAmericanPointShareFar);
    const std::string texts[3] = {glyph, Number(d, kDegreeSign), Number(m, '\'')};
    LabelledGlyph(texts, work_.PointHousePositions[i], std::min(r, edge), numberSize, -1.0, 12 + i,
                  true);
  }
  // 5. body glyphs, at a size at which they stay apart, with degree, sign
  // and minutes inwards
  const double rp = Trunc(ra0 * kAmericanBodyShare);
  std::vector<std::pair<int, TPoint>> bodies;
  for (int q = 0; q < kBodyCount; ++q) {
    const int b = rec_.SortedPoints[q].HouseRankBody;
    if (!IsBody(b) || rec_.ObjectShown[b] == 0) continue;
    const double angle =
        30.0 * (rec_.SortedPoints[q].HouseRankHouse - 1) + work_.Layout.GlyphSlots[q].HousePlace;
    bodies.emplace_back(b, At(angle, rp));
  }
  const int bodySize = FittedBodySize(bodies);
  for (const auto& [body, anchor] : bodies) PlanetGlyph(body, anchor, bodySize);
  // the house numbers of step 6 keep their places: the body columns give way
  ra_ = Trunc(ra1_ * P[2] * kAmericanAspectScale);
  SetFont(view_.TableFontName, planetSize_, SignGlyphColor());
  TRect houseNumbers[12];
  for (int i = 1; i <= 12; ++i) {
    const std::string number = Digits(i);
    houseNumbers[i - 1] = CellAround(At(30.0 * (i - 1) + 15.0, (ra1_ + ra_) / 2.0),
                                     c_->TextWidth(number), c_->TextHeight(number));
    Keep(houseNumbers[i - 1], WheelLabel::kHouseNumber, i);
  }
  if (view_.AmericanDegreeLabels) BodyColumns(rp, numberSize);
  // 6. house lines, aspect circle and house numbers
  SetPen(LineColor());
  for (int i = 1; i <= 12; ++i) Spoke(30.0 * i, ra0, ra_);
  FilledDisc(ra_);
  SetBrush(clWhite, bsClear);
  SetFont(view_.TableFontName, planetSize_, SignGlyphColor());
  for (int i = 1; i <= 12; ++i) TextIn(houseNumbers[i - 1], Digits(i));
  // 7. lines, variants, receptions, dots and the centre disc
  if (view_.AmericanAspectLines) AspectLines();
  Variants(true);
  ReceptionArcs();
  BodyDots();
  const int r4 = ra_ * P[4] / 100;
  if (r4 > 0) FilledDisc(r4);
}

// Font of text t of a body's column: numbers in the table font, the sign
// in the glyph font.
void WheelDrawing::ColumnFont(int t, int numberSize) {
  if (t == 1)
    SetFont(kGlyphFont, Trunc(planetSize_ * kAmericanLabelSignShare), PlanetGlyphColor());
  else
    SetFont(view_.TableFontName, numberSize, PlanetGlyphColor());
}

// Cell of text t of a column at a wheel angle, its ring moved `shift`
// pixels inward.
TRect WheelDrawing::ColumnCell(const BodyColumn& c, int t, double angle, double rp,
                               double shift) const {
  return CellAround(At(angle, rp * kAmericanLabelShares[t] - shift), c.Width[t], c.Height[t]);
}

// The turn from text t of column `fixed` at angle `from` (dir +1 on, -1
// back) at which text t of column `moving` stands clear of it: at least
// `least` degrees.
double WheelDrawing::ColumnGap(const BodyColumn& fixed, const BodyColumn& moving, int t,
                               double from, double dir, double least, double rp,
                               double shift) const {
  const TRect still = ColumnCell(fixed, t, from, rp, shift);
  double gap = least;
  while (gap < kMaxTurn && Intersect(still, ColumnCell(moving, t, from + dir * gap, rp, shift),
                                     LesserGap(still.Height())))
    gap += kTurnStep;
  return gap;
}

// Text t of the columns of one house sector h, in house order, spread as
// the glyphs are but far enough apart for the texts: the first at least
// kHouseFirstPlace into the sector, each next at least kHouseStep after its
// predecessor; a last one beyond kHouseLastPlace is set there and its
// predecessors pulled back to at least kHousePullGap. Texts that cannot all
// stand apart inside the sector share it evenly.
void WheelDrawing::SpreadColumnRow(BodyColumn* cols, int n, int h, int t, double rp,
                                   double shift) const {
  if (n <= 0) return;
  const double first = 30.0 * (h - 1) + kHouseFirstPlace;
  const double last = 30.0 * (h - 1) + kHouseLastPlace;
  double* a[kBodyCount];
  for (int i = 0; i < n; ++i) a[i] = &cols[i].Angle[t];
  *a[0] = std::max(*a[0], first);
  for (int i = 1; i < n; ++i) {
    const double gap = ColumnGap(cols[i - 1], cols[i], t, *a[i - 1], 1.0, kHouseStep, rp, shift);
    *a[i] = std::max(*a[i], *a[i - 1] + gap);
  }
  if (*a[n - 1] <= last) return;
  *a[n - 1] = last;
  for (int i = n - 2; i >= 0; --i) {
    const double gap =
        ColumnGap(cols[i + 1], cols[i], t, *a[i + 1], -1.0, kHousePullGap, rp, shift);
    if (*a[i + 1] - *a[i] >= gap) break;
    *a[i] = *a[i + 1] - gap;
  }
  if (*a[0] >= first || n == 1) return;
  for (int i = 0; i < n; ++i) *a[i] = first + (last - first) * i / (n - 1);
}

// The degrees, sign and minutes of each shown body, written inwards under
// its glyph (minutes first for bodies in houses 4..9, whose numbers read
// upwards). Each of the three rings of texts is spread inside the house
// sectors as the glyphs are; all move inward together as far as keeps them
// clear of the glyphs, and a text still in the way of one drawn before it
// (where a sector holds more than its ring has room for) goes further
// inward, staying outside the inner circle.
void WheelDrawing::BodyColumns(double rp, int numberSize) {
  BodyColumn cols[kBodyCount];
  int n = 0;
  for (int q = 0; q < kBodyCount; ++q) {
    const int b = rec_.SortedPoints[q].HouseRankBody;
    if (!IsBody(b) || rec_.ObjectShown[b] == 0) continue;
    BodyColumn& c = cols[n++];
    c.Body = b;
    c.House = rec_.SortedPoints[q].HouseRankHouse;
    int d = 0, m = 0, sec = 0;
    SignDms(rec_.EclipticLongitude[b], d, m, sec);
    double lon = rec_.EclipticLongitude[b];
    Normalize360(lon);
    const bool lowerHalf = c.House >= 4 && c.House <= 9;
    c.Texts[0] = lowerHalf ? Number(m, '\'') : Number(d, kDegreeSign);
    c.Texts[1] = std::string(1, rec_.SignGlyph[SignOf(lon)]);
    c.Texts[2] = lowerHalf ? Number(d, kDegreeSign) : Number(m, '\'');
    for (int t = 0; t < 3; ++t) {
      c.Angle[t] = 30.0 * (c.House - 1) + work_.Layout.GlyphSlots[q].HousePlace;
      ColumnFont(t, numberSize);
      if (c_->Font.Size <= 0) continue;
      c.Width[t] = c_->TextWidth(c.Texts[t]);
      c.Height[t] = c_->TextHeight(c.Texts[t]);
    }
  }
  if (n == 0) return;
  BodyColumn atGlyphs[kBodyCount];
  std::copy(cols, cols + n, atGlyphs);
  const double step = std::max(1, cols[0].Height[0] / 4);
  double shift = 0;
  for (;;) {
    std::copy(atGlyphs, atGlyphs + n, cols);
    for (int i = 0; i < n;) {
      int j = i;
      while (j < n && cols[j].House == cols[i].House) ++j;
      for (int t = 0; t < 3; ++t) SpreadColumnRow(&cols[i], j - i, cols[i].House, t, rp, shift);
      i = j;
    }
    bool clear = true;
    for (int i = 0; i < n && clear; ++i)
      for (int t = 0; t < 3 && clear; ++t)
        if (cols[i].Width[t] > 0)
          clear = Clear(ColumnCell(cols[i], t, cols[i].Angle[t], rp, shift));
    if (clear || shift + step > rp * kMaxColumnShift) break;
    shift += step;
  }
  // ring by ring, outermost first: a text that must drop finds the rings
  // inside it still free
  SetBrush(clWhite, bsClear);
  for (int t = 0; t < 3; ++t)
    for (int i = 0; i < n; ++i) {
      const BodyColumn& c = cols[i];
      if (c.Width[t] <= 0) continue;
      ColumnFont(t, numberSize);
      double angle = c.Angle[t];
      double r = rp * kAmericanLabelShares[t] - shift;
      const auto fits = [&](double a, double radius) {
        const TRect cell = CellAround(At(a, radius), c.Width[t], c.Height[t]);
        return Clear(cell) && Outside(cell, ra1_);
      };
      // anywhere inside its sector
      const double from = 30.0 * (c.House - 1) + kHouseFirstPlace - angle;
      const double to = 30.0 * c.House - (30.0 - kHouseLastPlace) - angle;
      NearestClear(angle, r, std::min(0.0, from), std::max(0.0, to), r - kColumnDrop * c.Height[t],
                   std::max(1, c.Height[t] / 4), fits);
      LabelIn(CellAround(At(angle, r), c.Width[t], c.Height[t]), c.Texts[t],
              WheelLabel::kBodyNumber, c.Body);
    }
}

// Aspect lines between the shown and aspected objects: solid while two
// bodies apply, dashed otherwise; close major aspects doubled in width;
// minor aspects dotted unless drawn solid; each class in its colour.
void WheelDrawing::AspectLines() {
  const bool filter = rec_.AspectListFilter != 0;
  const int only = rec_.AspectListObject;
  for (int o1 = 0; o1 < kBodyCount; ++o1) {
    for (int o2 = o1 + 1; o2 < kObjectCount; ++o2) {
      if (filter && o1 != only && o2 != only) continue;
      if ((o1 == 14 && o2 == 15) || o1 == 15) continue;  // the nodes
      if (rec_.ObjectShown[o1] == 0 || rec_.ObjectShown[o2] == 0) continue;
      if (rec_.ObjectAspected[o1] == 0 || rec_.ObjectAspected[o2] == 0) continue;
      const int kind = rec_.AspectKind[o1][o2];
      if (kind == kNone || kind < 0 || kind >= kAspectKindCount) continue;
      const bool applying = o2 < kBodyCount && rec_.AspectApplying[o1][o2] != 0;
      TPenStyle style = applying ? psSolid : psDash;
      int width = 1;
      switch (kind) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
          if (rec_.AspectSeparation[o2][o1] <= 1.0f && style == psSolid) width = 2;
          break;
        case 5:
        case 6:
        case 7:
        case 8:
          if (rec_.LineSwitches[0] == 0) style = psDot;
          break;
        case 26:
        case 28:
        case 29:
          style = psSolid;
          break;
        case 27:
          style = psDash;
          break;
        default:
          break;
      }
      SetPen(Mono() ? clBlack : rec_.AspectColors[LineClassOf(kind)], width, style);
      SetBrush(clWhite, bsClear);
      Chord(ObjectAngle(o1), ObjectAngle(o2), ra_);
    }
  }
  SetPen(LineColor());
}

// A variant's mark of chart object o, centred on the object's point of the
// marks' ring or, where labels drawn before it are in the way, on the
// nearest clear place along that ring or inward; recorded for the mouse
// hints where it is drawn. Once no place near the object is clear, its
// further marks stack on its last one: the same character drawn once.
void WheelDrawing::Mark(int o, std::vector<MarkerHit>& list, int first, int second) {
  SetFont(kGlyphFont, std::max(1, Trunc(planetSize_ * kMarkSizeShare)), SignGlyphColor());
  if (planetSize_ <= 0) return;
  TRect cell = stackedMark_[o];
  if (IsEmpty(cell)) {
    const std::string mark(1, kMarkGlyph);
    const int w = c_->TextWidth(mark), h = c_->TextHeight(mark);
    double angle = ObjectAngle(o);
    double r = markRadius_;
    const int step = std::max(1, std::min(w, h) / 3);
    const int gap = LesserGap(h);
    // only the labels within reach of the search can be in the way
    const TPoint anchor = At(angle, r);
    const int reach = kSearchSteps * step * 3 / 2 + w + h + gap;
    const TRect region{anchor.X - reach, anchor.Y - reach, anchor.X + reach, anchor.Y + reach};
    std::vector<TRect>& near = nearBoxes_;
    near.clear();
    for (const LabelBox& l : labels_)
      if (Intersect(l.Box, region)) near.push_back(l.Box);
    const auto fits = [&](double a, double radius) {
      const TRect box = CellAround(At(a, radius), w, h);
      for (const TRect& other : near)
        if (Intersect(other, box, gap)) return false;
      return true;
    };
    if (NearestClear(angle, r, -kMarkTurn, kMarkTurn, ra_ * kLesserInnerShare, step, fits)) {
      cell = LabelIn(CellAround(At(angle, r), w, h), mark, WheelLabel::kMark, o);
      lastMark_[o] = cell;
    } else if (!IsEmpty(lastMark_[o])) {
      cell = stackedMark_[o] = lastMark_[o];
    } else {
      // no room and no mark of its own yet: onto the nearest mark drawn
      // close by, failing that at its place
      const TPoint p = At(angle, r);
      long best = static_cast<long>(kStackReach * h) * (kStackReach * h) + 1;
      bool stacked = false;
      for (const LabelBox& l : labels_) {
        if (l.Kind != WheelLabel::kMark) continue;
        const long dx = (l.Box.Left + l.Box.Right) / 2 - p.X,
                   dy = (l.Box.Top + l.Box.Bottom) / 2 - p.Y;
        if (dx * dx + dy * dy < best) best = dx * dx + dy * dy, cell = l.Box, stacked = true;
      }
      if (!stacked) cell = LabelIn(CellAround(p, w, h), mark, WheelLabel::kMark, o);
      stackedMark_[o] = cell;
    }
  }
  list.push_back(MarkerHit{cell.Left, cell.Right, cell.Top, cell.Bottom, first, second});
}

void WheelDrawing::Variants(bool american) {
  // the ring on which the marks stand
  markRadius_ = american ? ra1_ * kAmericanMarkShare : (r2_ + ra_) / 2.0;
  SetBrush(clWhite, bsClear);

  if (view_.LunarMansions && !american) {
    SetPen(Mono() ? kGrey : kMansionColor, 2);
    for (int i = 1; i <= kMansionCount; ++i)
      Spoke(LongitudeAngle((i - 1) * kMansionStep), r2_, ra_);
    // the numbers fit the ring between the houses and the aspect circle
    const int ringPoints =
        Trunc(std::abs(r2_ - ra_) * kMansionFontShare * kPointsPerInch / c_->PixelsPerInch());
    SetFont(view_.TableFontName, std::min(signSize_, ringPoints), SignGlyphColor());
    // each number inside its mansion, clear of the labels drawn before it;
    // where it finds no room it is tried smaller
    const int fullSize = c_->Font.Size;
    const int smallest =
        std::min(fullSize, std::max(kMinLabelSize, Trunc(fullSize * kSmallestLabelShare)));
    for (int i = 1; i <= kMansionCount; ++i) {
      const std::string number = Digits(i);
      double angle = 0, r = 0;
      int w = 0, h = 0;
      for (int size = fullSize;;
           size = std::max(smallest, std::min(size - 1, Trunc(size * kLabelShrink)))) {
        c_->Font.Size = size;
        w = c_->TextWidth(number);
        h = c_->TextHeight(number);
        angle = LongitudeAngle((i - 0.5) * kMansionStep);
        r = (r2_ + ra_) / 2.0;
        const double turn = std::max(
            0.0, kMansionStep / 2.0 - (w / 2.0 + kLabelGap) / std::max(1.0, r) * kRadToDeg);
        const auto fits = [&](double a, double radius) {
          const TPoint p = At(a, radius);
          return Clear(CellAround(p, w, h), LesserGap(h));
        };
        if (NearestClear(angle, r, -turn, turn, ra_ * kLesserInnerShare,
                         std::max(1, std::min(w, h) / 3), fits) ||
            size <= smallest)
          break;
      }
      LabelIn(CellAround(At(angle, r), w, h), number, WheelLabel::kMansion, i);
      c_->Font.Size = fullSize;
    }
    SetPen(LineColor());
  }
  if (view_.FixedStars) {
    for (int o = 0; o < kObjectCount; ++o) {
      if (rec_.ObjectShown[o] == 0) continue;
      for (int s = 0; s < kFixedStarCount; ++s) {
        const int cls = rec_.FixedStarClass[s];
        if (cls <= 0) continue;
        if (Separation(rec_.ObjectLongitude[o], rec_.FixedStarLongitude[s]) <
            kStarOrbClassOne / cls)
          Mark(o, stars_, s + 1, 0);
      }
    }
  }
  if (view_.ArabicParts) {
    const int count = std::clamp(rec_.PartCount, 0, kMaxArabicParts);
    for (int o = 0; o < kObjectCount; ++o) {
      if (rec_.ObjectShown[o] == 0) continue;
      for (int p = 0; p < count; ++p) {
        const PartRecord& part = rec_.ArabicParts[p];
        if (part.Sex != 0 && part.Sex != rec_.RecordFlag) continue;
        if (Separation(rec_.ObjectLongitude[o], part.Longitude) < kPartOrb) Mark(o, parts_, p, 0);
      }
    }
  }
  if (view_.Midpoints) {
    for (int o = 0; o < kBodyCount; ++o) {
      if (rec_.ObjectShown[o] == 0) continue;
      for (int a = 0; a < kMidpointBodies; ++a) {
        if (rec_.ObjectShown[a] == 0) continue;
        for (int b = a + 1; b < kMidpointBodies; ++b) {
          if (rec_.ObjectShown[b] == 0) continue;
          const float la = rec_.ObjectLongitude[a];
          const float lb = rec_.ObjectLongitude[b];
          float m = (la + lb) / 2.0f;
          Normalize360f(m);
          // the midpoint on the shorter arc between the two
          if (std::fabs(m - la) > 90.0f || std::fabs(m - lb) > 90.0f) {
            m += 180.0f;
            Normalize360f(m);
          }
          if (Separation(rec_.ObjectLongitude[o], m) < kMidpointOrb) Mark(o, midpoints_, a, b);
        }
      }
    }
  }
}

// Arcs joining the planets of each mutual reception the recomputation
// found, bulging towards the centre: yellow for domicile and exaltation,
// dark red for detriment and fall.
void WheelDrawing::ReceptionArcs() {
  for (int p = 0; p < 10; ++p) {
    for (int k = 0; k < 4; ++k) {
      const int q = rec_.Receptions[p][k];
      if (q == p || q == kNone || !IsBody(q)) continue;
      if (rec_.ObjectShown[p] == 0 || rec_.ObjectShown[q] == 0) continue;
      SetPen(Mono() ? kGrey : (k < 2 ? kReceptionLight : kReceptionDark), 2);
      SetBrush(clWhite, bsClear);
      ReceptionArc(ObjectAngle(p), ObjectAngle(q));
    }
  }
  SetPen(LineColor());
}

// The arc through the points of two wheel angles on the aspect circle whose
// middle lies kReceptionBulge pixels inside the chord: with half the
// angular distance h and the chord's half length a = Ra sin h, the arc's
// radius is r = 10 + a^2/40 and its centre lies on the middle direction at
// Ra cos h + r - 20 from the wheel's centre.
void WheelDrawing::ReceptionArc(double angleP, double angleQ) {
  const double delta = Folded(angleQ - angleP);
  const double mid = angleP + delta / 2.0;
  const double h = std::fabs(delta) / 2.0 * kDegToRad;
  const double a = ra_ * std::sin(h);
  const double r = kReceptionBulge / 2.0 + a * a / (2.0 * kReceptionBulge);
  const double centreDistance = ra_ * std::cos(h) + r - kReceptionBulge;
  const double m = mid * kDegToRad;
  const double dirX = -u_ * std::cos(m);
  const double dirY = std::sin(m);
  const double arcX = cx_ + centreDistance * dirX;
  const double arcY = cy_ + centreDistance * dirY;
  const TPoint from = At(angleP, ra_);
  const TPoint to = At(angleQ, ra_);
  const double innerX = cx_ + (centreDistance - r) * dirX;
  const double innerY = cy_ + (centreDistance - r) * dirY;
  // counter-clockwise on screen from one end to the other, through the
  // point nearest the centre
  const auto screenAngle = [&](double x, double y) { return std::atan2(arcY - y, x - arcX); };
  const auto ccw = [](double from, double to) {
    double d = std::fmod(to - from, 2.0 * kPi);
    return d < 0 ? d + 2.0 * kPi : d;
  };
  const double tFrom = screenAngle(from.X, from.Y);
  const double tTo = screenAngle(to.X, to.Y);
  const double tInner = screenAngle(innerX, innerY);
  const bool forward = ccw(tFrom, tInner) <= ccw(tFrom, tTo);
  const TPoint start = forward ? from : to;
  const TPoint end = forward ? to : from;
  const int x1 = static_cast<int>(std::lround(arcX - r));
  const int y1 = static_cast<int>(std::lround(arcY - r));
  const int x2 = static_cast<int>(std::lround(arcX + r)) + 1;
  const int y2 = static_cast<int>(std::lround(arcY + r)) + 1;
  c_->Arc(x1, y1, x2, y2, start.X, start.Y, end.X, end.Y);
}

void WheelDrawing::BodyDots() {
  for (int b = 0; b < kBodyCount; ++b) {
    if (rec_.ObjectShown[b] == 0) continue;
    SetPen(LineColor());
    SetBrush(Mono() ? kGrey : (rec_.SignEdgeFlag[b] != 0 ? kDotEdge : kDotPlain));
    const TPoint p = At(ObjectAngle(b), ra_);
    c_->Ellipse(p.X - dot_, p.Y - dot_, p.X + dot_ + 1, p.Y + dot_ + 1);
  }
}

void WheelDrawing::HintBox() {
  if (!window_) return;
  work_.HintBox = kNoHoverRect;
  if (work_.HintVisible == 0) return;
  int shiftX = 0, shiftY = 0;
  const int width = target_.ClientWidth;
  if (width - work_.HintX < kHintEdge) shiftX = Trunc(kHintEdge - std::abs(work_.HintX - width));
  if (work_.HintY < kHintTopEdge) shiftY = kHintDrop;
  work_.HintShiftX = shiftX;
  work_.HintShiftY = shiftY;
  SetFont(kHintFont, kHintFontSize, clBlack);
  SetBrush(kHintBack);
  int x = work_.HintX + kHintGap - shiftX;
  int y = work_.HintY + shiftY - kHintRaise;
  const int w = c_->TextWidth(target_.HintText), h = c_->TextHeight(target_.HintText);
  // the box never covers the glyph or mark it names: it goes below it, or
  // above it where the window ends first
  const TRect& subject = work_.HintSubject;
  if (!IsEmpty(subject) && Intersect(TRect{x, y, x + w, y + h}, subject, kHintGap)) {
    y = subject.Bottom + kHintGap;
    if (y + h > target_.ClientHeight) y = subject.Top - kHintGap - h;
  }
  // and stays inside the window where it is wide enough
  x = std::max(0, std::min(x, target_.ClientWidth - w));
  c_->TextOut(x, y, target_.HintText);
  work_.HintBox = TRect{x, y, x + w, y + h};
}

void WheelDrawing::Finish(TCanvas& destination) {
  const std::uint8_t* f = rec_.TargetFlags;
  if (printer_) return;  // drawn in place
  if (f[0] == 0) {
    const int* t = rec_.TargetRect;
    destination.CopyRect(TRect{t[0], t[2], t[1], t[3]}, *c_, TRect{0, 0, 2 * halfX_, 2 * halfY_});
  } else {
    destination.Draw(0, 0, *bitmap_);
  }
}

void WheelDrawing::Run(TCanvas& destination) {
  // glyph placement of the chart about to be drawn, by the ranking the
  // recomputation made
  GlyphLayout& layout = work_.Layout;
  LayOutRankedPoints(rec_, layout);
  SpreadHouseGlyphs(rec_, layout);
  SpreadGlyphPositions(rec_, layout);

  Setup(destination);
  work_.OriginCusp = rec_.HouseCusps()[0];
  Background();
  c_->Pen.Width = 1;
  if (R_ > 0) {
    if (american_)
      American();
    else
      European();
  }
  HintBox();

  // what the window's mouse handling reads comes from window drawings only
  if (window_) {
    work_.WheelCenterX = halfX_;
    work_.WheelCenterY = halfY_;
    work_.WheelRadius = R_;
    work_.AspectRadius = ra_;
    std::copy(std::begin(hover_), std::end(hover_), std::begin(work_.HoverRects));
    work_.StarMarks = std::move(stars_);
    work_.PartMarks = std::move(parts_);
    work_.MidpointMarks = std::move(midpoints_);
    work_.StarMarkCount = static_cast<int>(work_.StarMarks.size());
    work_.PartMarkCount = static_cast<int>(work_.PartMarks.size());
    work_.MidpointMarkCount = static_cast<int>(work_.MidpointMarks.size());
    work_.Labels = std::move(labels_);
  }
  Finish(destination);
  work_.DrawCanvas = nullptr;
}

}  // namespace

TPoint WheelPictureSize(const ChartRecord& record, const WheelTarget& target) {
  const std::uint8_t* f = record.TargetFlags;
  int halfX = 0, halfY = 0;
  if (f[0] != 0 && f[1] != 0 && f[2] != 0) {
    halfX = std::max(0, target.ClientWidth) / 2;
    halfY = std::max(0, target.ClientHeight) / 2;
  } else {
    const int* t = record.TargetRect;
    halfX = Trunc(std::fabs(static_cast<double>(t[1]) - t[0]) * 0.5);
    halfY = Trunc(std::fabs(static_cast<double>(t[3]) - t[2]) * 0.5);
  }
  return TPoint{2 * halfX, 2 * halfY};
}

void DrawChart(const ChartRecord& record, WheelWork& work, TCanvas& canvas,
               const WheelTarget& target, const WheelView& view) {
  WheelDrawing drawing(record, work, target, view);
  drawing.Run(canvas);
}
