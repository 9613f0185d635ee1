// The positions table TPositionPlanets (a tool window on top listing the 36
// chart objects with their positions in the glyph font) and the planet
// parameters TAstronom (a modal grid of the coordinates of the Sun to Pluto).
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "chart/positions.h"
#include "chart/ui/companionwindows.h"

class QTableWidget;

class TPositionPlanets : public QWidget, public TCompanionDrawing {
  Q_OBJECT

 public:
  explicit TPositionPlanets(QWidget* parent = nullptr);
  ~TPositionPlanets() override;
  static TPositionPlanets* Instance();

  int Mode = 0;  // 0 open (sign glyphs shown), -1 closed

  // Draws the table onto the current target: the window, or the canvas an
  // export or a print lent it.
  void DrawPositions();
  void DrawPicture() override { DrawPositions(); }
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
