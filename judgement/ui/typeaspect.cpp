#include "judgement/ui/typeaspect.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

#include "chart/chartrecord.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/text/cp1251.h"

namespace {

TTypeAspect* gTypeAspect = nullptr;
TTypeAspect::AnswerHook gAnswerHook;

// Interface-string entries of the dialog's texts.
constexpr int kEntryCaption = 532;
constexpr int kEntryLabel = 529;
constexpr int kEntryFront = 530;
constexpr int kEntryBack = 531;
constexpr int kEntryOk = 259;

// The aspect kinds offered: the first nine of the aspect-kind index.
constexpr int kOfferedKinds = 9;

QString UiText(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->Text(entry) : QString();
}

}  // namespace

TTypeAspect::TTypeAspect(QWidget* parent) : QDialog(parent) {
  gTypeAspect = this;
  setObjectName("TypeAspect");
  setWindowTitle(UiText(kEntryCaption));
  setModal(true);
  // a dialog border: no resizing, no minimise or maximise box
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  Label1 = new QLabel(UiText(kEntryLabel), this);
  Label1->setObjectName("Label1");
  row->addWidget(Label1);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  for (int k = 0; k < kOfferedKinds; ++k)
    ComboBox1->addItem(QString::fromStdString(Cp1251ToUtf8(kAspectLiteralNames[k])));
  ComboBox1->setCurrentIndex(0);
  row->addWidget(ComboBox1, 1);
  layout->addLayout(row);

  Front = new QRadioButton(UiText(kEntryFront), this);
  Front->setObjectName("Front");
  Front->setChecked(true);
  layout->addWidget(Front);
  Back = new QRadioButton(UiText(kEntryBack), this);
  Back->setObjectName("Back");
  layout->addWidget(Back);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  BitBtn1 = new QPushButton(UiText(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setDefault(true);
  BitBtn1->setMinimumWidth(90);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { CloseModal(*this, mrOk); });
  buttons->addWidget(BitBtn1);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // as wide as its caption needs, so the caption shows whole in the frame
  layout->addStrut(TitleFitWidth(*this));
}

TTypeAspect::~TTypeAspect() {
  if (gTypeAspect == this) gTypeAspect = nullptr;
}

TTypeAspect* TTypeAspect::Instance() { return gTypeAspect; }

int TTypeAspect::AspectKind() const {
  const int k = ComboBox1->currentIndex();
  return k < 0 ? 0 : k;
}

int TTypeAspect::Direction() const { return Front->isChecked() ? 1 : -1; }

ModalResult TTypeAspect::Ask() {
  if (gAnswerHook) return gAnswerHook(*this);
  // centred on the screen
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  return ExecModal(*this);
}

TTypeAspect::AnswerHook TTypeAspect::SetAnswerHook(AnswerHook hook) {
  return std::exchange(gAnswerHook, std::move(hook));
}
