// The notifier of the chart session: it owns the one ChartSession of the
// program and announces its changes, so that the windows and the printing
// observe the session instead of calling each other to push data. The main
// window announces a new chart (chartReplaced), the chart window a
// recomputation (chartChanged) and each drawing of the wheel (chartDrawn);
// the calculation parameters announce a setting chosen there
// (settingsChanged). The program makes it before any window.
#pragma once

#include <QObject>

#include "judgement/session.h"

class TChartSessionSignals : public QObject {
  Q_OBJECT

 public:
  explicit TChartSessionSignals(QObject* parent = nullptr);
  ~TChartSessionSignals() override;

  ChartSession Session;

 signals:
  // A new chart took the place of the old one (entered or loaded from the
  // database); it is recomputed after.
  void chartReplaced();
  // The chart was recomputed: the chart record and LastRecalc are new.
  void chartChanged();
  // The wheel was drawn anew onto the chart window (also after a change of
  // a setting that needs no recomputation).
  void chartDrawn();
  // The astrologer chose a shared setting (a SessionSetting) in the
  // calculation parameters; the session already holds it.
  void settingsChanged(int setting);
};

// The notifier and its session, nullptr before the main window exists.
TChartSessionSignals* SessionSignals();
ChartSession* CurrentSession();
// The session's current chart, nullptr before the chart window has built it.
ChartRecord* SessionChart();
// The session for a window that cannot live without it; throws
// std::logic_error before the program has made it.
ChartSession& RequiredSession();
