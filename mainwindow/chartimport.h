// Charts from other programs' files, read into a new chart database in
// memory: a root, one section and one chart per foreign chart, each chart with
// its record line (recordline.h). Nothing here includes Qt; the readers work on
// the bytes of the files and write nothing to disk.
//
// The six formats, by the index of the open dialog's filter:
//   2 Quick*Chart (.qck)   fixed columns, one chart per line
//   3 Almagest DOS (.ddd)  separators, one chart per line, code page 866
//   4 Zet (.zet)           fixed columns, one chart per line
//   5 SkyWorker (.cat)     a header line, then a name line and a data line a chart
//   6 Gemma 10 (.ast)      one chart per file, every .ast file of a folder, code page 866
//   7 Uranus DOS (.bda)    fields separated by the byte 1, one chart per line, code page 866
//
// Every file is old DOS text: a 0x1A byte ends it, and lines end in CR LF, LF
// or CR. Text of code page 866 is converted to code page 1251 first.
//
// Numeric fields are read as integers when the file is imported and written
// without leading zeros, so every imported record loads; an empty numeric
// field reads as 0, except the date, which a chart cannot do without. A sign
// given apart from the number (a hemisphere letter, the sign column of a zone)
// or carried by a zero ("-00" hours of a zone of -0:30) goes to the first part
// that is not zero, as DegToDms writes it. Imported records carry the house
// code 1 (no houses) and the chart kind 3.
//
// A line is read only as far as it goes: a line that ends inside or before
// a field its format has (a separator missing, a fixed column past its end,
// fewer characters than a field takes) is refused, never read as zeros. A
// value that the data-input dialog would refuse (a month 13, a day beyond its
// month, a latitude beyond 90 degrees, a longitude beyond 180, hours beyond
// 23, minutes and seconds beyond 59, a zone beyond 14 hours) is refused too.
// Fields a format does not have (the zone of Almagest and Uranus files, the
// coordinates of an Almagest line that ends after its time) read as 0.
//
// An import is all or nothing: the first chart that cannot be read stops it,
// and the failure names the file, the line, the field and the text at fault.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/chartdb.h"

// Index of a foreign format in the open dialog's filter list.
enum class ForeignFormat : int {
  QuickChart = 2,
  Almagest = 3,
  Zet = 4,
  SkyWorker = 5,
  Gemma = 6,
  Uranus = 7,
};

// True for the filter indices 2..7.
bool IsForeignFormat(int filterIndex);

// Code page 866 -> code page 1251 for the bytes 128..255: entry i is the
// code page 1251 byte of the code page 866 byte 128 + i. Box-drawing and block
// characters that code page 1251 lacks become "#", a broken bar, an en dash or
// "=", by their look.
extern const unsigned char Cp866Table[128];

// Converts code page 866 text to code page 1251 byte by byte: bytes below 128
// unchanged, the length kept.
std::string ConvertDosFile(std::string_view cp866);

// The text of an old DOS file: everything before its first 0x1A byte.
std::string_view DosText(std::string_view bytes);

// Why an import stopped.
enum class ImportFault {
  None,
  CannotRead,    // the file could not be read (Text: the system's message)
  UnknownMonth,  // a Quick*Chart month that is none of the twelve names (Text: the month)
  NotANumber,    // a numeric field that is no integer (Text: the field's text)
  NoDate,        // a chart without its day, month or year
  ShortFile,     // a Gemma file of fewer than 9 lines (Text: how many it has)
  NoData,        // a SkyWorker name line without the data line after it
  ShortLine,     // a line that ends inside or before Field (Text: its length)
  OutOfRange,    // Field's value Text lies outside Low..High
};

// The fields of a foreign chart, as a failure names them. The three parts of
// the zone, the latitude and the longitude follow each other.
enum class ImportField {
  None,
  Day,
  Month,
  Year,
  Hour,
  Minute,
  Second,
  ZoneHours,
  ZoneMinutes,
  ZoneSeconds,
  ZoneSide,  // the east or west letter of a zone
  LatitudeDegrees,
  LatitudeMinutes,
  LatitudeSeconds,
  LatitudeSide,  // north or south
  LongitudeDegrees,
  LongitudeMinutes,
  LongitudeSeconds,
  LongitudeSide,  // east or west
  Place,
  Comment,
  Flag,
};

struct ImportFailure {
  ImportFault Fault = ImportFault::None;
  std::string File;                       // UTF-8 path or name of the file at fault
  int Line = 0;                           // 1-based line of that file, 0 for the whole file
  std::string Text;                       // code page 1251: the text at fault
  ImportField Field = ImportField::None;  // the field at fault, None when no one field is
  int Low = 0, High = 0;                  // OutOfRange: the values the field may take
};

// The name of a format for messages: its filter in the open dialog.
std::string ForeignFormatName(ForeignFormat format);

// One foreign chart: its node text and its record line.
struct ImportedChart {
  std::string Name;  // node text
  std::string Line;  // record line, kind 3
};

// Reads the charts of one file's text (for the DOS formats after
// ConvertDosFile), which ends at its first 0x1A byte. Gemma takes one file per call and gives one
// chart. False, with Line and Text of failure filled in, when a chart cannot be read; charts then
// holds the charts read before it.
bool ReadForeignCharts(ForeignFormat format, std::string_view text,
                       std::vector<ImportedChart>& charts, ImportFailure& failure);

// The new database: the root (rootName), one section (sectionName) and the
// charts in order. Folder is left empty; Modified is set, as nothing of it is
// on disk yet.
ChartDatabase BuildImportedDatabase(std::string_view rootName, std::string_view sectionName,
                                    const std::vector<ImportedChart>& charts);

// The root's text for an imported file: its name without folder, cut before
// its first "." (code page 1251; the path is UTF-8).
std::string ImportRootName(const std::string& path);

// The .ast files of a folder that a Gemma import reads: regular files whose
// extension is ".ast" in any letter case, sorted by name; full paths.
std::vector<std::string> GemmaFolderFiles(const std::string& folder);

// What the import needs besides the file.
struct ImportTexts {
  std::string SectionName;  // entry 292: the section's node text
  std::string GemmaRoot;    // the caption of the database menu item: the root of a Gemma import
};

// Imports the foreign file path (UTF-8) of the given format into db: for
// Gemma every .ast file of path's folder. On success db is the new database
// with Folder = path's folder and SourceFile empty; on failure db is untouched
// and failure says why. Reads files only.
bool ImportForeignFile(const std::string& path, ForeignFormat format, const ImportTexts& texts,
                       ChartDatabase& db, ImportFailure& failure);
