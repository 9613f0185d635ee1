#include "chart/ui/positionplanets.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "chart/companiondrawing.h"
#include "chart/ui/companionwindows.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/canvas.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TPositionPlanets* gPositionPlanets = nullptr;
TAstronom* gAstronom = nullptr;

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

}  // namespace

// ---- TPositionPlanets -------------------------------------------------------

TPositionPlanets::TPositionPlanets(QWidget* parent) : QWidget(parent) {
  gPositionPlanets = this;
  setObjectName("PositionPlanets");
  setWindowTitle(MenuCaption("N45"));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(360, 400);
  RegisterExportWindow(kCodePositions, ExportWindow{this, {}, [this] { return isVisible(); }});
  // while open the table follows every drawing of the chart
  if (TChartSessionSignals* session = SessionSignals())
    connect(session, &TChartSessionSignals::chartDrawn, this, [this] {
      if (isVisible()) DrawPositions();
    });
}

TPositionPlanets::~TPositionPlanets() {
  UnregisterExportWindow(kCodePositions);
  if (gPositionPlanets == this) gPositionPlanets = nullptr;
}

TPositionPlanets* TPositionPlanets::Instance() { return gPositionPlanets; }

void TPositionPlanets::DrawPositions() {
  DrawOntoTarget(
      *this, picture_,
      [this](const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture) {
        // a print or an export shows the table in full, whether or not the
        // window was ever opened or closed
        ::DrawPositions(chart, canvas, picture, Mode == 0 || !picture.OnScreen);
      });
}

void TPositionPlanets::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TPositionPlanets::FormShow() {
  // a window opened again shows its sign glyphs again
  Mode = 0;
  RecordShownToolWindow(kCodePositions);
  DrawPositions();
}

void TPositionPlanets::closeEvent(QCloseEvent* event) {
  FormClose();
  QWidget::closeEvent(event);
}

void TPositionPlanets::FormClose() { Mode = -1; }

void TPositionPlanets::FormActivate() { RecordActiveWindow(kCodePositions); }

void TPositionPlanets::paintEvent(QPaintEvent*) {
  if (picture_.size() != size()) DrawPositions();
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TPositionPlanets::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) DrawPositions();
}

void TPositionPlanets::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// ---- TAstronom ------------------------------------------------------------

TAstronom::TAstronom(QWidget* parent) : QDialog(parent) {
  gAstronom = this;
  setObjectName("Astronom");
  setWindowTitle(MenuCaption("N135"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  StringGrid1 = new QTableWidget(kParameterRows - 1, kParameterColumns - 1, this);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(StringGrid1);
  ApplyTableFont(*StringGrid1);
  resize(880, 340);
  // the window records its code when activated but registers no export:
  // copying the astronomical values exports nothing
}

TAstronom::~TAstronom() {
  if (gAstronom == this) gAstronom = nullptr;
}

TAstronom* TAstronom::Instance() { return gAstronom; }

void TAstronom::FillPlanetParameters() {
  const ChartRecord* chart = CurrentChart();
  MainWindowPort* form = MainWindow();
  if (!chart || !form) return;
  const PlanetParameterGrid grid = ::FillPlanetParameters(*chart, form->UiText.Entries);
  // row 0 and column 0 are the grid's fixed titles
  for (int c = 1; c < kParameterColumns; ++c)
    StringGrid1->setHorizontalHeaderItem(c - 1, new QTableWidgetItem(FromCp(grid.Cells[0][c])));
  StringGrid1->setCornerButtonEnabled(false);
  for (int r = 1; r < kParameterRows; ++r) {
    StringGrid1->setVerticalHeaderItem(r - 1, new QTableWidgetItem(FromCp(grid.Cells[r][0])));
    for (int c = 1; c < kParameterColumns; ++c)
      StringGrid1->setItem(r - 1, c - 1, new QTableWidgetItem(FromCp(grid.Cells[r][c])));
  }
  StringGrid1->resizeColumnsToContents();
}

std::string TAstronom::Cell(int row, int column) const {
  const QTableWidgetItem* item = row == 0      ? StringGrid1->horizontalHeaderItem(column - 1)
                                 : column == 0 ? StringGrid1->verticalHeaderItem(row - 1)
                                               : StringGrid1->item(row - 1, column - 1);
  return item ? Utf8ToCp1251(item->text().toStdString()) : std::string();
}

void TAstronom::FormActivate() { RecordActiveWindow(kCodeAstronomicalValues); }

void TAstronom::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
