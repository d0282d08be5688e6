#include "document/csv.h"

#include <algorithm>

namespace document {
namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

void noteProblem(CsvRecord& record, const char* problem)
{
    if (record.problem.empty())
        record.problem = problem;
}

template <class Fields> void appendRecord(std::string& out, const Fields& fields, char separator)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        appendCsvField(out, fields[i], separator);
    }
    out += "\r\n";
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
    std::size_t i = begin;
    const std::size_t n = text.size();
    while (i < n) {
        if (isLineEnd(text[i])) { // an empty line
            ++i;
            continue;
        }
        if (i >= end)
            break;
        CsvRecord record;
        for (;;) { // one field
            std::string field;
            if (i < n && text[i] == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    const std::size_t quote = text.find('"', i);
                    if (quote == std::string_view::npos) {
                        field.append(text.substr(i));
                        i = n;
                        break;
                    }
                    field.append(text.substr(i, quote - i));
                    i = quote + 1;
                    if (i < n && text[i] == '"') {
                        field += '"';
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
            field.append(text.substr(start, i - start));
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        if (i < n && text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
        records.push_back(std::move(record));
    }
    return {std::move(records), i};
}

std::size_t nextLineStart(std::string_view text, std::size_t from)
{
    while (from < text.size() && !(isLineEnd(text[from - 1]) && !isLineEnd(text[from])))
        ++from;
    return std::min(from, text.size());
}

void appendCsvField(std::string& out, std::string_view field, char separator)
{
    // One pass over the field: find_first_of would search the set for every character.
    if (std::none_of(field.begin(), field.end(), [separator](char c) {
            return c == separator || c == '"' || c == '\r' || c == '\n';
        })) {
        out.append(field);
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
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
