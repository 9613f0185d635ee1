#include "input/ui/paramcalc.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>

#include "input/ui/maskedfields.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TParamCalc* gParamCalc = nullptr;

// Language-file entries of the dialog.
constexpr int kEntryOk = 259;
constexpr int kEntryHouse = 261;
constexpr int kEntryChange = 309;
constexpr int kEntryYes = 364;
constexpr int kEntryNo = 365;
constexpr int kEntryTimeMask = 342;
constexpr int kEntryRestoreHint = 528;
constexpr int kEntryTopicDeleteHint = 396;
constexpr int kEntryTopicAddHint = 397;
constexpr int kEntryRadioGroup1 = 381;
constexpr int kEntryTermItems = 382;  // 382..386
constexpr int kEntryRadioGroup2 = 387;
constexpr int kEntryRulerItems = 388;                  // 388..389
constexpr int kEntryTopicLabels[3] = {392, 393, 394};  // Label3, Label5, Label6
constexpr int kEntryReceptions = 497;                  // 497..500

// Pages in their designed order with their captions.
enum Page {
  kPageDefault,
  kPageRulers,
  kPageOrbs,
  kPageSaving,
  kPageFonts,
  kPageLocalSpace,
  kPageCharts,
  kPageTerms,
  kPageTopics,
  kPageReceptions,
  kPageCount
};
constexpr int kPageEntries[kPageCount] = {352, 353, 354, 355, 356, 357, 358, 390, 402, 496};

// Captions of radio buttons by number (0: none of the table's).
struct RadioCaption {
  int Number;
  int Entry;
};
constexpr RadioCaption kRadioCaptions[] = {{1, 370},  {2, 371},  {3, 372},  {22, 334},
                                           {23, 335}, {24, 337}, {25, 336}, {26, 337},
                                           {27, 336}, {28, 379}, {29, 380}};
// The Yes/No pairs: first button "Да", second "Нет".
constexpr int kYesNoPairs[][2] = {{12, 13}, {14, 15}, {16, 17}, {18, 19}, {20, 21}};
// PRC1.opt's pairs in their line order.
constexpr int kFilePairs[kParamRadioPairs][2] = {{20, 21}, {12, 13}, {14, 15}, {16, 17}, {18, 19}};

// Masks of the coordinate and house fields, in the language file's notation.
constexpr const char* kLatitudeMask = "99:99:99;1;_";
constexpr const char* kLongitudeMask = "999:99:99;1;_";
constexpr const char* kHouseMask = "99;1;_";

// Limits of the two up-down controls (positions).
constexpr int kOrbScaleMin = 10, kOrbScaleMax = 20, kOrbScaleStart = 15;
constexpr int kDoubleFactorMin = 10, kDoubleFactorStep = 5, kDoubleFactorStart = 25;
constexpr int kDoubleFactorMax = 1000;

const std::string kDegree = "\xB0";  // code page 1251 "°"

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(false);
  return label;
}

QScrollBar* UpDown(QWidget* parent, const char* name, int min, int max, int step, int value) {
  auto* bar = new QScrollBar(Qt::Vertical, parent);
  bar->setObjectName(name);
  bar->setRange(min, max);
  bar->setSingleStep(step);
  bar->setPageStep(step);
  bar->setValue(value);
  bar->setInvertedAppearance(true);  // the upper arrow raises the value
  bar->setFixedSize(16, 24);
  return bar;
}

// A shared setting chosen here, told to the windows that observe the session.
void AnnounceChoice(SessionSetting setting) {
  if (TChartSessionSignals* session = SessionSignals())
    emit session->settingsChanged(static_cast<int>(setting));
}

}  // namespace

TParamCalc* TParamCalc::Instance() { return gParamCalc; }

TParamCalc::TParamCalc(MainWindowPort* owner) : QDialog(WidgetOf(owner)), owner_(owner) {
  gParamCalc = this;
  setObjectName("ParamCalc");
  setModal(true);
  setMinimumSize(960, 440);
  if (QAction* n34 = owner->Item("N34")) setWindowTitle(n34->text());
  BuildPages();
  // The session holds the shared choices and the buttons show them: a choice
  // made on a button, by a click or by code, is in the session at once.
  connect(RadioGroup1Items, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (ChartSession* session = CurrentSession(); session && on)
      session->Settings.TermSystem = TermSystem();
  });
  connect(RadioGroup2Items, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (ChartSession* session = CurrentSession(); session && on)
      session->Settings.SignRulerSet = SignRulerSet();
  });
  connect(RadioButton[28], &QRadioButton::toggled, this, [this](bool) {
    if (ChartSession* session = CurrentSession())
      session->Settings.AzimuthFromEast = AzimuthFromEast();
  });

  // The dialog's files: all must read.
  const std::string& folder = owner->ProgramFolder;
  ParamFile param;
  ParamFileResult r = ReadParamFile(OptionsFilePath(folder, kParamFileName), param);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  std::string databaseFolder;
  r = ReadDatabaseFolderFile(OptionsFilePath(folder, kDatabaseFolderFileName), databaseFolder);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  RulersChoice rulers;
  r = ReadRulersFile(OptionsFilePath(folder, kRulersFileName), rulers);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  ReceptionChoice receptions;
  r = ReadReceptionFile(OptionsFilePath(folder, kReceptionFileName), receptions);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));

  ApplyParamFile(param);
  ShowDirectory(QString::fromStdString(databaseFolder.empty() ? folder : databaseFolder));
  RadioGroup1Items->button(rulers.TermSystem)->setChecked(true);
  RadioGroup2Items->button(rulers.SignRulerSet)->setChecked(true);
  for (int k = 0; k < 4; ++k) CheckBox[k]->setChecked(receptions.KindOn[k] != 0);
  if (ChartSession* session = CurrentSession()) {
    session->Settings.TermSystem = TermSystem();
    session->Settings.SignRulerSet = SignRulerSet();
    session->Settings.AzimuthFromEast = AzimuthFromEast();
  }
  for (int list = 0; list < 3; ++list) {
    Topics[list].TopicsName = kTopicListNames[list][0];
    Topics[list].HousesName = kTopicListNames[list][1];
    ReadTopicListFiles(folder, Topics[list]);
    FillTopicCombo(list);
  }
}

TParamCalc::~TParamCalc() {
  if (gParamCalc == this) gParamCalc = nullptr;
}

TimeMarks TParamCalc::Marks() const { return TimeMarksOf(owner_->UiText); }

DefaultPlace& TParamCalc::Place() {
  ChartSession* session = CurrentSession();
  if (SessionChart()) return session->Outside.Place;
  return ownPlace_;
}

// ---- building -----------------------------------------------------------------------

void TParamCalc::BuildPages() {
  auto* layout = new QVBoxLayout(this);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  layout->addWidget(PageControl1);
  QWidget* pages[kPageCount];
  for (int p = 0; p < kPageCount; ++p) {
    pages[p] = new QWidget(PageControl1);
    pages[p]->setObjectName(QString("TabSheet%1").arg(p + 1));
    // the orbs page is kept out of the tabs: its controls live on, unseen
    if (p == kPageOrbs)
      pages[p]->hide();
    else
      PageControl1->addTab(pages[p], EntryText(kPageEntries[p]));
  }
  BuildRadioButtons();
  BuildDefaultPlacePage(pages[kPageDefault]);
  BuildRulersPage(pages[kPageRulers]);
  BuildOrbsPage(pages[kPageOrbs]);
  BuildSavingPage(pages[kPageSaving]);
  BuildFontsPage(pages[kPageFonts]);
  BuildLocalSpacePage(pages[kPageLocalSpace]);
  BuildChartsPage(pages[kPageCharts]);
  BuildTermsPage(pages[kPageTerms]);
  BuildTopicsPage(pages[kPageTopics]);
  BuildReceptionsPage(pages[kPageReceptions]);

  BitBtn1 = new QPushButton(EntryText(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  layout->addLayout(buttons);
  ConnectHandlers();
}

QString TParamCalc::EntryText(int entry) const { return owner_->Text(entry); }

// The radio buttons of every page, made before the pages that hold them:
// their captions and the pairs that exclude each other.
void TParamCalc::BuildRadioButtons() {
  for (int n = 1; n <= 29; ++n) {
    if (n > 3 && n < 12) continue;  // the designed form has no buttons 4..11
    RadioButton[n] = new QRadioButton(this);
    RadioButton[n]->setObjectName(QString("RadioButton%1").arg(n));
  }
  for (const RadioCaption& c : kRadioCaptions) RadioButton[c.Number]->setText(EntryText(c.Entry));
  for (const auto& pair : kYesNoPairs) {
    RadioButton[pair[0]]->setText(EntryText(kEntryYes));
    RadioButton[pair[1]]->setText(EntryText(kEntryNo));
    Pair(this, RadioButton[pair[0]], RadioButton[pair[1]]);
    RadioButton[pair[0]]->setChecked(true);
  }
  for (const auto& pair :
       {std::pair{22, 23}, std::pair{24, 25}, std::pair{26, 27}, std::pair{28, 29}})
    Pair(this, RadioButton[pair.first], RadioButton[pair.second]);
}

// The default place of a new chart: latitude, longitude and zone, each with
// its pair of buttons.
void TParamCalc::BuildDefaultPlacePage(QWidget* page) {
  MaskEdit5 = MaskedField(page, "MaskEdit5", kLatitudeMask, 96);
  MaskEdit6 = MaskedField(page, "MaskEdit6", kLongitudeMask, 96);
  MaskEdit7 = MaskedField(page, "MaskEdit7", owner_->UiText.Entry(kEntryTimeMask), 96);
  SetFieldText(*MaskEdit5, "55:45:00");
  SetFieldText(*MaskEdit6, "037:35:00");
  SetFieldText(*MaskEdit7, Cp("03ч00м00с"));
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "Label34", EntryText(270)), 0, 0);
  grid->addWidget(MaskEdit5, 0, 1);
  grid->addWidget(RadioButton[22], 0, 2);
  grid->addWidget(RadioButton[23], 0, 3);
  grid->addWidget(Label(page, "Label35", EntryText(269)), 1, 0);
  grid->addWidget(MaskEdit6, 1, 1);
  grid->addWidget(RadioButton[24], 1, 2);
  grid->addWidget(RadioButton[25], 1, 3);
  grid->addWidget(Label(page, "Label36", EntryText(377)), 2, 0);
  grid->addWidget(MaskEdit7, 2, 1);
  grid->addWidget(RadioButton[26], 2, 2);
  grid->addWidget(RadioButton[27], 2, 3);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(4, 1);
  RadioButton[22]->setChecked(true);
  RadioButton[24]->setChecked(true);
  RadioButton[26]->setChecked(true);
}

// The method of house rulers.
void TParamCalc::BuildRulersPage(QWidget* page) {
  auto* box = new QVBoxLayout(page);
  box->addWidget(Label(page, "Label14", EntryText(369)));
  auto* group = new QButtonGroup(this);
  for (int n = 1; n <= 3; ++n) {
    group->addButton(RadioButton[n]);
    box->addWidget(RadioButton[n]);
  }
  RadioButton[2]->setChecked(true);
  box->addStretch();
}

// The orbs: a page the dialog keeps hidden, its controls live on unseen.
void TParamCalc::BuildOrbsPage(QWidget* page) {
  Edit2 = new QLineEdit(page);
  Edit2->setObjectName("Edit2");
  Edit2->setFixedWidth(56);
  Edit3 = new QLineEdit(page);
  Edit3->setObjectName("Edit3");
  Edit3->setFixedWidth(56);
  UpDown1 = UpDown(page, "UpDown1", kOrbScaleMin, kOrbScaleMax, 1, kOrbScaleStart);
  UpDown2 = UpDown(page, "UpDown2", kDoubleFactorMin, kDoubleFactorMax, kDoubleFactorStep,
                   kDoubleFactorStart);
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "Label11", EntryText(366)), 0, 0);
  grid->addWidget(Edit2, 0, 1);
  grid->addWidget(UpDown1, 0, 2);
  grid->addWidget(Label(page, "Label12", EntryText(367)), 1, 0);
  grid->addWidget(Label(page, "Label13", EntryText(368)), 2, 0);
  grid->addWidget(Edit3, 2, 1);
  grid->addWidget(UpDown2, 2, 2);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(3, 1);
}

// Saving: the folder of the chart databases, the saving of settings and the
// factory restore.
void TParamCalc::BuildSavingPage(QWidget* page) {
  EditDirectoryDefault = new QLineEdit(page);
  EditDirectoryDefault->setObjectName("EditDirectoryDefault");
  EditDirectoryDefault->setReadOnly(true);
  DriveComboBox1 = new QComboBox(page);
  DriveComboBox1->setObjectName("DriveComboBox1");
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid() && volume.isReady() && !volume.isReadOnly())
      DriveComboBox1->addItem(volume.rootPath());
  if (DriveComboBox1->findText(QDir::homePath()) < 0) DriveComboBox1->addItem(QDir::homePath());
  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  folders_->setRootPath(QDir::rootPath());
  DirectoryListBox1 = new QTreeView(page);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setModel(folders_);
  DirectoryListBox1->setHeaderHidden(true);
  for (int c = 1; c < folders_->columnCount(); ++c) DirectoryListBox1->hideColumn(c);
  Button1 = new QPushButton(EntryText(kEntryChange), page);
  Button1->setObjectName("Button1");
  Button3 = new QPushButton(EntryText(376), page);
  Button3->setObjectName("Button3");
  Button3->setToolTip(EntryText(kEntryRestoreHint));
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "Label2", EntryText(374)), 0, 0, 1, 3);
  grid->addWidget(EditDirectoryDefault, 1, 0, 1, 2);
  grid->addWidget(Button1, 1, 2);
  grid->addWidget(DriveComboBox1, 2, 0, 1, 3);
  grid->addWidget(DirectoryListBox1, 3, 0, 1, 3);
  auto* save = new QHBoxLayout;
  save->addWidget(Label(page, "Label31", EntryText(375)));
  save->addWidget(RadioButton[20]);
  save->addWidget(RadioButton[21]);
  save->addStretch();
  grid->addLayout(save, 4, 0, 1, 3);
  grid->addWidget(Button3, 5, 0, 1, 3);
  grid->setColumnStretch(0, 1);
}

// The table font.
void TParamCalc::BuildFontsPage(QWidget* page) {
  Button2 = new QPushButton(EntryText(kEntryChange), page);
  Button2->setObjectName("Button2");
  FontSample = Label(page, "FontSample", QString());
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "Label15", EntryText(373)), 0, 0);
  grid->addWidget(FontSample, 1, 0);
  grid->addWidget(Button2, 1, 1);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(0, 1);
}

// The origin of the local-space azimuths.
void TParamCalc::BuildLocalSpacePage(QWidget* page) {
  auto* box = new QVBoxLayout(page);
  box->addWidget(Label(page, "Label37", EntryText(378)));
  box->addWidget(RadioButton[28]);
  box->addWidget(RadioButton[29]);
  box->addStretch();
  RadioButton[29]->setChecked(true);
}

// The American wheel's switches; the double-chart pairs sit on a hidden panel.
void TParamCalc::BuildChartsPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  grid->addWidget(Label(page, "Label17", EntryText(359)), 0, 0, 1, 3);
  grid->addWidget(Label(page, "Label16", EntryText(360)), 1, 0);
  grid->addWidget(RadioButton[12], 1, 1);
  grid->addWidget(RadioButton[13], 1, 2);
  grid->addWidget(Label(page, "Label24", EntryText(361)), 2, 0);
  grid->addWidget(RadioButton[16], 2, 1);
  grid->addWidget(RadioButton[17], 2, 2);
  auto* hidden = new QWidget(page);
  hidden->setObjectName("Panel2");
  auto* hiddenGrid = new QGridLayout(hidden);
  hiddenGrid->addWidget(Label(hidden, "Label18", EntryText(362)), 0, 0);
  hiddenGrid->addWidget(Label(hidden, "Label19", EntryText(363)), 1, 0);
  hiddenGrid->addWidget(RadioButton[14], 1, 1);
  hiddenGrid->addWidget(RadioButton[15], 1, 2);
  hiddenGrid->addWidget(Label(hidden, "Label29", EntryText(362)), 2, 0);
  hiddenGrid->addWidget(Label(hidden, "Label30", EntryText(363)), 3, 0);
  hiddenGrid->addWidget(RadioButton[18], 3, 1);
  hiddenGrid->addWidget(RadioButton[19], 3, 2);
  hidden->hide();
  grid->addWidget(hidden, 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(3, 1);
}

// The term system and the set of sign rulers.
void TParamCalc::BuildTermsPage(QWidget* page) {
  auto* box = new QHBoxLayout(page);
  auto group = [&](const char* name, int caption, int firstItem, int items, QGroupBox*& out) {
    out = new QGroupBox(EntryText(caption), page);
    out->setObjectName(name);
    auto* buttons = new QButtonGroup(this);
    auto* v = new QVBoxLayout(out);
    for (int i = 0; i < items; ++i) {
      auto* item = new QRadioButton(EntryText(firstItem + i), out);
      item->setObjectName(QString("%1Item%2").arg(name).arg(i));
      buttons->addButton(item, i);
      v->addWidget(item);
    }
    v->addStretch();
    buttons->button(0)->setChecked(true);
    box->addWidget(out);
    return buttons;
  };
  RadioGroup1Items =
      group("RadioGroup1", kEntryRadioGroup1, kEntryTermItems, kTermSystemCount, RadioGroup1);
  RadioGroup2Items =
      group("RadioGroup2", kEntryRadioGroup2, kEntryRulerItems, kSignRulerSetCount, RadioGroup2);
}

// The three topic lists of the house-choice windows.
void TParamCalc::BuildTopicsPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  const char* editNames[3] = {"Edit1", "Edit4", "Edit5"};
  const char* maskNames[3] = {"MaskEdit1", "MaskEdit2", "MaskEdit3"};
  const char* comboNames[3] = {"ComboBox1", "ComboBox2", "ComboBox3"};
  const char* addNames[3] = {"SpeedButton1", "SpeedButton4", "SpeedButton6"};
  const char* deleteNames[3] = {"SpeedButton2", "SpeedButton3", "SpeedButton5"};
  const char* labelNames[3] = {"Label3", "Label5", "Label6"};
  for (int list = 0; list < 3; ++list) {
    const int row = 3 * list;
    grid->addWidget(Label(page, labelNames[list], EntryText(kEntryTopicLabels[list])), row, 0, 1,
                    4);
    TopicCombo[list] = new QComboBox(page);
    TopicCombo[list]->setObjectName(comboNames[list]);
    TopicCombo[list]->setMinimumWidth(320);
    TopicDelete[list] = new QToolButton(page);
    TopicDelete[list]->setObjectName(deleteNames[list]);
    TopicDelete[list]->setText(QStringLiteral("\u2212"));
    TopicDelete[list]->setToolTip(EntryText(kEntryTopicDeleteHint));
    grid->addWidget(TopicCombo[list], row + 1, 0, 1, 3);
    grid->addWidget(TopicDelete[list], row + 1, 3);
    TopicEdit[list] = new QLineEdit(page);
    TopicEdit[list]->setObjectName(editNames[list]);
    TopicHouse[list] = MaskedField(page, maskNames[list], kHouseMask, 40);
    TopicAdd[list] = new QToolButton(page);
    TopicAdd[list]->setObjectName(addNames[list]);
    TopicAdd[list]->setText(QStringLiteral("+"));
    TopicAdd[list]->setToolTip(EntryText(kEntryTopicAddHint));
    grid->addWidget(TopicEdit[list], row + 2, 0);
    grid->addWidget(Label(page, "LabelHouse", EntryText(kEntryHouse)), row + 2, 1);
    grid->addWidget(TopicHouse[list], row + 2, 2);
    grid->addWidget(TopicAdd[list], row + 2, 3);
  }
  grid->setRowStretch(9, 1);
  grid->setColumnStretch(0, 1);
}

// The kinds of reception.
void TParamCalc::BuildReceptionsPage(QWidget* page) {
  auto* box = new QVBoxLayout(page);
  for (int k = 0; k < 4; ++k) {
    CheckBox[k] = new QCheckBox(EntryText(kEntryReceptions + k), page);
    CheckBox[k]->setObjectName(QString("CheckBox%1").arg(k + 1));
    box->addWidget(CheckBox[k]);
  }
  box->addStretch();
}

// Handlers for user actions only.
void TParamCalc::ConnectHandlers() {
  connect(BitBtn1, &QPushButton::clicked, this,
          Guarded(
              [this] {
                if (BitBtn1Click()) CloseModal(*this, mrOk);
              },
              this));
  for (int n = 1; n <= 3; ++n)
    connect(RadioButton[n], &QRadioButton::clicked, this,
            Guarded([this, n] { HouseRulerClick(n - 1); }, this));
  for (int k = 0; k < 4; ++k)
    connect(CheckBox[k], &QCheckBox::clicked, this, Guarded([this] { CheckBoxClick(); }, this));
  connect(RadioGroup1Items, &QButtonGroup::idClicked, this,
          Guarded([this] { RadioGroup1Click(); }, this));
  connect(RadioGroup2Items, &QButtonGroup::idClicked, this,
          Guarded([this] { RadioGroup2Click(); }, this));
  connect(RadioButton[20], &QRadioButton::clicked, this,
          Guarded([this] { RadioButton20Click(); }, this));
  connect(RadioButton[21], &QRadioButton::clicked, this,
          Guarded([this] { RadioButton21Click(); }, this));
  connect(DriveComboBox1, &QComboBox::activated, this,
          Guarded([this] { DriveComboBox1Change(); }, this));
  connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }, this));
  connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }, this));
  connect(Button3, &QPushButton::clicked, this, Guarded([this] { Button3Click(); }, this));
  connect(UpDown1, &QScrollBar::actionTriggered, this, [this](int a) { UpDown1Click(a); });
  connect(UpDown2, &QScrollBar::actionTriggered, this, [this](int a) { UpDown2Click(a); });
  for (int list = 0; list < 3; ++list) {
    connect(TopicAdd[list], &QToolButton::clicked, this,
            Guarded([this, list] { TopicAddClick(list); }, this));
    connect(TopicDelete[list], &QToolButton::clicked, this,
            Guarded([this, list] { TopicDeleteClick(list); }, this));
  }
}

void TParamCalc::ApplyParamFile(const ParamFile& file) {
  ParamFlag976 = file.ParamFlag976;
  TableFontName = file.TableFontName;
  DoubleChartOrbFactor = file.DoubleChartOrbFactor;
  for (int p = 0; p < kParamRadioPairs; ++p) {
    // the first button unless only the second is marked
    const bool first = file.Pairs[p][0] != 0 || file.Pairs[p][1] == 0;
    RadioButton[kFilePairs[p][first ? 0 : 1]]->setChecked(true);
  }
  FontSample->setText(FromCp(TableFontName));
  FontSample->setFont(QFont(FromCp(TableFontName)));
}

void TParamCalc::FillTopicCombo(int list) {
  QComboBox* combo = TopicCombo[list];
  combo->clear();
  for (const std::string& topic : Topics[list].Topics) combo->addItem(FromCp(topic));
  combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
}

void TParamCalc::ShowDirectory(const QString& folder) {
  EditDirectoryDefault->setText(folder);
  const QModelIndex index = folders_->index(folder);
  if (index.isValid()) {
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->scrollTo(index);
  }
}

// ---- what other windows read ----------------------------------------------------------

int TParamCalc::TermSystem() const {
  return ClampChoice(RadioGroup1Items->checkedId(), kTermSystemCount);
}
int TParamCalc::SignRulerSet() const {
  return ClampChoice(RadioGroup2Items->checkedId(), kSignRulerSetCount);
}
ReceptionParams TParamCalc::Receptions() const {
  ReceptionParams p;
  for (int k = 0; k < 4; ++k) p.KindOn[k] = CheckBox[k]->isChecked();
  return p;
}
bool TParamCalc::AmericanDegreeLabels() const { return RadioButton[12]->isChecked(); }
bool TParamCalc::AmericanAspectLines() const { return RadioButton[16]->isChecked(); }
bool TParamCalc::AzimuthFromEast() const { return RadioButton[28]->isChecked(); }

void TParamCalc::SetSignRulerSet(int set) {
  RadioGroup2Items->button(ClampChoice(set, kSignRulerSetCount))->setChecked(true);
}

void TParamCalc::SetHouseRulerMethod(int method) {
  if (method >= 0 && method <= 2) RadioButton[method + 1]->setChecked(true);
}

// ---- showing and applying ----------------------------------------------------------------

void TParamCalc::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TParamCalc::FormShow() {
  const std::string& folder = owner_->ProgramFolder;
  std::string databaseFolder;
  ReadDatabaseFolderFile(OptionsFilePath(folder, kDatabaseFolderFileName), databaseFolder);
  DatabaseFolder = databaseFolder.empty() ? folder : databaseFolder;
  ShowDirectory(QString::fromStdString(DatabaseFolder));

  if (const ChartRecord* chart = SessionChart()) {
    Edit2->setText(FromCp(ShortNumberText(chart->OrbScale[2])));
    UpDown1->setValue(static_cast<int>(std::lround(chart->OrbScale[2] * 10)));
    SetHouseRulerMethod(chart->HouseRulerMethod);
  }
  Edit3->setText(FromCp(ShortNumberText(DoubleChartOrbFactor) + kDegree));
  (owner_->SaveSettingsDuringWork ? RadioButton[20] : RadioButton[21])->setChecked(true);
  Button3->setEnabled(owner_->SaveSettingsDuringWork == 0);

  const DefaultPlaceFields f = FieldsOfDefaultPlace(Place(), Marks());
  SetFieldText(*MaskEdit7, f.ZoneText);
  RadioButton[f.ZoneWest ? 27 : 26]->setChecked(true);
  SetFieldText(*MaskEdit5, f.LatitudeText);
  RadioButton[f.South ? 23 : 22]->setChecked(true);
  SetFieldText(*MaskEdit6, f.LongitudeText);
  RadioButton[f.West ? 25 : 24]->setChecked(true);
}

// Everything is read first; nothing is applied when a field is refused.
bool TParamCalc::BitBtn1Click() {
  float orbScale = 0, doubleFactor = 0;
  if (!ParseOrbScaleText(Utf8ToCp1251(Edit2->text().toStdString()), orbScale) ||
      !ParseOrbScaleText(WithoutDegreeSign(Utf8ToCp1251(Edit3->text().toStdString())),
                         doubleFactor)) {
    ShowMessage(owner_->UiText.Entry(kUiEntryOrbScaleRefused) + " " + FieldText(*Edit2) + " / " +
                    FieldText(*Edit3),
                this);
    return false;
  }
  DefaultPlaceFields f;
  f.LatitudeText = MaskedText(*MaskEdit5);
  f.South = RadioButton[23]->isChecked();
  f.LongitudeText = MaskedText(*MaskEdit6);
  f.West = RadioButton[25]->isChecked();
  f.ZoneText = MaskedText(*MaskEdit7);
  f.ZoneWest = RadioButton[27]->isChecked();
  DefaultPlace place;
  std::string message;
  if (!ParseDefaultPlace(f, place, message)) throw PlatformError(message);

  DatabaseFolder = EditDirectoryDefault->text().toStdString();
  if (ChartRecord* chart = SessionChart()) {
    chart->OrbScale[1] = 1.0f / orbScale;
    chart->OrbScale[2] = orbScale;
  }
  DoubleChartOrbFactor = doubleFactor;
  Place() = place;
  owner_->RedrawChart();
  return true;
}

void TParamCalc::done(int result) {
  RunGuarded([this] { FormClose(); }, this);
  QDialog::done(result);
}

// The parameters' own files are written whenever the dialog closes; PRC1.opt
// too, so the table font and the wheel's switches chosen here are there at
// the next start.
void TParamCalc::FormClose() {
  const std::string& folder = owner_->ProgramFolder;
  RulersChoice rulers{TermSystem(), SignRulerSet()};
  ReceptionChoice receptions;
  for (int k = 0; k < 4; ++k) receptions.KindOn[k] = CheckBox[k]->isChecked() ? 1 : 0;
  ParamFile param;
  param.ParamFlag976 = ParamFlag976;
  param.TableFontName = TableFontName;
  param.DoubleChartOrbFactor = DoubleChartOrbFactor;
  for (int p = 0; p < kParamRadioPairs; ++p)
    for (int b = 0; b < 2; ++b)
      param.Pairs[p][b] = RadioButton[kFilePairs[p][b]]->isChecked() ? 1 : 0;
  for (const ParamFileResult& r :
       {WriteRulersFile(OptionsFilePath(folder, kRulersFileName), rulers),
        WriteReceptionFile(OptionsFilePath(folder, kReceptionFileName), receptions),
        WriteParamFile(OptionsFilePath(folder, kParamFileName), param)})
    if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
}

// ---- immediate handlers ----------------------------------------------------------------

// The significators were chosen by the house rulers: another method, term
// system or ruler set proposes them anew (and closes the completion
// results); the open dignities follow the term system and the ruler set.
// The windows concerned observe the session's settingsChanged.

void TParamCalc::HouseRulerClick(int method) {
  if (ChartRecord* chart = SessionChart()) chart->HouseRulerMethod = method;
  // the house rulers and the Arabic parts that count from them follow
  owner_->RecalcChart();
  AnnounceChoice(SessionSetting::HouseRulerMethod);
}

// The receptions are searched by the recomputation: a kind switched on or
// off is in the chart at once, and on the wheel at its next drawing.
void TParamCalc::CheckBoxClick() { owner_->RecalcChart(); }

void TParamCalc::RadioGroup1Click() { AnnounceChoice(SessionSetting::TermSystem); }

void TParamCalc::RadioGroup2Click() {
  AnnounceChoice(SessionSetting::SignRulerSet);
  ChartRecord* chart = SessionChart();
  QAction* n43 = owner_->Item("N43");
  if (chart && n43 && n43->isVisible()) {
    // the higher planets take part in the aspects with their rulership
    if (SignRulerSet() == 1)
      for (int o = 7; o <= 11; ++o) chart->ObjectAspected[o] = 1;
    else
      for (int o = 7; o <= 13; ++o) chart->ObjectAspected[o] = 0;
    owner_->RecalcChart();
    owner_->RedrawChart();
  }
}

void TParamCalc::RadioButton20Click() {
  owner_->SaveSettingsDuringWork = 1;
  Button3->setEnabled(false);
}

void TParamCalc::RadioButton21Click() {
  owner_->SaveSettingsDuringWork = 0;
  Button3->setEnabled(true);
}

void TParamCalc::DriveComboBox1Change() {
  const QString root = DriveComboBox1->currentText();
  const QModelIndex index = folders_->index(root);
  if (!index.isValid()) return;
  DirectoryListBox1->setCurrentIndex(index);
  DirectoryListBox1->expand(index);
  DirectoryListBox1->scrollTo(index);
}

void TParamCalc::Button1Click() {
  const QModelIndex index = DirectoryListBox1->currentIndex();
  if (!index.isValid()) return;
  const std::string chosen = folders_->filePath(index).toStdString();
  const ParamFileResult r = WriteDatabaseFolderFile(
      OptionsFilePath(owner_->ProgramFolder, kDatabaseFolderFileName), chosen);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  EditDirectoryDefault->setText(QString::fromStdString(chosen));
}

void TParamCalc::Button2Click() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, QFont(FromCp(TableFontName)), this);
  if (!ok) return;
  TableFontName = Utf8ToCp1251(font.family().toStdString());
  FontSample->setText(FromCp(TableFontName));
  FontSample->setFont(QFont(FromCp(TableFontName)));
}

void TParamCalc::UpDown1Click(int) {
  // the bar has already moved within its range
  Edit2->setText(FromCp(ShortNumberText(UpDown1->sliderPosition() * 0.1)));
}

void TParamCalc::UpDown2Click(int) {
  Edit3->setText(FromCp(ShortNumberText(UpDown2->sliderPosition() * 0.01) + kDegree));
}

void TParamCalc::Button3Click() {
  if (!RestoreFactory()) return;
  if (TWarning* warning = TWarning::Instance()) {
    warning->SetMessage(owner_->UiText.Entry(kEntryRestoreDone));
    ExecModal(*warning);
  } else {
    ShowMessage(owner_->UiText.Entry(kEntryRestoreDone), this);
  }
}

bool TParamCalc::RestoreFactory() {
  const std::string& folder = owner_->ProgramFolder;
  const FactoryRestoreResult restore = RestoreFactorySettings(folder);
  if (!restore.Ok) {
    ShowMessage(owner_->UiText.Entry(kUiEntryRestoreRefused) + " " + Utf8ToCp1251(restore.Detail),
                this);
    return false;
  }
  // the restored files are the settings in use from now on
  ParamFile param;
  ParamFileResult r = ReadParamFile(OptionsFilePath(folder, kParamFileName), param);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  ApplyParamFile(param);
  if (SessionChart()) {
    SettingsReadResult chartRead = owner_->ReloadChartSettings();
    if (!chartRead.Ok) throw PlatformError(Utf8ToCp1251(chartRead.Message));
    owner_->RecalcChart();
    owner_->RedrawChart();
  }
  FormShow();
  return true;
}

// ---- topics -------------------------------------------------------------------------------

void TParamCalc::TopicAddClick(int list) {
  int house = 0;
  const int refusal =
      CheckNewTopic(FieldText(*TopicEdit[list]), MaskedText(*TopicHouse[list]), house);
  if (refusal != 0) {
    ShowMessage(owner_->UiText.Entry(refusal), this);
    return;
  }
  TopicListFiles changed = Topics[list];
  AddTopic(changed, FieldText(*TopicEdit[list]), house);
  const ParamFileResult r = SaveTopicListFiles(owner_->ProgramFolder, changed);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  Topics[list] = std::move(changed);
  FillTopicCombo(list);
  ReloadHouseWindowLists(list);
}

void TParamCalc::TopicDeleteClick(int list) {
  const int index = TopicCombo[list]->currentIndex();
  if (index < 0) return;  // nothing chosen: nothing to delete
  if (list == 0 && index == 0) {
    ShowMessage(owner_->UiText.Entry(kEntryTopicFirstKept), this);
    return;
  }
  TWarning* warning = TWarning::Instance();
  if (warning) {
    warning->SetMessage(owner_->UiText.Entry(kEntryTopicDeleteAsk));
    if (ExecModal(*warning) != mrOk) return;
  }
  TopicListFiles changed = Topics[list];
  if (!RemoveTopic(changed, index)) return;
  const ParamFileResult r = SaveTopicListFiles(owner_->ProgramFolder, changed);
  if (!r.Ok) throw PlatformError(Utf8ToCp1251(r.Message));
  Topics[list] = std::move(changed);
  FillTopicCombo(list);
  ReloadHouseWindowLists(list);
}

// The house-choice window of the list reads the saved lists again and starts
// from their first entries.
void TParamCalc::ReloadHouseWindowLists(int list) { owner_->ReloadTopicLists(list); }
