// Files and folders: existence, deletion, folder listings, the current folder
// and full paths.
//
// Paths are std::string in UTF-8 (the file system's own bytes on Linux) with
// '/' between folders; a folder path carries no trailing '/' except the root
// "/". Text that came from code page 1251 strings is converted by the caller
// (Cp1251ToUtf8) before it becomes a path. FileExists (a file that is not a
// folder) lives in the text layer and is included here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/textfile.h"

// One entry of a folder listing.
struct FolderEntry {
  std::string name;         // UTF-8 name without its folder; never "." or ".."
  bool isFolder = false;    // a folder, or a link that leads to one
  bool isLink = false;      // a symbolic link (followed for the other fields)
  bool isHidden = false;    // the name begins with '.'
  bool isReadOnly = false;  // the program may not write it
  std::uintmax_t size = 0;  // bytes; 0 for folders and broken links
};

// True when an entry is an ordinary folder: not a link, not hidden, not read
// only. A walk through a folder tree enters only these, which also keeps it
// out of link cycles.
bool IsPlainFolder(const FolderEntry& entry);

// Lists a folder, entries sorted by name (byte order) so that every run sees
// the same order. On failure returns false, leaves entries empty and puts
// "Cannot open folder %s" (code page 1251) into *error when given.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                std::string* error = nullptr);

// True when something exists at path (file, folder or other); a broken link
// counts as missing.
bool PathExists(const std::string& path);
// True when path names a folder (or a link to one).
bool FolderExists(const std::string& path);

// Deletes a file (a link itself, not its target). A folder is refused. On
// failure returns false and puts "Cannot delete file %s" into *error when given.
bool RemoveFile(const std::string& path, std::string* error = nullptr);

// The process's current folder; empty when it cannot be determined (deleted).
std::string CurrentFolder();
// Makes folder the current folder. On failure returns false and puts
// "Cannot open folder %s" into *error when given.
bool SetCurrentFolder(const std::string& folder, std::string* error = nullptr);

// The absolute form of path: relative paths are taken from the current
// folder, "." and ".." parts and doubled '/' are removed by name (links are not
// resolved, the path need not exist). An empty path gives the current folder.
std::string ExpandFullPath(const std::string& path);
