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
        // what() ends at a NUL; the window escapes direction controls.
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

} // namespace materials
