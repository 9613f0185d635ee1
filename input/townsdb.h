// Towns database and the town search of the data-input dialog.
//
// Three files in the Towns folder under the program folder hold the towns,
// one a line, code page 1251, columns counted from 1 (a character is a byte):
//
//  * Towns.twn (Russia and the former Soviet republics): the name up to the
//    first "=" (at column 20 at the latest); 21 "-" for a southern latitude;
//    22-23 latitude degrees (blank-padded); 25-26 minutes; 28 "-" for a
//    western longitude; 29-31 longitude degrees (blank-padded); 33-34
//    minutes; 38-39 the region code, the name of a Time.ttt line (a
//    one-character code ends the line at column 38).
//  * TownsForeign1.twn and TownsUser.twn (the rest of the world, and the
//    towns the user added), 77 fixed columns: name 1-20, country 21-40, zone
//    abbreviation 41-46, 47 "-" for a zone West of Greenwich else "+", zone
//    hours 48-49, ":" at 50, zone minutes 51-52, latitude degrees 58-59,
//    "N"/"S" at 60, minutes 61-62, longitude degrees 66-68, "E"/"W" at 69,
//    minutes 70-71, number of the zone-rule file 76-77 ("00": the town's own
//    zone). Columns 53-57 and 72-75 are blanks.
//
// The search looks the typed place name up as a prefix of whole lines, both
// upper-cased by the locale's rules, first in Towns.twn, then in
// TownsForeign1.twn, then in TownsUser.twn (sorted after reading). The files
// are kept sorted by TownLineLess so that the lines sharing a prefix form one
// run.
//
// Reading a chosen line is all or nothing: a line cut short, a field that is
// no number, a hemisphere letter that is neither of its two gives a message
// naming the file and the line, and nothing is filled in. Adding a town
// rewrites TownsUser.twn whole and atomically.
//
// The zone of a chosen town is not worked out here: the record carries what
// the zone lookup of the time-zone history needs (the region code of a
// Towns.twn town, the zone-rule number and own zone of a foreign or user
// town) together with the chosen line. No Qt here; the dialogs present.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/textfile.h"

inline constexpr const char* kTownsFileName = "Towns.twn";
inline constexpr const char* kForeignTownsFileName = "TownsForeign1.twn";
inline constexpr const char* kUserTownsFileName = "TownsUser.twn";

// Which file a town line comes from; Russian lines have the "name=" layout,
// the other two the fixed 77-column layout.
enum class TownFile { Russian, Foreign, User };

inline constexpr int kTownNameColumns = 20;         // name, foreign and user layout
inline constexpr int kTownCountryColumns = 20;      // country
inline constexpr int kTownAbbreviationColumns = 6;  // zone abbreviation
inline constexpr int kTownLineLength = 77;          // a foreign or user line
inline constexpr int kTownConfirmationLength = 71;  // shown before a new town is saved
inline constexpr int kRussianTownMinLength = 38;    // a Towns.twn line reaches the region code

// The result grid in towns mode: caption entry of the interface string table,
// four columns (name, country, latitude, longitude) of these widths in pixels.
inline constexpr int kTownGridCaptionEntry = 321;
inline constexpr int kTownGridColumnWidths[4] = {140, 140, 50, 50};
// Country cell of every Towns.twn row: "Россия/СНГ" in code page 1251.
inline constexpr const char* kRussianTownsCountry = "\xD0\xEE\xF1\xF1\xE8\xFF/\xD1\xCD\xC3";

// "<programFolder>/Towns/".
std::string TownsFolder(const std::string& programFolder);
// File name of a towns file, and its path in a towns folder (ending in '/').
const char* TownFileName(TownFile file);
std::string TownFilePath(const std::string& townsFolder, TownFile file);

// ---- order and search ----------------------------------------------------------

// Order of the towns files: the upper-cased lines (code page 1251 bytes,
// unsigned) first, the lines as they stand to break ties. Under it the lines
// that share an upper-cased prefix are adjacent.
bool TownLineLess(const std::string& a, const std::string& b);

// Sorts lines into that order, carrying numbers along (the 1-based line
// numbers in the file, so that messages still name the file's line); numbers
// is resized to lines.size() and filled 1, 2, .. when it is not already.
void SortTownLines(LineList& lines, std::vector<std::size_t>& numbers);

// A run of lines: indices First .. First + Count - 1.
struct TownMatchRange {
  std::size_t First = 0;  // index of the first matching line
  std::size_t Count = 0;  // number of matching lines; 0 when none matches
};

// Prefix search: a line matches when its first |typed| characters equal typed,
// both upper-cased. The range narrows prefix by prefix (k = 1 .. |typed|: the
// run, within the previous one, of the lines whose first k characters
// match), so in a sorted list it holds every matching line. Empty typed text
// matches nothing.
TownMatchRange FindTownsByPrefix(const LineList& lines, std::string_view typed);

// ---- one town -------------------------------------------------------------------

struct TownRecord {
  TownFile File = TownFile::Russian;  // layout the line was read with
  std::string Name;     // Towns.twn: the text before "="; others: columns 1-20 less trailing blanks
  std::string Country;  // others: columns 21-40 less trailing blanks; Towns.twn: empty
  bool South = false;   // latitude South of the equator
  int LatDegrees = 0;   // degrees, 0..90
  int LatMinutes = 0;   // arc minutes, 0..59
  bool West = false;    // longitude West of Greenwich
  int LonDegrees = 0;   // degrees, 0..180
  int LonMinutes = 0;   // arc minutes, 0..59
  std::string RegionCode;  // Towns.twn: columns 38-39 less trailing blanks, a Time.ttt line name
  std::string ZoneAbbreviation;  // others: columns 41-46 less trailing blanks ("" for none)
  bool ZoneWest = false;         // others: column 47 is "-"
  int ZoneHours = 0;             // others: hours of the own zone, 0..23
  int ZoneMinutes = 0;           // others: minutes of the own zone, 0..59
  int ZoneRule = 0;  // others: zone-rule file number, columns 76-77, 0..99; 0 = own zone
};

// Reads one line in the layout of its file. All or nothing: on a fault
// returns false, leaves town unchanged and says in what which column is at
// fault (without file and line; see TownLineMessage).
bool ParseTownLine(std::string_view line, TownFile file, TownRecord& town, std::string& what);

// "<fileName>, line <lineNumber>: <what>".
std::string TownLineMessage(const std::string& fileName, std::size_t lineNumber,
                            const std::string& what);

// ---- result grid and the dialog's fields ------------------------------------------

// The four cells of one grid row, as they stand in the line: Towns.twn: the
// text before "=", "Россия/СНГ", columns 22-26, columns 29-34; the others:
// columns 1-20, 21-40, 58-62, 66-71. A cell cut short by the line's end
// holds what there is.
struct TownGridRow {
  std::string Name;       // first column
  std::string Country;    // second column
  std::string Latitude;   // third column
  std::string Longitude;  // fourth column
};
TownGridRow TownGridRowOf(std::string_view line, TownFile file);
std::vector<TownGridRow> TownGridRows(const LineList& lines, TownMatchRange range, TownFile file);

// What choosing a town fills in on the data-input dialog (the zone field and
// its hemisphere excepted: those come from the time-zone history).
struct TownPlaceFields {
  std::string PlaceName;      // Edit2: the town's name
  std::string LatitudeText;   // MaskEdit5: degrees ":" minutes ":" "00", two digits each
  std::string LongitudeText;  // MaskEdit6: three-digit degrees ":" minutes ":" "00"
  bool South = false;         // "Юг" (RadioButton2), else "Север" (RadioButton1)
  bool West = false;  // "Запад" for the longitude (RadioButton4) and the zone (RadioButton10)
};
TownPlaceFields PlaceFieldsOfTown(const TownRecord& town);

// ---- the search ------------------------------------------------------------------------

enum class TownSearchStatus {
  EmptyName,  // nothing typed: nothing done
  Found,      // lines matched in File; Rows is the grid
  NotFound,   // no file holds the name: offer to add the town
  FileError,  // a towns file could not be read: Message says which
};

struct TownSearchResult {
  TownSearchStatus Status = TownSearchStatus::EmptyName;
  TownFile File = TownFile::Russian;  // file of the matches; NotFound: the user file; FileError:
                                      // the unreadable one
  LineList Lines;  // that file's lines, the list the dialog keeps (the user file sorted)
  std::vector<std::size_t>
      FileLineNumbers;            // 1-based line number in the file of each entry of Lines
  TownMatchRange Range;           // the matching run of Lines
  std::vector<TownGridRow> Rows;  // the grid, one row per matching line
  std::string Message;            // FileError: the file and why
};

// Looks typed up in Towns.twn, then TownsForeign1.twn, then TownsUser.twn
// (sorted after reading) of townsFolder (ending in '/'); every file is read
// afresh, as the files may have changed since the last search.
TownSearchResult SearchTowns(const std::string& townsFolder, std::string_view typed);

struct ChosenTown {
  bool Ok = false;                    // false: nothing is to be filled in, Message says why
  TownFile File = TownFile::Russian;  // file of the chosen line
  std::string Line;                   // the chosen line as it stands, for the zone lookup
  TownRecord Town;                    // the line read
  TownPlaceFields Fields;             // what the dialog shows
  std::string Message;                // on failure: file and line at fault
};

// The town of grid row selectedRow (0-based) of a search that found lines:
// line Range.First + selectedRow, read whole before anything is filled in.
ChosenTown ChooseTown(const TownSearchResult& search, int selectedRow);

// ---- adding a town --------------------------------------------------------------------

// The add-town dialog's fields. Numbers are as typed in the masked fields.
struct NewTown {
  std::string Name;          // code page 1251, 1..20 characters
  std::string Country;       // at most 20 characters
  std::string Abbreviation;  // zone abbreviation chosen from the list, "" for none (at most 6)
  bool West = false;         // "Запад": zone West of Greenwich and western longitude
  int ZoneHours = 0;         // hours, 0..23
  int ZoneMinutes = 0;       // minutes, 0..59
  bool South = false;        // "Юг"
  int LatDegrees = 0;        // degrees as typed; above 90 taken as 0
  int LatMinutes = 0;        // arc minutes as typed; above 60 less 60
  int LonDegrees = 0;        // degrees as typed; folded into 0..180, the hemisphere turned past 180
  int LonMinutes = 0;        // arc minutes as typed; above 60 less 60
};

enum class NewTownStatus {
  Ok,              // Line holds the new line
  NameTooLong,     // the name has more than 20 characters (message of entry 345)
  NoName,          // the name is blank
  CountryTooLong,  // the country has more than 20 characters
  ZoneOutOfRange,  // the zone is outside 0..23 h, 0..59 min
  Refused,         // another field cannot be written; Message says which
};

struct NewTownLine {
  NewTownStatus Status = NewTownStatus::Refused;
  std::string Line;     // the 77-character line when Ok
  std::string Message;  // Refused: what is wrong
};

// Builds the TownsUser.twn line of a new town: 76 blanks, name at 1, country
// at 21, abbreviation at 41, "-" (West) or "+" at 47, zone hours 48-49, ":"
// at 50, zone minutes 51-52, latitude degrees 58-59, "S"/"N" at 60, minutes
// 61-62, longitude degrees 66-68 (leading zeros), "W"/"E" at 69, minutes
// 70-71, "00" at 76-77.
NewTownLine BuildUserTownLine(const NewTown& town);

// The text the confirmation shows: the first 71 characters of the line.
std::string NewTownConfirmation(const std::string& line);

struct AddTownResult {
  bool Ok = false;      // the file was written
  LineList Lines;       // TownsUser.twn as written (sorted), the list the dialog keeps
  std::string Message;  // on failure: why; the file is as it was
};

// Appends line to TownsUser.twn of townsFolder: the file is read afresh, the
// line added, the list sorted and written back whole and atomically. A line
// that does not read back as a town is refused and nothing is written.
AddTownResult AddUserTown(const std::string& townsFolder, const std::string& line);
