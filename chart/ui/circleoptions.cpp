#include "chart/ui/circleoptions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "chart/ui/companionwindows.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"

namespace {

TCircleOptions* gCircleOptions = nullptr;
TbmpPixels* gBmpPixels = nullptr;

// Circle options: captions and the designed positions of the bars.
constexpr int kEntryCircleCaption = 286;
constexpr int kEntryRadiiLabel = 287;
constexpr int kEntryPlanetSizeLabel = 288;
constexpr int kEntrySignSizeLabel = 289;
constexpr int kEntryEnterButton = 259;
constexpr int kEntryCancelButton = 260;
constexpr int kDesignedGlyphSizeIndex = 15;  // "20"

// Picture options.
constexpr int kEntryPictureCaption = 279;
constexpr int kEntryPictureLabels[6] = {280, 281, 282, 283, 284, 285};

QSlider* NewBar(QWidget* parent, const char* name, int position) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setValue(position);
  return bar;
}

QComboBox* NewSizeBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (int size : kGlyphSizeList) box->addItem(QString::number(size));
  box->setCurrentIndex(kDesignedGlyphSizeIndex);
  return box;
}

// The wheel drawn again through the main window.
void RedrawChartWindow() {
  if (MainWindowPort* form = MainWindow()) form->RedrawChart();
}

// The radius set the bars edit: European while the chart is drawn in that
// style, else American.
int* RadiusSet(ChartRecord& chart) {
  return chart.ChartStyle == 1 ? chart.RadiiEuropean : chart.RadiiAmerican;
}

int FieldNumber(const QLineEdit* edit) {
  // the mask's blanks trimmed; an empty field is 0, so is what is no number
  std::string digits = Utf8ToCp1251(edit->text().remove(QLatin1Char('_')).toStdString());
  TrimBlanks(digits);
  int n = 0;
  return ParseInt(digits, n) ? n : 0;
}

}  // namespace

// ---- TCircleOptions -----------------------------------------------------------

TCircleOptions::TCircleOptions(QWidget* parent) : QWidget(parent) {
  gCircleOptions = this;
  setObjectName("CircleOptions");
  setWindowTitle(CompanionText(kEntryCircleCaption));
  MakeStayOnTopToolWindow(*this);
  setAttribute(Qt::WA_QuitOnClose, false);

  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(CompanionText(kEntryRadiiLabel), this);
  Label1->setObjectName("Label1");
  layout->addWidget(Label1);
  TrackBar1 = NewBar(this, "TrackBar1", 100);
  TrackBar2 = NewBar(this, "TrackBar2", 90);
  TrackBar3 = NewBar(this, "TrackBar3", 75);
  TrackBar5 = NewBar(this, "TrackBar5", 90);
  TrackBar4 = NewBar(this, "TrackBar4", 0);
  for (QSlider* bar : {TrackBar1, TrackBar2, TrackBar3, TrackBar5, TrackBar4})
    layout->addWidget(bar);
  auto* sizes = new QGridLayout;
  Label2 = new QLabel(CompanionText(kEntryPlanetSizeLabel), this);
  Label2->setObjectName("Label2");
  Label5 = new QLabel(CompanionText(kEntrySignSizeLabel), this);
  Label5->setObjectName("Label5");
  ComboBox1 = NewSizeBox(this, "ComboBox1");
  ComboBox4 = NewSizeBox(this, "ComboBox4");
  sizes->addWidget(Label2, 0, 0);
  sizes->addWidget(ComboBox1, 0, 1);
  sizes->addWidget(Label5, 1, 0);
  sizes->addWidget(ComboBox4, 1, 1);
  layout->addLayout(sizes);
  BitBtn1 = new QPushButton(CompanionText(kEntryEnterButton), this);
  BitBtn1->setObjectName("BitBtn1");
  layout->addWidget(BitBtn1, 0, Qt::AlignRight);
  resize(320, 300);

  auto bar = [this](QSlider* slider, void (TCircleOptions::*handler)()) {
    connect(slider, &QSlider::valueChanged, this,
            Guarded([this, handler] { (this->*handler)(); }, this));
  };
  bar(TrackBar1, &TCircleOptions::TrackBar1Change);
  bar(TrackBar2, &TCircleOptions::TrackBar2Change);
  bar(TrackBar3, &TCircleOptions::TrackBar3Change);
  bar(TrackBar5, &TCircleOptions::TrackBar5Change);
  bar(TrackBar4, &TCircleOptions::TrackBar4Change);
  connect(ComboBox4, &QComboBox::currentIndexChanged, this,
          Guarded([this] { ComboBox4Change(); }, this));
  connect(ComboBox1, &QComboBox::currentIndexChanged, this,
          Guarded([this] { ComboBox1Change(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
}

TCircleOptions::~TCircleOptions() {
  if (gCircleOptions == this) gCircleOptions = nullptr;
}

TCircleOptions* TCircleOptions::Instance() { return gCircleOptions; }

void TCircleOptions::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TCircleOptions::FormShow() {
  ChartRecord* chart = SessionChart();
  if (!chart) return;
  const int* radii = RadiusSet(*chart);
  QSlider* bars[5] = {TrackBar1, TrackBar2, TrackBar3, TrackBar5, TrackBar4};
  // loading the bars is no change of the settings: their handlers stay
  // silent, so a value outside the bars' range is kept as it is
  for (int i = 0; i < 5; ++i) {
    const QSignalBlocker quiet(bars[i]);
    bars[i]->setValue(radii[i]);
  }
}

void TCircleOptions::StoreRadius(QSlider* bar, int element) {
  ChartRecord* chart = SessionChart();
  if (!chart) return;
  RadiusSet(*chart)[element] = bar->value();
  RedrawChartWindow();
}

void TCircleOptions::TrackBar1Change() { StoreRadius(TrackBar1, 0); }
void TCircleOptions::TrackBar2Change() { StoreRadius(TrackBar2, 1); }
void TCircleOptions::TrackBar3Change() { StoreRadius(TrackBar3, 2); }
void TCircleOptions::TrackBar5Change() { StoreRadius(TrackBar5, 3); }
void TCircleOptions::TrackBar4Change() { StoreRadius(TrackBar4, 4); }

void TCircleOptions::ComboBox4Change() {
  ChartRecord* chart = SessionChart();
  if (!chart || ComboBox4->currentIndex() < 0) return;
  chart->GlyphSizes[0] = ComboBox4->currentIndex();
  RedrawChartWindow();
}

void TCircleOptions::ComboBox1Change() {
  ChartRecord* chart = SessionChart();
  if (!chart || ComboBox1->currentIndex() < 0) return;
  chart->GlyphSizes[1] = ComboBox1->currentIndex();
  RedrawChartWindow();
}

void TCircleOptions::BitBtn1Click() { close(); }

// ---- TbmpPixels ---------------------------------------------------------------

TbmpPixels::TbmpPixels(QWidget* parent) : QDialog(parent) {
  gBmpPixels = this;
  setObjectName("bmpPixels");
  setWindowTitle(CompanionText(kEntryPictureCaption));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto sizeEdit = [this](const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setInputMask("9999;_");
    edit->setText("1000");
    return edit;
  };
  MaskEdit1 = sizeEdit("MaskEdit1");
  MaskEdit2 = sizeEdit("MaskEdit2");
  Edit1 = new QLineEdit("bmp1", this);
  Edit1->setObjectName("Edit1");
  form->addRow(CompanionText(kEntryPictureLabels[0]), MaskEdit1);
  form->addRow(CompanionText(kEntryPictureLabels[1]), MaskEdit2);
  form->addRow(CompanionText(kEntryPictureLabels[2]), Edit1);
  layout->addLayout(form);
  RadioButton1 = new QRadioButton(CompanionText(kEntryPictureLabels[3]), this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton2 = new QRadioButton(CompanionText(kEntryPictureLabels[4]), this);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton3 = new QRadioButton(CompanionText(kEntryPictureLabels[5]), this);
  RadioButton3->setObjectName("RadioButton3");
  RadioButton2->setChecked(true);
  for (QRadioButton* b : {RadioButton1, RadioButton2, RadioButton3}) layout->addWidget(b);
  auto* buttons = new QHBoxLayout;
  BitBtn1 = new QPushButton(CompanionText(kEntryEnterButton), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(CompanionText(kEntryCancelButton), this);
  BitBtn2->setObjectName("BitBtn2");
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  layout->addLayout(buttons);
  // wide enough for its caption
  setMinimumWidth(TitleFitWidth(*this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
  // the file export asks through this dialog, so it can be offered now
  SetExportAsker([this](ExportRequest& request) { return AskExport(request); });
  if (MainWindowPort* base = MainWindow()) base->SetCommandEnabled("BMP1", true);
}

TbmpPixels::~TbmpPixels() {
  if (gBmpPixels != this) return;
  gBmpPixels = nullptr;
  SetExportAsker(nullptr);
  if (MainWindowPort* base = MainWindow()) base->SetCommandEnabled("BMP1", false);
}

bool TbmpPixels::AskExport(ExportRequest& request) {
  if (ExecModal(*this) != mrOk) return false;
  request.Width = PictureWidth();
  request.Height = PictureHeight();
  request.ColorMode = ColorMode();
  request.FileName = FileName();
  return true;
}

TbmpPixels* TbmpPixels::Instance() { return gBmpPixels; }

void TbmpPixels::BitBtn1Click() {
  if (PictureWidth() < 1 || PictureHeight() < 1) {
    MainWindowPort* base = MainWindow();
    ShowMessage(base ? base->UiText.Entry(kUiEntryPictureTooSmall) : std::string(), this);
    return;
  }
  CloseModal(*this, mrOk);
}

void TbmpPixels::BitBtn2Click() { CloseModal(*this, mrCancel); }

int TbmpPixels::PictureWidth() const { return FieldNumber(MaskEdit1); }
int TbmpPixels::PictureHeight() const { return FieldNumber(MaskEdit2); }
std::string TbmpPixels::FileName() const { return Utf8ToCp1251(Edit1->text().toStdString()); }

int TbmpPixels::ColorMode() const {
  // tested in this order, the last ticked one winning
  int mode = 1;
  if (RadioButton1->isChecked()) mode = 2;
  if (RadioButton2->isChecked()) mode = 1;
  if (RadioButton3->isChecked()) mode = 0;
  return mode;
}
