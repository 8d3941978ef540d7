"""The Python module against the command-line tool, and what it keeps of an xarray grid."""

import concurrent.futures
import logging
import os
import subprocess
import threading

import numpy as np
import pytest
import xarray as xr

import spectrafil

DX, DY = 100.0, 80.0  # cells that are not square catch swapped axes
NX, NY = 48, 40
WEST, SOUTH = 500000.0, 7000000.0


def survey():
    """Values north row first, as a raster stores them: three bodies, a trend and a masked corner."""
    x = WEST + DX * (np.arange(NX) + 0.5)
    y = SOUTH + DY * (np.arange(NY) + 0.5)[::-1]
    gx, gy = np.meshgrid(x, y)
    values = 5 * (gx - WEST) / 1000 + 2 * (gy - SOUTH) / 1000
    for cx, cy, width, amplitude in ((1400, 1500, 300, 120), (3300, 1100, 500, -80), (2500, 2600, 200, 60)):
        values += amplitude * np.exp(-((gx - WEST - cx) ** 2 + (gy - SOUTH - cy) ** 2) / (2 * width**2))
    values[(gx - WEST) ** 2 + (gy - SOUTH) ** 2 < 900**2] = np.nan
    return x, y, values.astype(np.float32)


def rioxarray_grid():
    """The layout rioxarray reads a GeoTIFF into: y descending, a spatial_ref coordinate."""
    x, y, values = survey()
    grid = xr.DataArray(values, dims=("y", "x"), coords={"x": x, "y": y}, name="tmi",
                        attrs={"units": "nT", "source": "synthetic"})
    return grid.assign_coords(spatial_ref=xr.DataArray(0, attrs={"crs_wkt": 'PROJCS["WGS 84 / UTM zone 35S",'
                              'GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],'
                              'PRIMEM["Greenwich",0],UNIT["degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],'
                              'PARAMETER["latitude_of_origin",0],PARAMETER["central_meridian",27],'
                              'PARAMETER["scale_factor",0.9996],PARAMETER["false_easting",500000],'
                              'PARAMETER["false_northing",10000000],UNIT["metre",1]]'}))


def write_ascii_grid(path, values, cell):
    with open(path, "w") as out:
        out.write(f"ncols {NX}\nnrows {NY}\nxllcorner {WEST}\nyllcorner {SOUTH}\ncellsize {cell}\nNODATA_value -99999\n")
        for row in values:
            out.write(" ".join("-99999" if np.isnan(v) else repr(float(v)) for v in row) + "\n")


def read_ascii_grid(path):
    with open(path) as grid:
        header = dict(next(grid).split() for _ in range(6))
        values = np.loadtxt(grid, dtype=np.float64)
    values[values == float(header["NODATA_value"])] = np.nan
    return values


TOOL_CASES = [
    ("lowpass", {"cutoff": 700}),
    ("rtp", {"inclination": -62, "declination": -18, "mag_inclination": 40, "mag_declination": 10}),
    ("hd", {"method": "ew"}),
    ("strike", {"strike": 30, "tolerance": 10, "cutoff": 500}),
    ("analytic_signal", {"attenuate": True}),
]


def tool_options(params):
    options = [["--" + key.replace("_", "-")] + ([] if value is True else [str(value)]) for key, value in params.items()]
    return [word for option in options for word in option]


@pytest.mark.parametrize("name,params", TOOL_CASES)
def test_results_equal_the_tools_on_the_same_grid(tmp_path, caplog, name, params):
    # The tool's ASCII grids have square cells; this grid is the survey squeezed to 100 m x 100 m.
    x, y, values = survey()
    grid = xr.DataArray(values, dims=("y", "x"), coords={"x": x, "y": SOUTH + DX * (np.arange(NY) + 0.5)[::-1]})
    write_ascii_grid(tmp_path / "in.asc", values, DX)
    command = [os.environ["SPECTRAFIL_TOOL"], name.replace("_", "-"), str(tmp_path / "in.asc"),
               str(tmp_path / "out.asc"), "--quiet"] + tool_options(params)
    subprocess.run(command, check=True, capture_output=True, cwd=tmp_path)
    expected = read_ascii_grid(tmp_path / "out.asc")

    with caplog.at_level(logging.INFO, logger="spectrafil"):
        result = getattr(spectrafil, name)(grid, **params)

    np.testing.assert_array_equal(np.isnan(result.values), np.isnan(expected))
    scale = np.nanmax(np.abs(expected))
    np.testing.assert_allclose(result.values, expected, rtol=0, atol=1e-6 * scale, equal_nan=True)
    assert any(record.name == "spectrafil" and "Filtering data" in record.getMessage() for record in caplog.records)


def test_every_layout_gives_the_same_grid_on_its_own_coordinates():
    grid = rioxarray_grid()
    reference = spectrafil.hd(grid, method="ns")
    assert reference.dims == grid.dims and reference.name == "tmi_hd"
    for coordinate in ("x", "y"):
        np.testing.assert_array_equal(reference[coordinate], grid[coordinate])
    np.testing.assert_array_equal(np.isnan(reference.values), np.isnan(grid.values))
    assert reference.attrs == {"units": "nT/m", "source": "synthetic", "long_name": "tmi hd filtered",
                               "filter": "hd", "filter_parameters": "method ns"}
    assert "crs_wkt" in reference.spatial_ref.attrs

    # The north-south derivative of a field rising northward is positive: the orientation is right.
    northward = grid.copy(data=np.broadcast_to(grid.y.values[:, None] - SOUTH, grid.shape).astype(np.float32))
    assert float(spectrafil.hd(northward, method="ns").median()) > 0

    layouts = [grid.sortby("y"), grid.sortby("x", ascending=False), grid.transpose("x", "y"),
               grid.rename(x="easting", y="northing")]
    for layout in layouts:
        result = spectrafil.hd(layout, method="ns")
        assert result.dims == layout.dims
        aligned = result.rename({d: n for d, n in (("easting", "x"), ("northing", "y")) if d in result.dims})
        xr.testing.assert_allclose(aligned.transpose("y", "x").sortby(["y", "x"]),
                                   reference.sortby(["y", "x"]).rename(aligned.name), rtol=0, atol=1e-6)

    # A numpy array: rows run northward, spacing (dy, dx); the same numbers come back.
    south_first = grid.sortby("y")
    array = spectrafil.hd(south_first.values.astype(np.float64), method="ns", spacing=(DY, DX))
    assert isinstance(array, np.ndarray) and array.dtype == np.float64
    np.testing.assert_allclose(array, spectrafil.hd(south_first, method="ns").values, rtol=0, atol=1e-6, equal_nan=True)


def test_three_threads_at_once_get_each_its_own_answer():
    grid = rioxarray_grid()
    jobs = [("lowpass", {"cutoff": 600}), ("vd", {}), ("continuation", {"height": 200})]
    alone = [spectrafil.filter(grid, name, **params) for name, params in jobs]
    start = threading.Barrier(len(jobs))
    folder = os.getcwd()

    def work(job):
        start.wait()
        return spectrafil.filter(grid, job[0], **job[1])

    with concurrent.futures.ThreadPoolExecutor(len(jobs)) as pool:
        together = list(pool.map(work, jobs))
    for mine, expected in zip(together, alone):
        xr.testing.assert_identical(mine, expected)
    assert os.getcwd() == folder


def test_bad_input_raises_with_the_tools_messages():
    grid = rioxarray_grid()
    refusals = [
        (ValueError, "--cutoff -5: the cut-off wavelength must be positive",
         lambda: spectrafil.lowpass(grid, cutoff=-5)),
        (ValueError, "--cutoff 100: shorter than two cells", lambda: spectrafil.lowpass(grid, cutoff=100)),
        (ValueError, "--method up: must be total, ew or ns", lambda: spectrafil.hd(grid, method="up")),
        (ValueError, "its coordinates are geographic (degrees)",
         lambda: spectrafil.vd(grid.drop_vars("spatial_ref").rename(x="lon", y="lat")
                               .assign_coords(lon=np.linspace(27, 28, NX), lat=np.linspace(-25, -26, NY)))),
        (ValueError, "its coordinates are geographic (degrees)",
         lambda: spectrafil.vd(grid.drop_vars("spatial_ref").assign_attrs(crs="EPSG:4326"))),
        (ValueError, "every cell is NaN", lambda: spectrafil.vd(grid * np.nan)),
        (ValueError, "not evenly spaced", lambda: spectrafil.vd(grid.assign_coords(x=grid.x ** 1.01))),
        (ValueError, "no filter named 'smooth'", lambda: spectrafil.filter(grid, "smooth")),
        (TypeError, "--cutoff '700': not a number", lambda: spectrafil.lowpass(grid, cutoff="700")),
        (TypeError, "--attenuate 1: not True or False", lambda: spectrafil.vd(grid, attenuate=1)),
        (TypeError, "missing a required argument: 'cutoff'", lambda: spectrafil.lowpass(grid)),
        (TypeError, "unexpected keyword argument 'cut_off'", lambda: spectrafil.lowpass(grid, cutoff=700, cut_off=700)),
        (TypeError, "needs spacing=(dy, dx)", lambda: spectrafil.vd(grid.values)),
    ]
    for error, message, call in refusals:
        with pytest.raises(error) as raised:
            call()
        assert message in str(raised.value)
