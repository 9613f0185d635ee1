// The horary judgement on fixed charts: the signs of completion for two and
// for five significators a side, and the radicality tests, each with the
// engine's aspect search.
#include <benchmark/benchmark.h>

#include <memory>

#include "judgement/completion.h"
#include "judgement/radicality.h"
#include "tests/judgement/horary_charts.h"

namespace {

struct Moment {
  int day, month, year;
  float hoursUt, latitude, longitude;
};
// London on 6 January 2000 and Moscow on 14 July 1965.
constexpr Moment kMoments[] = {{6, 1, 2000, 6.0f, 51.5f, -0.13f},
                               {14, 7, 1965, 17.5f, 55.75f, 37.6f}};

// The chart as the tests cast it, with Regiomontanus houses.
std::unique_ptr<ChartRecord> Chart(const Moment& m) {
  return horary_test::CastHorary(m.day, m.month, m.year, m.hoursUt, m.latitude, m.longitude,
                                 horary_test::kRegiomontanus);
}

void Completion(benchmark::State& state, int perSide) {
  const auto chart = Chart(kMoments[state.range(0)]);
  SignificatorLists lists;
  const int querent[5] = {kBodyMoon, kBodyMercury, kBodyVenus, kBodyMars, kBodyJupiter};
  const int quesited[5] = {kBodySun, kBodySaturn, kBodyUranus, kBodyNeptune, kBodyPluto};
  for (int i = 0; i < perSide; ++i) {
    lists.Querent[i] = querent[i];
    lists.Quesited[i] = quesited[i];
  }
  const TimedSearch search = EngineSearch();
  for (auto _ : state)
    benchmark::DoNotOptimize(FindCompletionEvents(*chart, lists, kWithOuterPlanets, {}, search));
}

void BM_CompletionTwoAndTwo(benchmark::State& state) { Completion(state, 2); }
void BM_CompletionFiveAndFive(benchmark::State& state) { Completion(state, 5); }

void BM_Radicality(benchmark::State& state) {
  const auto chart = Chart(kMoments[state.range(0)]);
  RadicalityInput input;
  input.QuerentSignificator = kBodyMercury;
  input.QuesitedSignificator = kBodySaturn;
  input.SignRulerOption = kWithOuterPlanets;
  const TimedSearch search = EngineSearch();
  for (auto _ : state) benchmark::DoNotOptimize(AnalyseRadicality(*chart, input, search));
}

BENCHMARK(BM_CompletionTwoAndTwo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompletionFiveAndFive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Radicality)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
