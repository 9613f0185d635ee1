// A chart's record line: its writer and its reader.
#include "mainwindow/recordline.h"

#include "platform/text/numbers.h"

namespace {

// Control bytes of a text as spaces: line breaks and TABs would split the
// line or shift the tree's levels, and a 0x1A is the end of a DOS file, so a
// name ending in one would come back cut and no longer match its node.
std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

}  // namespace

std::string DbNodeText(std::string_view typed) {
  std::string text = OneLine(typed);
  text.erase(0, text.find_first_not_of(' '));
  for (char& c : text)
    if (c == '=') c = '-';
  return text;
}

std::string WriteDbRecordLine(const DbRecordFields& fields) {
  std::string line = DbNodeText(fields.Name);
  line.reserve(line.size() + fields.Place.size() + fields.Comment.size() + 64);
  line += '=';
  for (const int value : fields.Number) {
    line += std::to_string(value);
    line += '/';
  }
  std::string place = OneLine(fields.Place);
  for (char& c : place)
    if (c == '/') c = '\\';  // a "/" would end the field
  line += place;
  line += '/';
  line += OneLine(fields.Comment);
  line += "/3";
  return line;
}

bool ReadDbRecordLine(std::string_view line, DbRecordFields& fields, std::string& what) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    what = "no \"=\" after the chart's name";
    return false;
  }
  DbRecordFields f;
  f.Name = line.substr(0, eq);
  std::size_t pos = eq + 1;
  for (int i = 0; i < kDbRecordNumbers; ++i) {
    const std::size_t slash = line.find('/', pos);
    if (slash == std::string_view::npos) {
      what = "fewer than 19 fields after the name";
      return false;
    }
    if (!ParseInt(line.substr(pos, slash - pos), f.Number[i])) {
      what = "field " + std::to_string(i + 1) + " is no integer";
      return false;
    }
    pos = slash + 1;
  }
  const std::size_t placeEnd = line.find('/', pos);
  const std::size_t last = line.rfind('/');
  if (placeEnd == std::string_view::npos || last == placeEnd) {
    what = "fewer than 19 fields after the name";
    return false;
  }
  f.Place = line.substr(pos, placeEnd - pos);
  f.Comment = line.substr(placeEnd + 1, last - placeEnd - 1);
  fields = f;
  return true;
}
