// The dignities window inside the started program: opened by its menu item
// and button, its grids those of the computation for the chart and the
// calculation parameters in force, followed by the significators, by the
// term system and by every recomputation of the chart while open; its table
// drawn onto a printed rectangle and an export picture; a damaged term file
// stopping the start with its line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "input/ui/paramcalc.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/canvas.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

// Pixels of an image that are not white, and of those the ones outside a box.
struct Ink {
  int Inside = 0;
  int Outside = 0;
  int Coloured = 0;  // red, green and blue unequal
};
Ink InkOf(const QImage& image, const QRect& box) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if ((p & 0xFFFFFF) == 0xFFFFFF) continue;
      (box.contains(x, y) ? ink.Inside : ink.Outside)++;
      if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++ink.Coloured;
    }
  return ink;
}

class DignitiesWindow : public ProgramWindowTest {
 protected:
  DignityResult Expected() const {
    const TParamCalc& params = *windows_->ParamCalc;
    return CalcDignities(chart_->Chart, windows_->Affeticnew->Tables,
                         DignityChoice{params.TermSystem(), params.SignRulerSet()},
                         form_->UiText.Entries);
  }
};

TEST_F(DignitiesWindow, OpensWithTheChartsScoresAndFollowsTheTermSystemAndTheSignificators) {
  Start();
  TAffeticnew& dignities = *windows_->Affeticnew;
  ASSERT_TRUE(form_->Item("N46")->isEnabled());
  form_->Button("SpeedButton66")->click();
  ASSERT_TRUE(dignities.isVisible());
  EXPECT_EQ(Utf8ToCp1251(dignities.windowTitle().toStdString()), form_->UiText.Entry(78));
  EXPECT_EQ(dignities.StringGrid1->Cells.Rows, Expected().Classic.Rows);
  EXPECT_EQ(dignities.StringGrid2->Cells.Rows, Expected().Second.Rows);
  EXPECT_EQ(dignities.StringGrid1->Cell(0, 8), form_->UiText.Entry(489));
  dignities.FormActivate();
  EXPECT_EQ(form_->ExportWindowCode, kCodeDignities);

  // another term system, chosen while the window is open, redraws the table
  const QImage egyptian = dignities.StringGrid1->Picture.copy();
  const DignityGrid before = dignities.StringGrid1->Cells;
  windows_->ParamCalc->RadioGroup1Items->button(3)->click();
  ASSERT_EQ(windows_->ParamCalc->TermSystem(), 3);
  EXPECT_EQ(dignities.StringGrid1->Cells.Rows, Expected().Classic.Rows);
  EXPECT_NE(dignities.StringGrid1->Cells.Rows, before.Rows) << "no term lord changed";
  EXPECT_NE(dignities.StringGrid1->Picture, egyptian);

  // the significators describe their points from the same grid
  windows_->Significators->FormShow();
  EXPECT_EQ(windows_->Significators->Dignities.Rows, Expected().Classic.Rows);
  dignities.BitBtn1->click();
  EXPECT_FALSE(dignities.isVisible());
}

// The open window follows every recomputation of the chart: a day chart
// moved to the night takes the night's triplicity rulers.
TEST_F(DignitiesWindow, FollowsTheChartWhileOpen) {
  Start();
  SetUniversalMoment(6, 1, 2000, 10.0f);  // 13:00 in Moscow: day
  ASSERT_EQ(chart_->Chart.DayChart, 1);
  TAffeticnew& dignities = *windows_->Affeticnew;
  form_->Item("N46")->trigger();
  ASSERT_TRUE(dignities.isVisible());
  const DignityGrid day = dignities.StringGrid1->Cells;
  EXPECT_EQ(day.Rows, Expected().Classic.Rows);
  const QImage dayPicture = dignities.StringGrid1->Picture.copy();

  SetUniversalMoment(6, 1, 2000, 22.0f);  // 01:00 in Moscow: night
  ASSERT_NE(chart_->Chart.DayChart, 1);
  EXPECT_EQ(dignities.StringGrid1->Cells.Rows, Expected().Classic.Rows);
  EXPECT_EQ(dignities.StringGrid2->Cells.Rows, Expected().Second.Rows);
  int triplicityChanged = 0;
  for (int p = 0; p < kDignityBodies; ++p)
    triplicityChanged += dignities.StringGrid1->Cell(p + 1, 7) != day.Rows[p + 1][7];
  EXPECT_GT(triplicityChanged, 0);
  EXPECT_NE(dignities.StringGrid1->Picture, dayPicture);
  dignities.close();
}

TEST_F(DignitiesWindow, TheTableDrawsOntoAPrintedRectangleAndAnExportPicture) {
  Start();
  TAffeticnew& dignities = *windows_->Affeticnew;
  form_->Item("N46")->trigger();
  const QImage own = dignities.StringGrid1->Picture.copy();

  const QRect box(100, 200, 800, 400);
  QImage page(1200, 900, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    TQtCanvas area(
        &painter, TRect{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
    DrawOnto(dignities, DrawTarget{&area, TRect{0, 0, box.width(), box.height()},
                                   kColorModeMonochrome, DrawPurpose::Print});
  }
  const Ink printed = InkOf(page, box);
  EXPECT_GT(printed.Inside, 1000);
  EXPECT_EQ(printed.Outside, 0);
  EXPECT_EQ(printed.Coloured, 0) << "a monochrome print holds only greys";

  const QImage exported = dignities.Picture(900, 500, kColorModePlain);
  ASSERT_EQ(exported.size(), QSize(900, 500));
  EXPECT_GT(InkOf(exported, exported.rect()).Inside, 1000);
  // the window has its own target and picture back
  EXPECT_EQ(dignities.Target().Purpose, DrawPurpose::Window);
  EXPECT_EQ(dignities.StringGrid1->Picture, own);
  dignities.close();
}

TEST_F(DignitiesWindow, ADamagedTermFileStopsTheStartNamingFileAndLine) {
  const fs::path term = folder_ / "Options" / "Term.opt";
  LineList lines;
  ASSERT_TRUE(ReadLines(term.string(), lines));
  lines[7] = lines[7].substr(0, 18) + "29";  // the last term of Leo ends at 29
  ASSERT_TRUE(WriteLinesAtomic(term.string(), lines));
  try {
    Start();
    FAIL() << "the start went on with a degree without a term lord";
  } catch (const PlatformError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(term.string()), std::string::npos) << message;
    EXPECT_NE(message.find(Cp("строка 8")), std::string::npos) << Cp1251ToUtf8(message);
  }
}

}  // namespace
