// A database pair in memory (tree bytes, NUL, record bytes): a pair that
// reads has one line per node, each node's kind from its line, every chart
// line a record at a node without items under it, every line naming its node (leading TABs and
// spaces aside) and a section's line for the root; written out and read again it is the same
// database, and so it is with empty lines and a 0x1A after either file. With a third part, the
// files on disk and a save cut short between its renames: the third part is the temporary tree file
// that save named after the record file. The load takes it exactly when it reads with the record
// file, puts it in place of the tree file and leaves no temporary file; otherwise it loads the pair
// as it is, and refuses only what neither tree reads with.
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "mainwindow/chartdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = FuzzParts(FuzzBytes(data, size), 3);
  if (parts.size() == 3) {
    static const std::string folder = [] {
      const auto path =
          std::filesystem::temp_directory_path() / ("fuzz_dbpair_" + std::to_string(::getpid()));
      std::filesystem::create_directories(path);
      return path.string();
    }();
    std::uint64_t print = TextFingerprint(parts[1]);
    std::string tag(16, '0');
    for (int i = 15; i >= 0; --i, print >>= 4)
      tag[static_cast<std::size_t>(i)] = "0123456789abcdef"[print & 15];
    const std::string stem = folder + "/p";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      std::filesystem::remove(entry.path());
    PendingFile tree, records, left;
    FUZZ_CHECK(WriteTextPending(stem + ".zrt", parts[0], {}, tree) && CommitPendingFile(tree) &&
                   WriteTextPending(stem + ".zrn", parts[1], {}, records) &&
                   CommitPendingFile(records) &&
                   WriteTextPending(stem + ".zrt", parts[2], tag, left),
               "cannot write the files");
    ChartDatabase asIs, fromLeft;
    std::string message, completed;
    const bool pairReads =
        ParseDatabasePair(LinesOfText(parts[0]), LinesOfText(parts[1]), "t", "n", asIs, message);
    const bool leftReads = ParseDatabasePair(LinesOfText(parts[2]), LinesOfText(parts[1]), "t", "n",
                                             fromLeft, message);
    ChartDatabase loaded;
    const bool ok = LoadDatabasePair(stem + ".zrn", loaded, message, &completed);
    FUZZ_CHECK(ok == (pairReads || leftReads), "loaded %d: %s", ok, message.c_str());
    FUZZ_CHECK(completed.empty() != leftReads, "the temporary file taken: %d", leftReads);
    if (ok) {
      FUZZ_CHECK(loaded.Lines == (leftReads ? fromLeft : asIs).Lines, "other lines loaded");
      FUZZ_CHECK(InterruptedSaveFiles(stem + ".zrn").empty(), "a temporary file is left");
      std::string onDisk;
      FUZZ_CHECK(
          ReadFileBytes(stem + ".zrt", onDisk) && onDisk == (leftReads ? parts[2] : parts[0]),
          "the tree file on disk");
    }
    return 0;
  }
  const LineList tree = LinesOfText(parts[0]);
  const LineList records = parts.size() > 1 ? LinesOfText(parts[1]) : LineList{};
  ChartDatabase db;
  CreateDatabase(db, "open", "one", "one/1");
  const ChartDatabase before = db;
  std::string message;
  if (!ParseDatabasePair(tree, records, "t.zrt", "t.zrn", db, message)) {
    FUZZ_CHECK(db.Lines == before.Lines && db.Nodes.size() == before.Nodes.size() && db.Modified,
               "a refused pair changed the open database: %s", message.c_str());
    FUZZ_CHECK(message.rfind("t.zr", 0) == 0, "%s", message.c_str());
    return 0;
  }
  FUZZ_CHECK(db.Lines.size() == db.Nodes.size(), "%zu lines, %zu nodes", db.Lines.size(),
             db.Nodes.size());
  FUZZ_CHECK(!db.Modified, "modified after a load");
  DbChart chart;
  std::string what;
  for (std::size_t i = 0; i < db.Nodes.size(); ++i) {
    const std::string& line = db.Lines[i];
    FUZZ_CHECK(db.Nodes[i].State == line.back() - '0', "state of %zu", i);
    const bool isChart = db.Nodes[i].State == kDbChart;
    if (isChart) FUZZ_CHECK(ParseDbRecord(line, chart, what), "line %zu: %s", i, what.c_str());
    FUZZ_CHECK(i > 0 || !isChart, "the root is a chart");
    FUZZ_CHECK(!isChart || i + 1 == db.Nodes.size() || db.Nodes[i + 1].Level <= db.Nodes[i].Level,
               "the chart %zu has items under it", i);
    std::string_view name(line);
    name = isChart ? name.substr(0, name.find('=')) : name.substr(0, name.size() - 2);
    name.remove_prefix(std::min(name.find_first_not_of("\t "), name.size()));
    FUZZ_CHECK(name == db.Nodes[i].Text && (isChart || line[line.size() - 2] == '/'),
               "line %zu names another node: %s", i, line.c_str());
  }
  if (!tree.empty() && !records.empty()) {
    LineList endedTree = tree, endedRecords = records;
    for (LineList* lines : {&endedTree, &endedRecords}) lines->insert(lines->end(), {"", "\x1A"});
    ChartDatabase ended;
    FUZZ_CHECK(ParseDatabasePair(endedTree, endedRecords, "t.zrt", "t.zrn", ended, message),
               "with an end of file: %s", message.c_str());
    FUZZ_CHECK(ended.Lines == db.Lines && ended.Nodes.size() == db.Nodes.size(),
               "an end of file read as lines");
  }
  ChartDatabase again;
  FUZZ_CHECK(ParseDatabasePair(BuildTreeText(db.Nodes), db.Lines, "t.zrt", "t.zrn", again, message),
             "%s", message.c_str());
  FUZZ_CHECK(again.Lines == db.Lines && again.Nodes.size() == db.Nodes.size(), "reread");
  for (std::size_t i = 0; i < db.Nodes.size(); ++i)
    FUZZ_CHECK(again.Nodes[i].Text == db.Nodes[i].Text &&
                   again.Nodes[i].Level == db.Nodes[i].Level &&
                   again.Nodes[i].State == db.Nodes[i].State,
               "node %zu", i);
  return 0;
}
