// The querent's and quesited's houses: offsets from the topic lists reduced
// into the twelve houses whatever their sign, topic and house lists of
// different lengths, unreadable lines and missing files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "judgement/questionhouses.h"

namespace {

class OptionsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/judgement-houses-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    ASSERT_EQ(mkdir((root_ + "/Options").c_str(), 0755), 0);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  void Write(const std::string& name, const LineList& lines) {
    ASSERT_TRUE(WriteLinesAtomic(OptionsPath(root_, name), lines));
  }
  std::string root_;
};

// Counting round the wheel: a derived house is the category's house moved
// on by the sub-category's offset, however far forwards or backwards.
TEST(QuestionHouses, OffsetsCountRoundTheWheel) {
  EXPECT_EQ(DerivedHouse(10, 4), 2);  // the friend's (11th) fifth house is the 3rd
  EXPECT_EQ(DerivedHouse(0, -1), 11);
  EXPECT_EQ(ReduceHouse(-12), 0);
  EXPECT_EQ(ReduceHouse(-13), 11);
  for (int category = -40; category <= 40; ++category) {
    for (int sub = -40; sub <= 40; ++sub) {
      const int house = DerivedHouse(category, sub);
      ASSERT_GE(house, 0) << category << " " << sub;
      ASSERT_LT(house, 12) << category << " " << sub;
      // one step further on is the next house, round the wheel
      ASSERT_EQ(DerivedHouse(category, sub + 1), house == 11 ? 0 : house + 1);
    }
  }
  EXPECT_EQ(DerivedHouse(2147483647, 2147483647), ReduceHouse(2 * (2147483647 % 12)));
}

TEST(QuestionHouses, DescriptionFilesAreNumberedFromOne) {
  EXPECT_EQ(HouseDescriptionName(0), "h1.txt");
  EXPECT_EQ(HouseDescriptionName(11), "h12.txt");
  EXPECT_EQ(HouseDescriptionName(-1), "h12.txt");
}

TEST_F(OptionsFolder, HouseListsShorterOrLongerThanTheirTopics) {
  Write("C12.box", {"self", "brother", "father", "child"});
  Write("S12.box", {"0", " 2 ", "x3"});
  const TopicList list = ReadTopicList(root_, "C12.box", "S12.box");
  ASSERT_TRUE(list.Ok) << list.Message;
  EXPECT_EQ(list.Topics.size(), 4u);  // all topics stay for the combo box and the save
  EXPECT_EQ(TopicHouse(list, 0), 0);
  EXPECT_EQ(TopicHouse(list, 1), 2);
  EXPECT_EQ(TopicHouse(list, 2), std::nullopt);  // not a number: the choice changes nothing
  EXPECT_EQ(TopicHouse(list, 3), std::nullopt);  // past the house list
  EXPECT_EQ(TopicHouse(list, -1), std::nullopt);

  Write("S13.box", {"1", "2", "3"});
  Write("C13.box", {"a"});
  const TopicList shortTopics = ReadTopicList(root_, "C13.box", "S13.box");
  EXPECT_EQ(TopicHouse(shortTopics, 0), 1);
  EXPECT_EQ(TopicHouse(shortTopics, 1), std::nullopt);  // past the topics
}

TEST_F(OptionsFolder, MissingFilesGiveAnEmptyListAndTheirPath) {
  Write("C21.box", {"money"});
  const TopicList list = ReadTopicList(root_, "C21.box", "S21.box");
  EXPECT_FALSE(list.Ok);
  EXPECT_EQ(list.Message, "Cannot open file " + root_ + "/Options/S21.box");
  EXPECT_EQ(list.Topics, LineList{"money"});
  EXPECT_EQ(TopicHouse(list, 0), std::nullopt);

  const TextLines help = ReadOptionsText(root_, "vh.txt");
  EXPECT_FALSE(help.Ok);
  EXPECT_TRUE(help.Lines.empty());
  EXPECT_EQ(help.Message, "Cannot open file " + root_ + "/Options/vh.txt");

  Write("vh.txt", {"line one", "", "line three"});
  const TextLines read = ReadOptionsText(root_, "vh.txt");
  EXPECT_TRUE(read.Ok);
  EXPECT_EQ(read.Lines, (LineList{"line one", "", "line three"}));
}

}  // namespace
