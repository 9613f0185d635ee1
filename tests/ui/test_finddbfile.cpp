// The search on disk through its dialog and results grid, opening a found
// database, and the import of another program's file through the main
// window: one message for a failed import and the open database kept, and
// the question before a found database replaces a changed one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/finddbfile.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "tests/ui/windowtest.h"

namespace fs = std::filesystem;

namespace {

class FindDbFile : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    CreateWindows();
    find_ = windows_->FindDBFile;
    table_ = windows_->TreeBDTable;
  }
  // the messages compared in UTF-8
  std::string Kept(const std::string& cp1251Text) const override {
    return Cp1251ToUtf8(cp1251Text);
  }
  // A database pair of one section and the given charts.
  void SaveDatabase(const fs::path& stem, const std::string& root,
                    std::initializer_list<const char*> charts) {
    fs::create_directories(stem.parent_path());
    ChartDatabase db;
    CreateDatabase(db, Cp(root), Cp("Раздел 1"), Cp("Раздел 1/1"));
    for (const char* name : charts) {
      DbChart chart;
      chart.ChartName = Cp(name);
      InsertDbNode(db, 1, DbNode{Cp(name), 0, kDbChart}, BuildDbRecordLine(chart));
    }
    std::string message;
    ASSERT_TRUE(SaveDatabasePair(stem.string(), db, message)) << message;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < table_->StringGrid1->rowCount(); ++r)
      rows.push_back(table_->StringGrid1->item(r, 0)->text().toStdString());
    return rows;
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).string();
  }

  TFindDBFile* find_ = nullptr;
  TTreeBDTable* table_ = nullptr;
};

TEST_F(FindDbFile, FoundFilesFillTheGridAndADoubleClickOpensOne) {
  const fs::path dbs = folder_ / "dbs";
  SaveDatabase(dbs / "a", "Клиенты", {"Петров", "Иванов"});
  SaveDatabase(dbs / "sub" / "b", "Друзья", {"ИВАНОВ", "иванов"});
  SaveDatabase(dbs / "c", "Прочие", {"Сидоров"});
  // an old copy: its name in code page 1251 bytes, its extensions upper-case
  SaveDatabase(dbs / "old", "Архив", {"Иванов"});
  const std::string oldName = Cp("Архив");
  fs::rename(dbs / "old.zrn", dbs / (oldName + ".ZRN"));
  fs::rename(dbs / "old.zrt", dbs / (oldName + ".ZRT"));
  const std::vector<std::string> found = {(dbs / "a.zrn").string(), (dbs / "sub/b.zrn").string(),
                                          (dbs / "Архив.ZRN").string()};

  EXPECT_TRUE(form_->Item("N25")->isEnabled());
  EXPECT_FALSE(find_->BitBtn1->isEnabled());
  find_->EditDB->setText(QString::fromUtf8("иванов"));
  EXPECT_TRUE(find_->BitBtn1->isEnabled());
  find_->SetSearchFolder(dbs.string());
  // the grid was last used by the town search (which empties it after the
  // choice): the search lists files again
  table_->FillTowns({{"Town", "Country", "55", "37"}});
  table_->ClearGrid();
  find_->BitBtn1Click();
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(table_->isVisible());
  EXPECT_EQ(table_->ListsDbFiles, 1);
  EXPECT_EQ(table_->StringGrid1->columnCount(), 1);
  EXPECT_EQ(Rows(), found);
  // a second search appends its rows
  find_->BitBtn1Click();
  EXPECT_EQ(Rows().size(), 6u);
  EXPECT_EQ(find_->FoundCount, 6);

  // the old copy opens by the bytes of its name
  table_->StringGrid1->setCurrentCell(2, 0);
  table_->StringGrid1DblClick();
  EXPECT_TRUE(messages_.empty());
  ASSERT_EQ(form_->Database.Nodes.size(), 3u);
  EXPECT_EQ(form_->Database.SourceFile, (dbs / (oldName + ".ZRN")).string());

  // the second row opens its database
  table_->StringGrid1->setCurrentCell(1, 0);
  table_->StringGrid1DblClick();
  ASSERT_EQ(form_->Database.Nodes.size(), 4u);
  EXPECT_EQ(form_->TreeBD()->topLevelItem(0)->text(0).toStdString(), "Друзья");
  EXPECT_EQ(form_->TreeBD()->topLevelItem(0)->child(0)->childCount(), 2);
  EXPECT_EQ(form_->DbFolder, (dbs / "sub").string());
  EXPECT_TRUE(form_->Item("N26")->isChecked());
  EXPECT_TRUE(form_->Item("N10")->isEnabled());

  // a changed database is replaced only when the user lets it go
  form_->Database.Modified = true;
  table_->StringGrid1->setCurrentCell(0, 0);
  {
    ModalScript answer({[](QWidget* w) { static_cast<QDialog*>(w)->reject(); }});
    table_->BitBtn1Click();
    EXPECT_EQ(answer.Done(), 1u);
  }
  EXPECT_EQ(form_->Database.Nodes[0].Text, Cp("Друзья"));
  {
    // let it go: Discard
    ModalScript answer({[](QWidget* w) { w->findChild<QAbstractButton*>("Discard")->click(); }});
    table_->BitBtn1Click();
    EXPECT_EQ(answer.Done(), 1u);
  }
  EXPECT_EQ(form_->Database.Nodes[0].Text, Cp("Клиенты"));

  table_->BitBtn2Click();
  EXPECT_FALSE(table_->isVisible());
  EXPECT_EQ(Rows(), std::vector<std::string>{""});
  EXPECT_EQ(find_->FoundCount, 0);

  // nothing found: one message, the grid stays hidden and empty
  find_->EditDB->setText(QString::fromUtf8("Кузнецов"));
  find_->BitBtn1Click();
  EXPECT_EQ(messages_, std::vector<std::string>{"Карта с именем Кузнецов не найдена"});
  EXPECT_FALSE(table_->isVisible());
  EXPECT_EQ(Rows(), std::vector<std::string>{""});
  form_->Database.Modified = false;
  ExpectNoWindowLeftOpen();
}

TEST_F(FindDbFile, FailedImportsSayItOnceAndKeepTheOpenDatabase) {
  const std::string good =
      "Anna                   Mar 05  200102:07:00 PM    -03:00037E37'00 55N45'00 Moscow\r\n";
  const std::string bad = good + good + "Bob                    Maj 05  200102:07:00 PM\r\n" + good;
  ASSERT_FALSE(form_->ImportForeignDatabase(Write("bad.qck", bad), 2));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("bad.qck"), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find("строка 3: месяц «Maj» не распознан"), std::string::npos)
      << messages_[0];
  EXPECT_TRUE(form_->Database.Nodes.empty());

  // a line cut short is refused like any bad line
  messages_.clear();
  ASSERT_FALSE(form_->ImportForeignDatabase(Write("cut.qck", good + good.substr(0, 60)), 2));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("строка 2: строка обрывается на 60-м знаке"), std::string::npos)
      << messages_[0];
  EXPECT_TRUE(form_->Database.Nodes.empty());

  ASSERT_TRUE(form_->ImportForeignDatabase(Write("clients.qck", good + good), 2));
  ASSERT_EQ(form_->Database.Nodes.size(), 4u);
  EXPECT_EQ(form_->TreeBD()->topLevelItem(0)->text(0).toStdString(), "clients");
  EXPECT_EQ(form_->DbFolder, folder_.string());
  EXPECT_TRUE(form_->Database.Modified);

  // a Gemma folder with a file of three lines: one message, the database kept
  Write("a.ast", "Name                           1.1.2000 1.00\r\nx\r\nx\r\n");
  messages_.clear();
  ASSERT_FALSE(form_->ImportForeignDatabase((folder_ / "a.ast").string(), 6));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("в файле 3 строк"), std::string::npos) << messages_[0];
  EXPECT_EQ(form_->Database.Nodes[0].Text, "clients");

  // the open command asks about unsaved changes before its file dialog; the
  // import itself asks nothing
  ASSERT_TRUE(form_->ImportForeignDatabase(Write("other.qck", good), 2));
  EXPECT_EQ(form_->Database.Nodes[0].Text, "other");
  EXPECT_EQ(messages_.size(), 1u);
  ExpectNoWindowLeftOpen();
}

}  // namespace
