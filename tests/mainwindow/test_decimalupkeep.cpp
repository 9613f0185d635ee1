// The decimal-separator upkeep of the settings files: the swap of one
// separator between digits, the markers and lists, the checks made before
// anything is written, and a conversion to the comma and back that returns
// every shipped settings file byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "mainwindow/decimalupkeep.h"
#include "mainwindow/uistrings.h"
#include "platform/text/textfile.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(HORARY_SOURCE_DIR) + "/data";

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A program folder made from the factory Options tree, with the marker
// saying the files hold '.'.
class Upkeep : public ::testing::Test {
 public:
  void SetUp() override {
    static int serial = 0;
    root_ = fs::temp_directory_path() /
            ("decimalupkeep_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::copy(kData + "/Options", root_ / "Options", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string Root() const { return root_.string(); }
  std::string Path(const std::string& rel) const { return (root_ / rel).string(); }
  void Write(const std::string& rel, const LineList& lines) const {
    fs::create_directories((root_ / rel).parent_path());
    ASSERT_TRUE(WriteLinesAtomic(Path(rel), lines));
  }
  LineList Lines(const std::string& rel) const {
    LineList l;
    EXPECT_TRUE(ReadLines(Path(rel), l)) << rel;
    return l;
  }
  // Every file of the tree with its bytes.
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> all;
    for (const auto& e : fs::recursive_directory_iterator(root_))
      if (e.is_regular_file()) all[fs::relative(e.path(), root_).string()] = Bytes(e.path());
    return all;
  }
  fs::path root_;
};

TEST(SwapDecimalSeparator, OnlyTheFirstSeparatorBetweenTwoDigits) {
  struct Case {
    const char* in;
    int comma;
    const char* out;
  };
  const Case cases[] = {
      {"12.5", 1, "12,5"},
      {"12,5", 0, "12.5"},
      {"1.5 2.5", 1, "1,5 2.5"},
      {"-0.25", 1, "-0,25"},
      {"1E-5", 1, "1E-5"},
      {"42", 1, "42"},
      {"Mr. Smith 1.5", 1, "Mr. Smith 1,5"},
      {"C:\\a.b\\1.opt", 1, "C:\\a.b\\1.opt"},
      {".5", 1, ".5"},
      {"5.", 1, "5."},
      {"a,b 3,25", 0, "a,b 3.25"},
      {"12,5", 1, "12,5"},
  };
  for (const Case& c : cases) {
    std::string line = c.in;
    EXPECT_EQ(SwapDecimalSeparator(line, c.comma), std::string(c.in) != c.out) << c.in;
    EXPECT_EQ(line, c.out) << c.in;
  }
}

TEST_F(Upkeep, SameSeparatorTouchesNothing) {
  Write("Options/RUN1.opt", {"x"});  // not even read
  const auto before = Tree();
  DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 0);
  EXPECT_TRUE(r.Ok);
  EXPECT_FALSE(r.Converted);
  EXPECT_EQ(Tree(), before);
}

TEST_F(Upkeep, CommaAndBackReturnsEverySettingsFileByteForByte) {
  // the program folder's own list, three passes, and the map lists
  Write("RUN.opt", {"data.txt"});
  Write("data.txt", {"1.5 2.5 3.5 4.5", "Town.Name 55.75"});
  Write("Map/RUN.opt", {"m.txt"});
  Write("Map/m.txt", {"0.5"});
  const auto before = Tree();

  DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 1);
  ASSERT_TRUE(r.Ok) << r.Detail;
  EXPECT_TRUE(r.Converted);
  EXPECT_EQ(Lines("Options/RUN3.opt"), LineList{"1"});
  EXPECT_EQ(Lines("Options/OPT.opt")[9], "55,75");
  EXPECT_EQ(Lines("Options/Standart/KSBS1.opt")[1], "0,75");
  EXPECT_EQ(Lines("Options/AOR1.opt")[2], "11");  // no separator
  EXPECT_EQ(Lines("Options/PAR.opt"), [] {
    LineList l;
    ReadLines(kData + "/Options/PAR.opt", l);
    return l;
  }());  // never listed
  EXPECT_EQ(Lines("data.txt"), (LineList{"1,5 2,5 3,5 4.5", "Town.Name 55,75"}));
  EXPECT_EQ(Lines("Map/m.txt"), LineList{"0,5"});
  // every float the files hold now carries the comma
  for (const char* name : {"OPT.opt", "KA1.opt", "KSBS1.opt", "AOR1.opt", "PRC1.opt"})
    for (const std::string& line : Lines(std::string("Options/") + name))
      EXPECT_EQ(line.find('.'), std::string::npos) << name << ": " << line;

  // a second start under the same locale does nothing
  const auto converted = Tree();
  EXPECT_FALSE(RunDecimalUpkeep(Root(), 1).Converted);
  EXPECT_EQ(Tree(), converted);

  // and back: the ones converted three times come back as often
  r = RunDecimalUpkeep(Root(), 0);
  ASSERT_TRUE(r.Ok) << r.Detail;
  EXPECT_EQ(Tree(), before);
}

TEST_F(Upkeep, SecondMarkerHoldingTheNewValueKeepsTheListsAsTheyAre) {
  Write("Options/RUN1.opt", {"1"});
  DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 1);
  ASSERT_TRUE(r.Ok);
  EXPECT_EQ(Lines("Options/KSBS1.opt")[1], "0,75");  // RUN4.opt
  EXPECT_EQ(Lines("Options/Standart/KSBS1.opt")[1],
            "0.75");  // Options/RUN.opt for the factory copies
  Write("Options/RUN1.opt", {"0"});
  ASSERT_TRUE(RunDecimalUpkeep(Root(), 0).Ok);
  EXPECT_EQ(Lines("Options/RUN1.opt"), LineList{"0"});
  EXPECT_EQ(Lines("Options/Standart/KSBS1.opt")[1], "0.75");
}

TEST_F(Upkeep, RefusalsComeBeforeAnyFileIsWritten) {
  struct Case {
    const char* what;
    std::function<void(Upkeep&)> spoil;
    int entry;
    const char* detail;
  };
  const Case cases[] = {
      {"required file missing", [](Upkeep& u) { fs::remove(u.Path("Options/PRC1.opt")); },
       kUiEntryUpkeepMissingFile, "PRC1.opt"},
      {"required list missing", [](Upkeep& u) { fs::remove(u.Path("Options/RUN4.opt")); },
       kUiEntryUpkeepMissingFile, "RUN4.opt"},
      {"entry with a folder",
       [](Upkeep& u) {
         u.Write("Options/RUN4.opt", {"OPT.opt", "../x.opt"});
       },
       kUiEntryUpkeepForeignEntry, "../x.opt"},
      {"entry with a backslash",
       [](Upkeep& u) { u.Write("Options/RUN.opt", {"Standart\\OPT.opt"}); },
       kUiEntryUpkeepForeignEntry, "Standart\\OPT.opt"},
      {"parent folder", [](Upkeep& u) { u.Write("RUN.opt", {".."}); }, kUiEntryUpkeepForeignEntry,
       ".."},
      {"marker no number", [](Upkeep& u) { u.Write("Options/RUN1.opt", {"one"}); }, 0, "RUN1.opt"},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    c.spoil(*this);
    const auto before = Tree();
    DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 1);
    EXPECT_FALSE(r.Ok) << c.what;
    EXPECT_EQ(r.Entry, c.entry) << c.what;
    EXPECT_NE(r.Detail.find(c.detail), std::string::npos) << c.what << ": " << r.Detail;
    EXPECT_EQ(Tree(), before) << c.what;  // markers and files untouched
  }
  TearDown();
  SetUp();
  fs::remove(Path("Options/RUN3.opt"));
  DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 1);
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Entry, 0);
  EXPECT_EQ(r.Detail, "Cannot open file " + Path("Options/RUN3.opt"));
}

TEST_F(Upkeep, AnInterruptedConversionIsFinishedAtTheNextStart) {
  // one file already converted, the marker still old (the start stopped
  // before the markers)
  ASSERT_TRUE(RunDecimalUpkeep(Root(), 1).Ok);
  const auto done = Tree();
  Write("Options/RUN3.opt", {"0"});
  LineList opt = Lines("Options/OPT.opt");
  opt[9] = "55.75";  // this one not yet
  Write("Options/OPT.opt", opt);
  DecimalUpkeepResult r = RunDecimalUpkeep(Root(), 1);
  ASSERT_TRUE(r.Ok);
  EXPECT_EQ(r.FilesRewritten, 1);
  EXPECT_EQ(Tree(), done);
}

}  // namespace
