// The tool windows of the planetary hours (TPlanetHour) and the lunar days
// (TMoonDay): modeless, on top, each listing the table of the chart's last
// recomputation. Above latitude 65 North, where the recomputation finds no
// hours or lunar days, a window keeps its previous table but marks no line
// as the chart's. Both draw onto their window, an export picture or a
// printed rectangle through the drawing target.
#pragma once

#include <QImage>
#include <QWidget>

#include "chart/lunardays.h"
#include "chart/planetaryhours.h"
#include "chart/ui/companionwindows.h"
#include "judgement/hourtables.h"

// Window codes the export and the printing go by.
inline constexpr int kCodeLunarDays = 10;
inline constexpr int kCodePlanetaryHours = 11;

// A tool window showing one table of the chart's last recomputation in the
// layout of the given size; what differs between the two is the table.
class TTimingTable : public QWidget, public TCompanionDrawing {
  Q_OBJECT

 public:
  // menuItem names the main-window item whose caption is the window's title;
  // code is the window's code for the export and the printing.
  TTimingTable(QWidget* parent, const char* objectName, const char* menuItem, int code,
               int layoutWidth, int layoutHeight);
  ~TTimingTable() override;

  // The lines as drawn, in the window's layout.
  virtual std::vector<TableCell> Cells() const = 0;
  // Draws the table onto the current target.
  void DrawTable();
  void DrawPicture() override { DrawTable(); }
  const QImage& WindowPicture() const { return picture_; }

  // Shown: recorded as the tool window shown last, the table taken and drawn.
  void FormShow();
  // Activated: the window becomes the one the export and the printing take.
  void FormActivate();
  void FormPaint();

 protected:
  // Takes the table of the chart's last recomputation (or keeps the
  // previous one, marking no line, where none was computed) and draws it
  // again when the window is shown.
  virtual void TakeTable() = 0;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int code_;
  int layoutWidth_;
  int layoutHeight_;
  QImage picture_;
};

class TPlanetHour : public TTimingTable {
  Q_OBJECT

 public:
  explicit TPlanetHour(QWidget* parent = nullptr);
  ~TPlanetHour() override;
  static TPlanetHour* Instance();

  PlanetaryHourTable Table;  // the table shown (HourStart local hours, rulers)
  int CurrentHour = 0;       // 1..24, the chart's hour drawn in red; 0 none

  void CalcPlanetHours() { TakeTable(); }
  void DrawPlanetHours() { DrawTable(); }
  std::vector<TableCell> Cells() const override;

 protected:
  void TakeTable() override;
};

class TMoonDay : public TTimingTable {
  Q_OBJECT

 public:
  explicit TMoonDay(QWidget* parent = nullptr);
  ~TMoonDay() override;
  static TMoonDay* Instance();

  LunarDayTable Table;  // the table shown
  float TimeZone = 0;   // hours East, the zone of the chart the table was computed for
  int CurrentDay = 0;   // 1..30, the chart's lunar day drawn in red; 0 none

  void CalcMoonDays() { TakeTable(); }
  void DrawMoonDays() { DrawTable(); }
  std::vector<TableCell> Cells() const override;

 protected:
  void TakeTable() override;
};
