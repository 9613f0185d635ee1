#include "judgement/ui/affeticnew.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TAffeticnew* gAffeticnew = nullptr;

constexpr int kEntryCaption = 78;  // "Достоинства планет"
constexpr int kClientWidth = 781;  // pixels
constexpr int kClientHeight = 398;

std::string TableFont() {
  const MainWindowPort* form = MainWindow();
  const std::string* name = form ? form->TableFontName() : nullptr;
  return name && !name->empty() ? *name : std::string("Arial");
}

}  // namespace

std::string DignityFileMessage(const DignityFileResult& r) {
  const std::string path = Utf8ToCp1251(r.Path);
  const std::string line = std::to_string(r.Line);
  switch (r.Fault) {
    case DignityFileFault::kNone:
      return {};
    case DignityFileFault::kUnreadable:
      return Utf8ToCp1251(r.Detail);  // the platform's message names the path
    case DignityFileFault::kTooFewLines:
      return FillEntry(JudgementEntry(kUiEntryDignityTooShort), {path, line});
    case DignityFileFault::kNotANumber:
      return FillEntry(JudgementEntry(kUiEntryDignityNotANumber), {path, line, r.Detail});
    case DignityFileFault::kNotABody:
      return FillEntry(JudgementEntry(kUiEntryDignityNotABody), {path, line, r.Detail});
    case DignityFileFault::kTermEnds:
      return FillEntry(JudgementEntry(kUiEntryDignityTermEnds), {path, line});
  }
  return {};
}

// ---- TStringGridView ----------------------------------------------------------

TStringGridView::TStringGridView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

std::string TStringGridView::Cell(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(Cells.Rows.size())) return {};
  const std::vector<std::string>& cells = Cells.Rows[row];
  return column >= 0 && column < static_cast<int>(cells.size()) ? cells[column] : std::string();
}

void TStringGridView::paintEvent(QPaintEvent*) {
  if (Picture.size() != size() && Redraw) Redraw();
  QPainter painter(this);
  painter.drawImage(0, 0, Picture);
}

// ---- TAffeticnew ----------------------------------------------------------------

TAffeticnew::TAffeticnew(QWidget* parent) : QDialog(parent), Tables(RequiredSession().Tables) {
  gAffeticnew = this;
  setObjectName("Affeticnew");
  setWindowTitle(JudgementText(kEntryCaption));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);
  setModal(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 4);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->tabBar()->hide();
  TabSheet1 = new QWidget(PageControl1);
  TabSheet1->setObjectName("TabSheet1");
  TabSheet2 = new QWidget(PageControl1);
  TabSheet2->setObjectName("TabSheet2");
  PageControl1->addTab(TabSheet1, QString::fromUtf8("Классическая"));
  PageControl1->addTab(TabSheet2, QString::fromUtf8("По Мерцалу"));
  const auto grid = [](QWidget* page, const char* name) {
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* view = new TStringGridView(page);
    view->setObjectName(name);
    pageLayout->addWidget(view);
    return view;
  };
  StringGrid1 = grid(TabSheet1, "StringGrid1");
  StringGrid2 = grid(TabSheet2, "StringGrid2");
  StringGrid1->Redraw = [this] { DrawDignities(); };
  StringGrid2->Redraw = [this] {
    TStringGridView& view = *StringGrid2;
    view.Picture = QImage(view.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    TQtCanvas canvas(&view.Picture);
    DrawDignityGrid(view.Cells, canvas, view.Picture.width(), view.Picture.height(), kColorModeFull,
                    TableFont());
    canvas.EndPaint();
    view.update();
  };
  PageControl1->setCurrentIndex(0);
  layout->addWidget(PageControl1, 1);
  auto* buttons = new QHBoxLayout;
  BitBtn1 = JudgementButton(this, "BitBtn1", kEntryCloseButton);
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  resize(kClientWidth, kClientHeight);

  // the dignity tables, read once
  MainWindowPort* form = MainWindow();
  const DignityFileResult read =
      LoadDignityTables(form ? form->ProgramFolder : std::string("."), Tables);
  if (!read.Ok) throw PlatformError(DignityFileMessage(read));
  RequiredSession().TablesLoaded = true;
  // the scores follow every recomputation of the chart, and while the
  // window is open every choice of the term system or the sign rulers
  TChartSessionSignals* session = SessionSignals();
  connect(session, &TChartSessionSignals::chartChanged, this, [this] { CalcDignities(); });
  connect(session, &TChartSessionSignals::settingsChanged, this, [this](int setting) {
    const auto chosen = static_cast<SessionSetting>(setting);
    const bool followed =
        chosen == SessionSetting::TermSystem || chosen == SessionSetting::SignRulerSet;
    if (followed && isVisible()) CalcDignities();
  });
  // the window records its code when activated but registers no export:
  // copying the dignities window exports nothing, as for the other tables
}

TAffeticnew::~TAffeticnew() {
  if (gAffeticnew == this) gAffeticnew = nullptr;
  if (ChartSession* session = CurrentSession()) session->TablesLoaded = false;
}

TAffeticnew* TAffeticnew::Instance() { return gAffeticnew; }

void TAffeticnew::CalcDignities() {
  ChartSession* session = CurrentSession();
  if (!session || !session->ChartReady) return;
  const DignityResult& result = ComputeDignities(*session, JudgementUiText());
  Scores = result.Scores;
  StringGrid1->Cells = result.Classic;
  StringGrid2->Cells = result.Second;
  if (isVisible()) {
    DrawDignities();
    StringGrid2->Redraw();
  }
}

DignityGrid CurrentDignities() {
  TAffeticnew* window = TAffeticnew::Instance();
  if (!window) return {};
  window->CalcDignities();
  return window->StringGrid1->Cells;
}

void TAffeticnew::DrawDignities() {
  TStringGridView& view = *StringGrid1;
  DrawOntoTarget(view, view.Picture,
                 [this](const ChartRecord&, TCanvas& canvas, const CompanionPicture& picture) {
                   DrawDignityGrid(StringGrid1->Cells, canvas, picture.Width, picture.Height,
                                   picture.ColorMode, TableFont());
                 });
}

void TAffeticnew::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TAffeticnew::FormShow() { CalcDignities(); }

void TAffeticnew::FormActivate() { RecordActiveWindow(kCodeDignities); }

void TAffeticnew::BitBtn1Click() { close(); }

void TAffeticnew::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
