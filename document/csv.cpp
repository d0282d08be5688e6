#include "document/csv.h"

#include <algorithm>

namespace document {
namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

void noteProblem(CsvRecord* record, const char* problem)
{
    if (record && record->problem.empty())
        record->problem = problem;
}

// Where the quoted text from `at` ends: at its closing quote, or at the end
// of the text.
std::size_t closingQuote(std::string_view text, std::size_t at)
{
    for (;;) {
        const std::size_t quote = text.find('"', at);
        if (quote == std::string_view::npos)
            return text.size();
        if (quote + 1 >= text.size() || text[quote + 1] != '"')
            return quote;
        at = quote + 2;
    }
}

template <class Fields> void appendRecord(std::string& out, const Fields& fields, char separator)
{
    CsvWriter writer(out, separator);
    for (const std::string_view field : fields)
        writer.field(field);
    writer.endRecord();
}

} // namespace

std::string_view withoutByteOrderMark(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

std::vector<CsvRecord> parseCsv(std::string_view text)
{
    const std::string_view body = withoutByteOrderMark(text);
    return parseCsvRecords(body, 0, body.size()).records;
}

CsvRecords parseCsvRecords(std::string_view text, std::size_t begin, std::size_t end,
                           char separator)
{
    std::vector<CsvRecord> records;
    std::size_t i = skipLineEnds(text, begin);
    while (i < text.size() && i < end) {
        i = skipLineEnds(text, parseCsvRecord(text, i, &records.emplace_back(), separator).next);
    }
    return {std::move(records), i};
}

std::size_t skipLineEnds(std::string_view text, std::size_t at)
{
    while (at < text.size() && isLineEnd(text[at]))
        ++at;
    return at;
}

CsvRecordEnd parseCsvRecord(std::string_view text, std::size_t at, CsvRecord* record,
                            char separator)
{
    std::size_t i = at, used = 0;
    const std::size_t n = text.size();
    if (record)
        record->problem.clear();
    for (;;) { // one field
        std::string* field = nullptr;
        if (record) {
            field = used < record->fields.size() ? &record->fields[used]
                                                 : &record->fields.emplace_back();
            field->clear();
            ++used;
        }
        const auto keep = [field](std::string_view part) {
            if (field)
                field->append(part);
        };
        if (i < n && text[i] == '"') {
            ++i;
            bool closed = false, reserved = false;
            while (i < n) {
                const std::size_t quote = text.find('"', i);
                if (quote == std::string_view::npos) {
                    keep(text.substr(i));
                    i = n;
                    break;
                }
                keep(text.substr(i, quote - i));
                i = quote + 1;
                if (i < n && text[i] == '"') {
                    // Read in pieces: room for the rest at once, so that a
                    // long field never stands twice in memory as it grows.
                    if (field && !reserved)
                        field->reserve(field->size() + closingQuote(text, i + 1) - i);
                    reserved = true;
                    keep("\"");
                    ++i;
                } else {
                    closed = true;
                    break;
                }
            }
            if (!closed)
                noteProblem(record, "a quoted field is not closed");
            // Anything between the closing quote and the next comma is kept.
            if (i < n && text[i] != separator && !isLineEnd(text[i]))
                noteProblem(record, "text follows a closing quote in the same field");
        }
        const std::size_t start = i;
        while (i < n && text[i] != separator && !isLineEnd(text[i])) {
            if (text[i] == '"')
                noteProblem(record, "a quote stands inside a field that is not quoted");
            ++i;
        }
        keep(text.substr(start, i - start));
        if (i < n && text[i] == separator) {
            ++i;
            continue;
        }
        break;
    }
    if (record)
        record->fields.resize(used);
    const bool lineEnded = i < n;
    if (i < n && text[i] == '\r')
        ++i;
    if (i < n && text[i] == '\n')
        ++i;
    return {i, lineEnded};
}

std::size_t nextLineStart(std::string_view text, std::size_t from)
{
    while (from < text.size() && !(isLineEnd(text[from - 1]) && !isLineEnd(text[from])))
        ++from;
    return std::min(from, text.size());
}

void CsvWriter::field(std::span<const std::string_view> pieces)
{
    if (!first_)
        append({&separator_, 1});
    first_ = false;
    // One pass over each piece: find_first_of would search the set for every character.
    const auto plain = [this](std::string_view piece) {
        return std::none_of(piece.begin(), piece.end(), [this](char c) {
            return c == separator_ || c == '"' || c == '\r' || c == '\n';
        });
    };
    if (std::all_of(pieces.begin(), pieces.end(), plain)) {
        for (const std::string_view piece : pieces)
            append(piece);
        return;
    }
    append("\"");
    for (std::string_view piece : pieces) {
        for (std::size_t quote; (quote = piece.find('"')) != std::string_view::npos;) {
            append(piece.substr(0, quote + 1));
            append("\"");
            piece.remove_prefix(quote + 1);
        }
        append(piece);
    }
    append("\"");
}

void CsvWriter::endRecord()
{
    append("\r\n");
    first_ = true;
}

void CsvWriter::append(std::string_view text)
{
    while (write_ && out_.size() + text.size() >= flushBytes) {
        const std::size_t room = flushBytes - std::min(out_.size(), flushBytes);
        out_.append(text.substr(0, room));
        text.remove_prefix(std::min(room, text.size()));
        (*write_)(out_);
        out_.clear();
    }
    out_.append(text);
}

void appendCsvRecord(std::string& out, std::span<const std::string_view> fields, char separator)
{
    appendRecord(out, fields, separator);
}

void appendCsvRecord(std::string& out, const std::vector<std::string>& fields, char separator)
{
    appendRecord(out, fields, separator);
}

} // namespace document
