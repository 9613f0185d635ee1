// The chart recomputation: a chart cast for a listed moment checked against
// an independent ephemeris and an independent sidereal time, the turn of the
// cusps, the special points, the daily motions, the sign-edge flags, the
// ranking of the bodies, the planetary hours and lunar day at high
// latitudes, and the reception variant.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>

#include "chart/aspects.h"
#include "chart/pipeline.h"
#include "chart/rulers.h"
#include "chart/settingsfiles.h"
#include "engine/astromath.h"
#include "tests/engine/apparent_support.h"

namespace {

constexpr double kPositionTolDeg = 0.005;  // degrees: planets and the Moon vs the reference
constexpr double kLatitudeTolDeg = 0.005;  // degrees
constexpr double kChironTolDeg = 1.0;      // degrees: Chiron's elements are good to about 1 deg
constexpr double kMeanPointTolDeg = 0.2;   // degrees: mean apogee and node, arcminutes apart
constexpr double kAngleTolDeg = 0.01;      // degrees: ASC, MC, Vertex vs the independent formulae
constexpr double kFloatTolDeg = 1e-4;      // degrees: single-precision cusp arithmetic
constexpr double kDeviationTolDeg = 0.01;  // degrees: aspect deviations from reference positions

// Reference positions, 11 April 1979, 16.8635 h UT (geometric, ecliptic and
// equinox of date with nutation; from the Swiss Ephemeris, DE431), and the
// Julian day on the chart's time scale the reference gives for that moment.
// The chart's places are apparent: RefLon and RefLat add the light time and
// aberration of the engine tests' independent computation.
constexpr double kRefJulianDay = 2443975.20324250;
constexpr float kRefHoursUt = 16.8635f;
struct RefBody {
  int body;
  double lon, lat;  // degrees
};
constexpr RefBody kRefBodies[] = {
    {0, 21.211111, 0.000107},   {1, 191.377197, 2.133204}, {2, 356.599460, -1.035918},
    {3, 346.229555, -1.189305}, {4, 3.629359, -0.945964},  {5, 119.445904, 0.683472},
    {6, 157.740429, 2.025279},  {7, 230.115637, 0.346972}, {8, 260.392477, 1.436455},
    {9, 197.749003, 17.703283}, {10, 38.210719, -1.149455}};
constexpr double kRefApogee = 140.140016;     // body 12, degrees
constexpr double kRefNorthNode = 165.892467;  // body 14, degrees
// Apparent less geometric place of a reference body, degrees.
void ApparentShift(int body, double& lon, double& lat) {
  const double T = (kRefJulianDay - 2451545.0) / 36525.0;
  double apparentLon, apparentLat;
  testsupport::IndependentPlace(body, T, true, apparentLon, apparentLat);
  testsupport::IndependentPlace(body, T, false, lon, lat);
  lon = apparentLon - lon;
  lat = apparentLat - lat;
}
double RefLon(int body) {
  double lon, lat;
  ApparentShift(body, lon, lat);
  return kRefBodies[body].lon + lon;
}
double RefLat(int body) {
  double lon, lat;
  ApparentShift(body, lon, lat);
  return kRefBodies[body].lat + lat;
}

// Greenwich, at the old observatory.
constexpr float kGreenwichLatitude = 51.4769f;
constexpr float kGreenwichLongitude = 0.0f;

// Angular difference a - b folded into (-180, 180].
double AngleDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

#define EXPECT_ANGLE_NEAR(got, want, tol) \
  EXPECT_LE(std::fabs(AngleDiff((got), (want))), (tol)) << "got " << (got) << ", want " << (want)

double Reduced(double a) {
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

// Independent angles of a moment and place: Greenwich mean sidereal time
// (IAU 1982, Meeus, Astronomical Algorithms, eq. 12.4), mean obliquity
// (IAU 1980, Meeus eq. 22.2), MC, Ascendant, and the Vertex as the Ascendant
// of the co-latitude at RAMC + 180 deg.
struct Angles {
  double mc, asc, vertex;  // degrees
};
Angles IndependentAngles(double jdUt, double latDeg, double lonDeg) {
  const double t = (jdUt - 2451545.0) / 36525.0;
  const double gmst = 280.46061837 + 360.98564736629 * (jdUt - 2451545.0) + 0.000387933 * t * t -
                      t * t * t / 38710000.0;
  const double ramc = Reduced(gmst + lonDeg) * kDegToRad;
  const double eps = (23.0 + 26.0 / 60.0 + 21.448 / 3600.0 - 46.8150 / 3600.0 * t) * kDegToRad;
  auto ascendant = [eps](double ra, double phi) {
    return Reduced(
        std::atan2(std::cos(ra), -(std::sin(ra) * std::cos(eps) + std::tan(phi) * std::sin(eps))) *
        kRadToDeg);
  };
  Angles a;
  a.mc = Reduced(std::atan2(std::sin(ramc), std::cos(ramc) * std::cos(eps)) * kRadToDeg);
  a.asc = ascendant(ramc, latDeg * kDegToRad);
  a.vertex = ascendant(ramc + kPi, (90.0 - latDeg) * kDegToRad);
  return a;
}

float GeocentricLatitudeOf(float phi) {
  return static_cast<float>(phi - 0.19242777777777778 * std::sin(2.0 * phi * kDegToRad));
}

// A chart record as the data-input dialog leaves it for a moment and place.
std::unique_ptr<ChartRecord> CastChart(double jd, double jd0h, float ut, float lat, float lon,
                                       int houseSystem) {
  auto c = std::make_unique<ChartRecord>();
  InitChartRecord(*c, {}, 0);
  c->JulianDayUT = jd;
  c->JulianDay0h = jd0h;
  c->UniversalTime = ut;
  c->GeoLatitude = lat;
  c->GeoLongitude = lon;
  c->GeocentricLatitude = GeocentricLatitudeOf(lat);
  c->TimeZone = 0;
  c->HouseSystem = houseSystem;
  c->OrbScale[0] = 1;
  for (int k = 0; k < kAspectKindCount; ++k) {
    c->AspectOrbFactor[k] = 1;
    c->AspectKindEnabled[k] = 1;
  }
  for (int a = 0; a < kObjectCount; ++a)
    for (int b = 0; b < kObjectCount; ++b) c->PairOrb[a][b] = 2;
  for (int o = 0; o < kObjectCount; ++o) c->ObjectShown[o] = c->ObjectAspected[o] = 1;
  c->AspectListObject = kNone;
  return c;
}

// The 1979 reference moment at Greenwich; the independent angles use the
// house routine's latitude, the geocentric one.
class ReferenceChart : public ::testing::Test {
 protected:
  void Cast(int houseSystem, int querentHouse = 0) {
    chart = CastChart(kRefJulianDay, JulianDay(11, 4, 1979, 0.0f), kRefHoursUt, kGreenwichLatitude,
                      kGreenwichLongitude, houseSystem);
    chart->QuerentHouse = querentHouse;
    // 1979-04-11 0h UT is JD 2443974.5 (Meeus, chapter 7)
    angles = IndependentAngles(2443974.5 + kRefHoursUt / 24.0, chart->GeocentricLatitude,
                               kGreenwichLongitude);
  }
  std::unique_ptr<ChartRecord> chart;
  Angles angles{};
};

// ---- positions, angles and points ------------------------------------------

TEST_F(ReferenceChart, BodiesAgreeWithTheReferenceEphemeris) {
  Cast(1);
  CalcPlanets(*chart);
  for (const RefBody& r : kRefBodies) {
    const double tol = r.body == 10 ? kChironTolDeg : kPositionTolDeg;
    EXPECT_ANGLE_NEAR(chart->EclipticLongitude[r.body], RefLon(r.body), tol) << " body " << r.body;
    if (r.body != 10) {
      EXPECT_NEAR(chart->EclipticLatitude[r.body], RefLat(r.body), kLatitudeTolDeg)
          << "body " << r.body;
    }
  }
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[12], kRefApogee, kMeanPointTolDeg);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[14], kRefNorthNode, kMeanPointTolDeg);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[15], kRefNorthNode + 180, kMeanPointTolDeg);
  EXPECT_NEAR(chart->BodyDistance[1], 62.0317, 0.01);  // Earth radii
}

TEST_F(ReferenceChart, AnglesAndSpecialPointsFollowTheSiderealTime) {
  Cast(1);  // Placidus keeps the Ascendant and the MC in cusps 1 and 10
  CalcPlanets(*chart);
  const HouseOutcome outcome = CalcHouses(*chart);
  EXPECT_FALSE(outcome.HighLatitudeFallback);
  EXPECT_FALSE(outcome.EqualFromMcSubstituted);
  EXPECT_EQ(chart->HouseSystem, 1);
  const float* cusp = chart->HouseCusps();
  EXPECT_ANGLE_NEAR(cusp[0], angles.asc, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(cusp[9], angles.mc, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(cusp[6], angles.asc + 180, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(cusp[3], angles.mc + 180, kAngleTolDeg);

  const float* p = chart->SpecialPoints;
  EXPECT_ANGLE_NEAR(p[0], angles.vertex, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(p[1], angles.vertex + 180, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(p[2], angles.vertex - 90, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(p[3], angles.vertex + 90, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(p[4], angles.mc - 90, kAngleTolDeg);
  EXPECT_ANGLE_NEAR(p[5], angles.mc + 90, kAngleTolDeg);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(chart->CuspsAndPoints[12 + i], p[i]);
}

TEST_F(ReferenceChart, DayChartWithItsPartOfFortuneAndCrossOfFate) {
  // 16.86 h UT in April at Greenwich: the Sun is up (it sets near 18.9 h UT)
  Cast(1);
  CalcPlanets(*chart);
  CalcHouses(*chart);
  EXPECT_EQ(chart->DayChart, 1);
  // by day: Ascendant + Moon - Sun, and Ascendant - (Saturn - Mars)
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[16], angles.asc + RefLon(1) - RefLon(0), kAngleTolDeg);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[17], angles.asc - (RefLon(6) - RefLon(4)),
                    kAngleTolDeg);
}

TEST_F(ReferenceChart, CuspsAreTurnedToTheQuerentsHouse) {
  Cast(9, 3);  // equal houses from the Ascendant: cusp h+1 = ASC + 30h
  CalcPlanets(*chart);
  CalcHouses(*chart);
  const float* cusp = chart->HouseCusps();
  EXPECT_ANGLE_NEAR(cusp[0], angles.asc + 90, kAngleTolDeg) << " element 0 is house 4";
  EXPECT_ANGLE_NEAR(cusp[9], angles.asc, kAngleTolDeg) << " element 9 is house 1";
  for (int i = 0; i < 12; ++i)
    EXPECT_ANGLE_NEAR(cusp[i], angles.asc + 30.0 * ((i + 3) % 12), kAngleTolDeg)
        << " element " << i;
  // the East point comes from the unturned cusp of house 10, here ASC + 270
  EXPECT_ANGLE_NEAR(chart->SpecialPoints[5], angles.asc + 270 + 90, kAngleTolDeg);
}

TEST(SpecialPoints, NorthAndWestPointsNeverZeroEastAndSouthNever360) {
  float p[6];
  SpecialPointsFrom(90.0f, 270.0f, p);
  EXPECT_EQ(p[0], 90.0f);
  EXPECT_EQ(p[1], 270.0f);
  EXPECT_EQ(p[2], 360.0f) << "North point";
  EXPECT_EQ(p[3], 180.0f);
  EXPECT_EQ(p[4], 180.0f);
  EXPECT_EQ(p[5], 0.0f) << "East point";
  SpecialPointsFrom(300.0f, 45.0f, p);  // Antivertex and South point wrap past 360
  EXPECT_NEAR(p[1], 120.0, kFloatTolDeg);
  EXPECT_NEAR(p[3], 30.0, kFloatTolDeg);
  EXPECT_NEAR(p[4], 315.0, kFloatTolDeg);
}

// ---- motions and edge flags ---------------------------------------------------

TEST(DailyMotion, TwoHourChangeFoldedAcrossZeroAries) {
  constexpr double kMotionTolDegPerDay = 1e-9;
  BodyMotion m = MotionFromCentralDifference(359.9, 0.1);
  EXPECT_NEAR(m.DailyMotion, 2.4, kMotionTolDegPerDay);
  EXPECT_FALSE(m.Retrograde);
  m = MotionFromCentralDifference(0.1, 359.9);
  EXPECT_NEAR(m.DailyMotion, -2.4, kMotionTolDegPerDay);
  EXPECT_TRUE(m.Retrograde);
  m = MotionFromCentralDifference(123.4, 123.4);
  EXPECT_EQ(m.DailyMotion, 0.0);
  EXPECT_TRUE(m.Retrograde) << "a stationary body counts as retrograde";
}

TEST_F(ReferenceChart, MotionsAndRetrogradeFlags) {
  Cast(1);
  // values a previous chart may have left
  chart->Retrograde[0] = chart->Retrograde[1] = chart->Retrograde[12] = 1;
  for (int b = 11; b < kBodyCount; ++b) chart->DailyMotion[b] = 5;
  CalcPlanets(*chart);
  CalcSpeeds(*chart);
  // the Sun moves 0.953..1.019 deg/day through the year, the Moon 11.8..15.4
  EXPECT_GT(chart->DailyMotion[0], 0.953);
  EXPECT_LT(chart->DailyMotion[0], 1.019);
  EXPECT_GT(chart->DailyMotion[1], 11.7);
  EXPECT_LT(chart->DailyMotion[1], 15.5);
  EXPECT_EQ(chart->Retrograde[0], 0);
  EXPECT_EQ(chart->Retrograde[1], 0);
  // the points move too: the mean node back at 1934.136 deg and the mean
  // apogee (Lilith) on at 4069.014 deg a Julian century (Meeus, Astronomical
  // Algorithms, ch. 47); every point as its own places a day either side
  // give, the south node with the north
  const double century = 36525;
  EXPECT_NEAR(chart->DailyMotion[kNorthNode], -1934.136 / century, 1e-3);
  EXPECT_NEAR(chart->DailyMotion[12], 4069.014 / century, 1e-3);
  EXPECT_NEAR(chart->DailyMotion[kSouthNode], chart->DailyMotion[kNorthNode], 1e-9);
  const auto lonAt = [this](double jd) {
    ChartRecord later = *chart;
    later.JulianDayUT = jd;
    CalcPlanets(later);
    return later;
  };
  const ChartRecord before = lonAt(chart->JulianDayUT - 1), after = lonAt(chart->JulianDayUT + 1);
  for (int b = 11; b <= kSouthNode; ++b) {
    const double rate =
        std::remainder(after.EclipticLongitude[b] - before.EclipticLongitude[b], 360.0) / 2;
    EXPECT_NE(chart->DailyMotion[b], 0.0) << "body " << b;
    EXPECT_NEAR(chart->DailyMotion[b], rate, 1e-4) << "body " << b;
  }
  for (int b = 11; b < kBodyCount; ++b) EXPECT_EQ(chart->Retrograde[b], 0) << "body " << b;
  for (int b = 16; b < kBodyCount; ++b) EXPECT_EQ(chart->DailyMotion[b], 0.0) << "body " << b;
  // outer planets are direct near conjunction with the Sun and retrograde
  // within about 45 deg of opposition
  for (int b : {4, 6, 7, 9}) {
    const double elongation = std::fabs(AngleDiff(RefLon(b), RefLon(0)));
    if (elongation < 30) {
      EXPECT_EQ(chart->Retrograde[b], 0) << "body " << b;
    }
    if (elongation > 135) {
      EXPECT_EQ(chart->Retrograde[b], 1) << "body " << b;
    }
    EXPECT_EQ(chart->Retrograde[b] == 1, chart->DailyMotion[b] <= 0) << "body " << b;
  }
}

TEST(SignEdge, WithinOneDegreeOfEitherEdge) {
  EXPECT_EQ(SignEdgeFlagOf(29.5), 1);
  EXPECT_EQ(SignEdgeFlagOf(30.5), 1);
  EXPECT_EQ(SignEdgeFlagOf(1.0), 0);
  EXPECT_EQ(SignEdgeFlagOf(29.0), 0);
  EXPECT_EQ(SignEdgeFlagOf(45.0), 0);
  EXPECT_EQ(SignEdgeFlagOf(359.5), 1);
  EXPECT_EQ(SignEdgeFlagOf(360.0), 1);
}

TEST_F(ReferenceChart, SignEdgeFlagsOfTheBodies) {
  Cast(1);
  CalcPlanets(*chart);
  chart->EclipticLongitude[16] = 60.5;
  chart->EclipticLongitude[17] = 359.0;  // exactly 1 deg before the edge
  CalcSignEdgeFlags(*chart);
  for (const RefBody& r : kRefBodies) {
    if (r.body == 10) continue;
    const double edgeDistance = std::fabs(r.lon - 30.0 * std::round(r.lon / 30.0));
    EXPECT_EQ(chart->SignEdgeFlag[r.body], edgeDistance < 1.0 ? 1 : 0) << "body " << r.body;
  }
  EXPECT_EQ(chart->SignEdgeFlag[5], 1);  // Jupiter 29.45 Cancer
  EXPECT_EQ(chart->SignEdgeFlag[16], 1);
  EXPECT_EQ(chart->SignEdgeFlag[17], 0);
}

// ---- aspects of a real chart ------------------------------------------------------

TEST_F(ReferenceChart, AspectsFoundWithATwoDegreeOrb) {
  Cast(1);
  const RecalcResult result = RecalcChart(*chart, 0);
  (void)result;
  const ChartRecord& c = *chart;
  struct Expected {
    int o1, o2, kind;
    int applying;  // 1, 0, or -1 when not checked
  };
  // Kinds from the reference longitudes, the 2 deg orb and the whole-sign rule.
  const Expected expected[] = {
      {0, 4, 9, 1},      // Sun-Mars 17.58 in Aries; the faster Sun draws away to 18
      {0, 3, 10, 0},     // Sun-Venus 34.98, Aries/Pisces; Venus, faster, closes below 36
      {1, 7, 15, 0},     // Moon-Uranus 38.74, Libra/Scorpio; the Moon closes below 40
      {1, 10, 25, 1},    // Moon-Chiron 153.2, Libra/Taurus; the Moon opens toward 154.29
      {7, 8, 5, -1},     // Uranus-Neptune 30.28, Scorpio/Sagittarius
      {6, 9, 15, -1},    // Saturn-Pluto 40.01, Virgo/Libra
      {2, 3, 26, 0},     // Mercury-Venus 10.4 apart in Pisces, latitudes -1.04 and -1.19
      {5, 6, kNone, 0},  // Jupiter-Saturn 38.3 but Cancer/Virgo: two signs for 40 deg
      {2, 4, kNone, 0},  // Mercury-Mars, latitudes 0.09 apart but Pisces/Aries
      {0, 2, kNone, 0},  // Sun-Mercury 24.6 but Aries/Pisces for 25.7 deg
      {1, 9, kNone, 0},  // Moon-Pluto 6.4 apart
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(c.AspectKind[e.o1][e.o2], e.kind) << e.o1 << "-" << e.o2;
    EXPECT_EQ(c.AspectKind[e.o2][e.o1], e.kind) << e.o1 << "-" << e.o2;
    if (e.kind == kNone || e.kind >= 26 || e.o1 == 10 || e.o2 == 10) continue;
    const double want =
        std::fabs(kAspectAngle[e.kind] - std::fabs(AngleDiff(RefLon(e.o1), RefLon(e.o2))));
    EXPECT_NEAR(c.AspectSeparation[e.o2][e.o1], want, kDeviationTolDeg) << e.o1 << "-" << e.o2;
    if (e.applying >= 0) {
      EXPECT_EQ(c.AspectApplying[e.o1][e.o2], e.applying) << e.o1 << "-" << e.o2;
    }
  }
  EXPECT_NEAR(c.AspectSeparation[3][2], std::fabs(1.189305 - 1.035918), kDeviationTolDeg);
  EXPECT_EQ(c.AspectApplying[1][10], 1);
}

TEST_F(ReferenceChart, AspectListOnlyWhileShown) {
  Cast(1);
  RecalcResult result = RecalcChart(*chart, 0);
  EXPECT_FALSE(result.AspectListFilled);
  EXPECT_TRUE(result.AspectList.empty());

  chart->AspectListShown = 1;
  result = RecalcChart(*chart, 0);
  EXPECT_TRUE(result.AspectListFilled);
  bool found = false;
  for (const std::string& line : result.AspectList) {
    EXPECT_EQ(line.size(), static_cast<size_t>(kAspectLineLength));
    // Uranus semi-sextile Neptune, 0 deg 16' from exact
    if (line.compare(0, 8,
                     "kYl:00\x91"
                     "1") == 0)
      found = true;
  }
  EXPECT_TRUE(found);
}

TEST_F(ReferenceChart, ReceptionVariantMovesBodiesAndKeepsTheTimingFields) {
  Cast(1);
  chart->PlanetaryHour = 7;
  chart->LunarDay = 13;
  chart->ReceptionShift[5] = 2;   // Jupiter two signs on
  chart->ReceptionShift[9] = -7;  // Pluto seven signs back, across 0 Aries
  const RecalcResult result = RecalcChartReception(*chart);
  EXPECT_FALSE(result.PlanetHoursComputed);
  EXPECT_FALSE(result.LunarDaysComputed);
  EXPECT_EQ(chart->PlanetaryHour, 7);
  EXPECT_EQ(chart->LunarDay, 13);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[5], RefLon(5) + 60, kPositionTolDeg);
  EXPECT_ANGLE_NEAR(chart->ObjectLongitude[5], RefLon(5) + 60, kPositionTolDeg);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[9], RefLon(9) - 210, kPositionTolDeg);
  EXPECT_GE(chart->EclipticLongitude[9], 0.0);
  EXPECT_LT(chart->EclipticLongitude[9], 360.0);
  EXPECT_ANGLE_NEAR(chart->EclipticLongitude[6], RefLon(6), kPositionTolDeg);
  // Jupiter moved to 29.4 Virgo stands 21.7 deg from Saturn in the same sign:
  // the 20 deg kind within 2 deg replaces nothing found before (Cancer/Virgo)
  EXPECT_EQ(chart->AspectKind[5][6], 14);
}

// ---- the ranking of the bodies ---------------------------------------------

// House 1..12, counted from the querent's, of a longitude: the sector from
// a turned cusp to the next that holds it.
int HouseBetweenCusps(const ChartRecord& c, double lon) {
  const float* cusp = c.HouseCusps();
  for (int h = 0; h < 12; ++h)
    if (Reduced(lon - cusp[h]) < Reduced(cusp[(h + 1) % 12] - cusp[h])) return h + 1;
  return 0;
}

// SortedPoints as a sort of the bodies by longitude gives them (equal
// longitudes in the order of the body indices), with the sign of each
// longitude and its house between the cusps, and the counts per sign and
// per house.
void ExpectRankedByLongitude(const ChartRecord& c) {
  int order[kBodyCount];
  std::iota(std::begin(order), std::end(order), 0);
  std::stable_sort(std::begin(order), std::end(order), [&c](int a, int b) {
    return Reduced(c.EclipticLongitude[a]) < Reduced(c.EclipticLongitude[b]);
  });
  int signCount[12] = {}, houseCount[12] = {};
  for (int j = 0; j < kBodyCount; ++j) {
    const int b = order[j];
    const double lon = Reduced(c.EclipticLongitude[b]);
    const int sign = static_cast<int>(lon / 30.0) + 1;
    const int house = HouseBetweenCusps(c, lon);
    EXPECT_EQ(c.SortedPoints[j].Body, b) << "place " << j << ", longitude " << lon;
    EXPECT_EQ(c.SortedPoints[j].Sign, sign) << "body " << b << " at " << lon;
    EXPECT_EQ(c.SortedPoints[j].House, house) << "body " << b << " at " << lon;
    ++signCount[sign - 1];
    if (house > 0) ++houseCount[house - 1];
  }
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(c.SignGlyphCount[k], signCount[k]) << "sign " << k + 1;
    EXPECT_EQ(c.HouseGlyphCount[k], houseCount[k]) << "house " << k + 1;
  }
}

// The judgement reads the ranking and the house rulers right after a
// recomputation, with no drawing of the wheel in between: they follow each
// recomputation, the reception variant's moved bodies included.
void ExpectHousesRuledBySignLords(const ChartRecord& c) {
  for (int h = 0; h < 12; ++h) {
    const int sign = static_cast<int>(std::floor(c.HouseCusps()[h] / 30.0)) % 12;
    EXPECT_EQ(c.HouseRuler[h], c.DomicileRuler[sign]) << "house " << h + 1;
  }
}

TEST_F(ReferenceChart, RecomputationRanksTheBodiesAndRulesTheHousesWithoutADrawing) {
  Cast(1, 3);
  chart->HouseRulerMethod = 0;
  std::fill(std::begin(chart->HouseRuler), std::end(chart->HouseRuler), -1);
  RecalcChart(*chart, 1);
  ExpectRankedByLongitude(*chart);
  ExpectHousesRuledBySignLords(*chart);
  chart->JulianDayUT += 40.0;  // forty days on: the Sun and the Moon change places
  chart->JulianDay0h += 40.0;
  RecalcChart(*chart, 1);
  ExpectRankedByLongitude(*chart);
  ExpectHousesRuledBySignLords(*chart);
  chart->ReceptionShift[5] = 2;
  chart->ReceptionShift[9] = -7;
  RecalcChartReception(*chart);
  ExpectRankedByLongitude(*chart);
  ExpectHousesRuledBySignLords(*chart);
}

// ---- high latitudes ----------------------------------------------------------------

template <typename T>
bool AllFinite(const T* v, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

TEST(HighLatitude, SeventyNorthKeepsHourAndLunarDayAndFallsBackToEqualHouses) {
  auto c = CastChart(JulianDay(15, 1, 2001, 10.0f), JulianDay(15, 1, 2001, 0.0f), 10.0f, 70.0f,
                     25.0f, 1);
  c->PlanetaryHour = 7;
  c->LunarDay = 13;
  const RecalcResult result = RecalcChart(*c, 1);
  EXPECT_FALSE(result.PlanetHoursComputed);
  EXPECT_FALSE(result.LunarDaysComputed);
  EXPECT_EQ(c->PlanetaryHour, 7);
  EXPECT_EQ(c->LunarDay, 13);
  EXPECT_TRUE(result.Houses.HighLatitudeFallback);
  EXPECT_EQ(c->HouseSystem, 10);
  EXPECT_ANGLE_NEAR(c->HouseCusps()[0], c->HouseCusps()[9] + 90.0, kFloatTolDeg);
}

class SeventySouth : public ::testing::TestWithParam<int> {};

// Polar night, equinox and polar day at 70 deg South.
TEST_P(SeventySouth, NoValueIsLeftUndefined) {
  const int month = GetParam();
  auto c = CastChart(JulianDay(21, month, 2001, 13.5f), JulianDay(21, month, 2001, 0.0f), 13.5f,
                     -70.0f, -60.0f, 1);
  c->PlanetaryHour = 7;
  c->LunarDay = 13;
  c->AspectListShown = 1;
  const RecalcResult result = RecalcChart(*c, 0);
  EXPECT_TRUE(AllFinite(c->EclipticLongitude, kBodyCount));
  EXPECT_TRUE(AllFinite(c->EclipticLatitude, kBodyCount));
  EXPECT_TRUE(AllFinite(c->DailyMotion, kBodyCount));
  EXPECT_TRUE(AllFinite(c->CuspsAndPoints, 18));
  EXPECT_TRUE(AllFinite(c->SpecialPoints, 6));
  EXPECT_TRUE(AllFinite(c->ObjectLongitude, kObjectCount));
  EXPECT_TRUE(AllFinite(&c->AspectSeparation[0][0], kObjectCount * kObjectCount));
  EXPECT_TRUE(c->DayChart == 1 || c->DayChart == -1);
  EXPECT_EQ(c->HouseSystem, 1);
  if (result.PlanetHoursComputed) {
    EXPECT_GE(c->PlanetaryHour, 1);
    EXPECT_LE(c->PlanetaryHour, 24);
    EXPECT_TRUE(AllFinite(result.PlanetHours.HourStart, 24));
  } else {
    EXPECT_EQ(c->PlanetaryHour, 7);
  }
  if (result.LunarDaysComputed) {
    EXPECT_GE(c->LunarDay, 1);
    EXPECT_LE(c->LunarDay, 30);
  } else {
    EXPECT_EQ(c->LunarDay, 13);
  }
  EXPECT_EQ(result.PlanetHoursComputed, month == 3)
      << "the Sun rises and sets at the equinox, not in polar day or night";
  for (const std::string& line : result.AspectList)
    EXPECT_EQ(line.size(), static_cast<size_t>(kAspectLineLength));
}
INSTANTIATE_TEST_SUITE_P(Months, SeventySouth, ::testing::Values(6, 3, 12));

}  // namespace

namespace {

// Reusing the lunar month of an earlier recomputation gives what a fresh
// search gives, and a change of place or a moment outside the month forces
// the search.
TEST(LunarMonthReuse, SameResultAsAFreshSearch) {
  const double jd0 = JulianDay(15, 7, 1990, 0.0f);
  auto c = CastChart(jd0 + 8 / 24.0, jd0, 8.0f, 55.75f, 37.58f, 1);
  RecalcResult first = RecalcChart(*c, 1);
  ASSERT_TRUE(first.LunarDaysComputed);
  for (double days : {0.3, 2.7, 9.1}) {
    c->JulianDayUT = jd0 + 8 / 24.0 + days;
    RecalcResult reused = RecalcChart(*c, 1, false, &first.LunarDays);
    RecalcResult fresh = RecalcChart(*c, 1);
    ASSERT_TRUE(reused.LunarDaysComputed && fresh.LunarDaysComputed);
    EXPECT_EQ(reused.LunarDays.LunarDay, fresh.LunarDays.LunarDay) << days;
    EXPECT_EQ(reused.LunarDays.LunarDayCount, fresh.LunarDays.LunarDayCount);
    // the new moons of a fresh search land within the search's 0.1" of the
    // same moment from another start; the moonrises are the same
    constexpr double kNewMoonTolDays = 2.0 / 86400;
    for (int i = 0; i <= fresh.LunarDays.LunarDayCount; ++i)
      EXPECT_NEAR(reused.LunarDays.LunarDayStart[i], fresh.LunarDays.LunarDayStart[i],
                  kNewMoonTolDays)
          << i;
  }
  int day = 0;
  // another place, or a moment a month later, is not covered
  EXPECT_FALSE(LunarDayFromTable(first.LunarDays, jd0 + 0.5, first.LunarDays.GeocentricLatitude,
                                 37.6f, day));
  EXPECT_FALSE(LunarDayFromTable(first.LunarDays, jd0 + 40, first.LunarDays.GeocentricLatitude,
                                 first.LunarDays.GeoLongitude, day));
}

}  // namespace

// ---- what the wheel marks, computed without a drawing ---------------------

// A chart with the factory settings (rulers, fixed stars, Arabic parts) for
// a moment days after 1 January 1990, 12 h UT, at Moscow.
std::unique_ptr<ChartRecord> FactoryChart(double days) {
  auto c = std::make_unique<ChartRecord>();
  SettingsMenuState menu;
  const SettingsReadResult read = BuildChartRecord(*c, {}, 0, HORARY_SOURCE_DIR "/data", menu);
  EXPECT_TRUE(read.Ok) << read.Message;
  const double jd0 = JulianDay(1, 1, 1990, 0.0f) + std::floor(days);
  const float ut = static_cast<float>(24.0 * (days - std::floor(days)));
  c->JulianDay0h = jd0;
  c->JulianDayUT = jd0 + ut / 24.0;
  c->UniversalTime = ut;
  c->GeoLatitude = 55.75f;
  c->GeoLongitude = 37.58f;
  c->GeocentricLatitude = GeocentricLatitudeOf(55.75f);
  c->AspectListObject = kNone;
  for (int o = 0; o < kObjectCount; ++o) c->ObjectShown[o] = 1;
  return c;
}

// Sign 0..11 of a longitude, reckoned here apart from the chart's helpers.
int SignHere(double lon) {
  const double reduced = std::fmod(std::fmod(lon, 360.0) + 360.0, 360.0);
  return static_cast<int>(reduced / 30.0) % 12;
}

// A chart stepped through two and a half years by recomputations alone
// holds, after each, the receptions, the shifts, the stars and the parts of
// a chart cast afresh for that moment, and its receptions are exactly the
// mutual ones of the ruler tables by the bodies' signs: nothing of them
// waits for a drawing or is left over from the moment before.
TEST(MarkedQuantities, FollowEveryRecomputationWithoutADrawing) {
  ReceptionParams kinds;
  kinds.KindOn[kReceptionDetriment] = true;  // a third kind besides the default two
  auto stepped = FactoryChart(0.0);
  ASSERT_GT(stepped->PartCount, 0);
  RecalcChart(*stepped, 1, false, nullptr, kinds);
  int receptionsSeen = 0, swapsOffered = 0;
  for (int step = 1; step <= 90; ++step) {
    const double days = step * 10.37;
    auto fresh = FactoryChart(days);
    stepped->JulianDay0h = fresh->JulianDay0h;
    stepped->JulianDayUT = fresh->JulianDayUT;
    stepped->UniversalTime = fresh->UniversalTime;
    const RecalcResult result = RecalcChart(*stepped, 1, false, nullptr, kinds);
    RecalcChart(*fresh, 1, false, nullptr, kinds);
    const ChartRecord& c = *stepped;
    SCOPED_TRACE("day " + std::to_string(days));
    for (int b = 0; b < 12; ++b) {
      EXPECT_EQ(c.ReceptionShift[b], fresh->ReceptionShift[b]) << b;
      for (int k = 0; k < 4; ++k) EXPECT_EQ(c.Receptions[b][k], fresh->Receptions[b][k]) << b;
    }
    for (int s = 0; s < kFixedStarCount; ++s)
      EXPECT_EQ(c.FixedStarLongitude[s], fresh->FixedStarLongitude[s]) << s;
    for (int p = 0; p < c.PartCount; ++p)
      EXPECT_EQ(c.ArabicParts[p].Longitude, fresh->ArabicParts[p].Longitude) << p;

    // the mutual receptions by the tables, from the bodies' own longitudes
    const int* tables[4] = {c.DomicileRuler, c.ExaltationRuler, c.DetrimentRuler, c.FallRuler};
    bool paired = false;
    for (int b = 0; b < 12; ++b) {
      int shift = 0;  // of the last kind that pairs b with another body
      for (int k = 0; k < 4; ++k) {
        int want = kNone;
        const int r = tables[k][SignHere(c.EclipticLongitude[b])];
        if (kinds.KindOn[k] && r >= 0 && r < kBodyCount &&
            tables[k][SignHere(c.EclipticLongitude[r])] == b)
          want = r;
        EXPECT_EQ(c.Receptions[b][k], want) << "body " << b << " kind " << k;
        if (want != kNone && want != b) {
          ++receptionsSeen;
          paired = true;
          shift = SignHere(c.EclipticLongitude[want]) - SignHere(c.EclipticLongitude[b]);
        }
      }
      EXPECT_EQ(c.ReceptionShift[b], shift) << "body " << b;
    }
    EXPECT_EQ(result.ReceptionSwapMenu, paired ? SwapMenuState::kEnable : SwapMenuState::kDisable);
    if (paired) ++swapsOffered;
    // the stars a year apart stand apart by their yearly motion
    const double years = (c.JulianDayUT - 2433282.5) / 365.25;
    for (int s = 0; s < kFixedStarCount; ++s) {
      const double want = c.FixedStarLon1950[s] + years * c.FixedStarMotion[s];
      EXPECT_NEAR(std::remainder(c.FixedStarLongitude[s] - want, 360.0), 0.0, 1e-3) << s;
    }
  }
  EXPECT_GT(receptionsSeen, 0);
  EXPECT_GT(swapsOffered, 0);
  EXPECT_LT(swapsOffered, 90);
}
