#include "chart/positions.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "chart/localspace.h"
#include "chart/pipeline.h"
#include "engine/astromath.h"
#include "platform/text/numbers.h"

namespace {

constexpr int kSecondsPerSign = 30 * 3600;
constexpr int kSecondsPerCircle = 12 * kSecondsPerSign;

// Distances are shown to six significant digits: the series give no more,
// and a float's last digits would only read as noise.
constexpr int kDistanceDigits = 6;

std::string DistanceText(double distance) {
  if (!std::isfinite(distance) || distance == 0) return FormatFloat(distance);
  const double scale =
      std::pow(10.0, kDistanceDigits - 1 - std::floor(std::log10(std::fabs(distance))));
  return FormatFloat(std::round(distance * scale) / scale);
}

std::string TwoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

SignPosition SignPositionOf(double longitude) {
  if (!std::isfinite(longitude)) return {};
  double lon = longitude;
  Normalize360(lon);
  int d, m, s;
  DegToDmsD(lon, d, m, s);
  int total = (d * 60 + m) * 60 + s;
  // rounding up to a whole circle is 0 Aries
  total %= kSecondsPerCircle;
  SignPosition p;
  p.Sign = total / kSecondsPerSign;
  int inSign = total % kSecondsPerSign;
  p.Degrees = inSign / 3600;
  p.Minutes = inSign / 60 % 60;
  p.Seconds = inSign % 60;
  return p;
}

std::string PositionLine(const ChartRecord& chart, int object, bool withSign) {
  std::string line(1, ObjectGlyphOf(chart, object));
  const bool retrograde = object < kBodyCount && chart.Retrograde[object] == 1;
  line += retrograde ? chart.RetrogradeGlyph : ':';
  const SignPosition p = SignPositionOf(chart.ObjectLongitude[object]);
  line += TwoDigits(p.Degrees) + static_cast<char>(kDegreeMarkGlyph) + TwoDigits(p.Minutes) + "<" +
          TwoDigits(p.Seconds) + "=";
  if (withSign) line += chart.SignGlyph[p.Sign];
  return line;
}

PlanetParameterGrid FillPlanetParameters(const ChartRecord& chart,
                                         const std::vector<std::string>& uiText) {
  PlanetParameterGrid grid;
  auto entry = [&](int n) {
    return n >= 0 && n < static_cast<int>(uiText.size()) ? uiText[n] : std::string();
  };
  for (int c = 0; c < kParameterColumns; ++c) grid.Cells[0][c] = entry(kEntryParameterTitle + c);
  for (int b = 0; b <= 9; ++b) grid.Cells[b + 1][0] = chart.ObjectNames[b + 1];

  // the true positions of the moment, ecliptic and equatorial, on a copy
  auto work = std::make_unique<ChartRecord>(chart);
  CalcPlanets(*work, false);
  CalcSpeeds(*work, false);
  for (int b = 0; b <= 9; ++b) {
    grid.Cells[b + 1][1] = DegreesText(work->EclipticLongitude[b]);
    grid.Cells[b + 1][2] = DegreesText(work->EclipticLatitude[b]);
    grid.Cells[b + 1][7] = DistanceText(work->BodyDistance[b]);
    grid.Cells[b + 1][8] = DegreesText(work->DailyMotion[b]);
  }
  auto equatorial = std::make_unique<ChartRecord>(*work);
  CalcPlanets(*equatorial, true);
  for (int b = 0; b <= 9; ++b) {
    grid.Cells[b + 1][3] = DegreesText(equatorial->EclipticLongitude[b]);
    grid.Cells[b + 1][4] = DegreesText(equatorial->EclipticLatitude[b]);
  }
  LocalSpaceRecord space;
  CalcHorizontalCoords(*work, space);
  for (int b = 0; b <= 9; ++b) {
    grid.Cells[b + 1][5] = DegreesText(space.Azimuth[b]);
    grid.Cells[b + 1][6] = DegreesText(space.Altitude[b]);
  }
  return grid;
}
