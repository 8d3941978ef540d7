// `spectrafil spectrum` as a user meets it: CSV, plot and depth lines, and refused ranges.

#include "raster_fixture.h"
#include "scratch_dir.h"

#include <power_spectrum.h>

#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>

TEST(SpectrumTool, WritesTheRingsAsCsvAPlotAndOneDepthLinePerEnsemble)
{
    ScratchDir scratch;
    const std::string in = scratch.file("bump.tif"), csv = scratch.file("s.csv"), png = scratch.file("s.png");
    writeRaster(in, "GTiff", bumpGrid(64, 48));
    const ToolRun run = runTool(args({"spectrum", in, "--csv", csv, "--plot", png, "--keep-work", scratch.file("work")}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QRegularExpression line(QStringLiteral(R"(^depth \d+ m \(wavenumbers \d+\.\d+-\d+\.\d+ cycles/km\)$)"));
    const QStringList lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    for (const QString& l : lines)
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
    EXPECT_LT(lines[0].section(' ', 1, 1).toInt(), lines[1].section(' ', 1, 1).toInt()); // shallowest first

    // The rows are the rings of the spectrum file the forward run left, in cycles per km.
    I2DFourierFilters::RadialSpectrum spectrum;
    QString error;
    ASSERT_TRUE(I2DFourierFilters::readRadialSpectrum(
        QString::fromStdString(scratch.file("work/fpt15_2D_FWD_SPEC_FILTER.BIN")), spectrum, error));
    const QStringList rows = QString::fromStdString(fileBytes(csv)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), int(spectrum.rings.size()) + 1);
    EXPECT_EQ(rows[0], "wavenumber_cycles_per_km,ln_power,count");
    for (size_t i = 0; i < spectrum.rings.size(); ++i) {
        const QStringList fields = rows[int(i) + 1].split(',');
        ASSERT_EQ(fields.size(), 3);
        EXPECT_NEAR(fields[0].toDouble(), spectrum.rings[i].wavenumber * 1000, 1e-9);
        EXPECT_NEAR(fields[1].toDouble(), spectrum.rings[i].lnPower, 1e-6);
        EXPECT_EQ(fields[2].toInt(), spectrum.rings[i].count);
    }
    const QImage plot(QString::fromStdString(png));
    EXPECT_EQ(plot.size(), QSize(960, 640));
}

TEST(SpectrumTool, RefusedRangesWriteNothing)
{
    ScratchDir scratch;
    const std::string in = scratch.file("bump.tif"), csv = scratch.file("s.csv");
    writeRaster(in, "GTiff", bumpGrid(64, 48));
    const ToolRun narrow = runTool(args({"spectrum", in, "--csv", csv, "--ranges", "0.5-0.6,1-4"}));
    EXPECT_EQ(narrow.exitCode, 1);
    EXPECT_TRUE(narrow.err.contains("0.5-0.6 cycles/km holds")) << narrow.err.toStdString();
    const ToolRun overlapping = runTool(args({"spectrum", in, "--csv", csv, "--ranges", "0.5-2,1-4"}));
    EXPECT_EQ(overlapping.exitCode, 2);
    EXPECT_TRUE(overlapping.err.contains("overlap")) << overlapping.err.toStdString();
    EXPECT_TRUE(narrow.out.isEmpty() && overlapping.out.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(csv));
}
