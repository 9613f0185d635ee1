// The refresh of ./run (scripts/refresh_work.sh) against the program's own
// file names: every file a writer of the program replaces is one the refresh
// leaves to the user, and the towns, zone and language files, which no writer
// touches, are ones it brings up to date. A writer added without its file in
// the refresh's list, or a factory file listed there by mistake, fails here.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chart/settingsfiles.h"
#include "input/paramcalc.h"
#include "input/timezones.h"
#include "input/townsdb.h"
#include "judgement/questionhouses.h"
#include "printing/blankmodel.h"

namespace fs = std::filesystem;

namespace {

// The paths, relative to the working folder, that the refresh's
// program_writes does not count as the program's.
std::vector<std::string> NotProgramWritten(const std::vector<std::string>& paths) {
  const fs::path dir = fs::temp_directory_path() / ("refresh_work_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path in = dir / "paths", out = dir / "left";
  {
    std::ofstream list(in);
    for (const std::string& p : paths) list << p << '\n';
  }
  // sourced, not run: $0 is a name, the script $1
  const std::string command = std::string(
                                  "bash -c 'source \"$1\"; while IFS= read -r p; do "
                                  "program_writes \"$p\" || echo \"$p\"; done' check ") +
                              HORARY_SOURCE_DIR + "/scripts/refresh_work.sh < \"" + in.string() +
                              "\" > \"" + out.string() + "\"";
  std::vector<std::string> left;
  if (std::system(command.c_str()) != 0) {
    left.push_back("<the script did not run>");
  } else {
    std::ifstream result(out);
    for (std::string line; std::getline(result, line);) left.push_back(line);
  }
  fs::remove_all(dir);
  return left;
}

TEST(RefreshWork, EveryFileTheProgramWritesIsLeftToTheUser) {
  std::vector<std::string> written;
  auto options = [&written](const char* name) {
    written.push_back(std::string("Options/") + name);
  };
  for (const char* name : kChartSettingsWriteOrder) options(name);
  for (const char* name : kFactoryRestoreFiles) options(name);
  for (const char* name :
       {kParamFileName, kDatabaseFolderFileName, kRulersFileName, kReceptionFileName,
        kWhoAsksTopics, kQuerentCategoryTopics, kQuerentCategoryHouses, kQuerentSubCategoryTopics,
        kQuerentSubCategoryHouses, kQuesitedTopics, kQuesitedHouses})
    options(name);
  // the element tree of the designer and the separator markers
  for (const char* name : {"TV1.opt", "RUN3.opt", "RUN1.opt"}) options(name);
  for (const char* name : kBlankFileNames) written.push_back(std::string("Print/") + name);
  written.push_back(std::string("Towns/") + kUserTownsFileName);
  for (const char* path : {"Questions.zrn", "Charts/Questions.zrt", "PDF/Карта.pdf", "BMP/1.bmp"})
    written.push_back(path);
  EXPECT_EQ(NotProgramWritten(written), std::vector<std::string>{});
}

TEST(RefreshWork, TheFactorysOwnFilesAreBroughtUpToDate) {
  std::vector<std::string> factory = {
      "Towns/Towns.twn",   "Towns/TownsForeign1.twn", "Towns/Time.ttt",   "Towns/Hour_zone.ttt",
      "Options/LangH.lan", "Options/Term.opt",        "Options/RUN4.opt", "Options/Standart/CS.opt",
      "Options/h1.txt",    "Help/index.html"};
  for (int n = 1; n <= kZoneRuleFileCount; ++n) factory.push_back("Towns/" + ZoneRuleFileName(n));
  for (const char* code : {"1", "5", "06", "10", "49"})
    factory.push_back("Towns/" + RegionZoneRuleFileName(code));
  EXPECT_EQ(NotProgramWritten(factory), factory);
}

}  // namespace
