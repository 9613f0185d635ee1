#include "chart/ui/localspacechart.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "chart/ui/companionwindows.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"

namespace {

TLocalSpaceChart* gLocalSpaceChart = nullptr;

constexpr int kEntryCaption = 277;  // "Локально-пространственная карта"

bool Holds(const TRect& r, int x, int y) {
  return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

}  // namespace

TLocalSpaceChart::TLocalSpaceChart(QWidget* parent) : QWidget(parent) {
  gLocalSpaceChart = this;
  setObjectName("LocalSpaceChart");
  setWindowTitle(CompanionText(kEntryCaption));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  setMouseTracking(true);
  resize(480, 480);
  RegisterExportWindow(kCodeLocalSpace, ExportWindow{this, {}, [this] { return isVisible(); }});
  // while open the picture follows every drawing of the chart
  if (TChartSessionSignals* session = SessionSignals())
    connect(session, &TChartSessionSignals::chartDrawn, this, [this] {
      if (!isVisible()) return;
      CalcHorizontalCoords();
      DrawLocalSpaceChart();
    });
}

TLocalSpaceChart::~TLocalSpaceChart() {
  UnregisterExportWindow(kCodeLocalSpace);
  if (gLocalSpaceChart == this) gLocalSpaceChart = nullptr;
}

TLocalSpaceChart* TLocalSpaceChart::Instance() { return gLocalSpaceChart; }

bool TLocalSpaceChart::AzimuthFromEast() const {
  const ChartSession* session = CurrentSession();
  return session && session->Settings.AzimuthFromEast;
}

void TLocalSpaceChart::CalcHorizontalCoords() {
  if (ChartRecord* chart = CurrentChart()) ::CalcHorizontalCoords(*chart, Space);
}

void TLocalSpaceChart::DrawLocalSpaceChart() {
  DrawOntoTarget(
      *this, picture_,
      [this](const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture) {
        ::DrawLocalSpaceChart(chart, Space, AzimuthFromEast(), canvas, picture,
                              picture.OnScreen ? &Hover : nullptr);
      });
}

void TLocalSpaceChart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TLocalSpaceChart::FormShow() {
  RecordShownToolWindow(kCodeLocalSpace);
  DrawLocalSpaceChart();
}

void TLocalSpaceChart::FormPaint() {
  if (picture_.size() != size()) DrawLocalSpaceChart();
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TLocalSpaceChart::FormActivate() { RecordActiveWindow(kCodeLocalSpace); }

void TLocalSpaceChart::FormMouseMove(int x, int y) {
  Hover.HintX = x;
  Hover.HintY = y;
  int found = -1;
  for (int p = 0; p < kLocalSpacePlanetCount && found < 0; ++p)
    if (Holds(Hover.HoverRects[p], x, y)) found = p;
  const bool wasVisible = Hover.HintVisible;
  Hover.HintVisible = found >= 0;
  if (found < 0) {
    if (wasVisible) DrawLocalSpaceChart();
    return;
  }
  const ChartRecord* chart = CurrentChart();
  if (!chart) return;
  // the origin chosen now, not at the last drawing
  SortLocalSpacePlanets(Space, AzimuthFromEast());
  Hover.HintText = LocalSpaceHint(*chart, Space, found);
  DrawLocalSpaceChart();
}

void TLocalSpaceChart::paintEvent(QPaintEvent*) { FormPaint(); }

void TLocalSpaceChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) DrawLocalSpaceChart();
}

void TLocalSpaceChart::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TLocalSpaceChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  RunGuarded([this, p] { FormMouseMove(p.x(), p.y()); }, this);
}
