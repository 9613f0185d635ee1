// The main window's side of the import of other programs' chart files and of
// the search on disk: replacing the open database, with the question first
// when it changed, and showing the new one in the tree.
#include <QAction>
#include <QTreeWidget>
#include <iterator>

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

// The entry that names each field of ImportField, in its order (None first).
constexpr int kFieldEntries[] = {
    0,
    kUiEntryImportFieldDay,
    kUiEntryImportFieldMonth,
    kUiEntryImportFieldYear,
    kUiEntryImportFieldHour,
    kUiEntryImportFieldMinute,
    kUiEntryImportFieldSecond,
    kUiEntryImportFieldZoneHours,
    kUiEntryImportFieldZoneMinutes,
    kUiEntryImportFieldZoneSeconds,
    kUiEntryImportFieldZoneSide,
    kUiEntryImportFieldLatitudeDegrees,
    kUiEntryImportFieldLatitudeMinutes,
    kUiEntryImportFieldLatitudeSeconds,
    kUiEntryImportFieldLatitudeSide,
    kUiEntryImportFieldLongitudeDegrees,
    kUiEntryImportFieldLongitudeMinutes,
    kUiEntryImportFieldLongitudeSeconds,
    kUiEntryImportFieldLongitudeSide,
    kUiEntryImportFieldPlace,
    kUiEntryImportFieldComment,
    kUiEntryImportFieldFlag,
};
static_assert(std::size(kFieldEntries) == static_cast<std::size_t>(ImportField::Flag) + 1);

std::string FieldName(const UiStringTable& text, ImportField field) {
  const auto at = static_cast<std::size_t>(field);
  return at > 0 && at < std::size(kFieldEntries) ? text.Entry(kFieldEntries[at]) : std::string();
}

// One message for a failed import: the file and its format, then what is
// wrong where.
std::string ImportFailureMessage(const UiStringTable& text, ForeignFormat format,
                                 const ImportFailure& failure) {
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
      what = FillEntry(text.Entry(kUiEntryImportShortLine),
                       {failure.Text, FieldName(text, failure.Field)});
      break;
    case ImportFault::OutOfRange:
      what = FillEntry(text.Entry(kUiEntryImportOutOfRange),
                       {FieldName(text, failure.Field), failure.Text, std::to_string(failure.Low),
                        std::to_string(failure.High)});
      break;
    case ImportFault::CannotRead:
    case ImportFault::None:
      what = failure.Text;
      break;
  }
  if (failure.Line > 0)
    what = FillEntry(text.Entry(kUiEntryImportAtLine), {std::to_string(failure.Line), what});
  const std::string file = FillEntry(text.Entry(kUiEntryImportFileOfFormat),
                                     {Utf8ToCp1251(failure.File), ForeignFormatName(format)});
  return FillEntry(text.Entry(kUiEntryImportFailed), {file, what});
}

}  // namespace

bool TBaseForm::OpenDatabaseFile(const std::string& recordFile) {
  ChartDatabase loaded;
  std::string message, completed;
  if (!LoadDatabasePair(recordFile, loaded, message, &completed)) {
    ShowDatabaseNotOpened(recordFile, message);
    return false;
  }
  if (!completed.empty()) ShowInterruptedSaveCompleted(recordFile, completed);
  if (!AskSaveDatabase()) return false;
  Database = std::move(loaded);
  ShowDatabase();
  return true;
}

void TBaseForm::ShowInterruptedSaveCompleted(const std::string& recordFile,
                                             const std::string& temporary) {
  ShowMessage(FillEntry(UiText.Entry(kUiEntryInterruptedSaveCompleted),
                        {Utf8ToCp1251(recordFile), Utf8ToCp1251(temporary),
                         Utf8ToCp1251(TreeFileOf(recordFile))}),
              this);
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
    ShowErrorMessage(ImportFailureMessage(UiText, static_cast<ForeignFormat>(filterIndex), failure),
                     this);
    return false;
  }
  Database = std::move(imported);
  ShowDatabase();
  return true;
}

void TBaseForm::N25Click() {
  if (TFindDBFile* find = TFindDBFile::Instance()) ExecModal(*find);
}
