// The orbs editor's text: orbs as degrees and minutes and factors with two
// decimals, shown and read back without drift, and the grids taken into the
// chart record all or nothing. Expected texts are built here from the
// degrees and minutes (or units and hundredths) a value was made of.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "input/editorbis.h"

namespace {

const std::string kDeg = "\xB0";  // "°" in code page 1251

std::string OrbText(int d, int m) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%s%02d'", d, kDeg.c_str(), m);
  return buf;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(OrbCell, EveryWholeMinuteOrbShowsItsDegreesAndMinutesAndReadsBackToTheSameValue) {
  // 0°00' to 99°59': the 1,800 orbs below 30° and the rest of the field
  int drifted = 0;
  for (int d = 0; d <= 99; ++d)
    for (int m = 0; m < 60; ++m) {
      const float orb = static_cast<float>(d + m / 60.0);
      const std::string text = OrbCellText(orb);
      float back = -1;
      const bool read = ParseOrbCell(text, back);
      if (text != OrbText(d, m) || !read || !SameBits(back, orb)) {
        ++drifted;
        ADD_FAILURE() << d << " deg " << m << " min: shown " << text << " read " << back;
      }
    }
  EXPECT_EQ(drifted, 0);
  EXPECT_EQ(OrbCellText(7.5f), OrbText(7, 30));
  // seconds are dropped from the text, never rounded into the minutes
  EXPECT_EQ(OrbCellText(static_cast<float>(6 + 59 / 60.0 + 59 / 3600.0)), OrbText(6, 59));
  EXPECT_EQ(OrbCellText(123.25f), "123" + kDeg + "15'");
}

TEST(OrbCell, ReadsBlankPositionsAndCarriesMinutesButRefusesWhatIsNoOrb) {
  float orb = 0;
  ASSERT_TRUE(ParseOrbCell(" 6" + kDeg + " 5'", orb));
  EXPECT_FLOAT_EQ(orb, 6 + 5 / 60.0f);
  ASSERT_TRUE(ParseOrbCell("05" + kDeg + "90'", orb));  // 90 minutes are 1°30'
  EXPECT_FLOAT_EQ(orb, 6.5f);
  ASSERT_TRUE(ParseOrbCell("10" + kDeg + "00", orb));  // typed without the minute mark
  EXPECT_FLOAT_EQ(orb, 10.0f);
  for (const std::string& bad :
       {std::string(), std::string("::"), "  " + kDeg + "  '", "0x" + kDeg + "00'",
        "06" + kDeg + "0-'", "06" + kDeg + "00'5", std::string("06:00'"), "-6" + kDeg + "00'",
        "6.5" + kDeg + "00'"}) {
    float untouched = 42;
    EXPECT_FALSE(ParseOrbCell(bad, untouched)) << bad;
    EXPECT_EQ(untouched, 42) << bad;
  }
}

TEST(FactorCell, EveryHundredthShowsWithTwoDecimalsAndReadsBackToTheSameValue) {
  for (char sep : {',', '.'})
    for (int units = 0; units <= 12; ++units)
      for (int h = 0; h < 100; ++h) {
        const float factor = static_cast<float>(units + h / 100.0);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d%c%02d", units, sep, h);
        const std::string text = FactorCellText(factor, sep);
        float back = -1;
        ASSERT_EQ(text, expected) << factor;
        ASSERT_TRUE(ParseFactorCell(text, back)) << text;
        ASSERT_TRUE(SameBits(back, factor)) << text << " read " << back;
      }
  // further decimals are cut off, missing ones are zeros
  EXPECT_EQ(FactorCellText(0.7f, ','), "0,70");
  EXPECT_EQ(FactorCellText(0.333f, ','), "0,33");
  EXPECT_EQ(FactorCellText(0.999f, '.'), "0.99");
  EXPECT_EQ(FactorCellText(1.0f, '.'), "1.00");
  EXPECT_EQ(FactorCellText(1.5f, ','), "1,50");
}

TEST(FactorCell, RefusesAnythingButUnitsASeparatorAndTwoDigits) {
  float factor = 0;
  ASSERT_TRUE(ParseFactorCell("1.25", factor));  // either separator, whatever the locale
  EXPECT_FLOAT_EQ(factor, 1.25f);
  for (const char* bad :
       {"", " , ", "1,5 ", "1,5", ",50", "1;00", "1,005", "-1,00", "1,0x", "1 ,5 "}) {
    float untouched = 42;
    EXPECT_FALSE(ParseFactorCell(bad, untouched)) << bad;
    EXPECT_EQ(untouched, 42) << bad;
  }
}

class OrbGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = std::make_unique<ChartRecord>();
    // a matrix of every whole-minute orb up to 21° and a few with seconds
    for (int i = 0; i < kObjectCount; ++i)
      for (int j = 0; j < kObjectCount; ++j)
        record_->PairOrb[i][j] = static_cast<float>((i * kObjectCount + j) / 60.0);
    record_->PairOrb[0][1] = static_cast<float>(6 + 59 / 60.0 + 59 / 3600.0);
    for (int k = 0; k < kAspectKindCount; ++k) record_->AspectOrbFactor[k] = 0.1f * (k + 1);
    record_->AspectOrbFactor[2] = 0.333f;
  }
  std::unique_ptr<ChartRecord> record_;
};

TEST_F(OrbGrid, OkWithoutAnEditChangesNoOrbAndNoFactor) {
  const ChartRecord before = *record_;
  const OrbGridText shown = ShowOrbGrid(*record_, ',');
  EXPECT_EQ(shown.Pair[3][3], "::");
  EXPECT_EQ(shown.Pair[0][1], OrbText(6, 59));
  EXPECT_EQ(shown.Factor[2], "0,33");
  EXPECT_EQ(shown.Factor[6], "0,70");
  const OrbGridRefusal result = ApplyOrbGrid(shown, shown, *record_);
  ASSERT_TRUE(result.Ok);
  EXPECT_EQ(std::memcmp(record_->PairOrb, before.PairOrb, sizeof before.PairOrb), 0);
  EXPECT_EQ(
      std::memcmp(record_->AspectOrbFactor, before.AspectOrbFactor, sizeof before.AspectOrbFactor),
      0);
  // an edited cell is read as it stands: the seconds go
  OrbGridText edited = shown;
  edited.Pair[0][1] = OrbText(6, 59);
  edited.Pair[1][0] = OrbText(10, 0);
  edited.Factor[2] = "0,50";
  const OrbGridText reshown = ShowOrbGrid(*record_, ',');
  ASSERT_TRUE(ApplyOrbGrid(shown, edited, *record_).Ok);
  EXPECT_EQ(record_->PairOrb[0][1], before.PairOrb[0][1]);  // unchanged text, value kept
  EXPECT_FLOAT_EQ(record_->PairOrb[1][0], 10.0f);
  EXPECT_FLOAT_EQ(record_->AspectOrbFactor[2], 0.5f);
  EXPECT_EQ(reshown.Pair[1][0], shown.Pair[1][0]);
}

TEST_F(OrbGrid, ACellThatCannotBeReadLeavesTheWholeRecordAsItWas) {
  const ChartRecord before = *record_;
  const OrbGridText shown = ShowOrbGrid(*record_, '.');
  OrbGridText edited = shown;
  // edits early in the matrix, the fault in its last row
  for (int j = 1; j < kObjectCount; ++j) edited.Pair[0][j] = edited.Pair[j][0] = OrbText(9, 9);
  edited.Factor[0] = "2.00";
  edited.Pair[35][34] = "9x" + kDeg + "00'";
  OrbGridRefusal result = ApplyOrbGrid(shown, edited, *record_);
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.InFactor);
  EXPECT_EQ(result.Row, 35);
  EXPECT_EQ(result.Column, 34);
  EXPECT_EQ(result.Text, edited.Pair[35][34]);
  EXPECT_EQ(std::memcmp(record_->PairOrb, before.PairOrb, sizeof before.PairOrb), 0);
  EXPECT_EQ(record_->AspectOrbFactor[0], before.AspectOrbFactor[0]);

  edited.Pair[35][34] = shown.Pair[35][34];
  edited.Factor[8] = "";
  result = ApplyOrbGrid(shown, edited, *record_);
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(result.InFactor);
  EXPECT_EQ(result.Row, 8);
  EXPECT_EQ(std::memcmp(record_->PairOrb, before.PairOrb, sizeof before.PairOrb), 0);

  // the diagonal is never read, whatever it holds
  edited.Factor[8] = shown.Factor[8];
  edited.Pair[4][4] = "rubbish";
  ASSERT_TRUE(ApplyOrbGrid(shown, edited, *record_).Ok);
  EXPECT_EQ(record_->PairOrb[4][4], before.PairOrb[4][4]);
  EXPECT_FLOAT_EQ(record_->PairOrb[7][0], 9 + 9 / 60.0f);
  EXPECT_FLOAT_EQ(record_->AspectOrbFactor[0], 2.0f);
}

}  // namespace
