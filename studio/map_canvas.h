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

// One pixel per cell, the grid's last row at the top; cells without value transparent.
QImage cellImage(const Tavorin::I2DGridGeometry& geometry, const Tavorin::IBaseData& data, const ValueRange& range);

// Viridis from low at the bottom to high at the top of area, with ticks, labels and units.
void drawColourBar(QPainter& painter, const QRect& area, const ValueRange& range, const QString& units);

// A value for the status bar and the colour bar: four significant digits, more for large numbers.
QString formatValue(double value);

} // namespace spectrafil
