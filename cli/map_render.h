#pragma once
// Maps of grid data items drawn with QPainter, for previews and contact sheets. Needs a
// QGuiApplication (the "offscreen" platform is enough) for fonts.

#include "colour_map.h"

#include <QImage>
#include <QString>
#include <QVector>

namespace Tavorin {
class I2DGridGeometry;
class IBaseData;
} // namespace Tavorin

namespace spectrafil {

struct MapPanel {
    const Tavorin::I2DGridGeometry* geometry = nullptr;
    const Tavorin::IBaseData* data = nullptr;
    QString title;
    QString units; // shown under the colour bar; empty when not known
};

// One image pixel per cell, north up, coloured by viridis over range; cells without value transparent.
QImage cellImage(const Tavorin::I2DGridGeometry& geometry, const Tavorin::IBaseData& data, const ValueRange& range);

// One map, north up, its cells coloured by viridis over the display range, with title and colour bar.
QImage renderPanel(const MapPanel& panel, const QSize& size);

// Panels in rows of the given number of columns under an optional heading.
QImage composeSheet(const QVector<MapPanel>& panels, int columns, const QString& heading, const QSize& panelSize);

// Saves in the format the path's extension names (PNG, JPEG, BMP ...); false with a message on failure.
bool saveImage(const QImage& image, const QString& path, QString& error);
// Empty when saveImage can write the path's format; otherwise why not, with the formats it can write.
QString imageFormatProblem(const QString& path);

} // namespace spectrafil
