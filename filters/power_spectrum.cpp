#include "power_spectrum.h"

#include "filter_pipeline.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace I2DFourierFilters {

namespace {

// What the ring averages need from the spectrum file's header.
struct SpectrumHeader {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double dx = 0, dy = 0;
    int32_t lx = 0, ly = 0;
    qint64 recordsOffset = 0; // after the data-footprint tables
};

template <typename T>
T field(const QByteArray& bytes, int offset)
{
    T value;
    std::memcpy(&value, bytes.constData() + offset, sizeof(T));
    return value;
}

bool powerOfTwo(int32_t n)
{
    return n >= 4 && n <= 32768 && (n & (n - 1)) == 0;
}

// Header fields: eight doubles, four int32 sizes, three doubles, six int32 tail and footprint
// limits; the footprint tables follow, two int32 per column and per row of data.
bool readHeader(QFile& file, SpectrumHeader& header, QString& error)
{
    const QByteArray bytes = file.read(128);
    if (bytes.size() != 128) {
        error = QStringLiteral("%1 ends inside its header").arg(file.fileName());
        return false;
    }
    header.xMin = field<double>(bytes, 0);
    header.xMax = field<double>(bytes, 8);
    header.yMin = field<double>(bytes, 16);
    header.yMax = field<double>(bytes, 24);
    header.dx = field<double>(bytes, 32);
    header.dy = field<double>(bytes, 40);
    header.lx = field<int32_t>(bytes, 72);
    header.ly = field<int32_t>(bytes, 76);
    const qint64 columns = qint64(field<int32_t>(bytes, 116)) - field<int32_t>(bytes, 112) + 1;
    const qint64 rows = qint64(field<int32_t>(bytes, 124)) - field<int32_t>(bytes, 120) + 1;
    header.recordsOffset = 128 + 8 * (columns + rows);
    const qint64 expected = header.recordsOffset + 16LL * header.lx * (header.ly / 2 + 1);
    if (!powerOfTwo(header.lx) || !powerOfTwo(header.ly) || !(header.dx > 0) || !(header.dy > 0) || columns < 1
        || rows < 1 || file.size() != expected) {
        error = QStringLiteral("%1 is not a complete spectrum file").arg(file.fileName());
        return false;
    }
    return true;
}

struct RingSums {
    double power = 0;
    double wavenumber = 0;
    int count = 0;
};

// Adds the power of one spectrum record (ky fixed, kx = 0 ... LX-1 with the upper half negative)
// to the rings it reaches.
void addRecord(const std::vector<double>& record, int ky, const SpectrumHeader& header, double ringWidth,
               std::vector<RingSums>& rings)
{
    const double fy = ky / (header.ly * header.dy);
    for (int j = 0; j < header.lx; ++j) {
        const int kx = j <= header.lx / 2 ? j : j - header.lx;
        const double k = std::hypot(kx / (header.lx * header.dx), fy);
        const auto ring = static_cast<size_t>(std::lround(k / ringWidth));
        if (ring == 0 || ring >= rings.size())
            continue;
        const double re = record[2 * size_t(j)], im = record[2 * size_t(j) + 1];
        rings[ring].power += re * re + im * im;
        rings[ring].wavenumber += k;
        ++rings[ring].count;
    }
}

} // namespace

bool readRadialSpectrum(const QString& spectrumFile, RadialSpectrum& spectrum, QString& error)
{
    QFile file(spectrumFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot open %1 (%2)").arg(spectrumFile, file.errorString());
        return false;
    }
    SpectrumHeader header;
    if (!readHeader(file, header, error) || !file.seek(header.recordsOffset))
        return false;
    spectrum = RadialSpectrum();
    spectrum.ringWidth = std::max(1 / (header.lx * header.dx), 1 / (header.ly * header.dy));
    const double nyquist = std::min(0.5 / header.dx, 0.5 / header.dy);
    spectrum.lowestReliable = 1 / std::min(header.xMax - header.xMin + header.dx, header.yMax - header.yMin + header.dy);
    std::vector<RingSums> rings(static_cast<size_t>(std::floor(nyquist / spectrum.ringWidth + 1e-9)) + 1);
    std::vector<double> record(2 * size_t(header.lx));
    const qint64 recordBytes = 16LL * header.lx;
    for (int ky = 0; ky <= header.ly / 2; ++ky) {
        if (file.read(reinterpret_cast<char*>(record.data()), recordBytes) != recordBytes) {
            error = QStringLiteral("%1 ends inside spectrum row %2").arg(spectrumFile).arg(ky + 1);
            return false;
        }
        addRecord(record, ky, header, spectrum.ringWidth, rings);
    }
    for (const RingSums& ring : rings)
        if (ring.count > 0 && ring.power > 0)
            spectrum.rings.push_back({ring.wavenumber / ring.count, std::log(ring.power / ring.count), ring.count});
    return true;
}

bool radialPowerSpectrum(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data, RadialSpectrum& spectrum)
{
    TempFolderScope folder;
    if (!checkGridSuitability(grid)) {
        logError(QStringLiteral("Selected grid is not suitable for 2D filtering"));
        return false;
    }
    FilterPoints points;
    if (!prepareEngineInput(grid, data, points) || !runForwardEngine(points))
        return false;
    logInfo(QStringLiteral("Averaging the power spectrum over rings of wavenumber..."));
    QString error;
    if (!readRadialSpectrum(engineFilePath(SpectrumFileName), spectrum, error)) {
        logError(error);
        return false;
    }
    if (spectrum.rings.empty()) {
        logError(QStringLiteral("%1 has no power once its mean is removed: nothing to average").arg(data->Name()));
        return false;
    }
    return true;
}

} // namespace I2DFourierFilters
