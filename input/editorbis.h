// The orbs editor's text: the base orb of every pair of chart objects as
// degrees and minutes ("DD°MM'", seconds dropped) and the factor of each of
// the aspect kinds 0..8 as units, the decimal separator and two decimals
// ("1,00"; further decimals cut off). Reading the text back is all or
// nothing, and a cell whose text is still the one shown keeps its value
// exactly, so OK without an edit changes no orb and no factor, even those
// with seconds or a third decimal.
//
// No Qt here; the dialog moves the text between its grids and these
// functions.
#pragma once

#include <string>

#include "chart/chartrecord.h"

// Aspect kinds whose factor the editor shows: 0..8.
inline constexpr int kOrbEditorKindCount = 9;

// The text of both grids, code page 1251.
struct OrbGridText {
  std::string Pair[kObjectCount][kObjectCount];  // [o1][o2] "DD°MM'", diagonal "::"
  std::string Factor[kOrbEditorKindCount];       // "d,dd" or "d.dd"
};

// An orb as "DD°MM'": at least two digits of degrees (more when the orb
// reaches 100°), two of minutes, seconds dropped.
std::string OrbCellText(float orb);
// A factor as units (at least one digit), the separator and two decimals,
// further decimals cut off: 0.7 gives "0,70", 0.333 "0,33", 12.5 "12,50".
std::string FactorCellText(float factor, char separator);

// Reads "D°M'" (the closing mark may be missing): degrees and minutes of one
// or more digits each, spaces (blank positions of the mask) dropped; orb =
// degrees + minutes / 60, so minutes of 60 or more carry into the degrees.
// False (orb unchanged) for anything else.
bool ParseOrbCell(const std::string& text, float& orb);
// Reads units of one or more digits, '.' or ',', and exactly two digits of
// hundredths; factor = units + hundredths / 100. False for anything else.
bool ParseFactorCell(const std::string& text, float& factor);

// Both grids as the record gives them.
OrbGridText ShowOrbGrid(const ChartRecord& record, char separator);

// A cell that could not be read.
struct OrbGridRefusal {
  bool Ok = true;         // false: nothing was changed
  bool InFactor = false;  // the cell is a factor (Row = kind), else a pair orb
  int Row = 0;            // object o1, or the aspect kind
  int Column = 0;         // object o2 (pair orbs only)
  std::string Text;       // the cell's text, code page 1251
};

// Takes the edited grids into the record: every off-diagonal pair orb and the
// factors of kinds 0..8. A cell equal to the one shown keeps the record's
// value; any other is read. The first cell that cannot be read (row by row,
// orbs before factors) is reported and the record is left untouched.
OrbGridRefusal ApplyOrbGrid(const OrbGridText& shown, const OrbGridText& edited,
                            ChartRecord& record);
