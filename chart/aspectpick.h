// The pair and kind of a line of the main window's aspect list, read back
// from its three leading glyph characters, for the list's double click.
#pragma once

#include <string_view>

#include "chart/chartrecord.h"

// Aspect kinds that have a name and an orb factor a search can use; the
// glyph table holds a few more characters that no aspect of the list takes.
inline constexpr int kNamedAspectKinds = 26;

struct AspectLinePick {
  int First = -1;        // chart object 0..15
  int Kind = -1;         // aspect kind 0..kNamedAspectKinds - 1
  int Second = -1;       // chart object: a body 0..15, or a house cusp 18..29
  bool SecondIsCusp = false;
};

// Matches the first character against the glyphs of objects 0..15, the
// second against the aspect glyphs and the third against objects 0..15, then
// against the cusps 18..29. False, with pick left as it was, for a line
// shorter than three characters, a glyph that matches nothing, or a kind
// without a name.
bool PickAspectLine(const ChartRecord& record, std::string_view line, AspectLinePick& pick);
