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

// Separators and quotes in data lines are read by the forward run's input test, and the engine's
// file names by every run (in a named folder by the grid operations' engine-folder test); here what
// those leave out: empty fields, a quoted empty token, an unpaired quote, a folder with a dot in its
// name, and rounding of halves.
TEST(TextInput, TokensFileNamesAndRounding)
{
    EXPECT_EQ(Split("a,,b"), (Tokens{"a", "b"}));
    EXPECT_EQ(Split("\"\",3"), (Tokens{"", "3"}));
    testing::internal::CaptureStderr();
    EXPECT_EQ(Split("\"abc"), Tokens{"abc"});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Double quotes not in pair!");
    EXPECT_EQ(OutputFileName("fpt15_", "/w.d/FILTER.INP", "BIN"), "/w.d/fpt15_FILTER.BIN");
    EXPECT_EQ(SiblingFileName("/w.d/FILTER.INP", "fpt10_XDER"), "/w.d/fpt10_XDER");

    EXPECT_EQ(NINT(2.5), 3);
    EXPECT_EQ(NINT(-2.5), -3);
    EXPECT_EQ(NINT(-0.49999), 0);
}

TEST(TextInput, LineReadersScanOneLineEach)
{
    ScratchDir dir;
    FILE* f = FileWith(dir, "12.5 3 ! comment\n\n" + std::string(9000, 'y') + "\n7\n");
    ASSERT_NE(f, nullptr);
    double a = 0, b = 0;
    EXPECT_TRUE(ReadLineAndScan(f, "%lg %lg", &a, &b));
    EXPECT_EQ(a + b, 15.5);
    EXPECT_EQ(ReadLineAndScanCount(f, "%lg", &a), 0);  // empty line
    EXPECT_EQ(ReadLineAndScanCount(f, "%lg", &a), 0);  // over-long line, its rest skipped
    int n = 0;
    EXPECT_EQ(ReadLineAndScanCount(f, "%d", &n), 1);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(ReadLineAndScanCount(f, "%d", &n), -1);
    std::fclose(f);
}
