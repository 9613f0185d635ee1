// Data input: field texts to a chart moment and place, and back.
#include "input/datainput.h"

#include <cmath>
#include <cstdio>

#include "engine/astromath.h"

namespace {

constexpr double kHoursPerDay = 24.0;    // hours
constexpr double kMaxLatitude = 90.0;    // degrees, North or South
constexpr double kMaxLongitude = 180.0;  // degrees, East or West
constexpr int kLastHour = 23;
constexpr int kLastSixtieth = 59;  // minutes or seconds

// The part of text from column first, count characters (for refusals).
std::string_view Part(std::string_view text, int first, int count) {
  const auto start = static_cast<std::size_t>(first - 1);
  if (text.size() <= start) return {};
  return text.substr(start, static_cast<std::size_t>(count));
}

bool Refuse(InputRefusal& refusal, InputFault fault, InputField field, std::string_view text) {
  refusal.Fault = fault;
  refusal.Field = field;
  refusal.Text = std::string(text);
  return false;
}

// A whole field of digits (date fields): blanks dropped; empty gives false
// with empty = true.
bool ReadWholeField(std::string_view text, int& value, bool& empty) {
  empty = true;
  long long v = 0;
  for (char c : text) {
    if (c == ' ') continue;
    empty = false;  // a letter is text too: "l2" is no number, not an empty field
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 1000000000LL) return false;
  }
  if (!empty) value = static_cast<int>(v);
  return !empty;
}

// Reads hours-or-degrees, minutes, seconds at the given columns; names the
// part at fault.
struct TripleLayout {
  int First[3];  // 1-based columns
  int Count[3];  // characters
};
constexpr TripleLayout kTimeLayout = {{1, 4, 7}, {2, 2, 2}};
constexpr TripleLayout kLatitudeLayout = {{1, 4, 7}, {2, 2, 2}};
constexpr TripleLayout kLongitudeLayout = {{1, 5, 8}, {3, 2, 2}};

bool ReadTriple(std::string_view text, const TripleLayout& layout, InputField field, int values[3],
                InputRefusal& refusal) {
  int read[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i)
    if (!ReadDigitsField(text, layout.First[i], layout.Count[i], read[i]))
      return Refuse(refusal, InputFault::NotANumber, field,
                    Part(text, layout.First[i], layout.Count[i]));
  for (int i = 0; i < 3; ++i) values[i] = read[i];
  return true;
}

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

std::string ThreeDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%03d", v);
  return buf;
}

// Splits a value of hours or degrees into whole units, minutes and seconds,
// rounded to the nearest second. A negative value (the remainder of a
// negative time) gives negative hours with non-negative minutes and seconds.
void SplitWholeSeconds(double value, int& units, int& minutes, int& seconds) {
  if (!std::isfinite(value) || std::fabs(value) > 1e9) value = 0;  // no chart value is that large
  const long long total = std::llround(value * 3600.0);
  long long whole = total / 3600;
  long long rest = total % 3600;
  if (rest < 0) {
    rest += 3600;
    --whole;
  }
  units = static_cast<int>(whole);
  minutes = static_cast<int>(rest / 60);
  seconds = static_cast<int>(rest % 60);
}

}  // namespace

bool ReadDigitsField(std::string_view text, int first, int count, int& value) {
  int v = 0;
  for (int i = 0; i < count; ++i) {
    const auto at = static_cast<std::size_t>(first - 1 + i);
    if (at >= text.size()) break;
    const char c = text[at];
    if (c == ' ') continue;
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = v;
  return true;
}

int DaysInMonth(int month, int year) {
  constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month != 2) return kLengths[month - 1];
  // astronomical years: 1 BC (0) and every fourth before it are leap
  const bool everyFourth = ((year % 4) + 4) % 4 == 0;
  const bool leap =
      year <= 1582 ? everyFourth : everyFourth && (year % 100 != 0 || year % 400 == 0);
  return leap ? 29 : 28;
}

// The folds of the zone and the place repeat until the part is in range: a
// two-digit field can hold more than one turn (99 hours), and a part left out
// of range would be folded again, differently, when the dialog shows it and
// reads it back. The local time's hours fold once: what is left past 24 is
// carried into the date by the universal time, so the moment shows again as
// itself.
int FoldTimeHours(int hours) { return hours > 24 ? hours - 24 : hours; }
int FoldSixtieths(int value) {
  while (value > 60) value -= 60;
  return value;
}
int FoldLatitudeDegrees(int degrees) { return degrees > 90 || degrees < -90 ? 0 : degrees; }

int FoldLongitudeDegrees(int degrees) {
  while (degrees > 180) degrees -= 360;
  while (degrees < -180) degrees += 360;
  return degrees;
}

int FoldZoneHours(int hours) {
  while (hours >= 24) hours -= 24;
  return hours;
}
int FoldZoneSixtieths(int value) {
  while (value >= 60) value -= 60;
  return value;
}

double FoldLongitude(double degrees) {
  if (!std::isfinite(degrees)) return 0.0;
  while (degrees > 180.0) degrees -= 360.0;
  while (degrees <= -180.0) degrees += 360.0;
  return degrees;
}

// Date and local time of the dialog.
//   in:  the date fields, the era, the time field "hh?mm?ss?"
//   out: day, month, astronomical year, folded h m s, local hours
// The era's year 1 BC is the astronomical year 0 (1 - year).
bool ParseLocalDateTime(const DataInputFields& fields, LocalDateTime& out, InputRefusal& refusal) {
  LocalDateTime t;
  struct DatePart {
    const std::string& text;
    InputField field;
    int& value;
  };
  const DatePart parts[3] = {{fields.DayText, InputField::Day, t.Day},
                             {fields.MonthText, InputField::Month, t.Month},
                             {fields.YearText, InputField::Year, t.Year}};
  for (const DatePart& p : parts) {
    bool empty = true;
    if (!ReadWholeField(p.text, p.value, empty))
      return Refuse(refusal, empty ? InputFault::EmptyField : InputFault::NotANumber, p.field,
                    p.text);
  }
  if (t.Month < 1 || t.Month > 12)
    return Refuse(refusal, InputFault::MonthOutOfRange, InputField::Month, std::to_string(t.Month));
  if (t.Year == 0) return Refuse(refusal, InputFault::YearZero, InputField::Year, fields.YearText);
  if (fields.BeforeCommonEra) t.Year = 1 - t.Year;
  const int lastDay = DaysInMonth(t.Month, t.Year);
  if (t.Day < 1 || t.Day > lastDay) {
    refusal.Limit = lastDay;
    return Refuse(refusal, InputFault::DayOutOfRange, InputField::Day, std::to_string(t.Day));
  }

  int hms[3];
  if (!ReadTriple(fields.TimeText, kTimeLayout, InputField::Time, hms, refusal)) return false;
  if (hms[0] > kLastHour || hms[1] > kLastSixtieth || hms[2] > kLastSixtieth)
    return Refuse(refusal, InputFault::TimeOutOfRange, InputField::Time, fields.TimeText);
  t.Hour = hms[0];
  t.Minute = hms[1];
  t.Second = hms[2];
  t.LocalHours = DmsToDeg(t.Hour, t.Minute, t.Second);
  out = t;
  return true;
}

// The whole input on OK.
//   in:  every field of the dialog (see DataInputFields)
//   out: DataInputResult: date of the universal time, UT hours, Julian days
//        (days, chart time scale: JulianDay adds Delta T), latitudes and
//        longitude in degrees (North and East positive), zone in hours East
// Universal time = local time - zone; the day is carried by whole days until
// it lies in [0, 24), so the date and 0h Julian day are those of the moment.
bool ParseDataInput(const DataInputFields& fields, DataInputResult& out, InputRefusal& refusal) {
  LocalDateTime when;
  if (!ParseLocalDateTime(fields, when, refusal)) return false;
  int lat[3], lon[3], zone[3];
  if (!ReadTriple(fields.LatitudeText, kLatitudeLayout, InputField::Latitude, lat, refusal) ||
      !ReadTriple(fields.LongitudeText, kLongitudeLayout, InputField::Longitude, lon, refusal) ||
      !ReadTriple(fields.ZoneText, kTimeLayout, InputField::Zone, zone, refusal))
    return false;

  DataInputResult r;
  r.Day = when.Day;
  r.Month = when.Month;
  r.Year = when.Year;
  r.Hour = when.Hour;
  r.Minute = when.Minute;
  r.Second = when.Second;

  // A place past the pole or the date line is refused, not folded: the
  // place name typed beside it would name another place than the chart's.
  r.LatDeg = lat[0];
  r.LatMin = FoldSixtieths(lat[1]);
  r.LatSec = FoldSixtieths(lat[2]);
  const double latitude = DmsToDeg(r.LatDeg, r.LatMin, r.LatSec);
  if (latitude > kMaxLatitude)
    return Refuse(refusal, InputFault::CoordinateOutOfRange, InputField::Latitude,
                  fields.LatitudeText);
  const double geocentric = GeocentricOfGeographic(latitude);

  r.LonDeg = lon[0];
  r.LonMin = FoldSixtieths(lon[1]);
  r.LonSec = FoldSixtieths(lon[2]);
  const double longitude = DmsToDeg(r.LonDeg, r.LonMin, r.LonSec);
  if (longitude > kMaxLongitude)
    return Refuse(refusal, InputFault::CoordinateOutOfRange, InputField::Longitude,
                  fields.LongitudeText);

  // no civil time lies further than 14 hours from Greenwich
  if (zone[1] > kLastSixtieth || zone[2] > kLastSixtieth ||
      zone[0] * 3600 + zone[1] * 60 + zone[2] > kMaxZoneHours * 3600) {
    refusal.Limit = kMaxZoneHours;
    return Refuse(refusal, InputFault::ZoneOutOfRange, InputField::Zone, fields.ZoneText);
  }
  r.ZoneHour = zone[0];
  r.ZoneMin = zone[1];
  r.ZoneSec = zone[2];
  double timeZone = DmsToDeg(r.ZoneHour, r.ZoneMin, r.ZoneSec);
  if (fields.ZoneWest) timeZone = -timeZone;

  r.LatSign = fields.South ? -1 : 1;
  r.GeoLatitude = static_cast<float>(latitude * r.LatSign);
  r.GeocentricLatitude = static_cast<float>(geocentric * r.LatSign);
  r.LonSign = fields.West ? -1 : 1;
  // 180 degrees West is kept as 180 East
  r.GeoLongitude = static_cast<float>(FoldLongitude(longitude * r.LonSign));
  r.TimeZone = static_cast<float>(timeZone);

  double universal = when.LocalHours - timeZone;
  while (universal < 0) {
    universal += kHoursPerDay;
    --r.Day;
  }
  while (universal >= kHoursPerDay) {
    universal -= kHoursPerDay;
    ++r.Day;
  }
  r.UniversalTime = static_cast<float>(universal);
  // The Julian days count from the typed date, whose calendar the user
  // meant: the universal date of 4 October 1582 23:00 five hours West would
  // read as 5 October, a Gregorian date ten days earlier than the moment.
  const double hoursCarried = kHoursPerDay * (r.Day - when.Day);
  r.JulianDay0h = JulianDay(when.Day, r.Month, r.Year, static_cast<float>(hoursCarried));
  r.JulianDayUT =
      JulianDay(when.Day, r.Month, r.Year, static_cast<float>(when.LocalHours - timeZone));
  out = r;
  return true;
}

std::string TimeFieldText(int hours, int minutes, int seconds, const TimeMarks& marks) {
  return TwoDigits(hours) + marks.Hour + TwoDigits(minutes) + marks.Minute + TwoDigits(seconds) +
         marks.Second;
}

std::string ZoneHoursMinutesText(int hours, int minutes, const TimeMarks& marks) {
  return TwoDigits(hours) + marks.Hour + TwoDigits(minutes) + marks.Minute;
}

// A chart's moment and place as the dialog's fields.
//   in:  Julian day (days, chart time scale), universal time and zone (hours,
//        zone East positive), latitude and longitude (degrees, North and East
//        positive), the time marks
//   out: the field texts and hemisphere choices
DataInputFields FieldsOfChartMoment(double julianDayUT, float /*universalTime*/, float timeZone,
                                    float geoLatitude, float geoLongitude, const TimeMarks& marks) {
  DataInputFields f;
  // The date and the local time come from one moment rounded once to the
  // whole second, so that a time rounding up to midnight shows the next
  // date and the two never disagree on the day. The chart's universal time
  // (single precision) is not read: near a half second it may round the
  // other way than the Julian day.
  const DateTimeToSecond local =
      JulianDayToDateSecond(UniversalJulianDay(julianDayUT) + timeZone / kHoursPerDay);
  int year = local.Year;
  f.BeforeCommonEra = year <= 0;
  if (f.BeforeCommonEra) year = 1 - year;
  f.DayText = TwoDigits(local.Day);
  f.MonthText = TwoDigits(local.Month);
  f.YearText = std::to_string(year);
  f.TimeText = TimeFieldText(local.Hour, local.Minute, local.Second, marks);

  // Every other part to the nearest whole second: the chart keeps
  // single-precision values, so a place read from the fields (37 37 00 is
  // 37.61666489 as a float) must not come back one second short when shown
  // again.
  int h = 0, m = 0, s = 0;
  SplitWholeSeconds(std::fabs(static_cast<double>(timeZone)), h, m, s);
  f.ZoneText = TimeFieldText(h, m, s, marks);
  f.ZoneWest = timeZone < 0;

  SplitWholeSeconds(std::fabs(static_cast<double>(geoLatitude)), h, m, s);
  f.LatitudeText = TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
  f.South = geoLatitude < 0;

  SplitWholeSeconds(std::fabs(static_cast<double>(geoLongitude)), h, m, s);
  f.LongitudeText = ThreeDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
  f.West = geoLongitude < 0;
  return f;
}

// The add-town dialog's numbers.
//   in:  the field texts ("hh?mm?" zone, "dd:mm:ss" latitude, "ddd:mm:ss"
//        longitude)
//   out: NewTown with hours, minutes, degrees as typed
bool ReadNewTownFields(const NewTownFields& fields, NewTown& town, InputRefusal& refusal) {
  struct NumberPart {
    const std::string& text;
    int first;
    int count;
    InputField field;
    int* value;
  };
  NewTown t;
  const NumberPart parts[] = {
      {fields.ZoneText, 1, 2, InputField::Zone, &t.ZoneHours},
      {fields.ZoneText, 4, 2, InputField::Zone, &t.ZoneMinutes},
      {fields.LatitudeText, 1, 2, InputField::Latitude, &t.LatDegrees},
      {fields.LatitudeText, 4, 2, InputField::Latitude, &t.LatMinutes},
      {fields.LongitudeText, 1, 3, InputField::Longitude, &t.LonDegrees},
      {fields.LongitudeText, 5, 2, InputField::Longitude, &t.LonMinutes},
  };
  for (const NumberPart& p : parts)
    if (!ReadDigitsField(p.text, p.first, p.count, *p.value))
      return Refuse(refusal, InputFault::NotANumber, p.field, Part(p.text, p.first, p.count));
  t.Name = fields.Name;
  t.Country = fields.Country;
  t.Abbreviation = fields.Abbreviation;
  t.West = fields.West;
  t.South = fields.South;
  town = t;
  return true;
}
