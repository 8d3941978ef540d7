// The parameter groups and texts a filter type shows: one type for each way the form differs (the
// tips, the continuation's texts, the strike's label, a type without groups).

#include "FilterDialog.h"
#include "test_world.h"

#include <QSet>
#include <gtest/gtest.h>

using Tavorin::IFilterDialog;

namespace {

const QString magneticTip = "Please select total magnetic intensity (TMI) property (expected unit is nT).";
const QString gravityTip = "Please select terrain corrected gravity property (expected unit is mGals).";
const QString noisyText = "Attenuate high frequencies\n(Select this option for noisy data)";
const QString downwardText =
    "Attenuate high frequencies\n(Select this option for downward continuing noisy data)";

struct TypeCase {
    int type;
    QSet<QString> shown;
    QString tip;
    QString attenuateText;
    QString wavelengthLabel;
};

const QString cutoff = "Wavelength cutoff :";

const TypeCase typeCases[] = {
    {IFilterDialog::LowPass, {"_wavelength_frame"}, {}, noisyText, cutoff},
    {IFilterDialog::ApparentSusceptibility,
     {"_obs_frame", "_inducing_field_frame", "_incl_decl_frame", "_attenuate_checkbox", "_tip_label"},
     magneticTip, noisyText, cutoff},
    {IFilterDialog::ApparentDensity, {"_attenuate_checkbox", "_tip_label"}, gravityTip, noisyText, cutoff},
    {IFilterDialog::HorizontalDerivative, {"_method_frame", "_attenuate_checkbox"}, {}, noisyText, cutoff},
    {IFilterDialog::Continuation, {"_continuation_frame", "_attenuate_checkbox", "_continuation_tip_label"},
     {}, downwardText, cutoff},
    {IFilterDialog::Strike, {"_strike_frame", "_wavelength_frame"}, {}, noisyText, "Low pass wavelength :"},
    {11, {}, {}, noisyText, cutoff}, // not a filter: only the grid, the properties and the buttons
};

const char* const groups[] = {"_obs_frame",         "_inducing_field_frame", "_incl_decl_frame",
                              "_method_frame",      "_continuation_frame",   "_strike_frame",
                              "_wavelength_frame",  "_attenuate_checkbox",   "_tip_label",
                              "_continuation_tip_label"};

} // namespace

TEST(FilterDialogForm, EachTypeShowsItsGroupsAndTexts)
{
    testworld::TestWorld w;
    for (const TypeCase& c : typeCases) {
        SCOPED_TRACE(c.type);
        IFilterDialog dialog(static_cast<IFilterDialog::IGeoPhysFilterType>(c.type), nullptr);
        for (const char* name : groups) {
            auto* group = dialog.findChild<QWidget*>(name);
            ASSERT_NE(group, nullptr) << name;
            EXPECT_EQ(!group->isHidden(), c.shown.contains(name)) << name;
        }
        if (!c.tip.isEmpty()) {
            EXPECT_EQ(dialog._tip_label->text(), c.tip);
        }
        EXPECT_EQ(dialog._attenuate_checkbox->text(), c.attenuateText);
        EXPECT_EQ(dialog._wavelength_label->text(), c.wavelengthLabel);
    }
}
