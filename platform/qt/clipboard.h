// The system clipboard: the pictures and texts the program copies out of its
// windows. Text is code page 1251 here and Unicode on the clipboard.
#pragma once

#include <QImage>
#include <string>

// Puts a picture on the clipboard, replacing what was there. A null image
// leaves the clipboard as it was and returns false.
bool CopyImageToClipboard(const QImage& image);
// Puts plain text on the clipboard, replacing what was there.
void CopyTextToClipboard(const std::string& cp1251Text);

// What the clipboard holds now: its picture (null when none) and its plain
// text as code page 1251 (characters outside the code page become '?').
QImage ClipboardImage();
std::string ClipboardText();
