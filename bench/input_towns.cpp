// Town search over the shipped towns files.
//
// The search reads the files afresh each time the button is pressed, so the
// whole search (reading included) is what the user waits for; the prefix
// search alone is measured over lines read once outside the loop.
#include <benchmark/benchmark.h>

#include <string>

#include "input/timezones.h"
#include "input/townsdb.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

namespace {

// The data folder of the source tree, found from this file's own path.
std::string FactoryTowns() {
  std::string path = __FILE__;
  path.erase(path.rfind('/'));  // .../bench
  path.erase(path.rfind('/'));  // source root
  return path + "/data/Towns/";
}

// A name in the Russian file: one file read.
void BM_SearchTownsRussian(benchmark::State& state) {
  const std::string folder = FactoryTowns();
  const std::string typed = Cp("новос");
  for (auto _ : state) {
    TownSearchResult result = SearchTowns(folder, typed);
    if (result.Status != TownSearchStatus::Found) state.SkipWithError("not found");
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_SearchTownsRussian)->Unit(benchmark::kMicrosecond);

// A name no file holds: all three files read and searched (the slowest case).
void BM_SearchTownsNowhere(benchmark::State& state) {
  const std::string folder = FactoryTowns();
  for (auto _ : state) {
    TownSearchResult result = SearchTowns(folder, "Qqqq");
    if (result.Status != TownSearchStatus::NotFound) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_SearchTownsNowhere)->Unit(benchmark::kMicrosecond);

// The prefix search alone over the foreign file (the longest), read once.
void BM_PrefixSearchForeign(benchmark::State& state) {
  LineList lines;
  if (!ReadLines(FactoryTowns() + kForeignTownsFileName, lines)) {
    state.SkipWithError("cannot read the foreign towns file");
    return;
  }
  for (auto _ : state) {
    TownMatchRange range = FindTownsByPrefix(lines, "san fr");
    benchmark::DoNotOptimize(range);
  }
}
BENCHMARK(BM_PrefixSearchForeign)->Unit(benchmark::kMicrosecond);

// The zone of a chosen foreign town: its line read, one zone-rule file read
// and walked. Chicago's file is among the longest (a change every spring and
// autumn); Paris's is one of the thirty named files.
void BM_ZoneOfForeignTown(benchmark::State& state, const char* prefix) {
  const std::string folder = FactoryTowns();
  TownSearchResult found = SearchTowns(folder, prefix);
  if (found.Status != TownSearchStatus::Found) {
    state.SkipWithError("town not found");
    return;
  }
  const std::string line = ChooseTown(found, 0).Line;
  const double moment = LocalMoment(15, 7, 1990, 12.0);
  for (auto _ : state) {
    TownZone zone = ZoneOfForeignTownLine(folder, line, moment);
    if (!zone.Ok) state.SkipWithError(zone.Message.c_str());
    benchmark::DoNotOptimize(zone);
  }
}
BENCHMARK_CAPTURE(BM_ZoneOfForeignTown, Chicago, "Chicago ")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZoneOfForeignTown, Paris, "Paris ")->Unit(benchmark::kMicrosecond);

// The zone of a chosen Russian or CIS town: its region's own zone-rule file
// read and walked (Kyiv's, with the European summer time spelled out to
// 2037, is among the longest); a code of Time.ttt without a file of its own
// ("55", one of the padding lines) reads Time.ttt and Hour_zone.ttt instead.
void BM_ZoneOfRegionTown(benchmark::State& state, const char* code) {
  const std::string folder = FactoryTowns();
  const std::string line = std::string("Town=                50:27   30:31   ") + code;
  const double moment = LocalMoment(15, 7, 1990, 12.0);
  for (auto _ : state) {
    TownZone zone = ZoneOfRegionTownLine(folder, line, moment);
    if (!zone.Ok) state.SkipWithError(zone.Message.c_str());
    benchmark::DoNotOptimize(zone);
  }
}
BENCHMARK_CAPTURE(BM_ZoneOfRegionTown, Kyiv, "08")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZoneOfRegionTown, Moscow, "10")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZoneOfRegionTown, TimeTtt, "55")->Unit(benchmark::kMicrosecond);

}  // namespace
