#pragma once

// Comma-separated values as RFC 4180 writes them: fields quoted when they
// hold a comma, a quote or a line break, quotes doubled, lines ended by CRLF.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct CsvRecord
{
    std::vector<std::string> fields;
    std::string problem; // empty when the record keeps the rules
};

// Every record of the text, in order. Lines end in CRLF, LF or CR; empty
// lines and a UTF-8 byte-order mark are skipped. A record that breaks the
// rules keeps what was read and says why; the next record starts after it.
std::vector<CsvRecord> parseCsv(std::string_view text);

void appendCsvField(std::string& out, std::string_view field);
// The fields, comma-separated, and CRLF.
void appendCsvRecord(std::string& out, std::span<const std::string_view> fields);
void appendCsvRecord(std::string& out, const std::vector<std::string>& fields);

} // namespace ui
