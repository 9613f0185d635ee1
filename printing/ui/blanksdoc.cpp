#include "printing/ui/blanksdoc.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/qt/printing_device.h"
#include "platform/text/cp1251.h"
#include "printing/ui/programblanks.h"

namespace {

TBlanksDoc* gBlanksDoc = nullptr;

constexpr int kEntryCaption = 278;
constexpr int kEntryNoBlanks = 432;
constexpr int kEntryNoneTicked = 433;
constexpr int kWindowWidth = 270;   // pixels
constexpr int kWindowHeight = 481;  // pixels

QString Q(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

void EnablePrinting(bool enabled) {
  if (MainWindowPort* form = MainWindow()) form->SetCommandEnabled("N18", enabled);
}

}  // namespace

TBlanksDoc::TBlanksDoc(QWidget* parent) : QWidget(parent) {
  gBlanksDoc = this;
  setObjectName("BlanksDoc");
  if (MainWindowPort* form = MainWindow()) setWindowTitle(form->Text(kEntryCaption));
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(std::max(kWindowWidth, TitleFitWidth(*this)), kWindowHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  CheckListBox1 = new QListWidget(this);
  CheckListBox1->setObjectName("CheckListBox1");
  layout->addWidget(CheckListBox1);
}

TBlanksDoc::~TBlanksDoc() {
  if (gBlanksDoc == this) gBlanksDoc = nullptr;
}

TBlanksDoc* TBlanksDoc::Instance() { return gBlanksDoc; }

void TBlanksDoc::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TBlanksDoc::closeEvent(QCloseEvent* event) {
  RunGuarded([this] { FormClose(); }, this);
  QWidget::closeEvent(event);
}

void TBlanksDoc::FormShow() {
  CheckListBox1->clear();
  if (ProgramBlanksUsable())
    for (const std::string& name : ProgramBlanks().Names()) AddBlankName(name);
  EnablePrinting(true);
}

void TBlanksDoc::FormClose() { EnablePrinting(false); }

void TBlanksDoc::AddBlankName(const std::string& cp1251) {
  auto* item = new QListWidgetItem(Q(cp1251), CheckListBox1);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Unchecked);
}

void TBlanksDoc::RemoveBlankName(int blank) {
  if (blank >= 0 && blank < CheckListBox1->count()) delete CheckListBox1->takeItem(blank);
}

std::vector<int> TBlanksDoc::TickedBlanks() const {
  std::vector<int> ticked;
  for (int i = 0; i < CheckListBox1->count(); ++i)
    if (CheckListBox1->item(i)->checkState() == Qt::Checked) ticked.push_back(i);
  return ticked;
}

void TBlanksDoc::SetTicked(int blank, bool ticked) {
  if (blank >= 0 && blank < CheckListBox1->count())
    CheckListBox1->item(blank)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void PrintTickedBlanks() {
  TBlanksDoc* choice = TBlanksDoc::Instance();
  MainWindowPort* form = MainWindow();
  if (!choice || !form) return;
  if (choice->CheckListBox1->count() == 0)
    return ShowMessage(form->UiText.Entry(kEntryNoBlanks), form->Widget());
  const std::vector<int> ticked = choice->TickedBlanks();
  if (ticked.empty()) return ShowMessage(form->UiText.Entry(kEntryNoneTicked), form->Widget());
  form->PrintBlanksAfterDialog(ticked);
}
