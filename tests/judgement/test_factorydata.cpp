// The factory topic lists and judgement texts under data/Options, read by the
// program's own readers: every C/S pair parses line for line into houses
// 0..11, the lists have the shape the windows rely on, and every text the
// windows open is there, in code page 1251 with CR LF, of a real length.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "judgement/completion.h"
#include "judgement/questionhouses.h"
#include "judgement/radicality.h"
#include "platform/text/cp1251.h"

namespace {

const std::string kFactory = std::string(HORARY_SOURCE_DIR) + "/data";

// Size bounds of an interpretation text, bytes.
constexpr std::size_t kMinTextBytes = 500;
constexpr std::size_t kMaxTextBytes = 3000;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Checks a whole file: CR LF line ends only, no control byte, no byte the
// code page leaves undefined, and a share of Cyrillic letters (0xC0..0xFF).
void ExpectCp1251Text(const std::string& name) {
  const std::string bytes = ReadBytes(kFactory + "/Options/" + name);
  ASSERT_FALSE(bytes.empty()) << name;
  std::size_t cyrillic = 0, letters = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << name << ": lone CR at " << i;
      ++i;
      continue;
    }
    ASSERT_NE(b, '\n') << name << ": LF without CR at " << i;
    ASSERT_GE(b, 0x20) << name << ": control byte at " << i;
    ASSERT_NE(b, 0x98) << name << ": undefined byte at " << i;
    if (b >= 0xC0) ++cyrillic;
    if (b >= 0xC0 || (b >= 'A' && b <= 'z')) ++letters;
  }
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
  EXPECT_GT(cyrillic * 10, letters * 9) << name << ": not Russian text";
}

struct Pair {
  const char* Topics;
  const char* Houses;
  std::size_t MinLines, MaxLines;
};

TEST(FactoryTopicLists, EveryPairParsesLineForLineIntoHouses) {
  const Pair pairs[] = {{kQuerentCategoryTopics, kQuerentCategoryHouses, 15, 30},
                        {kQuerentSubCategoryTopics, kQuerentSubCategoryHouses, 12, 12},
                        {kQuesitedTopics, kQuesitedHouses, 80, 150}};
  for (const Pair& p : pairs) {
    const TopicList list = ReadTopicList(kFactory, p.Topics, p.Houses);
    ASSERT_TRUE(list.Ok) << list.Message;
    EXPECT_EQ(list.Topics.size(), list.Houses.size()) << p.Topics;
    EXPECT_GE(list.Topics.size(), p.MinLines) << p.Topics;
    EXPECT_LE(list.Topics.size(), p.MaxLines) << p.Topics;
    std::set<std::string> seen;
    std::set<int> houses;
    for (std::size_t i = 0; i < list.Topics.size(); ++i) {
      EXPECT_FALSE(list.Topics[i].empty()) << p.Topics << " line " << i + 1;
      EXPECT_TRUE(seen.insert(list.Topics[i]).second) << p.Topics << " repeats line " << i + 1;
      const std::optional<int> house = TopicHouse(list, static_cast<int>(i));
      ASSERT_TRUE(house.has_value()) << p.Houses << " line " << i + 1;
      EXPECT_GE(*house, 0) << p.Houses << " line " << i + 1;
      EXPECT_LE(*house, 11) << p.Houses << " line " << i + 1;
      houses.insert(*house);
    }
    // every list reaches every house (the categories all but the twelfth's
    // own persons at least through the derived houses)
    if (std::string(p.Topics) != kQuerentCategoryTopics) {
      EXPECT_EQ(houses.size(), 12u) << p.Topics;
    }
    ExpectCp1251Text(p.Topics);
  }
  // whose affairs: the first line is the querent's own, offset 0
  const TopicList categories =
      ReadTopicList(kFactory, kQuerentCategoryTopics, kQuerentCategoryHouses);
  EXPECT_EQ(TopicHouse(categories, 0), 0);
  // the derived houses: line i counts i houses on, so a sub-category added
  // to any category names the house counted from that person's
  const TopicList derived =
      ReadTopicList(kFactory, kQuerentSubCategoryTopics, kQuerentSubCategoryHouses);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(TopicHouse(derived, i), i);
}

TEST(FactoryTopicLists, WhoAsksFitsOneDigitAndStartsWithTheQuerentHimself) {
  const TextLines who = ReadOptionsText(kFactory, kWhoAsksTopics);
  ASSERT_TRUE(who.Ok) << who.Message;
  EXPECT_GE(who.Lines.size(), 2u);
  EXPECT_LE(who.Lines.size(), 10u);
  EXPECT_NE(who.Lines[0].find("\xF1\xE0\xEC"), std::string::npos) << "line 0 is not \"...сам...\"";
  ExpectCp1251Text(kWhoAsksTopics);
}

// Names of every text the windows open, under Options.
std::set<std::string> TextNames() {
  std::vector<std::string> names = {kQuerentHelpText, kQuesitedHelpText, "bt.txt"};
  for (int h = 0; h < 12; ++h) names.push_back(HouseDescriptionName(h));
  for (int t = 0; t < kRadicalityTests; ++t) {
    names.push_back(RadicalityTextFile(t, false));
    names.push_back(RadicalityTextFile(t, true));
  }
  for (int kind = 1; kind <= 10; ++kind) names.push_back(CompletionTextFile(kind));
  return std::set<std::string>(names.begin(), names.end());
}

TEST(FactoryTexts, EveryTextTheWindowsOpenIsThereInRussian) {
  const std::set<std::string> distinct = TextNames();
  EXPECT_EQ(distinct.size(), 38u);
  for (const std::string& name : distinct) {
    const TextLines text = ReadOptionsText(kFactory, name);
    ASSERT_TRUE(text.Ok) << text.Message;
    const std::size_t size = ReadBytes(kFactory + "/Options/" + name).size();
    EXPECT_GE(size, kMinTextBytes) << name;
    EXPECT_LE(size, kMaxTextBytes) << name;
    ExpectCp1251Text(name);
  }
}

TEST(FactoryTexts, MatchTheirUtf8Sources) {
  // The shipped texts are generated from reviewed UTF-8 sources; a hand edit
  // of either side without regenerating shows up here.
  for (const std::string& name : TextNames()) {
    const std::string stem = name.substr(0, name.size() - 4);
    const std::string source =
        ReadBytes(std::string(HORARY_SOURCE_DIR) + "/scripts/factory/texts/" + stem + ".utf8.txt");
    ASSERT_FALSE(source.empty()) << stem;
    std::string expected;
    std::size_t from = 0;
    for (std::size_t end; (end = source.find('\n', from)) != std::string::npos; from = end + 1)
      expected += Utf8ToCp1251(source.substr(from, end - from)) + "\r\n";
    EXPECT_EQ(ReadBytes(kFactory + "/Options/" + name), expected) << name;
  }
}

}  // namespace
