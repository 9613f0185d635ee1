// Paths through Qt's file-name encoding (the file system's: UTF-8 on Linux).
#include "platform/qt/paths.h"

#include <QFile>

QString QtPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathOfQt(const QString& path) { return QFile::encodeName(path).toStdString(); }
