// The signs of completion as the program runs them, and their results
// window TAnalisZav: one line per event with its civil date and time, and for
// the selected event the dignity rows of its points and the interpretation
// text of its kind. Pairs the run could not judge are listed after the
// events.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "judgement/completion.h"
#include "judgement/significators.h"

class QListWidget;
class QPushButton;
class QTableWidget;
class QTextEdit;

// The program-wide list of the last run: six lines an event.
std::vector<std::string>& CompletionEvents();
// The pairs the last run left out.
std::vector<SkippedPair>& CompletionSkippedPairs();

// The completion command: runs the signs of completion for the current
// chart and significators under the busy cursor, keeps the events, and shows
// the results window, or the message that nothing was found.
void RunCompletionAnalysis();

class TAnalisZav : public QWidget {
  Q_OBJECT

 public:
  explicit TAnalisZav(QWidget* parent = nullptr);
  ~TAnalisZav() override;
  static TAnalisZav* Instance();

  void FormShow();
  void ListBox1Click();
  void BitBtn1Click();
  void FormActivate();

  std::vector<CompletionEvent> Events;  // the events listed, in list order

  QListWidget* ListBox1 = nullptr;      // the event lines, then the pairs left out
  QWidget* Panel2 = nullptr;            // details of the selected event
  QTableWidget* StringGrid1 = nullptr;  // dignity rows of the event's points
  QTextEdit* RichEdit1 = nullptr;       // the interpretation text
  QWidget* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // close

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
};
