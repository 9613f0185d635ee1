#include "input/ui/editparses.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "input/editparses.h"
#include "input/ui/inputmessages.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"

namespace {

TEditParses* gEditParses = nullptr;

constexpr int kEntryOk = 259;
constexpr int kEntryLabel1 = 303;
constexpr int kEntryLabel2 = 304;
constexpr int kEntrySexAny = 305;
constexpr int kEntrySexMen = 306;
constexpr int kEntrySexWomen = 307;
constexpr int kEntryAdd = 308;
constexpr int kEntryChange = 309;
constexpr int kEntryRemove = 310;
constexpr int kEntryAddHint[3] = {311, 312, 313};
constexpr int kEntryRemoveHint[3] = {311, 314, 315};
constexpr int kEntryRuler = 316;

constexpr const char* kSignModes[kPartSignModeCount] = {"+", "-", "+/-", "-/+"};

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

ChartRecord* Chart() { return SessionChart(); }

QComboBox* List(QWidget* parent, const char* name, const QStringList& items) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

}  // namespace

TEditParses* TEditParses::Instance() { return gEditParses; }

TEditParses::~TEditParses() {
  if (gEditParses == this) gEditParses = nullptr;
}

TEditParses::TEditParses(MainWindowPort* owner) : QDialog(WidgetOf(owner)), owner_(owner) {
  gEditParses = this;
  setObjectName("EditParses");
  setModal(true);
  if (QAction* n140 = owner->Item("N140")) setWindowTitle(n140->text());
  auto text = [owner](int entry) { return owner->Text(entry); };
  auto hint = [owner](const int(&entries)[3]) {
    return owner->Text(entries[0]) + QLatin1Char('\n') + owner->Text(entries[1]) +
           QLatin1Char('\n') + owner->Text(entries[2]);
  };

  QStringList points;
  if (const ChartRecord* chart = Chart())
    for (const std::string& name :
         PartOperandNames(chart->ObjectNames, owner->UiText.Entry(kEntryRuler)))
      points << FromCp(name);
  QStringList modes;
  for (const char* mode : kSignModes) modes << QString::fromLatin1(mode);
  ComboBox1 = List(this, "ComboBox1", points);
  ComboBox2 = List(this, "ComboBox2", points);
  ComboBox3 = List(this, "ComboBox3", points);
  ComboBox4 = List(this, "ComboBox4", modes);
  ComboBox5 = List(this, "ComboBox5", modes);
  ComboBox6 = List(this, "ComboBox6", {});
  ComboBox6->setMinimumWidth(220);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Label1 = new QLabel(text(kEntryLabel1), this);
  Label1->setObjectName("Label1");
  Label2 = new QLabel(text(kEntryLabel2), this);
  Label2->setObjectName("Label2");

  Panel1 = new QGroupBox(this);
  Panel1->setObjectName("Panel1");
  auto* sexes = new QVBoxLayout(Panel1);
  RadioButton1 = new QRadioButton(text(kEntrySexAny), Panel1);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton2 = new QRadioButton(text(kEntrySexMen), Panel1);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton3 = new QRadioButton(text(kEntrySexWomen), Panel1);
  RadioButton3->setObjectName("RadioButton3");
  for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) sexes->addWidget(r);
  RadioButton1->setChecked(true);
  Panel1->hide();

  Button1 = new QPushButton(text(kEntryAdd), this);
  Button1->setObjectName("Button1");
  Button1->setToolTip(hint(kEntryAddHint));
  Button3 = new QPushButton(text(kEntryChange), this);
  Button3->setObjectName("Button3");
  Button2 = new QPushButton(text(kEntryRemove), this);
  Button2->setObjectName("Button2");
  Button2->setToolTip(hint(kEntryRemoveHint));
  BitBtn1 = new QPushButton(text(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  for (QPushButton* b : {Button1, Button2, Button3, BitBtn1}) b->setAutoDefault(false);

  // the list of parts, the name, then the formula A ± B ± C on one line
  auto* layout = new QVBoxLayout(this);
  auto* parts = new QHBoxLayout;
  parts->addWidget(ComboBox6, 1);
  parts->addWidget(Button2);
  layout->addLayout(parts);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addWidget(Label2);
  auto* formula = new QHBoxLayout;
  formula->addWidget(ComboBox1, 1);
  formula->addWidget(ComboBox4);
  formula->addWidget(ComboBox2, 1);
  formula->addWidget(ComboBox5);
  formula->addWidget(ComboBox3, 1);
  layout->addLayout(formula);
  layout->addWidget(Panel1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button1);
  buttons->addWidget(Button3);
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  layout->addLayout(buttons);

  connect(ComboBox6, &QComboBox::activated, this, [this](int index) { ComboBox6Change(index); });
  connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }, this));
  connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }, this));
  connect(Button3, &QPushButton::clicked, this, Guarded([this] { Button3Click(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
}

void TEditParses::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

// The list of parts, the first selected and shown; with none, empty controls.
void TEditParses::FormShow() {
  const ChartRecord* chart = Chart();
  ComboBox6->clear();
  if (chart)
    for (int i = 0; i < chart->PartCount; ++i)
      ComboBox6->addItem(FromCp(chart->ArabicParts[i].Name));
  ComboBox6->setCurrentIndex(ComboBox6->count() > 0 ? 0 : -1);
  ShowPart(ComboBox6->currentIndex());
  EnablePartButtons();
}

// The controls show part k; with no such part they are cleared.
void TEditParses::ShowPart(int k) {
  const ChartRecord* chart = Chart();
  PartRecord part;
  if (chart && k >= 0 && k < chart->PartCount) part = chart->ArabicParts[k];
  Edit1->setText(FromCp(part.Name));
  ComboBox1->setCurrentIndex(part.A);
  ComboBox2->setCurrentIndex(part.B);
  ComboBox3->setCurrentIndex(part.C);
  ComboBox4->setCurrentIndex(part.SignModeB);
  ComboBox5->setCurrentIndex(part.SignModeC);
  (part.Sex == 1 ? RadioButton2 : part.Sex == 2 ? RadioButton3 : RadioButton1)->setChecked(true);
}

void TEditParses::EnablePartButtons() {
  const ChartRecord* chart = Chart();
  const int k = ComboBox6->currentIndex();
  const bool selected = chart && k >= 0 && k < chart->PartCount;
  Button2->setEnabled(selected);
  Button3->setEnabled(selected);
}

bool TEditParses::PartFromControls(PartRecord& part) {
  if (RefuseUnwritableText(Edit1->text(), kEntryLabel1, owner_->UiText, this)) return false;
  // a part is chosen and told apart by its name alone
  if (Edit1->text().trimmed().isEmpty()) {
    ShowMessage(owner_->UiText.Entry(kUiEntryEmptyName), this);
    return false;
  }
  const int sex = RadioButton2->isChecked() ? 1 : RadioButton3->isChecked() ? 2 : 0;
  part = PartFromChoices(Utf8ToCp1251(Edit1->text().toStdString()), ComboBox1->currentIndex(),
                         ComboBox2->currentIndex(), ComboBox3->currentIndex(),
                         ComboBox4->currentIndex(), ComboBox5->currentIndex(), sex);
  return true;
}

void TEditParses::ComboBox6Change(int index) {
  ShowPart(index);
  EnablePartButtons();
}

bool TEditParses::InsertParse(int n) {
  ChartRecord* chart = Chart();
  if (!chart) return false;
  if (chart->PartCount >= kMaxArabicParts) {
    ShowMessage(FillEntry(owner_->UiText.Entry(kUiEntryPartsFull), {FormatInt(kMaxArabicParts)}),
                this);
    return false;
  }
  PartRecord part;
  if (!PartFromControls(part) || InsertPart(*chart, n, part) != PartEdit::Done) return false;
  ComboBox6->insertItem(n, FromCp(part.Name));
  ComboBox6->setCurrentIndex(n);
  EnablePartButtons();
  return true;
}

// A new part after the selected one (first when none is selected).
void TEditParses::Button1Click() { InsertParse(ComboBox6->currentIndex() + 1); }

// The selected part takes the controls' name, formula and sex.
void TEditParses::Button3Click() {
  ChartRecord* chart = Chart();
  const int k = ComboBox6->currentIndex();
  PartRecord part;
  if (!chart || k < 0 || k >= chart->PartCount || !PartFromControls(part)) return;
  if (ReplacePart(*chart, k, part) != PartEdit::Done) return;
  ComboBox6->setItemText(k, FromCp(part.Name));
  ComboBox6->setCurrentIndex(k);
}

// Removes the selected part; its successor, or the new last part, is shown.
void TEditParses::Button2Click() {
  ChartRecord* chart = Chart();
  const int k = ComboBox6->currentIndex();
  if (!chart || RemovePart(*chart, k) != PartEdit::Done) return;
  ComboBox6->removeItem(k);
  const int shown = PartShownAfterRemoval(k, chart->PartCount);
  ComboBox6->setCurrentIndex(shown);
  ShowPart(shown);
  EnablePartButtons();
}

void TEditParses::BitBtn1Click() { CloseModal(*this, mrOk); }
