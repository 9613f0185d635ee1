#include "chart/ui/picturechart.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <cmath>

#include "chart/aspects.h"
#include "engine/astromath.h"
#include "mainwindow/ui/baseform.h"
#include "platform/qt/canvas.h"
#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TPictureRadixChart* gChart = nullptr;

// Status-bar text of the chart's local date and time: dd.mm.yyyy-hh:mm:ss,
// every field but the year with two digits, a year below 1 written one less.
std::string LocalMomentText(const ChartRecord& c) {
  double T = (c.JulianDayUT - 2415020.5) / 36525.0;
  double deltaT = -24.6 + 72.318 * T + 29.952 * T * T;  // seconds
  double local = c.JulianDayUT - deltaT / 86400.0 + c.TimeZone / 24.0;
  int year, month, day;
  float hours;
  JulianDayToDate(local, year, month, day, hours);
  int h, m, s;
  DegToDms(hours, h, m, s);
  if (year < 1) year -= 1;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%d-%02d:%02d:%02d", day, month, year, h, m, s);
  return buf;
}

}  // namespace

TPictureRadixChart* TPictureRadixChart::Instance() { return gChart; }

TPictureRadixChart::TPictureRadixChart(TBaseForm* owner, QWidget* parent)
    : QWidget(parent), owner_(owner) {
  gChart = this;
  setObjectName("PictureRadixChart");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 200);
  // the caption of the window-menu item that stands for the chart
  if (QAction* n43 = owner_->Item("N43")) {
    n43->setVisible(true);
    setWindowTitle(n43->text());
  }
  SettingsMenuState state;
  SettingsReadResult read =
      BuildChartRecord(Chart, owner_->UiText.Entries, 1, owner_->ProgramFolder, state);
  if (!read.Ok) throw PlatformError(read.Message);
  Outside = state.Outside;
  Chart.ReceptionSwap = 0;
  Chart.QuerentHouse = Chart.QuesitedHouse = 0;
  Chart.ColorMode = 2;

  // What the settings say about the main window's menus.
  owner_->SyncHouseSystemMenu(state.HouseSystem);
  owner_->Item(state.EuropeanStyle ? "N61" : "N62")->setChecked(true);
  const char* orientations[] = {"N63", "N64", "N65", "N66"};
  if (state.OrientationItem >= 1 && state.OrientationItem <= 4)
    owner_->Item(orientations[state.OrientationItem - 1])->setChecked(true);
  owner_->Item(state.SolidMinorLines ? "N111" : "N112")->setChecked(true);
  owner_->Item("N118")->setText(owner_->Text(state.HatchElementsCaptionEntry));
  owner_->Item("N124")->setText(owner_->Text(state.HatchHousesCaptionEntry));
  owner_->SaveSettingsDuringWork = Outside.SaveSettings;
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
}

TPictureRadixChart::~TPictureRadixChart() {
  if (gChart == this) gChart = nullptr;
}

void TPictureRadixChart::SetWindowColor(std::int32_t color) {
  Outside.WindowColor = color;
  RedrawChart();
}

void TPictureRadixChart::CastCurrentMoment() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  ChartRecord& c = Chart;
  c.TimeZone = static_cast<float>(Outside.Place.TimeZone);
  // not folded into [0, 24): the moment stays the system's own
  c.UniversalTime =
      static_cast<float>(time.hour() + time.minute() / 60.0 + time.second() / 3600.0 - c.TimeZone);
  c.UndoUniversalTime = c.UniversalTime;
  c.JulianDay0h = JulianDay(date.day(), date.month(), date.year(), 0);
  c.JulianDayUT = JulianDay(date.day(), date.month(), date.year(), c.UniversalTime);
  c.UndoJulianDay0h = c.JulianDay0h;
  c.UndoJulianDayUT = c.JulianDayUT;
  const double phi = Outside.Place.Latitude;
  c.GeoLatitude = static_cast<float>(phi);
  c.GeocentricLatitude = static_cast<float>(phi - std::sin(2 * phi * kDegToRad) * 0.19242777777777778);
  c.GeoLongitude = static_cast<float>(Outside.Place.Longitude);
  c.RecordFlag = 1;
}

void TPictureRadixChart::Recalc() {
  LastRecalc = Chart.ReceptionSwap == 1
                   ? RecalcChartReception(Chart, owner_->EquatorialOutput != 0)
                   : RecalcChart(Chart, 1, owner_->EquatorialOutput != 0,
                                 LastRecalc.LunarDaysComputed ? &LastRecalc.LunarDays : nullptr);
  if (LastRecalc.Houses.HighLatitudeFallback) owner_->SyncHouseSystemMenu(Chart.HouseSystem);
  owner_->SetPanelText(0, Chart.ChartName);
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
  const PlanetaryHourTable& hours = LastRecalc.PlanetHours;
  if (LastRecalc.PlanetHoursComputed) {
    owner_->SetPanelText(2, owner_->UiText.Entry(349) + ": " + Chart.RulerNames[hours.HourRuler]);
    owner_->SetPanelText(4, owner_->UiText.Entry(351) + ": " + Chart.RulerNames[hours.DayRuler]);
  }
  if (LastRecalc.LunarDaysComputed)
    owner_->SetPanelText(3, owner_->UiText.Entry(350) + ": " + std::to_string(Chart.LunarDay));
  if (LastRecalc.AspectListFilled) {
    QListWidget* list = owner_->ListBox1();
    list->clear();
    for (const std::string& line : LastRecalc.AspectList) {
      QString text;
      for (unsigned char ch : line) text += ZarnText(ch);
      list->addItem(text);
    }
  }
}

WheelView TPictureRadixChart::CurrentView() const {
  WheelView view;
  view.FixedStars = owner_->Item("N71")->isChecked();
  view.LunarMansions = owner_->Item("N73")->isChecked();
  view.ArabicParts = owner_->Item("N74")->isChecked();
  view.Midpoints = owner_->Item("N75")->isChecked();
  view.ElementFillRemoved = owner_->Item("N119")->text() == owner_->Text(53);
  view.HouseFillRemoved = owner_->Item("N125")->text() == owner_->Text(61);
  return view;
}

void TPictureRadixChart::RedrawChart() {
  if (width() <= 0 || height() <= 0) return;
  picture_ = QImage(size(), QImage::Format_RGB32);
  picture_.fill(ToQColor(WindowColor()));
  WheelTarget target;
  target.ClientWidth = width();
  target.ClientHeight = height();
  target.WindowColor = WindowColor();
  // a drawing for the window: every target flag set
  for (int i = 0; i < 3; ++i) Chart.TargetFlags[i] = 1;
  TCanvas canvas(&picture_);
  SwapMenuState swap = DrawChart(Chart, Work, canvas, target, CurrentView());
  canvas.EndPaint();
  if (swap == SwapMenuState::kEnable) owner_->SetCommandEnabled("N51", true);
  if (swap == SwapMenuState::kDisable) owner_->SetCommandEnabled("N51", false);
  update();
}

void TPictureRadixChart::FormShow() {
  CastCurrentMoment();
  Recalc();
  owner_->SetPanelText(0, Chart.ChartName);
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
  RedrawChart();
  owner_->SetPanelText(5, LocalMomentText(Chart));
}

void TPictureRadixChart::FormActivate() {
  owner_->ExportWindowCode = 1;
  owner_->SetPanelText(5, LocalMomentText(Chart));
}

void TPictureRadixChart::FormPaint() {
  if (picture_.size() != size()) RedrawChart();
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TPictureRadixChart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  RunGuarded([this] { FormShow(); }, this);
}

void TPictureRadixChart::paintEvent(QPaintEvent*) { FormPaint(); }

void TPictureRadixChart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  RedrawChart();
}

void TPictureRadixChart::closeEvent(QCloseEvent* event) {
  // The chart window lives as long as the program: closing it minimises it.
  event->ignore();
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->showMinimized();
  else
    showMinimized();
}

void TPictureRadixChart::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
