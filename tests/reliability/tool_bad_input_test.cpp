// The `spectrafil` tool as a subprocess on damaged files, awkward grids and a hostile environment
// (memory and file-size limits, folders it may not write). Every case checks the exit status and
// message, that the input is byte for byte as it was, and that no output and no staging folder
// are left unless the run succeeded.

#include "raster_fixture.h"
#include "reliability_support.h"
#include "scratch_dir.h"

#include <cpl_string.h>
#include <gdal.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace reliability;
namespace fs = std::filesystem;

namespace {

// Replaces the calling (child) process with the tool, TMPDIR replaced when tmpdir is given.
int ExecTool(const QStringList& arguments, const std::string& tmpdir)
{
    std::vector<std::string> words = {SPECTRAFIL_TOOL};
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    if (!tmpdir.empty())
        setenv("TMPDIR", tmpdir.c_str(), 1);
    execv(argv[0], argv.data());
    return 127;
}

// The tool under limits and with TMPDIR replaced (when tmpdir is given); standard error is
// collected in an unnamed file, since the child's own is sent to /dev/null.
ToolRun RunLimited(const QStringList& arguments, const ChildLimits& limits, const std::string& tmpdir = {})
{
    FILE* err = std::tmpfile();
    ToolRun run;
    run.exitCode = RunInChild(
        [&] {
            dup2(fileno(err), 2);
            return ExecTool(arguments, tmpdir);
        },
        limits);
    std::rewind(err);
    std::string text;
    for (int c; (c = std::fgetc(err)) != EOF;)
        text += char(c);
    std::fclose(err);
    run.err = QString::fromStdString(text);
    return run;
}

QStringList Lowpass(const std::string& in, const std::string& out, QStringList more = {})
{
    return QStringList{"lowpass", QString::fromStdString(in), QString::fromStdString(out), "--cutoff", "400", "-q"} + more;
}

// True once a file of that name exists anywhere under folder (which the tool is changing).
bool FileUnder(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().filename() == name)
            return true;
    return false;
}

// True when the folder holds nothing but what Qt's offscreen platform keeps there (its runtime folder).
bool NothingButQtRuntimeIn(const fs::path& folder)
{
    const std::set<std::string> names = Listing(folder);
    return std::all_of(names.begin(), names.end(), [](const std::string& name) { return name.rfind("runtime-", 0) == 0; });
}

bool StagingLeft(const fs::path& folder)
{
    for (const std::string& name : Listing(folder))
        if (name.rfind(".spectrafil-", 0) == 0)
            return true;
    return false;
}

// A refused run: its status and message, nothing written beside the output, the input as it was.
void ExpectRefused(const ToolRun& run, int status, const char* message, const std::string& input, const std::string& digest,
                   const std::string& output)
{
    EXPECT_EQ(run.exitCode, status) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(message))) << run.err.toStdString();
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(StagingLeft(fs::path(output).parent_path()));
    EXPECT_EQ(Digest(input), digest);
}

std::string AsciiGrid(int columns, int rows, const std::string& values, double cell = 100.0, double west = 0.0)
{
    return "ncols " + std::to_string(columns) + "\nnrows " + std::to_string(rows) + "\nxllcorner " + std::to_string(west) +
           "\nyllcorner 0\ncellsize " + std::to_string(cell) + "\nNODATA_value -9999\n" + values;
}

// A north-up grid of cells of 100 m holding value(column, row).
Raster Filled(int columns, int rows, const std::function<double(int, int)>& value)
{
    Raster r = bumpGrid(columns, rows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            r.values[size_t(row) * size_t(columns) + size_t(column)] = value(column, row);
    return r;
}

// A GeoTIFF of that size whose blocks are all left out (read as 0): a few hundred bytes on disk.
std::string SparseTiff(const std::string& path, int columns, int rows, bool georeferenced = true)
{
    GDALAllRegister();
    char** options = CSLSetNameValue(nullptr, "SPARSE_OK", "TRUE");
    GDALDatasetH file = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), columns, rows, 1, GDT_Float32, options);
    CSLDestroy(options);
    double geoTransform[6] = {0, 100, 0, rows * 100.0, 0, -100};
    if (georeferenced)
        GDALSetGeoTransform(file, geoTransform);
    GDALClose(file);
    return path;
}

class ToolBadInput : public ::testing::Test {
protected:
    ScratchDir scratch;

    // Writes bytes as a new input file and returns its path.
    std::string Input(const std::string& name, const std::string& bytes)
    {
        WriteBytes(scratch.file(name), bytes);
        return scratch.file(name);
    }
    std::string GdalInput(const std::string& name, const char* driver, const Raster& raster)
    {
        writeRaster(scratch.file(name), driver, raster);
        return scratch.file(name);
    }
};

} // namespace

// Damaged files, and values the filters cannot take.
TEST_F(ToolBadInput, DamagedFilesAndUnusableValuesAreRefusedWithAMessage)
{
    const std::string asc = fileBytes(GdalInput("good.asc", "AAIGrid", bumpGrid(12, 10)));
    std::string farValues;
    for (int i = 0; i < 200; ++i)
        farValues += "5 ";
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::string input;
        const char* message;
    } cases[] = {
        {Input("empty.tif", ""), "not a grid GDAL can read"},
        {Input("header_only.asc", asc.substr(0, asc.find("\n", asc.find("NODATA")) + 1)), "Couldn't find data values"},
        {Input("half_rows.asc", asc.substr(0, asc.size() / 2)), "reading failed"},
        {Input("beyond_doubles.asc", AsciiGrid(100, 2, farValues, 1e307, 1e308)), "its extent is not finite"},
        {Input("letters_in_values.asc", AsciiGrid(3, 2, "1 2 3\n4 abc 6\n")), "value 5 (\"abc\") is not a finite number"},
        {Input("infinite_value.asc", AsciiGrid(3, 2, "1 2 3\n4 5 inf\n")), "value 6 (\"inf\") is not a finite number"},
        {Input("negative_cells.asc", AsciiGrid(3, 2, "1 2 3\n4 5 6\n", -100.0)),
         "cellsize -100.000000 in its header: the cell size must be positive"},
        {GdalInput("infinite.tif", "GTiff", Filled(12, 10, [inf](int c, int r) { return c == 3 && r == 4 ? inf : 7.0; })),
         "must be finite"},
        {GdalInput("absurd.tif", "GTiff", Filled(12, 10, [](int c, int r) { return c == 3 && r == 4 ? 3e30 : 7.0; })),
         "at most 1e8"},
        {GdalInput("all_nan.tif", "GTiff", Filled(12, 10, [](int, int) { return NAN; })), "Entire data set was NDV"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string input = c.input, output = scratch.file("out.tif");
        const std::string digest = Digest(input);
        ExpectRefused(runTool(Lowpass(input, output)), 1, c.message, input, digest, output);
        fs::remove(output);
    }
}

// A header that claims about 10^9 cells is refused before any of them is allocated: the tool runs
// with an address space far below 4 GB, in which a grid of the same files' small sizes succeeds.
TEST_F(ToolBadInput, HugeClaimedGridIsRefusedBeforeAnythingIsAllocated)
{
#if defined(__SANITIZE_ADDRESS__)
    const ChildLimits limits; // AddressSanitizer reserves terabytes of shadow memory up front
#else
    ChildLimits limits;
    limits.addressSpaceMb = 256;
#endif
    const std::string control = GdalInput("small.asc", "AAIGrid", bumpGrid(12, 10));
    const ToolRun run = RunLimited(Lowpass(control, scratch.file("small_out.tif")), limits);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const struct {
        std::string input;
        const char* message;
    } cases[] = {
        {Input("square.asc", AsciiGrid(31623, 31623, "1 2 3\n")), "it has 31623 x 31623 cells; at most 5459"},
        {Input("one_row.asc", AsciiGrid(1000000000, 1, "1 2\n")), "not a grid GDAL can read"},
        {SparseTiff(scratch.file("sparse.tif"), 31623, 31623), "it has 31623 x 31623 cells"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string digest = Digest(c.input), output = scratch.file("out.tif");
        ExpectRefused(RunLimited(Lowpass(c.input, output), limits), 1, c.message, c.input, digest, output);
    }
}

// Awkward but valid grids are filtered, cells without value staying without value. Lowpass keeps a
// constant grid constant, whatever its shape.
TEST_F(ToolBadInput, AwkwardButValidGridsAreFiltered)
{
    const struct {
        std::string name;
        Raster raster;
    } cases[] = {
        {"one_nan.tif", Filled(12, 10, [](int c, int r) { return c == 3 && r == 4 ? NAN : 7.0; })},
        {"one_row.tif", Filled(20, 1, [](int, int) { return 7.0; })},
        {"one_column.tif", Filled(1, 15, [](int, int) { return 7.0; })},
        {"one_cell.tif", Filled(9, 9, [](int c, int r) { return c == 4 && r == 2 ? 7.0 : -99999.0; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = GdalInput(c.name, "GTiff", c.raster), output = scratch.file("out.tif");
        const std::string digest = Digest(input);
        const ToolRun run = runTool(Lowpass(input, output));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(Digest(input), digest);
        EXPECT_FALSE(StagingLeft(scratch.path()));
        const Raster result = readRaster(output);
        ASSERT_EQ(result.values.size(), c.raster.values.size());
        for (size_t i = 0; i < result.values.size(); ++i) {
            const double in = c.raster.values[i];
            const bool defined = !std::isnan(in) && in != c.raster.noData;
            EXPECT_EQ(result.values[i] != result.noData, defined) << i;
            if (defined) {
                EXPECT_NEAR(result.values[i], 7.0, 1e-4) << i;
            }
        }
        fs::remove(output);
    }
}

// Parameters that cannot give a meaningful grid are refused before any work, with the option, the
// value and why; a result that is not finite is refused before it is written. Nothing is left.
TEST_F(ToolBadInput, MeaninglessParametersAndResultsAreRefused)
{
    const std::string input = GdalInput("in.tif", "GTiff", bumpGrid(24, 20));
    Raster degrees = bumpGrid(24, 20);
    degrees.geoTransform = {{27.0, 0.01, 0, -25.0, 0, -0.01}};
    degrees.crsWkt = epsgWkt(4326);
    const std::string geographic = GdalInput("degrees.tif", "GTiff", degrees);
    const std::string digest = Digest(input), output = scratch.file("out.tif");
    auto run = [&](const std::string& in, QStringList arguments) {
        arguments.insert(1, QString::fromStdString(in));
        arguments.insert(2, QString::fromStdString(output));
        return runTool(arguments);
    };
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"susceptibility", "--height", "100", "--field", "0", "--inclination", "-60", "--declination", "5"},
         "--field 0: the inducing field strength must be positive (nT)"},
        {{"susceptibility", "--height", "-80", "--field", "50000", "--inclination", "-60", "--declination", "5"},
         "--height -80: the height of the observations above the sources must be 0 or more"},
        {{"lowpass", "--cutoff", "0"}, "--cutoff 0: the cut-off wavelength must be positive"},
        {{"lowpass", "--cutoff", "150"}, "--cutoff 150: shorter than two cells (2 x 100 m)"},
        {{"strike", "--strike", "95", "--tolerance", "10", "--cutoff", "1000"}, "--strike 95: must be within -90 to 90"},
        {{"rtp", "--inclination", "0", "--declination", "0", "--stabilise", "off"},
         "Reduction to the pole: the result has no defined cell; likely cause: an inclination too close to 0"},
        {{"rtp", "--igrf", "1899.9"}, "--igrf 1899.9: IGRF-14 covers the years 1900 to 2030"},
        {{"rtp", "--inclination", "3", "--declination", "0", "--stabilise", "sideways"}, "--stabilise sideways: must be"},
        {{"rtp", "--inclination", "30", "--declination", "0", "--mag-inclination", "20"},
         "--mag-inclination and --mag-declination go together"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun result = run(input, c.arguments + QStringList{"--srs", "EPSG:32735"});
        ExpectRefused(result, 1, c.message, input, digest, output);
        EXPECT_EQ(result.err.count(QStringLiteral("error:")), 1) << result.err.toStdString();
    }
    const std::string geographicDigest = Digest(geographic);
    const ToolRun degreesRun = run(geographic, {"vd"});
    ExpectRefused(degreesRun, 1, "geographic (degrees)", geographic, geographicDigest, output);
    EXPECT_TRUE(degreesRun.err.contains("gdalwarp -t_srs EPSG:32735")) << degreesRun.err.toStdString();
}

// Parameters that work but may surprise get a warning that says what the result is; the run succeeds.
TEST_F(ToolBadInput, SurprisingButValidInputGetsAWarning)
{
    Raster degreeLike = bumpGrid(24, 20);
    degreeLike.crsWkt.clear();
    degreeLike.geoTransform = {{27.0, 0.01, 0, -25.0, 0, -0.01}};
    const std::string input = GdalInput("in.tif", "GTiff", bumpGrid(24, 20));
    const struct {
        std::string input;
        QStringList arguments;
        const char* warning;
    } cases[] = {
        {input, {"lowpass", "--cutoff", "1e7"}, "longer than the grid with its tails (about 3120 m): the result will be little"},
        {input, {"continuation", "--height", "0"}, "--height 0: no continuation; only the built-in roll-off is applied"},
        {input, {"rtp", "--inclination", "3", "--declination", "10"}, "inclination 3 deg (magnetisation 3 deg) is shallower than 15 deg"},
        {GdalInput("degree_like.tif", "GTiff", degreeLike), {"vd"}, "look like degrees"},
        {SparseTiff(scratch.file("no_geotransform.tif"), 12, 10, false), {"vd"}, "has no geotransform: cells of 1 x 1 grid unit are assumed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QStringList arguments = c.arguments;
        arguments.insert(1, QString::fromStdString(c.input));
        arguments.insert(2, QString::fromStdString(scratch.file("out.tif")));
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("spectrafil: warning: ")) && run.err.contains(QString::fromUtf8(c.warning)))
            << run.err.toStdString();
        fs::remove(scratch.file("out.tif"));
    }
}

// Cells without value survive every format: "nan" cells of an ESRI ASCII grid whose values look
// like integers, NaN cells of a GeoTIFF without nodata value written as .asc (a number for nodata,
// values with 9 significant digits), and a nodata value declared with --nodata.
TEST_F(ToolBadInput, CellsWithoutValueSurviveEveryFormat)
{
    Raster holes = bumpGrid(12, 10);
    holes.hasNoData = false;
    holes.values[13] = NAN;
    holes.values[40] = 0.0;
    const struct {
        std::string input;
        QStringList options;
        std::string output;
        std::vector<size_t> holes; // of the output, in file order
    } cases[] = {
        {Input("integers.asc", AsciiGrid(4, 3, "1 2 3 4\n5 nan 7 8\n9 10 NaN 12\n")), {}, "from_asc.tif", {5, 10}},
        {GdalInput("holes.tif", "GTiff", holes), {}, "holes.asc", {13}},
        {GdalInput("zero.tif", "GTiff", holes), {"--nodata", "0"}, "zero_out.tif", {13, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const std::string output = scratch.file(c.output);
        const ToolRun run = runTool(Lowpass(c.input, output, c.options));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const Raster result = readRaster(output);
        ASSERT_TRUE(result.hasNoData && std::isfinite(result.noData));
        for (size_t i = 0; i < result.values.size(); ++i)
            EXPECT_EQ(result.values[i] == result.noData,
                      std::find(c.holes.begin(), c.holes.end(), i) != c.holes.end()) << i;
    }
    const std::string ascii = fileBytes(scratch.file("holes.asc"));
    EXPECT_NE(ascii.find("NODATA_value  -99999"), std::string::npos) << ascii.substr(0, 200);
    const std::string firstValue = ascii.substr(ascii.find("\n ", ascii.find("NODATA")) + 2, 20);
    EXPECT_LE(firstValue.substr(0, firstValue.find(' ')).size(), 11u) << firstValue; // sign, point, 9 digits
}

// Folders the tool cannot use, and a disk that fills up (a file-size limit, its signal ignored so
// that writes fail as on a full disk). Root is dropped where folder permissions must apply. A
// temporary work folder is removed even when the run fails.
TEST_F(ToolBadInput, FoldersItCannotUseAndAFullDisk)
{
    fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    const std::string input = GdalInput("in.asc", "AAIGrid", bumpGrid(16, 12));
    // Long coordinates make the XYZ result larger than the engine's spectrum file.
    Raster odd = bumpGrid(16, 12);
    odd.geoTransform = {{512345.678901, 100.123456, 0, 7013547.16, 0, -100.123456}};
    const std::string oddInput = GdalInput("odd.asc", "AAIGrid", odd);
    const std::string digest = Digest(input), oddDigest = Digest(oddInput);
    const std::string readOnly = scratch.file("read_only"), tmp = scratch.file("tmp"), box = scratch.file("box");
    for (const std::string& folder : {readOnly, tmp, box}) {
        fs::create_directory(folder);
        chmod(folder.c_str(), folder == readOnly ? 0555 : 0777);
    }
    const std::string out = box + "/out.asc", xyz = box + "/out.xyz", preview = box + "/p.png";
    ChildLimits nobody, full, fullLater, fullAtPreview;
    nobody.asNobody = true;
    full.fileSizeBytes = 4096;       // below the engine's spectrum file
    fullLater.fileSizeBytes = 10240; // above every engine file, below the XYZ result
    fullAtPreview.fileSizeBytes = 100000;
    const struct {
        const char* name;
        QStringList arguments;
        ChildLimits limits;
        std::string tmpdir, output;
        const char* message;
    } cases[] = {
        {"output folder read-only", Lowpass(input, readOnly + "/out.asc"), nobody, tmp, readOnly + "/out.asc", "cannot write in folder"},
        {"disk full at the spectrum file", Lowpass(input, out), full, tmp, out, "failed; nothing was written"},
        {"disk full at the result", Lowpass(oddInput, xyz, {"--format", "XYZ"}), fullLater, tmp, xyz, "writing as XYZ failed"},
        {"disk full at the preview", Lowpass(input, out, {"--preview", QString::fromStdString(preview)}), fullAtPreview, tmp, out,
         "cannot write the PNG image"},
        {"input is a folder", Lowpass(box, out), {}, tmp, out, "is a folder, not a grid file"},
        {"TMPDIR missing", Lowpass(input, out), {}, scratch.file("no/such/folder"), out, "cannot make a temporary work folder"},
        {"--keep-work in a read-only folder", Lowpass(input, out, {"--keep-work", QString::fromStdString(readOnly + "/work")}),
         nobody, tmp, out, "cannot be used as work folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(RunLimited(c.arguments, c.limits, c.tmpdir), 1, c.message, input, digest, c.output);
        EXPECT_EQ(Digest(oddInput), oddDigest);
        EXPECT_EQ(Listing(box), std::set<std::string>{});
        EXPECT_EQ(Listing(readOnly), std::set<std::string>{});
        EXPECT_TRUE(NothingButQtRuntimeIn(tmp));
    }
    chmod(readOnly.c_str(), 0755);
}

// Ctrl-C, a closed terminal or kill in the middle of a run, once the engine has begun writing its
// spectrum file: the tool dies of the signal (so a script sees an interruption) and leaves neither
// its temporary work folder nor a staging folder beside the output, saying only that it was
// interrupted. A signal ignored by whoever started the tool (nohup) does not stop it. A pipe
// closed under the tool's messages (`spectrafil ... -v 2>&1 | head -1`) ends it the same way.
TEST_F(ToolBadInput, InterruptedRunLeavesNothingBehind)
{
    const std::string input = GdalInput("in.tif", "GTiff", bumpGrid(1000, 1000));
    const std::string digest = Digest(input);
    const std::string tmp = scratch.file("tmp"), box = scratch.file("box"), output = box + "/out.tif";
    const std::string errors = scratch.file("errors.txt");
    fs::create_directory(tmp);
    fs::create_directory(box);
    const struct {
        int signal;
        bool ignored;
    } cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGHUP, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.ignored ? ", ignored" : ""));
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            if (!std::freopen("/dev/null", "w", stdout) || !std::freopen(errors.c_str(), "w", stderr))
                _exit(126);
            if (c.ignored)
                signal(c.signal, SIG_IGN);
            _exit(ExecTool(Lowpass(input, output), tmp));
        }
        int status = 0;
        bool running = true;
        while (running && !FileUnder(tmp, "fpt15_2D_FWD_SPEC_FILTER.BIN"))
            running = waitpid(pid, &status, WNOHANG) == 0 && usleep(1000) == 0;
        kill(pid, c.signal);
        waitpid(pid, &status, 0);
        ASSERT_TRUE(running) << "the run ended before it could be interrupted";
        // Only the tool's last word: not the working thread's complaints about its vanished files.
        EXPECT_EQ(fileBytes(errors), c.ignored ? "" : "\nspectrafil: interrupted; unfinished files removed\n");
        if (c.ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            EXPECT_EQ(Listing(box), std::set<std::string>{"out.tif"});
            fs::remove(output);
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
            EXPECT_EQ(Listing(box), std::set<std::string>{});
        }
        EXPECT_TRUE(NothingButQtRuntimeIn(tmp));
        EXPECT_EQ(Digest(input), digest);
    }

    int messages[2];
    ASSERT_EQ(pipe(messages), 0);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(messages[0]);
        dup2(messages[1], 2);
        _exit(ExecTool({"lowpass", QString::fromStdString(input), QString::fromStdString(output), "--cutoff", "400", "-v"}, tmp));
    }
    close(messages[1]);
    char first = 0;
    ASSERT_EQ(read(messages[0], &first, 1), 1); // the first message is out: the run has begun
    close(messages[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
    EXPECT_EQ(Listing(box), std::set<std::string>{});
    EXPECT_TRUE(NothingButQtRuntimeIn(tmp));
}
