// Recomputation of the chart: the positions of the bodies, the house cusps
// turned to the querent's house with the six special points and the two
// computed points, the daily motions and retrograde flags, the sign-edge
// flags, the planetary hours and the lunar day, the ranking of the bodies by
// longitude with their signs and houses, the house rulers by the chart's
// house-ruler method, the mutual receptions, the fixed stars' longitudes at
// the chart's moment, the Arabic parts, the aspects and the aspect list;
// and the variant used while mutual receptions are shown exchanged.
//
// Every step is a free function over the chart record and keeps no state of
// its own. What the windows show of a recomputation (the house-system menu
// check, the status-bar panels, the tool-window tables, the aspect list)
// comes back in a RecalcResult for the caller to apply.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/lunardays.h"
#include "chart/planetaryhours.h"
#include "chart/rulers.h"

// What the house routine did besides filling the chart.
struct HouseOutcome {
  bool HighLatitudeFallback = false;    // latitude above 65 deg North: HouseSystem is now 10
                                        // (equal houses from the MC) for good; the main
                                        // window checks menu item N95
  bool EqualFromMcSubstituted = false;  // the chosen system gave no cusps here: equal houses
                                        // from the MC for this chart only
};

// What a recomputation hands back to the windows.
struct RecalcResult {
  HouseOutcome Houses;                  // house-routine outcome
  bool PlanetHoursComputed = false;     // PlanetHours is new and PlanetaryHour was written
  PlanetaryHourTable PlanetHours;       // table for the planetary-hour window and status bar
  bool LunarDaysComputed = false;       // LunarDays is new and LunarDay was written
  LunarDayTable LunarDays;              // table for the lunar-day window and status bar
  bool AspectListFilled = false;        // AspectList replaces the list's items (AspectListShown 1)
  std::vector<std::string> AspectList;  // lines of the aspect list, code page 1251
  SwapMenuState ReceptionSwapMenu = SwapMenuState::kLeave;  // what the receptions ask of N51
};

// Daily motion of a body from its longitudes an hour either side of the moment.
struct BodyMotion {
  double DailyMotion = 0;   // degrees per day
  bool Retrograde = false;  // the body went back or stood still
};

// Bodies 0..17: geocentric positions for JulianDayUT.
void CalcPlanets(ChartRecord& chart, bool equatorialOutput = false);

// House cusps, the Part of Fortune, the Cross of Fate, day or night, the six
// special points and the turn of the cusps to the querent's house.
HouseOutcome CalcHouses(ChartRecord& chart);

// Daily motions of bodies 0..10 and retrograde flags of bodies 2..10.
void CalcSpeeds(ChartRecord& chart, bool equatorialOutput = false);

// SignEdgeFlag of bodies 0..17.
void CalcSignEdgeFlags(ChartRecord& chart);

// The whole recomputation, the ranking of the points among its steps.
// honourKinds 1 limits the aspect search to the kinds enabled in
// AspectKindEnabled, 0 searches all 30.
// knownMonth, when given, is the lunar-day table of an earlier recomputation:
// while the moment stays inside that month at the same place it is reused
// instead of searching the new moons and moonrises again (stepping a chart
// through time stays fast).
// receptions are the kinds of mutual reception searched (the calculation
// parameters' reception page).
RecalcResult RecalcChart(ChartRecord& chart, std::uint8_t honourKinds,
                         bool equatorialOutput = false, const LunarDayTable* knownMonth = nullptr,
                         const ReceptionParams& receptions = ReceptionParams());

// Recomputation with the bodies of mutual receptions moved by their
// ReceptionShift, ranked anew; planetary hours and the lunar day are left as
// they are, and so are the receptions and shifts the swap was made with.
RecalcResult RecalcChartReception(ChartRecord& chart, bool equatorialOutput = false,
                                  const ReceptionParams& receptions = ReceptionParams());

// What follows from the ranking and the house rulers and is marked on the
// wheel: the mutual receptions of the kinds switched on (unless the swapped
// chart is shown), the fixed stars' longitudes at JulianDayUT and the Arabic
// parts' longitudes. Returns what the receptions ask of the swap menu item.
SwapMenuState CalcReceptionsStarsAndParts(ChartRecord& chart, const ReceptionParams& receptions);

// ---- Single steps, also used by the tests -----------------------------------

// The six special points from the Vertex x and the unturned MC (degrees).
void SpecialPointsFrom(float vertex, float mc, float points[6]);

// Turns the unturned cusps (element h = house h+1) to the querent's house:
// turned[(h - querentHouse) mod 12] = unturned[h].
void TurnCusps(const float unturned[12], int querentHouse, float turned[12]);

// Daily motion and retrograde flag from the longitudes an hour before and an
// hour after the moment (degrees); a crossing of 0 deg Aries counts as the
// short way round.
BodyMotion MotionFromCentralDifference(double lonBefore, double lonAfter);

// 1 when a longitude (degrees) lies within 1 deg of either edge of its sign.
std::uint8_t SignEdgeFlagOf(double lon);
