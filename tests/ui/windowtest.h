// Helpers of the window tests: a scratch copy of the factory data tree for
// one test of one process, a fixture that starts the program on that copy
// with its messages collected, and a script that answers modal dialogs. A timer
// does not fire again while its own step runs, so a dialog opened from
// inside a step is answered by a second script made in that step.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/program.h"
#include "platform/qt/messages.h"

// A fresh copy of the source tree's data folder under the temporary folder,
// named after prefix, the running test and the process.
inline std::filesystem::path ScratchDataCopy(const std::string& prefix) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() /
      (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
       std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::copy(fs::path(HORARY_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
  return folder;
}

// Every top-level window is hidden again at the end of a test.
inline void ExpectNoWindowLeftOpen() {
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

// The program started on a scratch copy of the data tree, its messages
// collected instead of shown. SetUp makes the copy and installs the sink;
// a test (or a derived SetUp) edits the copy as it needs and then starts
// the windows. Every window is closed and hidden again at the end.
class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string suite =
        ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    folder_ = ScratchDataCopy("horary-" + suite + "-");
    previousSink_ = SetMessageSink(
        [this](MessageKind, const std::string& text) { messages_.push_back(Kept(text)); });
  }
  void TearDown() override {
    windows_.reset();
    SetMessageSink(previousSink_);
    std::filesystem::remove_all(folder_);
    ExpectNoWindowLeftOpen();
  }
  // A message as messages_ keeps it (the 8-bit text the program gives).
  virtual std::string Kept(const std::string& cp1251Text) const { return cp1251Text; }

  // Creates the program's windows on the copy; the chart window not shown yet.
  void CreateWindows() {
    windows_ = CreateProgramWindows(folder_.string());
    form_ = windows_->BaseForm.get();
    chart_ = windows_->PictureRadixChart;
  }
  // Creates the windows and shows the chart at 6 January 2000, 06:00 UT.
  void Start() {
    CreateWindows();
    chart_->FormShow();
    SetUniversalMoment(6, 1, 2000, 6.0f);
  }
  // Puts the chart at a date and universal time and recomputes it.
  void SetUniversalMoment(int day, int month, int year, float ut) {
    ChartRecord& c = chart_->Chart;
    c.UniversalTime = ut;
    c.JulianDay0h = JulianDay(day, month, year, 0);
    c.JulianDayUT = JulianDay(day, month, year, ut);
    chart_->Recalc();
  }

  std::filesystem::path folder_;
  std::unique_ptr<ProgramWindows> windows_;
  TBaseForm* form_ = nullptr;
  TPictureRadixChart* chart_ = nullptr;
  std::vector<std::string> messages_;
  MessageSink previousSink_;
};

// Answers the modal dialogs that open while it lives, in order: step i acts
// on the i-th dialog shown and must close it. A dialog shown after the last
// step is cancelled and counted as unexpected.
class ModalScript {
 public:
  using Step = std::function<void(QWidget*)>;
  explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(5);
  }
  std::size_t Done() const { return next_; }
  int Unexpected() const { return unexpected_; }

 private:
  void Tick() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    if (next_ < steps_.size()) {
      steps_[next_++](w);
    } else {
      ++unexpected_;
    }
    if (w->isVisible())
      if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
  }
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int unexpected_ = 0;
  QTimer timer_;
};
