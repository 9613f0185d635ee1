// Clipboard access through the GUI application's clipboard.
#include "platform/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/text/cp1251.h"

bool CopyImageToClipboard(const QImage& image) {
  if (image.isNull()) return false;
  QGuiApplication::clipboard()->setImage(image);
  return true;
}

void CopyTextToClipboard(const std::string& cp1251Text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(Cp1251ToUtf8(cp1251Text)));
}

QImage ClipboardImage() { return QGuiApplication::clipboard()->image(); }

std::string ClipboardText() {
  return Utf8ToCp1251(QGuiApplication::clipboard()->text().toStdString());
}
