// Window helpers: modal dialogs with a result code, tool windows that stay on
// top, and the busy cursor.
#pragma once

#include <QtCore/qnamespace.h>

class QDialog;
class QWidget;

// The result of a modal dialog. mrNone while it runs; OK and Cancel as the
// dialog's buttons set them; closing the window by its frame gives mrCancel.
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
};

// Shows the dialog modally and returns how it was closed: accept() or
// CloseModal(dialog, mrOk) give mrOk, reject() or the close box mrCancel,
// CloseModal with another code that code. For the time it is shown the dialog
// belongs to the window the user works in (see WorkingWindow) and stays on
// top when that window or any shown window of the program does, so a modal
// question is never hidden beneath the window it blocks; afterwards it is
// given back to its own parent.
// The dialog has a title and a close box only, never a minimise or maximise
// box; minimised or maximised by the window manager all the same, it is
// shown normal again at once.
ModalResult ExecModal(QDialog& dialog);
// The frame of a modal dialog from its own flags: a dialog window with a
// title and a close box (kept hidden when the dialog hides it on purpose),
// without minimise, maximise, help or shade boxes; other hints are kept.
Qt::WindowFlags ModalDialogFlags(Qt::WindowFlags flags);

// The window the user works in, which a new message or modal dialog belongs
// to: the innermost modal dialog that is shown, else preferred's window when
// it is shown, else the active window, else preferred's window (hidden or
// not), else null. A dialog that has already closed is never chosen while
// another one is open.
QWidget* WorkingWindow(QWidget* preferred);
// True when a modal window shown above owner must stay on top to be seen:
// owner, or any other shown top-level window except except, stays on top.
bool MustStayOnTop(const QWidget* owner, const QWidget* except);
// The smallest width at which the window's title shows whole in its frame:
// the title in the application's bold font, with room for the frame's
// buttons and borders.
int TitleFitWidth(const QWidget& window);
// Ends a running modal dialog with the given result.
void CloseModal(QDialog& dialog, ModalResult result);

// Makes a window a tool window that stays on top of the other windows (the
// chart's companion windows). Keeps the window's visibility and position.
void MakeStayOnTopToolWindow(QWidget& window);

// The busy cursor over the whole application for the guard's lifetime:
//   { BusyCursor busy; LongSearch(); }
// Guards nest; each restores the cursor that was shown before it, also when
// an exception leaves the block.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool active_ = false;  // an override cursor was set (needs a GUI application)
};
