// Modal dialogs, stay-on-top tool windows and the busy cursor.
#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace {

// Room the window frame takes beside the title text: borders, the icon and
// the close, minimise and maximise buttons of the usual window managers.
constexpr int kTitleFrameAllowance = 120;  // pixels

// Keeps a modal dialog in its normal state while it runs. Some window managers
// put minimise and maximise buttons on every frame whatever the window asks
// for, and minimising a modal dialog takes the whole program with it, with no
// window left to bring it back; so a dialog that is minimised or maximised is
// shown normal again at once.
class KeepNormalState : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange)
      if (auto* dialog = qobject_cast<QDialog*>(watched))
        if (dialog->isVisible() &&
            (dialog->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
          dialog->setWindowState(dialog->windowState() &
                                 ~(Qt::WindowMinimized | Qt::WindowMaximized));
          dialog->show();
          dialog->raise();
          dialog->activateWindow();
        }
    return false;
  }
};

}  // namespace

Qt::WindowFlags ModalDialogFlags(Qt::WindowFlags flags) {
  // a dialog that hides its close box on purpose (it closes by its buttons
  // only) keeps it hidden; every other dialog has one
  const bool noCloseBox =
      flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowCloseButtonHint);
  flags &= ~(Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint |
             Qt::WindowShadeButtonHint | Qt::WindowFullscreenButtonHint);
  flags |= Qt::Dialog | Qt::WindowTitleHint;
  if (!noCloseBox) flags |= Qt::WindowCloseButtonHint;
  return flags;
}

QWidget* WorkingWindow(QWidget* preferred) {
  if (QApplication::instance() != nullptr) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) return modal;
  }
  if (preferred != nullptr && preferred->window()->isVisible()) return preferred->window();
  if (QApplication::instance() != nullptr)
    if (QWidget* active = QApplication::activeWindow())
      if (active->isVisible()) return active;
  return preferred != nullptr ? preferred->window() : nullptr;
}

bool MustStayOnTop(const QWidget* owner, const QWidget* except) {
  if (owner != nullptr && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
    return true;
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w != except && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
        w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
      return true;
  return false;
}

int TitleFitWidth(const QWidget& window) {
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleFrameAllowance;
}

ModalResult ExecModal(QDialog& dialog) {
  // Shown above the window the user works in, as its child, for this once.
  QPointer<QWidget> ownParent = dialog.parentWidget();
  const Qt::WindowFlags ownFlags = dialog.windowFlags();
  QWidget* owner = WorkingWindow(ownParent.data());
  // never under itself or under a window it owns (isAncestorOf stops at
  // window boundaries, so the chain is walked across them): that would make
  // the parents a cycle
  for (QWidget* w = owner; w != nullptr; w = w->parentWidget())
    if (w == &dialog) {
      owner = ownParent.data();
      break;
    }
  Qt::WindowFlags flags = ModalDialogFlags(ownFlags);
  if (MustStayOnTop(owner, &dialog)) flags |= Qt::WindowStaysOnTopHint;
  const bool moved = owner != ownParent.data() || flags != ownFlags;
  if (moved) dialog.setParent(owner, flags);
  struct GiveBack {
    QDialog& dialog;
    QPointer<QWidget> parent;
    Qt::WindowFlags flags;
    bool moved;
    ~GiveBack() {
      if (moved) dialog.setParent(parent.data(), flags);
    }
  } giveBack{dialog, ownParent, ownFlags, moved};
  KeepNormalState keepNormal;
  dialog.installEventFilter(&keepNormal);
  const int code = dialog.exec();
  dialog.removeEventFilter(&keepNormal);
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
