// The positions table TPositionPlanets (a tool window on top listing the 36
// chart objects with their positions in the glyph font) and the planet
// parameters TAstronom (a modal grid of the coordinates of the Sun to Pluto).
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "chart/positions.h"

class QTableWidget;

class TPositionPlanets : public QWidget {
  Q_OBJECT

 public:
  explicit TPositionPlanets(QWidget* parent = nullptr);
  ~TPositionPlanets() override;
  static TPositionPlanets* Instance();

  // Target of the next drawing.
  int TargetRect[4] = {0, 0, 0, 0};  // pixels: left, right, top, bottom
  int ColorMode = 2;                 // 0 black on white, 1 colours on white, 2 window colours
  std::uint8_t TargetFlags[3] = {1, 1, 1};  // [2] 0: export the picture; all 1: the window
  int Mode = 0;                             // 0 open (sign glyphs shown), -1 closed

  // Draws the table: onto the window when every target flag is set, else an
  // export picture of the target rectangle's size handed to the export.
  void DrawPositions();
  // The table as a picture of the given size and colour mode (export, print).
  QImage Picture(int width, int height, int colorMode);
  // The window's picture of its last drawing.
  const QImage& WindowPicture() const { return picture_; }

  void FormShow();
  void FormClose();
  void FormActivate();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QImage picture_;
};

class TAstronom : public QDialog {
  Q_OBJECT

 public:
  explicit TAstronom(QWidget* parent = nullptr);
  ~TAstronom() override;
  static TAstronom* Instance();

  // Fills StringGrid1 from the current chart; the chart is left as it was.
  void FillPlanetParameters();
  // The text of a cell, code page 1251.
  std::string Cell(int row, int column) const;

  void FormActivate();

  QTableWidget* StringGrid1 = nullptr;

 protected:
  void changeEvent(QEvent* event) override;
};
