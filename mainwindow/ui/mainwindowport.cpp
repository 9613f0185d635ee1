#include "mainwindow/ui/mainwindowport.h"

#include "platform/text/cp1251.h"

namespace {

MainWindowPort* gMainWindow = nullptr;

}  // namespace

MainWindowPort::MainWindowPort() { gMainWindow = this; }

MainWindowPort::~MainWindowPort() {
  if (gMainWindow == this) gMainWindow = nullptr;
}

QString MainWindowPort::Text(int entry) const {
  return QString::fromStdString(Cp1251ToUtf8(UiText.Entry(entry)));
}

MainWindowPort* MainWindow() { return gMainWindow; }
