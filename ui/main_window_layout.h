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
    // The ratios under the concentrated load, shown only while it is checked.
    ValueLabel* pointBendingResLbl = nullptr;
    ValueLabel* pointShearResLbl = nullptr;
    ValueLabel* pointBearingResLbl = nullptr;
    std::array<QLabel*, 4> pointLoadCaptions{}; // the heading, then the three checks
    ValueLabel* messageLbl = nullptr;           // cut with an ellipsis, whole in its tooltip
    std::array<InputControl, joist::inputDefinitions.size()> inputs{}; // by joist::Input
    std::vector<QWidget*> tabOrder; // by the focus ranks of the layout and input tables
};

// The label each result is shown in. A check without a row here is checked,
// and stands on the sheet and in the command line's output, but the window
// has no place for it.
struct ResultPlace
{
    joist::ResultLabel label;
    ValueLabel* MainControls::*member;
};
inline constexpr ResultPlace resultPlaces[] = {
    {joist::ResultLabel::bending, &MainControls::bendingResLbl},
    {joist::ResultLabel::shear, &MainControls::shearResLbl},
    {joist::ResultLabel::bearing, &MainControls::bearingResLbl},
    {joist::ResultLabel::u2, &MainControls::u2ResLbl},
    {joist::ResultLabel::u2Fin, &MainControls::u2FinResLbl},
    {joist::ResultLabel::uNetFin, &MainControls::uNetFinResLbl},
    {joist::ResultLabel::unityRatio, &MainControls::unityRatioLbl},
    {joist::ResultLabel::governedBy, &MainControls::governedByLbl},
    {joist::ResultLabel::f1, &MainControls::f1ResLbl},
    {joist::ResultLabel::w, &MainControls::wResLbl},
    {joist::ResultLabel::v, &MainControls::vResLbl},
    {joist::ResultLabel::pointBending, &MainControls::pointBendingResLbl},
    {joist::ResultLabel::pointShear, &MainControls::pointShearResLbl},
    {joist::ResultLabel::pointBearing, &MainControls::pointBearingResLbl},
};

// The result blocks a flag of the design basis shows, by their captions; the
// labels in them are those of the checks the flag puts in force.
struct FlaggedBlock
{
    bool joist::DesignBasis::*flag;
    std::array<QLabel*, 4> MainControls::*captions;
};
inline constexpr FlaggedBlock flaggedBlocks[] = {
    {&joist::DesignBasis::vibration, &MainControls::vibrationCaptions},
    {&joist::DesignBasis::pointLoad, &MainControls::pointLoadCaptions},
};

// The label a result is shown in, or null where the window has none.
inline ValueLabel* resultLabel(const MainControls& controls, joist::ResultLabel label)
{
    for (const ResultPlace& place : resultPlaces) {
        if (place.label == label)
            return controls.*place.member;
    }
    return nullptr;
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
