// Chart database of 100,000 charts: loading the pair (both files read, the
// tree and every record line checked, the node kinds restored) and saving it
// (both files written to temporaries, synced and renamed).
//
// The database is generated once: a root, 100 sections of 10 subsections,
// each subsection holding 100 charts with varied moments, places and texts.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/astromath.h"
#include "mainwindow/chartdb.h"

namespace {

constexpr int kSections = 100;
constexpr int kSubsections = 10;
constexpr int kChartsPerSubsection = 100;  // 100 x 10 x 100 = 100,000 charts

ChartDatabase GeneratedDatabase() {
  ChartDatabase db;
  CreateDatabase(db, "Generated", "Section 0", "Section 0/1");
  db.Nodes.pop_back();
  db.Lines.pop_back();
  int n = 0;
  for (int s = 0; s < kSections; ++s) {
    const std::string section = "Section " + std::to_string(s);
    db.Nodes.push_back({section, 1, kDbSection});
    db.Lines.push_back(section + "/1");
    for (int u = 0; u < kSubsections; ++u) {
      const std::string sub = "Questions " + std::to_string(u);
      db.Nodes.push_back({sub, 2, kDbSection});
      db.Lines.push_back(sub + "/1");
      for (int c = 0; c < kChartsPerSubsection; ++c, ++n) {
        DbChart chart;
        chart.ChartName = "Chart number " + std::to_string(n);
        chart.UniversalTime = static_cast<float>((n * 7919) % 86400) / 3600.0f;
        chart.TimeZone = static_cast<float>(n % 25 - 12);
        chart.JulianDay0h = JulianDay(1 + n % 28, 1 + n % 12, 1900 + n % 130, 0.0f);
        chart.JulianDayUT = JulianDay(1 + n % 28, 1 + n % 12, 1900 + n % 130, chart.UniversalTime);
        chart.GeoLatitude = static_cast<float>(n % 180 - 90) + 0.25f;
        chart.GeoLongitude = static_cast<float>(n % 360 - 180) + 0.5f;
        chart.HouseCode = PackHouseCode(n % 12, (n / 12) % 12, n % 10);
        chart.PlaceName = "Town of the chart";
        chart.ChartComment = "Will the matter asked about come to pass this year?";
        db.Nodes.push_back({chart.ChartName, 3, kDbChart});
        db.Lines.push_back(BuildDbRecordLine(chart));
      }
    }
  }
  return db;
}

// A folder of its own under the temporary folder, holding the generated pair.
struct BenchFolder {
  BenchFolder()
      : path(std::filesystem::temp_directory_path() /
             ("chartdb_bench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path);
    ChartDatabase db = GeneratedDatabase();
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
  const ChartDatabase generated = GeneratedDatabase();
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
  ChartDatabase db = GeneratedDatabase();
  const std::string stem = Folder().Stem() + "_saved";
  for (auto _ : state) {
    std::string message;
    if (!SaveDatabasePair(stem, db, message)) state.SkipWithError(message.c_str());
  }
}
BENCHMARK(BM_SaveDatabasePair)->Unit(benchmark::kMillisecond);

}  // namespace
