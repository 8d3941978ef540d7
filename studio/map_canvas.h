#pragma once
// The pieces the map view draws: the cells of a data item as an image, and a vertical colour bar.

#include "colour_map.h"

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace Tavorin {
class I2DGridGeometry;
class IBaseData;
} // namespace Tavorin

namespace spectrafil {

// Viridis from low at the bottom to high at the top of area, with ticks, labels and units.
void drawColourBar(QPainter& painter, const QRect& area, const ValueRange& range, const QString& units);

// A value for the status bar and the colour bar: four significant digits, more for large numbers.
QString formatValue(double value);

} // namespace spectrafil
