#pragma once

// How the main window shows each input: its control or bound label, where
// the caption, control and unit stand, and its place in the focus order.
// What the input is (caption, unit, start value, key) is engine/design_inputs.h.

#include <span>
#include <string_view>
#include <vector>

#include "engine/design_inputs.h"
#include "ui/toolkit/layout_table.h"

namespace ui {

// Where an input's caption, control and unit stand, in twips.
struct InputPlaces
{
    int captionLeft, captionWidth;
    int left, top, width, height; // the control
    int unitLeft, unitWidth;
    int captionDrop = 0; // the caption stands this much lower than the control
};

struct InputView
{
    joist::Input input;
    std::string_view name;
    ControlKind kind; // textBox, dropDownList, or valueLabel for a bound label
    InputPlaces places;
    int focus = 0; // 0: not reached by Tab
};

// The main window's inputs, in the order start-up sets them.
std::span<const InputView> inputViews();

const InputView& inputView(joist::Input input);

// The inputs the user sets, in the order Tab reaches them.
std::vector<joist::Input> inputsInFocusOrder();

} // namespace ui
