#include "map_canvas.h"

#include <I2DGridGeometry.h>
#include <IBaseData.h>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace spectrafil {
namespace {

constexpr int kBarWidth = 16;
constexpr int kTicks = 5;

} // namespace

void drawColourBar(QPainter& painter, const QRect& area, const ValueRange& range, const QString& units)
{
    const QRect bar(area.left(), area.top(), kBarWidth, area.height());
    for (int y = 0; y < bar.height(); ++y) {
        painter.setPen(QColor(viridis(1.0 - double(y) / std::max(1, bar.height() - 1))));
        painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    painter.setPen(Qt::black);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    const int textHeight = painter.fontMetrics().height();
    for (int i = 0; i < kTicks; ++i) {
        const int y = bar.bottom() - (bar.height() - 1) * i / (kTicks - 1);
        const double value = range.low + (range.high - range.low) * i / (kTicks - 1);
        painter.drawLine(bar.right(), y, bar.right() + 4, y);
        painter.drawText(QRect(bar.right() + 7, y - textHeight / 2, area.width(), textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, formatValue(value));
    }
    if (!units.isEmpty())
        painter.drawText(QRect(area.left(), area.top() - textHeight - 4, area.width(), textHeight), Qt::AlignLeft,
                         units);
}

QString formatValue(double value)
{
    return std::fabs(value) >= 1e4 && std::fabs(value) < 1e9 ? QString::number(value, 'f', 1)
                                                             : QString::number(value, 'g', 4);
}

} // namespace spectrafil
