// Aspects between the 36 chart objects and the lines of the aspect list.
//
// CalcAspects finds, for every pair of chart objects, at most one of the 30
// aspect kinds (the lowest kind index whose orb and whole-sign distance both
// fit), its deviation from exact and, for two bodies, whether it is applying.
// FillAspectList turns the aspects of the bodies into the lines the main
// window lists and parses back on a double click.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chartrecord.h"

// The latitude kinds 26 and 27 are measured only between two of bodies 0..9
// (Sun to Pluto); Chiron, though the engine gives it a latitude, is not
// among them.
inline constexpr int kLatitudeBodyCount = 10;

// Aspect kinds measured on latitudes (26, 27) and on sums of longitudes (28, 29).
inline constexpr int kKindLatitudeSameSide = 26;
inline constexpr int kKindLatitudeAnySide = 27;
inline constexpr int kKindLongitudeSum360 = 28;
inline constexpr int kKindLongitudeSum180 = 29;

// Length of one aspect-list line, characters.
inline constexpr int kAspectLineLength = 13;

// Glyph-font marks after degrees, minutes and seconds in the aspect list.
inline constexpr char kDegreeMark = static_cast<char>(145);
inline constexpr char kMinuteMark = '<';
inline constexpr char kSecondMark = '=';

// Fills ObjectLongitude, AspectKind, AspectSeparation and AspectApplying.
// honourKinds 1 skips the kinds whose AspectKindEnabled flag is 0.
void CalcAspects(ChartRecord& chart, std::uint8_t honourKinds);

// The aspect list's lines (code page 1251, 13 characters each); empty while
// AspectListShown is 0.
std::vector<std::string> FillAspectList(const ChartRecord& chart);

// Separation of two longitudes (degrees), folded into [0, 180].
double LongitudeSeparation(double lon1, double lon2);

// The line of one aspect: glyphs of o1, the kind and o2, ":", and the
// deviation (degrees) as two-digit degrees, minutes and seconds with marks.
std::string AspectLine(const ChartRecord& chart, int o1, int o2, int kind, float deviation);
