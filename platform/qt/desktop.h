// The desktop around the program: its help page and the launcher window.
#pragma once

#include <QUrl>
#include <functional>
#include <string>

// Where a page is opened. The default asks the desktop (its browser); tests
// install their own opener. Returns the opener it replaces; an empty one
// restores the default.
using UrlOpener = std::function<bool(const QUrl& url)>;
UrlOpener SetUrlOpener(UrlOpener opener);

// The help page of the program: <programFolder>/Help/index.html (UTF-8 path;
// an empty folder is the current one).
std::string HelpPagePath(const std::string& utf8ProgramFolder);

// Opens the help page in the desktop's browser. False when the page is
// missing or the desktop could not open it.
bool OpenHelp(const std::string& utf8ProgramFolder);

// Closes the suite's launcher window; the Linux desktop has no such window, so this does nothing.
void CloseLauncherWindow();
