// Radicality: the twelve considerations before judgement that decide whether
// a horary chart may be judged, as a list of failed tests over the chart
// record, and the verdict and detailed texts of the radicality window.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "judgement/significators.h"
#include "judgement/timedsearch.h"

inline constexpr int kRadicalityTests = 12;

// The tests in flag order.
enum RadicalityTest : int {
  kEarlyAscendant = 0,      // querent's cusp below 3 deg of its sign
  kLateAscendant = 1,       // querent's cusp above 26 deg of its sign
  kMoonViaCombusta = 2,     // Moon in 195..225 deg and not within 1 deg of Spica (star 48)
  kSaturnInFirst = 3,       // Saturn in the first house, not the querent's significator
  kMoonCombust = 4,         // Moon combust
  kQuerentCombust = 5,      // querent's significator combust
  kQuesitedCombust = 6,     // quesited's significator combust
  kMoonUnderBeams = 7,      // Moon under the Sun's beams
  kQuerentUnderBeams = 8,   // querent's significator under the beams
  kQuesitedUnderBeams = 9,  // quesited's significator under the beams
  kMoonVoidOfCourse = 10,   // Moon void of course
  kSaturnInSeventh = 11,    // Saturn in the seventh house when the querent asks for himself
};

// What the tests are given besides the chart.
struct RadicalityInput {
  int QuerentSignificator = -1;   // first querent significator, -1 none
  int QuesitedSignificator = -1;  // first quesited significator, -1 none
  bool AsksForHimself = false;    // the first "who asks" topic is chosen
  int SignRulerOption = 0;        // 0 seven planets, 1 with the outer planets
};

struct RadicalityResult {
  bool Radical = true;                          // no test failed
  std::array<bool, kRadicalityTests> Failed{};  // by RadicalityTest
  bool SaturnRetrograde = false;                // picks the text of test kSaturnInFirst
};

// Runs the twelve tests. Nearness to the Sun is measured by the shorter arc
// (across 0 deg Aries too). The void-of-course test asks `search` for sign
// exits and perfections; a search that finds nothing counts as no event.
// The houses of the points come from SortedPoints as the wheel's drawing
// leaves them.
RadicalityResult AnalyseRadicality(const ChartRecord& record, const RadicalityInput& input,
                                   const TimedSearch& search);

// True when the Moon is void of course: it perfects no major aspect before
// it leaves its sign (the void-of-course test alone).
bool MoonVoidOfCourse(const ChartRecord& record, int signRulerOption, const TimedSearch& search);

// Verdict lines of the window: "radical" alone, or "not radical" and one
// line per failed test in flag order (language-file entries).
std::vector<std::string> RadicalityVerdict(const RadicalityResult& result,
                                           const std::vector<std::string>& uiText);

// Name of the interpretation file of a test under Options.
const char* RadicalityTextFile(int test, bool saturnRetrograde);

// Detailed texts: for a radical chart entry 469 alone; otherwise entry 468,
// an empty line, bt.txt, an empty line, then each failed test's file and an
// empty line. A file that cannot be read puts "Cannot open file <path>" in
// its place and the texts go on.
std::vector<std::string> RadicalityDetails(const RadicalityResult& result,
                                           const std::vector<std::string>& uiText,
                                           const std::string& programFolder);

inline constexpr int kEntryRadical = 453;
inline constexpr int kEntryNotRadical = 454;
inline constexpr int kEntryFirstTestLine = 455;  // test t is entry 455 + t
inline constexpr int kEntryDetailsNotRadical = 468;
inline constexpr int kEntryDetailsRadical = 469;
