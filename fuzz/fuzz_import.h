// The invariants every foreign-chart reader keeps, whatever the bytes: the
// code page 866 conversion keeps the length and the bytes below 0x80; a file
// read gives a database whose tree and record lines match one to one, the
// root and the section first, every chart a level below with a line that ends
// in its kind and reads back as a record with every value within the limits
// of the data-input dialog; a failure names a line of the file.
#pragma once

#include "fuzz/fuzz_support.h"
#include "mainwindow/chartimport.h"

inline int FuzzForeignFormat(ForeignFormat format, const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = FuzzBytes(data, size);
  const std::string converted = ConvertDosFile(bytes);
  FUZZ_CHECK(converted.size() == bytes.size(), "length %zu %zu", converted.size(), bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (static_cast<unsigned char>(bytes[i]) < 0x80)
      FUZZ_CHECK(converted[i] == bytes[i], "byte %zu changed", i);
  const bool dos = format == ForeignFormat::Almagest || format == ForeignFormat::Gemma ||
                   format == ForeignFormat::Uranus;
  const std::string_view text = dos ? std::string_view(converted) : bytes;

  std::vector<ImportedChart> charts;
  ImportFailure failure;
  if (!ReadForeignCharts(format, text, charts, failure)) {
    FUZZ_CHECK(failure.Fault != ImportFault::None, "failure without a reason");
    FUZZ_CHECK(failure.Line >= 0 &&
                   static_cast<std::size_t>(failure.Line) <= LinesOfText(DosText(text)).size(),
               "line %d", failure.Line);
    return 0;
  }
  const ChartDatabase db = BuildImportedDatabase("root", "section", charts);
  FUZZ_CHECK(db.Nodes.size() == db.Lines.size(), "%zu nodes, %zu lines", db.Nodes.size(),
             db.Lines.size());
  FUZZ_CHECK(db.Nodes.size() == charts.size() + 2, "%zu nodes", db.Nodes.size());
  FUZZ_CHECK(db.Nodes[0].Level == 0 && db.Lines[0] == "root/1", "root %s", db.Lines[0].c_str());
  FUZZ_CHECK(db.Nodes[1].Level == 1 && db.Lines[1] == "section/1", "section %s",
             db.Lines[1].c_str());
  for (std::size_t i = 2; i < db.Nodes.size(); ++i) {
    const std::string& line = db.Lines[i];
    FUZZ_CHECK(db.Nodes[i].Level == 2 && db.Nodes[i].State == kDbChart, "node %zu", i);
    FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "/3") == 0, "kind: %s",
               line.c_str());
    FUZZ_CHECK(line.compare(0, line.find('='), db.Nodes[i].Text) == 0 &&
                   line.find('=') == db.Nodes[i].Text.size(),
               "name %s / %s", db.Nodes[i].Text.c_str(), line.c_str());
    DbChart chart;
    std::string what;
    FUZZ_CHECK(ParseDbRecord(line, chart, what), "%s: %s", what.c_str(), line.c_str());
    FUZZ_CHECK(chart.HouseCode == 1, "code %d", chart.HouseCode);
    // only what the data-input dialog would take is imported
    DbRecordFields f;
    FUZZ_CHECK(ReadDbRecordLine(line, f, what), "%s", what.c_str());
    const int* n = f.Number;
    FUZZ_CHECK(n[0] >= 1 && n[0] <= 31 && n[1] >= 1 && n[1] <= 12, "date %d.%d", n[0], n[1]);
    FUZZ_CHECK(n[3] >= 0 && n[3] <= 23 && n[4] >= 0 && n[4] <= 59 && n[5] >= 0 && n[5] <= 59,
               "time %d:%d:%d", n[3], n[4], n[5]);
    FUZZ_CHECK(chart.TimeZone >= -14 && chart.TimeZone <= 14, "zone %f", chart.TimeZone);
    FUZZ_CHECK(chart.GeoLatitude >= -90 && chart.GeoLatitude <= 90, "latitude %f",
               chart.GeoLatitude);
    FUZZ_CHECK(chart.GeoLongitude >= -180 && chart.GeoLongitude <= 180, "longitude %f",
               chart.GeoLongitude);
  }
  // the tree text and the lines load as a database pair
  ChartDatabase loaded;
  std::string message;
  FUZZ_CHECK(ParseDatabasePair(BuildTreeText(db.Nodes), db.Lines, "zrt", "zrn", loaded, message),
             "%s", message.c_str());
  FUZZ_CHECK(loaded.Nodes.size() == db.Nodes.size(), "reloaded %zu", loaded.Nodes.size());
  for (std::size_t i = 0; i < db.Nodes.size(); ++i)
    FUZZ_CHECK(
        loaded.Nodes[i].Text == db.Nodes[i].Text && loaded.Nodes[i].Level == db.Nodes[i].Level,
        "node %zu reloads as %s", i, loaded.Nodes[i].Text.c_str());
  return 0;
}
