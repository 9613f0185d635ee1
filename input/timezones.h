// Time-zone history of the town search: the zone (hours East, and whether a
// summer hour is in it) of a chosen town at the moment typed in the
// data-input dialog, from the files of the Towns folder.
//
//  * Time.ttt: the zone hours of each Russian and CIS region for the eleven
//    periods between the decree moments (kDecreeDays);
//  * Hour_zone.ttt: the summer-time switches shared by all those regions, as
//    Julian days on the chart's time scale; from an even-numbered switch
//    (counting from 0) to the next the clock is an hour ahead;
//  * the zone-rule files (.zon), one change of zone a line, chosen by the
//    number in columns 76-77 of a foreign or user town: thirty named by
//    country or state, and "Zone 31.zon" to "Zone 99.zon" for the zones of
//    the other foreign towns;
//  * "Region <code>.zon": the whole history of a region's clock, in the same
//    layout; a Russian or CIS town whose region has one takes its zone from
//    it, and Time.ttt and Hour_zone.ttt serve a region without one;
//  * the two lists of zone abbreviations with their fixed offsets.
//
// Every moment here is a local clock reading taken through JulianDay
// (engine/astromath.h): a Julian day on the chart's time scale of the local
// date and time, not of universal time. A change of zone is stamped with the
// clock reading just before it; that reading and every later one take the
// new zone. Readings are compared with stamps to within kReadingToleranceDays,
// so the rounding of single-precision hours and of written Julian days never
// decides on which side of a change a reading falls. A reading the clock
// skipped (spring) thus takes the later zone, and one it showed twice
// (autumn) its first occurrence, the earlier zone. Columns are 1-based, as the file
// layouts count them; line numbers in messages count from 1.
//
// Parsing is all or nothing: a malformed or short line gives a message naming
// the file and the line, and the output is left as it was. No Qt here; the
// dialogs show the results.
#pragma once

#include <string>
#include <vector>

// ---- zone abbreviations ------------------------------------------------------

struct ZoneAbbreviation {
  const char* Name = "";      // abbreviation, ASCII
  double WestHours = 0;       // hours, West of Greenwich positive
  const char* LongName = "";  // explanation shown by the add-town dialog, ASCII
};

inline constexpr int kZoneAbbreviationCount = 76;

// The list of the data-input dialog, in its order. EAST and LIGT carry +10
// (West), not -10 like their neighbours; they are kept as they are.
inline constexpr ZoneAbbreviation kZoneAbbreviations[kZoneAbbreviationCount] = {
    {"NZDT", -13, "New Zealand Daylight Time"},
    {"IDLE", -12, "International Date Line, East"},
    {"NZST", -12, "New Zealand Std Time"},
    {"NZT", -12, "New Zealand Time"},
    {"NZ", -11.5, "New Zealand"},
    {"AESST", -11, "Australia Eastern Summer Std Time"},
    {"AEDT", -11, "Australia Eastern Daylight Time"},
    {"ACSST", -10.5, "Central Australia Summer Std Time"},
    {"CADT", -10.5, "Central Australia Daylight Savings Time"},
    {"SADT", -10.5, "South Australian Daylight Time"},
    {"ACDT", -10.5, "Australia Central Daylight Time"},
    {"AEST", -10, "Australia Eastern Std Time"},
    {"EAST", +10, " East Australian Std Time"},
    {"GST", -10, "Guam Std Time, USSR Zone 9"},
    {"LIGT", +10, "Melbourne, Australia"},
    {"ACST", -9.5, "Central Australia Std Time"},
    {"CAST", -9.5, "Central Australia Std Time"},
    {"SAT", -9.5, "South Australian Std Time"},
    {"AWSST", -9.5, "Australia Western Summer Std Time"},
    {"AWDT", -9, "Australia Western Daylight Time"},
    {"JST", -9, "Japan Std Time,USSR Zone 8"},
    {"KST", -9, "Korea Standard Time"},
    {"WDT", -9, "West Australian Daylight Time"},
    {"MT", -8.5, "Moluccas Time"},
    {"AWST", -8, "Australia Western Std Time"},
    {"CCT", -8, "China Coastal Time"},
    {"WADT", -8, "West Australian Daylight Time"},
    {"WST", -8, "West Australian Std Time"},
    {"JT", -7.5, "Java Time"},
    {"WAST", -7, "West Australian Std Time"},
    {"IT", -3.5, "Iran Time"},
    {"BT", -3, "Baghdad Time"},
    {"BAT", -3, ""},
    {"EETDST", -3, "Eastern Europe Daylight Savings Time"},
    {"CETDST", -2, "Central European Daylight Savings Time"},
    {"EET", -2, "Eastern Europe, USSR Zone 1"},
    {"FWT", -2, "French Winter Time"},
    {"IST", -2, "Israel Std Time"},
    {"MEST", -2, "Middle Europe Summer Time"},
    {"METDST", -2, "Middle Europe Daylight Time"},
    {"SST", -2, "Swedish Summer Time"},
    {"BST", -1, "British Summer Time"},
    {"CET", -1, "Central European Time"},
    {"DNT", -1, "Dansk Normal Tid"},
    {"DST", -1, "Dansk Standard Time"},
    {"FST", -1, "French Summer Time"},
    {"MET", -1, "Middle Europe Time"},
    {"MEWT", -1, "Middle Europe Winter Time"},
    {"MEZ", -1, "Middle Europe Zone"},
    {"NOR", -1, "Norway Standard Time"},
    {"SET", -1, "Seychelles Time"},
    {"SWT", -1, "Swedish Winter Time"},
    {"WETDST", -1, "Western Europe Daylight Savings Time"},
    {"GMT", 0, "Greenwish Mean Time"},
    {"WET", 0, "Western Europe"},
    {"WAT", +1, "West Africa Time"},
    {"NDT", +2.5, "Newfoundland Daylight Time"},
    {"ADT", +3, "Atlantic Daylight Time"},
    {"NFT", +3.5, "Newfoundland Standard Time"},
    {"NST", +3.5, "Newfoundland Standard Time"},
    {"AST", +4, "Atlantic Std Time (Canada)"},
    {"EDT", +4, "Eastern Daylight Time"},
    {"CDT", +5, "Central Daylight Time"},
    {"EST", +5, "Eastern Standard Time"},
    {"CST", +6, "Central Std Time"},
    {"MDT", +6, "Mountain Daylight Time"},
    {"MST", +7, "Mountain Standard Time"},
    {"PDT", +7, "Pacific Daylight Time"},
    {"PST", +8, "Pacific Std Time"},
    {"YDT", +8, "Yukon Daylight Time"},
    {"HDT", +9, "Hawaii/Alaska Daylight Time"},
    {"YST", +9, "Yukon Standard Time"},
    {"AHST", +10, "Alaska-Hawaii Std Time"},
    {"CAT", +10, "Central Alaska Time"},
    {"NT", +11, "Nome Time"},
    {"IDLW", +12, "International Date Line, West"},
};

// The list of the add-town dialog: the same 76 entries and a 77th, empty one
// (offset 0, empty long name) for a town without an abbreviation.
inline constexpr int kTownDbZoneAbbreviationCount = kZoneAbbreviationCount + 1;
inline constexpr ZoneAbbreviation kTownDbEmptyAbbreviation = {"", 0, ""};
// Entry i of the add-town dialog's list (0..76).
const ZoneAbbreviation& TownDbZoneAbbreviation(int index);

// Index in kZoneAbbreviations of the first entry named exactly name (after
// trailing blanks are dropped); -1 when none is, or name is blank.
int FindZoneAbbreviation(const std::string& name);

// ---- the zone field ------------------------------------------------------------

// The zone field of the data-input dialog: a magnitude and its hemisphere.
struct ZoneField {
  int Hours = 0;      // hours, 0..23
  int Minutes = 0;    // minutes, 0..59
  int Seconds = 0;    // seconds, 0..59
  bool West = false;  // hemisphere "Запад" (West of Greenwich) selected, else "Восток"
};

// The field for an offset in hours East: |hours| split into hours, minutes
// and whole seconds, West when hours < 0.
ZoneField ZoneFieldFromEastHours(double eastHours);
// The field an abbreviation of the lists sets (West when its offset is > 0).
ZoneField ZoneFieldFromAbbreviation(const ZoneAbbreviation& entry);
// Hours East that a field stands for (negative when West).
double EastHoursOfField(const ZoneField& field);
// The field as the dialog shows it: two digits each, followed by the marks
// (the interface string table's entries for hours, minutes and seconds).
std::string ZoneFieldText(const ZoneField& field, const std::string& hourMark,
                          const std::string& minuteMark, const std::string& secondMark);

// ---- the moment ----------------------------------------------------------------

// The decree moments bounding the periods of Time.ttt: Julian days on the
// chart's time scale of 0 h local time on 2 May 1924, 21 June 1930,
// 9 February 1931, 5 August 1940, 1 December 1956, 1 October 1981,
// 1 April 1982, 27 March 1988, 26 March 1989, 31 March 1991, 19 January 1992.
inline constexpr int kDecreeCount = 11;
inline constexpr double kDecreeDays[kDecreeCount] = {
    2423907.4999, 2426148.5,    2426381.5,    2429846.5,    2435808.5003, 2444878.5006,
    2445060.5006, 2447247.5007, 2447611.5007, 2448346.5008, 2448640.5008};

// Period of a moment: 0 before the first decree, k (1..10) from decree k-1
// up to decree k, 11 from the last on.
int ZonePeriod(double localMoment);

// The local moment of a date and local time (astronomical year, 1 BC = 0):
// a time of 24 h or more carries one day on, then JulianDay of the local time.
double LocalMoment(int day, int month, int year, double localHours);

// ---- Time.ttt and Hour_zone.ttt --------------------------------------------------

inline constexpr int kZoneRegionLines = 61;  // lines 1..61 of Time.ttt are regions
inline constexpr int kZonePeriodCount = 11;  // periods 1..11 carry a field

struct ZoneRegion {
  std::string Code;                        // the line's name (text before "="): region code
  int PeriodHours[kZonePeriodCount] = {};  // hours East, zone of periods 1..11
};

// Reads the region lines of Time.ttt (lines 1..61; line 0 and lines after
// 61 are not examined). Each field at columns 6, 10, .., 46 is two
// characters holding an hour 0..14 (a blank beside the digit allowed). A line
// with no "=", a field cut short, not a number or out of range gives a
// message "<fileName>, line N: ..." and leaves regions unchanged.
bool ParseZoneHistory(const std::vector<std::string>& lines, const std::string& fileName,
                      std::vector<ZoneRegion>& regions, std::string& message);

// Reads Hour_zone.ttt: one Julian day a line, in the locale's number format,
// strictly ascending. A line that is no number, or out of order, gives a
// message and leaves switches unchanged.
bool ParseSummerSwitches(const std::vector<std::string>& lines, const std::string& fileName,
                         std::vector<double>& switches, std::string& message);

// Half a second, in days: a reading within it of a stamp is on the stamp.
// Readings are whole seconds, so no two distinct readings are this close.
inline constexpr double kReadingToleranceDays = 0.5 / 86400.0;

// True when the moment falls in summer time: the last switch it is on or
// after has an even index (counting from 0). A reading on a switch takes the
// interval the switch opens: in spring the summer hour, in autumn winter time.
bool IsSummerTime(const std::vector<double>& switches, double localMoment);

// ---- zone-rule files ----------------------------------------------------------------

inline constexpr int kNamedZoneRuleFileCount = 30;  // "Albania.zon" .. "Yugoslavia.zon"
inline constexpr int kZoneRuleFileCount = 99;       // every two-digit number names a file
// File name of zone-rule number n (1..99): the thirty country and state
// names, then "Zone NN.zon"; empty for any other number.
std::string ZoneRuleFileName(int number);
// File name of a region's own zone-rule file: "Region <code>.zon", a name no
// zone-rule number gives.
std::string RegionZoneRuleFileName(const std::string& regionCode);

struct ZoneRuleLine {
  double Moment = 0;           // Julian day, chart scale, of the line's local date and time
  bool LocalMeanTime = false;  // column 24 blank: a local-mean-time line
  double LongitudeDeg = 0;     // local-mean-time line: its meridian, degrees East positive
  std::string Abbreviation;    // zone line: columns 24-27 less trailing blanks
  bool West = false;           // column 31 "-": West of Greenwich
  int ZoneHours = 0;           // zone line: hours (columns 32-33)
  int ZoneMinutes = 0;         // zone line: minutes (columns 35-36)
};

// Julian day of columns 1-19 of a zone-rule line: day (1-2), month "Jan" to
// "Dec" (4-6), year (8-11, of the common era), hour (15-16; above 24 loses
// 24) and minute (18-19). False, with moment unchanged, when a field is no
// number or the month is unknown; what names the fault.
bool ZoneLineMoment(const std::string& line, double& moment, std::string& what);

// Reads a zone-rule file: every line in full (a local-mean-time line up to
// column 30, a zone line up to column 36), the moments never decreasing.
// On a fault: a message "<fileName>, line N: ..." and rules unchanged.
bool ParseZoneRuleFile(const std::vector<std::string>& lines, const std::string& fileName,
                       std::vector<ZoneRuleLine>& rules, std::string& message);

// ---- the zone of a town ------------------------------------------------------------------

// How often the clock showed a local reading: once; never, because the clock
// jumped over it (the later zone is taken); or twice, because the clock was
// put back over it (the first occurrence, the earlier zone, is taken).
enum class ClockReading { Once, Skipped, Repeated };

struct TownZone {
  bool Ok = false;                            // false: nothing to fill in, see Message
  ClockReading Reading = ClockReading::Once;  // the moment as the town's clock showed it
  ZoneField Field;                            // what the zone field shows
  double EastHours = 0;                       // hours East positive: the time zone the field gives
  bool Summer = false;                        // a summer hour of Hour_zone.ttt was added
  bool LocalMeanTime = false;                 // the zone is the town's local mean time
  int Abbreviation = -1;                      // index in kZoneAbbreviations to select, -1 none
  bool ShowAbbreviations = false;             // the abbreviation list is shown (foreign towns)
  std::string Message;  // on failure: why, naming file and line where one is at fault
};

// Zone of a Russian or CIS town from its region code and longitude (degrees
// East positive, whole minutes as the towns file holds them):
//  * before the first decree, and in periods 1 and 2 for regions "1" to "5",
//    the town's local mean time, longitude / 15 split to whole seconds, on the
//    longitude's side of Greenwich;
//  * otherwise the region's field for the period, East;
// then one hour more when the moment falls in summer time. A code not among
// the regions gives Ok = false and a message. Readings skipped or repeated at
// a summer switch are marked in Reading.
TownZone ZoneOfRegionTown(const std::vector<ZoneRegion>& regions,
                          const std::vector<double>& switches, const std::string& regionCode,
                          double longitudeDeg, double localMoment);

// Zone of a town from a zone-rule file. The leading local-mean-time lines
// are passed while their moments are not after the moment; one still ahead
// applies: the town's own local mean time (longitude / 15, the longitude
// degrees East positive). Otherwise the last line not after the moment
// applies (the first of the remaining lines when all are later, the last
// when all are earlier). A reading the change into that line's zone skipped,
// or the change out of it repeats, is marked in Reading. An empty file gives
// Ok = false.
TownZone ZoneOfRuleFileTown(const std::vector<ZoneRuleLine>& rules, double longitudeDeg,
                            double localMoment);

// Zone of a town that keeps its own fixed zone: abbreviation (selected when
// the list holds it; the whole name is compared), West flag, hours, minutes.
TownZone ZoneOfOwnZoneTown(const std::string& abbreviation, bool west, int hours, int minutes);

// ---- town lines ------------------------------------------------------------------------

// What the zone needs of a Towns.twn line: longitude (column 28 "-" West,
// degrees 29-31, minutes 33-34) and region code (columns 38-39, trailing
// blanks dropped, so a one-character code at column 38 is found).
struct RegionTownFields {
  double LongitudeDeg = 0;  // degrees, East positive
  std::string RegionCode;   // Time.ttt line name
};
bool ParseRegionTownLine(const std::string& line, RegionTownFields& fields, std::string& what);

// What the zone needs of a TownsForeign1.twn or TownsUser.twn line.
struct ForeignTownFields {
  std::string Abbreviation;  // columns 41-46 less trailing blanks
  bool ZoneWest = false;     // column 47 "-"
  int ZoneHours = 0;         // columns 48-49
  int ZoneMinutes = 0;       // columns 51-52
  double LongitudeDeg = 0;   // degrees East positive: columns 66-68, 69 "W" West, 70-71
  int ZoneRuleNumber = 0;    // columns 76-77; 0 = the town's own zone
};
bool ParseForeignTownLine(const std::string& line, ForeignTownFields& fields, std::string& what);

// The zone of a chosen town read from the files of townsFolder (ending in
// '/'): for a Towns.twn line its region's own zone-rule file where the folder
// holds one (the zone field only: no abbreviation is shown), else Time.ttt
// and Hour_zone.ttt; for a foreign or user town the zone-rule file
// named by columns 76-77 for a foreign or user town (one file read; "00" is
// the town's own zone and reads none). Any fault gives
// Ok = false and a message naming the file and the line; the moment must come
// from fully parsed dialog fields (LocalMoment).
TownZone ZoneOfRegionTownLine(const std::string& townsFolder, const std::string& townLine,
                              double localMoment);
TownZone ZoneOfForeignTownLine(const std::string& townsFolder, const std::string& townLine,
                               double localMoment);
