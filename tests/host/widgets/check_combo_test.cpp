#include "I2DGridMesh.h"
#include "IDataModel.h"
#include "IDataModelFilter.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "QxtCheckComboBox.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Tavorin;

namespace {

// A grid with items named as given, listed with local ticks and sorted, as a properties chooser does.
IDataModelFilter* propertiesOf(const QStringList& names, QObject* owner)
{
    IWorld* world = IUniverse::Instance()->resetWorld();
    auto* grid = new I2DGridMesh("grid", I2DGridGeometry(I3DVector(), 1.0, 1.0, 2, 2));
    world->addMesh(grid);
    for (const QString& name : names)
        world->createProperty(grid, name, name, 2, 1, 2);
    auto* model = new IDataModel(grid, owner);
    auto* filter = new IDataModelFilter(model, model);
    filter->setLocalCheckstate(true);
    filter->sort(0, Qt::AscendingOrder);
    return filter;
}

} // namespace

TEST(CheckComboBox, TicksRowsByTextAndReportsThemInRowOrder)
{
    QxtCheckComboBox combo;
    IDataModelFilter* properties = propertiesOf({"TMI", "gravity", "RTP", "TMI"}, &combo);
    combo.setModel(properties);
    QSignalSpy changed(&combo, &QxtCheckComboBox::checkedItemsChanged);
    EXPECT_TRUE(combo.checkedItems().isEmpty());

    combo.setCheckedItems({"TMI", "unknown", "gravity"});
    // Row order is the sorted list, not the order asked for; both rows named TMI are ticked.
    EXPECT_EQ(combo.checkedItems(), QStringList({"gravity", "TMI", "TMI"}));
    ASSERT_EQ(changed.count(), 1); // one announcement for the whole change
    EXPECT_EQ(changed.last()[0].toStringList(), combo.checkedItems());

    // Ticking adds; it never unticks what was ticked before.
    combo.setCheckedItems({"RTP"});
    EXPECT_EQ(combo.checkedItems(), QStringList({"gravity", "RTP", "TMI", "TMI"}));
    changed.clear();
    combo.uncheckAll();
    combo.uncheckAll();
    EXPECT_TRUE(combo.checkedItems().isEmpty());
    EXPECT_EQ(changed.count(), 1); // the second changed nothing, so announced nothing
}

TEST(CheckComboBox, ClickingARowInThePopupTogglesItAndKeepsThePopupOpen)
{
    QxtCheckComboBox combo;
    combo.addItems({"one", "two", "three"}); // plain rows get tick boxes too
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    combo.showPopup();
    QAbstractItemView* view = combo.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));

    const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_EQ(combo.checkedItems(), QStringList({"two"}));
    EXPECT_TRUE(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_TRUE(combo.checkedItems().isEmpty());
    combo.hidePopup();
}
