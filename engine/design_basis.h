#pragma once

// The design basis: the engineer's deflection limits and whether, and with
// which floor, the vibration check of residential floors is made. The
// defaults reproduce the check without it exactly.

#include <optional>

namespace joist {

struct DesignBasis
{
    // Each deflection limit is span / divisor, and at most the cap when one
    // is set (mm).
    float u2Divisor = 300;
    float u2FinDivisor = 200;
    float uNetFinDivisor = 200;
    std::optional<float> u2Cap;
    std::optional<float> u2FinCap;
    std::optional<float> uNetFinCap;

    // Floor vibration (EN 1995-1-1 7.3.3 with the UK National Annex's rules).
    bool vibration = false;
    float floorWidth = 4.0f;  // B, m
    float deckThickness = 22; // t, mm
    float deckModulus = 3000; // E across the joists, N/mm2
    bool strutting = false;
    float damping = 0.02f; // zeta
    float kamp = 1.05f;

    bool isDefault() const { return *this == DesignBasis{}; }

    friend bool operator==(const DesignBasis&, const DesignBasis&) = default;
};

} // namespace joist
