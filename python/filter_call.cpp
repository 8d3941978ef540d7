#include "filter_call.h"

#include "filter_request.h"
#include "grid_files.h"
#include "parameter_checks.h"
#include "result_check.h"

#include <filter_pipeline.h>

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <ILogger.h>
#include <IMeshList.h>
#include <IPreventDataUpdates.h>
#include <IProgressBarWidget.h>
#include <ISettings.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <limits>

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;

// The host log and the operations' progress, into the call's log while the call lasts.
class CallLog {
public:
    explicit CallLog(FilterCall& call)
        : call_(call)
    {
        connection_ = QObject::connect(Tavorin::ILogger::instance(), &Tavorin::ILogger::entryAdded,
                                       [this](const QString& text, int level) { call_.log.emplace_back(levelOf(level), text); });
        Tavorin::IProgressBarWidget::setTextSink([this](const Tavorin::IProgressState& state) {
            if (state.visible)
                call_.log.emplace_back(LogLevel::Information, Tavorin::IProgressBarWidget::describe(state));
        });
    }
    ~CallLog()
    {
        QObject::disconnect(connection_);
        Tavorin::IProgressBarWidget::setTextSink({});
        Tavorin::ILogger::instance()->clear(); // the calls' entries would pile up for the process's life
    }
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    QString lastError() const
    {
        for (auto entry = call_.log.rbegin(); entry != call_.log.rend(); ++entry)
            if (entry->first == LogLevel::Error)
                return entry->second;
        return QString();
    }

private:
    static LogLevel levelOf(int level)
    {
        if (level == Tavorin::ILogger::Error)
            return LogLevel::Error;
        return level == Tavorin::ILogger::Warning ? LogLevel::Warning : LogLevel::Information;
    }

    FilterCall& call_;
    QMetaObject::Connection connection_;
};

// The engine prints its progress on C's standard output and its diagnostics on standard error. In a
// Python process those streams are the user's, so for the call they write to a file of the work
// folder instead. Only C's stdio streams move: file descriptors 1 and 2, and with them Python's
// sys.stdout and sys.stderr, stay as they are.
class EngineConsole {
public:
    explicit EngineConsole(const QString& path)
        : path_(path)
        , file_(std::fopen(QFile::encodeName(path).constData(), "w"))
    {
        if (!file_)
            return;
        std::fflush(stdout);
        std::fflush(stderr);
        savedOut_ = stdout;
        savedErr_ = stderr;
        stdout = file_;
        stderr = file_;
    }
    ~EngineConsole() { restore(); }
    EngineConsole(const EngineConsole&) = delete;
    EngineConsole& operator=(const EngineConsole&) = delete;

    // Puts the streams back; the lines the engine printed go into the log as debug lines.
    void finish(FilterCall& call)
    {
        restore();
        QFile console(path_);
        if (!console.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        QTextStream in(&console);
        while (!in.atEnd())
            call.log.emplace_back(LogLevel::Debug, in.readLine());
    }

private:
    void restore()
    {
        if (!file_)
            return;
        std::fflush(file_);
        stdout = savedOut_;
        stderr = savedErr_;
        std::fclose(file_);
        file_ = nullptr;
    }

    QString path_;
    FILE* file_ = nullptr;
    FILE* savedOut_ = nullptr;
    FILE* savedErr_ = nullptr;
};

// A host grid holding the array's values, taken out of the world again when the call ends.
class HostGrid {
public:
    HostGrid(const ArrayGrid& grid, const RasterLayout& layout)
        : mesh_(new Tavorin::I2DGridMesh(grid.name, layout.hostGeometry()))
    {
        Tavorin::world()->addMesh(mesh_);
        data_ = qobject_cast<Tavorin::IBaseDataFloat*>(Tavorin::world()->createProperty(
            mesh_, grid.name, grid.name, Tavorin::IBaseData::CellData, 1, Tavorin::IBaseData::FloatData));
        if (!data_)
            return;
        Tavorin::IPreventDataUpdates hold(data_);
        for (int row = 0; row < grid.rows; ++row)
            for (int column = 0; column < grid.columns; ++column) {
                const double value = grid.values[size_t(row) * size_t(grid.columns) + size_t(column)];
                if (!std::isnan(value))
                    data_->setValue(layout.hostCell(column, row), static_cast<float>(value));
            }
    }
    ~HostGrid() { Tavorin::world()->MeshList()->removeMesh(mesh_); }
    HostGrid(const HostGrid&) = delete;
    HostGrid& operator=(const HostGrid&) = delete;

    Tavorin::I2DGridMesh* mesh() const { return mesh_; }
    Tavorin::IBaseDataFloat* data() const { return data_; }

private:
    Tavorin::I2DGridMesh* mesh_;
    Tavorin::IBaseDataFloat* data_ = nullptr;
};

// Infinite values would go through the engine as numbers; NaN marks a cell without value.
QString valuesProblem(const ArrayGrid& grid)
{
    bool anyValue = false;
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.columns; ++column) {
            const double value = grid.values[size_t(row) * size_t(grid.columns) + size_t(column)];
            if (std::isinf(value) || (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()))
                return QStringLiteral("%1: the cell in row %2, column %3 holds %4, not a finite 32-bit number "
                                      "(NaN marks a cell without value)")
                    .arg(grid.name).arg(row).arg(column).arg(value);
            anyValue = anyValue || !std::isnan(value);
        }
    return anyValue ? QString() : QStringLiteral("%1: every cell is NaN; there is nothing to filter").arg(grid.name);
}

// The operation's result: the last item the world made (the analytic signal makes its parts first).
Tavorin::IBaseData* runOperation(const F::FilterSpec& filter, const QVariantMap& values, const HostGrid& grid)
{
    QPointer<Tavorin::IBaseData> result;
    const auto connection = QObject::connect(Tavorin::world(), &Tavorin::IWorld::propertyCreated,
                                             [&result](Tavorin::IBaseData* data) { result = data; });
    const bool ok = filter.run(grid.mesh(), grid.data(), values, QString());
    QObject::disconnect(connection);
    return ok && result && result != grid.data() ? result.data() : nullptr;
}

void fail(FilterCall& call, CallError kind, const QString& message)
{
    call.error = kind;
    call.message = message;
}

// The checks the tool makes before it reads a grid's values; info gets the grid's layout and CRS.
bool acceptedGrid(const ArrayGrid& grid, GridFileInfo& info, FilterCall& call)
{
    info.path = info.name = grid.name;
    info.units = grid.units;
    QString error = makeLayout(grid.columns, grid.rows, grid.geoTransform, info.layout);
    if (!error.isEmpty()) {
        fail(call, CallError::Value, QStringLiteral("%1: cannot be filtered: %2").arg(grid.name, error));
        return false;
    }
    if (!grid.crs.isEmpty())
        info.crsWkt = crsToWkt(grid.crs, error);
    if (error.isEmpty())
        error = geographicRefusal(info);
    if (error.isEmpty())
        error = valuesProblem(grid);
    if (!error.isEmpty())
        fail(call, CallError::Value, error);
    return error.isEmpty();
}

void copyResult(const Tavorin::IBaseData& result, const RasterLayout& layout, std::vector<float>& values)
{
    values.assign(size_t(layout.columns) * size_t(layout.rows), std::numeric_limits<float>::quiet_NaN());
    for (int row = 0; row < layout.rows; ++row)
        for (int column = 0; column < layout.columns; ++column) {
            const unsigned int id = layout.hostCell(column, row);
            if (result.hasValue(id))
                values[size_t(row) * size_t(layout.columns) + size_t(column)] = result.value(id);
        }
}

// Runs the operation in a fresh temporary folder, named to the engine and the host so that the
// process's current directory is never changed; true with the result's values in call.
bool runInWorkFolder(const F::FilterSpec& filter, const QVariantMap& values, const HostGrid& grid,
                     const RasterLayout& layout, CallLog& log, FilterCall& call)
{
    const QString base = QDir::tempPath();
    QTemporaryDir work(base + QStringLiteral("/spectrafil-python-XXXXXX"));
    if (!work.isValid()) {
        fail(call, CallError::Failure, QStringLiteral("cannot make a temporary work folder in %1").arg(base));
        return false;
    }
    Tavorin::ISettings::setTempDir(work.path());
    Tavorin::IBaseData* result = nullptr;
    {
        F::EngineFolderScope folder(work.path());
        EngineConsole console(QDir(work.path()).filePath(QStringLiteral("engine_stdout.txt")));
        result = runOperation(filter, values, grid);
        console.finish(call);
    }
    Tavorin::ISettings::setTempDir(QString());
    if (!result) {
        const QString cause = log.lastError();
        fail(call, CallError::Failure,
             QStringLiteral("%1 of %2 failed%3").arg(QString::fromUtf8(filter.title), grid.data()->Name(),
                                                      cause.isEmpty() ? QString() : QStringLiteral(": ") + cause));
        return false;
    }
    const QString problem = resultProblem(*result);
    if (!problem.isEmpty()) {
        fail(call, CallError::Value, problem);
        return false;
    }
    call.resultName = result->Name();
    copyResult(*result, layout, call.values);
    return true;
}

} // namespace

FilterCall applyFilter(const F::FilterSpec& filter, const ArrayGrid& grid, const QVariantMap& given)
{
    FilterCall call;
    QString error;
    const QVariantMap values = F::completeParameters(filter, given, error);
    GridFileInfo info;
    if (!error.isEmpty()) {
        fail(call, CallError::Value, error);
        return call;
    }
    if (!acceptedGrid(grid, info, call))
        return call;
    CallLog log(call);
    QStringList warnings = gridWarnings(info);
    HostGrid host(grid, info.layout);
    if (!host.data()) {
        fail(call, CallError::Failure, QStringLiteral("the host refused a data item named \"%1\"").arg(grid.name));
        return call;
    }
    const QString length = lengthUnit(info.crsWkt);
    error = checkParametersOnGrid(filter, values, host.mesh()->get2DGridGeometry(), length, warnings);
    for (const QString& warning : warnings)
        call.log.emplace_back(LogLevel::Warning, warning);
    if (!error.isEmpty()) {
        fail(call, CallError::Value, error);
        return call;
    }
    if (!runInWorkFolder(filter, values, host, info.layout, log, call))
        return call;
    call.units = F::resultUnits(filter, values, grid.units, length);
    call.parameters = describeParameters(filter, values, length).join(QStringLiteral(", "));
    return call;
}

} // namespace spectrafil
