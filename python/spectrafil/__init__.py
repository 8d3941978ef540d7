"""Spectrafil's Fourier-domain filters for potential-field grids, on xarray grids and numpy arrays.

    import spectrafil
    rtp = spectrafil.rtp(tmi, inclination=-62.5, declination=-17.8, field=29000)
    vd = spectrafil.filter(tmi, "vd", order=1)

There is one function per filter of the catalogue the command-line tool ``spectrafil`` offers,
named as its subcommand (``analytic-signal`` becomes ``analytic_signal``), with its options as
keywords (dashes become underscores) and its checks and messages.

``grid`` is an ``xarray.DataArray`` with 1-D coordinates ``x`` and ``y`` (or ``easting`` and
``northing``) in either order and direction, evenly spaced; NaN marks cells without value. The
result lies on the same coordinates, with the same attributes and CRS (a ``spatial_ref``
coordinate or a ``crs`` attribute), and carries ``long_name``, ``units``, ``filter`` and
``filter_parameters`` attributes. Grids in degrees (``lon``/``lat`` coordinates, a geographic CRS)
are refused: the filters measure lengths in the grid's unit. A 2-D numpy array works too, with
``spacing=(dy, dx)``; its rows run northward (row 0 is the southern one, as ``numpy.meshgrid``
over ascending coordinates gives) and the result is a numpy array.

Bad parameters and grids raise ``ValueError`` or ``TypeError``. The progress and log lines of a
call go to the ``logging`` logger "spectrafil" when it ends (the engine's own console lines at
DEBUG level). Calls from several threads are safe; they run one at a time.
"""

import inspect
import logging

import numpy as np

from . import _spectrafil

_log = logging.getLogger("spectrafil")
_LEVELS = {"debug": logging.DEBUG, "info": logging.INFO, "warning": logging.WARNING, "error": logging.ERROR}
_X_NAMES = ("x", "easting")
_Y_NAMES = ("y", "northing")
_GEOGRAPHIC_X = ("lon", "long", "longitude")
_GEOGRAPHIC_Y = ("lat", "latitude")
_KIND_TYPES = {"flag": "bool", "choice": "str", "text": "str", "integer": "int"}

_CATALOGUE = {row["id"]: row for row in _spectrafil.catalogue()}


def _python_name(key):
    return key.replace("-", "_")


def _signature(row):
    keyword = inspect.Parameter.KEYWORD_ONLY
    parameters = [inspect.Parameter("grid", inspect.Parameter.POSITIONAL_ONLY)]
    for p in row["parameters"]:
        default = p["default"] if p["default"] is not None or p["optional"] else inspect.Parameter.empty
        parameters.append(inspect.Parameter(_python_name(p["key"]), keyword, default=default))
    parameters.append(inspect.Parameter("spacing", keyword, default=None))
    return inspect.Signature(parameters)


def _docstring(row):
    lines = [f'{row["summary"]}.', "", row["response"], "", "Parameters", "----------",
             "grid : xarray.DataArray or numpy.ndarray"]
    for p in row["parameters"]:
        kind = _KIND_TYPES.get(p["kind"], "float")
        if p["choices"]:
            kind = " | ".join(repr(word) for word in p["choices"])
        default = "optional" if p["optional"] else ("required" if p["default"] is None else f'default {p["default"]!r}')
        lines += [f'{_python_name(p["key"])} : {kind}, {default}', f'    {p["help"]}']
    lines += ["spacing : (dy, dx), for a numpy array only", "", "Returns", "-------",
              f'The grid filtered, its long_name ending in "{row["result_suffix"]}".']
    return "\n".join(lines)


_SIGNATURES = {name: _signature(row) for name, row in _CATALOGUE.items()}


def _step(coordinate, name):
    values = np.asarray(coordinate, dtype=np.float64)
    if values.ndim != 1 or values.size < 2:
        raise ValueError(f"{name}: coordinate {coordinate.name!r} needs at least 2 values to give a cell size")
    step = (values[-1] - values[0]) / (values.size - 1)
    if not np.isfinite(step) or step == 0 or not np.allclose(np.diff(values), step, rtol=1e-6, atol=0):
        raise ValueError(f"{name}: coordinate {coordinate.name!r} is not evenly spaced; "
                         "the filters need cells of one size")
    return values[0], step


def _axes(grid, name):
    """The x and y dimensions of a DataArray, and whether they are longitude and latitude."""
    if grid.ndim != 2:
        raise ValueError(f"{name}: a grid needs 2 dimensions, not {grid.ndim} {grid.dims}")
    lower = [str(dim).lower() for dim in grid.dims]
    for xs, ys, geographic in ((_X_NAMES, _Y_NAMES, False), (_GEOGRAPHIC_X, _GEOGRAPHIC_Y, True)):
        x = next((dim for dim, low in zip(grid.dims, lower) if low in xs), None)
        y = next((dim for dim, low in zip(grid.dims, lower) if low in ys), None)
        if x is not None and y is not None:
            return x, y, geographic
    raise ValueError(f"{name}: dimensions {grid.dims} are not x and y (or easting and northing)")


def _crs(grid):
    """The CRS as rioxarray, CF or a plain attribute gives it; empty for none."""
    mapping = grid.attrs.get("grid_mapping", grid.encoding.get("grid_mapping", "spatial_ref"))
    if mapping in grid.coords:
        attrs = grid.coords[mapping].attrs
        for key in ("crs_wkt", "spatial_ref"):
            if attrs.get(key):
                return str(attrs[key])
    crs = grid.attrs.get("crs")
    if crs is None:
        return ""
    return crs.to_wkt() if hasattr(crs, "to_wkt") else str(crs)


def _values(data, name):
    array = np.ma.asarray(data)
    if array.dtype.kind not in "iuf":
        raise TypeError(f"{name}: values of dtype {array.dtype} are not real numbers")
    return np.ma.filled(array.astype(np.float64), np.nan)


def _placement(grid, spacing):
    """Values, GDAL geotransform, name, units and CRS of a DataArray or a numpy array."""
    if isinstance(grid, np.ndarray):
        if spacing is None:
            raise TypeError("a numpy array needs spacing=(dy, dx), the cell size along its rows and its columns")
        try:
            dy, dx = (float(size) for size in spacing)
        except (TypeError, ValueError):
            raise TypeError(f"spacing={spacing!r}: give two numbers, (dy, dx)") from None
        if not (dx > 0 and dy > 0 and np.isfinite(dx) and np.isfinite(dy)):
            raise ValueError(f"spacing={spacing!r}: the cell sizes must be positive and finite")
        if grid.ndim != 2:
            raise ValueError(f"grid: a grid needs 2 dimensions, not {grid.ndim}")
        return _values(grid, "grid"), (0.0, dx, 0.0, 0.0, 0.0, dy), "grid", "", ""
    if not hasattr(grid, "dims") or not hasattr(grid, "coords"):
        raise TypeError(f"grid: an xarray.DataArray or a 2-D numpy array, not {type(grid).__name__}")
    if spacing is not None:
        raise TypeError("spacing is for numpy arrays; a DataArray's coordinates give its cell size")
    name = str(grid.name) if grid.name is not None else "grid"
    x, y, geographic = _axes(grid, name)
    (x0, sx), (y0, sy) = _step(grid[x], name), _step(grid[y], name)
    if grid.dims == (y, x):  # rows along y
        transform = (x0 - sx / 2, sx, 0.0, y0 - sy / 2, 0.0, sy)
    else:  # rows along x
        transform = (x0 - sx / 2, 0.0, sx, y0 - sy / 2, sy, 0.0)
    crs = "EPSG:4326" if geographic and not _crs(grid) else _crs(grid)
    return _values(grid.values, name), transform, name, str(grid.attrs.get("units", "")), crs


def _given(row, grid, spacing, params):
    bound = _SIGNATURES[row["id"]].bind(grid, spacing=spacing, **params)
    return {key.replace("_", "-"): value for key, value in bound.arguments.items() if key not in ("grid", "spacing")}


def filter(grid, name, *, spacing=None, **params):  # noqa: A001 - the module's verb
    """Applies the filter called name (a tool subcommand, e.g. "lowpass") to grid; see its function."""
    row = _CATALOGUE.get(str(name).replace("_", "-"))
    if row is None:
        known = ", ".join(_python_name(key) for key in _CATALOGUE)
        raise ValueError(f"no filter named {name!r}; the filters are {known}")
    given = _given(row, grid, spacing, params)
    values, transform, source, units, crs = _placement(grid, spacing)
    answer = _spectrafil.run(row["id"], values, transform, given, source, units, crs)
    for level, text in answer["log"]:
        _log.log(_LEVELS[level], "%s", text)
    if "error" in answer:
        raise (ValueError if answer["error"] == "value" else RuntimeError)(answer["message"])
    dtype = grid.dtype if grid.dtype.kind == "f" else np.float64
    result = answer["values"].astype(dtype, copy=False)
    if isinstance(grid, np.ndarray):
        return result
    out = grid.copy(data=result)
    if grid.name is not None:
        out.name = f"{grid.name}_{_python_name(row['id'])}"
    out.attrs["long_name"] = answer["name"]
    if answer["units"]:
        out.attrs["units"] = answer["units"]
    else:
        out.attrs.pop("units", None)
    out.attrs["filter"] = row["id"]
    out.attrs["filter_parameters"] = answer["parameters"]
    return out


def _make_function(row):
    def run(grid, /, **params):
        return filter(grid, row["id"], **params)

    run.__name__ = run.__qualname__ = _python_name(row["id"])
    run.__signature__ = _SIGNATURES[row["id"]]
    run.__doc__ = _docstring(row)
    return run


for _row in _CATALOGUE.values():
    globals()[_python_name(_row["id"])] = _make_function(_row)

__all__ = ["filter"] + [_python_name(key) for key in _CATALOGUE]
del _row
