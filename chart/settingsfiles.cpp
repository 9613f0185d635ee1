#include "chart/settingsfiles.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace {

// Reads the values of one file by line number and words the first fault.
class LineReader {
 public:
  LineReader(const std::string& path, const LineList& lines, std::string& error)
      : path_(path), lines_(lines), error_(error) {}

  // The file must hold at least count lines.
  bool Need(std::size_t count) {
    if (lines_.size() >= count) return true;
    error_ = path_ + ", line " + std::to_string(lines_.size() + 1) + ": missing (the file has " +
             std::to_string(lines_.size()) + " lines, " + std::to_string(count) + " are needed)";
    return false;
  }

  // An integer within lo..hi.
  bool Int(std::size_t line, int lo, int hi, int& out) {
    int v = 0;
    if (!ParseInt(lines_[line], v)) return NotANumber(line);
    if (v < lo || v > hi) {
      return Fail(line, std::to_string(v) + " is outside " + std::to_string(lo) + ".." +
                            std::to_string(hi));
    }
    out = v;
    return true;
  }

  // Any integer.
  bool AnyInt(std::size_t line, int& out) {
    if (!ParseInt(lines_[line], out)) return NotANumber(line);
    return true;
  }

  // A flag: any non-zero integer reads as 1.
  bool Flag(std::size_t line, std::uint8_t& out) {
    int v = 0;
    if (!ParseInt(lines_[line], v)) return NotANumber(line);
    out = v != 0 ? 1 : 0;
    return true;
  }

  // A flag held in an int field.
  bool IntFlag(std::size_t line, int& out) {
    std::uint8_t f = 0;
    if (!Flag(line, f)) return false;
    out = f;
    return true;
  }

  // A colour: the signed decimal form of the 32-bit value.
  bool Colour(std::size_t line, std::int32_t& out) {
    int v = 0;
    if (!ParseInt(lines_[line], v)) return NotANumber(line);
    out = static_cast<std::int32_t>(v);
    return true;
  }

  // A float that fits a single.
  bool Single(std::size_t line, float& out) {
    double v = 0;
    if (!ParseFloat(lines_[line], v)) return NotANumber(line);
    if (std::fabs(v) > FLT_MAX) return Fail(line, "the value is too large");
    out = static_cast<float>(v);
    return true;
  }

  // A double within lo..hi.
  bool Double(std::size_t line, double lo, double hi, double& out) {
    double v = 0;
    if (!ParseFloat(lines_[line], v)) return NotANumber(line);
    if (v < lo || v > hi) {
      return Fail(line, lines_[line] + " is outside " + FormatFloat(lo) + ".." + FormatFloat(hi));
    }
    out = v;
    return true;
  }

  const std::string& Text(std::size_t line) const { return lines_[line]; }

 private:
  bool NotANumber(std::size_t line) {
    return Fail(line, "\"" + lines_[line] + "\" is not a number");
  }
  bool Fail(std::size_t line, const std::string& what) {
    error_ = path_ + ", line " + std::to_string(line + 1) + ": " + what;
    return false;
  }

  const std::string& path_;
  const LineList& lines_;
  std::string& error_;
};

// Limits of the values that serve as indices or sizes.
constexpr int kMaxOperandCode = 41;
constexpr int kMaxSignMode = 3;
constexpr int kMaxSex = 2;
constexpr int kMaxRadiusPercent = 100;
constexpr int kMaxHouseRulerMethod = 2;
constexpr int kMaxWheelOrientation = 4;
constexpr int kPairOrbLines = kObjectCount * kObjectCount;
constexpr int kPartLines = 7;

// ---- Readers, one per file ------------------------------------------------

using Reader = bool (*)(LineReader&, ChartRecord&, SettingsOutsideRecord&);

bool ReadCS(LineReader& in, ChartRecord& r, SettingsOutsideRecord& out) {
  if (!in.Need(9)) return false;
  for (int i = 0; i < 8; ++i)
    if (!in.Colour(i, r.ChartColors[i])) return false;
  return in.Colour(8, out.WindowColor);
}

bool ReadCA(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(7)) return false;
  for (int i = 0; i < 7; ++i)
    if (!in.Colour(i, r.AspectColors[i])) return false;
  return true;
}

bool ReadCH(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(3)) return false;
  for (int i = 0; i < 3; ++i)
    if (!in.Colour(i, r.HouseColors[i])) return false;
  return true;
}

bool ReadSP(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(4)) return false;
  for (int i = 0; i < 4; ++i)
    if (!in.Flag(i, r.LineSwitches[i])) return false;
  return true;
}

bool ReadOPT(LineReader& in, ChartRecord& r, SettingsOutsideRecord& out) {
  if (!in.Need(12)) return false;
  DefaultPlace& p = out.Place;
  // line 2 (PrevGeocentric) is not read: the chart is always geocentric
  if (!in.Int(0, 1, kHouseSystemCount, r.HouseSystem) || !in.AnyInt(1, r.ChartStyle) ||
      !in.Int(3, 1, kMaxWheelOrientation, r.WheelOrientation) || !in.IntFlag(4, r.HatchElements) ||
      !in.IntFlag(5, r.HatchHouses) || !in.Flag(6, out.SaveSettings) ||
      !in.Int(7, 0, kMaxHouseRulerMethod, r.HouseRulerMethod) ||
      !in.Double(8, -90, 90, p.GeocentricLatitude) || !in.Double(9, -90, 90, p.Latitude) ||
      !in.Double(10, -180, 180, p.Longitude) || !in.Double(11, -24, 24, p.TimeZone))
    return false;
  r.PrevGeocentric = 0;
  r.Geocentric = 1;
  return true;
}

bool ReadKR(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(10)) return false;
  for (int i = 0; i < 5; ++i)
    if (!in.Int(i, 0, kMaxRadiusPercent, r.RadiiEuropean[i]) ||
        !in.Int(5 + i, 0, kMaxRadiusPercent, r.RadiiAmerican[i]))
      return false;
  return true;
}

bool ReadIF(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(4)) return false;
  for (int i = 0; i < 4; ++i)
    if (!in.Int(i, 0, kGlyphSizeCount - 1, r.GlyphSizes[i])) return false;
  return true;
}

bool ReadFlags(LineReader& in, std::uint8_t* flags, int count) {
  if (!in.Need(count)) return false;
  for (int i = 0; i < count; ++i)
    if (!in.Flag(i, flags[i])) return false;
  return true;
}

bool ReadTAP1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  return ReadFlags(in, r.ObjectAspected, kObjectCount);
}
bool ReadTDO1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  return ReadFlags(in, r.ObjectShown, kObjectCount);
}
bool ReadTDA1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  return ReadFlags(in, r.AspectKindEnabled, kAspectKindCount);
}

bool ReadKA1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(kAspectKindCount)) return false;
  for (int k = 0; k < kAspectKindCount; ++k)
    if (!in.Single(k, r.AspectOrbFactor[k])) return false;
  return true;
}

bool ReadKSBS1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(3)) return false;
  for (int i = 0; i < 3; ++i)
    if (!in.Single(i, r.OrbScale[i])) return false;
  return true;
}

bool ReadAOR1(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  if (!in.Need(kPairOrbLines)) return false;
  for (int i = 0; i < kPairOrbLines; ++i)
    if (!in.Single(i, r.PairOrb[i / kObjectCount][i % kObjectCount])) return false;
  return true;
}

bool ReadAlmutens(LineReader& in, int* almuten) {
  if (!in.Need(360)) return false;
  for (int d = 0; d < 360; ++d)
    if (!in.Int(d, 0, kBodyCount - 1, almuten[d])) return false;
  return true;
}

bool ReadALMD(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  return ReadAlmutens(in, r.AlmutenDay);
}
bool ReadALMN(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  return ReadAlmutens(in, r.AlmutenNight);
}

bool ReadPAR(LineReader& in, ChartRecord& r, SettingsOutsideRecord&) {
  int count = 0;
  if (!in.Need(1) || !in.Int(0, 0, kMaxArabicParts, count)) return false;
  if (!in.Need(1 + static_cast<std::size_t>(kPartLines) * count)) return false;
  for (int i = 0; i < count; ++i) {
    const std::size_t l = 1 + static_cast<std::size_t>(kPartLines) * i;
    PartRecord p;
    p.Name = in.Text(l);
    if (!in.Int(l + 1, 0, kMaxOperandCode, p.A) || !in.Int(l + 2, 0, kMaxOperandCode, p.B) ||
        !in.Int(l + 3, 0, kMaxOperandCode, p.C) || !in.Int(l + 4, 0, kMaxSignMode, p.SignModeB) ||
        !in.Int(l + 5, 0, kMaxSignMode, p.SignModeC) || !in.Int(l + 6, 0, kMaxSex, p.Sex))
      return false;
    r.ArabicParts[i] = p;
  }
  for (int i = count; i < kMaxArabicParts; ++i) r.ArabicParts[i] = PartRecord{};
  r.PartCount = count;
  return true;
}

// ---- Writers, one per file ------------------------------------------------

std::string IntText(long long v) { return FormatInt(v); }
std::string FlagText(int v) { return v != 0 ? "1" : "0"; }
std::string FloatText(float v) { return FormatFloat(static_cast<double>(v)); }

LineList WriteCS(const ChartRecord& r, const SettingsOutsideRecord& out) {
  LineList l;
  for (int i = 0; i < 8; ++i) l.push_back(IntText(r.ChartColors[i]));
  l.push_back(IntText(out.WindowColor));
  return l;
}

LineList WriteCA(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 7; ++i) l.push_back(IntText(r.AspectColors[i]));
  return l;
}

LineList WriteCH(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 3; ++i) l.push_back(IntText(r.HouseColors[i]));
  return l;
}

LineList WriteSP(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 4; ++i) l.push_back(FlagText(r.LineSwitches[i]));
  return l;
}

LineList WriteOPT(const ChartRecord& r, const SettingsOutsideRecord& out) {
  return {IntText(r.HouseSystem),
          IntText(r.ChartStyle),
          IntText(r.PrevGeocentric),
          IntText(r.WheelOrientation),
          IntText(r.HatchElements),
          IntText(r.HatchHouses),
          FlagText(out.SaveSettings),
          IntText(r.HouseRulerMethod),
          FormatFloat(out.Place.GeocentricLatitude),
          FormatFloat(out.Place.Latitude),
          FormatFloat(out.Place.Longitude),
          FormatFloat(out.Place.TimeZone)};
}

LineList WriteKR(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 5; ++i) l.push_back(IntText(r.RadiiEuropean[i]));
  for (int i = 0; i < 5; ++i) l.push_back(IntText(r.RadiiAmerican[i]));
  return l;
}

LineList WriteIF(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 4; ++i) l.push_back(IntText(r.GlyphSizes[i]));
  return l;
}

LineList WriteFlags(const std::uint8_t* flags, int count) {
  LineList l;
  for (int i = 0; i < count; ++i) l.push_back(FlagText(flags[i]));
  return l;
}

LineList WriteTAP1(const ChartRecord& r, const SettingsOutsideRecord&) {
  return WriteFlags(r.ObjectAspected, kObjectCount);
}
LineList WriteTDO1(const ChartRecord& r, const SettingsOutsideRecord&) {
  return WriteFlags(r.ObjectShown, kObjectCount);
}
LineList WriteTDA1(const ChartRecord& r, const SettingsOutsideRecord&) {
  return WriteFlags(r.AspectKindEnabled, kAspectKindCount);
}

LineList WriteKA1(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int k = 0; k < kAspectKindCount; ++k) l.push_back(FloatText(r.AspectOrbFactor[k]));
  return l;
}

LineList WriteKSBS1(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int i = 0; i < 3; ++i) l.push_back(FloatText(r.OrbScale[i]));
  return l;
}

LineList WriteAOR1(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  l.reserve(kPairOrbLines);
  for (int o1 = 0; o1 < kObjectCount; ++o1)
    for (int o2 = 0; o2 < kObjectCount; ++o2) l.push_back(FloatText(r.PairOrb[o1][o2]));
  return l;
}

LineList WriteALMD(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int d = 0; d < 360; ++d) l.push_back(IntText(r.AlmutenDay[d]));
  return l;
}

LineList WriteALMN(const ChartRecord& r, const SettingsOutsideRecord&) {
  LineList l;
  for (int d = 0; d < 360; ++d) l.push_back(IntText(r.AlmutenNight[d]));
  return l;
}

// Written whatever the count, so that an emptied list stays empty.
LineList WritePAR(const ChartRecord& r, const SettingsOutsideRecord&) {
  const int count =
      r.PartCount < 0 ? 0 : (r.PartCount > kMaxArabicParts ? kMaxArabicParts : r.PartCount);
  LineList l{IntText(count)};
  for (int i = 0; i < count; ++i) {
    const PartRecord& p = r.ArabicParts[i];
    l.push_back(p.Name);
    l.push_back(IntText(p.A));
    l.push_back(IntText(p.B));
    l.push_back(IntText(p.C));
    l.push_back(IntText(p.SignModeB));
    l.push_back(IntText(p.SignModeC));
    l.push_back(IntText(p.Sex));
  }
  return l;
}

using Writer = LineList (*)(const ChartRecord&, const SettingsOutsideRecord&);

struct SettingsFile {
  const char* Name;
  Reader Read;
  Writer Write;
};

// In read order.
constexpr SettingsFile kFiles[16] = {
    {"CS.opt", ReadCS, WriteCS},       {"CA.opt", ReadCA, WriteCA},
    {"CH.opt", ReadCH, WriteCH},       {"SP.opt", ReadSP, WriteSP},
    {"OPT.opt", ReadOPT, WriteOPT},    {"KR.opt", ReadKR, WriteKR},
    {"IF.opt", ReadIF, WriteIF},       {"TAP1.opt", ReadTAP1, WriteTAP1},
    {"TDO1.opt", ReadTDO1, WriteTDO1}, {"TDA1.opt", ReadTDA1, WriteTDA1},
    {"KA1.opt", ReadKA1, WriteKA1},    {"KSBS1.opt", ReadKSBS1, WriteKSBS1},
    {"AOR1.opt", ReadAOR1, WriteAOR1}, {"ALMD.opt", ReadALMD, WriteALMD},
    {"ALMN.opt", ReadALMN, WriteALMN}, {"PAR.opt", ReadPAR, WritePAR}};

const SettingsFile* FindFile(const std::string& name) {
  for (const SettingsFile& f : kFiles)
    if (name == f.Name) return &f;
  return nullptr;
}

// What the windows show for the settings just read.
SettingsMenuState MenuStateOf(const ChartRecord& r, const SettingsOutsideRecord& out) {
  SettingsMenuState s;
  s.HouseSystem = r.HouseSystem;
  s.EuropeanStyle = r.ChartStyle == 1;
  s.OrientationItem = r.WheelOrientation;
  s.SolidMinorLines = r.LineSwitches[0] == 1;
  s.HatchElementsCaptionEntry = r.HatchElements != 0 ? 50 : 51;
  s.HatchHousesCaptionEntry = r.HatchHouses != 0 ? 58 : 59;
  s.HouseRulerMethod = r.HouseRulerMethod;
  s.Outside = out;
  return s;
}

}  // namespace

// Folder of the chart settings files.
//   programFolder  the program folder, without a trailing separator
//   returns        programFolder + "/Options/"
std::string ChartSettingsFolder(const std::string& programFolder) {
  return programFolder + "/Options/";
}

// Reads the chart settings files of a program folder (see ReadChartSettingsFrom).
SettingsReadResult ReadChartSettings(const std::string& programFolder, ChartRecord& record,
                                     SettingsMenuState& state) {
  return ReadChartSettingsFrom(ChartSettingsFolder(programFolder), record, state);
}

// Reads the sixteen chart settings files, all or nothing.
//   folder  the folder holding them, ending in '/'
//   record  replaced by the values read, only when every file was read (in/out)
//   state   the windows' state for those values, only on success (out)
//   returns Ok, or the message of the first fault (file, and line when a value is at fault)
SettingsReadResult ReadChartSettingsFrom(const std::string& folder, ChartRecord& record,
                                         SettingsMenuState& state) {
  SettingsReadResult result;
  auto scratch = std::make_unique<ChartRecord>(record);
  SettingsOutsideRecord outside;
  for (const SettingsFile& file : kFiles) {
    const std::string path = folder + file.Name;
    LineList lines;
    if (!ReadLines(path, lines)) {
      result.Message = "Cannot open file " + path;
      return result;
    }
    if (!ReadChartSettingsLines(file.Name, path, lines, *scratch, outside, result.Message))
      return result;
  }
  record = std::move(*scratch);
  state = MenuStateOf(record, outside);
  result.Ok = true;
  return result;
}

// Reads the lines of one chart settings file (see the header).
bool ReadChartSettingsLines(const std::string& fileName, const std::string& path,
                            const LineList& lines, ChartRecord& record,
                            SettingsOutsideRecord& outside, std::string& message) {
  const SettingsFile* f = FindFile(fileName);
  if (f == nullptr) {
    message = "Unknown settings file " + path;
    return false;
  }
  LineReader in(path, lines, message);
  return f->Read(in, record, outside);
}

// Lines of one chart settings file as written.
//   fileName  one of kChartSettingsWriteOrder
//   returns   the lines, or an empty list for an unknown name
std::vector<std::string> ChartSettingsFileLines(const std::string& fileName,
                                                const ChartRecord& record,
                                                const SettingsOutsideRecord& outside) {
  const SettingsFile* f = FindFile(fileName);
  return f != nullptr ? f->Write(record, outside) : LineList{};
}

// Writes the chart settings files of a program folder (see WriteChartSettingsTo).
std::vector<std::string> WriteChartSettings(const std::string& programFolder,
                                            const ChartRecord& record,
                                            const SettingsOutsideRecord& outside) {
  return WriteChartSettingsTo(ChartSettingsFolder(programFolder), record, outside);
}

// A float that is not finite is written as NAN, INF or -INF, which no reader
// takes back: a file holding one would stop the next start. PAR.opt is not
// asked, its names are free text.
bool HoldsNonFinite(const char* name, const LineList& lines) {
  if (std::string(name) == "PAR.opt") return false;
  for (const std::string& line : lines)
    if (line == "NAN" || line == "INF" || line == "-INF") return true;
  return false;
}

// Writes the sixteen chart settings files in the write order, each built whole
// and replaced atomically; a file that would hold a value that is not finite
// is kept as it was.
//   folder  the folder, ending in '/'
//   returns one message per file that failed; the other files are written all the same
std::vector<std::string> WriteChartSettingsTo(const std::string& folder, const ChartRecord& record,
                                              const SettingsOutsideRecord& outside) {
  std::vector<std::string> failures;
  for (const char* name : kChartSettingsWriteOrder) {
    const std::string path = folder + name;
    const LineList lines = FindFile(name)->Write(record, outside);
    if (HoldsNonFinite(name, lines)) {
      failures.push_back(path + ": a value is not a finite number; the file is kept as it was");
      continue;
    }
    std::string error;
    if (!WriteLinesAtomic(path, lines, &error))
      failures.push_back(error.empty() ? "Cannot write file " + path : error);
  }
  return failures;
}

// The chart window's build of its record: the fixed part, then the settings.
//   record            the chart window's record (out)
//   uiText            language-file entries
//   houseRulerMethod  0..2, until the settings say otherwise
//   programFolder     base of the Options folder
//   state             the windows' state for the settings read (out, on success)
SettingsReadResult BuildChartRecord(ChartRecord& record, const std::vector<std::string>& uiText,
                                    int houseRulerMethod, const std::string& programFolder,
                                    SettingsMenuState& state) {
  InitChartRecord(record, uiText, houseRulerMethod);
  return ReadChartSettings(programFolder, record, state);
}
