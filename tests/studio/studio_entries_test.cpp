// The studio's own entries on a grid's menu: the reduction to the pole at any latitude, driven
// through its dialog (the values reach the operation, checked against the module's own reduction;
// a shallow field is stabilised with a warning; IGRF-14 gives the field at the grid's centre), the
// power spectrum window, and the forms generated from the catalogue.

#include "studio_fixture.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IBaseListData.h>
#include <fourier_filters.h>
#include <rtp_dialog.h>
#include <spectrum_window.h>
#include <catalogue_dialog.h>
#include <chain_dialog.h>
#include <world_tree.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The studio on a 64 x 48 grid "tmi" written into scratch.
std::unique_ptr<spectrafil::StudioWindow> studioOnBump(ScratchDir& scratch)
{
    writeRaster(scratch.file("tmi.tif"), "GTiff", bumpRaster(64, 48, 500000.0, 7100000.0));
    return startStudio({QStringLiteral("tmi.tif")});
}

spectrafil::RtpDialog* openRtpDialog(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid)
{
    triggerGridEntry(window, grid, QStringLiteral("Reduce to the pole (any latitude)"));
    const QList<spectrafil::RtpDialog*> dialogs = window.findChildren<spectrafil::RtpDialog*>();
    return dialogs.isEmpty() ? nullptr : dialogs.last(); // the newest: closed ones go at the next event loop
}

Tavorin::IBaseDataFloat* item(Tavorin::I2DGridMesh* grid, int row)
{
    return qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->at(row));
}

// The studio on the grid "tmi", chosen in the tree, for the entries of its menu.
class StudioEntry : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::unique_ptr<spectrafil::StudioWindow> window = studioOnBump(scratch);
    Tavorin::I2DGridMesh* grid = gridNamed(QStringLiteral("tmi"));
};

TEST_F(StudioEntry, RtpDialogRunsTheReductionAndWarnsWhenAShallowFieldIsStabilised)
{
    ASSERT_NE(grid, nullptr);
    spectrafil::RtpDialog* dialog = openRtpDialog(*window, grid);
    ASSERT_NE(dialog, nullptr);

    spectrafil::RtpSettings settings = dialog->settings();
    EXPECT_EQ(settings.dataName, QStringLiteral("tmi"));
    EXPECT_EQ(settings.stabilisation.method, I2DFourierFilters::Stabilisation::Auto);
    QString error;
    settings.directions.fieldInclination = 95;
    EXPECT_FALSE(dialog->setSettings(settings, error));
    EXPECT_EQ(error, QStringLiteral("Field inclination 95°: must be within -90° to 90°"));

    // A remanent magnetisation given as the field's own direction, no stabilisation: the module's
    // reduction to the pole gives the same grid.
    settings.directions = {50, 10, 50, 10};
    settings.induced = false;
    settings.stabilisation.method = I2DFourierFilters::Stabilisation::None;
    const auto runWith = [&](const spectrafil::RtpSettings& chosen) {
        ASSERT_TRUE(dialog->setSettings(chosen, error)) << error.toStdString();
        dialog->accept();
        QCoreApplication::processEvents(); // the studio checks a result once control is back
        dialog = openRtpDialog(*window, grid);
    };
    runWith(settings);
    ASSERT_EQ(grid->DataList()->count(), 2) << hostLog().toStdString();
    ASSERT_TRUE(I2DFourierFilters::rtp(grid, item(grid, 0), 50, 10, QStringLiteral("reference")));
    const Tavorin::IBaseDataFloat* result = item(grid, 1);
    const Tavorin::IBaseDataFloat* reference = item(grid, 2);
    EXPECT_EQ(result->Name(), QStringLiteral("tmi rtp filtered"));
    for (unsigned id = 0; id < result->size(); ++id) {
        ASSERT_EQ(result->hasValue(id), reference->hasValue(id)) << id;
        if (result->hasValue(id)) {
            ASSERT_EQ(result->value(id), reference->value(id)) << id;
        }
    }
    EXPECT_FALSE(hostLog().contains(QStringLiteral("stabilised"))) << hostLog().toStdString();

    // At 5° Automatic takes the stabilised response and says so; the result is painted.
    settings.directions = I2DFourierFilters::inducedDirections(5, 0);
    settings.induced = true;
    settings.stabilisation.method = I2DFourierFilters::Stabilisation::Auto;
    runWith(settings);
    ASSERT_EQ(grid->DataList()->count(), 4);
    EXPECT_EQ(grid->GetPaintedData(0), item(grid, 3));
    EXPECT_TRUE(hostLog().contains(
        QStringLiteral("warning: Reduction to the pole of \"tmi\": the field inclination 5° is below 15°")))
        << hostLog().toStdString();
    EXPECT_FALSE(hostLog().contains(QStringLiteral("likely cause"))) << hostLog().toStdString();

    // Off at 0° is the plain division, which has no finite value: the studio says so and why.
    settings.directions = I2DFourierFilters::inducedDirections(0, 0);
    settings.stabilisation.method = I2DFourierFilters::Stabilisation::None;
    runWith(settings);
    EXPECT_TRUE(hostLog().contains(QStringLiteral("warning: Reduction to the pole: ")) &&
                hostLog().contains(QStringLiteral("likely cause: an inclination too close to 0")))
        << hostLog().toStdString();
}

TEST(StudioRtp, ComputeTakesTheFieldFromIgrfAtTheGridCentreOrSaysWhyNot)
{
    ScratchDir scratch;
    // 40 x 30 cells of 100 m in UTM 54S, centred on 21.958°S 140.667°E (465617.21 E, 7571784.48 N).
    Raster placed = bumpRaster(40, 30, 465617.21 - 2000.0, 7571784.48 + 1500.0);
    placed.crsWkt = epsgWkt(32754);
    writeRaster(scratch.file("placed.tif"), "GTiff", placed);
    Raster unplaced = placed;
    unplaced.crsWkt.clear();
    writeRaster(scratch.file("unplaced.tif"), "GTiff", unplaced);
    auto window = startStudio({QStringLiteral("placed.tif"), QStringLiteral("unplaced.tif")});

    spectrafil::RtpDialog* dialog = openRtpDialog(*window, gridNamed(QStringLiteral("placed")));
    ASSERT_NE(dialog, nullptr);
    spectrafil::RtpSettings settings = dialog->settings();
    settings.igrfYear = 1990.5;
    QString error;
    ASSERT_TRUE(dialog->setSettings(settings, error)) << error.toStdString();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("igrfCompute")), Qt::LeftButton);
    settings = dialog->settings();
    EXPECT_NEAR(settings.directions.fieldInclination, -53.18, 0.01);
    EXPECT_NEAR(settings.directions.fieldDeclination, 6.67, 0.01);
    EXPECT_TRUE(hostLog().contains(QStringLiteral("IGRF-14 at 21.958°S 140.667°E, 1990.50: inclination -53.18°")))
        << hostLog().toStdString();
    dialog->close();

    dialog = openRtpDialog(*window, gridNamed(QStringLiteral("unplaced")));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("igrfCompute"))->isEnabled());
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("igrfReport"))->text().contains(
        QStringLiteral("no coordinate reference system")));
}

} // namespace

// The grid's menu also opens the power spectrum of the item on the map, with its depth lines.
TEST_F(StudioEntry, GridMenuShowsThePowerSpectrumAndDepthsOfTheShownItem)
{
    ASSERT_NE(grid, nullptr);
    triggerGridEntry(*window, grid, QStringLiteral("Power spectrum and depths"));
    const QList<spectrafil::SpectrumWindow*> windows = window->findChildren<spectrafil::SpectrumWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_FALSE(windows[0]->findChild<QLabel*>(QStringLiteral("spectrumPlot"))->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_TRUE(windows[0]->depthText().startsWith(QStringLiteral("depth "))) << windows[0]->depthText().toStdString();
}

// A catalogue filter beyond the module's dialog runs from its generated form; values outside the
// row's ranges are refused in the form with the tool's message.
TEST_F(StudioEntry, GeneratedFormRunsItsFilterAndRefusesWhatTheRowRefuses)
{
    ASSERT_NE(grid, nullptr);
    triggerGridEntry(*window, grid, QStringLiteral("Band pass"));
    auto* dialog = window->findChild<spectrafil::CatalogueDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->setValues({{QStringLiteral("short"), 800.0}, {QStringLiteral("long"), 400.0}});
    EXPECT_EQ(dialog->run(), QStringLiteral("--long 400: must be longer than --short 800, the band lies between them"));
    dialog->setValues({{QStringLiteral("long"), 3000.0}});
    EXPECT_EQ(dialog->run(), QString());
    EXPECT_EQ(grid->DataList()->items().last()->Name(), QStringLiteral("tmi band pass filtered"));
}

// A chain runs from its dialog on the shown item; its recipe saved and loaded gives the same steps.
TEST_F(StudioEntry, DialogRunsAChainAndItsRecipeRoundTrips)
{
    ASSERT_NE(grid, nullptr);
    triggerGridEntry(*window, grid, QStringLiteral("Filter chain…"));
    auto* dialog = window->findChild<spectrafil::ChainDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->setStepsText(QStringLiteral("tilt vd"));
    EXPECT_TRUE(dialog->run().contains(QStringLiteral("tilt"))) << dialog->run().toStdString();
    dialog->setStepsText(QStringLiteral("continuation:height=100 vd"));
    const QString recipe = QString::fromStdString(scratch.file("up_vd.json"));
    EXPECT_EQ(dialog->saveRecipe(recipe), QString());
    dialog->setStepsText(QString());
    EXPECT_EQ(dialog->loadRecipe(recipe), QString());
    EXPECT_TRUE(dialog->stepsText().startsWith(QStringLiteral("continuation:"))) << dialog->stepsText().toStdString();
    EXPECT_EQ(dialog->run(), QString());
    EXPECT_EQ(grid->DataList()->items().last()->Name(), QStringLiteral("tmi chain"));
}
