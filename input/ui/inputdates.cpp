#include "input/ui/inputdates.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "input/timezones.h"
#include "input/ui/inputmessages.h"
#include "input/ui/maskedfields.h"
#include "input/ui/towndb.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/finddbfile.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TInputDates* gInputDates = nullptr;

// Help topic of the dialog.
constexpr int kHelpContext = 16;

// Language-file entries of the dialog.
constexpr int kEntryOk = 259;
constexpr int kEntryCancel = 260;
constexpr int kEntryName = 324;
constexpr int kEntryLabels[8] = {325, 326, 327, 328, 332, 333, 339, 340};  // Label1 .. Label8
constexpr int kEntryBeforeEra = 329;
constexpr int kEntryCommonEra = 330;
constexpr int kEntryNorth = 334;
constexpr int kEntrySouth = 335;
constexpr int kEntryWest = 336;
constexpr int kEntryEast = 337;
constexpr int kEntryPlace = 338;
constexpr int kEntryComment = 340;
constexpr int kEntrySearch = 341;
constexpr int kEntryTimeMask = 342;
constexpr int kEntryAddTownQuestion = 343;

// Masks of the date and coordinate fields, in the language file's notation.
constexpr const char* kDayMask = "99;2;_";
constexpr const char* kMonthMask = "99;1;_";
constexpr const char* kYearMask = "9999;1;_";
constexpr const char* kLatitudeMask = "99:99:99;1;_";
constexpr const char* kLongitudeMask = "999:99:99;1;_";

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(name);
  return radio;
}

}  // namespace

// ---- the data-input dialog -------------------------------------------------------------

TInputDates* TInputDates::Instance() { return gInputDates; }

TInputDates::TInputDates(MainWindowPort* owner) : QDialog(WidgetOf(owner)), owner_(owner) {
  gInputDates = this;
  setObjectName("InputDates");
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setProperty("HelpContext", kHelpContext);
  auto text = [owner](int entry) { return owner->Text(entry); };
  if (QAction* n85 = owner->Item("N85")) setWindowTitle(n85->text());

  const std::string timeMask = owner->UiText.Entry(kEntryTimeMask);
  Edit1 = new QLineEdit(text(kEntryName), this);
  Edit1->setObjectName("Edit1");
  MaskEdit1 = MaskedField(this, "MaskEdit1", kDayMask, 40);
  MaskEdit2 = MaskedField(this, "MaskEdit2", kMonthMask, 40);
  MaskEdit3 = MaskedField(this, "MaskEdit3", kYearMask, 56);
  MaskEdit4 = MaskedField(this, "MaskEdit4", timeMask, 96);
  MaskEdit5 = MaskedField(this, "MaskEdit5", kLatitudeMask, 96);
  MaskEdit6 = MaskedField(this, "MaskEdit6", kLongitudeMask, 96);
  MaskEdit7 = MaskedField(this, "MaskEdit7", timeMask, 96);
  RadioButton7 = Radio(this, "RadioButton7", text(kEntryBeforeEra));
  RadioButton8 = Radio(this, "RadioButton8", text(kEntryCommonEra));
  RadioButton1 = Radio(this, "RadioButton1", text(kEntryNorth));
  RadioButton2 = Radio(this, "RadioButton2", text(kEntrySouth));
  RadioButton3 = Radio(this, "RadioButton3", text(kEntryEast));
  RadioButton4 = Radio(this, "RadioButton4", text(kEntryWest));
  RadioButton9 = Radio(this, "RadioButton9", text(kEntryEast));
  RadioButton10 = Radio(this, "RadioButton10", text(kEntryWest));
  Pair(this, RadioButton7, RadioButton8);
  Pair(this, RadioButton1, RadioButton2);
  Pair(this, RadioButton3, RadioButton4);
  Pair(this, RadioButton9, RadioButton10);
  RadioButton8->setChecked(true);
  RadioButton1->setChecked(true);
  RadioButton3->setChecked(true);
  RadioButton9->setChecked(true);
  Edit2 = new QLineEdit(text(kEntryPlace), this);
  Edit2->setObjectName("Edit2");
  Edit2->installEventFilter(this);
  Button1 = new QPushButton(text(kEntrySearch), this);
  Button1->setObjectName("Button1");
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  for (const ZoneAbbreviation& zone : kZoneAbbreviations)
    ComboBox1->addItem(QString::fromLatin1(zone.Name));
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->hide();
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setTabChangesFocus(true);
  Memo1->installEventFilter(this);
  Memo1->setFixedHeight(64);
  BitBtn1 = new QPushButton(text(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn2 = new QPushButton(text(kEntryCancel), this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn1->setDefault(true);
  const char* labelNames[8] = {"Label1", "Label2", "Label3", "Label4",
                               "Label5", "Label6", "Label7", "Label8"};
  for (int i = 0; i < 8; ++i) {
    Labels[i] = new QLabel(text(kEntryLabels[i]), this);
    Labels[i]->setObjectName(labelNames[i]);
  }

  Label9 = new QLabel(this);
  Label9->setObjectName("Label9");
  Label9->setWordWrap(true);
  Label9->hide();

  auto* grid = new QGridLayout(this);
  grid->addWidget(Edit1, 0, 0, 1, 5);
  grid->addWidget(Labels[0], 1, 0);
  grid->addWidget(Labels[1], 1, 1);
  grid->addWidget(Labels[2], 1, 2);
  grid->addWidget(MaskEdit1, 2, 0);
  grid->addWidget(MaskEdit2, 2, 1);
  grid->addWidget(MaskEdit3, 2, 2);
  grid->addWidget(RadioButton7, 2, 3);
  grid->addWidget(RadioButton8, 2, 4);
  grid->addWidget(Labels[3], 3, 0, 1, 2);
  grid->addWidget(MaskEdit4, 3, 2, 1, 2);
  grid->addWidget(Labels[4], 4, 0, 1, 2);
  grid->addWidget(MaskEdit5, 4, 2);
  grid->addWidget(RadioButton1, 4, 3);
  grid->addWidget(RadioButton2, 4, 4);
  grid->addWidget(Labels[5], 5, 0, 1, 2);
  grid->addWidget(MaskEdit6, 5, 2);
  grid->addWidget(RadioButton3, 5, 3);
  grid->addWidget(RadioButton4, 5, 4);
  grid->addWidget(Labels[6], 6, 0, 1, 2);
  grid->addWidget(MaskEdit7, 6, 2);
  grid->addWidget(RadioButton9, 6, 3);
  grid->addWidget(RadioButton10, 6, 4);
  grid->addWidget(ComboBox1, 7, 2);
  grid->addWidget(Label9, 7, 3, 1, 2);
  grid->addWidget(Edit2, 8, 0, 1, 3);
  grid->addWidget(Button1, 8, 3, 1, 2);
  grid->addWidget(Labels[7], 9, 0, 1, 5);
  grid->addWidget(Memo1, 10, 0, 1, 5);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  grid->addLayout(buttons, 11, 0, 1, 5);

  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, [this] { CloseModal(*this, mrCancel); });
  connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }, this));
  connect(ComboBox1, &QComboBox::activated, this,
          Guarded([this] { ComboBox1Click(ComboBox1->currentIndex()); }, this));
  // the line under the zone speaks of the moment and zone it was given for
  for (QLineEdit* edit : {MaskEdit1, MaskEdit2, MaskEdit3, MaskEdit4, MaskEdit7})
    connect(edit, &QLineEdit::textEdited, Label9, &QLabel::hide);
}

TInputDates::~TInputDates() {
  if (gInputDates == this) gInputDates = nullptr;
}

TimeMarks TInputDates::Marks() const { return TimeMarksOf(owner_->UiText); }

void TInputDates::ShowClockReading(ClockReading reading) {
  if (reading == ClockReading::Once) {
    Label9->hide();
    return;
  }
  Label9->setText(owner_->Text(reading == ClockReading::Skipped ? kUiEntryClockSkipped
                                                                : kUiEntryClockRepeated));
  Label9->show();
}

void TInputDates::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // centred on the screen
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

bool TInputDates::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Memo1 || watched == Edit2) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter in the place field searches the town, as the search button
      // does, instead of taking the dialog with the last town's place and
      // zone; the comment is one line, so Enter does not break it. Elsewhere
      // Enter is the dialog's OK.
      if (watched == Edit2) RunGuarded([this] { Button1Click(); }, this);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

DataInputFields TInputDates::Fields() const {
  DataInputFields f;
  f.DayText = MaskedText(*MaskEdit1);
  f.MonthText = MaskedText(*MaskEdit2);
  f.YearText = MaskedText(*MaskEdit3);
  f.BeforeCommonEra = RadioButton7->isChecked();
  f.TimeText = MaskedText(*MaskEdit4);
  f.LatitudeText = MaskedText(*MaskEdit5);
  f.South = RadioButton2->isChecked();
  f.LongitudeText = MaskedText(*MaskEdit6);
  f.West = RadioButton4->isChecked();
  f.ZoneText = MaskedText(*MaskEdit7);
  f.ZoneWest = RadioButton10->isChecked();
  return f;
}

void TInputDates::SetFields(const DataInputFields& f) {
  SetFieldText(*MaskEdit1, f.DayText);
  SetFieldText(*MaskEdit2, f.MonthText);
  SetFieldText(*MaskEdit3, f.YearText);
  (f.BeforeCommonEra ? RadioButton7 : RadioButton8)->setChecked(true);
  SetFieldText(*MaskEdit4, f.TimeText);
  SetFieldText(*MaskEdit5, f.LatitudeText);
  (f.South ? RadioButton2 : RadioButton1)->setChecked(true);
  SetFieldText(*MaskEdit6, f.LongitudeText);
  (f.West ? RadioButton4 : RadioButton3)->setChecked(true);
  SetFieldText(*MaskEdit7, f.ZoneText);
  (f.ZoneWest ? RadioButton10 : RadioButton9)->setChecked(true);
}

void TInputDates::FillFromChart(const ChartRecord& c) {
  SetFields(FieldsOfChartMoment(c.JulianDayUT, c.UniversalTime, c.TimeZone, c.GeoLatitude,
                                c.GeoLongitude, Marks()));
  SetFieldText(*Edit1, c.ChartName);
  SetFieldText(*Edit2, c.PlaceName);
  Memo1->setPlainText(FromCp(c.ChartComment));
  ComboBox1->hide();
  Label9->hide();
}

void TInputDates::Execute() {
  const ChartRecord* chart = SessionChart();
  if (!chart) return;
  FillFromChart(*chart);
  if (ExecModal(*this) == mrOk) ApplyToChart();
}

void TInputDates::BitBtn1Click() {
  // Nothing is taken unless every field reads and every text can be saved:
  // the dialog stays open for the user to mend it.
  QString comment = Memo1->toPlainText();
  comment.replace(QLatin1Char('\n'), QLatin1Char(' '));
  if (RefuseUnwritableText(Edit1->text(), kEntryName, owner_->UiText, this) ||
      RefuseUnwritableText(Edit2->text(), kEntryPlace, owner_->UiText, this) ||
      RefuseUnwritableText(comment, kEntryComment, owner_->UiText, this))
    return;
  DataInputResult result;
  InputRefusal refusal;
  if (!ParseDataInput(Fields(), result, refusal)) {
    ShowErrorMessage(InputRefusalMessage(refusal, owner_->UiText), this);
    return;
  }
  owner_->SetCommandEnabled("N18", false);
  EnteredName = FieldText(*Edit1);
  EnteredPlace = FieldText(*Edit2);
  EnteredComment = Utf8ToCp1251(comment.toStdString());
  Entered = result;
  CloseModal(*this, mrOk);
}

void TInputDates::ApplyToChart() {
  ChartRecord* chart = SessionChart();
  if (!chart) return;
  ChartRecord& c = *chart;
  c.ChartComment = EnteredComment;
  c.JulianDayUT = c.UndoJulianDayUT = Entered.JulianDayUT;
  c.JulianDay0h = c.UndoJulianDay0h = Entered.JulianDay0h;
  c.GeocentricLatitude = Entered.GeocentricLatitude;
  c.GeoLatitude = Entered.GeoLatitude;
  c.GeoLongitude = Entered.GeoLongitude;
  c.UniversalTime = c.UndoUniversalTime = Entered.UniversalTime;
  c.TimeZone = Entered.TimeZone;
  owner_->ResetChartWindowTitle();
  c.ChartName = EnteredName;
  c.PlaceName = EnteredPlace;
  owner_->ChartReplaced();
  owner_->ApplyChartTime();
  owner_->SetPanelText(0, c.ChartName);
  owner_->SetPanelText(1, c.HouseSystemNames[c.HouseSystem]);
}

void TInputDates::ComboBox1Click(int index) {
  if (index < 0 || index >= kZoneAbbreviationCount) return;
  const ZoneField field = ZoneFieldFromAbbreviation(kZoneAbbreviations[index]);
  const TimeMarks marks = Marks();
  (field.West ? RadioButton10 : RadioButton9)->setChecked(true);
  SetFieldText(*MaskEdit7, ZoneFieldText(field, marks.Hour, marks.Minute, marks.Second));
}

// ---- the town search ----------------------------------------------------------------------

TownSearchStatus TInputDates::SearchPlace() {
  ComboBox1->hide();
  const std::string typed = FieldText(*Edit2);
  LastSearch = SearchTowns(TownsFolder(owner_->ProgramFolder), typed);
  if (LastSearch.Status == TownSearchStatus::FileError) ShowErrorMessage(LastSearch.Message, this);
  return LastSearch.Status;
}

void TInputDates::Button1Click() {
  // a name with letters the towns files cannot hold is neither found nor added
  if (RefuseUnwritableText(Edit2->text(), kEntryPlace, owner_->UiText, this)) return;
  const TownSearchStatus status = SearchPlace();
  if (status == TownSearchStatus::NotFound) {
    OfferNewTown(FieldText(*Edit2));
    return;
  }
  if (status != TownSearchStatus::Found) return;
  TTreeBDTable* grid = TTreeBDTable::Instance();
  if (grid == nullptr) return;
  grid->FillTowns(LastSearch.Rows);
  const bool chosen = ExecModal(*grid) == mrOk;
  const int row = grid->SelectedRow;
  grid->ClearGrid();  // the grid goes back empty to the search on disk
  if (chosen) ApplyTown(row);
}

bool TInputDates::ApplyTown(int row) {
  const ChosenTown chosen = ChooseTown(LastSearch, row);
  if (!chosen.Ok) {
    ShowErrorMessage(chosen.Message, this);
    return false;
  }
  // The zone is that of the moment typed in the dialog; it is worked out
  // before anything is filled in, so a fault leaves the dialog as it was.
  LocalDateTime when;
  InputRefusal refusal;
  if (!ParseLocalDateTime(Fields(), when, refusal)) {
    ShowErrorMessage(InputRefusalMessage(refusal, owner_->UiText), this);
    return false;
  }
  const double moment = LocalMoment(when.Day, when.Month, when.Year, when.LocalHours);
  const std::string folder = TownsFolder(owner_->ProgramFolder);
  const TownZone zone = chosen.File == TownFile::Russian
                            ? ZoneOfRegionTownLine(folder, chosen.Line, moment)
                            : ZoneOfForeignTownLine(folder, chosen.Line, moment);
  if (!zone.Ok) {
    ShowErrorMessage(zone.Message, this);
    return false;
  }
  const TownPlaceFields& place = chosen.Fields;
  SetFieldText(*Edit2, place.PlaceName);
  (place.South ? RadioButton2 : RadioButton1)->setChecked(true);
  (place.West ? RadioButton4 : RadioButton3)->setChecked(true);
  SetFieldText(*MaskEdit5, place.LatitudeText);
  SetFieldText(*MaskEdit6, place.LongitudeText);
  const TimeMarks marks = Marks();
  SetFieldText(*MaskEdit7, ZoneFieldText(zone.Field, marks.Hour, marks.Minute, marks.Second));
  (zone.Field.West ? RadioButton10 : RadioButton9)->setChecked(true);
  if (zone.ShowAbbreviations) {
    ComboBox1->setCurrentIndex(zone.Abbreviation);
    ComboBox1->show();
  }
  ShowClockReading(zone.Reading);
  return true;
}

void TInputDates::OfferNewTown(const std::string& name) {
  TWarning* warning = TWarning::Instance();
  TTownDB* townDb = TTownDB::Instance();
  if (!warning || !townDb) return;
  warning->SetMessage(owner_->UiText.Entry(kEntryAddTownQuestion));
  if (ExecModal(*warning) != mrOk) return;
  townDb->AddTown(name);
}
