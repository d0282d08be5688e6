#pragma once

// The main window's inputs, each described once: control, caption, unit, field,
// design text, start value, place and focus rank.

#include <array>
#include <span>
#include <string>
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

// Everything the main window knows about one input of the design: the
// engine's input, the control or bound label that holds its text, the caption
// and unit beside it, the database field a bound label shows, its design
// text (a list's items separated by '|'; decimals with a full stop), the value
// start-up puts into it, where it stands, its place in the focus order, and
// the key that names it in a design file (the record member's name).
struct InputRow
{
    joist::Input input;
    std::string_view name;
    ControlKind kind; // textBox, dropDownList, or valueLabel for a bound label
    std::string_view caption;
    std::string_view unit;
    std::string_view field;
    std::string_view designText;
    std::string_view startValue; // empty: the design text stays
    InputPlaces places;
    int focus = 0;
    std::string_view key = {};    // in design files and schedules; empty for a bound label
    std::string_view symbol = {}; // EN 1995-1-1's name on the sheet ("w_c": c set below)
};

// The main window's inputs, in the order start-up sets them.
std::span<const InputRow> inputRows();

const InputRow& inputRow(joist::Input input);

// The numbers of a list input's fixed items, in list order.
std::vector<float> listValues(joist::Input input);

// "g m (γM)": the caption with its Eurocode symbol, for the calculation sheet.
std::string captionWithSymbol(const InputRow& row);

// What the window calls an input in messages: its caption.
std::string inputCaption(joist::Input input);

// "Span of Joist, m": caption and unit, for screen readers.
std::string accessibleInputName(const InputRow& row);

} // namespace ui
