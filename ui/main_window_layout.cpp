#include "ui/main_window_layout.h"

#include <algorithm>
#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "engine/design_inputs.h"
#include "ui/input_table.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/picture_box.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using K = ControlKind;

using M = MainControls;

template <std::size_t i> void caption(M& controls, QWidget* widget)
{
    controls.vibrationCaptions[i] = static_cast<QLabel*>(widget);
}
template <std::size_t i> void pointCaption(M& controls, QWidget* widget)
{
    controls.pointLoadCaptions[i] = static_cast<QLabel*>(widget);
}

constexpr auto mainLayout = std::to_array<Placement<M>>({
    // Top band: the floor illustration and the section sketch.
    {"IsoImg", K::image, 225, 240, 6240, 2835, ":/joist/floor.png", into<&M::isoImg>,
     "Floor illustration"},
    {"Pic", K::pictureBox, 6480, 240, 4215, 2835, "", into<&M::pic>, "Section sketch"},

    // Middle block: the strength class.
    {"", K::label, 3960, 4320, 1215, 255, "Strength Class"},
    {"cmbSC", K::dropDownList, 5640, 4320, 975, 315, "", into<&M::cmbSC>, "Strength Class", 5},

    // Material block: the selected class's properties; the bound values that
    // are inputs stand in the input table.
    {"showDBdataBtn", K::commandButton, 360, 5520, 1695, 375, "Show Material Data",
     into<&M::showDBdataBtn>, "Show Material Data", 17},
    {"", K::label, 360, 6120, 1095, 255, "Strength Class"},
    {"SCLbl", K::valueLabel, 1560, 6120, 375, 255, "", into<&M::scLbl>, "Strength Class"},
    {"", K::label, 2040, 6120, 1095, 255, "Properties"},
    {"", K::label, 360, 6720, 1035, 255, "fc,0,k"},
    {"fc0kLbl", K::valueLabel, 1440, 6720, 735, 255, "", into<&M::fc0kLbl>, "fc,0,k, N/mm2"},
    {"", K::label, 2160, 6720, 735, 255, "N/mm2"},

    // Results block.
    {"Line1", K::line, 3960, 6000, 3360, 0, ""},
    {"", K::boldLabel, 3960, 6120, 855, 255, "Result:"},
    {"governedByLbl", K::boldValueLabel, 4800, 6120, 3375, 255, "", into<&M::governedByLbl>,
     "Result"},
    {"Line2", K::line, 3960, 6480, 3360, 0, ""},
    {"", K::label, 3960, 6600, 795, 255, "Overall:"},
    {"unityRatioLbl", K::valueLabel, 4800, 6600, 615, 255, "", into<&M::unityRatioLbl>,
     "Overall ratio"},
    {"", K::label, 3960, 6960, 795, 255, "Bending"},
    {"bendingResLbl", K::valueLabel, 4800, 6960, 615, 255, "", into<&M::bendingResLbl>,
     "Bending ratio"},
    {"", K::label, 3960, 7320, 795, 255, "Shear"},
    {"shearResLbl", K::valueLabel, 4800, 7320, 615, 255, "", into<&M::shearResLbl>, "Shear ratio"},
    {"", K::label, 3960, 7680, 795, 255, "Bearing"},
    {"bearingResLbl", K::valueLabel, 4800, 7680, 615, 255, "", into<&M::bearingResLbl>,
     "Bearing ratio"},
    {"", K::label, 5760, 6960, 795, 255, "u 2"},
    {"u2ResLbl", K::valueLabel, 6600, 6960, 615, 255, "", into<&M::u2ResLbl>, "u 2 ratio"},
    {"", K::label, 5760, 7320, 795, 255, "u 2,fin"},
    {"u2_finResLbl", K::valueLabel, 6600, 7320, 615, 255, "", into<&M::u2FinResLbl>,
     "u 2,fin ratio"},
    {"", K::label, 5760, 7680, 795, 255, "u net,fin"},
    {"u_net_finResLbl", K::valueLabel, 6600, 7680, 615, 255, "", into<&M::uNetFinResLbl>,
     "u net,fin ratio"},

    // Beside the results: the floor vibration ratios, while checked.
    {"", K::label, 7440, 6600, 1155, 255, "Vibration:", caption<0>},
    {"", K::label, 7440, 6960, 375, 255, "f1", caption<1>},
    {"f1ResLbl", K::valueLabel, 7860, 6960, 615, 255, "", into<&M::f1ResLbl>, "f1 ratio"},
    {"", K::label, 7440, 7320, 375, 255, "w", caption<2>},
    {"wResLbl", K::valueLabel, 7860, 7320, 615, 255, "", into<&M::wResLbl>, "w ratio"},
    {"", K::label, 7440, 7680, 375, 255, "v", caption<3>},
    {"vResLbl", K::valueLabel, 7860, 7680, 615, 255, "", into<&M::vResLbl>, "v ratio"},

    // Below the factor column: the ratios under the concentrated load, while
    // checked.
    {"", K::label, 8640, 6600, 1950, 255, "Point load:", pointCaption<0>},
    {"", K::label, 8640, 6960, 795, 255, "Bending", pointCaption<1>},
    {"pointBendingResLbl", K::valueLabel, 9720, 6960, 615, 255, "", into<&M::pointBendingResLbl>,
     "Bending under the point load ratio"},
    {"", K::label, 8640, 7320, 795, 255, "Shear", pointCaption<2>},
    {"pointShearResLbl", K::valueLabel, 9720, 7320, 615, 255, "", into<&M::pointShearResLbl>,
     "Shear under the point load ratio"},
    {"", K::label, 8640, 7680, 795, 255, "Bearing", pointCaption<3>},
    {"pointBearingResLbl", K::valueLabel, 9720, 7680, 615, 255, "", into<&M::pointBearingResLbl>,
     "Bearing under the point load ratio"},

    // The message line: why the results are out of date, when they are.
    {"messageLbl", K::valueLabel, 360, 7965, 10290, 255, "", into<&M::messageLbl>, "Message"},
});

} // namespace

std::span<const Placement<MainControls>> mainWindowLayout()
{
    return mainLayout;
}

QString localizedDesignText(std::string_view designText, const QLocale& locale)
{
    return QString::fromUtf8(designText).replace(QLatin1Char('.'), locale.decimalPoint());
}

namespace {

// An input's caption, its control and its unit; returns the control.
QWidget* buildInput(QWidget* window, const InputView& view, InputControl& control,
                    const QLocale& locale)
{
    const joist::InputFacts& row = joist::factsOf(view.input);
    const InputPlaces& at = view.places;
    createControl(window, {}, ControlKind::label,
                  QRect(at.captionLeft, at.top + at.captionDrop, at.captionWidth, 255),
                  row.caption);
    QWidget* widget = createControl(window, view.name, view.kind,
                                    QRect(at.left, at.top, at.width, at.height), {});
    switch (view.kind) {
    case ControlKind::textBox:
        control.box = static_cast<QLineEdit*>(widget);
        control.box->setText(localizedDesignText(row.designText, locale));
        break;
    case ControlKind::dropDownList: {
        control.list = static_cast<DropDownList*>(widget);
        QStringList items;
        for (const QString& item : QString::fromUtf8(row.designText).split(QLatin1Char('|')))
            items << localizedDesignText(item.toStdString(), locale);
        control.list->setItems(items);
        break;
    }
    default:
        control.label = static_cast<ValueLabel*>(widget);
        break;
    }
    widget->setAccessibleName(QString::fromUtf8(accessibleInputName(row)));
    if (!row.unit.empty())
        createControl(window, {}, ControlKind::label, QRect(at.unitLeft, at.top, at.unitWidth, 255),
                      row.unit);
    return widget;
}

} // namespace

void buildMainWindowControls(QWidget* window, MainControls& controls, const QLocale& locale)
{
    std::vector<std::pair<int, QWidget*>> ranked =
        buildControls(window, mainWindowLayout(), controls);
    for (const InputView& view : inputViews()) {
        QWidget* control =
            buildInput(window, view, controls.inputs[static_cast<std::size_t>(view.input)], locale);
        if (view.focus != 0)
            ranked.emplace_back(view.focus, control);
    }
    std::sort(ranked.begin(), ranked.end());
    for (const auto& [rank, control] : ranked)
        controls.tabOrder.push_back(control);
}

} // namespace ui
