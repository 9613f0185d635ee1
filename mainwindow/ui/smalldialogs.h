// The small dialogs of the main window: the confirmation dialog, the name
// dialog of the chart-database commands and the About box. Their captions
// and button texts come from the interface string table.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The general confirmation dialog: the caller puts the message into Panel1
// and shows the dialog modally; OK and Cancel give the result, closing the
// window counts as Cancel.
class TWarning : public QDialog {
  Q_OBJECT

 public:
  explicit TWarning(QWidget* parent = nullptr);
  ~TWarning() override;
  static TWarning* Instance();

  void SetMessage(const std::string& cp1251);

  QLabel* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
};

// Asks for a name (of a chart database or a section).
class TInputNameBD : public QDialog {
  Q_OBJECT

 public:
  explicit TInputNameBD(QWidget* parent = nullptr);
  ~TInputNameBD() override;
  static TInputNameBD* Instance();

  std::string NameText() const;  // code page 1251
  void SetNameText(const std::string& cp1251);

  QLineEdit* Name = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
};

// The About box: the program's emblem and six lines from the language file.
// Made anew for each use and freed afterwards.
class TAboutProgram : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutProgram(QWidget* parent = nullptr);

  QLabel* Labels[6] = {};  // Label1, Label3, Label4, Label5, Label6, Label7
};
