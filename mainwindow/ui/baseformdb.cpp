// The main window's side of the import of other programs' chart files and of
// the search on disk: replacing the open database, with the question first
// when it changed, and showing the new one in the tree.
#include <QAction>
#include <QTreeWidget>

#include "mainwindow/chartimport.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/finddbfile.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

constexpr int kEntrySectionName = 292;  // the first section of a new database
constexpr int kEntryDatabaseItem = 31;  // caption of N26: the root of a Gemma import

// One message for a failed import: the file, then what is wrong where.
std::string ImportFailureMessage(const UiStringTable& text, const ImportFailure& failure) {
  std::string what;
  switch (failure.Fault) {
    case ImportFault::UnknownMonth:
      what = FillEntry(text.Entry(kUiEntryImportUnknownMonth), {failure.Text});
      break;
    case ImportFault::NotANumber:
      what = FillEntry(text.Entry(kUiEntryImportNotANumber), {failure.Text});
      break;
    case ImportFault::NoDate:
      what = text.Entry(kUiEntryImportNoDate);
      break;
    case ImportFault::ShortFile:
      what = FillEntry(text.Entry(kUiEntryImportShortFile), {failure.Text});
      break;
    case ImportFault::NoData:
      what = FillEntry(text.Entry(kUiEntryImportNoData), {failure.Text});
      break;
    case ImportFault::ShortLine:
      what = FillEntry(text.Entry(kUiEntryImportShortLine), {failure.Text});
      break;
    case ImportFault::CannotRead:
    case ImportFault::None:
      what = failure.Text;
      break;
  }
  if (failure.Line > 0)
    what = FillEntry(text.Entry(kUiEntryImportAtLine), {std::to_string(failure.Line), what});
  return FillEntry(text.Entry(kUiEntryImportFailed), {Utf8ToCp1251(failure.File), what});
}

}  // namespace

bool TBaseForm::OpenDatabaseFile(const std::string& recordFile) {
  ChartDatabase loaded;
  std::string message;
  if (!LoadDatabasePair(recordFile, loaded, message)) {
    ShowDatabaseNotOpened(recordFile, message);
    return false;
  }
  if (!AskSaveDatabase()) return false;
  Database = std::move(loaded);
  ShowDatabase();
  return true;
}

void TBaseForm::ShowDatabaseNotOpened(const std::string& recordFile, const std::string& message) {
  std::string text = FillEntry(UiText.Entry(kUiEntryDatabaseNotOpened), {message});
  std::string files;
  for (const std::string& file : InterruptedSaveFiles(recordFile))
    files += (files.empty() ? "" : ", ") + Utf8ToCp1251(file);
  if (!files.empty()) text += "\n" + FillEntry(UiText.Entry(kUiEntryInterruptedSave), {files});
  ShowErrorMessage(text, this);
}

bool TBaseForm::ImportForeignDatabase(const std::string& path, int filterIndex) {
  if (!IsForeignFormat(filterIndex)) return false;
  ImportTexts texts;
  texts.SectionName = UiText.Entry(kEntrySectionName);
  texts.GemmaRoot = Utf8ToCp1251(Item("N26")->text().toStdString());
  if (texts.GemmaRoot.empty()) texts.GemmaRoot = UiText.Entry(kEntryDatabaseItem);
  ChartDatabase imported;
  ImportFailure failure;
  if (!ImportForeignFile(path, static_cast<ForeignFormat>(filterIndex), texts, imported, failure)) {
    ShowErrorMessage(ImportFailureMessage(UiText, failure), this);
    return false;
  }
  Database = std::move(imported);
  ShowDatabase();
  return true;
}

void TBaseForm::N25Click() {
  if (TFindDBFile* find = TFindDBFile::Instance()) ExecModal(*find);
}
