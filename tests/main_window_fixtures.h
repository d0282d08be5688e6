#pragma once

// A started main window and short, typed ways to its controls, for the
// window tests.

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTextDocument>

#include "tests/widget_lookup.h"
#include "ui/main_window.h"
#include "ui/main_window_layout.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/value_label.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace ui::testing {

// The tooltip as a user reads it: asked for by hovering, markup read as text.
inline QString hoverToolTip(QWidget* widget)
{
    QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &ask);
    const QString tip = widget->toolTip();
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

inline std::size_t index(joist::Input input)
{
    return static_cast<std::size_t>(input);
}

// The directory of the built program, which holds the shipped database.
inline std::filesystem::path shippedDirectory()
{
    return JOIST_RUNTIME_DIR;
}

// A started main window and short ways to its controls.
class MainWindowDriver
{
public:
    explicit MainWindowDriver(std::filesystem::path directory = shippedDirectory(),
                              QLocale locale = QLocale::c())
        : window(std::make_unique<FrmMain>(std::move(directory), std::move(locale)))
    {}

    void start() { window->showModeless(); }

    const MainControls& controls() const { return window->controls(); }
    QString label(std::string_view name) const
    {
        return control<QLabel>(window.get(), name)->text();
    }
    QLineEdit* box(joist::Input input) const { return controls().inputs[index(input)].box; }
    DropDownList* list(joist::Input input) const { return controls().inputs[index(input)].list; }
    DropDownList* classList() const { return controls().cmbSC; }

    // Replaces a text box's text the way a user does: select all, type.
    void type(joist::Input input, const QString& text) const
    {
        QLineEdit* target = box(input);
        target->selectAll();
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Delete);
        else
            QTest::keyClicks(target, text);
    }

    void pick(joist::Input input, const QString& text) const
    {
        ASSERT_TRUE(list(input)->selectText(text)) << text.toStdString();
    }
    void pickClass(const QString& text) const
    {
        ASSERT_TRUE(classList()->selectText(text)) << text.toStdString();
    }

    // The six ratios, in label order, then the unity ratio and verdict, then
    // the vibration ratios while they are shown.
    QStringList results() const
    {
        QStringList texts;
        for (const ResultPlace& place : resultPlaces) {
            if (!(controls().*place.member)->isHidden())
                texts << (controls().*place.member)->text();
        }
        return texts;
    }

    std::unique_ptr<FrmMain> window;
};

// Checks each label named against its text: a test about one result names
// that result, and a result added elsewhere is no part of it.
inline void expectResults(const MainWindowDriver& main,
                          std::initializer_list<std::pair<joist::ResultLabel, QString>> expected)
{
    for (const auto& [label, text] : expected)
        EXPECT_EQ(resultLabel(main.controls(), label)->text(), text)
            << "result " << joist::resultKey(label);
}

// A message box the window opened: its text, and it is closed.
inline QString takeMessage(const MainWindowDriver& main)
{
    auto* box = main.window->findChild<QMessageBox*>();
    if (!box)
        return {};
    const QString text = box->text();
    delete box;
    return text;
}

} // namespace ui::testing
