// The chart record: the one current chart of the program together with every
// chart and display setting, and the fixed tables it carries (sign rulers,
// aspect angles and names, glyph characters, glyph sizes, the fixed stars).
//
// The record is plain data. The chart window owns the only instance; every
// other part of the program reads and writes its fields directly. This folder
// holds no window code and includes no Qt header: the windows apply what the
// functions here return.
//
// Index conventions used throughout: body b 0..17 (0 Sun .. 17 "Крест
// Судьбы"), chart object o 0..35 (0..17 the bodies, 18..29 the twelve house
// cusps counted from the querent's house, 30..35 the six special points),
// aspect kind k 0..29, sign 0 Aries .. 11 Pisces. In index-valued fields the
// integer 50 means "none". Arrays described as "indexed from 1" carry an unused
// element 0. Text is code page 1251.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/houses.h"
#include "engine/timing.h"

inline constexpr int kBodyCount = 18;
inline constexpr int kObjectCount = 36;
inline constexpr int kAspectKindCount = 30;
inline constexpr int kFixedStarCount = 73;
inline constexpr int kMaxArabicParts = 100;
inline constexpr int kGlyphSizeCount = 26;
inline constexpr int kNone = 50;  // "none" in index-valued fields

// One Arabic part: A + sign(B) * B + sign(C) * C over the 42 operand points.
struct PartRecord {
  std::string Name;     // display name, code page 1251
  int A = 0;            // operand code 0..41: 0..11 cusps, 12..29 bodies, 30..41 house rulers
  int B = 0;            // operand code 0..41
  int C = 0;            // operand code 0..41
  int SignModeB = 0;    // 0 plus, 1 minus, 2 plus by day / minus by night, 3 the reverse
  int SignModeC = 0;    // as SignModeB
  int Sex = 0;          // 0 any querent, 1 men, 2 women
  float Longitude = 0;  // degrees [0, 360), computed
};

// One place of the ranking of the bodies by longitude (glyph placement).
struct SortedPoint {
  int Body = 0;            // body index 0..17 of this place
  int Sign = 0;            // 1..12, 1 = Aries
  int Row = 0;             // glyph row in the European wheel, 1 outer, 2 inner
  int House = 0;           // 1..12, counted from the querent's house
  int HouseRankBody = 0;   // body index of this place of the ranking by house position
  int HouseRankHouse = 0;  // house sector 1..12 of that entry
  int HouseRankOf = 0;     // place, in the house ranking, of the body whose index is this place
};

struct ChartRecord {
  std::uint8_t AspectApplying[18][18] = {};  // flag: 1 applying, 0 separating or none
  std::uint8_t ReceptionSwap = 0;            // flag: chart shown with mutual receptions swapped
  int ReceptionShift[12] = {};          // signs by which body 0..11 moves in the swap; 0 = none
  std::uint8_t HouseRoutineSwitch = 0;  // passed to the house-cusp routine; always 0
  int DragObject = 0;                   // chart object where a wheel drag began; -1 or 50 none
  int DropObject = 0;                   // chart object where it ended; -1 or 50 none
  int DomicileRuler[12] = {};           // body index, by sign
  int ExaltationRuler[12] = {};         // body index, by sign
  int DetrimentRuler[12] = {};          // body index, by sign
  int FallRuler[12] = {};               // body index, by sign
  int Receptions[12][4] = {};           // partner body by body 0..11 and kind 0..3; 50 none
  int PrevGeocentric = 0;               // always 0; written to the settings, never used
  int Geocentric = 0;                   // always 1 (geocentric chart) after construction
  int ChartStyle = 0;                   // 1 European wheel, other values American
  int WheelOrientation = 0;             // 1 Aries left, 2 Aries right, 3 Asc left, 4 Asc right
  int HatchElements = 0;                // 0 element sectors cross-hatched, else solid
  int HatchHouses = 0;                  // 0 house sectors cross-hatched, else solid
  int HouseSystem = 0;                  // 1..23 in the order of the house-system menu
  std::string HouseSystemNames[24];     // status-bar name of system n, indexed from 1
  std::string RulerNames[8];  // day/hour rulers Sun Moon Mars Mercury Jupiter Venus Saturn, from 1
  std::string FixedStarNames[74];        // name of star s at element s + 1
  int FixedStarClass[73] = {};           // class 1..6
  float FixedStarLon1950[73] = {};       // degrees, longitude at 1950.0
  float FixedStarMotion[73] = {};        // degrees per year, annual motion in longitude
  float FixedStarLongitude[73] = {};     // degrees [0, 360) at the chart's moment
  int HouseRulerMethod = 0;              // 0 sign ruler, 1 ruler with house extent, 2 almuten
  int HouseRuler[12] = {};               // body ruling house h at element h - 1
  float HouseRulerLongitude[12] = {};    // degrees, longitude of that body
  int AlmutenDay[360] = {};              // body index of the almuten of each whole degree, day
  int AlmutenNight[360] = {};            // the same for night charts
  int PartCount = 0;                     // valid records in ArabicParts, 0..100
  PartRecord ArabicParts[100];           // part i at element i - 1
  int DayChart = 0;                      // +1 day chart, -1 night chart
  int PlanetaryHour = 0;                 // 1..24
  int LunarDay = 0;                      // 1..30
  std::uint8_t AspectListShown = 0;      // flag: main window's aspect list shown
  std::string ChartName;                 // chart name (status bar, database record name)
  std::string ChartComment;              // comment or question
  std::string PlaceName;                 // place name
  std::uint8_t RecordFlag = 0;           // database record flag; 1 for a chart cast here
  double JulianDayUT = 0;                // days, Julian day on the chart time scale (UT + Delta T)
  double JulianDay0h = 0;                // days, Julian day of 0h UT of the chart's date
  float UniversalTime = 0;               // hours
  float GeocentricLatitude = 0;          // degrees, phi - 0.19242777777777778 sin 2phi
  float GeoLongitude = 0;                // degrees, East positive
  float GeoLatitude = 0;                 // degrees, North positive
  double UndoJulianDayUT = 0;            // days, moment before the last change of time
  double UndoJulianDay0h = 0;            // days
  float UndoUniversalTime = 0;           // hours
  float TimeZone = 0;                    // hours, East positive; local = UT + zone
  std::string ObjectNames[49];           // name of object o at o + 1; 37..48 further names
  double EclipticLongitude[18] = {};     // degrees [0, 360)
  double EclipticLatitude[18] = {};      // degrees
  double BodyDistance[18] = {};          // AU; the Moon in Earth radii
  double DailyMotion[18] = {};           // degrees per day
  std::uint8_t Retrograde[18] = {};      // flag
  SortedPoint SortedPoints[18];          // bodies ranked by longitude
  float CuspsAndPoints[18] = {};         // degrees; 0..11 HouseCusps, 12..17 SpecialPoints
  float SpecialPoints[6] = {};           // degrees, chart objects 30..35
  std::uint8_t SignEdgeFlag[18] = {};    // flag: body within 1 degree of a sign boundary
  std::uint8_t ObjectShown[36] = {};     // flag: object drawn and listed
  std::uint8_t ObjectAspected[36] = {};  // flag: object takes part in the aspect list
  std::uint8_t AspectKindEnabled[30] = {};  // flag: kind searched when the choice is honoured
  float ObjectLongitude[36] = {};           // degrees, longitude used for aspects
  float AspectSeparation[36][36] = {};      // degrees; [o1][o2] separation, [o2][o1] deviation
  float AspectAngle[30] = {};               // degrees, exact angle of each kind
  int AspectKind[36][36] = {};              // aspect kind of the pair, 50 none
  float PairOrb[36][36] = {};               // degrees, base orb of each pair (upper triangle used)
  float AspectOrbFactor[30] = {};           // dimensionless factor per kind
  float OrbScale[3] = {};                   // dimensionless global multipliers; element 0 in use
  int OrbScaleIndex = 0;                    // always 0
  std::uint8_t LineSwitches[4] = {};        // flags; [0] 1 = minor-aspect lines solid
  int AspectListObject = 0;                 // object the aspect list is restricted to, 50 none
  std::uint8_t AspectListFilter = 0;        // flag: list only AspectListObject's aspects
  int SignGlyphCount[12] = {};              // bodies per sign (glyph placement)
  int HouseGlyphCount[12] = {};             // bodies per house (glyph placement)
  std::string AspectNames[31];              // name of kind k at k + 1
  int RadiiEuropean[5] = {};                // percent, wheel radii chain
  int RadiiAmerican[5] = {};                // percent
  int GlyphSizeList[26] = {};               // points, font sizes offered for glyphs
  int GlyphSizes[4] = {};                   // indices into GlyphSizeList; [0] signs, [1] planets
  char ObjectGlyph[18] = {};                // glyph-font character of bodies 0..17
  char SignGlyph[12] = {};                  // glyph-font character of signs
  char ObjectGlyph2[18] = {};               // glyph-font character of objects 18..35
  char AspectGlyph[30] = {};                // glyph-font character of aspect kinds
  char RetrogradeGlyph = 0;                 // the retrograde mark
  std::int32_t ChartColors[8] = {};         // 0x00BBGGRR, negative = system colour
  std::int32_t HouseColors[3] = {};         // cardinal, fixed, mutable; colour as above
  std::int32_t AspectColors[7] = {};        // by line class; colour as above
  int TargetRect[4] = {};                   // pixels: left, right, top, bottom
  int ColorMode = 0;                        // 0 monochrome, 1 white by element, 2 window colours
  std::uint8_t TargetFlags[4] = {};         // drawing-target switches
  int QuerentHouse = 0;                     // 0..11
  int QuesitedHouse = 0;                    // 0..11

  // The twelve house cusps are the first twelve elements of CuspsAndPoints;
  // element 0 is the cusp of the querent's house.
  float* HouseCusps() { return CuspsAndPoints; }
  const float* HouseCusps() const { return CuspsAndPoints; }
};

// ---- Fixed tables -------------------------------------------------------

// Sign rulers by sign 0..11 (body indices; 10 Chiron, 11 Proserpina).
inline constexpr int kDomicileRuler[12] = {4, 3, 2, 1, 0, 2, 3, 9, 5, 6, 7, 8};
inline constexpr int kExaltationRuler[12] = {0, 1, 11, 5, 9, 2, 6, 7, 10, 4, 8, 3};
inline constexpr int kDetrimentRuler[12] = {3, 9, 5, 6, 7, 8, 4, 3, 2, 1, 0, 2};
inline constexpr int kFallRuler[12] = {6, 7, 10, 4, 8, 3, 0, 1, 11, 5, 9, 2};

// Exact angle of each aspect kind, degrees: the engine's table, shared with
// the aspect-time search. The septiles (kinds 20..25) are held as the
// single-precision values the aspect search has always used; kinds 26..29
// are measured on latitudes and on sums of longitudes and have angle 0.
inline constexpr const float (&kAspectAngle)[30] = kAspectAngles;

// Literal names of aspect kinds 0..25 (code page 1251; 0xB0 is the degree
// sign). Kinds 26..29 take their names from the language file.
inline constexpr const char* kAspectLiteralNames[26] = {
    "0\xB0",   "60\xB0",  "90\xB0", "120\xB0", "180\xB0", "30\xB0",  "150\xB0", "45\xB0", "135\xB0",
    "18\xB0",  "36\xB0",  "72\xB0", "108\xB0", "144\xB0", "20\xB0",  "40\xB0",  "80\xB0", "100\xB0",
    "140\xB0", "160\xB0", "26\xB0", "51\xB0",  "77\xB0",  "103\xB0", "129\xB0", "154\xB0"};

// Font sizes offered for glyphs, points.
inline constexpr int kGlyphSizeList[26] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 14,
                                           16, 18, 20, 22, 24, 26, 28, 30, 34, 40, 45, 50, 55};

// Characters of the glyph font.
inline constexpr char kObjectGlyph[18] = {'a', 's', 'd', 'f', 'g', 'h', 'j', 'k', 'l',
                                          'm', 'z', 'x', 'v', 'c', 'b', 'n', '(', ')'};
inline constexpr char kSignGlyph[12] = {'q', 'w', 'e', 'r', 't', 'y', 'u', 'i', 'o', 'p', '[', ']'};
inline constexpr unsigned char kObjectGlyph2Bytes[18] = {45, 130, 64, 132, 133, 134, 135, 38,  137,
                                                         62, 139, 96, 150, 151, 36,  153, 169, 155};
inline constexpr char kAspectGlyph[30] = {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'F',
                                          'A', 'P', 'D', 'S', 'J', 'G', 'H', 'L', 'K', 'Z',
                                          'M', 'X', 'B', 'V', 'C', 'N', '_', '+', '%', '*'};
inline constexpr char kRetrogradeGlyph = '!';

// One fixed star as stored: longitude at 1950.0 in degrees.minutes (203.08
// means 203 deg 08 min) and annual motion in longitude in arcseconds.
struct FixedStarEntry {
  int Class;             // 1..6
  double Lon1950DegMin;  // degrees.minutes
  double MotionArcsec;   // arcseconds per year
};

// The 73 fixed stars in order of longitude.
inline constexpr FixedStarEntry kFixedStars[73] = {
    {2, 1.51, 45.1},   {1, 8.31, 46.3},   {2, 13.40, 46.5},  {3, 21.17, 44.4},  {2, 29.46, 50.2},
    {3, 30.50, 51.6},  {3, 33.17, 49.6},  {2, 36.59, 48.0},  {1, 37.07, 50.7},  {2, 43.34, 55.0},
    {1, 43.38, 49.6},  {3, 52.50, 50.4},  {2, 55.28, 58.6},  {3, 59.19, 53.4},  {4, 64.60, 51.1},
    {4, 67.47, 48.2},  {1, 69.05, 50.0},  {1, 76.07, 43.2},  {2, 80.16, 48.3},  {1, 81.10, 66.4},
    {3, 81.29, 32.5},  {2, 87.54, 50.6},  {1, 88.04, 48.7},  {2, 89.13, 66.0},  {2, 98.24, 52.0},
    {1, 103.23, 39.6}, {1, 104.16, 18.3}, {2, 109.33, 18.3}, {1, 112.35, 55.2}, {1, 115.10, 47.1},
    {6, 126.34, 51.6}, {5, 126.50, 52.3}, {4, 128.01, 51.1}, {2, 132.24, 50.6}, {4, 132.56, 49.2},
    {2, 134.27, 45.0}, {2, 138.41, 46.2}, {3, 140.00, 51.1}, {1, 146.36, 44.2}, {1, 149.08, 48.0},
    {2, 149.41, 50.6}, {2, 158.09, 51.4}, {3, 160.35, 47.8}, {2, 164.52, 52.4}, {2, 170.57, 45.9},
    {2, 176.08, 50.6}, {3, 189.16, 44.8}, {2, 192.45, 46.5}, {1, 203.08, 47.4}, {1, 203.32, 41.1},
    {1, 221.11, 49.8}, {2, 221.32, 38.1}, {2, 224.23, 49.6}, {2, 228.40, 48.4}, {2, 231.23, 44.2},
    {1, 233.06, 63.1}, {1, 238.51, 45.0}, {3, 241.51, 53.1}, {1, 249.03, 50.0}, {3, 255.27, 50.3},
    {2, 261.42, 41.7}, {2, 263.57, 48.6}, {2, 267.12, 50.3}, {3, 275.41, 50.1}, {4, 282.46, 49.4},
    {1, 284.36, 43.9}, {1, 301.04, 43.9}, {4, 321.06, 28.0}, {1, 333.09, 49.8}, {2, 334.46, 30.6},
    {1, 344.35, 33.6}, {2, 352.49, 44.8}, {2, 358.43, 43.6}};

// Language-file entries the record takes its names from.
inline constexpr int kEntryDefaultChartName = 324;
inline constexpr int kEntryHouseNamePrefix = 123;
inline constexpr int kEntryFirstHouseSystem = 100;       // system n is entry 99 + n
inline constexpr int kEntryFirstBodyName = 81;           // body b is entry 81 + b
inline constexpr int kEntryFirstCuspName = 141;          // ObjectNames[19..48] = entries 141..170
inline constexpr int kEntryFirstLatitudeKindName = 171;  // aspect kinds 26..29
inline constexpr int kEntryFirstStarName = 175;          // star s is entry 175 + s

// ---- Functions ------------------------------------------------------------

// Fills a chart record as the chart window does when it is built, apart from
// the settings files: the start values of the chart state, the display names
// from the language file, the fixed tables, the fixed stars converted to
// decimal degrees and degrees per year, and Geocentric = 1, PrevGeocentric = 0.
//   uiText            entries of the language file (a missing entry reads as "")
//   houseRulerMethod  0..2 as chosen in the calculation parameters
// HouseSystemNames[n] = entry 123, a blank and entry 99 + n for n = 1..23, so
// system 23 shows entry 122 in the status bar like every other system.
// Fields not named here keep the values they had.
void InitChartRecord(ChartRecord& record, const std::vector<std::string>& uiText,
                     int houseRulerMethod);

// Decimal degrees of a degrees.minutes value (203.08 -> 203.1333...): the
// integer part plus the fractional part times 100/60.
double DegMinToDegrees(double degMin);

// The chart's local civil date and time as the status bar shows it:
// dd.mm.yyyy-hh:mm:ss, every field but the year with two digits, a year
// below 1 written one less (astronomical year 0 is -1). To the nearest whole
// second; 23:59:59.5 and later is 00:00:00 of the next date.
std::string LocalMomentText(double julianDayUT, float timeZone);

// Sign 0..11 and whole degree 0..359 of a longitude in degrees. Any finite
// input is first reduced into [0, 360); exactly 360 counts as 0, a tiny
// negative value counts from the end of Pisces unless it is so small that the
// reduction rounds to 360, which counts as 0. A non-finite input gives 0.
int SignOf(double lon);
int DegreeOf(double lon);

// Glyph-font character of chart object o 0..35.
char ObjectGlyphOf(const ChartRecord& record, int o);
