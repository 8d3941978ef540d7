// Driving the filter dialog as a user does: choose a grid and tick its properties. (Picking a grid
// on the map is driven in the studio's window test.)

#include "FilterDialog.h"
#include "QxtCheckComboBox.h"
#include "test_world.h"

#include <gtest/gtest.h>

using namespace Tavorin;

namespace {

QStringList rowTexts(const QComboBox* box)
{
    QStringList texts;
    for (int row = 0; row < box->count(); ++row)
        texts << box->itemText(row);
    return texts;
}

QxtCheckComboBox* selectorOf(IFilterDialog& dialog)
{
    return dialog.findChild<QxtCheckComboBox*>();
}

} // namespace

TEST(FilterDialog, ListsGridsAndTheirFilterableProperties)
{
    testworld::TestWorld w;
    IFilterDialog dialog(IFilterDialog::LowPass, nullptr);
    EXPECT_EQ(rowTexts(dialog._grid_combobox), QStringList({"Grid A", "Grid B"}));
    EXPECT_EQ(dialog._grid_combobox->currentText(), "Grid B"); // first grid the world lists
    QxtCheckComboBox* selector = selectorOf(dialog);
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(rowTexts(selector), QStringList({"Bouguer", "TMI"}));
    EXPECT_TRUE(selector->checkedItems().isEmpty());

    dialog.setProperties({"TMI", "Bouguer", "Elevation"});
    EXPECT_EQ(selector->checkedItems(), QStringList({"Bouguer", "TMI"}));
    dialog.setProperties({"TMI"});
    EXPECT_EQ(selector->checkedItems(), QStringList({"TMI"}));

    // A grid that becomes current shows its own properties, with the painted one ticked.
    w.world->paintDataCurrentView(w.gridB->DataList()->Data("Bouguer"));
    dialog.setGrid(w.gridA);
    EXPECT_EQ(rowTexts(selector), QStringList({"Elevation"}));
    EXPECT_TRUE(selector->checkedItems().isEmpty());
    dialog._grid_combobox->setCurrentIndex(1);
    EXPECT_EQ(rowTexts(selector), QStringList({"Bouguer", "TMI"}));
    EXPECT_EQ(selector->checkedItems(), QStringList({"Bouguer"}));

    IFilterDialog painted(IFilterDialog::RTP, nullptr);
    EXPECT_EQ(selectorOf(painted)->checkedItems(), QStringList({"Bouguer"}));
}
