// The significators: the chart points that stand for the querent and for the
// quesited. The proposal from the house rulers, the rules of the two lists of
// five slots, the nearness of a point to the Sun, and the description of a
// point that the significators dialog shows.
//
// Plain functions over the chart record; the dialog shows what they return.
#pragma once

#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "judgement/dignities.h"

inline constexpr int kSignificatorSlots = 5;  // points a side
inline constexpr int kEmptySlot = -1;

// Body indices used by the judgement.
enum JudgementBody : int {
  kBodySun = 0,
  kBodyMoon = 1,
  kBodyMercury = 2,
  kBodyVenus = 3,
  kBodyMars = 4,
  kBodyJupiter = 5,
  kBodySaturn = 6,
  kBodyUranus = 7,
  kBodyNeptune = 8,
  kBodyPluto = 9,
  kBodyNorthNode = 14,
  kBodySouthNode = 15,
  kBodyPartOfFortune = 16,
  kBodyCrossOfFate = 17,
};

// The sign-ruler option of the calculation parameters.
enum SignRulerOption : int {
  kSevenPlanets = 0,  // "Семь планет": Uranus, Neptune, Pluto give way to Saturn, Jupiter, Mars
  kWithOuterPlanets = 1,  // "С высшими планетами"
};

// The two sides of the significators.
enum SignificatorSide : int {
  kQuerentSide = 0,
  kQuesitedSide = 1,
};

// The two lists: chart points 0..17, kEmptySlot for an empty slot, filled
// from slot 0 without gaps; no point stands on both sides.
struct SignificatorLists {
  int Querent[kSignificatorSlots] = {kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot};
  int Quesited[kSignificatorSlots] = {kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot};

  int* Side(int side) { return side == kQuesitedSide ? Quesited : Querent; }
  const int* Side(int side) const { return side == kQuesitedSide ? Quesited : Querent; }
  // Points held on a side (the slots before the first empty one).
  int Count(int side) const;
  // True when both sides hold a point (the completion command is enabled).
  bool Complete() const { return Querent[0] != kEmptySlot && Quesited[0] != kEmptySlot; }
};

// The ruler as the seven planets see it: with kSevenPlanets a ruler above
// Saturn becomes 13 minus it (Uranus 7 -> Saturn 6, Neptune 8 -> Jupiter 5,
// Pluto 9 -> Mars 4); otherwise it stays.
int ClassicRuler(int ruler, int signRulerOption);

// The proposed significators of a chart whose HouseRuler is up to date
// (CalcHouseRulers), for the quesited's house record.QuesitedHouse (counted
// from the querent's house, reduced into 0..11; the record is the one source
// of it, the house window's combo box only shows it):
//   A = ruler of the querent's house, B = ruler of the quesited's house;
//   quesited: B; querent: the Moon when A = B, else A and, when neither A
//   nor B is the Moon, the Moon as co-significator;
//   both first significators the Moon: the quesited takes the ruler of the
//   sign the Moon stands in; when that is the Moon again (Moon in Cancer)
//   the quesited's list stays empty for the astrologer to fill, as a point
//   never stands on both sides.
SignificatorLists ProposeSignificators(const ChartRecord& record, int signRulerOption);

// What adding a point to the side on show would do.
enum class AddPlan {
  kAdd,            // the point goes into the first empty slot of the side
  kAlreadyThere,   // the point is on this side already (message 480 querent, 483 quesited)
  kMoveFromOther,  // the point stands on the other side: ask (481 querent, 484 quesited)
  kSideFull,       // all five slots taken and the point in neither list: nothing happens
  kInvalidPoint,   // not a chart point 0..17
};

// The plan for adding `point` to `side`, looking at both whole lists first,
// so a point never enters one side while it stands on the other.
AddPlan PlanAddSignificator(const SignificatorLists& lists, int side, int point);

// Carries out kAdd, or kMoveFromOther once confirmed (the point leaves the
// other side, whose later slots move up). Returns false and changes nothing
// when the receiving side is full (message 482) or the plan is neither.
bool AddSignificator(SignificatorLists& lists, int side, int point);

// Removes slot `slot` of a side; the later slots move up and slot 4 becomes
// empty. An empty or out-of-range slot changes nothing.
void RemoveSignificator(SignificatorLists& lists, int side, int slot);

// Shorter arc between two longitudes, degrees 0..180 (Sun at 359 deg and
// Mercury at 2 deg are 3 deg apart).
double ArcBetween(double lon1, double lon2);

// Nearness of a point to the Sun, by the shorter arc d:
//   d <= 17'                      cazimi
//   17' < d <= 8.5, same sign      combust
//   17' < d <= 8.5, another sign   under the beams
//   8.5 < d <= 17, same sign       under the beams
//   otherwise                      free
enum class SunNearness { kFree, kCazimi, kCombust, kUnderBeams };
inline constexpr double kCazimiOrb = 0.2833333333333333;  // degrees (17')
inline constexpr double kCombustOrb = 8.5;                // degrees
inline constexpr double kUnderBeamsOrb = 17.0;            // degrees
SunNearness SunNearnessOf(double pointLon, double sunLon);

// True when the longitude stands on a critical degree: the whole degree is
// the start of one of the 28 lunar mansions, or the degree within the sign
// is 0 or 29.
bool IsCriticalDegree(double lon);

// The description of point `point` on `side` as the significators dialog
// lists it (name; sign and house; houses ruled; nearness to the Sun;
// critical degree; the dignity lines, only for points with a dignity row of
// the first dignities table).
// HouseRuler must be up to date.
std::vector<std::string> DescribeSignificator(const ChartRecord& record,
                                              const SignificatorLists& lists, int side, int point,
                                              int signRulerOption, const DignityGrid& dignities,
                                              const std::vector<std::string>& uiText);

// Language-file entries of the significators.
inline constexpr int kEntryAlreadyQuerent = 480;
inline constexpr int kEntryMoveToQuerent = 481;
inline constexpr int kEntryListFull = 482;
inline constexpr int kEntryAlreadyQuesited = 483;
inline constexpr int kEntryMoveToQuesited = 484;
inline constexpr int kEntryConfirmRemove = 485;
inline constexpr int kEntryNoQuerentSignificator = 492;
inline constexpr int kEntryNoQuesitedSignificator = 493;

// Entry i of the language file, or "" when the table is shorter.
const std::string& UiEntry(const std::vector<std::string>& uiText, int entry);
