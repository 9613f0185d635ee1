// The pair and kind of a line of the main window's aspect list, read back
// from its three leading glyph characters, for the list's double click.
#pragma once

#include <string_view>

#include "chart/chartrecord.h"

struct AspectLinePick {
  int First = -1;   // chart object 0..15
  int Kind = -1;    // aspect kind 0..29
  int Second = -1;  // chart object: a body 0..15, or a house cusp 18..29
  bool SecondIsCusp = false;
};

// Matches the first character against the glyphs of objects 0..15, the
// second against the aspect glyphs and the third against objects 0..15, then
// against the cusps 18..29. False, with pick left as it was, for a line
// shorter than three characters or a glyph that matches nothing.
bool PickAspectLine(const ChartRecord& record, std::string_view line, AspectLinePick& pick);
