// The data-input dialog's fields (day, month, year, time, latitude,
// longitude, zone and the add-town fields, NUL between them; the first byte
// holds the hemisphere and era switches). Fields that read give a place on
// the Earth (a latitude past the pole or a longitude past the date line is
// refused), and, for a date the dialog's masks can hold, a chart moment
// whose fields, shown again, read back to the same moment.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "input/datainput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t switches = data[0];
  const auto parts = FuzzParts(FuzzBytes(data + 1, size - 1), 10);
  auto part = [&](std::size_t i) {
    return i < parts.size() ? std::string(parts[i]) : std::string();
  };
  DataInputFields f;
  f.DayText = part(0);
  f.MonthText = part(1);
  f.YearText = part(2);
  f.TimeText = part(3);
  f.LatitudeText = part(4);
  f.LongitudeText = part(5);
  f.ZoneText = part(6);
  f.BeforeCommonEra = switches & 1;
  f.South = switches & 2;
  f.West = switches & 4;
  f.ZoneWest = switches & 8;
  InputRefusal refusal;
  LocalDateTime local;
  const bool dateRead = ParseLocalDateTime(f, local, refusal);
  DataInputResult r;
  if (dateRead)
    FUZZ_CHECK(local.Day >= 1 && local.Day <= DaysInMonth(local.Month, local.Year) &&
                   local.Hour <= 23 && local.Minute <= 59 && local.Second <= 59,
               "%d.%d.%d %d:%d:%d taken", local.Day, local.Month, local.Year, local.Hour,
               local.Minute, local.Second);
  if (ParseDataInput(f, r, refusal)) {
    FUZZ_CHECK(std::fabs(r.TimeZone) <= kMaxZoneHours && r.ZoneMin <= 59 && r.ZoneSec <= 59,
               "zone %g taken", r.TimeZone);
    FUZZ_CHECK(
        std::fabs(r.GeoLatitude) <= 90.0f && r.GeoLongitude > -180.0f && r.GeoLongitude <= 180.0f,
        "latitude %g, longitude %g", r.GeoLatitude, r.GeoLongitude);
    const TimeMarks marks;
    const DataInputFields shown = FieldsOfChartMoment(r.JulianDayUT, r.UniversalTime, r.TimeZone,
                                                      r.GeoLatitude, r.GeoLongitude, marks);
    DataInputResult again;
    const bool readAgain = ParseDataInput(shown, again, refusal);
    // two digits of day, four of year in either era: 9999 BC to 9999
    if (dateRead && local.Day <= 99 && local.Year >= -9998 && local.Year <= 9999) {
      // days: whole seconds shown, the hours held in single precision
      constexpr double kShownTolDays = 0.6 / 86400.0;
      FUZZ_CHECK(readAgain && std::fabs(again.JulianDayUT - r.JulianDayUT) <= kShownTolDays,
                 "Julian day %.9f shown as %s.%s.%s and read back as %.9f", r.JulianDayUT,
                 shown.DayText.c_str(), shown.MonthText.c_str(), shown.YearText.c_str(),
                 again.JulianDayUT);
    }
  }
  NewTownFields town;
  town.Name = part(7);
  town.Country = part(8);
  town.ZoneText = part(9);
  town.LatitudeText = part(4);
  town.LongitudeText = part(5);
  town.South = switches & 16;
  town.West = switches & 32;
  NewTown t;
  if (ReadNewTownFields(town, t, refusal)) (void)BuildUserTownLine(t);
  return 0;
}
