// A chart's record line: the one writer and the one reader of the line that
// the chart database keeps for a chart (chartdb.h) and that the imports build
// for the charts they read (chartimport.h). Nothing here includes Qt.
//
// The line, code page 1251:
//   name=D/M/Y/h/m/s/zh/zm/zs/latD/latM/latS/lonD/lonM/lonS/code/flag/place/comment/K
// name up to the first "="; D M Y the local civil date; h m s the local time;
// the zone (hours East positive), latitude (North positive) and longitude
// (East positive) as whole degrees, minutes and seconds with the sign on the
// first non-zero part; code the packed houses (PackHouseCode); flag 0 or 1;
// place and comment free text; K the node's kind. Texts are written so that
// they cannot break a line or shift a field (see DbNodeText and the writer).
#pragma once

#include <string>
#include <string_view>

// The integers of a record line after its name, and where each value stands
// among them (an angle or a time as three parts: degrees or hours, minutes,
// seconds).
inline constexpr int kDbRecordNumbers = 17;
inline constexpr int kDbDate = 0;        // D M Y, the local civil date
inline constexpr int kDbTime = 3;        // h m s, the local time
inline constexpr int kDbZone = 6;        // hours, East positive
inline constexpr int kDbLatitude = 9;    // degrees, North positive
inline constexpr int kDbLongitude = 12;  // degrees, East positive
inline constexpr int kDbHouseCode = 15;  // the packed houses
inline constexpr int kDbFlag = 16;       // 0 or 1

// The fields of a record line as written, before any conversion.
struct DbRecordFields {
  std::string_view Name;              // chart name, code page 1251
  int Number[kDbRecordNumbers] = {};  // D .. flag, in the order of the line
  std::string_view Place;             // place name, code page 1251
  std::string_view Comment;           // comment or question, code page 1251
};

// A name or node text as the files can hold it: control bytes below 0x20
// (line breaks, TABs, the DOS end-of-file byte 0x1A) become spaces, leading spaces are dropped (the
// tree file reads them as levels) and
// "=" becomes "-" (the record's name ends at the first "="). The node of a
// chart and the name in its record line both take this text.
std::string DbNodeText(std::string_view typed);

// The record line of the fields, kind "3": the name as DbNodeText gives it,
// the numbers as written without leading zeros, the place without "/"
// (written "\"), the comment keeping it; control bytes below 0x20 in either
// become spaces.
std::string WriteDbRecordLine(const DbRecordFields& fields);

// Cuts a record line into its fields, views into line. On failure returns
// false, leaves fields untouched and says why in what (no file or line: the
// caller adds them). The
// name is the text before the first "="; then 17 integer fields and the place
// are cut at "/", the comment runs to the last "/" and the kind after it is
// not read.
bool ReadDbRecordLine(std::string_view line, DbRecordFields& fields, std::string& what);
