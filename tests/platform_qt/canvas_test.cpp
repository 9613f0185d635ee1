// Pixel checks of the canvas against the rules of the classic desktop
// graphics interface: shapes leave out their right column and bottom row,
// lines their end pixel, pies run counter-clockwise, dashes are 18 on / 6 off
// and dots 3 on / 3 off for one-pixel pens, hatches leave the background
// between their lines, text is placed by its top-left corner.
#include "platform/qt/canvas.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <string>
#include <vector>

#include "gui_app.h"
#include "platform/nullcanvas.h"
#include "platform/text/cp1251.h"

namespace {

class CanvasTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    bitmap.SetSize(40, 40);
  }
  TColor At(int x, int y) { return bitmap.Canvas().Pixel(x, y); }
  // Non-white pixels of row y from x0 to x1 inclusive, as '#' and '.'.
  std::string Row(int y, int x0, int x1) {
    std::string s;
    for (int x = x0; x <= x1; ++x) s += At(x, y) == clWhite ? '.' : '#';
    return s;
  }
  TBitmap bitmap;
};

TEST_F(CanvasTest, NewBitmapIsWhiteAndOutsideReadsInvalid) {
  EXPECT_EQ(At(0, 0), clWhite);
  EXPECT_EQ(At(39, 39), clWhite);
  EXPECT_EQ(At(40, 0), -1);
  EXPECT_EQ(At(-1, 5), -1);
}

TEST_F(CanvasTest, RectangleLeavesOutRightColumnAndBottomRow) {
  TCanvas& c = bitmap.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clRed;
  c.Rectangle(10, 10, 20, 20);
  EXPECT_EQ(At(10, 15), clBlack) << "left edge";
  EXPECT_EQ(At(19, 15), clBlack) << "last column inside";
  EXPECT_EQ(At(20, 15), clWhite) << "right edge excluded";
  EXPECT_EQ(At(15, 19), clBlack) << "last row inside";
  EXPECT_EQ(At(15, 20), clWhite) << "bottom edge excluded";
  EXPECT_EQ(At(9, 15), clWhite);
  EXPECT_EQ(At(15, 10), clBlack);
  EXPECT_EQ(At(15, 15), clRed) << "interior takes the brush";
  EXPECT_EQ(At(11, 11), clRed);
  EXPECT_EQ(At(18, 18), clRed);
}

TEST_F(CanvasTest, RectangleWithoutPenIsOnePixelSmaller) {
  TCanvas& c = bitmap.Canvas();
  c.Pen.Style = psClear;
  c.Brush.Color = clRed;
  c.Rectangle(10, 10, 20, 20);
  EXPECT_EQ(Row(15, 9, 20), ".#########..");
  EXPECT_EQ(At(15, 18), clRed);
  EXPECT_EQ(At(15, 19), clWhite);
}

TEST_F(CanvasTest, FillRectCoversBoxWithoutOutline) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clBlue;
  c.FillRect(MakeRect(5, 5, 15, 8));
  EXPECT_EQ(Row(6, 4, 15), ".##########.");
  EXPECT_EQ(At(10, 4), clWhite);
  EXPECT_EQ(At(10, 7), clBlue);
  EXPECT_EQ(At(10, 8), clWhite);
}

TEST_F(CanvasTest, ReversedCornersDrawTheSameRectangle) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Rectangle(20, 20, 10, 10);
  EXPECT_EQ(Row(15, 9, 20), ".##########.");
}

TEST_F(CanvasTest, EllipseStaysInsideItsBox) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Ellipse(10, 10, 30, 30);
  const InkBox ink = FindInk(bitmap.Image(), qRgb(255, 255, 255));
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.top, 10);
  EXPECT_EQ(ink.right, 29);
  EXPECT_EQ(ink.bottom, 29);
  EXPECT_EQ(At(20, 20), clRed);
  EXPECT_EQ(At(10, 10), clWhite) << "corner of the box lies outside the ellipse";
  EXPECT_EQ(At(29, 29), clWhite);
}

TEST_F(CanvasTest, LineToLeavesOutEndPixelAndMovesPosition) {
  TCanvas& c = bitmap.Canvas();
  c.MoveTo(5, 5);
  c.LineTo(15, 5);
  EXPECT_EQ(Row(5, 4, 16), ".##########..");
  EXPECT_EQ(c.PenPos().X, 15);
  EXPECT_EQ(c.PenPos().Y, 5);
  c.MoveTo(30, 10);
  c.LineTo(30, 20);
  EXPECT_EQ(At(30, 10), clBlack);
  EXPECT_EQ(At(30, 19), clBlack);
  EXPECT_EQ(At(30, 20), clWhite);
  c.MoveTo(0, 20);
  c.LineTo(10, 30);
  EXPECT_EQ(At(0, 20), clBlack);
  EXPECT_EQ(At(9, 29), clBlack);
  EXPECT_EQ(At(10, 30), clWhite);
}

TEST_F(CanvasTest, LineDrawnBackwardsKeepsItsStartAndLeavesOutItsEnd) {
  TCanvas& c = bitmap.Canvas();
  c.MoveTo(15, 5);
  c.LineTo(5, 5);
  EXPECT_EQ(Row(5, 4, 16), "..##########.");
  EXPECT_EQ(At(15, 5), clBlack) << "start pixel drawn";
  EXPECT_EQ(At(6, 5), clBlack);
  EXPECT_EQ(At(5, 5), clWhite) << "end pixel left out";
  c.MoveTo(30, 20);
  c.LineTo(30, 10);
  EXPECT_EQ(At(30, 20), clBlack);
  EXPECT_EQ(At(30, 11), clBlack);
  EXPECT_EQ(At(30, 10), clWhite);
  c.MoveTo(10, 30);
  c.LineTo(0, 20);
  EXPECT_EQ(At(10, 30), clBlack);
  EXPECT_EQ(At(1, 21), clBlack);
  EXPECT_EQ(At(0, 20), clWhite);
}

TEST_F(CanvasTest, PolylineJoinsPointsAndKeepsPosition) {
  TCanvas& c = bitmap.Canvas();
  c.MoveTo(1, 1);
  c.Polyline({{5, 5}, {15, 5}, {15, 15}});
  EXPECT_EQ(At(5, 5), clBlack);
  EXPECT_EQ(At(15, 5), clBlack) << "inner vertex is drawn by the next segment";
  EXPECT_EQ(At(15, 14), clBlack);
  EXPECT_EQ(At(15, 15), clWhite) << "last end pixel left out";
  EXPECT_EQ(c.PenPos().X, 1);
}

// Non-white pixels in the four quadrants around (20, 20), each quadrant
// shrunk by a margin so that the radial edges do not count.
struct Quadrants {
  int upperRight = 0, upperLeft = 0, lowerLeft = 0, lowerRight = 0;  // pixels
};
Quadrants CountQuadrants(TCanvas& c) {
  constexpr int kMargin = 2;  // pixels kept clear of the axes
  Quadrants q;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (c.Pixel(x, y) == clWhite) continue;
      if (std::abs(x - 20) < kMargin || std::abs(y - 20) < kMargin) continue;
      if (x > 20 && y < 20) ++q.upperRight;
      if (x < 20 && y < 20) ++q.upperLeft;
      if (x < 20 && y > 20) ++q.lowerLeft;
      if (x > 20 && y > 20) ++q.lowerRight;
    }
  return q;
}

TEST_F(CanvasTest, PieRunsCounterClockwiseFromFirstRadial) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Pen.Color = clRed;
  // from the right radial to the top radial: the upper-right quarter
  c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
  const Quadrants q = CountQuadrants(c);
  EXPECT_GT(q.upperRight, 0);
  EXPECT_EQ(q.upperLeft, 0);
  EXPECT_EQ(q.lowerLeft, 0);
  EXPECT_EQ(q.lowerRight, 0);
  EXPECT_EQ(At(30, 10), clRed);
}

TEST_F(CanvasTest, PieWithSwappedRadialsTakesTheOtherThreeQuarters) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Pen.Color = clRed;
  c.Pie(0, 0, 40, 40, 20, 0, 40, 20);
  const Quadrants q = CountQuadrants(c);
  EXPECT_EQ(q.upperRight, 0);
  EXPECT_GT(q.upperLeft, 0);
  EXPECT_GT(q.lowerLeft, 0);
  EXPECT_GT(q.lowerRight, 0);
}

TEST_F(CanvasTest, PieRadialPointsNeedNotLieOnTheEllipse) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Pen.Color = clRed;
  // far points on the left radial and the bottom radial: lower-left quarter
  c.Pie(0, 0, 40, 40, -100, 20, 20, 500);
  const Quadrants q = CountQuadrants(c);
  EXPECT_GT(q.lowerLeft, 0);
  EXPECT_EQ(q.upperRight + q.upperLeft + q.lowerRight, 0);
}

TEST_F(CanvasTest, ArcDrawsOnlyTheOutlineOfItsSpan) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Arc(0, 0, 40, 40, 20, 0, 0, 20);  // top to left: upper-left quarter
  const Quadrants q = CountQuadrants(c);
  EXPECT_GT(q.upperLeft, 0);
  EXPECT_EQ(q.upperRight + q.lowerLeft + q.lowerRight, 0);
  EXPECT_EQ(At(10, 10), clWhite) << "inside of the arc is not filled";
}

TEST_F(CanvasTest, EllipseIsSymmetricAboutItsBoxCentre) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsClear;
  c.Ellipse(0, 0, 40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(At(x, y), At(39 - x, y)) << "left-right at " << x << "," << y;
      ASSERT_EQ(At(x, y), At(x, 29 - y)) << "top-bottom at " << x << "," << y;
    }
}

TEST_F(CanvasTest, PieArcLiesOnTheCircleOfTheSameBox) {
  // sectors are drawn first and the circle over them: their curved edges
  // must coincide, or a second ring shows
  TBitmap circle(40, 40);
  circle.Canvas().Brush.Style = bsClear;
  circle.Canvas().Ellipse(0, 0, 40, 40);
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsClear;
  c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
  int onArc = 0;
  for (int y = 0; y < 17; ++y)
    for (int x = 23; x < 40; ++x) {
      if (At(x, y) != clBlack || y == 19 || x == 20) continue;
      ++onArc;
      EXPECT_EQ(circle.Canvas().Pixel(x, y), clBlack) << x << "," << y;
    }
  EXPECT_GT(onArc, 20);
}

TEST_F(CanvasTest, AntialiasingIsOffUnlessSwitchedOn) {
  const auto greys = [](TBitmap& b) {
    int count = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const TColor p = b.Canvas().Pixel(x, y);
        if (p != clWhite && p != clBlack) ++count;
      }
    return count;
  };
  const auto draw = [](TCanvas& c) {
    c.Brush.Style = bsClear;
    c.MoveTo(0, 0);
    c.LineTo(39, 13);
    c.Ellipse(5, 15, 35, 38);
    c.Font.Size = 14;
    c.TextOut(2, 2, "Sa");
  };
  draw(bitmap.Canvas());
  EXPECT_EQ(greys(bitmap), 0);
  TBitmap smooth(40, 40);
  smooth.Canvas().SetAntialiasing(true);
  draw(smooth.Canvas());
  EXPECT_GT(greys(smooth), 0);
}

TEST_F(CanvasTest, DashedAndDottedPensUseTheirPixelPatterns) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsClear;
  c.Pen.Style = psDash;
  c.MoveTo(0, 5);
  c.LineTo(40, 5);
  EXPECT_EQ(Row(5, 0, 39), std::string(18, '#') + std::string(6, '.') + std::string(16, '#'));
  c.Pen.Style = psDot;
  c.MoveTo(0, 8);
  c.LineTo(40, 8);
  EXPECT_EQ(Row(8, 0, 11), "###...###...");
}

TEST_F(CanvasTest, DashPatternCountsFromTheLineStartOutsideTheBitmap) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsClear;
  c.Pen.Style = psDash;
  // 30 pixels before column 0: column 0 is 6 pixels into a dash
  c.MoveTo(-30, 5);
  c.LineTo(40, 5);
  EXPECT_EQ(Row(5, 0, 29), std::string(12, '#') + std::string(6, '.') + std::string(12, '#'));
}

TEST_F(CanvasTest, HugeCoordinatesDrawOnlyTheVisiblePart) {
  TCanvas& c = bitmap.Canvas();
  c.MoveTo(-2000000000, 7);
  c.LineTo(2000000000, 7);
  EXPECT_EQ(Row(7, 0, 39), std::string(40, '#'));
  c.Brush.Color = clRed;
  c.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);  // returns at once
  EXPECT_EQ(At(20, 20), clRed) << "the bitmap lies deep inside the ellipse";
}

TEST_F(CanvasTest, SolidBrushPaintsDashGapsClearBrushDoesNot) {
  TCanvas& c = bitmap.Canvas();
  c.Pen.Style = psDot;
  c.Brush.Style = bsSolid;
  c.Brush.Color = clBlue;
  c.MoveTo(0, 5);
  c.LineTo(12, 5);
  EXPECT_EQ(At(0, 5), clBlack);
  EXPECT_EQ(At(4, 5), clBlue);
  c.Brush.Style = bsClear;
  c.MoveTo(0, 9);
  c.LineTo(12, 9);
  EXPECT_EQ(At(4, 9), clWhite);
}

TEST_F(CanvasTest, WidePenIsAlwaysSolid) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsClear;
  c.Pen.Style = psDash;
  c.Pen.Width = 2;
  c.MoveTo(2, 10);
  c.LineTo(38, 10);
  int inked = 0;
  for (int x = 2; x < 38; ++x)
    if (At(x, 9) != clWhite || At(x, 10) != clWhite) ++inked;
  EXPECT_EQ(inked, 36);
}

TEST_F(CanvasTest, DiagonalCrossHatchLeavesBackgroundBetweenLines) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clGreen;
  c.FillRect(MakeRect(0, 0, 40, 40));
  c.Brush.Color = clRed;
  c.Brush.Style = bsDiagCross;
  c.Pen.Style = psClear;
  c.FillRect(MakeRect(0, 0, 32, 32));
  // Two one-pixel diagonals per 8-pixel cell: a quarter of the pixels.
  int red = 0, green = 0, other = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const TColor p = At(x, y);
      if (p == clRed)
        ++red;
      else if (p == clGreen)
        ++green;
      else
        ++other;
    }
  EXPECT_EQ(red, 32 * 32 / 4);
  EXPECT_EQ(green, 32 * 32 * 3 / 4) << "background shows through between hatch lines";
  EXPECT_EQ(other, 0);
  // each hatch row is symmetric: the two diagonals cross
  for (int y = 0; y < 8; ++y) {
    int inRow = 0;
    for (int x = 0; x < 8; ++x) inRow += At(x, y) == clRed;
    EXPECT_EQ(inRow, 2) << "row " << y;
  }
}

TEST_F(CanvasTest, HatchedPieKeepsOutlineAndLeavesGaps) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Style = bsDiagCross;
  c.Brush.Color = clRed;
  c.Pen.Color = clBlack;
  c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
  int red = 0, white = 0;
  for (int y = 4; y < 16; ++y)
    for (int x = 24; x < 36; ++x) {
      if (At(x, y) == clRed) ++red;
      if (At(x, y) == clWhite) ++white;
    }
  EXPECT_GT(red, 0);
  EXPECT_GT(white, red) << "a quarter of the pixels carry the hatch";
}

TEST_F(CanvasTest, PolygonUsesAlternateFill) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.Pen.Style = psClear;
  // a pentagram: with alternate filling its centre stays empty
  c.Polygon({{20, 1}, {31, 36}, {2, 14}, {38, 14}, {9, 36}});
  EXPECT_EQ(At(20, 22), clWhite) << "centre of the star";
  EXPECT_EQ(At(20, 6), clRed) << "top point";
  EXPECT_EQ(At(6, 15), clRed) << "left point";
}

TEST_F(CanvasTest, ColourValuesAreBlueGreenRed) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = 0x000000FF;
  c.FillRect(MakeRect(0, 0, 2, 2));
  c.Brush.Color = RGBColor(252, 71, 3);
  c.FillRect(MakeRect(2, 0, 4, 2));
  const QImage& image = bitmap.Image();
  EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u) << "0x000000FF is pure red";
  EXPECT_EQ(image.pixel(2, 0) & 0xFFFFFF, 0xFC4703u);
  EXPECT_EQ(At(0, 0), 0x0000FF);
  EXPECT_EQ(At(2, 0), 0x0347FC);
  c.Brush.Color = clBtnFace;  // a system colour is drawn as its scheme value
  c.FillRect(MakeRect(4, 0, 6, 2));
  EXPECT_EQ(At(4, 0), RGBColor(212, 208, 200));
}

TEST_F(CanvasTest, TextCellTopLeftIsAtThePoint) {
  TCanvas& c = bitmap.Canvas();
  bitmap.SetSize(120, 60);
  c.Brush.Style = bsClear;
  c.Font.Name = "Arial";
  c.Font.Size = 12;
  c.Font.Color = clBlack;
  const int width = c.TextWidth("Hg");
  const int height = c.TextHeight("Hg");
  c.TextOut(10, 20, "Hg");
  const InkBox ink = FindInk(bitmap.Image(), qRgb(255, 255, 255));
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.left, 10);
  EXPECT_GT(ink.top, 20) << "ink starts below the cell top (the ascent holds the accents)";
  EXPECT_LT(ink.right, 10 + width);
  EXPECT_LT(ink.bottom, 20 + height);
  EXPECT_EQ(c.PenPos().X, 10 + width);
  EXPECT_EQ(c.PenPos().Y, 20);
}

TEST_F(CanvasTest, FontSizeIsInPointsAt96PixelsPerInch) {
  TCanvas& c = bitmap.Canvas();
  c.Font.Name = "Arial";
  c.Font.Size = 12;  // 16 pixels of em at 96 pixels per inch
  constexpr int kEmPixels = 16;
  constexpr double kMaxLineSpacingRatio = 1.3;  // line height / em, DejaVu Sans 1.16
  const int height = c.TextHeight("Hg");
  EXPECT_GE(height, kEmPixels);
  EXPECT_LE(height, kEmPixels * kMaxLineSpacingRatio);
  EXPECT_EQ(c.TextWidth("HH"), 2 * c.TextWidth("H"));
  c.Font.Size = 24;
  EXPECT_NEAR(c.TextHeight("Hg"), 2 * height, 1);
}

TEST_F(CanvasTest, SolidBrushFillsTheTextCell) {
  TCanvas& c = bitmap.Canvas();
  bitmap.SetSize(80, 40);
  c.Font.Name = "MS Sans Serif";
  c.Font.Size = 8;
  c.Brush.Color = RGBColor(254, 254, 200);
  c.TextOut(5, 5, ".");
  const int width = c.TextWidth(".");
  const int height = c.TextHeight(".");
  EXPECT_EQ(At(5, 5), RGBColor(254, 254, 200)) << "cell corner";
  EXPECT_EQ(At(5 + width - 1, 5 + height - 1), RGBColor(254, 254, 200));
  EXPECT_EQ(At(5 + width, 5), clWhite);
  EXPECT_EQ(At(5, 5 + height), clWhite);
}

TEST_F(CanvasTest, CyrillicTextIsDrawn) {
  TCanvas& c = bitmap.Canvas();
  bitmap.SetSize(120, 40);
  c.Brush.Style = bsClear;
  c.Font.Size = 12;
  const std::string word = Cp("Карта");
  ASSERT_EQ(word.size(), 5u);
  EXPECT_GT(c.TextWidth(word), c.TextWidth(Cp("К")));
  EXPECT_NE(c.TextWidth(Cp("Ж")), c.TextWidth("?")) << "not turned into question marks";
  c.TextOut(2, 2, word);
  EXPECT_GT(FindInk(bitmap.Image(), qRgb(255, 255, 255)).count, 0);
}

TEST_F(CanvasTest, CopyRectCopiesScalesAndMirrors) {
  TBitmap source(10, 10);
  source.Canvas().Brush.Color = clRed;
  source.Canvas().FillRect(MakeRect(0, 0, 5, 10));  // left half red
  TCanvas& c = bitmap.Canvas();
  c.CopyRect(MakeRect(0, 0, 10, 10), source.Canvas(), MakeRect(0, 0, 10, 10));
  EXPECT_EQ(Row(3, 0, 10), "#####......");
  c.CopyRect(MakeRect(0, 20, 20, 30), source.Canvas(), MakeRect(0, 0, 10, 10));
  EXPECT_EQ(Row(25, 0, 20), std::string(10, '#') + std::string(11, '.')) << "doubled width";
  c.CopyRect(MakeRect(30, 10, 20, 20), source.Canvas(), MakeRect(0, 0, 10, 10));
  EXPECT_EQ(Row(15, 20, 30), ".....#####.") << "reversed target mirrors";
}

TEST_F(CanvasTest, CopyRectWithinOneCanvas) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.FillRect(MakeRect(0, 0, 4, 4));
  c.CopyRect(MakeRect(2, 2, 6, 6), c, MakeRect(0, 0, 4, 4));
  EXPECT_EQ(Row(3, 0, 7), "######..");
  EXPECT_EQ(Row(5, 0, 7), "..####..");
}

TEST_F(CanvasTest, AreaCanvasShiftsAndClips) {
  QImage page(60, 60, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    TQtCanvas c(&painter, MakeRect(10, 20, 30, 40));
    c.Brush.Color = clRed;
    c.Pen.Style = psClear;
    c.Rectangle(0, 0, 100, 100);
    c.Pen.Style = psSolid;
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
  }
  EXPECT_EQ(page.pixel(10, 20) & 0xFFFFFF, 0x000000u) << "origin moved to the area corner";
  EXPECT_EQ(page.pixel(14, 20) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(page.pixel(15, 20) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(page.pixel(29, 39) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(page.pixel(30, 30) & 0xFFFFFF, 0xFFFFFFu) << "clipped at the area's right";
  EXPECT_EQ(page.pixel(20, 40) & 0xFFFFFF, 0xFFFFFFu) << "clipped at the area's bottom";
  EXPECT_EQ(page.pixel(9, 25) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(CanvasTest, PrinterPageTextScalesWithResolution) {
  constexpr int kPageDpi = 600;
  constexpr int kHeightTolerance = 3;  // pixels at 600 per inch, rounding of metrics
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  int screenHeight = 0;
  int pageHeight = 0;
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPageDpi);
    QPainter painter(&writer);
    TQtCanvas page(&painter);
    EXPECT_EQ(page.PixelsPerInch(), kPageDpi);
    page.Font.Name = "Arial";
    page.Font.Size = 12;
    bitmap.Canvas().Font = page.Font;
    screenHeight = bitmap.Canvas().TextHeight("Hg");
    pageHeight = page.TextHeight("Hg");
    page.TextOut(100, 100, "Hg");
    page.Rectangle(50, 50, 500, 500);
  }
  // 12 points: 16 pixels at 96 per inch, 100 at 600 per inch
  EXPECT_NEAR(pageHeight, screenHeight * kPageDpi / 96.0, kHeightTolerance);
  EXPECT_TRUE(buffer.data().startsWith("%PDF"));
}

TEST_F(CanvasTest, BitmapResizeKeepsPixelsAndSavesBmp) {
  TCanvas& c = bitmap.Canvas();
  c.Brush.Color = clRed;
  c.FillRect(MakeRect(0, 0, 2, 2));
  bitmap.SetSize(50, 30);
  EXPECT_EQ(bitmap.Width(), 50);
  EXPECT_EQ(bitmap.Height(), 30);
  EXPECT_EQ(At(1, 1), clRed);
  EXPECT_EQ(At(45, 5), clWhite);
  // a path with Russian letters is the file system's bytes, taken as they are
  const std::string file = testing::TempDir() + "холст_canvas_test.bmp";
  ASSERT_TRUE(bitmap.SaveToFile(file));
  QImage back(QString::fromStdString(file), "BMP");
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.size(), QSize(50, 30));
  EXPECT_EQ(back.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
}

// A recording canvas: drawing code can be checked without pixels.
class RecordingCanvas : public TNullCanvas {
 public:
  void LineTo(int x, int y) override {
    calls.push_back("LineTo " + std::to_string(x) + "," + std::to_string(y));
    MoveTo(x, y);
  }
  std::vector<std::string> calls;
};

TEST_F(CanvasTest, DrawingCallsCanBeRecorded) {
  RecordingCanvas r;
  TCanvas& c = r;
  c.MoveTo(1, 2);
  c.LineTo(3, 4);
  c.Rectangle(0, 0, 5, 5);  // draws nowhere
  ASSERT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.calls[0], "LineTo 3,4");
  EXPECT_EQ(c.PenPos().X, 3);
  EXPECT_EQ(c.Pixel(0, 0), -1);
}

}  // namespace
