// The radicality window: runs the considerations before judgement on the
// current chart each time it is shown, lists the verdict with one line per
// failed test, and on "Подробнее" adds the interpretation texts of the
// failed tests.
#pragma once

#include <QWidget>

#include "judgement/radicality.h"

class QPushButton;
class QSplitter;
class QTextEdit;

class TRadical : public QWidget {
  Q_OBJECT

 public:
  explicit TRadical(QWidget* parent = nullptr);
  ~TRadical() override;
  static TRadical* Instance();

  void AnalyseRadicality();
  // Hides the pane of detailed texts (when a house window is activated).
  void HideDetails();

  void FormShow();
  void BitBtn1Click();
  void BitBtn2Click();
  void FormActivate();

  RadicalityResult Result;  // flags of the last showing

  QSplitter* Splitter1 = nullptr;  // between the verdict and the detailed texts
  QTextEdit* RichEdit1 = nullptr;  // the verdict
  QTextEdit* RichEdit2 = nullptr;  // the detailed texts, hidden until asked for
  QWidget* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // "Подробнее"
  QPushButton* BitBtn2 = nullptr;  // close

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
};
