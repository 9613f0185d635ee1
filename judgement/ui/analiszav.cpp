#include "judgement/ui/analiszav.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "judgement/questionhouses.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TAnalisZav* gAnalisZav = nullptr;

constexpr int kEntryCaption = 534;  // caption of N53

// Designed widths of the eleven grid columns, pixels.
constexpr int kGridColumnWidths[kDignityColumns] = {70, 51, 50, 54, 52, 75, 70, 70, 70, 70, 70};

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

void SetRow(QTableWidget& grid, int row, const std::vector<std::string>& cells) {
  for (int c = 0; c < kDignityColumns; ++c)
    grid.setItem(
        row, c,
        new QTableWidgetItem(c < static_cast<int>(cells.size()) ? FromCp(cells[c]) : QString()));
}

}  // namespace

std::vector<std::string>& CompletionEvents() {
  static std::vector<std::string> events;
  return events;
}

std::vector<SkippedPair>& CompletionSkippedPairs() {
  static std::vector<SkippedPair> skipped;
  return skipped;
}

void RunCompletionAnalysis() {
  const ChartRecord* chart = CurrentChart();
  if (!chart) return;
  CompletionEvents().clear();
  CompletionSkippedPairs().clear();
  CompletionRun run;
  {
    BusyCursor busy;
    run = RunCompletion(RequiredSession(), JudgementUiText(), ChartSearch());
  }
  CompletionEvents() = CompletionEventLines(run.Events);
  CompletionSkippedPairs() = run.Skipped;
  if (run.Events.empty()) {
    std::string message = JudgementEntry(kEntryNothingFound);
    for (const SkippedPair& pair : run.Skipped)
      message += "\n" + SkippedLine(*chart, pair, JudgementUiText());
    ShowMessage(message);
    return;
  }
  if (TAnalisZav* results = TAnalisZav::Instance())
    PresentToolWindow(*results, [results] { results->FormShow(); });
}

TAnalisZav::TAnalisZav(QWidget* parent) : QWidget(parent) {
  gAnalisZav = this;
  setObjectName("AnalisZav");
  setWindowTitle(JudgementText(kEntryCaption));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  layout->addWidget(ListBox1, 1);

  Panel2 = new QWidget(this);
  Panel2->setObjectName("Panel2");
  auto* details = new QVBoxLayout(Panel2);
  details->setContentsMargins(0, 0, 0, 0);
  StringGrid1 = new QTableWidget(0, kDignityColumns, Panel2);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  int gridWidth = 2;
  for (int c = 0; c < kDignityColumns; ++c) {
    StringGrid1->setColumnWidth(c, kGridColumnWidths[c]);
    gridWidth += kGridColumnWidths[c];
  }
  StringGrid1->setFixedWidth(gridWidth);
  RichEdit1 = new QTextEdit(Panel2);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setReadOnly(true);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  details->addWidget(StringGrid1);
  details->addWidget(RichEdit1, 1);
  layout->addWidget(Panel2, 2);

  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  auto* panel = new QHBoxLayout(Panel1);
  BitBtn1 = JudgementButton(Panel1, "BitBtn1", kEntryCloseButton);
  panel->addStretch();
  panel->addWidget(BitBtn1);
  layout->addWidget(Panel1);
  resize(gridWidth + 20, 520);
  Panel2->hide();

  connect(ListBox1, &QListWidget::itemClicked, this, Guarded([this] { ListBox1Click(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
}

TAnalisZav::~TAnalisZav() {
  if (gAnalisZav == this) gAnalisZav = nullptr;
}

TAnalisZav* TAnalisZav::Instance() { return gAnalisZav; }

void TAnalisZav::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RecordShownToolWindow(kCodeCompletionResults);
  RunGuarded([this] { FormShow(); }, this);
}

void TAnalisZav::FormShow() {
  ApplyTableFont(*ListBox1);
  ApplyTableFont(*RichEdit1);
  ListBox1->clear();
  Panel2->hide();
  const ChartRecord* chart = CurrentChart();
  Events = ParseCompletionEventLines(CompletionEvents());
  const float zone = chart ? chart->TimeZone : 0.0f;
  for (const CompletionEvent& event : Events)
    ListBox1->addItem(FromCp(CompletionListLine(event, zone)));
  if (chart)
    for (const SkippedPair& pair : CompletionSkippedPairs()) {
      auto* item =
          new QListWidgetItem(FromCp(SkippedLine(*chart, pair, JudgementUiText())), ListBox1);
      item->setFlags(Qt::ItemIsEnabled);  // a note, not an event to select
    }
  ListBox1->setToolTip(JudgementText(kEntryResultsHint));
}

void TAnalisZav::ListBox1Click() {
  const int e = ListBox1->currentRow();
  if (e < 0 || e >= static_cast<int>(Events.size())) return;
  ListBox1->setToolTip(QString());
  RichEdit1->clear();
  RichEdit1->hide();
  Panel2->hide();
  StringGrid1->hide();
  const CompletionEvent& event = Events[e];
  DignityGrid dignities;
  if (CurrentChart()) dignities = CurrentDignities();
  const std::vector<int> points = CompletionDetailPoints(event);
  StringGrid1->setRowCount(1 + static_cast<int>(points.size()));
  if (!dignities.Rows.empty()) SetRow(*StringGrid1, 0, dignities.Rows[0]);
  Panel2->show();
  for (std::size_t i = 0; i < points.size(); ++i)
    if (const std::vector<std::string>* row = dignities.PointRow(points[i]))
      SetRow(*StringGrid1, static_cast<int>(i) + 1, *row);
  // the designed widths are the least; a wider face widens a column to its texts
  StringGrid1->resizeColumnsToContents();
  int gridWidth = 2;
  for (int c = 0; c < kDignityColumns; ++c) {
    StringGrid1->setColumnWidth(c, std::max(kGridColumnWidths[c], StringGrid1->columnWidth(c)));
    gridWidth += StringGrid1->columnWidth(c);
  }
  StringGrid1->setFixedWidth(gridWidth);
  if (width() < gridWidth + 20) resize(gridWidth + 20, height());
  if (!points.empty()) {
    StringGrid1->setFixedHeight(StringGrid1->rowHeight(0) * StringGrid1->rowCount() + 2);
    StringGrid1->show();
  }
  const char* file = CompletionTextFile(event.Kind);
  if (!file) return;
  const TextLines text = ReadOptionsText(MainWindow()->ProgramFolder, file);
  if (!text.Ok) {
    ShowErrorMessage(text.Message, this);
    return;
  }
  std::vector<std::string> lines;
  lines.push_back(Utf8ToCp1251(ListBox1->item(e)->text().toStdString()));
  lines.insert(lines.end(), text.Lines.begin(), text.Lines.end());
  SetPaneLines(*RichEdit1, lines);
  RichEdit1->show();
}

void TAnalisZav::BitBtn1Click() { close(); }

void TAnalisZav::FormActivate() { RecordActiveWindow(kCodeCompletionResults); }

void TAnalisZav::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
