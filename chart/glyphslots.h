// Spreading of the glyphs on the chart wheel, after the bodies have been
// ranked and mapped to their signs and houses (glyphplacement.h): the
// degree inside each sign at which a body's glyph is drawn and its row
// (European wheel), the degree inside each equal house sector (American
// wheel), the spread positions of the cusp and special-point labels, and
// the house-proportional positions of the six special points.
//
// Plain functions over the chart record and the drawing's GlyphLayout; no
// drawing here. Every call rewrites what it writes, so the tables always
// belong to the chart last drawn.
#pragma once

#include "chart/chartrecord.h"
#include "chart/glyphplacement.h"

// Spacing of the glyphs inside a sign (two rows), degrees.
inline constexpr float kSignFirstPlace = 4.0f;  // first glyph of a sign no nearer its start
inline constexpr float kSignCrowdGap = 9.0f;    // closer than this, a glyph is moved
inline constexpr float kSignStep = 4.5f;        // ... to this far after the previous one
inline constexpr float kSignLastPlace = 26.5f;  // last glyph of a sign no further than this
inline constexpr float kSignPullGap = 3.0f;     // gap kept when glyphs are pulled back

// Spacing of the glyphs inside an equal house sector (one row), degrees.
inline constexpr float kHouseFirstPlace = 4.0f;
inline constexpr float kHouseStep = 6.0f;
inline constexpr float kHouseLastPlace = 26.0f;
inline constexpr float kHousePullGap = 6.5f;

// Smallest whole-degree gap between two cusp or point labels, degrees.
inline constexpr int kCuspLabelGap = 4;

// Glyph places inside the signs, two rows (European wheel).
//   Reads SignGlyphCount, ObjectShown, SortedPoints Body and GlyphSlots
//   SignDegree (degrees); writes GlyphSlots SignPlace (degrees inside the
//   sign) and SortedPoints Row (1 or 2).
//   Walking the ranking sign by sign: the first glyph of a sign stands at
//   least 4 degrees in; a glyph closer than 9 degrees to the previous one
//   goes 4.5 degrees after it, on row 2 when the previous one is shown and
//   on row 1, else on row 1. A last glyph beyond 26.5 degrees is set to
//   26.5 and its predecessors are pulled back to 3-degree gaps until a gap
//   of at least 3 degrees is met.
void SpreadHouseGlyphs(ChartRecord& record, GlyphLayout& layout);

// Glyph places inside the equal house sectors, one row (American wheel).
//   Reads GlyphSlots HousePosition (degrees, 30 per house) and SortedPoints
//   Body; writes GlyphSlots HouseRankPosition, HouseDegree and HousePlace
//   (degrees) and SortedPoints HouseRankBody and HouseRankHouse (1..12), all
//   indexed by place in the ranking by HousePosition.
//   The entries of one sector are those whose HouseRankPosition lies in
//   [30(h-1), 30h) (360 belongs to sector 12); they stand consecutively in
//   the ranking. The first glyph of a sector stands at least 4 degrees in,
//   each next one at least 6 degrees after its predecessor; a last glyph
//   beyond 26 degrees is set to 26 and its predecessors pulled back to
//   6.5-degree gaps until a gap of at least 6.5 degrees is met.
void SpreadHouseGlyphsSingleRow(ChartRecord& record, GlyphLayout& layout);

// Spread positions of the twelve cusp labels and the six special-point
// labels (European wheel).
//   Reads CuspsAndPoints (degrees); writes SortedCuspPoints (degrees,
//   ascending before spreading, possibly above 360 after) and
//   SortedCuspIndex (0..11 cusp, 12..17 special point).
//   One pass along the ranking: where the gap to the previous label,
//   truncated to whole degrees, is below 4, the label moves on by the
//   missing whole degrees; then the first label is compared once with the
//   last across 0 degrees.
void SpreadGlyphPositions(const ChartRecord& record, GlyphLayout& layout);

// House-proportional position of a longitude (American wheel).
//   relLongitude  degrees [0, 360], longitude minus the querent's cusp
//   relCusps      degrees [0, 360), RelativeCusps of the layout
//   returns       degrees [0, 360]: 30(h-1) plus 30 times the fraction of
//                 house h passed (house 12 closes at 360). Where the cusps
//                 do not ascend round the wheel and no house holds the
//                 longitude, the start of the sector of the nearest cusp
//                 behind it.
float HouseProportionalPosition(float relLongitude, const float (&relCusps)[12]);

// Positions of the six special points (objects 30..35) on the American
// wheel: each CuspsAndPoints[12 + i] minus the querent's cusp (plus 360
// when negative), turned by HouseProportionalPosition. Needs RelativeCusps
// (MapPlanetsToHouseSectors). Degrees [0, 360].
void MapPointsToHouseSectors(const ChartRecord& record, const GlyphLayout& layout,
                             float (&positions)[6]);
