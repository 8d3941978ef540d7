#pragma once
// Text input shared by both engine runs: trimming, the quote-aware tokenizer, line readers
// and the building of output file names. Nothing here throws or stops the program.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Removes every leading (trailing) character of `text` that is in `set`. TrimRight always keeps
// the first character. Both do nothing when either argument is null or empty.
void TrimLeft(char* text, const char* set);
void TrimRight(char* text, const char* set);
// Trims the space character at both ends.
void TrimString(std::string& text);

// Quote-aware tokenizer over space, comma and tab. A non-null `text` starts a new sequence;
// null continues it. The cursor is process-wide: sequences must not be interleaved.
bool NextToken(char* text, std::string& token);
void SplitTokens(const char* line, std::vector<std::string>& tokens);

// Reads one line into `buffer` (at most size - 1 characters, line end kept); the rest of a longer
// line is skipped. False at end of file.
bool ReadTextLine(FILE* stream, char* buffer, int size);

// Reads one line (at most 8191 characters) and scans it with `format`. False at end of file,
// when nothing was read, or for an empty format; otherwise true whatever was converted.
bool ReadLineAndScan(FILE* stream, const char* format, ...);
// As ReadLineAndScan, but returns the number of fields converted, or -1 where it returns false.
int ReadLineAndScanCount(FILE* stream, const char* format, ...);
// False when the text or the format is empty; otherwise scans and returns true.
bool ScanString(const char* text, const char* format, ...);

std::string StripExtension(const std::string& name);
std::string NormalizeExtension(const std::string& extension);
std::string ChangeExtension(const std::string& name, const std::string& extension);
// The runs write their files beside the control file, so a run works in any folder without the
// process changing its current directory.
// name in the control file's folder: ("work/FILTER.INP", "fpt10_XDER") -> "work/fpt10_XDER".
std::string SiblingFileName(const char* controlFileName, const std::string& name);
// prefix + control file name, with its extension replaced, in the control file's folder:
// ("fpt6_2D_FWD_SPECTRM_", "FILTER.INP", "OUT") -> "fpt6_2D_FWD_SPECTRM_FILTER.OUT",
// ("fpt6_2D_FWD_SPECTRM_", "work/FILTER.INP", "OUT") -> "work/fpt6_2D_FWD_SPECTRM_FILTER.OUT".
std::string OutputFileName(const char* prefix, const char* controlFileName, const char* extension);

// Where the data file keeps X, Y, value and a fourth field: 0-based token positions, and the
// largest position as written in the control file (1-based), which every line must reach.
struct DataPositions {
    int32_t column[4] = {0, 1, 2, 3};
    int32_t largest = 4;
};
// Reads one data line (tokens split by space, comma or tab; quotes allowed) and converts the
// tokens at the four positions (text that is no number gives 0). False at end of file, or when
// the line has fewer tokens than the largest position (reported on stderr).
bool ReadDataLine(const DataPositions& positions, FILE* stream, double values[4]);
