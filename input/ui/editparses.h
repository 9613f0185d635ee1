// The Arabic-parts editor: the chart record's table of parts edited in
// place, part by part (input/editparses.h); "Ввод" closes it and the main
// window recomputes and redraws the chart.
#pragma once

#include <QDialog>

struct PartRecord;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MainWindowPort;

class TEditParses : public QDialog {
  Q_OBJECT

 public:
  explicit TEditParses(MainWindowPort* owner);
  ~TEditParses() override;
  static TEditParses* Instance();

  // Controls, by their designer names.
  QComboBox* ComboBox1 = nullptr;        // operand A
  QComboBox* ComboBox2 = nullptr;        // operand B
  QComboBox* ComboBox3 = nullptr;        // operand C
  QComboBox* ComboBox4 = nullptr;        // sign mode of B
  QComboBox* ComboBox5 = nullptr;        // sign mode of C
  QComboBox* ComboBox6 = nullptr;        // the parts by name, in table order
  QLineEdit* Edit1 = nullptr;            // name of the part being edited
  QGroupBox* Panel1 = nullptr;           // the sex choice, hidden
  QRadioButton* RadioButton1 = nullptr;  // any querent
  QRadioButton* RadioButton2 = nullptr;  // men
  QRadioButton* RadioButton3 = nullptr;  // women
  QPushButton* Button1 = nullptr;        // add
  QPushButton* Button3 = nullptr;        // change
  QPushButton* Button2 = nullptr;        // remove
  QPushButton* BitBtn1 = nullptr;        // "Ввод"
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;

  // Inserts a part built from the controls at index n (0..PartCount);
  // refused with a message when the table is full or its name cannot be
  // saved. True when inserted.
  bool InsertParse(int n);

  // Handlers; they run on the user's actions only.
  void FormShow();
  void ComboBox6Change(int index);
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPart(int k);
  // The part the controls describe, or false when its name holds characters
  // the parts file cannot keep (the user is told).
  bool PartFromControls(PartRecord& part);
  void EnablePartButtons();

  MainWindowPort* owner_;
};
