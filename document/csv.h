#pragma once

// Comma-separated values as RFC 4180 writes them: fields quoted when they
// hold a comma, a quote or a line break, quotes doubled, lines ended by CRLF.
// Spreadsheets where the comma is the decimal separator write ';' in its
// place: every function takes the separator.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace document {

struct CsvRecord
{
    std::vector<std::string> fields;
    std::string problem; // empty when the record keeps the rules
};

// Every record of the text, in order. Lines end in CRLF, LF or CR; empty
// lines and a UTF-8 byte-order mark are skipped. A record that breaks the
// rules keeps what was read and says why; the next record starts after it.
std::vector<CsvRecord> parseCsv(std::string_view text);

std::string_view withoutByteOrderMark(std::string_view text);

// The records that start in [begin, end), read as parseCsv reads them from
// `begin`, and where the next record starts (the size of the text when none
// does): a text may be read in parts, each from where the last one ended.
struct CsvRecords
{
    std::vector<CsvRecord> records;
    std::size_t next = 0;
};
CsvRecords parseCsvRecords(std::string_view text, std::size_t begin, std::size_t end,
                           char separator = ',');

// The first position at or after `from` (which is above 0) where a line
// starts after a line end, or the size of the text: where a record starts,
// unless a quoted field holds that line end.
std::size_t nextLineStart(std::string_view text, std::size_t from);

void appendCsvField(std::string& out, std::string_view field, char separator = ',');
// The fields, comma-separated, and CRLF.
void appendCsvRecord(std::string& out, std::span<const std::string_view> fields,
                     char separator = ',');
void appendCsvRecord(std::string& out, const std::vector<std::string>& fields,
                     char separator = ',');

} // namespace document
