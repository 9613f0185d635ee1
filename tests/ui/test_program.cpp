// The program as a whole, headless: start-up in a copy of the factory data
// tree, captions from the language file, start-up failures, and shut-down
// writing every template and settings file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "chart/ui/picturechart.h"
#include "judgement/ui/typeaspect.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file of a folder tree with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = ReadBytes(e.path());
  return files;
}

// Each test starts the program itself, on the scratch copy as it left it.
class Program : public ProgramWindowTest {
 protected:
  std::string Entry(int n) {
    LineList lines;
    ReadLines((folder_ / "Options/LangH.lan").string(), lines);
    return lines.at(n);
  }
};

TEST_F(Program, StartsWithCaptionsFromTheLanguageFile) {
  auto windows = CreateProgramWindows(folder_.string());
  TBaseForm& form = *windows->BaseForm;
  EXPECT_EQ(form.windowTitle().toStdString(), Cp1251ToUtf8(Entry(0)));
  EXPECT_EQ(form.Item("N1")->text().toStdString(), Cp1251ToUtf8(Entry(1)));
  EXPECT_EQ(form.Item("N86")->text().toStdString(), Cp1251ToUtf8(Entry(100)));
  // both items of entry 128 read the same
  EXPECT_EQ(form.Item("N80")->text(), form.Item("N83")->text());
  // a button standing for a menu item takes its caption as hint
  EXPECT_EQ(form.Button("SpeedButton16")->toolTip(), form.Item("N21")->text());
  EXPECT_EQ(form.Button("SpeedButton1")->toolTip().toStdString(), Cp1251ToUtf8(Entry(11)));
  // "Файл" hides the Help item
  EXPECT_FALSE(form.Item("Help")->isVisible());
  // disabled at start
  EXPECT_FALSE(form.Item("N21")->isEnabled());
  EXPECT_FALSE(form.Button("SpeedButton16")->isEnabled());
  // status bar: the six designed widths at least; the house-system panel
  // holds the longest name whole
  const int widths[6] = {200, 175, 100, 55, 105, 110};
  for (int i = 0; i < 6; ++i) EXPECT_GE(form.Panel(i)->width(), widths[i]) << i;
  for (int i : {0, 2, 3, 4, 5}) EXPECT_EQ(form.Panel(i)->width(), widths[i]) << i;
  const ChartRecord& c = windows->PictureRadixChart->Chart;
  QLabel* houses = form.Panel(1);
  for (int n = 1; n <= kHouseSystemCount; ++n) {
    const QString name = QString::fromStdString(Cp1251ToUtf8(c.HouseSystemNames[n]));
    EXPECT_LE(houses->fontMetrics().horizontalAdvance(name), houses->contentsRect().width()) << n;
  }
  // the chart window's house system is on the status bar and checked in the menu
  EXPECT_EQ(form.Panel(1)->text().toStdString(), Cp1251ToUtf8(c.HouseSystemNames[c.HouseSystem]));
  // the aspect-type dialog is as wide as its caption needs
  windows->TypeAspect->adjustSize();
  EXPECT_GE(windows->TypeAspect->width(), TitleFitWidth(*windows->TypeAspect));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Program, EnglishFirstMenuShowsHelp) {
  LineList lines;
  ASSERT_TRUE(ReadLines((folder_ / "Options/LangH.lan").string(), lines));
  lines[1] = "File";
  ASSERT_TRUE(WriteLinesAtomic((folder_ / "Options/LangH.lan").string(), lines));
  auto windows = CreateProgramWindows(folder_.string());
  EXPECT_TRUE(windows->BaseForm->Item("Help")->isVisible());
}

TEST_F(Program, MissingLanguageFileStopsTheStart) {
  fs::remove(folder_ / "Options/LangH.lan");
  try {
    CreateProgramWindows(folder_.string());
    FAIL() << "the start went on without a language file";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file " + (folder_ / "Options/LangH.lan").string());
  }
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
              std::none_of(QApplication::topLevelWidgets().begin(),
                           QApplication::topLevelWidgets().end(),
                           [](QWidget* w) { return w->isVisible(); }));
}

TEST_F(Program, MissingSettingsFileOrMarkerStopsTheStart) {
  fs::remove(folder_ / "Options/KR.opt");
  EXPECT_THROW(CreateProgramWindows(folder_.string()), PlatformError);
  fs::copy_file(fs::path(HORARY_SOURCE_DIR) / "data/Options/KR.opt", folder_ / "Options/KR.opt");
  fs::remove(folder_ / "Options/RUN3.opt");
  EXPECT_THROW(CreateProgramWindows(folder_.string()), PlatformError);
}

TEST_F(Program, CastsTheChartOfTheCurrentMomentWhenShown) {
  auto windows = CreateProgramWindows(folder_.string());
  windows->PictureRadixChart->FormShow();
  const ChartRecord& c = windows->PictureRadixChart->Chart;
  EXPECT_GT(c.JulianDayUT, 2451545.0);      // after 2000
  EXPECT_NEAR(c.GeoLatitude, 55.75, 1e-4);  // the default place
  EXPECT_GT(c.EclipticLongitude[1], 0.0);   // the Moon was computed
  EXPECT_FALSE(windows->BaseForm->Panel(5)->text().isEmpty());
  EXPECT_FALSE(windows->BaseForm->Panel(2)->text().isEmpty());  // planetary hour at 55.75 N
}

TEST_F(Program, ClosingWritesEveryFileUnchangedWhenNothingChanged) {
  auto before = Snapshot(folder_);
  {
    auto windows = CreateProgramWindows(folder_.string());
    windows->BaseForm->FormShow();
    windows->BaseForm->FormClose();
  }
  EXPECT_TRUE(messages_.empty()) << (messages_.empty() ? "" : messages_[0]);
  EXPECT_EQ(Snapshot(folder_), before);
}

TEST_F(Program, TemplateThatFailedToLoadIsLeftUntouched) {
  // A folder where a template file should be: unreadable, so the load stops there.
  fs::remove(folder_ / "Print/QOI1.diz");
  std::ofstream(folder_ / "Print/CB1.diz", std::ios::binary) << "user blank\r\n";
  auto windows = CreateProgramWindows(folder_.string());
  RunGuarded([&] { windows->BaseForm->FormShow(); });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("QOI1.diz"), std::string::npos);
  windows->BaseForm->FormClose();
  EXPECT_EQ(ReadBytes(folder_ / "Print/CB1.diz"), "user blank\r\n");
  EXPECT_FALSE(fs::exists(folder_ / "Print/QOI1.diz"));
}

TEST_F(Program, HouseSystemMenuRecomputesAndShowsTheName) {
  auto windows = CreateProgramWindows(folder_.string());
  windows->PictureRadixChart->FormShow();
  windows->BaseForm->Item("N88")->trigger();  // Topocentric
  const ChartRecord& c = windows->PictureRadixChart->Chart;
  EXPECT_EQ(c.HouseSystem, 3);
  EXPECT_EQ(windows->BaseForm->Panel(1)->text().toStdString(), Cp1251ToUtf8(c.HouseSystemNames[3]));
  EXPECT_TRUE(windows->BaseForm->Item("N88")->isChecked());
}

TEST_F(Program, FillCaptionTogglesReturnToTheDesignedState) {
  auto windows = CreateProgramWindows(folder_.string());
  TBaseForm& form = *windows->BaseForm;
  ChartRecord& c = windows->PictureRadixChart->Chart;
  const QString designed = form.Item("N118")->text();
  form.Item("N118")->trigger();
  form.Item("N118")->trigger();
  EXPECT_EQ(form.Item("N118")->text(), designed);
  EXPECT_EQ(c.HatchElements, 1);
}

TEST_F(Program, AspectPanelShowsTheAspectList) {
  auto windows = CreateProgramWindows(folder_.string());
  windows->PictureRadixChart->FormShow();
  TBaseForm& form = *windows->BaseForm;
  form.Item("N27")->trigger();
  EXPECT_TRUE(form.Item("N27")->isChecked());
  EXPECT_EQ(windows->PictureRadixChart->Chart.AspectListShown, 1);
  EXPECT_GT(form.ListBox1()->count(), 0);
}

// Every modal dialog of the program, the About box made anew included, is
// shown with a title and a close box only (none of them hides its close box
// but the significators' choice, which closes by its OK button), and one that
// the window manager minimises is shown normal again at once: a minimised
// modal dialog would take the whole program out of sight.
TEST_F(Program, EveryModalDialogHasACloseBoxOnlyAndCannotBeMinimised) {
  Start();
  std::map<std::string, Qt::WindowFlags> shown;
  std::map<std::string, bool> normal;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    const std::string name = dialog->objectName().toStdString();
    shown[name] = dialog->windowFlags();
    dialog->showMinimized();
    normal[name] = dialog->isVisible() && dialog->windowState() == Qt::WindowNoState;
    dialog->reject();
  });
  answer.start(5);
  std::vector<QDialog*> dialogs;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->windowType() != Qt::Tool)
      dialogs.push_back(dialog);
  for (QDialog* dialog : dialogs) ExecModal(*dialog);
  form_->Item("N44")->trigger();
  answer.stop();
  EXPECT_GE(shown.size(), 18u);
  for (const auto& [name, flags] : shown) {
    SCOPED_TRACE(name);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), name != "Significators");
    EXPECT_TRUE(normal[name]);
  }
  EXPECT_TRUE(shown.count("InputDates"));
  EXPECT_TRUE(shown.count("AboutProgram"));
}

TEST_F(Program, SmallDialogsTakeTheirTextsFromTheTable) {
  auto windows = CreateProgramWindows(folder_.string());
  EXPECT_EQ(windows->Warning->BitBtn1->text().toStdString(), Cp1251ToUtf8(Entry(259)));
  EXPECT_EQ(windows->Warning->BitBtn2->text().toStdString(), Cp1251ToUtf8(Entry(260)));
  EXPECT_EQ(windows->InputNameBD->windowTitle().toStdString(), Cp1251ToUtf8(Entry(331)));
  TAboutProgram about(windows->BaseForm.get());
  EXPECT_EQ(about.Labels[0]->text().toStdString(), Cp1251ToUtf8(Entry(249)));
  EXPECT_EQ(about.Labels[5]->text().toStdString(), Cp1251ToUtf8(Entry(254)));
}

}  // namespace

namespace {

TEST_F(Program, StatusBarHintsTellWhenTheHourAndTheLunarDayEnd) {
  auto windows = CreateProgramWindows(folder_.string());
  windows->PictureRadixChart->FormShow();
  TBaseForm& form = *windows->BaseForm;
  const RecalcResult& last = windows->PictureRadixChart->LastRecalc;
  ASSERT_TRUE(last.PlanetHoursComputed);
  const std::string prefix = Entry(435);
  std::string hour = form.StatusBarHint(400);
  ASSERT_EQ(hour.compare(0, prefix.size(), prefix), 0);
  // hh:mm:ss of the next hour's start
  const int n = windows->PictureRadixChart->Chart.PlanetaryHour;
  float end = last.PlanetHours.HourStart[n < 24 ? n : 0];
  char expected[16];
  int h = static_cast<int>(end), m = static_cast<int>((end - h) * 60);
  std::snprintf(expected, sizeof expected, "%02d:%02d:", h, m);
  EXPECT_EQ(hour.substr(prefix.size(), 6), expected) << hour;
  if (last.LunarDaysComputed) {
    EXPECT_EQ(form.StatusBarHint(500).compare(0, prefix.size(), prefix), 0);
  }
  EXPECT_TRUE(form.StatusBarHint(100).empty());
  EXPECT_TRUE(form.StatusBarHint(475).empty());
}

TEST_F(Program, StatusPanelsKeepTheirOrderAndClipWhenTheWindowIsSmall) {
  auto windows = CreateProgramWindows(folder_.string());
  TBaseForm& form = *windows->BaseForm;
  form.show();
  for (int width : {1200, 640, 300, 120}) {
    form.resize(width, 300);
    QApplication::processEvents();
    QWidget* bar = form.Panel(0)->parentWidget();
    for (int i = 0; i < 6; ++i) {
      const QRect panel = form.Panel(i)->geometry();
      EXPECT_GE(panel.width(), 55) << width << " " << i;  // never squeezed
      if (i > 0) {
        EXPECT_GT(panel.left(), form.Panel(i - 1)->geometry().right()) << width << " " << i;
      }
    }
    // what shows lies inside the bar, which lies inside the window
    EXPECT_LE(bar->mapTo(&form, QPoint(bar->width(), 0)).x(), form.width()) << width;
  }
  form.hide();
}

}  // namespace
