// The signs of completion: for every pair of a querent's and a quesited's
// significator, the events that bring the matter about (the pair's own
// perfection, refranation, prohibition, translation and collection of light, frustration,
// siege, and two events of the Sun and the Moon), each timed by the search
// for the moment of an aspect. Also the list text of the results window.
#pragma once

#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "judgement/significators.h"
#include "judgement/timedsearch.h"

// Kinds of event, as written on line 3 of an event.
enum CompletionKind : int {
  kPerfection = 1,       // the pair's own aspect perfects before either leaves its sign
  kTransferOfLight = 2,  // a third point, aspecting both, perfects with the other
  kCollection = 3,       // a slower third point collects the light of both
  kTranslation = 4,      // a faster third point carries the light from one to the other
  kNewMoonInSign = 5,    // Sun and Moon in one sign meet before the Sun leaves it
  kProhibition = 6,      // a third point perfects with one of the pair first
  kLatePerfection = 7,   // the pair perfects only after both have left their signs
  kFrustration = 8,      // a third point interposes
  kSiege = 9,            // a significator besieged by malefics
  kSunMoonAspect = 10,   // sextile or trine of the Sun and the Moon before either leaves its sign
  kRefranation = 11,     // one of the pair turns before their aspect perfects
};

// One event. Point3 is 0 for the kinds 1, 5, 7 and 10; for kind 9 the pair
// and, as third point, the besieged point itself; for kind 11 the pair and,
// as third point, the one of them that turns, with the moment it turns.
struct CompletionEvent {
  int Point1 = 0;  // chart point 0..17
  int Point2 = 0;
  int Point3 = 0;
  int Kind = 0;       // CompletionKind
  std::string Text;   // code page 1251
  double Moment = 0;  // days, Julian day on the chart time scale
};

// A pair of significators the run could not judge.
struct SkippedPair {
  enum Reason {
    kSamePoint,  // both significators are one point (e.g. the Moon on both sides)
    kUntimed,    // a point the search cannot time (Part of Fortune, Cross of Fate)
  };
  int Querent = 0;   // point of the querent's slot
  int Quesited = 0;  // point of the quesited's slot
  Reason Why = kSamePoint;
};

struct CompletionRun {
  std::vector<CompletionEvent> Events;  // in the order found
  std::vector<SkippedPair> Skipped;     // pairs left out, in slot order
};

// Runs the signs of completion over the chart and the two lists with the
// given search (EngineSearch in the program). Every search that finds
// nothing within its bound counts as no event; a sign exit not found counts
// as staying in the sign. Event texts are made from the language file.
// The record must be recomputed and ranked as the wheel's drawing leaves it
// (AspectKind, AspectApplying, DailyMotion, Retrograde, SortedPoints).
CompletionRun FindCompletionEvents(const ChartRecord& record, const SignificatorLists& lists,
                                   int signRulerOption, const std::vector<std::string>& uiText,
                                   const TimedSearch& search);

// The program-wide list CompletionEvents: six lines an event (point 1,
// point 2, point 3, kind, text, moment with 15 significant digits).
std::vector<std::string> CompletionEventLines(const std::vector<CompletionEvent>& events);
// The events back from the six-line list; a list whose lines do not parse
// gives the events before the first bad one.
std::vector<CompletionEvent> ParseCompletionEventLines(const std::vector<std::string>& lines);

// Local civil date and time of a moment on the chart time scale, as the
// results window lists it: Delta T taken off, the zone (hours) and half a
// second added; "d.m.yyyy  h:m:s", no leading zeros, two blanks between
// date and time. JD 2451545.0 in zone 3 gives "1.1.2000  14:58:42".
std::string CompletionMomentText(double julianDay, float timeZone);

// A list line of the results window: the event's text, " (", the moment
// text, ")".
std::string CompletionListLine(const CompletionEvent& event, float timeZone);

// The line that says a pair was left out and why, with the points' names.
std::string SkippedLine(const ChartRecord& chart, const SkippedPair& pair,
                        const std::vector<std::string>& uiText);
// The lines of a run as the results window lists and a blank prints them,
// each event with its moment, then the pairs left out; with no event the
// message that nothing was found heads the pairs.
std::vector<std::string> CompletionResultLines(const ChartRecord& chart, const CompletionRun& run,
                                               const std::vector<std::string>& uiText);

// The points whose dignity rows the results window shows for an event:
// none for the kinds 5 and 7, the pair for 1 and 10, the three points
// otherwise, each once (a besieged point is both in the pair and the
// third); points without a dignity row are left out.
std::vector<int> CompletionDetailPoints(const CompletionEvent& event);

// Interpretation file of an event kind under Options ("A.txt" for kind 1 ..
// "Ap.txt" for kind 10, "Rf.txt" for kind 11); nullptr outside 1..11.
const char* CompletionTextFile(int kind);

// Language-file entries of the completion run.
inline constexpr int kEntryNewMoonInSign = 517;
inline constexpr int kEntryProhibition = 518;
inline constexpr int kEntryThirdPoint = 519;
inline constexpr int kEntryFrustration = 520;
inline constexpr int kEntrySunMoonAspect = 521;
inline constexpr int kEntryTransfer = 522;
inline constexpr int kEntryCollection = 523;
inline constexpr int kEntryTranslation = 524;
inline constexpr int kEntrySiege = 525;
inline constexpr int kEntryLatePerfection = 526;
inline constexpr int kEntryNothingFound = 527;
// Entries added after the designed table.
inline constexpr int kEntrySkippedSamePoint = 544;  // a pair of one point was left out
inline constexpr int kEntrySkippedUntimed = 545;    // a pair with a point the search cannot time
inline constexpr int kEntryResultsHint = 516;
inline constexpr int kEntryRefranation = 588;
inline constexpr int kEntryTurnsBeforeAspect = 589;
