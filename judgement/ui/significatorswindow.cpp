#include "judgement/ui/significatorswindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "chart/rulers.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/analiszav.h"
#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TSignificators* gSignificators = nullptr;
TAddSign* gAddSign = nullptr;
TSignificators::ShowHook gShowHook;

constexpr int kEntryCaption = 478;
constexpr int kEntryQuerentTab = 476;
constexpr int kEntryQuesitedTab = 477;
constexpr int kEntryOk = 259;
constexpr int kEntryAdd = 308;
constexpr int kEntryRemove = 310;
constexpr int kEntryAddCaption = 479;
constexpr int kAddSignWidth = 220;  // pixels, the list's own need

QString PointName(const ChartRecord* chart, int point) {
  if (!chart || point < 0 || point >= kBodyCount) return QString::number(point);
  return QString::fromStdString(Cp1251ToUtf8(chart->ObjectNames[point + 1]));
}

void SetCompletionCommand(bool enabled) {
  if (MainWindowPort* form = MainWindow()) form->SetCommandEnabled("N53", enabled);
}

}  // namespace

// ---- TSignificators ------------------------------------------------------

TSignificators::TSignificators(QWidget* parent)
    : QDialog(parent), Significators(RequiredSession().Significators) {
  gSignificators = this;
  setObjectName("Significators");
  setWindowTitle(JudgementText(kEntryCaption));
  setModal(true);
  // no border icons: the dialog closes by OK once both lists hold a point
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowStaysOnTopHint);

  auto* layout = new QVBoxLayout(this);
  PageControl1 = new QTabBar(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->addTab(JudgementText(kEntryQuerentTab));
  PageControl1->addTab(JudgementText(kEntryQuesitedTab));
  layout->addWidget(PageControl1);
  auto* body = new QHBoxLayout;
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setFixedWidth(150);
  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setReadOnly(true);
  body->addWidget(ListBox1);
  body->addWidget(RichEdit1, 1);
  layout->addLayout(body, 1);
  auto* buttons = new QHBoxLayout;
  BitBtn3 = JudgementButton(this, "BitBtn3", kEntryAdd);
  BitBtn4 = JudgementButton(this, "BitBtn4", kEntryRemove);
  BitBtn4->setEnabled(false);
  BitBtn1 = JudgementButton(this, "BitBtn1", kEntryOk);
  BitBtn1->setDefault(true);
  buttons->addWidget(BitBtn3);
  buttons->addWidget(BitBtn4);
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  layout->addLayout(buttons);
  resize(520, 400);

  connect(PageControl1, &QTabBar::currentChanged, this,
          Guarded(
              [this] {
                if (PageControl1->currentIndex() == kQuesitedSide)
                  TabSheet2Show();
                else
                  TabSheet1Show();
              },
              this));
  connect(ListBox1, &QListWidget::itemClicked, this, Guarded([this] { ListBox1Click(); }, this));
  connect(BitBtn3, &QPushButton::clicked, this, Guarded([this] { BitBtn3Click(); }, this));
  connect(BitBtn4, &QPushButton::clicked, this, Guarded([this] { BitBtn4Click(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));

  ResetSignificators();
  PageControl1->setCurrentIndex(kQuerentSide);
  // a new chart, or another house-ruler method, term system or ruler set,
  // proposes anew
  connect(SessionSignals(), &TChartSessionSignals::chartReplaced, this,
          [this] { ResetSignificators(); });
  connect(SessionSignals(), &TChartSessionSignals::settingsChanged, this, [this](int setting) {
    const auto chosen = static_cast<SessionSetting>(setting);
    if (chosen == SessionSetting::HouseRulerMethod || chosen == SessionSetting::TermSystem ||
        chosen == SessionSetting::SignRulerSet)
      ResetSignificators();
  });
}

TSignificators::~TSignificators() {
  if (gSignificators == this) gSignificators = nullptr;
}

TSignificators* TSignificators::Instance() { return gSignificators; }

TSignificators::ShowHook TSignificators::SetShowHook(ShowHook hook) {
  return std::exchange(gShowHook, std::move(hook));
}

void TSignificators::ResetSignificators() {
  SetCompletionCommand(false);
  Significators = SignificatorLists();
  FirstFill = 1;
  if (TAnalisZav* results = TAnalisZav::Instance()) results->close();
}

void TSignificators::Execute() {
  if (gShowHook) {
    FormShow();
    gShowHook(*this);
    return;
  }
  CentreOnScreen(*this);
  ExecModal(*this);
}

void TSignificators::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TSignificators::FormShow() {
  ApplyTableFont(*RichEdit1);
  ApplyTableFont(*ListBox1);
  ChartRecord* chart = CurrentChart();
  if (chart) {
    CalcHouseRulers(*chart);
    Dignities = CurrentDignities();
  }
  FillSignificators();
}

void TSignificators::FillSignificators() {
  ListBox1->clear();
  RichEdit1->clear();
  ChartRecord* chart = CurrentChart();
  if (!chart) return;
  CalcHouseRulers(*chart);
  if (FirstFill) {
    FirstFill = 0;
    ProposeSessionSignificators(RequiredSession());
  }
  ListShownSide();
}

void TSignificators::ListShownSide() {
  ListBox1->clear();
  const ChartRecord* chart = CurrentChart();
  const int* side = Significators.Side(ShownSide);
  for (int slot = 0; slot < kSignificatorSlots && side[slot] != kEmptySlot; ++slot)
    ListBox1->addItem(PointName(chart, side[slot]));
  if (ListBox1->count()) ListBox1->setCurrentRow(0);
}

void TSignificators::TabSheet1Show() {
  ShownSide = kQuerentSide;
  RichEdit1->clear();
  BitBtn4->setEnabled(false);
  ListShownSide();
}

void TSignificators::TabSheet2Show() {
  ShownSide = kQuesitedSide;
  RichEdit1->clear();
  BitBtn4->setEnabled(false);
  ListShownSide();
}

void TSignificators::BitBtn3Click() {
  TAddSign* add = TAddSign::Instance();
  if (!add) return;
  // Above this modal dialog, and answering while it runs: modal in its turn.
  CentreOnScreen(*add);
  ExecModal(*add);
}

void TSignificators::BitBtn4Click() {
  const int slot = ListBox1->currentRow();
  if (slot < 0) return;
  if (!Confirm(JudgementEntry(kEntryConfirmRemove))) return;
  BitBtn4->setEnabled(false);
  RemoveSignificator(Significators, ShownSide, slot);
  FillSignificators();
}

void TSignificators::ListBox1Click() {
  const int slot = ListBox1->currentRow();
  ChartRecord* chart = CurrentChart();
  if (slot < 0 || !chart) return;
  BitBtn4->setEnabled(true);
  const int point = Significators.Side(ShownSide)[slot];
  CalcHouseRulers(*chart);
  SetPaneLines(*RichEdit1, DescribeSignificator(*chart, Significators, ShownSide, point,
                                                SignRulerOption(), Dignities, JudgementUiText()));
}

bool TSignificators::FormCloseQuery() {
  if (Significators.Querent[0] == kEmptySlot) {
    ShowMessage(JudgementEntry(kEntryNoQuerentSignificator), this);
    return false;
  }
  if (Significators.Quesited[0] == kEmptySlot) {
    ShowMessage(JudgementEntry(kEntryNoQuesitedSignificator), this);
    return false;
  }
  SetCompletionCommand(true);
  return true;
}

void TSignificators::FormClose() {
  // shown again while open: the tests run anew on the new significators
  if (MainWindowPort* form = MainWindow()) form->PresentRadicality();
}

void TSignificators::BitBtn1Click() { done(mrOk); }

void TSignificators::done(int result) {
  // Escape, OK and a close from the window system all ask first.
  bool allowed = false;
  RunGuarded([&] { allowed = FormCloseQuery(); }, this);
  if (!allowed) return;
  QDialog::done(result);
  RunGuarded([this] { FormClose(); }, this);
}

void TSignificators::FormActivate() { RecordActiveWindow(kCodeSignificators); }

void TSignificators::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// ---- TAddSign ------------------------------------------------------------

TAddSign::TAddSign(QWidget* parent) : QDialog(parent) {
  gAddSign = this;
  setObjectName("AddSign");
  setWindowTitle(JudgementText(kEntryAddCaption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  layout->addWidget(ListBox1, 1);
  BitBtn1 = JudgementButton(this, "BitBtn1", kEntryAdd);
  layout->addWidget(BitBtn1);
  // as wide as its caption on the desktop's title bar
  resize(std::max(kAddSignWidth, TitleFitWidth(*this)), 440);

  connect(ListBox1, &QListWidget::itemClicked, this, Guarded([this] { ListBox1Click(); }, this));
  connect(ListBox1, &QListWidget::itemDoubleClicked, this,
          Guarded(
              [this] {
                ListBox1Click();
                BitBtn1Click();
              },
              this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
}

TAddSign::~TAddSign() {
  if (gAddSign == this) gAddSign = nullptr;
}

TAddSign* TAddSign::Instance() { return gAddSign; }

void TAddSign::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TAddSign::FormShow() {
  ListBox1->clear();
  const ChartRecord* chart = CurrentChart();
  for (int p = 0; p < kBodyCount; ++p) ListBox1->addItem(PointName(chart, p));
  BitBtn1->setEnabled(false);
  ChosenPoint = -1;
}

void TAddSign::ListBox1Click() {
  ChosenPoint = ListBox1->currentRow();
  BitBtn1->setEnabled(ChosenPoint >= 0);
}

void TAddSign::BitBtn1Click() {
  TSignificators* significators = TSignificators::Instance();
  const int x = ChosenPoint;
  if (!significators || x < 0) return;
  const int side = significators->ShownSide;
  SignificatorLists& lists = significators->Significators;
  switch (PlanAddSignificator(lists, side, x)) {
    case AddPlan::kAlreadyThere:
      ShowMessage(
          JudgementEntry(side == kQuerentSide ? kEntryAlreadyQuerent : kEntryAlreadyQuesited),
          this);
      return;
    case AddPlan::kMoveFromOther:
      // a cancelled question leaves the lists and this window as they were
      if (!Confirm(
              JudgementEntry(side == kQuerentSide ? kEntryMoveToQuerent : kEntryMoveToQuesited)))
        return;
      if (!AddSignificator(lists, side, x)) {
        ShowMessage(JudgementEntry(kEntryListFull), this);
        return;
      }
      break;
    case AddPlan::kAdd:
      AddSignificator(lists, side, x);
      break;
    case AddPlan::kSideFull:
    case AddPlan::kInvalidPoint:
      close();
      return;
  }
  significators->FillSignificators();
  close();
}
