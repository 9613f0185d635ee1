// Fixed-star precession, mutual receptions and the swap variant, house
// rulers by each method, and Arabic parts by day and by night.
#include <gtest/gtest.h>

#include <memory>

#include "chart/rulers.h"
#include "engine/bodies.h"

namespace {

constexpr double kStarTolDeg = 1e-3;  // degrees, single-precision star table
constexpr double kPartTolDeg = 1e-4;  // degrees, single-precision longitudes

// A chart with the fixed ruler tables, every object shown, and bodies 0..17
// placed by the caller; SortedPoints names each body with the sign of its
// longitude (filled here by hand, not by the glyph placement).
class ChartFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    r = std::make_unique<ChartRecord>();
    for (int s = 0; s < 12; ++s) {
      r->DomicileRuler[s] = kDomicileRuler[s];
      r->ExaltationRuler[s] = kExaltationRuler[s];
      r->DetrimentRuler[s] = kDetrimentRuler[s];
      r->FallRuler[s] = kFallRuler[s];
    }
    for (auto& shown : r->ObjectShown) shown = 1;
    // Every body in Virgo unless a test moves it: Mercury rules it and is
    // exalted there, so nobody else is received there.
    for (int b = 0; b < kBodyCount; ++b) Place(b, 155.0 + b * 0.5);
  }

  void Place(int body, double lon) {
    r->EclipticLongitude[body] = lon;
    r->SortedPoints[body].Body = body;
    r->SortedPoints[body].Sign = static_cast<int>(lon / 30) + 1;
  }

  std::unique_ptr<ChartRecord> r;
};

// ---- fixed stars ----------------------------------------------------------

TEST_F(ChartFixture, StarsPrecessLinearlyFrom1950) {
  // Star 48: 203 deg 08 min at 1950.0, 47.4" a year; fifty years on (J2000)
  // it stands 50 x 0.0131667 deg further.
  r->FixedStarLon1950[48] = 203.0f + 8.0f / 60;
  r->FixedStarMotion[48] = 47.4f / 3600;
  // Star 72: 358 deg 43 min, 43.6"/year, crosses 0 Aries within the century.
  r->FixedStarLon1950[72] = 358.0f + 43.0f / 60;
  r->FixedStarMotion[72] = 43.6f / 3600;
  // Star 0: 1 deg 51 min, 45.1"/year; in 1800 it stood before 0 Aries.
  r->FixedStarLon1950[0] = 1.0f + 51.0f / 60;
  r->FixedStarMotion[0] = 45.1f / 3600;

  PrecessFixedStars(2451545.0, *r);  // J2000, 49.9973 years after 1950.0
  EXPECT_NEAR(r->FixedStarLongitude[48], 203.7917, kStarTolDeg);

  PrecessFixedStars(2433282.5 + 150 * 365.25, *r);  // 2100.0
  EXPECT_NEAR(r->FixedStarLongitude[72], 358.71667 + 150 * 43.6 / 3600 - 360, kStarTolDeg);

  PrecessFixedStars(2433282.5 - 150 * 365.25, *r);  // 1800.0
  EXPECT_NEAR(r->FixedStarLongitude[0], 1.85 - 150 * 45.1 / 3600 + 360, kStarTolDeg);
  for (float lon : r->FixedStarLongitude) {
    EXPECT_GE(lon, 0.0f);
    EXPECT_LT(lon, 360.0f);
  }
}

// ---- receptions -------------------------------------------------------------

TEST_F(ChartFixture, SunInCancerMoonInLeoAreInDomicileReception) {
  Place(0, 100.0);  // Sun, Cancer (ruled by the Moon)
  Place(1, 130.0);  // Moon, Leo (ruled by the Sun)
  EXPECT_EQ(FindReceptions(*r), SwapMenuState::kEnable);
  EXPECT_EQ(r->Receptions[0][kReceptionDomicile], 1);
  EXPECT_EQ(r->Receptions[1][kReceptionDomicile], 0);
  EXPECT_EQ(r->ReceptionShift[0], 1);
  EXPECT_EQ(r->ReceptionShift[1], -1);
  for (int b = 2; b < 12; ++b) EXPECT_EQ(r->ReceptionShift[b], 0) << b;
  for (int q : {kReceptionExaltation, kReceptionDetriment, kReceptionFall}) {
    EXPECT_EQ(r->Receptions[0][q], kNone);
    EXPECT_EQ(r->Receptions[1][q], kNone);
  }
  EXPECT_EQ(r->Receptions[4][kReceptionDomicile], kNone);  // Mars in Virgo
}

TEST_F(ChartFixture, NoReceptionDisablesTheSwap) {
  Place(0, 100.0);           // Sun in Cancer, Moon in Virgo
  r->ReceptionShift[3] = 2;  // left from an earlier chart
  r->Receptions[3][0] = 7;
  EXPECT_EQ(FindReceptions(*r), SwapMenuState::kDisable);
  EXPECT_EQ(r->Receptions[3][kReceptionDomicile], kNone);
  for (int b = 0; b < 12; ++b) {
    EXPECT_EQ(r->ReceptionShift[b], 0) << b;
    if (b == 2) continue;  // Mercury, exalted in its own Virgo, names itself
    EXPECT_EQ(r->Receptions[b][kReceptionExaltation], kNone) << b;
  }
}

TEST_F(ChartFixture, HiddenPartnerKeepsTheReceptionButGivesNoShift) {
  Place(0, 100.0);
  Place(1, 130.0);
  r->ObjectShown[1] = 0;
  EXPECT_EQ(FindReceptions(*r), SwapMenuState::kDisable);
  EXPECT_EQ(r->Receptions[0][kReceptionDomicile], 1);
  EXPECT_EQ(r->ReceptionShift[0], 0);
  EXPECT_EQ(r->ReceptionShift[1], 0);
}

TEST_F(ChartFixture, KindsFollowTheirSwitches) {
  Place(0, 40.0);          // Sun in Taurus, where the Moon is exalted
  Place(1, 10.0);          // Moon in Aries, where the Sun is exalted
  Place(4, 45.0);          // Mars in Taurus, Pluto's detriment
  Place(9, 190.0);         // Pluto in Libra, Mars' detriment
  ReceptionParams params;  // domicile and exaltation
  EXPECT_EQ(FindReceptions(*r, params), SwapMenuState::kEnable);
  EXPECT_EQ(r->Receptions[0][kReceptionExaltation], 1);
  EXPECT_EQ(r->Receptions[1][kReceptionExaltation], 0);
  EXPECT_EQ(r->Receptions[4][kReceptionDetriment], kNone);
  EXPECT_EQ(r->ReceptionShift[0], -1);
  EXPECT_EQ(r->ReceptionShift[1], 1);
  EXPECT_EQ(r->ReceptionShift[4], 0);

  params.KindOn[kReceptionExaltation] = false;
  params.KindOn[kReceptionDetriment] = true;
  EXPECT_EQ(FindReceptions(*r, params), SwapMenuState::kEnable);
  EXPECT_EQ(r->Receptions[0][kReceptionExaltation], kNone);
  EXPECT_EQ(r->ReceptionShift[0], 0);
  EXPECT_EQ(r->Receptions[4][kReceptionDetriment], 9);
  EXPECT_EQ(r->Receptions[9][kReceptionDetriment], 4);
  EXPECT_EQ(r->ReceptionShift[4], 5);
  EXPECT_EQ(r->ReceptionShift[9], -5);
}

TEST_F(ChartFixture, LaterKindOverwritesTheShift) {
  Place(0, 100.0);  // Sun in Cancer: domicile with the Moon in Leo ...
  Place(1, 130.0);
  Place(4, 200.0);  // ... and fall with Mars in Libra (Mars falls in Cancer)
  ReceptionParams params;
  params.KindOn[kReceptionFall] = true;
  EXPECT_EQ(FindReceptions(*r, params), SwapMenuState::kEnable);
  EXPECT_EQ(r->Receptions[0][kReceptionDomicile], 1);
  EXPECT_EQ(r->Receptions[0][kReceptionFall], 4);
  EXPECT_EQ(r->ReceptionShift[0], 3);  // Libra - Cancer, not Leo - Cancer
  EXPECT_EQ(r->ReceptionShift[1], -1);
  EXPECT_EQ(r->ReceptionShift[4], -3);
}

TEST_F(ChartFixture, SwappedChartKeepsTheShiftsItWasMadeWith) {
  Place(0, 100.0);
  Place(1, 130.0);
  ASSERT_EQ(FindReceptions(*r), SwapMenuState::kEnable);
  // The swapped chart: the Sun moved into Leo, the Moon into Cancer.
  r->ReceptionSwap = 1;
  Place(0, 130.0);
  Place(1, 100.0);
  EXPECT_EQ(FindReceptions(*r), SwapMenuState::kLeave);
  EXPECT_EQ(r->ReceptionShift[0], 1);
  EXPECT_EQ(r->ReceptionShift[1], -1);
  EXPECT_EQ(r->Receptions[0][kReceptionDomicile], 1);
  EXPECT_EQ(r->Receptions[1][kReceptionDomicile], 0);
}

// ---- house rulers -------------------------------------------------------------

TEST_F(ChartFixture, SignRulerOfEachCusp) {
  const float cusps[12] = {15, 48, 71, 95, 130, 170, 195, 228, 251, 275, 310, 350};
  for (int i = 0; i < 12; ++i) r->HouseCusps()[i] = cusps[i];
  for (int b = 0; b < kBodyCount; ++b) r->EclipticLongitude[b] = 10.0 * b + 1;
  r->HouseRulerMethod = 0;
  CalcHouseRulers(*r);
  // Aries Mars, Taurus Venus, Gemini Mercury, Cancer Moon, Leo Sun, Virgo
  // Mercury, Libra Venus, Scorpio Pluto, Sagittarius Jupiter, Capricorn
  // Saturn, Aquarius Uranus, Pisces Neptune.
  const int expected[12] = {4, 3, 2, 1, 0, 2, 3, 9, 5, 6, 7, 8};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(r->HouseRuler[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(r->HouseRulerLongitude[i], 10.0f * expected[i] + 1) << i;
  }
}

TEST_F(ChartFixture, RulerWithTheExtentOfTheHouse) {
  const float cusps[12] = {20, 25, 50, 80, 115, 130, 180, 205, 215, 235, 290, 352};
  for (int i = 0; i < 12; ++i) r->HouseCusps()[i] = cusps[i];
  for (int b = 0; b < kBodyCount; ++b) r->EclipticLongitude[b] = 10.0 * b + 1;
  r->HouseRulerMethod = 1;
  CalcHouseRulers(*r);
  const int expected[12] = {
      4,  // angular: Aries
      3,  // 25 Aries -> 20 Taurus: 5 deg in Aries, 20 in Taurus: Venus
      2,  // 20 Taurus -> 20 Gemini: 10 and 20, exactly twice: Mercury
      2,  // angular: Gemini, however far the house reaches
      0,  // 25 Cancer -> 10 Leo: 5 and 10: the Sun
      0,  // 10 Leo -> 15 Virgo: 20 and 15: the Sun
      3,  // angular: Libra
      3,  // 25 Libra -> 5 Scorpio: 5 and 5: Venus
      9,  // 5 Scorpio -> 25 Scorpio, inside the sign: Pluto
      9,  // angular: Scorpio
      7,  // 20 Capricorn -> 22 Pisces: 10, then all Aquarius: Uranus
      4,  // 22 Pisces -> 20 Aries across 0 Aries: 8 and 20: Mars
  };
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(r->HouseRuler[i], expected[i]) << "house " << i + 1;
    EXPECT_FLOAT_EQ(r->HouseRulerLongitude[i], 10.0f * expected[i] + 1) << "house " << i + 1;
  }
  // The same cusps by the sign on the cusp alone.
  r->HouseRulerMethod = 0;
  CalcHouseRulers(*r);
  const int bySign[12] = {4, 4, 3, 2, 1, 0, 3, 3, 9, 9, 6, 8};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(r->HouseRuler[i], bySign[i]) << "house " << i + 1;
}

TEST_F(ChartFixture, AlmutenOfTheCuspDegreeByDayAndByNight) {
  for (int d = 0; d < 360; ++d) {
    r->AlmutenDay[d] = 6;
    r->AlmutenNight[d] = 5;
  }
  r->AlmutenDay[123] = 2;
  r->AlmutenNight[123] = 4;
  r->AlmutenDay[359] = 10;
  r->AlmutenDay[0] = 11;
  r->AlmutenDay[200] = kNone;  // a table entry that names no body
  const float cusps[12] = {123.7f, 359.99997f, 0.0f, 200.5f, 10, 40, 70, 100, 150, 250, 280, 330};
  for (int i = 0; i < 12; ++i) r->HouseCusps()[i] = cusps[i];
  for (int b = 0; b < kBodyCount; ++b) r->EclipticLongitude[b] = 10.0 * b + 1;
  r->HouseRulerMethod = 2;

  r->DayChart = 1;
  CalcHouseRulers(*r);
  EXPECT_EQ(r->HouseRuler[0], 2);
  EXPECT_EQ(r->HouseRuler[1], 10);  // the last degree of Pisces, not a degree 360
  EXPECT_EQ(r->HouseRuler[2], 11);
  EXPECT_EQ(r->HouseRuler[3], 3);  // no almuten: the ruler of Libra
  EXPECT_EQ(r->HouseRuler[4], 6);
  EXPECT_FLOAT_EQ(r->HouseRulerLongitude[0], 21.0f);

  r->DayChart = -1;
  CalcHouseRulers(*r);
  EXPECT_EQ(r->HouseRuler[0], 4);
  EXPECT_EQ(r->HouseRuler[4], 5);
  EXPECT_FLOAT_EQ(r->HouseRulerLongitude[0], 41.0f);
}

// ---- Arabic parts -------------------------------------------------------------

// Operand codes.
constexpr int kCusp1 = 0, kCusp10 = 9, kSunOp = 12, kMoonOp = 13, kRulerOfHouse2 = 31;

PartRecord Part(int a, int b, int c, int modeB, int modeC) {
  PartRecord p;
  p.A = a;
  p.B = b;
  p.C = c;
  p.SignModeB = modeB;
  p.SignModeC = modeC;
  p.Longitude = -1;
  return p;
}

TEST_F(ChartFixture, PartOfFortuneByDayAndByNight) {
  r->HouseCusps()[0] = 100.0f;  // Ascendant
  r->EclipticLongitude[kSun] = 200.0;
  r->EclipticLongitude[kMoon] = 50.0;
  // Ascendant + Moon - Sun by day, + Sun - Moon by night, written both ways.
  r->ArabicParts[0] = Part(kCusp1, kMoonOp, kSunOp, 2, 3);
  r->ArabicParts[1] = Part(kCusp1, kSunOp, kMoonOp, 3, 2);
  r->PartCount = 2;

  r->DayChart = 1;
  EXPECT_EQ(CalcArabicParts(*r), 2);
  EXPECT_NEAR(r->ArabicParts[0].Longitude, 310.0, kPartTolDeg);  // 100 + 50 - 200
  EXPECT_NEAR(r->ArabicParts[1].Longitude, 310.0, kPartTolDeg);

  r->DayChart = -1;
  EXPECT_EQ(CalcArabicParts(*r), 2);
  EXPECT_NEAR(r->ArabicParts[0].Longitude, 250.0, kPartTolDeg);  // 100 - 50 + 200
  EXPECT_NEAR(r->ArabicParts[1].Longitude, 250.0, kPartTolDeg);
}

TEST_F(ChartFixture, PartsFromCuspsAndHouseRulers) {
  r->HouseCusps()[9] = 280.0f;
  r->HouseRulerLongitude[1] = 170.0f;
  r->EclipticLongitude[kSun] = 20.0;
  r->ArabicParts[0] = Part(kCusp10, kRulerOfHouse2, kSunOp, 0, 1);  // 280 + 170 - 20
  r->ArabicParts[1] = Part(kCusp10, kRulerOfHouse2, kSunOp, 1, 0);  // 280 - 170 + 20
  r->ArabicParts[2] = Part(kCusp10, kCusp10, kCusp10, 0, 0);        // 3 x 280
  r->PartCount = 3;
  EXPECT_EQ(CalcArabicParts(*r), 3);
  EXPECT_NEAR(r->ArabicParts[0].Longitude, 70.0, kPartTolDeg);
  EXPECT_NEAR(r->ArabicParts[1].Longitude, 130.0, kPartTolDeg);
  EXPECT_NEAR(r->ArabicParts[2].Longitude, 120.0, kPartTolDeg);
}

TEST_F(ChartFixture, NoPartsOrBadRecordsLeaveLongitudesAlone) {
  r->ArabicParts[0] = Part(kCusp1, kSunOp, kMoonOp, 0, 0);
  r->PartCount = 0;
  EXPECT_EQ(CalcArabicParts(*r), 0);
  EXPECT_EQ(r->ArabicParts[0].Longitude, -1.0f);

  r->ArabicParts[0] = Part(kCusp1, 42, kMoonOp, 0, 0);      // no operand 42
  r->ArabicParts[1] = Part(kCusp1, kSunOp, kMoonOp, 4, 0);  // no sign mode 4
  r->ArabicParts[2] = Part(kCusp1, kSunOp, kMoonOp, 0, 0);
  r->PartCount = 3;
  EXPECT_EQ(CalcArabicParts(*r), 1);
  EXPECT_EQ(r->ArabicParts[0].Longitude, -1.0f);
  EXPECT_EQ(r->ArabicParts[1].Longitude, -1.0f);
  EXPECT_GE(r->ArabicParts[2].Longitude, 0.0f);

  r->PartCount = 500;  // more than the table holds
  EXPECT_EQ(CalcArabicParts(*r), 1 + (kMaxArabicParts - 3));
}

}  // namespace
