#include "mainwindow/decimalupkeep.h"

#include <map>
#include <vector>

#include "mainwindow/uistrings.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One optional list: where it lies, the folder of its files, how many passes.
struct UpkeepList {
  const char* List;    // under the program folder
  const char* Folder;  // of the listed files, under the program folder ("" the folder itself)
  int Passes;
};
constexpr UpkeepList kOptionalLists[] = {{"Options/RUN.opt", "Options/", 1},
                                         {"RUN.opt", "", 3},
                                         {"Options/RUN.opt", "Options/Standart/", 1},
                                         {"Map/RUN.opt", "Map/", 1},
                                         {"Map/GR/RUN.opt", "Map/GR/", 1}};

// A list entry that would lead out of the list's own folder.
bool NamesAPath(const std::string& name) {
  return name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
         name.find("..") != std::string::npos;
}

// The conversion planned before anything is written: per file, its lines and
// how many passes it gets, in the order the lists name them.
struct Plan {
  std::vector<std::string> Order;
  std::map<std::string, LineList> Lines;
  std::map<std::string, int> Passes;
  void Add(const std::string& path, LineList lines, int passes) {
    if (!Lines.count(path)) {
      Order.push_back(path);
      Lines[path] = std::move(lines);
    }
    Passes[path] += passes;
  }
};

DecimalUpkeepResult Refusal(int entry, const std::string& detail) {
  DecimalUpkeepResult r;
  r.Entry = entry;
  r.Detail = detail;
  return r;
}

// The names of a list; false (with the refusal) when one names a path.
bool ReadList(const std::string& path, LineList& names, DecimalUpkeepResult& refusal) {
  LineList lines;
  if (!ReadLines(path, lines)) {
    refusal = Refusal(kUiEntryUpkeepMissingFile, path);
    return false;
  }
  names.clear();
  for (const std::string& name : lines) {
    if (name.empty()) continue;
    if (NamesAPath(name)) {
      refusal = Refusal(kUiEntryUpkeepForeignEntry, path + ": " + Cp1251ToUtf8(name));
      return false;
    }
    names.push_back(name);
  }
  return true;
}

// Line 0 of a marker as an integer; false with the platform's message.
bool ReadMarker(const std::string& path, int& value, DecimalUpkeepResult& failure) {
  LineList lines;
  if (!ReadLines(path, lines)) {
    failure = Refusal(0, "Cannot open file " + path);
    return false;
  }
  if (lines.empty() || !ParseInt(lines[0], value)) {
    std::string message = "'";
    if (!lines.empty()) message += lines[0];
    message += "' is not a valid integer value (" + path + ")";
    failure = Refusal(0, message);
    return false;
  }
  return true;
}

bool WriteMarker(const std::string& path, int decimalComma, DecimalUpkeepResult& failure) {
  std::string error;
  if (WriteLinesAtomic(path, {decimalComma ? "1" : "0"}, &error)) return true;
  failure = Refusal(0, error.empty() ? "Cannot create file " + path : error);
  return false;
}

}  // namespace

bool SwapDecimalSeparator(std::string& line, int decimalComma) {
  const char from = decimalComma ? '.' : ',';
  const char to = decimalComma ? ',' : '.';
  for (std::size_t i = 1; i + 1 < line.size(); ++i)
    if (line[i] == from && IsDigit(line[i - 1]) && IsDigit(line[i + 1])) {
      line[i] = to;
      return true;
    }
  return false;
}

// Checks, converts, then marks.
//   programFolder  base of every path, without a trailing '/'
//   decimalComma   1 when the locale writes ',', else 0
DecimalUpkeepResult RunDecimalUpkeep(const std::string& programFolder, int decimalComma) {
  const std::string base = programFolder + "/";
  const std::string run3 = base + "Options/RUN3.opt";
  const std::string run1 = base + "Options/RUN1.opt";
  DecimalUpkeepResult result;
  int recorded = 0;
  if (!ReadMarker(run3, recorded, result)) return result;
  if (recorded == decimalComma) {
    result.Ok = true;
    return result;
  }

  // the required list and each of its files
  Plan plan;
  LineList names;
  if (!ReadList(base + "Options/RUN4.opt", names, result)) return result;
  for (const std::string& name : names) {
    const std::string path = base + "Options/" + Cp1251ToUtf8(name);
    LineList lines;
    if (!ReadLines(path, lines)) return Refusal(kUiEntryUpkeepMissingFile, path);
    plan.Add(path, std::move(lines), 1);
  }

  // the optional lists, unless their own marker already holds the new value
  const bool hasRun1 = FileExists(run1);
  int run1Value = 0;
  if (hasRun1 && !ReadMarker(run1, run1Value, result)) return result;
  const bool listsDue = !hasRun1 || run1Value != decimalComma;
  if (listsDue) {
    for (const UpkeepList& list : kOptionalLists) {
      const std::string listPath = base + list.List;
      if (!FileExists(listPath)) continue;
      if (!ReadList(listPath, names, result)) return result;
      for (const std::string& name : names) {
        const std::string path = base + list.Folder + Cp1251ToUtf8(name);
        LineList lines;
        if (!FileExists(path) || !ReadLines(path, lines)) continue;
        plan.Add(path, std::move(lines), list.Passes);
      }
    }
  }

  // convert; only files whose text changes are written
  for (const std::string& path : plan.Order) {
    LineList& lines = plan.Lines[path];
    bool changed = false;
    for (int pass = 0; pass < plan.Passes[path]; ++pass)
      for (std::string& line : lines) changed = SwapDecimalSeparator(line, decimalComma) || changed;
    if (!changed) continue;
    std::string error;
    if (!WriteLinesAtomic(path, lines, &error))
      return Refusal(0, error.empty() ? "Cannot create file " + path : error);
    ++result.FilesRewritten;
  }

  // the markers last: an interrupted conversion is done again next time
  if (hasRun1 && listsDue && !WriteMarker(run1, decimalComma, result)) return result;
  if (!WriteMarker(run3, decimalComma, result)) return result;
  result.Ok = true;
  result.Converted = true;
  return result;
}
