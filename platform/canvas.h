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
// A canvas draws onto an image (an off-screen bitmap, later shown in a
// window) or through a painter that someone else opened on a printer page or
// a widget, optionally confined to a rectangle of that page.
//
// This header includes no toolkit header, so drawing routines can live beside
// the computation they draw. The implementation is in platform/qt/canvas.cpp;
// the toolkit's classes appear here only as opaque names for the code that
// makes a canvas on an image or a painter (platform/qt/canvas.h adds the
// colour conversions and the image class itself).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.h"

class QImage;
class QPainter;
class QPolygonF;
class QFont;
class QPen;

class TBitmap;

class TCanvas {
 public:
  // A canvas on an image; the image must outlive the canvas (or be detached
  // with EndPaint before it changes). Text sizes use 96 pixels per inch.
  explicit TCanvas(QImage* image);
  // A canvas drawing through an open painter (printer page, PDF page,
  // widget). The painter must stay active while the canvas draws; its state
  // is restored when the canvas goes. Pixels per inch come from the
  // painter's device. With an area, the canvas origin is the area's top-left
  // corner and drawing is clipped to the area.
  explicit TCanvas(QPainter* painter);
  TCanvas(QPainter* painter, const TRect& area);
  virtual ~TCanvas();

  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  // Pixels per inch used to turn font sizes in points into pixels.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int pixelsPerInch);

  // Antialiased lines, shapes and text (off by default).
  void SetAntialiasing(bool on);
  bool Antialiasing() const { return antialiasing_; }

  // The current position used by LineTo.
  TPoint PenPos() const { return penPos_; }

  virtual void MoveTo(int x, int y);
  // A line from the current position to (x, y), without the pixel at (x, y);
  // the current position becomes (x, y).
  virtual void LineTo(int x, int y);
  // Connected lines through the points (each end pixel left out).
  virtual void Polyline(const std::vector<TPoint>& points);
  // Filled with the brush (alternate fill rule) and outlined with the pen.
  virtual void Polygon(const std::vector<TPoint>& points);

  // Box (x1, y1) .. (x2, y2), right column and bottom row excluded; outline
  // with the pen, interior with the brush.
  virtual void Rectangle(int x1, int y1, int x2, int y2);
  virtual void Ellipse(int x1, int y1, int x2, int y2);
  // Pie and arc of the ellipse in the box, counter-clockwise from the radial
  // through (x3, y3) to the radial through (x4, y4); the same radial twice
  // gives the whole ellipse.
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  // The rectangle painted with the brush only (no outline).
  virtual void FillRect(const TRect& rect);

  // Text in code page 1251 with the top-left corner of its cell at (x, y);
  // the current position moves to the end of the text. With the font
  // "Zarn" each character is drawn as its mapped symbol.
  virtual void TextOut(int x, int y, const std::string& text);
  virtual int TextWidth(const std::string& text);
  virtual int TextHeight(const std::string& text);

  // Copies the source canvas's rectangle into this canvas's rectangle,
  // scaling without smoothing when the sizes differ and mirroring when one
  // of them is reversed. The source must be an image canvas.
  virtual void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
  // Draws a bitmap with its top-left corner at (x, y).
  virtual void Draw(int x, int y, TBitmap& bitmap);

  // The colour of one pixel of an image canvas; -1 outside the image or on a
  // canvas without an image.
  virtual TColor Pixel(int x, int y);
  virtual void SetPixel(int x, int y, TColor color);

  // Ends the painter of an image canvas (it restarts on the next drawing).
  void EndPaint();
  // The image of an image canvas, else nullptr.
  QImage* Image() { return image_; }
  // The painter, begun if needed; for drawing this class does not cover.
  QPainter* Painter();

 protected:
  // For canvases that draw nowhere (a recording canvas in tests).
  TCanvas();

 private:
  struct TextCell;
  void Prepare();
  bool OpaqueBackground() const;
  bool RasterPixels() const;
  bool PixelByPixel() const;
  QPen MakePen(bool forBackground) const;
  void Stroke(const QPolygonF& vertices, bool closed, bool drawLast);
  void Fill(const QPolygonF& vertices);
  QPolygonF ArcVertices(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                        bool wholeIfSame) const;
  QFont MakeFont() const;
  TextCell Measure(const std::string& text);

  QImage* image_ = nullptr;
  QPainter* painter_ = nullptr;
  std::unique_ptr<QPainter> ownPainter_;
  int pixelsPerInch_ = 96;
  bool antialiasing_ = false;
  TPoint penPos_;
};

// An off-screen bitmap with its own canvas; new pixels are white.
class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  ~TBitmap();

  int Width() const;
  int Height() const;
  // Resizes keeping the pixels that still fit; new pixels are white.
  void SetSize(int width, int height);
  TCanvas& Canvas() { return canvas_; }
  // The pixels (the canvas's painter is ended first).
  const QImage& Image();
  // Saves as a BMP file (a UTF-8 path, as platform/files.h has it). False on failure.
  bool SaveToFile(const std::string& path);

 private:
  std::unique_ptr<QImage> image_;
  TCanvas canvas_;
};
