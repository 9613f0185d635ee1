// Paths between the program's strings and Qt.
//
// A path is the file system's own bytes in a std::string (UTF-8 on Linux),
// with '/' between folders: the program folder, the folders the dialogs
// choose, every file the program opens. Qt takes and gives paths as QString;
// these two are the one conversion between the forms. Text of the program
// (code page 1251, such as a file name the user typed) becomes part of a path
// through Cp1251ToUtf8 before it is joined to a folder, and a path becomes
// part of a message through Utf8ToCp1251; a path is never taken for code page
// 1251 text, so a folder with Russian letters is never converted twice.
#pragma once

#include <QString>
#include <string>

// The path as Qt holds it.
QString QtPath(const std::string& path);
// The path Qt gave, as the file system's bytes.
std::string PathOfQt(const QString& path);
