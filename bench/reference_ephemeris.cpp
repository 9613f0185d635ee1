// The all-bodies driver side by side with a reference ephemeris library in
// one process: the Swiss Ephemeris in its analytical mode (Moshier's series,
// no files), apparent places (its default: light time, aberration, light
// deflection, nutation), for the bodies both compute: the Sun, the Moon,
// Mercury to Pluto, the mean node and the mean apogee. Built only when the
// library is installed (Debian's libswe-dev).
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <algorithm>
#include <chrono>

#include "engine/astromath.h"
#include "engine/bodies.h"

namespace {

constexpr int kReferenceBodies[] = {SE_SUN,     SE_MOON,    SE_MERCURY,   SE_VENUS,
                                    SE_MARS,    SE_JUPITER, SE_SATURN,    SE_URANUS,
                                    SE_NEPTUNE, SE_PLUTO,   SE_MEAN_NODE, SE_MEAN_APOG};

// One moment of the reference: every body, analytical mode, apparent places.
// The moment moves on each call, as the library keeps the last one's Earth.
void ReferenceMoment(double jd) {
  double xx[6];
  char error[AS_MAXCH];
  for (int body : kReferenceBodies) {
    swe_calc(jd, body, SEFLG_MOSEPH, xx, error);
    benchmark::DoNotOptimize(xx);
  }
}

void EngineMoment(double jd) {
  BodyPositions p;
  p.Selector = kSelectorAllBodies;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p);
  benchmark::DoNotOptimize(p.Longitude);
}

const double kStartJd = JulianDay(15, 7, 1990, 8.0f);

void BM_ReferenceAllBodies(benchmark::State& state) {
  double jd = kStartJd;
  for (auto _ : state) {
    ReferenceMoment(jd);
    jd += 0.0037;
  }
}
BENCHMARK(BM_ReferenceAllBodies)->Unit(benchmark::kMicrosecond);

// Both in turns, in blocks of two hundred moments over the same dates, so
// that both see the same machine. The counters give the time per moment of
// each (microseconds) and how many times faster the engine is, over all
// blocks and in each one's fastest block (the other processes of a busy
// machine only ever add time; the reference, with its larger tables, loses
// more to them).
void BM_EngineAgainstReference(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  constexpr int kBlock = 200;
  double engineAll = 0, referenceAll = 0, engineBest = 1e30, referenceBest = 1e30, blocks = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int i = 0; i < kBlock; ++i) EngineMoment(kStartJd + 0.0037 * i);
    const auto t1 = Clock::now();
    for (int i = 0; i < kBlock; ++i) ReferenceMoment(kStartJd + 0.0037 * i);
    const auto t2 = Clock::now();
    const double engine = std::chrono::duration<double>(t1 - t0).count();
    const double reference = std::chrono::duration<double>(t2 - t1).count();
    engineAll += engine, referenceAll += reference, blocks += 1;
    engineBest = std::min(engineBest, engine);
    referenceBest = std::min(referenceBest, reference);
  }
  state.counters["engine_us"] = 1e6 * engineAll / (blocks * kBlock);
  state.counters["reference_us"] = 1e6 * referenceAll / (blocks * kBlock);
  state.counters["times_faster"] = referenceAll / engineAll;
  state.counters["best_engine_us"] = 1e6 * engineBest / kBlock;
  state.counters["best_reference_us"] = 1e6 * referenceBest / kBlock;
  state.counters["best_times_faster"] = referenceBest / engineBest;
}
BENCHMARK(BM_EngineAgainstReference)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
