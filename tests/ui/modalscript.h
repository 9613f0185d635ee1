// Answers the modal dialogs of a window test. A timer does not fire again
// while its own step runs, so a dialog opened from inside a step is
// answered by a second script made in that step.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

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
