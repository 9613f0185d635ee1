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

// Signs and house sectors of the ranked bodies.
//   Reads HouseCusps (degrees; element 0 the cusp of the querent's house),
//   SortedPoints Body, GlyphSlots SlotLongitude and EclipticLongitude.
//   RelativeCusps[k] = cusp k - cusp 0 in [0, 360). A body lies in house h
//   when RelativeCusps[h-1] <= RelLongitude < RelativeCusps[h] (house 12 up
//   to and including 360); HousePosition = 30 (h-1) + 30 times the fraction
//   of the house passed. Where the cusps do not ascend round the wheel (a
//   house system that fails at the place), a body no interval holds goes to
//   the house of the nearest cusp behind it, at the start of its sector.
//   The sign is that of the body's longitude (SignOf), so a longitude a
//   hair below 360 that single precision rounds to 360 stays in Pisces with
//   SignDegree 30.
//   Writes SortedPoints Sign and House (1..12), RelLongitude, HousePosition,
//   SignDegree, SignGlyphCount and HouseGlyphCount (each adds up to 18).
void MapPlanetsToHouseSectors(ChartRecord& record, GlyphLayout& layout) {
  const float* cusps = record.HouseCusps();
  float* rc = layout.RelativeCusps;
  for (int k = 0; k < 12; ++k) {
    rc[k] = cusps[k] - cusps[0];
    if (rc[k] < 0) rc[k] += 360.0f;
  }
  for (int k = 0; k < 12; ++k) {
    record.SignGlyphCount[k] = 0;
    record.HouseGlyphCount[k] = 0;
  }

  for (int j = 0; j < kBodyCount; ++j) {
    GlyphSlot& slot = layout.GlyphSlots[j];
    SortedPoint& point = record.SortedPoints[j];

    float rel = slot.SlotLongitude - cusps[0];
    if (rel < 0) rel += 360.0f;
    slot.RelLongitude = rel;

    int house = 0;
    float position = 0;
    for (int h = 1; h <= 11 && house == 0; ++h)
      if (rc[h - 1] <= rel && rel < rc[h]) {
        house = h;
        position = 30.0f * (h - 1) + 30.0f * (rel - rc[h - 1]) / (rc[h] - rc[h - 1]);
      }
    if (house == 0 && rc[11] <= rel && rel <= 360.0f) {
      house = 12;
      const float width = 360.0f - rc[11];
      position = width > 0 ? 330.0f + 30.0f * (rel - rc[11]) / width : 330.0f;
    }
    if (house == 0) {
      int behind = 0;
      for (int k = 1; k < 12; ++k)
        if (rc[k] <= rel && rc[k] >= rc[behind]) behind = k;
      house = behind + 1;
      position = 30.0f * behind;
    }
    slot.HousePosition = position;
    point.House = house;
    ++record.HouseGlyphCount[house - 1];

    const int body = point.Body >= 0 && point.Body < kBodyCount ? point.Body : 0;
    const int sign = SignOf(RankingLongitude(record, body)) + 1;
    slot.SignDegree = slot.SlotLongitude - 30.0f * (sign - 1);
    point.Sign = sign;
    ++record.SignGlyphCount[sign - 1];
  }
}
