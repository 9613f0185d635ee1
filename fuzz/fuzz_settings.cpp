// A chart settings file (first byte: which of the sixteen, the rest its
// content). A file that reads writes lines that read again to the same lines.
#include <memory>

#include "chart/chartrecord.h"
#include "chart/settingsfiles.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string name = kChartSettingsReadOrder[data[0] % 16];
  const LineList lines = LinesOfText(FuzzBytes(data + 1, size - 1));
  static const auto fresh = [] {
    auto r = std::make_unique<ChartRecord>();
    InitChartRecord(*r, {}, 0);
    return r;
  }();
  auto record = std::make_unique<ChartRecord>(*fresh);
  SettingsOutsideRecord outside;
  std::string message;
  if (!ReadChartSettingsLines(name, name, lines, *record, outside, message)) {
    FUZZ_CHECK(message.rfind(name + ", line ", 0) == 0, "%s", message.c_str());
    return 0;
  }
  const LineList written = ChartSettingsFileLines(name, *record, outside);
  auto again = std::make_unique<ChartRecord>(*fresh);
  SettingsOutsideRecord outsideAgain;
  FUZZ_CHECK(ReadChartSettingsLines(name, name, written, *again, outsideAgain, message), "%s",
             message.c_str());
  FUZZ_CHECK(ChartSettingsFileLines(name, *again, outsideAgain) == written, "%s rewritten",
             name.c_str());
  return 0;
}
