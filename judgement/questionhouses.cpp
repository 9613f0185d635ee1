// House arithmetic and the readers of the topic lists and help texts.
#include "judgement/questionhouses.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "judgement/timedsearch.h"
#include "platform/text/cp1251.h"

int ReduceHouse(int house) { return Mod(house, kHouseCount); }

int DerivedHouse(int categoryHouse, int subCategoryHouse) {
  // the sum in 64 bits: two offsets near the int limits must not overflow
  const long long sum = static_cast<long long>(categoryHouse) + subCategoryHouse;
  return static_cast<int>(((sum % kHouseCount) + kHouseCount) % kHouseCount);
}

std::string OptionsPath(const std::string& programFolder, const std::string& name) {
  return programFolder + "/Options/" + name;
}

TextLines ReadOptionsText(const std::string& programFolder, const std::string& name) {
  TextLines result;
  const std::string path = OptionsPath(programFolder, name);
  if (!ReadLines(path, result.Lines)) {
    result.Ok = false;
    result.Lines.clear();
    result.Message = "Cannot open file " + Utf8ToCp1251(path);
  }
  return result;
}

TopicList ReadTopicList(const std::string& programFolder, const std::string& topicName,
                        const std::string& houseName) {
  TopicList list;
  TextLines topics = ReadOptionsText(programFolder, topicName);
  TextLines houses = ReadOptionsText(programFolder, houseName);
  list.Topics = std::move(topics.Lines);
  list.Houses = std::move(houses.Lines);
  list.Ok = topics.Ok && houses.Ok;
  list.Message = !topics.Ok ? topics.Message : houses.Message;
  return list;
}

std::optional<int> TopicHouse(const TopicList& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.Topics.size()) ||
      index >= static_cast<int>(list.Houses.size()))
    return std::nullopt;
  // a decimal integer, blanks around it allowed
  const std::string& text = list.Houses[index];
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return std::nullopt;
  return static_cast<int>(value);
}

std::string HouseDescriptionName(int house) {
  return "h" + std::to_string(ReduceHouse(house) + 1) + ".txt";
}
