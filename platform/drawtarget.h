// The one drawing target every drawing routine draws onto: a canvas, the
// rectangle of it to fill, the colour mode and what the drawing is for (the
// window itself, an exported picture, a printed page). A window that draws
// keeps its own target; an export or a print lends it another one for one
// drawing through DrawTargetGuard, which gives the window its own target and
// colour mode back afterwards, also when the drawing fails.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "platform/graphics.h"

// Colour modes of a drawing.
inline constexpr int kColorModeMonochrome = 0;  // black lines and glyphs on white
inline constexpr int kColorModePlain = 1;       // white background, the drawing's colours
inline constexpr int kColorModeFull = 2;        // the window's own background and colours

enum class DrawPurpose {
  Window,  // the window's own picture
  Export,  // a picture for the clipboard or a file, drawn at (0, 0) of an image
  Print,   // a rectangle of a printed page (a page image or the printer itself)
};

struct DrawTarget {
  TCanvas* Canvas = nullptr;  // where the picture goes; nullptr: the window's own
  TRect Rect;                 // pixels of Canvas the picture fills
  int ColorMode = kColorModeFull;
  DrawPurpose Purpose = DrawPurpose::Window;
};

// A target kept in a drawing window's own fields: the rectangle as left,
// right, top, bottom, the colour mode, and three flags, all set for the
// window itself; [2] 0 an export, [0] 0 a page image, [1] 0 the printer's
// canvas. canvas is the lent canvas (nullptr for the window).
inline DrawTarget TargetOfFields(TCanvas* canvas, const int rect[4], int colorMode,
                                 const std::uint8_t flags[3]) {
  DrawTarget target;
  target.Canvas = canvas;
  target.Rect = TRect{rect[0], rect[2], rect[1], rect[3]};
  target.ColorMode = colorMode;
  if (flags[0] == 0 || flags[1] == 0)
    target.Purpose = DrawPurpose::Print;
  else if (flags[2] == 0)
    target.Purpose = DrawPurpose::Export;
  else
    target.Purpose = DrawPurpose::Window;
  return target;
}

// Stores a target into those fields; returns the canvas to draw onto, nullptr
// for the window's own picture.
inline TCanvas* StoreTargetFields(const DrawTarget& target, int rect[4], int& colorMode,
                                  std::uint8_t flags[3]) {
  colorMode = target.ColorMode;
  rect[0] = target.Rect.Left;
  rect[1] = target.Rect.Right;
  rect[2] = target.Rect.Top;
  rect[3] = target.Rect.Bottom;
  flags[0] = flags[1] = flags[2] = 1;
  if (target.Purpose == DrawPurpose::Export) flags[2] = 0;
  // a page image gets a copy of the picture; the printer is drawn on in place
  if (target.Purpose == DrawPurpose::Print) {
    if (target.Canvas != nullptr && target.Canvas->OnImage())
      flags[0] = 0;
    else
      flags[1] = 0;
  }
  return target.Purpose == DrawPurpose::Window ? nullptr : target.Canvas;
}

// A window whose picture can be drawn onto any target.
class TDrawing {
 public:
  virtual ~TDrawing() = default;
  // The target the next drawing goes to.
  virtual DrawTarget Target() const = 0;
  virtual void SetTarget(const DrawTarget& target) = 0;
  // Draws onto the current target.
  virtual void DrawPicture() = 0;
};

// Lends a drawing another target while it lives.
class DrawTargetGuard {
 public:
  DrawTargetGuard(TDrawing& drawing, const DrawTarget& borrowed)
      : drawing_(drawing), own_(drawing.Target()) {
    drawing_.SetTarget(borrowed);
  }
  ~DrawTargetGuard() { drawing_.SetTarget(own_); }
  DrawTargetGuard(const DrawTargetGuard&) = delete;
  DrawTargetGuard& operator=(const DrawTargetGuard&) = delete;

 private:
  TDrawing& drawing_;
  DrawTarget own_;
};

// Draws a picture onto a borrowed target and gives the window its own back.
inline void DrawOnto(TDrawing& drawing, const DrawTarget& target) {
  DrawTargetGuard guard(drawing, target);
  drawing.DrawPicture();
}
