#include "input/ui/aspectation.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "judgement/ui/judgementui.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/text/cp1251.h"

namespace {

TAspectation* gAspectation = nullptr;
TAspects* gAspects = nullptr;

constexpr int kEntryOk = 259;
constexpr int kEntryCancel = 260;
constexpr int kEntryHigherPlanetsQuestion = 514;
constexpr int kEntryAspectsCaption = 129;
constexpr int kEntryMajor = 130;
constexpr int kEntryMinor = 131;
constexpr int kEntryAll = 267;

constexpr int kFirstCusp = 18;
constexpr int kLastCusp = 29;
constexpr int kObjects = 36;

// Control-name suffixes by chart object; the cusps' drawn box is CheckBox2H.
constexpr const char* kObjectSuffix[kObjects] = {
    "Sun", "Moon", "Mer", "Ven", "Mar", "Jup", "Sat", "Uran", "Nep", "Plu", "Hir", "Pro",
    "Lil", "Sel",  "Uz1", "Uz2", "For", "Kre", "Asc", "II",   "III", "Ic",  "V",   "VI",
    "Dsc", "VIII", "IX",  "Mc",  "XI",  "XII", "Vx",  "AVx",  "PN",  "PS",  "PW",  "PZ"};

// The form's defaults, aspected and drawn, by chart object.
constexpr std::uint8_t kDefaultAspected[kObjects] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                     0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                                     0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::uint8_t kDefaultDrawn[kObjects] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0,
                                                  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                  1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0};

// The objects whose boxes ask about the higher planets: Uranus to Proserpina.
constexpr int kFirstHigher = 7;
constexpr int kLastHigher = 11;
constexpr int kLastSeptenary = 6;  // Saturn
constexpr int kLilith = 12;
constexpr int kSelena = 13;

// Kind control names in the order of the kinds 0..8; the first five major.
constexpr const char* kKindNames[9] = {"CheckBox1_0",   "CheckBox1_60",  "CheckBox1_90",
                                       "CheckBox1_120", "CheckBox1_180", "CheckBox2_30",
                                       "CheckBox2_150", "CheckBox2_45",  "CheckBox2_135"};
constexpr const char* kKindDegrees[9] = {"0", "60", "90", "120", "180", "30", "150", "45", "135"};
constexpr int kMajorKinds = 5;

QCheckBox* Box(QWidget* parent, const std::string& name, const QString& text = QString()) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromStdString(name));
  return box;
}

QString ObjectName(int object) {
  const ChartRecord* chart = SessionChart();
  if (!chart) return QString();
  return QString::fromStdString(Cp1251ToUtf8(chart->ObjectNames[object + 1]));
}

void OkCancel(QDialog* dialog, QVBoxLayout* layout, MainWindowPort* owner, QPushButton*& ok,
              QPushButton*& cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  ok = new QPushButton(owner->Text(kEntryOk), dialog);
  ok->setObjectName("BitBtn1");
  ok->setDefault(true);
  cancel = new QPushButton(owner->Text(kEntryCancel), dialog);
  cancel->setObjectName("BitBtn2");
  row->addWidget(ok);
  row->addWidget(cancel);
  layout->addLayout(row);
}

}  // namespace

// ---- chart objects ------------------------------------------------------------

TAspectation* TAspectation::Instance() { return gAspectation; }

TAspectation::~TAspectation() {
  if (gAspectation == this) gAspectation = nullptr;
}

TAspectation::TAspectation(MainWindowPort* owner) : QDialog(WidgetOf(owner)) {
  gAspectation = this;
  setObjectName("Aspectation");
  setModal(true);
  setWindowTitle(owner->Text(kUiEntryAspectationCaption));

  auto* layout = new QVBoxLayout(this);
  auto* panels = new QHBoxLayout;
  layout->addLayout(panels);

  // bodies, lots and points: a name and both boxes a row
  auto* objects = new QGroupBox(owner->Text(kUiEntryPlanetsPanel), this);
  objects->setObjectName("Panel1");
  auto* grid = new QGridLayout(objects);
  grid->addWidget(new QLabel(owner->Text(kUiEntryAspectedColumn), objects), 0, 1);
  grid->addWidget(new QLabel(owner->Text(kUiEntryDrawnColumn), objects), 0, 2);
  int row = 1;
  for (int o = 0; o < kObjects; ++o) {
    if (o >= kFirstCusp && o <= kLastCusp) continue;
    grid->addWidget(new QLabel(ObjectName(o), objects), row, 0);
    Aspected[o] = Box(objects, std::string("CheckBox1") + kObjectSuffix[o]);
    Drawn[o] = Box(objects, std::string("CheckBox2") + kObjectSuffix[o]);
    grid->addWidget(Aspected[o], row, 1, Qt::AlignHCenter);
    grid->addWidget(Drawn[o], row, 2, Qt::AlignHCenter);
    ++row;
  }
  panels->addWidget(objects);

  // the cusps: an aspected box each, one drawn box for all twelve
  auto* houses = new QGroupBox(owner->Text(kUiEntryHousesPanel), this);
  houses->setObjectName("Panel2");
  auto* cusps = new QGridLayout(houses);
  cusps->addWidget(new QLabel(owner->Text(kUiEntryAspectedColumn), houses), 0, 1);
  for (int o = kFirstCusp; o <= kLastCusp; ++o) {
    cusps->addWidget(new QLabel(ObjectName(o), houses), o - kFirstCusp + 1, 0);
    Aspected[o] = Box(houses, std::string("CheckBox1") + kObjectSuffix[o]);
    cusps->addWidget(Aspected[o], o - kFirstCusp + 1, 1, Qt::AlignHCenter);
  }
  CheckBox2H = Box(houses, "CheckBox2H", owner->Text(kUiEntryDrawnColumn));
  cusps->addWidget(CheckBox2H, kLastCusp - kFirstCusp + 2, 0, 1, 2);
  cusps->setRowStretch(kLastCusp - kFirstCusp + 3, 1);
  for (int o = kFirstCusp; o <= kLastCusp; ++o) Drawn[o] = CheckBox2H;
  panels->addWidget(houses, 0, Qt::AlignTop);

  OkCancel(this, layout, owner, BitBtn1, BitBtn2);

  // the form's defaults, set before any handler is connected
  for (int o = 0; o < kObjects; ++o) {
    Aspected[o]->setChecked(kDefaultAspected[o] != 0);
    Drawn[o]->setChecked(kDefaultDrawn[o] != 0);
  }

  for (int o = kFirstHigher; o <= kLastHigher; ++o)
    for (QCheckBox* box : {Aspected[o], Drawn[o]})
      connect(box, &QCheckBox::clicked, this, [this] { CheckBox1UranClick(); });
  connect(BitBtn1, &QPushButton::clicked, this, &TAspectation::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TAspectation::BitBtn2Click);
  AskHigher = 1;
}

void TAspectation::showEvent(QShowEvent* event) {
  Accepted = 0;
  QDialog::showEvent(event);
}

void TAspectation::PutAspectObjectFlags(const std::uint8_t (&aspected)[36],
                                        const std::uint8_t (&drawn)[36]) {
  for (int o = 0; o < kObjects; ++o) {
    Aspected[o]->setChecked(aspected[o] != 0);
    if (o < kFirstCusp || o > kLastCusp) Drawn[o]->setChecked(drawn[o] != 0);
  }
  CheckBox2H->setChecked(drawn[kFirstCusp] != 0);
}

void TAspectation::GetAspectObjectFlags(std::uint8_t (&aspected)[36],
                                        std::uint8_t (&drawn)[36]) const {
  for (int o = 0; o < kObjects; ++o) {
    aspected[o] = Aspected[o]->isChecked() ? 1 : 0;
    drawn[o] = Drawn[o]->isChecked() ? 1 : 0;
  }
}

// A box of Uranus to Proserpina clicked: ask whether the higher planets take
// part; the answer decides the planets shown and aspected and the sign
// rulers of the calculation parameters. The guard keeps the boxes set here
// from asking again.
void TAspectation::CheckBox1UranClick() {
  if (!AskHigher || !isVisible()) return;
  AskHigher = 0;
  bool higher = false;
  if (TWarning* warning = TWarning::Instance()) {
    MainWindowPort* owner = MainWindow();
    warning->SetMessage(owner ? owner->UiText.Entry(kEntryHigherPlanetsQuestion) : std::string());
    higher = ExecModal(*warning) == mrOk;
  }
  const int lastOn = higher ? kLastHigher : kLastSeptenary;
  for (int o = 0; o <= kLastHigher; ++o) {
    Aspected[o]->setChecked(o <= lastOn);
    Drawn[o]->setChecked(o <= lastOn);
  }
  for (int o : {kLilith, kSelena}) {
    Aspected[o]->setChecked(false);
    Drawn[o]->setChecked(false);
  }
  SelectPlanetSet(higher ? 1 : 0);
  AskHigher = 1;
}

void TAspectation::SelectPlanetSet(int item) { SetSignRulerOption(item); }

void TAspectation::BitBtn1Click() {
  Accepted = 1;
  CloseModal(*this, mrOk);
}

void TAspectation::BitBtn2Click() {
  Accepted = 0;
  CloseModal(*this, mrCancel);
}

// ---- aspect kinds ---------------------------------------------------------------

TAspects* TAspects::Instance() { return gAspects; }

TAspects::~TAspects() {
  if (gAspects == this) gAspects = nullptr;
}

TAspects::TAspects(MainWindowPort* owner) : QDialog(WidgetOf(owner)) {
  gAspects = this;
  setObjectName("Aspects");
  setModal(true);
  setWindowTitle(owner->Text(kEntryAspectsCaption));
  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  layout->addLayout(groups);
  auto group = [&](int entry, const char* name, int first, int last, QCheckBox*& all,
                   const char* allName) {
    auto* box = new QGroupBox(owner->Text(entry), this);
    box->setObjectName(name);
    auto* column = new QVBoxLayout(box);
    for (int k = first; k < last; ++k) {
      Kind[k] = Box(box, kKindNames[k], QString::fromUtf8(kKindDegrees[k]) + QChar(0x00B0));
      Kind[k]->setChecked(k < kMajorKinds);
      column->addWidget(Kind[k]);
    }
    column->addStretch();
    all = Box(box, allName, owner->Text(kEntryAll));
    column->addWidget(all);
    groups->addWidget(box);
  };
  group(kEntryMajor, "GroupBox1", 0, kMajorKinds, CheckBox1All, "CheckBox1All");
  group(kEntryMinor, "GroupBox2", kMajorKinds, 9, CheckBox2All, "CheckBox2All");
  OkCancel(this, layout, owner, BitBtn1, BitBtn2);
  setMinimumWidth(TitleFitWidth(*this));

  connect(CheckBox1All, &QCheckBox::clicked, this, &TAspects::CheckBox1AllClick);
  connect(CheckBox2All, &QCheckBox::clicked, this, &TAspects::CheckBox2AllClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TAspects::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TAspects::BitBtn2Click);
}

void TAspects::showEvent(QShowEvent* event) {
  Accepted = 0;
  QDialog::showEvent(event);
}

void TAspects::PutAspectTypeFlags(const std::uint8_t* inUse) {
  for (int k = 0; k < 9; ++k) Kind[k]->setChecked(inUse[k] != 0);
}

void TAspects::GetAspectTypeFlags(std::uint8_t* inUse) const {
  for (int k = 0; k < 9; ++k) inUse[k] = Kind[k]->isChecked() ? 1 : 0;
}

void TAspects::CheckBox1AllClick() {
  for (int k = 0; k < kMajorKinds; ++k) Kind[k]->setChecked(CheckBox1All->isChecked());
}

void TAspects::CheckBox2AllClick() {
  for (int k = kMajorKinds; k < 9; ++k) Kind[k]->setChecked(CheckBox2All->isChecked());
}

void TAspects::BitBtn1Click() {
  Accepted = 1;
  CloseModal(*this, mrOk);
}

void TAspects::BitBtn2Click() {
  Accepted = 0;
  CloseModal(*this, mrCancel);
}
