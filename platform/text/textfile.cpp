// Whole-file line I/O with atomic replacement, on the POSIX file interface
// (open / read / write / fsync / rename) so that every failure is seen with
// its system error.
#include "platform/text/textfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// A file name may have 255 bytes; a temporary name adds "." before the
// target's name and ".tmp", a process id, "-", a serial number and "-" and a
// tag after it (at most 42 bytes), so the target's name is cut to what is left.
constexpr std::size_t kMaxFileName = 255;
constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::string_view kLockMark = ".lock";
constexpr std::size_t kMaxTag = 16;
constexpr std::size_t kMaxTemporarySuffix = 10 + 1 + 10 + 1 + kMaxTag;
constexpr std::size_t kMaxTemporaryStem =
    kMaxFileName - 1 - kTemporaryMark.size() - kMaxTemporarySuffix;
// An extension longer than this is no extension to keep when a name is cut.
constexpr std::size_t kMaxKeptExtension = 16;

std::atomic<FileStepHook> stepHook{nullptr};

void Step(const char* step) {
  if (const FileStepHook hook = stepHook.load(std::memory_order_relaxed)) hook(step);
}

void Report(std::string* error, const std::string& what, const std::string& path, int errorNumber) {
  if (error != nullptr) *error = what + " \"" + path + "\": " + SystemErrorText(errorNumber);
}

// The longest start of text of at most keep bytes that does not end inside
// a UTF-8 character.
std::string_view Utf8Start(std::string_view text, std::size_t keep) {
  if (keep >= text.size()) return text;
  while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) --keep;
  return text.substr(0, keep);
}

// A file name cut to at most kMaxTemporaryStem bytes, its extension kept.
std::string CutName(const std::string& name) {
  if (name.size() <= kMaxTemporaryStem) return name;
  const std::size_t dot = name.rfind('.');
  std::string_view extension;
  if (dot != std::string::npos && dot > 0 && name.size() - dot <= kMaxKeptExtension)
    extension = std::string_view(name).substr(dot);
  const std::string_view stem = std::string_view(name).substr(0, name.size() - extension.size());
  return std::string(Utf8Start(stem, kMaxTemporaryStem - extension.size())) +
         std::string(extension);
}

// "." + the name (cut) + ".tmp": what every temporary name for a target of
// that name begins with.
std::string TemporaryPrefix(const std::string& name) {
  return "." + CutName(name) + std::string(kTemporaryMark);
}

bool IsDigits(std::string_view t) {
  return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsTag(std::string_view t) {
  return !t.empty() && t.size() <= kMaxTag && std::all_of(t.begin(), t.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

// True for the digits "-" digits (and "-" tag) that follow the prefix of a
// temporary name.
bool IsTemporarySuffix(std::string_view rest) {
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !IsDigits(rest.substr(0, dash))) return false;
  rest.remove_prefix(dash + 1);
  const std::size_t tag = rest.find('-');
  if (tag == std::string_view::npos) return IsDigits(rest);
  return IsDigits(rest.substr(0, tag)) && IsTag(rest.substr(tag + 1));
}

// Closes a descriptor once, keeping errno of the failure being reported.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      const int saved = errno;
      ::close(fd_);
      errno = saved;
    }
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (write-back errors
  // of some file systems only show here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool ReadWholeFile(const std::string& path, std::string& content, std::string* error) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    Report(error, "Cannot open file", path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      Report(error, "Cannot read file", path, EISDIR);
      return false;
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
      content.reserve(static_cast<std::size_t>(info.st_size));
    }
  }
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      Report(error, "Cannot read file", path, errno);
      return false;
    }
    if (count == 0) break;
    content.append(buffer, static_cast<std::size_t>(count));
  }
  return true;
}

void SplitLines(std::string_view content, LineList& lines) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c != '\n' && c != '\r') continue;
    lines.emplace_back(content.substr(start, i - start));
    if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < content.size()) lines.emplace_back(content.substr(start));
}

bool WriteAll(int fd, std::string_view content) {
  std::size_t done = 0;
  // with a test watching the steps, a write is made in two halves, so that
  // a stop between them leaves half a file
  const bool halves = stepHook.load(std::memory_order_relaxed) != nullptr && content.size() > 1;
  while (done < content.size()) {
    std::size_t size = content.size() - done;
    if (halves && done < content.size() / 2) size = content.size() / 2 - done;
    Step("write");
    const ssize_t count = ::write(fd, content.data() + done, size);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(count);
  }
  return true;
}

// The file a write to path must replace: the target of a symbolic link, so
// the link survives; path itself otherwise (a dangling link included).
std::string ReplacedFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::canonical(path, ec);
  return ec ? path : target.string();
}

// Best effort: makes the rename itself durable.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    Step("fsync");
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& content, std::string* error) {
  content.clear();
  return ReadWholeFile(path, content, error);
}

bool ReadLines(const std::string& path, LineList& lines, std::string* error) {
  lines.clear();
  std::string content;
  if (!ReadWholeFile(path, content, error)) return false;
  SplitLines(content, lines);
  return true;
}

LineList LinesOfText(std::string_view content) {
  LineList lines;
  SplitLines(content, lines);
  return lines;
}

std::string TextOfLines(const LineList& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string content;
  content.reserve(size);
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  return content;
}

std::uint64_t TextFingerprint(std::string_view bytes) {
  // eight bytes a step, each step a multiply and a fold of the high half, so
  // that a database of a hundred thousand charts takes a few milliseconds
  constexpr std::uint64_t kMultiplier = 0xFF51AFD7ED558CCDULL;
  std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ bytes.size();
  const auto mix = [&hash](std::uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 32;
  };
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    mix(word);
  }
  std::uint64_t tail = 0;
  for (std::size_t i = at; i < bytes.size(); ++i)
    tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * (i - at));
  mix(tail);
  mix(hash >> 29);
  return hash;
}

bool WriteLinesPending(const std::string& path, const LineList& lines, PendingFile& pending,
                       std::string* error) {
  return WriteTextPending(path, TextOfLines(lines), {}, pending, error);
}

bool WriteTextPending(const std::string& path, std::string_view content, std::string_view tag,
                      PendingFile& pending, std::string* error) {
  pending = PendingFile{};
  if (!tag.empty() && !IsTag(tag)) tag = {};
  const std::string target = ReplacedFile(path);
  const std::filesystem::path targetPath(target);
  const std::string name = targetPath.filename().string();
  if (name.empty() || name == "." || name == "..") {
    pending.Error = EISDIR;
    Report(error, "Cannot write file", path, EISDIR);
    return false;
  }
  const std::string folder =
      targetPath.has_parent_path() ? targetPath.parent_path().string() : std::string(".");

  struct stat old {};
  const bool oldExists = ::stat(target.c_str(), &old) == 0;
  if (oldExists && S_ISDIR(old.st_mode)) {
    pending.Error = EISDIR;
    Report(error, "Cannot write file", path, EISDIR);
    return false;
  }
  if (oldExists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    pending.Error = errno;
    Report(error, "Cannot write file", path, pending.Error);
    return false;
  }

  // A hidden name beside the target, unique within this process and, by the
  // process id, among processes; O_EXCL guards against anything left over.
  static std::atomic<unsigned> counter{0};
  const std::string prefix = folder + "/" + TemporaryPrefix(name);
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    if (!tag.empty()) temporary += "-" + std::string(tag);
    Step("open");
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    pending.Error = errno;
    Report(error, "Cannot create a temporary file for", path, pending.Error);
    return false;
  }
  FileDescriptor file(fd);
  if (oldExists && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);

  const auto synced = [fd] {
    Step("fsync");
    return ::fsync(fd) == 0;
  };
  const auto closed = [&file] {
    Step("close");
    return file.Close();
  };
  if (!WriteAll(fd, content) || !synced() || !closed()) {
    pending.Error = errno;
    ::unlink(temporary.c_str());
    Report(error, "Cannot write file", path, pending.Error);
    return false;
  }
  pending.Path = path;
  pending.Temporary = temporary;
  pending.Target = target;
  pending.Folder = folder;
  return true;
}

bool CommitPendingFile(PendingFile& pending, std::string* error, OnCommitFailure onFailure) {
  if (pending.Temporary.empty()) return false;
  Step("rename");
  if (::rename(pending.Temporary.c_str(), pending.Target.c_str()) != 0) {
    pending.Error = errno;
    if (onFailure == OnCommitFailure::Remove) DiscardPendingFile(pending);
    Report(error, "Cannot replace file", pending.Path, pending.Error);
    return false;
  }
  pending.Temporary.clear();
  SyncFolder(pending.Folder);
  return true;
}

void DiscardPendingFile(PendingFile& pending) {
  if (!pending.Temporary.empty()) {
    Step("unlink");
    ::unlink(pending.Temporary.c_str());
  }
  pending.Temporary.clear();
}

bool WriteLinesAtomic(const std::string& path, const LineList& lines, std::string* error) {
  PendingFile pending;
  return WriteLinesPending(path, lines, pending, error) && CommitPendingFile(pending, error);
}

std::vector<std::string> LeftoverTemporaryFiles(const std::string& path) {
  const std::filesystem::path target(ReplacedFile(path));
  const std::string folder =
      target.has_parent_path() ? target.parent_path().string() : std::string(".");
  const std::string prefix = TemporaryPrefix(target.filename().string());
  std::vector<std::string> found;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) == prefix && IsTemporarySuffix(name.substr(prefix.size())))
      found.push_back(folder + "/" + std::string(name));
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end());
  return found;
}

std::string TemporaryFileTag(const std::string& temporary) {
  const std::string name = std::filesystem::path(temporary).filename().string();
  const std::size_t mark = name.rfind(kTemporaryMark);
  if (mark == std::string::npos) return {};
  const std::string_view rest = std::string_view(name).substr(mark + kTemporaryMark.size());
  if (!IsTemporarySuffix(rest)) return {};
  const std::size_t first = rest.find('-');
  const std::size_t second = rest.find('-', first + 1);
  return second == std::string_view::npos ? std::string() : std::string(rest.substr(second + 1));
}

std::string LockFileOf(const std::string& path) {
  const std::filesystem::path target(ReplacedFile(path));
  const std::string folder =
      target.has_parent_path() ? target.parent_path().string() : std::string(".");
  return folder + "/." + CutName(target.filename().string()) + std::string(kLockMark);
}

FileLock::State FileLock::Acquire(const std::string& path, int waitMs) {
  Release();
  path_ = LockFileOf(path);
  constexpr int kPauseMs = 10;
  for (int waited = 0;;) {
    Step("lock");
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      error_ = errno;
      return state_ = State::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // the lock holds only if the file locked is still the one at the path:
      // a holder that released it in the meantime removed it
      struct stat held {
      }, named{};
      if (::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
          held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        fd_ = fd;
        error_ = 0;
        return state_ = State::Held;
      }
      ::close(fd);
      continue;
    }
    error_ = errno;
    ::close(fd);
    if (error_ != EWOULDBLOCK && error_ != EINTR) return state_ = State::Unavailable;
    if (waited >= waitMs) return state_ = State::Busy;
    ::usleep(kPauseMs * 1000);
    waited += kPauseMs;
  }
}

void FileLock::Release() {
  if (fd_ >= 0) {
    Step("unlink");
    ::unlink(path_.c_str());  // before the unlock, so no taker locks a removed file for good
    ::close(fd_);
    fd_ = -1;
  }
  state_ = State::Free;
}

void SetFileStepHook(FileStepHook hook) { stepHook.store(hook); }

std::string SystemErrorText(int errorNumber) {
  return std::generic_category().message(errorNumber);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}
