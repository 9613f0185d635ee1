// The search on disk for chart databases: the name test on record text, and
// a walk over a folder tree with hidden folders, links, a link loop, a folder
// named like a record file, a pipe, an unreadable folder and two hits in one file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "mainwindow/dbsearch.h"
#include "platform/files.h"
#include "platform/text/cp1251.h"

namespace {

namespace fs = std::filesystem;

TEST(DbSearch, NamesMatchWholeAndWithoutRegardToLetterCase) {
  const std::string name = Cp("иванов");
  const auto holds = [&name](const std::string& utf8) {
    return RecordTextHoldsName(Cp(utf8), name);
  };
  EXPECT_TRUE(
      holds("База/1\r\nРаздел 1/1\r\nИВАНОВ=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/1/1///3\r\n"));
  EXPECT_TRUE(holds("x=1\nИванов=2"));    // LF line ends, no final line end
  EXPECT_TRUE(holds("x=1\rиВаНоВ=2\r"));  // lone CR line ends
  EXPECT_FALSE(holds("Иванов/1\r\n"));    // a section of that name
  EXPECT_FALSE(holds("Иванова=1\r\n Иванов=2\r\nПетров=Иванов=3\r\n"));
  EXPECT_FALSE(holds("Иванов"));
  EXPECT_FALSE(RecordTextHoldsName("=1/2", ""));
  // every letter pair of the code page: upper and lower case match each other
  for (int b = 0; b < 256; ++b) {
    const std::string lower(1, static_cast<char>(b));
    if (b == '=' || b == '\r' || b == '\n') {
      EXPECT_FALSE(RecordTextHoldsName(lower + "=1", lower)) << b;  // no name part holds these
      continue;
    }
    const std::string upper = UpperCaseCp1251(lower);
    EXPECT_TRUE(RecordTextHoldsName(lower + "=1", upper)) << b;
    EXPECT_TRUE(RecordTextHoldsName(upper + "=1", lower)) << b;
  }
}

class DbSearchTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("dbsearch_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    for (const char* locked : {"locked"})
      fs::permissions(root_ / locked, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_);
  }
  void Write(const fs::path& relative, const std::string& utf8) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << Cp(utf8);
  }
  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }
  fs::path root_;
};

TEST_F(DbSearchTree, WalksRealFoldersOnlyAndGivesOneRowPerFile) {
  const std::string chart = "=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/1/1///3\r\n";
  Write("a.zrn", "a/1\r\nРаздел/1\r\nИВАНОВ" + chart + "Иванов" + chart);  // two hits
  Write("b.ZRN", "Иванов/1\r\nПетров" + chart);
  Write("sub/deeper/c.zrn", "c/1\r\nиванов" + chart);
  Write("sub/c.zrt", "иванов" + chart);  // not a record file
  Write(".hidden/d.zrn", "Иванов" + chart);
  Write("folder.zrn/e.zrn", "Иванов" + chart);  // a folder named like a record file
  fs::create_directory_symlink(root_, root_ / "loop");
  fs::create_symlink(root_ / "a.zrn", root_ / "link.zrn");
  fs::create_directory_symlink(root_ / ".hidden", root_ / "shown");
  ASSERT_EQ(::mkfifo(Path("pipe.zrn").c_str(), 0600), 0);
  Write("locked/f.zrn", "Иванов" + chart);
  fs::permissions(root_ / "locked", fs::perms::none);
  const bool asRoot = ::geteuid() == 0;  // the superuser reads a folder without permissions too

  const std::string before = CurrentFolder();
  const DbSearchResult found = FindDatabaseFiles(root_.string(), Cp("иванов"));
  EXPECT_EQ(CurrentFolder(), before);
  std::vector<std::string> expected = {Path("a.zrn"), Path("folder.zrn/e.zrn")};
  if (asRoot) expected.push_back(Path("locked/f.zrn"));
  expected.push_back(Path("sub/deeper/c.zrn"));
  EXPECT_EQ(found.Files, expected);
  EXPECT_EQ(found.Unreadable, asRoot ? 0 : 1);

  // a trailing "/" and a start inside the tree
  EXPECT_EQ(FindDatabaseFiles(Path("sub") + "/", Cp("ИВАНОВ")).Files,
            std::vector<std::string>{Path("sub/deeper/c.zrn")});
  EXPECT_TRUE(FindDatabaseFiles(root_.string(), Cp("Сидоров")).Files.empty());
  const DbSearchResult missing = FindDatabaseFiles(Path("none"), Cp("иванов"));
  EXPECT_TRUE(missing.Files.empty());
  EXPECT_EQ(missing.Unreadable, 1);
}

}  // namespace
