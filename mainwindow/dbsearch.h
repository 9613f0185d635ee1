// The search on disk for chart databases that hold a chart of a given name.
// Nothing here includes Qt.
//
// The walk starts at one folder and goes down by explicit paths (the current
// folder is never changed). It enters real sub-folders only: symbolic links
// are not followed, so a link loop cannot trap it, and hidden folders (names
// beginning with ".") are passed over. Of the files it reads only regular ones
// whose extension is "zrn" in any letter case; a folder named "x.zrn", a pipe
// or a device is passed over. A folder or file that cannot be read is skipped
// and counted, and the walk goes on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct DbSearchResult {
  std::vector<std::string> Files;  // paths of the record files that hold the name (the file
                                   // system's bytes), in walk order
  int Unreadable = 0;              // folders and files skipped because they could not be read
};

// True when a line of a record file's text names a chart name: the text
// before the line's first "=" equals name without regard to letter case
// (code page 1251 upper-casing, so Cyrillic letters match too). Root and
// section lines carry no "=" and never match; an empty name, or one holding
// "=" or a line end, matches nothing.
bool RecordTextHoldsName(std::string_view text, std::string_view name);

// The record files under folder (UTF-8, itself included) that hold a chart
// named name (code page 1251, compared as RecordTextHoldsName does). Each
// folder's entries are taken in the order of their names (bytes), files and
// sub-folders alike; each file gives at most one path.
DbSearchResult FindDatabaseFiles(const std::string& folder, std::string_view name);
