// The forward run's spectrum file against the one the inverse-run tests lay out by hand for the same
// grid (SpectrumGrid::Write, its half spectrum by the DFT definition): the header and range tables
// byte for byte, the spectrum to within rounding.

#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <cstring>

namespace {

const double PI = 3.14159265358979323846;

void ExpectSameSpectrumFile(const std::string& bytes, const inverse_test::SpectrumGrid& expected, double tolerance)
{
    expected.Write("expected.bin");
    const std::string want = fileBytes("expected.bin");
    const size_t fixed = static_cast<size_t>(expected.HeaderBytes() + expected.TableBytes());
    ASSERT_EQ(bytes.size(), want.size());
    EXPECT_TRUE(bytes.compare(0, fixed, want, 0, fixed) == 0) << "header or range tables differ";
    for (size_t at = fixed; at + 8 <= bytes.size(); at += 8) {
        double value = 0, wanted = 0;
        std::memcpy(&value, bytes.data() + at, 8);
        std::memcpy(&wanted, want.data() + at, 8);
        ASSERT_NEAR(value, wanted, tolerance) << "spectrum value " << (at - fixed) / 8;
    }
}

} // namespace

TEST(SpectrumFile, PlaneWaveWithoutTails)
{
    ScratchDir dir;
    // 16 x 16 cells, no tails, so NX = LX = 16: g = 2 cos(2 pi (3 i + 2 j) / 16), all of it at (3, 2).
    const auto wave = [](int i, int j) { return 2.0 * std::cos(2 * PI * (3 * i + 2 * j) / 16.0); };
    WriteLines("FILTER.INP", SpectrumSection(5, 155, 7, 157, 10, 10));
    FilterPoints points = GridPoints(16, 16, 5, 7, 10, 10, wave);
    ASSERT_TRUE(RunForward(&points).ok);
    inverse_test::SpectrumGrid expected;
    expected.XPMIN = 5, expected.YPMIN = 7;
    expected.Fill(16, 16, 16, 16, [&](int ix, int iy) { return wave(ix - 1, iy - 1); });
    ExpectSameSpectrumFile(fileBytes("fpt15_2D_FWD_SPEC_FILTER.BIN"), expected, 1e-9);
    EXPECT_NEAR(expected.HalfSpectrum()[2 * 16 + 3].real(), 256.0, 1e-9); // A N / 2
}

TEST(SpectrumFile, FootprintOfAnLShapeAndSpectrumOfTheExtendedGrid)
{
    ScratchDir dir;
    // 7 x 5 cells without the 3 x 2 block at the top right; tails of 3 cells asked, cut to 1, doubled.
    Stage stage;
    ForwardState& s = stage.s;
    FilterPoints points = GridPoints(7, 5, 0, 0, 10, 10, [](int i, int j) { return 50 + i * i - 3.0 * j; },
                                     [](int i, int j) { return !(i >= 4 && j >= 3); });
    s.points = &points;
    s.XECS = 60, s.XPEXT = 60, s.YPEXT = 40, s.DXP = 10, s.DYP = 10, s.NTAILX = 3, s.NTAILY = 3, s.AMBF = 40;
    s.fpt15 = std::tmpfile();
    ASSERT_TRUE(WindowAndBin(s) && ExtrapolateEdges(s) && GapFill(s));
    ASSERT_EQ(s.NX, 11);
    ASSERT_EQ(s.NY, 9);
    // The extended grid as it stands before the transform, empty cells as zero, from (-20, -20);
    // the data's footprint is columns 3 to 9 and rows 3 to 7, less the missing block.
    inverse_test::SpectrumGrid expected;
    expected.XPMIN = expected.YPMIN = -20, expected.AV = 40, expected.NTAILX = expected.NTAILY = 2;
    expected.Fill(s.NX, s.NY, 16, 16, [&s](int ix, int iy) {
        double v = s.V[ix - s.NDX][iy - s.NDY];
        return NINT(v) == -999999 ? 0 : v;
    });
    expected.SetFootprint(3, 9, 3, 7, [](int ix, int iy) { return !(ix >= 7 && iy >= 6); });
    ASSERT_TRUE(TransformAndWriteSpectrum(s));
    std::fseek(s.fpt15, 0, SEEK_END);
    std::string bytes(std::ftell(s.fpt15), '\0');
    std::rewind(s.fpt15);
    ASSERT_EQ(std::fread(&bytes[0], 1, bytes.size(), s.fpt15), bytes.size());
    ExpectSameSpectrumFile(bytes, expected, 1e-6);
}
