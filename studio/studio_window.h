#pragma once
// The studio's main window: the object tree, the map view of view 0 and the log around the host
// library. It is the host's main window (the parent of the module's dialogs), its map is the host's
// current view, and it loads the module on start.

#include "module_loader.h"

#include <filter_catalogue.h>

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QLabel;

namespace Ui {
class StudioWindow;
}

namespace Tavorin {
class IBaseData;
class IBaseDataFloat;
struct IProgressState;
} // namespace Tavorin

namespace spectrafil {

class LogDock;
class MapView;
class OpenGrids;
class WorldTree;

struct StudioOptions {
    QStringList grids;  // opened on start
    QString modulePath; // empty: the usual places (moduleCandidates)
    bool quiet = false; // messages go to the log only, no modal boxes (tests, screenshots)
};

class StudioWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit StudioWindow(const StudioOptions& options, QWidget* parent = nullptr);
    ~StudioWindow() override;

    // Loads the module with the preview features the settings ask for, then opens the grids of the
    // options and paints the first; call once the window is shown, so that messages have a parent.
    void start();

    // Opens grid files, painting the first that opens; each failure is told. Returns the number opened.
    int openGrids(const QStringList& paths);
    // Writes a data item (whole or not at all); a failure is told.
    bool saveItem(const Tavorin::IBaseData& data, const QString& path);
    // Saves a picture of the window as PNG.
    bool saveScreenshot(const QString& path, QString& error);

    const ModuleLoad& module() const { return module_; }
    WorldTree* tree() const { return tree_; }
    MapView* mapView() const { return map_; }
    LogDock* logDock() const { return log_; }
    QString cursorReadout() const;

    // The studio's own setting, read at start: whether modules may offer preview features.
    static bool previewFeaturesSetting();
    static void setPreviewFeaturesSetting(bool enabled);

private slots:
    void chooseAndOpen();
    void chooseAndSave();
    void exportMap();
    void openRtpDialog();
    void openSpectrumWindow();
    void openChainDialog();
    bool shownItemOfGrid(Tavorin::I2DGridMesh*& grid, Tavorin::IBaseData*& data, const QString& what);
    QList<QAction*> catalogueActions();
    void openCatalogueDialog(const I2DFourierFilters::FilterSpec& filter);
    void about();

private:
    void buildDocks();
    void connectActions();
    Tavorin::IBaseData* chosenItem() const;
    // An error the user must see: in the log, and in a message box unless quiet.
    void tell(const QString& text);
    void checkWhenFilled(Tavorin::IBaseData* data);
    void showProgress(const Tavorin::IProgressState& state);

    std::unique_ptr<Ui::StudioWindow> ui_;
    StudioOptions options_;
    OpenGrids* grids_;
    MapView* map_;
    WorldTree* tree_ = nullptr;
    LogDock* log_ = nullptr;
    QLabel* cursorLabel_;
    QLabel* moduleLabel_;
    ModuleLoad module_;
};

} // namespace spectrafil
