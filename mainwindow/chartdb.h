// Chart database model and its two files, without a window.
//
// An open database is a tree of a root (the database's name), sections and
// charts, held as a flat list of nodes in pre-order (the node's position is its
// absolute index, root = 0) beside the list of record lines: line i belongs to
// node i. The tree window only shows this model: it builds its items from the
// node list in one pass and writes the expand/collapse state back.
//
// Files, one stem: "<stem>.zrt" is the tree, one node per line in pre-order,
// the node's text after one TAB per level below the top; "<stem>.zrn" holds
// the record lines. The kind of a node is the last character of its line:
// "1" a section (or the root), "3" a chart. A chart's record line is laid out,
// written and read in recordline.h.
//
// Nothing here includes Qt; messages are code page 1251 and name file and line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/recordline.h"
#include "platform/text/textfile.h"

struct ChartRecord;

// Node kinds, kept in the last character of a node's line.
inline constexpr int kDbSection = 1;          // section, collapsed; also the root
inline constexpr int kDbSectionExpanded = 2;  // section, expanded (never written)
inline constexpr int kDbChart = 3;            // chart

// ---- one chart's record line ------------------------------------------------

// The chart fields a record line carries.
struct DbChart {
  std::string ChartName;        // chart name, code page 1251
  std::uint8_t RecordFlag = 1;  // 1 for a chart cast in the program, 0 otherwise
  double JulianDayUT = 0;       // days, Julian day on the chart time scale (UT + Delta T)
  double JulianDay0h = 0;       // days, Julian day of 0h of the record's date
  float UniversalTime = 0;      // hours since 0h of the record's date (may leave [0, 24))
  float TimeZone = 0;           // hours, East positive
  float GeoLatitude = 0;        // degrees, North positive
  float GeoLongitude = 0;       // degrees, East positive
  int HouseCode = 0;            // packed houses (PackHouseCode); below 1000 none
  std::string PlaceName;        // place name, code page 1251
  std::string ChartComment;     // comment or question, code page 1251
};

// The houses a record carries.
struct HouseChoice {
  int QuerentHouse = 0;   // 0..11, 0 = the first house
  int QuesitedHouse = 0;  // 0..11
  int WhoAsks = 0;        // item 0..9 of the querent window's who-asks list
};

// 10000 + 1000 querent + 100 + 10 quesited + who-asks: 10100 .. 21219.
// A who-asks item outside 0..9 (none chosen is -1) is stored as 0, and a house
// outside 0..11 as 0, so the code always unpacks into the ranges above.
int PackHouseCode(int querentHouse, int quesitedHouse, int whoAsks);
// The houses of a code. False when the code carries none: below 1000 (every
// imported record holds 1), or a code whose parts fall outside the ranges.
bool UnpackHouseCode(int code, HouseChoice& houses);

// The line of the root or a section: its node text (DbNodeText) and "/1".
std::string DbSectionLine(std::string_view name);

// The record line of a chart, kind "3". The local time is written to the
// nearest whole second; the date is the civil date of the local moment, taken
// so that it always agrees with the written time (a moment half a second or
// less before local midnight writes 0:0:0 on the next day, never 24:0:0 or
// 0:0:0 on the same day). Zone, latitude and longitude are split as DegToDms
// does; the texts as WriteDbRecordLine writes them.
std::string BuildDbRecordLine(const DbChart& chart);

// Reads a record line. On failure returns false, leaves chart untouched and
// says why in what (no file or line: the caller adds them). The fields are
// cut as ReadDbRecordLine cuts them. UniversalTime = local time - zone, not
// folded into [0, 24); JulianDayUT and JulianDay0h are those of the record's
// date.
bool ParseDbRecord(std::string_view line, DbChart& chart, std::string& what);

// "D.M.Y.h:m:s" of a record line's date and time fields as written (no
// leading zeros): "5.3.2001.14:7:0". Empty for a line that is no record.
std::string FormatDbRecordDateTime(std::string_view line);

// The current chart as a record, with the who-asks item of the querent window.
DbChart DbChartOf(const ChartRecord& record, int whoAsks);
// Writes a parsed record into the chart: name, flag, moment, zone, place,
// comment. The houses (HouseCode) are the caller's to apply.
void ApplyDbChart(const DbChart& chart, ChartRecord& record);

// ---- the tree and the open database ----------------------------------------

struct DbNode {
  std::string Text;        // node text: the root's database name, a section name or ChartName
  int Level = 0;           // 0 for the root (top level), 1 sections under it, ...
  int State = kDbSection;  // kDbSection, kDbSectionExpanded or kDbChart
};

// The tree file's lines: one per node, Level TABs and the text.
LineList BuildTreeText(const std::vector<DbNode>& nodes);

// Reads tree file lines into nodes (State left at kDbSection). The leading
// TABs and spaces of a line are its level; the first line is top level
// whatever its level; a line more than one level below the line before it is
// refused. On failure returns false, leaves nodes untouched and gives the
// 1-based line number and the reason.
bool ParseTreeText(const LineList& lines, std::vector<DbNode>& nodes, std::size_t& badLine,
                   std::string& what);

// What the two files of a pair on disk hold, as far as a save needs to know
// whether another program replaced them since this one read or wrote them:
// whether each file is there, and the fingerprint of its bytes.
struct PairState {
  bool Records = false;            // the record file is there
  bool Tree = false;               // the tree file is there
  std::uint64_t RecordsPrint = 0;  // TextFingerprint of the record file's bytes
  std::uint64_t TreePrint = 0;     // TextFingerprint of the tree file's bytes
  bool operator==(const PairState&) const = default;
};

// The open database. Invariant: Lines.size() == Nodes.size(), and line i is
// the line of node i.
struct ChartDatabase {
  std::vector<DbNode> Nodes;  // the tree in pre-order
  LineList Lines;             // DbRecordLines
  std::string Folder;         // DbFolder: folder of the database last opened, "" none
  std::string SourceFile;     // the ".zrn" file the database was last loaded from or saved to
  bool Modified = false;      // DbModified: changed since it was created, loaded or saved
  PairState Disk;             // the pair of SourceFile as this program last read or wrote it
};

// A new database: the root (name + "/1") and its first section with the
// given text and line; Folder is kept, Modified set (nothing is on disk yet).
void CreateDatabase(ChartDatabase& db, std::string_view name, std::string_view sectionName,
                    std::string_view sectionLine);
// Empties the database: no nodes, no lines, no folder, nothing modified.
void CloseDatabase(ChartDatabase& db);

// One past the last node of node i's subtree.
std::size_t SubtreeEnd(const std::vector<DbNode>& nodes, std::size_t i);
// The parent of node i, or npos for a top-level node (a walk back over the
// node's elder siblings).
std::size_t ParentIndex(const std::vector<DbNode>& nodes, std::size_t i);
// The parent of every node in one pass (npos for top-level nodes): what the
// tree window needs to build its items detached and insert them at once.
std::vector<std::size_t> ParentIndices(const std::vector<DbNode>& nodes);
// The absolute index of the node a path of child positions leads to: path[0]
// is the position among the top-level nodes, each later entry a position
// among the children of the node before. npos when the path leads nowhere.
// What the tree window asks for the item the user picked: one walk over the
// nodes that come before the one found, skipping whole subtrees.
std::size_t NodeAtPath(const std::vector<DbNode>& nodes, const std::vector<int>& path);
// Inserts a node with its line as the last child of parent (npos: a new
// top-level node after the last one); returns its absolute index. Sets Modified.
std::size_t InsertDbNode(ChartDatabase& db, std::size_t parent, DbNode node, std::string line);
// Removes node i with its subtree and their lines. Sets Modified.
void RemoveDbSubtree(ChartDatabase& db, std::size_t i);

// True for a root text usable as a file name: not empty, not "." or "..",
// without "/", "\" or the characters Windows refuses (: * ? " < > |) and
// without control characters.
bool IsDatabaseFileName(std::string_view name);

// The pair read from lines already in memory (LoadDatabasePair's work): the
// node states come from the last character of every line. A 0x1A byte and
// empty lines at the end of either file are its end. Refused, with a message
// naming the file and line, when the tree is malformed, the record file has
// fewer or more lines than the tree has nodes, a line ends in no kind, a
// chart's line is no record, or a line is not its node's: a chart line's name
// (before its "=") or a section line's text (before its "/1") must be the
// node's text, leading TABs and spaces aside, the root's line must be a
// section's, and a chart's line may not stand at a node with items under it. So lines swapped
// between two nodes, and the two files of different saves, are refused instead of read with charts
// under other nodes' names or sections turned into charts. On failure db is untouched; on success
// Nodes and Lines are replaced and Modified cleared.
bool ParseDatabasePair(LineList treeLines, LineList recordLines, const std::string& treeFileName,
                       const std::string& recordFileName, ChartDatabase& db, std::string& message);

// The stem of the pair a chosen file name stands for: the name less a final
// ".zrn" in any case, so that "<stem>.zrn" and "<stem>.zrt" sit side by side
// whatever extension was typed ("base.qck" gives "base.qck", saved as
// "base.qck.zrn").
std::string DatabaseStemOf(const std::string& chosenFile);

// The tree file beside a record file: its last three characters become "zrt"
// in their letter case ("OLD.ZRN" gives "OLD.ZRT"); when no such file exists
// but one with "zrt" in another letter case does, that one.
std::string TreeFileOf(const std::string& recordFile);

// The state of the pair "<stem>.zrn", "<stem>.zrt" on disk (files that
// cannot be read count as missing).
PairState ReadPairState(const std::string& stem);

// How long a load or a save waits for another program's save of the same
// pair to end before it gives up, in milliseconds.
inline constexpr int kPairLockWaitMs = 10000;

// Loads the pair of the ".zrn" file recordFile (path in the file system's
// bytes). All or nothing: on success Nodes, Lines, Folder (the file's folder),
// SourceFile and Disk are set and Modified cleared; on failure db is
// untouched and message says which file and line.
//
// A save cut short (see SaveDatabasePair) is settled first, under the pair's
// lock: when the record file is the one that save wrote (its temporary tree
// file names the record file's fingerprint) and that temporary tree file
// reads with it, the temporary file is renamed over the tree file, which
// finishes the save, and completedFrom (when given) names it. A temporary
// tree file of an older program, which names no fingerprint, is taken in the
// same way when it reads with the record file and is not older than the tree
// file. Once the pair reads, every other temporary file of the pair is
// removed: its save never reached its record file. A pair is refused, and
// nothing removed, when the pair and every temporary file fail to read.
bool LoadDatabasePair(const std::string& recordFile, ChartDatabase& db, std::string& message,
                      std::string* completedFrom = nullptr);

// The temporary files a save cut short left beside the record file and its
// tree file (see SaveDatabasePair): what a message about a pair that will not
// open names. Full paths.
std::vector<std::string> InterruptedSaveFiles(const std::string& recordFile);

// Writes "<stem>.zrt" and "<stem>.zrn" so that a crash at any moment leaves
// the old pair or the new one, or the new record file with the new tree in a
// temporary file that the next load puts in place: both are written to
// temporary files and flushed first, then the record file and then the tree
// file renamed over the old ones (the reasons are told beside the code). The
// whole save holds the pair's lock (FileLock on the record file), so two
// programs never interleave their saves of one pair, and a load never
// settles a save that is still running. A failed write leaves both old files
// as they were. On success clears Modified, sets SourceFile and Disk, and
// removes what earlier saves cut short left; on failure keeps Modified and
// gives "Cannot create file <path>: <the system's reason>".
bool SaveDatabasePair(const std::string& stem, ChartDatabase& db, std::string& message);

enum class SaveOutcome {
  Saved,    // the pair holds the database
  Failed,   // nothing replaced; message says why
  Changed,  // the pair on disk is not the one expected; nothing written
};
// SaveDatabasePair, only when the pair on disk is still expected (the state
// this program read or wrote, or saw when the user agreed to replace it):
// the check and the renames are made under the pair's lock, so no other
// program's save can come between them. On Changed, found is the state on
// disk: saving with found as expected replaces it (after the user agreed).
SaveOutcome SaveDatabasePairIf(const std::string& stem, const PairState& expected,
                               ChartDatabase& db, PairState& found, std::string& message);
