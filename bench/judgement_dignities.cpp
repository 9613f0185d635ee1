// The dignities table of fixed charts: both tables of scores with the grids'
// texts, as the dignities window computes them on every showing.
#include <benchmark/benchmark.h>

#include <memory>

#include "judgement/dignities.h"
#include "tests/judgement/horary_charts.h"

namespace {

void BM_DignitiesTable(benchmark::State& state) {
  // London on 6 January 2000, Regiomontanus houses
  const auto chart =
      horary_test::CastHorary(6, 1, 2000, 6.0, 51.5f, -0.13f, horary_test::kRegiomontanus);
  DignityTables tables;
  if (!LoadDignityTables(std::string(HORARY_SOURCE_DIR) + "/data", tables).Ok) {
    state.SkipWithError("the factory dignity tables did not load");
    return;
  }
  const DignityChoice choice{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
  for (auto _ : state) benchmark::DoNotOptimize(CalcDignities(*chart, tables, choice, {}));
}
BENCHMARK(BM_DignitiesTable)->Args({0, 0})->Args({2, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
