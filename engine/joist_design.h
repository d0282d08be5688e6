#pragma once

// The record of one joist: its inputs, every intermediate value and its results.

#include <string>

#include "engine/design_basis.h"
#include "engine/material.h"

namespace joist {

// One joist's inputs, intermediate values and results. Every number is single
// precision in a fixed unit: mm, m, kN/m2, kN/m, kNm, kN, N/mm2, kN/mm2, kg/m3.
// Members are declared in this order on purpose; keep it.
struct JoistDesign
{
    float fmk = 0;            // N/mm2
    float fc90k = 0;          // N/mm2
    float fvk = 0;            // N/mm2
    float e0mean = 0;         // kN/mm2
    float rhoMean = 0;        // kg/m3
    float breadth = 0;        // mm
    float depth = 0;          // mm
    float spacing = 0;        // mm
    float span = 0;           // m
    float bearingLength = 0;  // mm
    float area = 0;           // mm2
    float sectionModulus = 0; // mm3
    float secondMoment = 0;   // mm4
    float selfWeight = 0;     // kN/m
    float designLoad = 0;     // kN/m
    float deadLineLoad = 0;   // kN/m
    float liveLineLoad = 0;   // kN/m
    float deadLoad = 0;       // kN/m2
    float liveLoad = 0;       // kN/m2
    float designMoment = 0;   // kNm
    float designShear = 0;    // kN
    float bendingStress = 0;  // N/mm2
    float bearingStress = 0;  // N/mm2
    float shearStress = 0;    // N/mm2
    float camber = 0;         // mm
    float uInstG = 0;         // mm
    float uInstQ = 0;         // mm
    float uFinG = 0;          // mm
    float uFinQ = 0;          // mm
    float uNetFin = 0;        // mm
    float limitU2 = 0;        // mm
    float limitU2Fin = 0;     // mm
    float limitUNetFin = 0;   // mm
    float fmd = 0;            // N/mm2
    float fvd = 0;            // N/mm2
    float fc90d = 0;          // N/mm2
    float kmod = 0;
    float kcrit = 0;
    float kls = 0;
    float kh = 0;
    float gammaM = 0;
    float kmodGk = 0;
    float kmodQk = 0;
    float unityRatio = 0;
    std::string governingMessage;
    float ratioBending = 0;
    float ratioShear = 0;
    float ratioBearing = 0;
    float ratioU2 = 0;
    float ratioU2Fin = 0;
    float ratioUNetFin = 0;
    // Floor vibration, computed only when the basis checks it.
    float floorMass = 0; // m, kg/m2, from permanent actions
    float eiFloor = 0;   // (EI)_L, N m2/m
    float eiJoist = 0;   // (EI)_joist, N mm2
    float eiDeck = 0;    // (EI)_B, N mm2/m
    float f1 = 0;        // fundamental frequency, Hz
    float kdist = 0;     // share of a point load one joist carries
    float w = 0;         // mm under 1 kN
    float a = 0;         // limit for w, mm
    float b = 0;         // exponent base of the v limit
    float n40 = 0;       // first-order modes up to 40 Hz
    float v = 0;         // unit impulse velocity, m/(N s2)
    float vLimit = 0;    // m/(N s2)
    float f1Min = 0;     // Hz
    float ratioF1 = 0;
    float ratioW = 0;
    float ratioV = 0;
    DesignBasis basis;
    // What the class is made of and its rho k, as the table gives them: the
    // amended rules' factors depend on them.
    Material material = Material::unknown;
    float rhoK = 0; // kg/m3
    // Whether the table's fv,k presumes kcr in shear: EN 338 raised fv,k
    // when A1 brought kcr, so every table but the unchanged EN 338:2003 file
    // (EN 338:2016, EN 14080, one edited or of unknown edition) is taken so.
    bool tablePresumesKcr = false;
    // Steps 38 to 43; under the original rules only 42 (1) and 43 run.
    float khInForce = 0;        // kh by material and depth
    float shearBreadth = 0;     // b ef = kcr b, mm
    float clearSpan = 0;        // l1, to the next bearing, mm
    float bearingLengthEff = 0; // l ef, mm
    float kc90 = 0;
    float bearingResistance = 0; // kc,90 fc,90,d, N/mm2
    // Steps 44 to 49, the concentrated imposed load, when the basis checks it:
    // with the permanent load, at mid-span for bending, at a support for
    // shear and bearing.
    float pointDesignLoad = 0;    // 1.5 share Qk, kN
    float pointMoment = 0;        // kNm
    float pointShear = 0;         // kN, the reaction too
    float pointBendingStress = 0; // N/mm2
    float pointShearStress = 0;   // N/mm2
    float pointBearingStress = 0; // N/mm2
    float ratioPointBending = 0;
    float ratioPointShear = 0;
    float ratioPointBearing = 0;

    friend bool operator==(const JoistDesign&, const JoistDesign&) = default;
};

} // namespace joist
