#pragma once

// One design checked as the window checks it, in the C locale, for the
// command line: the strength-class table read once, the result labels' texts
// and the design aids.

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "document/design_file.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "materials/strength_class_connection.h"
#include "report/design_aid_lines.h"

namespace cli {

// The C locale's decimal separator, in which the command line writes.
inline constexpr std::string_view cSeparator = ".";

using joist::labelInForce;
using joist::outputOrder;

// The vibration quantities written beside their ratios, each key naming its
// unit: what the floor gives, and what it must keep to.
struct QuantityKeys
{
    joist::Check check;
    std::string_view demand, capacity;
};
inline constexpr std::array<QuantityKeys, 3> quantityKeys{{
    {joist::Check::f1, "f1MinHz", "f1Hz"},
    {joist::Check::w, "wMmPerKN", "aMmPerKN"},
    {joist::Check::v, "vMPerNs2", "vLimitMPerNs2"},
}};

// A quantity to four significant figures, "." as decimal separator.
std::string quantityText(float value);

// The longest span in metres, or empty when there is none to give; and the
// note that says why ("beyond 30 m", "none", "\u2013" under a load problem),
// or empty.
std::string longestSpanMetres(const report::DesignAids& aids);
std::string longestSpanNote(const report::DesignAids& aids);

// Strings found by a view of their text, without a copy.
struct NameHash : std::hash<std::string_view>
{
    using is_transparent = void;
};

// The strength-class tables, each read once through the window's sequences
// when first asked for, and the bound texts of each class asked for.
class ClassTable
{
public:
    // `path` names the table every design reads (--database) when `choice`
    // is none; otherwise it is that shipped table's file, and a design that
    // chooses another reads that one from the same folder. Throws
    // materials::DatabaseError for the first table.
    explicit ClassTable(const std::string& path,
                        std::optional<joist::TableChoice> choice = joist::TableChoice::shipped);
    ~ClassTable();

    struct Row
    {
        joist::JoistDesign values; // the bound fields, read once
        std::string problem;       // a field the design cannot read, in words
    };
    // The row of that name in the table a design with this choice reads, or
    // null (see problem()); a name the table holds twice gives a row whose
    // problem says so. Safe to call from several threads.
    const Row* find(std::string_view className,
                    joist::TableChoice chosen = joist::TableChoice::shipped);
    // The file of that table, and why it could not be read (empty if it was).
    std::string path(joist::TableChoice chosen = joist::TableChoice::shipped) const;
    std::string problem(joist::TableChoice chosen) const;

private:
    class Names;
    class Source;
    Source* sourceFor(joist::TableChoice chosen, std::string* problem);

    std::optional<joist::TableChoice> choice_;
    std::string path_;
    std::array<std::unique_ptr<Source>, joist::tableTexts.size()> sources_; // by choice
    std::array<std::string, joist::tableTexts.size()> problems_;
    mutable std::mutex mutex_;
};

// One design checked as the window checks it, in the C locale.
struct DesignRun
{
    enum class Outcome { passes, fails, bad };
    Outcome outcome = Outcome::bad;
    // By joist::ResultLabel; the vibration ratios only when the basis checks
    // vibration.
    std::array<std::string, joist::resultLabelCount> texts;
    // Each check's demand and capacity (what its ratio divides), by check
    // order, for the checks in force of a completed check.
    std::array<float, joist::checkDefinitions.size()> demands{}, capacities{};
    report::DesignAids aids;
    std::string message;                                         // why the design is bad
    joist::TableChoice basisTable = joist::TableChoice::shipped; // the design's
    bool tablePresumesKcr = false; // the class's table's: whether kcr is in force
    // Why the results, though complete, are no design answer (a negative
    // load), or empty.
    std::string loadProblem;
    // What the results do not settle or take from the table, said beside
    // them (a floor below 8 Hz; kcr that the table brings), "; " between
    // two, or empty.
    std::string note;
};
DesignRun runDesign(const document::DesignInputs& inputs, const joist::DesignBasis& basis,
                    ClassTable& table);

// The class row a design names, or null with the reason in the run.
const ClassTable::Row* usableRow(const ClassTable::Row* row, std::string_view name,
                                 const ClassTable& table, DesignRun& run);

// Checks a design whose inputs are stored, and answers its aids.
void checkDesign(joist::JoistDesign& design,
                 const std::function<report::DesignAids(const joist::JoistDesign&)>& aids,
                 DesignRun& run);

} // namespace cli
