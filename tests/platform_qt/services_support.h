// Shared pieces of the platform-service tests: one widget application for the
// whole run (message boxes, dialogs and tool windows need widgets), a recorder
// that takes the place of the modal message boxes, and the scratch folder of
// the Qt-free platform tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <string>
#include <vector>

#include "../platform/scratch_folder.h"
#include "platform/qt/messages.h"

inline void EnsureWidgetApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_platform_qt";
  static char* argv[] = {name, nullptr};
  new GuardedApplication(argc, argv);
}

// The widget application is made before the first test of the run, whatever
// the order of the test files, so that no plain GUI application (which cannot
// carry widgets) is made first.
class WidgetApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EnsureWidgetApplication(); }
};
inline ::testing::Environment* const kWidgetApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetApplicationEnvironment);

// Base fixture: a widget application before each test, no window left after.
class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureWidgetApplication();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
      GTEST_SKIP() << "a plain GUI application was made first; widgets are not available";
  }
  void TearDown() override { EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()); }
};

// Collects the messages shown while it lives instead of opening boxes.
class MessageRecorder {
 public:
  struct Message {
    MessageKind kind;
    std::string text;  // code page 1251
  };
  MessageRecorder() {
    previous_ = SetMessageSink([this](MessageKind kind, const std::string& text) {
      messages.push_back({kind, text});
    });
  }
  ~MessageRecorder() { SetMessageSink(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<Message> messages;

 private:
  MessageSink previous_;
};
