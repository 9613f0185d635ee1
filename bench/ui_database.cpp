// The chart database of 100,000 charts opened in the main window: both files
// read and checked, the node kinds restored, and the database panel's tree
// built in its place (the old tree of the same size dropped first), as the
// open command does it. The program's windows run on a scratch copy of the
// factory data tree.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/generated_database.h"
#include "mainwindow/chartdb.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"

namespace {

namespace fs = std::filesystem;

struct OpenBench {
  OpenBench()
      : folder(fs::temp_directory_path() / ("horary_dbopen_bench_" + std::to_string(::getpid()))) {
    fs::remove_all(folder);
    fs::copy(fs::path(HORARY_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
    ChartDatabase db = bench::GeneratedDatabase();
    std::string message;
    if (!SaveDatabasePair((folder / "generated").string(), db, message))
      throw std::runtime_error(message);
    windows = CreateProgramWindows(folder.string());
  }
  ~OpenBench() {
    windows.reset();
    fs::remove_all(folder);
  }
  fs::path folder;
  std::unique_ptr<ProgramWindows> windows;
};

void BM_OpenDatabaseIntoTree(benchmark::State& state) {
  OpenBench bench;
  TBaseForm& form = *bench.windows->BaseForm;
  const std::string file = (bench.folder / "generated.zrn").string();
  for (auto _ : state) {
    std::string message;
    if (!LoadDatabasePair(file, form.Database, message)) state.SkipWithError(message.c_str());
    form.ShowDatabase();
  }
  state.counters["items"] = static_cast<double>(form.TreeBD()->topLevelItem(0)->childCount());
}
BENCHMARK(BM_OpenDatabaseIntoTree)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
