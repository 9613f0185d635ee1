// Interface string table: the shipped language file, the loader and the
// menu-caption and tool-bar-hint tables.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "mainwindow/uistrings.h"
#include "platform/text/cp1251.h"

namespace {

namespace fs = std::filesystem;

const std::string kSourceDir = HORARY_SOURCE_DIR;
const std::string kShippedFolder = kSourceDir + "/data";  // holds Options/LangH.lan

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh program folder under the system's temporary folder, removed at the end.
class TempProgramFolder {
 public:
  TempProgramFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() / (std::string("uistrings_") + info->test_suite_name() + "_" +
                                         info->name() + "_" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_ / "Options");
  }
  ~TempProgramFolder() { fs::remove_all(path_); }
  std::string Path() const { return path_.string(); }
  void WriteLanguageFile(const std::string& bytes) const {
    std::ofstream out(path_ / "Options" / "LangH.lan", std::ios::binary);
    out << bytes;
  }

 private:
  fs::path path_;
};

UiStringTable LoadShipped() {
  UiStringTable table;
  const UiStringLoad load = LoadLanguage(kShippedFolder, table);
  EXPECT_TRUE(load.Loaded) << load.Message;
  return table;
}

// ---------------------------------------------------------------------------

TEST(ShippedLanguageFile, LoadsCompleteWithTheDesignedCaptions) {
  UiStringTable table;
  const UiStringLoad load = LoadLanguage(kShippedFolder, table);
  ASSERT_TRUE(load.Loaded) << load.Message;
  EXPECT_EQ(load.FileLines, kUiEntryCount);
  ASSERT_EQ(table.Count(), kUiEntryCount);
  EXPECT_FALSE(table.Entry(0).empty());
  EXPECT_EQ(table.Entry(1), Cp("Файл"));
  EXPECT_FALSE(ShowHelpItem(table));

  EXPECT_EQ(table.Entry(100), Cp("Плацидус"));
  EXPECT_EQ(table.Entry(109), Cp("Равнодомная от Mc"));
  EXPECT_EQ(table.Entry(128), Cp("Устанавливаются пользователем"));
  EXPECT_EQ(table.Entry(126), Cp("7 планет (асп) +3 (не асп) + узлы"));
  EXPECT_EQ(table.Entry(23), Cp("Отмена"));
  EXPECT_EQ(table.Entry(534), Cp("Признаки завершения"));
  for (int n = 0; n < table.Count(); ++n) {
    EXPECT_EQ(table.Entry(n).find('\r'), std::string::npos) << "entry " << n;
  }
}

TEST(ShippedLanguageFile, IsCrLfThroughoutAndPureCodePage1251) {
  const std::string bytes = ReadBytes(kShippedFolder + "/Options/LangH.lan");
  ASSERT_FALSE(bytes.empty());
  int lineEnds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r') {
      ASSERT_LT(i + 1, bytes.size()) << "CR at the end of the file";
      ASSERT_EQ(bytes[i + 1], '\n') << "lone CR at byte " << i;
      ++lineEnds;
      ++i;
      continue;
    }
    ASSERT_NE(b, '\n') << "LF without CR at byte " << i;
    // No other control character, and not the one byte the code page leaves undefined.
    ASSERT_GE(b, 0x20) << "control byte at " << i;
    ASSERT_NE(b, 0x7F) << "DEL at byte " << i;
    ASSERT_NE(b, 0x98) << "undefined code page 1251 byte at " << i;
  }
  EXPECT_EQ(lineEnds, kUiEntryCount);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "UTF-8 byte-order mark";
}

TEST(ShippedLanguageFile, MatchesItsUtf8Source) {
  // The file is generated from the reviewed UTF-8 source; a hand edit of
  // either side without regenerating shows up here.
  std::ifstream source(kSourceDir + "/scripts/factory/LangH.utf8.txt", std::ios::binary);
  ASSERT_TRUE(source.good());
  std::string expected;
  std::string line;
  int count = 0;
  while (std::getline(source, line)) {
    expected += Cp(line) + "\r\n";
    ++count;
  }
  EXPECT_EQ(count, kUiEntryCount);
  EXPECT_EQ(ReadBytes(kShippedFolder + "/Options/LangH.lan"), expected);
}

TEST(ShippedLanguageFile, AddedMessagesTakeTheirValues) {
  // Each message added after the designed table holds as many "%s" as its
  // caller fills in, so no value is dropped and none is left empty.
  const UiStringTable table = LoadShipped();
  const int wanted[][2] = {{kUiEntryFieldEmpty, 1},         {kUiEntryNotANumber, 2},
                           {kUiEntryMonthOutOfRange, 1},    {kUiEntryNoYearZero, 0},
                           {kUiEntryCharactersOutside, 2},  {kUiEntryTownWithoutName, 0},
                           {kUiEntryCountryTooLong, 0},     {kUiEntryZoneOutOfRange, 2},
                           {kUiEntryPictureTooSmall, 0},    {kUiEntryBadFileName, 1},
                           {kUiEntryOrbUnreadable, 2},      {kUiEntryFactorUnreadable, 2},
                           {kUiEntryPartsFull, 1},          {kUiEntryImportFailed, 2},
                           {kUiEntryImportAtLine, 2},       {kUiEntryImportUnknownMonth, 1},
                           {kUiEntryImportNotANumber, 1},   {kUiEntryImportNoDate, 0},
                           {kUiEntryImportShortFile, 1},    {kUiEntryImportNoData, 1},
                           {kUiEntrySearchUnreadable, 1},   {kUiEntryCoordinateOutOfRange, 3},
                           {kUiEntryDayOutOfRange, 3},      {kUiEntryTimeOutOfRange, 2},
                           {kUiEntryZoneBeyondLimit, 3},    {kUiEntryEmptyName, 0},
                           {kUiEntryImportShortLine, 2},    {kUiEntryPairChangedOnDisk, 1},
                           {kUiEntrySaveAnywayButton, 0},   {kUiEntryInterruptedSaveCompleted, 3},
                           {kUiEntryImportFileOfFormat, 2}, {kUiEntryImportOutOfRange, 4},
                           {kUiEntryImportFieldDay, 0},     {kUiEntryImportFieldFlag, 0}};
  for (const auto& [entry, count] : wanted) {
    const std::string& text = table.Entry(entry);
    EXPECT_FALSE(text.empty()) << "entry " << entry;
    int found = 0;
    for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
      ++found;
    EXPECT_EQ(found, count) << "entry " << entry;
  }
  EXPECT_EQ(FillEntry(table.Entry(kUiEntryNotANumber), {Cp("Широта"), "5x"}),
            Cp("Поле «Широта»: «5x» — не число."));
  // values go in as they are; missing ones leave nothing, extra ones are dropped
  EXPECT_EQ(FillEntry("%s-%s", {"%s", "b", "c"}), "%s-b");
  EXPECT_EQ(FillEntry("a %s b %s", {"1"}), "a 1 b ");
}

TEST(ShippedLanguageFile, ToggledCaptionsAreDistinguishable) {
  // The fill items and the chart window's one-object aspect filter decide
  // their state by comparing their caption with one entry, so each pair must
  // differ.
  const UiStringTable table = LoadShipped();
  const int pairs[][2] = {{50, 51}, {52, 53}, {58, 59}, {60, 61}};
  for (const auto& pair : pairs) {
    EXPECT_FALSE(table.Entry(pair[1]).empty()) << "entry " << pair[1];
    EXPECT_NE(table.Entry(pair[0]), table.Entry(pair[1]))
        << "entries " << pair[0] << ", " << pair[1];
  }
  for (int n = 439; n <= 452; ++n) {
    EXPECT_NE(table.Entry(438), table.Entry(n)) << "entry " << n;
  }
}

TEST(ShippedLanguageFile, EveryMenuCaptionAndOwnHintIsPresent) {
  const UiStringTable table = LoadShipped();
  for (const MenuCaptionEntry& caption : kMenuCaptionEntries) {
    EXPECT_FALSE(table.Entry(caption.entry).empty()) << caption.item;
  }
  for (const ToolButtonHintEntry& hint : kToolButtonHintEntries) {
    EXPECT_FALSE(table.Entry(hint.entry).empty()) << hint.button;
  }
}

// ---------------------------------------------------------------------------

TEST(LoadLanguage, ShortFileIsPaddedWithEmptyEntries) {
  const TempProgramFolder folder;
  folder.WriteLanguageFile(Cp("Заголовок\r\nFile\r\n\r\nПоследняя"));  // no final line end
  UiStringTable table;
  const UiStringLoad load = LoadLanguage(folder.Path(), table);
  ASSERT_TRUE(load.Loaded) << load.Message;
  EXPECT_EQ(load.FileLines, 4);
  ASSERT_EQ(table.Count(), kUiEntryCount);
  EXPECT_EQ(table.Entry(0), Cp("Заголовок"));
  EXPECT_EQ(table.Entry(1), "File");
  EXPECT_EQ(table.Entry(2), "");
  EXPECT_EQ(table.Entry(3), Cp("Последняя"));
  EXPECT_EQ(table.Entry(4), "");
  EXPECT_EQ(table.Entry(kUiEntryCount - 1), "");
  EXPECT_TRUE(ShowHelpItem(table));
}

TEST(LoadLanguage, LongerFileIsKeptWhole) {
  const TempProgramFolder folder;
  std::string bytes;
  const int lines = kUiEntryCount + 5;
  for (int n = 0; n < lines; ++n) bytes += "line " + std::to_string(n) + "\r\n";
  folder.WriteLanguageFile(bytes);
  UiStringTable table;
  ASSERT_TRUE(LoadLanguage(folder.Path(), table).Loaded);
  ASSERT_EQ(table.Count(), lines);
  EXPECT_EQ(table.Entry(lines - 1), "line " + std::to_string(lines - 1));
}

TEST(LoadLanguage, MissingOrUnreadableFileNamesThePath) {
  const TempProgramFolder folder;
  const std::string path = folder.Path() + "/Options/LangH.lan";
  UiStringTable table;
  table.Entries = {"kept"};
  UiStringLoad load = LoadLanguage(folder.Path(), table);
  EXPECT_FALSE(load.Loaded);
  EXPECT_EQ(load.Message, "Cannot open file " + path);
  ASSERT_EQ(table.Count(), 1);  // left as it was
  EXPECT_EQ(table.Entry(0), "kept");

  fs::create_directory(path);  // a folder where the file should be
  load = LoadLanguage(folder.Path(), table);
  EXPECT_FALSE(load.Loaded);
  EXPECT_EQ(load.Message, "Cannot open file " + path);
}

TEST(UiStringTable, EntryOutsideTheTableIsEmpty) {
  UiStringTable table;
  EXPECT_EQ(table.Entry(0), "");
  EXPECT_EQ(table.Entry(1), "");
  table.Entries = {"a", "b"};
  EXPECT_EQ(table.Entry(1), "b");
  EXPECT_EQ(table.Entry(2), "");
  EXPECT_EQ(table.Entry(-1), "");
  EXPECT_EQ(table.Entry(100000), "");
}

TEST(UiStringTable, HelpItemShownOnlyForExactlyFile) {
  UiStringTable table;
  EXPECT_FALSE(ShowHelpItem(table));  // no entry 1 at all
  const char* const others[] = {"file", "FILE", "File ", " File", "Files", ""};
  table.Entries = {"caption", "File"};
  EXPECT_TRUE(ShowHelpItem(table));
  for (const char* text : others) {
    table.Entries[1] = text;
    EXPECT_FALSE(ShowHelpItem(table)) << '"' << text << '"';
  }
  table.Entries[1] = Cp("Файл");
  EXPECT_FALSE(ShowHelpItem(table));
  table.Entries = {"File", "x"};  // "File" in another entry does not count
  EXPECT_FALSE(ShowHelpItem(table));
}

// ---------------------------------------------------------------------------

TEST(MenuCaptionTables, EveryItemOnceAndOnlyEntry128Shared) {
  std::set<std::string> items;
  std::multiset<int> entries;
  for (const MenuCaptionEntry& caption : kMenuCaptionEntries) {
    EXPECT_TRUE(items.insert(caption.item).second) << "item listed twice: " << caption.item;
    EXPECT_GE(caption.entry, 1);
    EXPECT_LT(caption.entry, kUiEntryCount);
    entries.insert(caption.entry);
  }
  for (int entry : std::set<int>(entries.begin(), entries.end())) {
    EXPECT_EQ(entries.count(entry), entry == 128 ? 2u : 1u) << "entry " << entry;
  }
  EXPECT_EQ(MenuCaptionEntryOf("N80"), 128);
  EXPECT_EQ(MenuCaptionEntryOf("N83"), 128);
  // The twenty-three house systems, N86 (Placidus) to N109, take entries 100..122.
  EXPECT_EQ(MenuCaptionEntryOf("N86"), 100);
  EXPECT_EQ(MenuCaptionEntryOf("N109"), 122);
  EXPECT_EQ(MenuCaptionEntryOf("N101"), 127);  // "10 планет + узлы", not a house system
  EXPECT_EQ(MenuCaptionEntryOf("Help"), -1);
  EXPECT_EQ(MenuCaptionEntryOf(""), -1);
}

TEST(MenuCaptionTables, ToolBarHintsResolveToEntries) {
  std::set<std::string> buttons;
  for (const ToolButtonHintEntry& hint : kToolButtonHintEntries) {
    EXPECT_TRUE(buttons.insert(hint.button).second) << hint.button;
  }
  for (const ToolButtonHintMenu& hint : kToolButtonHintFromMenu) {
    EXPECT_TRUE(buttons.insert(hint.button).second) << hint.button;
    EXPECT_NE(MenuCaptionEntryOf(hint.item), -1) << hint.button << " <- " << hint.item;
  }
  EXPECT_EQ(buttons.size(), 28u);
  // The undo button follows the caption of the undo item, entry 23.
  const UiStringTable table = LoadShipped();
  for (const ToolButtonHintMenu& hint : kToolButtonHintFromMenu) {
    if (std::string(hint.button) == "SpeedButton16") {
      EXPECT_EQ(table.Entry(MenuCaptionEntryOf(hint.item)), Cp("Отмена"));
    }
  }
}

}  // namespace
