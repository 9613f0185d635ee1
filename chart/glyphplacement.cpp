// Ranking of the bodies by longitude and their signs and house sectors, the
// first steps of the glyph placement.
#include "chart/glyphplacement.h"

#include <cmath>

#include "engine/astromath.h"

namespace {

// Longitude of body b as the ranking sees it: reduced into [0, 360), a
// non-finite value counting as 0.
double RankingLongitude(const ChartRecord& r, int b) {
  double lon = r.EclipticLongitude[b];
  Normalize360(lon);
  return lon;
}

}  // namespace

// Place of item i by the ranking rule (see the header).
int RankPlace(const double* values, int n, int i) {
  int place = 0;
  for (int j = 0; j < n; ++j)
    if (values[j] < values[i] || (j < i && values[j] == values[i])) ++place;
  return place;
}

// Bodies 0..17 in ascending order of longitude.
//   Reads EclipticLongitude (degrees); writes SortedPoints[r].Body and
//   GlyphSlots[r].SlotLongitude (degrees, single precision) for place r.
//   Equal longitudes keep the order of the body indices; 0 degrees ranks
//   first, so bodies at 359.9 and 0.1 stand at the two ends.
void RankPointsByLongitude(ChartRecord& record, GlyphLayout& layout) {
  double lon[kBodyCount];
  for (int b = 0; b < kBodyCount; ++b) lon[b] = RankingLongitude(record, b);
  for (int b = 0; b < kBodyCount; ++b) {
    const int r = RankPlace(lon, kBodyCount, b);
    layout.GlyphSlots[r].SlotLongitude = static_cast<float>(lon[b]);
    record.SortedPoints[r].Body = b;
  }
}

namespace {

// Places of the ranked bodies in the drawing's layout.
//   Reads HouseCusps (degrees; element 0 the cusp of the querent's house),
//   SortedPoints Body and GlyphSlots SlotLongitude.
//   RelativeCusps[k] = cusp k - cusp 0 in [0, 360). A body lies in house h
//   when RelativeCusps[h-1] <= RelLongitude < RelativeCusps[h] (house 12 up
//   to and including 360); HousePosition = 30 (h-1) + 30 times the fraction
//   of the house passed. Where the cusps do not ascend round the wheel (a
//   house system that fails at the place), a body no interval holds goes to
//   the house of the nearest cusp behind it, at the start of its sector.
//   The sign is that of the body's longitude (SignOf), so a longitude a
//   hair below 360 that single precision rounds to 360 stays in Pisces with
//   SignDegree 30.
//   Writes RelativeCusps, RelLongitude, HousePosition and SignDegree, and
//   the house and sign (1..12) of each place into house[] and sign[].
void PlaceRankedBodies(const ChartRecord& record, GlyphLayout& layout, int (&house)[kBodyCount],
                       int (&sign)[kBodyCount]) {
  const float* cusps = record.HouseCusps();
  float* rc = layout.RelativeCusps;
  for (int k = 0; k < 12; ++k) {
    rc[k] = cusps[k] - cusps[0];
    if (rc[k] < 0) rc[k] += 360.0f;
  }

  for (int j = 0; j < kBodyCount; ++j) {
    GlyphSlot& slot = layout.GlyphSlots[j];
    const SortedPoint& point = record.SortedPoints[j];

    float rel = slot.SlotLongitude - cusps[0];
    if (rel < 0) rel += 360.0f;
    slot.RelLongitude = rel;

    int h = 0;
    float position = 0;
    for (int k = 1; k <= 11 && h == 0; ++k)
      if (rc[k - 1] <= rel && rel < rc[k]) {
        h = k;
        position = 30.0f * (k - 1) + 30.0f * (rel - rc[k - 1]) / (rc[k] - rc[k - 1]);
      }
    if (h == 0 && rc[11] <= rel && rel <= 360.0f) {
      h = 12;
      const float width = 360.0f - rc[11];
      position = width > 0 ? 330.0f + 30.0f * (rel - rc[11]) / width : 330.0f;
    }
    if (h == 0) {
      int behind = 0;
      for (int k = 1; k < 12; ++k)
        if (rc[k] <= rel && rc[k] >= rc[behind]) behind = k;
      h = behind + 1;
      position = 30.0f * behind;
    }
    slot.HousePosition = position;
    house[j] = h;

    const int body = point.Body >= 0 && point.Body < kBodyCount ? point.Body : 0;
    sign[j] = SignOf(RankingLongitude(record, body)) + 1;
    slot.SignDegree = slot.SlotLongitude - 30.0f * (sign[j] - 1);
  }
}

}  // namespace

// Signs and house sectors of the ranked bodies (see PlaceRankedBodies).
//   Writes the layout as PlaceRankedBodies does, and SortedPoints Sign and
//   House (1..12), SignGlyphCount and HouseGlyphCount (each adds up to 18).
void MapPlanetsToHouseSectors(ChartRecord& record, GlyphLayout& layout) {
  int house[kBodyCount], sign[kBodyCount];
  PlaceRankedBodies(record, layout, house, sign);
  for (int k = 0; k < 12; ++k) {
    record.SignGlyphCount[k] = 0;
    record.HouseGlyphCount[k] = 0;
  }
  for (int j = 0; j < kBodyCount; ++j) {
    record.SortedPoints[j].House = house[j];
    ++record.HouseGlyphCount[house[j] - 1];
    record.SortedPoints[j].Sign = sign[j];
    ++record.SignGlyphCount[sign[j] - 1];
  }
}

// The ranking as a step of the recomputation: the record's part of the two
// steps above; the layout they also fill is the drawing's and is dropped.
void RankChartPoints(ChartRecord& record) {
  GlyphLayout scratch;
  RankPointsByLongitude(record, scratch);
  MapPlanetsToHouseSectors(record, scratch);
}

// The drawing's layout of the ranking in the record: the slot longitudes of
// the ranked bodies, then their places as MapPlanetsToHouseSectors finds
// them; the record is only read.
void LayOutRankedPoints(const ChartRecord& record, GlyphLayout& layout) {
  for (int j = 0; j < kBodyCount; ++j) {
    const int b = record.SortedPoints[j].Body;
    const int body = b >= 0 && b < kBodyCount ? b : 0;
    layout.GlyphSlots[j].SlotLongitude = static_cast<float>(RankingLongitude(record, body));
  }
  int house[kBodyCount], sign[kBodyCount];
  PlaceRankedBodies(record, layout, house, sign);
}
