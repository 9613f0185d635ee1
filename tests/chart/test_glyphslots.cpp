// Spreading of the wheel's glyphs: places and rows inside the signs, places
// inside the equal house sectors, the cusp labels and the house-proportional
// positions of the special points. Expected places are worked out by hand
// from the spacing rules (first glyph at least 4 degrees in, crowded glyphs
// 4.5 degrees apart on alternating rows, last glyph at most 26.5 degrees in
// with 3-degree pull-back; 6 and 6.5 degrees in the house sectors; cusp
// labels at least 4 whole degrees apart).
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

#include "chart/glyphslots.h"

namespace {

constexpr float kPlaceTolDeg = 1e-4f;  // degrees: single-precision sums of the steps

// A chart whose bodies stand at the given longitudes; bodies not named are
// parked one per sign from Libra on (200, 230, ... degrees, wrapping), far
// from the signs the tests crowd. Equal houses from 0 degrees, every object
// shown.
struct Placement {
  std::unique_ptr<ChartRecord> record = std::make_unique<ChartRecord>();
  GlyphLayout layout;

  explicit Placement(std::initializer_list<std::pair<int, double>> bodies) {
    bool named[kBodyCount] = {};
    for (const auto& [b, lon] : bodies) {
      record->EclipticLongitude[b] = lon;
      named[b] = true;
    }
    int parked = 0;
    for (int b = 0; b < kBodyCount; ++b) {
      if (named[b]) continue;
      record->EclipticLongitude[b] = 200.0 + 30.0 * (parked % 5) + 2.0 * (parked / 5);
      ++parked;
    }
    for (int k = 0; k < 12; ++k) record->CuspsAndPoints[k] = 30.0f * k;
    for (int i = 0; i < 6; ++i) record->CuspsAndPoints[12 + i] = 15.0f + 60.0f * i;
    for (auto& shown : record->ObjectShown) shown = 1;
  }
  void Place() {
    RankPointsByLongitude(*record, layout);
    MapPlanetsToHouseSectors(*record, layout);
    SpreadHouseGlyphs(*record, layout);
  }
  void PlaceInHouses() {
    RankPointsByLongitude(*record, layout);
    MapPlanetsToHouseSectors(*record, layout);
    SpreadHouseGlyphsSingleRow(*record, layout);
  }
  // Place in the longitude ranking of a body.
  int PlaceOf(int body) const {
    for (int j = 0; j < kBodyCount; ++j)
      if (record->SortedPoints[j].Body == body) return j;
    return -1;
  }
  float SignPlaceOf(int body) const { return layout.GlyphSlots[PlaceOf(body)].SignPlace; }
  int RowOf(int body) const { return record->SortedPoints[PlaceOf(body)].Row; }
  // Place in the house ranking of a body.
  int HousePlaceIndex(int body) const {
    for (int q = 0; q < kBodyCount; ++q)
      if (record->SortedPoints[q].HouseRankBody == body) return q;
    return -1;
  }
  float HousePlaceOf(int body) const { return layout.GlyphSlots[HousePlaceIndex(body)].HousePlace; }
};

// --- places inside the signs ----------------------------------------------

TEST(SpreadHouseGlyphs, LoneGlyphsKeepClearOfTheSignEdges) {
  Placement p({{0, 30.5}, {1, 89.9}, {2, 130.0}});  // 0.5 Taurus, 29.9 Gemini, 10 Leo
  p.Place();
  EXPECT_NEAR(p.SignPlaceOf(0), 4.0f, kPlaceTolDeg);
  EXPECT_NEAR(p.SignPlaceOf(1), 26.5f, kPlaceTolDeg);
  EXPECT_NEAR(p.SignPlaceOf(2), 10.0f, kPlaceTolDeg);
  EXPECT_EQ(p.RowOf(0), 1);
  EXPECT_EQ(p.RowOf(1), 1);
}

TEST(SpreadHouseGlyphs, CrowdedGlyphsAlternateRowsAtFixedSteps) {
  // five bodies within 2 degrees at 10 Aries: 10, 14.5, 19, 23.5, 28 -> the
  // last is set to 26.5; 26.5 - 23.5 = 3 stops the pull-back
  Placement p({{3, 10.0}, {4, 10.5}, {5, 11.0}, {6, 11.5}, {7, 12.0}});
  p.Place();
  const float want[5] = {10.0f, 14.5f, 19.0f, 23.5f, 26.5f};
  const int rows[5] = {1, 2, 1, 2, 1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(p.SignPlaceOf(3 + i), want[i], kPlaceTolDeg) << "body " << 3 + i;
    EXPECT_EQ(p.RowOf(3 + i), rows[i]) << "body " << 3 + i;
  }
}

TEST(SpreadHouseGlyphs, PullBackRunsUntilAGapOfThreeDegrees) {
  // 20, 24.5, 29, 33.5, 38 -> 26.5, then 23.5, 20.5, 17.5, 14.5
  Placement p({{3, 20.0}, {4, 20.5}, {5, 21.0}, {6, 21.5}, {7, 22.0}});
  p.Place();
  const float want[5] = {14.5f, 17.5f, 20.5f, 23.5f, 26.5f};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(p.SignPlaceOf(3 + i), want[i], kPlaceTolDeg);
  // a gap already wide enough stops the pull-back early
  // 5, 25, 29.5 -> 26.5; 25 is pulled to 23.5; 5 lies 18.5 behind and stays
  Placement q({{3, 5.0}, {4, 25.0}, {5, 25.5}});
  q.Place();
  EXPECT_NEAR(q.SignPlaceOf(5), 26.5f, kPlaceTolDeg);
  EXPECT_NEAR(q.SignPlaceOf(4), 23.5f, kPlaceTolDeg);
  EXPECT_NEAR(q.SignPlaceOf(3), 5.0f, kPlaceTolDeg);
}

TEST(SpreadHouseGlyphs, EqualLongitudesAndHiddenNeighbours) {
  // equal longitudes: the lower body index first, the second 4.5 degrees on,
  // on row 2 behind a shown glyph
  Placement p({{9, 100.0}, {2, 100.0}});
  p.Place();
  EXPECT_LT(p.PlaceOf(2), p.PlaceOf(9));
  EXPECT_NEAR(p.SignPlaceOf(2), 10.0f, kPlaceTolDeg);
  EXPECT_NEAR(p.SignPlaceOf(9), 14.5f, kPlaceTolDeg);
  EXPECT_EQ(p.RowOf(9), 2);
  // behind a hidden glyph the next one is still moved but stays on row 1
  Placement h({{2, 100.0}, {9, 101.0}});
  h.record->ObjectShown[2] = 0;
  h.Place();
  EXPECT_NEAR(h.SignPlaceOf(9), 14.5f, kPlaceTolDeg);
  EXPECT_EQ(h.RowOf(9), 1);
}

TEST(SpreadHouseGlyphs, EachSignIsSpreadOnItsOwn) {
  // 28 and 29 Aries, 0.2 Taurus: the Taurus glyph starts afresh at 4
  Placement p({{0, 28.0}, {1, 29.0}, {2, 30.2}});
  p.Place();
  EXPECT_NEAR(p.SignPlaceOf(0), 23.5f, kPlaceTolDeg);  // 28, 32.5 -> 26.5, 23.5
  EXPECT_NEAR(p.SignPlaceOf(1), 26.5f, kPlaceTolDeg);
  EXPECT_NEAR(p.SignPlaceOf(2), 4.0f, kPlaceTolDeg);
  EXPECT_EQ(p.RowOf(2), 1);
}

// --- places inside the equal house sectors --------------------------------

TEST(SpreadHouseGlyphsSingleRow, SectorPlacesFollowTheSpacingRules) {
  // equal houses from 0: the house position is the longitude
  Placement p({{0, 0.5},
               {1, 59.9},
               {2, 100.0},
               {3, 101.0},
               {4, 102.0},
               {5, 140.0},
               {6, 141.0},
               {7, 142.0},
               {8, 143.0}});
  p.PlaceInHouses();
  EXPECT_NEAR(p.HousePlaceOf(0), 4.0f, kPlaceTolDeg);   // first of house 1, 0.5 in
  EXPECT_NEAR(p.HousePlaceOf(1), 26.0f, kPlaceTolDeg);  // alone at 29.9 of house 2
  EXPECT_NEAR(p.HousePlaceOf(2), 10.0f, kPlaceTolDeg);  // 10, 16, 22 in house 4
  EXPECT_NEAR(p.HousePlaceOf(3), 16.0f, kPlaceTolDeg);
  EXPECT_NEAR(p.HousePlaceOf(4), 22.0f, kPlaceTolDeg);
  // 20, 26, 32, 38 in house 5 -> 26, then 19.5, 13, 6.5
  EXPECT_NEAR(p.HousePlaceOf(5), 6.5f, kPlaceTolDeg);
  EXPECT_NEAR(p.HousePlaceOf(6), 13.0f, kPlaceTolDeg);
  EXPECT_NEAR(p.HousePlaceOf(7), 19.5f, kPlaceTolDeg);
  EXPECT_NEAR(p.HousePlaceOf(8), 26.0f, kPlaceTolDeg);
  EXPECT_EQ(p.record->SortedPoints[p.HousePlaceIndex(5)].HouseRankHouse, 5);
  EXPECT_EQ(p.record->SortedPoints[p.HousePlaceIndex(1)].HouseRankHouse, 2);
}

TEST(SpreadHouseGlyphsSingleRow, RankingFollowsHousePositionsFromTheQuerentsCusp) {
  // houses counted from a querent's cusp at 100 with unequal widths: a body
  // at 90 lies in house 12 and ranks last though its longitude ranks first
  Placement p({{0, 90.0}, {1, 110.0}});
  const float cusps[12] = {100, 120, 150, 180, 210, 240, 280, 300, 330, 0, 30, 60};
  for (int k = 0; k < 12; ++k) p.record->CuspsAndPoints[k] = cusps[k];
  p.PlaceInHouses();
  const int sun = p.HousePlaceIndex(0);
  const int moon = p.HousePlaceIndex(1);
  ASSERT_GE(sun, 0);
  ASSERT_GE(moon, 0);
  // house 12 runs from 60 to 100 (40 degrees): 90 is 30/40 of it
  EXPECT_NEAR(p.layout.GlyphSlots[sun].HouseRankPosition, 330.0f + 30.0f * 30.0f / 40.0f, 1e-3f);
  EXPECT_EQ(p.record->SortedPoints[sun].HouseRankHouse, 12);
  // house 1 runs from 100 to 120: 110 is half of it
  EXPECT_NEAR(p.layout.GlyphSlots[moon].HouseRankPosition, 15.0f, 1e-3f);
  EXPECT_NEAR(p.layout.GlyphSlots[moon].HouseDegree, 15.0f, 1e-3f);
  EXPECT_LT(moon, sun);
  for (int q = 1; q < kBodyCount; ++q)
    EXPECT_LE(p.layout.GlyphSlots[q - 1].HouseRankPosition,
              p.layout.GlyphSlots[q].HouseRankPosition);
}

// --- cusp and point labels --------------------------------------------------

// Cusps and points far enough apart not to move, with two values set.
struct CuspLabels {
  std::unique_ptr<ChartRecord> record = std::make_unique<ChartRecord>();
  GlyphLayout layout;
  CuspLabels() {
    for (int k = 0; k < 12; ++k) record->CuspsAndPoints[k] = 15.0f + 30.0f * k;
    for (int i = 0; i < 6; ++i) record->CuspsAndPoints[12 + i] = 25.0f + 60.0f * i;
  }
  // Spread value of CuspsAndPoints index i.
  float Spread(int i) const {
    for (int k = 0; k < 18; ++k)
      if (layout.SortedCuspIndex[k] == i) return layout.SortedCuspPoints[k];
    return -1;
  }
};

TEST(SpreadGlyphPositions, GapsAreComparedInWholeDegrees) {
  CuspLabels c;
  c.record->CuspsAndPoints[2] = 100.0f;
  c.record->CuspsAndPoints[3] = 103.7f;  // 3.7 after the cusp before
  c.record->CuspsAndPoints[7] = 260.0f;
  c.record->CuspsAndPoints[8] = 264.2f;  // 4.2 after the cusp before
  SpreadGlyphPositions(*c.record, c.layout);
  EXPECT_NEAR(c.Spread(2), 100.0f, kPlaceTolDeg);
  EXPECT_NEAR(c.Spread(3), 104.7f, kPlaceTolDeg);  // gap 3.7 -> 3: one degree on
  EXPECT_NEAR(c.Spread(7), 260.0f, kPlaceTolDeg);
  EXPECT_NEAR(c.Spread(8), 264.2f, kPlaceTolDeg);  // gap 4.2 -> 4: stays
  for (int k = 1; k < 18; ++k)
    EXPECT_LE(c.layout.SortedCuspPoints[k - 1], c.layout.SortedCuspPoints[k]);
}

TEST(SpreadGlyphPositions, PushesRunOnAndCrossZeroOnce) {
  CuspLabels c;
  // 10, 11, 12: 11 goes to 14 (gap 1), 12 then lies 2 behind it and goes to 18
  c.record->CuspsAndPoints[0] = 11.0f;
  c.record->CuspsAndPoints[12] = 10.0f;
  c.record->CuspsAndPoints[1] = 12.0f;
  // last label at 358.5: 360 + 10 - 358.5 = 11.5, no push across zero here
  c.record->CuspsAndPoints[11] = 358.5f;
  SpreadGlyphPositions(*c.record, c.layout);
  EXPECT_NEAR(c.Spread(12), 10.0f, kPlaceTolDeg);
  EXPECT_NEAR(c.Spread(0), 14.0f, kPlaceTolDeg);
  EXPECT_NEAR(c.Spread(1), 18.0f, kPlaceTolDeg);

  CuspLabels w;
  w.record->CuspsAndPoints[0] = 1.0f;     // first of the ranking
  w.record->CuspsAndPoints[11] = 358.5f;  // last: 360 + 1 - 358.5 = 2.5 -> 2
  SpreadGlyphPositions(*w.record, w.layout);
  EXPECT_NEAR(w.Spread(0), 3.0f, kPlaceTolDeg);
  EXPECT_NEAR(w.Spread(11), 358.5f, kPlaceTolDeg);
  EXPECT_EQ(w.layout.SortedCuspIndex[0], 0);
  EXPECT_EQ(w.layout.SortedCuspIndex[17], 11);
}

// --- special points in the house sectors ------------------------------------

TEST(HouseProportionalPosition, PointsTakeTheirShareOfTheirHouse) {
  GlyphLayout layout;
  const float rel[12] = {0, 20, 50, 90, 120, 150, 180, 200, 230, 270, 300, 330};
  std::copy(std::begin(rel), std::end(rel), layout.RelativeCusps);
  EXPECT_NEAR(HouseProportionalPosition(10.0f, layout.RelativeCusps), 15.0f, kPlaceTolDeg);
  EXPECT_NEAR(HouseProportionalPosition(20.0f, layout.RelativeCusps), 30.0f,
              kPlaceTolDeg);  // on a cusp
  EXPECT_NEAR(HouseProportionalPosition(70.0f, layout.RelativeCusps), 75.0f, kPlaceTolDeg);
  EXPECT_NEAR(HouseProportionalPosition(345.0f, layout.RelativeCusps), 345.0f, kPlaceTolDeg);
  EXPECT_NEAR(HouseProportionalPosition(360.0f, layout.RelativeCusps), 360.0f, kPlaceTolDeg);

  // the six points measured from a querent's cusp at 100
  ChartRecord record;
  record.CuspsAndPoints[0] = 100.0f;
  const float points[6] = {110.0f, 140.0f, 90.0f, 100.0f, 280.0f, 99.0f};
  std::copy(std::begin(points), std::end(points), record.CuspsAndPoints + 12);
  float positions[6] = {};
  MapPointsToHouseSectors(record, layout, positions);
  EXPECT_NEAR(positions[0], 15.0f, kPlaceTolDeg);   // rel 10
  EXPECT_NEAR(positions[1], 50.0f, kPlaceTolDeg);   // rel 40 in house 2 (20..50)
  EXPECT_NEAR(positions[2], 350.0f, kPlaceTolDeg);  // rel 350 in house 12 (330..360)
  EXPECT_NEAR(positions[3], 0.0f, kPlaceTolDeg);    // on the querent's cusp
  EXPECT_NEAR(positions[4], 180.0f, kPlaceTolDeg);  // rel 180, the seventh cusp
  EXPECT_NEAR(positions[5], 330.0f + 30.0f * 29.0f / 30.0f, 1e-3f);  // rel 359
}

}  // namespace
