// A canvas that draws nothing: it keeps the pen, brush and font and the
// current position (MoveTo and LineTo move it), measures every text as
// empty and has no pixels. Tests derive a recording canvas from it and
// override the operations they record.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

class TNullCanvas : public TCanvas {
 public:
  TNullCanvas() = default;

  void MoveTo(int x, int y) override { penPos_ = TPoint{x, y}; }
  void LineTo(int x, int y) override { penPos_ = TPoint{x, y}; }
  void Polyline(const std::vector<TPoint>&) override {}
  void Polygon(const std::vector<TPoint>&) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Pie(int, int, int, int, int, int, int, int) override {}
  void Arc(int, int, int, int, int, int, int, int) override {}
  void FillRect(const TRect&) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string&) override { return 0; }
  int TextHeight(const std::string&) override { return 0; }
  void CopyRect(const TRect&, TCanvas&, const TRect&) override {}
  void Draw(int, int, TBitmap&) override {}
  TColor Pixel(int, int) override { return -1; }
  void SetPixel(int, int, TColor) override {}
  bool OnImage() const override { return false; }
};
