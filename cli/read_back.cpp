#include "cell_values.h"
#include "grid_files.h"

#include <I2DGridGeometry.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace spectrafil {
namespace {

// The cell of lowest id that reads back other than the result holds.
struct ReadBackMismatch {
    unsigned int id = std::numeric_limits<unsigned int>::max();
    float got = 0.0f; // NaN: the cell has no value
    bool found() const { return id != std::numeric_limits<unsigned int>::max(); }
};

// Compares the rows read into pixels with the result, keeping the mismatch of lowest id: the file's
// rows need not come in the order of the ids.
void compareRows(const RasterLayout& layout, int first, int count, const float* pixels, const CellValues& want,
                 double tolerance, ReadBackMismatch& mismatch)
{
    const long long step = layout.cellStep();
    for (int row = first; row < first + count; ++row)
        for (int column = 0; column < layout.columns; ++column) {
            const unsigned int id = static_cast<unsigned int>(layout.hostCell(0, row) + column * step);
            const float got = pixels[size_t(row - first) * size_t(layout.columns) + size_t(column)];
            if (id >= mismatch.id)
                continue;
            const bool differs = std::isnan(got) == want.hasValue(id) ||
                                 (want.hasValue(id) && std::fabs(got - want.value(id)) > tolerance);
            if (differs)
                mismatch = {id, got};
        }
}

} // namespace

QString readBackDifference(const QString& path, const Tavorin::I2DGridGeometry& geometry, const Tavorin::IBaseData& result)
{
    GridRows file;
    QString error;
    if (!file.open({path, 1, QString()}, error))
        return error;
    const RasterLayout& layout = file.info().layout;
    if (layout.nCellU != geometry.nCellU() || layout.nCellV != geometry.nCellV())
        return QStringLiteral("it has %1 x %2 cells instead of %3 x %4")
            .arg(layout.nCellU).arg(layout.nCellV).arg(geometry.nCellU()).arg(geometry.nCellV());
    const CellValues want(result);
    double largest = 0.0;
    for (unsigned int id = 0; id < want.size(); ++id)
        largest = std::max(largest, want.hasValue(id) ? std::fabs(double(want.value(id))) : 0.0);
    std::vector<float> pixels;
    try {
        pixels.resize(size_t(file.rowsPerRead()) * size_t(layout.columns));
    } catch (const std::bad_alloc&) {
        return QStringLiteral("%1: not enough memory for %2 x %3 cells").arg(path).arg(layout.columns).arg(layout.rows);
    }
    ReadBackMismatch mismatch;
    for (int first = 0; first < layout.rows; first += file.rowsPerRead()) {
        const int count = std::min(file.rowsPerRead(), layout.rows - first);
        if (!file.read(first, count, pixels.data(), error))
            return error;
        compareRows(layout, first, count, pixels.data(), want, 1e-5 * largest, mismatch);
    }
    if (!mismatch.found())
        return QString();
    const unsigned int id = mismatch.id;
    if (std::isnan(mismatch.got) == want.hasValue(id))
        return QStringLiteral("cell %1 %2 a value").arg(id).arg(want.hasValue(id) ? "lost" : "gained");
    return QStringLiteral("cell %1 reads back as %2 instead of %3").arg(id).arg(mismatch.got).arg(want.value(id));
}

} // namespace spectrafil
