// The zone files (first byte: Time.ttt, Hour_zone.ttt or a zone-rule file;
// the rest its content): read, then asked for the zone at moments across the
// periods.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "input/timezones.h"

namespace {
// 1900, 1930, 1957, 1981, 1991, 2011 and 2030 (local Julian days)
constexpr double kMoments[] = {2415020.5, 2425977.5, 2435839.5, 2444605.5,
                               2448257.5, 2455562.5, 2462502.5};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const LineList lines = LinesOfText(FuzzBytes(data + 1, size - 1));
  std::string message;
  switch (data[0] % 3) {
    case 0: {
      std::vector<ZoneRegion> regions;
      if (!ParseZoneHistory(lines, "Time.ttt", regions, message)) return 0;
      const std::vector<double> switches = {2444605.5, 2444788.5};
      for (const ZoneRegion& region : regions)
        for (double m : kMoments) (void)ZoneOfRegionTown(regions, switches, region.Code, 37.6, m);
      break;
    }
    case 1: {
      std::vector<double> switches;
      if (!ParseSummerSwitches(lines, "Hour_zone.ttt", switches, message)) return 0;
      for (std::size_t i = 1; i < switches.size(); ++i)
        FUZZ_CHECK(switches[i] > switches[i - 1], "order at %zu", i);
      for (double m : kMoments) (void)IsSummerTime(switches, m);
      for (double s : switches) (void)IsSummerTime(switches, s);
      std::vector<ZoneRegion> regions(1);
      regions[0].Code = "10";
      for (double s : switches)
        for (double d : {0.0, 1.0 / 48, -1.0 / 48})
          FUZZ_CHECK(ZoneOfRegionTown(regions, switches, "10", 37.6, s + d).Ok, "no zone");
      break;
    }
    default: {
      for (const std::string& line : lines) {
        double moment = 0;
        std::string what;
        (void)ZoneLineMoment(line, moment, what);
      }
      std::vector<ZoneRuleLine> rules;
      if (!ParseZoneRuleFile(lines, "Italy.zon", rules, message)) return 0;
      for (std::size_t i = 1; i < rules.size(); ++i)
        FUZZ_CHECK(rules[i].Moment >= rules[i - 1].Moment, "order at %zu", i);
      for (double m : kMoments)
        for (double lon : {-179.5, 0.0, 12.5, 180.0}) (void)ZoneOfRuleFileTown(rules, lon, m);
      // on, just around and an hour either side of every change: a zone
      // always, whether the reading was skipped or shown twice
      for (const ZoneRuleLine& rule : rules)
        for (double d : {0.0, kReadingToleranceDays, -kReadingToleranceDays, 1.0 / 24, -1.0 / 24}) {
          const TownZone z = ZoneOfRuleFileTown(rules, 10.0, rule.Moment + d);
          FUZZ_CHECK(z.Ok, "no zone at a line's moment");
          FUZZ_CHECK(std::isfinite(z.EastHours), "zone not finite");
        }
      break;
    }
  }
  return 0;
}
