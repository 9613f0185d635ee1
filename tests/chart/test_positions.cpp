// The positions table's lines and the planet parameters: the sign and the
// position within it over a sweep of longitudes up to a hair below 360, the
// retrograde mark, and the parameters grid read back against a separate
// recomputation and the textbook ecliptic-to-equator rotation, with the
// chart record left as it was (swapped receptions included).
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "chart/pipeline.h"
#include "chart/positions.h"
#include "engine/astromath.h"
#include "platform/text/numbers.h"

namespace {

constexpr double kArcsecondDeg = 1.0 / 3600.0;  // degrees: the tables' resolution
constexpr double kEquatorTolDeg = 0.01;  // degrees: nutation is left out of the textbook rotation

// Moscow, 15 July 1990, 08:00 UT.
std::unique_ptr<ChartRecord> MoscowChart() {
  auto chart = std::make_unique<ChartRecord>();
  InitChartRecord(*chart, {}, 0);
  chart->HouseSystem = 1;
  chart->JulianDayUT = JulianDay(15, 7, 1990, 8.0f);
  chart->JulianDay0h = JulianDay(15, 7, 1990, 0.0f);
  chart->UniversalTime = 8.0f;
  chart->GeoLatitude = chart->GeocentricLatitude = 55.75f;
  chart->GeoLongitude = 37.58f;
  chart->AspectListObject = kNone;
  for (int o = 0; o < kObjectCount; ++o) chart->ObjectShown[o] = chart->ObjectAspected[o] = 1;
  RecalcChart(*chart, 0);
  return chart;
}

// Degrees of a grid cell "[-]D°MM'SS\"" (code page 1251).
double CellDegrees(const std::string& cell) {
  int d = 0, m = 0, s = 0;
  const bool negative = !cell.empty() && cell[0] == '-';
  EXPECT_EQ(std::sscanf(cell.c_str() + (negative ? 1 : 0), "%d\xB0%d'%d\"", &d, &m, &s), 3) << cell;
  const double v = d + m / 60.0 + s / 3600.0;
  return negative ? -v : v;
}

double CircularDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return std::fabs(d);
}

TEST(SignPosition, OneRoundingOfTheWholeCircleUpToAHairBelow360) {
  const double hairs[] = {359.99999, 360.0, 359.9999999, -1e-12, 29.9999999, 0.0};
  for (double lon = -30.0; lon < 390.0; lon += 0.0137) {
    const SignPosition p = SignPositionOf(lon);
    ASSERT_GE(p.Sign, 0);
    ASSERT_LE(p.Sign, 11);
    ASSERT_LE(p.Degrees, 29);
    ASSERT_LE(p.Minutes, 59);
    ASSERT_LE(p.Seconds, 59);
    const double back = p.Sign * 30 + p.Degrees + p.Minutes / 60.0 + p.Seconds / 3600.0;
    ASSERT_LE(CircularDiff(back, lon), kArcsecondDeg) << "lon " << lon;
  }
  for (double lon : hairs) {
    const SignPosition p = SignPositionOf(lon);
    const double back = p.Sign * 30 + p.Degrees + p.Minutes / 60.0 + p.Seconds / 3600.0;
    EXPECT_LE(CircularDiff(back, lon), kArcsecondDeg) << "lon " << lon;
    EXPECT_LE(p.Sign, 11);
  }
  // a North point stored as a float reads 0 Aries
  const SignPosition north = SignPositionOf(359.99999f);
  EXPECT_EQ(north.Sign, 0);
  EXPECT_EQ(north.Degrees, 0);
}

TEST(PositionLine, GlyphMarkPositionAndSign) {
  ChartRecord chart;
  InitChartRecord(chart, {}, 0);
  chart.Retrograde[4] = 1;
  chart.ObjectLongitude[4] = 45.5f;
  chart.ObjectLongitude[30] = 359.99999f;
  const std::string mars = PositionLine(chart, 4, true);
  EXPECT_EQ(mars, std::string(1, chart.ObjectGlyph[4]) +
                      "!15\x91"
                      "30<00=" +
                      chart.SignGlyph[1]);
  EXPECT_EQ(PositionLine(chart, 4, false), mars.substr(0, mars.size() - 1));
  // a point never carries the retrograde mark; a hair below 360 is Aries
  EXPECT_EQ(PositionLine(chart, 30, true), std::string(1, chart.ObjectGlyph2[12]) +
                                               ":00\x91"
                                               "00<00=" +
                                               chart.SignGlyph[0]);
}

TEST(PlanetParameters, GridAgreesWithTheChartAndLeavesItAsItWas) {
  auto chart = MoscowChart();
  // a chart shown with its receptions swapped: the record holds moved longitudes
  chart->ReceptionSwap = 1;
  RecalcChartReception(*chart);
  std::swap(chart->EclipticLongitude[2], chart->EclipticLongitude[3]);
  auto before = std::make_unique<ChartRecord>(*chart);

  std::vector<std::string> ui(300);
  for (int i = 268; i <= 276; ++i) ui[i] = "title" + std::to_string(i);
  const PlanetParameterGrid grid = FillPlanetParameters(*chart, ui);

  // every field a recomputation writes is untouched, bit for bit
  auto same = [&](const void* a, const void* b, size_t n, const char* field) {
    EXPECT_EQ(std::memcmp(a, b, n), 0) << field << " changed";
  };
  same(chart->EclipticLongitude, before->EclipticLongitude, sizeof chart->EclipticLongitude,
       "EclipticLongitude");
  same(chart->EclipticLatitude, before->EclipticLatitude, sizeof chart->EclipticLatitude,
       "EclipticLatitude");
  same(chart->BodyDistance, before->BodyDistance, sizeof chart->BodyDistance, "BodyDistance");
  same(chart->DailyMotion, before->DailyMotion, sizeof chart->DailyMotion, "DailyMotion");
  same(chart->Retrograde, before->Retrograde, sizeof chart->Retrograde, "Retrograde");
  same(chart->ObjectLongitude, before->ObjectLongitude, sizeof chart->ObjectLongitude,
       "ObjectLongitude");
  same(chart->CuspsAndPoints, before->CuspsAndPoints, sizeof chart->CuspsAndPoints,
       "CuspsAndPoints");
  EXPECT_EQ(chart->ReceptionSwap, 1);

  EXPECT_EQ(grid.Cells[0][0], "title268");
  EXPECT_EQ(grid.Cells[0][8], "title276");
  // the true positions of the moment, whatever the chart shows
  auto truth = std::make_unique<ChartRecord>(*chart);
  CalcPlanets(*truth);
  CalcSpeeds(*truth);
  const double T = (chart->JulianDayUT - 2451545.0) / 36525.0;
  const double eps = (23.4392911 - 0.0130042 * T) * kDegToRad;  // Meeus 22.2, first terms
  for (int b = 0; b <= 9; ++b) {
    const double lon = truth->EclipticLongitude[b], lat = truth->EclipticLatitude[b];
    EXPECT_LE(CircularDiff(CellDegrees(grid.Cells[b + 1][1]), lon), kArcsecondDeg) << "body " << b;
    EXPECT_NEAR(CellDegrees(grid.Cells[b + 1][2]), lat, kArcsecondDeg) << "body " << b;
    EXPECT_NEAR(CellDegrees(grid.Cells[b + 1][8]), truth->DailyMotion[b], kArcsecondDeg)
        << "body " << b;
    // Meeus 13.3 and 13.4
    const double l = lon * kDegToRad, be = lat * kDegToRad;
    double ra =
        std::atan2(std::sin(l) * std::cos(eps) - std::tan(be) * std::sin(eps), std::cos(l)) *
        kRadToDeg;
    const double dec =
        std::asin(std::sin(be) * std::cos(eps) + std::cos(be) * std::sin(eps) * std::sin(l)) *
        kRadToDeg;
    EXPECT_LE(CircularDiff(CellDegrees(grid.Cells[b + 1][3]), ra), kEquatorTolDeg) << "body " << b;
    EXPECT_NEAR(CellDegrees(grid.Cells[b + 1][4]), dec, kEquatorTolDeg) << "body " << b;
    const double altitude = CellDegrees(grid.Cells[b + 1][6]);
    EXPECT_GE(altitude, -90.0);
    EXPECT_LE(altitude, 90.0);
    // the distance to six significant digits, no float noise after them
    const std::string& distance = grid.Cells[b + 1][7];
    double shown = 0;
    ASSERT_TRUE(ParseFloat(distance, shown)) << distance;
    EXPECT_NEAR(shown, truth->BodyDistance[b], 5e-6 * truth->BodyDistance[b]) << "body " << b;
    const std::size_t first = distance.find_first_of("123456789");
    int digits = 0;
    for (std::size_t i = first; i < distance.size(); ++i) digits += std::isdigit(distance[i]) != 0;
    EXPECT_LE(digits, 6) << distance;
  }
}

}  // namespace
