#pragma once

// What a service class and an imposed-load category make of the main
// window's factors: kmod for the imposed load's medium-term duration (EN
// 1995-1-1 Table 3.1, the same for solid timber and glulam), kdef (Table 3.2)
// and psi2 kdef with psi2 of EN 1990 Table A1.1 (0.3 for A and B, 0.6 for C
// and D). Each value confirmed by two sources or more; the UK National Annex
// is believed to keep them (unverified). Texts as the lists write them.

#include <array>
#include <optional>
#include <string_view>

#include "engine/design_basis.h"

namespace joist {

struct ServiceFactors
{
    std::string_view kmod; // medium-term
    std::string_view kdef;
    std::string_view psi2Kdef;
};

// kmod of Table 3.1 for every load duration, permanent to instantaneous.
inline constexpr auto kmodByServiceClass = std::to_array<std::array<std::string_view, 5>>({
    {"0.6", "0.7", "0.8", "0.9", "1.1"},
    {"0.6", "0.7", "0.8", "0.9", "1.1"},
    {"0.5", "0.55", "0.65", "0.7", "0.9"},
});
inline constexpr auto kdefByServiceClass = std::to_array<std::string_view>({"0.6", "0.8", "2.0"});
// psi2 kdef, by psi2 (0.3, then 0.6) and service class.
inline constexpr std::array<std::array<std::string_view, 3>, 2> psi2KdefTexts{{
    {"0.18", "0.24", "0.6"},
    {"0.36", "0.48", "1.2"},
}};
// Each is indexed by the service class less one, "as entered" having none.
static_assert(
    [] {
        const std::size_t classes = enumCount<ServiceClass> - 1;
        bool full = kmodByServiceClass.size() == classes && kdefByServiceClass.size() == classes;
        for (const auto& byClass : psi2KdefTexts) {
            full = full && byClass.size() == classes;
            for (const std::string_view text : byClass) // a value left out is empty
                full = full && !text.empty();
        }
        return full;
    }(),
    "a service class's factors: one for each service class");

// The three factors of the chosen service class and category; none while the
// factors stand as entered.
constexpr std::optional<ServiceFactors> serviceFactors(const DesignBasis& basis)
{
    if (basis.serviceClass == ServiceClass::asEntered)
        return std::nullopt;
    const auto sc = static_cast<std::size_t>(basis.serviceClass) - 1;
    const std::size_t psi2 = basis.category == Category::A || basis.category == Category::B ? 0 : 1;
    return ServiceFactors{kmodByServiceClass[sc][2], kdefByServiceClass[sc],
                          psi2KdefTexts[psi2][sc]};
}

} // namespace joist
