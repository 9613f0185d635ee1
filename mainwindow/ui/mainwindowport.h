// What the other windows may use of the main window: the state it keeps for
// all of them (the program folder, the interface string table, the export
// settings, the View menu's states) and a few requests (status-bar panels,
// menu items and their checks, command enabling, the wheel's parameters,
// redrawing and recomputing the chart, bringing up a window the main window
// holds). The main window implements it; the windows are handed it and never
// see the main window's class, so no window depends on the windows the main
// window holds.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/rulers.h"
#include "chart/settingsfiles.h"
#include "mainwindow/uistrings.h"

class QAction;
class QLabel;
class QObject;
class QWidget;
struct WheelView;

// The chart variant of the View menu (N71, N73, N74, N75).
enum class ChartVariant { Standard, LunarMansions, ArabicParts, Midpoints };

// Menu states the drawing reads. They are kept here, and the check marks and
// captions are derived from them, so that no state is ever read back from a
// caption or a check mark.
struct ChartMenuState {
  ChartVariant Variant = ChartVariant::Standard;
  bool ElementFillRemoved = false;  // N119 reads entry 53: chart colour over the element sectors
  bool HouseFillRemoved = false;    // N125 reads entry 61: chart colour over the houses
};

class MainWindowPort {
 public:
  MainWindowPort();
  MainWindowPort(const MainWindowPort&) = delete;
  MainWindowPort& operator=(const MainWindowPort&) = delete;

  std::string ProgramFolder;          // base of every data path, no trailing '/'
  std::string ExportFileName;         // file of the last window-image export (UTF-8 path)
  std::int32_t ExportWindowCode = 0;  // window to export
  std::int32_t ActiveToolWindowCode = 0;
  std::uint8_t DecimalComma = 0;  // 1 when the locale writes decimals with ','
  UiStringTable UiText;           // the interface string table
  std::uint8_t SaveSettingsDuringWork = 0;
  std::uint8_t ExportToClipboard = 0;
  std::uint8_t EquatorialOutput = 0;
  std::int32_t ExportWidth = 0, ExportHeight = 0;
  ChartMenuState Menu;  // the View menu's states

  // The entry n of the interface string table as shown text.
  QString Text(int entry) const;

  // The main window as the parent of dialogs and message boxes.
  virtual QWidget* Widget() = 0;
  // Menu items by designer name (nullptr for an unknown name).
  virtual QAction* Item(const std::string& name) const = 0;
  virtual QLabel* Panel(int index) const = 0;  // StatusBar1 panels 0..5
  virtual void SetPanelText(int index, const std::string& cp1251) = 0;
  // Enables or disables a menu item together with its tool-bar button.
  virtual void SetCommandEnabled(const std::string& item, bool enabled) = 0;
  // Puts the lines of the aspect list (glyph-font text) into its panel.
  virtual void ShowAspectList(const std::vector<std::string>& lines) = 0;
  // Puts the check mark on the house-system item of the chart's system.
  virtual void SyncHouseSystemMenu(int houseSystem) = 0;

  // The chart window's work: recompute, redraw, both after a new time, read
  // the chart settings files again (Ok without a chart window), its caption.
  virtual void RecalcChart() = 0;
  virtual void RedrawChart() = 0;
  virtual void ApplyChartTime() = 0;
  virtual SettingsReadResult ReloadChartSettings() = 0;
  virtual void ResetChartWindowTitle() = 0;
  virtual bool ChartActivatedOnce() const = 0;
  // A new chart took the place of the old one.
  virtual void ChartReplaced() = 0;

  // The calculation parameters as the wheel and the recomputation read them.
  virtual void ReadWheelParameters(WheelView& view) const = 0;
  virtual ReceptionParams ReceptionKinds() const = 0;
  // The table font (code page 1251), nullptr before the parameters exist.
  virtual const std::string* TableFontName() const = 0;
  virtual void ShowChartSettingsInParameters(int houseRulerMethod, bool saveSettings) = 0;
  virtual void ShowSignRulerSet(int set) = 0;

  // Windows the main window holds, brought up or told of a change.
  virtual void PresentRadicality() = 0;
  virtual void CloseRadicality() = 0;
  virtual void HideRadicalityDetails() = 0;
  virtual void ReloadTopicLists(int list) = 0;
  virtual void ShowSignDynamics(int body) = 0;
  virtual void PrintBlanksAfterDialog(const std::vector<int>& blanks) = 0;

  // The chart database: a ".zrn" pair opened in place of the open one, the
  // chart selected in the tree loaded, and whether a drag came from the tree.
  virtual bool OpenDatabaseFile(const std::string& recordFile) = 0;
  virtual void LoadChartFromDatabase() = 0;
  virtual bool IsDatabaseTree(const QObject* source) const = 0;

 protected:
  ~MainWindowPort();
};

// The main window as the windows see it; nullptr before it exists and after
// it is gone.
MainWindowPort* MainWindow();

// The main window as a parent widget; nullptr for none.
inline QWidget* WidgetOf(MainWindowPort* main) { return main ? main->Widget() : nullptr; }
