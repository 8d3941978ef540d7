#pragma once
// The radially averaged power spectrum of a grid's item with the depths to its source ensembles,
// as the tool plots it, in a window of its own.

#include <QDialog>

namespace Tavorin {
class IBaseData;
class I2DGridMesh;
} // namespace Tavorin

namespace spectrafil {

class SpectrumWindow : public QDialog {
    Q_OBJECT
public:
    // lengthUnit: of the grid's CRS ("m"), or "grid unit" without one.
    SpectrumWindow(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, const QString& lengthUnit, QWidget* parent);

    // False with the reason in the host log when the spectrum or its depths cannot be computed.
    bool computed() const { return computed_; }
    QString depthText() const { return depthText_; }

private:
    bool computed_ = false;
    QString depthText_;
};

} // namespace spectrafil
