#include "input/ui/maskedfields.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QVariant>

#include "mainwindow/uistrings.h"
#include "platform/text/cp1251.h"

namespace {

constexpr const char* kBlankProperty = "maskBlank";

// Characters with a meaning of their own in the toolkit's mask notation; a
// literal of the classic mask that is one of them is escaped.
bool SpecialInToolkitMask(QChar c) {
  static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\;");
  return special.contains(c);
}

}  // namespace

// The classic notation to the toolkit's: 0 (required digit) becomes 9, 9
// (optional digit) becomes 0, # stays; L/l (letter), A/a (letter or digit),
// C/c (any character) become A/a, N/n, X/x; > and < keep their case
// meaning; "\" escapes the next character; every other character is a literal.
void SetEditMask(QLineEdit& edit, const std::string& classicMask) {
  const QString whole = QString::fromStdString(Cp1251ToUtf8(classicMask));
  const QStringList parts = whole.split(QLatin1Char(';'));
  const QString mask = parts.value(0);
  QChar blank = QLatin1Char('_');
  if (parts.size() > 2 && !parts[2].isEmpty()) blank = parts[2][0];
  QString converted;
  for (int i = 0; i < mask.size(); ++i) {
    const QChar c = mask[i];
    switch (c.unicode()) {
      case '0':
        converted += QLatin1Char('9');
        break;
      case '9':
        converted += QLatin1Char('0');
        break;
      case '#':
        converted += QLatin1Char('#');
        break;
      case 'L':
        converted += QLatin1Char('A');
        break;
      case 'l':
        converted += QLatin1Char('a');
        break;
      case 'A':
        converted += QLatin1Char('N');
        break;
      case 'a':
        converted += QLatin1Char('n');
        break;
      case 'C':
        converted += QLatin1Char('X');
        break;
      case 'c':
        converted += QLatin1Char('x');
        break;
      case '>':
        converted += QLatin1Char('>');
        break;
      case '<':
        converted += QLatin1Char('<');
        break;
      case '!':
        break;  // leading blanks kept: every position stays in place anyway
      case '\\':
        if (i + 1 < mask.size()) {
          converted += QLatin1Char('\\');
          converted += mask[++i];
        }
        break;
      default:
        if (SpecialInToolkitMask(c)) converted += QLatin1Char('\\');
        converted += c;
    }
  }
  edit.setInputMask(converted + QLatin1Char(';') + blank);
  edit.setProperty(kBlankProperty, QVariant(QString(blank)));
}

std::string MaskedText(const QLineEdit& edit) {
  // The shown text keeps every position; the edit's own text drops blanks
  // and would shift the parts out of their columns.
  QString shown = edit.inputMask().isEmpty() ? edit.text() : edit.displayText();
  const QString blank = edit.property(kBlankProperty).toString();
  if (!blank.isEmpty()) shown.replace(blank[0], QLatin1Char(' '));
  return Utf8ToCp1251(shown.toStdString());
}

void SetFieldText(QLineEdit& edit, const std::string& cp1251) {
  edit.setText(QString::fromStdString(Cp1251ToUtf8(cp1251)));
}

std::string FieldText(const QLineEdit& edit) { return Utf8ToCp1251(edit.text().toStdString()); }

QLineEdit* MaskedField(QWidget* parent, const char* name, const std::string& classicMask,
                       int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  SetEditMask(*edit, classicMask);
  edit->setFixedWidth(width);
  return edit;
}

void Pair(QObject* owner, QRadioButton* first, QRadioButton* second) {
  auto* group = new QButtonGroup(owner);
  group->setExclusive(true);
  group->addButton(first);
  group->addButton(second);
}

TimeMarks TimeMarksOf(const UiStringTable& text) {
  TimeMarks marks;
  marks.Hour = text.Entry(346);
  marks.Minute = text.Entry(347);
  marks.Second = text.Entry(348);
  return marks;
}
