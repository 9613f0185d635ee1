// The wheel only reads what the recomputation left in the chart: drawing it,
// in every style and variant, onto the window, an export or a print page,
// changes nothing of the record, neither what the judgement or another
// window reads nor the ranking the glyphs are laid out by.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "chart/ui/wheel.h"
#include "engine/astromath.h"
#include "platform/qt/canvas.h"
#include "tests/ui/factorychart.h"

namespace {

// The factory chart for a moment, recomputed with the detriment receptions
// searched besides the default kinds.
std::unique_ptr<ChartRecord> Computed(int day, int month, int year, float ut, float lat,
                                      float lon) {
  ReceptionParams kinds;
  kinds.KindOn[kReceptionDetriment] = true;
  return FactoryChart(day, month, year, ut, lat, lon, kinds);
}

// Every field the recomputation writes and the judgement, the printing or
// another window reads, compared as it stood before the drawing.
void ExpectSameComputation(const ChartRecord& before, const ChartRecord& after,
                           const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(0, std::memcmp(before.Receptions, after.Receptions, sizeof before.Receptions));
  EXPECT_EQ(0,
            std::memcmp(before.ReceptionShift, after.ReceptionShift, sizeof before.ReceptionShift));
  EXPECT_EQ(0, std::memcmp(before.FixedStarLongitude, after.FixedStarLongitude,
                           sizeof before.FixedStarLongitude));
  EXPECT_EQ(0, std::memcmp(before.HouseRuler, after.HouseRuler, sizeof before.HouseRuler));
  EXPECT_EQ(0, std::memcmp(before.HouseRulerLongitude, after.HouseRulerLongitude,
                           sizeof before.HouseRulerLongitude));
  for (int p = 0; p < kMaxArabicParts; ++p)
    EXPECT_EQ(before.ArabicParts[p].Longitude, after.ArabicParts[p].Longitude) << "part " << p;
  for (int q = 0; q < kBodyCount; ++q) {
    const SortedPoint &a = before.SortedPoints[q], &b = after.SortedPoints[q];
    EXPECT_TRUE(a.Body == b.Body && a.Sign == b.Sign && a.House == b.House && a.Row == b.Row &&
                a.HouseRankBody == b.HouseRankBody && a.HouseRankHouse == b.HouseRankHouse &&
                a.HouseRankOf == b.HouseRankOf)
        << "place " << q;
  }
  EXPECT_EQ(0, std::memcmp(before.EclipticLongitude, after.EclipticLongitude,
                           sizeof before.EclipticLongitude));
  EXPECT_EQ(0, std::memcmp(before.AspectKind, after.AspectKind, sizeof before.AspectKind));
}

TEST(WheelReads, DrawingInEveryStyleAndVariantChangesNothingTheComputationWrote) {
  struct Moment {
    int day, month, year;
    float ut, lat, lon;
  };
  const Moment moments[] = {{15, 7, 1990, 8.0f, 55.75f, 37.58f},
                            {4, 2, 1962, 5.0f, 51.5f, -0.13f},
                            {20, 3, 2024, 3.0f, -33.9f, 151.2f},
                            {11, 4, 1979, 16.86f, 51.48f, 0.0f}};
  int receptionsSeen = 0;
  for (const Moment& m : moments) {
    auto record = Computed(m.day, m.month, m.year, m.ut, m.lat, m.lon);
    for (int b = 0; b < 12; ++b) receptionsSeen += record->ReceptionShift[b] != 0;
    for (int style = 0; style <= 1; ++style)
      for (int variant = 0; variant < 5; ++variant)
        for (int target = 0; target < 3; ++target) {
          record->ChartStyle = style;
          WheelView view;
          view.FixedStars = variant == 1;
          view.LunarMansions = variant == 2;
          view.ArabicParts = variant == 3;
          view.Midpoints = variant == 4;
          WheelTarget on;
          on.ClientWidth = on.ClientHeight = 600;
          WheelWork work;
          // 0 the window, 1 an export, 2 a page image
          record->TargetFlags[0] = target == 2 ? 0 : 1;
          record->TargetFlags[1] = 1;
          record->TargetFlags[2] = target == 1 ? 0 : 1;
          const int rect[4] = {0, 500, 0, 500};
          std::copy(std::begin(rect), std::end(rect), record->TargetRect);
          const ChartRecord before = *record;
          TBitmap picture(600, 600);
          DrawChart(*record, work, picture.Canvas(), on, view);
          picture.Canvas().EndPaint();
          ExpectSameComputation(before, *record,
                                std::to_string(m.year) + " style " + std::to_string(style) +
                                    " variant " + std::to_string(variant) + " target " +
                                    std::to_string(target));
        }
  }
  EXPECT_GT(receptionsSeen, 0);  // the sweep draws reception arcs
}

}  // namespace
