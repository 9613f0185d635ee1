// The chart wheel, drawn headless. Pixels are read where the wheel's
// geometry puts them, and a recording canvas checks the kind, order, pens
// and places of the primitives. Every expected position is worked out here
// from the wheel's formulas: centre (cx, cy) = half the picture, R = 0.87 of
// the smaller half times the first radius percentage, each further radius a
// percentage of the one before, and the point of wheel angle a at radius r
// at (cx - u r cos a, cy + r sin a), with a = longitude - origin.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/glyphplacement.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "chart/ui/wheel.h"
#include "engine/astromath.h"
#include "input/datainput.h"
#include "platform/qt/canvas.h"
#include "tests/ui/factorychart.h"

namespace {

constexpr double kDegToRadTest = 3.14159265358979323846 / 180.0;
constexpr int kAnchorTolPx = 1;  // pixels: rounding of anchors and of odd cell sizes

constexpr TColor kFire = RGBColor(255, 0, 0);
constexpr TColor kEarth = RGBColor(0, 160, 0);
constexpr TColor kAir = RGBColor(230, 200, 0);
constexpr TColor kWater = RGBColor(0, 0, 255);
constexpr TColor kChart = RGBColor(255, 255, 255);
constexpr TColor kCircles = RGBColor(0, 0, 0);
constexpr TColor kPlanets = RGBColor(0, 0, 128);
constexpr TColor kSigns = RGBColor(128, 0, 0);
constexpr TColor kHouseColors[3] = {RGBColor(255, 200, 200), RGBColor(200, 255, 200),
                                    RGBColor(200, 200, 255)};
constexpr TColor kHarmonious = RGBColor(10, 20, 200);
constexpr TColor kTense = RGBColor(200, 20, 10);
constexpr TColor kWindow = RGBColor(240, 240, 240);
constexpr TColor kElements[4] = {kFire, kEarth, kAir, kWater};

// Wheel geometry from the formulas.
struct Geometry {
  int cx = 0, cy = 0;  // pixels
  double u = 1, origin = 0;
  TPoint At(double lon, double r) const {
    const double a = (lon - origin) * kDegToRadTest;
    return TPoint{static_cast<int>(std::lround(cx - u * r * std::cos(a))),
                  static_cast<int>(std::lround(cy + r * std::sin(a)))};
  }
};

int OuterRadius(int halfX, int halfY, int percent) {
  const int r0 = std::min(static_cast<int>(halfX * 8.7 * 0.1), static_cast<int>(halfY * 8.7 * 0.1));
  return r0 * percent / 100;
}

// A chart with equal houses from `asc`, every body hidden, no aspects, the
// test colours and the factory radii and glyph sizes, drawn on the window.
std::unique_ptr<ChartRecord> TestChart(float asc = 0.0f) {
  auto r = std::make_unique<ChartRecord>();
  InitChartRecord(*r, {}, 0);
  r->ChartStyle = 1;
  r->WheelOrientation = 1;
  r->HatchElements = r->HatchHouses = 1;
  r->ColorMode = 2;
  r->TargetFlags[0] = r->TargetFlags[1] = r->TargetFlags[2] = 1;
  const int radii[5] = {100, 90, 75, 90, 0};
  std::copy(std::begin(radii), std::end(radii), r->RadiiEuropean);
  std::copy(std::begin(radii), std::end(radii), r->RadiiAmerican);
  for (int& g : r->GlyphSizes) g = 15;
  const TColor chart[8] = {kFire, kEarth, kAir, kWater, kChart, kCircles, kPlanets, kSigns};
  std::copy(std::begin(chart), std::end(chart), r->ChartColors);
  std::copy(std::begin(kHouseColors), std::end(kHouseColors), r->HouseColors);
  const TColor aspects[7] = {kHarmonious, kTense, clGray, clGray, clGray, clGreen, clPurple};
  std::copy(std::begin(aspects), std::end(aspects), r->AspectColors);
  for (int b = 0; b < kBodyCount; ++b) {
    r->EclipticLongitude[b] = 3.0 + 20.0 * b;
    r->ObjectLongitude[b] = static_cast<float>(r->EclipticLongitude[b]);
  }
  for (int k = 0; k < 12; ++k) r->CuspsAndPoints[k] = std::fmod(asc + 30.0f * k, 360.0f);
  for (int i = 0; i < 6; ++i)
    r->CuspsAndPoints[12 + i] = std::fmod(asc + 45.0f + 60.0f * i, 360.0f);
  for (int o = 0; o < kObjectCount; ++o) {
    r->ObjectShown[o] = o == kBodyCount ? 1 : 0;
    r->ObjectAspected[o] = 1;
    if (o >= kBodyCount) r->ObjectLongitude[o] = r->CuspsAndPoints[o - kBodyCount];
    for (int p = 0; p < kObjectCount; ++p) r->AspectKind[o][p] = kNone;
  }
  r->AspectListObject = kNone;
  return r;
}

void SetAspect(ChartRecord& r, int o1, int o2, int kind, bool applying, float deviation) {
  r.AspectKind[o1][o2] = r.AspectKind[o2][o1] = kind;
  if (o2 < kBodyCount) r.AspectApplying[o1][o2] = r.AspectApplying[o2][o1] = applying ? 1 : 0;
  r.AspectSeparation[o2][o1] = deviation;
}

TColor PixelAt(TBitmap& bitmap, TPoint p) {
  const QImage& image = bitmap.Image();
  if (!image.valid(p.X, p.Y)) return -1;
  return ToTColor(image.pixel(p.X, p.Y));
}

// Whether a colour is found at a pixel or one of its four neighbours.
bool ColorNear(TBitmap& bitmap, TPoint p, TColor color) {
  const int d[5][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& o : d)
    if (PixelAt(bitmap, TPoint{p.X + o[0], p.Y + o[1]}) == color) return true;
  return false;
}

TPoint CentreOf(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

#define EXPECT_POINT_NEAR(got, want)                      \
  do {                                                    \
    EXPECT_LE(std::abs((got).X - (want).X), kAnchorTolPx) \
        << "x: got " << (got).X << ", want " << (want).X; \
    EXPECT_LE(std::abs((got).Y - (want).Y), kAnchorTolPx) \
        << "y: got " << (got).Y << ", want " << (want).Y; \
  } while (0)

class Wheel : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(QGuiApplication::topLevelWindows().isEmpty()); }

  // Draws the record onto a window picture of w x h.
  TBitmap& DrawOnWindow(ChartRecord& record, int w, int h) {
    target.ClientWidth = w;
    target.ClientHeight = h;
    target.WindowColor = kWindow;
    window = std::make_unique<TBitmap>(std::max(1, w), std::max(1, h));
    // the recomputation's steps after the positions set here: the ranking,
    // the house rulers, the receptions, the fixed stars and the parts
    RankChartPoints(record);
    CalcHouseRulers(record);
    CalcReceptionsStarsAndParts(record, ReceptionParams());
    DrawChart(record, work, window->Canvas(), target, view);
    return *window;
  }
  // European geometry of a w x h window picture for the record.
  static Geometry EuropeanGeometry(const ChartRecord& r, int w, int h) {
    Geometry g;
    g.cx = w / 2;
    g.cy = h / 2;
    g.u = (r.WheelOrientation == 2 || r.WheelOrientation == 4) ? -1 : 1;
    g.origin = (r.WheelOrientation >= 3) ? r.CuspsAndPoints[0] : 0;
    return g;
  }

  WheelWork work;
  WheelView view;
  WheelTarget target;
  std::unique_ptr<TBitmap> window;
};

// --- set-up and sign ring -----------------------------------------------------

TEST_F(Wheel, RadiusFollowsTheSmallerHalfOfTheWindow) {
  // a 602 x 398 window: cx 301, cy 199, R = min(261, 173) = 173; with a
  // first radius of 90 percent, 155
  auto r = TestChart();
  DrawOnWindow(*r, 602, 398);
  EXPECT_EQ(work.WheelCenterX, 301);
  EXPECT_EQ(work.WheelCenterY, 199);
  EXPECT_EQ(work.WheelRadius, 173);
  r->RadiiEuropean[0] = 90;
  DrawOnWindow(*r, 602, 398);
  EXPECT_EQ(work.WheelRadius, 155);
}

TEST_F(Wheel, ElementColoursLieWhereEachOrientationPutsTheSigns) {
  constexpr int kSize = 500;
  for (int orientation = 1; orientation <= 4; ++orientation) {
    auto r = TestChart(135.0f);  // querent's cusp at 15 Leo
    r->WheelOrientation = orientation;
    TBitmap& image = DrawOnWindow(*r, kSize, kSize);
    const Geometry g = EuropeanGeometry(*r, kSize, kSize);
    const int R = OuterRadius(kSize / 2, kSize / 2, 100);
    const int r1 = R * 90 / 100;
    for (int s = 1; s <= 12; ++s)
      for (double inside : {5.0, 25.0}) {
        const TPoint p = g.At(30.0 * (s - 1) + inside, (R + r1) / 2.0);
        EXPECT_EQ(PixelAt(image, p), kElements[(s - 1) % 4])
            << "orientation " << orientation << " sign " << s << " at " << inside;
      }
    // orientations 3 and 4: 15 Leo (fire) at the left or the right, by the
    // ring's outer edge (clear of Leo's glyph)
    if (orientation >= 3) {
      const int x = orientation == 3 ? g.cx - (R - 2) : g.cx + (R - 2);
      EXPECT_EQ(PixelAt(image, TPoint{x, g.cy}), kFire) << "orientation " << orientation;
    }
  }
}

TEST_F(Wheel, HatchedElementsShowTheBackgroundBetweenTheirLines) {
  constexpr int kSize = 400;
  auto r = TestChart();
  r->HatchElements = 0;
  TBitmap& image = DrawOnWindow(*r, kSize, kSize);
  const Geometry g = EuropeanGeometry(*r, kSize, kSize);
  const int R = OuterRadius(kSize / 2, kSize / 2, 100);
  const TPoint p = g.At(5.0, R * 0.95);  // inside Aries
  int fire = 0, background = 0;
  for (int dy = -4; dy <= 4; ++dy)
    for (int dx = -4; dx <= 4; ++dx) {
      const TColor c = PixelAt(image, TPoint{p.X + dx, p.Y + dy});
      fire += c == kFire;
      background += c == kWindow;
    }
  EXPECT_GT(fire, 0);
  EXPECT_GT(background, fire);
}

TEST_F(Wheel, SignGlyphHoverRectanglesSitOnTheirAnchors) {
  constexpr int kSize = 600;
  for (int orientation : {1, 4}) {
    auto r = TestChart(200.0f);
    r->WheelOrientation = orientation;
    DrawOnWindow(*r, kSize, kSize);
    const Geometry g = EuropeanGeometry(*r, kSize, kSize);
    const int R = OuterRadius(kSize / 2, kSize / 2, 100);
    const int r1 = R * 90 / 100;
    for (int s = 1; s <= 12; ++s) {
      const TRect& rect = work.HoverRects[kHoverSignFirst + s - 1];
      EXPECT_GT(rect.Width(), 0);
      EXPECT_POINT_NEAR(CentreOf(rect), g.At(30.0 * (s - 1) + 15.0, (R + r1) / 2.0));
    }
  }
}

// --- houses ------------------------------------------------------------------

TEST_F(Wheel, HouseSectorsOnlyWhileTheFirstCuspIsShown) {
  constexpr int kSize = 500;
  const int R = OuterRadius(kSize / 2, kSize / 2, 100);
  const int r2 = R * 90 / 100 * 75 / 100;
  const int r3 = r2 * 90 / 100;
  for (bool shown : {true, false}) {
    auto r = TestChart(100.0f);
    r->ObjectShown[kBodyCount] = shown ? 1 : 0;
    TBitmap& image = DrawOnWindow(*r, kSize, kSize);
    const Geometry g = EuropeanGeometry(*r, kSize, kSize);
    for (int h = 1; h <= 12; ++h) {
      const TPoint p = g.At(r->CuspsAndPoints[h - 1] + 15.0, (r2 + r3) / 2.0);
      EXPECT_EQ(PixelAt(image, p), shown ? kHouseColors[(h - 1) % 3] : kChart)
          << "house " << h << (shown ? " shown" : " hidden");
    }
    // without houses the aspect circle takes the house ring's radius
    EXPECT_EQ(work.AspectRadius, shown ? r3 : r2);
  }
}

TEST_F(Wheel, HousesOfNoWidthPaintNothing) {
  // house 12 closes on the querent's cusp: an empty house 12 (and one a
  // hundredth of a degree wide) must not paint the whole disc in its colour
  constexpr int kSize = 500;
  const int R = OuterRadius(kSize / 2, kSize / 2, 100);
  const int r2 = R * 90 / 100 * 75 / 100;
  const int r3 = r2 * 90 / 100;
  for (float width : {0.0f, 0.01f}) {
    // houses 1..11 share the circle; house 12 runs from cusp 12 to cusp 1
    auto r = TestChart(0.0f);
    for (int k = 0; k < 11; ++k) r->CuspsAndPoints[k] = 360.0f * k / 11.0f;
    r->CuspsAndPoints[11] = width == 0.0f ? 0.0f : 360.0f - width;
    TBitmap& image = DrawOnWindow(*r, kSize, kSize);
    const Geometry g = EuropeanGeometry(*r, kSize, kSize);
    for (int h = 1; h <= 11; ++h) {
      const double end = h < 11 ? r->CuspsAndPoints[h] : 360.0;
      const double middle = (r->CuspsAndPoints[h - 1] + end) / 2.0;
      EXPECT_EQ(PixelAt(image, g.At(middle, (r2 + r3) / 2.0)), kHouseColors[(h - 1) % 3])
          << "house " << h << ", house 12 of " << width << " degrees";
    }
  }
}

// --- colour modes ------------------------------------------------------------

TEST_F(Wheel, MonochromeDrawsOnlyBlackWhiteAndGrey) {
  constexpr int kSize = 400;
  auto r = TestChart(40.0f);
  r->ColorMode = 0;
  r->HatchElements = r->HatchHouses = 0;
  for (int b = 0; b < 10; ++b) r->ObjectShown[b] = 1;
  SetAspect(*r, 0, 6, 3, true, 0.5f);
  SetAspect(*r, 1, 4, 2, false, 2.0f);
  TBitmap& image = DrawOnWindow(*r, kSize, kSize);
  const QImage& pixels = image.Image();
  int coloured = 0, black = 0;
  for (int y = 0; y < pixels.height(); ++y)
    for (int x = 0; x < pixels.width(); ++x) {
      const QRgb p = pixels.pixel(x, y);
      coloured += !(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
      black += (p & 0xFFFFFF) == 0;
    }
  EXPECT_EQ(coloured, 0);
  EXPECT_GT(black, 0);
  // the body dots are grey
  const Geometry g = EuropeanGeometry(*r, kSize, kSize);
  EXPECT_EQ(PixelAt(image, g.At(r->ObjectLongitude[0], work.AspectRadius)),
            RGBColor(128, 128, 128));
}

// --- aspect lines --------------------------------------------------------------

TEST_F(Wheel, AspectLinesTakeTheirClassColourAlongTheChord) {
  constexpr int kSize = 500;
  for (int orientation : {1, 2, 3}) {
    auto r = TestChart(77.0f);
    r->WheelOrientation = orientation;
    r->ObjectShown[0] = r->ObjectShown[2] = r->ObjectShown[5] = 1;
    SetAspect(*r, 0, 5, 3, true, 0.5f);  // Sun 3, Jupiter 103: trine, harmonious
    SetAspect(*r, 2, 5, 2, true, 0.2f);  // Mercury 43, Jupiter 103, set as kind 2: tense
    TBitmap& image = DrawOnWindow(*r, kSize, kSize);
    const Geometry g = EuropeanGeometry(*r, kSize, kSize);
    const int ra = work.AspectRadius;
    const struct {
      int a, b;
      TColor color;
    } lines[] = {{0, 5, kHarmonious}, {2, 5, kTense}};
    for (const auto& line : lines) {
      const TPoint a = g.At(r->ObjectLongitude[line.a], ra);
      const TPoint b = g.At(r->ObjectLongitude[line.b], ra);
      for (double t : {0.25, 0.4, 0.6, 0.75}) {
        const TPoint p{static_cast<int>(std::lround(a.X + t * (b.X - a.X))),
                       static_cast<int>(std::lround(a.Y + t * (b.Y - a.Y)))};
        EXPECT_TRUE(ColorNear(image, p, line.color))
            << "orientation " << orientation << " line " << line.a << "-" << line.b << " at " << t;
      }
    }
  }
}

// --- hover state ---------------------------------------------------------------

TEST_F(Wheel, BodyHoverRectanglesFollowTheGlyphPlaces) {
  constexpr int kSize = 600;
  auto r = TestChart(0.0f);
  r->EclipticLongitude[3] = 70.0;   // alone in Gemini at 10: row 1 at 10 degrees
  r->EclipticLongitude[4] = 131.0;  // 11 Leo and
  r->EclipticLongitude[5] = 132.0;  // 12 Leo: 11, then 15.5 on row 2
  r->EclipticLongitude[6] = 345.0;  // the hidden bodies of Leo go to Pisces
  r->EclipticLongitude[7] = 350.0;
  for (int b : {3, 4, 5}) r->ObjectShown[b] = 1;
  DrawOnWindow(*r, kSize, kSize);
  const Geometry g = EuropeanGeometry(*r, kSize, kSize);
  const int R = OuterRadius(kSize / 2, kSize / 2, 100);
  const int r1 = R * 90 / 100;
  const int r2 = r1 * 75 / 100;
  EXPECT_POINT_NEAR(CentreOf(work.HoverRects[3]), g.At(70.0, r2 + (r1 - r2) * 0.35));
  EXPECT_POINT_NEAR(CentreOf(work.HoverRects[4]), g.At(131.0, r2 + (r1 - r2) * 0.35));
  EXPECT_POINT_NEAR(CentreOf(work.HoverRects[5]), g.At(135.5, r2 + (r1 - r2) * 0.75));

  // a body hidden at the next drawing leaves no rectangle behind
  r->ObjectShown[3] = 0;
  DrawOnWindow(*r, kSize, kSize);
  EXPECT_EQ(work.HoverRects[3].Left, -1);
  EXPECT_EQ(work.HoverRects[3].Bottom, -1);
}

TEST_F(Wheel, ExportsAndPrintsLeaveTheWindowsHoverStateAlone) {
  auto r = TestChart(0.0f);
  r->ObjectShown[3] = 1;
  DrawOnWindow(*r, 600, 600);
  const WheelWork before = work;

  // an export of another size, then a print page of a third
  r->TargetFlags[2] = 0;
  const int exportRect[4] = {0, 300, 0, 200};
  std::copy(std::begin(exportRect), std::end(exportRect), r->TargetRect);
  const TPoint size = WheelPictureSize(*r, target);
  EXPECT_EQ(size.X, 300);
  EXPECT_EQ(size.Y, 200);
  TBitmap exported(size.X, size.Y);
  DrawChart(*r, work, exported.Canvas(), target, view);
  r->TargetFlags[2] = 1;
  r->TargetFlags[0] = 0;
  const int pageRect[4] = {100, 500, 200, 600};
  std::copy(std::begin(pageRect), std::end(pageRect), r->TargetRect);
  TBitmap page(800, 800);
  DrawChart(*r, work, page.Canvas(), target, view);

  EXPECT_EQ(work.WheelCenterX, before.WheelCenterX);
  EXPECT_EQ(work.WheelRadius, before.WheelRadius);
  EXPECT_EQ(work.AspectRadius, before.AspectRadius);
  for (int i = 0; i < kHoverRectCount; ++i) {
    EXPECT_EQ(work.HoverRects[i].Left, before.HoverRects[i].Left) << i;
    EXPECT_EQ(work.HoverRects[i].Top, before.HoverRects[i].Top) << i;
  }
  // the export holds the wheel: the aspect circle's chart colour at its centre
  EXPECT_EQ(PixelAt(exported, TPoint{150, 100}), kChart);
  // the page holds it inside the target rectangle only, centred on it
  EXPECT_EQ(PixelAt(page, TPoint{300, 400}), kChart);
  EXPECT_EQ(PixelAt(page, TPoint{50, 50}), clWhite);
  const int R = OuterRadius(200, 200, 100);
  EXPECT_EQ(PixelAt(page, TPoint{300 - (R + R * 90 / 100) / 2, 400 + 20}), kFire);  // Aries, left
}

// --- limits --------------------------------------------------------------------

TEST_F(Wheel, DegenerateTargetsDrawNothingWrong) {
  auto r = TestChart();
  r->ObjectShown[0] = 1;
  DrawOnWindow(*r, 0, 0);
  EXPECT_EQ(work.WheelRadius, 0);
  for (const TRect& rect : work.HoverRects) EXPECT_EQ(rect.Left, -1);

  // a radius of 0 percent: the background only
  r->RadiiEuropean[0] = 0;
  TBitmap& image = DrawOnWindow(*r, 200, 200);
  const QImage& pixels = image.Image();
  int other = 0;
  for (int y = 0; y < pixels.height(); ++y)
    for (int x = 0; x < pixels.width(); ++x) other += ToTColor(pixels.pixel(x, y)) != kWindow;
  EXPECT_EQ(other, 0);

  // glyph sizes of 0: no text, no hover rectangle, the wheel still drawn
  r->RadiiEuropean[0] = 100;
  for (int& size : r->GlyphSizeList) size = 0;
  DrawOnWindow(*r, 300, 300);
  EXPECT_EQ(work.HoverRects[kHoverSignFirst].Left, -1);
  EXPECT_EQ(work.HoverRects[0].Left, -1);
  EXPECT_GT(work.AspectRadius, 0);
}

TEST_F(Wheel, GlyphSizesStopAtTheLastListedSize) {
  // on a 3000-pixel window the size index 15 R / 350 passes the 26 sizes:
  // the glyphs take the last size, 55 points
  auto r = TestChart();
  DrawOnWindow(*r, 3000, 3000);
  TBitmap probe(10, 10);
  probe.Canvas().Font.Name = "Zarn";
  probe.Canvas().Font.Size = 55;
  const int cellHeight = probe.Canvas().TextHeight(std::string(1, r->SignGlyph[0]));
  EXPECT_EQ(work.HoverRects[kHoverSignFirst].Height(), cellHeight);
}

// --- the American wheel ---------------------------------------------------------

TEST_F(Wheel, AmericanBodiesStandAtTheirHousePlaces) {
  constexpr int kSize = 600;
  auto r = TestChart(0.0f);
  DrawOnWindow(*r, kSize, kSize);  // a European drawing first
  ASSERT_GT(work.HoverRects[kHoverSignFirst].Width(), 0);
  r->ChartStyle = 0;
  r->EclipticLongitude[6] = 100.0;  // house 4, 10 degrees in
  r->EclipticLongitude[7] = 101.0;  // 16 degrees in after the step of 6
  r->ObjectShown[6] = r->ObjectShown[7] = 1;
  DrawOnWindow(*r, kSize, kSize);
  const int R = OuterRadius(kSize / 2, kSize / 2, 100);
  const int rp = static_cast<int>(static_cast<int>(R * 0.93) * 0.93);
  Geometry g;
  g.cx = g.cy = kSize / 2;
  EXPECT_POINT_NEAR(CentreOf(work.HoverRects[6]), g.At(100.0, rp));
  EXPECT_POINT_NEAR(CentreOf(work.HoverRects[7]), g.At(106.0, rp));
  // no sign glyphs and no cusp labels to hover over
  for (int i = kHoverLabelFirst; i < kHoverRectCount; ++i)
    EXPECT_EQ(work.HoverRects[i].Left, -1) << i;
}

// --- marks of the chart variants ----------------------------------------------------

TEST_F(Wheel, MidpointsAreTakenOnTheShorterArc) {
  auto r = TestChart();
  // Moon 350, Mercury 10: their midpoint is 0, where the Sun stands
  r->ObjectLongitude[0] = 0.4f;
  r->ObjectLongitude[1] = 350.0f;
  r->ObjectLongitude[2] = 10.0f;
  for (int b : {0, 1, 2}) r->ObjectShown[b] = 1;
  view.Midpoints = true;
  DrawOnWindow(*r, 400, 400);
  ASSERT_EQ(work.MidpointMarkCount, 1);
  EXPECT_EQ(work.MidpointMarks[0].First, 1);
  EXPECT_EQ(work.MidpointMarks[0].Second, 2);
  // with the Sun at 180 no midpoint is touched
  r->ObjectLongitude[0] = 180.0f;
  DrawOnWindow(*r, 400, 400);
  EXPECT_EQ(work.MidpointMarkCount, 0);
}

TEST_F(Wheel, StarOrbsShrinkWithTheStarsClass) {
  // at 1950.0 the stars stand at their table longitudes: star 1 (class 1)
  // at 8 deg 31 min, star 0 (class 2) at 1 deg 51 min
  const float star1 = 8.0f + 31.0f / 60.0f;
  const float star0 = 1.0f + 51.0f / 60.0f;
  const struct {
    float lon;
    int marks;
    int star;
  } cases[] = {
      {star1 + 0.45f, 1, 2}, {star1 + 0.55f, 0, 0}, {star0 - 0.2f, 1, 1}, {star0 - 0.3f, 0, 0}};
  for (const auto& c : cases) {
    auto r = TestChart();
    r->JulianDayUT = 2433282.5;
    r->ObjectShown[kBodyCount] = 0;
    r->ObjectShown[4] = 1;
    r->ObjectLongitude[4] = c.lon;
    view.FixedStars = true;
    DrawOnWindow(*r, 400, 400);
    ASSERT_EQ(work.StarMarkCount, c.marks) << "body at " << c.lon;
    if (c.marks > 0) {
      EXPECT_EQ(work.StarMarks[0].First, c.star);
    }
  }
}

TEST_F(Wheel, HintBoxKeepsClearOfTheWindowEdges) {
  constexpr int kW = 500, kH = 400;
  auto r = TestChart();
  work.HintVisible = 1;
  work.HintX = kW - 10;  // 10 pixels from the right edge: shifted by 85 - 10
  work.HintY = 5;        // near the top: moved down by 35
  target.HintText = "Sun";
  TBitmap& image = DrawOnWindow(*r, kW, kH);
  EXPECT_EQ(work.HintShiftX, 75);
  EXPECT_EQ(work.HintShiftY, 35);
  // the box's corner lies at (HintX + 2 - 75, HintY + 35 - 15)
  EXPECT_EQ(PixelAt(image, TPoint{kW - 10 + 2 - 75, 5 + 35 - 15}), RGBColor(254, 254, 200));
}

// --- labels clear of each other ------------------------------------------------------

const char* KindName(WheelLabel kind) {
  static const char* const names[] = {"sign",         "body",    "cusp", "body number",
                                      "house number", "mansion", "mark", "retrograde mark"};
  return names[static_cast<int>(kind)];
}

std::string Describe(const LabelBox& l) {
  return std::string(KindName(l.Kind)) + " " + std::to_string(l.Index) + " [" +
         std::to_string(l.Box.Left) + "," + std::to_string(l.Box.Top) + " " +
         std::to_string(l.Box.Width()) + "x" + std::to_string(l.Box.Height()) + "]";
}

// Wheel angle (degrees, as the geometry's At takes it) and distance from
// the centre of a box's middle.
double AngleOf(const Geometry& g, const TRect& box) {
  const double x = (box.Left + box.Right) / 2.0 - g.cx, y = (box.Top + box.Bottom) / 2.0 - g.cy;
  return std::atan2(y, -g.u * x) / kDegToRadTest + g.origin;
}
double DistanceOf(const Geometry& g, const TRect& box) {
  return std::hypot((box.Left + box.Right) / 2.0 - g.cx, (box.Top + box.Bottom) / 2.0 - g.cy);
}
double AngleApart(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360.0 - d);
}

// Crowded charts drawn with every variant in both styles, all four European
// orientations and three window sizes: no two labels intersect; every label
// is drawn and every mark's record points at a mark drawn; a mark stays
// near its object inside its ring, a mansion number inside its mansion and
// a cusp label outside the aspect circle.
// The bodies' glyphs keep their own spacing and are not moved: in the
// February 1962 stellium (eleven bodies in the first house, seven in
// Aquarius) their cells meet, so there only the European wheel is drawn and
// pairs of body glyphs are not checked.
TEST_F(Wheel, LabelsOfCrowdedChartsStayClearOfEachOther) {
  struct Moment {
    int day, month, year;
    float ut, lat, lon;
    bool stellium;
    bool swapped = false;  // shown with its mutual receptions swapped
  };
  // the last: 10.12.2026 05:09 Moscow, whose swapped receptions bring
  // retrograde Chiron beside the Moon
  const Moment moments[] = {{15, 7, 1990, 8.0f, 55.75f, 37.58f, false},
                            {4, 2, 1962, 5.0f, 51.5f, -0.13f, true},
                            {20, 3, 2024, 3.0f, -33.9f, 151.2f, false},
                            {1, 1, 2000, 12.0f, 64.0f, -22.0f, false},
                            {10, 12, 2026, 2.15f, 55.75f, 37.62f, false, true}};
  // the factory sizes and the listed size 34 for signs and bodies
  constexpr int kLargeGlyphIndex = 21;
  constexpr double kMarkTurnDeg = 12.0;  // farthest a mark turns along its ring
  constexpr double kRadiusTolPx = 2.0;
  constexpr double kCuspBesideDeg = 6.0;  // farthest a house label's middle stands from its line
  constexpr double kPointTurnDeg = 31.0;  // and a special point's
  view.FixedStars = view.LunarMansions = view.ArabicParts = view.Midpoints = true;
  int marksSeen = 0;
  for (const Moment& m : moments) {
    auto r = FactoryChart(m.day, m.month, m.year, m.ut, m.lat, m.lon);
    if (m.swapped) {
      r->ReceptionSwap = 1;
      RecalcChartReception(*r);
    }
    const int factoryGlyphs[2] = {r->GlyphSizes[0], r->GlyphSizes[1]};
    for (int style = m.stellium ? 1 : 0; style <= 4; ++style)  // 0 American, 1..4 European
      for (bool large : {false, true})
        for (int size : {500, 800, 1100}) {
          if (large && style == 0) continue;  // the large sizes on the European wheel
          r->ChartStyle = style == 0 ? 0 : 1;
          r->WheelOrientation = std::max(1, style);
          r->GlyphSizes[0] = large ? kLargeGlyphIndex : factoryGlyphs[0];
          r->GlyphSizes[1] = large ? kLargeGlyphIndex : factoryGlyphs[1];
          DrawOnWindow(*r, size, size);
          const std::string where = std::to_string(m.year) + "-" + std::to_string(m.month) +
                                    " style " + std::to_string(style) + " size " +
                                    std::to_string(size) + (large ? " glyphs 34" : "");
          const std::vector<LabelBox>& labels = work.Labels;
          for (std::size_t a = 0; a < labels.size(); ++a)
            for (std::size_t b = a + 1; b < labels.size(); ++b) {
              const auto bodyPart = [](const LabelBox& l) {
                return l.Kind == WheelLabel::kBody || l.Kind == WheelLabel::kRetrograde;
              };
              if (m.stellium && bodyPart(labels[a]) && bodyPart(labels[b])) continue;
              // a retrograde mark leans on its own glyph
              if (bodyPart(labels[a]) && bodyPart(labels[b]) && labels[a].Kind != labels[b].Kind &&
                  labels[a].Index == labels[b].Index)
                continue;
              const TRect& p = labels[a].Box;
              const TRect& q = labels[b].Box;
              const bool meet =
                  p.Left < q.Right && q.Left < p.Right && p.Top < q.Bottom && q.Top < p.Bottom;
              EXPECT_FALSE(meet) << where << ": " << Describe(labels[a]) << " meets "
                                 << Describe(labels[b]);
            }
          int count[8] = {};
          for (const LabelBox& l : labels) ++count[static_cast<int>(l.Kind)];
          const int marks = work.StarMarkCount + work.PartMarkCount + work.MidpointMarkCount;
          EXPECT_GT(count[static_cast<int>(WheelLabel::kMark)], 0) << where;
          for (const auto* list : {&work.StarMarks, &work.PartMarks, &work.MidpointMarks})
            for (const MarkerHit& hit : *list) {
              bool drawn = false;
              for (const LabelBox& l : labels)
                drawn = drawn || (l.Kind == WheelLabel::kMark && l.Box.Left == hit.Left &&
                                  l.Box.Right == hit.Right && l.Box.Top == hit.Top &&
                                  l.Box.Bottom == hit.Bottom);
              EXPECT_TRUE(drawn) << where << ": mark record " << hit.First << " at " << hit.Left
                                 << "," << hit.Top;
            }
          EXPECT_EQ(count[static_cast<int>(WheelLabel::kBody)], kBodyCount) << where;
          marksSeen += marks;
          if (style == 0) {
            EXPECT_EQ(count[static_cast<int>(WheelLabel::kBodyNumber)], 3 * kBodyCount) << where;
            EXPECT_EQ(count[static_cast<int>(WheelLabel::kCusp)], 3 * 18) << where;
            continue;
          }
          EXPECT_EQ(count[static_cast<int>(WheelLabel::kCusp)], 18) << where;
          EXPECT_EQ(count[static_cast<int>(WheelLabel::kMansion)], 28) << where;
          // European radii from the factory percentages
          const int* P = r->RadiiEuropean;
          const int R = OuterRadius(size / 2, size / 2, P[0]);
          const int r2 = R * P[1] / 100 * P[2] / 100;
          const int r3 = r2 * P[3] / 100;
          const double ring = (r2 + r3) / 2.0;
          const Geometry g = EuropeanGeometry(*r, size, size);
          for (const LabelBox& l : labels) {
            if (l.Kind == WheelLabel::kMark) {
              EXPECT_LE(AngleApart(AngleOf(g, l.Box), r->ObjectLongitude[l.Index]),
                        kMarkTurnDeg + 1)
                  << where << ": " << Describe(l) << " at object longitude "
                  << r->ObjectLongitude[l.Index];
              EXPECT_LE(DistanceOf(g, l.Box), ring + kRadiusTolPx) << where << ": " << Describe(l);
            }
            if (l.Kind == WheelLabel::kCusp) {  // not under the aspect circle, filled after it
              const double nearX =
                  std::max({0.0, l.Box.Left - g.cx * 1.0, g.cx - (l.Box.Right - 1.0)});
              const double nearY =
                  std::max({0.0, l.Box.Top - g.cy * 1.0, g.cy - (l.Box.Bottom - 1.0)});
              EXPECT_GE(std::hypot(nearX, nearY), r3) << where << ": " << Describe(l);
              // a house label beside its own line, never turned towards
              // another; a special point on a crowded line turns further
              EXPECT_LE(AngleApart(AngleOf(g, l.Box), r->CuspsAndPoints[l.Index]),
                        l.Index < 12 ? kCuspBesideDeg : kPointTurnDeg)
                  << where << ": " << Describe(l);
            }
            if (l.Kind == WheelLabel::kMansion) {
              const double middle = (l.Index - 0.5) * 360.0 / 28;
              EXPECT_LE(AngleApart(AngleOf(g, l.Box), middle), 180.0 / 28)
                  << where << ": " << Describe(l);
            }
          }
        }
  }
  EXPECT_GT(marksSeen, 100);  // the variants did mark the charts
}

}  // namespace
