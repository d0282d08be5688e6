#include "ui/material_data_window.h"

#include <array>

#include <QLabel>
#include <QPushButton>

#include "materials/strength_class_sequences.h"
#include "ui/strength_class_properties.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/layout_table.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using K = ControlKind;

using C = MaterialControls;

constexpr auto windowLayout = std::to_array<Placement<C>>({
    {"", K::label, 1178, 360, 1095, 255, "Strength Class"},
    {"SCLbl", K::valueLabel, 2378, 360, 375, 255, "", into<&C::scLbl>, "Strength Class"},
    {"", K::label, 2858, 360, 1095, 255, "Properties"},
    {"Frame1", K::panel, 1200, 720, 2655, 4215, "", into<&C::frame1>},
    {"Command1", K::commandButton, 1958, 5280, 1215, 375, "OK", into<&C::command1>},
    // Shown only when the file no longer holds what the main window read.
    {"messageLbl", K::valueLabel, 120, 4980, 4890, 255, "", into<&C::messageLbl>, "Message"},
});

// The value labels are kept by their row, counted from 0.
template <std::size_t row> void fillValue(C& controls, QWidget* widget)
{
    controls.values[row] = static_cast<ValueLabel*>(widget);
}

// Inside Frame1: symbol, value and unit of each row. Rows 11 and 12 build
// their symbol from a Greek letter and a subscript drawn over it.
constexpr auto panelLayout = std::to_array<Placement<C>>({
    {"", K::label, 120, 0, 375, 255, "fm,k"},
    {"fmkLbl", K::valueLabel, 960, 0, 735, 255, "", fillValue<0>},
    {"", K::label, 1800, 0, 855, 255, "N/mm2"},
    {"", K::label, 120, 360, 615, 255, "ft,0,k"},
    {"Label5", K::valueLabel, 960, 360, 735, 255, "", fillValue<1>},
    {"", K::label, 1800, 360, 855, 255, "N/mm2"},
    {"", K::label, 120, 720, 615, 255, "ft,90,k"},
    {"Label4", K::valueLabel, 960, 720, 735, 255, "", fillValue<2>},
    {"", K::label, 1800, 720, 855, 255, "N/mm2"},
    {"", K::label, 120, 1080, 615, 255, "fc,0,k"},
    {"fc0kLbl", K::valueLabel, 960, 1080, 735, 255, "", fillValue<3>},
    {"", K::label, 1800, 1080, 855, 255, "N/mm2"},
    {"", K::label, 120, 1440, 615, 255, "fc,90,k"},
    {"fc90kLbl", K::valueLabel, 960, 1440, 735, 255, "", fillValue<4>},
    {"", K::label, 1800, 1440, 855, 255, "N/mm2"},
    {"", K::label, 120, 1800, 735, 255, "fv,k"},
    {"fvkLbl", K::valueLabel, 960, 1800, 735, 255, "", fillValue<5>},
    {"", K::label, 1800, 1800, 855, 255, "N/mm2"},
    {"", K::label, 120, 2160, 735, 255, "Emean"},
    {"EmeanLbl", K::valueLabel, 960, 2160, 735, 255, "", fillValue<6>},
    {"", K::label, 1800, 2160, 855, 255, "kN/mm2"},
    {"", K::label, 120, 2520, 735, 255, "Ek"},
    {"Label16", K::valueLabel, 960, 2520, 735, 255, "", fillValue<7>},
    {"", K::label, 1800, 2520, 855, 255, "kN/mm2"},
    {"", K::label, 120, 2880, 735, 255, "E90,mean"},
    {"Label26", K::valueLabel, 960, 2880, 735, 255, "", fillValue<8>},
    {"", K::label, 1800, 2880, 855, 255, "kN/mm2"},
    {"", K::label, 120, 3240, 735, 255, "Gmean"},
    {"Label29", K::valueLabel, 960, 3240, 735, 255, "", fillValue<9>},
    {"", K::label, 1800, 3240, 855, 255, "kN/mm2"},
    {"rhoMeanSymbolLbl", K::symbolLabel, 120, 3510, 735, 375, "r"},
    {"", K::label, 240, 3630, 735, 255, "mean"},
    {"RmeanLbl", K::valueLabel, 960, 3600, 735, 255, "", fillValue<10>},
    {"", K::label, 1800, 3600, 855, 255, "kg/m3"},
    {"rhoKSymbolLbl", K::symbolLabel, 120, 3870, 735, 375, "r"},
    {"", K::label, 240, 3960, 735, 255, "k"},
    {"Label33", K::valueLabel, 960, 3960, 735, 255, "", fillValue<11>},
    {"", K::label, 1800, 3960, 855, 255, "kg/m3"},
});

} // namespace

FrmDBData::FrmDBData(std::filesystem::path programDirectory, const QLocale& locale,
                     std::function<int()> mainWindowSelectedIndex,
                     const materials::StrengthClassConnection& mainConnection)
    : Form(QStringLiteral("Material Properties"), 5130, 5895),
      programDirectory_(std::move(programDirectory)),
      mainWindowSelectedIndex_(std::move(mainWindowSelectedIndex)), mainConnection_(mainConnection),
      dStrengthClass_(locale.decimalPoint().toStdString())
{
    setObjectName(QStringLiteral("frmDBData"));
    setFont(standardFont());
    buildControls(this, std::span(windowLayout), c_);
    buildControls(c_.frame1, std::span(panelLayout), c_);

    bindLabel("Class", c_.scLbl);
    // The values stand apart from symbols and units by their alignment, which
    // also lines up their decimal places.
    for (std::size_t row = 0; row < c_.values.size(); ++row) {
        const StrengthClassProperty& property = strengthClassProperties[row];
        ValueLabel* value = c_.values[row];
        value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        value->setAccessibleName(QString::fromUtf8(property.symbol) + QStringLiteral(", ") +
                                 QString::fromUtf8(property.unit));
        bindLabel(property.field, value);
    }

    QPalette messagePalette = c_.messageLbl->palette();
    messagePalette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    c_.messageLbl->setPalette(messagePalette);

    c_.command1->setDefault(true);
    connect(c_.command1, &QPushButton::clicked, this, &FrmDBData::hideForm);
}

void FrmDBData::bindLabel(std::string_view field, ValueLabel* label)
{
    dStrengthClass_.bind(std::string(field), [label](const std::string& text) {
        label->setValue(QString::fromUtf8(text));
    });
}

void FrmDBData::load()
{
    materials::positionOnSelectedClass(dStrengthClass_, materials::databasePath(programDirectory_),
                                       mainWindowSelectedIndex_());
    const std::optional<materials::DatabaseError> change =
        dStrengthClass_.changesSince(mainConnection_);
    c_.messageLbl->setValue(change ? QString::fromUtf8(change->what()) : QString());
    c_.command1->setFocus();
}

void FrmDBData::unload()
{
    dStrengthClass_.close();
}

} // namespace ui
