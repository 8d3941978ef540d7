#pragma once
// The one dialog through which a user runs any of the Fourier filters: choose a 2D grid, tick some of
// its properties, set the filter's parameters, then Apply or OK runs the filter on each ticked property.

#include "UiExport.h"
#include "ui_FourierFilterDialog.h"

#include <QDialog>
#include <QStringList>

namespace Tavorin {

class I2DGridMesh;
class QxtCheckComboBox;

class SPECTRAFIL_UI_EXPORT IFilterDialog : public QDialog, public Ui::FourierFilterDialog {
    Q_OBJECT
public:
    enum IGeoPhysFilterType {
        LowPass = 0,
        HighPass = 1,
        RTP = 2,
        ApparentSusceptibility = 3,
        ApparentDensity = 4,
        PseudoGravity = 5,
        VerticalDerivative = 6,
        HorizontalDerivative = 7,
        Continuation = 8,
        Strike = 9,
        AnalyticSignal = 10
    };

    IFilterDialog(IGeoPhysFilterType type, QWidget* parent);
    ~IFilterDialog() override;

    // For host code that drives the dialog. The grid must not be null.
    void setGrid(I2DGridMesh* grid);
    void setProperties(const QStringList& names);

public slots:
    void accept() override;
    void filter();

protected slots:
    void pickGrid();
    void setGridFromMode();
    void updatePropertiesSelector();

private:
    void attachGridList();
    void showGroupsOfType();
    I2DGridMesh* chosenGrid() const;

    QxtCheckComboBox* _properties_selector;
    IGeoPhysFilterType _filter_type;
};

} // namespace Tavorin
