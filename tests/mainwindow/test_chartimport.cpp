// Charts from other programs' files: the code page 866 table against the
// published mapping, each reader on files laid out by the test's own writers
// with the awkward cases of its format, and the frame over real files (the
// root's name, a Gemma folder, all-or-nothing failures, nothing written).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/astromath.h"
#include "mainwindow/chartimport.h"
#include "platform/text/cp1251.h"

namespace {

namespace fs = std::filesystem;

constexpr double kArcsecondDeg =
    1.0 / 3600.0;  // one arc second (or second of time), in degrees (hours)

// ---- the code page 866 table --------------------------------------------------

std::u32string Decode(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0xFF >> (n + 1));
    for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += c;
    i += static_cast<std::size_t>(n);
  }
  return out;
}

// The published code page 866 upper half as Unicode code points.
std::u32string Cp866UpperHalf() {
  std::u32string cp;
  for (char32_t c = 0x0410; c <= 0x043F; ++c) cp += c;  // А..Я а..п
  cp += Decode("░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀");
  for (char32_t c = 0x0440; c <= 0x044F; ++c) cp += c;  // р..я
  cp += Decode("ЁёЄєЇїЎў°∙·√№¤■\u00A0");
  return cp;
}

// Strokes of a box-drawing character: up, down, left, right, each 0 none,
// 1 single, 2 double, from the systematic order of the Unicode block.
struct Strokes {
  int Up = 0, Down = 0, Left = 0, Right = 0;
};
Strokes StrokesOf(char32_t c) {
  switch (c) {  // the light ones code page 866 holds
    case 0x2500:
      return {0, 0, 1, 1};
    case 0x2502:
      return {1, 1, 0, 0};
    case 0x250C:
      return {0, 1, 0, 1};
    case 0x2510:
      return {0, 1, 1, 0};
    case 0x2514:
      return {1, 0, 0, 1};
    case 0x2518:
      return {1, 0, 1, 0};
    case 0x251C:
      return {1, 1, 0, 1};
    case 0x2524:
      return {1, 1, 1, 0};
    case 0x252C:
      return {0, 1, 1, 1};
    case 0x2534:
      return {1, 0, 1, 1};
    case 0x253C:
      return {1, 1, 1, 1};
    case 0x2550:
      return {0, 0, 2, 2};
    case 0x2551:
      return {2, 2, 0, 0};
    default:
      break;
  }
  // U+2552..U+256C: nine shapes, each as vertical single and horizontal
  // double, vertical double and horizontal single, both double
  const int k = static_cast<int>(c - 0x2552);
  const int v = k % 3 == 0 ? 1 : 2, h = k % 3 == 1 ? 1 : 2;
  static constexpr bool kShape[9][4] = {// up down left right
                                        {0, 1, 0, 1}, {0, 1, 1, 0}, {1, 0, 0, 1},
                                        {1, 0, 1, 0}, {1, 1, 0, 1}, {1, 1, 1, 0},
                                        {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1}};
  const bool* s = kShape[k / 3];
  return {s[0] ? v : 0, s[1] ? v : 0, s[2] ? h : 0, s[3] ? h : 0};
}

// The substitute of a character code page 1251 lacks: blocks "#", lines
// through from top to bottom a broken bar, double horizontals "=", single ones
// an en dash; the three others as the program's convention has them.
unsigned char Substitute(char32_t c) {
  if (c >= 0x2580 && c <= 0x259F) return '#';
  if (c == 0x2219) return 0x95;
  if (c == 0x221A) return '?';
  if (c == 0x25A0) return 0x88;
  const Strokes s = StrokesOf(c);
  if (s.Up && s.Down) return 0xA6;
  return s.Left == 2 || s.Right == 2 ? '=' : 0x96;
}

TEST(Cp866, TableFollowsThePublishedMappingByteForByte) {
  const std::u32string cp = Cp866UpperHalf();
  ASSERT_EQ(cp.size(), 128u);
  int substitutes = 0;
  for (int i = 0; i < 128; ++i) {
    unsigned char expected = 0;
    if (!UnicodeToCp1251(cp[static_cast<std::size_t>(i)], expected)) {
      expected = Substitute(cp[static_cast<std::size_t>(i)]);
      ++substitutes;
    }
    EXPECT_EQ(Cp866Table[i], expected) << "byte 0x" << std::hex << 128 + i;
  }
  EXPECT_EQ(substitutes, 51);

  // every byte through the conversion: below 0x80 unchanged, the length kept
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string converted = ConvertDosFile(all);
  ASSERT_EQ(converted.size(), all.size());
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(static_cast<unsigned char>(converted[static_cast<std::size_t>(b)]),
              b < 128 ? b : Cp866Table[b - 128]);
  EXPECT_EQ(DosText(std::string("a\r\nb\x1A\r\nc", 8)), "a\r\nb");
}

// ---- reading ----------------------------------------------------------------------

struct Read {
  bool Ok = false;
  std::vector<ImportedChart> Charts;
  ImportFailure Failure;
};

Read Charts(ForeignFormat format, std::string_view text) {
  Read r;
  r.Ok = ReadForeignCharts(format, text, r.Charts, r.Failure);
  return r;
}

// The 19 fields of a record line after its name, as written.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::size_t pos = line.find('=') + 1;
  for (int i = 0; i < 19; ++i) {
    const std::size_t slash = line.find('/', pos);
    f.push_back(line.substr(pos, slash - pos));
    pos = slash + 1;
  }
  return f;
}

// What a chart reads back as.
struct Expect {
  std::string Name;      // UTF-8
  std::string DateTime;  // "D.M.Y.h:m:s"
  double Zone, Latitude, Longitude;
  std::string Place;  // UTF-8
  int Flag = 1;
  std::string Comment;  // UTF-8
};

void ExpectChart(const ImportedChart& got, const Expect& e) {
  SCOPED_TRACE(Cp1251ToUtf8(got.Line));
  DbChart c;
  std::string what;
  ASSERT_TRUE(ParseDbRecord(got.Line, c, what)) << what;
  EXPECT_EQ(got.Line.substr(got.Line.size() - 2), "/3");
  EXPECT_EQ(Cp1251ToUtf8(got.Name), e.Name);
  EXPECT_EQ(Cp1251ToUtf8(c.ChartName), e.Name);
  EXPECT_EQ(FormatDbRecordDateTime(got.Line), e.DateTime);
  EXPECT_NEAR(c.TimeZone, e.Zone, kArcsecondDeg / 10);
  EXPECT_NEAR(c.GeoLatitude, e.Latitude, kArcsecondDeg / 10);
  EXPECT_NEAR(c.GeoLongitude, e.Longitude, kArcsecondDeg / 10);
  EXPECT_EQ(Cp1251ToUtf8(c.PlaceName), e.Place);
  EXPECT_EQ(Cp1251ToUtf8(c.ChartComment), e.Comment);
  EXPECT_EQ(c.RecordFlag, e.Flag);
  EXPECT_EQ(c.HouseCode, 1);
  HouseChoice houses;
  EXPECT_FALSE(UnpackHouseCode(c.HouseCode, houses));
}

double Deg(int d, int m, int s = 0) { return d + m / 60.0 + s / 3600.0; }

// A Quick*Chart line laid out column by column; the place, and what is not
// given before it, zero.
struct Qck {
  std::string Name = {}, Month = {}, Day = {}, Year = {}, Hour = {}, Min = {}, Sec = {};
  std::string Half = {}, ZoneSign = "-", Zh = "00", Zm = "00";
  std::string LonD = "000", EW = "E", LonM = "00", LonS = "00", LatD = "00", NS = "N", LatM = "00",
              LatS = "00";
  std::string Place = {};
};
std::string QckLine(const Qck& q) {
  std::string line(100, ' ');
  const auto put = [&line](std::size_t col, const std::string& text) {
    line.replace(col - 1, text.size(), text);
  };
  // a separator stands before a field only when the field is there
  const auto after = [&put](std::size_t col, const char* sep, const std::string& field) {
    if (!field.empty()) put(col - 1, sep), put(col, field);
  };
  put(1, q.Name), put(24, q.Month), put(28, q.Day), put(32, q.Year), put(36, q.Hour);
  after(39, ":", q.Min), after(42, ":", q.Sec), put(45, q.Half);
  put(51, q.ZoneSign), put(52, q.Zh), after(55, ":", q.Zm);
  put(57, q.LonD), put(60, q.EW), put(61, q.LonM), after(64, "'", q.LonS);
  put(67, q.LatD), put(69, q.NS), put(70, q.LatM), after(73, "'", q.LatS);
  put(76, q.Place);
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

TEST(QuickChart, ClockZonesHemispheresAndTheColumnsOfOtherWriters) {
  std::string text = "\r\n";  // an empty line first
  text += QckLine({"Ivanov", "Mar", " 5", "2001", "12", "30", "00", "AM", "-",  "03",
                   "00",     "037", "E",  "37",   "00", "55", "N",  "45", "00", "Moscow"}) +
          "\r\n";
  text += QckLine({"Smith", "JAN", "15", "1999", "12", "30", "15", "PM", "+",  "05",
                   "00",    "074", "W",  "00",   "23", "40", "N",  "42", "51", "New York"}) +
          "\r\n";
  // the hemispheres in lower case
  text += QckLine({"South", "dec", "31", "1950", "01",
                   "15",    "00",  "PM", "+",    "00",
                   "30",    "000", "w",  "15",   "00",
                   "00",    "s",   "30", "00",   "A place of twenty-five ch"}) +
          "\r\n";
  text += "    \r\n";
  text += QckLine({.Name = "Zeros",
                   .Month = "Jul",
                   .Day = "04",
                   .Year = "1776",
                   .Hour = "09",
                   .Min = "05"}) +
          "\r\n\x1A";
  const Read r = Charts(ForeignFormat::QuickChart, text);
  ASSERT_TRUE(r.Ok) << r.Failure.Line;
  ASSERT_EQ(r.Charts.size(), 4u);
  ExpectChart(r.Charts[0],
              {"Ivanov", "5.3.2001.0:30:0", 3, Deg(55, 45), Deg(37, 37), "Moscow", 1, ""});
  ExpectChart(r.Charts[1], {"Smith", "15.1.1999.12:30:15", -5, Deg(40, 42, 51), -Deg(74, 0, 23),
                            "New York", 1, ""});
  ExpectChart(r.Charts[2], {"South", "31.12.1950.13:15:0", -0.5, -0.5, -0.25,
                            "A place of twenty-five ch", 1, ""});
  ExpectChart(r.Charts[3], {"Zeros", "4.7.1776.9:5:0", 0, 0, 0, "", 1, ""});
  // the sign of a value below one degree sits on its minutes
  const std::vector<std::string> f = Fields(r.Charts[2].Line);
  EXPECT_EQ(f[6] + "/" + f[7] + "/" + f[8], "0/-30/0");
  EXPECT_EQ(f[9] + "/" + f[10] + "/" + f[11], "0/-30/0");
  EXPECT_EQ(f[12] + "/" + f[13] + "/" + f[14], "0/-15/0");

  // a month of none of the twelve names stops the import at its line
  const Read bad =
      Charts(ForeignFormat::QuickChart,
             text.substr(0, text.size() - 1) +
                 QckLine({.Name = "Bad", .Month = "Mai", .Day = "01", .Year = "2000"}));
  EXPECT_FALSE(bad.Ok);
  EXPECT_EQ(bad.Failure.Fault, ImportFault::UnknownMonth);
  EXPECT_EQ(bad.Failure.Line, 7);
  EXPECT_EQ(bad.Failure.Text, "Mai");
  const Read notNumber =
      Charts(ForeignFormat::QuickChart,
             QckLine({.Name = "X", .Month = "Feb", .Day = "01", .Year = "2000", .Hour = "1a"}));
  EXPECT_EQ(notNumber.Failure.Fault, ImportFault::NotANumber);
  EXPECT_EQ(notNumber.Failure.Text, "1a");
  // a line that ends before the latitude's seconds would read as 0° N 0° E,
  // zone 0: refused at its line, wherever it is cut
  const std::string full = QckLine({"Cut", "Mar", "05", "2001", "02", "07", "00", "PM", "-", "03",
                                    "00", "037", "E", "37", "00", "55", "N", "45", "00"});
  ASSERT_EQ(full.size(), 74u);
  for (std::size_t length = 26; length < full.size(); ++length) {
    const Read cut = Charts(ForeignFormat::QuickChart,
                            text.substr(0, text.size() - 1) + full.substr(0, length) + "\r\n");
    EXPECT_FALSE(cut.Ok) << length;
    EXPECT_EQ(cut.Failure.Fault, ImportFault::ShortLine) << length;
    EXPECT_EQ(cut.Failure.Line, 7) << length;
    EXPECT_EQ(cut.Failure.Text, std::to_string(length));
  }
  EXPECT_TRUE(Charts(ForeignFormat::QuickChart, full).Ok);
}

TEST(Almagest, NamesUpToTheAtOrSpaceAndCoordinatesThatMayBeMissing) {
  // code page 866: "Мария" and "Пётр"
  const std::string text =
      "\x8C\xA0\xE0\xA8\xEF@\x8C\xAE\xE1\xAA\xA2\xA0 5.3.2001.14:0730 55.4500 37.3715\r\n\r\n"
      "\x8F\xF1\xE2\xE0 12.10.1980.7:0500\r\n"
      "Zero 1.1.1900.0:0000 -0.3000 0.0059\r\n";
  const std::string cp1251 = ConvertDosFile(text);
  const Read r = Charts(ForeignFormat::Almagest, cp1251);
  ASSERT_TRUE(r.Ok) << r.Failure.Line;
  ASSERT_EQ(r.Charts.size(), 2u + 1u);
  ExpectChart(r.Charts[0],
              {"Мария", "5.3.2001.14:7:30", 0, Deg(55, 45), Deg(37, 37, 15), "", 1, ""});
  ExpectChart(r.Charts[1], {"Пётр", "12.10.1980.7:5:0", 0, 0, 0, "", 1, ""});
  ExpectChart(r.Charts[2], {"Zero", "1.1.1900.0:0:0", 0, -0.5, Deg(0, 0, 59), "", 1, ""});
  // a line whose date is missing
  const Read bad = Charts(ForeignFormat::Almagest, cp1251 + "Far -33.5200 -70.4000\r\n");
  ASSERT_FALSE(bad.Ok);
  EXPECT_EQ(bad.Failure.Line, 5);
  EXPECT_EQ(bad.Failure.Fault, ImportFault::NotANumber);
  EXPECT_EQ(bad.Failure.Text, "5200 -70");
}

// A Zet line: name 1-32, date 33-42, time 44-51, zone 52-57, place 59-83,
// latitude 84-90, longitude 92-99.
std::string ZetLine(const std::string& name, const std::string& moment, const std::string& zone,
                    const std::string& place, const std::string& lat, const std::string& lon) {
  std::string line(99, ' ');
  line.replace(0, name.size(), name);
  line.replace(32, moment.size(), moment);  // "dd.mm.yyyy hh:mm:ss"
  line.replace(51, zone.size(), zone);      // "+03:00"
  line.replace(58, place.size(), place);
  line.replace(83, lat.size(), lat);  // "dd mm N"
  line.replace(91, lon.size(), lon);  // "ddd mm E"
  return line;
}

TEST(Zet, DegreesOfOneTwoAndThreeDigitsAndSignedZones) {
  const std::string text =
      ZetLine("Anna Karenina", "05.03.2001 14:07:00", "+03 00", "Moscow", "55 45 N", " 37 37 E") +
      "\r\n" + ZetLine("Lima", "28.07.1821 12:00:05", "-05 00", "Lima", " 9 03 S", "  5 02 W") +
      "\r\n" +
      ZetLine("Kiribati", "01.01.2000 00:00:00", "-00 30", "Tarawa", "   01 N", "173 01 E") + "\n";
  const Read r = Charts(ForeignFormat::Zet, text);
  ASSERT_TRUE(r.Ok) << r.Failure.Line;
  ASSERT_EQ(r.Charts.size(), 3u);
  ExpectChart(r.Charts[0],
              {"Anna Karenina", "5.3.2001.14:7:0", 3, Deg(55, 45), Deg(37, 37), "Moscow", 1, ""});
  ExpectChart(r.Charts[1], {"Lima", "28.7.1821.12:0:5", -5, -Deg(9, 3), -Deg(5, 2), "Lima", 1, ""});
  ExpectChart(r.Charts[2],
              {"Kiribati", "1.1.2000.0:0:0", -0.5, Deg(0, 1), Deg(173, 1), "Tarawa", 1, ""});
  EXPECT_EQ(Fields(r.Charts[2].Line)[6], "0");
  EXPECT_EQ(Fields(r.Charts[2].Line)[7], "-30");
  // zone hours that are no number
  EXPECT_EQ(Charts(ForeignFormat::Zet, ZetLine("X", "01.01.2000 00:00:00", "+x3 00", "", "", ""))
                .Failure.Fault,
            ImportFault::NotANumber);
}

// A SkyWorker data line: "|D.M.Y h:mm:ss comment|place|" then the rest in columns.
std::string SkyData(const std::string& moment, const std::string& comment, const std::string& place,
                    const std::string& rest) {
  return "1|" + moment + " " + comment + "|" + place + "|" + rest;
}

TEST(SkyWorker, HeaderNamesAndDataLinesAndTheFlag) {
  // rest: zone hhh mm ss, latitude dd mm ss N/S, longitude ddd mm ss E/W, a space, the flag
  const std::string text =
      "SkyWorker catalogue\r\n"
      "Ann  \r\n" +
      SkyData("5.3.2001 14:07:30", "Will he call? 1/2", "Moscow", "+030000554500N0373700E M") +
      "\r\n"
      "Bob\r\n" +
      SkyData("1.12.1960 7:05:00", "", "Rio/Brazil", "-030000225400S0431400W  ") +
      "\r\n\r\n"       // an empty line between two charts
      "Cid\r\n\r\n" +  // and one between name and data
      SkyData("2.2.2002 2:02:02", "", "", "-003000000000N0000000E M") +
      "\r\n";
  const Read r = Charts(ForeignFormat::SkyWorker, text);
  ASSERT_TRUE(r.Ok) << r.Failure.Line;
  ASSERT_EQ(r.Charts.size(), 3u);
  ExpectChart(r.Charts[0], {"Ann", "5.3.2001.14:7:30", 3, Deg(55, 45), Deg(37, 37), "Moscow", 1,
                            "Will he call? 1/2"});
  ExpectChart(r.Charts[1],
              {"Bob", "1.12.1960.7:5:0", -3, -Deg(22, 54), -Deg(43, 14), "Rio\\Brazil", 0, ""});
  ExpectChart(r.Charts[2], {"Cid", "2.2.2002.2:2:2", -0.5, 0, 0, "", 1, ""});
  // a name line without its data line
  const Read bad = Charts(ForeignFormat::SkyWorker, text + "Dan\r\n");
  ASSERT_FALSE(bad.Ok);
  EXPECT_EQ(bad.Failure.Fault, ImportFault::NoData);
  EXPECT_EQ(bad.Failure.Line, 10);
}

// A Gemma file: the name in 30 columns and "D.M.Y h.mm", four lines, then the
// zone, place, latitude and longitude lines, each after a first word.
std::string GemmaFile(const std::string& name, const std::string& moment, const std::string& zone,
                      const std::string& place, const std::string& lat, const std::string& lon) {
  std::string first = name + std::string(30 - name.size(), ' ') + "  " + moment;
  return first + "\r\nx\r\nx\r\nx\r\nx\r\nZone: " + zone + "\r\nPlace:  " + place +
         "\r\nLat: " + lat + "\r\nLong: " + lon + "\r\n\x1A";
}

TEST(Gemma, ZonesEastWestAndNeitherAndShortFiles) {
  const Read east = Charts(ForeignFormat::Gemma, GemmaFile("Olga", "5.3.2001 14.07", "3.00E",
                                                           "Moscow Russia", "55.45N", "37.37E"));
  ASSERT_TRUE(east.Ok);
  ExpectChart(east.Charts[0],
              {"Olga", "5.3.2001.14:7:0", 3, Deg(55, 45), Deg(37, 37), "Moscow", 1, ""});
  const Read west = Charts(ForeignFormat::Gemma,
                           GemmaFile("Jim", "1.1.1990 0.30", "0.30W", "London", "51.30", "-0.07"));
  ASSERT_TRUE(west.Ok);
  ExpectChart(west.Charts[0],
              {"Jim", "1.1.1990.0:30:0", -0.5, Deg(51, 30), -Deg(0, 7), "London", 1, ""});
  // a zone with neither letter ends before the letter that closes its minutes
  const Read neither =
      Charts(ForeignFormat::Gemma, GemmaFile("Nil", "2.2.1950 10.00", "4.00", "X", "1.00", "2.00"));
  ASSERT_FALSE(neither.Ok);
  EXPECT_EQ(neither.Failure.Fault, ImportFault::ShortLine);
  EXPECT_EQ(neither.Failure.Field, ImportField::ZoneSide);
  EXPECT_EQ(neither.Failure.Line, 6);

  const Read shortFile = Charts(ForeignFormat::Gemma, "Name 1.1.2000 1.00\r\nx\r\nx\r\n");
  ASSERT_FALSE(shortFile.Ok);
  EXPECT_EQ(shortFile.Failure.Fault, ImportFault::ShortFile);
  EXPECT_EQ(shortFile.Failure.Text, "3");
}

TEST(Uranus, FieldsBetweenSohBytesAndAMissingLastSeparator) {
  const std::string text =
      "\x88\xA2\xA0\xAD\x01"
      "5\x01"
      "3\x01"
      "2001\x01"
      "14\x01"
      "7\x01"
      "0\x01"
      "55.45\x01"
      "37.37\x01"
      "\x8C\xAE\xE1\xAA\xA2\xA0\x01\r\n"
      "\r\n"
      "Ann\x01"
      "1\x01"
      "1\x01"
      "1990\x01"
      "0\x01"
      "0\x01"
      "0\x01"
      "-0.30\x01"
      "-70.40\x01"
      "Far away";
  const Read r = Charts(ForeignFormat::Uranus, ConvertDosFile(text));
  ASSERT_TRUE(r.Ok) << r.Failure.Line;
  ASSERT_EQ(r.Charts.size(), 2u);
  ExpectChart(r.Charts[0],
              {"Иван", "5.3.2001.14:7:0", 0, Deg(55, 45), Deg(37, 37), "Москва", 1, ""});
  ExpectChart(r.Charts[1], {"Ann", "1.1.1990.0:0:0", 0, -0.5, -Deg(70, 40), "Far away", 1, ""});
}

// ---- lines cut short and values out of range ----------------------------------------

// The seventeen numbers of a record line (date to flag), as written.
std::vector<std::string> Numbers(const std::string& line) {
  std::vector<std::string> f = Fields(line);
  f.resize(17);
  return f;
}

// Cuts one good line of a file at every length and imports each file: a cut
// is refused at that line, naming a field and its length, unless it falls in
// the text at the line's end (from textFrom on), and then it reads as the
// whole line's chart, number for number. lengths read with no coordinates
// (an Almagest line that ends after its time) are given in noPlace.
void SweepCuts(ForeignFormat format, const std::function<std::string(const std::string&)>& file,
               const std::string& good, int lineNumber, std::size_t textFrom,
               const std::vector<std::size_t>& noPlace = {}) {
  const Read whole = Charts(format, file(good));
  ASSERT_TRUE(whole.Ok) << whole.Failure.Line << " " << static_cast<int>(whole.Failure.Field);
  ASSERT_EQ(whole.Charts.size(), 1u);
  std::vector<std::string> expected = Numbers(whole.Charts[0].Line);
  for (std::size_t length = 0; length < good.size(); ++length) {
    SCOPED_TRACE("cut to " + std::to_string(length) + ": " + Cp1251ToUtf8(good.substr(0, length)));
    const Read cut = Charts(format, file(good.substr(0, length)));
    const bool bare = std::find(noPlace.begin(), noPlace.end(), length) != noPlace.end();
    if (length >= textFrom || bare) {
      ASSERT_TRUE(cut.Ok) << static_cast<int>(cut.Failure.Field);
      ASSERT_EQ(cut.Charts.size(), 1u);
      std::vector<std::string> want = expected;
      if (bare)
        for (int i = 9; i < 15; ++i) want[static_cast<std::size_t>(i)] = "0";
      EXPECT_EQ(Numbers(cut.Charts[0].Line), want);
      continue;
    }
    if (cut.Ok) {  // an empty line is no chart at all
      EXPECT_TRUE(cut.Charts.empty());
      EXPECT_EQ(length, 0u);
      continue;
    }
    // a SkyWorker data line cut before its "|" reads as a name line, and the
    // name before it has no data
    if (cut.Failure.Fault == ImportFault::NoData) {
      EXPECT_EQ(format, ForeignFormat::SkyWorker);
      continue;
    }
    EXPECT_EQ(cut.Failure.Line, lineNumber);
    EXPECT_NE(cut.Failure.Field, ImportField::None);
    if (cut.Failure.Fault == ImportFault::UnknownMonth) continue;  // a month cut is no month
    EXPECT_EQ(cut.Failure.Fault, ImportFault::ShortLine);
    EXPECT_EQ(cut.Failure.Text, std::to_string(length));
  }
}

std::string AsIs(const std::string& line) { return line + "\r\n"; }

TEST(QuickChart, EveryCutOfALineBeforeItsPlaceIsRefused) {
  const std::string good =
      QckLine({"Cut", "Mar", "05", "2001", "02", "07", "09", "PM", "+",  "03",
               "30",  "037", "W",  "37",   "15", "55", "S",  "45", "20", "Moscow"});
  SweepCuts(ForeignFormat::QuickChart, AsIs, good, 1, 74);
}

TEST(Almagest, EveryCutOfALineIsRefusedButTheOneWithoutCoordinates) {
  const std::string head = Cp("Мария@Москва 5.3.2001.14:0739");
  const std::string good = head + " -55.4512 -37.3715";
  SweepCuts(ForeignFormat::Almagest, AsIs, good, 1, good.size(), {head.size(), head.size() + 1});
}

TEST(Zet, EveryCutOfALineIsRefused) {
  const std::string good =
      ZetLine("Anna", "05.03.2001 14:07:09", "-03 30", "Moscow", "55 45 S", " 37 37 W");
  SweepCuts(
      ForeignFormat::Zet, [](const std::string& line) { return "\r\n" + line + "\r\n"; }, good, 2,
      good.size());
}

TEST(SkyWorker, EveryCutOfADataLineIsRefused) {
  const std::string good =
      SkyData("5.3.2001 14:07:39", "Will he call?", "Moscow", "+033000554512S0373715W M");
  SweepCuts(
      ForeignFormat::SkyWorker,
      [](const std::string& line) { return "header\r\nAnn\r\n" + line + "\r\n"; }, good, 3,
      good.size());
}

TEST(Gemma, EveryCutOfEachLineReadIsRefusedButInThePlace) {
  const std::string lines[9] = {"Olga" + std::string(26, ' ') + "  5.3.2001 14.07",
                                "x",
                                "x",
                                "x",
                                "x",
                                "Zone: 3.30W",
                                "Place:  Moscow Russia",
                                "Lat: 55.45",
                                "Long: -37.37"};
  for (const int at : {0, 5, 6, 7, 8}) {
    SCOPED_TRACE("line " + std::to_string(at + 1));
    const auto file = [&lines, at](const std::string& line) {
      std::string text;
      for (int i = 0; i < 9; ++i) text += (i == at ? line : lines[i]) + "\r\n";
      return text;
    };
    SweepCuts(ForeignFormat::Gemma, file, lines[at], at + 1,
              at == 6 ? std::string_view("Place: ").size() : lines[at].size());
  }
}

TEST(Uranus, EveryCutOfALineBeforeItsPlaceIsRefused) {
  const std::string numbers =
      Cp("Иван\x01"
         "5\x01"
         "3\x01"
         "2001\x01"
         "14\x01"
         "7\x01"
         "9\x01"
         "-55.45\x01"
         "-37.37\x01");
  SweepCuts(ForeignFormat::Uranus, AsIs, numbers + Cp("Москва\x01"), 1, numbers.size());
}

// Each field of a Zet line swept through and beyond the values the data-input
// dialog takes: a value is imported exactly when it lies within them, and a
// refusal names the field, the value and the limits.
TEST(Zet, ValuesBeyondTheDialogsLimitsAreRefusedByField) {
  struct Sweep {
    ImportField Field;
    int Low, High;  // the values the dialog takes
    std::function<std::string(int)> Line;
  };
  const auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  const auto zet = [](std::string moment, std::string zone, std::string lat, std::string lon) {
    return ZetLine("Name", moment, zone, "Place", lat, lon);
  };
  const Sweep sweeps[] = {
      {ImportField::Day, 1, 30,  // April
       [&](int v) { return zet(two(v) + ".04.2001 14:07:09", "+03 00", "55 45 N", " 37 37 E"); }},
      {ImportField::Month, 1, 12,
       [&](int v) {
         return zet("05." + two(v) + ".2001 14:07:09", "+03 00", "55 45 N", " 37 37 E");
       }},
      {ImportField::Hour, 0, 23,
       [&](int v) {
         return zet("05.03.2001 " + two(v) + ":07:09", "+03 00", "55 45 N", " 37 37 E");
       }},
      {ImportField::Second, 0, 59,
       [&](int v) { return zet("05.03.2001 14:07:" + two(v), "+03 00", "55 45 N", " 37 37 E"); }},
      {ImportField::ZoneHours, 0, 14,
       [&](int v) {
         return zet("05.03.2001 14:07:09", "+" + two(v) + " 00", "55 45 N", " 37 37 E");
       }},
      {ImportField::LatitudeDegrees, 0, 90,
       [&](int v) { return zet("05.03.2001 14:07:09", "+03 00", two(v) + " 00 S", " 37 37 E"); }},
      {ImportField::LongitudeDegrees, 0, 180,
       [&](int v) {
         std::string deg = std::to_string(v);
         return zet("05.03.2001 14:07:09", "+03 00", "55 45 N",
                    std::string(3 - deg.size(), ' ') + deg + " 00 W");
       }},
  };
  for (const Sweep& sweep : sweeps) {
    const int last = sweep.Field == ImportField::LongitudeDegrees ? 199 : 99;
    for (int v = 0; v <= last; ++v) {
      const Read r = Charts(ForeignFormat::Zet, sweep.Line(v) + "\r\n");
      SCOPED_TRACE(std::to_string(static_cast<int>(sweep.Field)) + " = " + std::to_string(v));
      if (v >= sweep.Low && v <= sweep.High) {
        EXPECT_TRUE(r.Ok) << static_cast<int>(r.Failure.Field);
        continue;
      }
      ASSERT_FALSE(r.Ok);
      EXPECT_EQ(r.Failure.Line, 1);
      if (v == 0) {  // a date field of 0 is no date
        EXPECT_EQ(r.Failure.Field, sweep.Field);
        continue;
      }
      EXPECT_EQ(r.Failure.Fault, ImportFault::OutOfRange);
      EXPECT_EQ(r.Failure.Field, sweep.Field);
      EXPECT_EQ(r.Failure.Text, std::to_string(v));
      EXPECT_EQ(r.Failure.Low, sweep.Low);
      EXPECT_EQ(r.Failure.High, sweep.High);
    }
  }
  // at the pole and the widest zone nothing more: 90 degrees 1 minute and
  // 14 hours 30 minutes are refused
  const Read pole =
      Charts(ForeignFormat::Zet, zet("05.03.2001 14:07:09", "+03 00", "90 01 N", " 37 37 E"));
  ASSERT_FALSE(pole.Ok);
  EXPECT_EQ(pole.Failure.Field, ImportField::LatitudeMinutes);
  const Read widest =
      Charts(ForeignFormat::Zet, zet("05.03.2001 14:07:09", "+14 30", "55 45 N", " 37 37 E"));
  ASSERT_FALSE(widest.Ok);
  EXPECT_EQ(widest.Failure.Field, ImportField::ZoneMinutes);
  // 29 February in a leap year only, Julian up to 1582 and Gregorian after
  for (const auto& [year, leap] : {std::pair{"1500", true}, std::pair{"1700", false},
                                   std::pair{"2000", true}, std::pair{"2001", false}})
    EXPECT_EQ(Charts(ForeignFormat::Zet, zet(std::string("29.02.") + year + " 14:07:09", "+03 00",
                                             "55 45 N", " 37 37 E"))
                  .Ok,
              leap)
        << year;
}

// The values out of range that other formats carry, each refused at its line
// and field: a 12-hour clock past 12, a zone of 30 hours, a month 13, a
// latitude beyond the pole, a longitude past the date line.
TEST(ForeignFormats, ValuesOutOfRangeAreRefusedInEveryFormat) {
  struct Case {
    ForeignFormat Format;
    std::string Text;
    int Line;
    ImportField Field;
  };
  const auto gemma = [](const std::string& zone, const std::string& lon) {
    return "Olga" + std::string(26, ' ') + "  5.3.2001 14.07\r\nx\r\nx\r\nx\r\nx\r\nZone: " + zone +
           "\r\nPlace: Moscow\r\nLat: 55.45\r\nLong: " + lon + "\r\n";
  };
  const Case cases[] = {
      {ForeignFormat::QuickChart,
       QckLine({"Late", "Mar", "05", "2001", "25", "07", "00", "PM", "-", "03", "00", "037", "E",
                "37", "00", "55", "N", "45", "00"}),
       1, ImportField::Hour},
      {ForeignFormat::Almagest, "A 5.3.2001.14:0700 95.0000 37.0000", 1,
       ImportField::LatitudeDegrees},
      {ForeignFormat::Almagest, "A 5.3.2001.14:7500", 1, ImportField::Minute},
      {ForeignFormat::SkyWorker,
       "h\r\nAnn\r\n" + SkyData("5.3.2001 14:07:30", "", "", "+300000554500N0373700E M"), 3,
       ImportField::ZoneHours},
      {ForeignFormat::Gemma, gemma("30.00E", "37.37"), 6, ImportField::ZoneHours},
      {ForeignFormat::Gemma, gemma("3.00E", "200.00"), 9, ImportField::LongitudeDegrees},
      {ForeignFormat::Uranus,
       "U\x01"
       "5\x01"
       "13\x01"
       "2001\x01"
       "1\x01"
       "2\x01"
       "3\x01"
       "1.00\x01"
       "2.00\x01",
       1, ImportField::Month},
      {ForeignFormat::Uranus,
       "U\x01"
       "45\x01"
       "3\x01"
       "2001\x01"
       "1\x01"
       "2\x01"
       "3\x01"
       "1.00\x01"
       "2.00\x01",
       1, ImportField::Day},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const Read r = Charts(c.Format, c.Text);
    ASSERT_FALSE(r.Ok);
    EXPECT_EQ(r.Failure.Fault, ImportFault::OutOfRange);
    EXPECT_EQ(r.Failure.Line, c.Line);
    EXPECT_EQ(r.Failure.Field, c.Field);
  }
}

// ---- the frame over files -------------------------------------------------------------

class ImportFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("chartimport_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).string();
  }
  fs::path folder_;
};

ImportTexts Texts() { return {Cp("Раздел 1"), Cp("База данных")}; }

TEST_F(ImportFolderTest, NewDatabaseFromAFileAndAWholeGemmaFolder) {
  const std::string qck =
      Write("my.charts.qck",
            QckLine({.Name = "A", .Month = "Feb", .Day = "01", .Year = "2000"}) + "\r\n" +
                QckLine({.Name = "B", .Month = "Feb", .Day = "02", .Year = "2000"}) + "\r\n");
  ChartDatabase db;
  ImportFailure failure;
  ASSERT_TRUE(ImportForeignFile(qck, ForeignFormat::QuickChart, Texts(), db, failure));
  ASSERT_EQ(db.Nodes.size(), 4u);
  ASSERT_EQ(db.Lines.size(), 4u);
  EXPECT_EQ(db.Nodes[0].Text, "my");
  EXPECT_EQ(db.Lines[0], "my/1");
  EXPECT_EQ(db.Nodes[1].Text, Cp("Раздел 1"));
  EXPECT_EQ(db.Lines[1], Cp("Раздел 1/1"));
  EXPECT_EQ(db.Nodes[3].Text, "B");
  EXPECT_EQ(db.Nodes[3].Level, 2);
  EXPECT_EQ(db.Nodes[3].State, kDbChart);
  EXPECT_EQ(db.Folder, folder_.string());
  EXPECT_TRUE(db.Modified);
  // the tree and lines are a database as the files hold it
  ChartDatabase loaded;
  std::string message;
  ASSERT_TRUE(ParseDatabasePair(BuildTreeText(db.Nodes), db.Lines, "t", "r", loaded, message))
      << message;

  // every .ast file of the folder, in the order of their names; nothing written
  Write("b.AST", GemmaFile("Second", "2.2.2002 2.02", "2.00E", "B", "2.00", "2.00"));
  const std::string chosen =
      Write("a.ast", GemmaFile("First", "1.1.2001 1.01", "1.00E", "A", "1.00", "1.00"));
  Write("wspom.txt", "the user's own file");
  const auto before = std::distance(fs::directory_iterator(folder_), {});
  ASSERT_TRUE(ImportForeignFile(chosen, ForeignFormat::Gemma, Texts(), db, failure));
  ASSERT_EQ(db.Nodes.size(), 4u);
  EXPECT_EQ(db.Nodes[0].Text, Cp("База данных"));
  EXPECT_EQ(db.Nodes[2].Text, "First");
  EXPECT_EQ(db.Nodes[3].Text, "Second");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), before);
  std::ifstream own(folder_ / "wspom.txt");
  std::string kept;
  std::getline(own, kept);
  EXPECT_EQ(kept, "the user's own file");

  // a short file among them stops the whole import and leaves db as it was
  Write("c.ast", "Third 3.3.2003 3.03\r\nx\r\n");
  const ChartDatabase copy = db;
  ASSERT_FALSE(ImportForeignFile(chosen, ForeignFormat::Gemma, Texts(), db, failure));
  EXPECT_EQ(failure.Fault, ImportFault::ShortFile);
  EXPECT_EQ(failure.File, (folder_ / "c.ast").string());
  EXPECT_EQ(db.Lines, copy.Lines);
  // and so does a file that cannot be read
  ASSERT_FALSE(ImportForeignFile((folder_ / "missing.qck").string(), ForeignFormat::QuickChart,
                                 Texts(), db, failure));
  EXPECT_EQ(failure.Fault, ImportFault::CannotRead);
  EXPECT_EQ(db.Lines, copy.Lines);
}

}  // namespace
