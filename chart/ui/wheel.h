// The chart wheel: DrawChart draws the current chart of a chart record as a
// European wheel (signs, houses and bodies at their longitudes, Aries or the
// querent's cusp on the left or the right) or as an American wheel (twelve
// equal house sectors, every position placed proportionally inside its
// house), with the aspect lines, the reception arcs and the chart variants
// of the main window's menu (lunar mansions, fixed stars, Arabic parts,
// midpoints).
//
// One routine serves every target: the chart window, an off-screen image
// for an export, a rectangle of a printed page image, and the printer's
// canvas. The record's TargetFlags and TargetRect say which; the caller
// hands in the canvas the finished picture goes to. Only a drawing onto the
// window touches what the window's mouse handling reads (hover rectangles,
// marker boxes, the wheel's centre and radii), so an export or a print never
// disturbs the hit-testing of the wheel on screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/chartrecord.h"
#include "chart/glyphplacement.h"
#include "chart/rulers.h"
#include "platform/canvas.h"
#include "platform/graphics.h"

// Hover rectangles: bodies 0..17, cusp and special-point labels at
// 18 + index of CuspsAndPoints, signs 1..12 at 36 + sign - 1.
inline constexpr int kHoverBodyFirst = 0;
inline constexpr int kHoverLabelFirst = 18;
inline constexpr int kHoverSignFirst = 36;
inline constexpr int kHoverRectCount = 48;
// A hover rectangle of nothing drawn.
inline constexpr TRect kNoHoverRect = {-1, -1, -1, -1};

// The box of one mark of a chart variant, for the window's mouse hints.
struct MarkerHit {
  int Left = 0;    // pixels
  int Right = 0;   // pixels
  int Top = 0;     // pixels
  int Bottom = 0;  // pixels
  int First = 0;   // star s + 1 / part index 0..PartCount-1 / first body of a midpoint
  int Second = 0;  // second body of a midpoint; 0 for stars and parts
};

// What a label of the wheel is, in the list of the labels drawn.
enum class WheelLabel : std::uint8_t {
  kSign,         // sign glyph of the European sign ring
  kBody,         // body glyph
  kCusp,         // cusp or special-point label; American: its glyph, degrees or minutes
  kBodyNumber,   // American degrees, sign or minutes of a body
  kHouseNumber,  // American house number
  kMansion,      // lunar mansion number
  kMark,         // fixed-star, Arabic-part or midpoint mark
  kRetrograde,   // a body's retrograde mark, beside its glyph
};

// The text cell of one label drawn on the wheel.
struct LabelBox {
  TRect Box;        // pixels
  WheelLabel Kind;  // what the label is
  int Index = 0;    // body 0..17, CuspsAndPoints index 0..17, sign or house 1..12,
                    // mansion 1..28, or for a mark the object it belongs to 0..35
};

// The drawing's working state, owned by the chart window next to its chart
// record. The window writes the hint fields; DrawChart writes the rest.
struct WheelWork {
  // Output of the last drawing onto the window (left alone by exports and
  // prints).
  int WheelCenterX = 0;                  // pixels, wheel centre in the window
  int WheelCenterY = 0;                  // pixels
  int WheelRadius = 0;                   // pixels, outer radius R of the wheel
  int AspectRadius = 0;                  // pixels, radius of the aspect circle
  TRect HoverRects[kHoverRectCount];     // pixels; kNoHoverRect where nothing was drawn
  std::vector<MarkerHit> StarMarks;      // fixed-star marks (menu item N71)
  std::vector<MarkerHit> PartMarks;      // Arabic-part marks (N74)
  std::vector<MarkerHit> MidpointMarks;  // midpoint marks (N75)
  int StarMarkCount = 0;                 // StarMarks.size()
  int PartMarkCount = 0;                 // PartMarks.size()
  int MidpointMarkCount = 0;             // MidpointMarks.size()
  // Every label of the drawing in the order drawn. Lesser labels (marks,
  // mansion numbers, the American special points and body numbers) are
  // placed clear of those drawn before them, so no two boxes intersect
  // where the wheel has room.
  std::vector<LabelBox> Labels;

  // Hint box, written by the window's mouse handling.
  std::uint8_t HintVisible = 0;      // flag: draw the hint box
  int HintX = 0;                     // pixels, mouse position in the window
  int HintY = 0;                     // pixels
  int HintShiftX = 0;                // pixels, shift of the box off the right edge
  int HintShiftY = 0;                // pixels, shift of the box below the top edge
  TRect HintSubject = kNoHoverRect;  // pixels, the glyph or mark the hint names: kept uncovered
  TRect HintBox = kNoHoverRect;      // pixels, where the last window drawing put the box

  // Working tables, rewritten on every drawing.
  float OriginCusp = 0;               // degrees, HouseCusps[0] when the drawing began
  GlyphLayout Layout;                 // glyph placement
  float PointHousePositions[6] = {};  // degrees, American positions of objects 30..35
  TCanvas* DrawCanvas = nullptr;      // canvas being drawn on; nullptr outside DrawChart

  WheelWork() {
    for (TRect& r : HoverRects) r = kNoHoverRect;
  }
};

// Switches of other windows that steer the drawing, read by the caller from
// the main window's menu and the calculation parameters.
struct WheelView {
  bool FixedStars = false;  // N71 "Карта стандартная" ticked: fixed-star marks
  bool LunarMansions = false;  // N73 "Карта с лунными стоянками" (European wheel)
  bool ArabicParts = false;          // N74 "Карта с парсами"
  bool Midpoints = false;            // N75 "Карта со средними точками"
  bool ElementFillRemoved = false;   // N119 shows interface string 53: chart colour over the signs
  bool HouseFillRemoved = false;     // N125 shows interface string 61: chart colour over the houses
  bool AmericanAspectLines = true;   // RadioButton16: aspect lines in the American wheel
  bool AmericanDegreeLabels = true;  // RadioButton12: degrees and minutes of the bodies, American
  std::string TableFontName = "MS Sans Serif";  // table font (code page 1251)
};

// What the drawing needs to know of its target besides the record's
// TargetFlags and TargetRect.
struct WheelTarget {
  int ClientWidth = 0;           // pixels, chart window's client area (window drawing)
  int ClientHeight = 0;          // pixels
  TColor WindowColor = clWhite;  // chart window's colour, background in ColorMode 2
  std::string HintText;          // hint box text, code page 1251
};

// Size in pixels (X width, Y height) of the picture DrawChart makes for the
// record's target: 2cx x 2cy with the half extents of the client area (all
// TargetFlags set) or of TargetRect. An export bitmap is made this size.
TPoint WheelPictureSize(const ChartRecord& record, const WheelTarget& target);

// Draws the current chart.
//   record  the chart as the recomputation left it; reads positions,
//           cusps, aspects, the ranking in SortedPoints (Body, Sign, House)
//           and its counts, the receptions, the fixed stars' and the Arabic
//           parts' longitudes, settings, glyph characters and colours and
//           TargetFlags, TargetRect, ColorMode; writes nothing (the glyph
//           rows and the house ranking are laid out in a copy)
//   work    drawing state (see WheelWork)
//   canvas  where the finished picture goes:
//           - all TargetFlags set: the chart window's canvas; the picture is
//             built off screen and drawn at (0, 0)
//           - TargetFlags[1] 0: the printer's canvas, drawn in place inside
//             TargetRect
//           - else TargetFlags[0] 0: a print page image; the picture is
//             built off screen and copied into TargetRect
//           - else (TargetFlags[2] 0, an export): the canvas of an image of
//             WheelPictureSize; the picture is drawn at (0, 0)
//   A target of no size or a wheel of radius 0 draws only the background.
void DrawChart(const ChartRecord& record, WheelWork& work, TCanvas& canvas,
               const WheelTarget& target, const WheelView& view);
