#pragma once
// What the studio tests share: grid files made with GDAL's own interface (independent of the
// studio's reader and writer), a window started as the executable starts it, the filter dialog it
// opens, and the executable run as a subprocess.

#include "raster_fixture.h"
#include "scratch_dir.h"

#include <studio_window.h>

#include <QStringList>

#include <memory>

class QDialog;
class QWidget;

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
class ITreeEntity;
} // namespace Tavorin

// A smooth bump on a slope (cells of 100 m from the north-west corner given), its north-west
// corner empty.
Raster bumpRaster(int columns, int rows, double west, double north);

// The studio as its executable starts it, with messages to the log only.
std::unique_ptr<spectrafil::StudioWindow> startStudio(const QStringList& grids, const QString& modulePath = QString());
Tavorin::I2DGridMesh* gridNamed(const QString& name);
// The texts of the entity's context menu, separators left out.
QStringList menuTexts(spectrafil::StudioWindow& window, Tavorin::ITreeEntity* entity);
// Chooses the grid in the tree and triggers the entry of its context menu with this text.
void triggerGridEntry(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text);
// Triggers the grid's context action with this text; the filter dialog it opened, or null.
QDialog* openFilterDialog(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text);
// Every entry of the host log so far, one per line, with its level.
QString hostLog();

// Runs spectrafil-studio on the offscreen platform with its settings in configHome.
ToolRun runStudio(const QStringList& arguments, const QString& configHome);
