// The chart window's answers to the mouse, headless: hints over glyphs and on
// the outer circle, the popup menu of a body, and dragging a body onto
// another body or onto a sign, which moves the chart to the moment of the
// aspect or the ingress. The program runs in a copy of the factory data tree;
// the aspect-type dialog is answered through its test hook.
//
// Expected moments are published ones (new moon, ingress, equinox, in UT);
// the program's own time scale adds Delta T = -24.6 + 72.318 T + 29.952 T^2
// seconds (T centuries from 1900), worked out here independently.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "judgement/ui/typeaspect.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/canvas.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr double kArcsecTolDeg = 1.0 / 3600.0;  // degrees: one second of arc
constexpr double kPublishedTolMin = 3.0;        // minutes: published moment vs the theories used
constexpr double kTimeTolSec = 0.01;            // seconds: single-precision hours of the chart
constexpr int kHintEdgePx = 85;                 // pixels kept free at the window's right edge
constexpr double kSecondsPerDay = 86400.0;
constexpr double kMinutesPerDay = 1440.0;

// Julian day of a civil date and UT, Gregorian calendar (Meeus, Astronomical
// Algorithms, ch. 7), without Delta T.
double CivilJulianDay(int year, int month, int day, double hours) {
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  const int a = year / 100;
  const int b = 2 - a + a / 4;
  return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5 +
         hours / 24.0;
}

// Delta T of the program's time scale, seconds, at a civil Julian day.
double ProgramDeltaT(double civilJd) { return DeltaTSeconds(civilJd); }

// Separation of two longitudes folded into [0, 180], degrees.
double Separation(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

QPoint Centre(const TRect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

class ChartEvents : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    previousHook_ = TTypeAspect::SetAnswerHook([this](TTypeAspect& dialog) {
      ++asked_;
      comboEnabledWhenAsked_ = dialog.ComboBox1->isEnabled();
      comboIndexWhenAsked_ = dialog.ComboBox1->currentIndex();
      if (dialog.ComboBox1->isEnabled()) dialog.ComboBox1->setCurrentIndex(kind_);
      (forward_ ? dialog.Front : dialog.Back)->setChecked(true);
      return answer_;
    });
    CreateWindows();
    chart_->FormShow();
    form_->Item("N61")->trigger();  // European wheel
    form_->Item("N63")->trigger();  // Aries on the left
  }
  void TearDown() override {
    chart_->PopupMenu1->hide();
    windows_.reset();
    TTypeAspect::SetAnswerHook(previousHook_);
    ProgramWindowTest::TearDown();
  }

  std::string Entry(int n) {
    LineList lines;
    ReadLines((folder_ / "Options/LangH.lan").string(), lines);
    return lines.at(n);
  }
  QString EntryText(int n) { return QString::fromStdString(Cp1251ToUtf8(Entry(n))); }

  // Puts the chart at a civil date and UT as the chart's own moments are
  // kept (the undo copy stays at the moment cast when shown), shows every
  // body of interest and draws it in a window of the size.
  void SetMoment(int year, int month, int day, float ut, int width = 700, int height = 700) {
    ChartRecord& c = chart_->Chart;
    c.UniversalTime = ut;
    c.JulianDay0h = JulianDay(day, month, year, 0);
    c.JulianDayUT = JulianDay(day, month, year, ut);
    for (int b = 0; b < 16; ++b) c.ObjectShown[b] = 1;
    c.ObjectShown[1] = c.ObjectAspected[0] = c.ObjectAspected[1] = 1;
    chart_->resize(width, height);
    chart_->Recalc();
    chart_->RedrawChart();
  }

  QPoint GlyphCentre(int hoverIndex) const { return Centre(chart_->Work.HoverRects[hoverIndex]); }

  // A drag with the left button from one point to another, through the
  // window's own mouse events.
  void Drag(QPoint from, QPoint to, Qt::MouseButton releaseButton = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, to, releaseButton, Qt::NoButton);
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(chart_->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(chart_, &event);
  }

  // The civil UT moment the chart shows: its date at 0h (chart scale) taken
  // back to UT, plus UniversalTime.
  double ChartCivilJulianDay() const {
    int year, month, day;
    float hours;
    JulianDayToDate(chart_->Chart.JulianDay0h, year, month, day, hours);
    return CivilJulianDay(year, month, day, chart_->Chart.UniversalTime);
  }

  // The chart's moment and fields are mutually consistent: JulianDayUT is
  // the civil moment plus Delta T, JulianDay0h the civil date's 0h plus
  // Delta T.
  void ExpectTimeFieldsAgree() {
    const ChartRecord& c = chart_->Chart;
    const double civil = c.JulianDayUT - ProgramDeltaT(c.JulianDayUT) / kSecondsPerDay;
    const double civilDate0h = std::floor(civil - 0.5) + 0.5;
    const double expectedUt = (civil - civilDate0h) * 24.0;
    EXPECT_NEAR(c.UniversalTime, expectedUt, kTimeTolSec / 3600.0);
    EXPECT_NEAR(c.JulianDay0h, civilDate0h + ProgramDeltaT(civilDate0h) / kSecondsPerDay,
                kTimeTolSec / kSecondsPerDay);
  }

  TTypeAspect::AnswerHook previousHook_;
  // how the dialog answers
  int kind_ = 0;
  bool forward_ = true;
  ModalResult answer_ = mrOk;
  // what the dialog saw
  int asked_ = 0;
  bool comboEnabledWhenAsked_ = true;
  int comboIndexWhenAsked_ = -1;
};

// ---- hints --------------------------------------------------------------

TEST_F(ChartEvents, HoverOverAGlyphShowsItsNameAndPositionNearTheRightEdge) {
  // 23 Sep 2023 12:00 UT, 5 h 10 min after the equinox (06:50 UT): the Sun
  // stands at 0 Libra 12'44", on the right of a wheel with Aries on the left.
  SetMoment(2023, 9, 23, 12.0f, 300, 700);
  const QPoint sun = GlyphCentre(kHoverBodyFirst + 0);
  ASSERT_GT(sun.x(), 300 - kHintEdgePx) << "the Sun's glyph is expected near the right edge";
  Send(QEvent::MouseMove, sun, Qt::NoButton, Qt::NoButton);
  const WheelWork& w = chart_->Work;
  EXPECT_EQ(w.HintVisible, 1);
  EXPECT_EQ(chart_->HintText.rfind(Entry(81) + ":00\xB0"
                                               "12'",
                                   0),
            0u)
      << chart_->HintText;
  EXPECT_EQ(chart_->HintText.back(), '"');
  // the box moves left so that it stays inside the window
  EXPECT_EQ(w.HintShiftX, kHintEdgePx - (300 - sun.x()));
  EXPECT_EQ(w.HintShiftY, 0);
  // the box is on the picture in its pale yellow
  const QRgb hintBack = qRgb(254, 254, 200);
  auto hintPixels = [&] {
    int n = 0;
    const QImage& img = chart_->Picture();
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        n += (img.pixel(x, y) & 0xFFFFFF) == (hintBack & 0xFFFFFF);
    return n;
  };
  EXPECT_GT(hintPixels(), 0);

  // off every glyph and off the wheel the hint goes away
  Send(QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(w.HintVisible, 0);
  EXPECT_EQ(hintPixels(), 0);

  // a chart cast anew drops the hint of the last one, though the pointer has
  // not moved: its body and position are no longer the chart's
  Send(QEvent::MouseMove, sun, Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(w.HintVisible, 1);
  ASSERT_GT(hintPixels(), 0);
  chart_->Chart.JulianDayUT += 40.0;
  chart_->Chart.JulianDay0h += 40.0;
  form_->ApplyChartTime();
  EXPECT_EQ(w.HintVisible, 0);
  EXPECT_TRUE(chart_->HintText.empty());
  EXPECT_EQ(chart_->RingHover, 0);
  EXPECT_EQ(hintPixels(), 0);
  // the new drawing has laid out the hover places of the new chart
  EXPECT_NE(GlyphCentre(kHoverBodyFirst + 0), sun);
}

// Wherever the pointer stands on a glyph, of every shown body and in
// windows of two shapes, the hint box is on the picture and none of it lies
// on the glyph it names; when the pointer leaves the window the box goes
// with it.
TEST_F(ChartEvents, TheHintBoxLeavesItsGlyphInSightAndGoesWithThePointer) {
  const QRgb hintBack = qRgb(254, 254, 200) & 0xFFFFFF;
  const auto hintPixels = [&](const TRect& within) {
    int all = 0, inside = 0;
    const QImage& img = chart_->Picture();
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        if ((img.pixel(x, y) & 0xFFFFFF) != hintBack) continue;
        ++all;
        inside += x >= within.Left && x < within.Right && y >= within.Top && y < within.Bottom;
      }
    return std::pair<int, int>{all, inside};
  };
  int checked = 0;
  for (const QSize size : {QSize(700, 700), QSize(900, 420)}) {
    SetMoment(2023, 9, 23, 12.0f, size.width(), size.height());
    for (int b = 0; b < 16; ++b) {
      const TRect glyph = chart_->Work.HoverRects[kHoverBodyFirst + b];
      if (glyph.Right <= glyph.Left) continue;
      for (const QPoint at :
           {QPoint(glyph.Left + 1, glyph.Top + 1), QPoint(glyph.Right - 2, glyph.Bottom - 2),
            QPoint(glyph.Left + 1, glyph.Bottom - 2), Centre(glyph)}) {
        Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        if (chart_->Work.HintVisible == 0) continue;  // a neighbour's glyph on top
        const auto [all, inside] = hintPixels(glyph);
        EXPECT_GT(all, 0) << "body " << b;
        EXPECT_EQ(inside, 0) << "body " << b << " at " << at.x() << "," << at.y();
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 60);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(chart_, &leave);
  EXPECT_EQ(chart_->Work.HintVisible, 0);
  EXPECT_EQ(hintPixels(TRect{0, 0, 0, 0}).first, 0);
}

TEST_F(ChartEvents, OnTheOuterCircleTheHintReadsTheLongitudeUnderThePointer) {
  SetMoment(2024, 1, 1, 0.0f, 600, 300);
  const WheelWork& w = chart_->Work;
  const int cx = w.WheelCenterX, cy = w.WheelCenterY, R = w.WheelRadius;
  ASSERT_GT(R, 0);
  // Aries on the left: the left point is 0 Aries, the top 0 Capricorn, and
  // the point 45 degrees below the left one 15 Taurus
  chart_->FormMouseMove(cx - R, cy);
  EXPECT_EQ(chart_->RingHover, 1);
  EXPECT_EQ(chart_->HintText,
            "00\xB0"
            "00' " +
                Entry(159));
  const int top = cy - static_cast<int>(std::lround(1.01 * R));
  chart_->FormMouseMove(cx, top);
  EXPECT_EQ(chart_->HintText,
            "00\xB0"
            "00' " +
                Entry(168));
  // near the top edge the box drops below the pointer
  ASSERT_LT(top, 20);
  EXPECT_EQ(w.HintShiftY, 35);
  const int k = static_cast<int>(std::lround(R / std::sqrt(2.0)));
  chart_->FormMouseMove(cx - k, cy + k);
  EXPECT_EQ(chart_->HintText,
            "15\xB0"
            "00' " +
                Entry(160));
  // Aries on the right mirrors the wheel: the left point is 0 Libra
  form_->Item("N64")->trigger();
  chart_->FormMouseMove(cx - R, cy);
  EXPECT_EQ(chart_->HintText,
            "00\xB0"
            "00' " +
                Entry(165));

  // American wheel: 45 degrees from the left is the middle of the second
  // house sector, i.e. halfway between the second and the third cusp
  form_->Item("N62")->trigger();
  chart_->FormMouseMove(cx - k, cy + k);
  const float* cusps = chart_->Chart.HouseCusps();
  double from = cusps[1], to = cusps[2];
  if (to < from) to += 360.0;
  const double middle = std::fmod((from + to) / 2.0, 360.0);
  const int sign = static_cast<int>(middle / 30.0);
  const double inSign = middle - 30.0 * sign;
  char expected[32];
  std::snprintf(expected, sizeof expected, "%02d\xB0%02d' ", static_cast<int>(inSign),
                static_cast<int>((inSign - std::floor(inSign)) * 60.0));
  EXPECT_EQ(chart_->HintText, expected + Entry(159 + sign));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ChartEvents, ExportDrawingLeavesTheWindowsHoverStateAlone) {
  SetMoment(2024, 1, 1, 0.0f, 700, 500);
  WheelWork& w = chart_->Work;
  const TRect sunBefore = w.HoverRects[0];
  const int cxBefore = w.WheelCenterX;
  ChartRecord& c = chart_->Chart;
  c.TargetFlags[2] = 0;  // an export picture of another size
  c.TargetRect[0] = 0, c.TargetRect[1] = 240, c.TargetRect[2] = 0, c.TargetRect[3] = 240;
  QImage image(240, 240, QImage::Format_RGB32);
  TQtCanvas canvas(&image);
  WheelTarget target;
  DrawChart(c, w, canvas, target, chart_->CurrentView());
  canvas.EndPaint();
  c.TargetFlags[2] = 1;
  EXPECT_EQ(w.WheelCenterX, cxBefore);
  EXPECT_EQ(w.HoverRects[0].Left, sunBefore.Left);
  EXPECT_EQ(w.HoverRects[0].Top, sunBefore.Top);
  EXPECT_EQ(w.HoverRects[0].Right, sunBefore.Right);
}

// ---- popup menu ---------------------------------------------------------

TEST_F(ChartEvents, PopupOffersTheAspectFilterAndActsOnlyWhenChosen) {
  SetMoment(2024, 1, 1, 0.0f);
  ChartRecord& c = chart_->Chart;
  c.AspectListFilter = 0;
  c.AspectListObject = kNone;
  const QPoint moon = GlyphCentre(kHoverBodyFirst + 1);
  chart_->FormMouseDown(Qt::RightButton, moon.x(), moon.y());
  EXPECT_TRUE(chart_->N7->isVisible());
  EXPECT_EQ(chart_->N7->text(), EntryText(440));
  EXPECT_TRUE(chart_->N1->text().endsWith(EntryText(82)));
  EXPECT_TRUE(chart_->N1->isVisible());
  EXPECT_FALSE(chart_->N2->isVisible());
  // opening the menu changes nothing
  EXPECT_EQ(c.AspectListFilter, 0);
  EXPECT_EQ(c.AspectListObject, kNone);
  chart_->PopupMenu1->hide();

  chart_->N7->trigger();
  EXPECT_EQ(c.AspectListFilter, 1);
  EXPECT_EQ(c.AspectListObject, 1);

  // the Sun's menu is opened and dismissed: the list stays on the Moon
  const QPoint sun = GlyphCentre(kHoverBodyFirst + 0);
  chart_->FormMouseDown(Qt::RightButton, sun.x(), sun.y());
  EXPECT_EQ(chart_->N7->text(), EntryText(439));
  chart_->PopupMenu1->hide();
  EXPECT_EQ(c.AspectListObject, 1);

  // with the Moon's filter on, its menu offers every aspect again
  chart_->FormMouseDown(Qt::RightButton, moon.x(), moon.y());
  EXPECT_EQ(chart_->N7->text(), EntryText(438));
  chart_->PopupMenu1->hide();
  chart_->N7->trigger();
  EXPECT_EQ(c.AspectListFilter, 0);

  // a press on no glyph hides both items
  chart_->FormMouseDown(Qt::RightButton, 2, 2);
  EXPECT_FALSE(chart_->N7->isVisible());
  EXPECT_FALSE(chart_->N1->isVisible());
}

TEST_F(ChartEvents, CuspGlyphHasNoPopupWhileCuspsAreHidden) {
  SetMoment(2024, 1, 1, 0.0f);
  ChartRecord& c = chart_->Chart;
  c.ObjectShown[18] = 1;
  chart_->RedrawChart();
  const QPoint cusp = GlyphCentre(kHoverLabelFirst + 0);
  c.ObjectShown[18] = 0;
  chart_->FormMouseDown(Qt::RightButton, cusp.x(), cusp.y());
  EXPECT_FALSE(chart_->N7->isVisible());
  EXPECT_FALSE(chart_->N1->isVisible());
}

// ---- drag and drop ------------------------------------------------------

TEST_F(ChartEvents, SunDraggedOntoTheMoonFindsTheNextNewMoon) {
  // From 1 Jan 2024 0h UT the next new moon is 11 Jan 2024 11:57 UT (the
  // geometric positions meet well under a minute earlier).
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  const double startJd = c.JulianDayUT;
  const float startUt = c.UniversalTime;
  const double startSun = c.EclipticLongitude[0];
  kind_ = 0;
  forward_ = true;
  ASSERT_FALSE(form_->Item("N21")->isEnabled());

  const QPoint sun = GlyphCentre(kHoverBodyFirst + 0);
  const QPoint moon = GlyphCentre(kHoverBodyFirst + 1);
  Send(QEvent::MouseButtonPress, sun, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(chart_->Dragging, 1);
  EXPECT_EQ(c.DragObject, 0);
  Send(QEvent::MouseMove, moon, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(chart_->cursor().shape(), Qt::DragMoveCursor);
  Send(QEvent::MouseButtonRelease, moon, Qt::LeftButton, Qt::NoButton);

  EXPECT_EQ(asked_, 1);
  EXPECT_EQ(chart_->Dragging, 0);
  EXPECT_TRUE(messages_.empty());
  // the positions recomputed at the new moment: Sun and Moon together
  EXPECT_LT(Separation(c.EclipticLongitude[0], c.EclipticLongitude[1]), kArcsecTolDeg);
  const double published = CivilJulianDay(2024, 1, 11, 11.0 + 57.0 / 60.0);
  EXPECT_NEAR(ChartCivilJulianDay(), published, kPublishedTolMin / kMinutesPerDay);
  ExpectTimeFieldsAgree();
  // the status bar shows the new local date
  EXPECT_TRUE(form_->Panel(5)->text().startsWith("11.01.2024-"))
      << form_->Panel(5)->text().toStdString();

  // undo is offered and brings the first moment back
  EXPECT_TRUE(form_->Item("N21")->isEnabled());
  EXPECT_TRUE(form_->Button("SpeedButton16")->isEnabled());
  EXPECT_DOUBLE_EQ(c.UndoJulianDayUT, startJd);
  form_->Item("N21")->trigger();
  EXPECT_DOUBLE_EQ(c.JulianDayUT, startJd);
  EXPECT_FLOAT_EQ(c.UniversalTime, startUt);
  EXPECT_NEAR(c.EclipticLongitude[0], startSun, kArcsecTolDeg);
}

TEST_F(ChartEvents, TrineSearchedBackwardsEndsExactBeforeTheStart) {
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  const double startJd = c.JulianDayUT;
  kind_ = 3;
  forward_ = false;
  Drag(GlyphCentre(kHoverBodyFirst + 0), GlyphCentre(kHoverBodyFirst + 1));
  ASSERT_EQ(asked_, 1);
  EXPECT_NEAR(Separation(c.EclipticLongitude[0], c.EclipticLongitude[1]), 120.0, kArcsecTolDeg);
  EXPECT_LT(c.JulianDayUT, startJd);
  EXPECT_GT(c.JulianDayUT, startJd - 30.0);  // within one lunation
  ExpectTimeFieldsAgree();
}

TEST_F(ChartEvents, BodyDroppedOnASignFindsItsIngress) {
  // The Sun enters Aquarius on 20 Jan 2024 at 14:07 UT.
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  kind_ = 4;  // whatever the box held, a sign searches the conjunction
  TTypeAspect::Instance()->ComboBox1->setCurrentIndex(4);
  Drag(GlyphCentre(kHoverBodyFirst + 0), GlyphCentre(kHoverSignFirst + 10));
  ASSERT_EQ(asked_, 1);
  EXPECT_FALSE(comboEnabledWhenAsked_);
  EXPECT_EQ(comboIndexWhenAsked_, 0);
  EXPECT_TRUE(TTypeAspect::Instance()->ComboBox1->isEnabled());
  EXPECT_NEAR(Separation(c.EclipticLongitude[0], 300.0), 0.0, kArcsecTolDeg);
  const double published = CivilJulianDay(2024, 1, 20, 14.0 + 7.0 / 60.0);
  EXPECT_NEAR(ChartCivilJulianDay(), published, kPublishedTolMin / kMinutesPerDay);
  ExpectTimeFieldsAgree();
}

TEST_F(ChartEvents, CancelOrAnImpossibleAspectLeavesTheChartAlone) {
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  const double startJd = c.JulianDayUT;
  answer_ = mrCancel;
  Drag(GlyphCentre(kHoverBodyFirst + 0), GlyphCentre(kHoverBodyFirst + 1));
  EXPECT_EQ(asked_, 1);
  EXPECT_DOUBLE_EQ(c.JulianDayUT, startJd);
  EXPECT_FALSE(form_->Item("N21")->isEnabled());

  // Mercury never stands in trine to the Sun
  answer_ = mrOk;
  kind_ = 3;
  Drag(GlyphCentre(kHoverBodyFirst + 2), GlyphCentre(kHoverBodyFirst + 0));
  EXPECT_EQ(asked_, 2);
  EXPECT_DOUBLE_EQ(c.JulianDayUT, startJd);
  EXPECT_FALSE(form_->Item("N21")->isEnabled());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ChartEvents, OnlyALeftDragOfAGlyphStartsASearch) {
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  const double startJd = c.JulianDayUT;
  const QPoint sun = GlyphCentre(kHoverBodyFirst + 0);
  const QPoint moon = GlyphCentre(kHoverBodyFirst + 1);
  // right button pressed and released
  Send(QEvent::MouseButtonPress, sun, Qt::RightButton, Qt::RightButton);
  chart_->PopupMenu1->hide();
  Send(QEvent::MouseButtonRelease, moon, Qt::RightButton, Qt::NoButton);
  // a left drag released by the right button
  Drag(sun, moon, Qt::RightButton);
  // a left press on empty space
  Drag(QPoint(2, 2), moon);
  EXPECT_EQ(c.DragObject, -1);
  // a press and release on the same glyph
  Drag(moon, moon);
  EXPECT_EQ(asked_, 0);
  EXPECT_EQ(chart_->Dragging, 0);
  EXPECT_DOUBLE_EQ(c.JulianDayUT, startJd);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ChartEvents, SearchThatCannotSucceedSaysSoAndKeepsTheChart) {
  // The mean nodes always stand opposite: never in conjunction.
  SetMoment(2024, 1, 1, 0.0f);
  const ChartRecord& c = chart_->Chart;
  const double startJd = c.JulianDayUT;
  kind_ = 0;
  Drag(GlyphCentre(kHoverBodyFirst + 14), GlyphCentre(kHoverBodyFirst + 15));
  ASSERT_EQ(asked_, 1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_DOUBLE_EQ(c.JulianDayUT, startJd);
  EXPECT_FALSE(form_->Item("N21")->isEnabled());
}

TEST_F(ChartEvents, DragsAreAcceptedOnlyFromTheDatabaseTree) {
  EXPECT_TRUE(chart_->FormDragOver(form_->TreeBD()));
  EXPECT_FALSE(chart_->FormDragOver(form_->ListBox1()));
  EXPECT_FALSE(chart_->FormDragOver(nullptr));
}

TEST_F(ChartEvents, AspectDialogStartsWithTheConjunctionForwards) {
  TTypeAspect& dialog = *TTypeAspect::Instance();
  EXPECT_EQ(dialog.windowTitle(), EntryText(532));
  EXPECT_EQ(dialog.Label1->text(), EntryText(529));
  EXPECT_EQ(dialog.Front->text(), EntryText(530));
  EXPECT_EQ(dialog.Back->text(), EntryText(531));
  EXPECT_EQ(dialog.ComboBox1->count(), 9);
  EXPECT_EQ(dialog.ComboBox1->itemText(3), QString::fromUtf8("120°"));
  EXPECT_EQ(dialog.AspectKind(), 0);
  EXPECT_EQ(dialog.Direction(), 1);
  dialog.Back->setChecked(true);
  EXPECT_EQ(dialog.Direction(), -1);
}

}  // namespace
