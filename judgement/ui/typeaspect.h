// The aspect-type dialog: when the user drags a body of the chart wheel onto
// another body or onto a sign, the chart window asks here which aspect to
// look for and in which direction of time, then searches for the moment.
//
// Created once at start; the chosen aspect and direction stay from one use
// to the next.
#pragma once

#include <QDialog>
#include <functional>

#include "platform/qt/dialogs.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TTypeAspect : public QDialog {
  Q_OBJECT

 public:
  // Builds the dialog with its captions from the interface string table and
  // the conjunction selected, searching forwards.
  explicit TTypeAspect(QWidget* parent = nullptr);
  ~TTypeAspect() override;

  static TTypeAspect* Instance();

  // The chosen aspect kind 0..8 (the index of ComboBox1; 0 when none).
  int AspectKind() const;
  // The search direction: +1 with Front ("В будущем"), -1 with Back.
  int Direction() const;

  // Shows the dialog modally and returns how it was closed: mrOk by BitBtn1,
  // mrCancel by the close box or Escape.
  ModalResult Ask();

  // What answers Ask instead of the user: it receives the dialog, may change
  // its controls and returns the modal result. Tests install one so that no
  // modal loop runs; an empty hook restores the modal showing. Returns the
  // hook it replaces.
  using AnswerHook = std::function<ModalResult(TTypeAspect&)>;
  static AnswerHook SetAnswerHook(AnswerHook hook);

  static constexpr int HelpContext = 31;  // topic of the help file

  QLabel* Label1 = nullptr;        // "Искать аспект"
  QComboBox* ComboBox1 = nullptr;  // aspect kinds 0..8 by angle
  QRadioButton* Front = nullptr;   // "В будущем"
  QRadioButton* Back = nullptr;    // "В прошлом"
  QPushButton* BitBtn1 = nullptr;  // "Ввод", OK
};
