#include "spectrum_window.h"

#include "spectrum_plot.h"

#include <IBaseData.h>
#include <ILogger.h>

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace spectrafil {

namespace F = I2DFourierFilters;

SpectrumWindow::SpectrumWindow(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, const QString& lengthUnit,
                               QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Power spectrum of %1").arg(data->Name()));
    auto* layout = new QVBoxLayout(this);
    auto* plot = new QLabel(this);
    auto* depths = new QLabel(this);
    plot->setObjectName(QStringLiteral("spectrumPlot"));
    depths->setObjectName(QStringLiteral("spectrumDepths"));
    depths->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(plot);
    layout->addWidget(depths);

    F::RadialSpectrum spectrum;
    std::vector<F::DepthSegment> segments;
    QString error;
    if (!F::radialPowerSpectrum(grid, data, spectrum))
        return; // the operation has logged why
    const SpectrumScale scale = spectrumScale(lengthUnit, spectrum.ringWidth);
    if (!F::estimateDepths(spectrum, 2, {}, segments, error, wavenumberUnit(scale))) {
        Tavorin::ILogger::write2Log(tr("Power spectrum of %1: %2").arg(data->Name(), error), Tavorin::ILogger::Warning);
        depths->setText(error);
    }
    QStringList lines;
    for (auto segment = segments.rbegin(); segment != segments.rend(); ++segment)
        lines << depthLine(*segment, scale);
    depthText_ = lines.join(QLatin1Char('\n'));
    if (!lines.isEmpty())
        depths->setText(depthText_);
    const QString title = tr("Radially averaged power spectrum of %1").arg(data->Name());
    plot->setPixmap(QPixmap::fromImage(spectrumPlot(spectrum, segments, scale, title, QSize(800, 540))));
    computed_ = !segments.empty();
}

} // namespace spectrafil
