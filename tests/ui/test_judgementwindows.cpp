// The judgement windows, headless, inside the whole program started in a
// copy of the factory data tree: the house windows turning the chart, the
// significators dialog with its add and remove rules and its close query,
// the radicality window it opens, the completion command and its results
// window, the reset by the ruler parameters, and files that are missing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "input/ui/paramcalc.h"
#include "judgement/ui/analiszav.h"
#include "judgement/ui/housewindows.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/radical.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kNewMoonTolMinutes = 2.0;  // minutes, against the published new moon
constexpr float kCuspTolDeg = 1e-4f;        // degrees, a cusp turned is the same number

// Delta T of the program's time scale, seconds (the results window takes
// the same off).
double ProgramDeltaT(double jd) { return DeltaTSeconds(jd); }

// Index of the first topic whose house line reads `offset`, -1 when none.
int TopicWithHouse(const TopicList& list, int offset) {
  for (int i = 0; i < static_cast<int>(list.Topics.size()); ++i)
    if (TopicHouse(list, i) == offset) return i;
  return -1;
}

class JudgementWindows : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    previousConfirm_ = SetConfirmHook([this](const std::string& question) {
      questions_.push_back(question);
      return confirm_;
    });
    previousShow_ =
        TSignificators::SetShowHook([this](TSignificators&) { ++significatorShowings_; });
  }
  void TearDown() override {
    windows_.reset();
    TSignificators::SetShowHook(previousShow_);
    SetConfirmHook(previousConfirm_);
    ProgramWindowTest::TearDown();
  }

  // Starts the program; the chart stands at 6 January 2000, 06:00 UT, at the
  // default place, houses ruled by the sign on the cusp.
  void Start() {
    CreateWindows();
    chart_->FormShow();
    chart_->Chart.HouseRulerMethod = 0;
    SetUniversalMoment(6, 1, 2000, 6.0f);
  }

  std::string Entry(int n) const { return form_->UiText.Entry(n); }
  bool Has(const std::vector<std::string>& texts, const std::string& piece) const {
    for (const std::string& t : texts)
      if (t.find(piece) != std::string::npos) return true;
    return false;
  }
  bool CompletionEnabled() const {
    return form_->Item("N53")->isEnabled() && form_->Button("SpeedButton17")->isEnabled();
  }
  void Choose(QComboBox& combo, int index) { combo.setCurrentIndex(index); }

  std::vector<std::string> questions_;
  bool confirm_ = true;
  int significatorShowings_ = 0;
  ConfirmHook previousConfirm_;
  TSignificators::ShowHook previousShow_;
};

TEST_F(JudgementWindows, DerivedQuerentHouseTurnsTheChartAndTheQuesitedHouseStays) {
  Start();
  TCverent& cverent = *windows_->Cverent;
  TCvesit& cvesit = *windows_->Cvesit;
  TSignificators& significators = *windows_->Significators;
  ChartRecord& c = chart_->Chart;
  float unturned[12];
  for (int h = 0; h < 12; ++h) unturned[h] = c.HouseCusps()[h];

  // the house windows come up with the main window's first showing
  form_->FormShow();
  EXPECT_TRUE(cverent.isVisible());
  EXPECT_TRUE(cvesit.isVisible());
  EXPECT_FALSE(CompletionEnabled());

  // the seventh house as the quesited's: the significators dialog opens
  Choose(*cvesit.ComboBox3, 6);
  cvesit.ComboBox3Change();
  EXPECT_EQ(c.QuesitedHouse, 6);
  EXPECT_EQ(significatorShowings_, 1);

  // the friend's (eleventh) children (fifth from it): the third house
  const int friendTopic = TopicWithHouse(cverent.QuerentHouses2, 10);
  const int childrenTopic = TopicWithHouse(cverent.QuerentHouses3, 4);
  ASSERT_GE(friendTopic, 0);
  ASSERT_GE(childrenTopic, 0);
  Choose(*cverent.ComboBox2, friendTopic);
  cverent.ComboBox2Change();
  EXPECT_TRUE(cverent.ComboBox3->isEnabled());
  Choose(*cverent.ComboBox3, childrenTopic);
  cverent.ComboBox3Change();
  EXPECT_EQ(c.QuerentHouse, 2);
  EXPECT_EQ(cverent.ComboBox4->currentIndex(), 2);
  // the cusps come out turned: element h is the unturned cusp of house 2 + h
  for (int h = 0; h < 12; ++h)
    EXPECT_NEAR(c.HouseCusps()[h], unturned[(2 + h) % 12], kCuspTolDeg) << h;

  // the quesited's house keeps its number and its combo box shows it
  EXPECT_EQ(c.QuesitedHouse, 6);
  EXPECT_EQ(cvesit.ComboBox3->currentIndex(), 6);
  EXPECT_EQ(cvesit.ComboBox1->currentIndex(), -1);
  // the significators were reset and are proposed for the new houses: the
  // quesited takes the ruler of the sign on the cusp seventh from the third
  EXPECT_EQ(significators.FirstFill, 1);
  EXPECT_EQ(significators.Significators.Querent[0], kEmptySlot);
  significators.FormShow();
  const int sign = static_cast<int>(std::floor(unturned[(2 + 6) % 12] / 30.0f));
  EXPECT_EQ(significators.Significators.Quesited[0], ClassicRuler(kDomicileRuler[sign], 0));

  // choosing the house directly clears both category boxes
  Choose(*cverent.ComboBox4, 5);
  cverent.ComboBox4Change();
  EXPECT_EQ(c.QuerentHouse, 5);
  EXPECT_EQ(cverent.ComboBox2->currentIndex(), -1);
  EXPECT_EQ(cverent.ComboBox3->currentIndex(), -1);
  EXPECT_FALSE(cverent.ComboBox3->isEnabled());
  EXPECT_EQ(cvesit.ComboBox3->currentIndex(), 6);
  EXPECT_TRUE(messages_.empty()) << messages_.front();

  // a stored chart's houses shown as they come: the record is the source
  c.QuerentHouse = 9;
  c.QuesitedHouse = 4;
  cverent.ShowQuerentHouse(1);
  cvesit.ShowQuesitedHouse();
  EXPECT_EQ(cverent.WhoAsks(), 1);
  EXPECT_FALSE(cverent.AsksForHimself());
  EXPECT_EQ(cverent.ComboBox4->currentIndex(), 9);
  EXPECT_EQ(cverent.ComboBox2->currentIndex(), -1);
  EXPECT_EQ(cvesit.ComboBox3->currentIndex(), 4);

  // the Question and Analysis commands bring the windows back, by menu item
  // and by tool-bar button alike
  cverent.close();
  cvesit.close();
  form_->Item("N56")->trigger();
  form_->Button("SpeedButton13")->click();
  EXPECT_TRUE(cverent.isVisible());
  EXPECT_TRUE(cvesit.isVisible());
  const int showings = significatorShowings_;
  form_->Button("SpeedButton15")->click();
  EXPECT_EQ(significatorShowings_, showings + 1);
  form_->Item("N49")->trigger();
  EXPECT_TRUE(windows_->Radical->isVisible());
  EXPECT_EQ(form_->ActiveToolWindowCode, kCodeRadicality);
  // the completion command stays off until both lists hold a point
  form_->Button("SpeedButton17")->click();
  EXPECT_FALSE(windows_->AnalisZav->isVisible());
}

TEST_F(JudgementWindows, SignificatorsAddMoveRemoveAndTheCloseQuery) {
  Start();
  TSignificators& s = *windows_->Significators;
  TAddSign& add = *windows_->AddSign;
  ChartRecord& c = chart_->Chart;
  s.FormShow();
  const int querentRuler = s.Significators.Querent[0];
  const int quesitedRuler = s.Significators.Quesited[0];
  ASSERT_NE(querentRuler, kEmptySlot);
  ASSERT_NE(quesitedRuler, kEmptySlot);
  // the listed names are the points' display names
  ASSERT_GE(s.ListBox1->count(), 1);
  EXPECT_EQ(Utf8ToCp1251(s.ListBox1->item(0)->text().toStdString()),
            c.ObjectNames[querentRuler + 1]);

  // the description of the selected point names it and its sign
  s.ListBox1->setCurrentRow(0);
  s.ListBox1Click();
  EXPECT_TRUE(s.BitBtn4->isEnabled());
  const std::vector<std::string> description = PaneLines(*s.RichEdit1);
  ASSERT_GE(description.size(), 2u);
  EXPECT_EQ(description[0], c.ObjectNames[querentRuler + 1]);
  const int sign = static_cast<int>(std::floor(c.EclipticLongitude[querentRuler] / 30.0));
  EXPECT_NE(description[1].find(c.ObjectNames[37 + sign]), std::string::npos) << description[1];

  // remove the quesited's point: asked first; a refusal keeps it
  s.PageControl1->setCurrentIndex(kQuesitedSide);
  EXPECT_EQ(s.ShownSide, kQuesitedSide);
  s.ListBox1->setCurrentRow(0);
  confirm_ = false;
  s.BitBtn4Click();
  EXPECT_EQ(s.Significators.Quesited[0], quesitedRuler);
  confirm_ = true;
  s.BitBtn4Click();
  EXPECT_EQ(questions_.back(), Entry(kEntryConfirmRemove));
  EXPECT_EQ(s.Significators.Quesited[0], kEmptySlot);
  EXPECT_EQ(s.ListBox1->count(), 0);

  // the dialog refuses to close with an empty side
  s.BitBtn1Click();
  EXPECT_EQ(messages_.back(), Entry(kEntryNoQuesitedSignificator));
  EXPECT_FALSE(CompletionEnabled());

  // adding the querent's own point to the quesited's side asks to move it;
  // a refusal changes nothing and keeps the add dialog's choice
  add.FormShow();
  EXPECT_FALSE(add.BitBtn1->isEnabled());
  ASSERT_EQ(add.ListBox1->count(), 18);
  add.ListBox1->setCurrentRow(querentRuler);
  add.ListBox1Click();
  EXPECT_TRUE(add.BitBtn1->isEnabled());
  confirm_ = false;
  add.BitBtn1Click();
  EXPECT_EQ(questions_.back(), Entry(kEntryMoveToQuesited));
  EXPECT_EQ(s.Significators.Querent[0], querentRuler);
  EXPECT_EQ(s.Significators.Quesited[0], kEmptySlot);
  confirm_ = true;
  add.BitBtn1Click();
  EXPECT_EQ(s.Significators.Quesited[0], querentRuler);
  for (int slot = 0; slot < kSignificatorSlots; ++slot)
    EXPECT_NE(s.Significators.Querent[slot], querentRuler) << "on both sides, slot " << slot;
  // a point already on the side on show is refused with its message
  add.BitBtn1Click();
  EXPECT_EQ(messages_.back(), Entry(kEntryAlreadyQuesited));

  // with a point on each side the dialog closes, enables the command and
  // shows the radicality window with its verdict
  if (s.Significators.Querent[0] == kEmptySlot) {
    s.PageControl1->setCurrentIndex(kQuerentSide);
    add.ListBox1->setCurrentRow(kBodySun == querentRuler ? kBodyVenus : kBodySun);
    add.ListBox1Click();
    add.BitBtn1Click();
  }
  s.BitBtn1Click();
  EXPECT_TRUE(CompletionEnabled());
  TRadical& radical = *windows_->Radical;
  EXPECT_TRUE(radical.isVisible());
  const std::vector<std::string> verdict = PaneLines(*radical.RichEdit1);
  ASSERT_FALSE(verdict.empty());
  int failed = 0;
  for (bool f : radical.Result.Failed) failed += f ? 1 : 0;
  EXPECT_EQ(verdict.front(), Entry(failed ? 454 : 453));
  EXPECT_EQ(static_cast<int>(verdict.size()), failed ? 1 + failed : 1);
  // the detailed texts follow the heading; a house window hides them again
  radical.BitBtn1Click();
  EXPECT_FALSE(radical.RichEdit2->isHidden());
  EXPECT_EQ(PaneLines(*radical.RichEdit2).front(), Entry(failed ? 468 : 469));
  windows_->Cvesit->FormActivate();
  EXPECT_TRUE(radical.RichEdit2->isHidden());

  // any change of a house resets: the command off, the radicality closed
  Choose(*windows_->Cvesit->ComboBox3, 3);
  windows_->Cvesit->ComboBox3Change();
  EXPECT_FALSE(CompletionEnabled());
  EXPECT_FALSE(radical.isVisible());
}

TEST_F(JudgementWindows, CompletionOfTheMoonAndTheSunAtTheNewMoonOfJanuary2000) {
  Start();
  // conjunctions alone, so that no third point comes between (with the
  // trine on, the Moon's trine to Saturn prohibits the meeting)
  for (int k = 0; k < kAspectKindCount; ++k) chart_->Chart.AspectKindEnabled[k] = k == 0 ? 1 : 0;
  chart_->Recalc();
  TSignificators& s = *windows_->Significators;
  s.FormShow();
  s.Significators = SignificatorLists();
  s.Significators.Querent[0] = kBodyMoon;
  s.Significators.Quesited[0] = kBodySun;
  ASSERT_TRUE(s.FormCloseQuery());
  ASSERT_TRUE(CompletionEnabled());
  form_->Item("N53")->trigger();

  TAnalisZav& results = *windows_->AnalisZav;
  ASSERT_TRUE(results.isVisible()) << (messages_.empty() ? "" : messages_.back());
  ASSERT_FALSE(results.Events.empty());
  ASSERT_EQ(CompletionEvents().size(), 6 * results.Events.size());
  // the conjunction of the Moon and the Sun: the new moon of 6 January 2000,
  // 18:14 UT (published lunar phase tables)
  const CompletionEvent& e = results.Events.front();
  EXPECT_EQ(e.Kind, kPerfection);
  const double newMoon = JulianDay(6, 1, 2000, 18.0f + 14.0f / 60.0f);
  const double newMoonChartScale = newMoon + ProgramDeltaT(newMoon) / kSecondsPerDay;
  EXPECT_NEAR((e.Moment - newMoonChartScale) * 1440.0, 0.0, kNewMoonTolMinutes);
  // listed with its local civil date (zone of the default place)
  const std::string line = Utf8ToCp1251(results.ListBox1->item(0)->text().toStdString());
  EXPECT_EQ(line, CompletionListLine(e, chart_->Chart.TimeZone));
  EXPECT_NE(line.find("(6.1.2000 "), std::string::npos) << line;

  // the details: the two points' dignity rows and the text of the kind
  results.ListBox1->setCurrentRow(0);
  results.ListBox1Click();
  EXPECT_FALSE(results.Panel2->isHidden());
  EXPECT_FALSE(results.StringGrid1->isHidden());
  EXPECT_EQ(results.StringGrid1->rowCount(), 3);
  EXPECT_EQ(Utf8ToCp1251(results.StringGrid1->item(1, 0)->text().toStdString()),
            chart_->Chart.ObjectNames[e.Point1 + 1]);
  const std::vector<std::string> text = PaneLines(*results.RichEdit1);
  LineList file;
  ASSERT_TRUE(ReadLines((folder_ / "Options/A.txt").string(), file));
  ASSERT_EQ(text.size(), file.size() + 1);
  EXPECT_EQ(text[0], line);
  EXPECT_EQ(text[1], file[0]);
  results.FormActivate();
  EXPECT_EQ(form_->ExportWindowCode, kCodeCompletionResults);

  // a reset of the significators closes the results and disables the command
  s.ResetSignificators();
  EXPECT_FALSE(results.isVisible());
  EXPECT_FALSE(CompletionEnabled());
}

// The significators are chosen by the house rulers: another house-ruler
// method, term system or sign-ruler set in the calculation parameters
// empties them for a new proposal and disables the completion command.
TEST_F(JudgementWindows, ChangedRulerParametersResetTheSignificators) {
  Start();
  TSignificators& s = *windows_->Significators;
  TParamCalc& params = *windows_->ParamCalc;
  const std::vector<std::function<void()>> clicks = {
      [&] { params.RadioButton[2]->click(); },
      [&] { params.RadioButton[3]->click(); },
      [&] { params.RadioGroup1Items->button(1)->click(); },
      [&] { params.RadioGroup2Items->button(1)->click(); },
  };
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    s.FormShow();
    ASSERT_TRUE(s.FormCloseQuery());
    ASSERT_TRUE(CompletionEnabled());
    ASSERT_EQ(s.FirstFill, 0);
    clicks[i]();
    EXPECT_FALSE(CompletionEnabled()) << "click " << i;
    EXPECT_EQ(s.FirstFill, 1) << "click " << i;
    EXPECT_FALSE(s.Significators.Complete()) << "click " << i;
  }
  EXPECT_EQ(chart_->Chart.HouseRulerMethod, 2);
}

TEST_F(JudgementWindows, PairsThatCannotBeTimedAreLeftOutAndSaidSo) {
  Start();
  TSignificators& s = *windows_->Significators;
  s.Significators = SignificatorLists();
  s.Significators.Querent[0] = kBodyPartOfFortune;
  s.Significators.Quesited[0] = kBodyMars;
  ASSERT_TRUE(s.FormCloseQuery());
  form_->N53Click();
  // the Sun and the Moon share Capricorn: the new moon is found whatever the
  // pair; the pair itself is listed after the events as left out
  TAnalisZav& results = *windows_->AnalisZav;
  ASSERT_TRUE(results.isVisible()) << (messages_.empty() ? "" : messages_.back());
  ASSERT_EQ(results.Events.size(), 1u);
  EXPECT_EQ(results.Events[0].Kind, kNewMoonInSign);
  ASSERT_EQ(results.ListBox1->count(), 2);
  const std::string note = Utf8ToCp1251(results.ListBox1->item(1)->text().toStdString());
  EXPECT_EQ(note.rfind(Entry(kEntrySkippedUntimed), 0), 0u) << note;
  EXPECT_NE(note.find(chart_->Chart.ObjectNames[kBodyPartOfFortune + 1]), std::string::npos)
      << note;
  // the note is no event: choosing it shows no details
  results.ListBox1->setCurrentRow(1);
  results.ListBox1Click();
  EXPECT_TRUE(results.Panel2->isHidden());
  // a kind-5 event shows its text alone, without a grid
  results.ListBox1->setCurrentRow(0);
  results.ListBox1Click();
  EXPECT_TRUE(results.StringGrid1->isHidden());
  EXPECT_FALSE(results.RichEdit1->isHidden());
}

TEST_F(JudgementWindows, MissingListsAndTextsAreReportedAndLeaveEmptyLists) {
  fs::remove(folder_ / "Options/C21.box");
  fs::remove(folder_ / "Options/h3.txt");
  Start();  // the start goes on
  ASSERT_FALSE(messages_.empty());
  EXPECT_TRUE(Has(messages_, "Cannot open file")) << messages_.front();
  EXPECT_TRUE(Has(messages_, "C21.box"));
  EXPECT_EQ(windows_->Cvesit->ComboBox1->count(), 0);
  EXPECT_GT(windows_->Cverent->ComboBox2->count(), 0);

  // the commentary keeps its text when a description is missing
  TCommentary& commentary = *windows_->Commentary;
  commentary.ShowHelp(true);
  EXPECT_TRUE(commentary.isVisible());
  EXPECT_FALSE(commentary.BitBtn2->isHidden());
  const std::vector<std::string> help = PaneLines(*commentary.RichEdit1);
  ASSERT_FALSE(help.empty());
  messages_.clear();
  Choose(*commentary.ComboBox1, 2);
  commentary.ComboBox1Change();
  EXPECT_TRUE(Has(messages_, "h3.txt"));
  EXPECT_EQ(PaneLines(*commentary.RichEdit1), help);
  // another house reads its description; OK makes it the quesited's
  Choose(*commentary.ComboBox1, 9);
  commentary.ComboBox1Change();
  LineList tenth;
  ASSERT_TRUE(ReadLines((folder_ / "Options/h10.txt").string(), tenth));
  EXPECT_EQ(PaneLines(*commentary.RichEdit1), tenth);
  commentary.BitBtn2Click();
  EXPECT_FALSE(commentary.isVisible());
  EXPECT_EQ(chart_->Chart.QuesitedHouse, 9);
  EXPECT_EQ(windows_->Cvesit->ComboBox3->currentIndex(), 9);
  EXPECT_EQ(significatorShowings_, 1);
}

}  // namespace
