// Whole-file text I/O: a file is a list of lines of 8-bit text, each ended by
// CR LF on disk. Reading accepts CR LF, a lone LF, a lone CR or a missing final
// line end; writing is atomic (a temporary file in the same folder renamed over
// the old one), so an interrupted write never leaves half a file.
//
// Paths are handed to the operating system as they are (the file system's own
// bytes, UTF-8 on Linux, '/' between folders).
#pragma once

#include <string>
#include <vector>

using LineList = std::vector<std::string>;

// Reads every line of a file. On failure returns false, leaves lines empty and
// puts a message naming the path into *error (when given).
// Each CR LF pair, lone LF and lone CR ends one line, so "a\r\rb" is the
// three lines "a", "" and "b"; an empty file has no lines. Every other byte,
// NUL included, is kept.
bool ReadLines(const std::string& path, LineList& lines, std::string* error = nullptr);

// Writes lines atomically, each followed by CR LF. On failure returns false,
// leaves the old file untouched and puts a message into *error (when given).
// The new file keeps the permission bits of the file it replaces; a file the
// user may not write is refused rather than replaced. A symbolic link is
// followed and its target replaced, the link itself stays.
bool WriteLinesAtomic(const std::string& path, const LineList& lines, std::string* error = nullptr);

// True when path names an existing file that is not a folder.
bool FileExists(const std::string& path);
