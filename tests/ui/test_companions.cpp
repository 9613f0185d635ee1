// The chart's companion windows inside the started program: the positions
// table, the planet parameters, the local-space chart with its hint, the
// circle options and the picture options; their menu items and window codes,
// their pictures in every colour mode, and the settings the circle options
// must leave alone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/ui/circleoptions.h"
#include "chart/ui/companionwindows.h"
#include "chart/ui/localspacechart.h"
#include "chart/ui/picturechart.h"
#include "chart/ui/positionplanets.h"
#include "engine/astromath.h"
#include "input/ui/paramcalc.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/messages.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExportSide = 800;  // pixels

// Pixels of an image that are not grey (red, green and blue unequal).
int ColouredPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++count;
    }
  return count;
}

class CompanionWindows : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    Start();
  }
};

TEST_F(CompanionWindows, PositionsTableOpensByItemAndButtonAndShowsItsSignsAgainWhenReopened) {
  TPositionPlanets& positions = *windows_->PositionPlanets;
  EXPECT_TRUE(form_->Item("N45")->isEnabled());
  form_->Item("N45")->trigger();
  ASSERT_TRUE(positions.isVisible());
  EXPECT_EQ(form_->ActiveToolWindowCode, kCodePositions);
  positions.FormActivate();
  EXPECT_EQ(form_->ExportWindowCode, kCodePositions);
  const QImage first = positions.WindowPicture().copy();
  positions.close();
  EXPECT_EQ(positions.Mode, -1);
  form_->Button("SpeedButton8")->click();
  ASSERT_TRUE(positions.isVisible());
  // the same chart gives the same picture, sign glyphs included
  EXPECT_EQ(positions.WindowPicture(), first);
  // a chart moved in time moves the table
  chart_->MoveChartTo(chart_->Chart.JulianDayUT + 1.0);
  EXPECT_NE(positions.WindowPicture(), first);
  positions.close();
}

TEST_F(CompanionWindows, MonochromePicturesHoldOnlyGreysAndTheWindowsKeepTheirColours) {
  TPositionPlanets& positions = *windows_->PositionPlanets;
  TLocalSpaceChart& space = *windows_->LocalSpaceChart;
  form_->Item("N45")->trigger();
  form_->Item("N143")->trigger();
  ASSERT_TRUE(space.isVisible());
  EXPECT_EQ(form_->ActiveToolWindowCode, kCodeLocalSpace);
  for (int mode = 0; mode <= 2; ++mode) {
    const QImage table = positions.Picture(kExportSide, kExportSide, mode);
    const QImage compass = space.Picture(kExportSide, kExportSide, mode);
    ASSERT_EQ(table.size(), QSize(kExportSide, kExportSide));
    if (mode == 0) {
      EXPECT_EQ(ColouredPixels(table), 0);
      EXPECT_EQ(ColouredPixels(compass), 0);
    } else {
      EXPECT_GT(ColouredPixels(compass), 0) << "mode " << mode;
    }
  }
  // an export picture leaves the window's own mode and picture alone
  EXPECT_EQ(space.ColorMode, 2);
  EXPECT_GT(ColouredPixels(space.WindowPicture()), 0);
  positions.close();
  space.close();
}

TEST_F(CompanionWindows, LocalSpaceHintNamesThePlanetUnderThePointer) {
  TLocalSpaceChart& space = *windows_->LocalSpaceChart;
  form_->Button("SpeedButton54")->click();
  ASSERT_TRUE(space.isVisible());
  const TRect sun = space.Hover.HoverRects[0];
  ASSERT_GE(sun.Left, 0);
  space.FormMouseMove((sun.Left + sun.Right) / 2, (sun.Top + sun.Bottom) / 2);
  EXPECT_TRUE(space.Hover.HintVisible);
  EXPECT_EQ(space.Hover.HintText.rfind(chart_->Chart.ObjectNames[1] + ":", 0), 0u)
      << space.Hover.HintText;
  // counted from the East point as the calculation parameters choose: the
  // Sun's hint reads 90 degrees minus its azimuth, the picture stays
  const float azimuth = space.Space.Azimuth[0];
  windows_->ParamCalc->RadioButton[28]->setChecked(true);
  space.FormMouseMove((sun.Left + sun.Right) / 2, (sun.Top + sun.Bottom) / 2);
  float fromEast = 90.0f - azimuth;
  Normalize360f(fromEast);
  EXPECT_EQ(space.Hover.HintText, LocalSpaceHint(chart_->Chart, space.Space, 0));
  EXPECT_NEAR(space.Space.LocalSpaceSlots[0][kSlotOriginAzimuth], fromEast, 1e-4);
  space.Hover.HintVisible = false;
  space.DrawLocalSpaceChart();
  const QImage eastPicture = space.WindowPicture().copy();
  windows_->ParamCalc->RadioButton[29]->setChecked(true);
  space.DrawLocalSpaceChart();
  EXPECT_EQ(space.WindowPicture(), eastPicture);
  space.FormMouseMove(0, 0);
  EXPECT_FALSE(space.Hover.HintVisible);
  space.close();
}

TEST_F(CompanionWindows,
       LocalSpaceExportToABmpFileIsMonochromeAtItsSizeAndTheWindowKeepsItsColours) {
  TLocalSpaceChart& space = *windows_->LocalSpaceChart;
  TbmpPixels& pixels = *windows_->bmpPixels;
  fs::remove_all(folder_ / "BMP");
  form_->Item("N143")->trigger();
  ASSERT_TRUE(space.isVisible());
  chart_->FormActivate();  // the chart activated later: the tool window on show is exported
  const QImage own = space.WindowPicture().copy();
  ASSERT_TRUE(form_->Item("BMP1")->isEnabled());
  // the picture dialog answered as a user would: 300 x 200, monochrome, "space"
  int asked = 0;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() != &pixels) return;
    ++asked;
    pixels.MaskEdit1->setText("300");
    pixels.MaskEdit2->setText("200");
    pixels.Edit1->setText("space");
    pixels.RadioButton3->setChecked(true);
    pixels.BitBtn1Click();
  });
  answer.start(5);
  form_->Item("BMP1")->trigger();
  answer.stop();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  EXPECT_EQ(form_->ExportWindowCode, kCodeLocalSpace);
  const QImage written(QString::fromStdString((folder_ / "BMP/space.bmp").string()));
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written.size(), QSize(300, 200));
  EXPECT_EQ(ColouredPixels(written), 0);
  // a drawing: not one colour all over
  EXPECT_NE(written.pixel(0, 0), written.pixel(150, 100));
  // the window's own target and colours again, its picture and hint boxes unchanged
  const DrawTarget target = space.Target();
  EXPECT_EQ(target.Purpose, DrawPurpose::Window);
  EXPECT_EQ(target.ColorMode, kColorModeFull);
  EXPECT_EQ(space.WindowPicture(), own);
  space.DrawLocalSpaceChart();
  EXPECT_EQ(space.WindowPicture(), own);
  EXPECT_GT(ColouredPixels(space.WindowPicture()), 0);
  space.close();
}

TEST_F(CompanionWindows, PlanetParametersLeaveTheChartAndTheEquatorialSwitchAlone) {
  TAstronom& astronom = *windows_->Astronom;
  const ChartRecord before = chart_->Chart;
  astronom.FillPlanetParameters();
  EXPECT_EQ(form_->EquatorialOutput, 0);
  EXPECT_EQ(std::memcmp(before.EclipticLongitude, chart_->Chart.EclipticLongitude,
                        sizeof before.EclipticLongitude),
            0);
  EXPECT_EQ(astronom.Cell(1, 0), chart_->Chart.ObjectNames[1]);
  EXPECT_EQ(astronom.Cell(0, 1), form_->UiText.Entry(269));
  EXPECT_FALSE(astronom.Cell(10, 8).empty());
  astronom.FormActivate();
  EXPECT_EQ(form_->ExportWindowCode, kCodeAstronomicalValues);
  // its code exports nothing, without a message: the clipboard keeps what it held
  CopyTextToClipboard("kept");
  astronom.StringGrid1->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 1), true);
  form_->Item("N23")->trigger();
  EXPECT_EQ(ClipboardText(), "kept");
}

TEST_F(CompanionWindows, CircleOptionsEditTheRadiiOfTheShownStyleOnlyWhenMoved) {
  TCircleOptions& options = *windows_->CircleOptions;
  ChartRecord& c = chart_->Chart;
  c.ChartStyle = 1;
  // a value outside the bars' range survives the opening of the window
  c.RadiiEuropean[0] = 120;
  const int american1 = c.RadiiAmerican[1];
  form_->Item("N38")->trigger();
  ASSERT_TRUE(options.isVisible());
  EXPECT_EQ(c.RadiiEuropean[0], 120);
  options.TrackBar2->setValue(50);
  EXPECT_EQ(c.RadiiEuropean[1], 50);
  EXPECT_EQ(c.RadiiAmerican[1], american1);
  options.TrackBar4->setValue(7);
  EXPECT_EQ(c.RadiiEuropean[4], 7);
  options.TrackBar5->setValue(66);
  EXPECT_EQ(c.RadiiEuropean[3], 66);
  options.ComboBox1->setCurrentText("55");
  EXPECT_EQ(c.GlyphSizes[1], 25);
  options.ComboBox4->setCurrentText("1");
  EXPECT_EQ(c.GlyphSizes[0], 0);
  options.BitBtn1Click();
  EXPECT_FALSE(options.isVisible());
  // the American style: the bars show and edit the American set
  c.ChartStyle = 0;
  options.show();
  EXPECT_EQ(options.TrackBar2->value(), american1);
  options.TrackBar2->setValue(33);
  EXPECT_EQ(c.RadiiAmerican[1], 33);
  EXPECT_EQ(c.RadiiEuropean[1], 50);
  options.close();
}

TEST_F(CompanionWindows, PictureOptionsRefuseASizeBelowOnePixel) {
  TbmpPixels& pixels = *windows_->bmpPixels;
  EXPECT_EQ(pixels.PictureWidth(), 1000);
  EXPECT_EQ(pixels.FileName(), "bmp1");
  EXPECT_EQ(pixels.ColorMode(), 1);
  pixels.RadioButton3->setChecked(true);
  EXPECT_EQ(pixels.ColorMode(), 0);
  pixels.RadioButton1->setChecked(true);
  EXPECT_EQ(pixels.ColorMode(), 2);
  for (const char* size : {"0", "", "0000"}) {
    messages_.clear();
    pixels.MaskEdit2->setText(size);
    pixels.BitBtn1Click();
    ASSERT_EQ(messages_.size(), 1u) << "height '" << size << "'";
    EXPECT_EQ(messages_[0], form_->UiText.Entry(kUiEntryPictureTooSmall));
  }
  EXPECT_FALSE(form_->UiText.Entry(kUiEntryPictureTooSmall).empty());
}

}  // namespace
