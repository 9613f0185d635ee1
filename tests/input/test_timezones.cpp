// Time-zone history: the zone of Russian and CIS towns across the decree
// moments and summer time, of foreign towns across their zone-rule files and
// of towns with their own fixed zone, read from the factory Towns files; the
// abbreviation lists; and faults in the files, which name the file and line
// and change nothing.
//
// Expected zones are the published civil-time history (the decrees on time
// zones of the USSR and Russia, the UK and Australian summer-time acts, and
// the other countries' clocks), as the IANA time-zone database (release
// 2025b) records it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/astromath.h"
#include "input/timezones.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

namespace fs = std::filesystem;

namespace {

constexpr double kZoneTolHours = 1e-9;      // hours: field values are whole seconds
constexpr double kWrittenJdTolDays = 1e-8;  // days: a Julian day written with 15 digits

const std::string kFactoryTowns = std::string(HORARY_SOURCE_DIR) + "/data/Towns/";

// A line of spaces with each text placed at its 1-based column.
std::string AtColumns(std::size_t width,
                      std::initializer_list<std::pair<std::size_t, std::string>> parts) {
  std::string line(width, ' ');
  for (const auto& [column, text] : parts) line.replace(column - 1, text.size(), text);
  return line;
}

// A Towns.twn line: longitude degrees and minutes (West when west), region code.
std::string RegionTown(const std::string& name, int lonDeg, int lonMin, bool west,
                       const std::string& code) {
  char deg[4], min[3];
  std::snprintf(deg, sizeof deg, "%3d", lonDeg);
  std::snprintf(min, sizeof min, "%02d", lonMin);
  std::string line = AtColumns(
      37, {{1, name + "="}, {22, "55"}, {25, "45"}, {28, west ? "-" : " "}, {29, deg}, {33, min}});
  return line + code;
}

// A TownsForeign1.twn line with its own zone and zone-rule number.
std::string ForeignTown(const std::string& abbreviation, char zoneSign, const std::string& zone,
                        const std::string& longitude, const std::string& rule) {
  return AtColumns(77, {{1, "Town"},
                        {21, "Country"},
                        {41, abbreviation},
                        {47, std::string(1, zoneSign)},
                        {48, zone},
                        {58, "40N25"},
                        {66, longitude},
                        {76, rule}});
}

// The line of the factory foreign towns file whose name (columns 1-20) is name.
std::string FactoryForeignTown(const std::string& name) {
  std::vector<std::string> lines;
  std::string message;
  if (!ReadLines(kFactoryTowns + "TownsForeign1.twn", lines, &message)) return {};
  for (const std::string& line : lines) {
    std::string head = line.substr(0, 20);
    if (head.substr(0, head.find_last_not_of(' ') + 1) == name) return line;
  }
  return {};
}

// The line of the factory Towns.twn whose name (before "=") is name (UTF-8).
std::string FactoryRegionTown(const std::string& name) {
  std::vector<std::string> lines;
  std::string message;
  if (!ReadLines(kFactoryTowns + "Towns.twn", lines, &message)) return {};
  const std::string wanted = Utf8ToCp1251(name) + "=";
  for (const std::string& line : lines)
    if (line.compare(0, wanted.size(), wanted) == 0) return line;
  return {};
}

// A moment as the dialog reads it: date and local time through LocalMoment.
double Moment(int day, int month, int year, int hour, int minute = 0, int second = 0) {
  return LocalMoment(day, month, year, DmsToDeg(hour, minute, second));
}

void ExpectZone(const TownZone& z, double eastHours, const std::string& where) {
  ASSERT_TRUE(z.Ok) << where << ": " << z.Message;
  EXPECT_NEAR(z.EastHours, eastHours, kZoneTolHours) << where;
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = fs::temp_directory_path() /
              ("input_timezones_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(folder_);
    ASSERT_TRUE(fs::create_directory(folder_));
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Folder() const { return folder_.string() + "/"; }
  void Write(const std::string& name, const std::vector<std::string>& lines) const {
    ASSERT_TRUE(WriteLinesAtomic(Folder() + name, lines));
  }
  fs::path folder_;
};

// ---- Russian and CIS towns from the factory files ----------------------------------

const std::string kMoscow = RegionTown("Москва", 37, 37, false, "10");

// A folder holding only the factory Time.ttt and Hour_zone.ttt: the lookup of
// a region without a file of its own.
class FallbackFolder : public TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    for (const char* name : {"Time.ttt", "Hour_zone.ttt"})
      fs::copy_file(kFactoryTowns + name, folder_ / name);
  }
};

TEST_F(FallbackFolder, MoscowAcrossTheDecreesAndSummerTimeFromEitherSource) {
  struct Case {
    int day, month, year, hour;
    double eastHours;
    const char* what;
  } cases[] = {
      {1, 6, 1930, 12, 2, "before decree time: Moscow on zone 2"},
      {1, 7, 1930, 12, 3, "decree time from 21 June 1930"},
      {1, 1, 1960, 12, 3, "period 5"},
      {1, 1, 1990, 12, 3, "winter 1990"},
      {15, 7, 1990, 12, 4, "summer 1990: 12:00 local is 08:00 UT"},
      {1, 7, 1991, 12, 3, "decree time abolished: zone 2 with summer time"},
      {1, 11, 1991, 12, 2, "winter 1991-92 on zone 2"},
      {1, 2, 1992, 12, 3, "decree time restored 19 January 1992"},
      {1, 7, 2012, 12, 4, "2011-2014: an hour ahead all year"},
      {1, 1, 2013, 12, 4, "2011-2014 winter"},
      {1, 1, 2020, 12, 3, "since 26 October 2014"},
      {1, 7, 2020, 12, 3, "no summer time since 2011"},
  };
  for (const std::string& folder : {kFactoryTowns, Folder()}) {
    for (const Case& c : cases) {
      TownZone z = ZoneOfRegionTownLine(folder, kMoscow, Moment(c.day, c.month, c.year, c.hour));
      ExpectZone(z, c.eastHours, folder + ": " + c.what);
      EXPECT_FALSE(z.Field.West) << c.what;
      EXPECT_FALSE(z.ShowAbbreviations) << c.what;
      EXPECT_EQ(z.Reading, ClockReading::Once) << c.what;
    }
  }
  // the summer hour is that of Hour_zone.ttt in the fallback only
  EXPECT_TRUE(ZoneOfRegionTownLine(Folder(), kMoscow, Moment(15, 7, 1990, 12)).Summer);
}

TEST(RegionTownZone, RegionFileAndFallbackAgreeOnMoscowEveryDaySince1950) {
  // Moscow's clock is one the model of Time.ttt and Hour_zone.ttt shows
  // right: the two sources, parsed once, give the same zone at noon of every
  // day 1950-2025.
  std::vector<std::string> lines;
  std::vector<ZoneRegion> regions;
  std::vector<double> switches;
  std::vector<ZoneRuleLine> rules;
  std::string message;
  ASSERT_TRUE(ReadLines(kFactoryTowns + "Time.ttt", lines, &message) &&
              ParseZoneHistory(lines, "Time.ttt", regions, message))
      << message;
  ASSERT_TRUE(ReadLines(kFactoryTowns + "Hour_zone.ttt", lines, &message) &&
              ParseSummerSwitches(lines, "Hour_zone.ttt", switches, message))
      << message;
  const std::string file = kFactoryTowns + RegionZoneRuleFileName("10");
  ASSERT_TRUE(ReadLines(file, lines, &message) && ParseZoneRuleFile(lines, file, rules, message))
      << message;
  const double lon = DmsToDeg(37, 37, 0);
  int days = 0;
  for (double jd = Moment(1, 1, 1950, 12); jd < Moment(1, 1, 2026, 12); jd += 1.0, ++days) {
    const TownZone a = ZoneOfRuleFileTown(rules, lon, jd);
    const TownZone b = ZoneOfRegionTown(regions, switches, "10", lon, jd);
    ASSERT_TRUE(a.Ok && b.Ok);
    ASSERT_NEAR(a.EastHours, b.EastHours, kZoneTolHours) << "Julian day " << jd;
  }
  EXPECT_GT(days, 27000);
}

// Day of the month of the last Sunday of a month.
int LastSunday(int month, int year) {
  using namespace std::chrono;
  const year_month_day day{
      sys_days{std::chrono::year{year} / std::chrono::month(month) / Sunday[last]}};
  return static_cast<int>(static_cast<unsigned>(day.day()));
}

TEST_F(FallbackFolder, EveryMoscowSwitchReadingTakesTheNewZoneWhateverTheRounding) {
  // The switches by the decrees' calendar rule, not read from the files:
  // spring on the last Sunday of March at 2:00 (1985-2011; in 1991 the
  // clock kept +3, the zone falling to 2 as the summer hour began), autumn
  // at 3:00 summer time on the last Sunday of September (1984-1995) or
  // October (1996-2010), and 2:00 on 26 October 2014. The clock never showed a
  // spring reading in the hour after the stamp and showed an autumn one in
  // the hour before it twice; the stamp takes the new zone, a second before
  // it the old one.
  struct Switch {
    int day, month, year, hour;
    double before, after;
  };
  std::vector<Switch> switches;
  for (int y = 1985; y <= 2011; ++y)
    if (y != 1991) switches.push_back({LastSunday(3, y), 3, y, 2, 3, 4});
  for (int y = 1984; y <= 2010; ++y) {
    const int month = y <= 1995 ? 9 : 10;
    const double winter = y == 1991 ? 2 : 3;
    switches.push_back({LastSunday(month, y), month, y, 3, winter + 1, winter});
  }
  switches.push_back({26, 10, 2014, 2, 4, 3});
  int autumn = 0;
  for (const std::string& folder : {kFactoryTowns, Folder()}) {
    for (const Switch& s : switches) {
      const std::string where = folder + " " + std::to_string(s.day) + "." +
                                std::to_string(s.month) + "." + std::to_string(s.year);
      const bool spring = s.after > s.before;
      autumn += spring ? 0 : 1;
      auto at = [&](int hour, int minute, int second) {
        return ZoneOfRegionTownLine(folder, kMoscow,
                                    Moment(s.day, s.month, s.year, hour, minute, second));
      };
      const TownZone stamp = at(s.hour, 0, 0);
      ExpectZone(stamp, s.after, where + " on the stamp");
      EXPECT_EQ(stamp.Reading, spring ? ClockReading::Skipped : ClockReading::Once) << where;
      const TownZone before = at(s.hour - 1, 59, 59);
      ExpectZone(before, s.before, where + " a second before");
      EXPECT_EQ(before.Reading, spring ? ClockReading::Once : ClockReading::Repeated) << where;
      EXPECT_EQ(at(s.hour - 1, 0, 0).Reading, spring ? ClockReading::Once : ClockReading::Repeated)
          << where;
      EXPECT_EQ(at(s.hour, 59, 59).Reading, spring ? ClockReading::Skipped : ClockReading::Once)
          << where;
      const TownZone clear = at(s.hour + 1, 0, 0);
      ExpectZone(clear, s.after, where + " an hour on");
      EXPECT_EQ(clear.Reading, ClockReading::Once) << where;
    }
  }
  EXPECT_EQ(autumn, 2 * 28);
}

TEST(RegionTownZone, TownsWhoseClockLeftMoscowsKeepTheirOwn) {
  struct Case {
    const char* town;
    int day, month, year;
    double eastHours;
  } cases[] = {
      {"Самара", 15, 12, 1991, 4},     {"Самара", 15, 7, 2009, 5},
      {"Самара", 15, 7, 2010, 4},      {"Алматы", 15, 7, 2015, 6},
      {"Алматы", 15, 7, 2024, 5},      {"Новосибирск", 15, 7, 2015, 6},
      {"Новосибирск", 15, 7, 2017, 7}, {"Минск", 25, 1, 1992, 2},
      {"Киев", 15, 7, 2015, 3},        {"Киев", 15, 1, 2013, 2},
      {"Симферополь", 15, 7, 1990, 2}, {"Симферополь", 15, 7, 2015, 3},
  };
  for (const Case& c : cases) {
    const std::string line = FactoryRegionTown(c.town);
    ASSERT_FALSE(line.empty()) << c.town;
    const std::string where = std::string(c.town) + " " + std::to_string(c.day) + "." +
                              std::to_string(c.month) + "." + std::to_string(c.year);
    TownZone z = ZoneOfRegionTownLine(kFactoryTowns, line, Moment(c.day, c.month, c.year, 12));
    ExpectZone(z, c.eastHours, where);
    EXPECT_FALSE(z.ShowAbbreviations) << where;
  }
}

TEST_F(TempFolder, ARegionFileThatCannotBeReadStopsTheLookupWithItsPath) {
  Write("Time.ttt", {"", "10=  02  03  03  03  03  03  03  03  03  02  03"});
  Write("Hour_zone.ttt", {});
  Write(RegionZoneRuleFileName("10"), {"01 Jul 1919   00:00    MSK    +03:0x"});
  TownZone z = ZoneOfRegionTownLine(Folder(), kMoscow, Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);
  EXPECT_NE(z.Message.find(Folder() + "Region 10.zon, line 1"), std::string::npos) << z.Message;
  // a code that is no plain name never reaches outside the folder: the
  // region table answers (and has no such region)
  z = ZoneOfRegionTownLine(Folder(), RegionTown("X", 37, 37, false, "/."), Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);
  EXPECT_NE(z.Message.find("Time.ttt has no region"), std::string::npos) << z.Message;
}

TEST_F(FallbackFolder, BeforeStandardTimeATownKeepsItsLocalMeanTime) {
  // 37°35' East / 15 = 2 h 30 min 20 s: in 1900 from the region's file, in
  // 1920 (before the first decree) from Time.ttt; the file has Moscow on
  // decree time already in 1920
  const std::string moscow = RegionTown("Москва", 37, 35, false, "10");
  for (const auto& [folder, year] : {std::pair{kFactoryTowns, 1900}, std::pair{Folder(), 1920}}) {
    TownZone z = ZoneOfRegionTownLine(folder, moscow, Moment(1, 1, year, 12));
    ASSERT_TRUE(z.Ok) << z.Message;
    EXPECT_TRUE(z.LocalMeanTime) << year;
    EXPECT_EQ(z.Field.Hours, 2);
    EXPECT_EQ(z.Field.Minutes, 30);
    EXPECT_EQ(z.Field.Seconds, 20);
    EXPECT_FALSE(z.Field.West);
  }
  ExpectZone(ZoneOfRegionTownLine(kFactoryTowns, moscow, Moment(1, 1, 1920, 12)), 3, "1920");
}

TEST(RegionTownZone, ATownWestOfTheDateLineKeepsItsRegionsEasternZone) {
  // Uelen, Chukotka, 169°48' West: UTC+12 in January 2000 (Anadyr time)
  TownZone z = ZoneOfRegionTownLine(kFactoryTowns, RegionTown("Уэлен", 169, 48, true, "37"),
                                    Moment(15, 1, 2000, 12));
  ExpectZone(z, 12, "Uelen");
  EXPECT_FALSE(z.Field.West);
}

TEST(RegionTownZone, FactoryMoscowLineFollowsThePublishedHistory) {
  // zone 2 to 21 June 1930, decree time (3) to 31 March 1991, zone 2 to
  // 19 January 1992, 3 since (the 2011-2014 hour is in the summer list)
  std::vector<std::string> lines;
  std::vector<ZoneRegion> regions;
  std::string message;
  ASSERT_TRUE(ReadLines(kFactoryTowns + "Time.ttt", lines, &message)) << message;
  ASSERT_TRUE(ParseZoneHistory(lines, "Time.ttt", regions, message)) << message;
  EXPECT_EQ(regions.size(), static_cast<std::size_t>(kZoneRegionLines));
  const int moscow[kZonePeriodCount] = {2, 3, 3, 3, 3, 3, 3, 3, 3, 2, 3};
  bool found = false;
  for (const ZoneRegion& r : regions) {
    if (r.Code != "10") continue;
    found = true;
    for (int k = 0; k < kZonePeriodCount; ++k)
      EXPECT_EQ(r.PeriodHours[k], moscow[k]) << "period " << k + 1;
  }
  EXPECT_TRUE(found);
}

TEST(RegionTownZone, RegionsOneToFiveKeepMeanTimeUntil1931) {
  std::vector<ZoneRegion> regions(2);
  regions[0].Code = "2";
  regions[1].Code = "12";
  for (ZoneRegion& r : regions)
    for (int& h : r.PeriodHours) h = 3;
  const double lonRiga = DmsToDeg(24, 6, 0);  // 1 h 36 min 24 s of mean time
  const double inPeriod1 = Moment(1, 1, 1928, 12), inPeriod3 = Moment(1, 1, 1935, 12);
  TownZone early = ZoneOfRegionTown(regions, {}, "2", lonRiga, inPeriod1);
  EXPECT_TRUE(early.LocalMeanTime);
  EXPECT_NEAR(early.EastHours, DmsToDeg(1, 36, 24), kZoneTolHours);
  ExpectZone(ZoneOfRegionTown(regions, {}, "2", lonRiga, inPeriod3), 3, "region 2 after 1931");
  ExpectZone(ZoneOfRegionTown(regions, {}, "12", lonRiga, inPeriod1), 3, "region 12 in 1928");
  // a one-character code read with the blank of column 39
  ExpectZone(ZoneOfRegionTown(regions, {}, "2 ", lonRiga, inPeriod3), 3, "code with a blank");
  TownZone unknown = ZoneOfRegionTown(regions, {}, "99", lonRiga, inPeriod3);
  EXPECT_FALSE(unknown.Ok);
  EXPECT_NE(unknown.Message.find("\"99\""), std::string::npos) << unknown.Message;
}

TEST(ZonePeriods, DecreeMomentsOpenTheirPeriods) {
  EXPECT_EQ(ZonePeriod(kDecreeDays[0] - 1e-6), 0);
  for (int k = 0; k < kDecreeCount; ++k) {
    EXPECT_EQ(ZonePeriod(kDecreeDays[k]), k + 1) << "decree " << k;
    if (k + 1 < kDecreeCount) {
      EXPECT_EQ(ZonePeriod(kDecreeDays[k + 1] - 1e-6), k + 1) << "decree " << k;
    }
  }
  // 0 h local on 2 May 1924 lies in period 1, 23:59 the day before in period 0
  EXPECT_EQ(ZonePeriod(Moment(2, 5, 1924, 0)), 1);
  EXPECT_EQ(ZonePeriod(Moment(1, 5, 1924, 23, 59)), 0);
}

TEST(SummerTime, EvenSwitchesOpenAndOddSwitchesCloseSummer) {
  const std::vector<double> switches = {10, 20, 30};
  EXPECT_FALSE(IsSummerTime(switches, 5));
  EXPECT_TRUE(IsSummerTime(switches, 10));  // on the opening switch: summer
  EXPECT_TRUE(IsSummerTime(switches, 15));
  EXPECT_FALSE(IsSummerTime(switches, 20));  // on the closing switch: winter
  EXPECT_FALSE(IsSummerTime(switches, 25));
  EXPECT_TRUE(IsSummerTime(switches, 35));  // after an odd count's last switch
  EXPECT_FALSE(IsSummerTime({}, 15));
  // a reading and a stamp that differ by rounding alone (single-precision
  // hours, 15 written digits) are the same: the side never depends on it,
  // while a whole second before a switch is before it
  const double second = 1.0 / 86400.0;
  for (double jitter = -2e-6; jitter <= 2e-6; jitter += 2.5e-7) {
    const std::vector<double> real = {2446337.625 + jitter, 2446520.5833 - jitter};
    EXPECT_TRUE(IsSummerTime(real, 2446337.625)) << jitter;
    EXPECT_FALSE(IsSummerTime(real, 2446337.625 - second)) << jitter;
    EXPECT_FALSE(IsSummerTime(real, 2446520.5833)) << jitter;
    EXPECT_TRUE(IsSummerTime(real, 2446520.5833 - second)) << jitter;
  }
}

TEST(SummerTime, FactorySwitchesAreTheEngineJulianDaysOfTheClockReadings) {
  // the generator's port of JulianDay (with its Delta T) against the engine
  std::vector<std::string> lines;
  std::vector<double> switches;
  std::string message;
  ASSERT_TRUE(ReadLines(kFactoryTowns + "Hour_zone.ttt", lines, &message)) << message;
  ASSERT_TRUE(ParseSummerSwitches(lines, "Hour_zone.ttt", switches, message)) << message;
  ASSERT_EQ(switches.size() % 2, 0u);
  struct Known {
    std::size_t index;
    int day, month, year;
    float hours;
  } known[] = {
      {0, 1, 4, 1981, 0},   // summer time introduced, 0 h on 1 April 1981
      {7, 30, 9, 1984, 3},  // autumn, 3 h summer time (last Sunday of September)
      {8, 31, 3, 1985, 2},  // spring, 2 h (last Sunday of March)
  };
  for (const Known& k : known) {
    ASSERT_LT(k.index, switches.size());
    EXPECT_NEAR(switches[k.index], JulianDay(k.day, k.month, k.year, k.hours), kWrittenJdTolDays)
        << "switch " << k.index;
  }
  // the last pair: 2 h on 27 March 2011 to 2 h on 26 October 2014
  EXPECT_NEAR(switches[switches.size() - 2], JulianDay(27, 3, 2011, 2), kWrittenJdTolDays);
  EXPECT_NEAR(switches.back(), JulianDay(26, 10, 2014, 2), kWrittenJdTolDays);
}

// ---- foreign towns ---------------------------------------------------------------------

TEST(ForeignTownZone, LondonAcrossItsZoneRuleFile) {
  // London 51°30'N 0°07'W, zone-rule file 15 "England_Scotland.zon"
  const std::string london = ForeignTown("GMT", '+', "00:00", "000W07", "15");
  struct Case {
    int day, month, year, hour;
    double eastHours;
    const char* abbreviation;
  } cases[] = {
      {1, 1, 1990, 12, 0, "GMT"},
      {15, 7, 1990, 12, 1, "BST"},
      {15, 6, 1944, 12, 2, nullptr},  // double summer time: BDST, not in the lists
      {1, 1, 1970, 12, 1, "BST"},     // British Standard Time 1968-1971, +01:00
  };
  for (const Case& c : cases) {
    TownZone z =
        ZoneOfForeignTownLine(kFactoryTowns, london, Moment(c.day, c.month, c.year, c.hour));
    ExpectZone(z, c.eastHours, std::to_string(c.year));
    EXPECT_TRUE(z.ShowAbbreviations);
    EXPECT_EQ(z.Abbreviation, c.abbreviation ? FindZoneAbbreviation(c.abbreviation) : -1) << c.year;
  }
  // before railway time (1 December 1847) the town keeps its own mean time:
  // 0°07' West is 28 s of time West
  TownZone lmt = ZoneOfForeignTownLine(kFactoryTowns, london, Moment(1, 1, 1840, 12));
  ASSERT_TRUE(lmt.Ok) << lmt.Message;
  EXPECT_TRUE(lmt.LocalMeanTime);
  EXPECT_TRUE(lmt.Field.West);
  EXPECT_EQ(lmt.Field.Hours * 3600 + lmt.Field.Minutes * 60 + lmt.Field.Seconds, 28);
}

TEST(ForeignTownZone, SouthernHemisphereSummerFallsInJanuary) {
  // Sydney ("Australia 1.zon", New South Wales): AEDT +11 in January, AEST +10 in July;
  // Adelaide ("Australia 4.zon", South Australia): ACDT +10:30 in January
  const std::string sydney = ForeignTown("AEST", '+', "10:00", "151E12", "02");
  const std::string adelaide = ForeignTown("ACST", '+', "09:30", "138E36", "05");
  TownZone january = ZoneOfForeignTownLine(kFactoryTowns, sydney, Moment(15, 1, 2000, 12));
  ExpectZone(january, 11, "Sydney January");
  EXPECT_EQ(january.Abbreviation, FindZoneAbbreviation("AEDT"));
  TownZone july = ZoneOfForeignTownLine(kFactoryTowns, sydney, Moment(15, 7, 2000, 12));
  ExpectZone(july, 10, "Sydney July");
  EXPECT_EQ(july.Abbreviation, FindZoneAbbreviation("AEST"));
  ExpectZone(ZoneOfForeignTownLine(kFactoryTowns, adelaide, Moment(15, 1, 2000, 12)), 10.5,
             "Adelaide January");
}

// A factory town at local noon of a date: its zone and, where given, the
// abbreviation selected in the list.
struct FactoryCase {
  const char* town;
  int day, month, year;
  double eastHours;
  const char* abbreviation;  // nullptr: not checked
};

void ExpectFactoryTowns(std::initializer_list<FactoryCase> cases) {
  for (const FactoryCase& c : cases) {
    const std::string line = FactoryForeignTown(c.town);
    ASSERT_FALSE(line.empty()) << c.town << " is not in the factory file";
    const std::string where = std::string(c.town) + " " + std::to_string(c.day) + "." +
                              std::to_string(c.month) + "." + std::to_string(c.year);
    TownZone z = ZoneOfForeignTownLine(kFactoryTowns, line, Moment(c.day, c.month, c.year, 12));
    ExpectZone(z, c.eastHours, where);
    EXPECT_EQ(z.Field.West, c.eastHours < 0) << where;
    if (c.abbreviation) {
      EXPECT_EQ(z.Abbreviation, FindZoneAbbreviation(c.abbreviation)) << where;
    }
  }
}

TEST(ForeignTownZone, TownsOfCountriesWithoutANamedFileKeepSummerTime) {
  ExpectFactoryTowns({
      {"Chicago", 15, 1, 1990, -6, "CST"},
      {"Chicago", 15, 7, 1990, -5, "CDT"},
      {"New York City", 4, 7, 1976, -4, "EDT"},  // 12:00 EDT is 16:00 UT
      {"Madrid", 15, 1, 2000, 1, "CET"},
      {"Madrid", 15, 7, 2000, 2, "MEST"},
      {"Warsaw", 15, 7, 2000, 2, "MEST"},
      {"Beijing", 15, 1, 1988, 8, "CCT"},
      {"Beijing", 15, 7, 1988, 9, nullptr},  // China's summer time 1986-1991
  });
}

TEST(ForeignTownZone, SouthernSummerAndZonesOffTheWholeHour) {
  ExpectFactoryTowns({
      // Brazil's summer falls in January, and ended after the summer of 2018-19
      {"Sao Paulo", 15, 1, 2000, -2, nullptr},
      {"Sao Paulo", 15, 7, 2000, -3, nullptr},
      {"Sao Paulo", 15, 1, 2020, -3, nullptr},
      {"Adelaide", 15, 1, 2000, 10.5, nullptr},
      {"Tehran", 15, 1, 2000, 3.5, nullptr},
      {"Tehran", 15, 7, 2000, 4.5, nullptr},
      {"Mumbai", 15, 7, 2000, 5.5, nullptr},  // India: its own zone, unchanged since 1945
      {"Kathmandu", 15, 7, 2000, 5.75, nullptr},
  });
}

TEST(ForeignTownZone, DateLineZonesAndChangedStandardOffsets) {
  ExpectFactoryTowns({
      // Samoa, 11 h West with summer time from 2010, moved across the date
      // line on 30 December 2011: 13 h East, 14 in its summer
      {"Apia", 15, 7, 2010, -11, nullptr},
      {"Apia", 15, 1, 2012, 14, nullptr},
      {"Apia", 15, 7, 2012, 13, nullptr},
      {"Nuku'alofa", 15, 7, 2010, 13, nullptr},
      // Cook Islands: 10 h 30 min West until 1978, then 10 h with a half-hour summer
      {"Avarua", 15, 7, 1975, -10.5, nullptr},
      {"Avarua", 15, 1, 1980, -9.5, nullptr},
      {"Avarua", 15, 7, 1980, -10, nullptr},
      {"Alofi", 15, 7, 2000, -11, nullptr},
      // Nepal 5 h 30 min until 1986; Venezuela 4 h 30 min West 2007-2016;
      // Turkey on summer time all year since 2016
      {"Kathmandu", 15, 7, 1980, 5.5, nullptr},
      {"Caracas", 15, 7, 2000, -4, nullptr},
      {"Caracas", 15, 7, 2010, -4.5, nullptr},
      {"Caracas", 15, 7, 2020, -4, nullptr},
      {"Istanbul", 15, 1, 2000, 2, "EET"},
      {"Istanbul", 15, 1, 2020, 3, nullptr},
  });
}

TEST(ForeignTownZone, EveryZoneRuleNumberNamesAFactoryFile) {
  EXPECT_EQ(ZoneRuleFileName(0), "");
  EXPECT_EQ(ZoneRuleFileName(15), "England_Scotland.zon");
  EXPECT_EQ(ZoneRuleFileName(30), "Yugoslavia.zon");
  EXPECT_EQ(ZoneRuleFileName(31), "Zone 31.zon");
  EXPECT_EQ(ZoneRuleFileName(kZoneRuleFileCount + 1), "");
  for (int n = 1; n <= kZoneRuleFileCount; ++n) {
    std::vector<std::string> lines;
    std::vector<ZoneRuleLine> rules;
    std::string message;
    const std::string path = kFactoryTowns + ZoneRuleFileName(n);
    ASSERT_TRUE(ReadLines(path, lines, &message)) << message;
    ASSERT_TRUE(ParseZoneRuleFile(lines, path, rules, message)) << message;
    EXPECT_FALSE(rules.empty()) << path;
  }
}

TEST(ForeignTownZone, OwnZoneIsFixedAllYear) {
  // A town with its own zone ("00") keeps it all year: New York written so
  // gets EST (5 h West) on 4 July 1976, and 12:00 comes out as 17:00 UT.
  const std::string newYork = ForeignTown("EST", '-', "05:00", "074W00", "00");
  TownZone z = ZoneOfForeignTownLine(kFactoryTowns, newYork, Moment(4, 7, 1976, 12));
  ExpectZone(z, -5, "New York");
  EXPECT_TRUE(z.Field.West);
  EXPECT_EQ(z.Abbreviation, FindZoneAbbreviation("EST"));
  EXPECT_NEAR(12.0 - z.EastHours, 17.0, kZoneTolHours);
  // Madrid lies West of Greenwich but keeps CET, 1 h East: the zone's side
  // comes from its own sign, not from the longitude's
  ExpectZone(ZoneOfForeignTownLine(kFactoryTowns, ForeignTown("CET", '+', "01:00", "003W42", "00"),
                                   Moment(1, 1, 2000, 12)),
             1, "Madrid");
  // a six-letter abbreviation is found by its whole name
  TownZone own = ZoneOfForeignTownLine(
      kFactoryTowns, ForeignTown("CETDST", '+', "02:00", "003W42", "00"), Moment(1, 7, 2000, 12));
  ExpectZone(own, 2, "own zone CETDST");
  EXPECT_EQ(own.Abbreviation, FindZoneAbbreviation("CETDST"));
  EXPECT_GE(own.Abbreviation, 0);
}

TEST(ForeignTownZone, RuleFileWalk) {
  // a mean-time line ending with 1880, then two zone lines
  std::vector<ZoneRuleLine> rules;
  std::string message;
  ASSERT_TRUE(ParseZoneRuleFile(
      {"01 Jan 1880   00:00     010E00+00:40", "01 Jan 1880   00:00    CET    +01:00",
       "01 Apr 1940   02:00    MEST   +02:00"},
      "test.zon", rules, message))
      << message;
  const double lon = 15.0;  // the town's own meridian: 1 h of mean time
  TownZone early = ZoneOfRuleFileTown(rules, lon, Moment(1, 6, 1870, 12));
  EXPECT_TRUE(early.LocalMeanTime);
  EXPECT_NEAR(early.EastHours, 1.0, kZoneTolHours);
  ExpectZone(ZoneOfRuleFileTown(rules, lon, Moment(1, 1, 1880, 0)), 1, "on the first zone line");
  ExpectZone(ZoneOfRuleFileTown(rules, lon, Moment(1, 4, 1940, 1, 59)), 1, "a minute before");
  TownZone skipped = ZoneOfRuleFileTown(rules, lon, Moment(1, 4, 1940, 2));
  ExpectZone(skipped, 2, "on the change");
  EXPECT_EQ(skipped.Reading, ClockReading::Skipped);
  EXPECT_EQ(ZoneOfRuleFileTown(rules, lon, Moment(1, 4, 1940, 2, 59, 59)).Reading,
            ClockReading::Skipped);
  EXPECT_EQ(ZoneOfRuleFileTown(rules, lon, Moment(1, 4, 1940, 3)).Reading, ClockReading::Once);
  ExpectZone(ZoneOfRuleFileTown(rules, lon, Moment(1, 1, 2000, 12)), 2, "after the last line");
  // a file without a mean-time line: before its first line that line applies
  rules.erase(rules.begin());
  ExpectZone(ZoneOfRuleFileTown(rules, lon, Moment(1, 1, 1800, 12)), 1, "before the first line");
  EXPECT_FALSE(ZoneOfRuleFileTown({}, lon, Moment(1, 1, 1800, 12)).Ok);
}

TEST(ZoneLines, MomentOfALineIsItsLocalReading) {
  double m = 0;
  std::string what;
  ASSERT_TRUE(ZoneLineMoment("21 May 1916   02:00    BST    +01:00", m, what)) << what;
  EXPECT_DOUBLE_EQ(m, JulianDay(21, 5, 1916, 2));
  // hour 24 is the next day's 0 h; above 24 loses 24
  ASSERT_TRUE(ZoneLineMoment("31 Dec 1999   24:00    GMT    +00:00", m, what)) << what;
  EXPECT_DOUBLE_EQ(m, JulianDay(1, 1, 2000, 0));
  ASSERT_TRUE(ZoneLineMoment("31 Dec 1999   25:30    GMT    +00:00", m, what)) << what;
  EXPECT_DOUBLE_EQ(m, JulianDay(31, 12, 1999, 1.5f));
  EXPECT_DOUBLE_EQ(LocalMoment(31, 12, 1999, 24.0), JulianDay(1, 1, 2000, 0));
}

// ---- faults in the files -----------------------------------------------------------

TEST(ZoneFileFaults, TimeTttShortOrMalformedLinesNameFileAndLine) {
  std::vector<ZoneRegion> regions(1);
  regions[0].Code = "kept";
  std::string message;
  const std::string good = "10=  02  03  03  03  03  03  03  03  03  02  03";
  EXPECT_FALSE(ParseZoneHistory({"", good, "11=  03  04"}, "Time.ttt", regions, message));
  EXPECT_NE(message.find("Time.ttt, line 3"), std::string::npos) << message;
  EXPECT_NE(message.find("period 3"), std::string::npos) << message;
  EXPECT_FALSE(ParseZoneHistory({"", "10=  02  x3"}, "Time.ttt", regions, message));
  EXPECT_NE(message.find("Time.ttt, line 2"), std::string::npos) << message;
  EXPECT_NE(message.find("\"x3\""), std::string::npos) << message;
  EXPECT_FALSE(ParseZoneHistory({"", "10   02  03"}, "Time.ttt", regions, message));
  EXPECT_NE(message.find("line 2"), std::string::npos) << message;
  ASSERT_EQ(regions.size(), 1u);
  EXPECT_EQ(regions[0].Code, "kept");
  // a leading blank reads as 0; line 0 is not examined
  ASSERT_TRUE(ParseZoneHistory({"garbage", "7=    2  03  03  03  03  03  03  03  03  02  12"},
                               "Time.ttt", regions, message))
      << message;
  ASSERT_EQ(regions.size(), 1u);
  EXPECT_EQ(regions[0].Code, "7");
  EXPECT_EQ(regions[0].PeriodHours[0], 2);
  EXPECT_EQ(regions[0].PeriodHours[10], 12);
}

TEST(ZoneFileFaults, SummerSwitchesMustBeAscendingNumbers) {
  std::vector<double> switches = {1.0};
  std::string message;
  EXPECT_FALSE(
      ParseSummerSwitches({"2444695.5", "2444878.5x"}, "Hour_zone.ttt", switches, message));
  EXPECT_NE(message.find("Hour_zone.ttt, line 2"), std::string::npos) << message;
  EXPECT_FALSE(ParseSummerSwitches({"2444878.5", "2444695.5"}, "Hour_zone.ttt", switches, message));
  EXPECT_NE(message.find("line 2"), std::string::npos) << message;
  ASSERT_EQ(switches.size(), 1u);
  EXPECT_EQ(switches[0], 1.0);
  ASSERT_TRUE(ParseSummerSwitches({"2444695,5", "2444878.5"}, "Hour_zone.ttt", switches, message));
  EXPECT_EQ(switches[0], 2444695.5);  // either decimal separator
}

TEST(ZoneFileFaults, ZoneRuleLinesAreReadStrictly) {
  const std::string good = "21 May 1916   02:00    BST    +01:00";
  struct Case {
    std::string line;
    const char* says;
  } cases[] = {
      {"21 Xyz 1916   02:00    BST    +01:00", "month"},
      {"2x May 1916   02:00    BST    +01:00", "day"},
      {"21 May 1916   02:0x    BST    +01:00", "minute"},
      {"21 May 1916   02:00    BST    +01:0", "too short"},
      {"21 May 1916   02:00    BST    +0a:00", "zone hours"},
      {"21 May 1916   02:00     0x0W07-00:01", "longitude degrees"},
      {"21 May 1916   02:00", "too short"},
  };
  for (const Case& c : cases) {
    std::vector<ZoneRuleLine> rules(1);
    std::string message;
    EXPECT_FALSE(ParseZoneRuleFile({good, c.line}, "UK General.zon", rules, message)) << c.line;
    EXPECT_NE(message.find("UK General.zon, line 2"), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_EQ(rules.size(), 1u) << c.line;
  }
  std::vector<ZoneRuleLine> rules;
  std::string message;
  EXPECT_FALSE(
      ParseZoneRuleFile({good, "01 Jan 1900   00:00    GMT    +00:00"}, "x.zon", rules, message));
  EXPECT_NE(message.find("earlier"), std::string::npos) << message;
}

TEST_F(TempFolder, MalformedFileStopsTheLookupWithItsPath) {
  Write("Time.ttt", {"", "10=  02  03  03"});
  Write("Hour_zone.ttt", {});
  TownZone z = ZoneOfRegionTownLine(Folder(), kMoscow, Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);
  EXPECT_NE(z.Message.find(Folder() + "Time.ttt, line 2"), std::string::npos) << z.Message;

  Write("England_Scotland.zon",
        {"01 Dec 1847   00:00     000W07-00:00", "01 Dec 1847   0O:00    GMT    +00:00"});
  z = ZoneOfForeignTownLine(Folder(), ForeignTown("GMT", '+', "00:00", "000W07", "15"),
                            Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);
  EXPECT_NE(z.Message.find(Folder() + "England_Scotland.zon, line 2"), std::string::npos)
      << z.Message;

  z = ZoneOfForeignTownLine(Folder(), ForeignTown("GMT", '+', "00:00", "000W07", "16"),
                            Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);  // Finland.zon is missing
  EXPECT_NE(z.Message.find("Finland.zon"), std::string::npos) << z.Message;

  z = ZoneOfForeignTownLine(Folder(), ForeignTown("GMT", '+', "0x:00", "000W07", "00"),
                            Moment(1, 1, 1990, 12));
  EXPECT_FALSE(z.Ok);
  EXPECT_NE(z.Message.find("columns 48-49"), std::string::npos) << z.Message;
}

// ---- abbreviation lists ------------------------------------------------------------------

TEST(ZoneAbbreviations, ListsAndTheFieldTheyFill) {
  EXPECT_STREQ(kZoneAbbreviations[0].Name, "NZDT");
  EXPECT_STREQ(kZoneAbbreviations[kZoneAbbreviationCount - 1].Name, "IDLW");
  EXPECT_STREQ(TownDbZoneAbbreviation(kTownDbZoneAbbreviationCount - 1).Name, "");
  EXPECT_STREQ(TownDbZoneAbbreviation(FindZoneAbbreviation("GMT")).LongName, "Greenwish Mean Time");
  // EAST carries 10 h West, unlike its neighbours
  ZoneField east = ZoneFieldFromAbbreviation(kZoneAbbreviations[FindZoneAbbreviation("EAST")]);
  EXPECT_EQ(east.Hours, 10);
  EXPECT_TRUE(east.West);
  ZoneField nfld = ZoneFieldFromAbbreviation(kZoneAbbreviations[FindZoneAbbreviation("NST")]);
  EXPECT_EQ(nfld.Hours, 3);
  EXPECT_EQ(nfld.Minutes, 30);
  EXPECT_TRUE(nfld.West);
  ZoneField gmt = ZoneFieldFromAbbreviation(kZoneAbbreviations[FindZoneAbbreviation("GMT")]);
  EXPECT_FALSE(gmt.West);  // 0 counts as East
  EXPECT_EQ(ZoneFieldText(ZoneField{3, 5, 0, false}, "h", "m", "s"), "03h05m00s");
  EXPECT_EQ(FindZoneAbbreviation("   "), -1);
  EXPECT_EQ(FindZoneAbbreviation("EEST"), -1);
}

}  // namespace
