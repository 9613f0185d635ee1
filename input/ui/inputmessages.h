// The messages of the input dialogs, worded from the interface string table:
// the refusal of a field that cannot be read, of a new town that cannot be
// written, and of text with characters the program's files cannot hold.
#pragma once

#include <string>

#include "input/datainput.h"
#include "input/townsdb.h"

class QString;
class QWidget;
struct UiStringTable;

// The message of a refused data-input or add-town field, code page 1251.
std::string InputRefusalMessage(const InputRefusal& refusal, const UiStringTable& text);

// The message of a new town that BuildUserTownLine refused (status other than
// Ok), code page 1251; town is what was read from the dialog.
std::string NewTownRefusalMessage(const NewTownLine& built, const NewTown& town,
                                  const UiStringTable& text);

// Text typed into a field that is saved in code page 1251 (a name, a place,
// a comment, a town or a country) may hold only characters the code page
// has, and no control characters. When it holds others the user is told
// which, in the field labelled by entry labelEntry, and true is returned:
// the caller then writes nothing and the user can retype.
bool RefuseUnwritableText(const QString& typed, int labelEntry, const UiStringTable& text,
                          QWidget* parent);
