// What the chart's companion windows share: their window codes for the
// export, the main window's texts, and the drawing target of a companion
// picture window.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

#include "chart/chartrecord.h"
#include "chart/companiondrawing.h"
#include "platform/drawtarget.h"

class QWidget;

// Window codes the export and the printing go by.
inline constexpr int kCodeAstronomicalValues = 5;
inline constexpr int kCodePositions = 12;
inline constexpr int kCodeLocalSpace = 13;

// Entry n of the interface string table as shown text (empty before the main
// window exists).
QString CompanionText(int entry);
// The caption of a main-window menu item (empty when there is none).
QString MenuCaption(const char* item);

// Draws one companion picture of the current chart onto a canvas.
using CompanionDrawer =
    std::function<void(const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture)>;

// The drawing target of a companion picture window (positions table,
// local-space chart), kept in the window's target rectangle, colour mode and
// flags: the window itself, or a canvas an export or a print lends it
// through DrawTargetGuard.
class TCompanionDrawing : public TDrawing {
 public:
  int TargetRect[4] = {0, 0, 0, 0};         // pixels: left, right, top, bottom
  int ColorMode = kColorModeFull;           // of the window's own picture while no target is lent
  std::uint8_t TargetFlags[3] = {1, 1, 1};  // all 1: the window; [2] 0 export, [0]/[1] 0 print

  DrawTarget Target() const override;
  void SetTarget(const DrawTarget& target) override;

  // The picture at a size and colour mode, drawn off screen as an export
  // draws it; the window keeps its own target.
  QImage Picture(int width, int height, int colorMode);

 protected:
  // Draws onto the current target: the lent canvas, its picture's top-left
  // corner at the canvas origin and as large as the target rectangle; or
  // else windowPicture, made the window's size, and the window is updated.
  // Nothing before the chart window exists.
  void DrawOntoTarget(QWidget& window, QImage& windowPicture, const CompanionDrawer& draw);

 private:
  TCanvas* targetCanvas_ = nullptr;  // canvas of a lent target; nullptr for the window
};
