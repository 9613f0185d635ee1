// The chart's companion windows redrawn at 800 x 800: the positions table
// and the local-space chart (horizontal coordinates, ranking and drawing)
// onto a window picture, and the planet parameters' grid, of a computed
// chart (Moscow, 15 July 1990, 08:00 UT). A change in the circle options
// redraws the wheel: see the DrawChart benchmarks.
#include <benchmark/benchmark.h>

#include <memory>

#include "chart/chartrecord.h"
#include "chart/companiondrawing.h"
#include "chart/localspace.h"
#include "chart/pipeline.h"
#include "chart/positions.h"
#include "engine/astromath.h"
#include "platform/qt/canvas.h"

namespace {

constexpr int kPictureSize = 800;  // pixels

std::unique_ptr<ChartRecord> CompanionChart() {
  auto r = std::make_unique<ChartRecord>();
  InitChartRecord(*r, {}, 0);
  r->HouseSystem = 1;
  r->JulianDayUT = JulianDay(15, 7, 1990, 8.0f);
  r->JulianDay0h = JulianDay(15, 7, 1990, 0.0f);
  r->UniversalTime = 8.0f;
  r->GeoLatitude = r->GeocentricLatitude = 55.75f;
  r->GeoLongitude = 37.58f;
  r->AspectListObject = kNone;
  for (int o = 0; o < kObjectCount; ++o) r->ObjectShown[o] = 1;
  RecalcChart(*r, 0);
  return r;
}

CompanionPicture WindowPicture() {
  CompanionPicture picture;
  picture.Width = picture.Height = kPictureSize;
  return picture;
}

void BM_DrawPositions(benchmark::State& state) {
  auto chart = CompanionChart();
  TBitmap window(kPictureSize, kPictureSize);
  for (auto _ : state) {
    DrawPositions(*chart, window.Canvas(), WindowPicture(), true);
    window.Canvas().EndPaint();
  }
}

void BM_DrawLocalSpaceChart(benchmark::State& state) {
  auto chart = CompanionChart();
  TBitmap window(kPictureSize, kPictureSize);
  LocalSpaceRecord space;
  LocalSpaceHover hover;
  for (auto _ : state) {
    CalcHorizontalCoords(*chart, space);
    DrawLocalSpaceChart(*chart, space, false, window.Canvas(), WindowPicture(), &hover);
    window.Canvas().EndPaint();
    benchmark::DoNotOptimize(hover.HoverRects);
  }
}

void BM_FillPlanetParameters(benchmark::State& state) {
  auto chart = CompanionChart();
  const std::vector<std::string> ui(300);
  for (auto _ : state) benchmark::DoNotOptimize(FillPlanetParameters(*chart, ui));
}

BENCHMARK(BM_DrawPositions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLocalSpaceChart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPlanetParameters)->Unit(benchmark::kMillisecond);

}  // namespace
