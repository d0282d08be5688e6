#include "engine/list_offers.h"

#include <algorithm>

namespace joist {
namespace {

std::vector<const BasisField*> choiceFields()
{
    std::vector<const BasisField*> fields;
    for (const BasisField& field : basisFields)
        if (field.choice)
            fields.push_back(&field);
    return fields;
}

bool holds(const std::vector<std::string_view>& items, std::string_view item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The items of `offered` that are not in `now` nor in `besides`.
std::vector<std::string_view> newItems(const std::vector<std::string_view>& offered,
                                       const std::vector<std::string_view>& now,
                                       const std::vector<std::string_view>& besides = {})
{
    std::vector<std::string_view> items;
    for (const std::string_view item : offered)
        if (!holds(now, item) && !holds(besides, item))
            items.push_back(item);
    return items;
}

} // namespace

std::vector<std::string_view> offeredItems(Input input, const DesignBasis& basis,
                                           std::optional<Material> material)
{
    if (material)
        return extraListItems(input, basis, *material);
    std::vector<std::string_view> any;
    for (std::size_t m = 0; m < materialTexts.size(); ++m)
        for (const std::string_view item : extraListItems(input, basis, static_cast<Material>(m)))
            if (!holds(any, item))
                any.push_back(item);
    return any;
}

std::vector<ListOffer> otherOffers(Input input, const DesignBasis& basis,
                                   std::optional<Material> material, int mostChoices)
{
    const std::vector<std::string_view> now = offeredItems(input, basis, material);
    const std::vector<const BasisField*> fields = choiceFields();
    std::vector<ListOffer> offers;
    std::vector<std::string_view> byOne; // what one choice alone offers
    for (const BasisField* field : fields) {
        for (std::size_t value = 0; value < field->choice->texts.size(); ++value) {
            if (value == field->choice->get(basis))
                continue;
            DesignBasis other = basis;
            field->choice->set(other, value);
            std::vector<std::string_view> items =
                newItems(offeredItems(input, other, material), now);
            byOne.insert(byOne.end(), items.begin(), items.end());
            if (!items.empty())
                offers.push_back({{{field, value}}, std::nullopt, std::move(items)});
        }
    }
    for (std::size_t i = 0; mostChoices > 1 && i < fields.size(); ++i) {
        const BasisChoice& first = *fields[i]->choice;
        for (std::size_t a = 0; a < first.texts.size(); ++a) {
            for (std::size_t j = i + 1; a != first.get(basis) && j < fields.size(); ++j) {
                const BasisChoice& second = *fields[j]->choice;
                for (std::size_t b = 0; b < second.texts.size(); ++b) {
                    if (b == second.get(basis))
                        continue;
                    DesignBasis other = basis;
                    first.set(other, a);
                    second.set(other, b);
                    std::vector<std::string_view> items =
                        newItems(offeredItems(input, other, material), now, byOne);
                    if (!items.empty())
                        offers.push_back(
                            {{{fields[i], a}, {fields[j], b}}, std::nullopt, std::move(items)});
                }
            }
        }
    }
    for (std::size_t m = 0; material && m < materialTexts.size(); ++m) {
        const auto other = static_cast<Material>(m);
        if (other == *material)
            continue;
        std::vector<std::string_view> items = newItems(extraListItems(input, basis, other), now);
        if (!items.empty())
            offers.push_back({{}, other, std::move(items)});
    }
    return offers;
}

} // namespace joist
