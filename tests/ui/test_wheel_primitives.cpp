// The chart wheel's primitives, recorded: the wheel is drawn in place on a
// printer target whose canvas records each call with its pen, brush and
// font. Text cells are a fixed size here, so every glyph's corner lies
// exactly half a cell up and left of its anchor. Expected anchors, pens and
// arcs are worked out from the wheel's formulas (see test_wheel.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/glyphplacement.h"
#include "chart/pipeline.h"
#include "chart/ui/wheel.h"
#include "platform/nullcanvas.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;
constexpr int kCharWidth = 10;   // pixels per character of a recorded text
constexpr int kCellHeight = 16;  // pixels
constexpr int kTolPx = 1;        // pixels: rounding of anchors and arc boxes

constexpr TColor kHarmonious = RGBColor(10, 20, 200);
constexpr TColor kTense = RGBColor(200, 20, 10);
constexpr TColor kQuintiles = RGBColor(1, 2, 3);
constexpr TColor kLatitude = RGBColor(0, 128, 0);
constexpr TColor kSums = RGBColor(128, 0, 128);
constexpr TColor kHouseColors[3] = {RGBColor(255, 200, 200), RGBColor(200, 255, 200),
                                    RGBColor(200, 200, 255)};

struct Op {
  enum Kind { kLine, kEllipse, kPolygon, kArc, kText, kFill } kind;
  TPen pen;
  TBrush brush;
  TFont font;
  std::vector<TPoint>
      points;  // line ends; box corners (and arc radial points); vertices; text corner
  std::string text;
};

class RecordingCanvas : public TNullCanvas {
 public:
  std::vector<Op> ops;

  void LineTo(int x, int y) override {
    Add(Op::kLine, {PenPos(), TPoint{x, y}});
    TNullCanvas::LineTo(x, y);
  }
  void Polygon(const std::vector<TPoint>& points) override { Add(Op::kPolygon, points); }
  void Ellipse(int x1, int y1, int x2, int y2) override { Add(Op::kEllipse, {{x1, y1}, {x2, y2}}); }
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override {
    Add(Op::kArc, {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}});
  }
  void FillRect(const TRect& r) override { Add(Op::kFill, {{r.Left, r.Top}, {r.Right, r.Bottom}}); }
  void TextOut(int x, int y, const std::string& text) override {
    Add(Op::kText, {{x, y}});
    ops.back().text = text;
  }
  int TextWidth(const std::string& text) override {
    return kCharWidth * static_cast<int>(text.size());
  }
  int TextHeight(const std::string&) override { return kCellHeight; }

  std::vector<const Op*> Of(Op::Kind kind) const {
    std::vector<const Op*> found;
    for (const Op& op : ops)
      if (op.kind == kind) found.push_back(&op);
    return found;
  }
  // The line from a to b (either way round), or nullptr.
  const Op* LineBetween(TPoint a, TPoint b) const {
    for (const Op& op : ops)
      if (op.kind == Op::kLine && ((Same(op.points[0], a) && Same(op.points[1], b)) ||
                                   (Same(op.points[0], b) && Same(op.points[1], a))))
        return &op;
    return nullptr;
  }
  static bool Same(TPoint p, TPoint q) { return p.X == q.X && p.Y == q.Y; }

 private:
  void Add(Op::Kind kind, std::vector<TPoint> points) {
    ops.push_back(Op{kind, Pen, Brush, Font, std::move(points), {}});
  }
};

// The printer target: TargetRect left 100, right 700, top 50, bottom 650;
// half extents 300, so cx = 300 + 100, cy = 300 + 50 and
// R = trunc(300 * 8.7 * 0.1).
constexpr int kRectLeft = 100, kRectRight = 700, kRectTop = 50, kRectBottom = 650;
constexpr int kCx = 400, kCy = 350;
const int kR = static_cast<int>(300 * 8.7 * 0.1);
const int kR1 = kR * 90 / 100, kR2 = kR1 * 75 / 100, kR3 = kR2 * 90 / 100;

TPoint At(double angle, double r, double u = 1.0) {
  return TPoint{static_cast<int>(std::lround(kCx - u * r * std::cos(angle * kRad))),
                static_cast<int>(std::lround(kCy + r * std::sin(angle * kRad)))};
}

// Every body shown at 3 + 20 b degrees, equal houses from 0, no aspects.
std::unique_ptr<ChartRecord> PrinterChart() {
  auto r = std::make_unique<ChartRecord>();
  InitChartRecord(*r, {}, 0);
  r->ChartStyle = 1;
  r->WheelOrientation = 1;
  r->HatchElements = r->HatchHouses = 1;
  r->ColorMode = 2;
  r->TargetFlags[0] = 1;
  r->TargetFlags[1] = 0;
  r->TargetFlags[2] = 1;
  const int rect[4] = {kRectLeft, kRectRight, kRectTop, kRectBottom};
  std::copy(std::begin(rect), std::end(rect), r->TargetRect);
  const int radii[5] = {100, 90, 75, 90, 0};
  std::copy(std::begin(radii), std::end(radii), r->RadiiEuropean);
  std::copy(std::begin(radii), std::end(radii), r->RadiiAmerican);
  for (int& g : r->GlyphSizes) g = 15;
  for (int i = 0; i < 8; ++i) r->ChartColors[i] = RGBColor(20 * i, 10, 10);
  std::copy(std::begin(kHouseColors), std::end(kHouseColors), r->HouseColors);
  const TColor aspects[7] = {kHarmonious, kTense, kQuintiles, clGray, clGray, kLatitude, kSums};
  std::copy(std::begin(aspects), std::end(aspects), r->AspectColors);
  for (int b = 0; b < kBodyCount; ++b) {
    r->EclipticLongitude[b] = 3.0 + 20.0 * b;
    r->ObjectLongitude[b] = static_cast<float>(r->EclipticLongitude[b]);
  }
  for (int k = 0; k < 12; ++k) r->CuspsAndPoints[k] = 30.0f * k;
  for (int i = 0; i < 6; ++i) r->CuspsAndPoints[12 + i] = 45.0f + 60.0f * i;
  for (int o = 0; o < kObjectCount; ++o) {
    r->ObjectShown[o] = o <= kBodyCount ? 1 : 0;
    r->ObjectAspected[o] = 1;
    if (o >= kBodyCount) r->ObjectLongitude[o] = r->CuspsAndPoints[o - kBodyCount];
    for (int p = 0; p < kObjectCount; ++p) r->AspectKind[o][p] = kNone;
  }
  r->AspectListObject = kNone;
  r->LineSwitches[0] = 0;
  return r;
}

void SetAspect(ChartRecord& r, int o1, int o2, int kind, bool applying, float deviation) {
  r.AspectKind[o1][o2] = r.AspectKind[o2][o1] = kind;
  if (o2 < kBodyCount) r.AspectApplying[o1][o2] = r.AspectApplying[o2][o1] = applying ? 1 : 0;
  r.AspectSeparation[o2][o1] = deviation;
}

class WheelPrimitives : public ::testing::Test {
 protected:
  void Draw(ChartRecord& record) {
    canvas = std::make_unique<RecordingCanvas>();
    // the recomputation's ranking of the positions set here, and what
    // follows from it (the receptions of the kinds switched on)
    RankChartPoints(record);
    CalcHouseRulers(record);
    CalcReceptionsStarsAndParts(record, receptions);
    DrawChart(record, work, *canvas, target, view);
  }
  // The aspect line of a pair on the aspect circle, or nullptr.
  const Op* AspectLine(const ChartRecord& r, int o1, int o2, int ra) const {
    return canvas->LineBetween(At(r.ObjectLongitude[o1], ra), At(r.ObjectLongitude[o2], ra));
  }

  WheelWork work;
  WheelView view;
  WheelTarget target;
  ReceptionParams receptions;
  std::unique_ptr<RecordingCanvas> canvas;
};

TEST_F(WheelPrimitives, PrinterWheelIsDrawnInPlaceInItsOrder) {
  auto r = PrinterChart();
  Draw(*r);
  const std::vector<Op>& ops = canvas->ops;
  ASSERT_GT(ops.size(), 16u);
  // background of the target rectangle, 12 element sectors, outer circle,
  // inner circle of the sign ring
  EXPECT_EQ(ops[0].kind, Op::kFill);
  EXPECT_TRUE(RecordingCanvas::Same(ops[0].points[0], TPoint{kRectLeft, kRectTop}));
  EXPECT_TRUE(RecordingCanvas::Same(ops[0].points[1], TPoint{kRectRight, kRectBottom}));
  for (int s = 1; s <= 12; ++s) {
    const Op& sector = ops[s];
    ASSERT_EQ(sector.kind, Op::kPolygon) << "sign " << s;
    EXPECT_EQ(sector.brush.Color, r->ChartColors[(s - 1) % 4]) << "sign " << s;
    EXPECT_TRUE(RecordingCanvas::Same(sector.points[0], TPoint{kCx, kCy}));
    EXPECT_TRUE(RecordingCanvas::Same(sector.points[1], At(30.0 * (s - 1), kR)));
    EXPECT_TRUE(RecordingCanvas::Same(sector.points.back(), At(30.0 * s, kR)));
  }
  ASSERT_EQ(ops[13].kind, Op::kEllipse);
  EXPECT_TRUE(RecordingCanvas::Same(ops[13].points[0], TPoint{kCx - kR, kCy - kR}));
  ASSERT_EQ(ops[14].kind, Op::kEllipse);
  EXPECT_TRUE(RecordingCanvas::Same(ops[14].points[0], TPoint{kCx - kR1, kCy - kR1}));
}

TEST_F(WheelPrimitives, PrinterSignGlyphsTakeTheirSizeFromTheSettingsAlone) {
  // printer size index trunc((15 - 2) * 8 / 7) = 14: 18 points, whatever R is
  auto r = PrinterChart();
  Draw(*r);
  std::vector<const Op*> signs;
  for (const Op* op : canvas->Of(Op::kText))
    if (op->font.Name == "Zarn" && op->text.size() == 1 &&
        std::string(r->SignGlyph, 12).find(op->text[0]) != std::string::npos)
      signs.push_back(op);
  ASSERT_EQ(signs.size(), 12u);
  for (int s = 1; s <= 12; ++s) {
    const Op& op = *signs[s - 1];
    EXPECT_EQ(op.text[0], r->SignGlyph[s - 1]);
    EXPECT_EQ(op.font.Size, 18);
    const TPoint anchor = At(30.0 * (s - 1) + 15.0, (kR + kR1) / 2.0);
    EXPECT_NEAR(op.points[0].X, anchor.X - kCharWidth / 2, kTolPx) << "sign " << s;
    EXPECT_NEAR(op.points[0].Y, anchor.Y - kCellHeight / 2, kTolPx) << "sign " << s;
  }
}

TEST_F(WheelPrimitives, AspectPensFollowKindApplicationAndDeviation) {
  auto r = PrinterChart();
  SetAspect(*r, 0, 1, 3, true, 0.5f);   // close applying trine: solid, width 2
  SetAspect(*r, 0, 4, 3, false, 0.5f);  // separating: dashed, width 1
  SetAspect(*r, 0, 6, 2, true, 1.5f);   // applying square off by 1.5: solid, width 1
  SetAspect(*r, 2, 3, 5, true, 0.1f);   // semi-sextile, minor lines not solid: dotted
  SetAspect(*r, 2, 7, 5, false, 0.1f);
  SetAspect(*r, 5, 8, 11, true, 0.1f);    // quintile family
  SetAspect(*r, 9, 10, 26, false, 0.1f);  // latitude kinds: 26 solid, 27 dashed
  SetAspect(*r, 9, 11, 27, true, 0.1f);
  SetAspect(*r, 12, 13, 28, false, 0.1f);
  SetAspect(*r, 1, 18, 4, true, 0.1f);  // to a cusp: never applying
  Draw(*r);
  const struct {
    int o1, o2;
    TPenStyle style;
    int width;
    TColor color;
  } want[] = {{0, 1, psSolid, 2, kHarmonious}, {0, 4, psDash, 1, kHarmonious},
              {0, 6, psSolid, 1, kTense},      {2, 3, psDot, 1, kHarmonious},
              {2, 7, psDot, 1, kHarmonious},   {5, 8, psSolid, 1, kQuintiles},
              {9, 10, psSolid, 1, kLatitude},  {9, 11, psDash, 1, kLatitude},
              {12, 13, psSolid, 1, kSums},     {1, 18, psDash, 1, kTense}};
  for (const auto& w : want) {
    const Op* line = AspectLine(*r, w.o1, w.o2, kR3);
    ASSERT_NE(line, nullptr) << w.o1 << "-" << w.o2;
    EXPECT_EQ(line->pen.Style, w.style) << w.o1 << "-" << w.o2;
    EXPECT_EQ(line->pen.Width, w.width) << w.o1 << "-" << w.o2;
    EXPECT_EQ(line->pen.Color, w.color) << w.o1 << "-" << w.o2;
  }
  // minor lines drawn solid when switched so
  r->LineSwitches[0] = 1;
  Draw(*r);
  EXPECT_EQ(AspectLine(*r, 2, 3, kR3)->pen.Style, psSolid);
  EXPECT_EQ(AspectLine(*r, 2, 7, kR3)->pen.Style, psDash);
}

TEST_F(WheelPrimitives, AspectLinesSkipTheNodesHiddenObjectsAndFilteredPairs) {
  auto r = PrinterChart();
  SetAspect(*r, 14, 15, 4, true, 0.0f);  // the nodes: never joined
  SetAspect(*r, 15, 16, 1, true, 0.0f);  // the south node to object 16: not drawn
  SetAspect(*r, 3, 15, 1, true, 0.0f);   // an object below 15 to the south node: drawn
  SetAspect(*r, 4, 9, 1, true, 0.0f);
  SetAspect(*r, 5, 9, 1, true, 0.0f);
  SetAspect(*r, 6, 9, 1, true, 0.0f);
  r->ObjectShown[6] = 0;
  Draw(*r);
  EXPECT_EQ(AspectLine(*r, 14, 15, kR3), nullptr);
  EXPECT_EQ(AspectLine(*r, 15, 16, kR3), nullptr);
  EXPECT_NE(AspectLine(*r, 3, 15, kR3), nullptr);
  EXPECT_NE(AspectLine(*r, 4, 9, kR3), nullptr);
  EXPECT_EQ(AspectLine(*r, 6, 9, kR3), nullptr);  // hidden
  // the one-object filter on Mars: only lines touching Mars
  r->AspectListFilter = 1;
  r->AspectListObject = 4;
  Draw(*r);
  EXPECT_NE(AspectLine(*r, 4, 9, kR3), nullptr);
  EXPECT_EQ(AspectLine(*r, 5, 9, kR3), nullptr);
  EXPECT_EQ(AspectLine(*r, 3, 15, kR3), nullptr);
}

TEST_F(WheelPrimitives, ReceptionArcsBulgeTwentyPixelsTowardsTheCentre) {
  // Sun in Cancer, Moon in Leo: mutual reception by domicile (yellow);
  // Venus in Libra, Mars in Aries: by detriment (dark red)
  auto r = PrinterChart();
  r->EclipticLongitude[0] = 100.0;
  r->EclipticLongitude[1] = 130.0;
  r->EclipticLongitude[3] = 190.0;
  r->EclipticLongitude[4] = 15.0;
  for (int b = 0; b < kBodyCount; ++b) {
    r->ObjectLongitude[b] = static_cast<float>(r->EclipticLongitude[b]);
    r->ObjectShown[b] = (b == 0 || b == 1 || b == 3 || b == 4) ? 1 : 0;
  }
  receptions.KindOn[2] = true;
  Draw(*r);
  const std::vector<const Op*> arcs = canvas->Of(Op::kArc);
  ASSERT_EQ(arcs.size(), 4u);  // each reception from both partners
  const struct {
    double a, b;
    TColor color;
  } want[] = {{100, 130, RGBColor(255, 255, 0)}, {190, 15, RGBColor(128, 0, 0)}};
  for (const auto& w : want) {
    // half the separation h, chord half-length a = Ra sin h, arc radius
    // 10 + a^2 / 40, centre on the middle direction at Ra cos h + r - 20
    double delta = std::fmod(w.b - w.a + 540.0, 360.0) - 180.0;
    const double mid = w.a + delta / 2.0;
    const double h = std::fabs(delta) / 2.0 * kRad;
    const double chord = kR3 * std::sin(h);
    const double radius = 10.0 + chord * chord / 40.0;
    const double distance = kR3 * std::cos(h) + radius - 20.0;
    const double centreX = kCx - distance * std::cos(mid * kRad);
    const double centreY = kCy + distance * std::sin(mid * kRad);
    int matched = 0;
    for (const Op* arc : arcs) {
      const double boxX = (arc->points[0].X + arc->points[1].X - 1) / 2.0;
      const double boxY = (arc->points[0].Y + arc->points[1].Y - 1) / 2.0;
      if (std::fabs(boxX - centreX) > kTolPx || std::fabs(boxY - centreY) > kTolPx) continue;
      ++matched;
      EXPECT_NEAR((arc->points[1].X - arc->points[0].X - 1) / 2.0, radius, kTolPx);
      EXPECT_EQ(arc->pen.Color, w.color);
      EXPECT_EQ(arc->pen.Width, 2);
      // the canvas runs counter-clockwise from the first radial to the
      // second: that sweep must pass the side facing the wheel's centre
      const auto screenAngle = [&](double x, double y) { return std::atan2(boxY - y, x - boxX); };
      const auto sweep = [](double from, double to) {
        const double d =
            std::fmod(to - from + 4.0 * 3.14159265358979323846, 2.0 * 3.14159265358979323846);
        return d;
      };
      const double start = screenAngle(arc->points[2].X, arc->points[2].Y);
      const double end = screenAngle(arc->points[3].X, arc->points[3].Y);
      const double inward = screenAngle(kCx, kCy);
      EXPECT_LT(sweep(start, inward), sweep(start, end)) << "reception " << w.a << "-" << w.b;
    }
    EXPECT_EQ(matched, 2) << "reception " << w.a << "-" << w.b;
  }
}

TEST_F(WheelPrimitives, HousesCuspsAndPointsFollowWhatIsShown) {
  auto r = PrinterChart();
  // the querent's house counts from a cusp at 200
  for (int k = 0; k < 12; ++k) r->CuspsAndPoints[k] = std::fmod(200.0f + 30.0f * k, 360.0f);
  r->ObjectShown[31] = 1;  // the Antivertex shown, the Vertex (30) hidden
  Draw(*r);
  std::vector<const Op*> houses;
  for (const Op* op : canvas->Of(Op::kPolygon))
    if (op->brush.Color == kHouseColors[0] || op->brush.Color == kHouseColors[1] ||
        op->brush.Color == kHouseColors[2])
      houses.push_back(op);
  ASSERT_EQ(houses.size(), 12u);
  for (int h = 1; h <= 12; ++h) {
    EXPECT_EQ(houses[h - 1]->brush.Color, kHouseColors[(h - 1) % 3]);
    EXPECT_TRUE(RecordingCanvas::Same(houses[h - 1]->points[1], At(r->CuspsAndPoints[h - 1], kR2)))
        << "house " << h;
  }
  // cusp lines from the centre, the shown point's too; the hidden point none
  for (int k = 0; k < 12; ++k) {
    const Op* line = canvas->LineBetween(TPoint{kCx, kCy}, At(r->CuspsAndPoints[k], kR2));
    ASSERT_NE(line, nullptr) << "cusp " << k;
    EXPECT_EQ(line->pen.Width, k % 3 == 0 ? 2 : 1) << "cusp " << k;
  }
  EXPECT_NE(canvas->LineBetween(TPoint{kCx, kCy}, At(r->CuspsAndPoints[13], kR2)), nullptr);
  EXPECT_EQ(canvas->LineBetween(TPoint{kCx, kCy}, At(r->CuspsAndPoints[12], kR2)), nullptr);
  int labels = 0, vertex = 0, antivertex = 0;
  for (const Op* op : canvas->Of(Op::kText)) {
    if (op->text.size() != 1) continue;
    labels += std::string(r->ObjectGlyph2, 12).find(op->text[0]) != std::string::npos;
    vertex += op->text[0] == r->ObjectGlyph2[12];
    antivertex += op->text[0] == r->ObjectGlyph2[13];
  }
  EXPECT_EQ(labels, 12);
  EXPECT_EQ(vertex, 0);
  EXPECT_EQ(antivertex, 1);

  // without the first cusp: no houses, no labels, the aspect circle at R2
  r->ObjectShown[kBodyCount] = 0;
  Draw(*r);
  for (const Op* op : canvas->Of(Op::kPolygon)) EXPECT_NE(op->brush.Color, kHouseColors[0]);
  bool aspectCircleAtR2 = false;
  for (const Op* op : canvas->Of(Op::kEllipse))
    aspectCircleAtR2 |= RecordingCanvas::Same(op->points[0], TPoint{kCx - kR2, kCy - kR2});
  EXPECT_TRUE(aspectCircleAtR2);
}

TEST_F(WheelPrimitives, LunarMansionsSpokeTheHouseRing) {
  auto r = PrinterChart();
  view.LunarMansions = true;
  Draw(*r);
  int spokes = 0;
  for (const Op* op : canvas->Of(Op::kLine))
    spokes += op->pen.Color == RGBColor(255, 255, 0) && op->pen.Width == 2;
  EXPECT_EQ(spokes, 28);
  // the second mansion begins at 360 / 28 degrees
  const Op* second = canvas->LineBetween(At(360.0 / 28, kR2), At(360.0 / 28, kR3));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->pen.Color, RGBColor(255, 255, 0));
}

}  // namespace
