#include "chart/ui/companionwindows.h"

#include <QAction>

#include "mainwindow/ui/baseform.h"
#include "platform/qt/clipboard.h"
#include "platform/text/cp1251.h"

QString CompanionText(int entry) {
  TBaseForm* form = TBaseForm::Instance();
  return form ? form->Text(entry) : QString();
}

QString MenuCaption(const char* item) {
  TBaseForm* form = TBaseForm::Instance();
  QAction* action = form ? form->Item(item) : nullptr;
  return action ? action->text() : QString();
}

bool DeliverExportPicture(const QImage& picture) {
  TBaseForm* form = TBaseForm::Instance();
  if (!form || picture.isNull()) return false;
  if (form->ExportToClipboard) return CopyImageToClipboard(picture);
  return picture.save(QString::fromStdString(Cp1251ToUtf8(form->ExportFileName)), "BMP");
}
