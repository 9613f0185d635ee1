// The dignities window TAffeticnew: a tool window on top showing the
// essential and accidental dignities of the twelve bodies of the current
// chart with the rulers behind them (StringGrid1), and keeping the second
// table (StringGrid2) on a page whose tab is not shown. It loads the dignity
// tables once when it is created. The first table is drawn through the
// drawing target: onto the window, or onto a canvas an export or a print
// lends it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <functional>

#include "chart/ui/companionwindows.h"
#include "judgement/dignities.h"

class QPushButton;
class QTabWidget;

// A grid of text cells painted from its cells.
class TStringGridView : public QWidget {
  Q_OBJECT

 public:
  explicit TStringGridView(QWidget* parent = nullptr);

  DignityGrid Cells;  // row 0 the headings, row p + 1 body p
  QImage Picture;     // the last drawing shown
  // Draws Picture anew at the widget's size.
  std::function<void()> Redraw;

  // The text of a cell, code page 1251 ("" outside the grid).
  std::string Cell(int row, int column) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TAffeticnew : public QDialog, public TCompanionDrawing {
  Q_OBJECT

 public:
  // Loads the dignity files under the main window's program folder
  // (Options/...); throws PlatformError with the language file's message
  // naming the file and the line when one is missing or damaged.
  explicit TAffeticnew(QWidget* parent = nullptr);
  ~TAffeticnew() override;
  static TAffeticnew* Instance();

  // Scores the current chart with the session's term system and sign rulers
  // and fills both grids. Runs at every recomputation of the chart, and while
  // the window is open at every choice of the term system or the sign rulers.
  void CalcDignities();

  // Draws the first table onto the current target.
  void DrawDignities();
  void DrawPicture() override { DrawDignities(); }

  void FormShow();
  void FormActivate();
  void BitBtn1Click();

  DignityTables& Tables;  // the chart session's terms, faces, degree lords, as loaded
  DignityScores Scores;   // of the last computation

  QTabWidget* PageControl1 = nullptr;  // tabs hidden, the first page active
  QWidget* TabSheet1 = nullptr;        // "Классическая"
  QWidget* TabSheet2 = nullptr;        // the second table
  TStringGridView* StringGrid1 = nullptr;
  TStringGridView* StringGrid2 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // close

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
};

// The message of a refused dignity file, from the language file.
std::string DignityFileMessage(const DignityFileResult& result);

// The first grid of the current chart as the dignities window computes it
// (CalcDignities runs); empty before that window exists.
DignityGrid CurrentDignities();
