#include "chart/pipeline.h"

#include <cmath>

#include "chart/aspects.h"
#include "chart/glyphplacement.h"
#include "chart/rulers.h"
#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/houses.h"

namespace {

// The daily motions are central differences over one hour either side of
// the moment: the error of the difference, h^2/6 times the third derivative,
// stays below 0.2" a day for the Moon, and the bodies' places at two moments
// are all it needs.
constexpr double kSpeedHalfStepDays = 1.0 / 24.0;  // one hour, days
constexpr int kFirstPlanet = 2;                    // Mercury: first body with a retrograde flag
constexpr int kLastFlaggedBody = kChiron;          // last body with a retrograde flag
constexpr int kEngineBodies = 16;                  // bodies 0..15 come from the engine

// All bodies for the moment jd (days, chart time scale) in a work record.
BodyPositions BodiesAt(double jd, int geocentric, bool equatorialOutput) {
  BodyPositions p;
  p.Selector = kSelectorAllBodies;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p, geocentric, equatorialOutput);
  return p;
}

}  // namespace

// Positions of bodies 0..15 for the chart's moment.
//   chart             JulianDayUT (days, chart time scale) in; EclipticLongitude,
//                     EclipticLatitude (degrees) and BodyDistance (AU; the Moon
//                     in Earth radii) of bodies 0..15 out
//   equatorialOutput  true gives right ascension and declination instead
// Bodies 16 and 17 come from the house routine (CalcHouses).
void CalcPlanets(ChartRecord& chart, bool equatorialOutput) {
  const BodyPositions p = BodiesAt(chart.JulianDayUT, chart.Geocentric, equatorialOutput);
  for (int b = 0; b < kEngineBodies; ++b) {
    chart.EclipticLongitude[b] = p.Longitude[b];
    chart.EclipticLatitude[b] = p.Latitude[b];
    chart.BodyDistance[b] = p.Distance[b];
  }
}

// The six special points from the Vertex and the MC.
//   vertex, mc  degrees [0, 360)
//   points      degrees (out): Vertex, Antivertex, North, South, West, East
// The North and West points come out in (0, 360]: 360 rather than 0.
void SpecialPointsFrom(float vertex, float mc, float points[6]) {
  points[0] = vertex;
  points[1] = vertex + 180;
  if (points[1] >= 360) points[1] -= 360;
  points[2] = vertex - 90;
  if (points[2] <= 0) points[2] += 360;
  points[3] = vertex + 90;
  if (points[3] >= 360) points[3] -= 360;
  points[4] = mc - 90;
  if (points[4] <= 0) points[4] += 360;
  points[5] = mc + 90;
  if (points[5] >= 360) points[5] -= 360;
}

// Turns the cusps to the querent's house.
//   unturned      degrees, element h = cusp of house h+1
//   querentHouse  0..11 (other values are taken modulo 12)
//   turned        degrees (out), element 0 = cusp of the querent's house
void TurnCusps(const float unturned[12], int querentHouse, float turned[12]) {
  for (int h = 0; h < 12; ++h) {
    int i = (h - querentHouse) % 12;
    if (i < 0) i += 12;
    turned[i] = unturned[h];
  }
}

// House cusps and the points of the house routine.
//   chart  JulianDayUT, JulianDay0h (days), UniversalTime (hours),
//          GeocentricLatitude, GeoLongitude, the longitudes of the Sun, the
//          Moon, Mars and Saturn (degrees), HouseSystem, HouseRoutineSwitch,
//          QuerentHouse in; HouseCusps (turned), SpecialPoints, the copy of
//          the special points in CuspsAndPoints, EclipticLongitude[16] and
//          [17] (degrees), DayChart (+1/-1) out; HouseSystem becomes 10
//          after the high-latitude fall-back
//   returns what the routine did besides (fall-back, substitution)
HouseOutcome CalcHouses(ChartRecord& chart) {
  HouseCuspRecord rec;
  rec.MomentJulianDay = chart.JulianDayUT;
  rec.JulianDay0h = chart.JulianDay0h;
  rec.ExtraHours = 0;
  rec.UniversalTime = chart.UniversalTime;
  rec.PlaceLatitude = chart.GeocentricLatitude;
  rec.PlaceLongitude = chart.GeoLongitude;
  rec.SunLongitude = static_cast<float>(chart.EclipticLongitude[kSun]);
  rec.MoonLongitude = static_cast<float>(chart.EclipticLongitude[kMoon]);
  rec.MarsLongitude = static_cast<float>(chart.EclipticLongitude[kMars]);
  rec.SaturnLongitude = static_cast<float>(chart.EclipticLongitude[kSaturn]);
  const HouseResult r = CalcHouseCusps(rec, chart.HouseSystem, chart.HouseRoutineSwitch);

  HouseOutcome outcome;
  outcome.HighLatitudeFallback = r.HighLatitudeFallback;
  outcome.EqualFromMcSubstituted = r.EqualFromMcSubstituted;
  if (r.HighLatitudeFallback) chart.HouseSystem = r.HouseSystem;

  chart.EclipticLongitude[kPartOfFortune] = rec.PartOfFortune;
  chart.EclipticLongitude[kCrossOfFate] = rec.CrossOfFate;
  chart.DayChart = rec.DayFlag;

  // special points from the Vertex and the unturned MC (cusp of house 10)
  SpecialPointsFrom(rec.Vertex, rec.Cusps[9], chart.SpecialPoints);
  for (int i = 0; i < 6; ++i) chart.CuspsAndPoints[12 + i] = chart.SpecialPoints[i];

  TurnCusps(rec.Cusps, chart.QuerentHouse, chart.HouseCusps());
  return outcome;
}

// Daily motion from the longitudes an hour before and an hour after the
// moment.
//   lonBefore, lonAfter  degrees [0, 360)
//   returns degrees per day, and the retrograde flag (motion <= 0)
// The change is folded into (-180, 180], so a passage through 0 deg Aries is
// the short way round.
BodyMotion MotionFromCentralDifference(double lonBefore, double lonAfter) {
  double d = lonAfter - lonBefore;
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  BodyMotion m;
  m.DailyMotion = d / (2 * kSpeedHalfStepDays);
  m.Retrograde = d <= 0;
  return m;
}

// Daily motions and retrograde flags.
//   chart  JulianDayUT (chart time scale) in; DailyMotion (degrees per day)
//          of bodies 0..15 and Retrograde of bodies 2..10 out; the motions
//          of bodies 16 and 17 and the flags of the Sun, the Moon and bodies
//          11..17 are 0
//   equatorialOutput  as given to CalcPlanets
// The bodies are computed an hour before and an hour after the moment; the
// motion is the change over the two hours, per day. The points 11..15
// (Proserpina, Lilith, Selena, the nodes) get theirs the same way, so that
// whether an aspect to one of them applies is judged with both bodies
// moving; the nodes, always going back, keep the flag of 0 as the other
// points do.
void CalcSpeeds(ChartRecord& chart, bool equatorialOutput) {
  const BodyPositions before =
      BodiesAt(chart.JulianDayUT - kSpeedHalfStepDays, chart.Geocentric, equatorialOutput);
  const BodyPositions after =
      BodiesAt(chart.JulianDayUT + kSpeedHalfStepDays, chart.Geocentric, equatorialOutput);
  for (int b = 0; b < kBodyCount; ++b) {
    chart.DailyMotion[b] = 0;
    chart.Retrograde[b] = 0;
  }
  for (int b = 0; b < kEngineBodies; ++b) {
    const BodyMotion m = MotionFromCentralDifference(before.Longitude[b], after.Longitude[b]);
    chart.DailyMotion[b] = m.DailyMotion;
    if (b >= kFirstPlanet && b <= kLastFlaggedBody) chart.Retrograde[b] = m.Retrograde ? 1 : 0;
  }
}

// Whether a longitude lies within 1 deg of either edge of its sign.
//   lon  degrees, any finite value (reduced into [0, 360) first, so 360
//        counts as 0 deg Aries)
std::uint8_t SignEdgeFlagOf(double lon) {
  Normalize360(lon);
  const double start = 30.0 * SignOf(lon);
  return (std::fabs(lon - (start + 30.0)) < 1.0 || std::fabs(lon - start) < 1.0) ? 1 : 0;
}

// SignEdgeFlag of bodies 0..17 from EclipticLongitude.
void CalcSignEdgeFlags(ChartRecord& chart) {
  for (int b = 0; b < kBodyCount; ++b)
    chart.SignEdgeFlag[b] = SignEdgeFlagOf(chart.EclipticLongitude[b]);
}

// The whole recomputation of the chart.
//   chart             the chart (in/out)
//   honourKinds       1 searches only the kinds enabled in AspectKindEnabled
//   equatorialOutput  the main window's equatorial-output switch
//   returns the house outcome, the planetary-hour and lunar-day tables when
//           computed, and the aspect list's lines
// The planetary hours and the lunar day are computed only at GeoLatitude <=
// 65 (every southern latitude). PlanetaryHour and LunarDay are written only
// when their routine could determine them (not during polar day or night),
// so they otherwise keep their previous values. The bodies are ranked by
// longitude into SortedPoints, with their signs and houses, and the house
// rulers, the receptions, the fixed stars and the Arabic parts worked out,
// before the aspects: the judgement and the wheel read them from the record,
// and no drawing writes them.
RecalcResult RecalcChart(ChartRecord& chart, std::uint8_t honourKinds, bool equatorialOutput,
                         const LunarDayTable* knownMonth, const ReceptionParams& receptions) {
  RecalcResult result;
  CalcPlanets(chart, equatorialOutput);
  result.Houses = CalcHouses(chart);
  CalcSpeeds(chart, equatorialOutput);
  CalcSignEdgeFlags(chart);

  if (chart.GeoLatitude <= kHighLatitudeLimit) {
    result.PlanetHoursComputed =
        CalcPlanetHours(chart.UniversalTime, chart.GeocentricLatitude, chart.GeoLongitude,
                        chart.EclipticLongitude[kSun], chart.JulianDayUT, chart.JulianDay0h,
                        chart.TimeZone, result.PlanetHours);
    if (result.PlanetHoursComputed) chart.PlanetaryHour = result.PlanetHours.PlanetaryHour;
    int day = 0;
    if (knownMonth != nullptr &&
        LunarDayFromTable(*knownMonth, chart.JulianDayUT, chart.GeocentricLatitude,
                          chart.GeoLongitude, day)) {
      result.LunarDays = *knownMonth;
      result.LunarDays.LunarDay = day;
      result.LunarDaysComputed = true;
    } else {
      result.LunarDaysComputed = CalcMoonDays(chart.JulianDayUT, chart.GeocentricLatitude,
                                              chart.GeoLongitude, result.LunarDays);
    }
    if (result.LunarDaysComputed) chart.LunarDay = result.LunarDays.LunarDay;
  }

  RankChartPoints(chart);
  CalcHouseRulers(chart);
  result.ReceptionSwapMenu = CalcReceptionsStarsAndParts(chart, receptions);
  CalcAspects(chart, honourKinds);
  result.AspectListFilled = chart.AspectListShown != 0;
  result.AspectList = FillAspectList(chart);
  return result;
}

// Recomputation for the reception-swap variant: the positions, houses,
// motions and edge flags as usual, then bodies 0..11 moved by 30 deg times
// their ReceptionShift, and the ranking, the house rulers, the fixed stars,
// the Arabic parts and the aspects of the enabled kinds on the moved
// positions. The planetary hours and the lunar day are not recomputed; the
// receptions and their shifts stay those the swap was made with.
RecalcResult RecalcChartReception(ChartRecord& chart, bool equatorialOutput,
                                  const ReceptionParams& receptions) {
  RecalcResult result;
  CalcPlanets(chart, equatorialOutput);
  result.Houses = CalcHouses(chart);
  CalcSpeeds(chart, equatorialOutput);
  CalcSignEdgeFlags(chart);

  for (int b = 0; b < 12; ++b) {
    double lon = chart.EclipticLongitude[b] + 30.0 * chart.ReceptionShift[b];
    Normalize360(lon);
    chart.EclipticLongitude[b] = lon;
    float objLon = chart.ObjectLongitude[b] + 30.0f * static_cast<float>(chart.ReceptionShift[b]);
    Normalize360f(objLon);
    chart.ObjectLongitude[b] = objLon;
  }

  RankChartPoints(chart);
  CalcHouseRulers(chart);
  result.ReceptionSwapMenu = CalcReceptionsStarsAndParts(chart, receptions);
  CalcAspects(chart, 1);
  result.AspectListFilled = chart.AspectListShown != 0;
  result.AspectList = FillAspectList(chart);
  return result;
}

// The receptions, the fixed stars and the Arabic parts of a ranked chart.
//   The receptions read the signs of SortedPoints and leave the record as
//   it is while ReceptionSwap is 1; the parts read the cusps, the bodies'
//   longitudes and HouseRuler, so they come after CalcHouseRulers.
SwapMenuState CalcReceptionsStarsAndParts(ChartRecord& chart, const ReceptionParams& receptions) {
  const SwapMenuState swap = FindReceptions(chart, receptions);
  PrecessFixedStars(chart.JulianDayUT, chart);
  CalcArabicParts(chart);
  return swap;
}
