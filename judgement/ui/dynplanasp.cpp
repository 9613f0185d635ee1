#include "judgement/ui/dynplanasp.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <algorithm>
#include <cstdlib>

#include "chart/chartrecord.h"
#include "judgement/dynamicsdrawing.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/windowexport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TDynPlanAsp* gDynPlanAsp = nullptr;

constexpr int kEntrySignGraph = 298;    // "Динамика планеты"
constexpr int kEntryAspectGraph = 299;  // "Динамика аспекта"
constexpr int kFirstCuspObject = 18;
constexpr int kClientWidth = 651;   // pixels
constexpr int kClientHeight = 447;  // pixels

const std::string& Entry(int n) { return JudgementEntry(n); }

}  // namespace

TDynPlanAsp* TDynPlanAsp::Instance() { return gDynPlanAsp; }

TDynPlanAsp::TDynPlanAsp(QWidget* parent) : QWidget(parent) {
  gDynPlanAsp = this;
  setObjectName("DynPlanAsp");
  setWindowTitle(QString::fromUtf8("Динамика"));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  setMouseTracking(true);
  setFixedSize(kClientWidth, kClientHeight);
  RegisterExportWindow(kExportCodeDynamics, ExportWindow{this, {}, [this] { return isVisible(); }});
}

TDynPlanAsp::~TDynPlanAsp() {
  UnregisterExportWindow(kExportCodeDynamics);
  if (gDynPlanAsp == this) gDynPlanAsp = nullptr;
}

bool TDynPlanAsp::ChartActive() const {
  const MainWindowPort* form = MainWindow();
  return form && form->ChartActivatedOnce();
}

bool TDynPlanAsp::CalcAspectOrbWindow() {
  if (!ChartActive()) return false;
  const DynamicsStatus status = ::CalcAspectOrbWindow(*this, CurrentChart()->JulianDayUT);
  if (status == DynamicsStatus::kUntimedKind) ShowMessage(Entry(kUiEntryDynamicsUntimedKind), this);
  return status == DynamicsStatus::kOk;
}

bool TDynPlanAsp::CalcSignStayWindow() {
  if (!ChartActive()) return false;
  const ChartRecord& c = *CurrentChart();
  if (FirstObject < 0 || FirstObject > 15) return false;
  return ::CalcSignStayWindow(*this, c.JulianDayUT, c.ObjectLongitude[FirstObject]) ==
         DynamicsStatus::kOk;
}

void TDynPlanAsp::ComputeAndPresent(const DynamicsRecord& before, bool (TDynPlanAsp::*calc)()) {
  bool computed = false;
  {
    BusyCursor busy;
    computed = (this->*calc)();
  }
  if (!computed) {
    // a refused computation leaves the graph shown before as it was
    static_cast<DynamicsRecord&>(*this) = before;
    return;
  }
  // the mouse of the graph shown before says nothing about the new one
  ForgetMouse();
  PresentToolWindow(*this, [this] { FormShow(); });
  setWindowTitle(Caption());
}

void TDynPlanAsp::ShowAspectDynamics(int first, int kind, int second) {
  const ChartRecord* chart = CurrentChart();
  if (!chart || first < 0 || first > 15 || second < 0 || second > 15 || kind < 0 ||
      kind >= kAspectKindCount)
    return;
  const ChartRecord& c = *chart;
  const DynamicsRecord before = *this;
  FirstObject = first;
  SecondObject = second;
  SecondIsCusp = 0;
  DynAspectKind = kind;
  const int scale = c.OrbScaleIndex >= 0 && c.OrbScaleIndex < 3 ? c.OrbScaleIndex : 0;
  DynAspectOrb = c.OrbScale[scale] * c.AspectOrbFactor[kind] *
                 c.PairOrb[std::min(first, second)][std::max(first, second)];
  DynamicsMode = 0;
  ComputeAndPresent(before, &TDynPlanAsp::CalcAspectOrbWindow);
}

void TDynPlanAsp::ShowSignDynamics(int body) {
  if (body < 0 || body > 15) return;
  const DynamicsRecord before = *this;
  FirstObject = body;
  DynamicsMode = 1;
  ComputeAndPresent(before, &TDynPlanAsp::CalcSignStayWindow);
}

QString TDynPlanAsp::Caption() const {
  const ChartRecord* chart = CurrentChart();
  if (!chart) return windowTitle();
  const ChartRecord& c = *chart;
  const auto name = [&](int object) -> std::string {
    return object >= 0 && object + 1 < 49 ? c.ObjectNames[object + 1] : std::string();
  };
  std::string text =
      Entry(DynamicsMode == 0 ? kEntryAspectGraph : kEntrySignGraph) + " " + name(FirstObject);
  if (DynamicsMode == 0) {
    const int kind = std::clamp(DynAspectKind, 0, kAspectKindCount - 1);
    text += " - " + c.AspectNames[kind + 1] + " - " +
            name(SecondIsCusp ? SecondObject + kFirstCuspObject : SecondObject);
  }
  if (StartOpen) text += " " + Entry(kUiEntryDynamicsOpenStart);
  if (EndOpen) text += " " + Entry(kUiEntryDynamicsOpenEnd);
  return QString::fromStdString(Cp1251ToUtf8(text));
}

DrawTarget TDynPlanAsp::Target() const {
  return TargetOfFields(targetCanvas_, TargetRect, TargetColorMode, TargetFlags);
}

void TDynPlanAsp::SetTarget(const DrawTarget& target) {
  targetCanvas_ = StoreTargetFields(target, TargetRect, TargetColorMode, TargetFlags);
}

void TDynPlanAsp::DrawDynamics() {
  const ChartRecord* chart = CurrentChart();
  if (!chart) return;
  const ChartRecord& c = *chart;
  DynamicsPicture picture;
  picture.ColorMode = TargetColorMode;
  picture.LabelsActive = ChartActive();
  picture.TimeZone = c.TimeZone;
  const auto lonOf = [&](int body) {
    return body >= 0 && body < 36 ? c.ObjectLongitude[body] : 0.f;
  };
  picture.LonAtMomentA = lonOf(FirstObject);
  picture.LonAtMomentB = lonOf(SecondObject);
  const int sign = SignOf(picture.LonAtMomentA);
  picture.SignGlyph = c.SignGlyph[sign];
  if (const MainWindowPort* form = MainWindow())
    if (const std::string* font = form->TableFontName()) picture.TableFont = *font;
  DynamicsMouse mouse;
  if (targetCanvas_ != nullptr) {
    // an export or a page image at the rectangle's corner, or the printer
    picture.Width = std::max(std::abs(TargetRect[1] - TargetRect[0]), 1);
    picture.Height = std::max(std::abs(TargetRect[3] - TargetRect[2]), 1);
    picture.OriginX = std::min(TargetRect[0], TargetRect[1]);
    picture.OriginY = std::min(TargetRect[2], TargetRect[3]);
    picture.OnScreen = false;
    picture.Printer = TargetFlags[1] == 0;
    ::DrawDynamics(*this, samples_, picture, mouse, *targetCanvas_);
    return;
  }
  if (width() <= 0 || height() <= 0) return;
  picture.Width = width();
  picture.Height = height();
  mouse.MouseX = MouseX;
  mouse.MouseY = MouseY;
  mouse.Hover = Hover != 0;
  mouse.Dragging = Dragging != 0;
  mouse.DragStartX = DragStartX;
  mouse.DragStartY = DragStartY;
  if (picture_.size() != size()) picture_ = QImage(size(), QImage::Format_RGB32);
  TQtCanvas canvas(&picture_);
  const GraphArea area = ::DrawDynamics(*this, samples_, picture, mouse, canvas);
  canvas.EndPaint();
  GraphLeft = area.Left;
  GraphRight = area.Right;
  GraphTop = area.Top;
  GraphBottom = area.Bottom;
  const QString caption = Caption();
  if (caption != windowTitle()) setWindowTitle(caption);
  update();
}

void TDynPlanAsp::FormShow() {
  RecordShownToolWindow(kExportCodeDynamics);
  DrawDynamics();
}

void TDynPlanAsp::FormActivate() {
  RecordActiveWindow(kExportCodeDynamics);
  DrawDynamics();
}

void TDynPlanAsp::FormMouseMove(int x, int y) {
  setCursor(Dragging ? Qt::SizeHorCursor : Qt::ArrowCursor);
  MouseX = x;
  MouseY = y;
  const bool rows = y >= GraphTop && y <= GraphBottom;
  Hover = (rows && x >= GraphLeft && x <= GraphRight) || (Dragging && rows) ? 1 : 0;
  DrawDynamics();
}

void TDynPlanAsp::FormMouseDown(int x, int y) {
  if (DynamicsMode != 0) return;
  DragStartX = x;
  DragStartY = y;
  Dragging = 1;
  DrawDynamics();
}

void TDynPlanAsp::FormClick() {
  if (DynamicsMode != 0) return;
  DragEndX = MouseX;
  DragEndY = MouseY;
}

void TDynPlanAsp::FormMouseUp(int, int) {
  if (DynamicsMode != 0) return;
  Dragging = 0;
  setCursor(Qt::ArrowCursor);
  if (DragStartX != DragEndX && DragEndX >= 0 && DragEndX <= width()) {
    const ChartRecord* chart = CurrentChart();
    const GraphArea area{GraphLeft, GraphRight, GraphTop, GraphBottom};
    ZoomWindow(*this, area, DragStartX, DragEndX, ChartActive(), chart ? chart->TimeZone : 0.0f);
  }
  // the drag frame goes whether or not the window changed
  DrawDynamics();
}

void TDynPlanAsp::FormMouseLeave() {
  if (!Hover) return;
  Hover = 0;
  DrawDynamics();
}

void TDynPlanAsp::ForgetMouse() {
  Hover = 0;
  Dragging = 0;
}

void TDynPlanAsp::FormClose() { Closed = 1; }

void TDynPlanAsp::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Closed = 0;
  RunGuarded([this] { FormShow(); }, this);
}

void TDynPlanAsp::paintEvent(QPaintEvent*) {
  if (picture_.size() != size()) DrawDynamics();
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TDynPlanAsp::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    RunGuarded([this] { FormActivate(); }, this);
}

void TDynPlanAsp::closeEvent(QCloseEvent* event) {
  FormClose();
  QWidget::closeEvent(event);
}

void TDynPlanAsp::hideEvent(QHideEvent* event) {
  ForgetMouse();
  QWidget::hideEvent(event);
}

void TDynPlanAsp::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  RunGuarded([this] { FormMouseLeave(); }, this);
}

void TDynPlanAsp::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  RunGuarded([this, p] { FormMouseMove(p.x(), p.y()); }, this);
}

void TDynPlanAsp::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  RunGuarded([this, p] { FormMouseDown(p.x(), p.y()); }, this);
}

void TDynPlanAsp::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  // the click comes before the button-up, as the zoom expects
  RunGuarded(
      [this, p] {
        FormClick();
        FormMouseUp(p.x(), p.y());
      },
      this);
}
