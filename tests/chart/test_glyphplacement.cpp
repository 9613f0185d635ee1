// Ranking of the bodies by longitude and their signs and house sectors:
// ties, the wrap at 0 Aries, a longitude that single precision rounds to
// 360, bodies on cusps, the querent's house turned, and cusps that do not
// ascend.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "chart/glyphplacement.h"

namespace {

constexpr float kPositionTolDeg = 1e-4f;  // degrees, single-precision house positions

class Placement : public ::testing::Test {
 protected:
  void SetUp() override {
    r = std::make_unique<ChartRecord>();
    layout = std::make_unique<GlyphLayout>();
    // Equal houses from 0 Aries unless a test sets others.
    for (int k = 0; k < 12; ++k) r->HouseCusps()[k] = 30.0f * k;
    // Bodies spread one per 20 degrees, body b at 20 b + 5.
    for (int b = 0; b < kBodyCount; ++b) r->EclipticLongitude[b] = 20.0 * b + 5;
  }
  void Run() {
    RankPointsByLongitude(*r, *layout);
    MapPlanetsToHouseSectors(*r, *layout);
  }
  // Place of a body in the ranking.
  int PlaceOf(int body) const {
    for (int j = 0; j < kBodyCount; ++j)
      if (r->SortedPoints[j].Body == body) return j;
    return -1;
  }
  std::unique_ptr<ChartRecord> r;
  std::unique_ptr<GlyphLayout> layout;
};

TEST(RankPlace, EqualValuesKeepTheOrderOfTheirIndices) {
  const double v[6] = {5, 1, 5, 0, 1, 5};
  const int expected[6] = {3, 1, 4, 0, 2, 5};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(RankPlace(v, 6, i), expected[i]) << i;
}

TEST_F(Placement, RanksByLongitudeWithTiesAndTheWrapAtZero) {
  r->EclipticLongitude[7] = 359.9;  // the end of Pisces ranks last
  r->EclipticLongitude[12] = 0.1;   // just past 0 Aries ranks first
  r->EclipticLongitude[9] = 85.0;   // two bodies at one longitude
  r->EclipticLongitude[4] = 85.0;
  Run();
  EXPECT_EQ(r->SortedPoints[0].Body, 12);
  EXPECT_EQ(r->SortedPoints[17].Body, 7);
  EXPECT_EQ(PlaceOf(9), PlaceOf(4) + 1);  // the lower index first, side by side
  // a permutation, in ascending order of longitude
  bool seen[kBodyCount] = {};
  for (int j = 0; j < kBodyCount; ++j) {
    const int b = r->SortedPoints[j].Body;
    ASSERT_TRUE(b >= 0 && b < kBodyCount);
    EXPECT_FALSE(seen[b]);
    seen[b] = true;
    EXPECT_FLOAT_EQ(layout->GlyphSlots[j].SlotLongitude,
                    static_cast<float>(r->EclipticLongitude[b]));
    if (j > 0) {
      EXPECT_LE(layout->GlyphSlots[j - 1].SlotLongitude, layout->GlyphSlots[j].SlotLongitude);
    }
  }
}

TEST_F(Placement, SignsAndTheirCounts) {
  r->EclipticLongitude[3] = 30.0;          // exactly 0 Taurus
  r->EclipticLongitude[5] = 359.99999999;  // single precision rounds it to 360
  Run();
  int total = 0;
  for (int s = 0; s < 12; ++s) total += r->SignGlyphCount[s];
  EXPECT_EQ(total, kBodyCount);
  const SortedPoint& taurus = r->SortedPoints[PlaceOf(3)];
  EXPECT_EQ(taurus.Sign, 2);
  EXPECT_FLOAT_EQ(layout->GlyphSlots[PlaceOf(3)].SignDegree, 0.0f);
  const SortedPoint& pisces = r->SortedPoints[PlaceOf(5)];
  EXPECT_EQ(pisces.Sign, 12);
  EXPECT_FLOAT_EQ(layout->GlyphSlots[PlaceOf(5)].SignDegree, 30.0f);
  // the bodies of a sign occupy consecutive places in ascending order
  for (int j = 1; j < kBodyCount; ++j) {
    EXPECT_LE(r->SortedPoints[j - 1].Sign, r->SortedPoints[j].Sign);
  }
  for (int j = 0; j < kBodyCount; ++j) {
    const float d = layout->GlyphSlots[j].SignDegree;
    EXPECT_GE(d, 0.0f);
    EXPECT_LE(d, 30.0f);
  }
}

TEST_F(Placement, HousesAreProportionalAndACuspBelongsToTheHouseItOpens) {
  // Unequal houses: 1 at 10, 2 at 40, 3 at 60, 4 at 100, ... 12 at 340.
  const float cusps[12] = {10, 40, 60, 100, 130, 160, 190, 220, 240, 280, 310, 340};
  for (int k = 0; k < 12; ++k) r->HouseCusps()[k] = cusps[k];
  r->EclipticLongitude[0] = 60.0;  // on the cusp of house 3
  r->EclipticLongitude[1] = 80.0;  // half through house 3 (60..100)
  r->EclipticLongitude[2] = 5.0;   // house 12 (340..10), 25 of its 30 degrees
  r->EclipticLongitude[3] = 10.0;  // on the Ascendant
  Run();
  EXPECT_EQ(r->SortedPoints[PlaceOf(0)].House, 3);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(0)].HousePosition, 60.0f, kPositionTolDeg);
  EXPECT_EQ(r->SortedPoints[PlaceOf(1)].House, 3);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(1)].HousePosition, 75.0f, kPositionTolDeg);
  EXPECT_EQ(r->SortedPoints[PlaceOf(2)].House, 12);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(2)].HousePosition, 355.0f, kPositionTolDeg);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(2)].RelLongitude, 355.0f, kPositionTolDeg);
  EXPECT_EQ(r->SortedPoints[PlaceOf(3)].House, 1);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(3)].HousePosition, 0.0f, kPositionTolDeg);
  EXPECT_FLOAT_EQ(layout->RelativeCusps[0], 0.0f);
  EXPECT_FLOAT_EQ(layout->RelativeCusps[11], 330.0f);
  int total = 0;
  for (int h = 0; h < 12; ++h) total += r->HouseGlyphCount[h];
  EXPECT_EQ(total, kBodyCount);
}

TEST_F(Placement, HousesCountFromTheQuerentsHouse) {
  // The same wheel with the querent's house the 7th: element 0 holds the
  // cusp of house 7 and the houses are counted from it.
  const float cusps[12] = {10, 40, 60, 100, 130, 160, 190, 220, 240, 280, 310, 340};
  for (int k = 0; k < 12; ++k) r->HouseCusps()[k] = cusps[(k + 6) % 12];
  r->EclipticLongitude[0] = 80.0;   // natal house 3 -> ninth from the 7th
  r->EclipticLongitude[1] = 200.0;  // natal house 7 (190..220) -> first
  r->EclipticLongitude[2] = 5.0;    // natal house 12 -> sixth
  Run();
  EXPECT_EQ(r->SortedPoints[PlaceOf(0)].House, 9);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(0)].HousePosition, 255.0f, kPositionTolDeg);
  EXPECT_EQ(r->SortedPoints[PlaceOf(1)].House, 1);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(1)].HousePosition, 10.0f, kPositionTolDeg);
  EXPECT_NEAR(layout->GlyphSlots[PlaceOf(1)].RelLongitude, 10.0f, kPositionTolDeg);
  EXPECT_EQ(r->SortedPoints[PlaceOf(2)].House, 6);
  EXPECT_FLOAT_EQ(layout->RelativeCusps[6], 180.0f);  // natal 1st, 180 from natal 7th
  EXPECT_FLOAT_EQ(layout->RelativeCusps[5], 150.0f);  // natal 12th at 340
  // signs do not depend on the houses
  EXPECT_EQ(r->SortedPoints[PlaceOf(1)].Sign, 7);
}

TEST_F(Placement, CuspsThatDoNotAscendStillGiveEachBodyOneHouse) {
  // A house system that failed at the place: cusps out of order and equal.
  const float cusps[12] = {100, 90, 90, 200, 150, 300, 280, 10, 10, 50, 20, 350};
  for (int k = 0; k < 12; ++k) r->HouseCusps()[k] = cusps[k];
  Run();
  int total = 0;
  for (int h = 0; h < 12; ++h) total += r->HouseGlyphCount[h];
  EXPECT_EQ(total, kBodyCount);
  for (int j = 0; j < kBodyCount; ++j) {
    EXPECT_GE(r->SortedPoints[j].House, 1);
    EXPECT_LE(r->SortedPoints[j].House, 12);
    const float p = layout->GlyphSlots[j].HousePosition;
    EXPECT_TRUE(p >= 0.0f && p <= 360.0f) << p;
  }
}

}  // namespace
