// Significators: proposal, the rules of the two lists, nearness to the Sun,
// critical degrees and the point description.
#include "judgement/significators.h"

#include <algorithm>
#include <cmath>

#include "engine/astromath.h"
#include "judgement/questionhouses.h"
#include "judgement/timedsearch.h"

namespace {

constexpr int kLanguageSignNames = 37;                // ObjectNames[37 + s] names sign s
constexpr double kLunarMansion = 12.857142857142858;  // degrees, 360 / 28

bool IsPoint(int p) { return p >= 0 && p < kBodyCount; }

// Slot of point p on a side, or -1.
int SlotOf(const int* side, int p) {
  for (int i = 0; i < kSignificatorSlots && side[i] != kEmptySlot; ++i)
    if (side[i] == p) return i;
  return -1;
}

// House 1..12 of body p from the wheel ranking, 0 when it has no place.
int HouseOfPoint(const ChartRecord& record, int p) {
  for (const SortedPoint& s : record.SortedPoints)
    if (s.Body == p) return s.House;
  return 0;
}

const std::string& ObjectName(const ChartRecord& record, int o) {
  static const std::string empty;
  return o >= 0 && o + 1 < 49 ? record.ObjectNames[o + 1] : empty;
}

}  // namespace

const std::string& UiEntry(const std::vector<std::string>& uiText, int entry) {
  static const std::string empty;
  return entry >= 0 && entry < static_cast<int>(uiText.size()) ? uiText[entry] : empty;
}

int SignificatorLists::Count(int side) const {
  const int* s = Side(side);
  int n = 0;
  while (n < kSignificatorSlots && s[n] != kEmptySlot) ++n;
  return n;
}

int ClassicRuler(int ruler, int signRulerOption) {
  if (signRulerOption == kSevenPlanets && ruler > kBodySaturn && ruler <= kBodyPluto)
    return 13 - ruler;
  return ruler;
}

SignificatorLists ProposeSignificators(const ChartRecord& record, int signRulerOption) {
  SignificatorLists lists;
  const int a = ClassicRuler(record.HouseRuler[0], signRulerOption);
  const int b = ClassicRuler(record.HouseRuler[ReduceHouse(record.QuesitedHouse)], signRulerOption);
  if (!IsPoint(a) || !IsPoint(b)) return lists;
  lists.Quesited[0] = b;
  if (a == b) {
    lists.Querent[0] = kBodyMoon;
  } else {
    lists.Querent[0] = a;
    if (a != kBodyMoon && b != kBodyMoon) lists.Querent[1] = kBodyMoon;
  }
  if (lists.Querent[0] == kBodyMoon && lists.Quesited[0] == kBodyMoon) {
    // the Moon rules both houses: the quesited takes the ruler of the Moon's sign
    const int ruler = ClassicRuler(
        record.DomicileRuler[SignOf(record.EclipticLongitude[kBodyMoon])], signRulerOption);
    lists.Quesited[0] = IsPoint(ruler) && ruler != kBodyMoon ? ruler : kEmptySlot;
  }
  return lists;
}

AddPlan PlanAddSignificator(const SignificatorLists& lists, int side, int point) {
  if (!IsPoint(point)) return AddPlan::kInvalidPoint;
  if (SlotOf(lists.Side(side), point) >= 0) return AddPlan::kAlreadyThere;
  if (SlotOf(lists.Side(1 - side), point) >= 0) return AddPlan::kMoveFromOther;
  if (lists.Count(side) == kSignificatorSlots) return AddPlan::kSideFull;
  return AddPlan::kAdd;
}

bool AddSignificator(SignificatorLists& lists, int side, int point) {
  side = side == kQuesitedSide ? kQuesitedSide : kQuerentSide;
  const AddPlan plan = PlanAddSignificator(lists, side, point);
  if (plan != AddPlan::kAdd && plan != AddPlan::kMoveFromOther) return false;
  const int free = lists.Count(side);
  if (free == kSignificatorSlots) return false;
  if (plan == AddPlan::kMoveFromOther)
    RemoveSignificator(lists, 1 - side, SlotOf(lists.Side(1 - side), point));
  lists.Side(side)[free] = point;
  return true;
}

void RemoveSignificator(SignificatorLists& lists, int side, int slot) {
  int* s = lists.Side(side);
  if (slot < 0 || slot >= kSignificatorSlots || s[slot] == kEmptySlot) return;
  for (int i = slot; i + 1 < kSignificatorSlots; ++i) s[i] = s[i + 1];
  s[kSignificatorSlots - 1] = kEmptySlot;
}

double ArcBetween(double lon1, double lon2) {
  double d = std::fmod(std::fabs(lon1 - lon2), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

SunNearness SunNearnessOf(double pointLon, double sunLon) {
  const double d = ArcBetween(pointLon, sunLon);
  const bool sameSign = SignOf(pointLon) == SignOf(sunLon);
  if (d <= kCazimiOrb) return SunNearness::kCazimi;
  if (d <= kCombustOrb) return sameSign ? SunNearness::kCombust : SunNearness::kUnderBeams;
  if (d <= kUnderBeamsOrb && sameSign) return SunNearness::kUnderBeams;
  return SunNearness::kFree;
}

bool IsCriticalDegree(double lon) {
  Normalize360(lon);
  const int degree = static_cast<int>(std::floor(lon));
  for (int k = 0; k < 28; ++k)
    if (degree == static_cast<int>(std::floor(k * kLunarMansion))) return true;
  const int inSign = static_cast<int>(std::floor(lon - 30.0 * SignOf(lon)));
  return inSign == 0 || inSign == 29;
}

std::vector<std::string> DescribeSignificator(const ChartRecord& record,
                                              const SignificatorLists& lists, int side, int point,
                                              int signRulerOption, const DignityGrid& dignities,
                                              const std::vector<std::string>& uiText) {
  std::vector<std::string> lines;
  if (!IsPoint(point)) return lines;
  const double lon = record.EclipticLongitude[point];
  const int sign = SignOf(lon);
  lines.push_back(ObjectName(record, point));
  lines.push_back(UiEntry(uiText, 501) + " " + record.ObjectNames[kLanguageSignNames + sign] + " " +
                  UiEntry(uiText, 502) + " " + std::to_string(HouseOfPoint(record, point)) + " " +
                  UiEntry(uiText, 503));
  std::string ruled;
  for (int h = 0; h < kHouseCount; ++h) {
    const int ruler = record.HouseRuler[h];
    if (ruler == point || (signRulerOption == kSevenPlanets && ClassicRuler(ruler, 0) == point))
      ruled += (ruled.empty() ? "" : ",") + std::to_string(h + 1);
  }
  lines.push_back(UiEntry(uiText, 504) + " " + ruled + " " + UiEntry(uiText, 505));

  if (point != kBodySun) {
    const SunNearness near = SunNearnessOf(lon, record.EclipticLongitude[kBodySun]);
    // the bands of combustion do not count against a significator whose
    // partner on the other side is the Sun itself
    const bool sunPartner = side == kQuesitedSide
                                ? lists.Querent[0] == kBodySun
                                : (lists.Quesited[0] == kBodySun && lists.Querent[0] == point);
    if (near == SunNearness::kCazimi) lines.push_back(UiEntry(uiText, 506));
    if (near == SunNearness::kCombust && !sunPartner) lines.push_back(UiEntry(uiText, 507));
    if (near == SunNearness::kUnderBeams && !sunPartner) lines.push_back(UiEntry(uiText, 508));
  }
  if (IsCriticalDegree(lon)) lines.push_back(UiEntry(uiText, 509));
  lines.push_back(" ");

  const std::vector<std::string>* row = dignities.PointRow(point);
  if (row == nullptr || row->size() < kDignityColumns || dignities.Rows.empty()) return lines;
  const std::vector<std::string>& head = dignities.Rows[0];
  lines.push_back("Ess+ = " + (*row)[1]);
  lines.push_back("Ess- = " + (*row)[2]);
  lines.push_back("Asc+ = " + (*row)[3]);
  lines.push_back("Asc- = " + (*row)[4]);
  lines.push_back(" ");
  lines.push_back(UiEntry(uiText, 316));
  for (int c = 5; c < kDignityColumns; ++c)
    lines.push_back((c < static_cast<int>(head.size()) ? head[c] : std::string()) + " - " +
                    (*row)[c]);
  return lines;
}
