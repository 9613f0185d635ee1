// The data-input dialog: name, question, date, local time, zone and place of
// the chart, filled from the current chart and written back on OK; and the
// town search with its result grid. The dialog only moves text between its
// controls and the reading and folding of input/datainput.h, the search of
// input/townsdb.h and the zone history of input/timezones.h.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "input/datainput.h"
#include "input/timezones.h"
#include "input/townsdb.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class MainWindowPort;
struct ChartRecord;

class TInputDates : public QDialog {
  Q_OBJECT

 public:
  explicit TInputDates(MainWindowPort* owner);
  ~TInputDates() override;
  static TInputDates* Instance();

  // Controls, by their designer names.
  QLineEdit* Edit1 = nullptr;             // chart name
  QLineEdit* Edit2 = nullptr;             // place name
  QLineEdit* MaskEdit1 = nullptr;         // day
  QLineEdit* MaskEdit2 = nullptr;         // month
  QLineEdit* MaskEdit3 = nullptr;         // year
  QLineEdit* MaskEdit4 = nullptr;         // local time
  QLineEdit* MaskEdit5 = nullptr;         // latitude
  QLineEdit* MaskEdit6 = nullptr;         // longitude
  QLineEdit* MaskEdit7 = nullptr;         // difference from Greenwich
  QRadioButton* RadioButton1 = nullptr;   // latitude North
  QRadioButton* RadioButton2 = nullptr;   // latitude South
  QRadioButton* RadioButton3 = nullptr;   // longitude East
  QRadioButton* RadioButton4 = nullptr;   // longitude West
  QRadioButton* RadioButton7 = nullptr;   // before the common era
  QRadioButton* RadioButton8 = nullptr;   // common era
  QRadioButton* RadioButton9 = nullptr;   // zone East
  QRadioButton* RadioButton10 = nullptr;  // zone West
  QPlainTextEdit* Memo1 = nullptr;        // comment: the question
  QPushButton* Button1 = nullptr;         // town search
  QComboBox* ComboBox1 = nullptr;  // zone abbreviations, hidden until a foreign town is chosen
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel
  QLabel* Labels[8] = {};          // Label1 .. Label8
  QLabel* Label9 = nullptr;        // under the zone: the typed time was skipped or shown twice

  // Results after OK.
  std::string EnteredName;     // code page 1251
  std::string EnteredPlace;    // code page 1251
  std::string EnteredComment;  // code page 1251, one line
  DataInputResult Entered;     // the moment and place

  // The towns file of the last search and its matches.
  TownSearchResult LastSearch;

  // The command of the main window: fills the dialog from the current
  // chart, shows it modally and, on OK, writes it back.
  void Execute();
  // Shows a chart's name, comment, moment and place.
  void FillFromChart(const ChartRecord& chart);
  // The fields as the reading functions take them (code page 1251, blanks
  // as spaces), and the reverse.
  DataInputFields Fields() const;
  void SetFields(const DataInputFields& fields);
  // Writes the results of OK into the chart window's chart, recomputes and
  // redraws it and brings the status bar up to date.
  void ApplyToChart();

  // Handlers.
  void BitBtn1Click();
  void Button1Click();
  void ComboBox1Click(int index);

  // The steps of the town search. SearchPlace looks the place name up and
  // keeps the result in LastSearch (a file that cannot be read is reported);
  // ApplyTown fills in the town of a grid row of LastSearch with its zone at
  // the typed moment, all or nothing (a fault is reported and nothing
  // changes); OfferNewTown asks whether to add a town no file holds and runs
  // the add-town dialog.
  TownSearchStatus SearchPlace();
  bool ApplyTown(int row);
  void OfferNewTown(const std::string& name);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TimeMarks Marks() const;
  // Label9 for how the chosen town's clock showed the typed time: hidden
  // when once, else the line saying which zone was taken.
  void ShowClockReading(ClockReading reading);

  MainWindowPort* owner_;
};
