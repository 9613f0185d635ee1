// Loading and saving the print templates.
#include "printing/blankmodel.h"

#include "printing/blankdesign.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
    Write("CB1.diz", "\xc1\xeb\xe0\xed\xea 1\r\n\xc1\xeb\xe0\xed\xea 2\r\n");  // "Бланк 1", "Бланк 2"
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

}  // namespace
