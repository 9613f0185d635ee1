// The angles, the house cusps and the Sun's rising and setting held against
// an astronomer's ephemeris library: moments from 1800 to 2200 and places
// from 60 degrees South to 60 North, the values generated once by
// scripts/factory/make_angle_reference.py (angle_reference.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/astromath.h"
#include "engine/houses.h"
#include "engine/timing.h"
#include "tests/engine/angle_reference.h"

namespace {

constexpr double kArcsecDeg = 1.0 / 3600;
constexpr double kAngleTolDeg = 2 * kArcsecDeg;  // MC, Ascendant and the cusps
constexpr double kEventTolHours = 1.0 / 60;      // rising and setting

double Diff(double a, double b) { return std::remainder(a - b, 360.0); }

std::string Where(const AngleCase& c) {
  return std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day) +
         " " + std::to_string(c.hoursUt) + "h at " + std::to_string(c.latitude) + ", " +
         std::to_string(c.longitude);
}

// The house routine's record for a case, as the chart pipeline fills it.
HouseCuspRecord RecordOf(const AngleCase& c) {
  HouseCuspRecord r;
  r.JulianDay0h = JulianDay(c.day, c.month, c.year, 0);
  r.UniversalTime = static_cast<float>(c.hoursUt);
  r.MomentJulianDay = JulianDay(c.day, c.month, c.year, r.UniversalTime);
  r.PlaceLatitude = static_cast<float>(c.latitude);
  r.PlaceLongitude = static_cast<float>(c.longitude);
  r.SunLongitude = 100;
  r.MoonLongitude = 200;
  return r;
}

// The systems the reference holds, in its order, with their numbers here.
struct System {
  int number;
  const char* name;
};
constexpr System kSystems[6] = {{7, "Morinus"}, {16, "Alcabitius"},   {1, "Placidus"},
                                {2, "Koch"},    {4, "Regiomontanus"}, {6, "Campanus"}};

TEST(AngleReference, MidheavenAndAscendantWithinTwoArcseconds) {
  double worstMc = 0, worstAsc = 0;
  for (const AngleCase& c : kAngleCases) {
    HouseCuspRecord r = RecordOf(c);
    CalcHouseCusps(r, 5);
    worstMc = std::max(worstMc, std::fabs(Diff(r.Cusps[9], c.mc)));
    worstAsc = std::max(worstAsc, std::fabs(Diff(r.Cusps[0], c.asc)));
    EXPECT_NEAR(Diff(r.Cusps[9], c.mc), 0, kAngleTolDeg) << "MC " << Where(c);
    EXPECT_NEAR(Diff(r.Cusps[0], c.asc), 0, kAngleTolDeg) << "Ascendant " << Where(c);
  }
  RecordProperty("worst_mc_arcsec", std::to_string(worstMc * 3600));
  RecordProperty("worst_asc_arcsec", std::to_string(worstAsc * 3600));
}

TEST(AngleReference, EveryCuspOfSixSystemsWithinTwoArcseconds) {
  for (int s = 0; s < 6; ++s) {
    double worst = 0;
    for (const AngleCase& c : kAngleCases) {
      HouseCuspRecord r = RecordOf(c);
      const HouseResult result = CalcHouseCusps(r, kSystems[s].number);
      ASSERT_FALSE(result.EqualFromMcSubstituted) << kSystems[s].name << " " << Where(c);
      for (int k = 0; k < 12; ++k) {
        const double d = Diff(r.Cusps[k], c.cusps[s][k]);
        worst = std::max(worst, std::fabs(d));
        EXPECT_NEAR(d, 0, kAngleTolDeg) << kSystems[s].name << " cusp " << k + 1 << " " << Where(c);
      }
    }
    RecordProperty(std::string("worst_arcsec_") + kSystems[s].name, std::to_string(worst * 3600));
  }
}

// Each date's sunrise and sunset at latitudes up to 60 degrees either way,
// from any moment of the UT date: the reference's first rising and setting
// after 0h UT, both inside the date.
TEST(SunEventReference, RiseAndSetWithinAMinuteFromAnyMomentOfTheDate) {
  double worst = 0;
  for (const SunEventCase& c : kSunEventCases) {
    const std::string where = std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                              std::to_string(c.day) + " at " + std::to_string(c.latitude) + ", " +
                              std::to_string(c.longitude);
    for (float ut : {0.0f, 9.5f, 23.99f}) {
      float rise = -1, set = -1;
      const double jd = JulianDay(c.day, c.month, c.year, ut);
      ASSERT_EQ(CalcSunRiseSet(ut, static_cast<float>(c.latitude), static_cast<float>(c.longitude),
                               0, jd, rise, set),
                SunRiseSetStatus::kNormal)
          << where;
      worst = std::max({worst, std::fabs(rise - c.rise), std::fabs(set - c.set)});
      EXPECT_NEAR(rise, c.rise, kEventTolHours) << "rise " << where << " from " << ut << "h";
      EXPECT_NEAR(set, c.set, kEventTolHours) << "set " << where << " from " << ut << "h";
    }
  }
  RecordProperty("worst_seconds", std::to_string(worst * 3600));
}

}  // namespace
