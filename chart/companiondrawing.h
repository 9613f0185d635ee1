// Drawing of the chart's companion pictures: the positions table and the
// local-space chart. Each routine draws one whole picture of a given size
// onto a canvas with its top-left corner at (0, 0); the window, the export
// and the print choose the canvas (the window's picture, an export bitmap, a
// rectangle of a page) and put the picture where it belongs.
#pragma once

#include <string>

#include "chart/chartrecord.h"
#include "chart/localspace.h"
#include "platform/canvas.h"
#include "platform/graphics.h"

// The picture asked for.
struct CompanionPicture {
  int Width = 0;                 // pixels
  int Height = 0;                // pixels
  int ColorMode = 2;             // 0 black on white, 1 colours on white, 2 window colours
  bool Printer = false;          // sizes for a printer page (else for a bitmap)
  bool OnScreen = true;          // the window's own picture (screen font, hint box)
  TColor WindowColor = clWhite;  // background in ColorMode 2
};

// The hover state of the local-space window, read by its mouse handling.
struct LocalSpaceHover {
  TRect HoverRects[kLocalSpacePlanetCount];  // pixels, glyph box per planet; {-1..} none
  bool HintVisible = false;                  // draw the hint box
  int HintX = 0;                             // pixels, mouse position
  int HintY = 0;                             // pixels
  std::string HintText;                      // code page 1251
  LocalSpaceHover() {
    for (TRect& r : HoverRects) r = {-1, -1, -1, -1};
  }
};

// Font size of the positions table on screen, points.
inline constexpr int kPositionsScreenFontSize = 14;

// The positions table: 36 lines in two columns of 18, in the glyph font;
// sign glyphs when withSigns. Off screen the font is as large as the two
// columns allow within the picture.
void DrawPositions(const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture,
                   bool withSigns);

// The local-space chart: compass rose with North up and East right, one ray
// and one glyph per planet at its ranked label angle (SortLocalSpacePlanets
// runs first). With a hover record (the window's own drawing) the glyph
// boxes are stored there and its hint box drawn.
void DrawLocalSpaceChart(const ChartRecord& chart, LocalSpaceRecord& space, bool fromEastPoint,
                         TCanvas& canvas, const CompanionPicture& picture, LocalSpaceHover* hover);

// The pale-yellow hint box at the mouse, kept off the right and top edges of
// a picture of the given width: within 85 pixels of the right edge it moves
// left by `reach` less the distance to the edge; with keepInside by no less
// than the text needs to end inside the picture.
void DrawHintBox(TCanvas& canvas, int width, int mouseX, int mouseY, const std::string& text,
                 int reach = 85, bool keepInside = false);
