// Message boxes, the message sink and the default error display.
#include "platform/qt/messages.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <utility>

#include "platform/qt/dialogs.h"
#include "platform/text/cp1251.h"

namespace {

// The sink that replaces the modal boxes (empty: boxes are shown).
MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}

// The text is UTF-8 here: a message may name characters that code page 1251
// cannot hold (the sink, which takes code page 1251, sees them as "?").
void ShowUtf8(MessageKind kind, const std::string& utf8Text, QWidget* parent) {
  if (Sink()) {
    Sink()(kind, Utf8ToCp1251(utf8Text));
    return;
  }
  // Message boxes need a widget application; without one (a tool run or an
  // early failure) the text goes to the error stream.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s\n", utf8Text.c_str());
    return;
  }
  // The box belongs to the window the user works in (a dialog that has just
  // closed hands it on to the one still open) and, like any modal question,
  // is never hidden beneath a window that stays on top.
  QWidget* owner = WorkingWindow(parent);
  QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  ApplicationTitle(), QString::fromStdString(utf8Text), QMessageBox::Ok, owner);
  box.setObjectName("MessageBox");
  if (MustStayOnTop(owner, &box)) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // The box is as wide as its title needs, so the title shows whole.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(TitleFitWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  ExecModal(box);
}

void Show(MessageKind kind, const std::string& cp1251Text, QWidget* parent) {
  ShowUtf8(kind, Cp1251ToUtf8(cp1251Text), parent);
}

// Shows the exception now being handled; never throws itself.
// An error box runs its own event loop. Should a handler fail again while it
// is up (a paint handler that fails on every repaint would), each failure
// would open one more box inside the last; instead, errors raised while an
// error is being shown go to the error stream.
void ShowCurrentException(QWidget* parent) noexcept {
  static bool showing = false;
  if (showing) {
    try {
      throw;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", Cp1251ToUtf8(error.what()).c_str());
    } catch (...) {
      std::fprintf(stderr, "Unknown error\n");
    }
    return;
  }
  showing = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{showing};
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      Show(MessageKind::Error, error.what(), parent);
    } catch (...) {
      Show(MessageKind::Error, "Unknown error", parent);
    }
  } catch (...) {
    // The display itself failed (a sink that throws, memory exhausted): the
    // action is over either way and nothing may escape.
    std::fprintf(stderr, "error display failed\n");
  }
}

}  // namespace

PlatformError CannotOpenFileError(const std::string& utf8Path) {
  return PlatformError("Cannot open file " + Utf8ToCp1251(utf8Path));
}

PlatformError CannotCreateFileError(const std::string& utf8Path) {
  return PlatformError("Cannot create file " + Utf8ToCp1251(utf8Path));
}

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

QString ApplicationTitle() { return QGuiApplication::applicationDisplayName(); }

void ShowMessage(const std::string& cp1251Text, QWidget* parent) {
  Show(MessageKind::Notice, cp1251Text, parent);
}

void ShowErrorMessage(const std::string& cp1251Text, QWidget* parent) {
  Show(MessageKind::Error, cp1251Text, parent);
}

void ShowMessageUtf8(const std::string& utf8Text, QWidget* parent) {
  ShowUtf8(MessageKind::Notice, utf8Text, parent);
}

bool RunGuarded(const std::function<void()>& action, QWidget* parent) {
  try {
    if (action) action();
    return true;
  } catch (...) {
    ShowCurrentException(parent);
    return false;
  }
}

std::function<void()> Guarded(std::function<void()> action, QWidget* parent) {
  // The parent may be gone by the time the action runs; the box then falls
  // back to the active window.
  return [action = std::move(action), parent = QPointer<QWidget>(parent)] {
    RunGuarded(action, parent.data());
  };
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException(nullptr);
    // The event counts as handled: the failed action is over.
    return true;
  }
}
