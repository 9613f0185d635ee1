// The significators dialog: proposes the points of the querent and of the
// quesited, lets the astrologer add (TAddSign) and remove points, five a side
// at most, and describes the selected point. It closes only when both sides
// hold a point; closing enables the signs of completion and shows the
// radicality window.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

#include "judgement/significators.h"

class QListWidget;
class QPushButton;
class QTabBar;
class QTextEdit;

class TSignificators : public QDialog {
  Q_OBJECT

 public:
  explicit TSignificators(QWidget* parent = nullptr);
  ~TSignificators() override;
  static TSignificators* Instance();

  // Disables the completion command, empties both lists so that the next
  // showing proposes anew, and closes the completion results. Runs for every
  // new chart and every choice of the house-ruler method, the term system or
  // the sign rulers.
  void ResetSignificators();
  // Proposes the significators on the first fill after a reset, then lists
  // the side on show.
  void FillSignificators();
  // Shows the dialog modally (or passes it to the test hook).
  void Execute();

  // What shows the dialog instead of the modal loop; tests install one. An
  // empty hook restores the modal showing. Returns the hook it replaces.
  using ShowHook = std::function<void(TSignificators&)>;
  static ShowHook SetShowHook(ShowHook hook);

  void FormShow();
  void TabSheet1Show();
  void TabSheet2Show();
  void BitBtn3Click();
  void BitBtn4Click();
  void ListBox1Click();
  // True when the dialog may close (both sides hold a point); then the
  // completion command is enabled.
  bool FormCloseQuery();
  void FormClose();
  void FormActivate();
  void BitBtn1Click();

  SignificatorLists& Significators;  // the two lists, the chart session's
  std::uint8_t FirstFill = 1;        // 1: the next fill proposes the significators
  int ShownSide = kQuerentSide;      // the list on show
  DignityGrid Dignities;             // the chart's dignity scores, computed at each showing

  QTabBar* PageControl1 = nullptr;  // TabSheet1 querent, TabSheet2 quesited
  QListWidget* ListBox1 = nullptr;  // the points of the side on show
  QTextEdit* RichEdit1 = nullptr;   // the description of the selected point
  QPushButton* BitBtn3 = nullptr;   // add
  QPushButton* BitBtn4 = nullptr;   // remove
  QPushButton* BitBtn1 = nullptr;   // OK

 public slots:
  void done(int result) override;

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ListShownSide();
};

class TAddSign : public QDialog {
  Q_OBJECT

 public:
  explicit TAddSign(QWidget* parent = nullptr);
  ~TAddSign() override;
  static TAddSign* Instance();

  void FormShow();
  void ListBox1Click();
  void BitBtn1Click();

  QListWidget* ListBox1 = nullptr;  // the 18 chart points
  QPushButton* BitBtn1 = nullptr;   // OK
  int ChosenPoint = -1;             // the clicked point, -1 none

 protected:
  void showEvent(QShowEvent* event) override;
};
