// The chart session inside the started program: one recomputation of the
// chart reaches every open window that observes the session, and the shared
// settings stay one value however they are set (a click in the calculation
// parameters, a button set by code, a preset of the main window), with the
// significators proposed anew only after a choice made in the dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QRadioButton>
#include <QToolButton>
#include <initializer_list>

#include "chart/localspace.h"
#include "chart/ui/localspacechart.h"
#include "chart/ui/positionplanets.h"
#include "input/ui/paramcalc.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/hourwindows.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "windowtest.h"

namespace {

class ChartSessionWindows : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    Start();
  }
  ChartSession& Session() const { return *CurrentSession(); }
};

// Five observers open at once; the chart moved by half a day through the
// main window (recomputed and drawn once) leaves each holding what the new
// chart gives when computed afresh, and none holding the old chart's data.
TEST_F(ChartSessionWindows, OneRecomputationReachesEveryOpenObserver) {
  TAffeticnew& dignities = *windows_->Affeticnew;
  TPlanetHour& hours = *windows_->PlanetHour;
  TMoonDay& days = *windows_->MoonDay;
  TPositionPlanets& positions = *windows_->PositionPlanets;
  TLocalSpaceChart& space = *windows_->LocalSpaceChart;
  SetUniversalMoment(6, 1, 2000, 10.0f);  // a day chart
  form_->RedrawChart();
  form_->Item("N46")->trigger();
  form_->Item("N137")->trigger();
  form_->Item("N138")->trigger();
  form_->Item("N45")->trigger();
  form_->Item("N143")->trigger();
  for (QWidget* w : std::initializer_list<QWidget*>{&dignities, &hours, &days, &positions, &space})
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
  ASSERT_EQ(&chart_->Chart, &Session().Chart);  // the chart window shows the session's chart
  const DignityGrid dayGrid = dignities.StringGrid1->Cells;
  const int dayHour = hours.CurrentHour;
  const QImage dayPositions = positions.WindowPicture().copy();
  const QImage daySpace = space.WindowPicture().copy();
  const float daySunAzimuth = space.Space.Azimuth[0];

  ChartRecord& c = chart_->Chart;
  c.JulianDayUT += 0.5;  // 22:00 UT, night in the chart's place
  c.UniversalTime = 22.0f;
  form_->ApplyChartTime();

  const ChartSession& s = Session();
  ASSERT_NE(c.DayChart, 1);
  const DignityResult fresh =
      CalcDignities(c, dignities.Tables, DignityChoiceOf(s), form_->UiText.Entries);
  EXPECT_EQ(dignities.StringGrid1->Cells.Rows, fresh.Classic.Rows);
  EXPECT_EQ(dignities.StringGrid2->Cells.Rows, fresh.Second.Rows);
  EXPECT_EQ(s.Dignities.Classic.Rows, fresh.Classic.Rows);
  EXPECT_NE(dignities.StringGrid1->Cells.Rows, dayGrid.Rows);
  ASSERT_TRUE(s.LastRecalc.PlanetHoursComputed);
  EXPECT_EQ(hours.CurrentHour, s.LastRecalc.PlanetHours.PlanetaryHour);
  EXPECT_NE(hours.CurrentHour, dayHour);
  ASSERT_TRUE(s.LastRecalc.LunarDaysComputed);
  EXPECT_EQ(days.CurrentDay, c.LunarDay);
  EXPECT_EQ(days.CurrentDay, s.LastRecalc.LunarDays.LunarDay);
  LocalSpaceRecord expected;
  CalcHorizontalCoords(c, expected);
  for (int p = 0; p < kLocalSpacePlanetCount; ++p) {
    EXPECT_FLOAT_EQ(space.Space.Azimuth[p], expected.Azimuth[p]) << p;
    EXPECT_FLOAT_EQ(space.Space.Altitude[p], expected.Altitude[p]) << p;
  }
  EXPECT_NE(space.Space.Azimuth[0], daySunAzimuth);
  EXPECT_NE(space.WindowPicture(), daySpace);
  EXPECT_NE(positions.WindowPicture(), dayPositions);
  // what they show is what they draw now from the session
  const QImage nightPositions = positions.WindowPicture().copy();
  const QImage nightSpace = space.WindowPicture().copy();
  positions.DrawPositions();
  space.DrawLocalSpaceChart();
  EXPECT_EQ(positions.WindowPicture(), nightPositions);
  EXPECT_EQ(space.WindowPicture(), nightSpace);
  for (QWidget* w : std::initializer_list<QWidget*>{&dignities, &hours, &days, &positions, &space})
    w->close();
}

// Every way of setting a shared choice leaves the session and the buttons of
// the calculation parameters agreeing; only a choice made in the dialog
// drops the significators proposed so far.
TEST_F(ChartSessionWindows, SharedSettingsStayOneHoweverTheyAreSet) {
  TParamCalc& params = *windows_->ParamCalc;
  TSignificators& significators = *windows_->Significators;
  const ChartSession& s = Session();
  const auto agree = [&](const char* step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(s.Settings.SignRulerSet, params.SignRulerSet());
    EXPECT_EQ(SignRulerOption(), params.SignRulerSet());
    EXPECT_EQ(s.Settings.TermSystem, params.TermSystem());
    EXPECT_EQ(TermSystemOption(), params.TermSystem());
    EXPECT_EQ(s.Settings.AzimuthFromEast, params.AzimuthFromEast());
    EXPECT_EQ(HouseRulerMethod(s), chart_->Chart.HouseRulerMethod);
  };
  // proposes the significators; true when a later step dropped them
  const auto propose = [&] { significators.FillSignificators(); };
  const auto dropped = [&] { return significators.FirstFill == 1; };
  agree("start");

  for (int set : {1, 0, 1}) {
    propose();
    params.RadioGroup2Items->button(set)->click();
    agree("sign rulers clicked");
    EXPECT_EQ(s.Settings.SignRulerSet, set);
    EXPECT_TRUE(dropped());
  }
  for (int set : {0, 1}) {
    propose();
    SetSignRulerOption(set);  // as the aspect kinds' dialog sets it
    agree("sign rulers set by code");
    EXPECT_EQ(params.RadioGroup2Items->checkedId(), set);
    EXPECT_FALSE(dropped());
  }
  form_->N78Click();  // the seven planets
  agree("preset");
  EXPECT_EQ(s.Settings.SignRulerSet, 0);

  for (int system = 0; system < kTermSystemCount; ++system) {
    propose();
    params.RadioGroup1Items->button(system)->click();
    agree("terms clicked");
    EXPECT_EQ(s.Settings.TermSystem, system);
    EXPECT_TRUE(dropped());
    propose();
    params.RadioGroup1Items->button((system + 2) % kTermSystemCount)->setChecked(true);
    agree("terms set by code");
    EXPECT_FALSE(dropped());
  }
  for (int method = 0; method < 3; ++method) {
    propose();
    params.RadioButton[method + 1]->click();
    agree("house rulers clicked");
    EXPECT_EQ(chart_->Chart.HouseRulerMethod, method);
    EXPECT_TRUE(dropped());
  }
  for (int button : {28, 29, 28}) {
    propose();
    params.RadioButton[button]->setChecked(true);
    agree("azimuth origin");
    EXPECT_EQ(s.Settings.AzimuthFromEast, button == 28);
    EXPECT_FALSE(dropped());
  }
  // the factory files bring their own choices into the session
  ASSERT_TRUE(params.RestoreFactory());
  agree("factory restore");
}

}  // namespace
