// Plain drawing types shared by the canvas and by the code that draws: colours
// in the 32-bit 0x00BBGGRR form, points and rectangles in integer pixels, and
// the pen, brush and font records a canvas draws with. No Qt here, so chart
// records can hold colours and rectangles without pulling in the toolkit.
#pragma once

#include <cstdint>
#include <string>

// A colour: 0x00BBGGRR for a plain colour; a value with the top bit set
// (negative as int32) names a system colour, 0x80000000 | index, resolved by
// ColorToRGB.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colours: the top bit plus the index of the window system's colour.
inline constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// A plain colour from its red, green and blue parts (0..255 each).
inline constexpr TColor RGBColor(int red, int green, int blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline constexpr int RedOf(TColor color) { return color & 0xFF; }
inline constexpr int GreenOf(TColor color) { return (color >> 8) & 0xFF; }
inline constexpr int BlueOf(TColor color) { return (color >> 16) & 0xFF; }

// The plain 0x00BBGGRR value of a colour: system colours come from a fixed
// table of the classic desktop scheme (clWindow white, clBtnFace light grey,
// clWindowText black ...); an unknown system index gives black; clNone and
// clDefault give black and white. Plain colours lose any bits above 24.
TColor ColorToRGB(TColor color);

// A point in integer pixels.
struct TPoint {
  int X = 0;  // pixels, to the right
  int Y = 0;  // pixels, downwards
};

// A rectangle in integer pixels; the right column and the bottom row lie
// outside it.
struct TRect {
  int Left = 0;    // pixels
  int Top = 0;     // pixels
  int Right = 0;   // pixels, exclusive
  int Bottom = 0;  // pixels, exclusive
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

inline TRect MakeRect(int left, int top, int right, int bottom) {
  return TRect{left, top, right, bottom};
}

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;

enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
using enum TBrushStyle;

// Outline of lines and shapes. A width of 0 or 1 is a one-pixel line whose
// dashes are measured in pixels; a wider pen is always drawn solid (the
// dashed and dotted styles exist only for one-pixel pens).
struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // pixels
  TPenStyle Style = psSolid;
};

// Fill of shapes and of the text background. bsSolid also paints the gaps of
// dashed lines and the cell behind text in the brush colour; every other style
// leaves what lies behind untouched (hatches draw only their lines).
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

// Text font. Name is code page 1251; the name "Zarn" selects the glyph font.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  TColor Color = clWindowText;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
};
