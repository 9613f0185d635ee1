// Engine benchmarks: the all-bodies driver, the house systems and the
// aspect-time search, on fixed inputs.
#include <benchmark/benchmark.h>

#include <iterator>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/houses.h"
#include "engine/timing.h"

namespace {

// All bodies of a chart for one moment.
void BM_CalcBodiesAll(benchmark::State& state) {
  double T = (JulianDay(15, 7, 1990, 8.0f) - kJ2000) / kDaysPerJulianCentury;
  for (auto _ : state) {
    BodyPositions p;
    p.Selector = kSelectorAllBodies;
    p.T = T;
    CalcBodies(p);
    benchmark::DoNotOptimize(p.Longitude);
    T += 1e-7;
  }
}
BENCHMARK(BM_CalcBodiesAll);

// One house system, Moscow, 15 July 1990, 08:00 UT.
void BM_CalcHouseCusps(benchmark::State& state) {
  const int system = static_cast<int>(state.range(0));
  HouseCuspRecord base;
  base.JulianDay0h = JulianDay(15, 7, 1990, 0);
  base.UniversalTime = 8;
  base.MomentJulianDay = base.JulianDay0h + 8 / 24.0;
  base.PlaceLatitude = 55.75f;
  base.PlaceLongitude = 37.58f;
  base.SunLongitude = 112.6f;
  base.MoonLongitude = 31.2f;
  base.MarsLongitude = 20.4f;
  base.SaturnLongitude = 292.3f;
  for (auto _ : state) {
    HouseCuspRecord r = base;
    HouseResult res = CalcHouseCusps(r, system);
    benchmark::DoNotOptimize(r.Cusps);
    benchmark::DoNotOptimize(res);
  }
}
BENCHMARK(BM_CalcHouseCusps)->DenseRange(1, kHouseSystemCount);

// Sunrise and sunset of one date, Moscow, 15 July 1990.
void BM_CalcSunRiseSet(benchmark::State& state) {
  const double jd = JulianDay(15, 7, 1990, 8);
  for (auto _ : state) {
    float rise = 0, set = 0;
    SunRiseSetStatus st = CalcSunRiseSet(8, 55.75f, 37.58f, 112.6f, jd, rise, set);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(rise);
    benchmark::DoNotOptimize(set);
  }
}
BENCHMARK(BM_CalcSunRiseSet);

// The next new moon after 1 January 2020.
void BM_FindNextNewMoon(benchmark::State& state) {
  const double start = JulianDay(1, 1, 2020, 0);
  for (auto _ : state) {
    double found = 0;
    bool ok = FindAspectTime(start, start, start, kSun, kMoon, 0, 0, 1, 1, 1, 0, 0, found);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindNextNewMoon)->Unit(benchmark::kMicrosecond);

// A mix of the searches a chart asks for: the Moon to planets, planets to
// each other, bodies to a sign's first degree (kind -1 here), forwards and
// backwards, from starts spread over 1990-2030; time per search.
void BM_FindAspectMix(benchmark::State& state) {
  struct Search {
    int a, b, kind, sign, direction;
  };
  const Search searches[] = {
      {kSun, kMoon, 4, 1, 1},      {kMoon, kSaturn, 2, 1, 1},      {kMoon, kVenus, 3, -1, -1},
      {kVenus, kMars, 3, 1, 1},    {kMars, kJupiter, 4, 1, -1},    {kSun, kVenus, 0, 1, 1},
      {kSun, kMercury, 0, 1, -1},  {kJupiter, kSaturn, 2, -1, 1},  {kMercury, kMars, 1, 1, 1},
      {kMoon, kMercury, 0, 1, -1}, {kMercury, kMercury, -1, 1, 1}, {kMars, kMars, -1, 1, -1},
      {kMoon, kMoon, -1, 1, 1},
  };
  const int count = static_cast<int>(std::size(searches));
  int i = 0;
  for (auto _ : state) {
    const Search& s = searches[i % count];
    const double start = JulianDay(1, 1, 1990, 0) + 1461.37 * (i % 10);
    double found = 0;
    bool ok = s.kind < 0 ? FindAspectTime(start, start, start, s.b, s.b, 0, 30.0f * (i % 12), 0, 1,
                                          s.direction, 1, 0, found)
                         : FindAspectTime(start, start, start, s.a, s.b, s.kind, 0, 1, s.sign,
                                          s.direction, 0, 0, found);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(found);
    ++i;
  }
}
BENCHMARK(BM_FindAspectMix)->Unit(benchmark::kMicrosecond);

}  // namespace
