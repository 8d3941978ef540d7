#include "studio_fixture.h"

#include <I2DGridMesh.h>
#include <ILogger.h>
#include <IMeshList.h>
#include <IUniverse.h>
#include <IWorld.h>
#include <world_tree.h>

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTest>

#include <stdexcept>

Raster bumpRaster(int columns, int rows, double west, double north)
{
    Raster raster = bumpGrid(columns, rows);
    raster.geoTransform = {{west, 100.0, 0.0, north, 0.0, -100.0}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            raster.values[size_t(row) * size_t(columns) + size_t(column)] = raster.noData;
    return raster;
}

std::unique_ptr<spectrafil::StudioWindow> startStudio(const QStringList& grids, const QString& modulePath)
{
    // A fresh world for each window, as for each run of the executable.
    Tavorin::universe()->resetWorld();
    Tavorin::ILogger::instance()->clear();
    auto window = std::make_unique<spectrafil::StudioWindow>(spectrafil::StudioOptions{grids, modulePath, true});
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        throw std::runtime_error("the studio window was not exposed");
    window->start();
    return window;
}

Tavorin::I2DGridMesh* gridNamed(const QString& name)
{
    return qobject_cast<Tavorin::I2DGridMesh*>(Tavorin::world()->MeshList()->Mesh(name));
}

QStringList menuTexts(spectrafil::StudioWindow& window, Tavorin::ITreeEntity* entity)
{
    std::unique_ptr<QMenu> menu(window.tree()->contextMenuFor(entity, &window));
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}

void triggerGridEntry(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text)
{
    window.tree()->setCurrentEntity(grid);
    std::unique_ptr<QMenu> menu(window.tree()->contextMenuFor(grid, &window));
    for (QAction* action : menu->actions())
        if (action->text() == text)
            action->trigger();
}

QDialog* openFilterDialog(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text)
{
    triggerGridEntry(window, grid, text);
    const QList<QDialog*> dialogs = window.findChildren<QDialog*>();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
        if ((*it)->inherits("Tavorin::IFilterDialog"))
            return *it;
    return nullptr;
}

QString hostLog()
{
    QStringList lines;
    for (const Tavorin::ILogEntry& entry : Tavorin::ILogger::instance()->entries())
        lines << Tavorin::ILogger::levelName(entry.level) + QStringLiteral(": ") + entry.text;
    return lines.join(QLatin1Char('\n'));
}

ToolRun runStudio(const QStringList& arguments, const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return runProgram(QStringLiteral(SPECTRAFIL_STUDIO), arguments, environment);
}
