// A print template file: its lines as the blank model keeps them, written
// with CR LF and read again unchanged. Then the same bytes as all eleven
// lists (parts between NUL bytes), in step or not, edited by the designer's
// operations: none may reach outside a list, and a model in step stays so.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "printing/blankdesign.h"
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

  BlankModel lists;
  const std::string bytes(FuzzBytes(data, size));
  std::size_t at = 0;
  for (int i = 0; i < kBlankListCount && at <= bytes.size(); ++i) {
    const std::size_t end = std::min(bytes.find('\0', at), bytes.size());
    lists.Lists[i] = LinesOfText(std::string_view(bytes).substr(at, end - at));
    at = end + 1;
  }
  const bool sound = CheckBlankModel(lists).Ok;
  for (std::size_t i = 0; i + 3 < size && i < 64; i += 4) {
    const int blank = data[i + 1] % 4 - 1, a = data[i + 2], b = data[i + 3];
    switch (data[i] % 7) {
      case 0:
        AddElement(lists, blank, a % 30, a, b);
        break;
      case 1:
        DeleteElement(lists, blank, a % 16);
        break;
      case 2:
        ToggleOrientation(lists, blank);
        break;
      case 3:
        SetBackground(lists, blank, a % 4);
        break;
      case 4:
        DeleteBlank(lists, blank);
        break;
      case 5:
        DragElement(lists, HitTest(lists, blank, a, b), a - b, b - a);
        break;
      case 6:
        AddBlank(lists, "x");
        break;
    }
    if (sound) FUZZ_CHECK(CheckBlankModel(lists).Ok, "operation %d", data[i] % 7);
  }
  return 0;
}
