// Build tool: makes the manual page from its template, the lists of keys and
// columns taken from the program's own tables, so that none can be missing.
//   make_manual_page <timber-joist.1.in> <timber-joist.1>
//
// In the template, a line "@inputs@ TEXT" stands for the design file's
// inputs and "@basis@ TEXT" for its design basis keys, each in bold with what
// the tables say of it; "@checks KIND...@ TEXT" for the keys of the checks of
// those kinds (deflection, strength, vibration, pointLoad), in the order the
// command line writes them. TEXT, if any, follows the last item. A line
// ".\" @note KEY: TEXT" adds the manual's own words to that key's entry and
// is left out of the page. A schedule column that the section SCHEDULES
// does not name in bold stops the build.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <QString>

#include "cli/schedule_row.h"
#include "engine/design_basis.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "io/checked_file.h"

namespace {

using Notes = std::map<std::string, std::string, std::less<>>;

// A list's items, each one or more lines: a comma after each but the last,
// which the placeholder's text follows.
std::string joined(const std::vector<std::vector<std::string>>& items, const std::string& after)
{
    std::string page;
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::vector<std::string> lines = items[i];
        const std::string end = i + 1 < items.size() ? "," : after;
        if (!end.empty())
            lines.back() += (lines.back().starts_with('.') ? " " : "") + end;
        for (const std::string& line : lines)
            page += line + "\n";
    }
    return page;
}

// Words as troff sets them: superscripts by name.
std::string words(std::string_view text)
{
    std::string out(text);
    for (const auto& [from, to] : {std::pair{"\u00B2", "\\(S2"}, {"\u00B3", "\\(S3"}}) {
        for (std::size_t at = 0; (at = out.find(from, at)) != std::string::npos;)
            out.replace(at, std::string_view(from).size(), to);
    }
    return out;
}

// A key as troff sets it: a minus sign where a hyphen would break it.
std::string troff(std::string_view key)
{
    std::string out;
    for (const char c : key)
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

// "kN/m2" as the page writes it.
std::string unitText(std::string_view unit)
{
    std::string text = words(unit);
    if (text.ends_with("m2") || text.ends_with("m3"))
        text.insert(text.size() - 1, "\\(S");
    return text;
}

std::string bold(std::string_view text)
{
    return "\\fB" + troff(text) + "\\fR";
}

std::string number(float value)
{
    return joist::generalText(value, ".");
}

// One key's entry: the key in bold, then what is said of it in brackets.
std::vector<std::string> entry(std::string_view key, std::string said, Notes& notes)
{
    if (const auto note = notes.find(key); note != notes.end()) {
        said += "; " + note->second;
        notes.erase(note);
    }
    return {".B " + troff(key), "(" + said + ")"};
}

std::string inputs(const std::string& after, Notes& notes)
{
    std::vector<std::vector<std::string>> items;
    std::vector<std::string> factors;
    for (const joist::InputFacts& input : joist::inputFacts()) {
        if (input.key.empty())
            continue;
        if (input.unit.empty())
            factors.emplace_back(input.key);
        else
            items.push_back(entry(input.key, unitText(input.unit), notes));
    }
    if (!factors.empty()) {
        std::string line = ".BR";
        for (std::size_t i = 0; i < factors.size(); ++i)
            line += (i ? " \", \" " : " ") + troff(factors[i]);
        items.push_back({factors.size() > 1 ? "the factors" : "the factor", line});
    }
    return joined(items, after);
}

// "a, b or c", each in bold; an empty text as "empty".
std::string choices(std::span<const std::string_view> texts)
{
    std::string said;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        said += i == 0 ? "" : i + 1 < texts.size() ? ", " : " or ";
        said += texts[i].empty() ? std::string("empty") : bold(texts[i]);
    }
    return said;
}

std::string rangeText(const joist::LimitRange& range)
{
    return number(range.least) + " to " + number(range.most);
}

std::string basis(const std::string& after, Notes& notes)
{
    const joist::DesignBasis defaults;
    std::vector<std::vector<std::string>> items;
    for (const joist::BasisField& field : joist::basisFields) {
        std::string said = words(field.caption);
        if (!said.empty() && said[0] >= 'A' && said[0] <= 'Z')
            said[0] = char(said[0] - 'A' + 'a');
        if (!field.unit.empty())
            said += ", " + unitText(field.unit);
        if (field.number) {
            const std::optional<joist::LimitRange> range = joist::rangeOf(field.number);
            said += ", " + (range                             ? rangeText(*range)
                            : joist::allowsZero(field.number) ? std::string("0 or more")
                                                              : std::string("positive"));
            said += ", default " + number(joist::defaultOf(field.number, defaults));
        } else if (field.cap) {
            said += ", " + rangeText(joist::capRange) + ", or empty text for no cap, the default";
        } else if (field.flag) {
            said += std::string(", JSON true or false, default ") +
                    (defaults.*field.flag ? "true" : "false");
        } else if (field.choice) {
            const std::string_view chosen = field.choice->text(defaults);
            said += ": " + choices(field.choice->texts) + ", default " +
                    (chosen.empty() ? std::string("empty") : bold(chosen));
        }
        items.push_back(entry(field.key, said, notes));
    }
    return joined(items, after);
}

const std::map<std::string, joist::CheckKind, std::less<>> kindNames{
    {"deflection", joist::CheckKind::deflection},
    {"strength", joist::CheckKind::strength},
    {"vibration", joist::CheckKind::vibration},
    {"pointLoad", joist::CheckKind::pointLoad},
};

std::string checks(const std::vector<std::string>& kindWords, const std::string& after)
{
    std::vector<joist::CheckKind> kinds;
    for (const std::string& word : kindWords) {
        const auto kind = kindNames.find(word);
        if (kind == kindNames.end())
            throw std::runtime_error("no kind of check is called \"" + word + "\"");
        kinds.push_back(kind->second);
    }
    std::vector<std::string> keys;
    for (const joist::ResultLabel label : joist::outputOrder) {
        const std::optional<joist::Check> check = joist::checkOfLabel(label);
        if (check &&
            std::find(kinds.begin(), kinds.end(), joist::definitionOf(*check).kind) != kinds.end())
            keys.push_back(troff(joist::resultKey(label)));
    }
    if (keys.empty())
        throw std::runtime_error("no check is of the kinds named");
    std::string line = keys.size() == 1 && after.empty() ? ".B" : ".BR";
    for (std::size_t i = 0; i < keys.size(); ++i)
        line += (i ? " \", \" " : " ") + keys[i];
    return line + (after.empty() ? "" : " " + after) + "\n";
}

// Whether the page names a word in bold, as its lists name keys.
bool namedInBold(const std::string& page, std::string_view word)
{
    std::string pattern;
    for (const char c : troff(word))
        pattern +=
            std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c) : std::string{'\\', c};
    const std::regex named("^\\.(B|BR|RB) (.* )?\"?" + pattern + "($|[ ,\"])",
                           std::regex::multiline);
    const std::regex inline_("\\\\fB" + pattern + "\\\\fR");
    return std::regex_search(page, named) || std::regex_search(page, inline_);
}

// Every column a schedule may write, with every column of the basis's flags.
std::vector<std::string_view> everyScheduleColumn()
{
    std::vector<std::string> header;
    for (const joist::BasisField& field : joist::basisFields) {
        if (field.flag)
            header.emplace_back(field.key);
    }
    std::string ignored;
    return cli::resultColumns(cli::scheduleLayout(header, ignored));
}

std::string page(const std::string& manualTemplate)
{
    Notes notes;
    std::vector<std::string> lines;
    std::istringstream in(manualTemplate);
    for (std::string line; std::getline(in, line);) {
        const std::string noteMark = ".\\\" @note ";
        if (line.starts_with(noteMark)) {
            const std::size_t colon = line.find(": ");
            if (colon == std::string::npos)
                throw std::runtime_error("a note without \": \": " + line);
            notes[line.substr(noteMark.size(), colon - noteMark.size())] = line.substr(colon + 2);
            continue;
        }
        lines.push_back(line);
    }
    std::string out;
    for (const std::string& line : lines) {
        if (!line.starts_with('@')) {
            out += line + "\n";
            continue;
        }
        const std::size_t end = line.find('@', 1);
        if (end == std::string::npos)
            throw std::runtime_error("a placeholder without its closing @: " + line);
        std::istringstream words(line.substr(1, end - 1));
        std::string name;
        words >> name;
        std::vector<std::string> arguments;
        for (std::string word; words >> word;)
            arguments.push_back(word);
        std::string after = line.substr(end + 1);
        after.erase(0, after.find_first_not_of(' '));
        if (name == "inputs" && arguments.empty())
            out += inputs(after, notes);
        else if (name == "basis" && arguments.empty())
            out += basis(after, notes);
        else if (name == "checks" && !arguments.empty())
            out += checks(arguments, after);
        else
            throw std::runtime_error("no list is called so: " + line);
    }
    if (!notes.empty())
        throw std::runtime_error("a note for \"" + notes.begin()->first +
                                 "\", which no list holds");
    const std::size_t schedules = out.find("\n.SH SCHEDULES\n");
    if (schedules == std::string::npos)
        throw std::runtime_error("the page has no section SCHEDULES");
    const std::string section =
        out.substr(schedules, out.find("\n.SH ", schedules + 1) - schedules);
    for (const std::string_view column : everyScheduleColumn()) {
        if (!namedInBold(section, column))
            throw std::runtime_error("SCHEDULES does not name the column \"" + std::string(column) +
                                     "\" in bold");
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_manual_page <timber-joist.1.in> <timber-joist.1>\n";
        return 2;
    }
    try {
        std::ifstream file(argv[1], std::ios::binary);
        std::ostringstream manualTemplate;
        manualTemplate << file.rdbuf();
        if (!file)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        io::writeWholeFile(QString::fromLocal8Bit(argv[2]), page(manualTemplate.str()));
    } catch (const std::exception& error) {
        std::cerr << "make_manual_page: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
