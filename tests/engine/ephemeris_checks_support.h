// The reference places of tests/data/ephemeris_checks.tsv: apparent
// geocentric longitude, latitude and speed in longitude of the Sun, the Moon,
// Mercury to Pluto and Chiron, and the mean node, on the true ecliptic and
// equinox of date, at 240 moments over 1800-2200 from a DE431-based
// ephemeris (made by scripts/factory/make_ephemeris_checks.py).
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

struct EphemerisCheck {
  double jd;     // Terrestrial Time, the chart's time scale
  int body;      // the chart's body index (14: the mean node)
  double lon;    // degrees
  double lat;    // degrees
  double speed;  // degrees per day, in longitude
  // the calendar year, near enough for choosing spans
  int Year() const { return static_cast<int>(2000.0 + (jd - 2451545.0) / 365.2425); }
};

inline std::vector<EphemerisCheck> LoadEphemerisChecks() {
  std::vector<EphemerisCheck> rows;
  std::ifstream in(std::string(HORARY_TEST_DATA) + "/ephemeris_checks.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    EphemerisCheck r{};
    s >> r.jd >> r.body >> r.lon >> r.lat >> r.speed;
    if (s) rows.push_back(r);
  }
  return rows;
}

}  // namespace testsupport
