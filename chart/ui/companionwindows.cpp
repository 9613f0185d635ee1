#include "chart/ui/companionwindows.h"

#include <QAction>
#include <algorithm>

#include "chart/ui/picturechart.h"
#include "mainwindow/ui/baseform.h"
#include "platform/qt/canvas.h"
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

QImage DrawCompanionImage(int width, int height, int colorMode, bool onScreen,
                          const CompanionDrawer& draw) {
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  if (!chart) return {};
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  TCanvas canvas(&image);
  CompanionPicture picture;
  picture.Width = image.width();
  picture.Height = image.height();
  picture.ColorMode = colorMode;
  picture.OnScreen = onScreen;
  picture.WindowColor = chart->WindowColor();
  draw(chart->Chart, canvas, picture);
  canvas.EndPaint();
  return image;
}
