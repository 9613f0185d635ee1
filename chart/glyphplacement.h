// Placement of the glyphs on the chart wheel: the bodies ranked by
// longitude, with their signs and houses, so that the drawing can spread
// glyphs that stand close together.
//
// The ranking itself (SortedPoints Body, Sign and House) and the counts per
// sign and house are fields of the record, which the judgement reads: the
// recomputation makes them (RankChartPoints), and the wheel draws by them.
// The working tables that belong to the drawing alone live in GlyphLayout,
// next to the chart record, and are laid out on every drawing
// (LayOutRankedPoints).
#pragma once

#include "chart/chartrecord.h"

// One place of the ranking of the bodies by longitude.
struct GlyphSlot {
  float SlotLongitude = 0;      // degrees, ecliptic longitude of the body at this place
  float SignDegree = 0;         // degrees 0..30, longitude inside its sign
  float SignPlace = 0;          // degrees, place inside the sign at which the glyph is drawn
  float RelLongitude = 0;       // degrees [0, 360], longitude minus the querent's cusp
  float HousePosition = 0;      // degrees [0, 360], house-proportional longitude
  float HouseRankPosition = 0;  // degrees, HousePosition values in the order of that ranking
  float HouseDegree = 0;        // degrees 0..30, HouseRankPosition inside its sector
  float HousePlace = 0;  // degrees, place inside the equal sector at which the glyph is drawn
};

// The drawing's working tables, rewritten on every drawing of the wheel.
struct GlyphLayout {
  GlyphSlot GlyphSlots[18];         // by place of the longitude ranking
  float RelativeCusps[12] = {};     // degrees [0, 360), cusp k minus the querent's cusp
  float SortedCuspPoints[18] = {};  // degrees, cusps and special points ascending, spread
  int SortedCuspIndex[18] = {};     // index 0..17 into CuspsAndPoints of each place
};

// Place of item i among n values: the number of values below v[i] plus the
// number of equal values at lower indices, so equal values keep the order of
// their indices and the places form a permutation of 0..n-1.
int RankPlace(const double* values, int n, int i);

// Ranks bodies 0..17 by EclipticLongitude: SortedPoints[r].Body and
// GlyphSlots[r].SlotLongitude for the body at place r.
void RankPointsByLongitude(ChartRecord& record, GlyphLayout& layout);

// Sign and house of each place of the ranking: RelativeCusps, RelLongitude,
// HousePosition, SignDegree, SortedPoints Sign (1..12) and House (1..12,
// counted from the querent's house), SignGlyphCount and HouseGlyphCount.
// Each body is counted in exactly one sign and one house.
void MapPlanetsToHouseSectors(ChartRecord& record, GlyphLayout& layout);

// The ranking as a step of the recomputation: SortedPoints Body, Sign and
// House and both counts, as RankPointsByLongitude and
// MapPlanetsToHouseSectors write them, from EclipticLongitude and HouseCusps.
void RankChartPoints(ChartRecord& record);

// The drawing's layout of the ranking the recomputation made: GlyphSlots
// SlotLongitude, RelLongitude, HousePosition and SignDegree and
// RelativeCusps, with the values MapPlanetsToHouseSectors gives them. The
// record is only read.
void LayOutRankedPoints(const ChartRecord& record, GlyphLayout& layout);
