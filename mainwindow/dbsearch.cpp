// The search on disk for chart databases: a walk by explicit paths over the
// POSIX folder interface, reading each record file into one reused buffer.
#include "mainwindow/dbsearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/text/cp1251.h"

namespace {

// The upper-case byte of every code page 1251 byte.
const std::array<unsigned char, 256>& UpperTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<char>(i);
    const std::string upper = UpperCaseCp1251(all);
    for (int i = 0; i < 256; ++i)
      t[static_cast<std::size_t>(i)] =
          static_cast<unsigned char>(upper[static_cast<std::size_t>(i)]);
    return t;
  }();
  return table;
}

bool IsRecordFileName(const char* name) {
  const std::size_t n = std::strlen(name);
  if (n < 4 || name[n - 4] != '.') return false;
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return lower(name[n - 3]) == 'z' && lower(name[n - 2]) == 'r' && lower(name[n - 1]) == 'n';
}

// Reads a regular file whole into buffer; false for anything else or on failure.
bool ReadRegularFile(const std::string& path, std::string& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok) {
    buffer.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
      if (have == buffer.size()) buffer.resize(buffer.size() + 65536);  // the file grew
      const ssize_t count = ::read(fd, buffer.data() + have, buffer.size() - have);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) {
        ok = false;
        break;
      }
      if (count == 0) break;
      have += static_cast<std::size_t>(count);
    }
    buffer.resize(have);
  }
  ::close(fd);
  return ok;
}

enum class EntryKind { File, Folder, Other };

EntryKind KindOf(const std::string& folder, const dirent* entry) {
  if (entry->d_type == DT_REG) return EntryKind::File;
  if (entry->d_type == DT_DIR) return EntryKind::Folder;
  if (entry->d_type != DT_UNKNOWN) return EntryKind::Other;
  struct stat info {};
  const std::string path = folder + "/" + entry->d_name;
  if (::lstat(path.c_str(), &info) != 0) return EntryKind::Other;
  return S_ISREG(info.st_mode)   ? EntryKind::File
         : S_ISDIR(info.st_mode) ? EntryKind::Folder
                                 : EntryKind::Other;
}

struct Walk {
  std::string_view Name;
  std::string Buffer;  // the record file being scanned
  DbSearchResult Result;

  void Folder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
      ++Result.Unreadable;
      return;
    }
    std::vector<std::pair<std::string, EntryKind>> entries;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
      const char* name = entry->d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      const EntryKind kind = KindOf(folder, entry);
      if (kind == EntryKind::Folder ? name[0] != '.'
                                    : kind == EntryKind::File && IsRecordFileName(name))
        entries.emplace_back(name, kind);
    }
    if (errno != 0) ++Result.Unreadable;  // the listing broke off: what was listed is searched
    ::closedir(dir);
    std::sort(entries.begin(), entries.end());
    const std::string prefix = folder == "/" ? folder : folder + "/";
    for (const auto& [name, kind] : entries) {
      const std::string path = prefix + name;
      if (kind == EntryKind::Folder) {
        Folder(path);
      } else if (!ReadRegularFile(path, Buffer)) {
        ++Result.Unreadable;
      } else if (RecordTextHoldsName(Buffer, Name)) {
        Result.Files.push_back(path);
      }
    }
  }
};

}  // namespace

bool RecordTextHoldsName(std::string_view text, std::string_view name) {
  // a line's name part holds no "=" and no line end
  if (name.empty() || name.find_first_of("=\r\n") != std::string_view::npos) return false;
  const auto& upper = UpperTable();
  const char* p = text.data();
  const char* const end = p + text.size();
  const std::size_t n = name.size();
  while (p < end) {
    // this line begins at p: does its name part equal the name?
    if (static_cast<std::size_t>(end - p) > n && p[n] == '=') {
      std::size_t i = 0;
      while (i < n &&
             upper[static_cast<unsigned char>(p[i])] == upper[static_cast<unsigned char>(name[i])])
        ++i;
      if (i == n) return true;
    }
    // the next line: after a CR LF pair, a lone LF or a lone CR
    const char* lf =
        static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* lineEnd = lf != nullptr ? lf : end;
    const char* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(lineEnd - p)));
    if (cr != nullptr && cr + 1 < lineEnd) {
      p = cr + 1;  // a lone CR ends this line
      continue;
    }
    if (lf == nullptr) break;
    p = lf + 1;
  }
  return false;
}

DbSearchResult FindDatabaseFiles(const std::string& folder, std::string_view name) {
  Walk walk;
  walk.Name = name;
  if (!name.empty())
    walk.Folder(folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1)
                                                          : folder);
  return std::move(walk.Result);
}
