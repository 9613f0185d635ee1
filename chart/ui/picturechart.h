// The chart window: the only MDI child of the main window. It holds the one
// current chart (the chart record with every chart setting), casts the chart
// of the current moment when first shown and draws the wheel. On the wheel it
// answers the mouse: a hint with a glyph's name and position (or the
// longitude under the pointer on the outer circle), a popup menu for a body,
// and the drag of a body onto another body or onto a sign, which finds the
// moment of that aspect or sign ingress and moves the chart there.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "chart/ui/wheel.h"
#include "platform/drawtarget.h"

class QAction;
class QMenu;
class MainWindowPort;

class TPictureRadixChart : public QWidget, public TDrawing {
  Q_OBJECT

 public:
  // Builds the chart record from the interface strings and the chart
  // settings files under the program folder. Throws PlatformError naming the
  // file (and line) when a settings file is missing or malformed.
  TPictureRadixChart(MainWindowPort* owner, QWidget* parent = nullptr);
  ~TPictureRadixChart() override;

  static TPictureRadixChart* Instance();

  // The chart session's: the current chart and every chart setting; the
  // window colour, save flag and default place; what the last recomputation
  // produced.
  ChartRecord& Chart;
  SettingsOutsideRecord& Outside;
  RecalcResult& LastRecalc;
  WheelWork Work;  // the wheel's geometry and hover state of the last window drawing

  // The window's background colour (0x00BBGGRR or a negative system colour).
  std::int32_t WindowColor() const { return Outside.WindowColor; }
  void SetWindowColor(std::int32_t color);

  // Reads the chart settings files again into the chart record (all or
  // nothing) and brings the menus and the save flag in line; the chart is
  // not recomputed.
  SettingsReadResult ReloadSettings();

  // Casts the chart of the current system moment at the default place.
  void CastCurrentMoment();
  // Recomputes the chart (honouring the chosen aspect kinds, or the
  // reception-swap variant while it is on), applies the result to the main
  // window's status bar and aspect list and announces it to the session's
  // observers (chartChanged).
  void Recalc();
  // Draws the wheel again onto the window, whatever target an export or a
  // print has lent the chart meanwhile; a drawing onto the window is
  // announced to the session's observers (chartDrawn).
  void RedrawChart();

  // The drawing target, kept in the record's TargetFlags, TargetRect and
  // ColorMode: the window (all flags set), an export (TargetFlags[2] 0), a
  // page image (TargetFlags[0] 0) or the printer's canvas (TargetFlags[1] 0).
  DrawTarget Target() const override;
  void SetTarget(const DrawTarget& target) override;
  // DrawChart onto the current target.
  void DrawPicture() override;
  // The picture of the last window drawing.
  const QImage& Picture() const { return picture_; }
  // The View menu's switches as the drawing reads them.
  WheelView CurrentView() const;

  // Mouse state of the wheel.
  std::string HintText;        // code page 1251, text of the hint box
  std::uint8_t RingHover = 0;  // flag: the pointer is on the wheel's outer circle
  std::uint8_t Dragging = 0;   // flag: a glyph is being dragged (DragObject)
  int MouseX = 0;              // pixels, last pointer position in the window
  int MouseY = 0;              // pixels
  int DynamicsBody = -1;       // body the popup's dynamics item stands for, -1 none

  // The popup menu of a body's glyph.
  QMenu* PopupMenu1 = nullptr;
  QAction* N7 = nullptr;  // restrict the aspect list to the body, or show all again
  QAction* N1 = nullptr;  // the body's sign graph in the dynamics window
  QAction* N2 = nullptr;  // the body's description (hidden, no action)

  // Moves the chart to a found moment (Julian day on the chart's time scale,
  // universal time plus Delta T): keeps the present moment as the undo copy,
  // sets JulianDayUT, UniversalTime and JulianDay0h, enables the undo command
  // and applies the new time through the main window.
  void MoveChartTo(double julianDay);

  // The window has been activated at least once (the window menu's chart
  // item carries its check mark from then on).
  bool ActivatedOnce() const { return activatedOnce_; }

  // Handlers.
  void FormShow();
  void FormActivate();
  void FormPaint();
  // Mouse handlers, pointer position in window pixels.
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp(Qt::MouseButton button, int x, int y);
  void FormMouseLeave();
  // A drag from another widget: accepted only from the main window's
  // database tree.
  bool FormDragOver(const QObject* source) const;
  void FormDragDrop(const QObject* source);
  void N7Click();
  void N1Click();
  void N2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildPopupMenu();
  // The windows' state after the settings were read: menus, save flag,
  // default place, the calculation parameters' house-ruler choice.
  void ApplySettingsState(const SettingsMenuState& state);
  void ShowAspectList(const std::vector<std::string>& lines);
  void EndDrag();
  // Runs the search of a drop of body `drag` onto `drop` (a body 0..15, or
  // 18 + sign for a sign) and moves the chart to the moment found.
  void SearchDropMoment(int drag, int drop);
  // The longitude under the pointer on the outer circle, degrees [0, 360).
  double RingLongitude(int x, int y) const;
  // A chart node dropped from the database tree: loaded as by the main
  // window's command "Загрузить текущую запись БД" (the node dragged is the
  // one selected).
  void LoadChartFromDatabaseTree();

  MainWindowPort* owner_;
  bool shownOnce_ = false;
  bool activatedOnce_ = false;
  QImage picture_;                   // the window's picture, drawn off-screen and shown on paint
  TCanvas* targetCanvas_ = nullptr;  // canvas of a lent target; nullptr for the window
  int popupAspectObject_ = 50;       // object N7 restricts the aspect list to when chosen; 50 all
};
