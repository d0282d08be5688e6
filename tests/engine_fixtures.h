#pragma once

// The start-up joist and a result sink that records what a check shows, for
// the engine's tests.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/design_check.h"
#include "engine/design_inputs.h"

namespace joist::testing {

// The start-up inputs with the C16 material values.
inline JoistDesign startExample()
{
    JoistDesign d;
    d.fmk = 16;
    d.fc90k = 2.2f;
    d.fvk = 1.8f;
    d.e0mean = 8;
    d.rhoMean = 370;
    d.breadth = 44;
    d.depth = 225;
    d.spacing = 300;
    d.span = 4;
    d.bearingLength = 50;
    d.deadLoad = 0.4f;
    d.liveLoad = 1.5f;
    d.camber = 0;
    d.kmod = 0.8f;
    d.kcrit = 1;
    d.kls = 1;
    d.kh = 1;
    d.gammaM = 1.3f;
    d.kmodGk = 0.8f;
    d.kmodQk = 0.25f;
    return d;
}

// Records every label text written, in order.
class RecordingSink : public ResultSink
{
public:
    void setResultText(ResultLabel label, std::string_view text) override
    {
        writes.emplace_back(label, std::string(text));
        shown[label] = std::string(text);
    }
    std::vector<std::pair<ResultLabel, std::string>> writes;
    std::map<ResultLabel, std::string> shown;
};

// Six significant digits, as the worked example gives them.
inline std::string sixDigits(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
    return text;
}

} // namespace joist::testing
