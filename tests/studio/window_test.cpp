// The studio window driven as a user drives it: the module's actions in the tree's context menu, a
// filter run through the module's dialog, the result in the tree and on the map, and a grid picked
// on the map for the dialog.

#include "studio_fixture.h"

#include <filter_catalogue.h>

#include <I2DGridMesh.h>
#include <IActionContext.h>
#include <IMain.h>
#include <IBaseDataFloat.h>
#include <IBaseListData.h>
#include <IGLWindow.h>
#include <ISelectionModel.h>
#include <IUniverse.h>
#include <IWorld.h>
#include <Mode.h>
#include <ModeStack.h>
#include <QxtCheckComboBox.h>
#include <colour_map.h>
#include <map_view.h>
#include <world_tree.h>

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Tavorin::world;

const QString LowPass = QStringLiteral("Low Pass Fourier Filter");

// Widget position of the centre of cell (u, v), computed from the grid's own numbers.
QPoint cellCentreOnMap(const spectrafil::MapView& map, const Tavorin::I2DGridMesh& grid, int u, int v)
{
    const Tavorin::I2DGridGeometry& g = grid.get2DGridGeometry();
    return map.toWidget(QPointF(g.origin().x + (u + 0.5) * g.uSize(), g.origin().y + (v + 0.5) * g.vSize())).toPoint();
}

class StudioWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeRaster(scratch.file("tmi.tif"), "GTiff", bumpRaster(64, 48, 500000.0, 7100000.0));
        writeRaster(scratch.file("east.tif"), "GTiff", bumpRaster(40, 30, 520000.0, 7100000.0));
    }
    ScratchDir scratch;
};

TEST_F(StudioWindowTest, ContextMenuOffersTheFiltersOnGridsOnlyAndSelectionFeedsTheWorld)
{
    auto window = startStudio({QStringLiteral("tmi.tif")});
    ASSERT_TRUE(window->module().loaded) << window->module().message.toStdString();
    EXPECT_EQ(window->module().moduleName, QStringLiteral("Spectrafil"));
    Tavorin::I2DGridMesh* grid = gridNamed(QStringLiteral("tmi"));
    ASSERT_NE(grid, nullptr);
    Tavorin::IBaseData* item = grid->DataList()->at(0);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(window->tree()->indexOf(item).isValid());
    EXPECT_EQ(window->tree()->indexOf(item).parent(), window->tree()->indexOf(grid));

    // The module's eleven, the studio's reduction to the pole at any latitude, the catalogue's
    // filters beyond the module's dialog, the filter chain and the power spectrum.
    const QStringList gridMenu = menuTexts(*window, grid);
    const auto& catalogue = I2DFourierFilters::filterCatalogue();
    const auto beyondDialog = std::count_if(catalogue.begin(), catalogue.end(), [](const auto& filter) {
        return filter.dialog.filterType < 0 && !filter.magnetic;
    });
    ASSERT_EQ(gridMenu.size(), 14 + beyondDialog);
    EXPECT_EQ(gridMenu.first(), LowPass);
    EXPECT_EQ(gridMenu[11], QStringLiteral("Reduce to the pole (any latitude)"));
    EXPECT_EQ(gridMenu.last(), QStringLiteral("Power spectrum and depths"));
    const QStringList itemMenu = menuTexts(*window, item);
    for (const QString& text : gridMenu)
        EXPECT_FALSE(itemMenu.contains(text)) << text.toStdString();
    EXPECT_TRUE(itemMenu.contains(QStringLiteral("&Save item as…")));

    window->tree()->setCurrentEntity(item);
    EXPECT_EQ(world()->getSelectionModel()->getMesh(), grid);
    EXPECT_EQ(window->mapView()->shownData(), item);
    world()->getSelectionModel()->setMesh(nullptr);
    window->tree()->setCurrentEntity(grid);
    EXPECT_EQ(world()->getSelectionModel()->getMesh(), grid);

    // An item that goes away leaves the tree and the map.
    grid->DataList()->remove(item);
    EXPECT_FALSE(window->tree()->indexOf(item).isValid());
    EXPECT_EQ(window->mapView()->shownData(), nullptr);
}

TEST_F(StudioWindowTest, LowPassThroughTheDialogAddsAResultThatIsListedAndPainted)
{
    auto window = startStudio({QStringLiteral("tmi.tif")});
    Tavorin::I2DGridMesh* grid = gridNamed(QStringLiteral("tmi"));
    ASSERT_NE(grid, nullptr);
    QDialog* dialog = openFilterDialog(*window, grid, LowPass);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findChild<QComboBox*>(QStringLiteral("_grid_combobox"))->currentText(), QStringLiteral("tmi"));
    dialog->findChild<QDoubleSpinBox*>(QStringLiteral("_wavelength_spinbox"))->setValue(800.0);
    auto* properties = dialog->findChild<Tavorin::QxtCheckComboBox*>();
    ASSERT_NE(properties, nullptr);
    properties->uncheckAll();
    properties->setCheckedItems({QStringLiteral("tmi")});

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("_apply_button")), Qt::LeftButton);

    auto* result = qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->Data(QStringLiteral("tmi low pass filtered")));
    ASSERT_NE(result, nullptr) << hostLog().toStdString();
    const auto* source = qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->at(0));
    EXPECT_EQ(result->valueCount(), source->valueCount());
    EXPECT_TRUE(window->tree()->indexOf(result).isValid());
    EXPECT_EQ(window->tree()->currentEntity(), result);
    EXPECT_EQ(grid->GetPaintedData(0), result);
    EXPECT_EQ(window->mapView()->shownData(), result);

    // The map shows the result's values: colour and cursor read-out at one cell.
    const int u = 40;
    const int v = 20;
    const unsigned int id = unsigned(v * 64 + u);
    ASSERT_TRUE(result->hasValue(id));
    const QPoint at = cellCentreOnMap(*window->mapView(), *grid, u, v);
    const spectrafil::ValueRange range = spectrafil::displayRange(*result);
    const QColor expected(spectrafil::viridis(range.position(result->value(id))));
    const QColor shown = window->mapView()->grab().toImage().pixelColor(at);
    EXPECT_NEAR(shown.red(), expected.red(), 3);
    EXPECT_NEAR(shown.green(), expected.green(), 3);
    EXPECT_NEAR(shown.blue(), expected.blue(), 3);
    QTest::mouseMove(window->mapView(), at);
    EXPECT_TRUE(window->cursorReadout().contains(QStringLiteral("cell %1, %2").arg(u).arg(v)));
    EXPECT_TRUE(window->cursorReadout().contains(QString::number(result->value(id), 'g', 7)))
        << window->cursorReadout().toStdString();
}

TEST_F(StudioWindowTest, PickButtonTakesTheGridClickedOnTheMap)
{
    auto window = startStudio({QStringLiteral("tmi.tif"), QStringLiteral("east.tif")});
    Tavorin::I2DGridMesh* tmi = gridNamed(QStringLiteral("tmi"));
    Tavorin::I2DGridMesh* east = gridNamed(QStringLiteral("east"));
    ASSERT_TRUE(tmi && east);
    QDialog* dialog = openFilterDialog(*window, tmi, QStringLiteral("1st Vertical Derivative Fourier Filter"));
    ASSERT_NE(dialog, nullptr);
    auto* gridChoice = dialog->findChild<QComboBox*>(QStringLiteral("_grid_combobox"));
    ASSERT_EQ(gridChoice->currentText(), QStringLiteral("tmi"));
    window->tree()->setCurrentEntity(east->DataList()->at(0));
    ASSERT_EQ(window->mapView()->shownGrid(), east);

    auto* pick = dialog->findChild<QPushButton*>(QStringLiteral("_grid_pick_button"));
    QTest::mouseClick(pick, Qt::LeftButton);
    ASSERT_FALSE(world()->GetModeStack()->isEmpty());
    EXPECT_EQ(world()->GetModeStack()->top()->name(), QStringLiteral("Pick object"));
    EXPECT_EQ(window->mapView()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseClick(window->mapView(), Qt::LeftButton, Qt::NoModifier, cellCentreOnMap(*window->mapView(), *east, 20, 15));
    EXPECT_TRUE(world()->GetModeStack()->isEmpty());
    EXPECT_EQ(gridChoice->currentText(), QStringLiteral("east"));

    // The ended pick no longer listens: another mode ending over a grid changes nothing.
    Tavorin::Mode measure(QStringLiteral("Measure"));
    world()->GetModeStack()->Push(&measure, nullptr);
    Tavorin::IMain::getCurrentGLWindow()->getMouseActionContext()->setPtr(tmi);
    world()->GetModeStack()->Pop();
    EXPECT_EQ(gridChoice->currentText(), QStringLiteral("east"));

    // A click beside the grid picks nothing: the choice stays and the pick still ends.
    window->tree()->setCurrentEntity(tmi->DataList()->at(0));
    QTest::mouseClick(pick, Qt::LeftButton);
    QTest::mouseClick(window->mapView(), Qt::LeftButton, Qt::NoModifier, QPoint(2, window->mapView()->height() - 2));
    EXPECT_TRUE(world()->GetModeStack()->isEmpty());
    EXPECT_EQ(gridChoice->currentText(), QStringLiteral("east"));
    EXPECT_EQ(window->mapView()->glWindow()->viewID(), 0);
}

} // namespace

TEST_F(StudioWindowTest, MapFollowsTheWindowUntilTheUserZooms)
{
    auto window = startStudio({QStringLiteral("tmi.tif")});
    Tavorin::I2DGridMesh* tmi = gridNamed(QStringLiteral("tmi"));
    ASSERT_NE(tmi, nullptr);
    spectrafil::MapView* map = window->mapView();
    window->tree()->setCurrentEntity(tmi->DataList()->at(0));
    ASSERT_EQ(map->shownGrid(), tmi);
    // Distance on the map between two cell centres: the map's scale.
    const auto span = [&] { return QLineF(cellCentreOnMap(*map, *tmi, 0, 0), cellCentreOnMap(*map, *tmi, 63, 47)).length(); };
    const auto resizeBy = [&](int dw, int dh) {
        window->resize(window->width() + dw, window->height() + dh);
        QCoreApplication::processEvents();
    };

    const double fitted = span();
    resizeBy(240, 180);
    EXPECT_GT(span(), fitted * 1.1); // fitted: the grid grows with the window

    QWheelEvent notch(QPointF(map->rect().center()), QPointF(map->mapToGlobal(map->rect().center())), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(map, &notch);
    const double zoomed = span();
    EXPECT_GT(zoomed, fitted * 1.2);
    resizeBy(-240, -180);
    EXPECT_NEAR(span(), zoomed, 1.5); // zoomed: the scale stays (positions are whole pixels)

    map->fitToGrid();
    EXPECT_NEAR(span(), fitted, 1.5);
}
