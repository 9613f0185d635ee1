// Data input: the texts of the data-input dialog's fields read into a chart
// moment and place, and a chart's moment and place written back as those
// texts; also the fields of the add-town dialog read into a new town.
//
// The masked fields are read by fixed character positions (1-based, one
// byte a character in code page 1251):
//   local time and zone  "hh?mm?ss?"  hours 1-2, minutes 4-5, seconds 7-8
//   latitude             "dd:mm:ss"   degrees 1-2, minutes 4-5, seconds 7-8
//   longitude            "ddd:mm:ss"  degrees 1-3, minutes 5-6, seconds 8-9
// where "?" stands for the hour, minute and second marks of the interface
// string table. Blank positions are spaces (the dialog turns the mask's
// blank character into a space); they are dropped, and an all-blank part is
// 0. Any other character that is no digit makes the whole input fail with a
// message naming the field, and nothing is produced: a moment is never
// derived from a half-read field.
//
// Parts out of range are refused, with the field and the part as typed:
//   local time   hours above 23, minutes or seconds above 59
//   zone         minutes or seconds above 59, or more than 14 hours in all
//   latitude     beyond 90 degrees, longitude beyond 180 degrees
// A typo folded back would silently cast the chart for another moment or
// place than the one meant. Minutes and seconds of the coordinates above 60
// still lose 60 (and the result is then held to the pole and the date line).
// The date is refused where no calendar date is meant: an empty day, month
// or year, a month outside 1..12, a year 0 (the eras have none), a day 0 or
// beyond the length of its month (in the calendar of the typed date: Julian
// up to 1582, whose leap years are every fourth, Gregorian after). The
// Julian day counts the typed date arithmetically, in its calendar (Julian
// up to 4 October 1582, Gregorian after), also when the zone carries the
// universal date across the change of calendars.
//
// No Qt here; the dialogs move text between their controls and these
// functions.
#pragma once

#include <string>
#include <string_view>

#include "input/townsdb.h"

// The hour, minute and second marks of the time and zone fields (entries 346,
// 347 and 348 of the interface string table, one character each).
struct TimeMarks {
  std::string Hour = "h";    // code page 1251
  std::string Minute = "m";  // code page 1251
  std::string Second = "s";  // code page 1251
};

// The data-input dialog's fields as text, code page 1251, blanks as spaces.
struct DataInputFields {
  std::string DayText;           // MaskEdit1, the day of the month
  std::string MonthText;         // MaskEdit2, the month 1..12
  std::string YearText;          // MaskEdit3, the year of its era
  bool BeforeCommonEra = false;  // "до н.э." (RadioButton7) selected, else "н.э."
  std::string TimeText;          // MaskEdit4, local clock time "hh?mm?ss?"
  std::string LatitudeText;      // MaskEdit5, "dd:mm:ss"
  bool South = false;            // "Юг" (RadioButton2), else "Север"
  std::string LongitudeText;     // MaskEdit6, "ddd:mm:ss"
  bool West = false;             // longitude "Запад" (RadioButton4), else "Восток"
  std::string ZoneText;          // MaskEdit7, difference from Greenwich "hh?mm?ss?"
  bool ZoneWest = false;         // zone "Запад" (RadioButton10), else "Восток"
};

// The date and local time of the dialog, before the zone is applied.
struct LocalDateTime {
  int Day = 0;            // day of the month as typed
  int Month = 0;          // month 1..12
  int Year = 0;           // astronomical year (1 BC = 0)
  int Hour = 0;           // hours of the local time, 0..23
  int Minute = 0;         // minutes, 0..59
  int Second = 0;         // seconds, 0..59
  double LocalHours = 0;  // hours, the local time as one number, [0, 24)
};

// What the dialog holds after OK: the moment and place of the chart.
struct DataInputResult {
  int Day = 0;                   // day of the universal date (the typed day carried by the zone)
  int Month = 0;                 // month 1..12
  int Year = 0;                  // astronomical year (1 BC = 0)
  int Hour = 0;                  // hours of the local time, 0..23
  int Minute = 0;                // minutes of the local time, 0..59
  int Second = 0;                // seconds of the local time, 0..59
  float UniversalTime = 0;       // hours in [0, 24)
  double JulianDayUT = 0;        // days, Julian day of the moment (chart time scale)
  double JulianDay0h = 0;        // days, Julian day of 0h of the universal date
  int LatDeg = 0;                // degrees of latitude as typed, 0..90, unsigned
  int LatMin = 0;                // arc minutes, folded
  int LatSec = 0;                // arc seconds, folded
  float GeocentricLatitude = 0;  // degrees, North positive: phi - 0.19242777777777778 sin 2phi
  float GeoLatitude = 0;         // degrees, North positive
  int LatSign = 1;               // +1 North, -1 South
  int LonDeg = 0;                // degrees of longitude as typed, 0..180, unsigned
  int LonMin = 0;                // arc minutes, folded
  int LonSec = 0;                // arc seconds, folded
  float GeoLongitude = 0;        // degrees, East positive
  int LonSign = 1;               // +1 East, -1 West
  int ZoneHour = 0;              // hours of the zone, 0..14
  int ZoneMin = 0;               // minutes of the zone, 0..59
  int ZoneSec = 0;               // seconds of the zone, 0..59
  float TimeZone = 0;            // hours, East positive; local = universal + zone
};

// What a refusal is about: the field and the fault. The dialogs word the
// message from the interface string table.
enum class InputField { Day, Month, Year, Time, Latitude, Longitude, Zone };
enum class InputFault {
  None,
  EmptyField,            // a date field is blank
  NotANumber,            // Text holds a character other than a digit or a blank
  MonthOutOfRange,       // Text is a month outside 1..12
  YearZero,              // the eras have no year 0
  CoordinateOutOfRange,  // Text is a latitude beyond 90 or a longitude beyond 180 degrees
  DayOutOfRange,         // Text is a day 0 or beyond its month, which has Limit days
  TimeOutOfRange,        // Text is a time with hours above 23, or minutes or seconds above 59
  ZoneOutOfRange,        // Text is a zone of more than Limit hours, or minutes or seconds above 59
};
struct InputRefusal {
  InputFault Fault = InputFault::None;
  InputField Field = InputField::Day;
  std::string Text;  // code page 1251: the part at fault as typed
  int Limit = 0;     // the largest value allowed, where the fault has one
};

// ---- reading one part -------------------------------------------------------

// The number in count characters of text from 1-based column first: blanks
// dropped, an all-blank or absent part is 0. False when a character other
// than a blank or a digit stands there (value unchanged).
bool ReadDigitsField(std::string_view text, int first, int count, int& value);

// ---- calendar and folding ------------------------------------------------------

// The widest difference from Greenwich of any civil time, hours.
inline constexpr int kMaxZoneHours = 14;

// Days of a month (1..12) of an astronomical year in the calendar the
// program keeps: Julian up to 1582 (every fourth year leap), Gregorian after.
int DaysInMonth(int month, int year);

// The calculation parameters fold the parts of their fields; the data-input
// dialog refuses them instead.

// Hours of the local time: above 24 lose 24.
int FoldTimeHours(int hours);
// Minutes or seconds of a time or an angle: above 60 lose 60.
int FoldSixtieths(int value);
// Degrees of latitude: beyond +-90 become 0 (the equator). The data-input
// dialog refuses such a latitude instead; the calculation parameters fold it.
int FoldLatitudeDegrees(int degrees);
// Degrees of longitude: above 180 lose 360, below -180 gain 360 (likewise
// refused by the data-input dialog).
int FoldLongitudeDegrees(int degrees);
// A longitude in degrees brought into (-180, 180] by whole turns.
double FoldLongitude(double degrees);
// Hours of the zone: 24 or more lose 24.
int FoldZoneHours(int hours);
// Minutes or seconds of the zone: 60 or more lose 60.
int FoldZoneSixtieths(int value);

// ---- the whole input ---------------------------------------------------------

// The date and the local time: day, month, year of its era (before the
// common era the astronomical year is 1 - year), the time. False with the
// refusal when a field cannot be read, names no date or no time of day.
bool ParseLocalDateTime(const DataInputFields& fields, LocalDateTime& out, InputRefusal& refusal);

// Everything the dialog computes on OK: the local date and time, latitude,
// longitude and zone, signed; universal time = local time - zone
// brought into [0, 24) with the day carried (as often as needed, so the
// universal date is the moment's own); the Julian days of the moment and of
// 0h of that date (JulianDay, chart time scale, counted from the typed date).
// False with the refusal, and out unchanged, when any field cannot be read,
// a part is out of its range or the place lies beyond the pole or the date
// line.
bool ParseDataInput(const DataInputFields& fields, DataInputResult& out, InputRefusal& refusal);

// ---- writing a chart back ------------------------------------------------------

// The fields that show a chart's moment and place. The date and time are the
// local moment to the nearest whole second: Delta T removed from the Julian
// day and the zone added, a time rounding up to 24 h shown as 00:00:00 of the
// next date (universalTime is not read; the Julian day holds the moment); a
// year of 0 or less is shown as 1 - year with "до н.э.". The zone, latitude
// and longitude are rounded to the nearest whole second. Every part is
// written with two digits (three for the longitude's degrees), so that they
// read back by their positions and as the same values.
DataInputFields FieldsOfChartMoment(double julianDayUT, float universalTime, float timeZone,
                                    float geoLatitude, float geoLongitude, const TimeMarks& marks);

// "hh<h>mm<m>ss<s>" with two digits a part.
std::string TimeFieldText(int hours, int minutes, int seconds, const TimeMarks& marks);

// ---- the add-town dialog -------------------------------------------------------

// The add-town dialog's fields as text, code page 1251, blanks as spaces.
struct NewTownFields {
  std::string Name;           // Edit1
  std::string Country;        // Edit2
  std::string Abbreviation;   // ComboBox1, "" when none is chosen
  bool West = false;          // "Запад" (RadioButton4): zone West and western longitude
  std::string ZoneText;       // MaskEdit3 "hh?mm?": hours 1-2, minutes 4-5
  bool South = false;         // "Юг" (RadioButton2)
  std::string LatitudeText;   // MaskEdit1 "dd:mm:ss": degrees 1-2, minutes 4-5
  std::string LongitudeText;  // MaskEdit2 "ddd:mm:ss": degrees 1-3, minutes 5-6
};

// Reads the numbers of the add-town dialog (the seconds of the coordinates
// are not kept by the towns file and are not read). False with the refusal
// (NotANumber, the field Zone, Latitude or Longitude) when a part is no
// number; the folding of the line is BuildUserTownLine's.
bool ReadNewTownFields(const NewTownFields& fields, NewTown& town, InputRefusal& refusal);

// "hh<h>mm<m>" of an abbreviation's offset as the add-town dialog shows it.
std::string ZoneHoursMinutesText(int hours, int minutes, const TimeMarks& marks);
