// Main-window commands driven headless through their menu items: menu states
// that never depend on captions, undo of time changes, the aspect list's
// double click, undefined planetary hours and lunar days, and the window
// export to the clipboard and to BMP files.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <tuple>

#include "chart/pipeline.h"
#include "chart/ui/picturechart.h"
#include "input/ui/inputdates.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

class Commands : public ProgramWindowTest {
 protected:
  void TearDown() override {
    SetExportAsker(nullptr);
    ProgramWindowTest::TearDown();
  }
  // Starts the program and casts the chart of the current moment.
  void Start() {
    CreateWindows();
    chart_->resize(640, 480);
    chart_->FormShow();
  }
  // Rewrites entries of the copied language file before the start.
  void SetEntries(std::initializer_list<std::pair<int, const char*>> entries) {
    const std::string path = (folder_ / "Options/LangH.lan").string();
    LineList lines;
    ASSERT_TRUE(ReadLines(path, lines));
    for (const auto& [n, utf8] : entries) lines.at(n) = Utf8ToCp1251(utf8);
    ASSERT_TRUE(WriteLinesAtomic(path, lines));
  }
  std::string Panel(int i) const { return Utf8ToCp1251(form_->Panel(i)->text().toStdString()); }
};

// Every pixel of an image a grey (red = green = blue).
bool OnlyGreys(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) return false;
    }
  return true;
}

TEST_F(Commands, FillTogglesAndVariantsKeepTheirStateWhenCaptionsAreEqual) {
  // both captions of each toggle read the same: the state must not stick
  SetEntries({{52, "Заливка"}, {53, "Заливка"}, {60, " Дома "}, {61, " Дома"}});
  Start();
  for (int click = 1; click <= 4; ++click) {
    form_->Item("N119")->trigger();
    form_->Item("N125")->trigger();
    const bool removed = click % 2 == 1;
    EXPECT_EQ(chart_->CurrentView().ElementFillRemoved, removed) << click;
    EXPECT_EQ(chart_->CurrentView().HouseFillRemoved, removed) << click;
  }
  // the hatch captions follow the record, whatever they read before
  const int hatch = chart_->Chart.HatchElements;
  form_->Item("N118")->setText("?");
  form_->Item("N118")->trigger();
  EXPECT_EQ(chart_->Chart.HatchElements, hatch == 0 ? 1 : 0);
  EXPECT_EQ(form_->Item("N118")->text(), form_->Text(chart_->Chart.HatchElements == 0 ? 51 : 50));
  // chart variants: one state, one check mark
  form_->Item("N74")->trigger();
  EXPECT_TRUE(chart_->CurrentView().ArabicParts);
  EXPECT_FALSE(chart_->CurrentView().FixedStars);
  EXPECT_TRUE(form_->Item("N74")->isChecked());
  EXPECT_FALSE(form_->Item("N71")->isChecked());
  // the orientation is the record's, set by its item
  form_->Item("N66")->trigger();
  EXPECT_EQ(chart_->Chart.WheelOrientation, 4);
}

TEST_F(Commands, UndoReturnsToTheMomentBeforeTheLastChangeAndNotAfterANewChart) {
  Start();
  const double start = chart_->Chart.JulianDayUT;
  chart_->MoveChartTo(start + 3.25);
  chart_->MoveChartTo(start + 10.5);
  EXPECT_TRUE(form_->Item("N21")->isEnabled());
  form_->Item("N21")->trigger();
  EXPECT_NEAR(chart_->Chart.JulianDayUT, start + 3.25, 1e-9);
  EXPECT_FALSE(form_->Item("N21")->isEnabled());
  EXPECT_EQ(Panel(5), LocalMomentText(start + 3.25, chart_->Chart.TimeZone));
  // a chart entered anew leaves nothing to undo
  chart_->MoveChartTo(start + 1);
  TInputDates* input = TInputDates::Instance();
  ASSERT_NE(input, nullptr);
  input->Entered.JulianDayUT = start - 400;
  input->Entered.JulianDay0h = std::floor(start - 400 - 0.5) + 0.5;
  input->Entered.UniversalTime = 6;
  input->Entered.GeoLatitude = 40;
  input->Entered.GeocentricLatitude = 40;
  input->ApplyToChart();
  EXPECT_FALSE(form_->Item("N21")->isEnabled());
  EXPECT_NEAR(chart_->Chart.UndoJulianDayUT, start - 400, 1e-9);
}

TEST_F(Commands, EveryAspectLineDoubleClickedGivesBackItsPairAndKind) {
  Start();
  form_->Item("N27")->trigger();
  QListWidget* list = form_->ListBox1();
  ASSERT_GT(list->count(), 0);
  // no selection: nothing happens
  list->setCurrentItem(nullptr);
  form_->ListBox1DblClick();
  EXPECT_EQ(form_->LastAspectPick.First, -1);
  const ChartRecord& c = chart_->Chart;
  std::set<std::tuple<int, int, int>> seen;
  for (int row = 0; row < list->count(); ++row) {
    list->setCurrentRow(row);
    form_->LastAspectPick = {};
    const std::size_t before = messages_.size();
    form_->ListBox1DblClick();
    const AspectLinePick& pick = form_->LastAspectPick;
    ASSERT_GE(pick.First, 0) << row;
    // a body's glyph stands for the body, a cusp's for the cusp
    EXPECT_EQ(c.AspectKind[pick.First][pick.Second], pick.Kind) << row;
    EXPECT_EQ(pick.SecondIsCusp, pick.Second >= 18) << row;
    EXPECT_EQ(messages_.size(), before + (pick.SecondIsCusp ? 1 : 0)) << row;
    seen.insert({pick.First, pick.Second, pick.Kind});
  }
  EXPECT_EQ(static_cast<int>(seen.size()), list->count());
  // the latitude and sum kinds are read too (the dynamics refuse them), a
  // short line is no pair
  AspectLinePick pick;
  for (int k = 26; k < kAspectKindCount; ++k) {
    EXPECT_TRUE(
        PickAspectLine(c, std::string{c.ObjectGlyph[0], c.AspectGlyph[k], c.ObjectGlyph[1]}, pick));
    EXPECT_EQ(pick.Kind, k);
  }
  EXPECT_FALSE(PickAspectLine(c, std::string{c.ObjectGlyph[0]}, pick));
}

TEST_F(Commands, TheReceptionSwapSurvivesEveryCommandThatRecomputes) {
  Start();
  form_->N51Click();
  const auto swapped = [&] {
    // the chart as the swap computes it, cast afresh from the same record
    auto fresh = std::make_unique<ChartRecord>(chart_->Chart);
    RecalcChartReception(*fresh);
    for (int b = 0; b < 10; ++b)
      if (fresh->EclipticLongitude[b] != chart_->Chart.EclipticLongitude[b]) return false;
    return chart_->Chart.ReceptionSwap == 1 && form_->Item("N145")->isEnabled();
  };
  ASSERT_TRUE(swapped());
  chart_->MoveChartTo(chart_->Chart.JulianDayUT + 2);
  EXPECT_TRUE(swapped()) << "time change";
  form_->Item("N21")->trigger();
  EXPECT_TRUE(swapped()) << "undo";
  form_->Item("N88")->trigger();
  EXPECT_TRUE(swapped()) << "house system";
  form_->Item("N78")->trigger();
  EXPECT_TRUE(swapped()) << "object preset";
  form_->Item("N81")->trigger();
  EXPECT_TRUE(swapped()) << "aspect preset";
  form_->Item("N145")->trigger();
  EXPECT_EQ(chart_->Chart.ReceptionSwap, 0);
  EXPECT_FALSE(form_->Item("N145")->isEnabled());
}

TEST_F(Commands, UndefinedPlanetaryHourAndLunarDayShowADash) {
  Start();
  const std::string dash = Utf8ToCp1251("\u2014");
  EXPECT_EQ(Panel(2).find(dash), std::string::npos);
  chart_->Chart.GeoLatitude = 70;  // above the latitude where hours are reckoned
  chart_->Chart.GeocentricLatitude = 70;
  form_->ApplyChartTime();
  for (int panel : {2, 3, 4})
    EXPECT_EQ(Panel(panel).substr(Panel(panel).size() - dash.size()), dash) << panel;
  EXPECT_EQ(form_->StatusBarHint(400), form_->UiText.Entry(435) + dash);
  EXPECT_EQ(form_->StatusBarHint(500), form_->UiText.Entry(435) + dash);
}

TEST_F(Commands, ClipboardExportDrawsTheWheelAtItsSizeAndGivesTheWindowItsTarget) {
  Start();
  form_->ExportWindowCode = kExportCodeChart;
  ASSERT_TRUE(form_->Item("N23")->isEnabled());
  form_->Item("N23")->trigger();
  const QImage image = ClipboardImage();
  EXPECT_EQ(image.width(), kClipboardExportSide);
  EXPECT_EQ(image.height(), kClipboardExportSide);
  // colour mode 1: a white background around the wheel
  EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
  const DrawTarget own = chart_->Target();
  EXPECT_EQ(own.Purpose, DrawPurpose::Window);
  EXPECT_EQ(own.ColorMode, kColorModeFull);
  EXPECT_EQ(chart_->Chart.ColorMode, kColorModeFull);
}

TEST_F(Commands, FileExportWritesTheBmpFolderAndRefusesWhatCannotBeExported) {
  Start();
  fs::remove_all(folder_ / "BMP");
  form_->ExportWindowCode = kExportCodeChart;
  // answers: a name with a separator, a size of 0, then a sound request
  std::vector<ExportRequest> answers = {{300, 200, kColorModeMonochrome, "a/b"},
                                        {0, 200, kColorModeMonochrome, "x"},
                                        {300, 200, kColorModeMonochrome, "wheel"}};
  std::size_t asked = 0;
  SetExportAsker([&](ExportRequest& r) {
    if (asked >= answers.size()) return false;
    r = answers[asked++];
    return true;
  });
  EXPECT_TRUE(CopyActiveWindowImage(*form_, false));
  EXPECT_EQ(asked, 3u);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], FillEntry(form_->UiText.Entry(kUiEntryBadFileName), {"a/b"}));
  EXPECT_EQ(messages_[1], form_->UiText.Entry(kUiEntryPictureTooSmall));
  const QImage written(QString::fromStdString((folder_ / "BMP/wheel.bmp").string()));
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written.width(), 300);
  EXPECT_EQ(written.height(), 200);
  EXPECT_TRUE(OnlyGreys(written));
  EXPECT_EQ(chart_->Chart.ColorMode, kColorModeFull);
  EXPECT_EQ(chart_->Target().Purpose, DrawPurpose::Window);

  // a file that cannot be written is reported, and the window keeps its mode
  fs::create_directories(folder_ / "BMP/locked.bmp");  // a folder where the file should go
  answers = {{100, 100, kColorModeFull, "locked"}};
  asked = 0;
  messages_.clear();
  EXPECT_FALSE(CopyActiveWindowImage(*form_, false));
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(chart_->Chart.ColorMode, kColorModeFull);
  EXPECT_EQ(chart_->Target().Purpose, DrawPurpose::Window);
}

TEST_F(Commands, TooLargeAPictureIsAskedAgainAfterTheWarning) {
  Start();
  form_->ExportWindowCode = kExportCodeChart;
  std::vector<ExportRequest> answers = {{1501, 1500, kColorModeFull, "big"},
                                        {1500, 1500, kColorModeFull, "big"}};
  std::size_t asked = 0;
  SetExportAsker([&](ExportRequest& r) {
    if (asked >= answers.size()) return false;
    r = answers[asked++];
    return true;
  });
  int warnings = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      ++warnings;
      dialog->reject();
    }
  });
  closer.start(5);
  EXPECT_TRUE(CopyActiveWindowImage(*form_, false));
  EXPECT_EQ(asked, 2u);
  EXPECT_EQ(warnings, 1);
  EXPECT_EQ(QImage(QString::fromStdString((folder_ / "BMP/big.bmp").string())).width(), 1500);
}

// A drawing that fails half-way.
class FailingDrawing : public TDrawing {
 public:
  DrawTarget Target() const override { return target_; }
  void SetTarget(const DrawTarget& target) override { target_ = target; }
  void DrawPicture() override { throw std::runtime_error("no memory for the picture"); }

 private:
  DrawTarget target_{nullptr, TRect{0, 0, 10, 10}, kColorModeFull, DrawPurpose::Window};
};

TEST_F(Commands, AFailedExportGivesTheWindowItsOwnTargetBack) {
  Start();
  FailingDrawing failing;
  RegisterExportWindow(12, ExportWindow{&failing, {}, [] { return true; }});
  form_->ExportWindowCode = kExportCodeChart;  // the chart was activated last...
  form_->ActiveToolWindowCode = 12;            // ...but a tool window is on show
  EXPECT_THROW(CopyActiveWindowImage(*form_, true), std::runtime_error);
  UnregisterExportWindow(12);
  EXPECT_EQ(form_->ExportWindowCode, 12);
  EXPECT_EQ(failing.Target().Purpose, DrawPurpose::Window);
  EXPECT_EQ(failing.Target().ColorMode, kColorModeFull);
  EXPECT_EQ(failing.Target().Rect.Right, 10);
}

}  // namespace
