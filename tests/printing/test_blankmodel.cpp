// Loading and saving the print templates.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "printing/blankdesign.h"
#include "printing/blankmodel.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class BlankTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("blanks-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const char* name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  void WriteTwoBlanks() {
    Write("IPH1.diz", "297\r\n210\r\n");
    Write("IPW1.diz", "210\r\n297\r\n");
    Write("QOI1.diz", "2\r\n0\r\n");
    Write("OGI1.diz", "1\r\n5\r\n");
    Write("OGH1.diz", "300\r\n120\r\n");
    Write("OGW1.diz", "400\r\n500\r\n");
    Write("OGH01.diz", "10\r\n100\r\n");
    Write("OGW01.diz", "220\r\n230\r\n");
    Write("POR1.diz", "1\r\n0\r\n");
    Write("PS1.diz", "1\r\n2\r\n");
    Write("CB1.diz",
          "\xc1\xeb\xe0\xed\xea 1\r\n\xc1\xeb\xe0\xed\xea 2\r\n");  // "Бланк 1", "Бланк 2"
  }
  fs::path dir_;
};

TEST_F(BlankTemplates, FactoryTemplatesLoadAsThreeBlanksInStep) {
  BlankModel model;
  BlankLoadResult r = LoadBlankModel(std::string(HORARY_SOURCE_DIR) + "/data/Print", model);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(model.Names().size(), 3u);
  EXPECT_TRUE(CheckBlankModel(model).Ok);
  for (bool loaded : model.Loaded) EXPECT_TRUE(loaded);
}

TEST_F(BlankTemplates, SaveAfterLoadReproducesEveryFile) {
  WriteTwoBlanks();
  std::array<std::string, kBlankListCount> before;
  for (int i = 0; i < kBlankListCount; ++i) before[i] = ReadBytes(dir_ / kBlankFileNames[i]);
  BlankModel model;
  ASSERT_TRUE(LoadBlankModel(dir_.string(), model).ok);
  EXPECT_EQ(model.Names().size(), 2u);
  EXPECT_EQ(model.Lists[kElementKinds].size(), 2u);
  EXPECT_TRUE(SaveBlankModel(dir_.string(), model).empty());
  for (int i = 0; i < kBlankListCount; ++i)
    EXPECT_EQ(ReadBytes(dir_ / kBlankFileNames[i]), before[i]) << kBlankFileNames[i];
}

TEST_F(BlankTemplates, MissingFileStopsTheLoadAndIsNeverOverwritten) {
  WriteTwoBlanks();
  fs::remove(dir_ / "QOI1.diz");
  BlankModel model;
  BlankLoadResult r = LoadBlankModel(dir_.string(), model);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("Cannot open file"), std::string::npos);
  EXPECT_NE(r.message.find("QOI1.diz"), std::string::npos);
  EXPECT_EQ(model.Lists[kPageHeights].size(), 2u);  // loaded before the failure
  EXPECT_TRUE(model.Lists[kBlankNames].empty());    // after it: empty
  std::string namesBefore = ReadBytes(dir_ / "CB1.diz");
  EXPECT_TRUE(SaveBlankModel(dir_.string(), model).empty());
  // files after the failed one keep the user's blanks
  EXPECT_EQ(ReadBytes(dir_ / "CB1.diz"), namesBefore);
  EXPECT_FALSE(fs::exists(dir_ / "QOI1.diz"));
}

TEST_F(BlankTemplates, AFileThatCannotBeWrittenDoesNotStopTheOthers) {
  WriteTwoBlanks();
  BlankModel model;
  ASSERT_TRUE(LoadBlankModel(dir_.string(), model).ok);
  model.Lists[kBlankNames].push_back("new");
  // A folder standing where IPW1.diz should be makes that one write fail.
  fs::remove(dir_ / "IPW1.diz");
  fs::create_directory(dir_ / "IPW1.diz");
  std::vector<std::string> failures = SaveBlankModel(dir_.string(), model);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("IPW1.diz"), std::string::npos);
  EXPECT_NE(ReadBytes(dir_ / "CB1.diz").find("new\r\n"), std::string::npos);
}

// Every node of the shipped element tree as an element kind, one blank per
// kind. A node with children is a group and is refused; every other node is
// placed at the size of its family (text lines under the first group, the
// graphs under the dynamics group, the first six tables, then pictures and
// texts). The blanks go through the template files and come back element for
// element; then each element is found under the mouse, moved, and deleted
// without touching the others.
TEST_F(BlankTemplates, EveryElementKindIsPlacedSavedReadBackMovedAndDeleted) {
  LineList treeLines;
  ASSERT_TRUE(ReadLines(std::string(HORARY_SOURCE_DIR) + "/data/Options/TV1.opt", treeLines));
  const ElementTree tree = ParseElementTree(treeLines);
  const int kinds = tree.Count();
  ASSERT_GT(kinds, kFirstHeading);
  // the group (depth 1) each node belongs to, and whether it has children
  std::vector<int> family(kinds, -1);
  std::vector<bool> group(kinds, false);
  for (int k = 0, top = -1; k < kinds; ++k) {
    if (tree.Depths[k] == 1) top = k;
    family[k] = tree.Depths[k] >= 1 ? top : -1;
    group[k] = k + 1 < kinds && tree.Depths[k + 1] > tree.Depths[k];
  }
  const int firstGroup = 1, dynamicsGroup = kKindSignDynamics - 1;
  const auto expectedSize = [&](int kind) {
    if (family[kind] == firstGroup) return std::pair{250, 45};  // width, height
    if (family[kind] == dynamicsGroup) return std::pair{91, 112};
    if (kind >= kKindPositions && kind <= kKindLunarDays) return std::pair{110, 112};
    return std::pair{100, 100};
  };

  BlankModel model;
  std::vector<BlankElement> placed(kinds);
  for (int kind = 0; kind < kinds; ++kind) {
    AddBlank(model, "K" + std::to_string(kind));
    const int x = 300 + kind, y = 20 + 3 * kind;
    const int line = AddElement(model, kind, kind, x, y);
    EXPECT_EQ(line >= 0, !group[kind]) << "kind " << kind;
    EXPECT_EQ(IsGroupKind(kind), group[kind]) << "kind " << kind;
    if (line < 0) continue;
    const auto [w, h] = expectedSize(kind);
    placed[kind] = BlankElement{kind, y, x, y + h, x + w};
    EXPECT_EQ(ElementAt(model, line).Right - x, w) << "kind " << kind;
    EXPECT_EQ(ElementAt(model, line).Bottom - y, h) << "kind " << kind;
  }
  ASSERT_TRUE(CheckBlankModel(model).Ok);

  model.Loaded.fill(true);
  ASSERT_TRUE(SaveBlankModel(dir_.string(), model).empty());
  BlankModel back;
  ASSERT_TRUE(LoadBlankModel(dir_.string(), back).ok);
  EXPECT_EQ(back.Lists, model.Lists);
  for (int kind = 0; kind < kinds; ++kind) {
    ASSERT_EQ(ElementCount(back, kind), group[kind] ? 0 : 1) << "kind " << kind;
    if (group[kind]) continue;
    const BlankElement e = ElementAt(back, FirstElement(back, kind));
    EXPECT_EQ(e.Kind, kind);
    EXPECT_EQ(
        std::tie(e.Top, e.Left, e.Bottom, e.Right),
        std::tie(placed[kind].Top, placed[kind].Left, placed[kind].Bottom, placed[kind].Right))
        << "kind " << kind;
  }

  for (int kind = 0; kind < kinds; ++kind) {
    if (group[kind]) continue;
    const BlankElement& p = placed[kind];
    const GripHit hit = HitTest(back, kind, (p.Left + p.Right) / 2, (p.Top + p.Bottom) / 2);
    ASSERT_EQ(hit.Grip, ElementGrip::Inside) << "kind " << kind;
    DragElement(back, hit, 7, -5);
    const BlankElement moved = ElementAt(back, hit.Element);
    EXPECT_EQ(moved.Kind, kind);
    EXPECT_EQ(std::tie(moved.Left, moved.Top, moved.Right, moved.Bottom),
              std::tuple(p.Left + 7, p.Top - 5, p.Right + 7, p.Bottom - 5))
        << "kind " << kind;
    ASSERT_TRUE(DeleteElement(back, kind, hit.Element));
    ASSERT_TRUE(CheckBlankModel(back).Ok) << "kind " << kind;
  }
  EXPECT_TRUE(back.Lists[kElementKinds].empty());
}

}  // namespace
