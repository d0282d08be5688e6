#pragma once

// The CSV a schedule is written in: the separator and decimal comma of
// spreadsheets where the comma is the decimal separator, and fields written
// so that no spreadsheet runs them as formulas.

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// ';' when the first line holds one and no ',': what a spreadsheet writes
// as CSV where the comma is the decimal separator.
char separatorOf(std::string_view text);

// A text longer than this is longer than a box takes, whatever its characters
// (a box counts three bytes of UTF-8 as one at most): it is no value, and is
// refused unread rather than copied.
inline constexpr std::size_t longestValueBytes = 3 * 32767;

// A number's text as the program reads it: a decimal comma becomes a point.
std::string_view withDecimalPoint(std::string_view text, bool decimalComma, std::string& scratch);

// A result's text as the schedule writes it.
void withDecimalComma(std::string& text, bool decimalComma);

// What a field is written after so that a spreadsheet shows it and never
// runs it as a formula: "'" before a text beginning with '=', '+', '-', '@',
// a tab or a carriage return; nothing before a number, written with a
// decimal point or, in a schedule with decimal commas, either.
std::string_view spreadsheetMark(std::string_view field, bool decimalComma);

} // namespace cli
