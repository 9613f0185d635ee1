// A database tree file: read, written and read again gives the same nodes,
// and the written text itself.
#include "fuzz/fuzz_support.h"
#include "mainwindow/chartdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const LineList lines = LinesOfText(FuzzBytes(data, size));
  std::vector<DbNode> nodes;
  std::size_t badLine = 0;
  std::string what;
  if (!ParseTreeText(lines, nodes, badLine, what)) {
    FUZZ_CHECK(badLine >= 2 && badLine <= lines.size(), "line %zu of %zu", badLine, lines.size());
    return 0;
  }
  FUZZ_CHECK(nodes.size() == lines.size(), "%zu nodes of %zu lines", nodes.size(), lines.size());
  const LineList written = BuildTreeText(nodes);
  std::vector<DbNode> back;
  FUZZ_CHECK(ParseTreeText(written, back, badLine, what), "%s", what.c_str());
  FUZZ_CHECK(back.size() == nodes.size(), "size");
  const std::vector<std::size_t> parents = ParentIndices(nodes);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    FUZZ_CHECK(back[i].Text == nodes[i].Text && back[i].Level == nodes[i].Level, "node %zu", i);
    FUZZ_CHECK(i == 0 || nodes[i].Level <= nodes[i - 1].Level + 1, "jump at %zu", i);
    const std::size_t parent = parents[i];
    if (i >= 1000) continue;  // the walks below are linear in the node count
    FUZZ_CHECK(parent == ParentIndex(nodes, i), "parent of %zu", i);
    FUZZ_CHECK(parent == std::string::npos || SubtreeEnd(nodes, parent) > i, "subtree of %zu", i);
  }
  FUZZ_CHECK(BuildTreeText(back) == written, "text");
  return 0;
}
