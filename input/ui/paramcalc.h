// The calculation-parameters dialog: the default place of a new chart, the
// method of house rulers, the term system and the sign rulers, the kinds of
// reception, the origin of local-space azimuths, the American wheel's
// switches, the table font, the folder of the chart databases, the saving of
// settings with the restore of the factory settings, and the topic lists of
// the house-choice windows. The choices the windows share (house-ruler
// method, sign rulers, term system, azimuth origin) are the chart session's:
// the buttons show them, a button set is in the session at once, and a
// choice clicked here is announced to the session's observers.
//
// Handlers are connected to user actions only (clicked, activated,
// actionTriggered): a choice set by code, such as a preset of the main
// window, never runs them.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "chart/rulers.h"
#include "chart/settingsfiles.h"
#include "input/paramcalc.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QToolButton;
class QTreeView;
class MainWindowPort;

class TParamCalc : public QDialog {
  Q_OBJECT

 public:
  // Reads PRC1.opt, DBD.opt, RulTF.opt and rec.box under Options; throws
  // PlatformError naming the file (and line) when one is missing or
  // malformed. The topic lists are read too; a list that cannot be read
  // leaves its combo box empty.
  explicit TParamCalc(MainWindowPort* owner);
  ~TParamCalc() override;
  static TParamCalc* Instance();

  // Fields.
  float DoubleChartOrbFactor = 0.25f;  // kept factor of the double charts (Edit3)
  std::string TableFontName;           // code page 1251, font of tables and text windows
  std::string DatabaseFolder;          // UTF-8 path of the chart databases
  std::uint8_t ParamFlag976 = 0;       // kept flag of PRC1.opt

  // The default place of a new chart: the chart window's, which the chart
  // settings files hold (before the chart window exists, the dialog's own).
  DefaultPlace& Place();

  // Choices other windows read.
  int TermSystem() const;              // RadioGroup1, 0..4
  int SignRulerSet() const;            // RadioGroup2, 0 seven planets, 1 with the higher planets
  ReceptionParams Receptions() const;  // CheckBox1..4
  bool AmericanDegreeLabels() const;   // RadioButton12
  bool AmericanAspectLines() const;    // RadioButton16
  bool AzimuthFromEast() const;        // RadioButton28, else from the South
  // Set by code (presets of the main window, the chart settings): no handler runs.
  void SetSignRulerSet(int set);
  void SetHouseRulerMethod(int method);

  // Controls by their designer names.
  QTabWidget* PageControl1 = nullptr;
  QLineEdit* MaskEdit5 = nullptr;      // default latitude
  QLineEdit* MaskEdit6 = nullptr;      // default longitude
  QLineEdit* MaskEdit7 = nullptr;      // default zone
  QRadioButton* RadioButton[30] = {};  // RadioButton1..3 and 12..29 at their numbers
  QLineEdit* Edit2 = nullptr;          // orb scale
  QLineEdit* Edit3 = nullptr;          // double-chart factor with "°"
  QScrollBar* UpDown1 = nullptr;       // 10..20
  QScrollBar* UpDown2 = nullptr;       // from 10, step 5
  QPushButton* Button1 = nullptr;      // take the folder
  QPushButton* Button2 = nullptr;      // choose the font
  QPushButton* Button3 = nullptr;      // factory restore
  QPushButton* BitBtn1 = nullptr;      // apply
  QLineEdit* EditDirectoryDefault = nullptr;
  QComboBox* DriveComboBox1 = nullptr;
  QTreeView* DirectoryListBox1 = nullptr;
  QLabel* FontSample = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QGroupBox* RadioGroup2 = nullptr;
  QButtonGroup* RadioGroup1Items = nullptr;
  QButtonGroup* RadioGroup2Items = nullptr;
  QCheckBox* CheckBox[4] = {};       // CheckBox1 .. CheckBox4
  QLineEdit* TopicEdit[3] = {};      // Edit1, Edit4, Edit5
  QLineEdit* TopicHouse[3] = {};     // MaskEdit1, MaskEdit2, MaskEdit3
  QComboBox* TopicCombo[3] = {};     // ComboBox1, ComboBox2, ComboBox3
  QToolButton* TopicAdd[3] = {};     // SpeedButton1, SpeedButton4, SpeedButton6
  QToolButton* TopicDelete[3] = {};  // SpeedButton2, SpeedButton3, SpeedButton5

  TopicListFiles Topics[3];  // the lists the combo boxes show

  // Handlers.
  void FormShow();
  bool BitBtn1Click();  // false: refused, nothing applied
  void FormClose();
  void HouseRulerClick(int method);  // RadioButton1..3
  void CheckBoxClick();              // CheckBox1..4, the kinds of reception
  void RadioGroup1Click();
  void RadioGroup2Click();
  void RadioButton20Click();
  void RadioButton21Click();
  void DriveComboBox1Change();
  void Button1Click();
  void Button2Click();
  void UpDown1Click(int action);
  void UpDown2Click(int action);
  void Button3Click();
  void TopicAddClick(int list);     // SpeedButton1, 4, 6
  void TopicDeleteClick(int list);  // SpeedButton2, 3, 5

  // The factory restore without its notice: refused (with the message)
  // before any file changes when a factory file is missing or damaged; else
  // the files are copied and everything they hold is taken into use at once:
  // the chart settings, the parameters of PRC1.opt and the database folder;
  // the chart is recomputed and redrawn.
  bool RestoreFactory();

  // Every way of closing ends here: the rulers, the receptions and PRC1.opt
  // are written.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The controls page by page, then the apply button and the handlers.
  void BuildPages();
  QString EntryText(int entry) const;  // the owner's language-file entry
  void BuildRadioButtons();
  void BuildDefaultPlacePage(QWidget* page);
  void BuildRulersPage(QWidget* page);
  void BuildOrbsPage(QWidget* page);
  void BuildSavingPage(QWidget* page);
  void BuildFontsPage(QWidget* page);
  void BuildLocalSpacePage(QWidget* page);
  void BuildChartsPage(QWidget* page);
  void BuildTermsPage(QWidget* page);
  void BuildTopicsPage(QWidget* page);
  void BuildReceptionsPage(QWidget* page);
  void ConnectHandlers();
  void ApplyParamFile(const ParamFile& file);
  void FillTopicCombo(int list);
  void ReloadHouseWindowLists(int list);
  void ShowDirectory(const QString& folder);
  TimeMarks Marks() const;

  MainWindowPort* owner_;
  DefaultPlace ownPlace_;
  QFileSystemModel* folders_ = nullptr;
};
