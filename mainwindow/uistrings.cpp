// Loading and reading the interface string table.
#include "mainwindow/uistrings.h"

#include "platform/text/textfile.h"

namespace {

const std::string kEmptyEntry;

}  // namespace

const std::string& UiStringTable::Entry(int n) const {
  if (n < 0 || n >= Count()) return kEmptyEntry;
  return Entries[static_cast<std::size_t>(n)];
}

std::string LanguageFilePath(const std::string& programFolder) {
  return programFolder + "/Options/LangH.lan";
}

// LoadLanguage: purpose, inputs and outputs are given in the header. The file
// is read whole through the text layer (CR LF, lone LF and a missing final
// line end are all accepted); the table takes the lines in file order and is
// then padded to kUiEntryCount so that readers of fixed entry numbers never
// meet a short table.
UiStringLoad LoadLanguage(const std::string& programFolder, UiStringTable& table) {
  UiStringLoad result;
  const std::string path = LanguageFilePath(programFolder);
  LineList lines;
  if (!ReadLines(path, lines)) {
    result.Message = "Cannot open file " + path;
    return result;
  }
  result.Loaded = true;
  result.FileLines = static_cast<int>(lines.size());
  if (lines.size() < static_cast<std::size_t>(kUiEntryCount)) {
    lines.resize(static_cast<std::size_t>(kUiEntryCount));
  }
  table.Entries = std::move(lines);
  return result;
}

std::string FillEntry(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  const std::string_view* next = values.begin();
  std::size_t from = 0;
  for (std::size_t at = text.find("%s"); at != std::string_view::npos; at = text.find("%s", from)) {
    out.append(text.substr(from, at - from));
    if (next != values.end()) out.append(*next++);
    from = at + 2;
  }
  out.append(text.substr(from));
  return out;
}

bool ShowHelpItem(const UiStringTable& table) { return table.Entry(1) == kHelpMenuTrigger; }

int MenuCaptionEntryOf(std::string_view item) {
  for (const MenuCaptionEntry& caption : kMenuCaptionEntries) {
    if (item == caption.item) return caption.entry;
  }
  return -1;
}
