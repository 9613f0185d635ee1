// Whole-file line I/O with atomic replacement, on the POSIX file interface
// (open / read / write / fsync / rename) so that every failure is seen with
// its system error.
#include "platform/text/textfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

// A file name may have 255 bytes; a temporary name adds "." before the
// target's name and ".tmp", a process id, "-" and a serial number after it
// (at most 22 bytes), so the target's name is cut to what is left.
constexpr std::size_t kMaxFileName = 255;
constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::size_t kMaxTemporarySuffix = 22;
constexpr std::size_t kMaxTemporaryStem =
    kMaxFileName - 1 - kTemporaryMark.size() - kMaxTemporarySuffix;

void Report(std::string* error, const std::string& what, const std::string& path, int errorNumber) {
  if (error != nullptr) *error = what + " \"" + path + "\": " + SystemErrorText(errorNumber);
}

// "." + the name (cut, never inside a UTF-8 character) + ".tmp": what every
// temporary name for a target of that name begins with.
std::string TemporaryPrefix(const std::string& name) {
  std::size_t keep = std::min(name.size(), kMaxTemporaryStem);
  if (keep < name.size())
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return "." + name.substr(0, keep) + std::string(kTemporaryMark);
}

// True for the digits "-" digits that follow the prefix of a temporary name.
bool IsTemporarySuffix(std::string_view rest) {
  const std::size_t dash = rest.find('-');
  const auto digits = [](std::string_view t) {
    return !t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(rest.substr(0, dash)) &&
         digits(rest.substr(dash + 1));
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

bool WriteAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t count = ::write(fd, content.data() + done, content.size() - done);
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

bool WriteLinesPending(const std::string& path, const LineList& lines, PendingFile& pending,
                       std::string* error) {
  pending = PendingFile{};
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string content;
  content.reserve(size);
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }

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

  if (!WriteAll(fd, content) || ::fsync(fd) != 0 || !file.Close()) {
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
  if (!pending.Temporary.empty()) ::unlink(pending.Temporary.c_str());
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

std::string SystemErrorText(int errorNumber) {
  return std::generic_category().message(errorNumber);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}
