#include "judgement/ui/housewindows.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "chart/chartrecord.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

TCverent* gCverent = nullptr;
TCvesit* gCvesit = nullptr;
TCommentary* gCommentary = nullptr;

// Interface-string entries of the house windows.
constexpr int kEntryQuerentCaption = 472;   // caption of N56
constexpr int kEntryQuesitedCaption = 473;  // caption of N57
constexpr int kEntryWhoAsks = 533;
constexpr int kEntryHouse = 261;
constexpr int kEntryWhatAbout = 394;
constexpr int kEntryCommentaryCaption = 340;
constexpr int kEntryOk = 259;
constexpr int kEntryQuerentHelpHint = 474;
constexpr int kEntryQuesitedHelpHint = 475;
constexpr int kEntryNoHouseChosen = 512;

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

QComboBox* NewCombo(QWidget* parent, const char* name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setPlaceholderText(QString::fromLatin1(kDashText));
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(36);
  return combo;
}

void FillCombo(QComboBox& combo, const LineList& items) {
  combo.clear();
  for (const std::string& item : items) combo.addItem(FromCp(item));
}

LineList ComboItems(const QComboBox& combo) {
  LineList items;
  for (int i = 0; i < combo.count(); ++i)
    items.push_back(Utf8ToCp1251(combo.itemText(i).toStdString()));
  return items;
}

// Nothing chosen: the dash text shows.
void ClearChoice(QComboBox& combo) { combo.setCurrentIndex(-1); }

// A topic list read at start: a file that cannot be read is reported once
// and its combo box stays empty.
TopicList ReadReported(const std::string& topics, const std::string& houses, QWidget* parent) {
  TopicList list = ReadTopicList(MainWindow()->ProgramFolder, topics, houses);
  if (!list.Ok) ShowErrorMessage(list.Message, parent);
  return list;
}

// Writes a list whole; a file that cannot be written is reported.
bool WriteReported(const std::string& name, const LineList& lines, QWidget* parent) {
  const std::string path = OptionsPath(MainWindow()->ProgramFolder, name);
  std::string error;
  if (WriteLinesAtomic(path, lines, &error)) return true;
  ShowErrorMessage(error, parent);
  return false;
}

// The house offset of a topic, or a message naming the file and line when
// its house list holds none.
bool TopicHouseReported(const TopicList& list, int index, const char* houseFile, int& house,
                        QWidget* parent) {
  std::optional<int> value = TopicHouse(list, index);
  if (value) {
    house = *value;
    return true;
  }
  ShowMessage(
      JudgementEntry(kEntryNoHouseForTopic) + " " + houseFile + ", " + std::to_string(index + 1),
      parent);
  return false;
}

void CloseRadical() {
  if (MainWindowPort* form = MainWindow()) form->CloseRadicality();
}

void ResetSignificators() {
  if (TSignificators* significators = TSignificators::Instance())
    significators->ResetSignificators();
}

void ShowSignificators() {
  if (TSignificators* significators = TSignificators::Instance()) significators->Execute();
}

// The lower part both house windows share: "Дом" with the twelve houses,
// then "Подробнее" and close at the right.
void AddHouseRowAndButtons(QWidget& window, QVBoxLayout& layout, QLabel*& label2,
                           QComboBox*& houses, QPushButton*& more, QPushButton*& close) {
  auto* houseRow = new QHBoxLayout;
  label2 = new QLabel(JudgementText(kEntryHouse), &window);
  label2->setObjectName("Label2");
  houses->setMinimumContentsLength(12);
  houseRow->addWidget(label2);
  houseRow->addWidget(houses, 1);
  auto* buttons = new QHBoxLayout;
  more = JudgementButton(&window, "BitBtn2", kEntryMoreButton);
  close = JudgementButton(&window, "BitBtn1", kEntryCloseButton);
  buttons->addStretch();
  buttons->addWidget(more);
  buttons->addWidget(close);
  layout.addLayout(houseRow);
  layout.addLayout(buttons);
}

// Activation of a house window hides the radicality window's detailed texts.
void HideRadicalityDetails() {
  if (MainWindowPort* form = MainWindow()) form->HideRadicalityDetails();
}

void StayOnTopTool(QWidget& window) {
  MakeStayOnTopToolWindow(window);
  window.setAttribute(Qt::WA_QuitOnClose, false);
}

}  // namespace

void FillHouseCombo(QComboBox& combo, int selected) {
  combo.clear();
  const ChartRecord* chart = CurrentChart();
  for (int h = 0; h < kHouseCount; ++h)
    combo.addItem(chart ? FromCp(chart->ObjectNames[kBodyCount + h + 1]) : QString::number(h + 1));
  combo.setCurrentIndex(selected);
}

// ---- TCverent ------------------------------------------------------------

TCverent::TCverent(QWidget* parent) : QWidget(parent) {
  gCverent = this;
  setObjectName("Cverent");
  setWindowTitle(JudgementText(kEntryQuerentCaption));
  StayOnTopTool(*this);

  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(JudgementText(kEntryWhoAsks), this);
  Label1->setObjectName("Label1");
  ComboBox1 = NewCombo(this, "ComboBox1");
  ComboBox2 = NewCombo(this, "ComboBox2");
  ComboBox3 = NewCombo(this, "ComboBox3");
  ComboBox4 = NewCombo(this, "ComboBox4");
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addWidget(ComboBox2);
  layout->addWidget(ComboBox3);
  AddHouseRowAndButtons(*this, *layout, Label2, ComboBox4, BitBtn2, BitBtn1);

  connect(ComboBox1, &QComboBox::activated, this, Guarded([this] { ComboBox1Change(); }, this));
  connect(ComboBox2, &QComboBox::activated, this, Guarded([this] { ComboBox2Change(); }, this));
  connect(ComboBox3, &QComboBox::activated, this, Guarded([this] { ComboBox3Change(); }, this));
  connect(ComboBox4, &QComboBox::activated, this, Guarded([this] { ComboBox4Change(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
  // the "who asks" choice, chosen or shown by code, is the session's: the
  // radicality reads it there
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
    if (ChartSession* session = CurrentSession()) session->AsksForHimself = AsksForHimself();
  });

  LoadQuerentLists();
  adjustSize();
}

TCverent::~TCverent() {
  if (gCverent == this) gCverent = nullptr;
}

TCverent* TCverent::Instance() { return gCverent; }

void TCverent::LoadQuerentLists() {
  CategoryHouse = 0;
  SubCategoryHouse = 0;
  const TextLines who = ReadOptionsText(MainWindow()->ProgramFolder, kWhoAsksTopics);
  if (!who.Ok) ShowErrorMessage(who.Message, this);
  FillCombo(*ComboBox1, who.Lines);
  QuerentHouses2 = ReadReported(kQuerentCategoryTopics, kQuerentCategoryHouses, this);
  QuerentHouses3 = ReadReported(kQuerentSubCategoryTopics, kQuerentSubCategoryHouses, this);
  FillCombo(*ComboBox2, QuerentHouses2.Topics);
  FillCombo(*ComboBox3, QuerentHouses3.Topics);
  ComboBox1->setCurrentIndex(ComboBox1->count() ? 0 : -1);
  ComboBox2->setCurrentIndex(ComboBox2->count() ? 0 : -1);
  ClearChoice(*ComboBox3);
  ComboBox3->setEnabled(false);
  const ChartRecord* chart = CurrentChart();
  FillHouseCombo(*ComboBox4, chart ? chart->QuerentHouse : 0);
}

bool TCverent::SaveQuerentLists() {
  QuerentHouses2.Topics = ComboItems(*ComboBox2);
  QuerentHouses3.Topics = ComboItems(*ComboBox3);
  return WriteReported(kWhoAsksTopics, ComboItems(*ComboBox1), this) &&
         WriteReported(kQuerentCategoryTopics, QuerentHouses2.Topics, this) &&
         WriteReported(kQuerentSubCategoryTopics, QuerentHouses3.Topics, this) &&
         WriteReported(kQuerentCategoryHouses, QuerentHouses2.Houses, this) &&
         WriteReported(kQuerentSubCategoryHouses, QuerentHouses3.Houses, this);
}

bool TCverent::AsksForHimself() const { return ComboBox1->currentIndex() == 0; }

int TCverent::WhoAsks() const { return ComboBox1->currentIndex(); }

void TCverent::ShowQuerentHouse(int whoAsks) {
  ComboBox1->setCurrentIndex(whoAsks >= 0 && whoAsks < ComboBox1->count() ? whoAsks : -1);
  ClearChoice(*ComboBox2);
  ClearChoice(*ComboBox3);
  ComboBox3->setEnabled(false);
  CategoryHouse = SubCategoryHouse = 0;
  if (const ChartRecord* chart = CurrentChart())
    ComboBox4->setCurrentIndex(ReduceHouse(chart->QuerentHouse));
}

void TCverent::ComboBox1Change() { CloseRadical(); }

void TCverent::ComboBox2Change() {
  const int index = ComboBox2->currentIndex();
  if (index < 0) return;
  int house = 0;
  if (!TopicHouseReported(QuerentHouses2, index, kQuerentCategoryHouses, house, this)) return;
  CategoryHouse = house;
  ComboBox3->setEnabled(true);
  ComboBox3->setCurrentIndex(ComboBox3->count() ? 0 : -1);
  SubCategoryHouse = 0;
  ApplyQuerentHouse(ReduceHouse(CategoryHouse));
}

void TCverent::ComboBox3Change() {
  const int index = ComboBox3->currentIndex();
  if (index < 0) return;
  int house = 0;
  if (!TopicHouseReported(QuerentHouses3, index, kQuerentSubCategoryHouses, house, this)) return;
  SubCategoryHouse = house;
  ApplyQuerentHouse(DerivedHouse(CategoryHouse, SubCategoryHouse));
}

void TCverent::ComboBox4Change() {
  const int index = ComboBox4->currentIndex();
  if (index < 0) return;
  ClearChoice(*ComboBox3);
  ComboBox3->setEnabled(false);
  ClearChoice(*ComboBox2);
  ApplyQuerentHouse(index);
}

void TCverent::ApplyQuerentHouse(int house) {
  ComboBox4->setCurrentIndex(house);
  ChartRecord* chart = CurrentChart();
  if (chart) chart->QuerentHouse = house;
  // The quesited's house is counted from the querent's and keeps its number;
  // its window shows it, with no topic chosen.
  if (TCvesit* cvesit = TCvesit::Instance()) cvesit->ShowQuesitedHouse();
  if (MainWindowPort* form = MainWindow(); chart && form) {
    form->RecalcChart();
    form->RedrawChart();
  }
  ResetSignificators();
  CloseRadical();
}

void TCverent::BitBtn1Click() { close(); }

void TCverent::BitBtn2Click() {
  if (TCommentary* commentary = TCommentary::Instance()) commentary->ShowHelp(false);
}

void TCverent::FormActivate() { HideRadicalityDetails(); }

void TCverent::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// ---- TCvesit -------------------------------------------------------------

TCvesit::TCvesit(QWidget* parent) : QWidget(parent) {
  gCvesit = this;
  setObjectName("Cvesit");
  setWindowTitle(JudgementText(kEntryQuesitedCaption));
  StayOnTopTool(*this);

  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(JudgementText(kEntryWhatAbout), this);
  Label1->setObjectName("Label1");
  ComboBox1 = NewCombo(this, "ComboBox1");
  ComboBox1->setMaxVisibleItems(24);
  ComboBox3 = NewCombo(this, "ComboBox3");
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  AddHouseRowAndButtons(*this, *layout, Label2, ComboBox3, BitBtn2, BitBtn1);

  connect(ComboBox1, &QComboBox::activated, this, Guarded([this] { ComboBox1Change(); }, this));
  connect(ComboBox3, &QComboBox::activated, this, Guarded([this] { ComboBox3Change(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));

  LoadQuesitedLists();
  adjustSize();
}

TCvesit::~TCvesit() {
  if (gCvesit == this) gCvesit = nullptr;
}

TCvesit* TCvesit::Instance() { return gCvesit; }

void TCvesit::LoadQuesitedLists() {
  QuesitedHouses = ReadReported(kQuesitedTopics, kQuesitedHouses, this);
  FillCombo(*ComboBox1, QuesitedHouses.Topics);
  ClearChoice(*ComboBox1);
  const ChartRecord* chart = CurrentChart();
  FillHouseCombo(*ComboBox3, chart ? chart->QuesitedHouse : 0);
}

bool TCvesit::SaveQuesitedLists() {
  QuesitedHouses.Topics = ComboItems(*ComboBox1);
  return WriteReported(kQuesitedTopics, QuesitedHouses.Topics, this) &&
         WriteReported(kQuesitedHouses, QuesitedHouses.Houses, this);
}

void TCvesit::ShowQuesitedHouse() {
  ClearChoice(*ComboBox1);
  if (const ChartRecord* chart = CurrentChart())
    ComboBox3->setCurrentIndex(ReduceHouse(chart->QuesitedHouse));
}

void TCvesit::SetQuesitedHouse(int house) {
  house = ReduceHouse(house);
  if (ChartRecord* chart = CurrentChart()) chart->QuesitedHouse = house;
  ComboBox3->setCurrentIndex(house);
  CloseRadical();
  ResetSignificators();
  ShowSignificators();
}

void TCvesit::ComboBox1Change() {
  const int index = ComboBox1->currentIndex();
  if (index < 0) return;
  int house = 0;
  if (!TopicHouseReported(QuesitedHouses, index, kQuesitedHouses, house, this)) return;
  // a house outside 0..11 in the list is taken by its remainder, as the
  // querent's side takes its offsets
  SetQuesitedHouse(house);
}

void TCvesit::ComboBox3Change() {
  const int index = ComboBox3->currentIndex();
  if (index < 0) return;
  ClearChoice(*ComboBox1);
  SetQuesitedHouse(index);
}

void TCvesit::BitBtn1Click() { close(); }

void TCvesit::BitBtn2Click() {
  if (TCommentary* commentary = TCommentary::Instance()) commentary->ShowHelp(true);
}

void TCvesit::FormActivate() { HideRadicalityDetails(); }

void TCvesit::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// ---- TCommentary ---------------------------------------------------------

TCommentary::TCommentary(QWidget* parent) : QWidget(parent) {
  gCommentary = this;
  setObjectName("Commentary");
  setWindowTitle(JudgementText(kEntryCommentaryCaption));
  StayOnTopTool(*this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setReadOnly(true);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(RichEdit1, 1);
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  auto* panel = new QHBoxLayout(Panel1);
  BitBtn1 = JudgementButton(Panel1, "BitBtn1", kEntryCloseButton);
  ComboBox1 = NewCombo(Panel1, "ComboBox1");
  ComboBox1->setMinimumContentsLength(14);
  ComboBox1->setPlaceholderText(JudgementText(kEntryNoHouseChosen));
  for (int n = 1; n <= kHouseCount; ++n)
    ComboBox1->addItem(QString::number(n) + QLatin1Char(' ') + JudgementText(kEntryHouse));
  ClearChoice(*ComboBox1);
  BitBtn2 = JudgementButton(Panel1, "BitBtn2", kEntryOk);
  panel->addWidget(BitBtn1);
  panel->addStretch();
  panel->addWidget(ComboBox1);
  panel->addWidget(BitBtn2);
  layout->addWidget(Panel1);
  resize(560, 460);

  connect(ComboBox1, &QComboBox::activated, this, Guarded([this] { ComboBox1Change(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
}

TCommentary::~TCommentary() {
  if (gCommentary == this) gCommentary = nullptr;
}

TCommentary* TCommentary::Instance() { return gCommentary; }

bool TCommentary::LoadText(const std::string& name) {
  const TextLines text = ReadOptionsText(MainWindow()->ProgramFolder, name);
  if (!text.Ok) {
    ShowErrorMessage(text.Message, this);
    return false;
  }
  SetPaneLines(*RichEdit1, text.Lines);
  return true;
}

void TCommentary::ShowHelp(bool quesitedMode) {
  LoadText(quesitedMode ? kQuesitedHelpText : kQuerentHelpText);
  if (quesitedMode) {
    ComboBox1->setEnabled(true);
    Panel1->setToolTip(JudgementText(kEntryQuesitedHelpHint));
    ClearChoice(*ComboBox1);
    BitBtn2->setVisible(true);
  } else {
    Panel1->setToolTip(JudgementText(kEntryQuerentHelpHint));
    ComboBox1->setEnabled(false);
    BitBtn2->setVisible(false);
  }
  ApplyTableFont(*RichEdit1);
  if (!isVisible()) CentreOnScreen(*this);
  show();
  raise();
}

void TCommentary::ComboBox1Change() {
  const int index = ComboBox1->currentIndex();
  if (index < 0) return;
  LoadText(HouseDescriptionName(index));
}

void TCommentary::BitBtn1Click() { close(); }

void TCommentary::BitBtn2Click() {
  const int index = ComboBox1->currentIndex();
  if (index < 0) return;
  close();
  if (TCvesit* cvesit = TCvesit::Instance()) {
    cvesit->ComboBox1->setCurrentIndex(-1);
    cvesit->SetQuesitedHouse(index);
  }
}

void TCommentary::FormActivate() { RecordActiveWindow(kCodeCommentary); }

void TCommentary::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TCommentary::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RecordShownToolWindow(kCodeCommentary);
}
