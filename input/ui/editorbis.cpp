#include "input/ui/editorbis.h"

#include <QAction>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "input/ui/maskedfields.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TEditOrbis* gEditOrbis = nullptr;

constexpr int kEntryOk = 259;
constexpr int kEntryCancel = 260;
constexpr int kEntryOrbsLabel = 300;
constexpr int kEntryFactorLabel = 301;
constexpr int kEntryReplace = 302;

constexpr const char* kOrbMask =
    "99\xB0"
    "99';1;_";  // "99°99';1;_" in code page 1251
constexpr const char* kOrbDefault =
    "06\xB0"
    "00'";
constexpr int kOrbColumnWidth = 52;  // pixels, room for "06°00'"
constexpr int kFactorColumnWidth = 48;

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }
std::string ToCp(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

const ChartRecord* Chart() { return SessionChart(); }

std::string CellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? ToCp(item->text()) : std::string();
}

void SetCell(QTableWidget* grid, int row, int column, const std::string& cp1251, bool editable) {
  auto* item = new QTableWidgetItem(FromCp(cp1251));
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  grid->setItem(row, column, item);
}

// A refusal worded by entry: what is refused (a pair of objects, an aspect
// kind, or nothing for the input fields: then its place and one blank beside
// it go) and the text that was typed.
void Refuse(QWidget* parent, const UiStringTable& table, int entry, const std::string& what,
            const std::string& typed) {
  std::string text = table.Entry(entry);
  const std::size_t at = text.find("%s");
  if (what.empty() && at != std::string::npos) {
    std::size_t from = at, length = 2;
    if (at + 2 < text.size() && text[at + 2] == ' ')
      length = 3;
    else if (at > 0 && text[at - 1] == ' ')
      from = at - 1, length = 3;
    text.erase(from, length);
    ShowMessage(FillEntry(text, {typed}), parent);
    return;
  }
  ShowMessage(FillEntry(text, {what, typed}), parent);
}

}  // namespace

TEditOrbis* TEditOrbis::Instance() { return gEditOrbis; }

TEditOrbis::~TEditOrbis() {
  if (gEditOrbis == this) gEditOrbis = nullptr;
}

TEditOrbis::TEditOrbis(MainWindowPort* owner) : QDialog(WidgetOf(owner)), owner_(owner) {
  gEditOrbis = this;
  setObjectName("EditOrbis");
  setModal(true);
  if (QAction* n141 = owner->Item("N141")) setWindowTitle(n141->text());
  auto text = [owner](int entry) { return owner->Text(entry); };

  Label1 = new QLabel(text(kEntryOrbsLabel), this);
  Label1->setObjectName("Label1");
  Label2 = new QLabel(text(kEntryFactorLabel), this);
  Label2->setObjectName("Label2");

  OrbPlanets = new QTableWidget(kObjectCount, kObjectCount, this);
  OrbPlanets->setObjectName("OrbPlanets");
  OrbPlanets->setSelectionMode(QAbstractItemView::ContiguousSelection);
  OrbPlanets->horizontalHeader()->setDefaultSectionSize(kOrbColumnWidth);
  OrbPlanets->verticalHeader()->setDefaultSectionSize(20);
  KoefAsp = new QTableWidget(kOrbEditorKindCount, 2, this);
  KoefAsp->setObjectName("KoefAsp");
  KoefAsp->horizontalHeader()->hide();
  KoefAsp->verticalHeader()->hide();
  KoefAsp->setSelectionMode(QAbstractItemView::ContiguousSelection);
  KoefAsp->verticalHeader()->setDefaultSectionSize(20);
  KoefAsp->setColumnWidth(1, kFactorColumnWidth);
  if (const ChartRecord* chart = Chart()) {
    QStringList names;
    for (int o = 0; o < kObjectCount; ++o) names << FromCp(chart->ObjectNames[o + 1]);
    OrbPlanets->setHorizontalHeaderLabels(names);
    OrbPlanets->setVerticalHeaderLabels(names);
    for (int k = 0; k < kOrbEditorKindCount; ++k)
      SetCell(KoefAsp, k, 0, chart->AspectNames[k + 1], false);
  }
  // the nine factors whole, without scroll bars
  KoefAsp->resizeColumnToContents(0);
  KoefAsp->setColumnWidth(0, KoefAsp->columnWidth(0) + 8);
  KoefAsp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  KoefAsp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int frame = 2 * KoefAsp->frameWidth();
  KoefAsp->setFixedSize(KoefAsp->columnWidth(0) + kFactorColumnWidth + frame,
                        kOrbEditorKindCount * KoefAsp->rowHeight(0) + frame);
  Input = new QLineEdit(this);
  Input->setObjectName("Input");
  SetEditMask(*Input, kOrbMask);
  SetFieldText(*Input, kOrbDefault);
  Input->setFixedWidth(72);
  MaskEdit1 = new QLineEdit(this);
  MaskEdit1->setObjectName("MaskEdit1");
  const char sep = Separator();
  SetEditMask(*MaskEdit1, std::string("9") + sep + "99;1");
  SetFieldText(*MaskEdit1, std::string("1") + sep + "00");
  MaskEdit1->setFixedWidth(72);
  ButtonInput = new QPushButton(text(kEntryReplace), this);
  ButtonInput->setObjectName("ButtonInput");
  Button1 = new QPushButton(text(kEntryReplace), this);
  Button1->setObjectName("Button1");
  BitBtn1 = new QPushButton(text(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setAutoDefault(false);
  BitBtn2 = new QPushButton(text(kEntryCancel), this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setAutoDefault(false);

  // the orb grid on the left, the factors and both inputs on the right
  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0);
  layout->addWidget(OrbPlanets, 1, 0, 8, 1);
  layout->addWidget(Input, 1, 1);
  layout->addWidget(ButtonInput, 1, 2);
  layout->addWidget(Label2, 2, 1, 1, 2);
  layout->addWidget(KoefAsp, 3, 1, 1, 2);
  layout->addWidget(MaskEdit1, 4, 1);
  layout->addWidget(Button1, 4, 2);
  layout->setRowStretch(5, 1);
  layout->addWidget(BitBtn1, 7, 1);
  layout->addWidget(BitBtn2, 7, 2);
  layout->setColumnStretch(0, 1);
  resize(900, 640);

  connect(ButtonInput, &QPushButton::clicked, this, Guarded([this] { ButtonInputClick(); }, this));
  connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, [this] { CloseModal(*this, mrCancel); });
}

char TEditOrbis::Separator() const { return owner_->DecimalComma ? ',' : '.'; }

void TEditOrbis::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TEditOrbis::FormShow() {
  const ChartRecord* chart = Chart();
  if (!chart) return;
  shown_ = ShowOrbGrid(*chart, Separator());
  for (int r = 0; r < kObjectCount; ++r)
    for (int c = 0; c < kObjectCount; ++c) SetCell(OrbPlanets, r, c, shown_.Pair[c][r], r != c);
  for (int k = 0; k < kOrbEditorKindCount; ++k) SetCell(KoefAsp, k, 1, shown_.Factor[k], true);
  // every column as wide as its object's name, at least as wide as an orb
  for (int c = 0; c < kObjectCount; ++c)
    OrbPlanets->setColumnWidth(
        c, std::max(kOrbColumnWidth, OrbPlanets->horizontalHeader()->sectionSizeHint(c)));
}

OrbGridText TEditOrbis::GridText() const {
  OrbGridText grid;
  for (int r = 0; r < kObjectCount; ++r)
    for (int c = 0; c < kObjectCount; ++c) grid.Pair[c][r] = CellText(OrbPlanets, r, c);
  for (int k = 0; k < kOrbEditorKindCount; ++k) grid.Factor[k] = CellText(KoefAsp, k, 1);
  return grid;
}

// The orb of Input into every selected cell and its mirror; the diagonal
// keeps "::". An orb that cannot be read is refused before any cell changes.
void TEditOrbis::ButtonInputClick() {
  const std::string orb = MaskedText(*Input);
  float value = 0;
  if (!ParseOrbCell(orb, value)) {
    Refuse(this, owner_->UiText, kUiEntryOrbUnreadable, "", orb);
    return;
  }
  for (const QTableWidgetSelectionRange& range : OrbPlanets->selectedRanges())
    for (int r = range.topRow(); r <= range.bottomRow(); ++r)
      for (int c = range.leftColumn(); c <= range.rightColumn(); ++c) {
        if (r == c) continue;
        SetCell(OrbPlanets, r, c, orb, true);
        SetCell(OrbPlanets, c, r, orb, true);
      }
}

// The factor of MaskEdit1 into every selected row; refused when it cannot be read.
void TEditOrbis::Button1Click() {
  const std::string factor = MaskedText(*MaskEdit1);
  float value = 0;
  if (!ParseFactorCell(factor, value)) {
    Refuse(this, owner_->UiText, kUiEntryFactorUnreadable, "", factor);
    return;
  }
  for (const QTableWidgetSelectionRange& range : KoefAsp->selectedRanges())
    for (int k = range.topRow(); k <= range.bottomRow(); ++k) SetCell(KoefAsp, k, 1, factor, true);
}

// Both grids into the chart record, all or nothing; a cell that cannot be
// read is named, selected, and the dialog stays open.
void TEditOrbis::BitBtn1Click() {
  ChartRecord* chart = SessionChart();
  if (!chart) return;
  const OrbGridRefusal refusal = ApplyOrbGrid(shown_, GridText(), *chart);
  if (refusal.Ok) {
    CloseModal(*this, mrOk);
    return;
  }
  const ChartRecord& record = *chart;
  if (refusal.InFactor) {
    KoefAsp->setCurrentCell(refusal.Row, 1);
    Refuse(this, owner_->UiText, kUiEntryFactorUnreadable, record.AspectNames[refusal.Row + 1],
           refusal.Text);
  } else {
    OrbPlanets->setCurrentCell(refusal.Column, refusal.Row);
    Refuse(this, owner_->UiText, kUiEntryOrbUnreadable,
           record.ObjectNames[refusal.Row + 1] + " - " + record.ObjectNames[refusal.Column + 1],
           refusal.Text);
  }
}
