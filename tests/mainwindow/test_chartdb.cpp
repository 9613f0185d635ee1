// Chart database model: the record line against worked examples, random
// charts through the line and through the pair of files, the tree text, a
// database written in the original layout, and refused or failed loads and saves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>

#include "chart/chartrecord.h"
#include "engine/astromath.h"
#include "mainwindow/chartdb.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "tests/engine/calendar_count.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSecondDays = 1.0 / 86400.0;      // one second, in days
constexpr double kJulianDayTolDays = kSecondDays;  // the line keeps whole seconds
constexpr double kArcsecondDeg = 1.0 / 3600.0;     // one arc second, in degrees

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string Crlf(const LineList& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// A chart as the data-input dialog casts it: the universal date and time.
DbChart CastChart(int day, int month, int year, double utHours, double zoneHours) {
  DbChart c;
  c.UniversalTime = static_cast<float>(utHours);
  c.TimeZone = static_cast<float>(zoneHours);
  c.JulianDay0h = JulianDay(day, month, year, 0.0f);
  c.JulianDayUT = JulianDay(day, month, year, c.UniversalTime);
  return c;
}

// A folder of its own for each test, removed afterwards.
class ChartDbFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("chartdb_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::size_t FileCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }
  fs::path folder_;
};

// The worked example: Иван, 5 March 2001 14:07:00 local, zone +3, 55°45′ N,
// 37°37′ E, querent's house 0, quesited's 6, who-asks 2, Москва.
TEST(DbRecordLine, WorkedExampleWritesAndReadsBack) {
  const DbChart cast = CastChart(5, 3, 2001, 11.0 + 7.0 / 60.0, 3.0);
  auto chart = std::make_unique<ChartRecord>();
  chart->ChartName = Cp("Иван");
  chart->JulianDayUT = cast.JulianDayUT;
  chart->JulianDay0h = cast.JulianDay0h;
  chart->UniversalTime = cast.UniversalTime;
  chart->TimeZone = cast.TimeZone;
  chart->GeoLatitude = static_cast<float>(55.75);
  chart->GeoLongitude = static_cast<float>(37.0 + 37.0 / 60.0);
  chart->QuerentHouse = 0;
  chart->QuesitedHouse = 6;
  chart->RecordFlag = 1;
  chart->PlaceName = Cp("Москва");
  const std::string line = BuildDbRecordLine(DbChartOf(*chart, 2));
  EXPECT_EQ(line, Cp("Иван=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/10162/1/Москва//3"));
  EXPECT_EQ(FormatDbRecordDateTime(line), "5.3.2001.14:7:0");

  DbChart back;
  std::string what;
  ASSERT_TRUE(ParseDbRecord(line, back, what)) << what;
  EXPECT_EQ(back.HouseCode, 10162);
  auto loaded = std::make_unique<ChartRecord>();
  loaded->ChartComment = "old comment";
  ApplyDbChart(back, *loaded);
  EXPECT_EQ(loaded->ChartName, chart->ChartName);
  EXPECT_NEAR(loaded->JulianDayUT, chart->JulianDayUT, kJulianDayTolDays);
  EXPECT_EQ(loaded->JulianDay0h, chart->JulianDay0h);
  EXPECT_NEAR(loaded->UniversalTime, chart->UniversalTime, 1e-5);
  EXPECT_EQ(loaded->TimeZone, 3.0f);
  EXPECT_EQ(loaded->GeoLatitude, chart->GeoLatitude);
  EXPECT_EQ(loaded->GeoLongitude, chart->GeoLongitude);
  EXPECT_EQ(loaded->PlaceName, chart->PlaceName);
  EXPECT_EQ(loaded->ChartComment, "");
  EXPECT_EQ(loaded->RecordFlag, 1);
}

// Values that the split into whole parts must not spoil.
TEST(DbRecordLine, SignsAndWholeSecondsSurviveTheSplit) {
  // 14:07:00 held as a float a hair below (14.1166665 h) is still 14/7/0
  DbChart c = CastChart(1, 1, 2000, 0, 0);
  c.UniversalTime = 14.1166665f;
  c.JulianDayUT = JulianDay(1, 1, 2000, c.UniversalTime);
  c.GeoLongitude = -0.25f;  // west of Greenwich: -0°15′
  c.GeoLatitude = -33.5f;
  std::string line = BuildDbRecordLine(c);
  EXPECT_NE(line.find("=1/1/2000/14/7/0/0/0/0/-33/30/0/0/-15/0/"), std::string::npos) << line;
  DbChart back;
  std::string what;
  ASSERT_TRUE(ParseDbRecord(line, back, what)) << what;
  EXPECT_EQ(back.GeoLongitude, -0.25f);
  EXPECT_EQ(back.GeoLatitude, -33.5f);

  // zone -5 at 22:00 local: UT 27 h, so the Julian day falls on the next day
  // (2 June 2020 3h UT is JD 2459002.625)
  ASSERT_TRUE(ParseDbRecord("W=1/6/2020/22/0/0/-5/0/0/40/0/0/-74/0/0/1/1///3", back, what));
  EXPECT_EQ(back.UniversalTime, 27.0f);
  EXPECT_EQ(back.TimeZone, -5.0f);
  EXPECT_NEAR(UniversalJulianDay(back.JulianDayUT), 2459002.625, 1e-6);
  EXPECT_NEAR(UniversalJulianDay(back.JulianDay0h), 2459001.5, 1e-6);
  EXPECT_NE(BuildDbRecordLine(back).find("=1/6/2020/22/0/0/-5/0/0/"), std::string::npos);
}

// The date and the folded time written for moments around local midnight
// describe one moment: the line reads back to the same Julian day.
TEST(DbRecordLine, DateAndTimeAgreeAroundLocalMidnight) {
  for (double zone : {-11.5, -5.0, 0.0, 3.0, 5.75, 13.0}) {
    for (double offsetSec : {-1.0, -0.4, -0.01, -1e-4, 0.0, 1e-4, 0.3, 1.0}) {
      // the UT that puts the local clock at midnight of 1 March 2024 plus the offset
      double ut = 24.0 - zone + offsetSec / 3600.0;
      int day = 29, month = 2;
      while (ut >= 24) ut -= 24, day += 1;
      if (day == 30) day = 1, month = 3;
      const DbChart c = CastChart(day, month, 2024, ut, zone);
      const std::string line = BuildDbRecordLine(c);
      DbChart back;
      std::string what;
      ASSERT_TRUE(ParseDbRecord(line, back, what)) << what;
      EXPECT_NEAR(back.JulianDayUT, c.JulianDayUT, kJulianDayTolDays)
          << "zone " << zone << " offset " << offsetSec << " s: " << line;
      // the local clock to the nearest second: up to half a second before
      // midnight is the next day's 0:0:0, never 24:0:0
      const long long second = std::llround(offsetSec);
      const std::string clock = second < 0 ? "29.2.2024.23:59:" + std::to_string(60 + second)
                                           : "1.3.2024.0:0:" + std::to_string(second);
      EXPECT_EQ(FormatDbRecordDateTime(line), clock) << "zone " << zone << " offset " << offsetSec;
    }
  }
}

// Local moments across every year the data-input dialog accepts, both eras,
// the change of calendars in October 1582 with zones East and West,
// midnights and year ends (the moments of the tests' own day count): the
// line holds the local date and time as typed, reads back to the same moment
// and writes again the same line.
TEST(DbRecordLine, EveryYearAndTheChangeOfCalendarsKeepTheirLocalDate) {
  constexpr double kFloatHoursDays = 2e-7;  // days: the hours reach JulianDay in single precision
  const testsupport::CalendarCount count;
  int wrong = 0;
  for (const testsupport::LocalMomentCase& m : testsupport::LocalMomentSweep(11)) {
    const double ut = testsupport::UniversalJulianDayOf(count, m);
    const double midnight = std::floor(ut + 0.5) - 0.5;
    DbChart c;
    c.ChartName = "Sweep";
    c.JulianDayUT = testsupport::ChartJulianDayOf(count, m);
    c.JulianDay0h = midnight + testsupport::ChartDeltaTDays(midnight);
    c.UniversalTime = static_cast<float>((ut - midnight) * 24.0);
    c.TimeZone = static_cast<float>(m.ZoneHoursEast());
    c.GeoLatitude = 55.75f;
    c.GeoLongitude = -37.5f;
    c.HouseCode = PackHouseCode(0, 6, 2);
    const std::string line = BuildDbRecordLine(c);
    const std::string typed = "Sweep=" + std::to_string(m.date.day) + "/" +
                              std::to_string(m.date.month) + "/" + std::to_string(m.date.year) +
                              "/" + std::to_string(m.hour) + "/" + std::to_string(m.minute) + "/" +
                              std::to_string(m.second) + "/";
    DbChart back;
    std::string what;
    const bool read = ParseDbRecord(line, back, what);
    if (line.rfind(typed, 0) != 0 || !read ||
        std::fabs(back.JulianDayUT - c.JulianDayUT) > kFloatHoursDays ||
        back.TimeZone != c.TimeZone || BuildDbRecordLine(back) != line) {
      ADD_FAILURE() << typed << " zone " << m.ZoneHoursEast() << ": wrote " << line
                    << ", read Julian day " << back.JulianDayUT << " for " << c.JulianDayUT << " "
                    << what;
      if (++wrong == 10) return;
    }
  }
}

TEST(HouseCode, PacksEveryChoiceAndRefusesWhatCarriesNone) {
  EXPECT_EQ(PackHouseCode(11, 11, 9), 21219);
  for (int q = 0; q < 12; ++q)
    for (int s = 0; s < 12; ++s)
      for (int w = -1; w <= 10; ++w) {
        const int code = PackHouseCode(q, s, w);
        // read back by decimal digits: querent + 10, quesited + 10, who-asks
        const std::string digits = std::to_string(code);
        ASSERT_EQ(digits.size(), 5u);
        EXPECT_EQ(std::stoi(digits.substr(0, 2)), 10 + q);
        EXPECT_EQ(std::stoi(digits.substr(2, 2)), 10 + s);
        EXPECT_EQ(digits[4] - '0', w >= 0 && w <= 9 ? w : 0);
        HouseChoice back;
        ASSERT_TRUE(UnpackHouseCode(code, back));
        EXPECT_EQ(back.QuerentHouse, q);
        EXPECT_EQ(back.QuesitedHouse, s);
        EXPECT_EQ(back.WhoAsks, w >= 0 && w <= 9 ? w : 0);  // who-asks outside 0..9 stored as 0
      }
  HouseChoice untouched{3, 4, 5};
  for (int code : {1, 0, 999, -10162, 9999, 22000, 10090, 99999}) {
    EXPECT_FALSE(UnpackHouseCode(code, untouched)) << code;
  }
  EXPECT_EQ(untouched.QuerentHouse, 3);
}

TEST(DbRecordLine, RefusesMalformedLinesAndLeavesTheChartAlone) {
  DbChart chart;
  chart.ChartName = "kept";
  std::string what;
  for (const char* bad :
       {"", "no equals sign 1/2/3", "a=1/2/3", "a=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/1/1/place",
        "a=1/x/2000/0/0/0/0/0/0/0/0/0/0/0/0/1/1///3",
        "a=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/99999999999/1///3"}) {
    EXPECT_FALSE(ParseDbRecord(bad, chart, what)) << bad;
    EXPECT_FALSE(what.empty());
    EXPECT_EQ(FormatDbRecordDateTime(bad), "");
  }
  EXPECT_EQ(chart.ChartName, "kept");
}

// Texts that would break a line or shift a field are written as close to
// the typed text as the layout allows, and never damage the next record.
TEST(DbRecordLine, AwkwardTextsStayInTheirFields) {
  DbChart c = CastChart(10, 10, 1990, 12, 2);
  c.ChartName = "  A=B\tC\r\nD";
  c.PlaceName = "Rostov/Don\r\nnorth";
  c.ChartComment = "will he call?/when\nand/how/";
  c.HouseCode = PackHouseCode(4, 7, 1);
  const std::string line = BuildDbRecordLine(c);
  EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos);
  EXPECT_EQ(line.back(), '3');
  DbChart back;
  std::string what;
  ASSERT_TRUE(ParseDbRecord(line, back, what)) << what;
  EXPECT_EQ(back.ChartName, "A-B C  D");
  EXPECT_EQ(back.ChartName, DbNodeText(c.ChartName));
  EXPECT_EQ(back.PlaceName, "Rostov\\Don  north");
  EXPECT_EQ(back.ChartComment, "will he call?/when and/how/");
  EXPECT_EQ(back.HouseCode, c.HouseCode);
}

// Random charts: universal date and time, zone, place and houses to the
// second, texts of any code-page byte; each goes through the line and back.
std::vector<DbChart> RandomCharts(int count, unsigned seed) {
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto text = [&](int maxLen) {
    std::string s(static_cast<std::size_t>(uniform(0, maxLen)), ' ');
    const std::string specials = "/=\t\r\n ";
    for (char& ch : s)
      ch = uniform(0, 4) == 0 ? specials[static_cast<std::size_t>(uniform(0, 5))]
                              : static_cast<char>(uniform(32, 255));
    return s;
  };
  std::vector<DbChart> charts;
  for (int i = 0; i < count; ++i) {
    const int year = uniform(-3000, 3000), month = uniform(1, 12), day = uniform(1, 28);
    const double ut = uniform(0, 86399) / 3600.0;
    const double zone = uniform(-12 * 3600, 14 * 3600) / 3600.0;
    DbChart c = CastChart(day, month, year, ut, zone);
    c.ChartName = text(12);
    c.PlaceName = text(20);
    c.ChartComment = text(40);
    c.GeoLatitude = static_cast<float>(uniform(-90 * 3600, 90 * 3600) / 3600.0);
    c.GeoLongitude = static_cast<float>(uniform(-180 * 3600, 180 * 3600) / 3600.0);
    c.HouseCode =
        uniform(0, 9) == 0 ? 1 : PackHouseCode(uniform(0, 11), uniform(0, 11), uniform(-1, 9));
    c.RecordFlag = static_cast<std::uint8_t>(uniform(0, 1));
    charts.push_back(c);
  }
  return charts;
}

void ExpectSameChart(const DbChart& got, const DbChart& want, const std::string& line) {
  EXPECT_EQ(got.ChartName, DbNodeText(want.ChartName)) << line;
  EXPECT_NEAR(got.JulianDayUT, want.JulianDayUT, kJulianDayTolDays) << line;
  EXPECT_NEAR(std::remainder(got.UniversalTime - want.UniversalTime, 24.0), 0.0, kSecondDays * 24)
      << line;
  EXPECT_NEAR(got.TimeZone, want.TimeZone, kSecondDays * 24) << line;
  EXPECT_NEAR(got.GeoLatitude, want.GeoLatitude, kArcsecondDeg / 10) << line;
  EXPECT_NEAR(got.GeoLongitude, want.GeoLongitude, kArcsecondDeg / 10) << line;
  EXPECT_EQ(got.HouseCode, want.HouseCode) << line;
  EXPECT_EQ(got.RecordFlag, want.RecordFlag) << line;
}

TEST(DbRecordLine, RandomChartsRoundTripToTheSecond) {
  for (const DbChart& c : RandomCharts(3000, 12)) {
    const std::string line = BuildDbRecordLine(c);
    DbChart back;
    std::string what;
    ASSERT_TRUE(ParseDbRecord(line, back, what)) << what << ": " << line;
    ExpectSameChart(back, c, line);
    // a second pass changes nothing at all
    EXPECT_EQ(BuildDbRecordLine(back), line);
  }
}

TEST(DbTreeText, RandomTreesRoundTripAndJumpsAreRefused) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<DbNode> nodes{{"root", 0, kDbSection}};
    const int count = std::uniform_int_distribution<int>(0, 60)(rng);
    for (int i = 0; i < count; ++i) {
      const int level = std::uniform_int_distribution<int>(1, nodes.back().Level + 1)(rng);
      nodes.push_back(
          {DbNodeText(" \tn" + std::to_string(i) + (i % 3 ? " x " : "")), level, kDbSection});
    }
    const LineList lines = BuildTreeText(nodes);
    std::vector<DbNode> back;
    std::size_t badLine = 0;
    std::string what;
    ASSERT_TRUE(ParseTreeText(lines, back, badLine, what)) << what;
    ASSERT_EQ(back.size(), nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      EXPECT_EQ(back[i].Text, nodes[i].Text);
      EXPECT_EQ(back[i].Level, nodes[i].Level);
    }
    EXPECT_EQ(BuildTreeText(back), lines);
  }
  // spaces count as levels; the first line is top level whatever its level
  std::vector<DbNode> nodes;
  std::size_t badLine = 0;
  std::string what;
  ASSERT_TRUE(ParseTreeText({"  top", "\tsec", "\t\tc1", "\t\t c2"}, nodes, badLine, what)) << what;
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[0].Text, "top");
  EXPECT_EQ(nodes[0].Level, 0);
  EXPECT_EQ(nodes[3].Text, "c2");
  EXPECT_EQ(nodes[3].Level, 3);  // a leading space in an old file makes a child of c1
  EXPECT_FALSE(ParseTreeText({"root", "\tsec", "\t\t\tdeep"}, nodes, badLine, what));
  EXPECT_EQ(badLine, 3u);
  EXPECT_EQ(what, "Invalid level (3) for item \"deep\"");
  EXPECT_EQ(nodes.size(), 4u);  // untouched
}

TEST(ChartDatabase, NewDatabaseHasTwoLinesAndEditsKeepLinesWithTheirNodes) {
  ChartDatabase db;
  db.Folder = "/somewhere";
  CreateDatabase(db, Cp("Клиенты"), Cp("Раздел 1"), Cp("Раздел 1/1"));
  EXPECT_EQ(db.Lines, (LineList{Cp("Клиенты/1"), Cp("Раздел 1/1")}));
  EXPECT_EQ(db.Nodes[1].Level, 1);
  EXPECT_EQ(db.Folder, "/somewhere");
  EXPECT_TRUE(db.Modified);

  // sections and charts added anywhere, subtrees removed: every line stays
  // with its node (a section line is its text + "/1", a chart line starts
  // with its text + "=")
  std::mt19937 rng(3);
  for (int step = 0; step < 400; ++step) {
    const std::size_t pick = std::uniform_int_distribution<std::size_t>(0, db.Nodes.size())(rng);
    const std::size_t at = pick == db.Nodes.size() ? std::string::npos : pick;
    const int what = std::uniform_int_distribution<int>(0, 5)(rng);
    if (what == 0 && at != std::string::npos && at != 0) {
      RemoveDbSubtree(db, at);
    } else if (what <= 2) {
      const std::string name = " s=" + std::to_string(step);
      InsertDbNode(db, at, {DbNodeText(name), 0, kDbSection}, DbSectionLine(name));
    } else {
      DbChart c = CastChart(1, 1, 2000, 1, 0);
      c.ChartName = "c" + std::to_string(step);
      InsertDbNode(db, at, {c.ChartName, 0, kDbChart}, BuildDbRecordLine(c));
    }
    ASSERT_EQ(db.Lines.size(), db.Nodes.size());
  }
  const std::vector<std::size_t> parents = ParentIndices(db.Nodes);
  for (std::size_t i = 0; i < db.Nodes.size(); ++i) {
    const DbNode& n = db.Nodes[i];
    EXPECT_EQ(parents[i], ParentIndex(db.Nodes, i)) << i;
    EXPECT_EQ(db.Lines[i].rfind(n.Text + (n.State == kDbChart ? "=" : "/"), 0), 0u) << i;
    if (i > 0) {
      EXPECT_LE(n.Level, db.Nodes[i - 1].Level + 1);
    }
    const std::size_t parent = ParentIndex(db.Nodes, i);
    if (parent != std::string::npos) {
      EXPECT_LT(i, SubtreeEnd(db.Nodes, parent));
    }
  }
  // the path of every node as a tree view gives it (the position among its
  // siblings at each level, counted here from the levels alone) leads back
  // to the node; one sibling further leads past the last one or elsewhere
  for (std::size_t i = 0; i < db.Nodes.size(); ++i) {
    std::vector<int> path;
    for (std::size_t node = i;;) {
      const int level = db.Nodes[node].Level;
      int before = 0;
      std::size_t j = node;
      for (; j > 0 && db.Nodes[j - 1].Level >= level; --j)
        if (db.Nodes[j - 1].Level == level) ++before;
      path.insert(path.begin(), before);
      if (j == 0) break;
      node = j - 1;  // the first node before with a lower level: the parent
    }
    ASSERT_EQ(NodeAtPath(db.Nodes, path), i);
    path.back() += 1;
    EXPECT_NE(NodeAtPath(db.Nodes, path), i);
  }
  EXPECT_EQ(NodeAtPath(db.Nodes, {}), std::string::npos);
  EXPECT_EQ(NodeAtPath(db.Nodes, {-1}), std::string::npos);
  EXPECT_EQ(NodeAtPath(db.Nodes, {0, static_cast<int>(db.Nodes.size())}), std::string::npos);
}

TEST(ChartDatabase, FileNamesOfRootTexts) {
  for (const char* good : {"Клиенты 2024", "a.b", "база (копия)"})
    EXPECT_TRUE(IsDatabaseFileName(good));
  for (const char* bad :
       {"", ".", "..", "a/b", "a\\b", "c:", "what?", "a*", "x\"y", "<>", "a|b", "tab\t"})
    EXPECT_FALSE(IsDatabaseFileName(bad)) << bad;
  // the stem of a chosen file: ".zrn" in any case comes off, nothing else
  EXPECT_EQ(DatabaseStemOf("/d/base.zrn"), "/d/base");
  EXPECT_EQ(DatabaseStemOf("/d/base.ZrN"), "/d/base");
  EXPECT_EQ(DatabaseStemOf("/d/base.qck"), "/d/base.qck");
  EXPECT_EQ(DatabaseStemOf("/d/base.zrt"), "/d/base.zrt");
  EXPECT_EQ(DatabaseStemOf(".zrn"), "");
  EXPECT_EQ(DatabaseStemOf("rn"), "rn");
}

// Random databases through SaveDatabasePair and LoadDatabasePair.
TEST_F(ChartDbFolderTest, RandomDatabasesSurviveSaveAndLoad) {
  const std::vector<DbChart> charts = RandomCharts(600, 99);
  ChartDatabase db;
  CreateDatabase(db, "  Random=base", Cp("Раздел 1"), Cp("Раздел 1/1"));
  std::mt19937 rng(5);
  for (std::size_t i = 0; i < charts.size(); ++i) {
    std::size_t parent = std::uniform_int_distribution<std::size_t>(0, db.Nodes.size() - 1)(rng);
    if (db.Nodes[parent].State == kDbChart) parent = ParentIndex(db.Nodes, parent);
    if (i % 20 == 0) {
      InsertDbNode(db, parent, {DbNodeText(charts[i].PlaceName), 0, kDbSection},
                   DbSectionLine(charts[i].PlaceName));
    }
    InsertDbNode(db, parent, {DbNodeText(charts[i].ChartName), 0, kDbChart},
                 BuildDbRecordLine(charts[i]));
  }
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(Path("random"), db, message)) << message;
  EXPECT_FALSE(db.Modified);

  ChartDatabase loaded;
  ASSERT_TRUE(LoadDatabasePair(Path("random.zrn"), loaded, message)) << message;
  EXPECT_EQ(loaded.Folder, folder_.string());
  EXPECT_EQ(loaded.SourceFile, Path("random.zrn"));
  EXPECT_FALSE(loaded.Modified);
  ASSERT_EQ(loaded.Lines, db.Lines);
  ASSERT_EQ(loaded.Nodes.size(), db.Nodes.size());
  for (std::size_t i = 0; i < db.Nodes.size(); ++i) {
    EXPECT_EQ(loaded.Nodes[i].Text, db.Nodes[i].Text) << i;
    EXPECT_EQ(loaded.Nodes[i].Level, db.Nodes[i].Level) << i;
    EXPECT_EQ(loaded.Nodes[i].State, db.Nodes[i].State) << i;
  }
  // each chart comes back to the second and the arc second
  std::map<std::string, std::size_t> chartOfLine;
  for (std::size_t i = 0; i < charts.size(); ++i) chartOfLine[BuildDbRecordLine(charts[i])] = i;
  std::size_t found = 0;
  for (std::size_t i = 0; i < loaded.Nodes.size(); ++i) {
    if (loaded.Nodes[i].State != kDbChart) continue;
    DbChart back;
    std::string what;
    ASSERT_TRUE(ParseDbRecord(loaded.Lines[i], back, what)) << what;
    EXPECT_EQ(back.ChartName, loaded.Nodes[i].Text);
    const auto original = chartOfLine.find(loaded.Lines[i]);
    ASSERT_NE(original, chartOfLine.end()) << loaded.Lines[i];
    ExpectSameChart(back, charts[original->second], loaded.Lines[i]);
    ++found;
  }
  EXPECT_EQ(found, charts.size());
  EXPECT_EQ(FileCount(), 2u);  // no temporary file left behind
}

// A database as the original program writes it: the root and sections end
// in "/1", charts in "/3" (an imported one with code 1), the tree indented
// by TABs, CR LF everywhere. It loads with every line kept and saves back
// byte for byte.
TEST_F(ChartDbFolderTest, DatabaseInTheOriginalLayoutLoadsUnchanged) {
  const LineList tree = {Cp("Моя база"),         Cp("\tРаздел 1"), Cp("\t\tИван"),
                         Cp("\t\tИмпорт"),       Cp("\tВопросы"),  Cp("\t\tПодраздел"),
                         Cp("\t\t\tГде кошка?"), Cp("\tПусто")};
  const LineList records = {
      Cp("Моя база/1"),
      Cp("Раздел 1/1"),
      Cp("Иван=5/3/2001/14/7/0/3/0/0/55/45/0/37/37/0/10162/1/Москва//3"),
      Cp("Импорт=31/12/1899/23/59/59/-5/0/0/-33/52/0/0/-15/0/1/0/Лондон/вопрос о работе/3"),
      Cp("Вопросы/1"),
      Cp("Подраздел/1"),
      Cp("Где кошка?=29/2/2024/0/0/0/10/30/0/0/-30/0/151/12/36/21219/1/Сидней/в саду/3"),
      Cp("Пусто/1")};
  // an old copy: upper-case extensions
  WriteBytes(folder_ / "OLD.ZRT", Crlf(tree));
  WriteBytes(folder_ / "OLD.ZRN", Crlf(records));

  ChartDatabase db;
  std::string message;
  ASSERT_TRUE(LoadDatabasePair(Path("OLD.ZRN"), db, message)) << message;
  EXPECT_EQ(db.Lines, records);
  const int levels[] = {0, 1, 2, 2, 1, 2, 3, 1};
  const int states[] = {1, 1, 3, 3, 1, 1, 3, 1};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    EXPECT_EQ(db.Nodes[i].Level, levels[i]) << i;
    EXPECT_EQ(db.Nodes[i].State, states[i]) << i;
  }
  DbChart imported;
  std::string what;
  ASSERT_TRUE(ParseDbRecord(db.Lines[3], imported, what)) << what;
  HouseChoice houses;
  EXPECT_FALSE(UnpackHouseCode(imported.HouseCode, houses));
  EXPECT_EQ(imported.GeoLatitude, static_cast<float>(-(33.0 + 52.0 / 60.0)));
  EXPECT_EQ(imported.ChartComment, Cp("вопрос о работе"));
  EXPECT_EQ(imported.RecordFlag, 0);
  EXPECT_EQ(FormatDbRecordDateTime(db.Lines[3]), "31.12.1899.23:59:59");
  // every chart of the file writes back the very same line
  for (std::size_t i : {2u, 3u, 6u}) {
    DbChart c;
    ASSERT_TRUE(ParseDbRecord(db.Lines[i], c, what)) << what;
    c.ChartName = db.Nodes[i].Text;
    EXPECT_EQ(BuildDbRecordLine(c), records[i]);
  }

  ASSERT_TRUE(SaveDatabasePair(Path("copy"), db, message)) << message;
  EXPECT_EQ(Bytes(folder_ / "copy.zrt"), Crlf(tree));
  EXPECT_EQ(Bytes(folder_ / "copy.zrn"), Crlf(records));

  // hand edits: the tree file in another letter case than the record file,
  // and the end of either file marked by empty lines or an old editor's 0x1A
  for (const char* end : {"\r\n", "\x1A", "\r\n\x1A", "\r\n\r\n\x1A\x1A", "\r\n\r\n"}) {
    for (const bool inTree : {true, false}) {
      WriteBytes(folder_ / "hand.Zrt", Crlf(tree) + (inTree ? end : ""));
      WriteBytes(folder_ / "hand.zRn", Crlf(records) + (inTree ? "" : end));
      ChartDatabase edited;
      ASSERT_TRUE(LoadDatabasePair(Path("hand.zRn"), edited, message)) << message;
      EXPECT_EQ(edited.Lines, records);
      EXPECT_EQ(BuildTreeText(edited.Nodes), tree);
    }
  }
  // the end is only at the end: an empty line inside is a line
  WriteBytes(folder_ / "hand.zRn", Crlf(records) + "\r\n" + Crlf({records.back()}));
  EXPECT_FALSE(LoadDatabasePair(Path("hand.zRn"), db, message));
}

// A pair that does not read whole is refused with the file and line, and
// the open database stays as it was.
TEST(ChartDatabase, BrokenPairsAreRefusedWithFileAndLine) {
  struct Case {
    LineList Tree, Records;
    std::string File;
    std::size_t Line;
  };
  const std::string chart = "c=1/1/2000/0/0/0/0/0/0/0/0/0/0/0/0/10100/1///3";
  const auto renamed = [&chart](const std::string& name) { return name + chart.substr(1); };
  const Case cases[] = {
      {{"r", "\ts", "\t\tc"}, {"r/1", "s/1"}, "b.zrn", 3},                  // record file shorter
      {{"r", "\ts"}, {"r/1", "s/1", "x/1"}, "b.zrn", 3},                    // record file longer
      {{"r", "\t\tc"}, {"r/1", chart}, "b.zrt", 2},                         // level jump
      {{"r", "\ts", "\t\tc"}, {"r/1", "s/1", "c=1/1/2000/3"}, "b.zrn", 3},  // chart line cut short
      {{"r", "\ts", "\t\tc"},
       {"r/1", "s/1", "c=1/x/2000/0/0/0/0/0/0/0/0/0/0/0/0/1/1///3"},
       "b.zrn",
       3},
      {{"r", "\ts"}, {"r/1", "s"}, "b.zrn", 2},  // no kind at the end
      // lines that are not their nodes': two charts swapped, a chart's line
      // where the tree has a section, two sections swapped, a section's line
      // where the tree has a chart, a chart's line for the root
      {{"r", "\ta", "\tb"}, {"r/1", renamed("b"), renamed("a")}, "b.zrn", 2},
      {{"r", "\ts", "\t\tc"}, {"r/1", chart, "s/1"}, "b.zrn", 2},
      {{"r", "\ts", "\tt"}, {"r/1", "t/1", "s/1"}, "b.zrn", 2},
      {{"r", "\ts", "\t\tc", "\tt"}, {"r/1", "s/1", "t/1", chart}, "b.zrn", 3},
      {{"c"}, {chart}, "b.zrn", 1},
      {{"r", "\ts"}, {"r/1", "s3/1"}, "b.zrn", 2},
      {{"r", "\ts"}, {"r/1", "s1"}, "b.zrn", 2},  // no "/" before the kind
  };
  for (const Case& c : cases) {
    ChartDatabase db;
    CreateDatabase(db, "open", "one", "one/1");
    db.Folder = "/f";
    db.Modified = false;
    const ChartDatabase before = db;
    std::string message;
    EXPECT_FALSE(ParseDatabasePair(c.Tree, c.Records, "b.zrt", "b.zrn", db, message));
    EXPECT_EQ(message.rfind(c.File + ", line " + std::to_string(c.Line) + ": ", 0), 0u) << message;
    EXPECT_EQ(db.Lines, before.Lines);
    EXPECT_EQ(db.Nodes.size(), before.Nodes.size());
    EXPECT_EQ(db.Folder, "/f");
  }
  std::string message;
  ChartDatabase db;
  ASSERT_FALSE(ParseDatabasePair({"r", "\ta", "\tb"}, {"r/1", renamed("b"), renamed("a")}, "b.zrt",
                                 "b.zrn", db, message));
  EXPECT_EQ(message, "b.zrn, line 2: the line of the chart \"b\" stands where b.zrt has \"a\"");
  // names the tree file cannot hold as they are: leading spaces are levels
  // there, so they count for nothing; "/" and "=" in a section's name, and
  // a chart's name that repeats a section's, are names like any other
  ASSERT_TRUE(ParseDatabasePair({"r", "\ta/b=c", "\t\tc", "\t\t c"},
                                {"r/1", "a/b=c/1", "c/1", " " + chart}, "b.zrt", "b.zrn", db,
                                message))
      << message;
  EXPECT_EQ(db.Nodes[3].Level, 3);
  ASSERT_TRUE(ParseDatabasePair({"c", "\tc", "\t\tc"}, {"c/1", "c/1", chart}, "b.zrt", "b.zrn", db,
                                message))
      << message;
  // but a chart holds no items: a chart's line at a node with items under it
  // (a section and its chart of one name with their lines swapped, or a
  // chart named with a leading space under a chart) is refused
  const std::string ivan = Cp("Иван") + chart.substr(1);
  for (const auto& [tree, lines] : std::vector<std::pair<LineList, LineList>>{
           {{"r", Cp("\tИван"), Cp("\t\tИван")}, {"r/1", ivan, Cp("Иван/1")}},
           {{"r", "\ts", "\t\tc", "\t\t c"}, {"r/1", "s/1", chart, " " + chart}}}) {
    ChartDatabase refused;
    EXPECT_FALSE(ParseDatabasePair(tree, lines, "b.zrt", "b.zrn", refused, message));
    EXPECT_EQ(message.rfind(tree.size() == 3 ? "b.zrn, line 2: " : "b.zrn, line 3: ", 0), 0u)
        << message;
  }
}

// A save of an earlier version of the program cut short at each point of its
// order (both files written to temporary files whose names say nothing of
// each other, then the record file renamed, then the tree): the load gives
// the old pair and removes the temporary files, or finishes the save with the
// temporary tree file that reads with the new record file, and says so.
TEST_F(ChartDbFolderTest, ASaveOfAnEarlierVersionCutShortIsFinishedByTheLoad) {
  std::string stem;  // long enough that the temporary names are cut
  for (int i = 0; i < 120; ++i) stem += "ж";
  const std::string records = Path(stem + ".zrn");
  ChartDatabase was;
  CreateDatabase(was, "base", "one", "one/1");
  DbChart chart = CastChart(1, 1, 2000, 1, 0);
  for (const char* name : {"Anna", "Boris"}) {
    chart.ChartName = name;
    InsertDbNode(was, 1, {name, 0, kDbChart}, BuildDbRecordLine(chart));
  }
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(Path(stem), was, message)) << message;
  EXPECT_TRUE(InterruptedSaveFiles(records).empty());
  // Anna deleted and Vera stored: as many nodes as before
  ChartDatabase now = was;
  RemoveDbSubtree(now, 2);
  chart.ChartName = "Vera";
  InsertDbNode(now, 1, {"Vera", 0, kDbChart}, BuildDbRecordLine(chart));

  for (int stop = 0; stop < 2; ++stop) {
    ASSERT_TRUE(SaveDatabasePair(Path(stem), was, message)) << message;
    PendingFile tree, lines;
    ASSERT_TRUE(WriteLinesPending(Path(stem + ".zrt"), BuildTreeText(now.Nodes), tree));
    ASSERT_TRUE(WriteLinesPending(records, now.Lines, lines));
    ASSERT_EQ(InterruptedSaveFiles(records).size(), 2u);
    if (stop == 1) {
      ASSERT_TRUE(CommitPendingFile(lines));
    }
    ChartDatabase loaded;
    std::string completed;
    ASSERT_TRUE(LoadDatabasePair(records, loaded, message, &completed)) << message;
    EXPECT_EQ(loaded.Lines, stop == 0 ? was.Lines : now.Lines);
    EXPECT_EQ(BuildTreeText(loaded.Nodes), BuildTreeText(stop == 0 ? was.Nodes : now.Nodes));
    EXPECT_EQ(completed, stop == 0 ? std::string() : tree.Temporary);
    EXPECT_TRUE(InterruptedSaveFiles(records).empty());
    EXPECT_EQ(FileCount(), 2u);
  }
  // the first save of a database cut short: the record file alone beside the
  // tree's temporary file; other files whose names look alike are not taken
  // for it and stay
  PendingFile tree, lines;
  ASSERT_TRUE(WriteLinesPending(Path("fresh.zrt"), BuildTreeText(now.Nodes), tree));
  ASSERT_TRUE(WriteLinesPending(Path("fresh.zrn"), now.Lines, lines));
  ASSERT_TRUE(CommitPendingFile(lines));
  const char* alike[] = {".fresh.zrt.tmp", ".fresh.zrt.tmp1-", ".fresh.zrt.tmpa-1",
                         "fresh.zrt.tmp1-1"};
  for (const char* name : alike) WriteBytes(folder_ / name, "");
  EXPECT_EQ(InterruptedSaveFiles(Path("fresh.zrn")), std::vector<std::string>{tree.Temporary});
  ChartDatabase loaded;
  std::string completed;
  ASSERT_TRUE(LoadDatabasePair(Path("fresh.zrn"), loaded, message, &completed)) << message;
  EXPECT_EQ(completed, tree.Temporary);
  EXPECT_EQ(loaded.Lines, now.Lines);
  for (const char* name : alike) EXPECT_TRUE(fs::exists(folder_ / name)) << name;
  // a tree file that reads with no record file is kept, and the refusal names it
  ASSERT_TRUE(WriteLinesPending(Path("fresh.zrt"), {"other", "\tnodes", "\tthree"}, tree));
  WriteBytes(folder_ / "fresh.zrt", "broken\r\n");
  EXPECT_FALSE(LoadDatabasePair(Path("fresh.zrn"), loaded, message));
  EXPECT_EQ(InterruptedSaveFiles(Path("fresh.zrn")), std::vector<std::string>{tree.Temporary});
}

// Every control byte in a chart's name, place and comment and in a
// section's name (pasted text from a DOS source ends in 0x1A) is stored as a
// space: the pair opens again, each node under the name its line gives, and
// the texts read back with a space where the byte was.
TEST_F(ChartDbFolderTest, ControlBytesInNamesAndTextsAreStoredAsSpaces) {
  ChartDatabase db;
  CreateDatabase(db, "base", "one", "one/1");
  std::vector<std::string> names;
  for (int b = 1; b < 0x20; ++b) {
    const std::string c(1, static_cast<char>(b));
    const std::size_t section =
        InsertDbNode(db, 0, {DbNodeText("s" + c), 0, kDbSection}, DbSectionLine("s" + c));
    DbChart chart = CastChart(1, 1, 2000, 1, 0);
    chart.ChartName = Cp("Иван") + c;
    chart.PlaceName = "p" + c + "q";
    chart.ChartComment = c + "why";
    InsertDbNode(db, section, {DbNodeText(chart.ChartName), 0, kDbChart}, BuildDbRecordLine(chart));
  }
  std::string message;
  ASSERT_TRUE(SaveDatabasePair(Path("ctl"), db, message)) << message;
  ChartDatabase loaded;
  ASSERT_TRUE(LoadDatabasePair(Path("ctl.zrn"), loaded, message)) << message;
  ASSERT_EQ(loaded.Nodes.size(), 2u + 2u * 31u);
  for (std::size_t i = 2; i < loaded.Nodes.size(); i += 2) {
    EXPECT_EQ(loaded.Nodes[i].Text, "s ") << i;
    EXPECT_EQ(loaded.Nodes[i + 1].Text, Cp("Иван ")) << i;
    DbChart back;
    std::string what;
    ASSERT_TRUE(ParseDbRecord(loaded.Lines[i + 1], back, what)) << what;
    EXPECT_EQ(back.ChartName, Cp("Иван "));
    EXPECT_EQ(back.PlaceName, "p q");
    EXPECT_EQ(back.ChartComment, " why");
  }
  for (const std::string& line : loaded.Lines)
    for (const char c : line) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << line;
}

TEST_F(ChartDbFolderTest, MissingFilesAndFailedWritesAreReported) {
  ChartDatabase db;
  CreateDatabase(db, "base", "one", "one/1");
  std::string message;
  EXPECT_FALSE(LoadDatabasePair(Path("none.zrn"), db, message));
  EXPECT_NE(message.find("none.zrt"), std::string::npos) << message;
  EXPECT_EQ(db.Lines.size(), 2u);

  // each refusal says the system's reason
  const auto reason = [](int error) { return ": " + std::generic_category().message(error); };
  // a folder that does not exist: nothing written, still modified
  EXPECT_FALSE(SaveDatabasePair(Path("missing/base"), db, message));
  EXPECT_EQ(message, "Cannot create file " + Path("missing/base.zrt") + reason(ENOENT));
  EXPECT_TRUE(db.Modified);

  // the record file cannot be written: the old tree file stays as it was
  WriteBytes(folder_ / "base.zrt", "old tree\r\n");
  fs::create_directory(folder_ / "base.zrn");
  EXPECT_FALSE(SaveDatabasePair(Path("base"), db, message));
  EXPECT_EQ(message, "Cannot create file " + Path("base.zrn") + reason(EISDIR));
  EXPECT_EQ(Bytes(folder_ / "base.zrt"), "old tree\r\n");
  EXPECT_TRUE(db.Modified);
  EXPECT_EQ(FileCount(), 2u);  // no temporary file left behind

  // a name as long as a file name may be (255 bytes with ".zrn", Cyrillic
  // letters two bytes each) saves and loads; one byte more is refused by name
  std::string name;
  for (int i = 0; i < 125; ++i) name += "ж";
  name += "x";
  ASSERT_EQ(name.size() + 4, 255u);
  ASSERT_TRUE(SaveDatabasePair(Path(name), db, message)) << message;
  ChartDatabase loaded;
  ASSERT_TRUE(LoadDatabasePair(Path(name + ".zrn"), loaded, message)) << message;
  EXPECT_EQ(loaded.Lines, db.Lines);
  EXPECT_FALSE(SaveDatabasePair(Path(name + "y"), db, message));
  EXPECT_EQ(message, "Cannot create file " + Cp(Path(name + "y.zrn")) + reason(ENAMETOOLONG));
  EXPECT_EQ(FileCount(), 4u);
}

}  // namespace
