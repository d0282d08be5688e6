#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ui/drop_down_list.h"
#include "ui/layout_table.h"
#include "ui/main_window.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace ui::testing {

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

    QString label(std::string_view name) const
    {
        return control<QLabel>(window.get(), name)->text();
    }
    QLineEdit* box(std::string_view name) const { return control<QLineEdit>(window.get(), name); }
    DropDownList* list(std::string_view name) const
    {
        return control<DropDownList>(window.get(), name);
    }

    // Replaces a text box's text the way a user does: select all, type.
    void type(std::string_view name, const QString& text) const
    {
        QLineEdit* target = box(name);
        target->selectAll();
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Delete);
        else
            QTest::keyClicks(target, text);
    }

    void pick(std::string_view name, const QString& text) const
    {
        ASSERT_TRUE(list(name)->selectText(text)) << text.toStdString();
    }

    // The six ratios, in label order, then the unity ratio and verdict.
    QStringList results() const
    {
        QStringList texts;
        for (const char* name :
             {"bendingResLbl", "shearResLbl", "bearingResLbl", "u2ResLbl", "u2_finResLbl",
              "u_net_finResLbl", "unityRatioLbl", "governedByLbl"})
            texts << label(name);
        return texts;
    }

    std::unique_ptr<FrmMain> window;
};

} // namespace ui::testing
