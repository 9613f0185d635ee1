// A chart's record line as the imports write it and the database reads and
// writes it: random foreign charts through an import, their lines read back
// field by field against what the foreign file said, and written again by the
// database byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "mainwindow/chartdb.h"
#include "mainwindow/chartimport.h"
#include "mainwindow/recordline.h"

namespace {

// A text as the line holds it, derived here from the layout: trailing spaces
// of the foreign field dropped, TABs as spaces, and for the place "/" as "\".
std::string AsWritten(std::string text, bool place) {
  text.erase(text.find_last_not_of(' ') + 1);
  for (char& c : text) {
    if (c == '\t') c = ' ';
    if (place && c == '/') c = '\\';
  }
  return text;
}

// A number in a fixed column of width digits, with leading zeros.
std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

// Parts of an angle with the sign on the first one that is not zero.
void Signed(bool negative, int* parts) {
  for (int i = 0; negative && i < 3; ++i)
    if (parts[i] != 0) {
      parts[i] = -parts[i];
      return;
    }
}

// The SkyWorker format carries every field of the line: the name on a line of
// its own, then "|D.M.Y h:mm:ss comment|place|" and the zone, latitude,
// longitude and flag in fixed columns. Each random chart is written that way;
// its record line must read back as exactly the fields written, and a chart
// the database reads from that line must write the same bytes.
TEST(DbRecordLine, ImportedRecordsReadBackAndRewriteByteForByte) {
  std::mt19937 rng(29);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  // any code-page byte but the line ends, the end-of-file byte and SkyWorker's "|"
  auto text = [&](int maxLen) {
    std::string s(static_cast<std::size_t>(uniform(0, maxLen)), ' ');
    const std::string specials = "/=\t ";
    for (char& ch : s) {
      do
        ch = uniform(0, 3) == 0 ? specials[static_cast<std::size_t>(uniform(0, 3))]
                                : static_cast<char>(uniform(32, 255));
      while (ch == '|');
    }
    return s;
  };
  constexpr int kCharts = 2000;
  std::string file = "SkyWorker catalogue\r\n";
  std::vector<DbRecordFields> want(kCharts);
  std::vector<std::string> names, places, comments;
  for (DbRecordFields& w : want) {
    int* n = w.Number;
    do {
      n[0] = uniform(1, 28), n[1] = uniform(1, 12), n[2] = uniform(-2999, 2999);
    } while (n[2] == 1582 && n[1] == 10 && n[0] >= 5 && n[0] <= 14);  // days the calendar skips
    n[3] = uniform(0, 23), n[4] = uniform(0, 59), n[5] = uniform(0, 59);
    const int limits[3] = {14, 89, 179};  // zone hours, latitude and longitude degrees
    const int widths[3] = {2, 2, 3};      // their columns, the zone's sign aside
    const char* hemisphere[3] = {"+-", "NS", "EW"};
    std::string columns;
    for (int a = 0; a < 3; ++a) {
      int* parts = n + kDbZone + 3 * a;
      parts[0] = uniform(0, limits[a]), parts[1] = uniform(0, 59), parts[2] = uniform(0, 59);
      if (a == 0 && parts[0] == limits[0]) parts[1] = parts[2] = 0;  // no zone beyond 14 hours
      const bool negative = uniform(0, 1) == 1;
      const std::string dms =
          Digits(parts[0], widths[a]) + Digits(parts[1], 2) + Digits(parts[2], 2);
      columns += a == 0 ? hemisphere[0][negative] + dms : dms + hemisphere[a][negative];
      Signed(negative, parts);
    }
    n[kDbHouseCode] = 1;
    n[kDbFlag] = uniform(0, 1);
    columns += n[kDbFlag] == 1 ? " M" : "  ";
    names.push_back(text(6) + "x" + text(6));  // a blank line is no name line
    places.push_back(text(20));
    comments.push_back(text(30));
    file += names.back() + "\r\n1|" + std::to_string(n[0]) + "." + std::to_string(n[1]) + "." +
            std::to_string(n[2]) + " " + std::to_string(n[3]) + ":" + Digits(n[4], 2) + ":" +
            Digits(n[5], 2) + " " + comments.back() + "|" + places.back() + "|" + columns + "\r\n";
  }

  std::vector<ImportedChart> charts;
  ImportFailure failure;
  ASSERT_TRUE(ReadForeignCharts(ForeignFormat::SkyWorker, file, charts, failure))
      << failure.Line << ": " << failure.Text;
  ASSERT_EQ(charts.size(), want.size());
  for (std::size_t i = 0; i < charts.size(); ++i) {
    const std::string& line = charts[i].Line;
    SCOPED_TRACE(line);
    DbRecordFields got;
    std::string what;
    ASSERT_TRUE(ReadDbRecordLine(line, got, what)) << what;
    std::string name = AsWritten(names[i], false);
    name.erase(0, name.find_first_not_of(' '));
    for (char& c : name)
      if (c == '=') c = '-';
    EXPECT_EQ(got.Name, name);
    EXPECT_EQ(charts[i].Name, name);
    for (int k = 0; k < kDbRecordNumbers; ++k)
      EXPECT_EQ(got.Number[k], want[i].Number[k]) << "number " << k;
    EXPECT_EQ(got.Place, AsWritten(places[i], true));
    EXPECT_EQ(got.Comment, AsWritten(comments[i], false));
    EXPECT_EQ(line.substr(line.size() - 2), "/3");

    DbChart chart;
    ASSERT_TRUE(ParseDbRecord(line, chart, what)) << what;
    EXPECT_EQ(BuildDbRecordLine(chart), line);
  }
}

}  // namespace
