// Window helpers: modal dialogs with a result code, tool windows that stay on
// top, and the busy cursor.
#pragma once

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
// CloseModal with another code that code.
ModalResult ExecModal(QDialog& dialog);
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
