// A chart cast with the factory settings for a moment and place, every object
// shown and aspected, in colour on every target: the crowded charts the wheel
// tests draw.
#pragma once

#include <memory>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/rulers.h"
#include "chart/settingsfiles.h"
#include "engine/astromath.h"

inline std::unique_ptr<ChartRecord> FactoryChart(int day, int month, int year, float ut, float lat,
                                                 float lon,
                                                 const ReceptionParams& kinds = ReceptionParams()) {
  auto r = std::make_unique<ChartRecord>();
  SettingsMenuState menu;
  BuildChartRecord(*r, {}, 0, HORARY_SOURCE_DIR "/data", menu);
  r->JulianDayUT = JulianDay(day, month, year, ut);
  r->JulianDay0h = JulianDay(day, month, year, 0.0f);
  r->UniversalTime = ut;
  r->GeoLatitude = lat;
  r->GeoLongitude = lon;
  r->GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(lat));
  r->AspectListObject = kNone;
  r->ColorMode = 2;
  r->TargetFlags[0] = r->TargetFlags[1] = r->TargetFlags[2] = 1;
  for (int o = 0; o < kObjectCount; ++o) r->ObjectShown[o] = r->ObjectAspected[o] = 1;
  RecalcChart(*r, 1, false, nullptr, kinds);
  return r;
}
