#include "mainwindow/ui/program.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "chart/ui/circleoptions.h"
#include "chart/ui/localspacechart.h"
#include "chart/ui/picturechart.h"
#include "chart/ui/positionplanets.h"
#include "input/ui/aspectation.h"
#include "input/ui/editorbis.h"
#include "input/ui/editparses.h"
#include "input/ui/inputdates.h"
#include "input/ui/paramcalc.h"
#include "input/ui/towndb.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/analiszav.h"
#include "judgement/ui/dynplanasp.h"
#include "judgement/ui/hourwindows.h"
#include "judgement/ui/housewindows.h"
#include "judgement/ui/radical.h"
#include "judgement/ui/significatorswindow.h"
#include "judgement/ui/typeaspect.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/finddbfile.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"
#include "platform/qt/paths.h"
#include "platform/qt/qttranslation.h"
#include "printing/ui/blanksdoc.h"
#include "printing/ui/printdiziner.h"

ProgramWindows::~ProgramWindows() = default;

std::unique_ptr<ProgramWindows> CreateProgramWindows(const std::string& programFolder) {
  auto windows = std::make_unique<ProgramWindows>();
  windows->Session = std::make_unique<TChartSessionSignals>();
  windows->BaseForm = std::make_unique<TBaseForm>(programFolder);
  TBaseForm* base = windows->BaseForm.get();
  windows->AboutProgram = new TAboutProgram(base);
  windows->Affeticnew = new TAffeticnew(base);
  windows->AnalisZav = new TAnalisZav(base);
  windows->Significators = new TSignificators(base);
  windows->ParamCalc = new TParamCalc(base);
  windows->Warning = new TWarning(base);
  windows->InputNameBD = new TInputNameBD(base);
  windows->InputDates = new TInputDates(base);
  windows->TreeBDTable = new TTreeBDTable(base);
  windows->TownDB = new TTownDB(base);
  windows->BlanksDoc = new TBlanksDoc(base);
  windows->FindDBFile = new TFindDBFile(base);
  windows->PositionPlanets = new TPositionPlanets(base);
  windows->DynPlanAsp = new TDynPlanAsp(base);
  windows->bmpPixels = new TbmpPixels(base);
  windows->PictureRadixChart = new TPictureRadixChart(base);
  base->AttachChartWindow(windows->PictureRadixChart);
  windows->Astronom = new TAstronom(base);
  windows->LocalSpaceChart = new TLocalSpaceChart(base);
  windows->CircleOptions = new TCircleOptions(base);
  windows->Cverent = new TCverent(base);
  windows->Cvesit = new TCvesit(base);
  windows->Radical = new TRadical(base);
  windows->Commentary = new TCommentary(base);
  windows->AddSign = new TAddSign(base);
  windows->PrintDiziner = new TPrintDiziner(base);
  windows->TypeAspect = new TTypeAspect(base);
  windows->Aspectation = new TAspectation(base);
  windows->Aspects = new TAspects(base);
  windows->MoonDay = new TMoonDay(base);
  windows->PlanetHour = new TPlanetHour(base);
  windows->EditOrbis = new TEditOrbis(base);
  windows->EditParses = new TEditParses(base);
  return windows;
}

int RunProgram(int argc, char** argv) {
  GuardedApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
  // Qt's own dialogs speak the program's language; without the translation
  // they stay in English
  InstallQtRussian();
  LoadGlyphFaces();
  std::unique_ptr<ProgramWindows> windows;
  try {
    // The program folder is the current folder at start.
    windows = CreateProgramWindows(PathOfQt(QDir::currentPath()));
  } catch (const std::exception& error) {
    ShowErrorMessage(error.what());
    return 1;
  }
  // Maximised; without a window manager to honour that, the screen's
  // working area is taken directly.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    windows->BaseForm->setGeometry(screen->availableGeometry());
  windows->BaseForm->showMaximized();
  return QApplication::exec();
}
