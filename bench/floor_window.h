#pragma once

// The floor the main window is measured against: a window with the same
// widgets, built from the same layout, that does the least a live calculator
// must do on a keystroke (set eight label texts, redraw the sketch) and
// nothing else: no design check, no database.

#include <array>

#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "engine/joist_design.h"
#include "ui/main_window_layout.h"
#include "ui/sketch/section_sketch.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/layout_table.h"
#include "ui/toolkit/picture_box.h"
#include "ui/toolkit/value_label.h"

namespace bench {

class FloorWindow : public ui::Form
{
public:
    FloorWindow() : Form(QStringLiteral("Floor"), ui::mainClientWidth, ui::mainClientHeight)
    {
        ui::buildMainWindowControls(this, c_, QLocale::c());
        c_.pic->setHeightPixels(189);
        QLineEdit* span = c_.inputs[static_cast<std::size_t>(joist::Input::span)].box;
        connect(span, &QLineEdit::textChanged, this, [this](const QString& text) { onKey(text); });
        // Typed into as the program's is: with the focus, so its cursor is drawn too.
        span->setFocus();
    }

private:
    void onKey(const QString& text)
    {
        // The texts the program shows for a passing (4) and failing (6) span,
        // in label order; the vibration labels stay hidden.
        static const QStringList passing{"0.484", "0.242", "0.595", "0.337",
                                         "0.281", "0.421", "0.595", "Joist Passes"};
        static const QStringList failing{
            "1.09",  "0.363", "0.892", "1.136",
            "0.947", "1.419", "1.419", "Joist fails in deflection: u net,fin"};
        const QStringList& texts = text == QLatin1String("6") ? failing : passing;
        for (qsizetype i = 0; i < texts.size(); ++i)
            (c_.*ui::resultPlaces[i].member)->setText(texts[i]);
        joist::JoistDesign section;
        section.breadth = 44;
        section.depth = 225;
        section.spacing = 300;
        ui::drawSection(section, *c_.pic);
    }

    ui::MainControls c_;
};

} // namespace bench
