#include "platform/qt/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool InstallQtRussian() {
  static QTranslator* installed = nullptr;
  if (installed) return true;
  if (!QCoreApplication::instance()) return false;
  // parented to the application, so it lives exactly as long as it
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ru"), QtTranslationsFolder()) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  installed = translator;
  return true;
}
