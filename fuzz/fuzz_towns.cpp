// A towns file (first byte: Towns.twn, TownsForeign1.twn or TownsUser.twn;
// the rest its content): sorted, searched by the prefix of its first line,
// every line read as a town, as a grid row and for its zone.
#include "fuzz/fuzz_support.h"
#include "input/timezones.h"
#include "input/townsdb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TownFile file = static_cast<TownFile>(data[0] % 3);
  LineList lines = LinesOfText(FuzzBytes(data + 1, size - 1));
  const std::string typed = lines.empty() ? std::string() : lines[0].substr(0, 4);
  std::vector<std::size_t> numbers;
  SortTownLines(lines, numbers);
  FUZZ_CHECK(numbers.size() == lines.size(), "numbers");
  for (std::size_t i = 1; i < lines.size(); ++i)
    FUZZ_CHECK(!TownLineLess(lines[i], lines[i - 1]), "order at %zu", i);
  const TownMatchRange range = FindTownsByPrefix(lines, typed);
  FUZZ_CHECK(range.First + range.Count <= lines.size(), "range");
  (void)TownGridRows(lines, range, file);
  for (const std::string& line : lines) {
    TownRecord town;
    std::string what;
    if (ParseTownLine(line, file, town, what)) (void)PlaceFieldsOfTown(town);
    (void)TownGridRowOf(line, file);
    RegionTownFields region;
    ForeignTownFields foreign;
    if (file == TownFile::Russian)
      (void)ParseRegionTownLine(line, region, what);
    else if (ParseForeignTownLine(line, foreign, what) && foreign.ZoneRuleNumber == 0)
      (void)ZoneOfOwnZoneTown(foreign.Abbreviation, foreign.ZoneWest, foreign.ZoneHours,
                              foreign.ZoneMinutes);
  }
  return 0;
}
