#include "nint.h"
#include "scratch_dir.h"
#include "text_input.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Tokens = std::vector<std::string>;

Tokens Split(const char* line)
{
    Tokens tokens;
    SplitTokens(line, tokens);
    return tokens;
}

FILE* FileWith(const ScratchDir& dir, const std::string& text)
{
    std::ofstream(dir.file("input.txt"), std::ios::binary) << text;
    return std::fopen(dir.file("input.txt").c_str(), "rt");
}

} // namespace

TEST(TextInput, TokenizerMergesDelimitersAndHonoursQuotes)
{
    EXPECT_EQ(Split("a,,b"), (Tokens{"a", "b"}));
    EXPECT_EQ(Split("1\t2 ,3\r\n"), (Tokens{"1", "2", "3"}));
    EXPECT_EQ(Split("\"x, y\",3"), (Tokens{"x, y", "3"}));
    EXPECT_EQ(Split("\"\",3"), (Tokens{"", "3"}));
    EXPECT_EQ(Split(""), Tokens{});
    EXPECT_EQ(Split(" ,\t"), Tokens{""});

    testing::internal::CaptureStderr();
    Tokens unpaired = Split("\"abc");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Double quotes not in pair!");
    EXPECT_EQ(unpaired, Tokens{"abc"});
}

TEST(TextInput, FileNamesReplaceTheLastExtension)
{
    EXPECT_EQ(ChangeExtension("FILTER.INP", "OUT"), "FILTER.OUT");
    EXPECT_EQ(ChangeExtension("a.b.c", ".BIN"), "a.b.BIN");
    EXPECT_EQ(ChangeExtension("a.b", "  "), "a");
    EXPECT_EQ(NormalizeExtension(" txt "), ".txt");
    EXPECT_EQ(OutputFileName("fpt6_2D_FWD_SPECTRM_", "FILTER.INP", "OUT"), "fpt6_2D_FWD_SPECTRM_FILTER.OUT");
}

TEST(TextInput, LineReadersScanOneLineEach)
{
    ScratchDir dir;
    FILE* f = FileWith(dir, "12.5 3 ! comment\n\nonly 1\n" + std::string(9000, 'y') + "\n7\n");
    ASSERT_NE(f, nullptr);
    double a = 0, b = 0;
    EXPECT_TRUE(ReadLineAndScan(f, "%lg %lg", &a, &b));
    EXPECT_DOUBLE_EQ(a, 12.5);
    EXPECT_DOUBLE_EQ(b, 3.0);
    EXPECT_EQ(ReadLineAndScanCount(f, "%lg", &a), 0);  // empty line
    EXPECT_EQ(ReadLineAndScanCount(f, "%lg", &a), 0);  // text
    EXPECT_EQ(ReadLineAndScanCount(f, "%lg", &a), 0);  // over-long line, its rest skipped
    int n = 0;
    EXPECT_EQ(ReadLineAndScanCount(f, "%d", &n), 1);
    EXPECT_EQ(n, 7);
    EXPECT_FALSE(ReadLineAndScan(f, "%d", &n));
    EXPECT_EQ(ReadLineAndScanCount(f, "%d", &n), -1);
    std::rewind(f);
    EXPECT_FALSE(ReadLineAndScan(f, "", &n));
    std::fclose(f);

    EXPECT_FALSE(ScanString("", "%d", &n));
    EXPECT_TRUE(ScanString("42", "%d", &n));
    EXPECT_EQ(n, 42);
}

TEST(TextInput, DataLinesNeedTheLargestPosition)
{
    ScratchDir dir;
    FILE* f = FileWith(dir, "1, 2, \"3\" ,4\r\n5\t6\tabc\n7 8\n9 9 9\n");
    ASSERT_NE(f, nullptr);
    DataPositions positions;
    positions.column[0] = 1;
    positions.column[1] = 0;
    positions.column[2] = 2;
    positions.column[3] = 0;
    positions.largest = 3;
    double v[4] = {};
    ASSERT_TRUE(ReadDataLine(positions, f, v));
    EXPECT_DOUBLE_EQ(v[0], 2);
    EXPECT_DOUBLE_EQ(v[1], 1);
    EXPECT_DOUBLE_EQ(v[2], 3);
    ASSERT_TRUE(ReadDataLine(positions, f, v));
    EXPECT_DOUBLE_EQ(v[2], 0); // not a number
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadDataLine(positions, f, v));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Specified data position is larger than the number of columns in the data file!\n");
    std::fclose(f);
}

TEST(Nint, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(NINT(2.5), 3);
    EXPECT_EQ(NINT(-2.5), -3);
    EXPECT_EQ(NINT(0.49999), 0);
    EXPECT_EQ(NINT(-0.49999), 0);
    EXPECT_EQ(NINT(-999999.4), -999999);
}
