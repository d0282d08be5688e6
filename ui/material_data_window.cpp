#include "ui/material_data_window.h"

#include <array>
#include <utility>
#include <vector>

#include <QLabel>
#include <QPushButton>

#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/strength_class_properties.h"
#include "ui/error_message.h"
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
    // Shown only when the file no longer holds what the main window read, or
    // is not the table the program ships.
    {"messageLbl", K::valueLabel, 120, 4980, 4890, 255, "", into<&C::messageLbl>, "Message"},
});

// The value labels are kept by their row, counted from 0.
template <std::size_t row> void fillValue(C& controls, QWidget* widget)
{
    controls.values[row] = static_cast<ValueLabel*>(widget);
}

template <std::size_t... row>
constexpr std::array<void (*)(C&, QWidget*), sizeof...(row)>
valueFillers(std::index_sequence<row...>)
{
    return {&fillValue<row>...};
}

// Inside Frame1: symbol, value and unit of each property, a row every 360
// twips. A Greek symbol is its letter in the Symbol font, raised 90 twips,
// and a subscript beside it.
std::vector<Placement<C>> panelLayout()
{
    constexpr auto fillers =
        valueFillers(std::make_index_sequence<report::strengthClassProperties.size()>{});
    std::vector<Placement<C>> rows;
    for (std::size_t row = 0; row < report::strengthClassProperties.size(); ++row) {
        const report::StrengthClassProperty& p = report::strengthClassProperties[row];
        const int top = 360 * static_cast<int>(row);
        if (p.greekLetter.empty()) {
            rows.push_back({"", K::label, 120, top, p.captionWidth, 255, p.symbol});
        } else {
            rows.push_back({"", K::symbolLabel, 120, top - 90, p.captionWidth, 375, p.greekLetter});
            rows.push_back({"", K::label, 240, top + p.subscriptDrop, 735, 255, p.subscript});
        }
        rows.push_back({p.valueName, K::valueLabel, 960, top, 735, 255, "", fillers[row]});
        rows.push_back({"", K::label, 1800, top, 855, 255, p.unit});
    }
    return rows;
}

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
    setLocale(locale);
    buildControls(this, std::span(windowLayout), c_);
    const std::vector<Placement<C>> panel = panelLayout();
    buildControls(c_.frame1, std::span<const Placement<C>>(panel), c_);

    bindLabel("Class", c_.scLbl);
    // The values stand apart from symbols and units by their alignment, which
    // also lines up their decimal places.
    for (std::size_t row = 0; row < c_.values.size(); ++row) {
        const report::StrengthClassProperty& property = report::strengthClassProperties[row];
        ValueLabel* value = c_.values[row];
        value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        value->setNumeric(true);
        value->setAccessibleName(QString::fromUtf8(property.symbol) + QStringLiteral(", ") +
                                 QString::fromUtf8(property.unit));
        bindLabel(property.field, value);
    }

    showInErrorColour(c_.messageLbl);
    c_.messageLbl->setDisplayUse(io::DisplayUse::message);

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
    materials::positionOnSelectedClass(dStrengthClass_, mainConnection_.path(),
                                       mainWindowSelectedIndex_());
    std::optional<materials::DatabaseError> problem = dStrengthClass_.changesSince(mainConnection_);
    // Shown by its place in the list, which its name alone cannot tell.
    if (!problem) {
        const std::vector<std::string> names = dStrengthClass_.classNames();
        problem = materials::classNamedTwice(
            names, names.at(std::size_t(dStrengthClass_.currentRow())), dStrengthClass_.path());
    }
    if (problem)
        c_.messageLbl->setValue(QString::fromUtf8(problem->what()));
    else if (!materials::isShippedTable(dStrengthClass_.fingerprint()))
        c_.messageLbl->setValue(
            QString::fromStdString(materials::modifiedTableNotice(dStrengthClass_.path())));
    else
        c_.messageLbl->setValue(QString());
    c_.command1->setFocus();
}

void FrmDBData::unload()
{
    dStrengthClass_.close();
}

} // namespace ui
