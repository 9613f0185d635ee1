#include "judgement/session.h"

int HouseRulerMethod(const ChartSession& session) { return session.Chart.HouseRulerMethod; }

void SetHouseRulerMethod(ChartSession& session, int method) {
  if (method >= 0 && method <= 2) session.Chart.HouseRulerMethod = method;
}

DignityChoice DignityChoiceOf(const ChartSession& session) {
  return DignityChoice{session.Settings.TermSystem, session.Settings.SignRulerSet};
}

const DignityResult& ComputeDignities(ChartSession& session,
                                      const std::vector<std::string>& uiText) {
  if (!session.TablesLoaded) {
    session.Dignities = DignityResult();
    return session.Dignities;
  }
  session.Dignities =
      CalcDignities(session.Chart, session.Tables, DignityChoiceOf(session), uiText);
  return session.Dignities;
}

void ProposeSessionSignificators(ChartSession& session) {
  session.Significators = ProposeSignificators(session.Chart, session.Settings.SignRulerSet);
}

const CompletionRun& RunCompletion(ChartSession& session, const std::vector<std::string>& uiText,
                                   const TimedSearch& search) {
  session.Completion = FindCompletionEvents(session.Chart, session.Significators,
                                            session.Settings.SignRulerSet, uiText, search);
  return session.Completion;
}

TimedSearch SessionSearch(const ChartSession& session, bool equatorialOutput) {
  AspectSearchFrame frame;
  if (session.ChartReady) {
    const ChartRecord& chart = session.Chart;
    frame.Geocentric = chart.Geocentric;
    frame.ReceptionSwap = chart.ReceptionSwap;
    for (int i = 0; i < 12; ++i) frame.ReceptionShift[i] = chart.ReceptionShift[i];
  }
  frame.EquatorialOutput = equatorialOutput;
  return EngineSearch(frame);
}

RadicalityResult SessionRadicality(const ChartSession& session, const TimedSearch& search) {
  RadicalityInput input;
  input.QuerentSignificator = session.Significators.Querent[0];
  input.QuesitedSignificator = session.Significators.Quesited[0];
  input.AsksForHimself = session.AsksForHimself;
  input.SignRulerOption = session.Settings.SignRulerSet;
  return AnalyseRadicality(session.Chart, input, search);
}
