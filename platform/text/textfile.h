// Whole-file text I/O: a file is a list of lines of 8-bit text, each ended by
// CR LF on disk. Reading accepts CR LF, a lone LF, a lone CR or a missing final
// line end; writing is atomic (a temporary file in the same folder renamed over
// the old one), so an interrupted write never leaves half a file.
//
// Paths are handed to the operating system as they are (the file system's own
// bytes, UTF-8 on Linux, '/' between folders).
#pragma once

#include <cstdint>
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

// The bytes a list of lines is written as: each line followed by CR LF.
std::string TextOfLines(const LineList& lines);

// A 64-bit fingerprint of some bytes: equal bytes give equal fingerprints,
// and different files practically never share one (not a cryptographic hash:
// it tells a file from the one it replaced, not from a forged one).
std::uint64_t TextFingerprint(std::string_view bytes);

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
// id + "-" + a serial number (+ "-" + a tag, when the writer gives one), in
// the target's folder; a long target name is cut before its extension, so
// that the temporary name stays within the 255 bytes a file name may have
// and still ends in the target's extension before ".tmp" (the temporary
// files of "x.zrt" and "x.zrn" are told apart however long x is);
// LeftoverTemporaryFiles finds such files again.
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
// The same for bytes already laid out (TextOfLines), with a tag of up to 16
// letters and digits in the temporary file's name: what a reader of the
// leftovers learns of the file without reading it (TemporaryFileTag).
bool WriteTextPending(const std::string& path, std::string_view content, std::string_view tag,
                      PendingFile& pending, std::string* error = nullptr);
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

// The tag a temporary file of WriteTextPending carries in its name, "" none.
std::string TemporaryFileTag(const std::string& temporary);

// A lock that every writer of a file (or of a group of files named after
// it) takes around its work, so that two programs never interleave their
// writes. The lock is the system's advisory lock (flock) on a hidden file
// beside path: "." + path's name (cut like a temporary name) + ".lock". The
// file is removed again on release; a taker that finds the file it locked
// removed or replaced in the meantime locks the new one instead.
class FileLock {
 public:
  enum class State { Free, Held, Busy, Unavailable };
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }
  // Takes the lock for path, waiting up to waitMs milliseconds while another
  // program holds it. Held on success; Busy when the wait ran out;
  // Unavailable when the lock file cannot be made (a folder that does not
  // exist or may not be written: nothing can be written there either), with
  // the system's error number in Error.
  State Acquire(const std::string& path, int waitMs);
  void Release();
  State Status() const { return state_; }
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  State state_ = State::Free;
  int error_ = 0;
  std::string path_;
};

// The lock file of path (see FileLock).
std::string LockFileOf(const std::string& path);

// A test's view of the steps of the writes above: when set, the function is
// called with the step's name ("open", "write", "fsync", "close", "rename",
// "unlink", "lock") before each system call that changes a file, a folder or
// a lock, and a write of more than one byte is made in two calls. A test
// stops a child process there to see what a crash at that moment leaves.
using FileStepHook = void (*)(const char* step);
void SetFileStepHook(FileStepHook hook);

// The system's words for an error number ("No space left on device").
std::string SystemErrorText(int errorNumber);

// True when path names an existing file that is not a folder.
bool FileExists(const std::string& path);
