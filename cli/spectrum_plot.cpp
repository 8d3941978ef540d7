#include "spectrum_plot.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace spectrafil {

using I2DFourierFilters::DepthSegment;
using I2DFourierFilters::RadialSpectrum;

SpectrumScale spectrumScale(const QString& lengthUnit, double ringWidth)
{
    SpectrumScale scale;
    scale.lengthUnit = lengthUnit == QLatin1String("grid unit") ? QStringLiteral("grid units") : lengthUnit;
    if (lengthUnit != QLatin1String("m"))
        scale.wavenumberUnit = QStringLiteral("cycles/1000 %1").arg(scale.lengthUnit);
    const double shownWidth = ringWidth * scale.perGridUnit;
    if (shownWidth > 0)
        scale.decimals = std::max(2, int(-std::floor(std::log10(shownWidth))));
    return scale;
}

I2DFourierFilters::WavenumberUnit wavenumberUnit(const SpectrumScale& scale)
{
    return {scale.perGridUnit, scale.wavenumberUnit};
}

QByteArray spectrumCsv(const RadialSpectrum& spectrum, const SpectrumScale& scale)
{
    QString unit = scale.wavenumberUnit;
    unit.replace(QLatin1Char('/'), QStringLiteral(" per ")).replace(QLatin1Char(' '), QLatin1Char('_'));
    QByteArray csv = QStringLiteral("wavenumber_%1,ln_power,count\n").arg(unit).toUtf8();
    for (const I2DFourierFilters::SpectrumRing& ring : spectrum.rings)
        csv += QStringLiteral("%1,%2,%3\n")
                   .arg(ring.wavenumber * scale.perGridUnit, 0, 'g', 10)
                   .arg(ring.lnPower, 0, 'f', 6)
                   .arg(ring.count)
                   .toUtf8();
    return csv;
}

QString depthLine(const DepthSegment& segment, const SpectrumScale& scale)
{
    return QStringLiteral("depth %1 %2 (wavenumbers %3-%4 %5)")
        .arg(std::lround(segment.depth))
        .arg(scale.lengthUnit)
        .arg(segment.range.from * scale.perGridUnit, 0, 'f', scale.decimals)
        .arg(segment.range.to * scale.perGridUnit, 0, 'f', scale.decimals)
        .arg(scale.wavenumberUnit);
}

namespace {

QFont plotFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A tick step of 1, 2 or 5 times a power of ten giving about five intervals over span.
double tickStep(double span)
{
    const double rough = span / 5;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * decade >= rough)
            return factor * decade;
    return 10 * decade;
}

// Data ranges to pixels of the plot area.
struct PlotFrame {
    QRectF area;
    double xMax = 1, yMin = 0, yMax = 1;
    QPointF at(double x, double y) const
    {
        return {area.left() + area.width() * x / xMax, area.bottom() - area.height() * (y - yMin) / (yMax - yMin)};
    }
};

PlotFrame frameFor(const RadialSpectrum& spectrum, double perGridUnit, const QRectF& area)
{
    PlotFrame frame;
    frame.area = area;
    double low = spectrum.rings.front().lnPower, high = low;
    for (const auto& ring : spectrum.rings) {
        low = std::min(low, ring.lnPower);
        high = std::max(high, ring.lnPower);
    }
    const double yStep = tickStep(std::max(high - low, 1e-6));
    frame.yMin = std::floor(low / yStep) * yStep;
    frame.yMax = std::ceil(high / yStep) * yStep;
    if (frame.yMax <= frame.yMin)
        frame.yMax = frame.yMin + yStep;
    const double xLast = spectrum.rings.back().wavenumber * perGridUnit;
    const double xStep = tickStep(xLast);
    frame.xMax = std::ceil(xLast / xStep - 0.05) * xStep; // a last ring just past a tick needs no new one
    return frame;
}

void drawAxes(QPainter& painter, const PlotFrame& frame, const SpectrumScale& scale)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(frame.area);
    painter.setFont(plotFont(12));
    const QFontMetrics metrics(painter.font());
    const double xStep = tickStep(frame.xMax), yStep = tickStep(frame.yMax - frame.yMin);
    for (int i = 0; i * xStep <= frame.xMax * (1 + 1e-9); ++i) {
        const QPointF p = frame.at(i * xStep, frame.yMin);
        painter.drawLine(p, p + QPointF(0, 5));
        const QString label = QString::number(i * xStep, 'g', 6);
        painter.drawText(QPointF(p.x() - metrics.horizontalAdvance(label) / 2.0, p.y() + 8 + metrics.ascent()), label);
    }
    for (int i = 0; frame.yMin + i * yStep <= frame.yMax + 1e-9 * yStep; ++i) {
        const QPointF p = frame.at(0, frame.yMin + i * yStep);
        painter.drawLine(p, p - QPointF(5, 0));
        const QString label = QString::number(frame.yMin + i * yStep, 'g', 6);
        painter.drawText(QPointF(p.x() - 8 - metrics.horizontalAdvance(label), p.y() + metrics.ascent() / 2.0), label);
    }
    painter.setFont(plotFont(14));
    const QRectF below(frame.area.left(), frame.area.bottom() + 28, frame.area.width(), 24);
    painter.drawText(below, Qt::AlignCenter, QStringLiteral("wavenumber (%1)").arg(scale.wavenumberUnit));
    painter.save();
    painter.translate(frame.area.left() - 62, frame.area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-150, -12, 300, 24), Qt::AlignCenter, QStringLiteral("ln P (mean power in the ring)"));
    painter.restore();
}

void drawSegments(QPainter& painter, const PlotFrame& frame, const std::vector<DepthSegment>& segments,
                  const SpectrumScale& scale)
{
    const QColor colours[] = {QColor(214, 39, 40), QColor(31, 119, 180), QColor(44, 160, 44), QColor(148, 103, 189)};
    painter.setFont(plotFont(14, true));
    for (size_t i = 0; i < segments.size(); ++i) {
        const DepthSegment& s = segments[i];
        const QColor colour = colours[i % 4];
        const QPointF from = frame.at(s.range.from * scale.perGridUnit, s.intercept + s.slope * s.range.from);
        const QPointF to = frame.at(s.range.to * scale.perGridUnit, s.intercept + s.slope * s.range.to);
        painter.setPen(QPen(colour, 3));
        painter.drawLine(from, to);
        const QString label = QStringLiteral("%1 %2").arg(std::lround(s.depth)).arg(scale.lengthUnit);
        const QPointF middle = (from + to) / 2;
        const double width = QFontMetrics(painter.font()).horizontalAdvance(label);
        const double left = std::clamp(middle.x() + 8, frame.area.left() + 4, frame.area.right() - width - 4);
        painter.drawText(QPointF(left, std::max(middle.y() - 10, frame.area.top() + 18)), label);
    }
}

} // namespace

QImage spectrumPlot(const RadialSpectrum& spectrum, const std::vector<DepthSegment>& segments,
                    const SpectrumScale& scale, const QString& title, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (spectrum.rings.empty())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(90, 50, size.width() - 120, size.height() - 120);
    const PlotFrame frame = frameFor(spectrum, scale.perGridUnit, area);
    painter.setFont(plotFont(16, true));
    painter.drawText(QRectF(0, 8, size.width(), 32), Qt::AlignCenter, title);
    drawAxes(painter, frame, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 60, 60));
    for (const auto& ring : spectrum.rings)
        painter.drawEllipse(frame.at(ring.wavenumber * scale.perGridUnit, ring.lnPower), 2.2, 2.2);
    drawSegments(painter, frame, segments, scale);
    return image;
}

} // namespace spectrafil
