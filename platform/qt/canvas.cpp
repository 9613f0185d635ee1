// The canvas over Qt's painter.
//
// Geometry: a shape's outline runs through the pixels at its edges, so the
// box (x1, y1) .. (x2, y2) is outlined through columns x1 and x2 - 1 and rows
// y1 and y2 - 1. On raster devices without antialiasing an ellipse is traced
// as its own pixel outline, and every pie or arc of the same box takes its
// pixels from that outline; the fill, which Qt samples at the pixels'
// top-left corners, then covers the inside up to but not including the right
// and bottom outline: exactly what a shape without outline covers on the
// classic interface. One-pixel outlines there are set pixel by pixel (lines
// stepped along their longer axis, dash patterns counted in pixels).
// Printers and antialiased drawing get Qt's vector strokes through points of
// the exact curves.
#include "platform/qt/canvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

#include "platform/qt/glyphfont.h"
#include "platform/qt/imagefiles.h"
#include "platform/text/cp1251.h"

namespace {

// the standard library's pi: the drawing layer stands below the engine
constexpr double kPi = std::numbers::pi;
constexpr int kScreenPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;
// Ellipses with a larger half-axis (pixels) are not traced pixel by pixel.
constexpr double kMaxTracedRadius = 32768.0;
// Most points a curve is cut into for vector output.
constexpr int kMaxCurveSteps = 16384;

// Family drawn for a font name of the classic desktop; other names go to the
// font system as they are.
QString FamilyFor(const std::string& cp1251Name) {
  struct Substitute {
    std::string_view name;
    const char* family;
  };
  static constexpr Substitute kSubstitutes[] = {
      {"ms sans serif", "DejaVu Sans"},
      {"microsoft sans serif", "DejaVu Sans"},
      {"ms shell dlg", "DejaVu Sans"},
      {"ms shell dlg 2", "DejaVu Sans"},
      {"arial", "DejaVu Sans"},
      {"tahoma", "DejaVu Sans"},
      {"verdana", "DejaVu Sans"},
      {"system", "DejaVu Sans"},
      {"times new roman", "DejaVu Serif"},
      {"times", "DejaVu Serif"},
      {"ms serif", "DejaVu Serif"},
      {"courier new", "DejaVu Sans Mono"},
      {"courier", "DejaVu Sans Mono"},
      {"lucida console", "DejaVu Sans Mono"},
      {"fixedsys", "DejaVu Sans Mono"},
  };
  std::string lower = cp1251Name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const Substitute& s : kSubstitutes)
    if (lower == s.name) return QString::fromLatin1(s.family);
  return QString::fromUtf8(Cp1251ToUtf8(cp1251Name));
}

// Font size in points to pixels, rounded as the classic interface does
// (multiply, then divide with rounding).
int PointsToPixels(int points, int pixelsPerInch) {
  const long long scaled = static_cast<long long>(std::abs(points)) * pixelsPerInch;
  return std::max(1, static_cast<int>((scaled + kPointsPerInch / 2) / kPointsPerInch));
}

QBrush MakeBrush(const TBrush& brush) {
  const QColor color = ToQColor(brush.Color);
  switch (brush.Style) {
    case bsClear:
      return QBrush(Qt::NoBrush);
    case bsSolid:
      return QBrush(color, Qt::SolidPattern);
    case bsHorizontal:
      return QBrush(color, Qt::HorPattern);
    case bsVertical:
      return QBrush(color, Qt::VerPattern);
    case bsFDiagonal:
      return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal:
      return QBrush(color, Qt::BDiagPattern);
    case bsCross:
      return QBrush(color, Qt::CrossPattern);
    case bsDiagCross:
      return QBrush(color, Qt::DiagCrossPattern);
  }
  return QBrush(Qt::NoBrush);
}

// Box corners in increasing order.
void Normalize(int& x1, int& y1, int& x2, int& y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
}

// Dash and gap lengths in pixels of a one-pixel pen; empty for a solid line.
// Wider pens are always solid.
std::vector<int> DashPattern(const TPen& pen) {
  if (std::max(1, pen.Width) != 1) return {};
  switch (pen.Style) {
    case psDash:
      return {18, 6};
    case psDot:
      return {3, 3};
    case psDashDot:
      return {9, 6, 3, 6};
    case psDashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

// The pen that lights exactly one pixel per point.
QPen PixelPen(const QColor& color) {
  QPen pen(color);
  pen.setWidth(1);
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::SquareCap);
  return pen;
}

// The pixels of a line from p to q without q: pixel i (from 0) is i steps
// along the longer axis, the other coordinate rounded (halves away from p).
// Only pixels whose longer-axis coordinate lies within [lo, hi] of that axis
// are passed to put(point, i), so a line reaching far outside the device
// costs no more than its visible part. Returns the pixel count of the line.
template <typename Put>
long long LinePixels(const QPoint& p, const QPoint& q, const QRect& bounds, Put&& put) {
  const long long dx = static_cast<long long>(q.x()) - p.x();
  const long long dy = static_cast<long long>(q.y()) - p.y();
  const long long adx = std::llabs(dx);
  const long long ady = std::llabs(dy);
  const int sx = dx > 0 ? 1 : -1;
  const int sy = dy > 0 ? 1 : -1;
  const bool alongX = adx >= ady;
  const long long length = alongX ? adx : ady;
  const long long start = alongX ? p.x() : p.y();
  const long long lo = alongX ? bounds.left() : bounds.top();
  const long long hi = alongX ? bounds.right() : bounds.bottom();
  const int step = alongX ? sx : sy;
  long long first = step > 0 ? lo - start : start - hi;
  long long last = step > 0 ? hi - start : start - lo;
  first = std::max(first, 0LL);
  last = std::min(last, length - 1);
  for (long long i = first; i <= last; ++i) {
    if (alongX)
      put(QPoint(static_cast<int>(p.x() + sx * i),
                 static_cast<int>(p.y() + sy * ((2 * i * ady + adx) / (2 * adx)))),
          i);
    else
      put(QPoint(static_cast<int>(p.x() + sx * ((2 * i * adx + ady) / (2 * ady))),
                 static_cast<int>(p.y() + sy * i)),
          i);
  }
  return length;
}

// Angles of points on an ellipse of half-axes a, b may differ by this much
// and still count as the same radial (radians).
constexpr double kAngleSlack = 1e-9;

// Parametric angle of the offset (dx, dy) from an ellipse's centre, screen y
// down: radians in [0, 2pi), counter-clockwise on screen from the right.
double ParametricAngle(double dx, double dy, double a, double b) {
  if (a > 0.0) dx /= a;
  if (b > 0.0) dy /= b;
  if (dx == 0.0 && dy == 0.0) return 0.0;
  const double t = std::atan2(-dy, dx);
  return t < 0.0 ? t + 2.0 * kPi : t;
}

// The pixel outline of the ellipse inscribed in the box (x1, y1) .. (x2, y2)
// (corners in increasing order), through columns x1 and x2 - 1 and rows y1
// and y2 - 1: eight-connected, symmetric about both axes of the box, listed
// counter-clockwise on screen from the right. In each quadrant the flat part
// takes one pixel per column and the steep part one per row, each rounded to
// the nearest pixel of the curve (halves outwards).
std::vector<QPoint> EllipsePixels(double x1, double y1, double x2, double y2) {
  const double cx = (x1 + x2 - 1.0) * 0.5;
  const double cy = (y1 + y2 - 1.0) * 0.5;
  const double a = (x2 - x1 - 1.0) * 0.5;
  const double b = (y2 - y1 - 1.0) * 0.5;
  // offsets (u right, v up) of the upper-right quadrant; u runs over
  // a, a - 1, ... >= 0 so that cx + u is a whole column, v likewise
  const double ua = a - std::floor(a);
  const double vb = b - std::floor(b);
  const auto onGrid = [](double value, double base) {
    return base + std::floor(value - base + 0.5);
  };
  std::vector<std::pair<double, double>> quadrant;
  const double diagonal = std::sqrt(a * a + b * b);
  const double uTurn = diagonal > 0.0 ? a * a / diagonal : 0.0;
  const double vTurn = diagonal > 0.0 ? b * b / diagonal : 0.0;
  for (double u = ua; u <= a; u += 1.0) {
    if (u > uTurn + 0.5 && u > ua) break;
    const double v = a > 0.0 ? b * std::sqrt(std::max(0.0, 1.0 - (u / a) * (u / a))) : b;
    quadrant.emplace_back(u, onGrid(v, vb));
  }
  for (double v = vb; v <= b; v += 1.0) {
    if (v > vTurn + 0.5 && v > vb) break;
    const double u = b > 0.0 ? a * std::sqrt(std::max(0.0, 1.0 - (v / b) * (v / b))) : a;
    quadrant.emplace_back(onGrid(u, ua), v);
  }
  const auto angle = [a, b](const std::pair<double, double>& p) {
    return std::atan2(b > 0.0 ? p.second / b : p.second, a > 0.0 ? p.first / a : p.first);
  };
  std::sort(quadrant.begin(), quadrant.end(),
            [&](const auto& l, const auto& r) { return angle(l) < angle(r); });
  quadrant.erase(std::unique(quadrant.begin(), quadrant.end()), quadrant.end());
  std::vector<QPoint> outline;
  const auto put = [&](double u, double v) {
    const QPoint p(static_cast<int>(std::lround(cx + u)), static_cast<int>(std::lround(cy - v)));
    if (outline.empty() || outline.back() != p) outline.push_back(p);
  };
  for (auto it = quadrant.begin(); it != quadrant.end(); ++it) put(it->first, it->second);
  for (auto it = quadrant.rbegin(); it != quadrant.rend(); ++it) put(-it->first, it->second);
  for (auto it = quadrant.begin(); it != quadrant.end(); ++it) put(-it->first, -it->second);
  for (auto it = quadrant.rbegin(); it != quadrant.rend(); ++it) put(it->first, -it->second);
  while (outline.size() > 1 && outline.back() == outline.front()) outline.pop_back();
  return outline;
}

}  // namespace

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor ToTColor(QRgb pixel) { return RGBColor(qRed(pixel), qGreen(pixel), qBlue(pixel)); }

struct TQtCanvas::TextCell {
  struct Piece {
    QString text;
    QFont font;
    int advance = 0;      // pixels
    double scaleX = 1.0;  // horizontal condensing of a glyph cell's text
  };
  std::vector<Piece> pieces;
  int ascent = 0;  // pixels from the cell top to the baseline
  int height = 0;  // pixels
  int width = 0;   // pixels
};

TQtCanvas::TQtCanvas(QImage* image) : image_(image), ownPainter_(std::make_unique<QPainter>()) {
  painter_ = ownPainter_.get();
  pixelsPerInch_ = kScreenPixelsPerInch;
}

TQtCanvas::TQtCanvas(QPainter* painter) : painter_(painter) {
  if (painter_ != nullptr && painter_->device() != nullptr)
    pixelsPerInch_ = painter_->device()->logicalDpiY();
  if (painter_ != nullptr && painter_->isActive()) painter_->save();
}

TQtCanvas::TQtCanvas(QPainter* painter, const TRect& area) : TQtCanvas(painter) {
  if (painter_ != nullptr && painter_->isActive()) {
    painter_->translate(area.Left, area.Top);
    painter_->setClipRect(QRect(0, 0, area.Width(), area.Height()), Qt::IntersectClip);
  }
}

TQtCanvas::~TQtCanvas() {
  if (ownPainter_) {
    if (ownPainter_->isActive()) ownPainter_->end();
  } else if (painter_ != nullptr && painter_->isActive()) {
    painter_->restore();
  }
}

void TQtCanvas::EndPaint() {
  if (ownPainter_ && ownPainter_->isActive()) ownPainter_->end();
}

QPainter* TQtCanvas::Painter() {
  Prepare();
  return painter_ != nullptr && painter_->isActive() ? painter_ : nullptr;
}

// Opens the painter of an image canvas and sets the render switches.
void TQtCanvas::Prepare() {
  if (painter_ == nullptr) return;
  if (ownPainter_ && !ownPainter_->isActive()) {
    if (image_ == nullptr || image_->isNull()) return;
    ownPainter_->begin(image_);
  }
  if (!painter_->isActive()) return;
  painter_->setRenderHint(QPainter::Antialiasing, antialiasing_);
  painter_->setRenderHint(QPainter::TextAntialiasing, antialiasing_);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  // Backgrounds behind dashes and text are painted here explicitly, so the
  // painter itself never fills them; hatch brushes stay transparent.
  painter_->setBackgroundMode(Qt::TransparentMode);
}

bool TQtCanvas::OpaqueBackground() const { return Brush.Style == bsSolid; }

// A raster device (image, widget) without antialiasing: curves are traced
// through whole pixels there.
bool TQtCanvas::RasterPixels() const {
  return !antialiasing_ && painter_ != nullptr && painter_->paintEngine() != nullptr &&
         painter_->paintEngine()->type() == QPaintEngine::Raster;
}

// One-pixel pens on a raster device are set pixel by pixel, so that lines,
// dashes and curves land exactly where the classic interface puts them;
// other devices get vector strokes.
bool TQtCanvas::PixelByPixel() const { return RasterPixels() && std::max(1, Pen.Width) == 1; }

// The Qt pen of the canvas pen; forBackground gives the solid pen of the same
// shape in the brush colour, drawn under the gaps of a dashed line.
QPen TQtCanvas::MakePen(bool forBackground) const {
  if (Pen.Style == psClear) return QPen(Qt::NoPen);
  const int width = std::max(1, Pen.Width);
  QPen pen(ToQColor(forBackground ? Brush.Color : Pen.Color));
  pen.setWidth(width);
  if (width == 1) {
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    const std::vector<int> dashes = forBackground ? std::vector<int>() : DashPattern(Pen);
    if (!dashes.empty()) pen.setDashPattern(QList<qreal>(dashes.begin(), dashes.end()));
  } else {
    // wide pens: round ends and joins, always solid
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  return pen;
}

// Outline through the vertices. An open outline leaves out its last pixel
// unless drawLast is set; a closed one returns to the first vertex.
void TQtCanvas::Stroke(const QPolygonF& vertices, bool closed, bool drawLast) {
  if (Pen.Style == psClear || vertices.isEmpty()) return;
  const std::vector<int> dashes = DashPattern(Pen);
  if (PixelByPixel()) {
    int period = 0;
    for (int d : dashes) period += d;
    QPolygon on;
    QPolygon gaps;
    // the dash pattern runs on along the whole outline
    long long done = 0;
    const auto put = [&](const QPoint& p, long long i) {
      if (period == 0) {
        on << p;
        return;
      }
      long long phase = (done + i) % period;
      std::size_t k = 0;
      while (phase >= dashes[k]) phase -= dashes[k++];
      (k % 2 == 0 ? on : gaps) << p;
    };
    // the part of the canvas that reaches the device, with a margin
    const QRect bounds = painter_->transform()
                             .inverted()
                             .mapRect(QRect(QPoint(0, 0), QSize(painter_->device()->width(),
                                                                painter_->device()->height())))
                             .adjusted(-2, -2, 2, 2);
    const int n = static_cast<int>(vertices.size());
    for (int i = 0; i + 1 < n; ++i)
      done += LinePixels(vertices[i].toPoint(), vertices[i + 1].toPoint(), bounds, put);
    if (closed)
      LinePixels(vertices[n - 1].toPoint(), vertices[0].toPoint(), bounds, put);
    else if (drawLast)
      put(vertices[n - 1].toPoint(), 0);
    painter_->setPen(PixelPen(ToQColor(Pen.Color)));
    painter_->drawPoints(on);
    if (OpaqueBackground() && !gaps.isEmpty()) {
      painter_->setPen(PixelPen(ToQColor(Brush.Color)));
      painter_->drawPoints(gaps);
    }
    return;
  }
  QPainterPath path(vertices[0]);
  for (int i = 1; i < vertices.size(); ++i) path.lineTo(vertices[i]);
  if (closed) path.closeSubpath();
  if (antialiasing_) path.translate(0.5, 0.5);
  if (OpaqueBackground() && !dashes.empty()) painter_->strokePath(path, MakePen(true));
  painter_->strokePath(path, MakePen(false));
}

void TQtCanvas::Fill(const QPolygonF& vertices) {
  if (Brush.Style == bsClear || vertices.size() < 3) return;
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  path.addPolygon(vertices);
  path.closeSubpath();
  if (antialiasing_) path.translate(0.5, 0.5);
  painter_->fillPath(path, MakeBrush(Brush));
}

void TQtCanvas::MoveTo(int x, int y) { penPos_ = TPoint{x, y}; }

void TQtCanvas::LineTo(int x, int y) {
  const QPointF from(penPos_.X, penPos_.Y);
  penPos_ = TPoint{x, y};
  if (Painter() == nullptr) return;
  Stroke(QPolygonF({from, QPointF(x, y)}), false, false);
}

void TQtCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2 || Painter() == nullptr) return;
  QPolygonF vertices;
  for (const TPoint& p : points) vertices << QPointF(p.X, p.Y);
  Stroke(vertices, false, false);
}

void TQtCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || Painter() == nullptr) return;
  QPolygonF vertices;
  for (const TPoint& p : points) vertices << QPointF(p.X, p.Y);
  Fill(vertices);
  Stroke(vertices, true, true);
}

void TQtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Normalize(x1, y1, x2, y2);
  if (x2 == x1 || y2 == y1 || Painter() == nullptr) return;
  // through the outline pixels: columns x1 and x2 - 1, rows y1 and y2 - 1
  const QPolygonF vertices(
      {QPointF(x1, y1), QPointF(x2 - 1, y1), QPointF(x2 - 1, y2 - 1), QPointF(x1, y2 - 1)});
  Fill(vertices);
  Stroke(vertices, true, true);
}

void TQtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 == x1 || y2 == y1 || Painter() == nullptr) return;
  const QPolygonF vertices = ArcVertices(x1, y1, x2, y2, 0, 0, 0, 0, true);
  Fill(vertices);
  Stroke(vertices, true, true);
}

// Points of the ellipse inscribed in the box, through its outline pixels,
// from the radial through (x3, y3) counter-clockwise on screen to the radial
// through (x4, y4). With wholeIfSame, the same radial twice gives the whole
// ellipse. On raster devices the points are the ellipse's own pixel outline
// (so every arc of a box lies on the outline of the box's ellipse); elsewhere
// they are points of the exact curve about two pixels apart.
QPolygonF TQtCanvas::ArcVertices(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                                 bool wholeIfSame) const {
  Normalize(x1, y1, x2, y2);
  const double left = x1, top = y1, right = x2, bottom = y2;
  // angles are taken about the centre of the box in its own coordinates
  const double boxCx = (left + right) * 0.5;
  const double boxCy = (top + bottom) * 0.5;
  const double boxRx = (right - left) * 0.5;
  const double boxRy = (bottom - top) * 0.5;
  const auto angleOf = [&](int x, int y) {
    return ParametricAngle(x - boxCx, y - boxCy, boxRx, boxRy);
  };
  const double start = angleOf(x3, y3);
  double span = std::fmod(angleOf(x4, y4) - start + 2.0 * kPi, 2.0 * kPi);
  if (span == 0.0 && wholeIfSame) span = 2.0 * kPi;
  // the outline pixels run from x1 to x2 - 1
  const double cx = (left + right - 1.0) * 0.5;
  const double cy = (top + bottom - 1.0) * 0.5;
  const double a = (right - left - 1.0) * 0.5;
  const double b = (bottom - top - 1.0) * 0.5;
  QPolygonF vertices;
  if (RasterPixels() && std::max(a, b) <= kMaxTracedRadius) {
    const std::vector<QPoint> outline = EllipsePixels(left, top, right, bottom);
    // the outline runs counter-clockwise from the right; take the pixels
    // whose angle lies in the span, starting at the first one past start
    std::vector<std::pair<double, QPoint>> picked;
    double nearestPast = 4.0 * kPi;
    QPoint nearest = outline.front();
    for (const QPoint& p : outline) {
      const double past =
          std::fmod(ParametricAngle(p.x() - cx, p.y() - cy, a, b) - start + 4.0 * kPi, 2.0 * kPi);
      if (past <= span + kAngleSlack) picked.emplace_back(past, p);
      if (past < nearestPast) {
        nearestPast = past;
        nearest = p;
      }
    }
    if (picked.empty()) picked.emplace_back(0.0, nearest);
    std::stable_sort(picked.begin(), picked.end(),
                     [](const auto& l, const auto& r) { return l.first < r.first; });
    for (const auto& [past, p] : picked) vertices << QPointF(p);
    if (span == 2.0 * kPi) vertices << vertices.front();
    return vertices;
  }
  const int steps = static_cast<int>(
      std::clamp(std::ceil(span * std::max(a, b) / 2.0), 8.0, double(kMaxCurveSteps)));
  for (int k = 0; k <= steps; ++k) {
    const double t = start + span * k / steps;
    vertices << QPointF(cx + a * std::cos(t), cy - b * std::sin(t));
  }
  return vertices;
}

void TQtCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (x2 == x1 || y2 == y1 || Painter() == nullptr) return;
  Normalize(x1, y1, x2, y2);
  QPolygonF vertices = ArcVertices(x1, y1, x2, y2, x3, y3, x4, y4, true);
  const double cx = (double(x1) + x2 - 1.0) * 0.5;
  const double cy = (double(y1) + y2 - 1.0) * 0.5;
  vertices.prepend(RasterPixels() ? QPointF(std::floor(cx + 0.5), std::floor(cy + 0.5))
                                  : QPointF(cx, cy));
  Fill(vertices);
  Stroke(vertices, true, true);
}

void TQtCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (x2 == x1 || y2 == y1 || Painter() == nullptr) return;
  Stroke(ArcVertices(x1, y1, x2, y2, x3, y3, x4, y4, true), false, true);
}

void TQtCanvas::FillRect(const TRect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0 || Brush.Style == bsClear) return;
  if (Painter() == nullptr) return;
  painter_->fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), MakeBrush(Brush));
}

QFont TQtCanvas::MakeFont() const {
  QFont font(FamilyFor(Font.Name));
  font.setPixelSize(PointsToPixels(Font.Size, pixelsPerInch_));
  font.setBold(Font.Bold);
  font.setItalic(Font.Italic);
  font.setUnderline(Font.Underline);
  font.setStrikeOut(Font.StrikeOut);
  font.setStyleStrategy(antialiasing_ ? QFont::PreferDefault : QFont::NoAntialias);
  return font;
}

// Splits text into pieces of one font and measures the cell. Glyph-font
// text takes its cell height and baseline from DejaVu Sans, whatever faces
// its symbols come from, so every glyph of one size shares one cell; a
// glyph drawn as a short text is condensed towards the width of a symbol.
TQtCanvas::TextCell TQtCanvas::Measure(const std::string& text) {
  TextCell cell;
  QPaintDevice* device = nullptr;
  if (painter_ != nullptr && painter_->isActive())
    device = painter_->device();
  else if (image_ != nullptr && !image_->isNull())
    device = image_;
  const auto metrics = [device](const QFont& font) {
    return device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
  };
  if (IsZarnFontName(Font.Name)) {
    const int pixels = PointsToPixels(Font.Size, pixelsPerInch_);
    const QFontMetrics base = metrics(GlyphFaceFont(GlyphFace::DejaVuSans, pixels, antialiasing_));
    cell.ascent = base.ascent();
    cell.height = base.height();
    for (GlyphRun& run : ZarnRuns(text)) {
      QFont font = GlyphFaceFont(run.Face, pixels, antialiasing_);
      font.setBold(Font.Bold);
      font.setItalic(Font.Italic);
      font.setUnderline(Font.Underline);
      font.setStrikeOut(Font.StrikeOut);
      const int natural = metrics(font).horizontalAdvance(run.Text);
      double scaleX = 1.0;
      if (run.Cell && natural > kGlyphCellEm * pixels)
        scaleX = std::max(kMinCellScale, kGlyphCellEm * pixels / natural);
      const int advance = static_cast<int>(std::lround(natural * scaleX));
      cell.width += advance;
      cell.pieces.push_back(TextCell::Piece{std::move(run.Text), font, advance, scaleX});
    }
    return cell;
  }
  const QFont font = MakeFont();
  const QFontMetrics fm = metrics(font);
  const QString unicode = QString::fromUtf8(Cp1251ToUtf8(text));
  cell.ascent = fm.ascent();
  cell.height = fm.height();
  cell.width = fm.horizontalAdvance(unicode);
  cell.pieces.push_back(TextCell::Piece{unicode, font, cell.width});
  return cell;
}

void TQtCanvas::TextOut(int x, int y, const std::string& text) {
  if (Painter() == nullptr) return;
  const TextCell cell = Measure(text);
  if (OpaqueBackground() && cell.width > 0)
    painter_->fillRect(QRect(x, y, cell.width, cell.height), ToQColor(Brush.Color));
  painter_->setPen(ToQColor(Font.Color));
  int offset = 0;
  for (const TextCell::Piece& piece : cell.pieces) {
    painter_->setFont(piece.font);
    if (piece.scaleX == 1.0) {
      painter_->drawText(QPoint(x + offset, y + cell.ascent), piece.text);
    } else {
      painter_->save();
      painter_->translate(x + offset, y + cell.ascent);
      painter_->scale(piece.scaleX, 1.0);
      painter_->drawText(QPoint(0, 0), piece.text);
      painter_->restore();
    }
    offset += piece.advance;
  }
  penPos_ = TPoint{x + cell.width, y};
}

int TQtCanvas::TextWidth(const std::string& text) { return Measure(text).width; }

int TQtCanvas::TextHeight(const std::string& text) { return Measure(text).height; }

void TQtCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
  TQtCanvas* image = dynamic_cast<TQtCanvas*>(&source);
  const QImage* from = image != nullptr ? image->Image() : nullptr;
  if (from == nullptr || from->isNull()) return;
  const QRect src = QRect(QPoint(std::min(sourceRect.Left, sourceRect.Right),
                                 std::min(sourceRect.Top, sourceRect.Bottom)),
                          QSize(std::abs(sourceRect.Width()), std::abs(sourceRect.Height())));
  const QRect target =
      QRect(QPoint(std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom)),
            QSize(std::abs(dest.Width()), std::abs(dest.Height())));
  if (src.isEmpty() || target.isEmpty()) return;
  // Copy first: the source may be this very canvas.
  QImage piece = from->copy(src);
  const bool mirrorX = (sourceRect.Width() < 0) != (dest.Width() < 0);
  const bool mirrorY = (sourceRect.Height() < 0) != (dest.Height() < 0);
  if (mirrorX || mirrorY) piece = piece.mirrored(mirrorX, mirrorY);
  if (Painter() == nullptr) return;
  painter_->drawImage(target, piece);
}

void TQtCanvas::Draw(int x, int y, TBitmap& bitmap) {
  const QImage& image = bitmap.Image();
  if (image.isNull() || Painter() == nullptr) return;
  painter_->drawImage(QPoint(x, y), image);
}

TColor TQtCanvas::Pixel(int x, int y) {
  if (image_ == nullptr || !image_->valid(x, y)) return -1;
  return ToTColor(image_->pixel(x, y));
}

void TQtCanvas::SetPixel(int x, int y, TColor color) {
  if (Painter() == nullptr) return;
  painter_->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

TBitmap::TBitmap() : image_(std::make_unique<QImage>()), canvas_(image_.get()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

int TBitmap::Width() const { return image_->width(); }

int TBitmap::Height() const { return image_->height(); }

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == image_->width() && height == image_->height()) return;
  canvas_.EndPaint();
  QImage resized;
  if (width > 0 && height > 0) {
    resized = QImage(width, height, QImage::Format_RGB32);
    resized.fill(Qt::white);
    if (!image_->isNull()) {
      QPainter copy(&resized);
      copy.drawImage(QPoint(0, 0), *image_);
    }
  }
  *image_ = resized;
}

const QImage& TBitmap::Image() {
  canvas_.EndPaint();
  return *image_;
}

bool TBitmap::SaveToFile(const std::string& path) {
  canvas_.EndPaint();
  if (image_->isNull()) return false;
  return SaveImageBmp(*image_, path);
}
