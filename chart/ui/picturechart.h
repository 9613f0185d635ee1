// The chart window: the only MDI child of the main window. It holds the one
// current chart (the chart record with every chart setting), casts the chart
// of the current moment when first shown and draws the wheel.
#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "chart/ui/wheel.h"

class TBaseForm;

class TPictureRadixChart : public QWidget {
  Q_OBJECT

 public:
  // Builds the chart record from the interface strings and the chart
  // settings files under the program folder. Throws PlatformError naming the
  // file (and line) when a settings file is missing or malformed.
  TPictureRadixChart(TBaseForm* owner, QWidget* parent = nullptr);
  ~TPictureRadixChart() override;

  static TPictureRadixChart* Instance();

  ChartRecord Chart;                 // the current chart and every chart setting
  SettingsOutsideRecord Outside;     // window colour, save flag, default place
  RecalcResult LastRecalc;           // what the last recomputation produced
  WheelWork Work;                    // the wheel's geometry and hover state of the last window drawing

  // The window's background colour (0x00BBGGRR or a negative system colour).
  std::int32_t WindowColor() const { return Outside.WindowColor; }
  void SetWindowColor(std::int32_t color);

  // Casts the chart of the current system moment at the default place.
  void CastCurrentMoment();
  // Recomputes the chart (honouring the chosen aspect kinds, or the
  // reception-swap variant while it is on) and applies the result to the
  // main window's status bar and aspect list.
  void Recalc();
  // Draws the wheel again.
  void RedrawChart();
  // The picture of the last window drawing.
  const QImage& Picture() const { return picture_; }
  // The View menu's switches as the drawing reads them.
  WheelView CurrentView() const;

  // Handlers.
  void FormShow();
  void FormActivate();
  void FormPaint();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  TBaseForm* owner_;
  bool shownOnce_ = false;
  QImage picture_;  // the window's picture, drawn off-screen and shown on paint
};
