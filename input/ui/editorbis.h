// The orbs editor: the base orb of every pair of chart objects and the
// factor of each aspect kind 0..8, edited as text in two grids and taken
// into the chart record only on OK, all or nothing (input/editorbis.h).
#pragma once

#include <QDialog>

#include "input/editorbis.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class MainWindowPort;

class TEditOrbis : public QDialog {
  Q_OBJECT

 public:
  explicit TEditOrbis(MainWindowPort* owner);
  ~TEditOrbis() override;
  static TEditOrbis* Instance();

  // Controls, by their designer names. OrbPlanets: row r, column c holds the
  // orb of objects c and r, their names in the headers. KoefAsp: row k holds
  // the name of aspect kind k and its factor.
  QTableWidget* OrbPlanets = nullptr;
  QTableWidget* KoefAsp = nullptr;
  QLineEdit* Input = nullptr;      // the orb to put into the selected cells
  QLineEdit* MaskEdit1 = nullptr;  // the factor to put into the selected rows
  QPushButton* ButtonInput = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;

  // The grids' text, code page 1251.
  OrbGridText GridText() const;

  // Handlers.
  void FormShow();
  void ButtonInputClick();
  void Button1Click();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  char Separator() const;

  MainWindowPort* owner_;
  OrbGridText shown_;  // the text FormShow put into the grids
};
