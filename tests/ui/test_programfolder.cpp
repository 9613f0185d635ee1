// The program in a folder whose path holds Cyrillic letters, as a home folder
// named in Russian gives: the folder is the file system's own bytes (UTF-8),
// names the user types are code page 1251, and each is turned into a path
// once. The window-image export, the chart database, the towns, the options,
// the designer's element tree and the printed PDF all find their files there.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/ui/picturechart.h"
#include "input/townsdb.h"
#include "mainwindow/chartdb.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/messages.h"
#include "platform/qt/printing_device.h"
#include "platform/text/cp1251.h"
#include "printing/ui/printdiziner.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

class CyrillicProgramFolder : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    // the scratch copy moved under a folder with Russian letters in its name
    const fs::path named =
        folder_.parent_path() / ("иван-" + folder_.filename().string()) / "Гороскоп";
    fs::remove_all(named.parent_path());
    fs::create_directories(named.parent_path());
    fs::rename(folder_, named);
    folder_ = named;
  }
  void TearDown() override {
    SetExportAsker(nullptr);
    const fs::path outer = folder_.parent_path();
    ProgramWindowTest::TearDown();
    fs::remove_all(outer);
  }
  void Start() {
    CreateWindows();
    chart_->resize(640, 480);
    chart_->FormShow();
  }
  // Answers the picture dialog once with a picture of the given name.
  void AnswerPicture(const std::string& utf8Name) {
    SetExportAsker([name = Utf8ToCp1251(utf8Name), asked = false](ExportRequest& r) mutable {
      if (asked) return false;
      asked = true;
      r = ExportRequest{240, 160, kColorModeFull, name};
      return true;
    });
  }
};

TEST_F(CyrillicProgramFolder, TheWindowImageGoesIntoTheBmpFolderUnderItsOwnName) {
  Start();
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  form_->ExportWindowCode = kExportCodeChart;
  AnswerPicture("карта 1");
  EXPECT_TRUE(CopyActiveWindowImage(*form_, false));
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  const fs::path file = folder_ / "BMP" / "карта 1.bmp";
  EXPECT_EQ(form_->ExportFileName, file.string());
  const QImage written(QString::fromStdString(file.string()));
  ASSERT_FALSE(written.isNull()) << file;
  EXPECT_EQ(written.size(), QSize(240, 160));

  // a file that cannot be written is named in the message as the user reads it
  fs::create_directories(folder_ / "BMP" / "занято.bmp");
  AnswerPicture("занято");
  EXPECT_FALSE(CopyActiveWindowImage(*form_, false));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            "Cannot create file " + Utf8ToCp1251((folder_ / "BMP/занято.bmp").string()));
}

TEST_F(CyrillicProgramFolder, DatabaseTownsOptionsTreeAndPrintFindTheirFiles) {
  // the start reads the language file, the options, the settings and the blanks
  Start();
  form_->FormShow();
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  EXPECT_EQ(form_->ProgramFolder, folder_.string());

  // a database written into the folder opens again from there
  ChartDatabase written;
  CreateDatabase(written, Utf8ToCp1251("Вопросы"), Utf8ToCp1251("Раздел 1"),
                 DbSectionLine(Utf8ToCp1251("Раздел 1")));
  const std::string stem = (folder_ / "Вопросы").string();
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(stem, written, message)) << message;
  ASSERT_TRUE(form_->OpenDatabaseFile(stem + ".zrn"));
  EXPECT_EQ(form_->Database.Folder, folder_.string());
  EXPECT_EQ(form_->Database.Nodes.size(), 2u);

  // the towns are found
  const TownSearchResult towns =
      SearchTowns(TownsFolder(form_->ProgramFolder), Utf8ToCp1251("Моск"));
  EXPECT_EQ(towns.Status, TownSearchStatus::Found) << towns.Message;

  // the designer's element tree is written back in place
  TPrintDiziner& designer = *windows_->PrintDiziner;
  designer.Edit1->setText(QString::fromUtf8("Заголовок"));
  designer.BitBtn2Click();
  EXPECT_TRUE(messages_.empty()) << messages_.front();

  // a blank printed without a printer goes into the folder's PDF folder
  PagePrinter().SetPrintToPdf(true);
  designer.PrintMode = 0;
  designer.SelectBlank(0);
  designer.PrintMode = 1;
  EXPECT_TRUE(designer.PrintBlanks({0}));
  designer.PrintMode = -1;
  PagePrinter().SetPrintToPdf(false);
  EXPECT_EQ(fs::path(PagePrinter().OutputFile()).parent_path(), folder_ / "PDF");
  EXPECT_TRUE(fs::exists(PagePrinter().OutputFile()));

  // closing writes the settings and the blanks without a failure
  messages_.clear();
  form_->FormClose();
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

// A file that fails is named in the message as the user reads the folder:
// the path turned into the program's text once, not taken for it.
TEST_F(CyrillicProgramFolder, MessagesNameTheFilesAsTheUserReadsThem) {
  const std::string folderText = Utf8ToCp1251(folder_.string());
  fs::rename(folder_ / "Options/LangH.lan", folder_ / "LangH.lan");
  try {
    CreateProgramWindows(folder_.string());
    ADD_FAILURE() << "the start went on without a language file";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + folderText + "/Options/LangH.lan");
  }
  fs::rename(folder_ / "LangH.lan", folder_ / "Options/LangH.lan");

  fs::remove(folder_ / "Print/QOI1.diz");
  CreateWindows();
  RunGuarded([this] { form_->FormShow(); });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Cannot open file " + folderText + "/Print/QOI1.diz");

  // the element tree cannot replace a folder in its place
  fs::remove(folder_ / "Options/TV1.opt");
  fs::create_directories(folder_ / "Options/TV1.opt");
  messages_.clear();
  TPrintDiziner& designer = *windows_->PrintDiziner;
  designer.Edit1->setText(QString::fromUtf8("Заголовок"));
  RunGuarded([&] { designer.BitBtn2Click(); });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(folderText + "/Options/TV1.opt"), std::string::npos) << messages_[0];
}

}  // namespace
