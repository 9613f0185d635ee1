// Chart wheel drawing: DrawChart of a computed chart (Moscow, 15 July 1990,
// 08:00 UT) onto an 800 x 800 window picture, European and American style,
// with the factory settings and with every aspect line the chart can have;
// the crowded chart also with every variant's marks, whose labels make room
// for each other.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "chart/ui/wheel.h"
#include "engine/astromath.h"
#include "platform/qt/canvas.h"
#include "platform/qt/glyphfont.h"

namespace {

constexpr int kPictureSize = 800;  // pixels

// The chart with the factory settings of data/Options (colours, radii,
// glyph sizes, shown objects, aspect kinds and orbs).
std::unique_ptr<ChartRecord> MoscowChart() {
  auto r = std::make_unique<ChartRecord>();
  SettingsMenuState menu;
  BuildChartRecord(*r, {}, 0, HORARY_SOURCE_DIR "/data", menu);
  const float lat = 55.75f;
  r->JulianDayUT = JulianDay(15, 7, 1990, 8.0f);
  r->JulianDay0h = JulianDay(15, 7, 1990, 0.0f);
  r->UniversalTime = 8.0f;
  r->GeoLatitude = lat;
  r->GeoLongitude = 37.58f;
  r->GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(lat));
  r->TimeZone = 3;
  r->AspectListObject = kNone;
  r->WheelOrientation = 3;
  r->ColorMode = 2;
  r->TargetFlags[0] = r->TargetFlags[1] = r->TargetFlags[2] = 1;
  RecalcChart(*r, 1);
  return r;
}

// A crowded drawing: every object shown and aspected, every kind searched
// with 6-degree orbs.
std::unique_ptr<ChartRecord> CrowdedChart() {
  auto r = MoscowChart();
  for (int k = 0; k < kAspectKindCount; ++k) r->AspectOrbFactor[k] = 1, r->AspectKindEnabled[k] = 1;
  r->OrbScale[0] = 1;
  for (auto& row : r->PairOrb)
    for (float& orb : row) orb = 6;
  for (int o = 0; o < kObjectCount; ++o) r->ObjectShown[o] = r->ObjectAspected[o] = 1;
  RecalcChart(*r, 1);
  return r;
}

void DrawWheel(benchmark::State& state, std::unique_ptr<ChartRecord> record, int style,
               bool variants = false) {
  record->ChartStyle = style;
  WheelWork work;
  WheelView view;
  view.FixedStars = view.LunarMansions = view.ArabicParts = view.Midpoints = variants;
  WheelTarget target;
  target.ClientWidth = target.ClientHeight = kPictureSize;
  TBitmap window(kPictureSize, kPictureSize);
  for (auto _ : state) {
    DrawChart(*record, work, window.Canvas(), target, view);
    window.Canvas().EndPaint();
    benchmark::DoNotOptimize(work.HoverRects);
  }
}

void BM_DrawChartEuropean(benchmark::State& state) { DrawWheel(state, MoscowChart(), 1); }
void BM_DrawChartAmerican(benchmark::State& state) { DrawWheel(state, MoscowChart(), 0); }
void BM_DrawChartEuropeanCrowded(benchmark::State& state) { DrawWheel(state, CrowdedChart(), 1); }
BENCHMARK(BM_DrawChartEuropean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartAmerican)->Unit(benchmark::kMillisecond);
void BM_DrawChartEuropeanVariants(benchmark::State& state) {
  DrawWheel(state, CrowdedChart(), 1, true);
}
void BM_DrawChartAmericanVariants(benchmark::State& state) {
  DrawWheel(state, CrowdedChart(), 0, true);
}
BENCHMARK(BM_DrawChartEuropeanCrowded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartEuropeanVariants)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartAmericanVariants)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // widgets: the printing and database benchmarks start the program's windows
  QApplication app(argc, argv);
  LoadGlyphFaces();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
