// Helpers of the window tests: a scratch copy of the factory data tree for
// one test of one process, and a script that answers modal dialogs. A timer
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
#include <string>
#include <vector>

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
