// A print template file: its lines as the blank model keeps them, written
// with CR LF and read again unchanged.
#include "fuzz/fuzz_support.h"
#include "printing/blankmodel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BlankModel model;
  const std::size_t list = size > 0 ? data[0] % kBlankListCount : 0;
  model.Lists[list] = LinesOfText(FuzzBytes(data, size));
  model.Loaded[list] = true;
  std::string written;
  for (const std::string& line : model.Lists[list]) written += line + "\r\n";
  FUZZ_CHECK(LinesOfText(written) == model.Lists[list], "%zu lines", model.Lists[list].size());
  (void)model.Names();
  return 0;
}
