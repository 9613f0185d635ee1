// The program as a whole: the windows created once at start, in their fixed
// order, and the message loop.
#pragma once

#include <memory>
#include <string>

class TBaseForm;
class TChartSessionSignals;
class TAboutProgram;
class TAffeticnew;
class TWarning;
class TInputNameBD;
class TParamCalc;
class TInputDates;
class TTownDB;
class TTreeBDTable;
class TFindDBFile;
class TPictureRadixChart;
class TTypeAspect;
class TAnalisZav;
class TSignificators;
class TCverent;
class TCvesit;
class TRadical;
class TCommentary;
class TAddSign;
class TPositionPlanets;
class TDynPlanAsp;
class TbmpPixels;
class TAstronom;
class TLocalSpaceChart;
class TCircleOptions;
class TAspectation;
class TAspects;
class TEditOrbis;
class TEditParses;
class TMoonDay;
class TPlanetHour;
class TBlanksDoc;
class TPrintDiziner;

// Every window of the program, created once and living until the end.
struct ProgramWindows {
  // The chart session the windows observe: made first and destroyed last,
  // after every window.
  std::unique_ptr<TChartSessionSignals> Session;
  std::unique_ptr<TBaseForm> BaseForm;
  TAboutProgram* AboutProgram = nullptr;
  TAffeticnew* Affeticnew = nullptr;
  TParamCalc* ParamCalc = nullptr;
  TWarning* Warning = nullptr;
  TInputNameBD* InputNameBD = nullptr;
  TAnalisZav* AnalisZav = nullptr;
  TSignificators* Significators = nullptr;
  TInputDates* InputDates = nullptr;
  TTreeBDTable* TreeBDTable = nullptr;
  TTownDB* TownDB = nullptr;
  TFindDBFile* FindDBFile = nullptr;
  TPositionPlanets* PositionPlanets = nullptr;
  TDynPlanAsp* DynPlanAsp = nullptr;
  TbmpPixels* bmpPixels = nullptr;
  TPictureRadixChart* PictureRadixChart = nullptr;  // owned by the main window's MDI area
  TAstronom* Astronom = nullptr;
  TLocalSpaceChart* LocalSpaceChart = nullptr;
  TCircleOptions* CircleOptions = nullptr;
  TCverent* Cverent = nullptr;
  TCvesit* Cvesit = nullptr;
  TRadical* Radical = nullptr;
  TCommentary* Commentary = nullptr;
  TAddSign* AddSign = nullptr;
  TTypeAspect* TypeAspect = nullptr;    // owned by the main window
  TAspectation* Aspectation = nullptr;  // owned by the main window, as the others
  TAspects* Aspects = nullptr;
  TMoonDay* MoonDay = nullptr;
  TPlanetHour* PlanetHour = nullptr;
  TEditOrbis* EditOrbis = nullptr;
  TEditParses* EditParses = nullptr;
  TBlanksDoc* BlanksDoc = nullptr;
  TPrintDiziner* PrintDiziner = nullptr;
  ~ProgramWindows();
};

// The program's title, the application's display name.
inline constexpr const char* kProgramTitle = "ZarnTelka Horary";

// Creates the windows for the program folder, the main window first. Throws
// PlatformError (e.g. "Cannot open file <path>") when a file that the start
// needs is missing or malformed; then no window is left.
std::unique_ptr<ProgramWindows> CreateProgramWindows(const std::string& programFolder);

// The program entry: the application, the windows, the message loop. A start
// that fails shows its message and returns a non-zero status.
int RunProgram(int argc, char** argv);
