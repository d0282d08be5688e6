#pragma once

// What a list input would offer under another choice of the design basis, or
// for a class of another material: where a refused value would be offered,
// and what the main window's lists say of it.

#include <optional>
#include <string_view>
#include <vector>

#include "engine/design_basis.h"
#include "engine/design_inputs.h"

namespace joist {

// A choice of the basis set to one of its values (its index in the choice).
struct ChoiceSetting
{
    const BasisField* field = nullptr;
    std::size_t value = 0;
};

// Items a list would offer that it does not now, and what would offer them:
// the basis with some choices set otherwise, or a class of another material.
struct ListOffer
{
    std::vector<ChoiceSetting> settings; // none where the material offers
    std::optional<Material> material;    // the class's, where it offers
    std::vector<std::string_view> items; // design texts, as the list writes them
};

// What a list offers beyond its fixed items under a basis, for a class of
// `material`, or of any material when none is given.
std::vector<std::string_view> offeredItems(Input input, const DesignBasis& basis,
                                           std::optional<Material> material);

// What else a list would offer: each choice of the basis set to each of its
// other values, in the table's order; then, up to `mostChoices` (1 or 2), two
// choices set together, for the items neither alone offers; then, for a
// class of a known `material`, a class of each other material.
std::vector<ListOffer> otherOffers(Input input, const DesignBasis& basis,
                                   std::optional<Material> material, int mostChoices);

} // namespace joist
