// Chart database of 100,000 charts: loading the pair (both files read, the
// tree and every record line checked, the node kinds restored) and saving it
// (both files written to temporaries, synced and renamed).
//
// The database is generated once (bench/generated_database.h).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/generated_database.h"
#include "mainwindow/chartdb.h"

namespace {

// A folder of its own under the temporary folder, holding the generated pair.
struct BenchFolder {
  BenchFolder()
      : path(std::filesystem::temp_directory_path() /
             ("chartdb_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path);
    ChartDatabase db = bench::GeneratedDatabase();
    std::string message;
    if (!SaveDatabasePair(Stem(), db, message)) throw std::runtime_error(message);
  }
  ~BenchFolder() { std::filesystem::remove_all(path); }
  std::string Stem() const { return (path / "generated").string(); }
  std::filesystem::path path;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

void BM_LoadDatabasePair(benchmark::State& state) {
  const std::string file = Folder().Stem() + ".zrn";
  for (auto _ : state) {
    ChartDatabase db;
    std::string message;
    if (!LoadDatabasePair(file, db, message)) state.SkipWithError(message.c_str());
    benchmark::DoNotOptimize(db);
  }
}
BENCHMARK(BM_LoadDatabasePair)->Unit(benchmark::kMillisecond);

// The same without the file reads: the tree, the record checks and the kinds.
void BM_ParseDatabasePair(benchmark::State& state) {
  const ChartDatabase generated = bench::GeneratedDatabase();
  const LineList tree = BuildTreeText(generated.Nodes);
  for (auto _ : state) {
    ChartDatabase db;
    std::string message;
    if (!ParseDatabasePair(tree, generated.Lines, "g.zrt", "g.zrn", db, message))
      state.SkipWithError(message.c_str());
    benchmark::DoNotOptimize(db);
  }
}
BENCHMARK(BM_ParseDatabasePair)->Unit(benchmark::kMillisecond);

void BM_SaveDatabasePair(benchmark::State& state) {
  ChartDatabase db = bench::GeneratedDatabase();
  const std::string stem = Folder().Stem() + "_saved";
  for (auto _ : state) {
    std::string message;
    if (!SaveDatabasePair(stem, db, message)) state.SkipWithError(message.c_str());
  }
}
BENCHMARK(BM_SaveDatabasePair)->Unit(benchmark::kMillisecond);

}  // namespace
