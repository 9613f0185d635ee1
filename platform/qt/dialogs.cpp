// Modal dialogs, stay-on-top tool windows and the busy cursor.
#include "platform/qt/dialogs.h"

#include <QDialog>
#include <QGuiApplication>
#include <QWidget>

ModalResult ExecModal(QDialog& dialog) {
  const int code = dialog.exec();
  // QDialog reports reject() and the close box as 0 (Rejected) and accept()
  // as 1 (Accepted, the same number as mrOk); other codes come from CloseModal.
  if (code == QDialog::Rejected) return mrCancel;
  return static_cast<ModalResult>(code);
}

void CloseModal(QDialog& dialog, ModalResult result) {
  if (result == mrCancel || result == mrNone)
    dialog.reject();
  else
    dialog.done(result);
}

void MakeStayOnTopToolWindow(QWidget& window) {
  // Changing the flags of a shown window hides it; show it again where it was.
  const bool visible = window.isVisible();
  const QPoint position = window.pos();
  // The window type is one value under Qt::WindowType_Mask, not a set of bits:
  // replace it rather than adding to it.
  const Qt::WindowFlags hints = window.windowFlags() & ~Qt::WindowType_Mask;
  window.setWindowFlags(hints | Qt::Tool | Qt::WindowStaysOnTopHint);
  if (visible) {
    window.move(position);
    window.show();
  }
}

BusyCursor::BusyCursor() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  active_ = true;
}

BusyCursor::~BusyCursor() {
  if (active_) QGuiApplication::restoreOverrideCursor();
}
