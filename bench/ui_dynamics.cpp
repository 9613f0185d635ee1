// The dynamics graphs redrawn onto a 651 x 447 window picture: with the
// samples kept (a redraw for the mouse, hover box included) and with every
// column sampled anew (a new window); the aspect graph of the new moon of
// 6 January 2000 and the sign graph of Venus from 10 March 2025.
#include <benchmark/benchmark.h>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "judgement/dynamics.h"
#include "judgement/dynamicsdrawing.h"
#include "platform/qt/canvas.h"

namespace {

constexpr int kWidth = 651;   // pixels
constexpr int kHeight = 447;  // pixels

struct Graph {
  DynamicsRecord record;
  DynamicsPicture picture;
};

Graph NewMoon() {
  Graph g;
  g.record.FirstObject = kSun;
  g.record.SecondObject = kMoon;
  g.record.DynAspectOrb = 12;
  const double moment = JulianDay(6, 1, 2000, 12.0f);
  CalcAspectOrbWindow(g.record, moment);
  g.picture.Width = kWidth;
  g.picture.Height = kHeight;
  g.picture.LonAtMomentA = static_cast<float>(DynamicsLongitude(kSun, moment));
  g.picture.LonAtMomentB = static_cast<float>(DynamicsLongitude(kMoon, moment));
  return g;
}

Graph VenusStay() {
  Graph g;
  g.record.DynamicsMode = 1;
  g.record.FirstObject = kVenus;
  const double moment = JulianDay(10, 3, 2025, 0.0f);
  g.picture.LonAtMomentA = static_cast<float>(DynamicsLongitude(kVenus, moment));
  CalcSignStayWindow(g.record, moment, g.picture.LonAtMomentA);
  g.picture.Width = kWidth;
  g.picture.Height = kHeight;
  g.picture.SignGlyph = 'q';
  return g;
}

void Redraw(benchmark::State& state, Graph g, bool keepSamples) {
  TBitmap window(kWidth, kHeight);
  DynamicsSamples samples;
  DynamicsMouse mouse;
  mouse.Hover = true;
  mouse.MouseX = 400;
  mouse.MouseY = 200;
  for (auto _ : state) {
    if (!keepSamples) samples = DynamicsSamples();
    DrawDynamics(g.record, samples, g.picture, mouse, window.Canvas());
    window.Canvas().EndPaint();
    ++mouse.MouseX;
    if (mouse.MouseX > 580) mouse.MouseX = 70;
  }
}

void BM_AspectGraphHoverRedraw(benchmark::State& state) { Redraw(state, NewMoon(), true); }
void BM_AspectGraphNewWindow(benchmark::State& state) { Redraw(state, NewMoon(), false); }
void BM_SignGraphHoverRedraw(benchmark::State& state) { Redraw(state, VenusStay(), true); }
void BM_SignGraphNewWindow(benchmark::State& state) { Redraw(state, VenusStay(), false); }

BENCHMARK(BM_AspectGraphHoverRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AspectGraphNewWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignGraphHoverRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignGraphNewWindow)->Unit(benchmark::kMillisecond);

}  // namespace
