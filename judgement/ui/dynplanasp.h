// The dynamics window TDynPlanAsp: a tool window on top that draws over a
// time window either the stay of a body in its sign (sign graph) or the
// closeness of an aspect to exactness while it lies within its orb (aspect
// graph). The moment under the mouse shows in a hint box; a drag across the
// aspect graph zooms it to the days dragged over. The same drawing serves
// the window, the window-image export and the printed page through the
// window's drawing target.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "judgement/dynamics.h"
#include "platform/drawtarget.h"

class TDynPlanAsp : public QWidget, public TDrawing, public DynamicsRecord {
  Q_OBJECT

 public:
  explicit TDynPlanAsp(QWidget* parent = nullptr);
  ~TDynPlanAsp() override;
  static TDynPlanAsp* Instance();

  // Mouse and drag state, client pixels.
  int DragStartX = 0, DragStartY = 0, DragEndX = 0, DragEndY = 0;
  std::uint8_t Dragging = 0;
  int MouseX = 0, MouseY = 0;
  std::uint8_t Hover = 0;  // the mouse is over the plotting area
  // The plotting area of the last drawing onto the window.
  int GraphLeft = 0, GraphRight = 0, GraphTop = 0, GraphBottom = 0;
  // The drawing target: rectangle (left, right, top, bottom), colour mode and
  // flags, all set for the window itself; an export or a print lends another.
  int TargetRect[4] = {0, 0, 0, 0};
  int TargetColorMode = kColorModeFull;
  std::uint8_t TargetFlags[3] = {1, 1, 1};
  std::uint8_t Closed = 0;
  // SecondObject counts as a house cusp (its name that of object SecondObject + 18).
  std::uint8_t SecondIsCusp = 0;

  // The window computations for the current chart; nothing happens (false)
  // before the chart window has been activated once. A kind the orb window
  // cannot time is refused with its message.
  bool CalcAspectOrbWindow();
  bool CalcSignStayWindow();

  // The aspect graph of a pair (bodies 0..15, kind 0..29) with the orb the
  // chart's aspects use, computed under the busy cursor and shown; a kind
  // that cannot be timed only shows its message.
  void ShowAspectDynamics(int first, int kind, int second);
  // The sign graph of a body of the chart.
  void ShowSignDynamics(int body);

  // The caption: the graph, the bodies, the aspect, and an edge the search
  // did not reach.
  QString Caption() const;

  // Draws the graph onto the current target.
  void DrawDynamics();
  void DrawPicture() override { DrawDynamics(); }
  DrawTarget Target() const override;
  void SetTarget(const DrawTarget& target) override;
  const QImage& WindowPicture() const { return picture_; }
  // How often the longitudes were sampled anew (a redraw for the mouse does not).
  int SampleRuns() const { return samples_.Runs; }

  void FormShow();
  void FormActivate();
  void FormMouseMove(int x, int y);
  void FormMouseDown(int x, int y);
  void FormClick();
  void FormMouseUp(int x, int y);
  // The mouse has left the window: the hint box goes.
  void FormMouseLeave();
  void FormClose();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The chart window has been activated once: labels, curves and the
  // computations are on.
  bool ChartActive() const;
  // Runs a window computation under the busy cursor and shows the graph; a
  // refused one restores the record from before.
  void ComputeAndPresent(const DynamicsRecord& before, bool (TDynPlanAsp::*calc)());
  // Forgets the mouse: no hint box and no drag until it moves over the graph again.
  void ForgetMouse();

  QImage picture_;
  TCanvas* targetCanvas_ = nullptr;  // canvas of a lent target; nullptr for the window
  DynamicsSamples samples_;
};
