// The chart session: the one current chart that every window shows, the
// settings the windows share (the house-ruler method, the sign rulers, the
// term system, the origin of local-space azimuths) and what the judgement
// computed from both (the dignities, the significators, the signs of
// completion). It is plain data with free functions over it and knows no
// toolkit; the windows hold it through the main window and hear of its
// changes through a small notifier of the window layer.
#pragma once

#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/pipeline.h"
#include "chart/settingsfiles.h"
#include "judgement/completion.h"
#include "judgement/dignities.h"
#include "judgement/radicality.h"
#include "judgement/significators.h"
#include "judgement/timedsearch.h"

// The settings the windows share, as the notifier names a change.
enum class SessionSetting : int { HouseRulerMethod, SignRulerSet, TermSystem, AzimuthOrigin };

// The shared choices of the calculation parameters that are not part of the
// chart record (the house-ruler method is: ChartRecord::HouseRulerMethod).
struct SessionSettings {
  int SignRulerSet = 0;          // 0 the seven planets, 1 with the higher planets
  int TermSystem = 0;            // 0..4, 0 the Egyptian terms
  bool AzimuthFromEast = false;  // local-space azimuths from the East point, else from the South
};

class ChartSession {
 public:
  ChartRecord Chart;              // the current chart and every chart setting
  SettingsOutsideRecord Outside;  // window colour, save flag, default place
  RecalcResult LastRecalc;        // what the last recomputation produced
  bool ChartReady = false;        // the record was built from the settings files
  SessionSettings Settings;

  DignityTables Tables;             // terms, faces, degree lords, as loaded
  bool TablesLoaded = false;        // Tables hold the dignity files
  DignityResult Dignities;          // of the last ComputeDignities
  SignificatorLists Significators;  // the querent's and the quesited's points
  CompletionRun Completion;         // of the last RunCompletion
  bool AsksForHimself = false;      // the first "who asks" topic is chosen (radicality)
};

// The house-ruler method of the session (0 sign ruler, 1 with the house
// extent, 2 almuten).
int HouseRulerMethod(const ChartSession& session);
// Sets the house-ruler method in the chart record; a value outside 0..2 is
// ignored.
void SetHouseRulerMethod(ChartSession& session, int method);

// The choices the dignity tables read.
DignityChoice DignityChoiceOf(const ChartSession& session);
// Scores the current chart with the loaded tables and the session's choices
// into session.Dignities (empty grids while no tables are loaded).
const DignityResult& ComputeDignities(ChartSession& session,
                                      const std::vector<std::string>& uiText);
// Proposes the significators of the current chart into session.Significators.
void ProposeSessionSignificators(ChartSession& session);
// The engine's search set up for the session's chart: geocentric or not, the
// swapped receptions while they are shown; the frame's defaults before the
// chart is built.
TimedSearch SessionSearch(const ChartSession& session, bool equatorialOutput);
// The radicality of the session's chart: its significators, the "who asks"
// choice and the sign rulers, searched with search.
RadicalityResult SessionRadicality(const ChartSession& session, const TimedSearch& search);
// Runs the signs of completion over the chart and the session's
// significators into session.Completion.
const CompletionRun& RunCompletion(ChartSession& session, const std::vector<std::string>& uiText,
                                   const TimedSearch& search);
