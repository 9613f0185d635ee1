// Files and folders through std::filesystem; read-only is asked of the
// operating system (access), which knows the user and group rights.
#include "platform/files.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/text/cp1251.h"

namespace fs = std::filesystem;

namespace {

void Report(std::string* error, const char* what, const std::string& path) {
  if (error != nullptr) *error = std::string(what) + " " + Utf8ToCp1251(path);
}

// A path without its trailing '/' (the root stays "/").
std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool IsPlainFolder(const FolderEntry& entry) {
  return entry.isFolder && !entry.isLink && !entry.isHidden && !entry.isReadOnly;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string* error) {
  entries.clear();
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  if (ec) {
    Report(error, "Cannot open folder", folder);
    return false;
  }
  std::vector<FolderEntry> found;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    const fs::directory_entry& item = *it;
    FolderEntry entry;
    entry.name = item.path().filename().string();
    std::error_code statusError;
    entry.isLink = item.is_symlink(statusError);
    entry.isFolder = item.is_directory(statusError);
    entry.isHidden = !entry.name.empty() && entry.name.front() == '.';
    entry.isReadOnly = ::access(item.path().c_str(), W_OK) != 0;
    if (!entry.isFolder && item.is_regular_file(statusError)) {
      const std::uintmax_t size = item.file_size(statusError);
      if (!statusError) entry.size = size;
    }
    found.push_back(std::move(entry));
  }
  if (ec) {
    // The listing broke off (the folder went away or a read failed).
    Report(error, "Cannot open folder", folder);
    return false;
  }
  std::sort(found.begin(), found.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  entries = std::move(found);
  return true;
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::path(path), ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(fs::path(path), ec);
}

bool RemoveFile(const std::string& path, std::string* error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(fs::path(path), ec);
  if (ec || !fs::exists(status) || fs::is_directory(status) || !fs::remove(fs::path(path), ec) ||
      ec) {
    Report(error, "Cannot delete file", path);
    return false;
  }
  return true;
}

std::string CurrentFolder() {
  std::error_code ec;
  const fs::path current = fs::current_path(ec);
  return ec ? std::string() : WithoutTrailingSlash(current.string());
}

bool SetCurrentFolder(const std::string& folder, std::string* error) {
  std::error_code ec;
  if (folder.empty())
    ec = std::make_error_code(std::errc::no_such_file_or_directory);
  else
    fs::current_path(fs::path(folder), ec);
  if (ec) {
    Report(error, "Cannot open folder", folder);
    return false;
  }
  return true;
}

std::string ExpandFullPath(const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(fs::path(path.empty() ? std::string(".") : path), ec);
  if (ec) return std::string();
  std::string full = absolute.lexically_normal().string();
  return WithoutTrailingSlash(full);
}
