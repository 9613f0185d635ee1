// The interface string table: every caption, hint and message the program
// shows, loaded once at start from the language file Options/LangH.lan under
// the program folder. Entry i is line i of that file (counted from 0), text in
// code page 1251. Windows address the table by fixed entry numbers; replacing
// the file changes the language.
//
// Besides the table and its loader this header carries, as plain data, which
// entry gives each main-menu caption and each tool-bar hint, so that the main
// window can apply them when it is built. No window code lives here.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The highest entry any window reads is 619, so a complete file has 620 lines.
inline constexpr int kUiEntryCount = 620;

// Entries added after the designed table (which ends at 534): the messages
// of the input dialogs. "%s" stands for a text filled in, in order.
inline constexpr int kUiEntryFieldEmpty = 535;         // "%s": the field's label
inline constexpr int kUiEntryNotANumber = 536;         // the field's label, the text typed
inline constexpr int kUiEntryMonthOutOfRange = 537;    // the month typed
inline constexpr int kUiEntryNoYearZero = 538;         // -
inline constexpr int kUiEntryCharactersOutside = 539;  // the field's label, the characters named
inline constexpr int kUiEntryTownWithoutName = 540;    // -
inline constexpr int kUiEntryCountryTooLong = 541;     // -
inline constexpr int kUiEntryZoneOutOfRange = 542;     // hours, minutes typed
// Entries 543..545 are the judgement windows' (judgement/ui/judgementui.h).
// Entries 588..589 are the signs of completion's (judgement/completion.h).
// The calculation parameters and the upkeep of the settings files; each is
// followed by a space and the detail (the values typed, a path, a list entry).
inline constexpr int kUiEntryOrbScaleRefused = 546;  // Edit2 or Edit3 holds no number above 0
inline constexpr int kUiEntryRestoreRefused = 547;  // a factory settings file is missing or damaged
inline constexpr int kUiEntryUpkeepMissingFile =
    548;  // a file the separator upkeep needs is missing
inline constexpr int kUiEntryUpkeepForeignEntry = 549;  // a list of the upkeep names a path
inline constexpr int kUiEntryPictureTooSmall = 550;     // picture options: a size below 1
inline constexpr int kUiEntryBadFileName = 551;         // window export: the name typed
// The messages of the orbs and Arabic-parts editors.
inline constexpr int kUiEntryOrbUnreadable = 552;     // the pair of objects (or empty), the text
inline constexpr int kUiEntryFactorUnreadable = 553;  // the aspect kind, the text
inline constexpr int kUiEntryPartsFull = 554;         // the number of places
// The dignity files, refused at start; "%s" the file, the line and the field.
inline constexpr int kUiEntryDignityNotANumber = 555;  // file, line, the field's text
inline constexpr int kUiEntryDignityNotABody = 556;    // file, line, the field's text
inline constexpr int kUiEntryDignityTermEnds = 557;    // file, line
inline constexpr int kUiEntryDignityTooShort = 558;    // file, the first missing line
// The dynamics window: an aspect kind it cannot time, and the marks of a
// window edge its search did not reach.
inline constexpr int kUiEntryDynamicsUntimedKind = 559;  // -
inline constexpr int kUiEntryDynamicsOpenStart = 560;    // -
inline constexpr int kUiEntryDynamicsOpenEnd = 561;      // -
// Blanks and their printing.
inline constexpr int kUiEntryBlankListLength = 562;   // the file, its lines, the lines it must have
inline constexpr int kUiEntryBlankValueBad = 563;     // the file, the line number, the line
inline constexpr int kUiEntryDropWithoutBlank = 564;  // -
inline constexpr int kUiEntryNameBadText = 565;       // - (a heading or blank name refused)
inline constexpr int kUiEntryHeadingInUse = 566;      // the heading, the blank holding it
inline constexpr int kUiEntryPrintedToPdf = 567;      // the PDF file
// The chart database's questions and refusals.
inline constexpr int kUiEntryDatabaseChanged = 568;    // the database's name: save the changes?
inline constexpr int kUiEntrySaveButton = 569;         // the question's button that saves
inline constexpr int kUiEntryDiscardButton = 570;      // the question's button that discards
inline constexpr int kUiEntryRootNoFileName = 571;     // the database's name, no file name
inline constexpr int kUiEntryOverwriteForeign = 572;   // a file of another database: replace?
inline constexpr int kUiEntryDatabaseNotOpened = 573;  // the reason, naming file and line
inline constexpr int kUiEntryRecordUnreadable = 574;   // the chart's name, the reason
// The import of other programs' chart files and the search on disk.
inline constexpr int kUiEntryImportFailed = 575;        // the file, the detail (one of the next)
inline constexpr int kUiEntryImportAtLine = 576;        // the line number, what is wrong there
inline constexpr int kUiEntryImportUnknownMonth = 577;  // the month's text
inline constexpr int kUiEntryImportNotANumber = 578;    // the field's text
inline constexpr int kUiEntryImportNoDate = 579;        // -
inline constexpr int kUiEntryImportShortFile = 580;     // the number of lines
inline constexpr int kUiEntryImportNoData = 581;        // the name
inline constexpr int kUiEntrySearchUnreadable = 582;    // the number skipped
// A database pair that will not open beside the temporary files of a save cut short.
inline constexpr int kUiEntryInterruptedSave = 583;  // the temporary files
// A foreign chart line that ends inside or before a field.
inline constexpr int kUiEntryImportShortLine = 584;  // the line's length, the field's name
// The data-input dialog: a place beyond the pole or the date line.
inline constexpr int kUiEntryCoordinateOutOfRange =
    585;  // the field's label, the text typed, the limit
// The data-input dialog, under the zone of a chosen town: a local time the
// town's clock skipped (the later zone taken) or showed twice (the first).
inline constexpr int kUiEntryClockSkipped = 586;   // -
inline constexpr int kUiEntryClockRepeated = 587;  // -
// The data-input dialog: a day beyond its month, a time or a zone out of range.
inline constexpr int kUiEntryDayOutOfRange = 590;  // the field's label, the day typed, the last day
inline constexpr int kUiEntryTimeOutOfRange = 591;  // the field's label, the time typed
inline constexpr int kUiEntryZoneBeyondLimit =
    592;  // the field's label, the zone typed, the largest hours
// A name that is the only handle of what it names (a database, a section,
// an Arabic part) left empty.
inline constexpr int kUiEntryEmptyName = 593;  // -
// The pair on disk changed since it was read: save anyway?
inline constexpr int kUiEntryPairChangedOnDisk = 594;  // the record file
inline constexpr int kUiEntrySaveAnywayButton = 595;   // the question's button that saves
// A load finished a save cut short.
inline constexpr int kUiEntryInterruptedSaveCompleted = 596;  // record file, temporary, tree file
// The import's failures: the file with its format, a value out of range.
inline constexpr int kUiEntryImportFileOfFormat = 597;  // the file, the format's name
inline constexpr int kUiEntryImportOutOfRange = 598;    // field's name, value, lowest, highest
// The names of the fields of a foreign chart, in a failure's message.
inline constexpr int kUiEntryImportFieldDay = 599;
inline constexpr int kUiEntryImportFieldMonth = 600;
inline constexpr int kUiEntryImportFieldYear = 601;
inline constexpr int kUiEntryImportFieldHour = 602;
inline constexpr int kUiEntryImportFieldMinute = 603;
inline constexpr int kUiEntryImportFieldSecond = 604;
inline constexpr int kUiEntryImportFieldZoneHours = 605;
inline constexpr int kUiEntryImportFieldZoneMinutes = 606;
inline constexpr int kUiEntryImportFieldZoneSeconds = 607;
inline constexpr int kUiEntryImportFieldZoneSide = 608;
inline constexpr int kUiEntryImportFieldLatitudeDegrees = 609;
inline constexpr int kUiEntryImportFieldLatitudeMinutes = 610;
inline constexpr int kUiEntryImportFieldLatitudeSeconds = 611;
inline constexpr int kUiEntryImportFieldLatitudeSide = 612;
inline constexpr int kUiEntryImportFieldLongitudeDegrees = 613;
inline constexpr int kUiEntryImportFieldLongitudeMinutes = 614;
inline constexpr int kUiEntryImportFieldLongitudeSeconds = 615;
inline constexpr int kUiEntryImportFieldLongitudeSide = 616;
inline constexpr int kUiEntryImportFieldPlace = 617;
inline constexpr int kUiEntryImportFieldComment = 618;
inline constexpr int kUiEntryImportFieldFlag = 619;

// The labels of the chart-objects dialog, designed placeholders of the table.
inline constexpr int kUiEntryAspectationCaption = 262;
inline constexpr int kUiEntryAspectedColumn = 263;
inline constexpr int kUiEntryDrawnColumn = 264;
inline constexpr int kUiEntryPlanetsPanel = 265;
inline constexpr int kUiEntryHousesPanel = 266;

// Entry 1 is the caption of the first menu; the top-level Help item is shown
// only when it reads exactly this text.
inline constexpr std::string_view kHelpMenuTrigger = "File";

struct UiStringTable {
  std::vector<std::string> Entries;  // code page 1251; entry i = line i of the file

  // Entry n, or an empty string when n lies outside the table (negative or
  // beyond the last line), so a reader never goes out of range.
  const std::string& Entry(int n) const;
  // Number of entries held.
  int Count() const { return static_cast<int>(Entries.size()); }
};

// Outcome of LoadLanguage.
struct UiStringLoad {
  bool Loaded = false;  // false: the file could not be opened or read
  std::string Message;  // on failure "Cannot open file <path>"; the caller stops the start with it
  int FileLines = 0;    // lines the file held; fewer than kUiEntryCount means the table was padded
};

// Path of the language file under a program folder.
std::string LanguageFilePath(const std::string& programFolder);

// Reads programFolder + "/Options/LangH.lan" into table, one entry per line.
// A file of fewer than kUiEntryCount lines is padded with empty entries up to
// kUiEntryCount, so every fixed entry number is readable; a longer file is
// kept whole. On failure table is left as it was.
UiStringLoad LoadLanguage(const std::string& programFolder, UiStringTable& table);

// An entry's text with each "%s" replaced by the next of values, in order (a
// "%s" left over becomes empty, a value left over is dropped). The values are
// put in as they are, so a "%s" inside a value stays.
std::string FillEntry(std::string_view text, std::initializer_list<std::string_view> values);

// True only when entry 1 reads exactly "File": then the top-level Help menu
// item is shown.
bool ShowHelpItem(const UiStringTable& table);

// ---------------------------------------------------------------------------
// Main-menu captions and tool-bar hints by entry number.

struct MenuCaptionEntry {
  int entry;         // entry of the interface string table
  const char* item;  // menu item name in the main menu
};

// Caption of every main-menu item that takes its text from the table, grouped
// by the menu that holds it. Entry 128 is shared by N80 (chart objects) and
// N83 (chart aspects). Separators, the hidden items of the analysis menu and
// the top-level Help item keep their built-in captions and are not listed.
inline constexpr MenuCaptionEntry kMenuCaptionEntries[] = {
    // menu bar
    {1, "N1"},
    {2, "N2"},
    {3, "N3"},
    {4, "N67"},
    {5, "N55"},
    {6, "N4"},
    {7, "N48"},
    {8, "N5"},
    {9, "N6"},
    {10, "N7"},
    // N1 file
    {11, "N8"},
    {12, "N9"},
    {13, "N10"},
    {16, "N15"},
    {17, "N16"},
    {18, "N110"},
    {21, "N18"},
    {22, "N20"},
    // N110 documents
    {19, "N47"},
    {20, "N134"},
    // N2 edit
    {23, "N21"},
    {24, "N23"},
    {25, "BMP1"},
    {26, "N25"},
    // N3 view
    {27, "N71"},
    {28, "N73"},
    {29, "N74"},
    {30, "N75"},
    {31, "N26"},
    {32, "N27"},
    {33, "N29"},
    {36, "N30"},
    {41, "N32"},
    {44, "N33"},
    // N29 drawing style
    {34, "N61"},
    {35, "N62"},
    // N30 orientation
    {37, "N63"},
    {38, "N64"},
    {39, "N65"},
    {40, "N66"},
    // N32 minor-aspect lines
    {42, "N111"},
    {43, "N112"},
    // N33 colours
    {45, "N113"},
    {50, "N118"},
    {52, "N119"},
    {54, "N120"},
    {58, "N124"},
    {60, "N125"},
    {62, "N126"},
    {63, "N127"},
    {64, "N128"},
    {65, "N129"},
    {66, "N130"},
    {67, "N131"},
    // N113 elements
    {46, "N114"},
    {47, "N115"},
    {48, "N116"},
    {49, "N117"},
    // N120 houses
    {55, "N121"},
    {56, "N122"},
    {57, "N123"},
    // N131 aspect colours
    {68, "N132"},
    {69, "N133"},
    // N67 data
    {14, "N12"},
    {15, "N13"},
    {72, "N85"},
    {73, "N68"},
    {74, "N69"},
    {75, "N70"},
    // N55 question
    {472, "N56"},
    {473, "N57"},
    // N4 analysis
    {277, "N143"},
    {467, "N49"},
    {478, "N50"},
    {494, "N51"},
    {495, "N145"},
    {534, "N53"},
    // N48 tables
    {76, "N45"},
    {77, "N135"},
    {78, "N46"},
    {79, "N137"},
    {80, "N138"},
    // N5 service
    {99, "N77"},
    {124, "N35"},
    {129, "N36"},
    {132, "N140"},
    {133, "N141"},
    {134, "N38"},
    {135, "N34"},
    // N77 house systems 1..23
    {100, "N86"},
    {101, "N87"},
    {102, "N88"},
    {103, "N89"},
    {104, "N90"},
    {105, "N91"},
    {106, "N92"},
    {107, "N93"},
    {108, "N94"},
    {109, "N95"},
    {110, "N96"},
    {111, "N97"},
    {112, "N98"},
    {113, "N99"},
    {114, "N100"},
    {115, "N102"},
    {116, "N103"},
    {117, "N104"},
    {118, "N105"},
    {119, "N106"},
    {120, "N107"},
    {121, "N108"},
    {122, "N109"},
    // N35 chart objects
    {125, "N78"},
    {126, "N79"},
    {127, "N101"},
    {128, "N80"},
    // N36 chart aspects
    {128, "N83"},
    {130, "N81"},
    {131, "N82"},
    // N6 window (hidden)
    {136, "N39"},
    {137, "N40"},
    {138, "N41"},
    {139, "N43"},
    // N7 "?"
    {140, "N44"},
};

struct ToolButtonHintEntry {
  const char* button;  // tool-bar button name
  int entry;           // entry of the interface string table giving its hint
};

// Buttons of the database, document, export and house-choice commands: their
// hint is an entry of its own.
inline constexpr ToolButtonHintEntry kToolButtonHintEntries[] = {
    {"SpeedButton1", 11},  {"SpeedButton2", 12},   {"SpeedButton23", 14},  {"SpeedButton24", 15},
    {"SpeedButton3", 16},  {"SpeedButton4", 19},   {"SpeedButton18", 20},  {"SpeedButton9", 21},
    {"SpeedButton5", 24},  {"SpeedButton7", 25},   {"SpeedButton27", 73},  {"SpeedButton25", 74},
    {"SpeedButton26", 75}, {"SpeedButton12", 472}, {"SpeedButton13", 473},
};

struct ToolButtonHintMenu {
  const char* button;  // tool-bar button name
  const char* item;    // menu item whose caption becomes the hint
};

// The other buttons take as hint the caption of the menu item they stand for.
inline constexpr ToolButtonHintMenu kToolButtonHintFromMenu[] = {
    {"SpeedButton8", "N45"},   {"SpeedButton66", "N46"}, {"SpeedButton10", "N135"},
    {"SpeedButton11", "N137"}, {"SpeedButton6", "N138"}, {"SpeedButton20", "N85"},
    {"SpeedButton21", "N35"},  {"SpeedButton22", "N36"}, {"SpeedButton54", "N143"},
    {"SpeedButton14", "N49"},  {"SpeedButton15", "N50"}, {"SpeedButton17", "N53"},
    {"SpeedButton16", "N21"},
};

// Entry that gives the caption of a main-menu item, or -1 when the item takes
// no caption from the table.
int MenuCaptionEntryOf(std::string_view item);
