#include "map_render.h"

#include "colour_map.h"

#include <I2DGridGeometry.h>
#include <IBaseData.h>

#include <QFileInfo>
#include <QFont>
#include <QImageWriter>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace spectrafil {
namespace {

constexpr int kTitleHeight = 30;
constexpr int kBarAreaHeight = 62;
constexpr int kMargin = 12;
constexpr int kBarHeight = 14;
constexpr int kTicks = 5;

QFont labelFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A title with its filter's parameters can be long: the font shrinks to fit one line, and below
// 11 pixels the title takes two lines.
void drawTitle(QPainter& painter, const QRect& area, const QString& title)
{
    for (int pixels = 15; pixels >= 11; --pixels) {
        painter.setFont(labelFont(pixels, true));
        if (painter.fontMetrics().horizontalAdvance(title) <= area.width()) {
            painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, title);
            return;
        }
    }
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, title);
}

// The largest rectangle of the grid's aspect that fits in area, centred.
QRect mapRect(const Tavorin::I2DGridGeometry& geometry, const QRect& area)
{
    const double width = geometry.nCellU() * geometry.uSize();
    const double height = geometry.nCellV() * geometry.vSize();
    const double scale = std::min(area.width() / width, area.height() / height);
    const QSize size(std::max(1, int(width * scale)), std::max(1, int(height * scale)));
    return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

void drawColourBar(QPainter& painter, const QRect& area, const ValueRange& range, const QString& units)
{
    const QRect bar(area.left() + area.width() / 8, area.top() + 6, area.width() * 3 / 4, kBarHeight);
    for (int x = 0; x < bar.width(); ++x) {
        painter.setPen(QColor(viridis(double(x) / std::max(1, bar.width() - 1))));
        painter.drawLine(bar.left() + x, bar.top(), bar.left() + x, bar.bottom());
    }
    painter.setPen(Qt::black);
    painter.drawRect(bar);
    painter.setFont(labelFont(11));
    for (int i = 0; i < kTicks; ++i) {
        const int x = bar.left() + bar.width() * i / (kTicks - 1);
        const double value = range.low + (range.high - range.low) * i / (kTicks - 1);
        painter.drawLine(x, bar.bottom(), x, bar.bottom() + 4);
        const QRect label(x - 50, bar.bottom() + 5, 100, 15);
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, QString::number(value, 'g', 4));
    }
    const QRect unitLine(area.left(), bar.bottom() + 22, area.width(), 16);
    painter.drawText(unitLine, Qt::AlignHCenter, units.isEmpty() ? QStringLiteral("units not recorded") : units);
}

} // namespace

QImage cellImage(const Tavorin::I2DGridGeometry& geometry, const Tavorin::IBaseData& data, const ValueRange& range)
{
    QImage image(geometry.nCellU(), geometry.nCellV(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int v = 0; v < geometry.nCellV(); ++v) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(geometry.nCellV() - 1 - v));
        for (int u = 0; u < geometry.nCellU(); ++u) {
            const unsigned int id = geometry.cellID(u, v);
            if (data.hasValue(id))
                line[u] = viridis(range.position(data.value(id)));
        }
    }
    return image;
}


QImage renderPanel(const MapPanel& panel, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawTitle(painter, QRect(kMargin, 4, size.width() - 2 * kMargin, kTitleHeight), panel.title);

    const QRect mapArea(kMargin, kTitleHeight + 4, size.width() - 2 * kMargin,
                        size.height() - kTitleHeight - kBarAreaHeight - 8);
    const QRect barArea(kMargin, mapArea.bottom() + 4, mapArea.width(), kBarAreaHeight);
    const ValueRange range = displayRange(*panel.data);
    const QRect target = mapRect(*panel.geometry, mapArea);
    if (range.empty) {
        painter.drawText(target, Qt::AlignCenter, QStringLiteral("no values"));
    } else {
        painter.drawImage(target, cellImage(*panel.geometry, *panel.data, range));
        drawColourBar(painter, barArea, range, panel.units);
    }
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(target.adjusted(-1, -1, 0, 0));
    return image;
}

QImage composeSheet(const QVector<MapPanel>& panels, int columns, const QString& heading, const QSize& panelSize)
{
    columns = std::max(1, std::min(columns, int(panels.size())));
    const int rows = (int(panels.size()) + columns - 1) / columns;
    const int top = heading.isEmpty() ? 0 : 40;
    QImage sheet(columns * panelSize.width(), top + rows * panelSize.height(), QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    if (!heading.isEmpty()) {
        painter.setFont(labelFont(20, true));
        painter.drawText(QRect(0, 0, sheet.width(), top), Qt::AlignCenter, heading);
    }
    for (int i = 0; i < panels.size(); ++i)
        painter.drawImage(QPoint((i % columns) * panelSize.width(), top + (i / columns) * panelSize.height()),
                          renderPanel(panels[i], panelSize));
    return sheet;
}

bool saveImage(const QImage& image, const QString& path, QString& error)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (image.save(path, format.constData()))
        return true;
    error = QStringLiteral("%1: cannot write the %2 image").arg(path, QString::fromLatin1(format.toUpper()));
    return false;
}

QString imageFormatProblem(const QString& path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    if (formats.contains(format))
        return QString();
    QStringList names;
    for (const QByteArray& name : formats)
        names << QString::fromLatin1(name);
    return QStringLiteral("%1: cannot write images of type \"%2\"; name a file ending in one of: %3")
        .arg(path, QString::fromLatin1(format), names.join(QStringLiteral(", ")));
}

} // namespace spectrafil
