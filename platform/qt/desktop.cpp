// Help page through the desktop's URL handler; the launcher close is empty.
#include "platform/qt/desktop.h"

#include <QDesktopServices>
#include <utility>

#include "platform/files.h"
#include "platform/qt/paths.h"

namespace {

UrlOpener& Opener() {
  static UrlOpener opener;
  return opener;
}

}  // namespace

UrlOpener SetUrlOpener(UrlOpener opener) { return std::exchange(Opener(), std::move(opener)); }

std::string HelpPagePath(const std::string& utf8ProgramFolder) {
  // An empty folder is the current one; "/" and "a/" add no second '/'.
  if (utf8ProgramFolder.empty()) return "Help/index.html";
  std::string folder = utf8ProgramFolder;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder + "/Help/index.html";
}

bool OpenHelp(const std::string& utf8ProgramFolder) {
  const std::string page = HelpPagePath(utf8ProgramFolder);
  if (!FileExists(page)) return false;
  const QUrl url = QUrl::fromLocalFile(QtPath(ExpandFullPath(page)));
  return Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
}

void CloseLauncherWindow() {}
