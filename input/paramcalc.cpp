#include "input/paramcalc.h"

#include <cmath>
#include <memory>

#include "engine/astromath.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace {

constexpr unsigned char kDegreeSign = 0xB0;  // code page 1251 "°"
constexpr std::size_t kShortNumberChars = 4;

ParamFileResult Failed(const std::string& message) { return {false, message}; }

ParamFileResult LineFault(const std::string& path, std::size_t line, const std::string& what) {
  return Failed(path + ", line " + std::to_string(line + 1) + ": " + what);
}

// The lines of a file that must hold at least count of them.
ParamFileResult ReadAtLeast(const std::string& path, std::size_t count, LineList& lines) {
  if (!ReadLines(path, lines)) return Failed("Cannot open file " + path);
  if (lines.size() < count)
    return Failed(path + ": " + std::to_string(lines.size()) + " lines, " + std::to_string(count) +
                  " are needed");
  return {true, {}};
}

ParamFileResult ReadInt(const std::string& path, const LineList& lines, std::size_t line,
                        int& out) {
  if (!ParseInt(lines[line], out))
    return LineFault(path, line, "\"" + lines[line] + "\" is not a number");
  return {true, {}};
}

ParamFileResult ReadFlag(const std::string& path, const LineList& lines, std::size_t line,
                         std::uint8_t& out) {
  int v = 0;
  ParamFileResult r = ReadInt(path, lines, line, v);
  if (r.Ok) out = v != 0 ? 1 : 0;
  return r;
}

ParamFileResult Write(const std::string& path, const LineList& lines) {
  std::string error;
  if (!WriteLinesAtomic(path, lines, &error))
    return Failed(error.empty() ? "Cannot create file " + path : error);
  return {true, {}};
}

std::string Flag(std::uint8_t v) { return v != 0 ? "1" : "0"; }

std::string Digits(int value, int width) {
  std::string s = std::to_string(value);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return s;
}

// Three parts of a masked field; false names the field.
bool ReadParts(const std::string& text, const int (&columns)[3], const int (&widths)[3],
               int (&parts)[3], const char* field, std::string& message) {
  for (int i = 0; i < 3; ++i)
    if (!ReadDigitsField(text, columns[i], widths[i], parts[i])) {
      message = std::string(field) + ": \"" + text + "\" is not a number";
      return false;
    }
  return true;
}

}  // namespace

std::string OptionsFilePath(const std::string& programFolder, const std::string& name) {
  return programFolder + "/Options/" + name;
}

// ---- PRC1.opt ---------------------------------------------------------------------

ParamFileResult ReadParamFile(const std::string& path, ParamFile& out) {
  LineList lines;
  ParamFileResult r = ReadAtLeast(path, kParamFileLines, lines);
  if (!r.Ok) return r;
  ParamFile p;
  if (!(r = ReadFlag(path, lines, 0, p.ParamFlag976)).Ok) return r;
  p.TableFontName = lines[1];
  double factor = 0;
  if (!ParseFloat(lines[2], factor) || std::fabs(factor) > 1e30)
    return LineFault(path, 2, "\"" + lines[2] + "\" is not a number");
  p.DoubleChartOrbFactor = static_cast<float>(factor);
  for (int pair = 0; pair < kParamRadioPairs; ++pair)
    for (int b = 0; b < 2; ++b)
      if (!(r = ReadFlag(path, lines, 3 + 2 * pair + b, p.Pairs[pair][b])).Ok) return r;
  out = p;
  return {true, {}};
}

std::vector<std::string> ParamFileLines(const ParamFile& in) {
  // a factor that is not finite is written as the designed 0.25
  const double factor = std::isfinite(in.DoubleChartOrbFactor) ? in.DoubleChartOrbFactor : 0.25;
  LineList lines{Flag(in.ParamFlag976), in.TableFontName, FormatFloat(factor)};
  for (const auto& pair : in.Pairs) {
    lines.push_back(Flag(pair[0]));
    lines.push_back(Flag(pair[1]));
  }
  return lines;
}

ParamFileResult WriteParamFile(const std::string& path, const ParamFile& in) {
  return Write(path, ParamFileLines(in));
}

// ---- DBD.opt ----------------------------------------------------------------------

ParamFileResult ReadDatabaseFolderFile(const std::string& path, std::string& folder) {
  LineList lines;
  ParamFileResult r = ReadAtLeast(path, 0, lines);
  if (!r.Ok) return r;
  folder = lines.empty() ? std::string() : lines[0];
  return r;
}

ParamFileResult WriteDatabaseFolderFile(const std::string& path, const std::string& folder) {
  return Write(path, {folder});
}

// ---- RulTF.opt ----------------------------------------------------------------------

int ClampChoice(int index, int count) {
  if (index < 0) return 0;
  return index >= count ? count - 1 : index;
}

ParamFileResult ReadRulersFile(const std::string& path, RulersChoice& out) {
  LineList lines;
  ParamFileResult r = ReadAtLeast(path, kRulersFileLines, lines);
  if (!r.Ok) return r;
  RulersChoice c;
  if (!(r = ReadInt(path, lines, 0, c.TermSystem)).Ok ||
      !(r = ReadInt(path, lines, 1, c.SignRulerSet)).Ok)
    return r;
  c.TermSystem = ClampChoice(c.TermSystem, kTermSystemCount);
  c.SignRulerSet = ClampChoice(c.SignRulerSet, kSignRulerSetCount);
  out = c;
  return r;
}

ParamFileResult WriteRulersFile(const std::string& path, const RulersChoice& in) {
  return Write(path, {FormatInt(ClampChoice(in.TermSystem, kTermSystemCount)),
                      FormatInt(ClampChoice(in.SignRulerSet, kSignRulerSetCount))});
}

// ---- rec.box ------------------------------------------------------------------------

ParamFileResult ReadReceptionFile(const std::string& path, ReceptionChoice& out) {
  LineList lines;
  ParamFileResult r = ReadAtLeast(path, kReceptionFileLines, lines);
  if (!r.Ok) return r;
  ReceptionChoice c;
  for (int k = 0; k < kReceptionFileLines; ++k)
    if (!(r = ReadFlag(path, lines, k, c.KindOn[k])).Ok) return r;
  out = c;
  return r;
}

ParamFileResult WriteReceptionFile(const std::string& path, const ReceptionChoice& in) {
  LineList lines;
  for (std::uint8_t on : in.KindOn) lines.push_back(Flag(on));
  return Write(path, lines);
}

// ---- the default place ------------------------------------------------------------------

namespace {

// Whole degrees, minutes and the nearest whole second of a value >= 0, so a
// value shown and read back moves by half a second at most, and a value of
// whole seconds not at all.
void SplitToNearestSecond(double value, int& d, int& m, int& s) {
  const long long total = std::isfinite(value) ? std::llround(value * 3600.0) : 0;
  d = static_cast<int>(total / 3600);
  m = static_cast<int>(total / 60 % 60);
  s = static_cast<int>(total % 60);
}

}  // namespace

// The default place as the dialog shows it.
//   place  degrees North and East positive, zone in hours East positive
//   marks  the hour, minute and second marks of the zone field
DefaultPlaceFields FieldsOfDefaultPlace(const DefaultPlace& place, const TimeMarks& marks) {
  DefaultPlaceFields f;
  int d = 0, m = 0, s = 0;
  SplitToNearestSecond(std::fabs(place.TimeZone), d, m, s);
  f.ZoneText = TimeFieldText(d, m, s, marks);
  f.ZoneWest = place.TimeZone < 0;
  SplitToNearestSecond(std::fabs(place.Latitude), d, m, s);
  f.LatitudeText = Digits(d, 2) + ":" + Digits(m, 2) + ":" + Digits(s, 2);
  f.South = place.Latitude < 0;
  SplitToNearestSecond(std::fabs(place.Longitude), d, m, s);
  f.LongitudeText = Digits(d, 3) + ":" + Digits(m, 2) + ":" + Digits(s, 2);
  f.West = place.Longitude < 0;
  return f;
}

// Reads the default place from the dialog's fields, all or nothing.
bool ParseDefaultPlace(const DefaultPlaceFields& fields, DefaultPlace& place,
                       std::string& message) {
  int lat[3], lon[3], zone[3];
  if (!ReadParts(fields.LatitudeText, {1, 4, 7}, {2, 2, 2}, lat, "MaskEdit5", message) ||
      !ReadParts(fields.LongitudeText, {1, 5, 8}, {3, 2, 2}, lon, "MaskEdit6", message) ||
      !ReadParts(fields.ZoneText, {1, 4, 7}, {2, 2, 2}, zone, "MaskEdit7", message))
    return false;
  DefaultPlace p;
  p.Latitude = DmsToDeg(FoldLatitudeDegrees(lat[0]), FoldSixtieths(lat[1]), FoldSixtieths(lat[2]));
  p.GeocentricLatitude = GeocentricOfGeographic(p.Latitude);
  p.Longitude =
      DmsToDeg(FoldLongitudeDegrees(lon[0]), FoldSixtieths(lon[1]), FoldSixtieths(lon[2]));
  p.TimeZone =
      DmsToDeg(FoldZoneHours(zone[0]), FoldZoneSixtieths(zone[1]), FoldZoneSixtieths(zone[2]));
  if (fields.ZoneWest) p.TimeZone = -p.TimeZone;
  if (fields.South) {
    p.Latitude = -p.Latitude;
    p.GeocentricLatitude = -p.GeocentricLatitude;
  }
  if (fields.West) p.Longitude = -p.Longitude;
  place = p;
  return true;
}

// ---- the orb scale --------------------------------------------------------------------

std::string ShortNumberText(double value) {
  std::string text = FormatFloat(value);
  if (text.size() > kShortNumberChars) text.resize(kShortNumberChars);
  return text;
}

std::string WithoutDegreeSign(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) == kDegreeSign)
    return text.substr(0, text.size() - 1);
  return text;
}

bool ParseOrbScaleText(const std::string& text, float& value) {
  double v = 0;
  if (!ParseFloat(text, v) || !(v > 0) || v > 1e6) return false;
  value = static_cast<float>(v);
  return true;
}

// ---- the topics ----------------------------------------------------------------------

int CheckNewTopic(const std::string& topic, const std::string& houseText, int& house) {
  if (topic.empty()) return kEntryTopicEmpty;
  int h = 0;
  if (!ParseInt(houseText, h) || h < 1 || h > 12) return kEntryTopicHouseRange;
  house = h;
  return 0;
}

ParamFileResult ReadTopicListFiles(const std::string& programFolder, TopicListFiles& list) {
  LineList topics, houses;
  ParamFileResult r = ReadAtLeast(OptionsFilePath(programFolder, list.TopicsName), 0, topics);
  if (r.Ok) r = ReadAtLeast(OptionsFilePath(programFolder, list.HousesName), 0, houses);
  list.Topics = r.Ok ? std::move(topics) : LineList{};
  list.Houses = r.Ok ? std::move(houses) : LineList{};
  return r;
}

ParamFileResult SaveTopicListFiles(const std::string& programFolder, const TopicListFiles& list) {
  ParamFileResult r = Write(OptionsFilePath(programFolder, list.TopicsName), list.Topics);
  return r.Ok ? Write(OptionsFilePath(programFolder, list.HousesName), list.Houses) : r;
}

void AddTopic(TopicListFiles& list, const std::string& topic, int house) {
  // a house list shorter than its topics gets its missing lines as house 1,
  // so the new topic's house stands beside it
  while (list.Houses.size() < list.Topics.size()) list.Houses.push_back("0");
  list.Topics.push_back(topic);
  list.Houses.insert(list.Houses.begin() + static_cast<std::ptrdiff_t>(list.Topics.size() - 1),
                     FormatInt(house - 1));
}

bool RemoveTopic(TopicListFiles& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.Topics.size())) return false;
  list.Topics.erase(list.Topics.begin() + index);
  if (index < static_cast<int>(list.Houses.size())) list.Houses.erase(list.Houses.begin() + index);
  return true;
}

// ---- the factory restore ---------------------------------------------------------------

// Reads and checks every factory file, then writes them all.
//   programFolder  base of Options and Options/Standart
//   returns        Ok, or the first file that is missing or damaged (nothing written)
FactoryRestoreResult RestoreFactorySettings(const std::string& programFolder) {
  FactoryRestoreResult result;
  const std::string factory = programFolder + "/Options/Standart/";
  std::vector<LineList> contents;
  for (const char* name : kFactoryRestoreFiles) {
    LineList lines;
    if (!ReadLines(factory + name, lines)) {
      result.Detail = "Cannot open file " + factory + name;
      return result;
    }
    contents.push_back(std::move(lines));
  }
  // the copies must read as the program reads them
  auto record = std::make_unique<ChartRecord>();
  SettingsMenuState state;
  SettingsReadResult chart = ReadChartSettingsFrom(factory, *record, state);
  if (!chart.Ok) {
    result.Detail = chart.Message;
    return result;
  }
  ParamFile param;
  ParamFileResult prc = ReadParamFile(factory + kParamFileName, param);
  if (!prc.Ok) {
    result.Detail = prc.Message;
    return result;
  }
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const std::string target = OptionsFilePath(programFolder, kFactoryRestoreFiles[i]);
    std::string error;
    if (!WriteLinesAtomic(target, contents[i], &error)) {
      result.Detail = error.empty() ? "Cannot create file " + target : error;
      return result;
    }
  }
  result.Ok = true;
  return result;
}
