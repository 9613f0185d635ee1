// Siege: a point between two malefics, the nearest counted points before
// and after it in the order of the wheel, both standing in its own sign.
// The signs of completion report it and the dignity table charges for it.
#pragma once

#include <optional>

#include "chart/chartrecord.h"

// The malefics on either side of a besieged point (chart points).
struct Besiegers {
  int Before = -1;  // the nearest counted point before it in the wheel's order
  int After = -1;   // the nearest after it
};

// Whether the point at place k (0..17) of SortedPoints is besieged, and by
// which points. The sign-ruler option says which points count: with the
// seven planets, Uranus to Proserpina are passed over and the malefics are
// Mars, Saturn and the south node; with the higher planets, Uranus,
// Neptune, Pluto and Proserpina are malefics too. Lilith, Selena and the
// Part of Fortune are always passed over. The record must be ranked
// (SortedPoints) and hold the longitudes.
std::optional<Besiegers> BesiegersAt(const ChartRecord& record, int k, int signRulerOption);
