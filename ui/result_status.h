#pragma once

// Whether the results on screen describe the inputs on screen, and if not, why.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "engine/design_inputs.h"

namespace ui {

// "Results out of date: " and why: the one way the window says so.
std::string outOfDate(std::string_view reason);

// Why the results on screen may not describe the inputs on screen: an input
// whose text is not a number (the record still holds its last number), a
// strength class with a field that is not a number, or a calculation that
// stopped. The results are current only when there is no such reason.
class ResultStatus
{
public:
    void setInputProblem(joist::Input input, std::string message);
    void clearInputProblem(joist::Input input);
    void setMaterialProblem(std::string message) { material_ = std::move(message); }
    void clearMaterialProblem() { material_.reset(); }
    void setCalculationProblem(std::string message) { calculation_ = std::move(message); }
    void clearCalculationProblem() { calculation_.reset(); }

    // Results that are current but no design answer (a negative load), said
    // before any notice.
    void setLoadProblem(std::string problem) { loadProblem_ = std::move(problem); }
    // What current results do not settle (a floor below 8 Hz), said after
    // the load problem.
    void setResultNote(std::string note) { resultNote_ = std::move(note); }

    // Information that is no reason to doubt the results, shown while they
    // are current.
    void setNotice(std::string notice) { notice_ = std::move(notice); }
    // The settings file unused or not saved: no reason to doubt the results
    // either, but kept until it is mended, not replaced by a notice.
    void setSettingsProblem(std::string problem) { settings_ = std::move(problem); }

    // A pointer for a new user, shown only when there is nothing else to say.
    void setHint(std::string hint) { hint_ = std::move(hint); }
    bool hasHint() const { return !hint_.empty(); }
    bool showsHint() const
    {
        return hasHint() && current() && loadProblem_.empty() && resultNote_.empty() &&
               notice_.empty() && settings_.empty();
    }

    bool current() const { return inputs_.empty() && !material_ && !calculation_; }
    bool hasInputProblem(joist::Input input) const { return inputs_.contains(input); }
    // The first reason, in reading order, said as out of date, or the notice
    // and the settings problem when the results are current, or else the
    // hint. Reasons are set without that lead.
    std::string message() const;

private:
    std::map<joist::Input, std::string> inputs_;
    std::optional<std::string> material_;
    std::optional<std::string> calculation_;
    std::string loadProblem_;
    std::string resultNote_;
    std::string notice_;
    std::string settings_;
    std::string hint_;
};

} // namespace ui
