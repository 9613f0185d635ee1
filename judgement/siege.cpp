// Siege by the malefics nearest on either side, within the point's sign.
#include "judgement/siege.h"

#include "engine/astromath.h"
#include "judgement/significators.h"
#include "judgement/timedsearch.h"

namespace {

constexpr int kProserpina = 11;
constexpr int kLilith = 12;
constexpr int kSelena = 13;

bool PassedOver(int b, bool seven) {
  if (b == kLilith || b == kSelena || b == kBodyPartOfFortune) return true;
  return seven && b >= kBodyUranus && b <= kProserpina;
}

bool Malefic(int b, bool seven) {
  if (b == kBodyMars || b == kBodySaturn || b == kBodySouthNode) return true;
  return !seven && (b == kBodyUranus || b == kBodyNeptune || b == kBodyPluto || b == kProserpina);
}

}  // namespace

std::optional<Besiegers> BesiegersAt(const ChartRecord& r, int k, int signRulerOption) {
  if (k < 0 || k >= kBodyCount) return std::nullopt;
  const bool seven = signRulerOption == kSevenPlanets;
  auto neighbour = [&](int step) {
    for (int n = 1; n < kBodyCount; ++n) {
      const int b = r.SortedPoints[Mod(k + step * n, kBodyCount)].Body;
      if (!PassedOver(b, seven)) return b;
    }
    return -1;
  };
  const Besiegers around{neighbour(-1), neighbour(1)};
  if (around.Before < 0 || around.After < 0) return std::nullopt;
  if (!Malefic(around.Before, seven) || !Malefic(around.After, seven)) return std::nullopt;
  const int sign = SignOf(r.EclipticLongitude[r.SortedPoints[k].Body]);
  if (SignOf(r.EclipticLongitude[around.Before]) != sign ||
      SignOf(r.EclipticLongitude[around.After]) != sign)
    return std::nullopt;
  return around;
}
