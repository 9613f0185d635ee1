// A database pair in memory (tree bytes, NUL, record bytes): a pair that
// reads has one line per node, each node's kind from its line, every chart
// line a record, every line naming its node (leading TABs and spaces aside)
// and a section's line for the root; written out and read again it is the
// same database, and so it is with empty lines and a 0x1A after either file.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "mainwindow/chartdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = FuzzParts(FuzzBytes(data, size), 2);
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
