#pragma once

// The material data window: all twelve stored properties of the selected class.

#include <array>
#include <filesystem>
#include <functional>
#include <string_view>

#include <QLocale>

#include "materials/strength_class_connection.h"
#include "ui/toolkit/form.h"

class QFrame;
class QLabel;
class QPushButton;

namespace ui {

class ValueLabel;

// The material data window's controls, each created once by its layout.
struct MaterialControls
{
    ValueLabel* scLbl = nullptr;
    QFrame* frame1 = nullptr;
    QPushButton* command1 = nullptr;
    std::array<ValueLabel*, 12> values{}; // the twelve properties, in row order
    ValueLabel* messageLbl = nullptr;
};

// Lists all twelve stored properties of one strength class. It has its own
// connection to the table, positioned when the window loads on the class then
// selected in the main window; it does not follow later selections.
class FrmDBData : public Form
{
public:
    // `mainConnection` is the main window's, whose values the results use:
    // the window says so when the file no longer holds them.
    FrmDBData(std::filesystem::path programDirectory, const QLocale& locale,
              std::function<int()> mainWindowSelectedIndex,
              const materials::StrengthClassConnection& mainConnection);

protected:
    // Throws materials::DatabaseError when the table cannot be opened.
    void load() override;
    void unload() override;

private:
    void bindLabel(std::string_view field, ValueLabel* label);

    MaterialControls c_;
    std::filesystem::path programDirectory_;
    std::function<int()> mainWindowSelectedIndex_;
    const materials::StrengthClassConnection& mainConnection_;
    materials::StrengthClassConnection dStrengthClass_;
};

} // namespace ui
