#include "materials/error_text.h"

#include <filesystem>

namespace materials {
namespace {

constexpr std::size_t longestQuotedText = 80;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string displayPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return quotedText(path);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string quotedText(std::string_view text)
{
    bool cut = false;
    if (text.size() > longestQuotedText) {
        std::size_t end = longestQuotedText;
        while (end > 0 && isContinuationByte(text[end])) // keep UTF-8 sequences whole
            --end;
        text = text.substr(0, end);
        cut = true;
    }
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string result = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            result += "\\x";
            result += hexDigits[byte >> 4];
            result += hexDigits[byte & 0xF];
        } else {
            result += c;
        }
    }
    result += cut ? "...\"" : "\"";
    return result;
}

std::string rowDescription(std::int64_t index, const std::string* className)
{
    std::string text = "row " + std::to_string(index + 1);
    if (className)
        text += " (class " + quotedText(*className) + ")";
    return text;
}

} // namespace materials
