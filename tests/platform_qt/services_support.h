// Shared pieces of the platform-service tests: one widget application for the
// whole run (message boxes, dialogs and tool windows need widgets), a recorder
// that takes the place of the modal message boxes, and a scratch folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
    previous_ = SetMessageSink([this](MessageKind kind, const std::string& text) { messages.push_back({kind, text}); });
  }
  ~MessageRecorder() { SetMessageSink(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<Message> messages;

 private:
  MessageSink previous_;
};

// A fresh empty folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/platform_qt_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch folder";
    path_ = std::filesystem::canonical(pattern).string();
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes a file of the given bytes.
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ + "/" + name, std::ios::binary);
    out << bytes;
  }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};
