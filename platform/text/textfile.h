// Whole-file text I/O: a file is a list of lines of 8-bit text, each ended by
// CR LF on disk. Reading accepts CR LF, a lone LF, a lone CR or a missing final
// line end; writing is atomic (a temporary file in the same folder renamed over
// the old one), so an interrupted write never leaves half a file.
//
// Paths are handed to the operating system as they are (the file system's own
// bytes, UTF-8 on Linux, '/' between folders).
#pragma once

#include <string>
#include <string_view>
#include <vector>

using LineList = std::vector<std::string>;

// Reads every line of a file. On failure returns false, leaves lines empty and
// puts a message naming the path into *error (when given).
// Each CR LF pair, lone LF and lone CR ends one line, so "a\r\rb" is the
// three lines "a", "" and "b"; an empty file has no lines. Every other byte,
// NUL included, is kept.
bool ReadLines(const std::string& path, LineList& lines, std::string* error = nullptr);

// Reads a file's bytes whole, as they are. On failure returns false and puts a
// message naming the path into *error (when given).
bool ReadFileBytes(const std::string& path, std::string& content, std::string* error = nullptr);

// The lines of a file's content, split as ReadLines splits them.
LineList LinesOfText(std::string_view content);

// Writes lines atomically, each followed by CR LF. On failure returns false,
// leaves the old file untouched and puts a message into *error (when given).
// The new file keeps the permission bits of the file it replaces; a file the
// user may not write is refused rather than replaced. A symbolic link is
// followed and its target replaced, the link itself stays.
bool WriteLinesAtomic(const std::string& path, const LineList& lines, std::string* error = nullptr);

// A file written in full beside its target but not yet put in its place, so
// that several files can all be written before any of them replaces its old
// copy. WriteLinesAtomic is WriteLinesPending followed by CommitPendingFile.
// The temporary file is named "." + the target's name + ".tmp" + the process
// id + "-" + a serial number, in the target's folder; a long target name is
// cut so that the temporary name stays within the 255 bytes a file name may
// have (LeftoverTemporaryFiles finds such files again).
struct PendingFile {
  std::string Path;       // the path as given
  std::string Temporary;  // the written temporary file; empty once committed or discarded
  std::string Target;     // the file it replaces (a symbolic link followed)
  std::string Folder;     // the target's folder
  int Error = 0;          // the system's error number of the last failure, 0 none
};
// Writes lines into a temporary file beside path, flushed to the disk, with
// the checks of WriteLinesAtomic; the old file stays untouched. On failure
// nothing is left behind.
bool WriteLinesPending(const std::string& path, const LineList& lines, PendingFile& pending,
                       std::string* error = nullptr);
// What a failed commit does with the temporary file.
enum class OnCommitFailure { Remove, Keep };
// Renames the temporary file over its target and flushes the folder, so that
// the rename itself is on the disk before anything that follows. On failure
// the old file stays, and the temporary file is removed or, with Keep, left
// in place (pending.Temporary still names it).
bool CommitPendingFile(PendingFile& pending, std::string* error = nullptr,
                       OnCommitFailure onFailure = OnCommitFailure::Remove);
// Removes a temporary file that is not to be committed.
void DiscardPendingFile(PendingFile& pending);

// The temporary files of WriteLinesPending for path that are still there: left
// by a program stopped between writing and committing them, or written by a
// save running at this moment. Full paths, sorted.
std::vector<std::string> LeftoverTemporaryFiles(const std::string& path);

// The system's words for an error number ("No space left on device").
std::string SystemErrorText(int errorNumber);

// True when path names an existing file that is not a folder.
bool FileExists(const std::string& path);
