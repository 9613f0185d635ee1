// Qt's own texts (file dialogs, colour and print dialogs, standard buttons)
// in Russian, from the translations Qt ships beside its libraries.
#pragma once

#include <QString>

// The folder Qt's translations are installed in.
QString QtTranslationsFolder();

// Installs Qt's Russian translation ("qtbase_ru" and the modules it names)
// into the running application; it stays installed until the application
// ends. False when no such translation is installed, in which case Qt's
// dialogs stay in English and nothing else changes. Loading again installs
// nothing more.
bool InstallQtRussian();
