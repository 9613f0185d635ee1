#include "chart/aspectpick.h"

namespace {

constexpr int kPickBodies = 16;  // objects 0..15 answer a double click
constexpr int kFirstCusp = 18;   // chart object of the first house cusp
constexpr int kLastCusp = 29;

}  // namespace

bool PickAspectLine(const ChartRecord& record, std::string_view line, AspectLinePick& pick) {
  if (line.size() < 3) return false;
  const auto body = [&](char c) {
    for (int o = 0; o < kPickBodies; ++o)
      if (record.ObjectGlyph[o] == c) return o;
    return -1;
  };
  AspectLinePick found;
  found.First = body(line[0]);
  if (found.First < 0) return false;
  for (int k = 0; k < kAspectKindCount && found.Kind < 0; ++k)
    if (record.AspectGlyph[k] == line[1]) found.Kind = k;
  if (found.Kind < 0) return false;
  found.Second = body(line[2]);
  for (int o = kFirstCusp; o <= kLastCusp && found.Second < 0; ++o)
    if (ObjectGlyphOf(record, o) == line[2]) {
      found.Second = o;
      found.SecondIsCusp = true;
    }
  if (found.Second < 0) return false;
  pick = found;
  return true;
}
