#include "forward_test_support.h"
#include "scratch_dir.h"

#include "engine_threads.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

TEST(DataWindow, SelectsBinsAndRemovesTheLevel)
{
    // 5 x 4 cells of 10 on x 0..40, y 0..30: an L (no 2 x 2 block at the top right) with a hole at (1, 1).
    FilterPoints points = GridPoints(5, 4, 0, 0, 10, 10, [](int i, int j) { return 10.0 * j + i; },
                                     [](int i, int j) { return !(i >= 3 && j >= 2) && !(i == 1 && j == 1); });
    points.insert(points.end(), {2, 3, 100});        // same cell as (0, 0): the later point wins
    points.insert(points.end(), {-0.001, 20, 200});  // 0.001 outside: accepted, cell (0, 2)
    points.insert(points.end(), {-0.002, 10, 999});  // 0.002 outside: dropped
    points.insert(points.end(), {20, 30.002, 999});  // dropped
    for (double AMBF : {0.5, -999999.3}) {
        Stage stage;
        ForwardState& s = stage.s;
        s.points = &points;
        s.XECS = 40, s.YECS = 0, s.XPEXT = 40, s.YPEXT = 30, s.DXP = 10, s.DYP = 10, s.AMBF = AMBF;
        ASSERT_TRUE(WindowAndBin(s));
        EXPECT_EQ(s.NDATA, 17); // 15 grid points and the two extra ones inside
        double sum = 0;
        for (size_t n = 0; n + 3 <= points.size(); n += 3)
            sum += points[n + 2] == 999 ? 0 : points[n + 2];
        const double AV = AMBF == 0.5 ? 0.5 : sum / 17;
        EXPECT_DOUBLE_EQ(s.AV, AV);
        EXPECT_EQ(s.NX, 5);
        EXPECT_EQ(s.NY, 4);
        EXPECT_EQ(s.NTOTX, 5);
        EXPECT_DOUBLE_EQ(s.XMIN, -0.001);
        EXPECT_DOUBLE_EQ(s.YMAX, 30);
        EXPECT_DOUBLE_EQ(s.V[1][1], 100 - AV);
        EXPECT_DOUBLE_EQ(s.V[1][3], 200 - AV);
        EXPECT_DOUBLE_EQ(s.V[3][2], 12 - AV);
        EXPECT_EQ(s.V[2][2], EMPTY_CELL); // the hole
        EXPECT_EQ(s.V[5][4], EMPTY_CELL); // the missing corner
    }
}

TEST(EdgeExtrapolation, OneRowIsContinuedByTaperedMirrors)
{
    ScratchDir dir;
    // Nine cells in one row: tails of min(8/4, 5) = 2 cells, doubled to 4; one row leaves nothing to relax.
    const double f[] = {30, 70, 20, 90, 40, 80, 10, 60, 50};
    FilterPoints points = GridPoints(9, 1, 0, 0, 1, 1, [&](int i, int) { return f[i]; });
    std::vector<std::string> lines = SpectrumSection(0, 8, 0, 0, 1, 1, "5 5");
    lines[11] = "1 0";
    WriteLines("FILTER.INP", lines);
    ASSERT_TRUE(RunForward(&points).ok);
    std::ifstream raw("fpt4_2D_FWD_EXTRAPOL_RAW_FILTER.csv");
    std::string header;
    std::getline(raw, header);
    std::vector<double> x, value;
    double X, Y, V;
    char comma;
    while (raw >> X >> comma >> Y >> comma >> V) {
        x.push_back(X);
        value.push_back(V);
    }
    ASSERT_EQ(x.size(), 17u);
    // w(k) = 10^(-(k-1)^2/3) for a tail of 4: 1, 10^(-1/3), 10^(-4/3), 10^-3.
    const double w[] = {1, std::pow(10, -1.0 / 3), std::pow(10, -4.0 / 3), 1e-3};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_DOUBLE_EQ(x[4 - k], -k);
        EXPECT_NEAR(value[4 - k], w[k - 1] * (2 * f[0] - f[k]), 0.005) << k;
        EXPECT_DOUBLE_EQ(x[12 + k], 8 + k);
        EXPECT_NEAR(value[12 + k], w[k - 1] * (2 * f[8] - f[8 - k]), 0.005) << k;
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(value[4 + i], f[i], 0.005);
}

namespace {

// 40 x 200 cells (four bands of rows, each a different width of data): data in rows 20..195 from
// column 10 to a slanted edge, but for a disc; tails around it with empty cells; a few blocked
// cells inside and out.
void FillSlantedSurvey(ForwardState& s, int minusZeroAt)
{
    const int NX = 40, NY = 200;
    s.NX = s.NTOTX = NX, s.NY = s.NTOTY = NY;
    ASSERT_TRUE(AllocateGrid(s));
    for (int k = 1; k <= NY; ++k)
        s.rowRange[k] = s.columnRange[k] = RangePair{1000000, -1000000};
    for (int c = 1; c <= NX; ++c) {
        for (int r = 1; r <= NY; ++r) {
            bool data = c >= 10 && c <= 12 + r / 8 && r >= 20 && r <= 195 && (c - 20) * (c - 20) + (r - 100) * (r - 100) > 16;
            if ((c * 7 + r * 3) % 97 == 0)
                s.V[c][r] = BLOCKED_CELL;
            else if (data)
                s.V[c][r] = c == minusZeroAt ? -0.0 : std::sin(0.3 * c) * std::cos(0.05 * r);
            else if ((c + 2 * r) % 5 != 0) // tails, with gaps
                s.V[c][r] = 0.5 * std::cos(0.2 * c + 0.1 * r);
            if (data) {
                s.rowRange[r] = {std::min(s.rowRange[r].first, c), std::max(s.rowRange[r].last, c)};
                s.columnRange[c] = {std::min(s.columnRange[c].first, r), std::max(s.columnRange[c].last, r)};
            }
        }
    }
    for (int k = 1; k <= NY; ++k) {
        if (s.rowRange[k].first > s.rowRange[k].last)
            s.rowRange[k] = {NX, 1};
        if (k <= NX && s.columnRange[k].first > s.columnRange[k].last)
            s.columnRange[k] = {NY, 1};
    }
}

std::vector<double> GridValues(const ForwardState& s)
{
    return std::vector<double>(s.V[1] + 1, s.V[s.NTOTX] + s.NTOTY + 1);
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// One sweep as its definition reads: cells visited row by row, every residual taken from the
// values before the sweep (but for empty and blocked neighbours, which turn 0 on the visit, and
// blocked cells, which turn empty on theirs) and all residuals added at the end. Returns the
// sweep's log line: the misfit, sum |residual| / sum |value| of the relaxed cells, row by row.
std::string ReferenceSweep(ForwardState& s)
{
    const int NX = s.NTOTX, NY = s.NTOTY;
    auto near = [](const RangePair& range, int index) { return index >= range.first - 1 && index <= range.last + 1; };
    auto neighbour = [](double& cell) {
        if (IsEmptyCell(cell) || IsBlockedCell(cell))
            cell = 0.0;
        return cell;
    };
    std::vector<double> residual(static_cast<size_t>(NX + 1) * (NY + 1), 0.0);
    double SRES = 0, SOLD = 0;
    for (int r = 1; r <= NY; ++r) {
        for (int c = 1; c <= NX; ++c) {
            double& v = s.V[c][r];
            if (IsEmptyCell(v))
                continue;
            if (IsBlockedCell(v)) {
                v = EMPTY_CELL;
                continue;
            }
            if (near(s.rowRange[r], c) || near(s.columnRange[c], r))
                continue;
            double sum = neighbour(s.V[c == NX ? 1 : c + 1][r]) + neighbour(s.V[c][r == NY ? 1 : r + 1])
                         + neighbour(s.V[c == 1 ? NX : c - 1][r]) + neighbour(s.V[c][r == 1 ? NY : r - 1]);
            residual[static_cast<size_t>(c) * (NY + 1) + r] = sum / 4.0 - v;
            SRES += std::fabs(sum / 4.0 - v);
            SOLD += std::fabs(v);
        }
    }
    for (int c = 1; c <= NX; ++c)
        for (int r = 1; r <= NY; ++r)
            s.V[c][r] += residual[static_cast<size_t>(c) * (NY + 1) + r];
    char line[80];
    std::snprintf(line, sizeof line, " *** MISFIT MEASURE FROM SUBR. LAPLACE = %13.6E  ***\n", SRES / SOLD);
    return line;
}

std::string ReadAll(FILE* file)
{
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

} // namespace

TEST(LaplaceFill, BandsAndWavefrontGiveTheSweepsOfTheDefinitionBitForBit)
{
    // The gap fill works in bands, adds residuals as soon as nothing reads them, skips the zero
    // residuals beside the data and runs bands as a wavefront; none of it may change a bit. A -0
    // in the data is the one value a zero residual changes (to +0).
    const int32_t threadsBefore = engineThreads();
    for (int minusZeroAt : {0, 20}) {
        Stage reference;
        FillSlantedSurvey(reference.s, minusZeroAt);
        std::string misfits;
        for (int sweep = 0; sweep < 5; ++sweep)
            misfits += ReferenceSweep(reference.s);
        EXPECT_TRUE(!minusZeroAt || !std::signbit(reference.s.V[20][150]));
        for (int threads : {1, 3}) {
            setEngineThreads(threads);
            Stage stage;
            FillSlantedSurvey(stage.s, minusZeroAt);
            stage.s.fpt6 = std::tmpfile();
            ASSERT_TRUE(stage.s.fpt6);
            ASSERT_TRUE(GapFill(stage.s));
            EXPECT_TRUE(SameBits(GridValues(stage.s), GridValues(reference.s)))
                << threads << " threads, -0 in column " << minusZeroAt;
            EXPECT_EQ(ReadAll(stage.s.fpt6), misfits) << threads << " threads";
            std::fclose(stage.s.fpt6);
            stage.s.fpt6 = nullptr;
        }
    }
    setEngineThreads(threadsBefore);
}
