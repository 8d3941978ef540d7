// What Apply and OK run: the chosen filter on each ticked property of the chosen grid.

#include "FilterDialog.h"

#include "I2DGridMesh.h"
#include "IBaseListData.h"
#include "QxtCheckComboBox.h"
#include "filter_catalogue.h"

namespace Tavorin {

namespace {

// The widget values, read afresh for every property, under the catalogue's parameter names. The
// dialog runs the module's own operations: the plain division of the field directions.
QVariantMap readParameters(const Ui::FourierFilterDialog& form, unsigned groups)
{
    using namespace I2DFourierFilters;
    QVariantMap values;
    auto put = [&values](const char* key, double value) { values.insert(QLatin1String(key), static_cast<float>(value)); };
    put("cutoff", form._wavelength_spinbox->value());
    put("inclination", form._inclination_spinbox->value());
    put("declination", form._declination_spinbox->value());
    put("field", form._field_strength_spinbox->value());
    put("strike", form._strike_spinbox->value());
    put("tolerance", form._strike_tol_spinbox->value());
    put("height", (groups & ContinuationGroup) ? form._continuation_dist_spinbox->value() : form._obs_height_spinbox->value());
    values.insert(QStringLiteral("attenuate"), form._attenuate_checkbox->isChecked());
    values.insert(QStringLiteral("stabilise"), QStringLiteral("off"));
    values.insert(QStringLiteral("method"), form._thd_rb->isChecked() ? QStringLiteral("total")
                                            : form._ew_rb->isChecked() ? QStringLiteral("ew")
                                                                       : QStringLiteral("ns"));
    return values;
}

} // namespace

void IFilterDialog::filter()
{
    I2DGridMesh* grid = chosenGrid();
    const I2DFourierFilters::FilterSpec* row = I2DFourierFilters::dialogFilter(_filter_type);
    if (!grid || !row)
        return;
    const QStringList ticked = _properties_selector->checkedItems();
    for (const QString& name : ticked) {
        IBaseData* data = grid->DataList()->Data(name);
        if (!data)
            continue;
        // The operations report through the host log, so their results are not looked at.
        row->run(grid, data, readParameters(*this, row->dialog.groups), QString());
    }
}

} // namespace Tavorin
