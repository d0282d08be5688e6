#pragma once

// The floor the design check is measured against: the same steps written the
// plain way, with snprintf and strtof for the roundings and label texts. It
// exists only to be timed beside the program's check in the same run.

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/check_steps.h"
#include "engine/design_check.h"
#include "engine/joist_design.h"

namespace bench {

inline float roundedRatio(double numerator, double denominator)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f",
                  static_cast<double>(static_cast<float>(numerator / denominator)));
    std::size_t length = std::strlen(text);
    if (text[length - 1] == '0')
        text[length - 1] = '\0';
    return std::strtof(text, nullptr);
}

inline void labelText(std::string& out, float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    out = text;
}

// Returns false on a floating-point fault, like the program's check. The
// steps are the program's own formulas; what differs is the plain fault test,
// the snprintf roundings and texts, and no sink.
inline bool snprintfCheck(joist::JoistDesign& d,
                          std::array<std::string, joist::resultLabelCount>& labels)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    auto ok = [] { return !std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW); };
    const bool computed = joist::computeSteps(d, [&ok](int, float& member, double value) {
        member = static_cast<float>(value);
        return ok();
    });
    if (!computed)
        return false;
    for (const joist::CheckDefinition& check : joist::checkDefinitions)
        d.*check.ratio = roundedRatio(d.*check.numerator, d.*check.denominator);
    if (!ok())
        return false;
    d.unityRatio = 0;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        labelText(labels[static_cast<std::size_t>(check.label)], d.*check.ratio);
        if (d.*check.ratio > d.unityRatio)
            d.unityRatio = d.*check.ratio;
    }
    labelText(labels[static_cast<std::size_t>(joist::ResultLabel::unityRatio)], d.unityRatio);
    labels[static_cast<std::size_t>(joist::ResultLabel::governedBy)] =
        d.unityRatio > 1 ? "fails" : "Joist Passes";
    return true;
}

} // namespace bench
