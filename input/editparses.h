// The Arabic-parts editor's table work: the names of the 42 operand points
// as its lists show them, and inserting, replacing and removing parts of the
// chart record's table in place. Every change keeps the table whole: an
// index outside the table or a part beyond the 100 places is refused and
// nothing moves, so the count never leaves 0..100.
//
// No Qt here; the dialog moves the choices of its controls through these
// functions.
#pragma once

#include <string>
#include <vector>

#include "chart/chartrecord.h"

inline constexpr int kPartOperandCount = 42;  // 0..11 cusps, 12..29 bodies, 30..41 house rulers
inline constexpr int kPartSignModeCount = 4;  // "+", "-", "+/-", "-/+"
inline constexpr int kPartSexCount = 3;       // any querent, men, women

// The 42 operand names, code page 1251: the cusps' display names (chart
// objects 18..29), the bodies' (objects 0..17), then rulerWord, a blank and
// each cusp's name. objectNames is ChartRecord::ObjectNames (object o at o + 1).
std::vector<std::string> PartOperandNames(const std::string (&objectNames)[49],
                                          const std::string& rulerWord);

// A part from the controls' choices. A list with nothing selected (-1) or
// any index outside its list counts as its first item, 0.
PartRecord PartFromChoices(const std::string& name, int a, int b, int c, int signModeB,
                           int signModeC, int sex);

enum class PartEdit {
  Done,
  TableFull,   // the table already holds kMaxArabicParts parts
  NoSuchPart,  // the index lies outside the table
};

// Inserts part at index at (0..PartCount); the parts from at on move up one
// place.
PartEdit InsertPart(ChartRecord& record, int at, const PartRecord& part);
// Replaces the name, operands, sign modes and sex of part k (0..PartCount-1).
PartEdit ReplacePart(ChartRecord& record, int k, const PartRecord& part);
// Removes part k (0..PartCount-1); the parts after it move down one place
// and the freed last place is cleared.
PartEdit RemovePart(ChartRecord& record, int k);

// The part to show after part k was removed from a table now holding count
// parts: k when it is still a part, else the new last one; -1 when none is left.
int PartShownAfterRemoval(int k, int count);
