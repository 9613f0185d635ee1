#include "judgement/ui/radical.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"

namespace {

TRadical* gRadical = nullptr;

constexpr int kEntryCaption = 467;  // caption of N49

constexpr int kDetailsHeight = 560;  // pixels, the window's height with the detailed texts

QTextEdit* NewPane(QWidget* parent, const char* name) {
  auto* pane = new QTextEdit(parent);
  pane->setObjectName(name);
  pane->setReadOnly(true);
  return pane;
}

}  // namespace

TRadical::TRadical(QWidget* parent) : QWidget(parent) {
  gRadical = this;
  setObjectName("Radical");
  setWindowTitle(JudgementText(kEntryCaption));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setChildrenCollapsible(false);
  RichEdit1 = NewPane(Splitter1, "RichEdit1");
  RichEdit2 = NewPane(Splitter1, "RichEdit2");
  RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Splitter1->addWidget(RichEdit1);
  Splitter1->addWidget(RichEdit2);
  layout->addWidget(Splitter1, 1);
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  auto* panel = new QHBoxLayout(Panel1);
  BitBtn1 = JudgementButton(Panel1, "BitBtn1", kEntryMoreButton);
  BitBtn2 = JudgementButton(Panel1, "BitBtn2", kEntryCloseButton);
  panel->addWidget(BitBtn1);
  panel->addStretch();
  panel->addWidget(BitBtn2);
  layout->addWidget(Panel1);
  resize(480, 300);
  HideDetails();

  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
}

TRadical::~TRadical() {
  if (gRadical == this) gRadical = nullptr;
}

TRadical* TRadical::Instance() { return gRadical; }

void TRadical::HideDetails() { RichEdit2->hide(); }

void TRadical::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RecordShownToolWindow(kCodeRadicality);
  RunGuarded([this] { FormShow(); }, this);
}

void TRadical::FormShow() {
  HideDetails();
  AnalyseRadicality();
}

void TRadical::AnalyseRadicality() {
  const ChartSession* session = CurrentSession();
  if (!session || !CurrentChart()) return;
  Result = SessionRadicality(*session, ChartSearch());
  SetPaneLines(*RichEdit1, RadicalityVerdict(Result, JudgementUiText()));
}

void TRadical::BitBtn1Click() {
  // filled before it is shown, so the pane opens at its first line
  SetPaneLines(*RichEdit2,
               RadicalityDetails(Result, JudgementUiText(), MainWindow()->ProgramFolder));
  RichEdit2->show();
  // room for the texts under the verdict
  if (height() < kDetailsHeight) resize(width(), kDetailsHeight);
  Splitter1->setSizes({height() / 4, height()});
}

void TRadical::BitBtn2Click() { close(); }

void TRadical::FormActivate() { RecordActiveWindow(kCodeRadicality); }

void TRadical::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
