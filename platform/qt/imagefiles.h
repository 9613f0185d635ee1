// Pictures to files: the window images the program exports.
//
// Paths are UTF-8 with '/' between folders. A file is written atomically: the
// picture goes to a temporary file in the target's folder, which is renamed
// over the target only when it is complete, so a failed save leaves the old
// file (or no file) behind. The folder must exist; it is not created.
#pragma once

#include <QImage>
#include <string>

// Saves as a Windows bitmap (24 bits per pixel for colour pictures). A bitmap
// has no alpha channel: it is dropped and every pixel is stored opaque.
// On failure returns false and puts "Cannot create file %s" (code page 1251)
// into *error when given.
bool SaveImageBmp(const QImage& image, const std::string& utf8Path, std::string* error = nullptr);

// Saves as PNG, alpha channel included. Failure as for SaveImageBmp.
bool SaveImagePng(const QImage& image, const std::string& utf8Path, std::string* error = nullptr);
