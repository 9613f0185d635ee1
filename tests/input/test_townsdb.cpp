// Towns database: the order and prefix search of the towns files, reading
// town lines in both layouts (the shipped files and faulty lines), the result
// grid and the dialog's fields, and adding a town to the user's file.
//
// Coordinates of the shipped towns are checked against published figures
// (the cities' articles of the English Wikipedia, degrees-minutes-seconds
// rounded here to the minute by hand); the shipped files round to the
// nearest minute, so they may differ by one minute.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "input/timezones.h"
#include "input/townsdb.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCoordinateToleranceArcMin = 1;  // arc minutes: the files round to the minute

const std::string kFactoryTowns = std::string(HORARY_SOURCE_DIR) + "/data/Towns/";

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// CR LF joined lines, as the files hold them.
std::string Crlf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// A towns folder of its own for each test, removed afterwards.
class TownsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("townsdb_" + std::string(info->test_suite_name()) + "_" +
                                           info->name() + "_" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Folder() const { return folder_.string() + "/"; }
  fs::path File(const char* name) const { return folder_ / name; }

  fs::path folder_;
};

// A Towns.twn line: the name and "=" padded to column 20, then columns 21 on.
std::string RussianLine(const char* nameUtf8, const std::string& fromColumn21) {
  std::string line = Cp(nameUtf8) + "=";
  line.resize(20, ' ');
  return line + fromColumn21;
}

// A foreign-layout line written out column by column from the layout table.
std::string FixedLine(const std::string& name, const std::string& country, const std::string& zone,
                      const std::string& latitude, const std::string& longitude,
                      const std::string& rule) {
  std::string line = name;
  line.resize(20, ' ');
  line += country;
  line.resize(40, ' ');
  line += zone;  // 41-52: abbreviation (6), sign, hh:mm
  line.resize(57, ' ');
  line += latitude;  // 58-62
  line.resize(65, ' ');
  line += longitude;  // 66-71
  line.resize(75, ' ');
  line += rule;  // 76-77
  return line;
}

// ---- order and prefix search ------------------------------------------------------

TEST(TownSearch, LowerAndUpperCaseFindTheSameRunCyrillicAndLatin) {
  LineList lines = {Cp("Абакан=              53:43   91:26   26"),
                    Cp("Борзя=               50:23  116:31   28"),
                    Cp("Бор=                 56:21   44:04   10"),
                    Cp("Борисоглебск=        51:22   42:05   10"),
                    Cp("Ёлкино=              55:00   40:00   10"),
                    "Bordeaux",
                    "bonn",
                    "Berlin"};
  std::vector<std::size_t> numbers;
  SortTownLines(lines, numbers);
  for (std::size_t i = 1; i < lines.size(); ++i)
    EXPECT_TRUE(TownLineLess(lines[i - 1], lines[i])) << i;

  const TownMatchRange lower = FindTownsByPrefix(lines, Cp("бор"));
  const TownMatchRange upper = FindTownsByPrefix(lines, Cp("БОР"));
  EXPECT_EQ(lower.Count, 3u);
  EXPECT_EQ(lower.First, upper.First);
  EXPECT_EQ(lower.Count, upper.Count);
  for (std::size_t i = lower.First; i < lower.First + lower.Count; ++i) {
    EXPECT_EQ(UpperCaseCp1251(lines[i].substr(0, 3)), Cp("БОР"));
  }
  EXPECT_EQ(FindTownsByPrefix(lines, Cp("ёлк")).Count, 1u);  // ё upper-cases to Ё
  EXPECT_EQ(FindTownsByPrefix(lines, "BO").Count, 2u);       // Bordeaux, bonn
  EXPECT_EQ(FindTownsByPrefix(lines, "bOnN").Count, 1u);
  EXPECT_EQ(FindTownsByPrefix(lines, Cp("борисоглебскк")).Count, 0u);
  EXPECT_EQ(FindTownsByPrefix(lines, "").Count, 0u);
  // the numbers follow their lines
  ASSERT_EQ(numbers.size(), lines.size());
  EXPECT_EQ(numbers[0], 8u);  // "Berlin" was the eighth line and sorts first
}

TEST(TownSearch, FactoryFilesAreSortedAndEveryLineReads) {
  for (TownFile file : {TownFile::Russian, TownFile::Foreign}) {
    LineList lines;
    ASSERT_TRUE(ReadLines(TownFilePath(kFactoryTowns, file), lines));
    ASSERT_GT(lines.size(), 300u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) {
        ASSERT_TRUE(TownLineLess(lines[i - 1], lines[i]))
            << TownFileName(file) << " line " << i + 1;
      }
      TownRecord town;
      std::string what;
      EXPECT_TRUE(ParseTownLine(lines[i], file, town, what))
          << TownLineMessage(TownFileName(file), i + 1, what);
    }
  }
  EXPECT_EQ(fs::file_size(kFactoryTowns + kUserTownsFileName), 0u);
}

TEST(TownSearch, FactoryGridRowsOfBothLayoutsTypedInLowerCase) {
  struct Expected {
    std::string Typed;
    TownFile File;
    TownGridRow Row;
  };
  const Expected cases[] = {
      {Cp("москва"), TownFile::Russian, {Cp("Москва"), Cp("Россия/СНГ"), "55:45", " 37:37"}},
      {"paris",
       TownFile::Foreign,
       {"Paris               ", "France              ", "48N51", "002E21"}},
  };
  for (const auto& expected : cases) {
    const TownSearchResult result = SearchTowns(kFactoryTowns, expected.Typed);
    ASSERT_EQ(result.Status, TownSearchStatus::Found) << result.Message;
    EXPECT_EQ(result.File, expected.File);
    ASSERT_GE(result.Rows.size(), 1u);
    EXPECT_EQ(result.Rows[0].Name, expected.Row.Name);
    EXPECT_EQ(result.Rows[0].Country, expected.Row.Country);
    EXPECT_EQ(result.Rows[0].Latitude, expected.Row.Latitude);
    EXPECT_EQ(result.Rows[0].Longitude, expected.Row.Longitude);
  }
}

TEST_F(TownsFolderTest, FindsATownOnlyTheUserFileHoldsAfterSortingIt) {
  WriteBytes(File(kTownsFileName), Crlf({Cp("Москва=              55:45   37:37   10")}));
  WriteBytes(File(kForeignTownsFileName),
             Crlf({FixedLine("Paris", "France", "CET   +01:00", "48N51", "002E21", "17")}));
  // unsorted, as a user may leave it
  WriteBytes(File(kUserTownsFileName),
             Crlf({FixedLine("Zermatt", "Switzerland", "CET   +01:00", "46N01", "007E45", "25"),
                   FixedLine(Cp("Урюпинск"), Cp("Россия"), "      +03:00", "50N48", "042E00", "00"),
                   FixedLine("Arosa", "Switzerland", "CET   +01:00", "46N47", "009E41", "25")}));

  const TownSearchResult latin = SearchTowns(Folder(), "zERM");
  ASSERT_EQ(latin.Status, TownSearchStatus::Found) << latin.Message;
  EXPECT_EQ(latin.File, TownFile::User);
  EXPECT_EQ(latin.Lines.front().substr(0, 5), "Arosa");
  ASSERT_EQ(latin.Rows.size(), 1u);
  EXPECT_EQ(latin.Rows[0].Name, "Zermatt             ");
  EXPECT_EQ(latin.FileLineNumbers[latin.Range.First], 1u);

  const TownSearchResult cyrillic = SearchTowns(Folder(), Cp("урюп"));
  ASSERT_EQ(cyrillic.Status, TownSearchStatus::Found) << cyrillic.Message;
  EXPECT_EQ(cyrillic.File, TownFile::User);
  const ChosenTown chosen = ChooseTown(cyrillic, 0);
  ASSERT_TRUE(chosen.Ok) << chosen.Message;
  EXPECT_EQ(chosen.Fields.PlaceName, Cp("Урюпинск"));
  EXPECT_EQ(chosen.Fields.LatitudeText, "50:48:00");
  EXPECT_EQ(chosen.Fields.LongitudeText, "042:00:00");

  EXPECT_EQ(SearchTowns(Folder(), "Nowhere").Status, TownSearchStatus::NotFound);
  EXPECT_EQ(SearchTowns(Folder(), "").Status, TownSearchStatus::EmptyName);
}

TEST_F(TownsFolderTest, AMissingFileEndsTheSearchWithItsName) {
  WriteBytes(File(kTownsFileName), Crlf({Cp("Москва=              55:45   37:37   10")}));
  const TownSearchResult result = SearchTowns(Folder(), "Paris");
  EXPECT_EQ(result.Status, TownSearchStatus::FileError);
  EXPECT_NE(result.Message.find(kForeignTownsFileName), std::string::npos) << result.Message;
  EXPECT_TRUE(result.Rows.empty());
}

// ---- reading the shipped lines -------------------------------------------------------

struct PublishedTown {
  const char* Typed;  // UTF-8
  TownFile File;
  bool South;
  int LatDegrees, LatMinutes;
  bool West;
  int LonDegrees, LonMinutes;
};

void ExpectNear(int degrees, int minutes, int publishedDegrees, int publishedMinutes,
                const char* what) {
  const int got = degrees * 60 + minutes;
  const int expected = publishedDegrees * 60 + publishedMinutes;
  EXPECT_LE(std::abs(got - expected), kCoordinateToleranceArcMin)
      << what << ": expected " << publishedDegrees << "d" << publishedMinutes << "', got "
      << degrees << "d" << minutes << "'";
}

TEST(TownLines, ShippedTownsHaveTheirPublishedCoordinatesAndHemispheres) {
  const PublishedTown towns[] = {
      {"Москва", TownFile::Russian, false, 55, 45, false, 37, 37},  // 55°45′21″N 37°37′04″E
      {"Санкт-Петербург", TownFile::Russian, false, 59, 56, false, 30,
       19},  // 59°56′15″N 30°18′31″E
      {"Новосибирск", TownFile::Russian, false, 55, 1, false, 82, 56},  // 55°01′N 82°56′E
      {"Buenos Aires", TownFile::Foreign, true, 34, 36, true, 58, 23},  // 34°36′12″S 58°22′54″W
      {"Sydney", TownFile::Foreign, true, 33, 52, false, 151, 13},  // 33°52′04″S 151°12′36″E
      {"New York City", TownFile::Foreign, false, 40, 43, true, 74, 0},  // 40°42′46″N 74°00′22″W
  };
  for (const auto& published : towns) {
    SCOPED_TRACE(published.Typed);
    const TownSearchResult result = SearchTowns(kFactoryTowns, Cp(published.Typed));
    ASSERT_EQ(result.Status, TownSearchStatus::Found) << result.Message;
    ASSERT_EQ(result.File, published.File);
    const ChosenTown chosen = ChooseTown(result, 0);
    ASSERT_TRUE(chosen.Ok) << chosen.Message;
    EXPECT_EQ(chosen.Town.South, published.South);
    EXPECT_EQ(chosen.Town.West, published.West);
    EXPECT_EQ(chosen.Fields.South, published.South);
    EXPECT_EQ(chosen.Fields.West, published.West);
    ExpectNear(chosen.Town.LatDegrees, chosen.Town.LatMinutes, published.LatDegrees,
               published.LatMinutes, "latitude");
    ExpectNear(chosen.Town.LonDegrees, chosen.Town.LonMinutes, published.LonDegrees,
               published.LonMinutes, "longitude");
  }
}

TEST(TownLines, ShippedZoneSeams) {
  // Moscow: region "10" of the zone table; Tuva's capital the mean-time region "5"
  const ChosenTown moscow = ChooseTown(SearchTowns(kFactoryTowns, Cp("Москва")), 0);
  ASSERT_TRUE(moscow.Ok) << moscow.Message;
  EXPECT_EQ(moscow.Town.RegionCode, "10");
  const ChosenTown kyzyl = ChooseTown(SearchTowns(kFactoryTowns, Cp("Кызыл=")), 0);
  ASSERT_TRUE(kyzyl.Ok) << kyzyl.Message;
  EXPECT_EQ(kyzyl.Town.RegionCode, "5");
  EXPECT_EQ(kyzyl.Line.size(), 38u);  // a one-character code ends the line at column 38

  // Paris: France.zon (17), own zone CET, 1 h East
  const ChosenTown paris = ChooseTown(SearchTowns(kFactoryTowns, "Paris "), 0);
  ASSERT_TRUE(paris.Ok) << paris.Message;
  EXPECT_EQ(paris.Town.ZoneRule, 17);
  EXPECT_EQ(paris.Town.ZoneAbbreviation, "CET");
  EXPECT_FALSE(paris.Town.ZoneWest);
  EXPECT_EQ(paris.Town.ZoneHours, 1);
  // Buenos Aires: a zone-rule file of the Argentine clock (above the thirty
  // named ones); its own zone is 3 h West (Argentina Time, UTC-3)
  const ChosenTown buenos = ChooseTown(SearchTowns(kFactoryTowns, "Buenos Aires"), 0);
  ASSERT_TRUE(buenos.Ok) << buenos.Message;
  EXPECT_GT(buenos.Town.ZoneRule, kNamedZoneRuleFileCount);
  EXPECT_TRUE(buenos.Town.ZoneWest);
  EXPECT_EQ(buenos.Town.ZoneHours, 3);
  EXPECT_EQ(buenos.Town.ZoneMinutes, 0);
  EXPECT_EQ(buenos.Town.Country, "Argentina");
}

// ---- hemisphere signs and the dialog's fields ------------------------------------------

TEST(TownLines, SouthAndWestSignsOfTheRussianLayout) {
  TownRecord town;
  std::string what;
  ASSERT_TRUE(
      ParseTownLine(RussianLine("Юг", "- 5:30 - 70:05   10"), TownFile::Russian, town, what))
      << what;
  EXPECT_TRUE(town.South);
  EXPECT_TRUE(town.West);
  EXPECT_EQ(town.LatDegrees, 5);
  EXPECT_EQ(town.LonDegrees, 70);
  const TownPlaceFields fields = PlaceFieldsOfTown(town);
  EXPECT_EQ(fields.PlaceName, Cp("Юг"));
  EXPECT_EQ(fields.LatitudeText, "05:30:00");  // the leading blank becomes "0"
  EXPECT_EQ(fields.LongitudeText, "070:05:00");
  EXPECT_TRUE(fields.South);
  EXPECT_TRUE(fields.West);

  ASSERT_TRUE(
      ParseTownLine(RussianLine("Север", " 60:00  120:00   29"), TownFile::Russian, town, what))
      << what;
  EXPECT_FALSE(town.South);
  EXPECT_FALSE(town.West);
  EXPECT_EQ(town.RegionCode, "29");
}

TEST(TownLines, SouthAndWestLettersOfTheFixedLayout) {
  TownRecord town;
  std::string what;
  const std::string line = FixedLine("Lima", "Peru", "      -05:00", "12S03", "077W03", "00");
  ASSERT_TRUE(ParseTownLine(line, TownFile::Foreign, town, what)) << what;
  EXPECT_TRUE(town.South);
  EXPECT_TRUE(town.West);
  EXPECT_TRUE(town.ZoneWest);
  EXPECT_EQ(town.ZoneHours, 5);
  EXPECT_EQ(town.ZoneAbbreviation, "");
  EXPECT_EQ(PlaceFieldsOfTown(town).LongitudeText, "077:03:00");
  EXPECT_EQ(PlaceFieldsOfTown(town).PlaceName, "Lima");  // trailing blanks dropped
}

// ---- faulty lines -----------------------------------------------------------------------

struct FaultyLine {
  std::string Line;   // code page 1251
  const char* Names;  // part of the message
};

TEST(TownLines, FaultyRussianLinesAreRefusedWithTheFieldNamed) {
  const FaultyLine lines[] = {
      {Cp("Тула 54:12   37:37   10"), "no \"=\""},
      {RussianLine("", " 54:12   37:37   10"), "no town name"},
      {Cp("Очень-длинное-название=") + " 54:12   37:37   10", "past column 20"},
      {RussianLine("Тула", " 54:12"), "the line ends at column 26, before column 28"},
      {RussianLine("Тула", " 54:12   37:37"), "no region code"},
      {RussianLine("Тула", " 5x:12   37:37   10"), "\"5x\" in columns 22-23 is not a number"},
      {RussianLine("Тула", " 54:12   37:-7   10"), "\"-7\" in columns 33-34 is not a number"},
      {RussianLine("Тула", " 54:75   37:37   10"), "75 in columns 25-26 is above 59"},
      {RussianLine("Тула", "*54:12   37:37   10"), "\"*\" in column 21"},
      {RussianLine("Тула", " 95:00   37:37   10"), "95 in columns 22-23 is above 90"},
      {RussianLine("Тула", " 90:30   37:37   10"), "beyond 90 degrees"},
  };
  for (const auto& faulty : lines) {
    TownRecord town;
    town.Name = "untouched";
    std::string what;
    EXPECT_FALSE(ParseTownLine(faulty.Line, TownFile::Russian, town, what))
        << Cp1251ToUtf8(faulty.Line);
    EXPECT_NE(what.find(faulty.Names), std::string::npos)
        << Cp1251ToUtf8(faulty.Line) << " -> " << what;
    EXPECT_EQ(town.Name, "untouched") << Cp1251ToUtf8(faulty.Line);
  }
}

TEST(TownLines, FaultyFixedLinesAreRefusedWithTheFieldNamed) {
  const std::string good = FixedLine("Oslo", "Norway", "CET   +01:00", "59N55", "010E45", "12");
  auto with = [&good](std::size_t column, char c) {
    std::string line = good;
    line[column - 1] = c;
    return line;
  };
  const FaultyLine lines[] = {
      {good.substr(0, 62), "the line ends at column 62, before columns 66-68"},
      {good.substr(0, 76), "before columns 76-77"},
      {with(60, 'X'), "\"X\" in column 60 is not \"N\" or \"S\""},
      {with(69, 'w'), "\"w\" in column 69"},
      {with(47, '*'), "column 47"},
      {with(67, 'o'), "\"0o0\" in columns 66-68 is not a number"},
      {with(77, '-'), "columns 76-77"},
      {with(48, '3'), "31 in columns 48-49 is above 23"},
      {std::string(20, ' ') + good.substr(20), "columns 1-20 are blank"},
  };
  for (const auto& faulty : lines) {
    TownRecord town;
    town.Name = "untouched";
    std::string what;
    EXPECT_FALSE(ParseTownLine(faulty.Line, TownFile::User, town, what)) << faulty.Line;
    EXPECT_NE(what.find(faulty.Names), std::string::npos) << faulty.Line << " -> " << what;
    EXPECT_EQ(town.Name, "untouched") << faulty.Line;
  }
  TownRecord town;
  std::string what;
  EXPECT_TRUE(ParseTownLine(good, TownFile::User, town, what)) << what;
}

TEST_F(TownsFolderTest, ChoosingAFaultyLineNamesFileAndLineAndFillsNothing) {
  WriteBytes(File(kTownsFileName), Crlf({RussianLine("Тверь", " 56:52   35:54   10"),
                                         RussianLine("Тула", " 54:1x   37:37   10")}));
  WriteBytes(File(kForeignTownsFileName), "");
  // the faulty line is the file's first line and sorts last
  WriteBytes(File(kUserTownsFileName),
             Crlf({FixedLine("Zug", "Switzerland", "CET   +0l:00", "47N10", "008E31", "25"),
                   FixedLine("Aarau", "Switzerland", "CET   +01:00", "47N24", "008E03", "25")}));

  const TownSearchResult tula = SearchTowns(Folder(), Cp("тула"));
  ASSERT_EQ(tula.Status, TownSearchStatus::Found);
  ASSERT_EQ(tula.Rows.size(), 1u);
  EXPECT_EQ(tula.Rows[0].Latitude, "54:1x");  // the grid shows the line as it stands
  const ChosenTown chosenTula = ChooseTown(tula, 0);
  EXPECT_FALSE(chosenTula.Ok);
  EXPECT_EQ(chosenTula.Message.rfind("Towns.twn, line 2: latitude minutes", 0), 0u)
      << chosenTula.Message;
  EXPECT_TRUE(chosenTula.Fields.PlaceName.empty());
  EXPECT_TRUE(chosenTula.Fields.LatitudeText.empty());

  const ChosenTown chosenZug = ChooseTown(SearchTowns(Folder(), "zug"), 0);
  EXPECT_FALSE(chosenZug.Ok);
  EXPECT_EQ(chosenZug.Message.rfind("TownsUser.twn, line 1: zone hours", 0), 0u)
      << chosenZug.Message;

  EXPECT_FALSE(ChooseTown(tula, 1).Ok);  // no such row
  EXPECT_FALSE(ChooseTown(tula, -1).Ok);
}

// ---- adding a town ------------------------------------------------------------------------

NewTown Oslo() {
  NewTown town;
  town.Name = "Oslo";
  town.Country = "Norway";
  town.Abbreviation = "CET";
  town.West = false;
  town.ZoneHours = 1;
  town.ZoneMinutes = 0;
  town.LatDegrees = 59;
  town.LatMinutes = 55;
  town.LonDegrees = 10;
  town.LonMinutes = 45;
  return town;
}

TEST(NewTowns, TheLineTakesItsColumns) {
  const NewTownLine built = BuildUserTownLine(Oslo());
  ASSERT_EQ(built.Status, NewTownStatus::Ok) << built.Message;
  // columns:         1                   21                  41    47   53   58   63 66    72  76
  EXPECT_EQ(built.Line,
            "Oslo                Norway              CET   +01:00     59N55   010E45    00");
  EXPECT_EQ(built.Line.size(), 77u);
  EXPECT_EQ(built.Line.substr(65, 3), "010");  // longitude 10 degrees at columns 66-68
  EXPECT_EQ(NewTownConfirmation(built.Line), built.Line.substr(0, 71));
}

TEST(NewTowns, WestSouthAndFolding) {
  NewTown town = Oslo();
  town.Name = Cp("Сантьяго");
  town.Country = Cp("Чили");
  town.Abbreviation = "";
  town.West = true;
  town.ZoneHours = 4;
  town.South = true;
  town.LatDegrees = 95;   // beyond 90: taken as 0
  town.LatMinutes = 75;   // above 60: less 60
  town.LonDegrees = 190;  // 190 degrees West of Greenwich lie 170 degrees East of it
  town.LonMinutes = 0;
  const NewTownLine built = BuildUserTownLine(town);
  ASSERT_EQ(built.Status, NewTownStatus::Ok) << built.Message;
  EXPECT_EQ(built.Line.substr(40, 12), "      -04:00");
  EXPECT_EQ(built.Line.substr(57, 5), "00S15");
  EXPECT_EQ(built.Line.substr(65, 6), "170E00");  // the zone stays West (column 47)
  TownRecord back;
  std::string what;
  ASSERT_TRUE(ParseTownLine(built.Line, TownFile::User, back, what)) << what;
  EXPECT_EQ(back.Name, Cp("Сантьяго"));
  EXPECT_TRUE(back.ZoneWest);
  EXPECT_FALSE(back.West);

  town.LonDegrees = 72;
  town.LonMinutes = 60;  // a whole 60 minutes is the next degree
  const NewTownLine carried = BuildUserTownLine(town);
  ASSERT_EQ(carried.Status, NewTownStatus::Ok) << carried.Message;
  EXPECT_EQ(carried.Line.substr(65, 6), "073W00");
}

TEST(NewTowns, ANameTooLongForItsColumnIsRefused) {
  NewTown town = Oslo();
  town.Name = Cp("Петропавловск-Камчат");  // 20 characters (bytes) fit
  EXPECT_EQ(BuildUserTownLine(town).Status, NewTownStatus::Ok);
  town.Name = Cp("Петропавловск-Камчатс");  // 21 do not
  const NewTownLine built = BuildUserTownLine(town);
  EXPECT_EQ(built.Status, NewTownStatus::NameTooLong);
  EXPECT_TRUE(built.Line.empty());
}

TEST(NewTowns, FieldsTheLineCannotHoldAreRefused) {
  auto refused = [](void (*change)(NewTown&)) {
    NewTown town = Oslo();
    change(town);
    const NewTownLine built = BuildUserTownLine(town);
    return built.Status != NewTownStatus::Ok && built.Line.empty();
  };
  EXPECT_FALSE(refused([](NewTown& t) { t.Country = "United Kingdom of GB"; }));  // 20 fit
  EXPECT_TRUE(refused([](NewTown& t) { t.Country = "United Kingdom of GB+"; }));
  EXPECT_TRUE(refused([](NewTown& t) { t.Abbreviation = "CETDST+"; }));
  EXPECT_TRUE(refused([](NewTown& t) { t.Name = "Line\r\nbreak"; }));
  EXPECT_TRUE(refused([](NewTown& t) { t.Name = "   "; }));
  EXPECT_TRUE(refused([](NewTown& t) { t.ZoneMinutes = 75; }));
  EXPECT_TRUE(refused([](NewTown& t) {
    t.LatDegrees = 90;
    t.LatMinutes = 30;
  }));
}

TEST_F(TownsFolderTest, AddingATownKeepsTheOtherLinesByteForByte) {
  const std::string arosa =
      FixedLine("Arosa", "Switzerland", "CET   +01:00", "46N47", "009E41", "25");
  const std::string zermatt =
      FixedLine("Zermatt", "Switzerland", "CET   +01:00", "46N01", "007E45", "25");
  WriteBytes(File(kUserTownsFileName), Crlf({arosa, zermatt}));

  const std::string oslo = BuildUserTownLine(Oslo()).Line;
  const AddTownResult added = AddUserTown(Folder(), oslo);
  ASSERT_TRUE(added.Ok) << added.Message;
  EXPECT_EQ(Bytes(File(kUserTownsFileName)), Crlf({arosa, oslo, zermatt}));
  EXPECT_EQ(added.Lines, (LineList{arosa, oslo, zermatt}));

  // the new town is found again once the other two files are there
  WriteBytes(File(kTownsFileName), "");
  WriteBytes(File(kForeignTownsFileName), "");
  const ChosenTown chosen = ChooseTown(SearchTowns(Folder(), "osl"), 0);
  ASSERT_TRUE(chosen.Ok) << chosen.Message;
  EXPECT_EQ(chosen.Fields.LatitudeText, "59:55:00");
  EXPECT_EQ(chosen.Fields.LongitudeText, "010:45:00");
}

TEST_F(TownsFolderTest, AFaultyNewLineOrAMissingFileChangesNothing) {
  const std::string before =
      Crlf({FixedLine("Arosa", "Switzerland", "CET   +01:00", "46N47", "009E41", "25")});
  WriteBytes(File(kUserTownsFileName), before);
  std::string broken = BuildUserTownLine(Oslo()).Line;
  broken.resize(70);
  const AddTownResult refused = AddUserTown(Folder(), broken);
  EXPECT_FALSE(refused.Ok);
  EXPECT_FALSE(refused.Message.empty());
  EXPECT_EQ(Bytes(File(kUserTownsFileName)), before);

  fs::remove(File(kUserTownsFileName));
  const AddTownResult missing = AddUserTown(Folder(), BuildUserTownLine(Oslo()).Line);
  EXPECT_FALSE(missing.Ok);
  EXPECT_NE(missing.Message.find(kUserTownsFileName), std::string::npos) << missing.Message;
  EXPECT_FALSE(fs::exists(File(kUserTownsFileName)));
}

}  // namespace
