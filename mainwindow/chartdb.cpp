// Chart database model: record lines, the tree text and the pair of files.
#include "mainwindow/chartdb.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "chart/chartrecord.h"
#include "engine/astromath.h"
#include "platform/files.h"
#include "platform/text/cp1251.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDateTimeFields = 6;     // D M Y h m s
constexpr int kHouseCodeBase = 10000;  // code of querent 0, quesited 0, who-asks 0 less 100
constexpr int kNoHousesBelow = 1000;   // codes below carry no houses
constexpr double kHoursPerDay = 24.0;
constexpr long long kSecondsPerDay = 86400;
// Beyond about ±2.7 million years the date no longer fits the calendar routine's integers.
constexpr double kJulianDayLimit = 1e9;

// Degrees (or hours) as the three parts of a record line from number at on.
void PutDms(DbRecordFields& f, int at, float value) {
  DegToDms(value, f.Number[at], f.Number[at + 1], f.Number[at + 2]);
}

// Calendar date of the civil day that starts localDayStart (a Julian day at
// local midnight, any small error allowed).
void CivilDate(double localDayStart, int& day, int& month, int& year) {
  double noon = std::round(localDayStart + 0.5);
  if (!std::isfinite(noon)) noon = 0;
  if (noon > kJulianDayLimit) noon = kJulianDayLimit;
  if (noon < -kJulianDayLimit) noon = -kJulianDayLimit;
  float hours = 0;
  JulianDayToDate(noon, year, month, day, hours);
}

// The node kind at the end of a line, 0 when the last character is none.
int LineKind(std::string_view line) {
  if (line.empty()) return 0;
  const char c = line.back();
  return c >= '1' && c <= '3' ? c - '0' : 0;
}

std::string LineMessage(const std::string& fileName, std::size_t lineNumber,
                        const std::string& what) {
  return Utf8ToCp1251(fileName) + ", line " + std::to_string(lineNumber) + ": " + what;
}

std::string CannotCreate(const std::string& path, int errorNumber) {
  return "Cannot create file " + Utf8ToCp1251(path) + ": " + SystemErrorText(errorNumber);
}

// An old DOS editor ends a file with the byte 0x1A, and a hand edit often
// leaves empty lines after the last one: both are the end of the file. The
// first line is kept (the tree of a database whose root has an empty name),
// and no line of either file is empty otherwise: every record line ends in its
// kind, and every tree line below the root begins with a TAB.
constexpr char kDosEndOfFile = '\x1A';
void DropFileEnd(LineList& lines) {
  while (!lines.empty()) {
    std::string& last = lines.back();
    while (!last.empty() && last.back() == kDosEndOfFile) last.pop_back();
    if (!last.empty() || lines.size() == 1) break;
    lines.pop_back();
  }
}

// The name a line gives its node: a chart line's text before its first "=",
// a section line's text before the "/" of its kind. Leading TABs and spaces
// are dropped, as the tree file cannot hold them. False when a section line
// has no "/" before its kind.
bool LineNodeName(std::string_view line, int kind, std::string_view& name) {
  if (kind == kDbChart) {
    name = line.substr(0, line.find('='));
  } else {
    if (line.size() < 2 || line[line.size() - 2] != '/') return false;
    name = line.substr(0, line.size() - 2);
  }
  name.remove_prefix(std::min(name.find_first_not_of("\t "), name.size()));
  return true;
}

// Why line i cannot be node i's, or "" when it can: the line ends in a kind,
// a chart's line is a record, the line names the node, and the root's line is
// a section's.
std::string LineAgainstNode(const std::string& line, const DbNode& node, std::size_t i,
                            const std::string& treeFileName) {
  const int kind = LineKind(line);
  if (kind == 0) return "the line ends in no item kind (1 or 3)";
  std::string what;
  DbRecordFields fields;
  if (kind == kDbChart && !ReadDbRecordLine(line, fields, what)) return what;
  std::string_view name;
  if (!LineNodeName(line, kind, name)) return "no \"/\" before the item kind";
  if (name != node.Text)
    return std::string("the line of the ") + (kind == kDbChart ? "chart" : "section") + " \"" +
           std::string(name) + "\" stands where " + Utf8ToCp1251(treeFileName) + " has \"" +
           node.Text + "\"";
  if (i == 0 && kind == kDbChart) return "the first line is a chart's, not the database's";
  return {};
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

// ---- houses -------------------------------------------------------------------

int PackHouseCode(int querentHouse, int quesitedHouse, int whoAsks) {
  if (querentHouse < 0 || querentHouse > 11) querentHouse = 0;
  if (quesitedHouse < 0 || quesitedHouse > 11) quesitedHouse = 0;
  if (whoAsks < 0 || whoAsks > 9) whoAsks = 0;
  return kHouseCodeBase + 1000 * querentHouse + 100 + 10 * quesitedHouse + whoAsks;
}

bool UnpackHouseCode(int code, HouseChoice& houses) {
  if (code < kNoHousesBelow) return false;
  const int querent = code / 1000 - 10;
  const int quesited = (code % 1000) / 10 - 10;
  if (querent < 0 || querent > 11 || quesited < 0 || quesited > 11) return false;
  houses.QuerentHouse = querent;
  houses.QuesitedHouse = quesited;
  houses.WhoAsks = code % 10;
  return true;
}

// ---- record lines ---------------------------------------------------------------

std::string DbSectionLine(std::string_view name) { return DbNodeText(name) + "/1"; }

std::string BuildDbRecordLine(const DbChart& chart) {
  // local time of day, folded into [0, 24) and rounded to the whole second:
  // the time is the sum of two single-precision values, a few milliseconds
  // off, and cutting it would lose a second on every store of a loaded chart
  const double t = static_cast<double>(chart.UniversalTime) + chart.TimeZone;
  long long seconds = std::isfinite(t) ? std::llround(std::fmod(t, kHoursPerDay) * 3600.0) : 0;
  if (seconds < 0) seconds += kSecondsPerDay;
  if (seconds >= kSecondsPerDay) seconds -= kSecondsPerDay;  // midnight is the next day's 0:0:0
  const int h = static_cast<int>(seconds / 3600);
  const int m = static_cast<int>(seconds / 60 % 60);
  const int s = static_cast<int>(seconds % 60);

  // the date of the civil day that the written time belongs to
  const double localMoment = UniversalJulianDay(chart.JulianDayUT) + chart.TimeZone / kHoursPerDay;
  const double writtenHours = DmsToDeg(h, m, s);
  int day = 0, month = 0, year = 0;
  CivilDate(localMoment - writtenHours / kHoursPerDay, day, month, year);

  DbRecordFields f;
  f.Name = chart.ChartName;
  const int dateTime[kDateTimeFields] = {day, month, year, h, m, s};
  std::copy(dateTime, dateTime + kDateTimeFields, f.Number + kDbDate);
  PutDms(f, kDbZone, chart.TimeZone);
  PutDms(f, kDbLatitude, chart.GeoLatitude);
  PutDms(f, kDbLongitude, chart.GeoLongitude);
  f.Number[kDbHouseCode] = chart.HouseCode;
  f.Number[kDbFlag] = chart.RecordFlag;
  f.Place = chart.PlaceName;
  f.Comment = chart.ChartComment;
  return WriteDbRecordLine(f);
}

bool ParseDbRecord(std::string_view line, DbChart& chart, std::string& what) {
  DbRecordFields f;
  if (!ReadDbRecordLine(line, f, what)) return false;
  const int* n = f.Number;
  const int* date = n + kDbDate;
  const auto dms = [n](int at) { return DmsToDeg(n[at], n[at + 1], n[at + 2]); };
  DbChart c;
  c.ChartName = std::string(f.Name);
  c.TimeZone = static_cast<float>(dms(kDbZone));
  c.UniversalTime = static_cast<float>(dms(kDbTime) - c.TimeZone);
  c.JulianDay0h = JulianDay(date[0], date[1], date[2], 0.0f);
  c.JulianDayUT = JulianDay(date[0], date[1], date[2], c.UniversalTime);
  c.GeoLatitude = static_cast<float>(dms(kDbLatitude));
  c.GeoLongitude = static_cast<float>(dms(kDbLongitude));
  c.HouseCode = n[kDbHouseCode];
  c.RecordFlag = n[kDbFlag] != 0 ? 1 : 0;
  c.PlaceName = std::string(f.Place);
  c.ChartComment = std::string(f.Comment);
  chart = std::move(c);
  return true;
}

std::string FormatDbRecordDateTime(std::string_view line) {
  DbRecordFields f;
  std::string what;
  if (!ReadDbRecordLine(line, f, what)) return {};
  static constexpr const char* kAfter[kDateTimeFields] = {".", ".", ".", ":", ":", ""};
  std::string text;
  for (int i = 0; i < kDateTimeFields; ++i) text += std::to_string(f.Number[i]) + kAfter[i];
  return text;
}

DbChart DbChartOf(const ChartRecord& record, int whoAsks) {
  DbChart c;
  c.ChartName = record.ChartName;
  c.RecordFlag = record.RecordFlag;
  c.JulianDayUT = record.JulianDayUT;
  c.JulianDay0h = record.JulianDay0h;
  c.UniversalTime = record.UniversalTime;
  c.TimeZone = record.TimeZone;
  c.GeoLatitude = record.GeoLatitude;
  c.GeoLongitude = record.GeoLongitude;
  c.HouseCode = PackHouseCode(record.QuerentHouse, record.QuesitedHouse, whoAsks);
  c.PlaceName = record.PlaceName;
  c.ChartComment = record.ChartComment;
  return c;
}

void ApplyDbChart(const DbChart& chart, ChartRecord& record) {
  record.ChartName = chart.ChartName;
  record.RecordFlag = chart.RecordFlag;
  record.JulianDayUT = chart.JulianDayUT;
  record.JulianDay0h = chart.JulianDay0h;
  record.UniversalTime = chart.UniversalTime;
  record.TimeZone = chart.TimeZone;
  record.GeoLatitude = chart.GeoLatitude;
  record.GeoLongitude = chart.GeoLongitude;
  record.PlaceName = chart.PlaceName;
  record.ChartComment = chart.ChartComment;
}

// ---- the tree ---------------------------------------------------------------------

LineList BuildTreeText(const std::vector<DbNode>& nodes) {
  LineList lines;
  lines.reserve(nodes.size());
  for (const DbNode& node : nodes) {
    std::string line(static_cast<std::size_t>(node.Level > 0 ? node.Level : 0), '\t');
    line += node.Text;
    lines.push_back(std::move(line));
  }
  return lines;
}

bool ParseTreeText(const LineList& lines, std::vector<DbNode>& nodes, std::size_t& badLine,
                   std::string& what) {
  std::vector<DbNode> read;
  read.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    std::size_t level = line.find_first_not_of("\t ");
    if (level == std::string::npos) level = line.size();
    if (i > 0 && level > static_cast<std::size_t>(read.back().Level) + 1) {
      badLine = i + 1;
      what =
          "Invalid level (" + std::to_string(level) + ") for item \"" + line.substr(level) + "\"";
      return false;
    }
    DbNode node;
    node.Text = line.substr(level);
    node.Level = i == 0 ? 0 : static_cast<int>(level);
    read.push_back(std::move(node));
  }
  nodes = std::move(read);
  return true;
}

void CreateDatabase(ChartDatabase& db, std::string_view name, std::string_view sectionName,
                    std::string_view sectionLine) {
  db.Nodes = {DbNode{DbNodeText(name), 0, kDbSection},
              DbNode{DbNodeText(sectionName), 1, kDbSection}};
  db.Lines = {DbSectionLine(name), std::string(sectionLine)};
  db.SourceFile.clear();
  db.Modified = true;
}

void CloseDatabase(ChartDatabase& db) {
  db.Nodes.clear();
  db.Lines.clear();
  db.Folder.clear();
  db.SourceFile.clear();
  db.Modified = false;
}

std::size_t SubtreeEnd(const std::vector<DbNode>& nodes, std::size_t i) {
  std::size_t end = i + 1;
  while (end < nodes.size() && nodes[end].Level > nodes[i].Level) ++end;
  return end;
}

std::size_t ParentIndex(const std::vector<DbNode>& nodes, std::size_t i) {
  for (std::size_t j = i; j-- > 0;)
    if (nodes[j].Level < nodes[i].Level) return j;
  return std::string::npos;
}

std::vector<std::size_t> ParentIndices(const std::vector<DbNode>& nodes) {
  std::vector<std::size_t> parents(nodes.size(), std::string::npos);
  std::vector<std::size_t> open;  // the path from the top to the node before
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    while (!open.empty() && nodes[open.back()].Level >= nodes[i].Level) open.pop_back();
    if (!open.empty()) parents[i] = open.back();
    open.push_back(i);
  }
  return parents;
}

std::size_t NodeAtPath(const std::vector<DbNode>& nodes, const std::vector<int>& path) {
  std::size_t at = 0;
  std::size_t end = nodes.size();  // one past the last node among the siblings searched
  for (std::size_t step = 0; step < path.size(); ++step) {
    if (step > 0) {
      end = SubtreeEnd(nodes, at);
      ++at;
    }
    if (path[step] < 0 || at >= end) return std::string::npos;
    for (int skip = 0; skip < path[step]; ++skip) {
      at = SubtreeEnd(nodes, at);
      if (at >= end) return std::string::npos;
    }
  }
  return path.empty() ? std::string::npos : at;
}

std::size_t InsertDbNode(ChartDatabase& db, std::size_t parent, DbNode node, std::string line) {
  std::size_t at = db.Nodes.size();
  node.Level = 0;
  if (parent < db.Nodes.size()) {
    at = SubtreeEnd(db.Nodes, parent);
    node.Level = db.Nodes[parent].Level + 1;
  }
  db.Nodes.insert(db.Nodes.begin() + static_cast<std::ptrdiff_t>(at), std::move(node));
  db.Lines.insert(db.Lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  db.Modified = true;
  return at;
}

void RemoveDbSubtree(ChartDatabase& db, std::size_t i) {
  if (i >= db.Nodes.size()) return;
  const auto first = static_cast<std::ptrdiff_t>(i);
  const auto last = static_cast<std::ptrdiff_t>(SubtreeEnd(db.Nodes, i));
  db.Nodes.erase(db.Nodes.begin() + first, db.Nodes.begin() + last);
  db.Lines.erase(db.Lines.begin() + first, db.Lines.begin() + last);
  db.Modified = true;
}

bool IsDatabaseFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32 || c == 127) return false;
    if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// ---- the pair of files ------------------------------------------------------------

bool ParseDatabasePair(LineList treeLines, LineList recordLines, const std::string& treeFileName,
                       const std::string& recordFileName, ChartDatabase& db, std::string& message) {
  DropFileEnd(treeLines);
  DropFileEnd(recordLines);
  std::vector<DbNode> nodes;
  std::size_t badLine = 0;
  std::string what;
  if (!ParseTreeText(treeLines, nodes, badLine, what)) {
    message = LineMessage(treeFileName, badLine, what);
    return false;
  }
  if (recordLines.size() != nodes.size()) {
    const std::size_t line = std::min(recordLines.size(), nodes.size()) + 1;
    message =
        LineMessage(recordFileName, line,
                    std::to_string(recordLines.size()) + " lines for the " +
                        std::to_string(nodes.size()) + " items of " + Utf8ToCp1251(treeFileName));
    return false;
  }
  // the node states in one walk, each line checked against its node: a pair
  // whose files disagree (lines swapped, or the files of two different saves)
  // is refused rather than read with charts under other nodes' names
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    what = LineAgainstNode(recordLines[i], nodes[i], i, treeFileName);
    if (!what.empty()) {
      message = LineMessage(recordFileName, i + 1, what);
      return false;
    }
    nodes[i].State = LineKind(recordLines[i]);
    // a chart holds no items: a chart's line at a node with children is a
    // section's and a chart's lines swapped (a section per client named as
    // the client's chart), which would turn the section into a chart
    if (nodes[i].State == kDbChart && i + 1 < nodes.size() && nodes[i + 1].Level > nodes[i].Level) {
      message = LineMessage(recordFileName, i + 1,
                            "the line of the chart \"" + nodes[i].Text + "\" stands where " +
                                Utf8ToCp1251(treeFileName) + " has a section with items under it");
      return false;
    }
  }
  db.Nodes = std::move(nodes);
  db.Lines = std::move(recordLines);
  db.Modified = false;
  return true;
}

std::string DatabaseStemOf(const std::string& chosenFile) {
  static constexpr std::string_view kExtension = ".zrn";
  if (chosenFile.size() < kExtension.size()) return chosenFile;
  const std::size_t at = chosenFile.size() - kExtension.size();
  for (std::size_t i = 0; i < kExtension.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(chosenFile[at + i])) != kExtension[i])
      return chosenFile;
  return chosenFile.substr(0, at);
}

std::string TreeFileOf(const std::string& recordFile) {
  static constexpr std::string_view kTree = "zrt";
  if (recordFile.size() < kTree.size()) return recordFile + std::string(kTree);
  const std::size_t at = recordFile.size() - kTree.size();
  // "zrt" with the letters upper-case where the bits of mask say
  const auto candidate = [&](unsigned mask) {
    std::string name = recordFile.substr(0, at);
    for (std::size_t i = 0; i < kTree.size(); ++i)
      name += (mask >> i & 1U) != 0 ? static_cast<char>(kTree[i] - 'a' + 'A') : kTree[i];
    return name;
  };
  unsigned recordCase = 0;
  for (std::size_t i = 0; i < kTree.size(); ++i)
    if (recordFile[at + i] >= 'A' && recordFile[at + i] <= 'Z') recordCase |= 1U << i;
  if (FileExists(candidate(recordCase))) return candidate(recordCase);
  for (unsigned mask = 0; mask < 1U << kTree.size(); ++mask)
    if (mask != recordCase && FileExists(candidate(mask))) return candidate(mask);
  return candidate(recordCase);
}

std::vector<std::string> InterruptedSaveFiles(const std::string& recordFile) {
  std::vector<std::string> files = LeftoverTemporaryFiles(recordFile);
  for (std::string& file : LeftoverTemporaryFiles(TreeFileOf(recordFile)))
    if (std::find(files.begin(), files.end(), file) == files.end())
      files.push_back(std::move(file));
  return files;
}

PairState ReadPairState(const std::string& stem) {
  PairState state;
  std::string bytes;
  state.Records = ReadFileBytes(stem + ".zrn", bytes);
  state.RecordsPrint = state.Records ? TextFingerprint(bytes) : 0;
  state.Tree = ReadFileBytes(stem + ".zrt", bytes);
  state.TreePrint = state.Tree ? TextFingerprint(bytes) : 0;
  return state;
}

namespace {

// The tag a save gives its temporary tree file: the fingerprint of the
// record file it goes with, so that a load can tell whether the record file
// on disk is that save's.
std::string FingerprintTag(std::uint64_t print) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string tag(16, '0');
  for (int i = 15; i >= 0; --i, print >>= 4) tag[static_cast<std::size_t>(i)] = kDigits[print & 15];
  return tag;
}

// The modification time of a file, or nothing when it cannot be read.
std::optional<fs::file_time_type> ModifiedAt(const std::string& path) {
  std::error_code ec;
  const fs::file_time_type at = fs::last_write_time(fs::path(path), ec);
  if (ec) return std::nullopt;
  return at;
}

std::string BusyMessage(const FileLock& lock) {
  return "Cannot lock " + Utf8ToCp1251(lock.Path()) +
         ": another program is saving this database; try again when it has finished";
}

// Removes the temporary files of the pair left by saves that never reached
// their record file; only under the pair's lock, when no save is running.
void RemoveLeftovers(const std::string& recordFile, const std::string& treeFile) {
  for (const std::string& path : {recordFile, treeFile})
    for (const std::string& file : LeftoverTemporaryFiles(path)) RemoveFile(file);
}

// The temporary tree file that finishes a save cut short between its two
// renames, or "" when there is none; its bytes in bytes. fits says whether
// tree bytes read with the record file on disk.
template <typename Fits>
std::string InterruptedTree(const std::string& treeFile, const std::string& recordFile,
                            std::uint64_t recordsPrint, Fits fits, std::string& bytes) {
  std::vector<std::string> candidates = LeftoverTemporaryFiles(treeFile);
  const std::string tag = FingerprintTag(recordsPrint);
  for (const std::string& temporary : candidates)
    if (TemporaryFileTag(temporary) == tag && ReadFileBytes(temporary, bytes) && fits(bytes))
      return temporary;
  // a temporary file of an older program names no record file: it is taken
  // when it reads with the record file, is not older than the tree file and
  // not newer than the record file (that save wrote the tree first)
  const auto tree = ModifiedAt(treeFile);
  const auto records = ModifiedAt(recordFile);
  std::sort(candidates.begin(), candidates.end(), [](const std::string& a, const std::string& b) {
    return ModifiedAt(a) > ModifiedAt(b);
  });
  for (const std::string& temporary : candidates) {
    if (!TemporaryFileTag(temporary).empty()) continue;
    const auto at = ModifiedAt(temporary);
    if (!at || (tree && *at < *tree) || (records && *at > *records)) continue;
    if (ReadFileBytes(temporary, bytes) && fits(bytes)) return temporary;
  }
  bytes.clear();
  return {};
}

}  // namespace

bool LoadDatabasePair(const std::string& recordFile, ChartDatabase& db, std::string& message,
                      std::string* completedFrom) {
  if (completedFrom != nullptr) completedFrom->clear();
  const std::string treeFile = TreeFileOf(recordFile);
  FileLock lock;
  if (lock.Acquire(recordFile, kPairLockWaitMs) == FileLock::State::Busy) {
    message = BusyMessage(lock);
    return false;
  }
  std::string treeBytes, recordBytes, treeError, recordError;
  const bool treeRead = ReadFileBytes(treeFile, treeBytes, &treeError);
  if (!ReadFileBytes(recordFile, recordBytes, &recordError)) {
    message = Utf8ToCp1251(treeRead ? recordError : treeError);
    return false;
  }
  const std::uint64_t recordsPrint = TextFingerprint(recordBytes);
  LineList recordLines = LinesOfText(recordBytes);
  const auto fits = [&](const std::string& tree) {
    ChartDatabase probe;
    std::string ignored;
    return ParseDatabasePair(LinesOfText(tree), recordLines, treeFile, recordFile, probe, ignored);
  };

  // a save cut short after its record file: its tree is in a temporary file
  std::string takenBytes;
  const std::string taken = InterruptedTree(treeFile, recordFile, recordsPrint, fits, takenBytes);
  bool renamed = false;
  if (!taken.empty()) {
    treeBytes = std::move(takenBytes);
    if (lock.Status() == FileLock::State::Held) {
      PendingFile pending;
      pending.Path = treeFile;
      pending.Temporary = taken;
      pending.Target = treeFile;
      pending.Folder = FolderOf(treeFile).empty() ? "." : FolderOf(treeFile);
      renamed = CommitPendingFile(pending, nullptr, OnCommitFailure::Keep);
    }
  } else if (!treeRead) {
    message = Utf8ToCp1251(treeError);
    return false;
  }

  ChartDatabase loaded;
  if (!ParseDatabasePair(LinesOfText(treeBytes), std::move(recordLines), treeFile, recordFile,
                         loaded, message))
    return false;
  // settled: what other saves left never reached the record file
  if (lock.Status() == FileLock::State::Held && (taken.empty() || renamed))
    RemoveLeftovers(recordFile, treeFile);
  if (completedFrom != nullptr) *completedFrom = taken;
  db.Nodes = std::move(loaded.Nodes);
  db.Lines = std::move(loaded.Lines);
  db.Folder = FolderOf(recordFile);
  db.SourceFile = recordFile;
  db.Modified = false;
  db.Disk = PairState{true, true, recordsPrint, TextFingerprint(treeBytes)};
  return true;
}

namespace {

// No file system replaces two files at once, so the pair is replaced in an
// order that leaves, at every moment, the old pair, or the new record file
// with everything needed to finish the save:
//  1. both new files are written in full to temporary files beside the old
//     ones and flushed to the disk, the tree's first, named with the
//     fingerprint of the new record file; a failure removes them, and the
//     old pair stands as it was;
//  2. the record file's temporary file is renamed over "<stem>.zrn" and the
//     folder flushed: from here on the save has happened;
//  3. the tree's temporary file is renamed over "<stem>.zrt" and the folder
//     flushed.
// A crash before 2 leaves the old pair and temporary files that no record
// file names: the next load or save removes them. A crash between 2 and 3
// leaves the new record file beside the old tree file and the new tree in
// its temporary file, whose name holds the fingerprint of the record file
// on disk: the next load renames it over "<stem>.zrt" and so finishes the
// save, even where the old tree would read with the new records (the same
// names in another nesting).
// The record file goes first because it is the one the open dialog and the
// search on disk show: a first save cut short leaves a file the user finds,
// whose opening finishes the pair, not a lone tree file nobody sees.
// A rename refused in step 3 without a crash keeps the tree's temporary file
// for the same reason, and the message names it.
// The whole save holds the pair's lock: a second program's save waits for
// it, and a load never takes the temporary files of a save still running.
SaveOutcome SavePair(const std::string& stem, const PairState* expected, ChartDatabase& db,
                     PairState& found, std::string& message) {
  const std::string treeFile = stem + ".zrt";
  const std::string recordFile = stem + ".zrn";
  FileLock lock;
  if (lock.Acquire(recordFile, kPairLockWaitMs) == FileLock::State::Busy) {
    message = BusyMessage(lock);
    return SaveOutcome::Failed;
  }
  if (expected != nullptr) {
    found = ReadPairState(stem);
    if (found != *expected) return SaveOutcome::Changed;
  }
  const std::string records = TextOfLines(db.Lines);
  const std::string treeText = TextOfLines(BuildTreeText(db.Nodes));
  const std::uint64_t recordsPrint = TextFingerprint(records);
  PendingFile tree, lines;
  if (!WriteTextPending(treeFile, treeText, FingerprintTag(recordsPrint), tree)) {
    message = CannotCreate(treeFile, tree.Error);
    return SaveOutcome::Failed;
  }
  if (!WriteTextPending(recordFile, records, {}, lines)) {
    DiscardPendingFile(tree);
    message = CannotCreate(recordFile, lines.Error);
    return SaveOutcome::Failed;
  }
  if (!CommitPendingFile(lines)) {
    DiscardPendingFile(tree);
    message = CannotCreate(recordFile, lines.Error);
    return SaveOutcome::Failed;
  }
  if (!CommitPendingFile(tree, nullptr, OnCommitFailure::Keep)) {
    message = CannotCreate(treeFile, tree.Error) + "; the new tree is kept in " +
              Utf8ToCp1251(tree.Temporary);
    return SaveOutcome::Failed;
  }
  if (lock.Status() == FileLock::State::Held) RemoveLeftovers(recordFile, treeFile);
  db.SourceFile = recordFile;
  db.Modified = false;
  db.Disk = PairState{true, true, recordsPrint, TextFingerprint(treeText)};
  found = db.Disk;
  return SaveOutcome::Saved;
}

}  // namespace

bool SaveDatabasePair(const std::string& stem, ChartDatabase& db, std::string& message) {
  PairState found;
  return SavePair(stem, nullptr, db, found, message) == SaveOutcome::Saved;
}

SaveOutcome SaveDatabasePairIf(const std::string& stem, const PairState& expected,
                               ChartDatabase& db, PairState& found, std::string& message) {
  return SavePair(stem, &expected, db, found, message);
}
