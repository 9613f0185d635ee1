// The tool windows of the planetary hours (TPlanetHour) and the lunar days
// (TMoonDay): modeless, on top, each listing the table of the chart's last
// recomputation. Above latitude 65 North, where the recomputation finds no
// hours or lunar days, a window keeps its previous table but marks no line
// as the chart's. Both draw onto their window, an export picture or a
// printed rectangle through the drawing target.
#pragma once

#include <QImage>
#include <QWidget>

#include "chart/ui/companionwindows.h"
#include "judgement/hourtables.h"
#include "judgement/lunardays.h"
#include "judgement/planetaryhours.h"

// Window codes the export and the printing go by.
inline constexpr int kCodeLunarDays = 10;
inline constexpr int kCodePlanetaryHours = 11;

class TPlanetHour : public QWidget, public TCompanionDrawing {
  Q_OBJECT

 public:
  explicit TPlanetHour(QWidget* parent = nullptr);
  ~TPlanetHour() override;
  static TPlanetHour* Instance();

  PlanetaryHourTable Table;  // the table shown (HourStart local hours, rulers)
  int CurrentHour = 0;       // 1..24, the chart's hour drawn in red; 0 none

  // Takes the table of the chart's last recomputation (or keeps the previous
  // one, marking no hour, where none was computed) and draws it again when
  // the window is shown.
  void CalcPlanetHours();
  // Draws the table onto the current target.
  void DrawPlanetHours();
  void DrawPicture() override { DrawPlanetHours(); }
  // The lines as drawn, in the window's layout.
  std::vector<TableCell> Cells() const;
  const QImage& WindowPicture() const { return picture_; }

  void FormShow();
  // Activated: the window becomes the one the export and the printing take.
  void FormActivate();
  void FormPaint();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QImage picture_;
};

class TMoonDay : public QWidget, public TCompanionDrawing {
  Q_OBJECT

 public:
  explicit TMoonDay(QWidget* parent = nullptr);
  ~TMoonDay() override;
  static TMoonDay* Instance();

  LunarDayTable Table;  // the table shown
  float TimeZone = 0;   // hours East, the zone of the chart the table was computed for
  int CurrentDay = 0;   // 1..30, the chart's lunar day drawn in red; 0 none

  // As TPlanetHour::CalcPlanetHours, for the lunar days.
  void CalcMoonDays();
  void DrawMoonDays();
  void DrawPicture() override { DrawMoonDays(); }
  std::vector<TableCell> Cells() const;
  const QImage& WindowPicture() const { return picture_; }

  void FormShow();
  // Activated: the window becomes the one the export and the printing take.
  void FormActivate();
  void FormPaint();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QImage picture_;
};
