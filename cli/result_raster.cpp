#include "result_raster.h"

#include "cell_values.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <string>
#include <vector>

namespace spectrafil {
namespace {

class ResultBand : public GDALRasterBand {
public:
    ResultBand(GDALDataset* dataset, const RasterLayout& layout, GDALDataType type, const Tavorin::IBaseData& data,
               double noData)
        : layout_(layout)
        , cells_(data)
        , fill_(noData)
        , row_(size_t(layout.columns))
    {
        poDS = dataset;
        nBand = 1;
        nRasterXSize = layout.columns;
        nRasterYSize = layout.rows;
        eDataType = type;
        nBlockXSize = layout.columns;
        nBlockYSize = 1;
    }

    double GetNoDataValue(int* success) override
    {
        if (success)
            *success = hasNoData_;
        return hasNoData_ ? noData_ : 0.0;
    }
    CPLErr SetNoDataValue(double noData) override
    {
        noData_ = noData;
        hasNoData_ = true;
        return CE_None;
    }
    const char* GetUnitType() override { return units_.c_str(); }
    CPLErr SetUnitType(const char* units) override
    {
        units_ = units ? units : "";
        return CE_None;
    }

protected:
    CPLErr IReadBlock(int, int row, void* pixels) override
    {
        storeRow(row, pixels, eDataType, GDALGetDataTypeSizeBytes(eDataType));
        return CE_None;
    }

    // Whole-row reads go straight to the caller's buffer: through the block cache, the rows
    // would add up to a copy of the grid.
    CPLErr IRasterIO(GDALRWFlag direction, int x, int y, int width, int height, void* buffer, int bufferWidth,
                     int bufferHeight, GDALDataType bufferType, GSpacing pixelSpace, GSpacing lineSpace,
                     GDALRasterIOExtraArg* extra) override
    {
        if (direction != GF_Read || width != bufferWidth || height != bufferHeight)
            return GDALRasterBand::IRasterIO(direction, x, y, width, height, buffer, bufferWidth, bufferHeight,
                                             bufferType, pixelSpace, lineSpace, extra);
        const int size = GDALGetDataTypeSizeBytes(eDataType);
        std::vector<GByte>& stored = storedRow_;
        stored.resize(size_t(layout_.columns) * size_t(size));
        for (int line = 0; line < height; ++line) {
            storeRow(y + line, stored.data(), eDataType, size);
            GDALCopyWords(stored.data() + size_t(x) * size_t(size), eDataType, size,
                          static_cast<GByte*>(buffer) + line * lineSpace, bufferType, static_cast<int>(pixelSpace),
                          width);
        }
        return CE_None;
    }

private:
    // The file row's cells, as the band's type holds them: made as doubles, then converted as
    // GDAL converts any double it stores.
    void storeRow(int row, void* pixels, GDALDataType type, int size)
    {
        const long long step = layout_.cellStep();
        for (int column = 0; column < layout_.columns; ++column) {
            const unsigned int id = static_cast<unsigned int>(layout_.hostCell(0, row) + column * step);
            row_[size_t(column)] = cells_.hasValue(id) ? cells_.value(id) : fill_;
        }
        GDALCopyWords(row_.data(), GDT_Float64, sizeof(double), pixels, type, size, layout_.columns);
    }

    const RasterLayout& layout_;
    const CellValues cells_;
    const double fill_;
    std::vector<double> row_;
    std::vector<GByte> storedRow_;
    bool hasNoData_ = false;
    double noData_ = 0.0;
    std::string units_;
};

class ResultDataset : public GDALDataset {
public:
    ResultDataset(const RasterLayout& layout, GDALDataType type, const Tavorin::IBaseData& data, double noData)
    {
        nRasterXSize = layout.columns;
        nRasterYSize = layout.rows;
        SetBand(1, new ResultBand(this, layout, type, data, noData));
    }

    CPLErr GetGeoTransform(double* transform) override
    {
        std::copy(transform_, transform_ + 6, transform);
        return georeferenced_ ? CE_None : CE_Failure;
    }
    CPLErr SetGeoTransform(double* transform) override
    {
        std::copy(transform, transform + 6, transform_);
        georeferenced_ = true;
        return CE_None;
    }
    const OGRSpatialReference* GetSpatialRef() const override { return crs_.IsEmpty() ? nullptr : &crs_; }
    CPLErr SetSpatialRef(const OGRSpatialReference* crs) override
    {
        crs_.Clear();
        if (crs)
            crs_ = *crs;
        return CE_None;
    }

private:
    bool georeferenced_ = false;
    double transform_[6] = {0, 1, 0, 0, 0, 1};
    OGRSpatialReference crs_;
};

} // namespace

Dataset resultRaster(const RasterLayout& layout, GDALDataType type, const Tavorin::IBaseData& data, double noData)
{
    return Dataset(new ResultDataset(layout, type, data, noData));
}

} // namespace spectrafil
