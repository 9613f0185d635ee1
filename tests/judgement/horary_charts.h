// Charts for the judgement tests: a horary chart cast and recomputed as the
// program does it, and a plain record with positions set by hand.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/rulers.h"
#include "engine/astromath.h"

namespace horary_test {

inline constexpr int kRegiomontanus = 4;
inline constexpr int kPlacidus = 1;

// A chart for a civil moment (universal time) and place, recomputed with
// all aspect kinds searched and orbs of 8 degrees, its house rulers filled.
inline std::unique_ptr<ChartRecord> CastHorary(int day, int month, int year, double hoursUt,
                                               float lat, float lon, int houseSystem = kPlacidus,
                                               int querentHouse = 0, int quesitedHouse = 0) {
  auto c = std::make_unique<ChartRecord>();
  InitChartRecord(*c, {}, 0);
  c->JulianDay0h = JulianDay(day, month, year, 0.0f);
  c->JulianDayUT = c->JulianDay0h + hoursUt / 24.0;
  c->UniversalTime = static_cast<float>(hoursUt);
  c->GeoLatitude = lat;
  c->GeoLongitude = lon;
  c->GeocentricLatitude =
      static_cast<float>(lat - 0.19242777777777778 * std::sin(2.0 * lat * kDegToRad));
  c->HouseSystem = houseSystem;
  c->QuerentHouse = querentHouse;
  c->QuesitedHouse = quesitedHouse;
  c->OrbScale[0] = 1;
  for (int k = 0; k < kAspectKindCount; ++k) {
    c->AspectOrbFactor[k] = 1;
    c->AspectKindEnabled[k] = k <= 4 ? 1 : 0;  // the five major aspects
  }
  for (int a = 0; a < kObjectCount; ++a)
    for (int b = 0; b < kObjectCount; ++b) c->PairOrb[a][b] = 8;
  for (int o = 0; o < kObjectCount; ++o) c->ObjectShown[o] = c->ObjectAspected[o] = 1;
  c->AspectListObject = kNone;
  RecalcChart(*c, 1);
  CalcHouseRulers(*c);
  return c;
}

// A record with no computed chart: names "p0".."p17" and "s0".."s11", no
// aspects, equal houses from 0 deg Aries, every body at `rest` degrees.
inline std::unique_ptr<ChartRecord> PlainChart() {
  auto c = std::make_unique<ChartRecord>();
  InitChartRecord(*c, {}, 0);
  for (int o = 0; o < 36; ++o) c->ObjectNames[o + 1] = (o < 18 ? "p" : "o") + std::to_string(o);
  for (int s = 0; s < 12; ++s) c->ObjectNames[37 + s] = "s" + std::to_string(s);
  for (auto& row : c->AspectKind)
    for (int& k : row) k = kNone;
  for (int k = 0; k < kAspectKindCount; ++k) c->AspectKindEnabled[k] = 1;
  for (int h = 0; h < 12; ++h) c->HouseCusps()[h] = 30.0f * h;
  c->JulianDayUT = 2451545.0;
  for (int b = 0; b < kBodyCount; ++b) c->EclipticLongitude[b] = 3.0 * b + 100.0;
  return c;
}

// Ranks the bodies by longitude into SortedPoints, with sign and the house of
// the chart's cusps (each house from its cusp to the next).
inline void RankPoints(ChartRecord& c) {
  int order[kBodyCount];
  for (int b = 0; b < kBodyCount; ++b) order[b] = b;
  std::stable_sort(order, order + kBodyCount,
                   [&c](int a, int b) { return c.EclipticLongitude[a] < c.EclipticLongitude[b]; });
  for (int i = 0; i < kBodyCount; ++i) {
    const int b = order[i];
    const double lon = c.EclipticLongitude[b];
    SortedPoint& s = c.SortedPoints[i];
    s.Body = b;
    s.Sign = SignOf(lon) + 1;
    s.House = 12;
    for (int h = 0; h < 12; ++h) {
      double from = lon - c.HouseCusps()[h],
             width = c.HouseCusps()[(h + 1) % 12] - c.HouseCusps()[h];
      Normalize360(from);
      Normalize360(width);
      if (from < width) {
        s.House = h + 1;
        break;
      }
    }
  }
}

// Sets an aspect of two bodies in both halves of the matrices.
inline void SetAspect(ChartRecord& c, int a, int b, int kind, bool applying) {
  c.AspectKind[a][b] = c.AspectKind[b][a] = kind;
  c.AspectApplying[a][b] = c.AspectApplying[b][a] = applying ? 1 : 0;
}

}  // namespace horary_test
