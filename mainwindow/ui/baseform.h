// The main window: the MDI frame with the main menu, the tool bar, the
// six-panel status bar, the database panel on the left and the aspect-list
// panel on the right. It owns the program folder and the interface string
// table; the chart window is its only MDI child.
#pragma once

#include <QIcon>
#include <QMainWindow>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "chart/aspectpick.h"
#include "chart/settingsfiles.h"
#include "mainwindow/chartdb.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/uistrings.h"

class QAction;
class QDialog;
class QLabel;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QStatusBar;
class TTimingTable;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TPictureRadixChart;
struct WheelView;

class TBaseForm : public QMainWindow, public MainWindowPort {
  Q_OBJECT

 public:
  // Takes the program folder, loads the language file and puts every caption
  // and hint in place. Throws PlatformError ("Cannot open file <path>") when
  // the language file or the separator marker cannot be read.
  explicit TBaseForm(const std::string& programFolder, QWidget* parent = nullptr);
  ~TBaseForm() override;

  static TBaseForm* Instance();

  // The open chart database: the tree in pre-order beside its record lines,
  // the folder it came from and whether it changed since it was last saved.
  // TreeBD shows it; every command changes both together.
  ChartDatabase Database;

  // Fields of the main window (those the windows share are MainWindowPort's).
  std::string& DbFolder = Database.Folder;  // folder of the open chart database, empty = none
  bool& DbModified = Database.Modified;     // the open database holds unsaved changes
  AspectLinePick LastAspectPick;            // the aspect-list line double-clicked last

  QWidget* Widget() override { return this; }

  // Components by designer name (nullptr for an unknown name).
  QAction* Item(const std::string& name) const override;
  QToolButton* Button(const std::string& name) const;
  QLabel* Panel(int index) const override;  // StatusBar1 panels 0..5
  QListWidget* ListBox1() const { return listBox1_; }
  QWidget* PanelAsp() const { return panelAsp_; }
  QWidget* PanelDB() const { return panelDb_; }
  QTreeWidget* TreeBD() const { return treeBd_; }
  QStatusBar* StatusBarDB() const { return statusBarDb_; }
  QString StatusBarDBText() const;
  QMdiArea* MdiArea() const { return mdiArea_; }

  // Enables or disables a menu item together with the tool-bar button that
  // stands for it.
  void SetCommandEnabled(const std::string& item, bool enabled) override;
  void SetPanelText(int index, const std::string& cp1251) override;
  // Puts the lines of the aspect list (glyph-font text) into ListBox1.
  void ShowAspectList(const std::vector<std::string>& lines) override;

  // Adopts the chart window as the MDI child (maximised; closing minimises it).
  void AttachChartWindow(TPictureRadixChart* chart);

  // Hint over the status bar at x pixels from its left edge (code page
  // 1251): when the planetary hour (over panel 2) or the lunar day (over
  // panel 3) ends; empty elsewhere.
  std::string StatusBarHint(int x) const;

  // Puts the check mark on the house-system item of the chart's system.
  void SyncHouseSystemMenu(int houseSystem) override;
  // Applies a new chart time: recompute, status-bar date, redraw.
  void ApplyChartTime() override;
  // Draws the wheel again.
  void RedrawChart() override;
  // The calculation parameters show the house-ruler method and the saving
  // choice the chart settings files hold.
  void ShowChartSettingsInParameters(int houseRulerMethod, bool saveSettings) override;
  // The calculation parameters' switches of the wheel (the American lines
  // and labels, the table font, the receptions) put into a view.
  void ReadWheelParameters(WheelView& view) const override;
  // The kinds of mutual reception the recomputation searches (the
  // calculation parameters' reception page; domicile and exaltation before
  // that dialog exists).
  ReceptionParams ReceptionKinds() const override;
  // The radicality window: brought up with its tests run anew, closed, or
  // with its detailed texts hidden.
  void PresentRadicality() override;
  void CloseRadicality() override;
  void HideRadicalityDetails() override;
  // The house-choice window of topic list `list` (0, 1 the querent's, 2 the
  // quesited's) reads the saved lists again.
  void ReloadTopicLists(int list) override;
  // The table font of the calculation parameters (code page 1251), nullptr
  // before that dialog exists.
  const std::string* TableFontName() const override;
  // The calculation parameters show a sign-ruler set put into the session by
  // code; none of their handlers runs.
  void ShowSignRulerSet(int set) override;
  // The print designer prints the blanks after the printer dialog.
  void PrintBlanksAfterDialog(const std::vector<int>& blanks) override;
  // The dynamics window shows the sign graph of a body.
  void ShowSignDynamics(int body) override;
  // The chart window has been activated at least once.
  bool ChartActivatedOnce() const override;
  // Recomputes the chart (the chart window's Recalc), no redraw.
  void RecalcChart() override;
  // Reads the chart settings files again into the chart (the chart window's
  // ReloadSettings); Ok without a chart window.
  SettingsReadResult ReloadChartSettings() override;
  // A new chart took the place of the old one: there is no time to go back
  // to, and the session's observers hear of it (the significators go).
  void ChartReplaced() override;
  // The chart window's caption back to the window menu's chart item.
  void ResetChartWindowTitle() override;
  // Puts the check marks and captions of the View menu's states in place.
  void SyncMenuState();

  // Before anything replaces or drops the open database (exit, close, open,
  // create, an import, a search result opened): when it holds unsaved
  // changes, asks Save / Discard / Cancel. True when the caller may go on
  // (nothing to save, saved, or discarded); false on Cancel and when the save
  // failed or was cancelled, and then nothing has changed.
  bool AskSaveDatabase();
  // Shows Database in TreeBD in place of what it showed, enables closing and
  // the panel's menu item, and shows the panel: how every kind of open ends.
  void ShowDatabase();
  // The absolute index of the node selected in TreeBD; npos when none.
  std::size_t SelectedNode() const;
  // The absolute index of the node an item of TreeBD shows.
  std::size_t NodeOfItem(const QTreeWidgetItem* item) const;
  // Loads the pair of a ".zrn" file (path in the file system's bytes) in
  // place of the open database, asking first when that one holds unsaved
  // changes; a refused file is reported and the open database kept.
  bool OpenDatabaseFile(const std::string& recordFile) override;
  // Imports another program's chart file, by the open dialog's filter index
  // 2..7, in place of the open database (the open command has asked about
  // unsaved changes before its file dialog); a failure is reported once and
  // the open database kept.
  bool ImportForeignDatabase(const std::string& path, int filterIndex);
  void N25Click();
  // The chart selected in TreeBD loaded (N68), and whether a drag came from
  // TreeBD.
  void LoadChartFromDatabase() override { N68Click(); }
  bool IsDatabaseTree(const QObject* source) const override;

  // Handlers.
  void FormShow();
  void FormClose();
  void HelpClick();
  void N20Click();
  void N44Click();
  void N27Click();
  void HouseSystemClick(int system);
  void StyleClick(int style);
  void OrientationClick(int orientation);
  void MinorLinesClick(int solid);
  void VariantClick(const std::string& item);
  void N118Click();
  void N119Click();
  void N124Click();
  void N125Click();
  void ColorClick(const std::string& item);
  void N78Click();
  void N79Click();
  void N101Click();
  void N81Click();
  void N82Click();
  void N21Click();
  void N51Click();
  void N145Click();
  void N85Click();
  void N56Click();
  void N57Click();
  void N50Click();
  void N49Click();
  void N53Click();
  void N34Click();
  void N23Click();
  void BMP1Click();
  void ListBox1DblClick();
  void N45Click();
  void N46Click();
  void N135Click();
  void N143Click();
  // The planetary hours and the lunar days: refused with a message above
  // latitude 65 North, where they are not reckoned.
  void N137Click();
  void N138Click();
  void N38Click();
  void N80Click();
  void N83Click();
  void N140Click();
  void N141Click();
  void N47Click();
  void N134Click();
  void N18Click();
  // The chart database.
  void N8Click();
  void N9Click();
  void N10Click();
  void N15Click();
  void N16Click();
  void N26Click();
  void N12Click();
  void N13Click();
  void N68Click();
  void N69Click();
  void N70Click();
  void TreeBDCollapsing(QTreeWidgetItem* item);
  void TreeBDExpanding(QTreeWidgetItem* item);
  void TreeBDMouseDown();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPanels();
  // Shows a planetary-hours or lunar-days table, or the refusal entry's
  // message above latitude 65 North.
  void OpenTimingTable(TTimingTable* table, int refusalEntry);
  // Widens status-bar panel index, if need be, so that text shows whole.
  void FitPanel(int index, const QString& text);
  void LoadLanguage();
  void ConnectHandlers();
  void ObjectPreset(int shownUpTo, int aspectedUpTo, int radioGroup2);
  void AspectKindPreset(int enabledUpTo);
  // The aspects, the aspect list and the wheel after the kinds in use changed.
  void AspectKindsChanged();
  // Shows a chart-settings editor modally, then recomputes and redraws.
  void RunChartEditor(QDialog* dialog);
  // The database commands' parts.
  void ConnectDatabaseHandlers();
  void FillTreeBD();
  // The icon of a node kind in TreeBD, made once.
  const QIcon& StateIcon(int state);
  // Writes the pair under the root's text in DbFolder (save-as when there is
  // no folder or the text makes no file name); true when it was written.
  bool SaveDatabase();
  // Asks where to write the pair; true when it was written.
  bool SaveDatabaseAs();
  // Writes the pair of stem when the pair on disk is still expected; when
  // another program changed it, asks Save anyway / Cancel. A failure is
  // reported and keeps DbModified.
  bool WriteDatabase(const std::string& stem, const PairState& expected);
  // The state of the pair of stem that a save may replace without asking:
  // the one this program read or wrote when stem is the open database's
  // own pair, else the one on disk now (the user is asked about it next).
  PairState ExpectedPairState(const std::string& stem) const;
  // Reports a pair that would not open, naming the temporary files a save
  // cut short left beside it.
  void ShowDatabaseNotOpened(const std::string& recordFile, const std::string& message);
  // Says that a load finished a save cut short by renaming temporary over
  // the tree file of recordFile.
  void ShowInterruptedSaveCompleted(const std::string& recordFile, const std::string& temporary);
  // Asks the name dialog with the caption of entry; false unless OK.
  bool AskName(int entry, std::string& name);
  // Asks the confirmation dialog; true on OK.
  bool Confirm(const std::string& cp1251Question);
  // Adds the node just inserted at index under the item of its parent and selects it.
  void AddTreeItem(std::size_t index, QTreeWidgetItem* parent);
  // The parent a new node goes under when node is selected: the node itself
  // for the root or a section, a chart's parent, the root when none is selected.
  std::size_t NewNodeParent(std::size_t selected) const;
  // The item of TreeBD that shows a parent chosen by NewNodeParent.
  QTreeWidgetItem* ItemOfParent(std::size_t parent, std::size_t selected) const;

  std::map<std::string, QAction*> items_;
  std::map<std::string, QToolButton*> buttons_;
  QLabel* panels_[6] = {};
  QMdiArea* mdiArea_ = nullptr;
  QMdiSubWindow* chartSub_ = nullptr;
  TPictureRadixChart* chartWindow_ = nullptr;  // the chart window, once attached
  QWidget* panelDb_ = nullptr;
  QTreeWidget* treeBd_ = nullptr;
  QStatusBar* statusBarDb_ = nullptr;
  QWidget* panelAsp_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  std::vector<std::string> aspectLines_;  // the lines ListBox1 shows, glyph-font text
  bool shownOnce_ = false;
  bool closing_ = false;
  bool dbPanelShown_ = false;          // N26: the database panel is shown
  QLabel* statusBarDbText_ = nullptr;  // the one panel of StatusBarDB
  QIcon stateIcons_[3];                // closed section, open section, chart
};
