// Charts from other programs and from the disk: importing a Quick*Chart file
// of 100,000 charts (file read, every line read and written as a record, the
// database built), and the search for a name in 10,000 database files of
// 100 KB each, 1 GB in all, with the files in the page cache.
//
// The files are generated under the temporary folder when the benchmark runs
// and removed afterwards. HORARY_BENCH_SEARCH_FILES scales the search's file
// count (default 10000).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "mainwindow/chartimport.h"
#include "mainwindow/dbsearch.h"

namespace {

namespace fs = std::filesystem;

constexpr int kQuickChartLines = 100000;
constexpr int kSearchFolders = 100;
constexpr std::size_t kSearchFileBytes = 100 * 1024;

fs::path Scratch(const std::string& name) {
  return fs::temp_directory_path() / ("horary-bench-" + name + "-" + std::to_string(::getpid()));
}

// A Quick*Chart line of chart n, every column filled.
std::string QuickChartLine(int n) {
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char line[128];
  std::snprintf(line, sizeof line,
                "%-23.23s%s %02d  %04d%02d:%02d:%02d %s    %c%02d:%02d%03d%c%02d'%02d "
                "%02d%c%02d'%02d %-25.25s",
                ("Person " + std::to_string(n)).c_str(), kMonths[n % 12], n % 28 + 1,
                1900 + n % 120, n % 12 + 1, n % 60, (n * 7) % 60, n % 2 ? "PM" : "AM",
                n % 3 ? '+' : '-', n % 12, n % 4 * 15, n % 180, n % 2 ? 'W' : 'E', n % 60,
                (n * 3) % 60, n % 90, n % 2 ? 'S' : 'N', n % 60, (n * 5) % 60,
                ("Place " + std::to_string(n % 1000)).c_str());
  return line;
}

void BM_ImportQuickChart(benchmark::State& state) {
  const fs::path folder = Scratch("qck");
  fs::create_directories(folder);
  const std::string file = (folder / "charts.qck").string();
  {
    std::ofstream out(file, std::ios::binary);
    for (int n = 0; n < kQuickChartLines; ++n) out << QuickChartLine(n) << "\r\n";
  }
  const ImportTexts texts{"Section 1", "Database"};
  for (auto _ : state) {
    ChartDatabase db;
    ImportFailure failure;
    if (!ImportForeignFile(file, ForeignFormat::QuickChart, texts, db, failure)) {
      state.SkipWithError("import failed");
      break;
    }
    benchmark::DoNotOptimize(db.Lines.data());
  }
  state.counters["charts"] = kQuickChartLines;
  fs::remove_all(folder);
}
BENCHMARK(BM_ImportQuickChart)->Unit(benchmark::kMillisecond);

// 10,000 record files of 100 KB in 100 folders; one file in a hundred holds
// the name searched for, on its last line, so every file is read to its end.
void BM_SearchDiskDatabases(benchmark::State& state) {
  const char* scaled = std::getenv("HORARY_BENCH_SEARCH_FILES");
  const int files = scaled != nullptr ? std::max(1, std::atoi(scaled)) : 10000;
  const fs::path root = Scratch("search");
  std::string body = "Database/1\r\nSection 1/1\r\n";
  for (int n = 0; body.size() < kSearchFileBytes; ++n)
    body += "Person " + std::to_string(n) +
            "=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/10162/1/Moscow/A question about the move/3\r\n";
  std::uintmax_t bytes = 0;
  for (int f = 0; f < files; ++f) {
    const fs::path folder = root / ("folder" + std::to_string(f % kSearchFolders));
    if (f < kSearchFolders) fs::create_directories(folder);
    std::ofstream out(folder / ("base" + std::to_string(f) + ".zrn"), std::ios::binary);
    out << body << (f % 100 == 0 ? "IVANOV" : "Petrov")
        << "=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/1/1///3\r\n";
    bytes += body.size() + 48;
  }
  (void)FindDatabaseFiles(root.string(), "ivanov");  // into the page cache
  std::size_t found = 0;
  for (auto _ : state) found = FindDatabaseFiles(root.string(), "ivanov").Files.size();
  if (found != static_cast<std::size_t>((files + 99) / 100)) state.SkipWithError("wrong count");
  state.counters["files"] = files;
  state.counters["MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  fs::remove_all(root);
}
BENCHMARK(BM_SearchDiskDatabases)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
