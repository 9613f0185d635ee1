// Colour values: plain colours are 0x00BBGGRR, system colours (top bit set)
// resolve through the classic desktop scheme.
#include <gtest/gtest.h>

#include "platform/graphics.h"

namespace {

TEST(ColorTest, PartsAreRedGreenBlueFromTheLowByte) {
  EXPECT_EQ(RGBColor(255, 0, 0), 0x0000FF);
  EXPECT_EQ(RGBColor(0, 0, 255), 0xFF0000);
  EXPECT_EQ(RGBColor(165, 201, 255), 0xFFC9A5);
  EXPECT_EQ(RedOf(0x0347FC), 252);
  EXPECT_EQ(GreenOf(0x0347FC), 71);
  EXPECT_EQ(BlueOf(0x0347FC), 3);
  EXPECT_EQ(clRed, RGBColor(255, 0, 0));
  EXPECT_EQ(clNavy, RGBColor(0, 0, 128));
}

TEST(ColorTest, SystemColoursResolveThroughTheScheme) {
  EXPECT_LT(clWindow, 0) << "system colours are negative as int32";
  EXPECT_EQ(clWindow, static_cast<TColor>(0x80000005u));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));
  EXPECT_EQ(ColorToRGB(clHighlight), RGBColor(10, 36, 106));
  EXPECT_EQ(ColorToRGB(clInfoBk), RGBColor(255, 255, 225));
  EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack) << "unknown index";
}

TEST(ColorTest, PlainColoursPassThrough) {
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(ColorToRGB(0x02123456), 0x123456) << "bits above the colour are dropped";
}

}  // namespace
