// The calculation parameters without their window: the files of the
// parameters dialog (PRC1.opt, DBD.opt, RulTF.opt, rec.box under Options),
// the default place as the dialog's masked fields show and read it, the orb
// scale fields, the checks of a new topic and the restore of the factory
// settings from Options/Standart.
//
// Readers are all or nothing: a file is parsed into a copy and the caller's
// record changes only when every line read. Writers build a file whole and
// replace it atomically; no writer ever writes a number that is not finite.
//
// File layouts (line numbers from 0, one value a line, CR LF, code page 1251):
//   PRC1.opt   (written when the dialog closes, and by the factory restore)
//              0 a kept flag (non-zero reads as 1), 1 the table font name,
//              2 the double-chart orb factor (decimal), 3..12 five radio
//              pairs, each as two selected flags: save settings during work
//              (Yes, No), American degree labels (Yes, No), two hidden
//              double-chart pairs, American aspect lines (Yes, No) in the
//              order 3/4, 5/6, 7/8, 9/10, 11/12
//   DBD.opt    0 the folder of the chart databases, as the file system
//              spells it (UTF-8 on Linux, so any folder name survives); no
//              line or an empty line means the program folder
//   RulTF.opt  0 the term system 0..4, 1 the sign-ruler set 0..1
//   rec.box    0..3 the reception kinds on (domicile, exaltation, detriment, fall)
//
// No Qt here; the dialog moves text between its controls and these functions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/settingsfiles.h"
#include "input/datainput.h"
#include "mainwindow/uistrings.h"

// File names under Options.
inline constexpr const char* kParamFileName = "PRC1.opt";
inline constexpr const char* kDatabaseFolderFileName = "DBD.opt";
inline constexpr const char* kRulersFileName = "RulTF.opt";
inline constexpr const char* kReceptionFileName = "rec.box";

// Line counts of the files.
inline constexpr int kParamFileLines = 13;
inline constexpr int kRulersFileLines = 2;
inline constexpr int kReceptionFileLines = 4;

// Designed language entries of the refusals.
inline constexpr int kEntryTopicEmpty = 398;       // an empty topic text
inline constexpr int kEntryTopicHouseRange = 399;  // a house number outside 1..12
inline constexpr int kEntryTopicDeleteAsk = 400;   // the question before deleting a topic
inline constexpr int kEntryTopicFirstKept = 403;   // the first who-asks entry cannot be deleted
inline constexpr int kEntryRestoreDone = 391;      // the notice after the factory restore

// The term systems and the sign-ruler sets the dialog offers.
inline constexpr int kTermSystemCount =
    5;  // Egyptian, Chaldean, Ptolemaic, equal, with the higher planets
inline constexpr int kSignRulerSetCount = 2;  // the seven planets, with the higher planets

// The radio pairs of PRC1.opt, in the order of their lines.
enum ParamRadioPair : int {
  kPairSaveSettings = 0,  // RadioButton20 / RadioButton21
  kPairDegreeLabels = 1,  // RadioButton12 / RadioButton13
  kPairHidden14 = 2,      // RadioButton14 / RadioButton15 (double charts, no use)
  kPairAspectLines = 3,   // RadioButton16 / RadioButton17
  kPairHidden18 = 4,      // RadioButton18 / RadioButton19 (double charts, no use)
};
inline constexpr int kParamRadioPairs = 5;

// PRC1.opt.
struct ParamFile {
  std::uint8_t ParamFlag976 = 0;       // kept flag, no behaviour
  std::string TableFontName;           // code page 1251
  float DoubleChartOrbFactor = 0.25f;  // kept factor of the double charts
  // Selected flags of each pair, first and second button.
  std::array<std::array<std::uint8_t, 2>, kParamRadioPairs> Pairs{};
};

// RulTF.opt.
struct RulersChoice {
  int TermSystem = 0;    // 0..kTermSystemCount - 1
  int SignRulerSet = 0;  // 0 seven planets, 1 with the higher planets
};

// rec.box.
struct ReceptionChoice {
  std::array<std::uint8_t, 4> KindOn{1, 1, 0, 0};  // flag by reception kind
};

// Outcome of a reader or writer.
struct ParamFileResult {
  bool Ok = false;
  std::string Message;  // on failure: path, and line (from 1) when a value is at fault
};

// "<programFolder>/Options/<name>".
std::string OptionsFilePath(const std::string& programFolder, const std::string& name);

ParamFileResult ReadParamFile(const std::string& path, ParamFile& out);
ParamFileResult WriteParamFile(const std::string& path, const ParamFile& in);
std::vector<std::string> ParamFileLines(const ParamFile& in);

// The folder of DBD.opt, "" when the file holds no line or an empty one.
ParamFileResult ReadDatabaseFolderFile(const std::string& path, std::string& folder);
ParamFileResult WriteDatabaseFolderFile(const std::string& path, const std::string& folder);

// Out-of-range indices are brought into range on reading (below 0 gives 0,
// beyond the last choice the last), so no value of the file reaches the
// dignity tables unchecked; text that is no integer fails.
ParamFileResult ReadRulersFile(const std::string& path, RulersChoice& out);
ParamFileResult WriteRulersFile(const std::string& path, const RulersChoice& in);
// An index of a list of count choices brought into 0..count-1 (a combo box
// or radio group with nothing selected gives -1, which becomes 0).
int ClampChoice(int index, int count);

ParamFileResult ReadReceptionFile(const std::string& path, ReceptionChoice& out);
ParamFileResult WriteReceptionFile(const std::string& path, const ReceptionChoice& in);

// ---- the default place ---------------------------------------------------------

// The default-place page's fields, code page 1251, blanks as spaces.
struct DefaultPlaceFields {
  std::string LatitudeText;   // MaskEdit5 "dd:mm:ss": degrees 1-2, minutes 4-5, seconds 7-8
  bool South = false;         // RadioButton23 "Юг"
  std::string LongitudeText;  // MaskEdit6 "ddd:mm:ss": degrees 1-3, minutes 5-6, seconds 8-9
  bool West = false;          // RadioButton25 "Зап."
  std::string ZoneText;       // MaskEdit7 "hh?mm?ss?": hours 1-2, minutes 4-5, seconds 7-8
  bool ZoneWest = false;      // RadioButton27 "Зап."
};

// The fields that show a default place: degrees (hours), minutes and the
// nearest whole second of the absolute values, two digits a part (three for
// the longitude's degrees), and the hemispheres. A place of whole seconds
// reads back unchanged; any other moves by half a second at most.
DefaultPlaceFields FieldsOfDefaultPlace(const DefaultPlace& place, const TimeMarks& marks);

// Reads the fields into a default place. Parts out of range are folded until
// they are in range, never refused: latitude degrees beyond +-90 become 0;
// longitude degrees wrap by 360 into -180..180; zone hours lose 24 until
// below 24; minutes and seconds of the angles lose 60 until at most 60, those
// of the zone until below 60. The hemispheres then set the signs; the
// geocentric latitude follows the latitude. False with a message naming the
// field, and place unchanged, when a part holds a character that is no digit.
bool ParseDefaultPlace(const DefaultPlaceFields& fields, DefaultPlace& place, std::string& message);

// ---- the orb scale ---------------------------------------------------------------

// "1.5" style text of at most four characters (the locale's separator).
std::string ShortNumberText(double value);
// The value of an orb-scale field (Edit2, or Edit3 with its trailing degree
// sign removed): a finite number above 0, else false (empty, zero, negative,
// text that is no number), so its reciprocal is always finite.
bool ParseOrbScaleText(const std::string& text, float& value);
// Edit3's text less its last character when that is the degree sign
// (code page 1251 byte 0xB0).
std::string WithoutDegreeSign(const std::string& text);

// ---- the topics ------------------------------------------------------------------

// The house of a new topic: 0 and the house 1..12 in house, or the language
// entry of the refusal (kEntryTopicEmpty for an empty topic text,
// kEntryTopicHouseRange for a house text that is no number within 1..12).
int CheckNewTopic(const std::string& topic, const std::string& houseText, int& house);

// A topic list of the house-choice windows with its parallel list of houses
// (0..11 as text): C12.box with S12.box, C13.box with S13.box, C21.box with
// S21.box under Options.
struct TopicListFiles {
  std::string TopicsName;  // e.g. "C12.box"
  std::string HousesName;  // e.g. "S12.box"
  LineList Topics;         // code page 1251
  LineList Houses;         // line i: the house of topic i less 1
};
inline constexpr const char* kTopicListNames[3][2] = {
    {"C12.box", "S12.box"}, {"C13.box", "S13.box"}, {"C21.box", "S21.box"}};

// Reads both lists; on failure the lists are left empty and the message names the file.
ParamFileResult ReadTopicListFiles(const std::string& programFolder, TopicListFiles& list);
// Writes both lists whole.
ParamFileResult SaveTopicListFiles(const std::string& programFolder, const TopicListFiles& list);
// Appends a topic with its house 1..12 (stored less 1).
void AddTopic(TopicListFiles& list, const std::string& topic, int house);
// Removes topic index and its house; false when index names no topic.
bool RemoveTopic(TopicListFiles& list, int index);

// ---- the factory restore ---------------------------------------------------------

// The files the restore copies from Options/Standart to Options, in order.
inline constexpr const char* kFactoryRestoreFiles[18] = {
    "ALMD.opt", "ALMN.opt", "AOR1.opt", "CA.opt",   "CH.opt",    "CS.opt",
    "DBD.opt",  "IF.opt",   "KA1.opt",  "KR.opt",   "KSBS1.opt", "OPT.opt",
    "PAR.opt",  "SP.opt",   "TAP1.opt", "TDA1.opt", "TDO1.opt",  "PRC1.opt"};

struct FactoryRestoreResult {
  bool Ok = false;
  std::string Detail;  // on failure: the file that is missing or damaged, and why
};

// Copies the factory files. Every file is read and checked first (the chart
// settings, PRC1.opt and DBD.opt must parse); when one is missing or damaged
// nothing is copied. Then each is written to Options atomically, as read.
FactoryRestoreResult RestoreFactorySettings(const std::string& programFolder);
