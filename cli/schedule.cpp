#include "cli/schedule.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/schedule_dialect.h"
#include "cli/schedule_row.h"
#include "document/csv.h"

namespace cli {
namespace {

// Rows named in the summary, of each kind.
constexpr std::size_t notableRows = 5;

// One part of a round, read and checked on one thread.
struct ScheduleRows
{
    std::size_t begin = 0, end = 0; // the records that start in [begin, end)
    std::size_t next = 0;           // where the record after those checked starts
    // The first part of a round writes as it goes; the others hold their
    // output for it, up to `held` bytes, and stop there.
    const document::CsvWriter::Write* write = nullptr;
    std::size_t held = 0;
    std::string output;
    bool full = false;   // stopped with its output full
    bool runsOn = false; // stopped at a record that runs on past what is read
    bool anyBad = false;
    bool anyFails = false;
    std::size_t records = 0;
    std::size_t passed = 0, failedCount = 0, badCount = 0;
    // The first rows that failed or were not checked: index in the part, and id.
    std::vector<std::pair<std::size_t, std::string>> failed, bad;
    std::exception_ptr error; // what stopped the run, for the caller to throw

    // Counts a row for the summary: the first few that did not pass, by id
    // where they have one.
    void count(RowOutcome outcome, const document::CsvRecord& record, const ScheduleLayout& layout)
    {
        const bool unchecked = outcome == RowOutcome::notChecked;
        const bool fails = outcome == RowOutcome::failed;
        auto& notable = unchecked ? bad : failed;
        (unchecked ? badCount : fails ? failedCount : passed) += 1;
        if ((unchecked || fails) && notable.size() < notableRows)
            notable.emplace_back(records, rowId(record, layout));
        ++records;
        anyBad |= unchecked;
        anyFails |= fails;
    }

    // Ready for another round, keeping the memory of its output.
    void reset()
    {
        std::string kept = std::move(output);
        kept.clear();
        *this = {};
        output = std::move(kept);
    }
};

// A schedule shorter than this stays on one thread.
constexpr std::size_t bytesPerThread = std::size_t(1) << 14;
constexpr std::size_t maxThreads = 64;
// A row longer than this gives its memory back once checked.
constexpr std::size_t longRowBytes = std::size_t(1) << 16;
// What the parts of a round may hold in all while they wait for those before
// them; rounds are read short enough that they hold about half of it.
constexpr std::size_t heldOutputBytes = std::size_t(1) << 23;

// Runs work(0) ... work(count - 1), each on a thread of its own but the first
// on this one, and waits for them all.
template <class Work> void inParallel(std::size_t count, Work&& work)
{
    std::vector<std::jthread> workers;
    for (std::size_t i = 1; i < count; ++i) {
        try {
            workers.emplace_back(work, i);
        } catch (const std::system_error&) { // no thread to be had: this one does it
            work(i);
        }
    }
    work(0);
}

// Checks the part's records one by one, each read into the thread's own
// record. `whole` says that the text runs to the schedule's end.
void checkPart(std::string_view csv, bool whole, const ScheduleLayout& layout, RowMemory& memory,
               ScheduleRows& part) noexcept
try {
    part.next = document::skipLineEnds(csv, part.begin);
    while (part.next < part.end) {
        if (!part.write && part.output.size() >= part.held) {
            part.full = true;
            return;
        }
        const document::CsvRecordEnd end =
            document::parseCsvRecord(csv, part.next, &memory.record, layout.separator);
        if (!end.lineEnded && !whole) {
            part.runsOn = true;
            return;
        }
        document::CsvWriter out(part.output, layout.separator, part.write);
        part.count(checkRecord(memory.record, layout, memory, out), memory.record, layout);
        if (end.next - part.next > longRowBytes)
            memory.record = {};
        part.next = document::skipLineEnds(csv, end.next);
    }
} catch (...) {
    part.error = std::current_exception();
}

// Shares the records that start in [begin, end) out among the parts, in runs
// of about equal length, each starting where a line starts.
void divide(std::string_view csv, std::size_t begin, std::size_t end, std::span<ScheduleRows> parts)
{
    const std::size_t count = parts.size();
    parts[0].begin = begin;
    for (std::size_t t = 1; t < count; ++t)
        parts[t].begin =
            std::min(std::max(document::nextLineStart(csv, begin + (end - begin) * t / count),
                              parts[t - 1].begin),
                     end);
    for (std::size_t t = 0; t < count; ++t)
        parts[t].end = t + 1 < count ? parts[t + 1].begin : end;
}

// The schedule's text not yet checked, read from its stream as needed.
class Unread
{
public:
    Unread(const std::function<std::size_t(char*, std::size_t)>& read, std::size_t roundBytes)
        : read_(read), roundBytes_(roundBytes)
    {}

    // Reads until `bytes` are held or the stream ends.
    void fill(std::size_t bytes)
    {
        while (!atEnd_ && text_.size() < bytes) {
            const std::size_t held = text_.size();
            text_.resize(bytes);
            const std::size_t got = read_(text_.data() + held, bytes - held);
            text_.resize(held + got);
            atEnd_ = got == 0;
        }
    }
    void consume(std::size_t bytes)
    {
        text_.erase(0, bytes);
        // What a round grown for a long row took is given back once it is checked.
        if (text_.capacity() > 4 * std::max(text_.size(), roundBytes_))
            text_.shrink_to_fit();
    }

    std::string_view text() const { return text_; }
    bool atEnd() const { return atEnd_; }

private:
    const std::function<std::size_t(char*, std::size_t)>& read_;
    std::size_t roundBytes_;
    std::string text_;
    bool atEnd_ = false;
};

// A round grows only while one row runs on past it, up to the largest.
constexpr std::size_t largestRound = std::size_t(1) << 26;
constexpr std::string_view largestRoundText = "64 MiB";
// Records are checked up to a line start this far before what is read ends,
// so that the last of them has normally ended before it.
constexpr std::size_t roundMargin = std::size_t(1) << 16;

// Whether the record at the start of what is unread has ended.
bool firstRecordRead(const Unread& unread, char separator)
{
    const std::string_view text = unread.text();
    return unread.atEnd() ||
           document::parseCsvRecord(text, document::skipLineEnds(text, 0), nullptr, separator)
               .lineEnded;
}

// Reads on for a record that runs on past what is read, by an eighth of what
// is held or a round, whichever is more: a round grown for a long row holds
// that row and little more. Throws when the row would run on past the
// largest round.
void readOn(Unread& unread, std::size_t roundBytes, const char* what)
{
    const std::size_t held = unread.text().size();
    if (held >= largestRound)
        throw document::ValueRefused(std::string(what) + " runs on for more than " +
                                     std::string(largestRoundText) +
                                     " (is a quoted field not closed?)");
    unread.fill(std::min(held + std::max(roundBytes, held / 8), largestRound));
}

// What the schedule came to, as one line: "12 rows: 9 passed, 2 failed
// (J4, J9), 1 not checked (row 7); see the message column".
class ScheduleSummary
{
public:
    void add(const ScheduleRows& part)
    {
        passed_ += part.passed;
        failed_ += part.failedCount;
        bad_ += part.badCount;
        name(part.failed, failedRows_);
        name(part.bad, badRows_);
        rows_ += part.records;
    }
    std::string line() const
    {
        std::string text = std::to_string(rows_) + (rows_ == 1 ? " row: " : " rows: ") +
                           std::to_string(passed_) + " passed, " + std::to_string(failed_) +
                           " failed" + listed(failedRows_, failed_) + ", " + std::to_string(bad_) +
                           " not checked" + listed(badRows_, bad_);
        return failed_ + bad_ > 0 ? text + "; see the message column" : text;
    }

private:
    // The first few rows of a kind, by id, or by number counted from the
    // first row after the header.
    void name(const std::vector<std::pair<std::size_t, std::string>>& notable,
              std::vector<std::string>& named) const
    {
        for (const auto& [index, id] : notable) {
            if (named.size() < notableRows)
                named.push_back(id.empty() ? "row " + std::to_string(rows_ + index + 1) : id);
        }
    }
    static std::string listed(const std::vector<std::string>& named, std::size_t total)
    {
        if (named.empty())
            return {};
        std::string text = " (";
        for (std::size_t i = 0; i < named.size(); ++i)
            text += (i ? ", " : "") + named[i];
        return text + (total > named.size() ? ", ...)" : ")");
    }

    std::size_t rows_ = 0, passed_ = 0, failed_ = 0, bad_ = 0;
    std::vector<std::string> failedRows_, badRows_;
};

} // namespace

int runSchedule(const ScheduleStreams& streams, ClassTable& table)
{
    Unread unread(streams.read, streams.roundBytes);
    unread.fill(streams.roundBytes);
    if (document::withoutByteOrderMark(unread.text()).size() < unread.text().size())
        unread.consume(3);
    char separator = ',';
    // The separator is the first line's, whole once the header has ended.
    while (!firstRecordRead(unread, separator = separatorOf(unread.text())))
        readOn(unread, streams.roundBytes, "the header row");
    const document::CsvRecords head = document::parseCsvRecords(unread.text(), 0, 1, separator);
    if (head.records.empty())
        throw document::ValueRefused("the schedule has no header row");
    const document::CsvRecord& header = head.records.front();
    if (!header.problem.empty())
        throw document::ValueRefused("the header row is not sound CSV: " + header.problem);

    std::string ignored;
    ScheduleLayout layout = scheduleLayout(header.fields, ignored);
    layout.separator = separator;
    layout.decimalComma = separator == ';';
    if (layout.decimalComma)
        streams.warn("read the schedule as ';'-separated with decimal commas, and wrote it so");
    if (!ignored.empty())
        streams.warn("ignored the columns " + ignored);

    // The header row written, with the results' names.
    std::string headerLine;
    document::CsvWriter written(headerLine, separator, &streams.write);
    for (const std::string& field : header.fields)
        written.field({spreadsheetMark(field, layout.decimalComma), field});
    for (const std::string_view name : resultColumns(layout))
        written.field(name);
    written.endRecord();
    streams.write(headerLine);
    unread.consume(head.next);

    // Each round's rows, read and checked in contiguous parts among the
    // processor's cores: rows are checked independently, and the parts are
    // written in order, the first as it goes, the others once those before
    // them are. Each core keeps what it learnt from round to round.
    const std::size_t cores =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, maxThreads);
    std::vector<std::unique_ptr<RowMemory>> memories(cores);
    for (std::unique_ptr<RowMemory>& memory : memories)
        memory = std::make_unique<RowMemory>(table);
    std::vector<ScheduleRows> parts(cores);
    bool anyBad = false, anyFails = false, longRow = false;
    ScheduleSummary summary;
    // Rows that write several times what they read are common (results, a
    // message): the first round assumes four times, the next the last's.
    const std::size_t shortestRound = std::min(bytesPerThread, streams.roundBytes);
    std::size_t round = std::min(heldOutputBytes / 8, streams.roundBytes);
    while (true) {
        std::size_t cut = 1, threads = 1;
        if (longRow) {
            // A row runs on past the round: the round grows to hold it, and
            // it alone is checked.
            while (!firstRecordRead(unread, separator))
                readOn(unread, streams.roundBytes, "a row");
        } else {
            unread.fill(round);
        }
        const std::string_view csv = unread.text();
        if (csv.empty())
            break;
        if (!longRow) {
            cut = unread.atEnd()
                      ? csv.size()
                      : document::nextLineStart(
                            csv, std::max<std::size_t>(
                                     1, csv.size() - std::min(roundMargin, csv.size() / 2)));
            threads = std::clamp<std::size_t>(std::min(cores, cut / bytesPerThread), 1, cores);
        }
        const std::span<ScheduleRows> roundParts(parts.data(), threads);
        for (ScheduleRows& part : roundParts) {
            part.reset();
            part.held = heldOutputBytes / threads;
        }
        divide(csv, 0, cut, roundParts);
        roundParts[0].write = &streams.write;
        inParallel(threads, [&](std::size_t t) {
            checkPart(csv, unread.atEnd(), layout, *memories[t], parts[t]);
        });
        // A part starts where a line starts, which is where a record starts
        // unless a quoted field holds a line break across it: the part before
        // then reads on past it. The parts are kept while each starts where
        // the one before ended; the next round starts where the last kept
        // one stopped.
        std::size_t kept = 1;
        while (kept < threads && !parts[kept - 1].error && !parts[kept - 1].full &&
               !parts[kept - 1].runsOn && parts[kept - 1].next == parts[kept].begin)
            ++kept;
        std::size_t heldInput = 0, heldOutput = 0;
        for (std::size_t t = 0; t < kept; ++t) {
            ScheduleRows& part = parts[t];
            if (part.error)
                std::rethrow_exception(part.error);
            streams.write(part.output);
            summary.add(part);
            anyBad |= part.anyBad;
            anyFails |= part.anyFails;
            if (t > 0) {
                heldInput += part.next - part.begin;
                heldOutput += part.output.size();
            }
        }
        unread.consume(parts[kept - 1].next);
        longRow = parts[kept - 1].runsOn;
        // What the parts held sets the next round's length.
        if (heldInput > 0)
            round =
                std::clamp(heldOutputBytes / 2 * heldInput / std::max<std::size_t>(heldOutput, 1),
                           shortestRound, streams.roundBytes);
    }
    streams.warn(summary.line());
    return anyBad ? 2 : anyFails ? 1 : 0;
}

ScheduleRun runSchedule(std::string_view csv, ClassTable& table, std::size_t roundBytes)
{
    ScheduleRun run;
    std::size_t at = 0;
    const ScheduleStreams streams{
        [&](char* into, std::size_t room) {
            const std::size_t n = std::min(room, csv.size() - at);
            std::copy_n(csv.data() + at, n, into);
            at += n;
            return n;
        },
        [&](std::string_view text) { run.output += text; },
        [&](std::string_view text) {
            run.warnings += text;
            run.warnings += '\n';
        },
        roundBytes,
    };
    run.exitCode = runSchedule(streams, table);
    return run;
}

} // namespace cli
