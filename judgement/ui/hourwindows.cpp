#include "judgement/ui/hourwindows.h"

#include <QEvent>
#include <QPainter>
#include <QShowEvent>

#include "chart/ui/picturechart.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"

namespace {

TPlanetHour* gPlanetHour = nullptr;
TMoonDay* gMoonDay = nullptr;

// The table picture of a companion picture: the window's own colour, and
// the layout scaled to the picture off screen.
TablePicture TableOf(const CompanionPicture& picture) {
  TablePicture table;
  table.Width = picture.Width;
  table.Height = picture.Height;
  table.ColorMode = picture.ColorMode;
  table.WindowColor = clBtnFace;
  table.Scaled = !picture.OnScreen;
  return table;
}

// The window shows its picture, drawn anew when the window's size changed.
void ShowPicture(QWidget& window, const QImage& picture) {
  QPainter painter(&window);
  painter.drawImage(0, 0, picture);
}

}  // namespace

// ---- TPlanetHour ------------------------------------------------------------

TPlanetHour::TPlanetHour(QWidget* parent) : QWidget(parent) {
  gPlanetHour = this;
  setObjectName("PlanetHour");
  setWindowTitle(MenuCaption("N137"));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(kPlanetHourLayoutWidth, kPlanetHourLayoutHeight);
  RegisterExportWindow(kCodePlanetaryHours, ExportWindow{this, {}, [this] { return isVisible(); }});
}

TPlanetHour::~TPlanetHour() {
  UnregisterExportWindow(kCodePlanetaryHours);
  if (gPlanetHour == this) gPlanetHour = nullptr;
}

TPlanetHour* TPlanetHour::Instance() { return gPlanetHour; }

void TPlanetHour::CalcPlanetHours() {
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  if (!chart) return;
  const RecalcResult& last = chart->LastRecalc;
  if (last.PlanetHoursComputed) {
    Table = last.PlanetHours;
    CurrentHour = Table.PlanetaryHour;
  } else {
    CurrentHour = 0;
  }
  if (isVisible()) DrawPlanetHours();
}

std::vector<TableCell> TPlanetHour::Cells() const {
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  if (!chart) return {};
  return PlanetHourCells(Table, chart->Chart.RulerNames, CurrentHour);
}

void TPlanetHour::DrawPlanetHours() {
  const std::vector<TableCell> cells = Cells();
  DrawOntoTarget(*this, picture_,
                 [&cells](const ChartRecord&, TCanvas& canvas, const CompanionPicture& picture) {
                   DrawTable(cells, kPlanetHourLayoutWidth, kPlanetHourLayoutHeight, canvas,
                             TableOf(picture));
                 });
}

void TPlanetHour::FormShow() {
  RecordShownToolWindow(kCodePlanetaryHours);
  CalcPlanetHours();
  DrawPlanetHours();
}

void TPlanetHour::FormActivate() { RecordActiveWindow(kCodePlanetaryHours); }

void TPlanetHour::FormPaint() {
  if (picture_.size() != size()) DrawPlanetHours();
  ShowPicture(*this, picture_);
}

void TPlanetHour::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TPlanetHour::paintEvent(QPaintEvent*) { FormPaint(); }

void TPlanetHour::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TPlanetHour::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) DrawPlanetHours();
}

// ---- TMoonDay ---------------------------------------------------------------

TMoonDay::TMoonDay(QWidget* parent) : QWidget(parent) {
  gMoonDay = this;
  setObjectName("MoonDay");
  setWindowTitle(MenuCaption("N138"));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(kMoonDayLayoutWidth, kMoonDayLayoutHeight);
  RegisterExportWindow(kCodeLunarDays, ExportWindow{this, {}, [this] { return isVisible(); }});
}

TMoonDay::~TMoonDay() {
  UnregisterExportWindow(kCodeLunarDays);
  if (gMoonDay == this) gMoonDay = nullptr;
}

TMoonDay* TMoonDay::Instance() { return gMoonDay; }

void TMoonDay::CalcMoonDays() {
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  if (!chart) return;
  const RecalcResult& last = chart->LastRecalc;
  if (last.LunarDaysComputed) {
    Table = last.LunarDays;
    TimeZone = chart->Chart.TimeZone;
    CurrentDay = Table.LunarDay;
  } else {
    CurrentDay = 0;
  }
  if (isVisible()) DrawMoonDays();
}

std::vector<TableCell> TMoonDay::Cells() const { return MoonDayCells(Table, TimeZone, CurrentDay); }

void TMoonDay::DrawMoonDays() {
  const std::vector<TableCell> cells = Cells();
  DrawOntoTarget(*this, picture_,
                 [&cells](const ChartRecord&, TCanvas& canvas, const CompanionPicture& picture) {
                   DrawTable(cells, kMoonDayLayoutWidth, kMoonDayLayoutHeight, canvas,
                             TableOf(picture));
                 });
}

void TMoonDay::FormShow() {
  RecordShownToolWindow(kCodeLunarDays);
  CalcMoonDays();
  DrawMoonDays();
}

void TMoonDay::FormActivate() { RecordActiveWindow(kCodeLunarDays); }

void TMoonDay::FormPaint() {
  if (picture_.size() != size()) DrawMoonDays();
  ShowPicture(*this, picture_);
}

void TMoonDay::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TMoonDay::paintEvent(QPaintEvent*) { FormPaint(); }

void TMoonDay::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMoonDay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) DrawMoonDays();
}
