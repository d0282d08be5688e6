#pragma once

#include <span>
#include <string_view>
#include <utility>

#include "ui/layout_table.h"

namespace ui {

inline constexpr int mainClientWidth = 11010; // twips
inline constexpr int mainClientHeight = 8250;

// Every control of the main window, region by region.
std::span<const Placement> mainWindowLayout();

// What a screen reader calls each input and result: caption and unit.
std::span<const std::pair<std::string_view, std::string_view>> mainWindowAccessibleNames();

// The keyboard focus order; focus starts on the first.
std::span<const std::string_view> mainWindowFocusOrder();

} // namespace ui
