// The extension module spectrafil._spectrafil: the filter catalogue as Python data, and one call
// that applies a catalogue filter to a 2-D array placed by a geotransform. The package around it
// (spectrafil/__init__.py) adapts xarray grids and numpy arrays.

// Python's headers name a member "slots", which Qt defines as a keyword: they come first.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "engine_thread.h"
#include "filter_call.h"

#include <filter_catalogue.h>

#include <array>

namespace py = pybind11;
namespace F = I2DFourierFilters;

namespace {

const char* kindName(F::ParameterKind kind)
{
    switch (kind) {
    case F::ParameterKind::Length: return "length";
    case F::ParameterKind::Wavelength: return "wavelength";
    case F::ParameterKind::Angle: return "angle";
    case F::ParameterKind::Number: return "number";
    case F::ParameterKind::Integer: return "integer";
    case F::ParameterKind::Flag: return "flag";
    case F::ParameterKind::Choice: return "choice";
    case F::ParameterKind::Text: return "text";
    }
    return "";
}

py::object toPython(const QVariant& value)
{
    switch (value.type()) {
    case QVariant::Invalid: return py::none();
    case QVariant::Bool: return py::bool_(value.toBool());
    case QVariant::String: return py::str(value.toString().toStdString());
    default: return py::float_(value.toDouble());
    }
}

py::dict describeParameter(const F::ParameterSpec& p)
{
    py::dict row;
    row["key"] = p.key;
    row["label"] = p.label;
    row["kind"] = kindName(p.kind);
    row["unit"] = p.unit;
    row["minimum"] = p.minimum;
    row["maximum"] = p.maximum;
    row["exclusive_minimum"] = p.exclusiveMinimum;
    row["default"] = toPython(p.defaultValue);
    row["help"] = p.help;
    row["choices"] = p.choices ? py::str(p.choices).attr("split")("|") : py::none();
    row["optional"] = p.optional;
    return row;
}

py::list catalogue()
{
    py::list rows;
    for (const F::FilterSpec& filter : F::filterCatalogue()) {
        py::dict row;
        row["id"] = filter.id;
        row["title"] = filter.title;
        row["summary"] = filter.summary;
        row["response"] = filter.response;
        py::list parameters;
        for (const F::ParameterSpec& p : filter.parameters)
            parameters.append(describeParameter(p));
        row["parameters"] = parameters;
        row["result_suffix"] = filter.resultSuffix;
        row["magnetic"] = filter.magnetic;
        rows.append(row);
    }
    return rows;
}

bool isBool(py::handle value)
{
    return py::isinstance<py::bool_>(value) || py::isinstance(value, py::module_::import("numpy").attr("bool_"));
}

QVariant givenValue(const F::FilterSpec& filter, const std::string& key, py::handle value)
{
    const F::ParameterSpec* parameter = nullptr;
    for (const F::ParameterSpec& p : filter.parameters)
        if (key == p.key)
            parameter = &p;
    const QString shown = QString::fromStdString(py::repr(value).cast<std::string>());
    auto refuse = [&](const char* wanted) {
        return py::type_error(QStringLiteral("--%1 %2: %3").arg(QString::fromStdString(key), shown, QLatin1String(wanted))
                                  .toStdString());
    };
    if (!parameter) // completeParameters names it
        return QString::fromStdString(key);
    switch (parameter->kind) {
    case F::ParameterKind::Flag:
        if (!isBool(value))
            throw refuse("not True or False");
        return value.cast<bool>();
    case F::ParameterKind::Choice:
    case F::ParameterKind::Text:
        if (!py::isinstance<py::str>(value))
            throw refuse("not a string");
        return QString::fromStdString(value.cast<std::string>());
    default:
        if (isBool(value) || py::isinstance<py::str>(value) || !PyNumber_Check(value.ptr()))
            throw refuse("not a number");
        return py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>();
    }
}

spectrafil::EngineThread& engineThread()
{
    // Made on first use and ended when the module is unloaded at the process's exit.
    static spectrafil::EngineThread thread;
    return thread;
}

const char* levelName(spectrafil::LogLevel level)
{
    switch (level) {
    case spectrafil::LogLevel::Debug: return "debug";
    case spectrafil::LogLevel::Information: return "info";
    case spectrafil::LogLevel::Warning: return "warning";
    case spectrafil::LogLevel::Error: return "error";
    }
    return "info";
}

// Applies the filter to values (row after row), placed by the GDAL geotransform; returns a dict of
// the result's values (float32, the input's shape), name, units, parameter phrase and log lines.
py::dict run(const std::string& id, py::array_t<double, py::array::c_style | py::array::forcecast> values,
             const std::array<double, 6>& geoTransform, const py::dict& params, const std::string& name,
             const std::string& units, const std::string& crs)
{
    const F::FilterSpec* filter = F::findFilter(QString::fromStdString(id));
    if (!filter)
        throw py::value_error("no filter named " + id);
    if (values.ndim() != 2)
        throw py::value_error(name + ": a grid needs 2 dimensions, not " + std::to_string(values.ndim()));
    QVariantMap given;
    for (const auto& item : params)
        if (!item.second.is_none()) {
            const std::string key = item.first.cast<std::string>();
            given.insert(QString::fromStdString(key), givenValue(*filter, key, item.second));
        }
    spectrafil::ArrayGrid grid;
    grid.rows = static_cast<int>(values.shape(0));
    grid.columns = static_cast<int>(values.shape(1));
    grid.values = values.data();
    std::copy(geoTransform.begin(), geoTransform.end(), grid.geoTransform);
    grid.name = QString::fromStdString(name);
    grid.units = QString::fromStdString(units);
    grid.crs = QString::fromStdString(crs);

    spectrafil::FilterCall call;
    {
        py::gil_scoped_release released; // other Python threads go on while this one waits its turn
        engineThread().run([&] { call = spectrafil::applyFilter(*filter, grid, given); });
    }
    py::list log;
    for (const auto& [level, text] : call.log)
        log.append(py::make_tuple(levelName(level), text.toStdString()));
    py::dict result;
    result["log"] = log;
    if (call.error != spectrafil::CallError::None) {
        result["error"] = call.error == spectrafil::CallError::Value ? "value" : "failure";
        result["message"] = call.message.toStdString();
        return result;
    }
    py::array_t<float> out({grid.rows, grid.columns});
    std::copy(call.values.begin(), call.values.end(), out.mutable_data());
    result["values"] = out;
    result["name"] = call.resultName.toStdString();
    result["units"] = call.units.toStdString();
    result["parameters"] = call.parameters.toStdString();
    return result;
}

} // namespace

PYBIND11_MODULE(_spectrafil, m)
{
    m.doc() = "Spectrafil's filter catalogue and engine; use the spectrafil package around it.";
    m.def("catalogue", &catalogue, "The filters: id, title, texts, parameters and result suffix of each.");
    m.def("run", &run, py::arg("id"), py::arg("values"), py::arg("geotransform"), py::arg("params"),
          py::arg("name"), py::arg("units"), py::arg("crs"),
          "Applies filter id to a 2-D array placed by a GDAL geotransform; NaN marks cells without value.");
}
