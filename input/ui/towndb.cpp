#include "input/ui/towndb.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "input/timezones.h"
#include "input/ui/inputmessages.h"
#include "input/ui/maskedfields.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TTownDB* gTownDb = nullptr;

// Language-file entries of the dialog.
constexpr int kEntryAdd = 308;
constexpr int kEntryCancel = 260;
constexpr int kEntryCaption = 423;
constexpr int kEntryLabels[8] = {338, 332, 333, 424, 425, 427, 428, 426};  // Label1 .. Label8
constexpr int kEntryNorth = 334;
constexpr int kEntrySouth = 335;
constexpr int kEntryEast = 337;
constexpr int kEntryWest = 336;
constexpr int kEntryZoneName = 429;
constexpr int kEntryZoneMask = 430;
constexpr int kEntryNewTownCaption = 344;
constexpr int kEntryTownLabel = 338;
constexpr int kEntryCountryLabel = 424;

constexpr const char* kLatitudeMask = "99:99:99;1;_";
constexpr const char* kLongitudeMask = "999:99:99;1;_";

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(name);
  return radio;
}

}  // namespace

TTownDB* TTownDB::Instance() { return gTownDb; }

TTownDB::TTownDB(MainWindowPort* owner) : QDialog(WidgetOf(owner)), owner_(owner) {
  gTownDb = this;
  setObjectName("TownDB");
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto text = [owner](int entry) { return owner->Text(entry); };
  setWindowTitle(text(kEntryCaption));

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName("Edit2");
  MaskEdit1 = new QLineEdit(this);
  MaskEdit1->setObjectName("MaskEdit1");
  SetEditMask(*MaskEdit1, kLatitudeMask);
  MaskEdit2 = new QLineEdit(this);
  MaskEdit2->setObjectName("MaskEdit2");
  SetEditMask(*MaskEdit2, kLongitudeMask);
  MaskEdit3 = new QLineEdit(this);
  MaskEdit3->setObjectName("MaskEdit3");
  SetEditMask(*MaskEdit3, owner->UiText.Entry(kEntryZoneMask));
  RadioButton1 = Radio(this, "RadioButton1", text(kEntryNorth));
  RadioButton2 = Radio(this, "RadioButton2", text(kEntrySouth));
  RadioButton3 = Radio(this, "RadioButton3", text(kEntryEast));
  RadioButton4 = Radio(this, "RadioButton4", text(kEntryWest));
  for (auto pair :
       {std::make_pair(RadioButton1, RadioButton2), std::make_pair(RadioButton3, RadioButton4)}) {
    auto* group = new QButtonGroup(this);
    group->addButton(pair.first);
    group->addButton(pair.second);
  }
  RadioButton1->setChecked(true);
  RadioButton4->setChecked(true);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  for (int i = 0; i < kTownDbZoneAbbreviationCount; ++i)
    ComboBox1->addItem(QString::fromLatin1(TownDbZoneAbbreviation(i).Name));
  ComboBox1->setCurrentIndex(-1);
  Label9 = new QLabel(text(kEntryZoneName), this);
  Label9->setObjectName("Label9");
  const char* labelNames[8] = {"Label1", "Label2", "Label3", "Label4",
                               "Label5", "Label6", "Label7", "Label8"};
  for (int i = 0; i < 8; ++i) {
    Labels[i] = new QLabel(text(kEntryLabels[i]), this);
    Labels[i]->setObjectName(labelNames[i]);
  }
  BitBtn1 = new QPushButton(text(kEntryAdd), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn2 = new QPushButton(text(kEntryCancel), this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn1->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Labels[0], 0, 0);  // town
  grid->addWidget(Edit1, 0, 1, 1, 3);
  grid->addWidget(Labels[3], 1, 0);  // country
  grid->addWidget(Edit2, 1, 1, 1, 3);
  grid->addWidget(Labels[1], 2, 0);  // latitude
  grid->addWidget(MaskEdit1, 2, 1);
  grid->addWidget(RadioButton1, 2, 2);
  grid->addWidget(RadioButton2, 2, 3);
  grid->addWidget(Labels[2], 3, 0);  // longitude
  grid->addWidget(MaskEdit2, 3, 1);
  grid->addWidget(Labels[5], 4, 0);  // hemisphere
  grid->addWidget(RadioButton3, 4, 2);
  grid->addWidget(RadioButton4, 4, 3);
  grid->addWidget(Labels[6], 5, 0);  // time zone
  grid->addWidget(Labels[4], 6, 0);  // abbreviation
  grid->addWidget(ComboBox1, 6, 1);
  grid->addWidget(Label9, 6, 2, 1, 2);
  grid->addWidget(Labels[7], 7, 0);  // difference from Greenwich
  grid->addWidget(MaskEdit3, 7, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  grid->addLayout(buttons, 8, 0, 1, 4);

  connect(BitBtn1, &QPushButton::clicked, this, [this] { CloseModal(*this, mrOk); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { CloseModal(*this, mrCancel); });
  connect(ComboBox1, &QComboBox::currentIndexChanged, this,
          Guarded([this] { ComboBox1Change(ComboBox1->currentIndex()); }, this));
}

TTownDB::~TTownDB() {
  if (gTownDb == this) gTownDb = nullptr;
}

void TTownDB::Prepare(const std::string& typedName) {
  SetFieldText(*Edit1, typedName);
  ComboBox1->setCurrentIndex(-1);
  Label9->setText(owner_->Text(kEntryZoneName));
}

void TTownDB::ComboBox1Change(int index) {
  if (index < 0) return;
  const ZoneAbbreviation& entry = TownDbZoneAbbreviation(index);
  const ZoneField field = ZoneFieldFromAbbreviation(entry);
  Label9->setText(QString::fromLatin1(entry.LongName));
  (field.West ? RadioButton4 : RadioButton3)->setChecked(true);
  SetFieldText(*MaskEdit3,
               ZoneHoursMinutesText(field.Hours, field.Minutes, TimeMarksOf(owner_->UiText)));
}

NewTownFields TTownDB::Fields() const {
  NewTownFields f;
  f.Name = FieldText(*Edit1);
  f.Country = FieldText(*Edit2);
  const int index = ComboBox1->currentIndex();
  f.Abbreviation = index >= 0 ? TownDbZoneAbbreviation(index).Name : "";
  f.West = RadioButton4->isChecked();
  f.ZoneText = MaskedText(*MaskEdit3);
  f.South = RadioButton2->isChecked();
  f.LatitudeText = MaskedText(*MaskEdit1);
  f.LongitudeText = MaskedText(*MaskEdit2);
  return f;
}

NewTownLine TTownDB::BuildLine() const {
  NewTown town;
  InputRefusal refusal;
  if (!ReadNewTownFields(Fields(), town, refusal)) {
    NewTownLine refused;
    refused.Status = NewTownStatus::Refused;
    refused.Message = InputRefusalMessage(refusal, owner_->UiText);
    return refused;
  }
  NewTownLine built = BuildUserTownLine(town);
  if (built.Status != NewTownStatus::Ok)
    built.Message = NewTownRefusalMessage(built, town, owner_->UiText);
  return built;
}

bool TTownDB::SaveLine(const std::string& line) {
  const AddTownResult added = AddUserTown(TownsFolder(owner_->ProgramFolder), line);
  if (!added.Ok) ShowErrorMessage(added.Message, this);
  return added.Ok;
}

void TTownDB::AddTown(const std::string& typedName) {
  Prepare(typedName);
  for (;;) {
    if (ExecModal(*this) != mrOk) return;
    // Letters the towns file cannot hold are refused before the line is
    // built: the user retypes them.
    if (RefuseUnwritableText(Edit1->text(), kEntryTownLabel, owner_->UiText, this) ||
        RefuseUnwritableText(Edit2->text(), kEntryCountryLabel, owner_->UiText, this))
      continue;
    const NewTownLine built = BuildLine();
    if (built.Status == NewTownStatus::NameTooLong) {
      ShowMessage(built.Message, this);
      return;
    }
    if (built.Status != NewTownStatus::Ok) {
      ShowErrorMessage(built.Message, this);
      continue;  // back to the dialog to mend the field
    }
    TWarning* warning = TWarning::Instance();
    if (warning) {
      // The confirmation carries the caption of a new record and the line.
      const QString caption = warning->windowTitle();
      warning->setWindowTitle(owner_->Text(kEntryNewTownCaption));
      warning->SetMessage(NewTownConfirmation(built.Line));
      const ModalResult answer = ExecModal(*warning);
      warning->setWindowTitle(caption);
      if (answer != mrOk) continue;
    }
    SaveLine(built.Line);
    return;
  }
}
