// Towns database and town search: line layouts, prefix search, result grid,
// the dialog's fields of a chosen town, and new lines of the user's file.
#include "input/townsdb.h"

#include <algorithm>
#include <numeric>

#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"

namespace {

constexpr int kMinutesPerDegree = 60;
constexpr int kMaxLatitude = 90;    // degrees
constexpr int kMaxLongitude = 180;  // degrees
constexpr int kMaxZoneHours = 23;   // hours
constexpr int kMaxMinutes = 59;     // minutes of arc or of time

// ---- columns ------------------------------------------------------------------

// Columns from..to (1-based, inclusive) of a line; false when the line ends
// before column to.
bool Columns(std::string_view line, int from, int to, std::string_view& out) {
  if (line.size() < static_cast<std::size_t>(to)) return false;
  out = line.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
  return true;
}

// Columns from..to as far as the line reaches (a grid cell).
std::string CellText(std::string_view line, int from, int to) {
  const auto start = static_cast<std::size_t>(from - 1);
  if (line.size() <= start) return {};
  return std::string(line.substr(start, static_cast<std::size_t>(to - from + 1)));
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string ColumnLabel(int from, int to) {
  return from == to ? "column " + std::to_string(from)
                    : "columns " + std::to_string(from) + "-" + std::to_string(to);
}

// Reads the fields of one line and words the first fault.
class FieldReader {
 public:
  FieldReader(std::string_view line, std::string& what) : line_(line), what_(what) {}

  // Blank-padded decimal digits (at least one), value within 0..max.
  bool Number(int from, int to, int max, const char* field, int& value) {
    std::string_view text;
    if (!Reach(from, to, field, text)) return false;
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    const std::string_view digits = text.substr(first, last - first);
    int v = 0;
    const bool allDigits = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
      return c >= '0' && c <= '9';
    });
    if (!allDigits || !ParseInt(digits, v)) {
      return Fail(field,
                  "\"" + std::string(text) + "\" in " + ColumnLabel(from, to) + " is not a number");
    }
    if (v > max) {
      return Fail(field, std::to_string(v) + " in " + ColumnLabel(from, to) + " is above " +
                             std::to_string(max));
    }
    value = v;
    return true;
  }

  // One character that must be one of allowed; set is true when it equals yes.
  bool Flag(int column, const char* allowed, char yes, const char* field, bool& set) {
    std::string_view text;
    if (!Reach(column, column, field, text)) return false;
    if (std::string_view(allowed).find(text[0]) == std::string_view::npos) {
      std::string why = "\"";
      why.append(text).append("\" in ").append(ColumnLabel(column, column)).append(" is not ");
      bool firstChoice = true;
      for (char c : std::string_view(allowed)) {
        if (!firstChoice) why.append(" or ");
        firstChoice = false;
        if (c == ' ') {
          why.append("a blank");
        } else {
          why.push_back('"');
          why.push_back(c);
          why.push_back('"');
        }
      }
      return Fail(field, why);
    }
    set = text[0] == yes;
    return true;
  }

  // Columns from..to less trailing blanks.
  bool Text(int from, int to, const char* field, std::string& value) {
    std::string_view text;
    if (!Reach(from, to, field, text)) return false;
    value = std::string(TrimTrailingBlanks(text));
    return true;
  }

  bool Fail(const char* field, const std::string& why) {
    what_ = std::string(field) + ": " + why;
    return false;
  }

 private:
  bool Reach(int from, int to, const char* field, std::string_view& text) {
    if (Columns(line_, from, to, text)) return true;
    return Fail(field, "the line ends at column " + std::to_string(line_.size()) + ", before " +
                           ColumnLabel(from, to));
  }

  std::string_view line_;
  std::string& what_;
};

// Degrees and minutes within a limit: at the limit itself no minutes.
bool WithinLimit(int degrees, int minutes, int limit) {
  return degrees < limit || (degrees == limit && minutes == 0);
}

bool ParseRussianLine(std::string_view line, TownRecord& out, std::string& what) {
  FieldReader read(line, what);
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return read.Fail("name", "no \"=\" after the town name");
  if (equals == 0) return read.Fail("name", "no town name before \"=\"");
  if (equals >= static_cast<std::size_t>(kTownNameColumns)) {
    return read.Fail("name", "the name and its \"=\" run past column 20");
  }
  TownRecord town;
  town.File = TownFile::Russian;
  town.Name = std::string(line.substr(0, equals));
  if (!read.Flag(21, " +-", '-', "latitude", town.South) ||
      !read.Number(22, 23, kMaxLatitude, "latitude degrees", town.LatDegrees) ||
      !read.Number(25, 26, kMaxMinutes, "latitude minutes", town.LatMinutes) ||
      !read.Flag(28, " +-", '-', "longitude", town.West) ||
      !read.Number(29, 31, kMaxLongitude, "longitude degrees", town.LonDegrees) ||
      !read.Number(33, 34, kMaxMinutes, "longitude minutes", town.LonMinutes)) {
    return false;
  }
  if (line.size() < static_cast<std::size_t>(kRussianTownMinLength) ||
      line[kRussianTownMinLength - 1] == ' ') {
    return read.Fail("region code", "no region code at column 38");
  }
  read.Text(38, static_cast<int>(std::min<std::size_t>(line.size(), 39)), "region code",
            town.RegionCode);
  if (!WithinLimit(town.LatDegrees, town.LatMinutes, kMaxLatitude))
    return read.Fail("latitude", "beyond 90 degrees");
  if (!WithinLimit(town.LonDegrees, town.LonMinutes, kMaxLongitude)) {
    return read.Fail("longitude", "beyond 180 degrees");
  }
  out = std::move(town);
  return true;
}

bool ParseFixedLine(std::string_view line, TownFile file, TownRecord& out, std::string& what) {
  FieldReader read(line, what);
  TownRecord town;
  town.File = file;
  if (!read.Text(1, 20, "name", town.Name) || !read.Text(21, 40, "country", town.Country) ||
      !read.Text(41, 46, "zone abbreviation", town.ZoneAbbreviation) ||
      !read.Flag(47, "+- ", '-', "zone", town.ZoneWest) ||
      !read.Number(48, 49, kMaxZoneHours, "zone hours", town.ZoneHours) ||
      !read.Number(51, 52, kMaxMinutes, "zone minutes", town.ZoneMinutes) ||
      !read.Number(58, 59, kMaxLatitude, "latitude degrees", town.LatDegrees) ||
      !read.Flag(60, "NS", 'S', "latitude", town.South) ||
      !read.Number(61, 62, kMaxMinutes, "latitude minutes", town.LatMinutes) ||
      !read.Number(66, 68, kMaxLongitude, "longitude degrees", town.LonDegrees) ||
      !read.Flag(69, "EW", 'W', "longitude", town.West) ||
      !read.Number(70, 71, kMaxMinutes, "longitude minutes", town.LonMinutes) ||
      !read.Number(76, 77, 99, "zone-rule number", town.ZoneRule)) {
    return false;
  }
  if (town.Name.empty() || town.Name.find_first_not_of(' ') == std::string::npos) {
    return read.Fail("name", "columns 1-20 are blank");
  }
  if (!WithinLimit(town.LatDegrees, town.LatMinutes, kMaxLatitude))
    return read.Fail("latitude", "beyond 90 degrees");
  if (!WithinLimit(town.LonDegrees, town.LonMinutes, kMaxLongitude)) {
    return read.Fail("longitude", "beyond 180 degrees");
  }
  out = std::move(town);
  return true;
}

// A non-negative number with leading zeros to the given width.
std::string Digits(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}
std::string TwoDigits(int value) { return Digits(value, 2); }
std::string ThreeDigits(int value) { return Digits(value, 3); }

// Upper-cased first k characters of a line equal the first k of the upper-cased typed text.
bool PrefixMatches(const std::string& line, std::string_view upperTyped, std::size_t k) {
  if (line.size() < k) return false;
  return UpperCaseCp1251(std::string_view(line).substr(0, k)) == upperTyped.substr(0, k);
}

// True when text holds a control character (a line break would split the line).
bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

std::string TownsFolder(const std::string& programFolder) { return programFolder + "/Towns/"; }

const char* TownFileName(TownFile file) {
  switch (file) {
    case TownFile::Russian:
      return kTownsFileName;
    case TownFile::Foreign:
      return kForeignTownsFileName;
    case TownFile::User:
      return kUserTownsFileName;
  }
  return kTownsFileName;
}

std::string TownFilePath(const std::string& townsFolder, TownFile file) {
  return townsFolder + TownFileName(file);
}

// ---- order and search ----------------------------------------------------------

bool TownLineLess(const std::string& a, const std::string& b) {
  const std::string upperA = UpperCaseCp1251(a);
  const std::string upperB = UpperCaseCp1251(b);
  if (upperA != upperB) return upperA < upperB;  // char_traits<char> compares as unsigned bytes
  return a < b;
}

void SortTownLines(LineList& lines, std::vector<std::size_t>& numbers) {
  if (numbers.size() != lines.size()) {
    numbers.resize(lines.size());
    std::iota(numbers.begin(), numbers.end(), std::size_t{1});
  }
  // sort keys once: the upper-cased line, then the line, then its number
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::vector<std::string> upper(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) upper[i] = UpperCaseCp1251(lines[i]);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
    if (upper[i] != upper[j]) return upper[i] < upper[j];
    return lines[i] < lines[j];
  });
  LineList sorted;
  std::vector<std::size_t> sortedNumbers;
  sorted.reserve(lines.size());
  sortedNumbers.reserve(lines.size());
  for (std::size_t i : order) {
    sorted.push_back(std::move(lines[i]));
    sortedNumbers.push_back(numbers[i]);
  }
  lines = std::move(sorted);
  numbers = std::move(sortedNumbers);
}

TownMatchRange FindTownsByPrefix(const LineList& lines, std::string_view typed) {
  TownMatchRange range{0, lines.size()};
  if (typed.empty()) return {};
  const std::string upperTyped = UpperCaseCp1251(typed);
  for (std::size_t k = 1; k <= upperTyped.size() && range.Count > 0; ++k) {
    // first line of the current run whose first k characters match
    std::size_t first = range.First;
    const std::size_t end = range.First + range.Count;
    while (first < end && !PrefixMatches(lines[first], upperTyped, k)) ++first;
    std::size_t last = first;
    while (last < end && PrefixMatches(lines[last], upperTyped, k)) ++last;
    range = first < end ? TownMatchRange{first, last - first} : TownMatchRange{};
  }
  return range;
}

// ---- one town -------------------------------------------------------------------

bool ParseTownLine(std::string_view line, TownFile file, TownRecord& town, std::string& what) {
  return file == TownFile::Russian ? ParseRussianLine(line, town, what)
                                   : ParseFixedLine(line, file, town, what);
}

std::string TownLineMessage(const std::string& fileName, std::size_t lineNumber,
                            const std::string& what) {
  return fileName + ", line " + std::to_string(lineNumber) + ": " + what;
}

// ---- result grid and the dialog's fields ------------------------------------------

TownGridRow TownGridRowOf(std::string_view line, TownFile file) {
  TownGridRow row;
  if (file == TownFile::Russian) {
    row.Name = std::string(line.substr(0, std::min(line.find('='), line.size())));
    row.Country = kRussianTownsCountry;
    row.Latitude = CellText(line, 22, 26);
    row.Longitude = CellText(line, 29, 34);
  } else {
    row.Name = CellText(line, 1, 20);
    row.Country = CellText(line, 21, 40);
    row.Latitude = CellText(line, 58, 62);
    row.Longitude = CellText(line, 66, 71);
  }
  return row;
}

std::vector<TownGridRow> TownGridRows(const LineList& lines, TownMatchRange range, TownFile file) {
  std::vector<TownGridRow> rows;
  const std::size_t end = std::min(lines.size(), range.First + range.Count);
  for (std::size_t i = range.First; i < end; ++i) rows.push_back(TownGridRowOf(lines[i], file));
  return rows;
}

TownPlaceFields PlaceFieldsOfTown(const TownRecord& town) {
  TownPlaceFields fields;
  fields.PlaceName = town.Name;
  fields.LatitudeText = TwoDigits(town.LatDegrees) + ":" + TwoDigits(town.LatMinutes) + ":00";
  fields.LongitudeText = ThreeDigits(town.LonDegrees) + ":" + TwoDigits(town.LonMinutes) + ":00";
  fields.South = town.South;
  fields.West = town.West;
  return fields;
}

// ---- the search ------------------------------------------------------------------------

TownSearchResult SearchTowns(const std::string& townsFolder, std::string_view typed) {
  TownSearchResult result;
  if (typed.empty()) return result;
  for (TownFile file : {TownFile::Russian, TownFile::Foreign, TownFile::User}) {
    LineList lines;
    std::string error;
    if (!ReadLines(TownFilePath(townsFolder, file), lines, &error)) {
      result = TownSearchResult{};
      result.Status = TownSearchStatus::FileError;
      result.File = file;
      result.Message = error;
      return result;
    }
    std::vector<std::size_t> numbers;
    if (file == TownFile::User) {
      SortTownLines(lines, numbers);
    } else {
      numbers.resize(lines.size());
      std::iota(numbers.begin(), numbers.end(), std::size_t{1});
    }
    result.File = file;
    result.Lines = std::move(lines);
    result.FileLineNumbers = std::move(numbers);
    result.Range = FindTownsByPrefix(result.Lines, typed);
    if (result.Range.Count > 0) {
      result.Status = TownSearchStatus::Found;
      result.Rows = TownGridRows(result.Lines, result.Range, file);
      return result;
    }
  }
  result.Status = TownSearchStatus::NotFound;
  return result;
}

ChosenTown ChooseTown(const TownSearchResult& search, int selectedRow) {
  ChosenTown chosen;
  chosen.File = search.File;
  if (search.Status != TownSearchStatus::Found || selectedRow < 0 ||
      static_cast<std::size_t>(selectedRow) >= search.Range.Count) {
    chosen.Message = "no town in row " + std::to_string(selectedRow) + " of the search result";
    return chosen;
  }
  const std::size_t index = search.Range.First + static_cast<std::size_t>(selectedRow);
  if (index >= search.Lines.size()) {
    chosen.Message = "no town in row " + std::to_string(selectedRow) + " of the search result";
    return chosen;
  }
  const std::size_t lineNumber =
      index < search.FileLineNumbers.size() ? search.FileLineNumbers[index] : index + 1;
  std::string what;
  TownRecord town;
  if (!ParseTownLine(search.Lines[index], search.File, town, what)) {
    chosen.Message = TownLineMessage(TownFileName(search.File), lineNumber, what);
    return chosen;
  }
  chosen.Ok = true;
  chosen.Line = search.Lines[index];
  chosen.Town = std::move(town);
  chosen.Fields = PlaceFieldsOfTown(chosen.Town);
  return chosen;
}

// ---- adding a town --------------------------------------------------------------------

NewTownLine BuildUserTownLine(const NewTown& town) {
  NewTownLine result;
  auto refuse = [&result](const std::string& why, NewTownStatus status = NewTownStatus::Refused) {
    result.Status = status;
    result.Message = why;
    return result;
  };
  if (town.Name.size() > static_cast<std::size_t>(kTownNameColumns)) {
    result.Status = NewTownStatus::NameTooLong;
    result.Message = "the town name is longer than 20 characters";
    return result;
  }
  if (TrimTrailingBlanks(town.Name).find_first_not_of(' ') == std::string_view::npos) {
    return refuse("the town has no name", NewTownStatus::NoName);
  }
  if (town.Country.size() > static_cast<std::size_t>(kTownCountryColumns)) {
    return refuse("the country is longer than 20 characters", NewTownStatus::CountryTooLong);
  }
  if (town.Abbreviation.size() > static_cast<std::size_t>(kTownAbbreviationColumns)) {
    return refuse("the zone abbreviation is longer than 6 characters");
  }
  if (HasControl(town.Name) || HasControl(town.Country) || HasControl(town.Abbreviation)) {
    return refuse("the name, country or abbreviation holds a control character");
  }
  if (town.ZoneHours < 0 || town.ZoneHours > kMaxZoneHours || town.ZoneMinutes < 0 ||
      town.ZoneMinutes > kMaxMinutes) {
    return refuse("the zone " + std::to_string(town.ZoneHours) + " h " +
                      std::to_string(town.ZoneMinutes) + " min is outside 0..23 h, 0..59 min",
                  NewTownStatus::ZoneOutOfRange);
  }
  if (town.LatDegrees < 0 || town.LatMinutes < 0 || town.LonDegrees < 0 || town.LonMinutes < 0) {
    return refuse("a coordinate is negative");
  }
  // latitude: degrees above 90 become 0, minutes above 60 lose 60; a whole
  // 60 minutes is carried into the degrees so the line holds 0..59
  int latDegrees = town.LatDegrees > kMaxLatitude ? 0 : town.LatDegrees;
  int latMinutes =
      town.LatMinutes > kMinutesPerDegree ? town.LatMinutes - kMinutesPerDegree : town.LatMinutes;
  latDegrees += latMinutes / kMinutesPerDegree;
  latMinutes %= kMinutesPerDegree;
  if (!WithinLimit(latDegrees, latMinutes, kMaxLatitude)) {
    return refuse("the latitude " + std::to_string(latDegrees) + " deg " +
                  std::to_string(latMinutes) + " min is beyond 90 degrees");
  }
  // longitude: minutes above 60 lose 60; the whole angle is brought into
  // one turn, and past 180 degrees it is measured the other way round
  const int lonMinutesTyped =
      town.LonMinutes > kMinutesPerDegree ? town.LonMinutes - kMinutesPerDegree : town.LonMinutes;
  constexpr int kTurn = 360 * kMinutesPerDegree;
  int lonTotal = (town.LonDegrees * kMinutesPerDegree + lonMinutesTyped) % kTurn;
  bool lonWest = town.West;
  if (lonTotal > kMaxLongitude * kMinutesPerDegree) {
    lonTotal = kTurn - lonTotal;
    lonWest = !lonWest;
  }
  std::string line(static_cast<std::size_t>(kTownLineLength), ' ');
  auto put = [&line](int column, const std::string& text) {
    line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
  };
  put(1, town.Name);
  put(21, town.Country);
  put(41, town.Abbreviation);
  put(47, town.West ? "-" : "+");
  put(48, TwoDigits(town.ZoneHours));
  put(50, ":");
  put(51, TwoDigits(town.ZoneMinutes));
  put(58, TwoDigits(latDegrees));
  put(60, town.South ? "S" : "N");
  put(61, TwoDigits(latMinutes));
  put(66, ThreeDigits(lonTotal / kMinutesPerDegree));
  put(69, lonWest ? "W" : "E");
  put(70, TwoDigits(lonTotal % kMinutesPerDegree));
  put(76, "00");
  result.Status = NewTownStatus::Ok;
  result.Line = std::move(line);
  return result;
}

std::string NewTownConfirmation(const std::string& line) {
  return line.substr(0, std::min(line.size(), static_cast<std::size_t>(kTownConfirmationLength)));
}

AddTownResult AddUserTown(const std::string& townsFolder, const std::string& line) {
  AddTownResult result;
  TownRecord town;
  std::string what;
  if (!ParseTownLine(line, TownFile::User, town, what)) {
    result.Message = std::string("the new town's line cannot be read back: ") + what;
    return result;
  }
  const std::string path = TownFilePath(townsFolder, TownFile::User);
  LineList lines;
  std::string error;
  if (!ReadLines(path, lines, &error)) {
    result.Message = error;
    return result;
  }
  lines.push_back(line);
  std::vector<std::size_t> numbers;
  SortTownLines(lines, numbers);
  if (!WriteLinesAtomic(path, lines, &error)) {
    result.Message = error;
    return result;
  }
  result.Ok = true;
  result.Lines = std::move(lines);
  return result;
}
