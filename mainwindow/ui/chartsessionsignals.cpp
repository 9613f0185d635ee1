#include "mainwindow/ui/chartsessionsignals.h"

#include <stdexcept>

namespace {

TChartSessionSignals* gSessionSignals = nullptr;

}  // namespace

TChartSessionSignals::TChartSessionSignals(QObject* parent) : QObject(parent) {
  gSessionSignals = this;
  setObjectName("ChartSessionSignals");
}

TChartSessionSignals::~TChartSessionSignals() {
  if (gSessionSignals == this) gSessionSignals = nullptr;
}

TChartSessionSignals* SessionSignals() { return gSessionSignals; }

ChartSession* CurrentSession() { return gSessionSignals ? &gSessionSignals->Session : nullptr; }

ChartRecord* SessionChart() {
  ChartSession* session = CurrentSession();
  return session && session->ChartReady ? &session->Chart : nullptr;
}

ChartSession& RequiredSession() {
  ChartSession* session = CurrentSession();
  if (!session) throw std::logic_error("a window was made before the chart session");
  return *session;
}
