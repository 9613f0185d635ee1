// The three shipped blanks printed into one PDF document through the
// designer's printing, in the started program with a computed chart
// (6 January 2000, 18:00 UT, the default place). The label names the last
// document, left in the temporary folder for looking at.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/messages.h"
#include "platform/qt/printing_device.h"
#include "printing/ui/printdiziner.h"

namespace fs = std::filesystem;

namespace {

void BM_PrintShippedBlanksToPdf(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "horary-bench-printing";
  fs::remove_all(folder);
  fs::copy(fs::path(HORARY_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
  const MessageSink previous = SetMessageSink([](MessageKind, const std::string&) {});
  {
    std::unique_ptr<ProgramWindows> windows = CreateProgramWindows(folder.string());
    TPictureRadixChart* chart = windows->PictureRadixChart;
    chart->FormShow();
    chart->Chart.UniversalTime = 18.0f;
    chart->Chart.JulianDay0h = JulianDay(6, 1, 2000, 0);
    chart->Chart.JulianDayUT = JulianDay(6, 1, 2000, 18.0f);
    chart->Recalc();
    LoadBlankModel(folder.string() + "/Print", ProgramBlanks());
    AdoptLoadedBlanks();
    PagePrinter().SetPrintToPdf(true);
    TPrintDiziner& designer = *windows->PrintDiziner;
    designer.PrintMode = 1;
    std::string last;
    for (auto _ : state) {
      designer.PrintBlanks({0, 1, 2});
      state.PauseTiming();
      if (!last.empty()) fs::remove(last);
      last = PagePrinter().OutputFile();
      state.ResumeTiming();
    }
    state.SetLabel(last);
    designer.PrintMode = -1;
    PagePrinter().SetPrintToPdf(false);
  }
  SetMessageSink(previous);
}
BENCHMARK(BM_PrintShippedBlanksToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
