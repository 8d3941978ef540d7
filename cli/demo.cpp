#include "demo.h"

#include "console.h"
#include "demo_survey.h"
#include "filter_job.h"
#include "grid_files.h"
#include "map_render.h"
#include "staged_output.h"
#include "work_folder.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace spectrafil {
namespace {

struct Row {
    QString title;
    QString file;
    const Tavorin::IBaseData* data = nullptr; // null when the filter failed
    double seconds = -1.0;
};

// Parameters that suit the survey: cut-offs of 3 km, the survey's own field, 500 m upward, and
// the stronger roll-off, since derivatives and the susceptibility magnify the noise.
// The survey's own field and the parameters a geophysicist would pick for it, as far as the filter
// takes them.
QVariantMap demoParameters(const FilterSpec& filter, const DemoSurvey& survey)
{
    const bool strike = QLatin1String(filter.id) == QLatin1String("strike");
    const bool continuation = QLatin1String(filter.id) == QLatin1String("continuation");
    const QVariantMap all = {
        {QStringLiteral("cutoff"), strike ? 2000.0 : 3000.0},
        {QStringLiteral("inclination"), survey.inclination},
        {QStringLiteral("declination"), survey.declination},
        {QStringLiteral("field"), survey.fieldStrength},
        {QStringLiteral("height"), continuation ? 500.0 : survey.flightHeight},
        {QStringLiteral("strike"), survey.dykeStrike},
        {QStringLiteral("tolerance"), 20.0},
        {QStringLiteral("attenuate"), true},
    };
    QVariantMap given;
    for (const I2DFourierFilters::ParameterSpec& p : filter.parameters)
        if (all.contains(QLatin1String(p.key)))
            given.insert(QLatin1String(p.key), all.value(QLatin1String(p.key)));
    QString error;
    return I2DFourierFilters::completeParameters(filter, given, error);
}

Tavorin::IBaseDataFloat* surveyItem(const DemoSurvey& survey)
{
    const synth::Grid& g = survey.grid;
    const Tavorin::I2DGridGeometry geometry(Tavorin::I3DVector(g.x0 - 0.5 * g.dx, g.y0 - 0.5 * g.dy), g.dx, g.dy, g.nx, g.ny);
    auto* mesh = new Tavorin::I2DGridMesh(QStringLiteral("synthetic survey"), geometry);
    Tavorin::world()->addMesh(mesh);
    auto* data = qobject_cast<Tavorin::IBaseDataFloat*>(Tavorin::world()->createProperty(
        mesh, QStringLiteral("TMI"), QStringLiteral("total-field anomaly"), Tavorin::IBaseData::CellData, 1,
        Tavorin::IBaseData::FloatData));
    for (int row = 0; row < g.ny; ++row)
        for (int column = 0; column < g.nx; ++column)
            if (g.hasValue(column, row))
                data->setValue(geometry.cellID(column, row), float(g.at(column, row)));
    return data;
}

bool writeStaged(const QString& path, const GridFileInfo& like, const Tavorin::IBaseData& data, const GridLabels& labels,
                 QString& error)
{
    StagedOutput output(path);
    return output.ready(error) && writeGrid(output.stagedPath(), QStringLiteral("GTiff"), like, data, labels, error) &&
           output.commit(error);
}

void printTable(const QVector<Row>& rows)
{
    std::printf("%-24s %-22s %9s %12s %12s %8s\n", "grid", "file", "cells", "min", "max", "seconds");
    for (const Row& row : rows) {
        const QByteArray title = row.title.toUtf8(), file = row.file.toUtf8();
        if (!row.data) {
            std::printf("%-24s %-22s %9s\n", title.constData(), "-", "failed");
            continue;
        }
        double low = INFINITY, high = -INFINITY;
        unsigned cells = 0;
        for (unsigned id = 0; id < row.data->size(); ++id)
            if (row.data->hasValue(id)) {
                low = std::min(low, double(row.data->value(id)));
                high = std::max(high, double(row.data->value(id)));
                ++cells;
            }
        std::printf("%-24s %-22s %9u %12.5g %12.5g", title.constData(), file.constData(), cells, low, high);
        if (row.seconds >= 0)
            std::printf(" %8.2f", row.seconds);
        std::printf("\n");
    }
}

} // namespace

int runDemo(const DemoOptions& options)
{
    QString error;
    const QDir folder(options.folder);
    WorkFolder work(options.keepWork);
    if (!QDir().mkpath(folder.absolutePath()) || !work.ready(error)) {
        printError(error.isEmpty() ? QStringLiteral("%1: cannot make the folder").arg(options.folder) : error);
        return ExitRejected;
    }
    const DemoSurvey survey = makeDemoSurvey();
    Tavorin::IBaseDataFloat* input = surveyItem(survey);
    auto* mesh = static_cast<Tavorin::I2DGridMesh*>(input->mesh());
    GridFileInfo like;
    like.layout = northUpLayout(mesh->get2DGridGeometry());
    like.crsWkt = crsToWkt(QString::fromUtf8(survey.crs), error);
    like.hasNoData = true;
    like.noData = -99999.0;

    QVector<Row> rows = {{QStringLiteral("survey (input)"), QStringLiteral("tmi.tif"), input, -1.0}};
    QVector<MapPanel> panels = {{&mesh->get2DGridGeometry(), input, QStringLiteral("Synthetic survey, total field"), QStringLiteral("nT")}};
    bool allWritten = writeStaged(folder.filePath(rows[0].file), like, *input,
                                  {input->Name(), QStringLiteral("nT"), {}, {}, {}, {}}, error);
    for (const FilterSpec& filter : I2DFourierFilters::filterCatalogue()) {
        if (filter.dialog.filterType < 0)
            continue; // the module's eleven
        Row row{QString::fromUtf8(filter.title), QString::fromUtf8(filter.id) + QStringLiteral(".tif")};
        QElapsedTimer timer;
        timer.start();
        const QVariantMap values = demoParameters(filter, survey);
        Tavorin::IBaseData* result = runOperation(filter, values, mesh, input, work.path());
        row.seconds = timer.nsecsElapsed() * 1e-9;
        row.data = result;
        const QString units = I2DFourierFilters::resultUnits(filter, values, QStringLiteral("nT"), QStringLiteral("m"));
        if (result) {
            const GridLabels labels{result->Name(), units, QString::fromUtf8(filter.id),
                                    describeParameters(filter, values, QStringLiteral("m")).join(QStringLiteral(", ")),
                                    rows[0].file, {}};
            allWritten = writeStaged(folder.filePath(row.file), like, *result, labels, error) && allWritten;
            panels.append({&mesh->get2DGridGeometry(), result, row.title, units});
        }
        allWritten = allWritten && result;
        rows.append(row);
    }
    StagedOutput sheet(folder.filePath(QStringLiteral("contact_sheet.png")));
    allWritten = sheet.ready(error) &&
                 saveImage(composeSheet(panels, 4, QStringLiteral("Spectrafil demo: synthetic aeromagnetic survey, 600 x 500 cells of 50 m"),
                                      QSize(480, 440)), sheet.stagedPath(), error) &&
                 sheet.commit(error) && allWritten;
    if (!error.isEmpty())
        printError(error);
    if (!options.quiet) {
        printTable(rows);
        std::printf("contact sheet: %s\n", QFile::encodeName(folder.filePath(QStringLiteral("contact_sheet.png"))).constData());
    }
    return allWritten ? ExitSuccess : ExitRejected;
}

} // namespace spectrafil
