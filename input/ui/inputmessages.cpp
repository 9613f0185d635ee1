#include "input/ui/inputmessages.h"

#include <QString>

#include "mainwindow/uistrings.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

// Labels of the fields of the data-input dialog, by which a refusal names
// them; the add-town dialog's fields carry the same labels.
constexpr int kEntryFieldLabels[] = {
    325,  // Day: "День"
    326,  // Month
    327,  // Year
    328,  // Time: "Местное время"
    332,  // Latitude
    333,  // Longitude
    339,  // Zone: "Разница с Гринвичем"
};

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string InputRefusalMessage(const InputRefusal& refusal, const UiStringTable& text) {
  const std::string& label = text.Entry(kEntryFieldLabels[static_cast<int>(refusal.Field)]);
  switch (refusal.Fault) {
    case InputFault::EmptyField:
      return FillEntry(text.Entry(kUiEntryFieldEmpty), {label});
    case InputFault::MonthOutOfRange:
      return FillEntry(text.Entry(kUiEntryMonthOutOfRange), {Trimmed(refusal.Text)});
    case InputFault::YearZero:
      return text.Entry(kUiEntryNoYearZero);
    case InputFault::CoordinateOutOfRange:
      return FillEntry(
          text.Entry(kUiEntryCoordinateOutOfRange),
          {label, Trimmed(refusal.Text), refusal.Field == InputField::Latitude ? "90" : "180"});
    case InputFault::DayOutOfRange:
      return FillEntry(text.Entry(kUiEntryDayOutOfRange),
                       {label, Trimmed(refusal.Text), std::to_string(refusal.Limit)});
    case InputFault::TimeOutOfRange:
      return FillEntry(text.Entry(kUiEntryTimeOutOfRange), {label, Trimmed(refusal.Text)});
    case InputFault::ZoneOutOfRange:
      return FillEntry(text.Entry(kUiEntryZoneBeyondLimit),
                       {label, Trimmed(refusal.Text), std::to_string(refusal.Limit)});
    case InputFault::NotANumber:
    case InputFault::None:
      break;
  }
  return FillEntry(text.Entry(kUiEntryNotANumber), {label, refusal.Text});
}

std::string NewTownRefusalMessage(const NewTownLine& built, const NewTown& town,
                                  const UiStringTable& text) {
  switch (built.Status) {
    case NewTownStatus::NameTooLong:
      return text.Entry(345);
    case NewTownStatus::NoName:
      return text.Entry(kUiEntryTownWithoutName);
    case NewTownStatus::CountryTooLong:
      return text.Entry(kUiEntryCountryTooLong);
    case NewTownStatus::ZoneOutOfRange:
      return FillEntry(text.Entry(kUiEntryZoneOutOfRange),
                       {std::to_string(town.ZoneHours), std::to_string(town.ZoneMinutes)});
    case NewTownStatus::Ok:
    case NewTownStatus::Refused:
      break;
  }
  // a line the dialog's fields cannot produce (they are refused above)
  return built.Message;
}

bool RefuseUnwritableText(const QString& typed, int labelEntry, const UiStringTable& text,
                          QWidget* parent) {
  const std::string utf8 = typed.toStdString();
  std::u32string unwritable;
  for (char c : utf8)
    if (static_cast<unsigned char>(c) < 0x20 &&
        unwritable.find(static_cast<char32_t>(c)) == std::u32string::npos)
      unwritable += static_cast<char32_t>(c);
  unwritable += CharactersOutsideCp1251(utf8);
  if (unwritable.empty()) return false;
  const std::string message =
      FillEntry(Cp1251ToUtf8(text.Entry(kUiEntryCharactersOutside)),
                {Cp1251ToUtf8(text.Entry(labelEntry)), NameCharacters(unwritable)});
  ShowMessageUtf8(message, parent);
  return true;
}
