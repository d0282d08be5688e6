#include "cli/schedule_dialect.h"

#include <algorithm>

namespace cli {
namespace {

// A number as the schedule's numbers are written: with a decimal point, or
// in a schedule with decimal commas, either.
bool isPlainNumber(std::string_view field, bool decimalComma)
{
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < field.size() && field[i] >= '0' && field[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        ++i;
    std::size_t whole = digits();
    if (i < field.size() && (field[i] == '.' || (decimalComma && field[i] == ','))) {
        ++i;
        whole += digits();
    }
    if (whole == 0)
        return false;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        if (i < field.size() && (field[i] == '+' || field[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == field.size();
}

} // namespace

char separatorOf(std::string_view text)
{
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    return line.find(';') != std::string_view::npos && line.find(',') == std::string_view::npos
               ? ';'
               : ',';
}

std::string_view withDecimalPoint(std::string_view text, bool decimalComma, std::string& scratch)
{
    if (!decimalComma || text.size() > longestValueBytes ||
        text.find(',') == std::string_view::npos || text.find('.') != std::string_view::npos)
        return text;
    scratch.assign(text);
    std::replace(scratch.begin(), scratch.end(), ',', '.');
    return scratch;
}

void withDecimalComma(std::string& text, bool decimalComma)
{
    if (decimalComma)
        std::replace(text.begin(), text.end(), '.', ',');
}

std::string_view spreadsheetMark(std::string_view field, bool decimalComma)
{
    if (field.empty() ||
        std::string_view("=+-@\t\r").find(field.front()) == std::string_view::npos ||
        isPlainNumber(field, decimalComma))
        return {};
    return "'";
}

} // namespace cli
