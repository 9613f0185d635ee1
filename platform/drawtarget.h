// The one drawing target every drawing routine draws onto: a canvas, the
// rectangle of it to fill, the colour mode and what the drawing is for (the
// window itself, an exported picture, a printed page). A window that draws
// keeps its own target; an export or a print lends it another one for one
// drawing through DrawTargetGuard, which gives the window its own target and
// colour mode back afterwards, also when the drawing fails.
#pragma once

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
  DrawTargetGuard(TDrawing& drawing, const DrawTarget& borrowed) : drawing_(drawing), own_(drawing.Target()) {
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
