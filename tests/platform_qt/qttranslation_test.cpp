// Qt's own dialogs in Russian once the program installs Qt's translation.
#include "platform/qt/qttranslation.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QRegularExpression>

#include "services_support.h"

namespace {

class QtTranslationTest : public WidgetTest {};

// Every visible text of a dialog's buttons and labels, after it has been
// built (the file and colour dialogs fill their texts when constructed).
QStringList Texts(QWidget& dialog) {
  QStringList texts;
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
    if (!b->text().isEmpty()) texts << b->text();
  for (QLabel* l : dialog.findChildren<QLabel*>())
    if (!l->text().isEmpty()) texts << l->text();
  return texts;
}

bool HasCyrillic(const QString& text) {
  return text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")));
}

// The translation is where Qt says its translations are, loads, and turns
// the file and colour dialogs' words into Russian: no English button or
// label the user reads is left among the ones the translation covers ("OK"
// reads the same in Russian).
TEST_F(QtTranslationTest, FileAndColourDialogsSpeakRussianOnceInstalled) {
  ASSERT_TRUE(QDir(QtTranslationsFolder()).exists(QStringLiteral("qtbase_ru.qm")))
      << QtTranslationsFolder().toStdString();
  const QStringList english = {QStringLiteral("Look in:"),       QStringLiteral("File &name:"),
                               QStringLiteral("Files of type:"), QStringLiteral("&Open"),
                               QStringLiteral("&Save"),          QStringLiteral("Cancel")};
  {
    QFileDialog before;
    before.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_TRUE(Texts(before).contains(QStringLiteral("Look in:")));
  }
  ASSERT_TRUE(InstallQtRussian());
  EXPECT_TRUE(InstallQtRussian());  // a second call changes nothing

  for (const QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    const QStringList texts = Texts(dialog);
    int russian = 0;
    for (const QString& t : texts) {
      EXPECT_FALSE(english.contains(t)) << t.toStdString();
      if (HasCyrillic(t)) ++russian;
    }
    // look in, file name, files of type, open or save, cancel
    EXPECT_GE(russian, 5) << texts.join('|').toStdString();
  }
  QColorDialog colours;
  colours.setOption(QColorDialog::DontUseNativeDialog);
  const QStringList texts = Texts(colours);
  for (const QString& t : texts) EXPECT_FALSE(english.contains(t)) << t.toStdString();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), HasCyrillic))
      << texts.join('|').toStdString();
}

}  // namespace
