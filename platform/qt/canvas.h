// The toolkit side of the canvas: colour conversions between the plain
// colours of graphics.h and Qt's, and the image class a canvas draws on, for
// the code that shows, saves or inspects what a canvas drew.
#pragma once

#include <QColor>
#include <QImage>

#include "platform/canvas.h"

// A colour as Qt's colour (system colours resolved) and a pixel as a colour.
QColor ToQColor(TColor color);
TColor ToTColor(QRgb pixel);
