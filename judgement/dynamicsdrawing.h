// Drawing of the dynamics graphs onto a canvas: the sign graph (how a body
// moves through its sign over the window) and the aspect graph (how close an
// aspect is to exactness while it lies within its orb), over a time axis
// from WindowStart to WindowEnd with the chart's moment marked. The window,
// an export bitmap and a printed page share this drawing; the caller says
// where the picture goes on the canvas and how large it is.
#pragma once

#include <string>

#include "judgement/dynamics.h"
#include "platform/canvas.h"
#include "platform/graphics.h"

// The picture asked for.
struct DynamicsPicture {
  int Width = 0;    // pixels
  int Height = 0;   // pixels
  int OriginX = 0;  // canvas pixels of the picture's top-left corner
  int OriginY = 0;
  int ColorMode = 2;     // 0 black and greys on white, 1 colours on white, 2 window colour
  bool Printer = false;  // sizes for a printer page (scale max(w, h)/3500)
  bool OnScreen = true;  // the window's own picture: hover box and drag frame
  TColor WindowColor = clBtnFace;  // background in colour mode 2
  std::string TableFont;           // code page 1251, font of the labels
  // The chart window has been activated: date labels and curves are drawn
  // (before that only the frame).
  bool LabelsActive = true;
  float TimeZone = 0;      // hours East, for the date labels
  float LonAtMomentA = 0;  // degrees, the chart's longitude of FirstObject
  float LonAtMomentB = 0;  // degrees, of SecondObject
  char SignGlyph = 0;      // glyph-font character of FirstObject's sign
};

// The mouse over the window's own picture.
struct DynamicsMouse {
  int MouseX = 0, MouseY = 0;          // pixels
  bool Hover = false;                  // draw the hover box with the moment under the mouse
  bool Dragging = false;               // draw the drag frame
  int DragStartX = 0, DragStartY = 0;  // pixels
};

// Draws the graph of record.DynamicsMode; samples the longitudes into
// samples unless they are there already. Returns the plotting area.
GraphArea DrawDynamics(const DynamicsRecord& record, DynamicsSamples& samples,
                       const DynamicsPicture& picture, const DynamicsMouse& mouse, TCanvas& canvas);

// The plotting area of a picture of width w and height h.
GraphArea DynamicsGraphArea(int w, int h);
