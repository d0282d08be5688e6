#pragma once

// A kind of record of which a design lists several, such as the extra loads
// on a joist: its columns described once in a table, each with its key in
// files and JSON, its caption and unit where people read it, and what it
// holds (a number in a range, or one of a few choices); the rules between
// its columns; and the most records a list may hold. One rule reads a record
// from its keys and texts and names what it refuses by the record's number
// and key, so that a new kind of record is a new table, not new code.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/number_text.h"

namespace joist {

// What a number column holds: from `least` to `most`, or to the span.
struct ColumnRange
{
    float least = 0;
    float most = 0;
    bool toSpan = false; // at most the design's span, not `most`
};

// A column of one of a few choices: the texts files hold, in the order of
// the member's enum, and the captions people read.
template <class Record> struct RecordChoice
{
    std::span<const std::string_view> texts;
    std::span<const std::string_view> captions;
    std::size_t (*get)(const Record&);
    void (*set)(Record&, std::size_t);
};

template <class Member> struct RecordOfMember;
template <class Record, class Value> struct RecordOfMember<Value Record::*>
{
    using type = Record;
};

// A choice over the enum of a record's member.
template <auto member, auto& texts, auto& captions> constexpr auto recordChoiceOf()
{
    static_assert(texts.size() == captions.size(), "a choice's texts and captions pair up");
    using Record = typename RecordOfMember<decltype(member)>::type;
    return RecordChoice<Record>{
        texts, captions, [](const Record& r) { return static_cast<std::size_t>(r.*member); },
        [](Record& r, std::size_t i) {
            r.*member = static_cast<std::remove_reference_t<decltype(r.*member)>>(i);
        }};
}

// The kinds of record a column applies to: bit i for item i of the record's
// first column, the choice that says what kind of record it is.
inline constexpr std::uint32_t everyKind = ~std::uint32_t{0};
template <class Kind> constexpr std::uint32_t kindsOf(std::initializer_list<Kind> kinds)
{
    std::uint32_t bits = 0;
    for (const Kind kind : kinds)
        bits |= std::uint32_t{1} << static_cast<unsigned>(kind);
    return bits;
}

template <class Record> struct RecordColumn
{
    std::string_view key;
    std::string_view caption;
    std::string_view unit = {};
    // Its unit for each kind of record, where that decides it.
    std::span<const std::string_view> unitOfKind = {};
    // A number in a range, or a choice.
    float Record::*number = nullptr;
    ColumnRange range = {};
    const RecordChoice<Record>* choice = nullptr;
    std::uint32_t appliesTo = everyKind;
};

// A rule between two number columns, checked where both apply.
enum class RecordRuleKind {
    notBothZero, // the first or the second holds more than 0
    lessThan,    // the first holds less than the second
};
struct RecordRule
{
    RecordRuleKind kind;
    std::string_view first;
    std::string_view second;
};

template <class Record> struct RecordKind
{
    std::string_view name;   // how a message names one: "load"
    std::string_view plural; // and more than one: "loads"
    std::size_t mostRecords; // in one list
    std::span<const RecordColumn<Record>> columns;
    std::span<const RecordRule> rules;
};

// Every key once, each column a number or a choice, ranges the right way
// round, a unit for each kind where one is given by kind, a column for some
// kinds only where the first column is the kind's choice, and rules between
// number columns of the table: a table that is not so does not build.
template <class Record> constexpr bool isWellFormed(const RecordKind<Record>& kind)
{
    const auto columnOf = [&](std::string_view key) -> const RecordColumn<Record>* {
        for (const RecordColumn<Record>& column : kind.columns)
            if (column.key == key)
                return &column;
        return nullptr;
    };
    if (kind.name.empty() || kind.plural.empty() || kind.mostRecords == 0 || kind.columns.empty())
        return false;
    const RecordChoice<Record>* kinds = kind.columns[0].choice;
    if (kinds && kinds->texts.size() > 32) // one bit each in appliesTo
        return false;
    for (const RecordColumn<Record>& column : kind.columns) {
        if (column.key.empty() || column.caption.empty() || columnOf(column.key) != &column ||
            (column.number == nullptr) == (column.choice == nullptr))
            return false;
        if (column.number && !column.range.toSpan && !(column.range.least <= column.range.most))
            return false;
        if (column.choice && column.choice->texts.size() != column.choice->captions.size())
            return false;
        if (!column.unitOfKind.empty() &&
            (!kinds || column.unitOfKind.size() != kinds->texts.size()))
            return false;
        if (column.appliesTo != everyKind && (!kinds || &column == &kind.columns[0]))
            return false;
    }
    for (const RecordRule& rule : kind.rules) {
        const RecordColumn<Record>* first = columnOf(rule.first);
        const RecordColumn<Record>* second = columnOf(rule.second);
        if (!first || !second || !first->number || !second->number)
            return false;
    }
    return true;
}

// A record as a file holds it: each key with its text, numbers with ".".
using RecordTexts = std::vector<std::pair<std::string_view, std::string_view>>;

// What a record is read against.
struct RecordBounds
{
    float span = 0; // m
};

// The words of what a reading refuses, for a record named by its number.
namespace record_text {
std::string quoted(std::string_view text); // cut where it runs long
std::string recordName(std::string_view name, std::size_t number);
std::string whyNotANumber(NumberProblem problem);
std::string rangeWords(const ColumnRange& range, std::string_view unit);
std::string quotedList(std::span<const std::string_view> items);
} // namespace record_text

template <class Record> struct RecordRead
{
    std::optional<Record> record;
    std::string problem; // empty when read
};

// Reads record `number` (from 1) of a kind: every column that applies to
// its kind must be there and hold what the column allows, no other key may
// be, and its rules must hold.
template <class Record>
RecordRead<Record> readRecord(const RecordKind<Record>& kind, std::size_t number,
                              const RecordTexts& texts, const RecordBounds& bounds)
{
    namespace t = record_text;
    const std::string name = t::recordName(kind.name, number);
    const auto refused = [](std::string problem) { return RecordRead<Record>{{}, problem}; };
    const auto textOf = [&](std::string_view key) -> std::optional<std::string_view> {
        for (const auto& [k, text] : texts)
            if (k == key)
                return text;
        return std::nullopt;
    };
    std::vector<std::string_view> keys;
    for (const RecordColumn<Record>& column : kind.columns)
        keys.push_back(column.key);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view key = texts[i].first;
        bool known = false;
        for (const std::string_view k : keys)
            known = known || k == key;
        if (!known)
            return refused(name + " has a key " + t::quoted(key) + ", which is not one of " +
                           t::quotedList(keys));
        for (std::size_t j = 0; j < i; ++j)
            if (texts[j].first == key)
                return refused(name + " has " + t::quoted(key) + " twice");
    }

    Record record{};
    std::size_t kindItem = 0;
    for (const RecordColumn<Record>& column : kind.columns) {
        const std::optional<std::string_view> text = textOf(column.key);
        if (!(column.appliesTo >> kindItem & 1)) {
            if (text)
                return refused(name + " " + t::quoted(column.key) + " does not apply to its " +
                               std::string(kind.columns[0].key) + " " +
                               t::quoted(kind.columns[0].choice->texts[kindItem]));
            continue;
        }
        if (!text)
            return refused(name + " has no " + t::quoted(column.key));
        const std::string holds = name + " " + t::quoted(column.key) + " holds " + t::quoted(*text);
        if (column.choice) {
            const std::span<const std::string_view> items = column.choice->texts;
            std::size_t item = 0;
            while (item < items.size() && items[item] != *text)
                ++item;
            if (item == items.size())
                return refused(holds + ", which is not one of " + t::quotedList(items));
            column.choice->set(record, item);
            if (&column == &kind.columns[0])
                kindItem = item;
            continue;
        }
        const NumberReading reading = readNumber(*text, ".");
        if (!reading.value)
            return refused(holds + t::whyNotANumber(reading.problem));
        const float value = *reading.value == 0 ? 0.0f : *reading.value; // never -0
        const std::string_view unit =
            column.unitOfKind.empty() ? column.unit : column.unitOfKind[kindItem];
        if (column.range.toSpan && value > bounds.span && value >= column.range.least)
            return refused(holds + ", past the span");
        if (!(value >= column.range.least && (column.range.toSpan || value <= column.range.most)))
            return refused(holds + t::rangeWords(column.range, unit));
        record.*column.number = value;
    }

    for (const RecordRule& rule : kind.rules) {
        const RecordColumn<Record>* first = nullptr;
        const RecordColumn<Record>* second = nullptr;
        for (const RecordColumn<Record>& column : kind.columns) {
            if (column.key == rule.first)
                first = &column;
            if (column.key == rule.second)
                second = &column;
        }
        if (!(first->appliesTo >> kindItem & 1) || !(second->appliesTo >> kindItem & 1))
            continue;
        const float a = record.*first->number;
        const float b = record.*second->number;
        if (rule.kind == RecordRuleKind::notBothZero && a == 0 && b == 0)
            return refused(name + " has " + t::quoted(rule.first) + " and " +
                           t::quoted(rule.second) + " both 0");
        if (rule.kind == RecordRuleKind::lessThan && !(a < b))
            return refused(name + " " + t::quoted(rule.first) + " holds " +
                           t::quoted(*textOf(rule.first)) + ", which is not less than " +
                           t::quoted(rule.second) + " (" + t::quoted(*textOf(rule.second)) + ")");
    }
    return {record, {}};
}

template <class Record> struct RecordsRead
{
    std::vector<Record> records;
    std::string problem; // empty when all were read
};

// Reads a list of records, refusing the whole list for its first refused
// record or for more records than the kind allows.
template <class Record>
RecordsRead<Record> readRecords(const RecordKind<Record>& kind, std::span<const RecordTexts> list,
                                const RecordBounds& bounds)
{
    if (list.size() > kind.mostRecords)
        return {{},
                std::to_string(list.size()) + " " + std::string(kind.plural) + ", more than the " +
                    std::to_string(kind.mostRecords) + " a design may hold"};
    RecordsRead<Record> read;
    for (std::size_t i = 0; i < list.size(); ++i) {
        RecordRead<Record> one = readRecord(kind, i + 1, list[i], bounds);
        if (!one.record)
            return {{}, std::move(one.problem)};
        read.records.push_back(*one.record);
    }
    return read;
}

} // namespace joist
