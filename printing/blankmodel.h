// The blank model: every printed blank (a named page layout with rectangular
// elements) lives in ten parallel lists of decimal integers and the list of
// blank names, kept in eleven template files in the program's Print folder.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/text/textfile.h"

// The template files in the order they are loaded and saved.
enum BlankList : int {
  kPageHeights,    // IPH1.diz: page height per blank
  kPageWidths,     // IPW1.diz: page width per blank
  kElementCounts,  // QOI1.diz: number of elements per blank
  kElementKinds,   // OGI1.diz: element kind (node index of the element tree) per element
  kElementBottom,  // OGH1.diz: bottom edge per element, designer pixels
  kElementRight,   // OGW1.diz: right edge per element
  kElementTop,     // OGH01.diz: top edge per element
  kElementLeft,    // OGW01.diz: left edge per element
  kOrientations,   // POR1.diz: 1 portrait, 0 landscape, per blank
  kBackgrounds,    // PS1.diz: 2 with background, 1 without, 0 monochrome, per blank
  kBlankNames,     // CB1.diz: blank names, one per line
  kBlankListCount
};

inline constexpr std::array<const char*, kBlankListCount> kBlankFileNames = {
    "IPH1.diz",  "IPW1.diz",  "QOI1.diz", "OGI1.diz", "OGH1.diz", "OGW1.diz",
    "OGH01.diz", "OGW01.diz", "POR1.diz", "PS1.diz",  "CB1.diz"};

struct BlankModel {
  std::array<LineList, kBlankListCount> Lists;  // CP1251 lines
  // Which files were read at start; only these are written back, so a file
  // that could not be read is never overwritten with an empty list.
  std::array<bool, kBlankListCount> Loaded = {};

  const LineList& Names() const { return Lists[kBlankNames]; }
};

struct BlankLoadResult {
  bool ok = true;
  std::string message;  // "Cannot open file <path>" for the first file that failed
};

// Loads the lists from printFolder (…/Print) in file order; the load stops
// at the first file that cannot be read: the lists before it keep their
// contents, the later ones stay empty and are marked not loaded.
BlankLoadResult LoadBlankModel(const std::string& printFolder, BlankModel& model);

// Writes every list that was loaded, each atomically. Returns the messages of
// the files that could not be written (empty when all went well); a failure
// never stops the other files.
std::vector<std::string> SaveBlankModel(const std::string& printFolder, const BlankModel& model);
