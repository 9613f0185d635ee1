// The querent's and the quesited's houses: house arithmetic over the topic
// lists, and the readers of the topic lists (Options/C*.box with their house
// lists S*.box) and of the house help texts as line lists.
//
// No Qt here: the house windows show what these readers return. A file that
// cannot be read never stops the program: the result carries the message
// "Cannot open file <path>" and an empty list for the window to show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/text/textfile.h"

inline constexpr int kHouseCount = 12;

// A house number of any integer reduced into 0..11 (mathematical remainder:
// -1 is the twelfth house, 14 the third), so an offset from a topic list
// never indexes out of the twelve houses.
int ReduceHouse(int house);

// The querent's house of a category and a sub-category counted from it (a
// derived house): ReduceHouse(categoryHouse + subCategoryHouse).
int DerivedHouse(int categoryHouse, int subCategoryHouse);

// The lines of a text file under the program folder's Options folder.
struct TextLines {
  bool Ok = true;       // false: the file could not be read; Lines is empty
  std::string Message;  // on failure "Cannot open file <path>", code page 1251
  LineList Lines;       // code page 1251, as in the file
};

// Path of a file in the Options folder: programFolder + "/Options/" + name.
std::string OptionsPath(const std::string& programFolder, const std::string& name);

// Reads Options/<name> whole as lines (help texts, house descriptions,
// interpretation texts, topic lists).
TextLines ReadOptionsText(const std::string& programFolder, const std::string& name);

// A topic list with its parallel house list (C12.box with S12.box, C13.box
// with S13.box, C21.box with S21.box). Both are kept as read, so saving them
// back loses nothing even when their lengths differ.
struct TopicList {
  bool Ok = true;       // false when either file could not be read
  std::string Message;  // "Cannot open file <path>" of the first file that failed
  LineList Topics;      // the topic texts, one per combo-box item
  LineList Houses;      // the house offsets as text, line i belonging to topic i
};

// Reads a topic list and its house list from the Options folder. A missing
// house list leaves Houses empty (no topic then sets a house) and says so.
TopicList ReadTopicList(const std::string& programFolder, const std::string& topicName,
                        const std::string& houseName);

// The house offset of topic `index`: the integer on line `index` of the house
// list, not reduced (a category's offset is added to its sub-category's
// before the reduction). Empty when index lies past either list (a pair of
// lists of different lengths is read only as far as the shorter) or the line
// is not a decimal integer. The quesited's house of a question topic is
// ReduceHouse of it, as the querent's side reduces its sums.
std::optional<int> TopicHouse(const TopicList& list, int index);

// File names of the lists and texts, under Options.
inline constexpr const char* kWhoAsksTopics = "C11.box";
inline constexpr const char* kQuerentCategoryTopics = "C12.box";
inline constexpr const char* kQuerentCategoryHouses = "S12.box";
inline constexpr const char* kQuerentSubCategoryTopics = "C13.box";
inline constexpr const char* kQuerentSubCategoryHouses = "S13.box";
inline constexpr const char* kQuesitedTopics = "C21.box";
inline constexpr const char* kQuesitedHouses = "S21.box";
inline constexpr const char* kQuerentHelpText = "vh.txt";
inline constexpr const char* kQuesitedHelpText = "vh1.txt";

// Name of the description of house 0..11: "h1.txt" .. "h12.txt" (numbered
// from 1). Any integer is first reduced into 0..11.
std::string HouseDescriptionName(int house);
