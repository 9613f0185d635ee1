// Fixed-star precession, mutual receptions, house rulers and Arabic parts.
#include "chart/rulers.h"

#include <algorithm>

#include "engine/astromath.h"

namespace {

constexpr double kEpoch1950 = 2433282.5;  // days, Julian day of 1950.0
constexpr double kDaysPerYear = 365.25;   // days per Julian year
constexpr int kOperandCount = 42;         // operand codes 0..41 of an Arabic part

// A longitude reduced into [0, 360) and stored in single precision, where
// a value a hair below 360 would round to 360.
float ReducedFloat(double lon) {
  Normalize360(lon);
  float f = static_cast<float>(lon);
  return f >= 360.0f ? 0.0f : f;
}

bool IsBody(int b) { return b >= 0 && b < kBodyCount; }

// The sign 0..11 each body 0..17 stands in by SortedPoints; -1 where no
// entry names the body or its sign is not 1..12.
void SignsFromSortedPoints(const ChartRecord& r, int (&sign)[kBodyCount]) {
  std::fill(std::begin(sign), std::end(sign), -1);
  for (const SortedPoint& p : r.SortedPoints)
    if (IsBody(p.Body) && p.Sign >= 1 && p.Sign <= 12) sign[p.Body] = p.Sign - 1;
}

// Domicile ruler of a sign, falling back on the fixed table when the
// record's entry is no body index.
int DomicileOf(const ChartRecord& r, int sign) {
  int ruler = r.DomicileRuler[sign];
  return IsBody(ruler) ? ruler : kDomicileRuler[sign];
}

}  // namespace

// Linear precession of the fixed stars from 1950.0 at each star's own rate.
//   jd      days, chart time scale
//   record  reads FixedStarLon1950 (degrees) and FixedStarMotion (degrees
//           per year); writes FixedStarLongitude (degrees [0, 360))
void PrecessFixedStars(double jd, ChartRecord& record) {
  for (int s = 0; s < kFixedStarCount; ++s)
    record.FixedStarLongitude[s] = ReducedFloat(FixedStarLongitudeAt(record, s, jd));
}

double FixedStarLongitudeAt(const ChartRecord& record, int s, double jd) {
  double lon =
      record.FixedStarLon1950[s] - (kEpoch1950 - jd) / kDaysPerYear * record.FixedStarMotion[s];
  Normalize360(lon);
  return lon;
}

// Mutual receptions of bodies 0..11.
//   A body b in sign s and the body r that has the kind's dignity (or
//   debility) in s are in mutual reception of that kind when b has it in
//   r's sign. Receptions[b][q] = r (50 none) for each kind switched on; for
//   each pair of shown bodies ReceptionShift[b] = sign of r - sign of b (a
//   later kind overwrites an earlier one). Signs come from SortedPoints for
//   the receptions and from EclipticLongitude for the shifts, both by the
//   same rule (SignOf).
//   While the swapped chart is shown (ReceptionSwap 1) nothing is searched
//   and the receptions and shifts of the unswapped chart stay, so the swap
//   can be shown and undone with the shifts it was made with.
// Returns whether the swap menu item is to be enabled (a mutual reception
// between shown bodies), disabled, or left as it is.
SwapMenuState FindReceptions(ChartRecord& record, const ReceptionParams& params) {
  if (record.ReceptionSwap == 1) return SwapMenuState::kLeave;
  for (int b = 0; b < 12; ++b) {
    record.ReceptionShift[b] = 0;
    for (int q = 0; q < 4; ++q) record.Receptions[b][q] = kNone;
  }
  const int* tables[4] = {record.DomicileRuler, record.ExaltationRuler, record.DetrimentRuler,
                          record.FallRuler};
  int sign[kBodyCount];
  SignsFromSortedPoints(record, sign);

  for (int b = 0; b < 12; ++b) {
    if (sign[b] < 0) continue;
    for (int q = 0; q < 4; ++q) {
      if (!params.KindOn[q]) continue;
      const int partner = tables[q][sign[b]];
      if (!IsBody(partner) || sign[partner] < 0) continue;
      if (tables[q][sign[partner]] == b) record.Receptions[b][q] = partner;
    }
  }

  bool paired[12] = {};
  for (int q = 0; q < 4; ++q)
    for (int b = 0; b < 12; ++b) {
      const int partner = record.Receptions[b][q];
      if (partner == kNone || partner == b || !IsBody(partner)) continue;
      if (!record.ObjectShown[b] || !record.ObjectShown[partner]) continue;
      record.ReceptionShift[b] =
          SignOf(record.EclipticLongitude[partner]) - SignOf(record.EclipticLongitude[b]);
      paired[b] = true;
    }
  const int count = static_cast<int>(std::count(std::begin(paired), std::end(paired), true));
  return count / 2 != 0 ? SwapMenuState::kEnable : SwapMenuState::kDisable;
}

// Rulers of the twelve houses counted from the querent's house.
//   HouseRulerMethod 0 (and any value other than 1 and 2): domicile ruler of
//   the cusp's sign. 1: the angular houses (1, 4, 7, 10) as 0; any other
//   house takes the ruler of the next sign when it reaches into that sign at
//   least twice as far as it lies in the cusp's sign. 2: almuten of the
//   cusp's whole degree, of the day or the night table by DayChart.
//   Writes HouseRuler (body index) and HouseRulerLongitude (degrees). An
//   almuten entry that is no body index gives the domicile ruler instead.
void CalcHouseRulers(ChartRecord& record) {
  const float* cusps = record.HouseCusps();
  for (int i = 0; i < 12; ++i) {
    double c = cusps[i];
    Normalize360(c);
    const int s = SignOf(c);
    int ruler = DomicileOf(record, s);
    if (record.HouseRulerMethod == 1 && i % 3 != 0) {
      double next = cusps[(i + 1) % 12];
      Normalize360(next);
      // extent of the house beyond the end of the cusp's sign
      double beyond = next - 30.0 * (s + 1);
      if (beyond < 0 && SignOf(next) != s) beyond += 360.0;
      if ((30.0 * (s + 1) - c) * 2 <= beyond) ruler = DomicileOf(record, (s + 1) % 12);
    } else if (record.HouseRulerMethod == 2) {
      const int d = DegreeOf(c);
      const int almuten = record.DayChart == 1 ? record.AlmutenDay[d] : record.AlmutenNight[d];
      if (IsBody(almuten)) ruler = almuten;
    }
    record.HouseRuler[i] = ruler;
    record.HouseRulerLongitude[i] = static_cast<float>(record.EclipticLongitude[ruler]);
  }
}

// Longitudes of the Arabic parts.
//   Operand value of code x: x < 12 HouseCusps[x]; x < 30 EclipticLongitude[x
//   - 12]; x < 42 HouseRulerLongitude[x - 30] (degrees). Sign of a mode m:
//   0 plus, 1 minus, 2 plus in a day chart (DayChart 1) and minus otherwise,
//   3 the reverse. Longitude = A + sign(mB) B + sign(mC) C, reduced into
//   [0, 360). The sex field does not enter.
// Returns the number of parts computed among the first PartCount (at most
// 100) records.
int CalcArabicParts(ChartRecord& record) {
  auto operand = [&record](int x) -> double {
    if (x < 12) return record.HouseCusps()[x];
    if (x < 30) return record.EclipticLongitude[x - 12];
    return record.HouseRulerLongitude[x - 30];
  };
  const bool day = record.DayChart == 1;
  auto factor = [day](int mode) -> double {
    switch (mode) {
      case 0:
        return 1.0;
      case 1:
        return -1.0;
      case 2:
        return day ? 1.0 : -1.0;
      default:
        return day ? -1.0 : 1.0;
    }
  };
  auto validOperand = [](int x) { return x >= 0 && x < kOperandCount; };
  auto validMode = [](int m) { return m >= 0 && m <= 3; };

  const int n = std::clamp(record.PartCount, 0, kMaxArabicParts);
  int computed = 0;
  for (int i = 0; i < n; ++i) {
    PartRecord& p = record.ArabicParts[i];
    if (!validOperand(p.A) || !validOperand(p.B) || !validOperand(p.C) || !validMode(p.SignModeB) ||
        !validMode(p.SignModeC))
      continue;
    p.Longitude = ReducedFloat(operand(p.A) + factor(p.SignModeB) * operand(p.B) +
                               factor(p.SignModeC) * operand(p.C));
    ++computed;
  }
  return computed;
}
