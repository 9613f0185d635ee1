// The drawing surface of the program: a canvas with a pen, a brush and a font
// that draws lines, shapes and text in integer pixels, following the rules of
// the classic desktop graphics interface so that drawing code written for it
// gives the same pixels:
// - Rectangle, Ellipse, Pie and FillRect cover their box without its right
//   column and bottom row; LineTo does not draw its end pixel.
// - Pie and Arc run counter-clockwise on screen from the radial through their
//   first point to the radial through their second point.
// - TextOut puts the top-left corner of the text cell at (x, y).
// - A solid brush also paints the cell behind text and the gaps of dashed
//   lines; a clear or hatched brush leaves them untouched.
// - Antialiasing is off unless switched on, so pixels are reproducible.
//
// TCanvas is the interface every drawing routine draws through; this header
// includes no toolkit header and names no toolkit class, so drawing routines
// live beside the computation they draw and link without the toolkit. The
// canvas that draws onto an image (an off-screen bitmap, later shown in a
// window) or through a painter opened on a printer page or a widget is
// TQtCanvas, with the off-screen TBitmap, in platform/qt/canvas.h; only the
// code that makes such a canvas includes that header. Tests draw onto a
// canvas of their own (platform/nullcanvas.h draws nothing and is the base
// of a recording canvas).
#pragma once

#include <string>
#include <vector>

#include "platform/graphics.h"

class TBitmap;

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  // Pixels per inch used to turn font sizes in points into pixels (96 unless
  // the canvas's device says otherwise).
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int pixelsPerInch) {
    if (pixelsPerInch > 0) pixelsPerInch_ = pixelsPerInch;
  }

  // Antialiased lines, shapes and text (off by default).
  void SetAntialiasing(bool on) { antialiasing_ = on; }
  bool Antialiasing() const { return antialiasing_; }

  // The current position used by LineTo.
  TPoint PenPos() const { return penPos_; }

  virtual void MoveTo(int x, int y) = 0;
  // A line from the current position to (x, y), without the pixel at (x, y);
  // the current position becomes (x, y).
  virtual void LineTo(int x, int y) = 0;
  // Connected lines through the points (each end pixel left out).
  virtual void Polyline(const std::vector<TPoint>& points) = 0;
  // Filled with the brush (alternate fill rule) and outlined with the pen.
  virtual void Polygon(const std::vector<TPoint>& points) = 0;

  // Box (x1, y1) .. (x2, y2), right column and bottom row excluded; outline
  // with the pen, interior with the brush.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Pie and arc of the ellipse in the box, counter-clockwise from the radial
  // through (x3, y3) to the radial through (x4, y4); the same radial twice
  // gives the whole ellipse.
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // The rectangle painted with the brush only (no outline).
  virtual void FillRect(const TRect& rect) = 0;

  // Text in code page 1251 with the top-left corner of its cell at (x, y);
  // the current position moves to the end of the text. With the font
  // "Zarn" each character is drawn as its mapped symbol.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;

  // Copies the source canvas's rectangle into this canvas's rectangle,
  // scaling without smoothing when the sizes differ and mirroring when one
  // of them is reversed. The source must be an image canvas.
  virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) = 0;
  // Draws a bitmap with its top-left corner at (x, y).
  virtual void Draw(int x, int y, TBitmap& bitmap) = 0;

  // The colour of one pixel of an image canvas; -1 outside the image or on a
  // canvas without an image.
  virtual TColor Pixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;

  // Whether the canvas draws onto an off-screen image (one that CopyRect can
  // copy from), not through a painter opened on a device.
  virtual bool OnImage() const = 0;

 protected:
  TCanvas() = default;

  TPoint penPos_;           // the current position
  int pixelsPerInch_ = 96;  // pixels per inch of the device
  bool antialiasing_ = false;
};
