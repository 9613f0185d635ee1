// The calculation-parameters dialog inside the started program, headless, in
// a copy of the factory data tree with a language file whose entry n reads
// "E<n>" (the masks and time marks kept), so each refusal names its entry.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "chart/ui/picturechart.h"
#include "input/paramcalc.h"
#include "input/ui/maskedfields.h"
#include "input/ui/paramcalc.h"
#include "judgement/ui/housewindows.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string E(int n) { return "E" + std::to_string(n); }

// Closes the next modal dialog with the given result once it shows.
void AnswerNextModal(ModalResult result) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, result] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      CloseModal(*dialog, result);
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(5);
}

class ParamCalcDialog : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    LineList real, test;
    ASSERT_TRUE(ReadLines(Options("LangH.lan"), real));
    for (int n = 0; n < static_cast<int>(real.size()); ++n)
      test.push_back(n == 342 || (n >= 346 && n <= 348) ? real[n] : E(n));
    ASSERT_TRUE(WriteLinesAtomic(Options("LangH.lan"), test));
    // small topic lists of our own
    ASSERT_TRUE(WriteLinesAtomic(Options("C12.box"), {Cp("Свои дела"), Cp("Дела супруга")}));
    ASSERT_TRUE(WriteLinesAtomic(Options("S12.box"), {"0", "6"}));
    for (const char* name : {"C13.box", "S13.box", "C21.box", "S21.box"})
      ASSERT_TRUE(WriteLinesAtomic(Options(name), {}));
    previousSeparator_ = DecimalSeparator();
  }
  void TearDown() override {
    windows_.reset();
    SetDecimalSeparator(previousSeparator_);
    ProgramWindowTest::TearDown();
  }
  void Start() {
    CreateWindows();
    dialog_ = TParamCalc::Instance();
    ASSERT_NE(dialog_, nullptr);
  }
  std::string Options(const std::string& name) const {
    return (folder_ / "Options" / name).string();
  }
  std::string Factory(const std::string& name) const {
    return (folder_ / "Options" / "Standart" / name).string();
  }
  void Type(QLineEdit* edit, const std::string& cp1251) { SetFieldText(*edit, cp1251); }

  TParamCalc* dialog_ = nullptr;
  char previousSeparator_ = '.';
};

TEST_F(ParamCalcDialog, ShowingAndApplyingWithoutAnEditChangesNothing) {
  Start();
  for (int minutes : {0, 1, 59, 3345, 5399, -1, -2032, -5400}) {
    DefaultPlace& place = dialog_->Place();
    place.Latitude =
        (minutes < 0 ? -1 : 1) * (std::abs(minutes) / 60 + std::abs(minutes) % 60 / 60.0);
    place.Longitude = -minutes / 31.0;
    place.TimeZone = minutes / 500.0;
    const DefaultPlace before = place;
    const float orbScale = chart_->Chart.OrbScale[2];
    dialog_->FormShow();
    ASSERT_TRUE(dialog_->BitBtn1Click());
    EXPECT_NEAR(place.Latitude, before.Latitude, 1e-12) << minutes;
    // longitude and zone are shown to the nearest second
    EXPECT_NEAR(place.Longitude, before.Longitude, 0.5 / 3600 + 1e-12) << minutes;
    EXPECT_NEAR(place.TimeZone, before.TimeZone, 0.5 / 3600 + 1e-12) << minutes;
    EXPECT_EQ(chart_->Chart.OrbScale[2], orbScale);
    EXPECT_EQ(dialog_->DoubleChartOrbFactor, 0.25f);
    // once on whole seconds, the place stays put
    const DefaultPlace applied = place;
    dialog_->FormShow();
    ASSERT_TRUE(dialog_->BitBtn1Click());
    EXPECT_EQ(place.Longitude, applied.Longitude) << minutes;
    EXPECT_EQ(place.TimeZone, applied.TimeZone) << minutes;
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ParamCalcDialog, TypedPartsFoldUntilInRangeAndBadOrbScalesAreRefused) {
  Start();
  dialog_->FormShow();
  Type(dialog_->MaskEdit7, "99" + Cp("ч") + "99" + Cp("м") + "99" + Cp("с"));
  Type(dialog_->MaskEdit6, "999:00:00");
  ASSERT_TRUE(dialog_->BitBtn1Click());
  EXPECT_NEAR(dialog_->Place().TimeZone, 3 + 39 / 60.0 + 39 / 3600.0, 1e-12);
  EXPECT_EQ(dialog_->Place().Longitude, -81);

  const DefaultPlace before = dialog_->Place();
  for (const char* bad : {"", "0", "-2", "x"}) {
    messages_.clear();
    dialog_->FormShow();
    Type(dialog_->MaskEdit5, "10:00:00");
    dialog_->Edit2->setText(bad);
    EXPECT_FALSE(dialog_->BitBtn1Click()) << bad;
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].rfind(E(kUiEntryOrbScaleRefused), 0), 0u) << messages_[0];
    EXPECT_EQ(dialog_->Place().Latitude, before.Latitude);  // nothing applied
    for (float v : chart_->Chart.OrbScale) EXPECT_TRUE(std::isfinite(v));
  }
  dialog_->FormShow();
  dialog_->Edit3->setText("0" + QString::fromUtf8("°"));
  EXPECT_FALSE(dialog_->BitBtn1Click());
}

TEST_F(ParamCalcDialog, ChoicesSetByCodeRunNoHandlerButClicksDo) {
  ASSERT_TRUE(WriteLinesAtomic(Options(kRulersFileName), {"9", "-1"}));
  Start();
  EXPECT_EQ(dialog_->TermSystem(), kTermSystemCount - 1);  // clamped on reading
  EXPECT_EQ(dialog_->SignRulerSet(), 0);

  ChartRecord& c = chart_->Chart;
  for (int o = 7; o <= 13; ++o) c.ObjectAspected[o] = 0;
  dialog_->SetSignRulerSet(1);  // as a preset of the main window does
  EXPECT_EQ(dialog_->SignRulerSet(), 1);
  EXPECT_EQ(SignRulerOption(), 1);  // the judgement reads the dialog's choice
  for (int o = 7; o <= 13; ++o) EXPECT_EQ(c.ObjectAspected[o], 0) << o;
  windows_->BaseForm->N78Click();  // "7 планет + узлы" sets the seven planets
  EXPECT_EQ(dialog_->SignRulerSet(), 0);

  dialog_->RadioGroup2Items->button(1)->click();
  for (int o = 7; o <= 11; ++o) EXPECT_EQ(c.ObjectAspected[o], 1) << o;
  EXPECT_EQ(c.ObjectAspected[12], 0);
  for (int o = 12; o <= 13; ++o) c.ObjectAspected[o] = 1;
  dialog_->RadioGroup2Items->button(0)->click();
  for (int o = 7; o <= 13; ++o) EXPECT_EQ(c.ObjectAspected[o], 0) << o;

  dialog_->RadioButton[1]->click();
  EXPECT_EQ(c.HouseRulerMethod, 0);

  // closing writes the rulers, the receptions and the parameters
  dialog_->RadioGroup1Items->button(2)->setChecked(true);
  dialog_->CheckBox[2]->setChecked(true);
  dialog_->RadioButton[13]->setChecked(true);  // no degree labels in the American wheel
  dialog_->TableFontName = "Liberation Serif";
  dialog_->done(mrCancel);
  LineList rulers, receptions;
  ASSERT_TRUE(ReadLines(Options(kRulersFileName), rulers));
  ASSERT_TRUE(ReadLines(Options(kReceptionFileName), receptions));
  EXPECT_EQ(rulers, (LineList{"2", "0"}));
  EXPECT_EQ(receptions, (LineList{"1", "1", "1", "0"}));
  // the wheel draws and the recomputation searches with the dialog's choices
  const WheelView view = chart_->CurrentView();
  EXPECT_TRUE(windows_->BaseForm->ReceptionKinds().KindOn[2]);
  EXPECT_FALSE(view.AmericanDegreeLabels);
  EXPECT_EQ(view.TableFontName, "Liberation Serif");
  // and the next start has them
  windows_.reset();
  Start();
  EXPECT_EQ(dialog_->TermSystem(), 2);
  EXPECT_FALSE(dialog_->AmericanDegreeLabels());
  EXPECT_TRUE(dialog_->AmericanAspectLines());
  EXPECT_EQ(dialog_->TableFontName, "Liberation Serif");
}

TEST_F(ParamCalcDialog, RestoreTakesTheFactorySettingsIntoUseAndSurvivesTheExit) {
  Start();
  ChartRecord& c = chart_->Chart;
  c.HouseSystem = 7;
  c.ChartColors[0] = 12345;
  c.PairOrb[0][1] = 3.5f;
  dialog_->Place().Latitude = -12;
  windows_->BaseForm->SaveSettingsDuringWork = 0;

  // one factory file missing: refused, nothing copied, nothing reloaded
  fs::rename(Factory("KR.opt"), Factory("KR.bak"));
  std::map<std::string, std::string> before;
  for (const char* name : kFactoryRestoreFiles) before[name] = Bytes(Options(name));
  EXPECT_FALSE(dialog_->RestoreFactory());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind(E(kUiEntryRestoreRefused) + " ", 0), 0u) << messages_[0];
  EXPECT_NE(messages_[0].find("KR.opt"), std::string::npos);
  for (const char* name : kFactoryRestoreFiles)
    EXPECT_EQ(Bytes(Options(name)), before[name]) << name;
  EXPECT_EQ(c.HouseSystem, 7);
  fs::rename(Factory("KR.bak"), Factory("KR.opt"));

  ASSERT_TRUE(dialog_->RestoreFactory());
  EXPECT_EQ(c.HouseSystem, 1);
  EXPECT_NE(c.ChartColors[0], 12345);
  EXPECT_EQ(dialog_->Place().Latitude, 55.75);
  EXPECT_TRUE(windows_->BaseForm->Item("N86")->isChecked());

  // closing the dialog and the exit write the settings in use: the factory's
  dialog_->done(mrCancel);
  windows_->BaseForm->FormClose();
  for (const char* name : kFactoryRestoreFiles)
    EXPECT_EQ(Bytes(Options(name)), Bytes(Factory(name))) << name;
}

TEST_F(ParamCalcDialog, UnderACommaLocaleTheStartConvertsAndTheRestoreStillHolds) {
  SetDecimalSeparator(',');
  Start();
  LineList opt, factoryOpt;
  ASSERT_TRUE(ReadLines(Options("OPT.opt"), opt));
  ASSERT_TRUE(ReadLines(Factory("OPT.opt"), factoryOpt));
  EXPECT_EQ(opt[9], "55,75");
  EXPECT_EQ(factoryOpt[9], "55,75");
  EXPECT_EQ(dialog_->Place().Latitude, 55.75);
  dialog_->FormShow();
  EXPECT_EQ(dialog_->Edit2->text().toStdString(), "1,5");
  ASSERT_TRUE(dialog_->BitBtn1Click());
  chart_->Chart.HouseSystem = 9;
  ASSERT_TRUE(dialog_->RestoreFactory());
  windows_->BaseForm->FormClose();
  for (const char* name : kFactoryRestoreFiles)
    EXPECT_EQ(Bytes(Options(name)), Bytes(Factory(name))) << name;
}

TEST_F(ParamCalcDialog, TopicsAreAddedAndRemovedWithTheirHouses) {
  Start();
  dialog_->TopicEdit[0]->setText(QString::fromUtf8("Дела детей"));
  dialog_->TopicHouse[0]->setText("13");
  dialog_->TopicAddClick(0);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], E(kEntryTopicHouseRange));
  dialog_->TopicEdit[0]->setText("");
  dialog_->TopicHouse[0]->setText("5");
  dialog_->TopicAddClick(0);
  EXPECT_EQ(messages_.at(1), E(kEntryTopicEmpty));
  LineList topics, houses;
  ASSERT_TRUE(ReadLines(Options("C12.box"), topics));
  EXPECT_EQ(topics.size(), 2u);

  dialog_->TopicEdit[0]->setText(QString::fromUtf8("Дела детей"));
  dialog_->TopicAddClick(0);
  ASSERT_TRUE(ReadLines(Options("C12.box"), topics));
  ASSERT_TRUE(ReadLines(Options("S12.box"), houses));
  EXPECT_EQ(topics, (LineList{Cp("Свои дела"), Cp("Дела супруга"), Cp("Дела детей")}));
  EXPECT_EQ(houses, (LineList{"0", "6", "4"}));
  EXPECT_EQ(dialog_->TopicCombo[0]->count(), 3);
  // the querent's window offers it, its own choice back on the first entries
  TCverent* querent = TCverent::Instance();
  ASSERT_NE(querent, nullptr);
  EXPECT_EQ(querent->ComboBox2->count(), 3);
  EXPECT_EQ(querent->ComboBox2->itemText(2).toStdString(), "Дела детей");
  EXPECT_EQ(querent->ComboBox2->currentIndex(), 0);
  EXPECT_EQ(querent->QuerentHouses2.Houses.back(), "4");

  // the first entry stays; an empty list has nothing to delete
  dialog_->TopicCombo[0]->setCurrentIndex(0);
  dialog_->TopicDeleteClick(0);
  EXPECT_EQ(messages_.back(), E(kEntryTopicFirstKept));
  const std::size_t shown = messages_.size();
  dialog_->TopicDeleteClick(1);
  EXPECT_EQ(messages_.size(), shown);

  dialog_->TopicCombo[0]->setCurrentIndex(1);
  AnswerNextModal(mrOk);
  dialog_->TopicDeleteClick(0);
  ASSERT_TRUE(ReadLines(Options("C12.box"), topics));
  ASSERT_TRUE(ReadLines(Options("S12.box"), houses));
  EXPECT_EQ(topics, (LineList{Cp("Свои дела"), Cp("Дела детей")}));
  EXPECT_EQ(houses, (LineList{"0", "4"}));
}

TEST_F(ParamCalcDialog, DecimalUpkeepRefusalStopsTheStartWithItsEntry) {
  SetDecimalSeparator('.');
  ASSERT_TRUE(WriteLinesAtomic(Options("RUN3.opt"), {"1"}));  // the files are said to hold ','
  ASSERT_TRUE(WriteLinesAtomic(Options("RUN4.opt"), {"OPT.opt", "Standart/OPT.opt"}));
  const std::string opt = Bytes(Options("OPT.opt"));
  try {
    Start();
    FAIL() << "started with a list naming another folder";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(E(kUiEntryUpkeepForeignEntry) + " ", 0), 0u) << e.what();
  }
  EXPECT_EQ(Bytes(Options("OPT.opt")), opt);
}

}  // namespace
