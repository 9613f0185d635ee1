// Construction of the chart record: start values, names taken from the
// language file, fixed tables, the fixed-star conversion, and the sign and
// degree of a longitude.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "engine/astromath.h"
#include "tests/engine/civil_moment_support.h"

namespace {

// Single-precision star longitudes and motions.
constexpr double kStarLongitudeTolDeg = 1e-4;      // degrees
constexpr double kStarMotionTolDegPerYear = 1e-8;  // degrees per year
constexpr double kAngleTolDeg = 1e-5;              // degrees, single-precision aspect angles

// A language file whose entry n reads "E<n>".
std::vector<std::string> NumberedUiText() {
  std::vector<std::string> text;
  for (int n = 0; n < 535; ++n) {
    std::string entry = "E";
    entry += std::to_string(n);
    text.push_back(entry);
  }
  return text;
}

class ChartRecordInit : public ::testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<ChartRecord>();
    // values a previous chart may have left
    record->Geocentric = 0;
    record->PrevGeocentric = 7;
    record->Retrograde[3] = 1;
    record->SignEdgeFlag[17] = 1;
    record->ChartComment = "old";
    InitChartRecord(*record, NumberedUiText(), 2);
  }
  std::unique_ptr<ChartRecord> record;
};

TEST_F(ChartRecordInit, StartValuesOfTheChartState) {
  const ChartRecord& r = *record;
  EXPECT_EQ(r.Geocentric, 1);
  EXPECT_EQ(r.PrevGeocentric, 0);
  EXPECT_EQ(r.ReceptionSwap, 0);
  EXPECT_EQ(r.QuerentHouse, 0);
  EXPECT_EQ(r.QuesitedHouse, 0);
  EXPECT_EQ(r.HouseRoutineSwitch, 0);
  EXPECT_EQ(r.ColorMode, 2);
  EXPECT_EQ(r.TargetFlags[0], 1);
  EXPECT_EQ(r.TargetFlags[1], 1);
  EXPECT_EQ(r.TargetFlags[2], 1);
  EXPECT_EQ(r.TargetFlags[3], 0);
  EXPECT_EQ(r.ChartComment, "");
  EXPECT_EQ(r.PlaceName, "");
  EXPECT_EQ(r.RecordFlag, 1);
  EXPECT_EQ(r.DragObject, 50);
  EXPECT_EQ(r.DropObject, 50);
  EXPECT_EQ(r.HouseRulerMethod, 2);
  EXPECT_EQ(r.Retrograde[3], 0);
  EXPECT_EQ(r.SignEdgeFlag[17], 0);
}

TEST_F(ChartRecordInit, NamesComeFromTheirLanguageEntries) {
  const ChartRecord& r = *record;
  EXPECT_EQ(r.ChartName, "E324");
  EXPECT_EQ(r.ObjectNames[1], "E81");   // Sun
  EXPECT_EQ(r.ObjectNames[18], "E98");  // Cross of Fate
  EXPECT_EQ(r.ObjectNames[19], "E141");
  EXPECT_EQ(r.ObjectNames[48], "E170");
  // day rulers Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn = bodies 0 1 4 2 5 3 6
  const char* rulers[8] = {"", "E81", "E82", "E85", "E83", "E86", "E84", "E87"};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(r.RulerNames[i], rulers[i]) << "ruler " << i;
  EXPECT_EQ(r.AspectNames[27], "E171");
  EXPECT_EQ(r.AspectNames[30], "E174");
  EXPECT_EQ(r.FixedStarNames[1], "E175");
  EXPECT_EQ(r.FixedStarNames[73], "E247");
}

TEST_F(ChartRecordInit, EveryHouseSystemHasAStatusBarName) {
  EXPECT_EQ(record->HouseSystemNames[1], "E123 E100");  // Placidus
  EXPECT_EQ(record->HouseSystemNames[22], "E123 E121");
  EXPECT_EQ(record->HouseSystemNames[23], "E123 E122");  // the last menu item
}

TEST_F(ChartRecordInit, LiteralAspectNamesInCodePage1251) {
  // 0xB0 is the degree sign of code page 1251.
  EXPECT_EQ(record->AspectNames[1], "0\xB0");
  EXPECT_EQ(record->AspectNames[5], "180\xB0");
  EXPECT_EQ(record->AspectNames[21], "26\xB0");   // 360/14 rounded
  EXPECT_EQ(record->AspectNames[26], "154\xB0");  // 6 * 360/14 rounded
}

TEST(ChartRecordInitShortLanguageFile, MissingEntriesGiveEmptyNames) {
  auto record = std::make_unique<ChartRecord>();
  InitChartRecord(*record, {}, 0);
  EXPECT_EQ(record->ChartName, "");
  EXPECT_EQ(record->ObjectNames[1], "");
  EXPECT_EQ(record->HouseSystemNames[5], " ");
  EXPECT_EQ(record->AspectNames[4], "120\xB0");
}

// A sign's detriment is the domicile of the opposite sign, its fall the
// exaltation of the opposite sign (classical rule of the dignities).
TEST_F(ChartRecordInit, DebilitiesAreTheDignitiesOfTheOppositeSign) {
  for (int s = 0; s < 12; ++s) {
    EXPECT_EQ(record->DetrimentRuler[s], record->DomicileRuler[(s + 6) % 12]) << "sign " << s;
    EXPECT_EQ(record->FallRuler[s], record->ExaltationRuler[(s + 6) % 12]) << "sign " << s;
  }
  EXPECT_EQ(record->DomicileRuler[0], 4);    // Mars rules Aries
  EXPECT_EQ(record->DomicileRuler[4], 0);    // Sun rules Leo
  EXPECT_EQ(record->ExaltationRuler[0], 0);  // Sun exalted in Aries
  EXPECT_EQ(record->ExaltationRuler[1], 1);  // Moon exalted in Taurus
  EXPECT_EQ(record->ExaltationRuler[6], 6);  // Saturn exalted in Libra
}

TEST_F(ChartRecordInit, FixedStarsInDecimalDegreesAndDegreesPerYear) {
  const ChartRecord& r = *record;
  // 203 deg 08 min and 47.4"/yr
  EXPECT_NEAR(r.FixedStarLon1950[48], 203.0 + 8.0 / 60.0, kStarLongitudeTolDeg);
  EXPECT_NEAR(r.FixedStarMotion[48], 47.4 / 3600.0, kStarMotionTolDegPerYear);  // 0.0131667
  // stored as 64.60: sixty minutes make the next degree
  EXPECT_NEAR(r.FixedStarLon1950[14], 65.0, kStarLongitudeTolDeg);
  EXPECT_NEAR(r.FixedStarLon1950[12], 55.0 + 28.0 / 60.0, kStarLongitudeTolDeg);
  EXPECT_NEAR(r.FixedStarLon1950[39], 149.0 + 8.0 / 60.0, kStarLongitudeTolDeg);
  EXPECT_NEAR(r.FixedStarLon1950[72], 358.0 + 43.0 / 60.0, kStarLongitudeTolDeg);
  EXPECT_NEAR(r.FixedStarMotion[26], 18.3 / 3600.0, kStarMotionTolDegPerYear);
  EXPECT_EQ(r.FixedStarClass[30], 6);
  EXPECT_EQ(r.FixedStarClass[48], 1);
  for (int s = 1; s < kFixedStarCount; ++s)
    EXPECT_GE(r.FixedStarLon1950[s], r.FixedStarLon1950[s - 1]) << "stars in longitude order";
}

TEST_F(ChartRecordInit, GlyphCharacters) {
  const ChartRecord& r = *record;
  EXPECT_EQ(static_cast<unsigned char>(ObjectGlyphOf(r, 18)), 45);
  EXPECT_EQ(static_cast<unsigned char>(ObjectGlyphOf(r, 35)), 155);
  EXPECT_EQ(static_cast<unsigned char>(ObjectGlyphOf(r, 19)), 130);
  EXPECT_EQ(ObjectGlyphOf(r, 0), 'a');
  EXPECT_EQ(ObjectGlyphOf(r, 17), ')');
  EXPECT_EQ(r.SignGlyph[11], ']');
  EXPECT_EQ(r.AspectGlyph[0], 'Q');
  EXPECT_EQ(r.AspectGlyph[29], '*');
  EXPECT_EQ(r.RetrogradeGlyph, '!');
}

TEST_F(ChartRecordInit, GlyphSizeListAndAspectAngles) {
  const ChartRecord& r = *record;
  EXPECT_EQ(r.GlyphSizeList[0], 1);
  EXPECT_EQ(r.GlyphSizeList[15], 20);  // the designed size "20"
  EXPECT_EQ(r.GlyphSizeList[25], 55);
  for (int n = 1; n <= 6; ++n)  // septiles: n * 360/14
    EXPECT_NEAR(r.AspectAngle[19 + n], n * 360.0 / 14.0, kAngleTolDeg) << "kind " << 19 + n;
  EXPECT_EQ(r.AspectAngle[2], 90.0f);
  EXPECT_EQ(r.AspectAngle[9], 18.0f);
  EXPECT_EQ(r.AspectAngle[26], 0.0f);
}

// ---- Sign and degree of a longitude -------------------------------------

struct SignDegreeCase {
  double lon;  // degrees
  int sign;
  int degree;
};

class SignAndDegree : public ::testing::TestWithParam<SignDegreeCase> {};

TEST_P(SignAndDegree, OfAnyLongitude) {
  const SignDegreeCase& c = GetParam();
  EXPECT_EQ(SignOf(c.lon), c.sign) << "longitude " << c.lon;
  EXPECT_EQ(DegreeOf(c.lon), c.degree) << "longitude " << c.lon;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SignAndDegree,
                         ::testing::Values(SignDegreeCase{0.0, 0, 0}, SignDegreeCase{360.0, 0, 0},
                                           SignDegreeCase{359.9999999, 11, 359},
                                           // 1e-12 degrees before 0 Aries lies at the end of Pisces
                                           SignDegreeCase{-1e-12, 11, 359},
                                           // so small that the reduction rounds to 360: counts as 0
                                           SignDegreeCase{-1e-20, 0, 0},
                                           SignDegreeCase{29.999999, 0, 29},
                                           SignDegreeCase{30.0, 1, 30}, SignDegreeCase{720.5, 0, 0},
                                           SignDegreeCase{-30.5, 10, 329},
                                           SignDegreeCase{203.1333, 6, 203}));

TEST(SignAndDegreeNonFinite, GivesZero) {
  EXPECT_EQ(SignOf(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(DegreeOf(std::numeric_limits<double>::infinity()), 0);
}

TEST(DegMinConversion, MinutesBecomeSixtieths) {
  constexpr double kTolDeg = 1e-12;  // degrees, double arithmetic
  EXPECT_NEAR(DegMinToDegrees(203.08), 203.0 + 8.0 / 60.0, kTolDeg);
  EXPECT_NEAR(DegMinToDegrees(1.51), 1.0 + 51.0 / 60.0, kTolDeg);
  EXPECT_NEAR(DegMinToDegrees(140.00), 140.0, kTolDeg);
}

TEST(LocalMomentText, RoundsToTheSecondAndCarriesIntoTheDate) {
  // 23:59:59.98 is 00:00:00 of the next date, whichever month or year ends
  for (const testsupport::CivilCase& c : testsupport::MidnightSweep()) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%02d.%02d.%d-%02d:%02d:%02d", c.day, c.month, c.year,
                  c.hour, c.minute, c.second);
    EXPECT_EQ(LocalMomentText(c.chartJulianDay, c.timeZone), expected)
        << "JD " << c.chartJulianDay << ", zone " << c.timeZone;
  }
}

}  // namespace

namespace {

// The status bar's chart time: every whole minute of a day (in two eras and
// two zones) reads back as that minute with ":00" seconds, never ":59" of the
// minute before.
TEST(LocalMomentTextOfWholeMinutes, ShowsEveryMinuteOfADayWithZeroSeconds) {
  struct Day {
    int day, month, year;
    float zone;
  };
  for (const Day d : {Day{9, 12, 2026, 3.0f}, Day{1, 3, 1900, -5.0f}}) {
    for (int minute = 0; minute < 24 * 60; ++minute) {
      const int h = minute / 60, m = minute % 60;
      // the local moment in hours, put onto the chart's scale as the data
      // input does: universal time, plus Delta T by JulianDay
      const float ut = static_cast<float>(h + m / 60.0 - d.zone);
      const double jd = JulianDay(d.day, d.month, d.year, ut);
      char want[32];
      std::snprintf(want, sizeof want, "%02d:%02d:00", h, m);
      const std::string text = LocalMomentText(jd, d.zone);
      ASSERT_EQ(text.substr(text.size() - 8), want) << text << " year " << d.year;
    }
  }
}

}  // namespace
