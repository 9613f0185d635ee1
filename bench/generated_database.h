// A generated chart database of 100,000 charts for the benchmarks: a root,
// 100 sections of 10 subsections, each subsection holding 100 charts with
// varied moments, places and texts.
#pragma once

#include <string>

#include "engine/astromath.h"
#include "mainwindow/chartdb.h"

namespace bench {

inline constexpr int kSections = 100;
inline constexpr int kSubsections = 10;
inline constexpr int kChartsPerSubsection = 100;  // 100 x 10 x 100 = 100,000 charts

inline ChartDatabase GeneratedDatabase() {
  ChartDatabase db;
  CreateDatabase(db, "Generated", "Section 0", "Section 0/1");
  db.Nodes.pop_back();
  db.Lines.pop_back();
  int n = 0;
  for (int s = 0; s < kSections; ++s) {
    const std::string section = "Section " + std::to_string(s);
    db.Nodes.push_back({section, 1, kDbSection});
    db.Lines.push_back(section + "/1");
    for (int u = 0; u < kSubsections; ++u) {
      const std::string sub = "Questions " + std::to_string(u);
      db.Nodes.push_back({sub, 2, kDbSection});
      db.Lines.push_back(sub + "/1");
      for (int c = 0; c < kChartsPerSubsection; ++c, ++n) {
        DbChart chart;
        chart.ChartName = "Chart number " + std::to_string(n);
        chart.UniversalTime = static_cast<float>((n * 7919) % 86400) / 3600.0f;
        chart.TimeZone = static_cast<float>(n % 25 - 12);
        chart.JulianDay0h = JulianDay(1 + n % 28, 1 + n % 12, 1900 + n % 130, 0.0f);
        chart.JulianDayUT = JulianDay(1 + n % 28, 1 + n % 12, 1900 + n % 130, chart.UniversalTime);
        chart.GeoLatitude = static_cast<float>(n % 180 - 90) + 0.25f;
        chart.GeoLongitude = static_cast<float>(n % 360 - 180) + 0.5f;
        chart.HouseCode = PackHouseCode(n % 12, (n / 12) % 12, n % 10);
        chart.PlaceName = "Town of the chart";
        chart.ChartComment = "Will the matter asked about come to pass this year?";
        db.Nodes.push_back({chart.ChartName, 3, kDbChart});
        db.Lines.push_back(BuildDbRecordLine(chart));
      }
    }
  }
  return db;
}

}  // namespace bench
