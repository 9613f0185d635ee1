// The daily motions of the recomputation against a DE431-based ephemeris's
// speeds of its apparent places (tests/data/ephemeris_checks.tsv), at 240
// moments over 1800-2200, and the retrograde flags that follow from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "chart/pipeline.h"
#include "engine/bodies.h"
#include "tests/engine/ephemeris_checks_support.h"

namespace {

using testsupport::EphemerisCheck;

// Arcseconds a day: the Moon's series and its rates, then the others.
constexpr double kMoonArcsecPerDay = 5.0;
constexpr double kOthersArcsecPerDay = 2.0;

TEST(DailyMotions, AgreeWithTheReferenceSpeedsOverFourCenturies) {
  const std::vector<EphemerisCheck> rows = testsupport::LoadEphemerisChecks();
  ASSERT_FALSE(rows.empty());
  auto chart = std::make_unique<ChartRecord>();
  InitChartRecord(*chart, {}, 0);
  double worst[kChiron + 1] = {};
  double lastJd = 0;
  for (const EphemerisCheck& r : rows) {
    if (r.body > kChiron) continue;
    if (r.jd != lastJd) {
      chart->JulianDayUT = r.jd;
      CalcSpeeds(*chart);
      lastJd = r.jd;
    }
    const double d = (chart->DailyMotion[r.body] - r.speed) * 3600.0;
    worst[r.body] = std::max(worst[r.body], std::fabs(d));
    EXPECT_LE(std::fabs(d), r.body == kMoon ? kMoonArcsecPerDay : kOthersArcsecPerDay)
        << "body " << r.body << " at JD " << r.jd << ": expected " << r.speed << ", got "
        << chart->DailyMotion[r.body];
    // the flag follows the motion, so a body the reference shows going back
    // by more than the tolerance is flagged
    if (r.body >= kMercury && std::fabs(r.speed) * 3600.0 > kOthersArcsecPerDay) {
      EXPECT_EQ(chart->Retrograde[r.body], r.speed < 0 ? 1 : 0) << "body " << r.body;
    }
  }
  for (int b = kSun; b <= kChiron; ++b) std::printf("body %d: worst %.3f\"/day\n", b, worst[b]);
}

}  // namespace
