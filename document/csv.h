#pragma once

// Comma-separated values as RFC 4180 writes them: fields quoted when they
// hold a comma, a quote or a line break, quotes doubled, lines ended by CRLF.
// Spreadsheets where the comma is the decimal separator write ';' in its
// place: every function takes the separator.

#include <functional>
#include <initializer_list>
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

// The first position at or after `at` that is not a line end: empty lines
// stand between records.
std::size_t skipLineEnds(std::string_view text, std::size_t at);

// Where a record ends: after its line end, or at the end of the text, where
// it may run on in text not yet read.
struct CsvRecordEnd
{
    std::size_t next = 0;
    bool lineEnded = false;
};
// Reads the record that starts at `at` (not a line end) into `record`,
// reusing its memory; with no record, only finds where it ends.
CsvRecordEnd parseCsvRecord(std::string_view text, std::size_t at, CsvRecord* record,
                            char separator = ',');

// The first position at or after `from` (which is above 0) where a line
// starts after a line end, or the size of the text: where a record starts,
// unless a quoted field holds that line end.
std::size_t nextLineStart(std::string_view text, std::size_t from);

// Writes records into `out` a field at a time, each field given whole or in
// pieces (a mark before a text, a message naming other fields). Given
// `write`, hands `out` on whenever it holds `flushBytes`, so that a long
// field is never held whole a second time.
class CsvWriter
{
public:
    using Write = std::function<void(std::string_view)>;
    static constexpr std::size_t flushBytes = std::size_t(1) << 16;

    CsvWriter(std::string& out, char separator, const Write* write = nullptr)
        : out_(out), separator_(separator), write_(write)
    {}
    void field(std::string_view text) { field({&text, 1}); }
    void field(std::initializer_list<std::string_view> pieces)
    {
        field(std::span<const std::string_view>(pieces.begin(), pieces.size()));
    }
    void field(std::span<const std::string_view> pieces);
    void endRecord(); // CRLF

private:
    void append(std::string_view text);

    std::string& out_;
    char separator_;
    const Write* write_;
    bool first_ = true;
};

// The fields, comma-separated, and CRLF.
void appendCsvRecord(std::string& out, std::span<const std::string_view> fields,
                     char separator = ',');
void appendCsvRecord(std::string& out, const std::vector<std::string>& fields,
                     char separator = ',');

} // namespace document
