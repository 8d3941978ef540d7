// What Apply and OK run: the chosen filter on each ticked property of the chosen grid.

#include "FilterDialog.h"

#include "I2DGridMesh.h"
#include "IBaseListData.h"
#include "QxtCheckComboBox.h"
#include "fourier_filters.h"

namespace Tavorin {

namespace {

// The widget values, read afresh for every property and narrowed to what the operations take.
struct FilterParameters {
    float wavelength;
    float inclination;
    float declination;
    float height;
    float fieldStrength;
    float distance;
    float strike;
    float tolerance;
    bool attenuate;
    I2DFourierFilters::HDMethod method;
};

// The operations report through the host log, so their results are not looked at.
void runOperation(IFilterDialog::IGeoPhysFilterType type, I2DGridMesh* grid, IBaseData* data,
                  const FilterParameters& p)
{
    using namespace I2DFourierFilters;
    const QString name; // null: the operation names the result after the property
    switch (type) {
    case IFilterDialog::LowPass:
        lowPass(grid, data, p.wavelength, name);
        break;
    case IFilterDialog::HighPass:
        highPass(grid, data, p.wavelength, name);
        break;
    case IFilterDialog::RTP:
        rtp(grid, data, p.inclination, p.declination, name);
        break;
    case IFilterDialog::ApparentSusceptibility:
        apparentSusceptibility(grid, data, p.height, p.fieldStrength, p.inclination, p.declination,
                               p.attenuate, name);
        break;
    case IFilterDialog::ApparentDensity:
        apparentDensity(grid, data, p.attenuate, name);
        break;
    case IFilterDialog::PseudoGravity:
        pseudoGravity(grid, data, p.fieldStrength, p.inclination, p.declination, name);
        break;
    case IFilterDialog::VerticalDerivative:
        firstVerticalDerivative(grid, data, p.attenuate, name);
        break;
    case IFilterDialog::HorizontalDerivative:
        firstHorizontalDerivative(grid, data, p.method, p.attenuate, name);
        break;
    case IFilterDialog::Continuation:
        continuation(grid, data, p.distance, p.attenuate, name);
        break;
    case IFilterDialog::Strike:
        strike(grid, data, p.strike, p.tolerance, p.wavelength, name);
        break;
    case IFilterDialog::AnalyticSignal:
        analyticSignal(grid, data, p.attenuate, name);
        break;
    }
}

FilterParameters readParameters(const Ui::FourierFilterDialog& form)
{
    FilterParameters p;
    p.wavelength = static_cast<float>(form._wavelength_spinbox->value());
    p.inclination = static_cast<float>(form._inclination_spinbox->value());
    p.declination = static_cast<float>(form._declination_spinbox->value());
    p.height = static_cast<float>(form._obs_height_spinbox->value());
    p.fieldStrength = static_cast<float>(form._field_strength_spinbox->value());
    p.distance = static_cast<float>(form._continuation_dist_spinbox->value());
    p.strike = static_cast<float>(form._strike_spinbox->value());
    p.tolerance = static_cast<float>(form._strike_tol_spinbox->value());
    p.attenuate = form._attenuate_checkbox->isChecked();
    if (form._thd_rb->isChecked())
        p.method = I2DFourierFilters::TotalHorizontal;
    else if (form._ew_rb->isChecked())
        p.method = I2DFourierFilters::EastWest;
    else
        p.method = I2DFourierFilters::NorthSouth;
    return p;
}

} // namespace

void IFilterDialog::filter()
{
    I2DGridMesh* grid = chosenGrid();
    if (!grid)
        return;
    const QStringList ticked = _properties_selector->checkedItems();
    for (const QString& name : ticked) {
        IBaseData* data = grid->DataList()->Data(name);
        if (!data)
            continue;
        runOperation(_filter_type, grid, data, readParameters(*this));
    }
}

} // namespace Tavorin
