// What the chart's companion windows share: their window codes for the
// export, the delivery of an exported picture, and the main window's texts.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "chart/chartrecord.h"
#include "chart/companiondrawing.h"

// Window codes the export and the printing go by.
inline constexpr int kCodeAstronomicalValues = 5;
inline constexpr int kCodePositions = 12;
inline constexpr int kCodeLocalSpace = 13;

// Entry n of the interface string table as shown text (empty before the main
// window exists).
QString CompanionText(int entry);
// The caption of a main-window menu item (empty when there is none).
QString MenuCaption(const char* item);

// Hands an exported picture over as the main window's export switch says:
// to the clipboard, or saved as a BMP file under its export file name.
// False when it could not be delivered.
bool DeliverExportPicture(const QImage& picture);

// A companion picture of the current chart: an image of the given size (at
// least one pixel each way) drawn by `draw` in the colour mode, for the
// window itself (onScreen) or for an export or a print. A null image before
// the chart window exists.
using CompanionDrawer =
    std::function<void(const ChartRecord& chart, TCanvas& canvas, const CompanionPicture& picture)>;
QImage DrawCompanionImage(int width, int height, int colorMode, bool onScreen,
                          const CompanionDrawer& draw);
