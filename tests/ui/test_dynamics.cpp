// The dynamics window inside the started program: opened from the aspect
// list and from a body's popup, its graphs read back by their pixels (the
// exact aspect against the engine's own search, retrograde stations, the
// axis below 0 degrees), the hover box and the zoom by drag, the export and
// the print into a rectangle, and what it refuses.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "engine/timing.h"
#include "judgement/ui/dynplanasp.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 128, 0);
const QRgb kHintBack = qRgb(254, 254, 200);
const QRgb kButtonFace = qRgb(212, 208, 200);

int CountColour(const QImage& image, QRgb colour, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
  return n;
}

// Columns whose pixel just below the bottom axis has the colour: the
// vertical marks that run past the axis (stations, exactness).
std::vector<int> MarkColumns(const QImage& image, const TDynPlanAsp& d, QRgb colour) {
  std::vector<int> columns;
  for (int x = d.GraphLeft; x <= d.GraphRight; ++x)
    if ((image.pixel(x, d.GraphBottom + 3) & 0xFFFFFF) == (colour & 0xFFFFFF)) columns.push_back(x);
  return columns;
}

class Dynamics : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    CreateWindows();
    dyn_ = windows_->DynPlanAsp;
    chart_->FormShow();
  }
  void SetMoment(int day, int month, int year, float ut) {
    chart_->Chart.TimeZone = 3;
    SetUniversalMoment(day, month, year, ut);
  }
  std::string Entry(int n) const { return form_->UiText.Entry(n); }

  TDynPlanAsp* dyn_ = nullptr;
};

// The new moon of 6 January 2000 (18:14 UT) from the aspect list's line of
// the Sun and the Moon: the curve peaks where the engine's search puts the
// conjunction, applying blue before it and separating red after it.
TEST_F(Dynamics, AspectListLineOpensTheAspectGraphPeakingAtTheExactMoment) {
  SetMoment(6, 1, 2000, 12.0f);
  // before the chart window is activated nothing is computed
  dyn_->ShowAspectDynamics(0, 0, 1);
  EXPECT_FALSE(dyn_->isVisible());
  chart_->FormActivate();
  EXPECT_TRUE(form_->Item("N43")->isChecked());
  form_->Item("N27")->trigger();
  QListWidget* list = form_->ListBox1();
  for (int row = 0; row < list->count() && !dyn_->isVisible(); ++row) {
    list->setCurrentRow(row);
    form_->ListBox1DblClick();
    if (dyn_->isVisible() && (dyn_->FirstObject != 0 || dyn_->SecondObject != 1)) dyn_->close();
  }
  ASSERT_TRUE(dyn_->isVisible());
  EXPECT_EQ(dyn_->DynamicsMode, 0);
  EXPECT_EQ(dyn_->DynAspectKind, 0);
  EXPECT_TRUE(dyn_->windowTitle().startsWith(QString::fromStdString(Cp1251ToUtf8(Entry(299)))));
  const double moment = chart_->Chart.JulianDayUT;
  EXPECT_LT(dyn_->WindowStart, moment);
  EXPECT_GT(dyn_->WindowEnd, moment);

  const QImage picture = dyn_->WindowPicture();
  double exact = 0;
  ASSERT_TRUE(FindAspectTime(moment, moment, moment, 0, 1, 0, 0, 1, 1, 1, 0, 0.0f, exact));
  int exactColumn = 0;
  ASSERT_TRUE(MomentColumn(
      *dyn_, GraphArea{dyn_->GraphLeft, dyn_->GraphRight, dyn_->GraphTop, dyn_->GraphBottom}, exact,
      exactColumn));
  // the change from applying to separating is one red mark, at the exact moment
  const std::vector<int> turns = MarkColumns(picture, *dyn_, kRed);
  ASSERT_EQ(turns.size(), 1u);
  EXPECT_NEAR(turns[0] + 1, exactColumn, 1);
  const QRect before(dyn_->GraphLeft, dyn_->GraphTop, exactColumn - dyn_->GraphLeft - 2,
                     dyn_->GraphBottom - dyn_->GraphTop);
  const QRect after(exactColumn + 2, dyn_->GraphTop, dyn_->GraphRight - exactColumn - 2,
                    dyn_->GraphBottom - dyn_->GraphTop);
  EXPECT_GT(CountColour(picture, kBlue, before), 100);
  EXPECT_EQ(CountColour(picture, kRed, before), 0);
  EXPECT_GT(CountColour(picture, kRed, after), 100);
  EXPECT_EQ(CountColour(picture, kBlue, after), 0);
  // the chart's moment is the green line
  int momentColumn = 0;
  ASSERT_TRUE(MomentColumn(
      *dyn_, GraphArea{dyn_->GraphLeft, dyn_->GraphRight, dyn_->GraphTop, dyn_->GraphBottom},
      moment, momentColumn));
  EXPECT_GT(CountColour(picture, kGreen,
                        QRect(momentColumn, dyn_->GraphTop, 1, dyn_->GraphBottom - dyn_->GraphTop)),
            (dyn_->GraphBottom - dyn_->GraphTop) / 2);
  dyn_->close();
}

TEST_F(Dynamics, HoverOnlyRepaintsAndADragZoomsToWholeLocalDays) {
  SetMoment(6, 1, 2000, 12.0f);
  chart_->FormActivate();
  dyn_->ShowAspectDynamics(0, 0, 1);
  ASSERT_TRUE(dyn_->isVisible());
  const int runs = dyn_->SampleRuns();
  const int y = (dyn_->GraphTop + dyn_->GraphBottom) / 2;
  // near the right edge the hover box moves left and stays inside the window
  const int x = dyn_->GraphRight;
  dyn_->FormMouseMove(x, y);
  EXPECT_EQ(dyn_->Hover, 1);
  const QImage hovered = dyn_->WindowPicture();
  EXPECT_GT(CountColour(hovered, kHintBack), 100);
  EXPECT_GT(CountColour(hovered, kHintBack, QRect(0, 0, x - 20, dyn_->height())), 0);
  EXPECT_EQ(CountColour(hovered, kHintBack, QRect(dyn_->width() - 1, 0, 1, dyn_->height())), 0);
  for (int i = 0; i < 20; ++i) dyn_->FormMouseMove(dyn_->GraphLeft + 10 * i, y);
  EXPECT_EQ(dyn_->SampleRuns(), runs);
  dyn_->FormMouseMove(5, 5);
  EXPECT_EQ(dyn_->Hover, 0);
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kHintBack), 0);

  // a drag of no width changes nothing
  const double start = dyn_->WindowStart, end = dyn_->WindowEnd;
  dyn_->FormMouseDown(300, y);
  dyn_->FormMouseMove(300, y);
  dyn_->FormClick();
  dyn_->FormMouseUp(300, y);
  EXPECT_EQ(dyn_->WindowStart, start);
  EXPECT_EQ(dyn_->WindowEnd, end);
  // a drag from the left end to beyond the right end: the frame while it
  // runs, then whole local days up to a later end
  dyn_->FormMouseDown(dyn_->GraphLeft + 1, y - 40);
  dyn_->FormMouseMove(dyn_->GraphRight + 30, y + 40);
  EXPECT_GT(CountColour(dyn_->WindowPicture(), kRed,
                        QRect(dyn_->GraphRight + 1, dyn_->GraphTop, 29, dyn_->GraphBottom)),
            20);
  dyn_->FormClick();
  dyn_->FormMouseUp(dyn_->GraphRight + 30, y + 40);
  EXPECT_EQ(dyn_->Dragging, 0);
  const float zone = chart_->Chart.TimeZone;
  EXPECT_EQ(LocalMomentText(dyn_->WindowStart, zone).substr(11), "00:00:00");
  EXPECT_EQ(LocalMomentText(dyn_->WindowEnd, zone).substr(11), "00:00:00");
  EXPECT_LE(dyn_->WindowStart, start);
  EXPECT_GT(dyn_->WindowEnd, end + 30 * 0.2 * (end - start) - 1);
  EXPECT_EQ(dyn_->SampleRuns(), runs + 1);
  dyn_->close();
}

// The hint box belongs to the mouse over this graph: it goes when the mouse
// leaves the window, and a graph shown next (with the window open or after it
// was closed) starts without the box of the one before.
TEST_F(Dynamics, HoverBoxGoesWhenTheMouseLeavesAndIsNotCarriedIntoTheNextGraph) {
  SetMoment(6, 1, 2000, 12.0f);
  chart_->FormActivate();
  dyn_->ShowAspectDynamics(0, 0, 1);
  ASSERT_TRUE(dyn_->isVisible());
  const auto hoverMiddle = [this] {
    dyn_->FormMouseMove((dyn_->GraphLeft + dyn_->GraphRight) / 2,
                        (dyn_->GraphTop + dyn_->GraphBottom) / 2);
    ASSERT_EQ(dyn_->Hover, 1);
    ASSERT_GT(CountColour(dyn_->WindowPicture(), kHintBack), 100);
  };
  hoverMiddle();
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(dyn_, &leave);
  EXPECT_EQ(dyn_->Hover, 0);
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kHintBack), 0);

  hoverMiddle();
  dyn_->ShowSignDynamics(1);  // the Moon's sign graph in the open window
  ASSERT_EQ(dyn_->DynamicsMode, 1);
  EXPECT_EQ(dyn_->Hover, 0);
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kHintBack), 0);

  hoverMiddle();
  dyn_->close();
  dyn_->ShowAspectDynamics(0, 0, 1);
  ASSERT_TRUE(dyn_->isVisible());
  EXPECT_EQ(dyn_->Hover, 0);
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kHintBack), 0);
  dyn_->close();
}

// Venus stations retrograde in Aries on 2 March 2025, goes back into Pisces
// on 27 March and turns direct at 24 Pisces on 13 April.
TEST_F(Dynamics, SignGraphShowsStationsAndReachesBelowAriesOnlyWhenTheBodyGoesBack) {
  SetMoment(10, 3, 2025, 0.0f);
  chart_->FormActivate();
  chart_->DynamicsBody = 3;
  chart_->N1->trigger();
  ASSERT_TRUE(dyn_->isVisible());
  EXPECT_EQ(dyn_->DynamicsMode, 1);
  EXPECT_TRUE(dyn_->windowTitle().startsWith(QString::fromStdString(Cp1251ToUtf8(Entry(298)))));
  QImage picture = dyn_->WindowPicture();
  // one station each way
  EXPECT_EQ(MarkColumns(picture, *dyn_, kRed).size(), 1u);
  EXPECT_EQ(MarkColumns(picture, *dyn_, kGreen).size(), 1u);
  // 0 degrees is raised off the bottom by 5.4 of 35.4 degrees of the height:
  // the curve starts there and its lowest pixel lies on the bottom
  const int rise = (dyn_->GraphBottom - dyn_->GraphTop) * 5.38 / 35.38;
  EXPECT_GT(
      CountColour(picture, kGreen, QRect(dyn_->GraphLeft, dyn_->GraphBottom - rise - 3, 3, 7)), 0);
  EXPECT_EQ(CountColour(picture, kGreen, QRect(dyn_->GraphLeft, dyn_->GraphBottom - 8, 3, 7)), 0);
  int lowest = 0;
  for (int yy = dyn_->GraphTop; yy < dyn_->GraphBottom; ++yy)
    if (CountColour(picture, kGreen,
                    QRect(dyn_->GraphLeft + 1, yy, dyn_->GraphRight - dyn_->GraphLeft - 1, 1)) +
            CountColour(picture, kRed,
                        QRect(dyn_->GraphLeft + 1, yy, dyn_->GraphRight - dyn_->GraphLeft - 1, 1)) >
        0)
      lowest = yy;
  EXPECT_NEAR(lowest, dyn_->GraphBottom, 2);

  // the Sun in Pisces runs straight on into Aries: no station, no red, the
  // curve from the bottom-left corner to the top-right one
  SetMoment(1, 3, 2000, 0.0f);
  chart_->DynamicsBody = 0;
  chart_->N1->trigger();
  picture = dyn_->WindowPicture();
  EXPECT_EQ(CountColour(picture, kRed), 0);
  EXPECT_TRUE(MarkColumns(picture, *dyn_, kGreen).empty());
  const auto greenNear = [&](int cx, int cy) {
    return CountColour(picture, kGreen, QRect(cx - 2, cy - 2, 5, 5)) > 0;
  };
  EXPECT_TRUE(greenNear(dyn_->GraphLeft + 2, dyn_->GraphBottom));
  EXPECT_TRUE(greenNear(dyn_->GraphRight - 2, dyn_->GraphTop));
  dyn_->close();
}

TEST_F(Dynamics, ExportAndPrintDrawTheSameGraphWhereTheyAreToldAndGiveTheWindowBack) {
  SetMoment(6, 1, 2000, 12.0f);
  chart_->FormActivate();
  dyn_->ShowAspectDynamics(0, 0, 1);
  dyn_->FormActivate();
  EXPECT_EQ(form_->ExportWindowCode, 8);
  form_->Item("N23")->trigger();
  const QImage copied = ClipboardImage();
  ASSERT_EQ(copied.size(), QSize(1000, 1000));
  EXPECT_GT(CountColour(copied, kBlue), 200);
  EXPECT_GT(CountColour(copied, kRed), 200);

  // the printer's canvas: the graph inside the rectangle, nothing outside
  QImage page(3000, 2000, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    TQtCanvas printer(&painter);
    DrawOnto(*dyn_, DrawTarget{&printer, TRect{500, 300, 2500, 1300}, kColorModeMonochrome,
                               DrawPurpose::Print});
  }
  const QRect inside(500, 300, 2000, 1000);
  int outside = 0, drawn = 0, coloured = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QRgb p = page.pixel(x, y);
      if ((p & 0xFFFFFF) == 0xFFFFFF) continue;
      (inside.contains(x, y) ? drawn : outside) += 1;
      // monochrome: greys, and the grid in the button-face colour
      if ((qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) &&
          (p & 0xFFFFFF) != (kButtonFace & 0xFFFFFF))
        ++coloured;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(drawn, 2000);
  EXPECT_EQ(coloured, 0);
  // the window has its own target back and draws as before
  EXPECT_EQ(dyn_->TargetFlags[0] + dyn_->TargetFlags[1] + dyn_->TargetFlags[2], 3);
  EXPECT_EQ(dyn_->TargetColorMode, kColorModeFull);
  dyn_->close();
}

TEST_F(Dynamics, RefusesUntimedKindsMarksOpenEdgesAndDrawsAFrameBeforeAnyWindow) {
  SetMoment(1, 6, 2005, 0.0f);
  // never computed: a frame without a moment line or curve, and no division by 0
  dyn_->show();
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kGreen), 0);
  EXPECT_EQ(CountColour(dyn_->WindowPicture(), kBlue), 0);
  dyn_->close();

  chart_->FormActivate();
  const std::size_t before = messages_.size();
  dyn_->ShowAspectDynamics(0, 27, 1);
  ASSERT_EQ(messages_.size(), before + 1);
  EXPECT_EQ(messages_.back(), Entry(kUiEntryDynamicsUntimedKind));
  EXPECT_FALSE(dyn_->isVisible());

  // a conjunction orb Mercury never leaves: both edges open, both marked
  ChartRecord& c = chart_->Chart;
  c.PairOrb[0][2] = 31.0f / (c.OrbScale[c.OrbScaleIndex] * c.AspectOrbFactor[0]);
  dyn_->ShowAspectDynamics(0, 0, 2);
  ASSERT_TRUE(dyn_->isVisible());
  const std::string caption = Utf8ToCp1251(dyn_->windowTitle().toStdString());
  EXPECT_NE(caption.find(Entry(kUiEntryDynamicsOpenStart)), std::string::npos) << caption;
  EXPECT_NE(caption.find(Entry(kUiEntryDynamicsOpenEnd)), std::string::npos) << caption;
  // a window zoomed by hand has no open edge any more
  dyn_->FormMouseDown(dyn_->GraphLeft + 50, 100);
  dyn_->FormMouseMove(dyn_->GraphLeft + 300, 100);
  dyn_->FormClick();
  dyn_->FormMouseUp(dyn_->GraphLeft + 300, 100);
  EXPECT_EQ(Utf8ToCp1251(dyn_->windowTitle().toStdString()).find(Entry(kUiEntryDynamicsOpenEnd)),
            std::string::npos);
  dyn_->close();
}

}  // namespace
