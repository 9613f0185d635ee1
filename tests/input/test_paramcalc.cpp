// The calculation parameters without their window: the shipped files and the
// factory copies, the readers' refusals and clamps, the default place shown
// and read back, the folding of out-of-range parts, the orb-scale fields, the
// topic checks and the factory restore.
//
// Expected places: degrees + minutes/60 + seconds/3600 worked out here; the
// geocentric latitude phi - 0.19242777777777778 sin 2phi (11'32.74" at 45°).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "chart/settingsfiles.h"
#include "engine/astromath.h"
#include "input/paramcalc.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(HORARY_SOURCE_DIR) + "/data";
constexpr double kFourPlaces = 5e-5;  // degrees: values quoted to four decimals

const TimeMarks kMarks{Cp("ч"), Cp("м"), Cp("с")};

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A copy of the factory data tree as a program folder.
class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    root_ = fs::temp_directory_path() /
            ("paramcalc_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::copy(kData + "/Options", root_ / "Options", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string Root() const { return root_.string(); }
  std::string Options(const std::string& name) const { return (root_ / "Options" / name).string(); }
  std::string Factory(const std::string& name) const {
    return (root_ / "Options" / "Standart" / name).string();
  }
  // Every file directly in Options with its bytes.
  std::map<std::string, std::string> OptionsBytes() const {
    std::map<std::string, std::string> all;
    for (const auto& e : fs::directory_iterator(root_ / "Options"))
      if (e.is_regular_file()) all[e.path().filename().string()] = Bytes(e.path());
    return all;
  }
  fs::path root_;
};

// ---- the shipped files -----------------------------------------------------------------

TEST(ShippedParamFiles, EveryFactoryCopyParsesWithItsLineCount) {
  // The chart settings files have their own line counts (the chart settings
  // reader checks them); the parameters' files are counted here.
  const std::map<std::string, std::size_t> counts = {
      {"CS.opt", 9},   {"CA.opt", 7},    {"CH.opt", 3},      {"SP.opt", 4},     {"OPT.opt", 12},
      {"KR.opt", 10},  {"IF.opt", 4},    {"TAP1.opt", 36},   {"TDO1.opt", 36},  {"TDA1.opt", 30},
      {"KA1.opt", 30}, {"KSBS1.opt", 3}, {"AOR1.opt", 1296}, {"ALMD.opt", 360}, {"ALMN.opt", 360},
      {"DBD.opt", 1},  {"PRC1.opt", 13}};
  for (const char* name : kFactoryRestoreFiles) {
    LineList lines;
    const std::string path = kData + "/Options/Standart/" + name;
    ASSERT_TRUE(ReadLines(path, lines)) << path;
    if (std::string(name) == "PAR.opt") {
      int parts = -1;
      ASSERT_TRUE(ParseInt(lines.at(0), parts));
      EXPECT_EQ(lines.size(), 1u + 7u * parts) << name;
    } else {
      EXPECT_EQ(lines.size(), counts.at(name)) << name;
    }
    // the factory copy is the shipped working file
    EXPECT_EQ(Bytes(path), Bytes(kData + "/Options/" + name)) << name;
  }
  auto record = std::make_unique<ChartRecord>();
  SettingsMenuState state;
  SettingsReadResult chart = ReadChartSettingsFrom(kData + "/Options/Standart/", *record, state);
  EXPECT_TRUE(chart.Ok) << chart.Message;
  ParamFile param;
  EXPECT_TRUE(ReadParamFile(kData + "/Options/Standart/PRC1.opt", param).Ok);
}

TEST(ShippedParamFiles, ReadThenWrittenBackByteForByte) {
  const std::string dir = kData + "/Options/";
  const fs::path out = fs::temp_directory_path() / ("paramcalc_out_" + std::to_string(::getpid()));
  ParamFile param;
  ASSERT_TRUE(ReadParamFile(dir + kParamFileName, param).Ok);
  EXPECT_EQ(param.DoubleChartOrbFactor, 0.25f);
  EXPECT_EQ(param.Pairs[kPairSaveSettings][1], 1);  // saving during work off
  ASSERT_TRUE(WriteParamFile(out.string(), param).Ok);
  EXPECT_EQ(Bytes(out), Bytes(dir + kParamFileName));

  RulersChoice rulers;
  ASSERT_TRUE(ReadRulersFile(dir + kRulersFileName, rulers).Ok);
  EXPECT_EQ(rulers.TermSystem, 0);
  EXPECT_EQ(rulers.SignRulerSet, 0);
  ASSERT_TRUE(WriteRulersFile(out.string(), rulers).Ok);
  EXPECT_EQ(Bytes(out), Bytes(dir + kRulersFileName));

  ReceptionChoice receptions;
  ASSERT_TRUE(ReadReceptionFile(dir + kReceptionFileName, receptions).Ok);
  EXPECT_EQ(receptions.KindOn, (std::array<std::uint8_t, 4>{1, 1, 0, 0}));
  ASSERT_TRUE(WriteReceptionFile(out.string(), receptions).Ok);
  EXPECT_EQ(Bytes(out), Bytes(dir + kReceptionFileName));

  std::string folder = "x";
  ASSERT_TRUE(ReadDatabaseFolderFile(dir + kDatabaseFolderFileName, folder).Ok);
  EXPECT_EQ(folder, "");  // the program folder
  ASSERT_TRUE(WriteDatabaseFolderFile(out.string(), folder).Ok);
  EXPECT_EQ(Bytes(out), Bytes(dir + kDatabaseFolderFileName));
  fs::remove(out);
}

// ---- readers ---------------------------------------------------------------------------

TEST_F(ProgramFolder, RulerIndicesAreClampedOnReadingAndNonNumbersRefused) {
  for (int term = -3; term <= 8; ++term)
    for (int set = -2; set <= 4; ++set) {
      ASSERT_TRUE(
          WriteLinesAtomic(Options(kRulersFileName), {std::to_string(term), std::to_string(set)}));
      RulersChoice c;
      ASSERT_TRUE(ReadRulersFile(Options(kRulersFileName), c).Ok);
      EXPECT_GE(c.TermSystem, 0);
      EXPECT_LT(c.TermSystem, kTermSystemCount);
      EXPECT_EQ(c.TermSystem, term < 0 ? 0 : std::min(term, kTermSystemCount - 1));
      EXPECT_EQ(c.SignRulerSet, set < 0 ? 0 : std::min(set, kSignRulerSetCount - 1));
    }
  // a combo box or radio group with nothing selected
  EXPECT_EQ(ClampChoice(-1, kTermSystemCount), 0);

  const RulersChoice before{3, 1};
  for (const LineList& bad : {LineList{"2"}, LineList{"2", "x"}, LineList{"1.5", "0"}}) {
    ASSERT_TRUE(WriteLinesAtomic(Options(kRulersFileName), bad));
    RulersChoice c = before;
    ParamFileResult r = ReadRulersFile(Options(kRulersFileName), c);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find(kRulersFileName), std::string::npos) << r.Message;
    EXPECT_EQ(c.TermSystem, 3);
    EXPECT_EQ(c.SignRulerSet, 1);
  }
}

TEST_F(ProgramFolder, AFaultyLineLeavesTheRecordAsItWas) {
  ParamFile original;
  ASSERT_TRUE(ReadParamFile(Options(kParamFileName), original).Ok);
  for (int line = 0; line < kParamFileLines; ++line) {
    if (line == 1) continue;  // the font name is any text
    LineList lines;
    ASSERT_TRUE(ReadLines(kData + "/Options/PRC1.opt", lines));
    lines[line] = "z";
    ASSERT_TRUE(WriteLinesAtomic(Options(kParamFileName), lines));
    ParamFile p = original;
    p.TableFontName = "kept";
    ParamFileResult r = ReadParamFile(Options(kParamFileName), p);
    EXPECT_FALSE(r.Ok) << "line " << line;
    EXPECT_NE(r.Message.find("line " + std::to_string(line + 1)), std::string::npos) << r.Message;
    EXPECT_EQ(p.TableFontName, "kept");
  }
  ReceptionChoice rec;
  ASSERT_TRUE(WriteLinesAtomic(Options(kReceptionFileName), {"1", "0", "1"}));
  EXPECT_FALSE(ReadReceptionFile(Options(kReceptionFileName), rec).Ok);
  ASSERT_TRUE(WriteLinesAtomic(Options(kReceptionFileName), {"7", "0", "-1", "0"}));
  ASSERT_TRUE(ReadReceptionFile(Options(kReceptionFileName), rec).Ok);
  EXPECT_EQ(rec.KindOn, (std::array<std::uint8_t, 4>{1, 0, 1, 0}));
}

TEST(ParamFileWriter, NeverWritesANumberThatIsNotFinite) {
  ParamFile p;
  for (float bad : {NAN, INFINITY, -INFINITY}) {
    p.DoubleChartOrbFactor = bad;
    const LineList lines = ParamFileLines(p);
    double v = 0;
    ASSERT_TRUE(ParseFloat(lines.at(2), v)) << lines.at(2);
    EXPECT_TRUE(std::isfinite(v));
  }
}

// ---- the default place -------------------------------------------------------------------

TEST(DefaultPlace, EveryMinuteOfLatitudeAndLongitudeSurvivesShowingAndReading) {
  for (int minutes = -90 * 60; minutes <= 90 * 60; ++minutes) {
    DefaultPlace place;
    place.Latitude =
        (minutes < 0 ? -1 : 1) * DmsToDeg(std::abs(minutes) / 60, std::abs(minutes) % 60, 0);
    place.Longitude = minutes / 30.0;  // every half degree of longitude on the way
    place.TimeZone = (minutes % (14 * 60)) / 60.0;
    DefaultPlace back;
    std::string message;
    ASSERT_TRUE(ParseDefaultPlace(FieldsOfDefaultPlace(place, kMarks), back, message)) << message;
    ASSERT_EQ(back.Latitude, place.Latitude) << minutes;
    ASSERT_NEAR(back.Longitude, place.Longitude, 1e-12) << minutes;
    ASSERT_NEAR(back.TimeZone, place.TimeZone, 1e-12) << minutes;
    ASSERT_NEAR(back.GeocentricLatitude,
                place.Latitude - 0.19242777777777778 * std::sin(2 * place.Latitude * kPi / 180),
                1e-12);
    // showing the read place again gives the same text
    const DefaultPlaceFields a = FieldsOfDefaultPlace(place, kMarks);
    const DefaultPlaceFields b = FieldsOfDefaultPlace(back, kMarks);
    ASSERT_EQ(a.LatitudeText, b.LatitudeText);
    ASSERT_EQ(a.LongitudeText, b.LongitudeText);
    ASSERT_EQ(a.South, b.South);
  }
}

TEST(DefaultPlace, WorkedPlacesAndHemispheres) {
  DefaultPlaceFields f;
  f.LatitudeText = "33:52:00";
  f.South = true;
  f.LongitudeText = "151:12:30";
  f.ZoneText = "10" + Cp("ч") + "00" + Cp("м") + "00" + Cp("с");
  DefaultPlace p;
  std::string message;
  ASSERT_TRUE(ParseDefaultPlace(f, p, message));
  EXPECT_NEAR(p.Latitude, -33.8667, kFourPlaces);
  EXPECT_NEAR(p.GeocentricLatitude, -33.6886, kFourPlaces);
  EXPECT_NEAR(p.Longitude, 151 + 12 / 60.0 + 30 / 3600.0, 1e-12);
  EXPECT_EQ(p.TimeZone, 10);
  EXPECT_TRUE(FieldsOfDefaultPlace(p, kMarks).South);

  f.South = false;
  f.LongitudeText = "185:00:00";
  f.West = true;
  f.ZoneText = "24" + Cp("ч") + "00" + Cp("м") + "00" + Cp("с");
  f.ZoneWest = true;
  ASSERT_TRUE(ParseDefaultPlace(f, p, message));
  EXPECT_EQ(p.Longitude, 175);  // 185 E folds to -175, then West turns it
  EXPECT_EQ(p.TimeZone, 0);

  const DefaultPlace kept = p;
  f.LatitudeText = "5x:00:00";
  EXPECT_FALSE(ParseDefaultPlace(f, p, message));
  EXPECT_NE(message.find("MaskEdit5"), std::string::npos);
  EXPECT_EQ(p.Longitude, kept.Longitude);
}

// ---- the orb scale and the topics --------------------------------------------------------

TEST(OrbScaleFields, OnlyAPositiveFiniteNumberIsTaken) {
  float v = 7;
  for (const char* bad : {"", " ", "0", "0.0", "-1", "abc", "1e400", "1.5.1", "nan", "inf"}) {
    EXPECT_FALSE(ParseOrbScaleText(bad, v)) << bad;
    EXPECT_EQ(v, 7) << bad;
  }
  ASSERT_TRUE(ParseOrbScaleText("1,5", v));
  EXPECT_EQ(v, 1.5f);
  EXPECT_TRUE(std::isfinite(1.0f / v));
  EXPECT_EQ(WithoutDegreeSign("0.25" + Cp("°")), "0.25");
  EXPECT_EQ(WithoutDegreeSign("0.25"), "0.25");
  const char separator = DecimalSeparator();
  SetDecimalSeparator('.');
  EXPECT_EQ(ShortNumberText(1.5), "1.5");
  EXPECT_EQ(ShortNumberText(0.666666666), "0.66");
  SetDecimalSeparator(',');
  EXPECT_EQ(ShortNumberText(0.25), "0,25");
  SetDecimalSeparator(separator);
}

TEST(NewTopic, EmptyTextAndHousesOutsideOneToTwelveAreRefused) {
  int house = -1;
  EXPECT_EQ(CheckNewTopic("", "5", house), kEntryTopicEmpty);
  for (const char* bad : {"13", "0", "-1", "", "  ", "x", "1.5"})
    EXPECT_EQ(CheckNewTopic(Cp("Дети"), bad, house), kEntryTopicHouseRange) << bad;
  EXPECT_EQ(house, -1);
  for (int h = 1; h <= 12; ++h) {
    EXPECT_EQ(CheckNewTopic(Cp("Дети"), " " + std::to_string(h) + " ", house), 0);
    EXPECT_EQ(house, h);
  }
}

// ---- the factory restore ------------------------------------------------------------------

TEST_F(ProgramFolder, RestoreCopiesEveryFactoryFileOrNothing) {
  // the working files differ from the factory copies
  for (const char* name : kFactoryRestoreFiles)
    ASSERT_TRUE(WriteLinesAtomic(Options(name), {"user"}));
  const auto before = OptionsBytes();

  // a missing or a damaged factory file: nothing copied
  fs::rename(Factory("TDO1.opt"), Factory("TDO1.bak"));
  FactoryRestoreResult r = RestoreFactorySettings(Root());
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Detail.find("TDO1.opt"), std::string::npos) << r.Detail;
  EXPECT_EQ(OptionsBytes(), before);
  fs::rename(Factory("TDO1.bak"), Factory("TDO1.opt"));
  for (const char* damaged : {"AOR1.opt", "PRC1.opt"}) {
    const std::string good = Bytes(Factory(damaged));
    ASSERT_TRUE(WriteLinesAtomic(Factory(damaged), {"1", "x"}));
    r = RestoreFactorySettings(Root());
    EXPECT_FALSE(r.Ok) << damaged;
    EXPECT_NE(r.Detail.find(damaged), std::string::npos) << r.Detail;
    EXPECT_EQ(OptionsBytes(), before);
    std::ofstream(Factory(damaged), std::ios::binary) << good;
  }

  r = RestoreFactorySettings(Root());
  ASSERT_TRUE(r.Ok) << r.Detail;
  for (const char* name : kFactoryRestoreFiles)
    EXPECT_EQ(Bytes(Options(name)), Bytes(Factory(name))) << name;
  // files the restore does not own stay
  EXPECT_EQ(Bytes(Options("RulTF.opt")), before.at("RulTF.opt"));
}

}  // namespace
