#pragma once
// Numbers in messages and in the coefficient file, the same in every locale: the host may have set one with a
// decimal comma.

#include <charconv>
#include <string>
#include <system_error>

namespace geomag {

// Twelve significant digits, without trailing zeros: 1899.9, 2030, -4000000.
inline std::string numberText(double value)
{
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 12);
    return std::string(text, written.ptr);
}

// Whole token as a number, nothing left over.
template <typename Number>
bool parseWhole(const std::string& token, Number& value)
{
    const char* end = token.data() + token.size();
    const std::from_chars_result read = std::from_chars(token.data(), end, value);
    return read.ec == std::errc() && read.ptr == end;
}

} // namespace geomag
