#pragma once
// What the studio tests share: grid files written and read with GDAL's own interface (independent
// of the studio's reader and writer), a window started as the executable starts it, the filter
// dialog it opens, and the executable run as a subprocess.

#include "scratch_dir.h"

#include <studio_window.h>

#include <QStringList>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
class ITreeEntity;
} // namespace Tavorin

// A north-up raster as stored: row 0 is the northern edge.
struct TestRaster {
    int columns = 0;
    int rows = 0;
    std::array<double, 6> geoTransform{{0, 1, 0, 0, 0, -1}};
    double noData = -99999.0;
    std::vector<double> values; // row by row as stored
};

// A smooth magnetic-looking bump on a regional slope, cells of 100 m, its north-west corner empty.
TestRaster bumpRaster(int columns, int rows, double west, double north);
// GeoTIFF in UTM 35S with units "nT".
void writeGeoTiff(const std::string& path, const TestRaster& raster);
TestRaster readRaster(const std::string& path);

// The menu texts of the eleven filters, in the order the module registers them.
const QStringList& filterTexts();

// The studio as its executable starts it, with messages to the log only.
std::unique_ptr<spectrafil::StudioWindow> startStudio(const QStringList& grids, const QString& modulePath = QString());
Tavorin::I2DGridMesh* gridNamed(const QString& name);
// The texts of the entity's context menu, separators left out.
QStringList menuTexts(spectrafil::StudioWindow& window, Tavorin::ITreeEntity* entity);
// Triggers the grid's context action with this text; the filter dialog it opened, or null.
QDialog* openFilterDialog(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text);
// Every entry of the host log so far, one per line, with its level.
QString hostLog();

struct StudioRun {
    int exitCode = -1;
    QString err;
};
// Runs spectrafil-studio on the offscreen platform with its settings in configHome.
StudioRun runStudio(const QStringList& arguments, const QString& configHome);
