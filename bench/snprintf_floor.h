#pragma once

// The floor the design check is measured against: the same steps written the
// plain way, with snprintf and strtof for the roundings and label texts. It
// exists only to be timed beside the program's check in the same run.

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// Returns false on a floating-point fault, like the program's check.
inline bool snprintfCheck(joist::JoistDesign& d, std::string (&labels)[8])
{
    using F = double;
    std::feclearexcept(FE_ALL_EXCEPT);
    auto ok = [] { return !std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW); };
    d.selfWeight = float(F(d.rhoMean) * 9.81 * F(d.breadth) * F(d.depth) / std::pow(10.0, 9));
    if (!ok())
        return false;
    d.deadLineLoad = float(F(d.deadLoad) * F(d.spacing) / 1e3);
    if (!ok())
        return false;
    d.liveLineLoad = float(F(d.liveLoad) * F(d.spacing) / 1e3);
    if (!ok())
        return false;
    d.designLoad = float((F(d.deadLineLoad) + F(d.selfWeight)) * 1.35 + F(d.liveLineLoad) * 1.5);
    if (!ok())
        return false;
    d.designMoment = float(std::pow(F(d.span), 2) * F(d.designLoad) / 8);
    if (!ok())
        return false;
    d.designShear = float(F(d.designLoad) * F(d.span) / 2);
    if (!ok())
        return false;
    d.fmd = float(F(d.fmk) * F(d.kmod) * F(d.kcrit) * F(d.kls) * F(d.kh) / F(d.gammaM));
    if (!ok())
        return false;
    d.fvd = float(F(d.fvk) * F(d.kls) * F(d.kmod) / F(d.gammaM));
    if (!ok())
        return false;
    d.fc90d = float(F(d.fc90k) * F(d.kmod) / F(d.gammaM));
    if (!ok())
        return false;
    d.area = float(F(d.breadth) * F(d.depth));
    if (!ok())
        return false;
    d.sectionModulus = float(std::pow(F(d.depth), 2) * F(d.breadth) / 6);
    if (!ok())
        return false;
    d.secondMoment = float(std::pow(F(d.depth), 3) * F(d.breadth) / 12);
    if (!ok())
        return false;
    d.bendingStress = float(1e6 * F(d.designMoment) / F(d.sectionModulus));
    if (!ok())
        return false;
    d.shearStress = float(1e3 * (F(d.designShear) * 1.5) / F(d.area));
    if (!ok())
        return false;
    d.bearingStress = float(1e3 * F(d.designShear) / (F(d.bearingLength) * F(d.breadth)));
    if (!ok())
        return false;
    const double denominator = 1e3 * (F(d.e0mean) * 384) * F(d.secondMoment);
    d.uInstG = float(std::pow(1e3 * F(d.span), 4) * ((F(d.deadLineLoad) + F(d.selfWeight)) * 5) /
                     denominator);
    if (!ok())
        return false;
    d.uInstQ = float(std::pow(1e3 * F(d.span), 4) * (F(d.liveLineLoad) * 5) / denominator);
    if (!ok())
        return false;
    d.uFinG = float((F(d.kmodGk) + 1) * F(d.uInstG));
    d.uFinQ = float((F(d.kmodQk) + 1) * F(d.uInstQ));
    d.uNetFin = float(F(d.uFinQ) + F(d.uFinG) - F(d.camber));
    d.limitU2 = float(1e3 * F(d.span) / 300);
    d.limitU2Fin = float(1e3 * F(d.span) / 200);
    d.limitUNetFin = float(1e3 * F(d.span) / 200);
    if (!ok())
        return false;
    d.ratioU2 = roundedRatio(d.uInstQ, d.limitU2);
    d.ratioU2Fin = roundedRatio(d.uFinQ, d.limitU2Fin);
    d.ratioUNetFin = roundedRatio(d.uNetFin, d.limitUNetFin);
    d.ratioBending = roundedRatio(d.bendingStress, d.fmd);
    d.ratioShear = roundedRatio(d.shearStress, d.fvd);
    d.ratioBearing = roundedRatio(d.bearingStress, d.fc90d);
    if (!ok())
        return false;
    const float ratios[6] = {d.ratioBending, d.ratioShear, d.ratioBearing,
                             d.ratioU2,      d.ratioU2Fin, d.ratioUNetFin};
    for (int i = 0; i < 6; ++i)
        labelText(labels[i], ratios[i]);
    d.unityRatio = 0;
    for (float r :
         {d.ratioU2, d.ratioU2Fin, d.ratioUNetFin, d.ratioBending, d.ratioShear, d.ratioBearing})
        if (r > d.unityRatio)
            d.unityRatio = r;
    labelText(labels[6], d.unityRatio);
    labels[7] = d.unityRatio > 1 ? "fails" : "Joist Passes";
    return true;
}

} // namespace bench
