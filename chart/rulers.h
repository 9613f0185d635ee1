// Quantities derived from a computed chart each time its wheel is drawn: the
// fixed stars' longitudes for the chart's moment, the mutual receptions of
// the planets, the rulers of the twelve houses and the Arabic parts.
#pragma once

#include "chart/chartrecord.h"

// Reception kinds, in the order of the reception tables.
enum ReceptionKind : int {
  kReceptionDomicile = 0,
  kReceptionExaltation = 1,
  kReceptionDetriment = 2,
  kReceptionFall = 3,
};

// The calculation parameters the receptions read: which kinds are searched
// (the four check boxes of the reception page; domicile and exaltation on by
// default).
struct ReceptionParams {
  bool KindOn[4] = {true, true, false, false};  // flag by ReceptionKind
};

// What the reception search asks of the menu item that swaps the planets of
// the mutual receptions.
enum class SwapMenuState {
  kLeave,    // the swapped chart is shown: the item keeps its state
  kEnable,   // at least one mutual reception between shown planets
  kDisable,  // none
};

// Fixed stars the judgement names (index in the chart's star table).
inline constexpr int kAlgol = 12;
inline constexpr int kRegulus = 39;
inline constexpr int kSpica = 48;

// Longitudes of the 73 fixed stars at Julian day jd (chart time scale):
// FixedStarLongitude[s] = FixedStarLon1950[s] - (2433282.5 - jd) / 365.25 *
// FixedStarMotion[s], reduced into [0, 360).
void PrecessFixedStars(double jd, ChartRecord& record);
// The longitude of star s at Julian day jd by the same rule, degrees [0, 360).
double FixedStarLongitudeAt(const ChartRecord& record, int s, double jd);

// Mutual receptions of bodies 0..11 by the kinds switched on, from the signs
// of SortedPoints; fills Receptions (partner body, 50 none) and
// ReceptionShift (signs from each body to its partner, for the swapped
// chart). While ReceptionSwap is 1 the receptions and shifts are those of
// the unswapped chart and are left as they are.
SwapMenuState FindReceptions(ChartRecord& record,
                             const ReceptionParams& params = ReceptionParams());

// Ruler of each house counted from the querent's house, by HouseRulerMethod
// (0 sign on the cusp, 1 with the extent of the house, 2 almuten of the cusp
// degree); fills HouseRuler and HouseRulerLongitude.
void CalcHouseRulers(ChartRecord& record);

// Longitudes of the PartCount Arabic parts: A + sign(B) B + sign(C) C over
// the operand codes (0..11 cusps, 12..29 bodies, 30..41 house rulers).
// Returns the number of parts computed; a part with an operand code outside
// 0..41 or a sign mode outside 0..3 keeps its longitude.
int CalcArabicParts(ChartRecord& record);
