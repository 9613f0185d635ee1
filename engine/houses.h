// House cusps: the local sidereal time, the Midheaven, the Ascendant, the
// Vertex, day or night, the Part of Fortune and the Cross of Fate, and the
// twelve cusps in one of 23 house systems.
#pragma once

#include <cstdint>

inline constexpr int kHouseSystemCount = 23;
inline constexpr int kEqualFromMc = 10;  // the high-latitude system

struct HouseCuspRecord {
  double MomentJulianDay = 0;  // the moment, chart time scale (UT + Delta T), days
  double JulianDay0h = 0;      // 0h UT of the date, days
  double ExtraHours = 0;       // hours added to the local sidereal time
  float SunLongitude = 0;      // degrees
  float MoonLongitude = 0;     // degrees
  float MarsLongitude = 0;     // degrees
  float SaturnLongitude = 0;   // degrees
  float PartOfFortune = 0;     // degrees (output)
  float CrossOfFate = 0;       // degrees (output)
  std::int32_t DayFlag = 0;    // +1 day chart, -1 night chart (output)
  float Cusps[12] = {};        // degrees [0, 360), element k = cusp of house k+1 (output)
  float Vertex = 0;            // degrees (output)
  float SunRise = 0;           // hours UT (output)
  float SunSet = 0;            // hours UT (output)
  float UniversalTime = 0;     // hours
  float PlaceLatitude = 0;     // degrees, North positive, geocentric (the chart's)
  float PlaceLongitude = 0;    // degrees, East positive
};

// What the house routine did besides filling the record.
struct HouseResult {
  int HouseSystem = 0;                  // the system in force: 10 after the high-latitude fall-back
  bool HighLatitudeFallback = false;    // latitude above +65: equal houses from the MC for good
  bool EqualFromMcSubstituted = false;  // the system gave a non-finite cusp here: equal
                                        // houses from the MC for this chart only
};

// Fills the outputs of the record for the given house system (1..23).
// siderealSwitch nonzero makes the local sidereal time PlaceLongitude/15 alone.
// Above +65 degrees latitude the system becomes 10 (equal from the MC) and the
// caller keeps it; where the chosen system is undefined (a non-finite cusp,
// e.g. semi-arc systems beyond the polar circle in the south) equal houses
// from the MC are used for this chart without changing the system.
// The Ascendant is the eastern meeting point of ecliptic and horizon at every
// latitude, beyond the Antarctic circle too.
// A system number outside 1..23 runs no system: cusps 2, 3, 5 and 6 keep
// what the record held.
HouseResult CalcHouseCusps(HouseCuspRecord& rec, int houseSystem, std::uint8_t siderealSwitch = 0);
