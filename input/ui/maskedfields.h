// Masked edit fields of the input dialogs. The language file gives their
// masks in the classic three-part notation "mask;keep literals;blank", e.g.
// "99ч99м99с;1;_": 9 an optional digit, 0 a required one, any other character
// a literal kept in the text. A field's text is read with every position in
// place (the blank character turned into a space), so the reading functions
// can take its parts by their fixed columns.
#pragma once

#include <string>

#include "input/datainput.h"

class QLineEdit;
class QObject;
class QRadioButton;
class QWidget;
struct UiStringTable;

// Puts the mask (code page 1251, classic notation) on the field.
void SetEditMask(QLineEdit& edit, const std::string& classicMask);

// The field's text, code page 1251, one character per mask position, blank
// positions as spaces.
std::string MaskedText(const QLineEdit& edit);

// Shows a code page 1251 text in the field.
void SetFieldText(QLineEdit& edit, const std::string& cp1251);
// A plain field's text, code page 1251.
std::string FieldText(const QLineEdit& edit);

// A masked field with its designer name, mask (classic notation) and width
// in pixels.
QLineEdit* MaskedField(QWidget* parent, const char* name, const std::string& classicMask,
                       int width);

// Makes two radio buttons one choice, exclusive within the pair only.
void Pair(QObject* owner, QRadioButton* first, QRadioButton* second);

// The hour, minute and second marks of the time fields, from the language
// file (entries 346-348).
TimeMarks TimeMarksOf(const UiStringTable& text);
