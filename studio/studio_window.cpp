#include "studio_window.h"

#include "log_dock.h"
#include "map_render.h"
#include "map_view.h"
#include "open_grids.h"
#include "result_check.h"
#include "catalogue_dialog.h"
#include "chain_dialog.h"
#include "rtp_dialog.h"
#include "spectrum_window.h"
#include "staged_output.h"
#include "ui_studio_window.h"
#include "world_tree.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IGLWindow.h>
#include <ILogger.h>
#include <IMain.h>
#include <IProgressBarWidget.h>
#include <ISelectionModel.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace spectrafil {
namespace {

const char kGridFilter[] = "Grids (*.tif *.tiff *.asc *.grd *.nc *.ers *.xyz *.img *.dem);;All files (*)";
const char kSaveFilter[] = "GeoTIFF (*.tif *.tiff);;ESRI ASCII grid (*.asc);;netCDF (*.nc);;All files (*)";

QSettings studioSettings()
{
    return QSettings(QStringLiteral("Spectrafil"), QStringLiteral("spectrafil-studio"));
}

void inform(const QString& text)
{
    Tavorin::ILogger::write2Log(text, Tavorin::ILogger::Information);
}

} // namespace

StudioWindow::StudioWindow(const StudioOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , ui_(std::make_unique<Ui::StudioWindow>())
    , options_(options)
    , grids_(new OpenGrids(Tavorin::world(), this))
    , map_(new MapView(this))
    , cursorLabel_(new QLabel(this))
    , moduleLabel_(new QLabel(tr("Module: not loaded"), this))
{
    ui_->setupUi(this);
    delete takeCentralWidget();
    setCentralWidget(map_);
    buildDocks();
    cursorLabel_->setObjectName(QStringLiteral("cursorReadout"));
    statusBar()->addWidget(cursorLabel_, 1);
    statusBar()->addPermanentWidget(moduleLabel_);
    ui_->actionPreviewFeatures->setChecked(previewFeaturesSetting());
    connectActions();

    Tavorin::IMain::setInstance(this);
    Tavorin::IMain::setCurrentGLWindow(map_->glWindow());
    Tavorin::IProgressBarWidget::setTextSink([this](const Tavorin::IProgressState& state) { showProgress(state); });
}

StudioWindow::~StudioWindow()
{
    Tavorin::IProgressBarWidget::setTextSink({});
    Tavorin::IMain::setCurrentGLWindow(nullptr);
}

void StudioWindow::start()
{
    Tavorin::universe()->setFutureFeaturesEnabled(previewFeaturesSetting());
    module_ = loadModule(options_.modulePath);
    if (!module_.loaded) {
        tell(module_.message);
    } else {
        Tavorin::ILogger::write2Log(module_.message, module_.moduleName.isEmpty() ? Tavorin::ILogger::Warning
                                                                                  : Tavorin::ILogger::Information);
        moduleLabel_->setText(module_.moduleName.isEmpty() ? tr("Module: loaded, no preview features")
                                                           : tr("Module: %1").arg(module_.moduleName));
    }
    // The reduction at any latitude is one of the module's filters to the user: offered with them.
    if (!module_.moduleName.isEmpty())
        tree_->setGridActions(QList<QAction*>{ui_->actionReduceToPole} + catalogueActions() +
                              QList<QAction*>{ui_->actionFilterChain, ui_->actionPowerSpectrum});
    openGrids(options_.grids);
}

int StudioWindow::openGrids(const QStringList& paths)
{
    Tavorin::IBaseDataFloat* first = nullptr;
    int opened = 0;
    for (const QString& path : paths) {
        QString error;
        Tavorin::IBaseDataFloat* data = grids_->open(path, error);
        if (!data) {
            tell(error);
            continue;
        }
        const auto* grid = static_cast<const Tavorin::I2DGridMesh*>(data->mesh());
        const Tavorin::I2DGridGeometry& geometry = grid->get2DGridGeometry();
        inform(tr("Opened %1 as grid \"%2\": %3 x %4 cells of %5 x %6, %7 with values.")
                   .arg(path, QString(grid->Name()))
                   .arg(geometry.nCellU())
                   .arg(geometry.nCellV())
                   .arg(geometry.uSize())
                   .arg(geometry.vSize())
                   .arg(data->valueCount()));
        if (!first)
            first = data;
        ++opened;
    }
    if (first)
        Tavorin::world()->paintDataCurrentView(first);
    return opened;
}

bool StudioWindow::saveItem(const Tavorin::IBaseData& data, const QString& path)
{
    QString error;
    if (!grids_->save(data, path, error)) {
        tell(error);
        return false;
    }
    inform(tr("Saved \"%1\" to %2.").arg(QString(data.Name()), path));
    return true;
}

bool StudioWindow::saveScreenshot(const QString& path, QString& error)
{
    StagedOutput output(path);
    return output.ready(error) && saveImage(grab().toImage(), output.stagedPath(), error) && output.commit(error);
}

QString StudioWindow::cursorReadout() const
{
    return cursorLabel_->text();
}

bool StudioWindow::previewFeaturesSetting()
{
    return studioSettings().value(QStringLiteral("previewFeatures"), true).toBool();
}

void StudioWindow::setPreviewFeaturesSetting(bool enabled)
{
    studioSettings().setValue(QStringLiteral("previewFeatures"), enabled);
}

void StudioWindow::chooseAndOpen()
{
    const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Open grids"), QString(), tr(kGridFilter));
    openGrids(paths);
}

void StudioWindow::chooseAndSave()
{
    const Tavorin::IBaseData* data = chosenItem();
    if (!data) {
        tell(tr("Choose a data item in the tree first; Save item as writes one data item."));
        return;
    }
    const GridFileInfo* source = grids_->fileOf(data->mesh());
    const QString folder = source ? QFileInfo(source->path).absolutePath() : QString();
    QString path = QFileDialog::getSaveFileName(this, tr("Save \"%1\" as").arg(QString(data->Name())),
                                                folder + QLatin1Char('/') + data->Name() + QStringLiteral(".tif"),
                                                tr(kSaveFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tif");
    saveItem(*data, path);
}

// The map of the chosen item as the command-line tool draws its previews.
void StudioWindow::exportMap()
{
    const Tavorin::IBaseData* data = chosenItem();
    const auto* grid = data ? qobject_cast<const Tavorin::I2DGridMesh*>(data->mesh()) : nullptr;
    if (!grid) {
        tell(tr("Choose a data item of a grid in the tree first; Export map image draws one data item."));
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Export map image"), data->Name() + QStringLiteral(".png"),
                                                      tr("PNG images (*.png)"));
    if (path.isEmpty())
        return;
    const MapPanel panel{&grid->get2DGridGeometry(), data, tr("%1 on %2").arg(QString(data->Name()), QString(grid->Name())),
                         grids_->unitsOf(data)};
    StagedOutput output(path);
    QString error;
    if (!output.ready(error) || !saveImage(renderPanel(panel, QSize(900, 820)), output.stagedPath(), error) ||
        !output.commit(error)) {
        tell(error);
        return;
    }
    inform(tr("Exported the map of \"%1\" to %2.").arg(QString(data->Name()), path));
}

void StudioWindow::openRtpDialog()
{
    auto* grid = qobject_cast<Tavorin::I2DGridMesh*>(Tavorin::world()->getSelectionModel()->getMesh());
    if (!grid) {
        tell(tr("Choose a grid in the tree first; the reduction to the pole works on a grid's item."));
        return;
    }
    auto* dialog = new RtpDialog(grid, grids_->fileOf(grid), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// One entry per catalogue filter beyond the module's dialog, each with a form built from its row.
QList<QAction*> StudioWindow::catalogueActions()
{
    QList<QAction*> actions;
    for (const I2DFourierFilters::FilterSpec& filter : I2DFourierFilters::filterCatalogue()) {
        if (filter.dialog.filterType >= 0 || filter.magnetic)
            continue; // the module's dialog, or the reduction to the pole's own
        auto* action = new QAction(QString::fromUtf8(filter.title), this);
        action->setToolTip(QString::fromUtf8(filter.summary));
        connect(action, &QAction::triggered, this, [this, &filter] { openCatalogueDialog(filter); });
        actions << action;
    }
    return actions;
}

void StudioWindow::openCatalogueDialog(const I2DFourierFilters::FilterSpec& filter)
{
    auto* grid = qobject_cast<Tavorin::I2DGridMesh*>(Tavorin::world()->getSelectionModel()->getMesh());
    if (!grid) {
        tell(tr("Choose a grid in the tree first; %1 works on a grid's item.").arg(QString::fromUtf8(filter.title)));
        return;
    }
    auto* dialog = new CatalogueDialog(filter, grid, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// The selected grid and the item of it the map shows; false, with the user told what to choose,
// when there is none. what: what the entry does with the item.
bool StudioWindow::shownItemOfGrid(Tavorin::I2DGridMesh*& grid, Tavorin::IBaseData*& data, const QString& what)
{
    grid = qobject_cast<Tavorin::I2DGridMesh*>(Tavorin::world()->getSelectionModel()->getMesh());
    data = map_->shownData();
    if (grid && data && data->mesh() == grid)
        return true;
    tell(tr("Choose a grid in the tree and show one of its items on the map first; %1.").arg(what));
    return false;
}

void StudioWindow::openChainDialog()
{
    Tavorin::I2DGridMesh* grid = nullptr;
    Tavorin::IBaseData* data = nullptr;
    if (!shownItemOfGrid(grid, data, tr("the chain filters that item")))
        return;
    auto* dialog = new ChainDialog(grid, data, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void StudioWindow::openSpectrumWindow()
{
    Tavorin::I2DGridMesh* grid = nullptr;
    Tavorin::IBaseData* data = nullptr;
    if (!shownItemOfGrid(grid, data, tr("the spectrum is that item's")))
        return;
    const GridFileInfo* file = grids_->fileOf(grid);
    auto* window = new SpectrumWindow(grid, data, lengthUnit(file ? file->crsWkt : QString()), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void StudioWindow::about()
{
    QMessageBox::about(this, tr("About Spectrafil Studio"),
                       tr("<p><b>Spectrafil Studio</b> %1</p><p>A desktop host for the Spectrafil module: Fourier-domain "
                          "filters for potential-field grids.</p><p>%2</p>")
                           .arg(QStringLiteral(SPECTRAFIL_VERSION), module_.message.toHtmlEscaped()));
}

void StudioWindow::buildDocks()
{
    auto* objects = new QDockWidget(tr("Objects"), this);
    objects->setObjectName(QStringLiteral("objectsDock"));
    tree_ = new WorldTree(Tavorin::world(), objects);
    tree_->setDataItemActions({ui_->actionSaveItemAs, ui_->actionExportMap});
    objects->setWidget(tree_);
    addDockWidget(Qt::LeftDockWidgetArea, objects);

    log_ = new LogDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, log_);
    resizeDocks({objects}, {300}, Qt::Horizontal);
    resizeDocks({log_}, {170}, Qt::Vertical);
    ui_->menuView->addAction(objects->toggleViewAction());
    ui_->menuView->addAction(log_->toggleViewAction());
}

void StudioWindow::connectActions()
{
    connect(ui_->actionOpen, &QAction::triggered, this, &StudioWindow::chooseAndOpen);
    connect(ui_->actionSaveItemAs, &QAction::triggered, this, &StudioWindow::chooseAndSave);
    connect(ui_->actionExportMap, &QAction::triggered, this, &StudioWindow::exportMap);
    connect(ui_->actionReduceToPole, &QAction::triggered, this, &StudioWindow::openRtpDialog);
    connect(ui_->actionPowerSpectrum, &QAction::triggered, this, &StudioWindow::openSpectrumWindow);
    connect(ui_->actionFilterChain, &QAction::triggered, this, &StudioWindow::openChainDialog);
    connect(ui_->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionFitMap, &QAction::triggered, map_, &MapView::fitToGrid);
    connect(ui_->actionAbout, &QAction::triggered, this, &StudioWindow::about);
    connect(ui_->actionPreviewFeatures, &QAction::toggled, this, [](bool enabled) {
        setPreviewFeaturesSetting(enabled);
        inform(enabled ? tr("Preview features will be on from the next start.")
                       : tr("Preview features will be off from the next start."));
    });
    connect(map_, &MapView::cursorReport, cursorLabel_, &QLabel::setText);
    connect(Tavorin::world(), &Tavorin::IWorld::propertyCreated, this, &StudioWindow::checkWhenFilled);
    connect(Tavorin::world(), &Tavorin::IWorld::dataPainted, this, [this](Tavorin::IBaseData* data, int viewId) {
        if (viewId == map_->glWindow()->viewID())
            map_->showData(data, grids_->unitsOf(data));
    });
}

// A filter makes its result empty and fills it before control comes back to the event loop: the
// result is checked then, and one that is empty or not finite is reported as a warning.
void StudioWindow::checkWhenFilled(Tavorin::IBaseData* data)
{
    if (!data || !namesFilterResult(data->Name()))
        return;
    QTimer::singleShot(0, this, [result = QPointer<Tavorin::IBaseData>(data)] {
        if (!result)
            return;
        const QString problem = resultProblem(*result);
        if (!problem.isEmpty())
            Tavorin::ILogger::write2Log(QStringLiteral("%1 (%2)").arg(problem, result->Name()), Tavorin::ILogger::Warning);
    });
}

// The data item of the tree's current row, or the one the map shows when a grid row is current.
Tavorin::IBaseData* StudioWindow::chosenItem() const
{
    if (auto* data = qobject_cast<Tavorin::IBaseData*>(tree_->currentEntity()))
        return data;
    return map_->shownData();
}

void StudioWindow::tell(const QString& text)
{
    Tavorin::ILogger::write2Log(text, Tavorin::ILogger::Error);
    if (!options_.quiet)
        QMessageBox::warning(this, tr("Spectrafil Studio"), text);
}

void StudioWindow::showProgress(const Tavorin::IProgressState& state)
{
    if (state.visible)
        statusBar()->showMessage(Tavorin::IProgressBarWidget::describe(state));
    else
        statusBar()->clearMessage();
}

} // namespace spectrafil
