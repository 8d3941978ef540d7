#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <cstring>

namespace {

const double PI = 3.14159265358979323846;

// Reads the spectrum file field by field as it is laid out: little-endian doubles and int32s.
class SpectrumReader {
public:
    explicit SpectrumReader(const std::string& bytes) : bytes_(bytes) {}
    double Double() { return Take<double>(); }
    int32_t Int() { return Take<int32_t>(); }
    std::vector<int32_t> Ints(int n)
    {
        std::vector<int32_t> values;
        for (int k = 0; k < n; ++k)
            values.push_back(Int());
        return values;
    }
    // The half spectrum of an LX x LY grid: record ky, element kx at ky * LX + kx.
    std::vector<std::complex<double>> Records(int32_t LX, int32_t LY)
    {
        std::vector<std::complex<double>> F;
        for (int k = 0; k < LX * (LY / 2 + 1); ++k) {
            double re = Double();
            F.emplace_back(re, Double());
        }
        return F;
    }
    size_t Left() const { return bytes_.size() - at_; }

private:
    template <typename T> T Take()
    {
        T value{};
        if (at_ + sizeof(T) <= bytes_.size())
            std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    const std::string& bytes_;
    size_t at_ = 0;
};

} // namespace

TEST(SpectrumFile, HeaderFootprintAndPlaneWaveAsLaidOut)
{
    ScratchDir dir;
    // 16 x 16 cells, no tails, so NX = LX = 16: g = 2 cos(2 pi (3 i + 2 j) / 16).
    WriteLines("FILTER.INP", SpectrumSection(5, 155, 7, 157, 10, 10));
    FilterPoints points = GridPoints(16, 16, 5, 7, 10, 10,
                                     [](int i, int j) { return 2.0 * std::cos(2 * PI * (3 * i + 2 * j) / 16.0); });
    ASSERT_TRUE(RunForward(&points).ok);
    std::string bytes = fileBytes("fpt15_2D_FWD_SPEC_FILTER.BIN");
    SpectrumReader in(bytes);
    const double header[] = {5, 155, 7, 157, 10, 10, 5, 7};
    for (double expected : header)
        EXPECT_DOUBLE_EQ(in.Double(), expected);
    EXPECT_EQ(in.Ints(4), (std::vector<int32_t>{16, 16, 16, 16}));
    EXPECT_DOUBLE_EQ(in.Double(), 0.0); // A
    EXPECT_DOUBLE_EQ(in.Double(), 1.0); // CT
    EXPECT_DOUBLE_EQ(in.Double(), 0.0); // ST
    EXPECT_EQ(in.Ints(6), (std::vector<int32_t>{0, 0, 1, 16, 1, 16}));
    for (int32_t first : {1, 16, 1, 16})
        EXPECT_EQ(in.Ints(16), std::vector<int32_t>(16, first));
    ASSERT_EQ(in.Left(), 16u * 16 * 9);
    const auto F = in.Records(16, 16);
    for (int ky = 0; ky <= 8; ++ky) {
        for (int kx = 0; kx < 16; ++kx) {
            std::complex<double> expected = kx == 3 && ky == 2 ? 256.0 : 0.0; // A N / 2
            EXPECT_NEAR(std::abs(F[ky * 16 + kx] - expected), 0.0, 1e-9) << kx << " " << ky;
        }
    }
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
    // The extended grid as it stands before the transform, empty cells as zero.
    inverse_test::SpectrumGrid g;
    g.Fill(s.NX, s.NY, 16, 16, [&s](int ix, int iy) {
        double v = s.V[ix - s.NDX][iy - s.NDY];
        return NINT(v) == -999999 ? 0 : v;
    });
    ASSERT_TRUE(TransformAndWriteSpectrum(s));
    std::fseek(s.fpt15, 0, SEEK_END);
    std::string bytes(std::ftell(s.fpt15), '\0');
    std::rewind(s.fpt15);
    ASSERT_EQ(std::fread(&bytes[0], 1, bytes.size(), s.fpt15), bytes.size());

    SpectrumReader in(bytes);
    for (int n = 0; n < 8; ++n)
        in.Double();
    EXPECT_EQ(in.Ints(4), (std::vector<int32_t>{11, 9, 16, 16}));
    EXPECT_DOUBLE_EQ(in.Double(), 40.0);
    in.Double(), in.Double();
    EXPECT_EQ(in.Ints(6), (std::vector<int32_t>{2, 2, 3, 9, 3, 7}));
    EXPECT_EQ(in.Ints(7), (std::vector<int32_t>{3, 3, 3, 3, 3, 3, 3}));  // first row of each column
    EXPECT_EQ(in.Ints(7), (std::vector<int32_t>{7, 7, 7, 7, 5, 5, 5}));  // last row
    EXPECT_EQ(in.Ints(5), (std::vector<int32_t>{3, 3, 3, 3, 3}));        // first column of each row
    EXPECT_EQ(in.Ints(5), (std::vector<int32_t>{9, 9, 9, 6, 6}));        // last column
    ASSERT_EQ(in.Left(), 16u * 16 * 9);
    const auto spectrum = in.Records(16, 16);
    const std::vector<std::complex<double>> expected = g.HalfSpectrum();
    double largest = 0;
    for (size_t k = 0; k < expected.size(); ++k) {
        largest = std::max(largest, std::abs(expected[k]));
        EXPECT_NEAR(std::abs(spectrum[k] - expected[k]), 0.0, 1e-6) << k;
    }
    EXPECT_GT(largest, 100.0);
}
