#pragma once

#include <span>

#include "ui/layout_table.h"

namespace ui {

inline constexpr int mainClientWidth = 11010; // twips
inline constexpr int mainClientHeight = 8250;

// Every control of the main window, region by region.
std::span<const Placement> mainWindowLayout();

// The keyboard focus order; focus starts on the first.
std::span<const std::string_view> mainWindowFocusOrder();

} // namespace ui
