// The toolkit side of the canvas: the canvas over Qt's painter, which draws
// onto an image or through a painter someone else opened on a printer page
// or a widget, the off-screen bitmap with its own canvas, and the colour
// conversions between the plain colours of graphics.h and Qt's, for the
// code that makes a canvas, shows, saves or inspects what it drew.
#pragma once

#include <QColor>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

class QPainter;
class QPolygonF;
class QFont;
class QPen;

// A colour as Qt's colour (system colours resolved) and a pixel as a colour.
QColor ToQColor(TColor color);
TColor ToTColor(QRgb pixel);

class TQtCanvas final : public TCanvas {
 public:
  // A canvas on an image; the image must outlive the canvas (or be detached
  // with EndPaint before it changes). Text sizes use 96 pixels per inch.
  explicit TQtCanvas(QImage* image);
  // A canvas drawing through an open painter (printer page, PDF page,
  // widget). The painter must stay active while the canvas draws; its state
  // is restored when the canvas goes. Pixels per inch come from the
  // painter's device. With an area, the canvas origin is the area's top-left
  // corner and drawing is clipped to the area.
  explicit TQtCanvas(QPainter* painter);
  TQtCanvas(QPainter* painter, const TRect& area);
  ~TQtCanvas() override;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void FillRect(const TRect& rect) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  // The source must be a TQtCanvas on an image; any other copies nothing.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) override;
  void Draw(int x, int y, TBitmap& bitmap) override;
  TColor Pixel(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  bool OnImage() const override { return image_ != nullptr; }

  // Ends the painter of an image canvas (it restarts on the next drawing).
  void EndPaint();
  // The image of an image canvas, else nullptr.
  QImage* Image() { return image_; }
  // The painter, begun if needed; for drawing this class does not cover.
  QPainter* Painter();

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
  TQtCanvas& Canvas() { return canvas_; }
  // The pixels (the canvas's painter is ended first).
  const QImage& Image();
  // Saves as a BMP file (a UTF-8 path, as platform/files.h has it). False on failure.
  bool SaveToFile(const std::string& path);

 private:
  std::unique_ptr<QImage> image_;
  TQtCanvas canvas_;
};
