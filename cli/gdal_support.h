#pragma once
// Small helpers around GDAL's C interface shared by the grid reader and writer.

#include <QString>

#include <gdal.h>

#include <memory>

namespace spectrafil {

// Registers the drivers once, and keeps GDAL from printing its own errors while we turn them
// into messages of ours.
class QuietGdal {
public:
    QuietGdal()
    {
        static const bool registered = (GDALAllRegister(), true);
        (void)registered;
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietGdal() { CPLPopErrorHandler(); }
    QuietGdal(const QuietGdal&) = delete;
    QuietGdal& operator=(const QuietGdal&) = delete;

    static bool failed() { return CPLGetLastErrorType() >= CE_Failure; }
    static QString lastError(const QString& fallback)
    {
        const QString text = QString::fromUtf8(CPLGetLastErrorMsg()).trimmed();
        return text.isEmpty() ? fallback : text;
    }
};

struct DatasetCloser {
    void operator()(void* dataset) const
    {
        if (dataset)
            GDALClose(dataset);
    }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

} // namespace spectrafil
