// A database record line: read, written back and read again. The fields cut
// from any line are written and cut again unchanged, numbers exact. A record
// read from any line comes back to the second and the arc second, house code,
// flag and texts exact (as the writer cleans them); a written line reads back
// to itself.
#include <cmath>

#include "engine/astromath.h"
#include "fuzz/fuzz_support.h"
#include "mainwindow/chartdb.h"

namespace {

constexpr double kSecondDays = 1.0 / 86400.0;
constexpr double kSecondHours = 1.0 / 3600.0;
// Moments and angles a chart can hold; beyond these single-precision hours
// and degrees no longer carry whole seconds. The calendar routine counts
// dates from Julian day 0 (1 January 4713 BC) on.
constexpr double kMaxYears = 20000;
constexpr double kMaxHours = 1000;
constexpr double kMaxDegrees = 1000;

bool ChartLike(const DbChart& c) {
  const double jd = UniversalJulianDay(c.JulianDayUT);
  return jd > 1 && jd - 2451545.0 < kMaxYears * 365.25 && std::fabs(c.UniversalTime) < kMaxHours &&
         std::fabs(c.TimeZone) < 24 && std::fabs(c.GeoLatitude) < kMaxDegrees &&
         std::fabs(c.GeoLongitude) < kMaxDegrees;
}

std::string Cleaned(std::string text, bool place) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (place && c == '/') c = '\\';
  }
  return text;
}

// Tolerance of a single-precision value v compared to the second: one
// second plus a few units in the last place.
double Tol(double v, double second) { return second + 4 * std::fabs(v) * 6e-8; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line = FuzzBytes(data, size);
  (void)FormatDbRecordDateTime(line);
  DbRecordFields fields;
  std::string what;
  if (!ReadDbRecordLine(line, fields, what)) return 0;
  const std::string fieldLine = WriteDbRecordLine(fields);
  DbRecordFields again;
  FUZZ_CHECK(ReadDbRecordLine(fieldLine, again, what), "%s: %s", what.c_str(), fieldLine.c_str());
  for (int i = 0; i < kDbRecordNumbers; ++i)
    FUZZ_CHECK(again.Number[i] == fields.Number[i], "number %d: %s", i, fieldLine.c_str());
  FUZZ_CHECK(WriteDbRecordLine(again) == fieldLine, "%s", fieldLine.c_str());
  DbChart x;
  FUZZ_CHECK(ParseDbRecord(line, x, what), "%s", what.c_str());
  const std::string written = BuildDbRecordLine(x);
  FUZZ_CHECK(written.find_first_of("\r\n") == std::string::npos, "%s", written.c_str());
  DbChart y;
  FUZZ_CHECK(ParseDbRecord(written, y, what), "%s: %s", what.c_str(), written.c_str());
  FUZZ_CHECK(y.HouseCode == x.HouseCode, "%d %d", y.HouseCode, x.HouseCode);
  FUZZ_CHECK(y.RecordFlag == x.RecordFlag, "flag");
  FUZZ_CHECK(y.ChartName == DbNodeText(x.ChartName), "name %s", written.c_str());
  FUZZ_CHECK(y.PlaceName == Cleaned(x.PlaceName, true), "place %s", written.c_str());
  FUZZ_CHECK(y.ChartComment == Cleaned(x.ChartComment, false), "comment %s", written.c_str());
  HouseChoice houses;
  if (UnpackHouseCode(x.HouseCode, houses))
    FUZZ_CHECK(
        PackHouseCode(houses.QuerentHouse, houses.QuesitedHouse, houses.WhoAsks) == x.HouseCode,
        "code %d", x.HouseCode);
  if (!ChartLike(x)) return 0;

  FUZZ_CHECK(std::fabs(y.JulianDayUT - x.JulianDayUT) <=
                 Tol(x.UniversalTime / 24, kSecondDays) + 1e-9 * std::fabs(x.JulianDayUT) / 86400 +
                     kSecondDays,
             "moment %.9f %.9f: %s", y.JulianDayUT, x.JulianDayUT, written.c_str());
  const double dt = std::remainder(static_cast<double>(y.UniversalTime) - x.UniversalTime, 24.0);
  FUZZ_CHECK(std::fabs(dt) <= Tol(x.UniversalTime, kSecondHours) + kSecondHours,
             "time %.7f %.7f: %s", y.UniversalTime, x.UniversalTime, written.c_str());
  FUZZ_CHECK(std::fabs(y.TimeZone - x.TimeZone) <= Tol(x.TimeZone, kSecondHours), "zone %s",
             written.c_str());
  FUZZ_CHECK(std::fabs(y.GeoLatitude - x.GeoLatitude) <= Tol(x.GeoLatitude, kSecondHours),
             "latitude %.7f %.7f: %s", y.GeoLatitude, x.GeoLatitude, written.c_str());
  FUZZ_CHECK(std::fabs(y.GeoLongitude - x.GeoLongitude) <= Tol(x.GeoLongitude, kSecondHours),
             "longitude %.7f %.7f: %s", y.GeoLongitude, x.GeoLongitude, written.c_str());
  // the written line is the record's fixed point
  FUZZ_CHECK(BuildDbRecordLine(y) == written, "%s / %s", BuildDbRecordLine(y).c_str(),
             written.c_str());
  return 0;
}
