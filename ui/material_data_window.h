#pragma once

#include <filesystem>
#include <functional>

#include <QLocale>

#include "materials/strength_class_connection.h"
#include "ui/form.h"

namespace ui {

// Lists all twelve stored properties of one strength class. It has its own
// connection to the table, positioned when the window loads on the class then
// selected in the main window; it does not follow later selections.
class FrmDBData : public Form
{
public:
    FrmDBData(std::filesystem::path programDirectory, const QLocale& locale,
              std::function<int()> mainWindowSelectedIndex);

protected:
    // Throws materials::DatabaseError when the table cannot be opened.
    void load() override;
    void unload() override;

private:
    std::filesystem::path programDirectory_;
    std::function<int()> mainWindowSelectedIndex_;
    materials::StrengthClassConnection dStrengthClass_;
};

} // namespace ui
