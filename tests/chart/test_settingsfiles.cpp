// Reading and writing the chart settings files: the factory files round-trip
// byte for byte under both decimal separators, faults name the file and the
// line and leave the record alone, and the values land where the layout says.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chart/settingsfiles.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace fs = std::filesystem;

namespace {

constexpr double kPlaceTolDeg = 1e-12;  // degrees, a double written with 15 digits
constexpr double kStarTolDeg = 1e-4;    // degrees, single-precision star table
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

const std::string kFactoryFolder = std::string(HORARY_SOURCE_DIR) + "/data/Options/";

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& l : lines) bytes += l + "\r\n";
  return bytes;
}

// RGB to the platform colour value 0x00BBGGRR.
constexpr std::int32_t Rgb(int red, int green, int blue) {
  return red | (green << 8) | (blue << 16);
}

class SettingsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSeparator_ = DecimalSeparator();
    SetDecimalSeparator('.');
    char pattern[] = "/tmp/chart_settings_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    folder_ = root_ + "/Options/";
    out_ = root_ + "/Out/";
    fs::create_directories(folder_);
    fs::create_directories(out_);
    for (const char* name : kChartSettingsReadOrder)
      fs::copy_file(kFactoryFolder + name, folder_ + name);
    record = std::make_unique<ChartRecord>();
  }
  void TearDown() override {
    SetDecimalSeparator(savedSeparator_);
    fs::remove_all(root_);
  }

  // Replaces line `index` (from 0) of a file in the working folder.
  void SetLine(const std::string& name, std::size_t index, const std::string& text) {
    std::vector<std::string> lines = SplitLines(ReadBytes(folder_ + name));
    ASSERT_LT(index, lines.size());
    lines[index] = text;
    WriteBytes(folder_ + name, JoinLines(lines));
  }

  SettingsReadResult Read() { return ReadChartSettingsFrom(folder_, *record, state); }

  std::string root_, folder_, out_;
  std::unique_ptr<ChartRecord> record;
  SettingsMenuState state;

 private:
  char savedSeparator_ = '.';
};

// ---- Round trips ------------------------------------------------------------

TEST_F(SettingsFiles, FactoryFilesRoundTripByteIdentical) {
  const SettingsReadResult r = Read();
  ASSERT_TRUE(r.Ok) << r.Message;
  const std::vector<std::string> failures = WriteChartSettingsTo(out_, *record, state.Outside);
  ASSERT_TRUE(failures.empty()) << failures.front();
  for (const char* name : kChartSettingsWriteOrder)
    EXPECT_EQ(ReadBytes(out_ + name), ReadBytes(kFactoryFolder + name)) << name;
}

TEST_F(SettingsFiles, FactoryCopyForTheRestoreMatchesTheOptions) {
  for (const char* name : kChartSettingsReadOrder)
    EXPECT_EQ(ReadBytes(kFactoryFolder + "Standart/" + name), ReadBytes(kFactoryFolder + name))
        << name;
}

// With a decimal comma the separator upkeep turns the first '.' of each line of
// the float files into ','; such files read and write back unchanged.
TEST_F(SettingsFiles, RoundTripUnderADecimalComma) {
  SetDecimalSeparator(',');
  for (const char* name : {"OPT.opt", "KA1.opt", "KSBS1.opt", "AOR1.opt"}) {
    std::vector<std::string> lines = SplitLines(ReadBytes(folder_ + name));
    for (std::string& l : lines) {
      const std::size_t dot = l.find('.');
      if (dot != std::string::npos) l[dot] = ',';
    }
    WriteBytes(folder_ + name, JoinLines(lines));
  }
  EXPECT_EQ(SplitLines(ReadBytes(folder_ + "OPT.opt"))[8], "55,5709618149878");
  const SettingsReadResult r = Read();
  ASSERT_TRUE(r.Ok) << r.Message;
  EXPECT_NEAR(state.Outside.Place.Latitude, 55.75, kPlaceTolDeg);
  ASSERT_TRUE(WriteChartSettingsTo(out_, *record, state.Outside).empty());
  for (const char* name : kChartSettingsWriteOrder)
    EXPECT_EQ(ReadBytes(out_ + name), ReadBytes(folder_ + name)) << name;
}

// ---- Values where the layout puts them ---------------------------------------

TEST_F(SettingsFiles, FactoryValuesAndWindowState) {
  ASSERT_TRUE(Read().Ok);
  const ChartRecord& r = *record;
  EXPECT_EQ(r.HouseSystem, 1);
  EXPECT_EQ(r.ChartStyle, 1);
  EXPECT_EQ(r.WheelOrientation, 3);
  EXPECT_EQ(r.HouseRulerMethod, 1);
  EXPECT_EQ(r.GlyphSizes[0], 15);
  EXPECT_EQ(r.RadiiEuropean[2], 75);
  EXPECT_EQ(r.RadiiAmerican[4], 0);
  EXPECT_EQ(r.ObjectAspected[27], 1);  // MC
  EXPECT_EQ(r.ObjectShown[10], 0);     // Chiron
  EXPECT_EQ(r.AspectKindEnabled[4], 1);
  EXPECT_EQ(r.AspectKindEnabled[5], 0);
  EXPECT_EQ(r.OrbScale[0], 1.0f);
  // Lilly's orbs 15 (Sun) and 12 (Moon): moieties 7.5 + 6
  EXPECT_EQ(r.PairOrb[0][1], 13.5f);
  EXPECT_EQ(r.PairOrb[1][0], 13.5f);
  // Mars 7.5 and Saturn 9: 3.75 + 4.5
  EXPECT_EQ(r.PairOrb[4][6], 8.25f);
  EXPECT_EQ(r.PairOrb[5][5], 0.0f);

  EXPECT_TRUE(state.EuropeanStyle);
  EXPECT_EQ(state.OrientationItem, 3);
  EXPECT_EQ(state.HatchElementsCaptionEntry, 50);
  EXPECT_EQ(state.HatchHousesCaptionEntry, 58);
  EXPECT_EQ(state.HouseRulerMethod, 1);
  EXPECT_EQ(state.Outside.SaveSettings, 0);
  EXPECT_EQ(state.Outside.WindowColor, Rgb(255, 251, 240));
  // 55 deg 45 min N, 37 deg 35 min E, zone +3
  const double phi = 55.75;
  EXPECT_NEAR(state.Outside.Place.Latitude, phi, kPlaceTolDeg);
  EXPECT_NEAR(state.Outside.Place.Longitude, 37.0 + 35.0 / 60.0, kPlaceTolDeg);
  EXPECT_NEAR(state.Outside.Place.TimeZone, 3.0, kPlaceTolDeg);
  EXPECT_NEAR(state.Outside.Place.GeocentricLatitude,
              phi - 0.19242777777777778 * std::sin(2.0 * phi * kDegToRad), kPlaceTolDeg);
}

TEST_F(SettingsFiles, FactoryArabicParts) {
  ASSERT_TRUE(Read().Ok);
  ASSERT_GE(record->PartCount, 1);
  // Part of Fortune: Ascendant + Moon - Sun by day, + Sun - Moon by night
  const PartRecord& fortune = record->ArabicParts[0];
  EXPECT_EQ(fortune.A, 0);
  EXPECT_EQ(fortune.B, 13);
  EXPECT_EQ(fortune.C, 12);
  EXPECT_EQ(fortune.SignModeB, 2);
  EXPECT_EQ(fortune.SignModeC, 3);
  EXPECT_EQ(fortune.Sex, 0);
  for (int i = 0; i < record->PartCount; ++i)
    EXPECT_FALSE(record->ArabicParts[i].Name.empty()) << "part " << i;
}

// Almutens scored by hand: domicile 5, exaltation 4, triplicity 3, Egyptian
// term 2, Chaldean face 1; a tie goes to the sign's domicile ruler.
TEST_F(SettingsFiles, FactoryAlmutensAgreeWithHandScoring) {
  ASSERT_TRUE(Read().Ok);
  const ChartRecord& r = *record;
  // 0 Aries by day: Sun exaltation 4 + fire day triplicity 3 = 7 beats
  // Mars domicile 5 + face 1 = 6 and Jupiter term 2.
  EXPECT_EQ(r.AlmutenDay[0], 0);
  // by night Jupiter takes the triplicity: Jupiter 3 + 2 = 5, Sun 4, Mars 6.
  EXPECT_EQ(r.AlmutenNight[0], 4);
  // 20 Aries by day: Mars 5 + term 2 = 7 ties the Sun's 7; the domicile ruler wins.
  EXPECT_EQ(r.AlmutenDay[20], 4);
  // 15 Taurus: Venus 5 + day triplicity 3 = 8 by day; by night the Moon
  // has exaltation 4 + triplicity 3 + face 1 = 8 against Venus 5.
  EXPECT_EQ(r.AlmutenDay[45], 3);
  EXPECT_EQ(r.AlmutenNight[45], 1);
  // 0 Cancer: Moon 5 ties Mars triplicity 3 + term 2; the Moon rules Cancer.
  EXPECT_EQ(r.AlmutenDay[90], 1);
  EXPECT_EQ(r.AlmutenNight[90], 1);
  // 29 Libra by day: Saturn exaltation 4 + day triplicity 3 = 7, Venus 5.
  EXPECT_EQ(r.AlmutenDay[209], 6);
}

TEST_F(SettingsFiles, PairOrbsAreReadRowByRow) {
  SetLine("AOR1.opt", 1, "2.5");    // [0][1]
  SetLine("AOR1.opt", 37, "4.25");  // [1][1]
  SetLine("AOR1.opt", 36, "1.75");  // [1][0]
  ASSERT_TRUE(Read().Ok);
  EXPECT_EQ(record->PairOrb[0][1], 2.5f);
  EXPECT_EQ(record->PairOrb[1][1], 4.25f);
  EXPECT_EQ(record->PairOrb[1][0], 1.75f);
  EXPECT_EQ(record->PairOrb[0][2], 11.0f);  // Sun 7.5 + Mercury 3.5, untouched
}

TEST_F(SettingsFiles, AnyNonZeroFlagReadsAsOne) {
  SetLine("SP.opt", 0, "5");
  SetLine("TDO1.opt", 10, "-3");
  ASSERT_TRUE(Read().Ok);
  EXPECT_EQ(record->LineSwitches[0], 1);
  EXPECT_EQ(record->ObjectShown[10], 1);
  EXPECT_TRUE(state.SolidMinorLines);
  ASSERT_TRUE(WriteChartSettingsTo(out_, *record, state.Outside).empty());
  EXPECT_EQ(SplitLines(ReadBytes(out_ + "SP.opt"))[0], "1");
}

TEST_F(SettingsFiles, ChartStaysGeocentricWhateverTheFileHolds) {
  for (const char* text : {"7", "1", "not a number"}) {
    SetLine("OPT.opt", 2, text);
    record->Geocentric = 0;
    record->PrevGeocentric = 3;
    const SettingsReadResult r = Read();
    ASSERT_TRUE(r.Ok) << text << ": " << r.Message;
    EXPECT_EQ(record->Geocentric, 1) << text;
    EXPECT_EQ(record->PrevGeocentric, 0) << text;
    ASSERT_TRUE(WriteChartSettingsTo(out_, *record, state.Outside).empty());
    EXPECT_EQ(SplitLines(ReadBytes(out_ + "OPT.opt"))[2], "0") << text;
  }
}

TEST_F(SettingsFiles, OptionsLinesGoToTheirWindows) {
  SetLine("OPT.opt", 1, "2");           // American style
  SetLine("OPT.opt", 3, "4");           // Asc on the right
  SetLine("OPT.opt", 4, "0");           // elements hatched
  SetLine("OPT.opt", 6, "1");           // save settings: yes
  SetLine("OPT.opt", 7, "2");           // house rulers by almuten
  SetLine("CS.opt", 4, "-2147483633");  // a system colour
  ASSERT_TRUE(Read().Ok);
  EXPECT_FALSE(state.EuropeanStyle);
  EXPECT_EQ(state.OrientationItem, 4);
  EXPECT_EQ(state.HatchElementsCaptionEntry, 51);
  EXPECT_EQ(state.HatchHousesCaptionEntry, 58);
  EXPECT_EQ(state.Outside.SaveSettings, 1);
  EXPECT_EQ(state.HouseRulerMethod, 2);
  EXPECT_EQ(record->HouseRulerMethod, 2);
  EXPECT_EQ(record->ChartColors[4], -2147483633);
  ASSERT_TRUE(WriteChartSettingsTo(out_, *record, state.Outside).empty());
  for (const char* name : {"OPT.opt", "CS.opt"})
    EXPECT_EQ(ReadBytes(out_ + name), ReadBytes(folder_ + name)) << name;
}

// ---- Faults -------------------------------------------------------------

TEST_F(SettingsFiles, MissingFileNamesThePath) {
  fs::remove(folder_ + "TDA1.opt");
  const SettingsReadResult r = Read();
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message, "Cannot open file " + folder_ + "TDA1.opt");
}

TEST_F(SettingsFiles, ShortFileNamesTheMissingLine) {
  WriteBytes(folder_ + "CH.opt", "0\r\n0\r\n");
  const SettingsReadResult r = Read();
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message.rfind(folder_ + "CH.opt, line 3: ", 0), 0u) << r.Message;
}

TEST_F(SettingsFiles, BadValueNamesFileAndLineAndLeavesTheRecordAlone) {
  SetLine("KR.opt", 2, "seventy");
  record->ChartColors[0] = 12345;  // CS.opt is read before KR.opt
  record->HouseSystem = 9;         // OPT.opt too
  record->PartCount = 4;           // PAR.opt after it
  record->Geocentric = 0;
  state.HouseSystem = 17;
  const SettingsReadResult r = Read();
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Message, folder_ + "KR.opt, line 3: \"seventy\" is not a number");
  EXPECT_EQ(record->ChartColors[0], 12345);
  EXPECT_EQ(record->HouseSystem, 9);
  EXPECT_EQ(record->PartCount, 4);
  EXPECT_EQ(record->Geocentric, 0);
  EXPECT_EQ(state.HouseSystem, 17);
}

TEST_F(SettingsFiles, PartCountBeyondTheLinesIsRefused) {
  WriteBytes(folder_ + "PAR.opt", "2\r\nName\r\n0\r\n13\r\n12\r\n2\r\n3\r\n0\r\n");
  const SettingsReadResult r = Read();
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Message.find("PAR.opt, line 9: "), std::string::npos) << r.Message;
}

struct BadIndexCase {
  const char* file;
  std::size_t line;  // from 0
  const char* text;
};

class SettingsIndexRange : public SettingsFiles,
                           public ::testing::WithParamInterface<BadIndexCase> {};

TEST_P(SettingsIndexRange, OutOfRangeValueIsRefused) {
  const BadIndexCase& c = GetParam();
  SetLine(c.file, c.line, c.text);
  record->HouseSystem = 9;
  const SettingsReadResult r = Read();
  EXPECT_FALSE(r.Ok) << c.file << " line " << c.line << " = " << c.text;
  const std::string where = folder_ + c.file + ", line " + std::to_string(c.line + 1) + ": ";
  EXPECT_EQ(r.Message.rfind(where, 0), 0u) << r.Message;
  EXPECT_EQ(record->HouseSystem, 9);
}

INSTANTIATE_TEST_SUITE_P(
    RefusedValues, SettingsIndexRange,
    ::testing::Values(
        BadIndexCase{"OPT.opt", 0, "0"},                                    // house system 1..23
        BadIndexCase{"OPT.opt", 0, "24"}, BadIndexCase{"OPT.opt", 3, "5"},  // orientation 1..4
        BadIndexCase{"OPT.opt", 7, "3"},   // house-ruler method 0..2
        BadIndexCase{"OPT.opt", 9, "91"},  // latitude
        BadIndexCase{"KR.opt", 0, "101"},  // radius percent
        BadIndexCase{"KR.opt", 9, "-1"}, BadIndexCase{"IF.opt", 2, "26"},  // glyph size index 0..25
        BadIndexCase{"ALMD.opt", 10, "18"},                                // body 0..17
        BadIndexCase{"ALMN.opt", 359, "-1"},
        BadIndexCase{"PAR.opt", 0, "101"},                                   // at most 100 parts
        BadIndexCase{"PAR.opt", 0, "-1"}, BadIndexCase{"PAR.opt", 2, "42"},  // operand A 0..41
        BadIndexCase{"PAR.opt", 5, "4"},                                     // sign mode of B 0..3
        BadIndexCase{"PAR.opt", 7, "3"},                                     // sex 0..2
        BadIndexCase{"KA1.opt", 0, "1e300"},                                 // no single
        BadIndexCase{"AOR1.opt", 100, ""}));

// ---- Writing ------------------------------------------------------------

TEST_F(SettingsFiles, EmptyPartListIsWrittenAndStaysEmpty) {
  ASSERT_TRUE(Read().Ok);
  ASSERT_GT(record->PartCount, 0);
  record->PartCount = 0;  // every part deleted in the editor
  ASSERT_TRUE(WriteChartSettingsTo(folder_, *record, state.Outside).empty());
  EXPECT_EQ(ReadBytes(folder_ + "PAR.opt"), "0\r\n");
  record->PartCount = 7;
  ASSERT_TRUE(Read().Ok);
  EXPECT_EQ(record->PartCount, 0);
}

TEST_F(SettingsFiles, OneFailedFileDoesNotStopTheOthers) {
  ASSERT_TRUE(Read().Ok);
  fs::create_directories(out_ + "CS.opt");  // a folder where the file should go
  const std::vector<std::string> failures = WriteChartSettingsTo(out_, *record, state.Outside);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("CS.opt"), std::string::npos) << failures[0];
  for (const char* name : kChartSettingsWriteOrder) {
    if (std::string(name) == "CS.opt") continue;
    EXPECT_EQ(ReadBytes(out_ + name), ReadBytes(kFactoryFolder + name)) << name;
  }
}

TEST_F(SettingsFiles, AValueThatIsNotFiniteKeepsItsFileAsItWas) {
  ASSERT_TRUE(Read().Ok);
  for (const char* name : kChartSettingsWriteOrder)
    ASSERT_TRUE(WriteLinesAtomic(out_ + name, {"old"}));
  record->PairOrb[3][4] = std::numeric_limits<float>::infinity();
  record->OrbScale[1] = std::numeric_limits<float>::quiet_NaN();
  state.Outside.Place.TimeZone = -std::numeric_limits<double>::infinity();
  const std::vector<std::string> failures = WriteChartSettingsTo(out_, *record, state.Outside);
  ASSERT_EQ(failures.size(), 3u);
  for (const char* name : {"AOR1.opt", "KSBS1.opt", "OPT.opt"}) {
    EXPECT_EQ(ReadBytes(out_ + name), "old\r\n") << name;
    EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [&](const std::string& f) {
      return f.find(name) != std::string::npos;
    })) << name;
  }
  EXPECT_EQ(ReadBytes(out_ + "CS.opt"), ReadBytes(kFactoryFolder + "CS.opt"));
}

TEST_F(SettingsFiles, WrittenLinesOfARecordBuiltInMemory) {
  ChartRecord& r = *record;
  r.HouseSystem = 23;
  r.PartCount = 1;
  r.ArabicParts[0] = PartRecord{"\xCF\xE0\xF0\xF1 1.5", 0, 41, 29, 1, 0, 2, 123.0f};  // "Парс 1.5"
  SettingsOutsideRecord outside;
  outside.Place.Latitude = -33.5;
  const std::vector<std::string> par = ChartSettingsFileLines("PAR.opt", r, outside);
  const std::vector<std::string> expected = {"1", "\xCF\xE0\xF0\xF1 1.5", "0", "41", "29", "1", "0",
                                             "2"};
  EXPECT_EQ(par, expected);
  const std::vector<std::string> opt = ChartSettingsFileLines("OPT.opt", r, outside);
  ASSERT_EQ(opt.size(), 12u);
  EXPECT_EQ(opt[0], "23");
  EXPECT_EQ(opt[9], "-33.5");
  EXPECT_EQ(ChartSettingsFileLines("AOR1.opt", r, outside).size(), 1296u);
  EXPECT_TRUE(ChartSettingsFileLines("Other.opt", r, outside).empty());
}

TEST_F(SettingsFiles, BuildGivesAGeocentricRecordWithTheSettings) {
  std::vector<std::string> ui(535, "x");
  ui[123] = "H";
  ui[100] = "P";
  // the program folder holds Options/
  const SettingsReadResult r = BuildChartRecord(*record, ui, 0, root_, state);
  ASSERT_TRUE(r.Ok) << r.Message;
  EXPECT_EQ(record->Geocentric, 1);
  EXPECT_EQ(record->HouseRulerMethod, 1);  // the file's choice
  EXPECT_EQ(record->HouseSystemNames[record->HouseSystem], "H P");
  EXPECT_NEAR(record->FixedStarLon1950[14], 65.0, kStarTolDeg);
}

}  // namespace
