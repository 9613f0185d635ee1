// Spreading of the wheel's glyphs so that crowded bodies and cusps stay
// legible.
#include "chart/glyphslots.h"

#include <cmath>

namespace {

bool ShownBody(const ChartRecord& r, int body) {
  return body >= 0 && body < kBodyCount && r.ObjectShown[body] != 0;
}

// Sector 1..12 of a house-proportional position in degrees; 360 (and any
// value beyond) belongs to sector 12, a negative or non-finite value to 1.
int SectorOf(float position) {
  if (!(position >= 0.0f)) return 1;
  const int h = static_cast<int>(position / 30.0f) + 1;
  return h > 12 ? 12 : h;
}

}  // namespace

// Glyph places inside the signs, two rows.
//   record  reads SignGlyphCount, ObjectShown, SortedPoints Body; writes
//           SortedPoints Row (1 outer ring of the ranking, 2 inner)
//   layout  reads GlyphSlots SignDegree; writes GlyphSlots SignPlace
//           (degrees inside the sign)
//   The counts add up to 18 and the bodies of one sign stand consecutively
//   in the ranking (MapPlanetsToHouseSectors); a count that would run past
//   the ranking is cut short.
void SpreadHouseGlyphs(ChartRecord& record, GlyphLayout& layout) {
  GlyphSlot* slot = layout.GlyphSlots;
  SortedPoint* point = record.SortedPoints;
  int p = 0;
  for (int s = 1; s <= 12 && p < kBodyCount; ++s) {
    const int n = record.SignGlyphCount[s - 1];
    if (n <= 0) continue;
    const int first = p;
    for (int e = 1; e <= n && p < kBodyCount; ++e, ++p) {
      slot[p].SignPlace = slot[p].SignDegree;
      point[p].Row = 1;
      if (e == 1) {
        if (slot[p].SignDegree < kSignFirstPlace) slot[p].SignPlace = kSignFirstPlace;
        continue;
      }
      // crowded: a fixed step after the previous glyph, rows alternating
      // behind a shown glyph of row 1
      if (slot[p].SignPlace - slot[p - 1].SignPlace < kSignCrowdGap) {
        slot[p].SignPlace = slot[p - 1].SignPlace + kSignStep;
        if (point[p - 1].Row == 1 && ShownBody(record, point[p - 1].Body)) point[p].Row = 2;
      }
    }
    // the last glyph kept inside the sign, its predecessors pulled back
    const int last = p - 1;
    if (slot[last].SignPlace > kSignLastPlace) {
      slot[last].SignPlace = kSignLastPlace;
      for (int i = last - 1; i >= first; --i) {
        if (slot[i + 1].SignPlace - slot[i].SignPlace >= kSignPullGap) break;
        slot[i].SignPlace = slot[i + 1].SignPlace - kSignPullGap;
      }
    }
  }
}

// Glyph places inside the equal house sectors, one row.
//   record  reads SortedPoints Body; writes SortedPoints HouseRankBody and
//           HouseRankHouse (1..12) by place in the ranking by position
//   layout  reads GlyphSlots HousePosition (degrees, 30 per house); writes
//           GlyphSlots HouseRankPosition, HouseDegree, HousePlace (degrees)
//   The ranking follows the rule of RankPlace, so equal positions keep the
//   order of the longitude ranking. Each sector's group is the run of
//   consecutive places whose position falls in it, which is the sector the
//   glyph is drawn in.
void SpreadHouseGlyphsSingleRow(ChartRecord& record, GlyphLayout& layout) {
  GlyphSlot* slot = layout.GlyphSlots;
  SortedPoint* point = record.SortedPoints;

  // ranking by house position
  double position[kBodyCount];
  for (int j = 0; j < kBodyCount; ++j) position[j] = slot[j].HousePosition;
  int bodyAt[kBodyCount];
  float positionAt[kBodyCount];
  for (int j = 0; j < kBodyCount; ++j) {
    const int q = RankPlace(position, kBodyCount, j);
    positionAt[q] = slot[j].HousePosition;
    bodyAt[q] = point[j].Body;
  }
  for (int q = 0; q < kBodyCount; ++q) {
    slot[q].HouseRankPosition = positionAt[q];
    point[q].HouseRankBody = bodyAt[q];
    const int h = SectorOf(positionAt[q]);
    point[q].HouseRankHouse = h;
    slot[q].HouseDegree = positionAt[q] - 30.0f * (h - 1);
  }

  // spacing inside each sector's run of places
  int p = 0;
  while (p < kBodyCount) {
    const int first = p;
    const int h = point[first].HouseRankHouse;
    for (; p < kBodyCount && point[p].HouseRankHouse == h; ++p) {
      slot[p].HousePlace = slot[p].HouseDegree;
      if (p == first) {
        if (slot[p].HouseDegree < kHouseFirstPlace) slot[p].HousePlace = kHouseFirstPlace;
      } else if (slot[p].HousePlace - slot[p - 1].HousePlace < kHouseStep) {
        slot[p].HousePlace = slot[p - 1].HousePlace + kHouseStep;
      }
    }
    const int last = p - 1;
    if (slot[last].HousePlace > kHouseLastPlace) {
      slot[last].HousePlace = kHouseLastPlace;
      for (int i = last - 1; i >= first; --i) {
        if (slot[i + 1].HousePlace - slot[i].HousePlace >= kHousePullGap) break;
        slot[i].HousePlace = slot[i + 1].HousePlace - kHousePullGap;
      }
    }
  }
}

// Spread positions of the cusp and special-point labels.
//   record  reads CuspsAndPoints (degrees)
//   layout  writes SortedCuspPoints (degrees) and SortedCuspIndex (0..17)
//   Gaps are compared in whole degrees (truncated toward zero); a pushed
//   label takes part in the next comparison, so pushes run on along a
//   crowded stretch. The comparison across 0 degrees is made once, after
//   the pass, and may leave values above 360.
void SpreadGlyphPositions(const ChartRecord& record, GlyphLayout& layout) {
  constexpr int n = 18;
  double value[n];
  for (int i = 0; i < n; ++i) value[i] = record.CuspsAndPoints[i];
  for (int i = 0; i < n; ++i) {
    const int r = RankPlace(value, n, i);
    layout.SortedCuspPoints[r] = record.CuspsAndPoints[i];
    layout.SortedCuspIndex[r] = i;
  }
  float* sorted = layout.SortedCuspPoints;
  for (int k = 0; k + 1 < n; ++k) {
    const int gap = static_cast<int>(std::trunc(sorted[k + 1] - sorted[k]));
    if (gap < kCuspLabelGap) sorted[k + 1] += static_cast<float>(kCuspLabelGap - gap);
  }
  const int wrap = static_cast<int>(std::trunc(360.0f + sorted[0] - sorted[n - 1]));
  if (wrap < kCuspLabelGap) sorted[0] += static_cast<float>(kCuspLabelGap - wrap);
}

// House-proportional position of a longitude relative to the querent's
// cusp; see the header. Houses 1..11 run from RelativeCusps[h-1] up to,
// not including, RelativeCusps[h]; house 12 from RelativeCusps[11] up to
// and including 360.
float HouseProportionalPosition(float rel, const float (&rc)[12]) {
  for (int h = 1; h <= 11; ++h)
    if (rc[h - 1] <= rel && rel < rc[h])
      return 30.0f * (h - 1) + 30.0f * (rel - rc[h - 1]) / (rc[h] - rc[h - 1]);
  if (rc[11] <= rel && rel <= 360.0f) {
    const float width = 360.0f - rc[11];
    return width > 0.0f ? 330.0f + 30.0f * (rel - rc[11]) / width : 330.0f;
  }
  // cusps out of order: the sector of the nearest cusp behind
  int behind = 0;
  for (int k = 1; k < 12; ++k)
    if (rc[k] <= rel && rc[k] >= rc[behind]) behind = k;
  return 30.0f * behind;
}

// Positions of the six special points on the American wheel.
//   record     reads CuspsAndPoints (degrees): HouseCusps[0] and elements 12..17
//   layout     reads RelativeCusps (degrees)
//   positions  degrees [0, 360], house-proportional, objects 30..35
void MapPointsToHouseSectors(const ChartRecord& record, const GlyphLayout& layout,
                             float (&positions)[6]) {
  const float origin = record.HouseCusps()[0];
  for (int i = 0; i < 6; ++i) {
    float rel = record.CuspsAndPoints[12 + i] - origin;
    if (rel < 0.0f) rel += 360.0f;
    positions[i] = HouseProportionalPosition(rel, layout.RelativeCusps);
  }
}
