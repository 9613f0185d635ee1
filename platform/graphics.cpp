// Colour resolution for the drawing types.
#include "platform/graphics.h"

#include <array>

namespace {

// The classic desktop colour scheme, by system colour index, as 0x00BBGGRR.
constexpr std::array<TColor, 25> kSystemColors = {
    RGBColor(212, 208, 200),  // 0 scroll bar
    RGBColor(58, 110, 165),   // 1 desktop
    RGBColor(10, 36, 106),    // 2 active caption
    RGBColor(128, 128, 128),  // 3 inactive caption
    RGBColor(212, 208, 200),  // 4 menu
    RGBColor(255, 255, 255),  // 5 window
    RGBColor(0, 0, 0),        // 6 window frame
    RGBColor(0, 0, 0),        // 7 menu text
    RGBColor(0, 0, 0),        // 8 window text
    RGBColor(255, 255, 255),  // 9 caption text
    RGBColor(212, 208, 200),  // 10 active border
    RGBColor(212, 208, 200),  // 11 inactive border
    RGBColor(128, 128, 128),  // 12 application workspace
    RGBColor(10, 36, 106),    // 13 highlight
    RGBColor(255, 255, 255),  // 14 highlighted text
    RGBColor(212, 208, 200),  // 15 button face
    RGBColor(128, 128, 128),  // 16 button shadow
    RGBColor(128, 128, 128),  // 17 grey text
    RGBColor(0, 0, 0),        // 18 button text
    RGBColor(212, 208, 200),  // 19 inactive caption text
    RGBColor(255, 255, 255),  // 20 button highlight
    RGBColor(64, 64, 64),     // 21 3-D dark shadow
    RGBColor(212, 208, 200),  // 22 3-D light
    RGBColor(0, 0, 0),        // 23 tooltip text
    RGBColor(255, 255, 225),  // 24 tooltip background
};

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color == clNone) return clBlack;
  if (color == clDefault) return clWhite;
  if (color < 0) {
    const int index = color & 0x00FFFFFF;
    if (index < static_cast<int>(kSystemColors.size())) return kSystemColors[index];
    return clBlack;
  }
  return color & 0x00FFFFFF;
}
