// Chart recomputation benchmarks: the whole recomputation and each of its
// steps, for one fixed chart (Moscow, 15 July 1990, 08:00 UT, Placidus,
// every aspect kind with a 6 deg base orb, the aspect list shown).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/aspects.h"
#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "engine/astromath.h"

namespace {

std::unique_ptr<ChartRecord> BenchChart() {
  auto c = std::make_unique<ChartRecord>();
  InitChartRecord(*c, {}, 0);
  c->JulianDay0h = JulianDay(15, 7, 1990, 0.0f);
  c->UniversalTime = 8.0f;
  c->JulianDayUT = JulianDay(15, 7, 1990, 8.0f);
  c->GeoLatitude = 55.75f;
  c->GeoLongitude = 37.58f;
  c->GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(55.75));
  c->TimeZone = 3.0f;
  c->HouseSystem = 1;
  c->OrbScale[0] = 1;
  for (int k = 0; k < kAspectKindCount; ++k) {
    c->AspectOrbFactor[k] = k < 5 ? 1.0f : 0.5f;
    c->AspectKindEnabled[k] = 1;
  }
  for (int a = 0; a < kObjectCount; ++a)
    for (int b = 0; b < kObjectCount; ++b) c->PairOrb[a][b] = 6;
  for (int o = 0; o < kObjectCount; ++o) c->ObjectShown[o] = c->ObjectAspected[o] = 1;
  c->AspectListShown = 1;
  c->AspectListObject = kNone;
  RecalcChart(*c, 1);
  return c;
}

void BM_RecalcChart(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    RecalcResult r = RecalcChart(*c, 1);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_RecalcChart)->Unit(benchmark::kMicrosecond);

// Stepping the chart through time by a minute at a time, as the chart
// window does: the lunar month of the previous recomputation is reused.
void BM_RecalcChartStepping(benchmark::State& state) {
  auto c = BenchChart();
  RecalcResult previous = RecalcChart(*c, 1);
  const double start = c->JulianDayUT;
  int step = 0;
  for (auto _ : state) {
    c->JulianDayUT = start + (step++ % 600) / 1440.0;
    RecalcResult r =
        RecalcChart(*c, 1, false, previous.LunarDaysComputed ? &previous.LunarDays : nullptr);
    benchmark::DoNotOptimize(r);
    if (r.LunarDaysComputed) previous.LunarDays = r.LunarDays;
  }
}
BENCHMARK(BM_RecalcChartStepping)->Unit(benchmark::kMicrosecond);

void BM_CalcPlanets(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    CalcPlanets(*c);
    benchmark::DoNotOptimize(c->EclipticLongitude);
  }
}
BENCHMARK(BM_CalcPlanets)->Unit(benchmark::kMicrosecond);

void BM_CalcHouses(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    HouseOutcome h = CalcHouses(*c);
    benchmark::DoNotOptimize(h);
    benchmark::DoNotOptimize(c->CuspsAndPoints);
  }
}
BENCHMARK(BM_CalcHouses)->Unit(benchmark::kMicrosecond);

void BM_CalcSpeeds(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    CalcSpeeds(*c);
    benchmark::DoNotOptimize(c->DailyMotion);
  }
}
BENCHMARK(BM_CalcSpeeds)->Unit(benchmark::kMicrosecond);

void BM_CalcSignEdgeFlags(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    CalcSignEdgeFlags(*c);
    benchmark::DoNotOptimize(c->SignEdgeFlag);
  }
}
BENCHMARK(BM_CalcSignEdgeFlags)->Unit(benchmark::kMicrosecond);

// The planetary hours and the lunar day, as the recomputation runs them.
void BM_PlanetHoursAndLunarDay(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    PlanetaryHourTable hours;
    LunarDayTable days;
    bool a = CalcPlanetHours(c->UniversalTime, c->GeocentricLatitude, c->GeoLongitude,
                             c->EclipticLongitude[0], c->JulianDayUT, c->JulianDay0h, c->TimeZone,
                             hours);
    bool b = CalcMoonDays(c->JulianDayUT, c->GeocentricLatitude, c->GeoLongitude, days);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(hours);
    benchmark::DoNotOptimize(days);
  }
}
BENCHMARK(BM_PlanetHoursAndLunarDay)->Unit(benchmark::kMicrosecond);

// The two halves of the above.
void BM_PlanetHours(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    PlanetaryHourTable hours;
    bool a = CalcPlanetHours(c->UniversalTime, c->GeocentricLatitude, c->GeoLongitude,
                             c->EclipticLongitude[0], c->JulianDayUT, c->JulianDay0h, c->TimeZone,
                             hours);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(hours);
  }
}
BENCHMARK(BM_PlanetHours)->Unit(benchmark::kMicrosecond);

void BM_LunarDays(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    LunarDayTable days;
    bool b = CalcMoonDays(c->JulianDayUT, c->GeocentricLatitude, c->GeoLongitude, days);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(days);
  }
}
BENCHMARK(BM_LunarDays)->Unit(benchmark::kMicrosecond);

void BM_CalcAspects(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    CalcAspects(*c, 1);
    benchmark::DoNotOptimize(c->AspectKind);
  }
}
BENCHMARK(BM_CalcAspects)->Unit(benchmark::kMicrosecond);

void BM_FillAspectList(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    std::vector<std::string> lines = FillAspectList(*c);
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_FillAspectList)->Unit(benchmark::kMicrosecond);

// The part of a recomputation that a drag on the wheel needs at once.
void BM_BodiesHousesAspects(benchmark::State& state) {
  auto c = BenchChart();
  for (auto _ : state) {
    CalcPlanets(*c);
    CalcHouses(*c);
    CalcAspects(*c, 1);
    benchmark::DoNotOptimize(c->AspectKind);
  }
}
BENCHMARK(BM_BodiesHousesAspects)->Unit(benchmark::kMicrosecond);

}  // namespace
