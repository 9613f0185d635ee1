// The chart-database commands driven headless through their menu items, with
// the name, question and file dialogs answered by script: a database built
// by the commands against a tree of the test's own, saved, reopened and read
// back chart by chart; the question before unsaved changes are dropped; the
// plain save that would overwrite another database's files or cannot make a
// file name of the database's name; failed writes; a refused open; and the
// commands that need a chart when no chart is selected.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "judgement/ui/housewindows.h"
#include "mainwindow/chartdb.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "tests/ui/windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr double kSecondInDays = 1.0 / 86400.0;
// A latitude or longitude held in single precision and written in whole
// arc seconds comes back within this.
constexpr double kAngleTolerance = 1.5 / 3600.0;  // degrees

// ---- dialog answers ---------------------------------------------------------------

ModalScript::Step TypeName(const std::string& utf8) {
  return [utf8](QWidget* w) {
    auto* dialog = qobject_cast<TInputNameBD*>(w);
    ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
    dialog->Name->setText(QString::fromStdString(utf8));
    dialog->BitBtn1->click();
  };
}

// Answers the confirmation dialog, remembering what it asked.
ModalScript::Step Answer(bool ok, std::string* asked = nullptr) {
  return [ok, asked](QWidget* w) {
    auto* dialog = qobject_cast<TWarning*>(w);
    ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
    if (asked) *asked = Utf8ToCp1251(dialog->Panel1->text().toStdString());
    (ok ? dialog->BitBtn1 : dialog->BitBtn2)->click();
  };
}

// Answers the question about unsaved changes: "Save", "Discard" or "Cancel".
ModalScript::Step Choose(const char* button) {
  return [button](QWidget* w) {
    ASSERT_EQ(w->objectName(), "AskSaveDatabase");
    w->findChild<QAbstractButton*>(button)->click();
  };
}

// Answers the question about a pair another program changed: "SaveAnyway"
// or "Cancel", remembering what it asked.
ModalScript::Step AnswerChanged(const char* button, std::string* asked = nullptr) {
  return [button, asked](QWidget* w) {
    ASSERT_EQ(w->objectName(), "PairChangedOnDisk");
    if (asked) *asked = Utf8ToCp1251(qobject_cast<QMessageBox*>(w)->text().toStdString());
    w->findChild<QAbstractButton*>(button)->click();
  };
}

// Picks a file in the open or save dialog (filter: 1-based choice, 0 as is).
ModalScript::Step PickFile(const fs::path& file, int filter = 0) {
  return [file, filter](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
    if (filter > 0) dialog->selectNameFilter(dialog->nameFilters().at(filter - 1));
    // selectFile leaves the name field alone while it has the focus: the
    // name is typed in as well, as the user would
    const QString path = QString::fromStdString(file.string());
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
    static_cast<QDialog*>(dialog)->accept();
  };
}

// ---- the test's own tree --------------------------------------------------------------

// A node as the test expects it; the database's tree is compared with it.
struct Expected {
  std::string Text;
  bool Chart = false;
  std::vector<Expected> Children;
};

struct Visit {
  Expected* Node;
  Expected* Parent;
  int Level;
};

void Walk(Expected& node, Expected* parent, int level, std::vector<Visit>& out) {
  out.push_back({&node, parent, level});
  for (Expected& child : node.Children) Walk(child, &node, level + 1, out);
}

std::vector<Visit> PreOrder(Expected& root) {
  std::vector<Visit> out;
  Walk(root, nullptr, 0, out);
  return out;
}

void WalkItems(QTreeWidgetItem* item, int level,
               std::vector<std::pair<QTreeWidgetItem*, int>>& out) {
  out.push_back({item, level});
  for (int i = 0; i < item->childCount(); ++i) WalkItems(item->child(i), level + 1, out);
}

// The tree widget's items in pre-order with their levels.
std::vector<std::pair<QTreeWidgetItem*, int>> Items(const QTreeWidget& tree) {
  std::vector<std::pair<QTreeWidgetItem*, int>> out;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) WalkItems(tree.topLevelItem(i), 0, out);
  return out;
}

class Database : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    CreateWindows();
    chart_->resize(480, 480);
    chart_->FormShow();
  }

  // Runs a menu command with the dialogs it opens answered in order; every
  // step must be used and no other dialog may open.
  void Run(const char* item, std::vector<ModalScript::Step> steps) {
    const std::size_t count = steps.size();
    ModalScript script(std::move(steps));
    ASSERT_TRUE(form_->Item(item)->isEnabled()) << item;
    form_->Item(item)->trigger();
    EXPECT_EQ(script.Done(), count) << item;
    EXPECT_EQ(script.Unexpected(), 0) << item;
  }
  // Calls a handler directly, as code other than its menu item does.
  void Call(void (TBaseForm::*handler)(), std::vector<ModalScript::Step> steps) {
    const std::size_t count = steps.size();
    ModalScript script(std::move(steps));
    (form_->*handler)();
    EXPECT_EQ(script.Done(), count);
    EXPECT_EQ(script.Unexpected(), 0);
  }
  void Create(const std::string& utf8Name) { Run("N8", {TypeName(utf8Name)}); }
  void Select(QTreeWidgetItem* item) {
    QTreeWidget& tree = *form_->TreeBD();
    tree.clearSelection();
    if (!item) return;
    tree.setCurrentItem(item);
    item->setSelected(true);
  }
  QTreeWidgetItem* ItemAt(std::size_t index) {
    const auto items = Items(*form_->TreeBD());
    return index < items.size() ? items[index].first : nullptr;
  }
  // A pair written straight to the folder: root "name", one section, the
  // given lines after it.
  fs::path WritePair(const std::string& stem, const std::string& root, const LineList& treeExtra,
                     const LineList& recordExtra) {
    LineList tree{root, "\tSection"};
    LineList records{root + "/1", "Section/1"};
    tree.insert(tree.end(), treeExtra.begin(), treeExtra.end());
    records.insert(records.end(), recordExtra.begin(), recordExtra.end());
    const fs::path file = folder_ / (stem + ".zrn");
    EXPECT_TRUE(WriteLinesAtomic((folder_ / (stem + ".zrt")).string(), tree));
    EXPECT_TRUE(WriteLinesAtomic(file.string(), records));
    return file;
  }
  // Compares the database, its lines and the tree widget with the expected tree.
  void ExpectTree(Expected& root) {
    const std::vector<Visit> expected = PreOrder(root);
    const auto items = Items(*form_->TreeBD());
    const ChartDatabase& db = form_->Database;
    ASSERT_EQ(db.Nodes.size(), expected.size());
    ASSERT_EQ(db.Lines.size(), expected.size());
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const Visit& e = expected[i];
      EXPECT_EQ(db.Nodes[i].Text, e.Node->Text) << i;
      EXPECT_EQ(db.Nodes[i].Level, e.Level) << i;
      EXPECT_EQ(db.Nodes[i].State == kDbChart, e.Node->Chart) << i;
      EXPECT_EQ(Utf8ToCp1251(items[i].first->text(0).toStdString()), e.Node->Text) << i;
      EXPECT_EQ(items[i].second, e.Level) << i;
      EXPECT_EQ(form_->NodeOfItem(items[i].first), i);
      const std::string& line = db.Lines[i];
      if (e.Node->Chart)
        EXPECT_EQ(line.substr(0, e.Node->Text.size() + 1), e.Node->Text + "=") << line;
      else
        EXPECT_EQ(line, e.Node->Text + "/1") << i;
    }
  }
};

// What a stored chart must read back as.
struct StoredChart {
  std::string Name, Place, Comment;
  double JulianDayUT;
  float TimeZone, Latitude, Longitude;
  int Querent, Quesited, WhoAsks;
};

TEST_F(Database, ABuiltDatabaseSavesReopensLineForLineAndEveryChartLoadsBack) {
  // at start only creating and opening a database are offered
  for (const char* item : {"N8", "N9"}) EXPECT_TRUE(form_->Item(item)->isEnabled()) << item;
  for (const char* item : {"N10", "N15", "N16", "N26", "N12", "N13", "N68", "N69", "N70"})
    EXPECT_FALSE(form_->Item(item)->isEnabled()) << item;
  EXPECT_TRUE(form_->PanelDB()->isHidden());

  // a database without a name is asked for one again, with a message, until
  // it has one or the user gives up
  Run("N8", {TypeName(""), TypeName("  "), [](QWidget* w) {
               auto* dialog = qobject_cast<TInputNameBD*>(w);
               ASSERT_NE(dialog, nullptr);
               dialog->BitBtn2->click();
             }});
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], form_->UiText.Entry(kUiEntryEmptyName));
  EXPECT_EQ(messages_[1], messages_[0]);
  EXPECT_TRUE(form_->PanelDB()->isHidden());
  EXPECT_TRUE(form_->Database.Nodes.empty());
  messages_.clear();
  Run("N8", {TypeName(""), TypeName("Вопросы")});
  ASSERT_EQ(messages_.size(), 1u);
  messages_.clear();
  EXPECT_FALSE(form_->PanelDB()->isHidden());
  EXPECT_TRUE(form_->Item("N26")->isChecked());
  for (const char* item : {"N10", "N26"}) EXPECT_TRUE(form_->Item(item)->isEnabled()) << item;
  EXPECT_FALSE(form_->Item("N15")->isEnabled());  // until a node is clicked
  Expected root{Utf8ToCp1251("Вопросы"), false, {{Utf8ToCp1251("Раздел 1"), false, {}}}};
  ExpectTree(root);

  std::mt19937 rng(20261209);
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::vector<StoredChart> stored;
  int sections = 1;
  for (int step = 0; step < 120; ++step) {
    std::vector<Visit> nodes = PreOrder(root);
    // select a random node, or none now and then
    const int chosen = pick(10) == 0 ? -1 : pick(static_cast<int>(nodes.size()));
    Select(chosen < 0 ? nullptr : ItemAt(static_cast<std::size_t>(chosen)));
    ASSERT_EQ(form_->SelectedNode(), chosen < 0 ? std::string::npos : std::size_t(chosen));
    // where a new node goes: under the root or section selected, beside the
    // chart selected, under the root when nothing is
    Expected* parent = chosen < 0                  ? &root
                       : nodes[chosen].Node->Chart ? nodes[chosen].Parent
                                                   : nodes[chosen].Node;
    const int action = pick(10);
    if (action < 2) {
      const std::string name = "Раздел " + std::to_string(++sections);
      // with nothing selected the item may be off; the command itself adds
      // under the root
      if (form_->Item("N12")->isEnabled())
        Run("N12", {TypeName(name)});
      else
        Call(&TBaseForm::N12Click, {TypeName(name)});
      parent->Children.push_back({Utf8ToCp1251(name), false, {}});
    } else if (action < 8) {
      StoredChart c;
      const int n = static_cast<int>(stored.size());
      c.Name = Utf8ToCp1251("Карта ") + std::to_string(n);
      c.Place = n % 3 == 0 ? "" : Utf8ToCp1251("Москва ") + std::to_string(n);
      c.Comment = n % 2 == 0 ? "" : Utf8ToCp1251("Найдётся ли / пропажа?");
      c.TimeZone = static_cast<float>(pick(27) - 12) + (pick(4) == 0 ? 0.5f : 0.0f);
      const float localHours = static_cast<float>(pick(86400)) / 3600.0f;
      c.JulianDayUT =
          JulianDay(1 + pick(28), 1 + pick(12), 1850 + pick(250), localHours - c.TimeZone);
      c.Latitude = static_cast<float>(pick(2 * 90 * 3600) - 90 * 3600) / 3600.0f;
      c.Longitude = static_cast<float>(pick(2 * 180 * 3600) - 180 * 3600) / 3600.0f;
      c.Querent = pick(12);
      c.Quesited = pick(12);
      c.WhoAsks = pick(6);
      ChartRecord& r = chart_->Chart;
      r.ChartName = c.Name;
      r.PlaceName = c.Place;
      r.ChartComment = c.Comment;
      r.TimeZone = c.TimeZone;
      r.JulianDayUT = c.JulianDayUT;
      r.UniversalTime = localHours - c.TimeZone;
      r.GeoLatitude = c.Latitude;
      r.GeoLongitude = c.Longitude;
      r.QuerentHouse = c.Querent;
      r.QuesitedHouse = c.Quesited;
      TCverent::Instance()->ComboBox1->setCurrentIndex(c.WhoAsks);
      // storing is offered for sections and charts; with the root or nothing
      // selected the command itself still stores under the root
      if (form_->Item("N69")->isEnabled())
        Run("N69", {});
      else
        form_->N69Click();
      parent->Children.push_back({c.Name, true, {}});
      stored.push_back(c);
    } else if (chosen > 0) {
      const bool chart = nodes[chosen].Node->Chart;
      Run(chart ? "N70" : "N13", {Answer(true)});
      auto& siblings = nodes[chosen].Parent->Children;
      for (auto it = siblings.begin(); it != siblings.end(); ++it)
        if (&*it == nodes[chosen].Node) {
          siblings.erase(it);
          break;
        }
      EXPECT_FALSE(form_->Item("N70")->isEnabled());
      EXPECT_FALSE(form_->Item("N68")->isEnabled());
    }
    ExpectTree(root);
    ASSERT_FALSE(HasFailure()) << "step " << step;
  }
  EXPECT_TRUE(form_->DbModified);

  // save as: the dialog starts with the database's name; the pair is written
  const fs::path file = folder_ / "questions.zrn";
  Select(ItemAt(0));
  Run("N16", {PickFile(file)});
  EXPECT_FALSE(form_->DbModified);
  LineList savedLines = form_->Database.Lines;
  LineList treeFile;
  ASSERT_TRUE(ReadLines((folder_ / "questions.zrt").string(), treeFile));
  const std::vector<Visit> expected = PreOrder(root);
  ASSERT_EQ(treeFile.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(treeFile[i], std::string(expected[i].Level, '\t') + expected[i].Node->Text);

  Run("N10", {});
  EXPECT_TRUE(form_->Database.Nodes.empty());
  EXPECT_EQ(form_->TreeBD()->topLevelItemCount(), 0);
  EXPECT_TRUE(form_->PanelDB()->isHidden());
  for (const char* item : {"N10", "N15", "N16", "N12", "N13", "N68", "N69", "N70"})
    EXPECT_FALSE(form_->Item(item)->isEnabled()) << item;

  Run("N9", {PickFile(file, 1)});
  EXPECT_EQ(form_->Database.Lines, savedLines);
  EXPECT_EQ(form_->DbFolder, folder_.string());
  EXPECT_FALSE(form_->DbModified);
  ExpectTree(root);

  // every chart loads back as it was stored
  std::size_t next = 0;
  const auto items = Items(*form_->TreeBD());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (form_->Database.Nodes[i].State != kDbChart) continue;
    Select(items[i].first);
    ASSERT_TRUE(form_->Item("N68")->isEnabled());
    // the date and time of the record under the tree
    EXPECT_EQ(Utf8ToCp1251(form_->StatusBarDBText().toStdString()),
              FormatDbRecordDateTime(form_->Database.Lines[i]));
    const std::string name = Utf8ToCp1251(items[i].first->text(0).toStdString());
    auto it = std::find_if(stored.begin(), stored.end(),
                           [&](const StoredChart& s) { return s.Name == name; });
    ASSERT_NE(it, stored.end()) << name;
    ++next;
    if (next % 2 == 0)
      Run("N68", {});
    else
      chart_->FormDragDrop(form_->TreeBD());  // dropped onto the wheel
    const ChartRecord& r = chart_->Chart;
    EXPECT_EQ(r.ChartName, it->Name);
    EXPECT_EQ(r.PlaceName, it->Place);
    EXPECT_EQ(r.ChartComment, it->Comment);
    EXPECT_EQ(r.TimeZone, it->TimeZone);
    EXPECT_NEAR(r.JulianDayUT, it->JulianDayUT, kSecondInDays) << name;
    EXPECT_NEAR(r.GeoLatitude, it->Latitude, kAngleTolerance) << name;
    EXPECT_NEAR(r.GeoLongitude, it->Longitude, kAngleTolerance) << name;
    EXPECT_NEAR(r.GeocentricLatitude, GeocentricOfGeographic(r.GeoLatitude), 1e-4);
    EXPECT_EQ(r.QuerentHouse, it->Querent) << name;
    EXPECT_EQ(r.QuesitedHouse, it->Quesited) << name;
    EXPECT_EQ(TCverent::Instance()->WhoAsks(), it->WhoAsks) << name;
    EXPECT_EQ(Utf8ToCp1251(form_->Panel(0)->text().toStdString()), it->Name);
  }
  EXPECT_GT(next, 40u);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  // loading a chart changes the chart, not the database
  EXPECT_FALSE(form_->DbModified);
}

TEST_F(Database, UnsavedChangesAreAskedAboutAndCancelLeavesEverythingAsItWas) {
  // nothing changed: nothing asked
  EXPECT_TRUE(form_->AskSaveDatabase());
  Create("Первая");
  EXPECT_TRUE(form_->DbModified);
  Select(ItemAt(1));
  Run("N12", {TypeName("Подраздел")});
  const ChartDatabase before = form_->Database;
  auto unchanged = [&](const char* what) {
    EXPECT_EQ(form_->Database.Lines, before.Lines) << what;
    EXPECT_EQ(form_->Database.Nodes.size(), before.Nodes.size()) << what;
    EXPECT_EQ(Items(*form_->TreeBD()).size(), before.Nodes.size()) << what;
    EXPECT_TRUE(form_->DbModified) << what;
    EXPECT_FALSE(form_->PanelDB()->isHidden()) << what;
  };
  // Cancel before close, create, open and exit
  Run("N10", {Choose("Cancel")});
  unchanged("close");
  Run("N8", {Choose("Cancel")});
  unchanged("create");
  Run("N9", {Choose("Cancel")});
  unchanged("open");
  {
    ModalScript script({Choose("Cancel")});
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(script.Done(), 1u);
  }
  unchanged("exit");
  // Save with no file yet asks where; cancelling that dialog cancels the close
  Run("N10", {Choose("Save"), [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }});
  unchanged("close, save cancelled");
  // a save that fails (the tree file's name is taken by a folder) writes
  // neither file, keeps the database, reports and cancels the close
  fs::create_directory(folder_ / "blocked.zrt");
  const fs::path blocked = folder_ / "blocked.zrn";
  Run("N10", {Choose("Save"), PickFile(blocked), Answer(true)});
  unchanged("close, save failed");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("Cannot create file"), std::string::npos) << messages_[0];
  EXPECT_FALSE(fs::exists(blocked));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // Save, then create: the new database replaces the saved one
  const fs::path saved = folder_ / "first.zrn";
  Run("N8", {Choose("Save"), PickFile(saved), TypeName("Вторая")});
  ASSERT_TRUE(fs::exists(saved));
  ChartDatabase reread;
  std::string message;
  ASSERT_TRUE(LoadDatabasePair(saved.string(), reread, message)) << message;
  EXPECT_EQ(reread.Lines, before.Lines);
  EXPECT_EQ(form_->Database.Nodes.at(0).Text, Utf8ToCp1251("Вторая"));
  // Discard, then open: the opened database replaces the unsaved one
  Run("N9", {Choose("Discard"), PickFile(saved, 1)});
  EXPECT_EQ(form_->Database.Lines, before.Lines);
  EXPECT_FALSE(form_->DbModified);
  // another program's file chosen in the open dialog: the question about the
  // unsaved database first, then the file imported in its place
  form_->DbModified = true;
  const fs::path foreign = folder_ / "clients.qck";
  ASSERT_TRUE(WriteLinesAtomic(
      foreign.string(),
      {"Anna                   Mar 05  200102:07:00 PM    -03:00037E37'00 55N45'00 Moscow"}));
  Run("N9", {Choose("Discard"), PickFile(foreign, 2)});
  ASSERT_EQ(form_->Database.Nodes.size(), 3u);
  EXPECT_EQ(form_->Database.Nodes[0].Text, "clients");
  EXPECT_EQ(form_->Database.Nodes[2].Text, "Anna");
  EXPECT_TRUE(form_->DbModified);  // nothing of it is on disk yet
  Run("N10", {Choose("Discard")});
  // saved and unchanged: closing asks nothing
  Run("N9", {PickFile(saved, 1)});
  Run("N10", {});
  EXPECT_TRUE(form_->Database.Nodes.empty());
}

TEST_F(Database, PlainSaveAsksBeforeAnotherDatabasesFilesAndNeedsAFileName) {
  // a database whose name is not its file's name, beside the files of that name
  const fs::path opened = WritePair("opened", "other", {}, {});
  const fs::path otherTree = folder_ / "other.zrt";
  const fs::path otherRecords = WritePair("other", "other", {"\t\tKept"}, {"Kept/1"});
  Run("N9", {PickFile(opened, 1)});
  Select(ItemAt(1));
  Run("N12", {TypeName("Added")});
  std::string asked;
  Run("N15", {Answer(false, &asked)});
  EXPECT_NE(asked.find(otherRecords.string()), std::string::npos) << asked;
  EXPECT_TRUE(form_->DbModified);
  LineList lines;
  ASSERT_TRUE(ReadLines(otherRecords.string(), lines));
  EXPECT_EQ(lines.back(), "Kept/1");
  Run("N15", {Answer(true)});
  EXPECT_FALSE(form_->DbModified);
  ASSERT_TRUE(ReadLines(otherRecords.string(), lines));
  EXPECT_EQ(lines, form_->Database.Lines);
  // its own files now: saved again without a question
  Run("N69", {});
  Run("N15", {});
  EXPECT_FALSE(form_->DbModified);
  LineList otherTreeLines;
  ASSERT_TRUE(ReadLines(otherTree.string(), otherTreeLines));

  // a name that is no file name: said, then asked where; ".zrn" is forced
  // and the tree file lies beside the records
  for (const char* bad : {"a/b", "..", "what?", ""}) {
    const fs::path file = WritePair("named", bad, {}, {});
    Run("N9", {PickFile(file, 1)});
    messages_.clear();
    Select(ItemAt(0));
    const fs::path chosen = folder_ / ("chosen" + std::to_string(std::strlen(bad)) + ".qck");
    Run("N15", {PickFile(chosen)});
    ASSERT_EQ(messages_.size(), 1u) << bad;
    EXPECT_NE(messages_[0].find(bad), std::string::npos) << messages_[0];
    EXPECT_TRUE(fs::exists(chosen.string() + ".zrn")) << bad;
    EXPECT_TRUE(fs::exists(chosen.string() + ".zrt")) << bad;
    EXPECT_FALSE(fs::exists(chosen)) << bad;
    EXPECT_FALSE(form_->DbModified);
  }
  // save-as onto an existing pair: Cancel returns to the file dialog
  Run("N16", {PickFile(otherRecords), Answer(false), PickFile(folder_ / "fresh.ZRN")});
  EXPECT_TRUE(fs::exists(folder_ / "fresh.zrn"));
  EXPECT_TRUE(fs::exists(folder_ / "fresh.zrt"));
  ASSERT_TRUE(ReadLines(otherTree.string(), lines));
  EXPECT_EQ(lines, otherTreeLines);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Database, CommandsFollowTheSelectedNodeAndNeverReadALineThatIsNoChart) {
  const LineList tree{"\t\tWith houses", "\t\tImported", "\tEmpty"};
  const LineList records{
      Utf8ToCp1251("With houses=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/21219/1/Москва//3"),
      "Imported=1/1/1990/12/0/0/0/0/0/51/30/0/0/-7/-30/1/0/London/From a file/3", "Empty/1"};
  const fs::path file = WritePair("kinds", "Kinds", tree, records);
  Run("N9", {PickFile(file, 1)});
  const ChartRecord before = chart_->Chart;

  // the table of commands by the kind of node selected
  struct Row {
    std::size_t Node;
    std::vector<const char*> On, Off;
  };
  const Row rows[] = {
      {0, {"N15", "N16", "N12"}, {"N13", "N69", "N70", "N68"}},
      {1, {"N15", "N16", "N12", "N13", "N69"}, {"N70", "N68"}},
      {2, {"N15", "N16", "N12", "N69", "N70", "N68"}, {"N13"}},
  };
  for (const Row& row : rows) {
    Select(ItemAt(row.Node));
    for (const char* item : row.On) EXPECT_TRUE(form_->Item(item)->isEnabled()) << row.Node << item;
    for (const char* item : row.Off)
      EXPECT_FALSE(form_->Item(item)->isEnabled()) << row.Node << item;
  }
  EXPECT_EQ(form_->StatusBarDBText(), "5.3.2001.14:7:0");
  EXPECT_TRUE(form_->Button("SpeedButton27")->isEnabled());

  // loading and deleting a chart with a section, the root or nothing selected
  for (int node : {0, 1, 4, -1}) {
    Select(node < 0 ? nullptr : ItemAt(static_cast<std::size_t>(node)));
    form_->N68Click();
    form_->N70Click();
    chart_->FormDragDrop(form_->TreeBD());
  }
  EXPECT_EQ(chart_->Chart.ChartName, before.ChartName);
  EXPECT_EQ(chart_->Chart.JulianDayUT, before.JulianDayUT);
  EXPECT_EQ(form_->Database.Lines.size(), 5u);
  EXPECT_FALSE(form_->DbModified);
  EXPECT_TRUE(messages_.empty());
  // the root is never deleted as a section, and a chart never as one
  for (int node : {0, 2}) {
    Select(ItemAt(static_cast<std::size_t>(node)));
    form_->N13Click();
  }
  EXPECT_EQ(form_->Database.Lines.size(), 5u);

  // the imported record carries no houses: said, and the houses stay
  chart_->Chart.QuerentHouse = 4;
  chart_->Chart.QuesitedHouse = 7;
  Select(ItemAt(3));
  Run("N68", {});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], form_->UiText.Entry(513));
  EXPECT_EQ(chart_->Chart.ChartName, "Imported");
  EXPECT_EQ(chart_->Chart.PlaceName, "London");
  EXPECT_EQ(chart_->Chart.QuerentHouse, 4);
  EXPECT_EQ(chart_->Chart.QuesitedHouse, 7);
  EXPECT_NEAR(chart_->Chart.GeoLongitude, -0.125, 1e-6);  // -0 7' 30"
  // the other one brings houses 11 and 11
  Select(ItemAt(2));
  Run("N68", {});
  EXPECT_EQ(chart_->Chart.QuerentHouse, 11);
  EXPECT_EQ(chart_->Chart.QuesitedHouse, 11);
  EXPECT_FALSE(form_->Item("N21")->isEnabled());

  // collapsing and expanding change the kind shown, never a line
  QTreeWidgetItem* section = ItemAt(1);
  section->setExpanded(true);
  EXPECT_EQ(form_->Database.Nodes[1].State, kDbSectionExpanded);
  section->setExpanded(false);
  EXPECT_EQ(form_->Database.Nodes[1].State, kDbSection);
  EXPECT_FALSE(form_->DbModified);

  // storing with nothing selected goes under the root, last
  Select(nullptr);
  form_->N69Click();
  EXPECT_EQ(form_->Database.Nodes.back().Level, 1);
  EXPECT_EQ(form_->Database.Nodes.back().State, kDbChart);
  EXPECT_EQ(form_->SelectedNode(), form_->Database.Nodes.size() - 1);
  EXPECT_TRUE(form_->DbModified);
  // the chart drops onto the wheel only from the tree, copied
  EXPECT_EQ(form_->TreeBD()->defaultDropAction(), Qt::CopyAction);
}

TEST_F(Database, AnOpenThatIsRefusedKeepsTheOpenDatabaseAndTheChart) {
  const fs::path good =
      WritePair("good", "Good", {"\t\tOne"}, {"One=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/10100/1///3"});
  Run("N9", {PickFile(good, 1)});
  Select(ItemAt(1));
  Run("N12", {TypeName("Unsaved")});
  const LineList lines = form_->Database.Lines;
  const std::string folder = form_->DbFolder;
  const double moment = chart_->Chart.JulianDayUT;
  // a record file shorter than its tree, then a level jump in the tree
  const fs::path shorter = WritePair("shorter", "Shorter", {"\t\tOne", "\t\tTwo"},
                                     {"One=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/10100/1///3"});
  const fs::path jump = WritePair("jump", "Jump", {"\t\t\tDeep"}, {"Deep/1"});
  for (const fs::path& bad : {shorter, jump}) {
    messages_.clear();
    Run("N9", {Choose("Discard"), PickFile(bad, 1)});
    ASSERT_EQ(messages_.size(), 1u) << bad;
    EXPECT_NE(messages_[0].find(Utf8ToCp1251(bad.filename().string().substr(0, 4))),
              std::string::npos)
        << messages_[0];
    EXPECT_NE(messages_[0].find("line "), std::string::npos) << messages_[0];
    EXPECT_EQ(form_->Database.Lines, lines);
    EXPECT_EQ(form_->DbFolder, folder);
    EXPECT_TRUE(form_->DbModified);
    EXPECT_EQ(Items(*form_->TreeBD()).size(), lines.size());
    EXPECT_EQ(chart_->Chart.JulianDayUT, moment);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
  // two charts swapped in the record file, as a save cut short between its
  // renames leaves a pair: refused, and the temporary file beside it is named
  const std::string one = "One=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/10100/1///3";
  const fs::path mixed =
      WritePair("mixed", "Mixed", {"\t\tOne", "\t\tTwo"}, {"Two" + one.substr(3), one});
  const fs::path left = folder_ / ".mixed.zrt.tmp12-0";
  ASSERT_TRUE(WriteLinesAtomic(left.string(), {"Mixed"}));
  messages_.clear();
  Run("N9", {Choose("Discard"), PickFile(mixed, 1)});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("line 3: the line of the chart \"Two\""), std::string::npos)
      << messages_[0];
  EXPECT_NE(
      messages_[0].find(FillEntry(form_->UiText.Entry(kUiEntryInterruptedSave), {left.string()})),
      std::string::npos)
      << messages_[0];
  EXPECT_EQ(form_->Database.Lines, lines);
}

// Another program saved the pair this one opened: a save here asks first,
// Cancel keeps the other program's pair, Save anyway replaces it. A save cut
// short between its two renames is finished by the next open, which says so.
TEST_F(Database, ASaveOverAPairAnotherProgramChangedIsAskedAbout) {
  const std::string one = "One=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/10100/1///3";
  const fs::path file = WritePair("shared", "shared", {"\t\tOne"}, {one});
  const std::string stem = (folder_ / "shared").string();
  Run("N9", {PickFile(file, 1)});
  ChartDatabase other;
  std::string message;
  ASSERT_TRUE(LoadDatabasePair(file.string(), other, message)) << message;
  InsertDbNode(other, 1, {"Theirs", 0, kDbSection}, DbSectionLine("Theirs"));
  ASSERT_TRUE(SaveDatabasePair(stem, other, message)) << message;

  Select(ItemAt(1));
  Run("N12", {TypeName("Mine")});
  std::string asked;
  Run("N15", {AnswerChanged("Cancel", &asked)});
  EXPECT_NE(asked.find(file.string()), std::string::npos) << asked;
  EXPECT_TRUE(form_->DbModified);
  LineList lines;
  ASSERT_TRUE(ReadLines(file.string(), lines));
  EXPECT_EQ(lines, other.Lines);
  Run("N15", {AnswerChanged("SaveAnyway")});
  EXPECT_FALSE(form_->DbModified);
  ASSERT_TRUE(ReadLines(file.string(), lines));
  EXPECT_EQ(lines, form_->Database.Lines);
  Run("N69", {});
  Run("N15", {});  // its own pair again: no question
  EXPECT_FALSE(form_->DbModified);

  // the new record file beside the old tree, the new tree in the temporary
  // file its save named after the record file
  ChartDatabase next = form_->Database;
  InsertDbNode(next, 0, {"Later", 0, kDbSection}, DbSectionLine("Later"));
  std::uint64_t print = TextFingerprint(TextOfLines(next.Lines));
  std::string tag(16, '0');
  for (int i = 15; i >= 0; --i, print >>= 4)
    tag[static_cast<std::size_t>(i)] = "0123456789abcdef"[print & 15];
  PendingFile tree;
  ASSERT_TRUE(WriteTextPending(stem + ".zrt", TextOfLines(BuildTreeText(next.Nodes)), tag, tree));
  ASSERT_TRUE(WriteLinesAtomic(file.string(), next.Lines));
  messages_.clear();
  Run("N9", {PickFile(file, 1)});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], FillEntry(form_->UiText.Entry(kUiEntryInterruptedSaveCompleted),
                                    {file.string(), tree.Temporary, stem + ".zrt"}));
  EXPECT_EQ(form_->Database.Lines, next.Lines);
  EXPECT_EQ(Items(*form_->TreeBD()).size(), next.Lines.size());
  EXPECT_FALSE(fs::exists(tree.Temporary));
}

}  // namespace
