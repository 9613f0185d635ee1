#include "input/timezones.h"

#include <algorithm>
#include <cmath>

#include "engine/astromath.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace {

const char* const kZoneRuleFileNames[kNamedZoneRuleFileCount] = {
    "Albania.zon",        "Australia 1.zon",    "Australia 2.zon",      "Australia 3.zon",
    "Australia 4.zon",    "Australia 5.zon",    "Australia 6.zon",      "Australia.zon",
    "Austria.zon",        "Belgium.zon",        "Bulgaria.zon",         "Denmark.zon",
    "East Germany.zon",   "Eastern Europe.zon", "England_Scotland.zon", "Finland.zon",
    "France.zon",         "Greece.zon",         "Ireland.zon",          "Italy.zon",
    "Japan.zon",          "Netherlands.zon",    "New Zealand.zon",      "Sweden.zon",
    "Switzerland.zon",    "UK General.zon",     "Wales_N.Ireland.zon",  "West Germany.zon",
    "Western Europe.zon", "Yugoslavia.zon"};

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Regions kept on local mean time until the decree of 9 February 1931.
bool KeepsMeanTimeTo1931(const std::string& code) {
  return code == "1" || code == "2" || code == "3" || code == "4" || code == "5";
}

// Columns from..to (1-based, inclusive) of a line; shorter when the line ends
// inside them.
std::string Columns(const std::string& line, std::size_t from, std::size_t to) {
  if (line.size() < from) return {};
  return line.substr(from - 1, to - from + 1);
}

char Column(const std::string& line, std::size_t at) {
  return line.size() < at ? ' ' : line[at - 1];
}

std::string Trimmed(const std::string& text) {
  std::size_t a = text.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  std::size_t b = text.find_last_not_of(' ');
  return text.substr(a, b - a + 1);
}

std::string ColumnsText(std::size_t from, std::size_t to) {
  return from == to ? "column " + std::to_string(from)
                    : "columns " + std::to_string(from) + "-" + std::to_string(to);
}

// Unsigned whole number of columns from..to, blanks around it allowed, within
// [lo, hi]. On failure says which columns hold what.
bool ColumnNumber(const std::string& line, std::size_t from, std::size_t to, const char* name,
                  int lo, int hi, int& value, std::string& what) {
  std::string text = Columns(line, from, to);
  std::string digits = Trimmed(text);
  int v = 0;
  bool ok = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos &&
            ParseInt(digits, v);
  if (!ok) {
    what = "the " + std::string(name) + " (" + ColumnsText(from, to) + ") is not a number: \"" +
           text + "\"";
    return false;
  }
  if (v < lo || v > hi) {
    what = "the " + std::string(name) + " (" + ColumnsText(from, to) + ") " + std::to_string(v) +
           " is outside " + std::to_string(lo) + ".." + std::to_string(hi);
    return false;
  }
  value = v;
  return true;
}

std::string AtLine(const std::string& fileName, std::size_t index) {
  return fileName + ", line " + std::to_string(index + 1) + ": ";
}

// Longitude in degrees, East positive, from whole degrees and minutes.
double Longitude(int degrees, int minutes, bool west) {
  double lon = DmsToDeg(degrees, minutes, 0);
  if (west) lon = -lon;
  if (lon > 180.0) lon -= 360.0;
  if (lon < -180.0) lon += 360.0;
  return lon;
}

// The local mean time of a longitude as a zone.
TownZone MeanTimeZone(double longitudeDeg) {
  TownZone z;
  z.Ok = true;
  z.LocalMeanTime = true;
  z.Field = ZoneFieldFromEastHours(longitudeDeg / 15.0);
  z.EastHours = EastHoursOfField(z.Field);
  return z;
}

// A reading on or after a stamp, to within the tolerance.
bool AtOrAfter(double localMoment, double stamp) {
  return localMoment >= stamp - kReadingToleranceDays;
}

TownZone Failure(const std::string& message) {
  TownZone z;
  z.Message = message;
  return z;
}

}  // namespace

// ---- zone abbreviations ------------------------------------------------------------

const ZoneAbbreviation& TownDbZoneAbbreviation(int index) {
  if (index >= 0 && index < kZoneAbbreviationCount) return kZoneAbbreviations[index];
  return kTownDbEmptyAbbreviation;
}

int FindZoneAbbreviation(const std::string& name) {
  std::string wanted = Trimmed(name);
  if (wanted.empty()) return -1;
  for (int i = 0; i < kZoneAbbreviationCount; ++i)
    if (wanted == kZoneAbbreviations[i].Name) return i;
  return -1;
}

// ---- the zone field --------------------------------------------------------------------

// Splits |hours| into hours, minutes and whole seconds (DegToDmsD rounds a
// value a hair below a whole second up to it); West for negative offsets.
ZoneField ZoneFieldFromEastHours(double eastHours) {
  ZoneField f;
  f.West = eastHours < 0;
  DegToDmsD(std::fabs(eastHours), f.Hours, f.Minutes, f.Seconds);
  return f;
}

// The lists hold offsets West positive; the field's hemisphere follows:
// an offset of 0 or less is East.
ZoneField ZoneFieldFromAbbreviation(const ZoneAbbreviation& entry) {
  return ZoneFieldFromEastHours(-entry.WestHours);
}

double EastHoursOfField(const ZoneField& field) {
  double h = DmsToDeg(field.Hours, field.Minutes, field.Seconds);
  return field.West ? -h : h;
}

std::string ZoneFieldText(const ZoneField& field, const std::string& hourMark,
                          const std::string& minuteMark, const std::string& secondMark) {
  auto two = [](int v) {
    std::string s = std::to_string(v);
    if (s.size() < 2) s.insert(s.begin(), '0');
    return s;
  };
  return two(field.Hours) + hourMark + two(field.Minutes) + minuteMark + two(field.Seconds) +
         secondMark;
}

// ---- the moment --------------------------------------------------------------------------

int ZonePeriod(double localMoment) {
  int k = 0;
  while (k < kDecreeCount && kDecreeDays[k] <= localMoment) ++k;
  return k;
}

double LocalMoment(int day, int month, int year, double localHours) {
  if (localHours >= 24.0) {
    localHours -= 24.0;
    ++day;
  }
  return JulianDay(day, month, year, static_cast<float>(localHours));
}

// ---- Time.ttt and Hour_zone.ttt ------------------------------------------------------------

bool ParseZoneHistory(const std::vector<std::string>& lines, const std::string& fileName,
                      std::vector<ZoneRegion>& regions, std::string& message) {
  std::vector<ZoneRegion> read;
  for (std::size_t i = 1; i < lines.size() && i <= static_cast<std::size_t>(kZoneRegionLines);
       ++i) {
    const std::string& line = lines[i];
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      message = AtLine(fileName, i) + "no \"=\" after the region code";
      return false;
    }
    ZoneRegion region;
    region.Code = line.substr(0, eq);
    for (int k = 0; k < kZonePeriodCount; ++k) {
      std::size_t col = 6 + 4 * static_cast<std::size_t>(k);
      std::string field = Columns(line, col, col + 1);
      // a leading blank stands for 0 (" 3" is "03")
      if (field.size() == 2 && field[0] == ' ') field[0] = '0';
      std::string name = "zone of period " + std::to_string(k + 1);
      if (field.size() < 2) {
        message = AtLine(fileName, i) + "the " + name + " (" + ColumnsText(col, col + 1) +
                  ") is missing: the line ends at column " + std::to_string(line.size());
        return false;
      }
      std::string what;
      if (!ColumnNumber(field, 1, 2, name.c_str(), 0, 14, region.PeriodHours[k], what)) {
        // report the columns of the line, not of the two-character field
        message = AtLine(fileName, i) + "the " + name + " (" + ColumnsText(col, col + 1) +
                  ") is not an hour 0..14: \"" + Columns(line, col, col + 1) + "\"";
        return false;
      }
    }
    read.push_back(region);
  }
  regions = std::move(read);
  return true;
}

bool ParseSummerSwitches(const std::vector<std::string>& lines, const std::string& fileName,
                         std::vector<double>& switches, std::string& message) {
  std::vector<double> read;
  read.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    double jd = 0;
    if (!ParseFloat(lines[i], jd)) {
      message = AtLine(fileName, i) + "not a Julian day: \"" + lines[i] + "\"";
      return false;
    }
    if (!read.empty() && jd <= read.back()) {
      message = AtLine(fileName, i) + "not later than the line before it";
      return false;
    }
    read.push_back(jd);
  }
  switches = std::move(read);
  return true;
}

// The number c of switches the moment is on or after: the last of them has
// index c - 1, and an even index opens summer time.
bool IsSummerTime(const std::vector<double>& switches, double localMoment) {
  std::size_t c = 0;
  while (c < switches.size() && AtOrAfter(localMoment, switches[c])) ++c;
  return c % 2 == 1;
}

// ---- zone-rule files -----------------------------------------------------------------------

std::string ZoneRuleFileName(int number) {
  if (number < 1 || number > kZoneRuleFileCount) return {};
  if (number <= kNamedZoneRuleFileCount) return kZoneRuleFileNames[number - 1];
  return "Zone " + std::to_string(number) + ".zon";
}

std::string RegionZoneRuleFileName(const std::string& regionCode) {
  return "Region " + regionCode + ".zon";
}

bool ZoneLineMoment(const std::string& line, double& moment, std::string& what) {
  int day = 0, year = 0, hour = 0, minute = 0;
  if (!ColumnNumber(line, 1, 2, "day", 1, 31, day, what)) return false;
  std::string monthText = Columns(line, 4, 6);
  int month = 0;
  for (int m = 0; m < 12; ++m)
    if (monthText == kMonthNames[m]) month = m + 1;
  if (month == 0) {
    what = "the month (columns 4-6) is not Jan..Dec: \"" + monthText + "\"";
    return false;
  }
  if (!ColumnNumber(line, 8, 11, "year", 1, 9999, year, what)) return false;
  if (!ColumnNumber(line, 15, 16, "hour", 0, 48, hour, what)) return false;
  if (!ColumnNumber(line, 18, 19, "minute", 0, 59, minute, what)) return false;
  if (hour > 24) hour -= 24;
  double hours = DmsToDeg(hour, minute, 0);
  // a time of 24 h or more is the next day (the day number may pass the
  // month's end: JulianDay counts it on)
  if (hours >= 24.0) {
    hours -= 24.0;
    ++day;
  }
  moment = JulianDay(day, month, year, static_cast<float>(hours));
  return true;
}

bool ParseZoneRuleFile(const std::vector<std::string>& lines, const std::string& fileName,
                       std::vector<ZoneRuleLine>& rules, std::string& message) {
  std::vector<ZoneRuleLine> read;
  read.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ZoneRuleLine rule;
    std::string what;
    if (line.size() < 24) {
      message = AtLine(fileName, i) + "too short: it ends at column " +
                std::to_string(line.size()) + " before the zone (column 24)";
      return false;
    }
    if (!ZoneLineMoment(line, rule.Moment, what)) {
      message = AtLine(fileName, i) + what;
      return false;
    }
    rule.LocalMeanTime = Column(line, 24) == ' ';
    rule.West = Column(line, 31) == '-';
    std::size_t needed = rule.LocalMeanTime ? 30 : 36;
    if (line.size() < needed) {
      message = AtLine(fileName, i) + "too short: it ends at column " +
                std::to_string(line.size()) + ", a " +
                (rule.LocalMeanTime ? "local-mean-time" : "zone") + " line runs to column " +
                std::to_string(needed);
      return false;
    }
    if (rule.LocalMeanTime) {
      int deg = 0, min = 0;
      if (!ColumnNumber(line, 25, 27, "longitude degrees", 0, 180, deg, what) ||
          !ColumnNumber(line, 29, 30, "longitude minutes", 0, 59, min, what)) {
        message = AtLine(fileName, i) + what;
        return false;
      }
      rule.LongitudeDeg = Longitude(deg, min, Column(line, 28) == 'W');
    } else {
      std::string abbreviation = Columns(line, 24, 27);
      rule.Abbreviation = abbreviation.substr(0, abbreviation.find_last_not_of(' ') + 1);
      if (!ColumnNumber(line, 32, 33, "zone hours", 0, 23, rule.ZoneHours, what) ||
          !ColumnNumber(line, 35, 36, "zone minutes", 0, 59, rule.ZoneMinutes, what)) {
        message = AtLine(fileName, i) + what;
        return false;
      }
    }
    if (!read.empty() && rule.Moment < read.back().Moment) {
      message = AtLine(fileName, i) + "earlier than the line before it";
      return false;
    }
    read.push_back(rule);
  }
  rules = std::move(read);
  return true;
}

// ---- the zone of a town --------------------------------------------------------------------

TownZone ZoneOfRegionTown(const std::vector<ZoneRegion>& regions,
                          const std::vector<double>& switches, const std::string& regionCode,
                          double longitudeDeg, double localMoment) {
  std::string code = Trimmed(regionCode);
  const ZoneRegion* region = nullptr;
  for (const ZoneRegion& r : regions)
    if (r.Code == code) {
      region = &r;
      break;
    }
  if (region == nullptr) return Failure("Time.ttt has no region line named \"" + code + "\"");

  int period = ZonePeriod(localMoment);
  TownZone z;
  if (period == 0 || (period <= 2 && KeepsMeanTimeTo1931(code))) {
    z = MeanTimeZone(longitudeDeg);
  } else {
    // the region's zone lies East of Greenwich whatever side the town is on
    z.Ok = true;
    z.Field.Hours = region->PeriodHours[period - 1];
  }
  z.Summer = IsSummerTime(switches, localMoment);
  if (z.Summer) z.Field = ZoneFieldFromEastHours(EastHoursOfField(z.Field) + 1.0);
  z.EastHours = EastHoursOfField(z.Field);
  // the hour after a spring switch was skipped, the hour before an autumn
  // switch shown twice
  constexpr double hour = 1.0 / 24.0;
  for (std::size_t i = 0; i < switches.size(); ++i) {
    const double s = switches[i];
    if (i % 2 == 0 && AtOrAfter(localMoment, s) && !AtOrAfter(localMoment, s + hour))
      z.Reading = ClockReading::Skipped;
    if (i % 2 == 1 && AtOrAfter(localMoment, s - hour) && !AtOrAfter(localMoment, s))
      z.Reading = ClockReading::Repeated;
  }
  return z;
}

namespace {

// Hours East a zone-rule line sets for a town: its own mean time for a
// local-mean-time line.
double RuleEastHours(const ZoneRuleLine& rule, double longitudeDeg) {
  if (rule.LocalMeanTime) return EastHoursOfField(ZoneFieldFromEastHours(longitudeDeg / 15.0));
  const double h = DmsToDeg(rule.ZoneHours, rule.ZoneMinutes, 0);
  return rule.West ? -h : h;
}

}  // namespace

TownZone ZoneOfRuleFileTown(const std::vector<ZoneRuleLine>& rules, double longitudeDeg,
                            double localMoment) {
  if (rules.empty()) return Failure("no zone lines");
  std::size_t i = 0;
  while (i < rules.size() && rules[i].LocalMeanTime && AtOrAfter(localMoment, rules[i].Moment)) ++i;
  // a local-mean-time line still ahead: the town keeps its own mean time
  if (i < rules.size() && rules[i].LocalMeanTime) {
    TownZone z = MeanTimeZone(longitudeDeg);
    // the change out of it, at that line's moment, may put the clock back
    if (i + 1 < rules.size()) {
      const double back = z.EastHours - RuleEastHours(rules[i + 1], longitudeDeg);
      if (back > 0 && AtOrAfter(localMoment, rules[i].Moment - back / 24.0))
        z.Reading = ClockReading::Repeated;
    }
    return z;
  }
  if (i == rules.size()) --i;
  const bool beforeAll = !AtOrAfter(localMoment, rules[i].Moment);
  while (i + 1 < rules.size() && AtOrAfter(localMoment, rules[i + 1].Moment)) ++i;
  const ZoneRuleLine& rule = rules[i];
  // Local mean time is that of the town itself: the meridian the file's line
  // names (read and checked with it) is the zone's reference town, and
  // taking it would set a town's clock to another town's noon.
  TownZone z;
  if (rule.LocalMeanTime) {
    z = MeanTimeZone(longitudeDeg);
  } else {
    z.Ok = true;
    z.Field.Hours = rule.ZoneHours;
    z.Field.Minutes = rule.ZoneMinutes;
    z.Field.West = rule.West;
    z.EastHours = EastHoursOfField(z.Field);
    z.Abbreviation = FindZoneAbbreviation(rule.Abbreviation);
    z.ShowAbbreviations = true;
  }
  const double now = RuleEastHours(rule, longitudeDeg);
  // skipped: the change into this line moved the clock on over the reading
  if (i > 0 && !beforeAll) {
    const double ahead = now - RuleEastHours(rules[i - 1], longitudeDeg);
    if (ahead > 0 && !AtOrAfter(localMoment, rule.Moment + ahead / 24.0))
      z.Reading = ClockReading::Skipped;
  }
  // repeated: the next change puts the clock back over the reading
  if (i + 1 < rules.size()) {
    const double back = now - RuleEastHours(rules[i + 1], longitudeDeg);
    if (back > 0 && AtOrAfter(localMoment, rules[i + 1].Moment - back / 24.0))
      z.Reading = ClockReading::Repeated;
  }
  return z;
}

TownZone ZoneOfOwnZoneTown(const std::string& abbreviation, bool west, int hours, int minutes) {
  TownZone z;
  z.Ok = true;
  z.Field.Hours = hours;
  z.Field.Minutes = minutes;
  z.Field.West = west;
  z.EastHours = EastHoursOfField(z.Field);
  z.Abbreviation = FindZoneAbbreviation(abbreviation);
  z.ShowAbbreviations = true;
  return z;
}

// ---- town lines ----------------------------------------------------------------------------

bool ParseRegionTownLine(const std::string& line, RegionTownFields& fields, std::string& what) {
  if (line.size() < 38) {
    what = "the town line ends at column " + std::to_string(line.size()) +
           " before its region code (columns 38-39)";
    return false;
  }
  int deg = 0, min = 0;
  if (!ColumnNumber(line, 29, 31, "longitude degrees", 0, 180, deg, what) ||
      !ColumnNumber(line, 33, 34, "longitude minutes", 0, 59, min, what))
    return false;
  std::string code = Trimmed(Columns(line, 38, 39));
  if (code.empty()) {
    what = "the region code (columns 38-39) is blank";
    return false;
  }
  fields.LongitudeDeg = Longitude(deg, min, Column(line, 28) == '-');
  fields.RegionCode = code;
  return true;
}

bool ParseForeignTownLine(const std::string& line, ForeignTownFields& fields, std::string& what) {
  if (line.size() < 77) {
    what = "the town line ends at column " + std::to_string(line.size()) +
           " before its zone-rule number (columns 76-77)";
    return false;
  }
  ForeignTownFields f;
  int deg = 0, min = 0;
  if (!ColumnNumber(line, 48, 49, "zone hours", 0, 23, f.ZoneHours, what) ||
      !ColumnNumber(line, 51, 52, "zone minutes", 0, 59, f.ZoneMinutes, what) ||
      !ColumnNumber(line, 66, 68, "longitude degrees", 0, 180, deg, what) ||
      !ColumnNumber(line, 70, 71, "longitude minutes", 0, 59, min, what) ||
      !ColumnNumber(line, 76, 77, "zone-rule number", 0, 99, f.ZoneRuleNumber, what))
    return false;
  f.Abbreviation = Trimmed(Columns(line, 41, 46));
  f.ZoneWest = Column(line, 47) == '-';
  f.LongitudeDeg = Longitude(deg, min, Column(line, 69) == 'W');
  fields = f;
  return true;
}

TownZone ZoneOfRegionTownLine(const std::string& townsFolder, const std::string& townLine,
                              double localMoment) {
  RegionTownFields town;
  std::string what;
  if (!ParseRegionTownLine(townLine, town, what)) return Failure("Towns.twn: " + what);

  std::vector<std::string> lines;
  std::string message;
  // the region's own history where the folder has it (a code of letters and
  // digits only names a file in the folder itself)
  const bool plainCode =
      std::all_of(town.RegionCode.begin(), town.RegionCode.end(), [](unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      });
  std::string path = townsFolder + RegionZoneRuleFileName(town.RegionCode);
  if (plainCode && FileExists(path)) {
    std::vector<ZoneRuleLine> rules;
    if (!ReadLines(path, lines, &message) || !ParseZoneRuleFile(lines, path, rules, message))
      return Failure(message);
    TownZone z = ZoneOfRuleFileTown(rules, town.LongitudeDeg, localMoment);
    if (!z.Ok) z.Message = path + ": " + z.Message;
    // a Russian or CIS town shows its zone without the abbreviation list
    z.Abbreviation = -1;
    z.ShowAbbreviations = false;
    return z;
  }

  std::vector<ZoneRegion> regions;
  std::vector<double> switches;
  path = townsFolder + "Time.ttt";
  if (!ReadLines(path, lines, &message) || !ParseZoneHistory(lines, path, regions, message))
    return Failure(message);
  path = townsFolder + "Hour_zone.ttt";
  if (!ReadLines(path, lines, &message) || !ParseSummerSwitches(lines, path, switches, message))
    return Failure(message);
  return ZoneOfRegionTown(regions, switches, town.RegionCode, town.LongitudeDeg, localMoment);
}

TownZone ZoneOfForeignTownLine(const std::string& townsFolder, const std::string& townLine,
                               double localMoment) {
  ForeignTownFields town;
  std::string what;
  if (!ParseForeignTownLine(townLine, town, what)) return Failure("town line: " + what);

  // The zone's side of Greenwich is the zone's own (column 47 of the town,
  // or column 31 of a zone-rule line), never the town's longitude letter:
  // Madrid lies west of Greenwich and keeps a zone east of it.
  const std::string fileName = ZoneRuleFileName(town.ZoneRuleNumber);
  if (fileName.empty())
    return ZoneOfOwnZoneTown(town.Abbreviation, town.ZoneWest, town.ZoneHours, town.ZoneMinutes);

  std::vector<std::string> lines;
  std::vector<ZoneRuleLine> rules;
  std::string message;
  std::string path = townsFolder + fileName;
  if (!ReadLines(path, lines, &message) || !ParseZoneRuleFile(lines, path, rules, message))
    return Failure(message);
  TownZone z = ZoneOfRuleFileTown(rules, town.LongitudeDeg, localMoment);
  if (!z.Ok) z.Message = path + ": " + z.Message;
  return z;
}
