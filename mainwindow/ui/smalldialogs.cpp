#include "mainwindow/ui/smalldialogs.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "engine/astromath.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/glyphfont.h"
#include "platform/text/cp1251.h"

namespace {

TWarning* gWarning = nullptr;
TInputNameBD* gInputName = nullptr;

QString UiText(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->Text(entry) : QString();
}

QPushButton* AddButton(QDialog* dialog, QHBoxLayout* row, const char* name, int entry,
                       ModalResult result) {
  auto* button = new QPushButton(UiText(entry), dialog);
  button->setObjectName(name);
  button->setMinimumWidth(90);
  QObject::connect(button, &QPushButton::clicked, dialog,
                   [dialog, result] { CloseModal(*dialog, result); });
  row->addWidget(button);
  return button;
}

// The program's emblem: the Sun's symbol in a ring of the twelve signs.
QPixmap Emblem() {
  QPixmap pixmap(117, 116);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QPointF centre(58.5, 58);
  p.setPen(QPen(QColor(40, 50, 110), 2));
  p.drawEllipse(centre, 54, 54);
  p.drawEllipse(centre, 38, 38);
  QFont signs = GlyphFaceFont(ZarnFaceOf('q'), 13, true);
  p.setFont(signs);
  const char* codes = "qwertyuiop[]";
  for (int i = 0; i < 12; ++i) {
    double a = (180.0 - 15.0 - 30.0 * i) * kDegToRad;
    QPointF at(centre.x() + 46 * std::cos(a), centre.y() - 46 * std::sin(a));
    QRectF cell(at.x() - 9, at.y() - 9, 18, 18);
    p.drawText(cell, Qt::AlignCenter, ZarnText(static_cast<unsigned char>(codes[i])));
  }
  p.setFont(GlyphFaceFont(ZarnFaceOf('a'), 40, true));
  p.setPen(QColor(170, 90, 0));
  p.drawText(QRectF(centre.x() - 30, centre.y() - 30, 60, 60), Qt::AlignCenter, ZarnText('a'));
  return pixmap;
}

}  // namespace

TWarning::TWarning(QWidget* parent) : QDialog(parent) {
  gWarning = this;
  setObjectName("Warning");
  setWindowTitle(UiText(401));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  Panel1 = new QLabel(this);
  Panel1->setObjectName("Panel1");
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setWordWrap(true);
  Panel1->setMinimumSize(361, 41);
  layout->addWidget(Panel1);
  auto* row = new QHBoxLayout;
  row->addStretch();
  BitBtn1 = AddButton(this, row, "BitBtn1", 259, mrOk);
  BitBtn2 = AddButton(this, row, "BitBtn2", 260, mrCancel);
  row->addStretch();
  layout->addLayout(row);
  BitBtn1->setDefault(true);
  resize(360, 86);
}

TWarning::~TWarning() {
  if (gWarning == this) gWarning = nullptr;
}

TWarning* TWarning::Instance() { return gWarning; }

void TWarning::SetMessage(const std::string& cp1251) {
  Panel1->setText(QString::fromStdString(Cp1251ToUtf8(cp1251)));
}

TInputNameBD::TInputNameBD(QWidget* parent) : QDialog(parent) {
  gInputName = this;
  setObjectName("InputNameBD");
  setWindowTitle(UiText(331));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  Name = new QLineEdit(this);
  Name->setObjectName("Name");
  Name->setMinimumWidth(287);
  layout->addWidget(Name);
  auto* row = new QHBoxLayout;
  row->addStretch();
  BitBtn1 = AddButton(this, row, "BitBtn1", 259, mrOk);
  BitBtn2 = AddButton(this, row, "BitBtn2", 260, mrCancel);
  layout->addLayout(row);
  BitBtn1->setDefault(true);
  resize(313, 88);
}

TInputNameBD::~TInputNameBD() {
  if (gInputName == this) gInputName = nullptr;
}

TInputNameBD* TInputNameBD::Instance() { return gInputName; }

std::string TInputNameBD::NameText() const { return Utf8ToCp1251(Name->text().toStdString()); }

void TInputNameBD::SetNameText(const std::string& cp1251) {
  Name->setText(QString::fromStdString(Cp1251ToUtf8(cp1251)));
}

TAboutProgram::TAboutProgram(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutProgram");
  setWindowTitle(UiText(140));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* layout = new QHBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setObjectName("Image1");
  picture->setPixmap(Emblem());
  layout->addWidget(picture, 0, Qt::AlignTop);
  auto* lines = new QVBoxLayout;
  const char* names[6] = {"Label1", "Label3", "Label4", "Label5", "Label6", "Label7"};
  for (int i = 0; i < 6; ++i) {
    Labels[i] = new QLabel(UiText(249 + i), this);
    Labels[i]->setObjectName(names[i]);
    lines->addWidget(Labels[i]);
  }
  QFont title = Labels[0]->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.2);
  Labels[0]->setFont(title);
  lines->addStretch();
  layout->addLayout(lines, 1);
  resize(549, 132);
}
