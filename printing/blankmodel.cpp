#include "printing/blankmodel.h"

#include "platform/text/textfile.h"

BlankLoadResult LoadBlankModel(const std::string& printFolder, BlankModel& model) {
  BlankLoadResult result;
  for (int i = 0; i < kBlankListCount; ++i) {
    model.Lists[i].clear();
    model.Loaded[i] = false;
  }
  for (int i = 0; i < kBlankListCount; ++i) {
    const std::string path = printFolder + "/" + kBlankFileNames[i];
    LineList lines;
    if (!ReadLines(path, lines)) {
      result.ok = false;
      result.message = "Cannot open file " + path;
      return result;
    }
    model.Lists[i] = std::move(lines);
    model.Loaded[i] = true;
  }
  return result;
}

std::vector<std::string> SaveBlankModel(const std::string& printFolder, const BlankModel& model) {
  std::vector<std::string> failures;
  for (int i = 0; i < kBlankListCount; ++i) {
    if (!model.Loaded[i]) continue;
    const std::string path = printFolder + "/" + kBlankFileNames[i];
    std::string error;
    if (!WriteLinesAtomic(path, model.Lists[i], &error))
      failures.push_back(error.empty() ? "Cannot create file " + path : error);
  }
  return failures;
}
