// Message boxes and the default error display.
//
// Every user action runs inside an event handler. A handler that fails throws;
// RunGuarded (or the GuardedApplication safety net) catches what leaves the
// handler, shows its message in a message box and ends that action only; the
// program goes on. No exception ever crosses the toolkit's event loop.
//
// All texts here are code page 1251 (the program's own text); they are
// converted to Unicode only when they reach the window system.
#pragma once

#include <QApplication>
#include <functional>
#include <stdexcept>
#include <string>

class QWidget;

// The error of a platform service, with a code page 1251 message such as
// "Cannot open file /home/user/Options/LangH.lan". Code that cannot go on
// because a file or device failed throws it; the default error display shows
// what() and ends the action.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::string& cp1251Message) : std::runtime_error(cp1251Message) {}
};

// "Cannot open file %s" and "Cannot create file %s" for a UTF-8 path; the path
// is converted to code page 1251 for the message.
PlatformError CannotOpenFileError(const std::string& utf8Path);
PlatformError CannotCreateFileError(const std::string& utf8Path);

// What kind of message a box shows: a notice (information icon) or an error
// caught by the default error display (critical icon).
enum class MessageKind { Notice, Error };

// Where messages go instead of a modal box. Tests install one to see the
// messages without blocking; an empty sink restores the modal boxes.
using MessageSink = std::function<void(MessageKind kind, const std::string& cp1251Text)>;
// Installs a sink and returns the one it replaces.
MessageSink SetMessageSink(MessageSink sink);

// The caption of every message box: the application's display name (set by
// the program entry to the program's title).
QString ApplicationTitle();

// An OK-only message box with the application title as caption, shown whole.
// It belongs to the window the user works in (WorkingWindow of parent in
// platform/qt/dialogs.h: the open modal dialog, else parent, else the active
// window), above it, and stays on top when that window or any other shown
// window of the program does. Without a widget
// application (or with a sink installed) the text goes to the sink, else to
// the standard error stream.
void ShowMessage(const std::string& cp1251Text, QWidget* parent = nullptr);
// The same box with an error icon: the default error display.
void ShowErrorMessage(const std::string& cp1251Text, QWidget* parent = nullptr);
// A notice given as UTF-8, for a text that names characters code page 1251
// lacks (a sink receives it converted, those characters as "?").
void ShowMessageUtf8(const std::string& utf8Text, QWidget* parent = nullptr);

// Runs action; an exception that leaves it is shown by the default error
// display (std::exception: its what() as code page 1251 text; anything else:
// "Unknown error") and ends the action. An error raised while another one is
// being shown (from the box's own event loop) goes to the standard error
// stream, so a handler that fails on every repaint cannot pile up boxes. Returns true when the
// action ran to its end, false when an exception ended it. Nothing is ever rethrown.
bool RunGuarded(const std::function<void()>& action, QWidget* parent = nullptr);

// The action wrapped for a signal connection:
//   connect(button, &QPushButton::clicked, Guarded([this] { Save(); }, this));
std::function<void()> Guarded(std::function<void()> action, QWidget* parent = nullptr);

// The widget application of the program. Its event dispatch catches any
// exception that an event handler lets through and shows it like RunGuarded,
// so a forgotten guard never ends the program.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
