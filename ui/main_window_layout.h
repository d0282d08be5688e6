#pragma once

// The main window's controls as typed members, and the twips layout that makes
// them.

#include <array>
#include <span>
#include <vector>

#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "ui/toolkit/layout_table.h"

class QLabel;
class QLocale;
class QLineEdit;
class QPushButton;

namespace ui {

class DropDownList;
class PictureBox;
class ValueLabel;

inline constexpr int mainClientWidth = 11010; // twips
inline constexpr int mainClientHeight = 8250;

// The control that holds an input's text: a text box, a list or a bound
// label, exactly one of them.
struct InputControl
{
    QLineEdit* box = nullptr;
    DropDownList* list = nullptr;
    ValueLabel* label = nullptr;
};

// The main window's controls, each created once by the layout.
struct MainControls
{
    QLabel* isoImg = nullptr;
    PictureBox* pic = nullptr;
    DropDownList* cmbSC = nullptr;
    QPushButton* showDBdataBtn = nullptr;
    ValueLabel* scLbl = nullptr;
    ValueLabel* fc0kLbl = nullptr;
    ValueLabel* governedByLbl = nullptr;
    ValueLabel* unityRatioLbl = nullptr;
    ValueLabel* bendingResLbl = nullptr;
    ValueLabel* shearResLbl = nullptr;
    ValueLabel* bearingResLbl = nullptr;
    ValueLabel* u2ResLbl = nullptr;
    ValueLabel* u2FinResLbl = nullptr;
    ValueLabel* uNetFinResLbl = nullptr;
    // The floor vibration ratios, shown only while the basis checks vibration.
    ValueLabel* f1ResLbl = nullptr;
    ValueLabel* wResLbl = nullptr;
    ValueLabel* vResLbl = nullptr;
    std::array<QLabel*, 4> vibrationCaptions{}; // the heading, then f1, w and v
    ValueLabel* messageLbl = nullptr;           // cut with an ellipsis, whole in its tooltip
    std::array<InputControl, joist::inputDefinitions.size()> inputs{}; // by joist::Input
    std::vector<QWidget*> tabOrder; // by the focus ranks of the layout and input tables
};

// The label each result is written to, by joist::ResultLabel: a check added
// without its label here does not build.
inline constexpr auto resultLabels = std::to_array<ValueLabel * MainControls::*>({
    &MainControls::bendingResLbl,
    &MainControls::shearResLbl,
    &MainControls::bearingResLbl,
    &MainControls::u2ResLbl,
    &MainControls::u2FinResLbl,
    &MainControls::uNetFinResLbl,
    &MainControls::unityRatioLbl,
    &MainControls::governedByLbl,
    &MainControls::f1ResLbl,
    &MainControls::wResLbl,
    &MainControls::vResLbl,
});
static_assert(resultLabels.size() == joist::resultLabelCount,
              "one main window label for each joist::ResultLabel");

inline ValueLabel* resultLabel(const MainControls& controls, joist::ResultLabel label)
{
    return controls.*resultLabels[static_cast<std::size_t>(label)];
}

// Every control of the main window that is not an input (the inputs stand in
// the input table), region by region.
std::span<const Placement<MainControls>> mainWindowLayout();

// A design text, written with a full stop, the locale's way ("0,4").
QString localizedDesignText(std::string_view designText, const QLocale& locale);

// Creates the whole window: the layout's controls, and each input's caption,
// control and unit, with the design texts and items in the locale's way.
void buildMainWindowControls(QWidget* window, MainControls& controls, const QLocale& locale);

} // namespace ui
