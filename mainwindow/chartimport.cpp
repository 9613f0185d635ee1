// Readers of other programs' chart files and the frame that makes a new
// chart database of what they read.
#include "mainwindow/chartimport.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

// Cyrillic letters, Ё ё Є є Ї ї Ў ў, the degree sign, the middle dot, the
// numero sign, the currency sign and the no-break space map to their code page
// 1251 bytes. The box-drawing characters become, by their look: shades and
// blocks "#", lines through from top to bottom a broken bar (0xA6), other
// double horizontal lines "=", other single ones an en dash (0x96). The bullet
// operator 0xF9 becomes the bullet 0x95, the square root 0xFB "?", the black
// square 0xFE the byte 0x88.
const unsigned char Cp866Table[128] = {
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7,
    0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,  // 0x80
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7,
    0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,  // 0x90
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7,
    0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,  // 0xA0
    0x23, 0x23, 0x23, 0xA6, 0xA6, 0xA6, 0xA6, 0x96,
    0x3D, 0xA6, 0xA6, 0x3D, 0x3D, 0x96, 0x3D, 0x96,  // 0xB0
    0x96, 0x96, 0x96, 0xA6, 0x96, 0xA6, 0xA6, 0xA6,
    0x3D, 0x3D, 0x3D, 0x3D, 0xA6, 0x3D, 0xA6, 0x3D,  // 0xC0
    0x96, 0x3D, 0x96, 0x96, 0x3D, 0x3D, 0x96, 0xA6,
    0xA6, 0x96, 0x96, 0x23, 0x23, 0x23, 0x23, 0x23,  // 0xD0
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7,
    0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,  // 0xE0
    0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2,
    0xB0, 0x95, 0xB7, 0x3F, 0xB9, 0xA4, 0x88, 0xA0,  // 0xF0
};

namespace {

constexpr char kFieldSeparator = '\x01';  // Uranus
constexpr char kDosEndOfFile = '\x1A';
constexpr int kGemmaLines =
    9;  // name and moment, four lines unread, zone, place, latitude, longitude

// ---- cutting text -----------------------------------------------------------------

// Columns first..last of a line, counted from 1; shorter or empty past its end.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
  if (first > line.size()) return {};
  return line.substr(first - 1, last - first + 1);
}

char Column(std::string_view line, std::size_t at) {
  return at <= line.size() ? line[at - 1] : ' ';
}

std::string_view TrimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void SkipSpaces(std::string_view& text) {
  const std::size_t first = text.find_first_not_of(' ');
  text.remove_prefix(first == std::string_view::npos ? text.size() : first);
}

// Removes the text up to and including the next x; nothing when there is none.
void CutThrough(std::string_view& text, char x) {
  const std::size_t at = text.find(x);
  if (at != std::string_view::npos) text.remove_prefix(at + 1);
}

// The text before the next x, cut through x. Without an x: the rest when it
// is the line's last field (orRest), else an empty field and nothing cut.
std::string_view TakeUpTo(std::string_view& text, char x, bool orRest = false) {
  const std::size_t at = text.find(x);
  if (at == std::string_view::npos) {
    if (!orRest) return {};
    const std::string_view rest = text;
    text = {};
    return rest;
  }
  const std::string_view field = text.substr(0, at);
  text.remove_prefix(at + 1);
  return field;
}

// The next n characters; then cut characters are removed.
std::string_view TakeChars(std::string_view& text, std::size_t n, std::size_t cut) {
  const std::string_view field = text.substr(0, std::min(n, text.size()));
  text.remove_prefix(std::min(cut, text.size()));
  return field;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// ---- one chart --------------------------------------------------------------------

// An angle or a time of day as three parts; the sign on the first non-zero part.
struct Dms {
  int Part[3] = {};
};

// The fields of one chart as read, before the record line is written.
struct ForeignRecord {
  std::string_view Name;
  int Date[3] = {};  // D M Y
  int Time[3] = {};  // h m s
  Dms Zone, Latitude, Longitude;
  int Flag = 1;
  std::string_view Place;
  std::string_view Comment;
};

ImportField Next(ImportField field, int by) {
  return static_cast<ImportField>(static_cast<int>(field) + by);
}

// Reads the fields of one line; the first failure is kept.
class FieldReader {
 public:
  FieldReader(ImportFailure& failure, int line, std::size_t length)
      : failure_(failure), line_(line), length_(length) {}

  bool Ok() const { return ok_; }

  // An integer; blank text is 0, or a missing date when required.
  int Int(std::string_view text, ImportField field, bool required = false) {
    int value = 0;
    if (IsBlank(text)) {
      if (required) Fail(ImportFault::NoDate, text, field);
      return 0;
    }
    if (!ParseInt(text, value)) Fail(ImportFault::NotANumber, text, field);
    return value;
  }

  // Degrees (or hours), minutes and seconds, the fields first, first + 1 and
  // first + 2; negative when the format says so or when any part's text
  // carries a minus, a zero ("-00") included.
  Dms Angle(bool negative, ImportField first, std::string_view a, std::string_view b,
            std::string_view c) {
    const std::string_view text[3] = {a, b, c};
    Dms out;
    for (int i = 0; i < 3; ++i) {
      const int v = Int(text[i], Next(first, i));
      out.Part[i] = v < 0 ? -v : v;
      std::string_view t = text[i];
      SkipSpaces(t);
      if (!t.empty() && t.front() == '-') negative = true;
    }
    if (negative) {
      for (int& part : out.Part)
        if (part != 0) {
          part = -part;
          break;
        }
    }
    return out;
  }

  // The text before the next x, cut through x; a line without x ends inside
  // or before field.
  std::string_view UpTo(std::string_view& text, char x, ImportField field) {
    if (text.find(x) == std::string_view::npos) {
      Cut(field);
      text = {};
      return {};
    }
    return TakeUpTo(text, x);
  }

  // The next n characters, then cut characters removed; a line with fewer
  // than n left ends inside or before field.
  std::string_view Chars(std::string_view& text, std::size_t n, std::size_t cut,
                         ImportField field) {
    if (text.size() < n) Cut(field);
    return TakeChars(text, n, cut);
  }

  // A line that ends inside or before field.
  void Cut(ImportField field) { Fail(ImportFault::ShortLine, std::to_string(length_), field); }

  // value in low..high, or the field refused with its value.
  void Range(int value, int low, int high, ImportField field) {
    if (ok_ && (value < low || value > high)) {
      Fail(ImportFault::OutOfRange, std::to_string(value), field);
      failure_.Low = low;
      failure_.High = high;
    }
  }

  void Fail(ImportFault fault, std::string_view text, ImportField field = ImportField::None) {
    if (!ok_) return;
    ok_ = false;
    failure_.Fault = fault;
    failure_.Line = line_;
    failure_.Text = std::string(text);
    failure_.Field = field;
  }

 private:
  ImportFailure& failure_;
  int line_;
  std::size_t length_;
  bool ok_ = true;
};

// An angle within limit degrees (or a zone within limit hours): each part's
// size in range, and the whole no more than limit.
void CheckAngle(FieldReader& f, const Dms& angle, int limit, ImportField first) {
  int part[3];
  for (int i = 0; i < 3; ++i) part[i] = angle.Part[i] < 0 ? -angle.Part[i] : angle.Part[i];
  f.Range(part[0], 0, limit, first);
  // at the limit itself the minutes and seconds must be 0
  const int most = part[0] == limit ? 0 : 59;
  f.Range(part[1], 0, most, Next(first, 1));
  f.Range(part[2], 0, most, Next(first, 2));
}

// Days of a month of an astronomical year, in the calendar the record's
// Julian day is counted in: Julian up to 1582 (every fourth year leap),
// Gregorian after; as the data-input dialog takes them.
int DaysInMonth(int month, int year) {
  constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month != 2) return kLengths[month - 1];
  const bool everyFourth = ((year % 4) + 4) % 4 == 0;
  const bool leap =
      year <= 1582 ? everyFourth : everyFourth && (year % 100 != 0 || year % 400 == 0);
  return leap ? 29 : 28;
}

// The widest difference from Greenwich of any civil time, hours.
constexpr int kMaxZoneHours = 14;

// The values of a chart against the limits of the data-input dialog.
bool CheckRanges(FieldReader& f, const ForeignRecord& r) {
  f.Range(r.Date[1], 1, 12, ImportField::Month);
  if (f.Ok()) f.Range(r.Date[0], 1, DaysInMonth(r.Date[1], r.Date[2]), ImportField::Day);
  f.Range(r.Time[0], 0, 23, ImportField::Hour);
  f.Range(r.Time[1], 0, 59, ImportField::Minute);
  f.Range(r.Time[2], 0, 59, ImportField::Second);
  CheckAngle(f, r.Zone, kMaxZoneHours, ImportField::ZoneHours);
  CheckAngle(f, r.Latitude, 90, ImportField::LatitudeDegrees);
  CheckAngle(f, r.Longitude, 180, ImportField::LongitudeDegrees);
  return f.Ok();
}

ImportedChart WriteChart(const ForeignRecord& r) {
  ImportedChart chart;
  chart.Name = DbNodeText(TrimRight(r.Name));
  DbRecordFields f;
  f.Name = chart.Name;  // the writer leaves a node text as it is
  const auto put = [&f](int at, const int(&parts)[3]) {
    std::copy(parts, parts + 3, f.Number + at);
  };
  put(kDbDate, r.Date);
  put(kDbTime, r.Time);
  put(kDbZone, r.Zone.Part);
  put(kDbLatitude, r.Latitude.Part);
  put(kDbLongitude, r.Longitude.Part);
  f.Number[kDbHouseCode] = 1;  // no houses
  f.Number[kDbFlag] = r.Flag;
  f.Place = TrimRight(r.Place);
  f.Comment = TrimRight(r.Comment);
  chart.Line = WriteDbRecordLine(f);
  return chart;
}

bool IsWest(char c) { return c == 'W' || c == 'w'; }
bool IsSouth(char c) { return c == 'S' || c == 's'; }

// A field in fixed columns: the last column it takes.
struct ColumnField {
  std::size_t Last;
  ImportField Field;
};

// The first field of a fixed-column line of length that the line does not
// hold whole; None when it holds them all.
template <std::size_t N>
ImportField FieldCutShort(const ColumnField (&fields)[N], std::size_t length) {
  for (const ColumnField& field : fields)
    if (length < field.Last) return field.Field;
  return ImportField::None;
}

// ---- the formats --------------------------------------------------------------------

using ChartReader = bool (*)(std::string_view line, FieldReader& f, ForeignRecord& r);

// Quick*Chart: fixed columns.
bool ReadQuickChart(std::string_view t, FieldReader& f, ForeignRecord& r) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  // the numeric columns; the place after them may be missing
  static constexpr ColumnField kFields[] = {
      {29, ImportField::Day},
      {35, ImportField::Year},
      {37, ImportField::Hour},
      {40, ImportField::Minute},
      {43, ImportField::Second},
      {46, ImportField::Hour},  // AM or PM
      {51, ImportField::ZoneSide},
      {53, ImportField::ZoneHours},
      {56, ImportField::ZoneMinutes},
      {59, ImportField::LongitudeDegrees},
      {60, ImportField::LongitudeSide},
      {62, ImportField::LongitudeMinutes},
      {65, ImportField::LongitudeSeconds},
      {68, ImportField::LatitudeDegrees},
      {69, ImportField::LatitudeSide},
      {71, ImportField::LatitudeMinutes},
      {74, ImportField::LatitudeSeconds},
  };
  r.Name = Columns(t, 1, 23);
  const std::string_view monthText = Columns(t, 24, 26);
  std::string month(monthText);
  for (char& c : month)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const auto found = std::find(kMonths.begin(), kMonths.end(), month);
  if (found == kMonths.end()) {
    f.Fail(ImportFault::UnknownMonth, monthText, ImportField::Month);
    return false;
  }
  // a line cut short would read its missing fields as 0 (0° N 0° E, zone 0)
  if (const ImportField cut = FieldCutShort(kFields, t.size()); cut != ImportField::None) {
    f.Cut(cut);
    return false;
  }
  r.Date[0] = f.Int(Columns(t, 28, 29), ImportField::Day, true);
  r.Date[1] = static_cast<int>(found - kMonths.begin()) + 1;
  r.Date[2] = f.Int(Columns(t, 32, 35), ImportField::Year, true);
  // the 12-hour clock: 12 AM is 0 h, 12 PM is 12 h; beyond 12 it is no clock
  const int hour = f.Int(Columns(t, 36, 37), ImportField::Hour);
  f.Range(hour, 0, 12, ImportField::Hour);
  const std::string_view half = Columns(t, 45, 46);
  const bool pm =
      half.size() == 2 && (half[0] == 'P' || half[0] == 'p') && (half[1] == 'M' || half[1] == 'm');
  r.Time[0] = pm ? (hour == 12 ? 12 : hour + 12) : (hour == 12 ? 0 : hour);
  r.Time[1] = f.Int(Columns(t, 39, 40), ImportField::Minute);
  r.Time[2] = f.Int(Columns(t, 42, 43), ImportField::Second);
  // "+" marks a zone west of Greenwich
  r.Zone = f.Angle(Column(t, 51) == '+', ImportField::ZoneHours, Columns(t, 52, 53),
                   Columns(t, 55, 56), {});
  r.Longitude = f.Angle(IsWest(Column(t, 60)), ImportField::LongitudeDegrees, Columns(t, 57, 59),
                        Columns(t, 61, 62), Columns(t, 64, 65));
  r.Latitude = f.Angle(IsSouth(Column(t, 69)), ImportField::LatitudeDegrees, Columns(t, 67, 68),
                       Columns(t, 70, 71), Columns(t, 73, 74));
  r.Place = Columns(t, 76, 100);
  return f.Ok();
}

// Almagest: "name[@...] D.M.Y.h:mmss latD.mmss lonD.mmss"; a line that ends
// after the time has no coordinates.
bool ReadAlmagest(std::string_view t, FieldReader& f, ForeignRecord& r) {
  const std::size_t at = t.find('@');
  const std::size_t space = t.find(' ');
  r.Name = at != std::string_view::npos      ? t.substr(0, at)
           : space != std::string_view::npos ? t.substr(0, space)
                                             : std::string_view();
  if (space == std::string_view::npos) {
    f.Cut(ImportField::Day);
    return false;
  }
  CutThrough(t, ' ');
  r.Date[0] = f.Int(f.UpTo(t, '.', ImportField::Day), ImportField::Day, true);
  r.Date[1] = f.Int(f.UpTo(t, '.', ImportField::Month), ImportField::Month, true);
  r.Date[2] = f.Int(f.UpTo(t, '.', ImportField::Year), ImportField::Year, true);
  r.Time[0] = f.Int(f.UpTo(t, ':', ImportField::Hour), ImportField::Hour);
  r.Time[1] = f.Int(f.Chars(t, 2, 2, ImportField::Minute), ImportField::Minute);
  r.Time[2] = f.Int(f.Chars(t, 2, 3, ImportField::Second), ImportField::Second);
  if (f.Ok() && !IsBlank(t)) {
    for (const ImportField first : {ImportField::LatitudeDegrees, ImportField::LongitudeDegrees}) {
      const std::string_view d = f.UpTo(t, '.', first);
      const std::string_view m = f.Chars(t, 2, 2, Next(first, 1));
      const std::string_view s = f.Chars(t, 2, 3, Next(first, 2));
      (first == ImportField::LatitudeDegrees ? r.Latitude : r.Longitude) =
          f.Angle(false, first, d, m, s);
    }
  }
  return f.Ok();
}

// Zet: fixed columns; degrees right-aligned, blank columns read as 0.
bool ReadZet(std::string_view t, FieldReader& f, ForeignRecord& r) {
  static constexpr ColumnField kFields[] = {
      {34, ImportField::Day},
      {37, ImportField::Month},
      {42, ImportField::Year},
      {45, ImportField::Hour},
      {48, ImportField::Minute},
      {51, ImportField::Second},
      {54, ImportField::ZoneHours},
      {57, ImportField::ZoneMinutes},
      {83, ImportField::Place},
      {85, ImportField::LatitudeDegrees},
      {88, ImportField::LatitudeMinutes},
      {90, ImportField::LatitudeSide},
      {94, ImportField::LongitudeDegrees},
      {97, ImportField::LongitudeMinutes},
      {99, ImportField::LongitudeSide},
  };
  if (const ImportField cut = FieldCutShort(kFields, t.size()); cut != ImportField::None) {
    f.Cut(cut);
    return false;
  }
  const auto blank = [&t](std::size_t at) { return Column(t, at) == ' '; };
  r.Name = Columns(t, 1, 32);
  r.Date[0] = f.Int(Columns(t, 33, 34), ImportField::Day, true);
  r.Date[1] = f.Int(Columns(t, 36, 37), ImportField::Month, true);
  r.Date[2] = f.Int(Columns(t, 39, 42), ImportField::Year, true);
  r.Time[0] = f.Int(Columns(t, 44, 45), ImportField::Hour);
  r.Time[1] = f.Int(Columns(t, 47, 48), ImportField::Minute);
  r.Time[2] = f.Int(Columns(t, 50, 51), ImportField::Second);
  r.Zone = f.Angle(false, ImportField::ZoneHours, Columns(t, 52, 54), Columns(t, 56, 57), {});
  r.Place = Columns(t, 59, 83);
  const std::string_view latD = !blank(84)   ? Columns(t, 84, 85)
                                : !blank(85) ? Columns(t, 85, 85)
                                             : std::string_view();
  const std::string_view latM = !blank(87) ? Columns(t, 87, 88) : std::string_view();
  r.Latitude = f.Angle(IsSouth(Column(t, 90)), ImportField::LatitudeDegrees, latD, latM, {});
  std::string_view lonD;
  if (!blank(93))
    lonD = !blank(92) ? Columns(t, 92, 94) : Columns(t, 93, 94);
  else if (!blank(94))
    lonD = Columns(t, 94, 94);
  const std::string_view lonM = !blank(96) ? Columns(t, 96, 97) : std::string_view();
  r.Longitude = f.Angle(IsWest(Column(t, 99)), ImportField::LongitudeDegrees, lonD, lonM, {});
  return f.Ok();
}

// SkyWorker data line: "...|D.M.Y h:mm:ss |comment|place|rest", the rest in
// fixed columns up to the flag in its 24th.
bool ReadSkyWorkerData(std::string_view d, FieldReader& f, ForeignRecord& r) {
  static constexpr ColumnField kRest[] = {
      {3, ImportField::ZoneHours},         {5, ImportField::ZoneMinutes},
      {7, ImportField::ZoneSeconds},       {9, ImportField::LatitudeDegrees},
      {11, ImportField::LatitudeMinutes},  {13, ImportField::LatitudeSeconds},
      {14, ImportField::LatitudeSide},     {17, ImportField::LongitudeDegrees},
      {19, ImportField::LongitudeMinutes}, {21, ImportField::LongitudeSeconds},
      {22, ImportField::LongitudeSide},    {24, ImportField::Flag},
  };
  if (d.find('|') == std::string_view::npos) {
    f.Cut(ImportField::Day);
    return false;
  }
  CutThrough(d, '|');
  r.Date[0] = f.Int(f.UpTo(d, '.', ImportField::Day), ImportField::Day, true);
  r.Date[1] = f.Int(f.UpTo(d, '.', ImportField::Month), ImportField::Month, true);
  r.Date[2] = f.Int(f.UpTo(d, ' ', ImportField::Year), ImportField::Year, true);
  r.Time[0] = f.Int(f.UpTo(d, ':', ImportField::Hour), ImportField::Hour);
  r.Time[1] = f.Int(f.Chars(d, 2, 3, ImportField::Minute), ImportField::Minute);
  r.Time[2] = f.Int(f.Chars(d, 2, 3, ImportField::Second), ImportField::Second);
  r.Comment = f.UpTo(d, '|', ImportField::Comment);
  r.Place = f.UpTo(d, '|', ImportField::Place);
  if (!f.Ok()) return false;
  if (const ImportField cut = FieldCutShort(kRest, d.size()); cut != ImportField::None) {
    f.Cut(cut);
    return false;
  }
  r.Zone =
      f.Angle(false, ImportField::ZoneHours, Columns(d, 1, 3), Columns(d, 4, 5), Columns(d, 6, 7));
  r.Latitude = f.Angle(IsSouth(Column(d, 14)), ImportField::LatitudeDegrees, Columns(d, 8, 9),
                       Columns(d, 10, 11), Columns(d, 12, 13));
  r.Longitude = f.Angle(IsWest(Column(d, 22)), ImportField::LongitudeDegrees, Columns(d, 15, 17),
                        Columns(d, 18, 19), Columns(d, 20, 21));
  r.Flag = Column(d, 24) == 'M' ? 1 : 0;
  return f.Ok();
}

// Uranus: name, D, M, Y, h, m, s, latitude and longitude, each closed by the
// byte 1, then the place (closed by it or by the end of the line); an angle
// is "D.mm".
bool ReadUranus(std::string_view t, FieldReader& f, ForeignRecord& r) {
  static constexpr ImportField kMoment[6] = {ImportField::Day,    ImportField::Month,
                                             ImportField::Year,   ImportField::Hour,
                                             ImportField::Minute, ImportField::Second};
  r.Name = f.UpTo(t, kFieldSeparator, ImportField::Day);
  for (int i = 0; i < 6; ++i) {
    const std::string_view text = f.UpTo(t, kFieldSeparator, kMoment[i]);
    (i < 3 ? r.Date[i] : r.Time[i - 3]) = f.Int(text, kMoment[i], i < 3);
  }
  for (const ImportField first : {ImportField::LatitudeDegrees, ImportField::LongitudeDegrees}) {
    // the degrees and minutes of one field: "D.mm" and its closing byte
    const std::size_t end = t.find(kFieldSeparator);
    std::string_view field = t.substr(0, end);
    if (end == std::string_view::npos) {
      f.Cut(field.find('.') == std::string_view::npos ? first : Next(first, 1));
      t = {};
    } else {
      t.remove_prefix(end + 1);
    }
    const std::string_view deg = f.UpTo(field, '.', Next(first, 1));
    const std::string_view min = f.Chars(field, 2, 2, Next(first, 1));
    (first == ImportField::LatitudeDegrees ? r.Latitude : r.Longitude) =
        f.Angle(false, first, deg, min, {});
  }
  r.Place = TakeUpTo(t, kFieldSeparator, true);
  return f.Ok();
}

// One chart per line, blank lines skipped.
bool ReadLineCharts(ChartReader reader, const LineList& lines, std::vector<ImportedChart>& charts,
                    ImportFailure& failure) {
  charts.reserve(charts.size() + lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsBlank(lines[i])) continue;
    FieldReader f(failure, static_cast<int>(i + 1), lines[i].size());
    ForeignRecord r;
    if (!reader(lines[i], f, r) || !CheckRanges(f, r)) return false;
    charts.push_back(WriteChart(r));
  }
  return true;
}

// SkyWorker: the first line is a header; then each chart is a name line and
// the data line after it. A data line is known by its "|", so a blank line
// between the two or between charts changes no pairing, and a chart whose
// name line is missing takes an empty name.
bool ReadSkyWorker(const LineList& lines, std::vector<ImportedChart>& charts,
                   ImportFailure& failure) {
  std::string_view name;
  std::size_t nameLine = 0;  // 0: no name waiting for its data
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view t = lines[i];
    if (IsBlank(t)) continue;
    if (t.find('|') == std::string_view::npos) {
      if (nameLine != 0) break;  // the name before has no data line
      name = t;
      nameLine = i + 1;
      continue;
    }
    FieldReader f(failure, static_cast<int>(i + 1), t.size());
    ForeignRecord r;
    r.Name = nameLine != 0 ? name : std::string_view();
    if (!ReadSkyWorkerData(t, f, r) || !CheckRanges(f, r)) return false;
    charts.push_back(WriteChart(r));
    nameLine = 0;
  }
  if (nameLine == 0) return true;
  failure.Fault = ImportFault::NoData;
  failure.Line = static_cast<int>(nameLine);
  failure.Text = std::string(name);
  return false;
}

// Gemma: one chart per file. Line 0 holds the name (30 columns), the date and
// "h.mm"; line 5 the zone "hh.mmE" or "hh.mmW"; line 6 the place; lines 7
// and 8 latitude and longitude "D.mm", each after a first word.
bool ReadGemma(const LineList& lines, std::vector<ImportedChart>& charts, ImportFailure& failure) {
  if (lines.size() < static_cast<std::size_t>(kGemmaLines)) {
    failure.Fault = ImportFault::ShortFile;
    failure.Line = 0;
    failure.Text = std::to_string(lines.size());
    return false;
  }
  ForeignRecord r;
  FieldReader f(failure, 1, lines[0].size());
  std::string_view t = lines[0];
  r.Name = Columns(t, 1, 30);
  t.remove_prefix(std::min<std::size_t>(30, t.size()));
  SkipSpaces(t);
  r.Date[0] = f.Int(f.UpTo(t, '.', ImportField::Day), ImportField::Day, true);
  r.Date[1] = f.Int(f.UpTo(t, '.', ImportField::Month), ImportField::Month, true);
  r.Date[2] = f.Int(f.UpTo(t, ' ', ImportField::Year), ImportField::Year, true);
  r.Time[0] = f.Int(f.UpTo(t, '.', ImportField::Hour), ImportField::Hour);
  const std::string_view minutes = TakeUpTo(t, ' ', true);
  if (minutes.size() < 2) f.Cut(ImportField::Minute);  // "h.mm", two digits
  r.Time[1] = f.Int(minutes, ImportField::Minute);
  if (!f.Ok()) return false;

  // the text after the first word of line at; a line without a space ends
  // before field
  const auto afterFirstWord = [&lines](int at, FieldReader& reader, ImportField field) {
    std::string_view line = lines[static_cast<std::size_t>(at)];
    if (line.find(' ') == std::string_view::npos) reader.Cut(field);
    CutThrough(line, ' ');
    SkipSpaces(line);
    return line;
  };
  FieldReader zone(failure, 6, lines[5].size());
  t = afterFirstWord(5, zone, ImportField::ZoneHours);
  const bool east = t.find('E') != std::string_view::npos;
  const bool west = !east && t.find('W') != std::string_view::npos;
  const std::string_view zh = zone.UpTo(t, '.', ImportField::ZoneHours);
  // the letter closes the minutes: a line without one was cut short
  const std::string_view zm = zone.UpTo(t, east ? 'E' : 'W', ImportField::ZoneSide);
  r.Zone = zone.Angle(west, ImportField::ZoneHours, zh, zm, {});
  if (!zone.Ok()) return false;

  for (int i = 0; i < 2; ++i) {
    const ImportField first = i == 0 ? ImportField::LatitudeDegrees : ImportField::LongitudeDegrees;
    FieldReader angle(failure, 8 + i, lines[static_cast<std::size_t>(7 + i)].size());
    t = afterFirstWord(7 + i, angle, first);
    const std::string_view deg = angle.UpTo(t, '.', first);
    const std::string_view min = angle.Chars(t, 2, 2, Next(first, 1));
    (i == 0 ? r.Latitude : r.Longitude) = angle.Angle(false, first, deg, min, {});
    if (!angle.Ok()) return false;
  }
  FieldReader place(failure, 7, lines[6].size());
  t = afterFirstWord(6, place, ImportField::Place);
  r.Place = TakeUpTo(t, ' ', true);
  if (!place.Ok()) return false;
  FieldReader values(failure, 1, lines[0].size());
  if (!CheckRanges(values, r)) {
    // the zone and the coordinates stand on lines of their own
    const ImportField at = failure.Field;
    if (at >= ImportField::ZoneHours && at <= ImportField::ZoneSide) failure.Line = 6;
    if (at >= ImportField::LatitudeDegrees && at <= ImportField::LatitudeSide) failure.Line = 8;
    if (at >= ImportField::LongitudeDegrees && at <= ImportField::LongitudeSide) failure.Line = 9;
    return false;
  }
  charts.push_back(WriteChart(r));
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The text of one file, converted when its format is DOS text.
bool ReadForeignText(const std::string& path, bool dos, std::string& text, ImportFailure& failure) {
  std::string bytes, error;
  if (!ReadFileBytes(path, bytes, &error)) {
    failure.Fault = ImportFault::CannotRead;
    failure.File = path;
    failure.Line = 0;
    failure.Text = Utf8ToCp1251(error);
    return false;
  }
  const std::string_view content = DosText(bytes);  // converted bytes hold no 0x1A either
  text = dos ? ConvertDosFile(content) : std::string(content);
  return true;
}

}  // namespace

std::string ForeignFormatName(ForeignFormat format) {
  switch (format) {
    case ForeignFormat::QuickChart:
      return "Quick*Chart (*.qck)";
    case ForeignFormat::Almagest:
      return "Almagest DOS (*.ddd)";
    case ForeignFormat::Zet:
      return "Zet (*.zet)";
    case ForeignFormat::SkyWorker:
      return "SkyWorker (*.cat)";
    case ForeignFormat::Gemma:
      return "Gemma 10 (*.ast)";
    case ForeignFormat::Uranus:
      return "Uranus DOS (*.bda)";
  }
  return {};
}

bool IsForeignFormat(int filterIndex) {
  return filterIndex >= static_cast<int>(ForeignFormat::QuickChart) &&
         filterIndex <= static_cast<int>(ForeignFormat::Uranus);
}

std::string ConvertDosFile(std::string_view cp866) {
  std::string out(cp866);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 128) c = static_cast<char>(Cp866Table[b - 128]);
  }
  return out;
}

std::string_view DosText(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.find(kDosEndOfFile), bytes.size()));
}

bool ReadForeignCharts(ForeignFormat format, std::string_view text,
                       std::vector<ImportedChart>& charts, ImportFailure& failure) {
  const LineList lines = LinesOfText(DosText(text));
  switch (format) {
    case ForeignFormat::QuickChart:
      return ReadLineCharts(ReadQuickChart, lines, charts, failure);
    case ForeignFormat::Almagest:
      return ReadLineCharts(ReadAlmagest, lines, charts, failure);
    case ForeignFormat::Zet:
      return ReadLineCharts(ReadZet, lines, charts, failure);
    case ForeignFormat::SkyWorker:
      return ReadSkyWorker(lines, charts, failure);
    case ForeignFormat::Gemma:
      return ReadGemma(lines, charts, failure);
    case ForeignFormat::Uranus:
      return ReadLineCharts(ReadUranus, lines, charts, failure);
  }
  return true;
}

ChartDatabase BuildImportedDatabase(std::string_view rootName, std::string_view sectionName,
                                    const std::vector<ImportedChart>& charts) {
  ChartDatabase db;
  CreateDatabase(db, rootName, sectionName, DbSectionLine(sectionName));
  db.Nodes.reserve(charts.size() + 2);
  db.Lines.reserve(charts.size() + 2);
  for (const ImportedChart& chart : charts) {
    db.Nodes.push_back(DbNode{chart.Name, 2, kDbChart});
    db.Lines.push_back(chart.Line);
  }
  return db;
}

std::string ImportRootName(const std::string& path) {
  std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  name = name.substr(0, name.find('.'));
  return Utf8ToCp1251(name);
}

std::vector<std::string> GemmaFolderFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.size() < 4) continue;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::error_code statusError;
    if (ext != ".ast" || !it->is_regular_file(statusError)) continue;
    files.push_back(folder == "/" ? "/" + name : folder + "/" + name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool ImportForeignFile(const std::string& path, ForeignFormat format, const ImportTexts& texts,
                       ChartDatabase& db, ImportFailure& failure) {
  const bool dos = format == ForeignFormat::Almagest || format == ForeignFormat::Gemma ||
                   format == ForeignFormat::Uranus;
  const std::string folder = FolderOf(path);
  std::vector<ImportedChart> charts;
  std::string text;
  const std::vector<std::string> files =
      format == ForeignFormat::Gemma ? GemmaFolderFiles(folder) : std::vector<std::string>{path};
  for (const std::string& file : files) {
    if (!ReadForeignText(file, dos, text, failure)) return false;
    if (!ReadForeignCharts(format, text, charts, failure)) {
      failure.File = file;
      return false;
    }
  }
  const std::string root = format == ForeignFormat::Gemma ? texts.GemmaRoot : ImportRootName(path);
  db = BuildImportedDatabase(root, texts.SectionName, charts);
  db.Folder = folder;
  return true;
}
