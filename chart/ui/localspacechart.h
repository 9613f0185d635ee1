// The local-space chart window TLocalSpaceChart: a tool window on top that
// draws the directions of the ten planets on the horizon around a compass
// rose and names a planet and its azimuth in a hint under the pointer.
#pragma once

#include <QImage>
#include <QWidget>

#include "chart/companiondrawing.h"
#include "chart/localspace.h"
#include "chart/ui/companionwindows.h"

class TLocalSpaceChart : public QWidget, public TCompanionDrawing {
  Q_OBJECT

 public:
  explicit TLocalSpaceChart(QWidget* parent = nullptr);
  ~TLocalSpaceChart() override;
  static TLocalSpaceChart* Instance();

  LocalSpaceRecord Space;  // horizontal coordinates and their ranking
  LocalSpaceHover Hover;   // glyph boxes of the last window drawing, hint state

  // Horizontal coordinates of the current chart.
  void CalcHorizontalCoords();
  // Draws the chart onto the current target: the window (its glyph boxes
  // and hint kept in Hover), or the canvas an export or a print lent it.
  void DrawLocalSpaceChart();
  void DrawPicture() override { DrawLocalSpaceChart(); }
  const QImage& WindowPicture() const { return picture_; }

  void FormShow();
  void FormPaint();
  void FormActivate();
  void FormMouseMove(int x, int y);

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Azimuths in the hint counted from the East point (else from the South
  // point), as the calculation parameters choose.
  bool AzimuthFromEast() const;

  QImage picture_;
};
