#include "judgement/ui/hourwindows.h"

#include <QEvent>
#include <QPainter>
#include <QShowEvent>

#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"

namespace {

TPlanetHour* gPlanetHour = nullptr;
TMoonDay* gMoonDay = nullptr;

}  // namespace

// ---- TTimingTable -------------------------------------------------------------

TTimingTable::TTimingTable(QWidget* parent, const char* objectName, const char* menuItem, int code,
                           int layoutWidth, int layoutHeight)
    : QWidget(parent), code_(code), layoutWidth_(layoutWidth), layoutHeight_(layoutHeight) {
  setObjectName(objectName);
  setWindowTitle(MenuCaption(menuItem));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(layoutWidth, layoutHeight);
  RegisterExportWindow(code, ExportWindow{this, {}, [this] { return isVisible(); }});
  // the table follows every recomputation of the chart
  if (TChartSessionSignals* session = SessionSignals())
    connect(session, &TChartSessionSignals::chartChanged, this, [this] { TakeTable(); });
}

TTimingTable::~TTimingTable() { UnregisterExportWindow(code_); }

void TTimingTable::DrawTable() {
  const std::vector<TableCell> cells = Cells();
  DrawOntoTarget(*this, picture_,
                 [&](const ChartRecord&, TCanvas& canvas, const CompanionPicture& picture) {
                   ::DrawTable(cells, layoutWidth_, layoutHeight_, canvas, TableOf(picture));
                 });
}

void TTimingTable::FormShow() {
  RecordShownToolWindow(code_);
  TakeTable();
}

void TTimingTable::FormActivate() { RecordActiveWindow(code_); }

void TTimingTable::FormPaint() {
  if (picture_.size() != size()) DrawTable();
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TTimingTable::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TTimingTable::paintEvent(QPaintEvent*) { FormPaint(); }

void TTimingTable::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) DrawTable();
}

void TTimingTable::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// ---- TPlanetHour ------------------------------------------------------------

TPlanetHour::TPlanetHour(QWidget* parent)
    : TTimingTable(parent, "PlanetHour", "N137", kCodePlanetaryHours, kPlanetHourLayoutWidth,
                   kPlanetHourLayoutHeight) {
  gPlanetHour = this;
}

TPlanetHour::~TPlanetHour() {
  if (gPlanetHour == this) gPlanetHour = nullptr;
}

TPlanetHour* TPlanetHour::Instance() { return gPlanetHour; }

void TPlanetHour::TakeTable() {
  const ChartSession* session = CurrentSession();
  if (!session || !session->ChartReady) return;
  const RecalcResult& last = session->LastRecalc;
  if (last.PlanetHoursComputed) {
    Table = last.PlanetHours;
    CurrentHour = Table.PlanetaryHour;
  } else {
    CurrentHour = 0;
  }
  if (isVisible()) DrawTable();
}

std::vector<TableCell> TPlanetHour::Cells() const {
  const ChartRecord* chart = CurrentChart();
  if (!chart) return {};
  return PlanetHourCells(Table, chart->RulerNames, CurrentHour);
}

// ---- TMoonDay ---------------------------------------------------------------

TMoonDay::TMoonDay(QWidget* parent)
    : TTimingTable(parent, "MoonDay", "N138", kCodeLunarDays, kMoonDayLayoutWidth,
                   kMoonDayLayoutHeight) {
  gMoonDay = this;
}

TMoonDay::~TMoonDay() {
  if (gMoonDay == this) gMoonDay = nullptr;
}

TMoonDay* TMoonDay::Instance() { return gMoonDay; }

void TMoonDay::TakeTable() {
  const ChartSession* session = CurrentSession();
  if (!session || !session->ChartReady) return;
  const RecalcResult& last = session->LastRecalc;
  if (last.LunarDaysComputed) {
    Table = last.LunarDays;
    TimeZone = session->Chart.TimeZone;
    CurrentDay = Table.LunarDay;
  } else {
    CurrentDay = 0;
  }
  if (isVisible()) DrawTable();
}

std::vector<TableCell> TMoonDay::Cells() const { return MoonDayCells(Table, TimeZone, CurrentDay); }
