// The local-space chart window TLocalSpaceChart: a tool window on top that
// draws the directions of the ten planets on the horizon around a compass
// rose and names a planet and its azimuth in a hint under the pointer.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "chart/companiondrawing.h"
#include "chart/localspace.h"

class TLocalSpaceChart : public QWidget {
  Q_OBJECT

 public:
  explicit TLocalSpaceChart(QWidget* parent = nullptr);
  ~TLocalSpaceChart() override;
  static TLocalSpaceChart* Instance();

  LocalSpaceRecord Space;  // horizontal coordinates and their ranking
  LocalSpaceHover Hover;   // glyph boxes of the last window drawing, hint state

  // Target of the next drawing.
  int TargetRect[4] = {0, 0, 0, 0};  // pixels: left, right, top, bottom
  int ColorMode = 2;                 // 0 black on white, 1 colours on white, 2 window colours
  std::uint8_t TargetFlags[3] = {1, 1, 1};  // [2] 0: export the picture; all 1: the window

  // Horizontal coordinates of the current chart.
  void CalcHorizontalCoords();
  // Draws the chart onto the window (every target flag set) or as an export
  // picture of the target rectangle's size handed to the export.
  void DrawLocalSpaceChart();
  // The chart as a picture of the given size and colour mode (export, print).
  QImage Picture(int width, int height, int colorMode);
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
