#pragma once
// The studio's reduction to the pole at any latitude: one float item of a grid, reduced with a
// field and a magnetisation direction of their own and a stabilised division; the field direction
// can come from IGRF-14 at the grid's centre. The result goes under the grid and is painted, as
// the module's filters do.

#include "grid_files.h"

#include <fourier_filters.h>

#include <QDialog>
#include <QPointer>

#include <memory>

namespace Ui {
class RtpDialog;
}

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace spectrafil {

// What the dialog holds.
struct RtpSettings {
    QString dataName;  // the item to reduce, one of the grid's float cell items
    bool induced = true; // the magnetisation along the field: its own direction is ignored
    I2DFourierFilters::MagneticDirections directions;
    I2DFourierFilters::Stabilisation stabilisation;
    double igrfYear = 2025.0;  // decimal year, for Compute
    double igrfAltitude = 0.0; // metres above the ellipsoid, for Compute
};

class RtpDialog : public QDialog {
    Q_OBJECT
public:
    // file: the grid file the grid was read from (its CRS places the grid for IGRF), or null.
    RtpDialog(Tavorin::I2DGridMesh* grid, const GridFileInfo* file, QWidget* parent = nullptr);
    ~RtpDialog() override;

    RtpSettings settings() const;
    // Shows the settings; refuses, with a message naming the value and its range, settings the
    // dialog cannot hold, and then changes nothing.
    bool setSettings(const RtpSettings& settings, QString& error);
    // Empty when the settings can be run; otherwise the first value that cannot, and why.
    QString problemWith(const RtpSettings& settings) const;

    // Compute: the field direction from IGRF-14 at the grid's centre at the chosen year and
    // altitude. False when it cannot be had, with the reason shown in the dialog.
    bool computeFieldFromIgrf();

public slots:
    // Runs the reduction; closes the dialog when it made a result, otherwise says why.
    void accept() override;

private:
    void listItems(Tavorin::IBaseData* preferred);
    void setRanges();
    void followChoices();
    Tavorin::IBaseData* chosenItem() const;
    void showIgrfReport(const QString& text);
    void showProblem(const QString& text);
    void warnWhenStabilised(const RtpSettings& settings) const;

    std::unique_ptr<Ui::RtpDialog> ui_;
    QPointer<Tavorin::I2DGridMesh> grid_;
    GridFileInfo file_; // a copy: the open files may change while the dialog is up
};

} // namespace spectrafil
