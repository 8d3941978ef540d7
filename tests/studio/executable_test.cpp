// spectrafil-studio as a user starts it: --screenshot opens the grids, paints the first, saves a
// picture of the window and exits, telling on standard error what went wrong; the preview-feature
// switch of the Settings menu takes effect at the next start.

#include "studio_fixture.h"

#include <colour_map.h>

#include <QAction>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Pixels of the picture whose colour is on the viridis scale: the painted map and its colour bar.
int viridisPixels(const QImage& image)
{
    QVector<QRgb> scale;
    for (int i = 0; i <= 64; ++i)
        scale << spectrafil::viridis(i / 64.0);
    int count = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = image.pixel(x, y);
            for (QRgb colour : scale)
                if (std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour)) +
                        std::abs(qBlue(pixel) - qBlue(colour)) < 12) {
                    ++count;
                    break;
                }
        }
    return count;
}

TEST(StudioExecutable, ScreenshotShowsTheMapAndTellsWhatFailed)
{
    ScratchDir scratch;
    QTemporaryDir config;
    writeRaster(scratch.file("tmi.tif"), "GTiff", bumpRaster(64, 48, 500000.0, 7100000.0));

    ToolRun run = runStudio({QStringLiteral("--screenshot"), QStringLiteral("shot.png"), QStringLiteral("tmi.tif"),
                               QStringLiteral("missing.tif")},
                              config.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("error: missing.tif: no such file"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("module"))) << run.err.toStdString();
    const QImage shot(QStringLiteral("shot.png"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GE(shot.width(), 800);
    EXPECT_GE(shot.height(), 500);
    EXPECT_GT(viridisPixels(shot), 20000);

    // A picture that cannot be written is the one failure of the run.
    run = runStudio({QStringLiteral("--screenshot"), QStringLiteral("no-such-folder/shot.png")}, config.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no-such-folder"))) << run.err.toStdString();
}

TEST(StudioExecutable, PreviewFeatureSwitchTakesEffectAtTheNextStart)
{
    ScratchDir scratch;
    const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    auto window = startStudio({});
    auto* toggle = window->findChild<QAction*>(QStringLiteral("actionPreviewFeatures"));
    ASSERT_NE(toggle, nullptr);
    ASSERT_TRUE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(spectrafil::StudioWindow::previewFeaturesSetting());

    ToolRun run = runStudio({QStringLiteral("--screenshot"), QStringLiteral("off.png")}, config);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("warning: Loaded ")) && run.err.contains(QStringLiteral("preview features are off")))
        << run.err.toStdString();

    toggle->trigger();
    EXPECT_TRUE(spectrafil::StudioWindow::previewFeaturesSetting());
    run = runStudio({QStringLiteral("--screenshot"), QStringLiteral("on.png")}, config);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.count(QStringLiteral("spectrafil-studio: ")), 0) << run.err.toStdString();
}

} // namespace
