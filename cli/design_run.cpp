#include "cli/design_run.h"

#include <charconv>
#include <unordered_set>

#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "engine/rules_text.h"
#include "engine/stop_reason.h"
#include "materials/class_material.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/design_basis_texts.h"

namespace cli {
namespace {

using joist::ResultLabel;
constexpr std::string_view separator = cSeparator;

// The window's labels in the C locale.
class LabelTexts : public joist::ResultSink
{
public:
    explicit LabelTexts(std::array<std::string, joist::resultLabelCount>& texts) : texts_(texts) {}
    void setResultText(ResultLabel label, std::string_view text) override
    {
        texts_[static_cast<std::size_t>(label)] = text;
    }

private:
    std::array<std::string, joist::resultLabelCount>& texts_;
};

class DesignTexts : public joist::InputSource
{
public:
    explicit DesignTexts(const document::DesignInputs& inputs) : inputs_(inputs) {}
    std::string text(joist::Input input) const override
    {
        return inputs_.texts[static_cast<std::size_t>(input)];
    }

private:
    const document::DesignInputs& inputs_;
};

} // namespace

class ClassTable::Names : public materials::CollectedNames
{};

// One table, read once, and the rows asked of it.
class ClassTable::Source
{
public:
    explicit Source(const std::string& path)
        : path_(path), connection_(std::string(separator)), names_(std::make_unique<Names>())
    {
        for (const joist::InputFacts& row : joist::inputFacts()) {
            if (row.field.empty())
                continue;
            const auto i = static_cast<std::size_t>(row.input);
            connection_.bind(std::string(row.field),
                             [this, i](const std::string& text) { bound_[i] = text; });
        }
        materials::readMaterialFields(connection_);
        materials::fillStrengthClassList(connection_, *names_, path);
        for (std::size_t i = 0; i < names_->names.size(); ++i)
            if (!firstRow_.try_emplace(names_->names[i], static_cast<int>(i)).second)
                namedTwice_.insert(names_->names[i]);
    }

    const std::string& path() const { return path_; }

    // Called under the table's lock.
    const Row* find(std::string_view className)
    {
        if (const auto known = rows_.find(className); known != rows_.end())
            return &known->second;
        const auto index = firstRow_.find(className);
        if (index == firstRow_.end())
            return nullptr;
        Row row;
        if (namedTwice_.contains(className)) {
            row.problem = materials::classNamedTwice(names_->names, className, path_)->what();
            return &rows_.emplace(className, std::move(row)).first->second;
        }
        names_->selected = index->second;
        materials::selectStrengthClass(connection_, *names_, *names_);
        // The first field the design reads that is not a number, as the window says it.
        for (const joist::InputDefinition& definition : joist::inputDefinitions) {
            const joist::InputFacts& input = joist::factsOf(definition.input);
            if (input.field.empty())
                continue;
            const std::optional<float> value =
                joist::parseNumber(bound_[std::size_t(definition.input)], separator);
            if (!value) {
                row.problem = materials::nonNumericFieldError(connection_, input.field).what();
                break;
            }
            row.values.*definition.member = *value;
        }
        const materials::ClassMaterial material = materials::currentMaterial(connection_);
        row.values.material = material.material;
        row.values.rhoK = material.rhoK;
        row.values.tablePresumesKcr = material.tablePresumesKcr;
        return &rows_.emplace(className, std::move(row)).first->second;
    }

private:
    std::string path_;
    materials::StrengthClassConnection connection_;
    std::array<std::string, joist::inputDefinitions.size()> bound_;
    std::unique_ptr<Names> names_;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> firstRow_;
    std::unordered_set<std::string, NameHash, std::equal_to<>> namedTwice_; // found in no row
    std::unordered_map<std::string, Row, NameHash, std::equal_to<>> rows_;  // rows stay put
};

ClassTable::ClassTable(const std::string& path, std::optional<joist::TableChoice> choice)
    : choice_(choice), path_(path)
{
    sources_[std::size_t(choice.value_or(joist::TableChoice::shipped))] =
        std::make_unique<Source>(path);
}

ClassTable::~ClassTable() = default;

// --database names the one table; otherwise each choice's file beside the
// first, read when a design first chooses it.
ClassTable::Source* ClassTable::sourceFor(joist::TableChoice chosen, std::string* problem)
{
    const std::size_t at = std::size_t(choice_ ? chosen : joist::TableChoice::shipped);
    if (!sources_[at] && problems_[at].empty()) {
        try {
            sources_[at] = std::make_unique<Source>(path(chosen));
        } catch (const materials::DatabaseError& error) {
            problems_[at] = error.what();
        }
    }
    if (problem)
        *problem = problems_[at];
    return sources_[at].get();
}

const ClassTable::Row* ClassTable::find(std::string_view className, joist::TableChoice chosen)
{
    const std::lock_guard lock(mutex_);
    Source* source = sourceFor(chosen, nullptr);
    return source ? source->find(className) : nullptr;
}

std::string ClassTable::path(joist::TableChoice chosen) const
{
    if (!choice_ || chosen == *choice_)
        return path_;
    const std::string_view file = materials::shippedTableOf(*choice_).fileName;
    return path_.substr(0, path_.size() - file.size()) +
           std::string(materials::shippedTableOf(chosen).fileName);
}

std::string ClassTable::problem(joist::TableChoice chosen) const
{
    const std::lock_guard lock(mutex_);
    return problems_[std::size_t(choice_ ? chosen : joist::TableChoice::shipped)];
}

const ClassTable::Row* usableRow(const ClassTable::Row* row, std::string_view name,
                                 const ClassTable& table, DesignRun& run)
{
    if (const std::string problem = table.problem(run.basisTable); !problem.empty())
        run.message = problem;
    else if (!row)
        run.message = "the strength class \"" + std::string(name) +
                      "\" is not in the strength-class table " + table.path(run.basisTable);
    else if (!row->problem.empty())
        run.message = row->problem;
    return run.message.empty() ? row : nullptr;
}

void checkDesign(joist::JoistDesign& design,
                 const std::function<report::DesignAids(const joist::JoistDesign&)>& aids,
                 DesignRun& run)
{
    LabelTexts labels(run.texts);
    run.tablePresumesKcr = design.tablePresumesKcr;
    const joist::CheckOutcome outcome = joist::runDesignCheck(design, false, labels, separator);
    if (!outcome.completed()) {
        run.texts = {};
        run.message =
            joist::describeStop(joist::stopReason(outcome, design), joist::inputCaption) + ".";
        return;
    }
    for (std::size_t i = 0; i < joist::checkDefinitions.size(); ++i) {
        const joist::CheckDefinition& check = joist::checkDefinitions[i];
        if (joist::inForce(check, design)) {
            run.demands[i] = design.*check.numerator;
            run.capacities[i] = design.*check.denominator;
        }
    }
    run.outcome = run.texts[std::size_t(ResultLabel::governedBy)] == joist::passText
                      ? DesignRun::Outcome::passes
                      : DesignRun::Outcome::fails;
    // The searches copy the design for every check; its failure text, now
    // among the labels, is no part of theirs.
    design.governingMessage = std::string();
    run.aids = aids(design);
    if (run.aids.noAnswer)
        run.loadProblem = report::loadProblemMessage(*run.aids.noAnswer);
    // Below 8 Hz, 7.3.3's w and v do not apply; the window and sheet say so too.
    if (report::belowEightHertz(design))
        run.note = report::lowFrequencyNote(quantityText(design.f1));
    if (const std::string kcr = joist::kcrByTableNote(design, separator); !kcr.empty())
        run.note += (run.note.empty() ? "" : "; ") + kcr;
}

std::string quantityText(float value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), double(value),
                                   std::chars_format::general, 4)
                         .ptr;
    return std::string(text.data(), end);
}

std::string longestSpanMetres(const report::DesignAids& aids)
{
    const joist::LongestSpan& span = aids.longestSpan;
    if (aids.noAnswer || span.kind != joist::LongestSpan::Kind::millimetres)
        return {};
    std::array<char, 32> text{};
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), double(span.millimetres) / 1000).ptr;
    return std::string(text.data(), end);
}

std::string longestSpanNote(const report::DesignAids& aids)
{
    if (aids.noAnswer)
        return std::string(report::noAnswerText);
    switch (aids.longestSpan.kind) {
    case joist::LongestSpan::Kind::millimetres:
        break;
    case joist::LongestSpan::Kind::beyondRange:
        return "beyond " + std::to_string(joist::longestSpanSearched / 1000) + " m";
    case joist::LongestSpan::Kind::none:
        return "none";
    }
    return {};
}

DesignRun runDesign(const document::DesignInputs& inputs, const joist::DesignBasis& basis,
                    ClassTable& table)
{
    DesignRun run;
    run.basisTable = basis.table;
    const ClassTable::Row* row =
        usableRow(table.find(inputs.strengthClass, basis.table), inputs.strengthClass, table, run);
    if (!row)
        return run;
    joist::JoistDesign design = row->values;
    design.basis = basis;
    document::DesignInputs settled = inputs;
    try {
        document::settleMaterialInput(settled, basis, design.material);
    } catch (const document::ValueRefused& refused) {
        run.message = refused.what();
        return run;
    }
    const DesignTexts texts(settled);
    for (const joist::InputFacts& input : joist::inputFacts()) {
        if (input.key.empty())
            continue;
        const joist::ReadResult read = joist::storeInput(design, texts, input.input, separator);
        if (!read.ok()) { // the inputs were checked, so this is not expected
            run.message = "\"" + read.failedText + "\" is not a number";
            return run;
        }
    }
    checkDesign(design, report::computeDesignAids, run);
    return run;
}

} // namespace cli
