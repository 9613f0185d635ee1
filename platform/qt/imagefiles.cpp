// Atomic picture files through QSaveFile (temporary file, then rename).
#include "platform/qt/imagefiles.h"

#include <QSaveFile>

#include "platform/qt/messages.h"
#include "platform/qt/paths.h"

namespace {

bool SaveImage(const QImage& image, const char* format, const std::string& utf8Path,
               std::string* error) {
  QSaveFile file(QtPath(utf8Path));
  const bool written =
      !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, format);
  if (written && file.commit()) return true;
  file.cancelWriting();
  if (error != nullptr) *error = CannotCreateFileError(utf8Path).what();
  return false;
}

}  // namespace

bool SaveImageBmp(const QImage& image, const std::string& utf8Path, std::string* error) {
  // Dropping the alpha channel first makes the writer choose 24-bit pixels
  // for every source format.
  const QImage opaque =
      image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
  return SaveImage(opaque, "BMP", utf8Path, error);
}

bool SaveImagePng(const QImage& image, const std::string& utf8Path, std::string* error) {
  return SaveImage(image, "PNG", utf8Path, error);
}
