#include "chart/ui/companionwindows.h"

#include <QAction>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/canvas.h"

QString CompanionText(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->Text(entry) : QString();
}

QString MenuCaption(const char* item) {
  MainWindowPort* form = MainWindow();
  QAction* action = form ? form->Item(item) : nullptr;
  return action ? action->text() : QString();
}

DrawTarget TCompanionDrawing::Target() const {
  return TargetOfFields(targetCanvas_, TargetRect, ColorMode, TargetFlags);
}

void TCompanionDrawing::SetTarget(const DrawTarget& target) {
  targetCanvas_ = StoreTargetFields(target, TargetRect, ColorMode, TargetFlags);
}

QImage TCompanionDrawing::Picture(int width, int height, int colorMode) {
  TBitmap picture(std::max(width, 1), std::max(height, 1));
  DrawOnto(*this, DrawTarget{&picture.Canvas(), TRect{0, 0, picture.Width(), picture.Height()},
                             colorMode, DrawPurpose::Export});
  return picture.Image();
}

void TCompanionDrawing::DrawOntoTarget(QWidget& window, QImage& windowPicture,
                                       const CompanionDrawer& draw) {
  const ChartSession* session = CurrentSession();
  if (!session || !session->ChartReady) return;
  const ChartRecord* chart = &session->Chart;
  CompanionPicture picture;
  picture.ColorMode = ColorMode;
  picture.WindowColor = session->Outside.WindowColor;
  if (targetCanvas_ != nullptr) {
    picture.Width = std::max(std::abs(TargetRect[1] - TargetRect[0]), 1);
    picture.Height = std::max(std::abs(TargetRect[3] - TargetRect[2]), 1);
    picture.OnScreen = false;
    picture.Printer = TargetFlags[1] == 0;
    draw(*chart, *targetCanvas_, picture);
    return;
  }
  if (window.width() <= 0 || window.height() <= 0) return;
  windowPicture = QImage(window.size(), QImage::Format_RGB32);
  TQtCanvas canvas(&windowPicture);
  picture.Width = windowPicture.width();
  picture.Height = windowPicture.height();
  picture.OnScreen = true;
  draw(*chart, canvas, picture);
  canvas.EndPaint();
  window.update();
}
