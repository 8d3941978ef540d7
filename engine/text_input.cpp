// Text input of the engine runs: trimming, the quote-aware tokenizer, line readers and the
// building of output file names. Everything reports on stderr and returns; nothing throws.

#include "text_input.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const int LINE_BUFFER = 8192;
const char* const DELIMITERS = " ,\t";

// The tokenizer's cursor into the string being split; null when nothing is left.
char* tokenCursor = nullptr;

bool IsIn(char c, const char* set)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

} // namespace

bool ReadTextLine(FILE* stream, char* buffer, int size)
{
    if (!stream || !buffer || size < 2 || !std::fgets(buffer, size, stream))
        return false;
    // An over-long line is cut at the buffer; its rest must not pose as the next line.
    size_t length = std::strlen(buffer);
    if (length == static_cast<size_t>(size - 1) && buffer[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(stream)) != EOF && c != '\n') {
        }
    }
    return true;
}

void TrimLeft(char* text, const char* set)
{
    if (!text || !set || !*text || !*set)
        return;
    size_t skip = std::strspn(text, set);
    if (skip > 0)
        std::memmove(text, text + skip, std::strlen(text + skip) + 1);
}

void TrimRight(char* text, const char* set)
{
    if (!text || !set || !*text || !*set)
        return;
    char* p = text + std::strlen(text) - 1;
    while (p > text && IsIn(*p, set))
        --p;
    p[1] = '\0';
}

void TrimString(std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
}

bool NextToken(char* text, std::string& token)
{
    if (text)
        tokenCursor = text;
    if (!tokenCursor || !*tokenCursor)
        return false;

    char* s = tokenCursor;
    TrimLeft(s, " \n\r");
    TrimRight(s, " \n\r");
    if (*s) {
        TrimLeft(s, DELIMITERS);
        TrimRight(s, DELIMITERS);
    }

    if (*s != '"') {
        char* end = std::strpbrk(s, DELIMITERS);
        if (end) {
            *end = '\0';
            tokenCursor = end + 1;
        } else {
            tokenCursor = nullptr;
        }
        token = s;
        return true;
    }

    if (s[1] == '"') {
        token.clear();
        tokenCursor = s + 2;
        return true;
    }
    char* closing = std::strchr(s + 1, '"');
    if (!closing) {
        std::fputs("Double quotes not in pair!", stderr);
        token = s + 1;
        tokenCursor = nullptr;
        return true;
    }
    *closing = '\0';
    token = s + 1;
    tokenCursor = closing + 1;
    TrimLeft(tokenCursor, " ");
    if (IsIn(*tokenCursor, DELIMITERS))
        ++tokenCursor;
    return true;
}

void SplitTokens(const char* line, std::vector<std::string>& tokens)
{
    tokens.clear();
    if (!line)
        return;
    std::vector<char> copy(line, line + std::strlen(line) + 1);
    std::string token;
    for (bool more = NextToken(copy.data(), token); more; more = NextToken(nullptr, token))
        tokens.push_back(token);
    tokenCursor = nullptr; // the copy dies here
}

namespace {

int ScanLine(FILE* stream, const char* format, va_list args)
{
    if (!format || !*format)
        return -1;
    char line[LINE_BUFFER];
    if (!ReadTextLine(stream, line, LINE_BUFFER))
        return -1;
    int converted = std::vsscanf(line, format, args);
    return converted < 0 ? 0 : converted;
}

} // namespace

bool ReadLineAndScan(FILE* stream, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int converted = ScanLine(stream, format, args);
    va_end(args);
    return converted >= 0;
}

int ReadLineAndScanCount(FILE* stream, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int converted = ScanLine(stream, format, args);
    va_end(args);
    return converted;
}

bool ScanString(const char* text, const char* format, ...)
{
    if (!text || !*text || !format || !*format)
        return false;
    va_list args;
    va_start(args, format);
    std::vsscanf(text, format, args);
    va_end(args);
    return true;
}

bool ReadDataLine(const DataPositions& positions, FILE* stream, double values[4])
{
    char line[LINE_BUFFER];
    if (!ReadTextLine(stream, line, LINE_BUFFER))
        return false;
    if (*line) {
        TrimLeft(line, "\t\r\n");
        TrimRight(line, "\t\r\n");
    }
    std::vector<std::string> tokens;
    SplitTokens(line, tokens);
    bool positionsValid = true;
    for (int n = 0; n < 4; ++n)
        positionsValid = positionsValid && positions.column[n] >= 0 && positions.column[n] < positions.largest;
    if (!positionsValid || static_cast<int>(tokens.size()) < positions.largest) {
        std::fputs("Specified data position is larger than the number of columns in the data file!\n", stderr);
        return false;
    }
    for (int n = 0; n < 4; ++n)
        values[n] = std::atof(tokens[positions.column[n]].c_str());
    return true;
}

std::string StripExtension(const std::string& name)
{
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string NormalizeExtension(const std::string& extension)
{
    std::string result = extension;
    TrimString(result);
    if (result.empty() || result.find('.') != std::string::npos)
        return result;
    return "." + result;
}

std::string ChangeExtension(const std::string& name, const std::string& extension)
{
    return StripExtension(name) + NormalizeExtension(extension);
}

std::string SiblingFileName(const char* controlFileName, const std::string& name)
{
    const std::string control = controlFileName ? controlFileName : "";
    const size_t slash = control.rfind('/');
    return slash == std::string::npos ? name : control.substr(0, slash + 1) + name;
}

std::string OutputFileName(const char* prefix, const char* controlFileName, const char* extension)
{
    const std::string control = controlFileName ? controlFileName : "";
    const size_t slash = control.rfind('/');
    const std::string name = slash == std::string::npos ? control : control.substr(slash + 1);
    return SiblingFileName(controlFileName,
                           ChangeExtension(std::string(prefix ? prefix : "") + name, extension ? extension : ""));
}
