#pragma once

// What the fuzz targets share: failing with a readable message, bit-exact float
// comparisons and the decimal separators a seed can name.

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzing {

// A broken invariant ends the run with a message, so that libFuzzer keeps the
// input as a crash and shows why.
[[noreturn]] inline void fail(std::string_view what, std::string_view detail = {})
{
    std::fprintf(stderr, "\nINVARIANT BROKEN: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty())
        std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
    std::fflush(stderr);
    std::abort();
}

// The detail is only built when the invariant is broken: the checks run
// millions of times and must cost little while they hold.
#define FUZZ_REQUIRE(condition, what, ...)                                                         \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzzing::fail(what __VA_OPT__(, ) __VA_ARGS__);                                      \
    } while (false)

// Text from fuzzed bytes, escaped with escapes so that it survives a terminal.
inline std::string escaped(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

inline std::string bitsText(float value)
{
    char text[64];
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::snprintf(text, sizeof text, "%.9g (0x%08X)", static_cast<double>(value), bits);
    return text;
}

inline bool sameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The decimal separators the windows may be given by the user's locale: the
// two common ones and one of more than one byte (U+066B ARABIC DECIMAL
// SEPARATOR). A readable seed names its separator by its first byte.
inline std::string_view separatorFromByte(unsigned char byte)
{
    if (byte == '.')
        return ".";
    if (byte == ',')
        return ",";
    switch (byte % 3) {
    case 0:
        return ".";
    case 1:
        return ",";
    default:
        return "\xD9\xAB";
    }
}

} // namespace fuzzing
