#include "chart/ui/picturechart.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "chart/aspects.h"
#include "engine/astromath.h"
#include "engine/timing.h"
#include "judgement/ui/typeaspect.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TPictureRadixChart* gChart = nullptr;

// Interface-string entries of the popup menu.
constexpr int kEntryDynamics = 298;    // "Динамика планеты"
constexpr int kEntryAllAspects = 438;  // "Все аспекты"
constexpr int kEntryFirstAspectsTo = 439;  // "Аспекты только к Солнцу", one per body 0..13

// Chart objects of the wheel's hover rectangles.
constexpr int kFirstCuspObject = 18;  // objects 18..29 are the house cusps
constexpr int kLastPressObject = 29;
constexpr int kLastDropBody = 15;  // bodies 0..15 can take part in a search
constexpr int kPopupBodies = 14;   // bodies 0..13 have the popup's items

// The outer circle's band where the pointer reads a longitude, fractions of R.
constexpr double kRingInner = 0.98;
constexpr double kRingOuter = 1.02;

// Said when a drop's search ends without reaching the aspect.
// Language entry of the message that a searched moment was not found.
constexpr int kEntryNotFound = 437;

bool Holds(const TRect& r, int x, int y) {
  return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}
bool Holds(const MarkerHit& m, int x, int y) {
  return x >= m.Left && x <= m.Right && y >= m.Top && y <= m.Bottom;
}

// Two digits, a leading zero below 10.
std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// Degrees within the sign, minutes and seconds of a longitude: dd°mm'ss".
std::string PositionInSign(double longitude) {
  Normalize360(longitude);
  int d, m, s;
  DegToDmsD(longitude - 30.0 * std::floor(longitude / 30.0), d, m, s);
  if (d >= 30) d -= 30;  // a hair below the next sign rounds up to its boundary
  return TwoDigits(d) + "\xB0" + TwoDigits(m) + "'" + TwoDigits(s) + "\"";
}

// Whether aspect kind k can ever form between two bodies: Mercury and Venus
// never stand far from the Sun or from each other, so only the angles their
// elongations reach are searched.
bool AspectPossible(int a, int b, int k) {
  auto pair = [&](int p, int q) { return (a == p && b == q) || (a == q && b == p); };
  auto oneOf = [k](std::initializer_list<int> kinds) {
    for (int x : kinds)
      if (x == k) return true;
    return false;
  };
  if (pair(0, 2)) return oneOf({0, 9, 14, 20});
  if (pair(0, 3)) return oneOf({0, 5, 7, 9, 10, 14, 15, 20, 21});
  if (pair(2, 3)) return oneOf({0, 1, 5, 7, 9, 10, 11, 14, 15, 16, 20, 21, 22});
  return true;
}

}  // namespace

TPictureRadixChart* TPictureRadixChart::Instance() { return gChart; }

TPictureRadixChart::TPictureRadixChart(MainWindowPort* owner, QWidget* parent)
    : QWidget(parent),
      Chart(RequiredSession().Chart),
      Outside(RequiredSession().Outside),
      LastRecalc(RequiredSession().LastRecalc),
      owner_(owner) {
  gChart = this;
  setObjectName("PictureRadixChart");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 200);
  setMouseTracking(true);
  setAcceptDrops(true);
  Chart.DragObject = -1;
  Chart.DropObject = kNone;
  BuildPopupMenu();
  // the caption of the window-menu item that stands for the chart
  if (QAction* n43 = owner_->Item("N43")) {
    n43->setVisible(true);
    setWindowTitle(n43->text());
  }
  SettingsMenuState state;
  SettingsReadResult read =
      BuildChartRecord(Chart, owner_->UiText.Entries, 1, owner_->ProgramFolder, state);
  if (!read.Ok) throw PlatformError(Utf8ToCp1251(read.Message));  // names a UTF-8 path
  Chart.ReceptionSwap = 0;
  Chart.QuerentHouse = Chart.QuesitedHouse = 0;
  Chart.ColorMode = 2;
  RequiredSession().ChartReady = true;
  ApplySettingsState(state);
}

SettingsReadResult TPictureRadixChart::ReloadSettings() {
  SettingsMenuState state;
  SettingsReadResult read = ReadChartSettings(owner_->ProgramFolder, Chart, state);
  if (read.Ok) ApplySettingsState(state);
  return read;
}

void TPictureRadixChart::ApplySettingsState(const SettingsMenuState& state) {
  Outside = state.Outside;
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
  RegisterExportWindow(kExportCodeChart, ExportWindow{this, {}, {}});
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
  owner_->ShowChartSettingsInParameters(state.HouseRulerMethod, Outside.SaveSettings != 0);
}

TPictureRadixChart::~TPictureRadixChart() {
  if (gChart == this) gChart = nullptr;
  if (ChartSession* session = CurrentSession()) session->ChartReady = false;
  UnregisterExportWindow(kExportCodeChart);
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
  c.GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(phi));
  c.GeoLongitude = static_cast<float>(Outside.Place.Longitude);
  c.RecordFlag = 1;
}

void TPictureRadixChart::Recalc() {
  // A recomputed chart has nothing under the pointer yet: the hint of the
  // last one (a body and its old position) and its hover places go, and the
  // next drawing lays the hover places out afresh.
  Work.HintVisible = 0;
  HintText.clear();
  RingHover = 0;
  for (TRect& r : Work.HoverRects) r = kNoHoverRect;
  Work.StarMarks.clear();
  Work.PartMarks.clear();
  Work.MidpointMarks.clear();
  Work.StarMarkCount = Work.PartMarkCount = Work.MidpointMarkCount = 0;
  // While the planets of the receptions are shown exchanged every
  // recomputation keeps them exchanged, so the chart never disagrees with
  // the swap flag and the menu item that undoes it.
  const ReceptionParams receptions = owner_->ReceptionKinds();
  LastRecalc =
      Chart.ReceptionSwap == 1
          ? RecalcChartReception(Chart, owner_->EquatorialOutput != 0, receptions)
          : RecalcChart(Chart, 1, owner_->EquatorialOutput != 0,
                        LastRecalc.LunarDaysComputed ? &LastRecalc.LunarDays : nullptr, receptions);
  if (LastRecalc.Houses.HighLatitudeFallback) owner_->SyncHouseSystemMenu(Chart.HouseSystem);
  // the swap of the receptions' planets is offered while there is one
  if (LastRecalc.ReceptionSwapMenu == SwapMenuState::kEnable)
    owner_->SetCommandEnabled("N51", true);
  if (LastRecalc.ReceptionSwapMenu == SwapMenuState::kDisable)
    owner_->SetCommandEnabled("N51", false);
  owner_->SetPanelText(0, Chart.ChartName);
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
  // The planetary hour and the lunar day of a moment where they are not
  // defined (above latitude 65, polar day or night) show a dash, never the
  // values of an earlier chart.
  const std::string undefined = Utf8ToCp1251("—");
  const PlanetaryHourTable& hours = LastRecalc.PlanetHours;
  const bool hoursKnown = LastRecalc.PlanetHoursComputed && hours.HourRuler >= 1 &&
                          hours.HourRuler < static_cast<int>(std::size(Chart.RulerNames)) &&
                          hours.DayRuler >= 1 &&
                          hours.DayRuler < static_cast<int>(std::size(Chart.RulerNames));
  owner_->SetPanelText(2, owner_->UiText.Entry(349) + ": " +
                              (hoursKnown ? Chart.RulerNames[hours.HourRuler] : undefined));
  owner_->SetPanelText(4, owner_->UiText.Entry(351) + ": " +
                              (hoursKnown ? Chart.RulerNames[hours.DayRuler] : undefined));
  owner_->SetPanelText(
      3, owner_->UiText.Entry(350) + ": " +
             (LastRecalc.LunarDaysComputed ? std::to_string(Chart.LunarDay) : undefined));
  // the tables and the dignities observe the session and follow the chart,
  // marking its hour and day only where known
  if (TChartSessionSignals* session = SessionSignals()) emit session->chartChanged();
  if (LastRecalc.AspectListFilled) ShowAspectList(LastRecalc.AspectList);
}

void TPictureRadixChart::ShowAspectList(const std::vector<std::string>& lines) {
  owner_->ShowAspectList(lines);
}

WheelView TPictureRadixChart::CurrentView() const {
  WheelView view;
  const ChartMenuState& menu = owner_->Menu;
  view.FixedStars = menu.Variant == ChartVariant::Standard;
  view.LunarMansions = menu.Variant == ChartVariant::LunarMansions;
  view.ArabicParts = menu.Variant == ChartVariant::ArabicParts;
  view.Midpoints = menu.Variant == ChartVariant::Midpoints;
  view.ElementFillRemoved = menu.ElementFillRemoved;
  view.HouseFillRemoved = menu.HouseFillRemoved;
  owner_->ReadWheelParameters(view);
  return view;
}

void TPictureRadixChart::RedrawChart() {
  if (width() <= 0 || height() <= 0) return;
  DrawOnto(*this, DrawTarget{nullptr, TRect{0, 0, width(), height()}, kColorModeFull,
                             DrawPurpose::Window});
}

DrawTarget TPictureRadixChart::Target() const {
  return TargetOfFields(targetCanvas_, Chart.TargetRect, Chart.ColorMode, Chart.TargetFlags);
}

void TPictureRadixChart::SetTarget(const DrawTarget& target) {
  targetCanvas_ = StoreTargetFields(target, Chart.TargetRect, Chart.ColorMode, Chart.TargetFlags);
}

void TPictureRadixChart::DrawPicture() {
  WheelTarget target;
  target.ClientWidth = width();
  target.ClientHeight = height();
  target.WindowColor = WindowColor();
  target.HintText = HintText;
  if (targetCanvas_ != nullptr) {
    DrawChart(Chart, Work, *targetCanvas_, target, CurrentView());
    return;
  }
  picture_ = QImage(size(), QImage::Format_RGB32);
  picture_.fill(ToQColor(WindowColor()));
  TQtCanvas canvas(&picture_);
  DrawChart(Chart, Work, canvas, target, CurrentView());
  canvas.EndPaint();
  update();
  // the open companion pictures observe the session and follow the chart
  if (TChartSessionSignals* session = SessionSignals()) emit session->chartDrawn();
}

void TPictureRadixChart::FormShow() {
  CastCurrentMoment();
  Recalc();
  owner_->SetPanelText(0, Chart.ChartName);
  owner_->SetPanelText(1, Chart.HouseSystemNames[Chart.HouseSystem]);
  RedrawChart();
  owner_->SetPanelText(5, LocalMomentText(Chart.JulianDayUT, Chart.TimeZone));
}

void TPictureRadixChart::FormActivate() {
  activatedOnce_ = true;
  if (QAction* n43 = owner_->Item("N43")) n43->setChecked(true);
  owner_->ExportWindowCode = 1;
  owner_->SetPanelText(5, LocalMomentText(Chart.JulianDayUT, Chart.TimeZone));
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

bool TPictureRadixChart::event(QEvent* event) {
  // Inside the main window the chart hears of the window's activation only
  // as this event (the activation change goes to the main window alone).
  const bool activated = event->type() == QEvent::WindowActivate && !isWindow();
  const bool handled = QWidget::event(event);
  if (activated) RunGuarded([this] { FormActivate(); }, this);
  return handled;
}

// ---- Mouse, popup menu and drops ---------------------------------------

void TPictureRadixChart::BuildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  N7 = PopupMenu1->addAction(owner_->Text(kEntryFirstAspectsTo));
  N7->setObjectName("N7");
  N1 = PopupMenu1->addAction(owner_->Text(kEntryDynamics));
  N1->setObjectName("N1");
  N1->setVisible(false);
  N2 = PopupMenu1->addAction(QString::fromUtf8("Описание планеты"));
  N2->setObjectName("N2");
  N2->setVisible(false);
  connect(N7, &QAction::triggered, this, Guarded([this] { N7Click(); }, this));
  connect(N1, &QAction::triggered, this, Guarded([this] { N1Click(); }, this));
  connect(N2, &QAction::triggered, this, Guarded([this] { N2Click(); }, this));
}

void TPictureRadixChart::EndDrag() {
  Dragging = 0;
  Chart.DragObject = -1;
}

void TPictureRadixChart::FormMouseDown(Qt::MouseButton button, int x, int y) {
  const TRect* rects = Work.HoverRects;
  if (button == Qt::LeftButton) {
    EndDrag();
    for (int i = 0; i <= kLastPressObject; ++i) {
      if (i == 16 || i == 17) continue;  // the two computed points are not dragged
      if (Holds(rects[kHoverBodyFirst + i], x, y)) {
        Chart.DragObject = i;
        Dragging = 1;
        break;
      }
    }
    return;
  }

  // Another button: the popup menu of the glyph under the pointer.
  N1->setVisible(false);
  N7->setVisible(false);
  int hit = -1;
  for (int i = 0; i <= kLastPressObject; ++i) {
    if (i >= kFirstCuspObject && Chart.ObjectShown[kFirstCuspObject] != 1) break;
    if (Holds(rects[kHoverBodyFirst + i], x, y)) {
      hit = i;
      break;
    }
  }
  if (hit < 0) return;  // on no glyph both items stay hidden
  if (hit < kPopupBodies) {
    DynamicsBody = hit;
    N1->setVisible(true);
    N1->setText(owner_->Text(kEntryDynamics) + " " +
                QString::fromStdString(Cp1251ToUtf8(Chart.ObjectNames[hit + 1])));
    if (Chart.ObjectAspected[hit] == 1) {
      // The choice is only offered here; the aspect list changes when the
      // item is chosen.
      if (Chart.AspectListFilter == 1 && Chart.AspectListObject == hit) {
        N7->setText(owner_->Text(kEntryAllAspects));
        popupAspectObject_ = kNone;
      } else {
        N7->setText(owner_->Text(kEntryFirstAspectsTo + hit));
        popupAspectObject_ = hit;
      }
      N7->setVisible(true);
    }
  }
  bool anyShown = false;
  for (QAction* a : PopupMenu1->actions()) anyShown = anyShown || a->isVisible();
  if (anyShown) PopupMenu1->popup(mapToGlobal(QPoint(x, y)));
}

void TPictureRadixChart::N7Click() {
  if (Chart.AspectListFilter == 1 && popupAspectObject_ == kNone) {
    Chart.AspectListFilter = 0;
    Chart.AspectListObject = kNone;
  } else {
    Chart.AspectListFilter = 1;
    Chart.AspectListObject = popupAspectObject_;
  }
  if (Chart.AspectListShown == 1) ShowAspectList(FillAspectList(Chart));
  RedrawChart();
}

void TPictureRadixChart::N1Click() {
  if (DynamicsBody >= 0 && DynamicsBody < kPopupBodies) owner_->ShowSignDynamics(DynamicsBody);
}

void TPictureRadixChart::N2Click() {}

double TPictureRadixChart::RingLongitude(int x, int y) const {
  const double dx = Work.WheelCenterX - x;
  const double dy = y - Work.WheelCenterY;
  // angle counter-clockwise from the wheel's left point, degrees
  double theta = dx == 0 ? 90.0 : std::fabs(std::atan(dy / dx)) * kRadToDeg;
  if (dy >= 0 && dx < 0)
    theta = 180.0 - theta;
  else if (dy < 0 && dx <= 0)
    theta = theta + 180.0;
  else if (dy < 0 && dx > 0)
    theta = 360.0 - theta;

  const float* cusps = Chart.HouseCusps();
  double lon = 0;
  if (Chart.ChartStyle != 1) {
    // American wheel (every style but 1, as the drawing decides): twelve equal sectors, each
    // house's extent spread proportionally over its sector
    auto relative = [cusps](int k) {
      if (k >= 12) return 360.0;
      double r = static_cast<double>(cusps[k]) - cusps[0];
      Normalize360(r);
      return r;
    };
    int h = static_cast<int>(std::floor(theta / 30.0));
    if (h > 11) h = 11;
    const double f = theta - 30.0 * h;
    lon = cusps[0] + relative(h) + (relative(h + 1) - relative(h)) * f / 30.0;
  } else {
    switch (Chart.WheelOrientation) {
      case 2:
        lon = 180.0 - theta;
        break;
      case 3:
        lon = cusps[0] + theta;
        break;
      case 4:
        lon = cusps[0] + 180.0 - theta;
        break;
      default:
        lon = theta;
        break;
    }
  }
  Normalize360(lon);
  return lon;
}

void TPictureRadixChart::FormMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
  Work.HintX = x;
  Work.HintY = y;
  const double R = Work.WheelRadius;
  const double d = std::hypot(static_cast<double>(x - Work.WheelCenterX),
                              static_cast<double>(y - Work.WheelCenterY));
  const Qt::CursorShape dragCursor = Qt::DragMoveCursor;

  if (d < kRingInner * R || d > kRingOuter * R || R <= 0) {
    RingHover = 0;
    setCursor(Qt::ArrowCursor);
    // bodies
    for (int i = 0; i < kBodyCount; ++i) {
      if (Chart.ObjectShown[i] == 0 || !Holds(Work.HoverRects[kHoverBodyFirst + i], x, y)) continue;
      HintText = Chart.ObjectNames[i + 1] + ":" + PositionInSign(Chart.EclipticLongitude[i]);
      Work.HintVisible = 1;
      Work.HintSubject = Work.HoverRects[kHoverBodyFirst + i];
      if (Dragging == 1 && i != Chart.DragObject && i <= kLastDropBody) setCursor(dragCursor);
      RedrawChart();
      return;
    }
    // signs
    for (int s = 0; s < 12; ++s) {
      if (!Holds(Work.HoverRects[kHoverSignFirst + s], x, y)) continue;
      setCursor(Dragging == 1 ? dragCursor : Qt::ArrowCursor);
      return;
    }
    // marks of the chart variants
    auto markHint = [&](ChartVariant variant, const std::vector<MarkerHit>& marks, int count,
                        auto&& text) {
      if (owner_->Menu.Variant != variant || count == 0) return false;
      for (const MarkerHit& m : marks) {
        if (!Holds(m, x, y)) continue;
        HintText = text(m);
        Work.HintVisible = 1;
        Work.HintSubject = TRect{m.Left, m.Top, m.Right, m.Bottom};
        RedrawChart();
        return true;
      }
      return false;
    };
    auto name = [this](int index, const std::string* names, int size) {
      return index >= 0 && index < size ? names[index] : std::string();
    };
    if (markHint(ChartVariant::Standard, Work.StarMarks, Work.StarMarkCount,
                 [&](const MarkerHit& m) {
                   return name(m.First, Chart.FixedStarNames, kFixedStarCount + 1);
                 }))
      return;
    if (markHint(
            ChartVariant::ArabicParts, Work.PartMarks, Work.PartMarkCount, [&](const MarkerHit& m) {
              return m.First >= 0 && m.First < Chart.PartCount ? Chart.ArabicParts[m.First].Name
                                                               : std::string();
            }))
      return;
    if (markHint(ChartVariant::Midpoints, Work.MidpointMarks, Work.MidpointMarkCount,
                 [&](const MarkerHit& m) {
                   return name(m.First + 1, Chart.ObjectNames, 49) + ":" +
                          name(m.Second + 1, Chart.ObjectNames, 49);
                 }))
      return;
    if (Work.HintVisible == 1) {
      Work.HintVisible = 0;
      RedrawChart();
    }
    return;
  }

  // On the outer circle: the longitude under the pointer.
  RingHover = 1;
  const double lon = RingLongitude(x, y);
  const int sign = std::min(11, static_cast<int>(lon / 30.0));
  int deg, min, sec;
  DegToDmsD(lon - 30.0 * sign, deg, min, sec);
  if (deg >= 30) deg = 29, min = 59;  // never the next sign's boundary
  HintText = TwoDigits(deg) + "\xB0" + TwoDigits(min) + "' " + Chart.ObjectNames[37 + sign];
  Work.HintVisible = 1;
  Work.HintSubject = kNoHoverRect;
  RedrawChart();
}

void TPictureRadixChart::FormMouseUp(Qt::MouseButton button, int x, int y) {
  // Only the release of the left button that ends a drag of a glyph can
  // start a search; any other release just ends whatever was going on.
  if (button != Qt::LeftButton || Dragging != 1 || Chart.DragObject < 0) {
    EndDrag();
    return;
  }
  const int drag = Chart.DragObject;
  int drop = kNone;
  for (int b = 0; b <= kLastDropBody; ++b) {
    if (b != drag && Holds(Work.HoverRects[kHoverBodyFirst + b], x, y)) {
      drop = b;
      break;
    }
  }
  if (drop == kNone && drag < 17) {
    for (int s = 0; s < 12; ++s) {
      if (Holds(Work.HoverRects[kHoverSignFirst + s], x, y)) {
        drop = 18 + s;
        break;
      }
    }
  }
  Chart.DropObject = drop;
  // the drag is over whatever follows
  EndDrag();
  if (drop == kNone || drag > kLastDropBody) return;
  SearchDropMoment(drag, drop);
}

void TPictureRadixChart::SearchDropMoment(int drag, int drop) {
  TTypeAspect* dialog = TTypeAspect::Instance();
  if (!dialog) return;
  const bool onSign = drop >= 18;
  if (onSign) {
    // a sign: only the conjunction with its first degree
    dialog->ComboBox1->setCurrentIndex(0);
    dialog->ComboBox1->setEnabled(false);
  }
  const ModalResult answer = dialog->Ask();
  dialog->ComboBox1->setEnabled(true);
  // cancelled, or closed by its frame: the chart stays where it is
  if (answer != mrOk) return;

  AspectSearchFrame frame;
  frame.Geocentric = Chart.Geocentric;
  frame.EquatorialOutput = owner_->EquatorialOutput != 0;
  frame.ReceptionSwap = Chart.ReceptionSwap;
  std::copy(std::begin(Chart.ReceptionShift), std::end(Chart.ReceptionShift), frame.ReceptionShift);
  const int direction = dialog->Direction();
  const double start = Chart.JulianDayUT;
  double found = start;
  bool ok = false;
  if (onSign) {
    const float signStart = 30.0f * (drop - 18);
    BusyCursor busy;
    ok = FindAspectTime(start, start, start, drag, drag, 0, signStart, 0, 1, direction, 1, 0.0f,
                        found, frame);
  } else {
    const int kind = dialog->AspectKind();
    if (!AspectPossible(drag, drop, kind)) return;
    double separation = Chart.EclipticLongitude[drag] - Chart.EclipticLongitude[drop];
    Normalize360(separation);
    if (separation >= 180.0) separation = 360.0 - separation;
    const int side = Chart.AspectAngle[kind] < separation ? -1 : 1;
    const int angleSign = drop <= drag ? 1 : (direction == 1 ? side : -side);
    BusyCursor busy;
    ok = FindAspectTime(start, start, start, drop, drag, kind, 0.0f, 1, angleSign, direction, 0,
                        0.0f, found, frame);
  }
  if (!ok) {
    ShowMessage(owner_->UiText.Entry(kEntryNotFound), this);
    return;
  }
  MoveChartTo(found);
}

void TPictureRadixChart::MoveChartTo(double julianDay) {
  ChartRecord& c = Chart;
  c.UndoJulianDayUT = c.JulianDayUT;
  c.UndoJulianDay0h = c.JulianDay0h;
  c.UndoUniversalTime = c.UniversalTime;
  // The chart's days carry Delta T; the civil date and hours come from the
  // universal moment, and the date's 0h goes back onto the chart's scale as
  // the chart's own moments do.
  int year, month, day;
  float hours;
  JulianDayToDate(UniversalJulianDay(julianDay), year, month, day, hours);
  c.JulianDayUT = julianDay;
  c.UniversalTime = hours;
  c.JulianDay0h = JulianDay(day, month, year, 0);
  owner_->SetCommandEnabled("N21", true);
  owner_->ApplyChartTime();
}

bool TPictureRadixChart::FormDragOver(const QObject* source) const {
  return owner_->IsDatabaseTree(source);
}

void TPictureRadixChart::FormDragDrop(const QObject* source) {
  if (!FormDragOver(source)) return;
  LoadChartFromDatabaseTree();
}

void TPictureRadixChart::LoadChartFromDatabaseTree() { owner_->LoadChartFromDatabase(); }

// The pointer has left the window: no hint stays behind it.
void TPictureRadixChart::FormMouseLeave() {
  RingHover = 0;
  if (Work.HintVisible == 0) return;
  Work.HintVisible = 0;
  RedrawChart();
}

void TPictureRadixChart::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  RunGuarded([this] { FormMouseLeave(); }, this);
}

void TPictureRadixChart::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  RunGuarded([&] { FormMouseDown(event->button(), p.x(), p.y()); }, this);
}

void TPictureRadixChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  RunGuarded([&] { FormMouseMove(p.x(), p.y()); }, this);
}

void TPictureRadixChart::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  RunGuarded([&] { FormMouseUp(event->button(), p.x(), p.y()); }, this);
}

// A node dragged from the tree is copied, never moved: whatever keys are
// held, the tree keeps its node.
void TPictureRadixChart::dragEnterEvent(QDragEnterEvent* event) {
  if (!FormDragOver(event->source())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TPictureRadixChart::dragMoveEvent(QDragMoveEvent* event) {
  if (!FormDragOver(event->source())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TPictureRadixChart::dropEvent(QDropEvent* event) {
  if (!FormDragOver(event->source())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  RunGuarded([&] { FormDragDrop(event->source()); }, this);
}
