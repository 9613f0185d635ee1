// The language file: its lines become the string table, and the chart record
// takes its names from it.
#include <memory>

#include "chart/chartrecord.h"
#include "fuzz/fuzz_support.h"
#include "mainwindow/uistrings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  UiStringTable table;
  table.Entries = LinesOfText(FuzzBytes(data, size));
  if (table.Entries.size() < static_cast<std::size_t>(kUiEntryCount))
    table.Entries.resize(static_cast<std::size_t>(kUiEntryCount));
  (void)ShowHelpItem(table);
  for (const MenuCaptionEntry& caption : kMenuCaptionEntries) (void)table.Entry(caption.entry);
  for (int n = -1; n <= table.Count(); ++n) (void)table.Entry(n);
  auto record = std::make_unique<ChartRecord>();
  InitChartRecord(*record, table.Entries, static_cast<int>(size % 3));
  return 0;
}
