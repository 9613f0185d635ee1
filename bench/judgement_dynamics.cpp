// Orb windows of the dynamics: a Moon pair (the new moon of 6 January 2000,
// orb 12 degrees, 30-second steps), slow pairs (Jupiter and Saturn on
// 21 December 2020, orb 6 degrees; Uranus and Neptune on 2 February 1993,
// orb 8 degrees, a window of years in four-hour steps) and a window that
// never closes (the Sun and Mercury with a 30-degree orb, stopped at the
// bound of 200,000 steps a side).
#include <benchmark/benchmark.h>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "judgement/dynamics.h"

namespace {

void OrbWindow(benchmark::State& state, int a, int b, float orb, double moment) {
  DynamicsRecord r;
  r.FirstObject = a;
  r.SecondObject = b;
  r.DynAspectOrb = orb;
  for (auto _ : state) {
    CalcAspectOrbWindow(r, moment);
    // a copy: DoNotOptimize may write its operand back from a register
    double end = r.WindowEnd;
    benchmark::DoNotOptimize(end);
  }
  state.counters["days"] = r.WindowEnd - r.WindowStart;
}

void BM_OrbWindowMoonPair(benchmark::State& state) {
  OrbWindow(state, kSun, kMoon, 12, JulianDay(6, 1, 2000, 12.0f));
}
void BM_OrbWindowJupiterSaturn(benchmark::State& state) {
  OrbWindow(state, kJupiter, kSaturn, 6, JulianDay(21, 12, 2020, 12.0f));
}
void BM_OrbWindowUranusNeptune(benchmark::State& state) {
  OrbWindow(state, kUranus, kNeptune, 8, JulianDay(2, 2, 1993, 12.0f));
}
void BM_OrbWindowNeverCloses(benchmark::State& state) {
  OrbWindow(state, kSun, kMercury, 30, JulianDay(1, 6, 2005, 0.0f));
}

BENCHMARK(BM_OrbWindowMoonPair)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrbWindowJupiterSaturn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrbWindowUranusNeptune)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrbWindowNeverCloses)->Unit(benchmark::kMillisecond);

}  // namespace
