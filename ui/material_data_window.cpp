#include "ui/material_data_window.h"

#include <array>

#include <QLabel>
#include <QPushButton>

#include "materials/strength_class_sequences.h"
#include "ui/fonts.h"
#include "ui/layout_table.h"
#include "ui/value_label.h"

namespace ui {
namespace {

using K = ControlKind;

constexpr std::array windowLayout = std::to_array<Placement>({
    {"", K::label, 1178, 360, 1095, 255, "Strength Class"},
    {"SCLbl", K::label, 2378, 360, 375, 255, ""},
    {"", K::label, 2858, 360, 1095, 255, "Properties"},
    {"Frame1", K::panel, 1200, 720, 2655, 4215, ""},
    {"Command1", K::commandButton, 1958, 5280, 1215, 375, "OK"},
});

// Inside Frame1: symbol, value and unit of each row. Rows 11 and 12 build
// their symbol from a Greek letter and a subscript drawn over it.
constexpr std::array panelLayout = std::to_array<Placement>({
    {"", K::label, 120, 0, 375, 255, "fm,k"},
    {"fmkLbl", K::label, 960, 0, 735, 255, ""},
    {"", K::label, 1800, 0, 855, 255, "N/mm2"},
    {"", K::label, 120, 360, 615, 255, "ft,0,k"},
    {"Label5", K::label, 960, 360, 735, 255, ""},
    {"", K::label, 1800, 360, 855, 255, "N/mm2"},
    {"", K::label, 120, 720, 615, 255, "ft,90,k"},
    {"Label4", K::label, 960, 720, 735, 255, ""},
    {"", K::label, 1800, 720, 855, 255, "N/mm2"},
    {"", K::label, 120, 1080, 615, 255, "fc,0,k"},
    {"fc0kLbl", K::label, 960, 1080, 735, 255, ""},
    {"", K::label, 1800, 1080, 855, 255, "N/mm2"},
    {"", K::label, 120, 1440, 615, 255, "fc,90,k"},
    {"fc90kLbl", K::label, 960, 1440, 735, 255, ""},
    {"", K::label, 1800, 1440, 855, 255, "N/mm2"},
    {"", K::label, 120, 1800, 735, 255, "fv,k"},
    {"fvkLbl", K::label, 960, 1800, 735, 255, ""},
    {"", K::label, 1800, 1800, 855, 255, "N/mm2"},
    {"", K::label, 120, 2160, 735, 255, "Emean"},
    {"EmeanLbl", K::label, 960, 2160, 735, 255, ""},
    {"", K::label, 1800, 2160, 855, 255, "kN/mm2"},
    {"", K::label, 120, 2520, 735, 255, "Ek"},
    {"Label16", K::label, 960, 2520, 735, 255, ""},
    {"", K::label, 1800, 2520, 855, 255, "kN/mm2"},
    {"", K::label, 120, 2880, 735, 255, "E90,mean"},
    {"Label26", K::label, 960, 2880, 735, 255, ""},
    {"", K::label, 1800, 2880, 855, 255, "kN/mm2"},
    {"", K::label, 120, 3240, 735, 255, "Gmean"},
    {"Label29", K::label, 960, 3240, 735, 255, ""},
    {"", K::label, 1800, 3240, 855, 255, "kN/mm2"},
    {"rhoMeanSymbolLbl", K::symbolLabel, 120, 3510, 735, 375, "r"},
    {"", K::label, 240, 3630, 735, 255, "mean"},
    {"RmeanLbl", K::label, 960, 3600, 735, 255, ""},
    {"", K::label, 1800, 3600, 855, 255, "kg/m3"},
    {"rhoKSymbolLbl", K::symbolLabel, 120, 3870, 735, 375, "r"},
    {"", K::label, 240, 3960, 735, 255, "k"},
    {"Label33", K::label, 960, 3960, 735, 255, ""},
    {"", K::label, 1800, 3960, 855, 255, "kg/m3"},
});

// The thirteen bound labels: field name and label.
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> boundLabels{{
    {"Class", "SCLbl"},
    {"fm,k", "fmkLbl"},
    {"ft,0,k", "Label5"},
    {"ft,90,k", "Label4"},
    {"fc,0,k", "fc0kLbl"},
    {"fc,90,k", "fc90kLbl"},
    {"fv,k", "fvkLbl"},
    {"E0,mean", "EmeanLbl"},
    {"Ek", "Label16"},
    {"E90,mean", "Label26"},
    {"Gmean", "Label29"},
    {"rmean", "RmeanLbl"},
    {"rk", "Label33"},
}};

} // namespace

FrmDBData::FrmDBData(std::filesystem::path programDirectory, const QLocale& locale,
                     std::function<int()> mainWindowSelectedIndex)
    : Form(QStringLiteral("Material Properties"), 5130, 5895),
      programDirectory_(std::move(programDirectory)),
      mainWindowSelectedIndex_(std::move(mainWindowSelectedIndex)),
      dStrengthClass_(locale.decimalPoint().toStdString())
{
    setObjectName(QStringLiteral("frmDBData"));
    setFont(standardFont());
    buildControls(this, windowLayout);
    buildControls(control<QWidget>(this, "Frame1"), panelLayout);

    for (const auto& [field, labelName] : boundLabels) {
        QLabel* label = control<QLabel>(this, labelName);
        // The values stand apart from symbols and units by their alignment,
        // which also lines up their decimal places.
        if (labelName != "SCLbl")
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        dStrengthClass_.bind(std::string(field), [label](const std::string& text) {
            showValue(label, QString::fromStdString(text));
        });
    }

    auto* ok = control<QPushButton>(this, "Command1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmDBData::hideForm);
}

void FrmDBData::load()
{
    materials::positionOnSelectedClass(dStrengthClass_, materials::databasePath(programDirectory_),
                                       mainWindowSelectedIndex_());
    control<QPushButton>(this, "Command1")->setFocus();
}

void FrmDBData::unload()
{
    dStrengthClass_.close();
}

} // namespace ui
