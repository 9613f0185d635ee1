// The sixteen chart settings files under <program folder>/Options/: colours,
// line switches, house system and wheel style, radii, glyph sizes, chosen
// objects and aspect kinds, orbs, almuten tables and Arabic parts, plus the
// default place of the calculation parameters, the save-settings flag and the
// chart window's colour, which are not chart-record fields.
//
// Every file is plain code page 1251 text, one value per line, CR LF line
// ends, no header; floats are in the locale's decimal format. Line numbers in
// the layout comments count from 0; line numbers in messages count from 1, as
// a text editor shows them.
//
// OPT.opt layout: 0 HouseSystem 1..23, 1 ChartStyle, 2 PrevGeocentric (written
// as 0, never read), 3 WheelOrientation 1..4, 4 HatchElements, 5 HatchHouses,
// 6 the save-settings flag, 7 HouseRulerMethod 0..2, 8..11 the default place:
// geocentric latitude, latitude, longitude (degrees) and time zone (hours).
//
// Reading is all or nothing: the files are read into a copy of the record and
// the record is replaced only when every file was read and every value that
// serves as an index is in range. Writing builds each file whole and replaces
// it atomically; one failed file does not stop the others.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chartrecord.h"

// File names in the order they are read and in the order they are written.
inline constexpr const char* kChartSettingsReadOrder[16] = {
    "CS.opt",   "CA.opt",   "CH.opt",  "SP.opt",    "OPT.opt",  "KR.opt",   "IF.opt",   "TAP1.opt",
    "TDO1.opt", "TDA1.opt", "KA1.opt", "KSBS1.opt", "AOR1.opt", "ALMD.opt", "ALMN.opt", "PAR.opt"};
inline constexpr const char* kChartSettingsWriteOrder[16] = {
    "AOR1.opt", "CS.opt",   "CA.opt",   "CH.opt",  "SP.opt",    "OPT.opt",  "KR.opt",   "IF.opt",
    "TAP1.opt", "TDO1.opt", "TDA1.opt", "KA1.opt", "KSBS1.opt", "ALMD.opt", "ALMN.opt", "PAR.opt"};

// The calculation parameters' default place.
struct DefaultPlace {
  double GeocentricLatitude = 0;  // degrees, phi - 0.19242777777777778 sin 2phi
  double Latitude = 0;            // degrees, North positive
  double Longitude = 0;           // degrees, East positive
  double TimeZone = 0;            // hours, East positive
};

// Values the settings files keep for other windows.
struct SettingsOutsideRecord {
  std::int32_t WindowColor = 0;   // chart window background, 0x00BBGGRR or negative system colour
  std::uint8_t SaveSettings = 0;  // flag: the main window's "save settings during work"
  DefaultPlace Place;             // default place of the calculation parameters
};

// What the windows show after the settings were read.
struct SettingsMenuState {
  int HouseSystem = 1;                 // house-system menu item to check, 1..23
  bool EuropeanStyle = true;           // check N61 when true, else N62
  int OrientationItem = 1;             // 1..4: check N63, N64, N65 or N66
  bool SolidMinorLines = true;         // check N111 when true, else N112
  int HatchElementsCaptionEntry = 50;  // language entry for the caption of N118 (50 or 51)
  int HatchHousesCaptionEntry = 58;    // language entry for the caption of N124 (58 or 59)
  int HouseRulerMethod = 0;            // 0..2: select RadioButton1, 2 or 3
  SettingsOutsideRecord Outside;       // window colour; RadioButton20 (1) / 21 (0); default place
};

struct SettingsReadResult {
  bool Ok = false;      // true when every file was read and the record replaced
  std::string Message;  // on failure: the path, and the line when a value is at fault
};

// "<programFolder>/Options/".
std::string ChartSettingsFolder(const std::string& programFolder);

// Reads the sixteen files from <programFolder>/Options/. On success replaces
// the settings fields of record (PrevGeocentric 0 and Geocentric 1 whatever
// the file holds) and fills state; on failure leaves both untouched and says
// why. Nothing is written.
SettingsReadResult ReadChartSettings(const std::string& programFolder, ChartRecord& record,
                                     SettingsMenuState& state);
// The same from an explicit folder (ending in '/').
SettingsReadResult ReadChartSettingsFrom(const std::string& folder, ChartRecord& record,
                                         SettingsMenuState& state);

// Reads the lines of one settings file (fileName a name of
// kChartSettingsReadOrder, path the name messages give) into record and
// outside: the work ReadChartSettingsFrom does for each file. On a fault
// returns false with a message naming the path and line; record may then hold
// part of the file, so callers read into a scratch copy.
bool ReadChartSettingsLines(const std::string& fileName, const std::string& path,
                            const std::vector<std::string>& lines, ChartRecord& record,
                            SettingsOutsideRecord& outside, std::string& message);

// The lines of one settings file (a name of kChartSettingsWriteOrder) as they
// are written from record and outside; empty for an unknown name.
std::vector<std::string> ChartSettingsFileLines(const std::string& fileName,
                                                const ChartRecord& record,
                                                const SettingsOutsideRecord& outside);

// Writes the sixteen files to <programFolder>/Options/ in the write order.
// Returns one message per file that could not be written (empty = all done).
// A file that would hold a value that is not finite is not written (a
// message says so), so the next start still reads it.
// PAR.opt is written with the count 0 when no part is defined, so deleted
// parts stay deleted.
std::vector<std::string> WriteChartSettings(const std::string& programFolder,
                                            const ChartRecord& record,
                                            const SettingsOutsideRecord& outside);
std::vector<std::string> WriteChartSettingsTo(const std::string& folder, const ChartRecord& record,
                                              const SettingsOutsideRecord& outside);

// The chart window's build of its record: InitChartRecord, then the settings
// files. On failure the record holds the initialised values without the
// settings, and the result's message says which file and line failed.
SettingsReadResult BuildChartRecord(ChartRecord& record, const std::vector<std::string>& uiText,
                                    int houseRulerMethod, const std::string& programFolder,
                                    SettingsMenuState& state);
