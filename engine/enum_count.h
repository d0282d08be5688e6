#pragma once

// How many values an enum has whose last enumerator is `count`. A table
// indexed by such an enum asserts its size against this, so that a row left
// out, or one for a value no longer there, stops the build instead of being
// read past.

#include <cstddef>

namespace joist {

template <class Enum>
inline constexpr std::size_t enumCount = static_cast<std::size_t>(Enum::count);

} // namespace joist
