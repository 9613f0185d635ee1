// The aspect search between chart objects and the lines of the aspect list,
// on hand-placed objects whose aspects follow from the orb, the whole-sign
// rule and the kinds' angles.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/aspects.h"

namespace {

constexpr double kDeviationTolDeg = 1e-4;  // degrees, single-precision longitudes

// Bodies used below.
constexpr int kSun = 0, kMoon = 1, kMercury = 2, kMars = 4, kJupiter = 5, kSaturn = 6, kPluto = 9,
              kChiron = 10, kLilith = 12, kNorthNode = 14, kSouthNode = 15;
constexpr int kFirstCusp = 18, kNorthPoint = 32;

// A chart with every object at 0 deg, every kind enabled and one base orb for
// every pair, as the search sees it before the caller places the objects.
std::unique_ptr<ChartRecord> AspectChart(float orb) {
  auto c = std::make_unique<ChartRecord>();
  InitChartRecord(*c, {}, 0);
  c->OrbScale[0] = 1;
  c->OrbScaleIndex = 0;
  for (int k = 0; k < kAspectKindCount; ++k) {
    c->AspectOrbFactor[k] = 1;
    c->AspectKindEnabled[k] = 1;
  }
  for (int a = 0; a < kObjectCount; ++a)
    for (int b = 0; b < kObjectCount; ++b) {
      c->PairOrb[a][b] = orb;
      c->AspectKind[a][b] = kNone;
    }
  for (int o = 0; o < kObjectCount; ++o) c->ObjectShown[o] = c->ObjectAspected[o] = 1;
  // cusps and points far from where the tests put the bodies
  for (int i = 0; i < 12; ++i) c->HouseCusps()[i] = 200.5f + i * 0.01f;
  for (int i = 0; i < 6; ++i) c->SpecialPoints[i] = 200.5f + i * 0.01f;
  return c;
}

// ---- orb and whole-sign rule ---------------------------------------------

TEST(AspectSearch, OrbZeroMatchesOnlyTheExactAngle) {
  auto c = AspectChart(0);
  c->EclipticLongitude[kSun] = 10;
  c->EclipticLongitude[kMoon] = 70;  // exactly 60 deg
  c->EclipticLongitude[kMars] = 100.25;
  c->EclipticLongitude[kJupiter] = 160.5;  // 60.25 deg from Mars
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 1);
  EXPECT_EQ(c->AspectSeparation[kMoon][kSun], 0.0f);
  EXPECT_EQ(c->AspectKind[kMars][kJupiter], kNone);
}

TEST(AspectSearch, WholeSignRuleRejectsAnAngleAcrossTheWrongSigns) {
  auto c = AspectChart(3);
  // 29 Aries to 1 Gemini: 32 deg, within 30 +- 3, but two signs apart
  c->EclipticLongitude[kSun] = 29;
  c->EclipticLongitude[kMars] = 61;
  // 29 Aries to 29 Taurus: 30 deg, one sign apart
  c->EclipticLongitude[kMoon] = 29;
  c->EclipticLongitude[kJupiter] = 59;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMars], kNone);
  EXPECT_EQ(c->AspectKind[kMoon][kJupiter], 5);
}

TEST(AspectSearch, LowestKindIndexWinsAndKindsCanBeSwitchedOff) {
  // 9 deg in one sign lies within 0 +- 12, 18 +- 12 and 20 +- 12
  auto c = AspectChart(12);
  c->EclipticLongitude[kSun] = 10;
  c->EclipticLongitude[kMoon] = 19;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 0);
  EXPECT_NEAR(c->AspectSeparation[kMoon][kSun], 9.0, kDeviationTolDeg);

  c->AspectKindEnabled[0] = 0;
  CalcAspects(*c, 0);  // the choice of kinds is not honoured
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 0);
  CalcAspects(*c, 1);
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 9);  // 18 deg
  EXPECT_NEAR(c->AspectSeparation[kMoon][kSun], 9.0, kDeviationTolDeg);
}

TEST(AspectSearch, ResultsAreStoredSymmetricWithSeparationAboveAndDeviationBelow) {
  auto c = AspectChart(2);
  c->EclipticLongitude[kMars] = 350;
  c->EclipticLongitude[kSaturn] = 80.5;  // 90.5 deg across 0 Aries, Pisces to Gemini
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kMars][kSaturn], 2);
  EXPECT_EQ(c->AspectKind[kSaturn][kMars], 2);
  EXPECT_NEAR(c->AspectSeparation[kMars][kSaturn], 90.5, kDeviationTolDeg);
  EXPECT_NEAR(c->AspectSeparation[kSaturn][kMars], 0.5, kDeviationTolDeg);
  EXPECT_FLOAT_EQ(c->ObjectLongitude[kSaturn], 80.5f);
}

TEST(AspectSearch, LongitudeOf360CountsAsZeroAries) {
  auto c = AspectChart(1);
  c->EclipticLongitude[kSun] = 0.5;
  c->SpecialPoints[2] = 360.0f;  // a North point at 360
  c->EclipticLongitude[kMoon] = 360.0;
  c->EclipticLongitude[kMars] = 29.5;  // 29.5 deg on in Aries: no 30 deg aspect
  c->EclipticLatitude[kMoon] = 5;      // and no latitude kind
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kNorthPoint], 0);
  EXPECT_NEAR(c->AspectSeparation[kNorthPoint][kSun], 0.5, kDeviationTolDeg);
  EXPECT_EQ(c->AspectKind[kMoon][kMars], kNone);
}

// ---- latitude kinds and sums of longitudes --------------------------------

TEST(AspectSearch, LatitudeKindsBetweenBodiesInOneSign) {
  auto c = AspectChart(1);
  // 23 deg apart in Aries: no longitude kind within 1 deg
  c->EclipticLongitude[kSun] = 2;
  c->EclipticLongitude[kMercury] = 25;
  c->EclipticLatitude[kSun] = 2;
  c->EclipticLatitude[kMercury] = -2;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMercury], 27) << "opposite sides: not 26, but 27";
  EXPECT_NEAR(c->AspectSeparation[kMercury][kSun], 0.0, kDeviationTolDeg);

  c->EclipticLatitude[kMercury] = 1.5;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMercury], 26);
  EXPECT_NEAR(c->AspectSeparation[kMercury][kSun], 0.5, kDeviationTolDeg);

  // 33 deg apart, Aries and Taurus: neither, whatever the latitudes
  c->EclipticLongitude[kMercury] = 35;
  c->EclipticLatitude[kMercury] = 2;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kMercury], kNone);
}

TEST(AspectSearch, LatitudeKindsOnlyBetweenSunAndPluto) {
  // Bodies 0..9 only: Chiron has a latitude but is not measured, nor are
  // Lilith or a cusp, whatever latitude the record holds for them.
  auto c = AspectChart(1);
  c->EclipticLongitude[kSun] = 2;
  c->EclipticLongitude[kPluto] = 24.8;
  c->EclipticLongitude[kChiron] = 25;
  c->EclipticLongitude[kLilith] = 25.5;
  c->EclipticLatitude[kSun] = 1.2;
  c->EclipticLatitude[kPluto] = 1.0;
  c->EclipticLatitude[kChiron] = 1.0;
  c->EclipticLatitude[kLilith] = 1.2;  // a value the engine never gives it
  c->HouseCusps()[0] = 24.5f;
  // separations a previous chart left behind
  c->AspectSeparation[kSun][kChiron] = 0;
  c->AspectSeparation[kSun][kLilith] = 0;
  c->AspectSeparation[kSun][kFirstCusp] = 0;
  for (int honour : {0, 1}) {
    // with 1 only the latitude kinds are searched: nothing carries over
    for (int k = 0; k < kAspectKindCount; ++k) c->AspectKindEnabled[k] = (k == 26 || k == 27);
    CalcAspects(*c, static_cast<std::uint8_t>(honour));
    EXPECT_EQ(c->AspectKind[kSun][kPluto], 26) << honour;
    EXPECT_EQ(c->AspectKind[kSun][kChiron], kNone) << honour;
    EXPECT_EQ(c->AspectKind[kSun][kLilith], kNone) << honour;
    EXPECT_EQ(c->AspectKind[kSun][kFirstCusp], kNone) << honour;
  }
}

TEST(AspectSearch, SumsOfLongitudesAgainst360And180) {
  auto c = AspectChart(1);
  // the two bodies are also in conjunction: only the kind under test is searched
  for (int k = 0; k < kAspectKindCount; ++k) c->AspectKindEnabled[k] = (k == 28);
  c->EclipticLongitude[kSun] = 179.5;  // both in Virgo, sum 359.3
  c->EclipticLongitude[kMoon] = 179.8;
  CalcAspects(*c, 1);
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 28);
  EXPECT_NEAR(c->AspectSeparation[kMoon][kSun], 0.7, kDeviationTolDeg);

  for (int k = 0; k < kAspectKindCount; ++k) c->AspectKindEnabled[k] = (k == 29);
  c->EclipticLongitude[kSun] = 89.25;  // both in Gemini, sum 179.25
  c->EclipticLongitude[kMoon] = 90 - 0.0625;
  CalcAspects(*c, 1);
  EXPECT_EQ(c->AspectKind[kSun][kMoon], 29);
  EXPECT_NEAR(c->AspectSeparation[kMoon][kSun], 0.8125, kDeviationTolDeg);
  EXPECT_NEAR(c->AspectSeparation[kSun][kMoon], 0.8125, kDeviationTolDeg) << "never negative";
}

// ---- applying and separating -----------------------------------------------

TEST(AspectSearch, ApplyingWhenTheDeviationShrinksTestedInDoublePrecision) {
  auto c = AspectChart(1);
  // Jupiter 29 Capricorn direct, Saturn 29.5 Pisces slow: 60.5 deg closing to
  // the sextile. One 0.001-hour step moves them 8e-6 and 1e-6 deg, less than
  // half a single-precision step at these longitudes (3e-5 deg).
  c->EclipticLongitude[kJupiter] = 299.0;
  c->EclipticLongitude[kSaturn] = 359.5;
  c->DailyMotion[kJupiter] = 0.2;
  c->DailyMotion[kSaturn] = 0.03;
  CalcAspects(*c, 0);
  ASSERT_EQ(c->AspectKind[kJupiter][kSaturn], 1);
  EXPECT_EQ(c->AspectApplying[kJupiter][kSaturn], 1);
  EXPECT_EQ(c->AspectApplying[kSaturn][kJupiter], 1);

  c->DailyMotion[kJupiter] = -0.1;  // Jupiter retrograde: the gap widens
  CalcAspects(*c, 0);
  ASSERT_EQ(c->AspectKind[kJupiter][kSaturn], 1);
  EXPECT_EQ(c->AspectApplying[kJupiter][kSaturn], 0);

  // at 29.5 Scorpio and 0 Aquarius they are three signs apart: no sextile
  c->EclipticLongitude[kJupiter] = 239.5;
  c->EclipticLongitude[kSaturn] = 300.0;
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kJupiter][kSaturn], kNone);
}

TEST(AspectSearch, PairsWithACuspOrWithoutAspectAreNeverApplying) {
  auto c = AspectChart(1);
  for (int a = 0; a < kBodyCount; ++a)
    for (int b = 0; b < kBodyCount; ++b) c->AspectApplying[a][b] = 1;  // a previous chart's
  for (int b = 0; b < kBodyCount; ++b) {
    c->EclipticLongitude[b] = 100 + 3 * b;  // 3 deg apart: no aspect within 1 deg
    c->DailyMotion[b] = 0;
  }
  c->DailyMotion[kSun] = 1;
  c->HouseCusps()[0] = 160.5f;  // 60.5 deg ahead of the Sun, which closes in
  CalcAspects(*c, 0);
  EXPECT_EQ(c->AspectKind[kSun][kFirstCusp], 1);
  for (int a = 0; a < kBodyCount; ++a)
    for (int b = 0; b < kBodyCount; ++b)
      if (a != b) {
        EXPECT_EQ(c->AspectApplying[a][b], 0) << a << "-" << b;
      }
}

// ---- the aspect list -----------------------------------------------------------

// A chart with no aspect at all and the list shown.
std::unique_ptr<ChartRecord> ListChart() {
  auto c = AspectChart(1);
  c->AspectListShown = 1;
  c->AspectListFilter = 0;
  c->AspectListObject = kNone;
  return c;
}

void SetAspect(ChartRecord& c, int o1, int o2, int kind, float deviation) {
  c.AspectKind[o1][o2] = c.AspectKind[o2][o1] = kind;
  c.AspectSeparation[o2][o1] = deviation;
}

TEST(AspectList, LineCarriesGlyphsAndTheDeviationInTwoDigitFields) {
  auto c = ListChart();
  SetAspect(*c, kSun, kMoon, 1, static_cast<float>(1 + 2 / 60.0 + 3 / 3600.0));
  SetAspect(*c, kMars, kFirstCusp + 9, 2, static_cast<float>(12 + 34 / 60.0 + 56 / 3600.0));
  const std::vector<std::string> lines = FillAspectList(*c);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "aWs:01\x91"
            "02<03=");
  EXPECT_EQ(lines[1],
            "gE>:12\x91"
            "34<56=");  // Mars square the MC (glyph byte 62)
  for (const std::string& line : lines)
    EXPECT_EQ(line.size(), static_cast<size_t>(kAspectLineLength));
}

TEST(AspectList, EmptyWhileTheListIsHidden) {
  auto c = ListChart();
  SetAspect(*c, kSun, kMoon, 0, 0.5f);
  c->AspectListShown = 0;
  EXPECT_TRUE(FillAspectList(*c).empty());
}

TEST(AspectList, LeavesOutNodesHiddenObjectsAndOthersWhileFiltered) {
  auto c = ListChart();
  SetAspect(*c, kNorthNode, kSouthNode, 4, 0);
  SetAspect(*c, kSouthNode, kFirstCusp, 3, 1);  // the South node as first object
  SetAspect(*c, kSun, kMars, 2, 1);
  SetAspect(*c, kMoon, kJupiter, 3, 1);
  SetAspect(*c, kSaturn, kChiron, 5, 1);
  SetAspect(*c, kFirstCusp, kFirstCusp + 3, 2, 0);  // two cusps: not listed
  c->ObjectShown[kMars] = 0;
  c->ObjectAspected[kChiron] = 0;
  std::vector<std::string> lines = FillAspectList(*c);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 3), "sRh");

  c->ObjectShown[kMars] = 1;
  c->AspectListFilter = 1;
  c->AspectListObject = kMars;
  lines = FillAspectList(*c);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 3), "aEg");
}

}  // namespace
