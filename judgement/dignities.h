// The dignities of the twelve bodies 0 Sun .. 11 Proserpina: the essential
// and accidental scores by the classical rules, with the rulers behind each
// score (the first table), and a second school's rulership tallies, point
// score and balance score (the second table). Also the dignity tables the
// scores read (terms, faces, degree lords) and their three files.
//
// Plain functions over the chart record and the tables; the dignities window
// shows what they return and draws the first table onto a canvas.
#pragma once

#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "platform/canvas.h"
#include "platform/text/textfile.h"

inline constexpr int kSignCount = 12;
inline constexpr int kTermSystems = 5;  // the items of "Тип термов"
inline constexpr int kTermsPerSign = 5;
inline constexpr int kRulerSets = 2;  // "Семь планет", "С высшими планетами"
inline constexpr int kFacesPerSign = 3;
inline constexpr int kDegreesPerSign = 30;
inline constexpr int kDignityBodies = 12;  // bodies 0..11 are scored

// The dignity files under ProgramFolder/Options.
inline constexpr const char* kTermFileName = "Term.opt";
inline constexpr const char* kFaceFileName = "Fac.opt";
inline constexpr const char* kDegreeFileName = "Degr.opt";

// Terms, faces and degree lords; lords are body indices 0..11.
struct DignityTables {
  int TermLords[kSignCount][kTermsPerSign][kTermSystems] = {};
  int TermEnds[kSignCount][kTermsPerSign][kTermSystems] =
      {};  // whole degrees of the sign, exclusive
  int FaceLords[kSignCount][kFacesPerSign][kRulerSets] = {};
  int DegreeLords[kSignCount][kDegreesPerSign][kRulerSets] = {};
};

// What is wrong with a dignity file, for the message the window shows.
enum class DignityFileFault {
  kNone,
  kUnreadable,   // the file cannot be read (Detail: the platform's message)
  kTooFewLines,  // fewer lines than the sets need (Line: the first missing one)
  kNotANumber,   // a field is not two decimal digits (Detail: the field's text)
  kNotABody,     // a lord is no body 0..11 (Detail: the field's text)
  kTermEnds,     // term ends that do not increase or do not end at 30
};
struct DignityFileResult {
  bool Ok = true;
  DignityFileFault Fault = DignityFileFault::kNone;
  std::string Path;    // the file, as given
  int Line = 0;        // counted from 1
  std::string Detail;  // code page 1251
};

// Each reader takes a file's lines: line 12 k + s holds sign s of set k, every
// field two decimal digits. A field that is no number, a lord that is no body
// 0..11, or term ends that do not increase or do not end at 30 (a degree past
// the last end would have no lord) refuse the file, naming the line; the
// tables are left as they were.
DignityFileResult ReadTermLines(const LineList& lines, const std::string& path,
                                DignityTables& tables);
DignityFileResult ReadFaceLines(const LineList& lines, const std::string& path,
                                DignityTables& tables);
DignityFileResult ReadDegreeLines(const LineList& lines, const std::string& path,
                                  DignityTables& tables);
// All three files of a program folder (ProgramFolder/Options/...), all or
// nothing.
DignityFileResult LoadDignityTables(const std::string& programFolder, DignityTables& tables);

// A grid of cells as the dignities window shows it: row 0 the headings, row
// p + 1 body p. The first table has 11 columns (name, Ess+, Ess-, Asc+,
// Asc-, domicile, exaltation, triplicity, term, face and degree lord), the
// second 12.
inline constexpr int kDignityColumns = 11;
inline constexpr int kSecondDignityColumns = 12;
inline constexpr int kDignityRowPoints = kDignityBodies;  // points 0..11 have a row
struct DignityGrid {
  std::vector<std::vector<std::string>> Rows;  // code page 1251
  // Row of point p, or nullptr for a point that has none (12..17).
  const std::vector<std::string>* PointRow(int point) const;
};

// The scores behind the two grids, by body 0..11.
struct DignityScores {
  int EssPlus[kDignityBodies] = {};
  int EssMinus[kDignityBodies] = {};
  int AscPlus[kDignityBodies] = {};
  int AscMinus[kDignityBodies] = {};
  int RulerTally[kDignityBodies] = {};
  int PointScore[kDignityBodies] = {};
  int BalanceScore[kDignityBodies] = {};
};

struct DignityResult {
  DignityScores Scores;
  DignityGrid Classic;  // the first table
  DignityGrid Second;   // the second table
};

// The choices of the calculation parameters the first table reads.
struct DignityChoice {
  int TermSystem = 0;  // 0..4, "Тип термов"
  int RulerSet = 0;    // 0 the seven planets, 1 with the higher planets
};

// Scores the bodies of a chart. The record supplies the longitudes, daily
// motions and retrograde flags of the bodies, SortedPoints (body and house
// of each place, in longitude order), the four ruler tables, DayChart, the
// house cusps, the fixed stars and the names (ObjectNames). uiText gives the
// headings (entries 268, 486..491).
//
// First table, body p at longitude l, sign s = floor(l / 30), degree
// d = floor(l - 30 s):
//   essential plus: domicile 5, exaltation 4 (only the body the table names:
//   a sign whose exaltation belongs to a higher planet exalts no classical
//   one), reception by domicile 5 and by exaltation 4, triplicity 3 (day or
//   night ruler), term 2, face 1; with the seven planets a higher planet's
//   domicile counts for the classical planet that stands for it (Uranus
//   Saturn, Neptune Jupiter, Pluto Mars), and the bodies above Saturn get no
//   domicile, exaltation or debility;
//   essential minus: detriment 5, fall 4 (under the same rules), and 5 for a
//   body with no essential dignity or debility at all (peregrine);
//   accidental: house, direct or retrograde, faster or slower than its mean
//   motion, oriental or occidental, nearness to the Sun by the exact arc
//   (cazimi within 17', combust within 8 deg 30', under the beams within
//   17 deg, else free), whole-degree
//   separations from Venus, Jupiter, the nodes, Mars and Saturn, conjunction
//   with Regulus, Spica or Algol, and siege (the malefics nearest on either
//   side, both in the body's sign, as the signs of completion judge it).
// Second table: rulership tallies (house signs, domicile, co-ruler,
// exaltation, two trigon rulers, the fourteen-step cycle of rulers at 1, 5
// and 10 degrees), the score of the main points' rulers, and the balance of
// dignity, element, quality, third, quarter and half against the chart's
// distribution.
DignityResult CalcDignities(const ChartRecord& record, const DignityTables& tables,
                            const DignityChoice& choice, const std::vector<std::string>& uiText);

// Draws a grid of cells filling a width x height picture with its top-left
// corner at the canvas origin: the columns as wide as their texts allow, row
// 0 and column 0 as headings. Colour mode 0 black on white, 1 and 2 the
// grid's grey headings on white.
void DrawDignityGrid(const DignityGrid& grid, TCanvas& canvas, int width, int height, int colorMode,
                     const std::string& fontName);
