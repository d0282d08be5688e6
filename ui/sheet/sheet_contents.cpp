#include "ui/sheet/sheet_contents.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

const SheetInput& CalculationSheet::input(joist::Input which) const
{
    const auto found = std::find_if(inputs.begin(), inputs.end(),
                                    [which](const SheetInput& row) { return row.input == which; });
    if (found == inputs.end())
        throw std::logic_error("a calculation sheet without one of its inputs");
    return *found;
}

} // namespace ui
