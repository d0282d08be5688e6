#include "materials/database_error.h"

#include <filesystem>

namespace materials {
namespace {

constexpr std::size_t longestQuotedText = 80;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Absolute, so that the user can find the file.
std::string displayPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return quotedText(path);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string_view failedAction(DatabaseErrorKind kind)
{
    switch (kind) {
    case DatabaseErrorKind::fileMissing:
    case DatabaseErrorKind::cannotOpen:
    case DatabaseErrorKind::notADatabase:
        return "Cannot open the strength-class database ";
    case DatabaseErrorKind::damaged:
    case DatabaseErrorKind::tooMuchWork:
    case DatabaseErrorKind::readFailed:
        return "Cannot read the strength-class database ";
    default:
        return "The strength-class database ";
    }
}

} // namespace

DatabaseError::DatabaseError(DatabaseErrorKind kind, std::string message)
    : std::runtime_error(std::move(message)), kind_(kind)
{}

DatabaseError databaseError(DatabaseErrorKind kind, const std::string& path,
                            std::string_view problem, const TablePlace& place)
{
    std::string message;
    if (kind == DatabaseErrorKind::programDirectoryMissing)
        message = "Cannot find the program's own directory, which holds the strength-class "
                  "database " +
                  quotedText(path);
    else
        message = std::string(failedAction(kind)) + displayPath(path);
    message += ": ";
    if (!place.field.empty())
        message += "field " + quotedText(place.field) + (place.row ? " of " : " ");
    if (place.row) {
        message += "row " + std::to_string(*place.row + 1);
        if (place.className)
            message += " (class " + quotedText(*place.className) + ")";
        message += ' ';
    }
    message += problem;
    return DatabaseError(kind, std::move(message));
}

namespace {

// The UTF-8 length of a bidirectional control at the start of `text`
// (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), or 0.
std::size_t directionControlLength(std::string_view text)
{
    auto at = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    if (at(0) == 0xD8 && at(1) == 0x9C)
        return 2;
    if (at(0) != 0xE2)
        return 0;
    const unsigned second = at(1), third = at(2);
    if (second == 0x80 && (third == 0x8E || third == 0x8F || (third >= 0xAA && third <= 0xAE)))
        return 3;
    if (second == 0x81 && third >= 0xA6 && third <= 0xA9)
        return 3;
    return 0;
}

} // namespace

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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (const std::size_t length = directionControlLength(text.substr(i))) {
            // Would reorder the message around it on screen: shown as "<U+202E>".
            const auto b = [&](std::size_t k) {
                return unsigned(static_cast<unsigned char>(text[i + k]));
            };
            const unsigned code =
                length == 2 ? ((b(0) & 0x1F) << 6) | (b(1) & 0x3F)
                            : ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
            result += "<U+";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += hexDigits[(code >> shift) & 0xF];
            result += '>';
            i += length - 1;
        } else if (byte < 0x20 || byte == 0x7F) {
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

} // namespace materials
