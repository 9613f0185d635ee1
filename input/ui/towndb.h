// The add-town dialog: a town that no towns file holds is written to the
// user's towns file (TownsUser.twn) after the user confirms its line.
#pragma once

#include <QDialog>
#include <string>

#include "input/datainput.h"
#include "input/townsdb.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MainWindowPort;

class TTownDB : public QDialog {
  Q_OBJECT

 public:
  explicit TTownDB(MainWindowPort* owner);
  ~TTownDB() override;
  static TTownDB* Instance();

  QLineEdit* Edit1 = nullptr;            // town name, at most 20 characters
  QLineEdit* Edit2 = nullptr;            // country, at most 20 characters
  QLineEdit* MaskEdit1 = nullptr;        // latitude "dd:mm:ss"
  QLineEdit* MaskEdit2 = nullptr;        // longitude "ddd:mm:ss"
  QLineEdit* MaskEdit3 = nullptr;        // difference from Greenwich "hh?mm?"
  QRadioButton* RadioButton1 = nullptr;  // North
  QRadioButton* RadioButton2 = nullptr;  // South
  QRadioButton* RadioButton3 = nullptr;  // East: zone and longitude
  QRadioButton* RadioButton4 = nullptr;  // West: zone and longitude (the default)
  QComboBox* ComboBox1 = nullptr;        // zone abbreviations and an empty entry
  QLabel* Label9 = nullptr;              // long name of the chosen abbreviation
  QLabel* Labels[8] = {};                // Label1 .. Label8
  QPushButton* BitBtn1 = nullptr;        // add
  QPushButton* BitBtn2 = nullptr;        // cancel

  // The whole adding of a town: the dialog opens with the typed name; on OK
  // its line is built and shown for confirmation (Cancel there returns to
  // the dialog), and a confirmed line is appended to TownsUser.twn.
  void AddTown(const std::string& typedName);

  // The dialog's state for a new town: the typed name, no abbreviation.
  void Prepare(const std::string& typedName);
  // The fields as the reading function takes them.
  NewTownFields Fields() const;
  // The line of the town the fields describe, or the status that refuses it
  // with its message from the interface string table (NameTooLong for a name
  // of more than 20 characters).
  NewTownLine BuildLine() const;
  // Appends a line to the user's towns file (sorted, written whole); a
  // failure is reported and the file is left as it was.
  bool SaveLine(const std::string& line);

  // Handlers.
  void ComboBox1Change(int index);

 private:
  MainWindowPort* owner_;
};
