#pragma once

// The Sheet Details window: the job header printed on the calculation sheet
// of the design being edited. Modeless, one instance; an edit changes the
// design, and only "Use as Default for New Designs" keeps anything.

#include <array>

#include <QDialog>

#include "document/sheet_details.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace document {
class SettingsFile;
}

namespace ui {

class FrmSheetDetails : public QDialog
{
    Q_OBJECT

public:
    // Shows `details`, those in force; `settings` receives the defaults for
    // new designs when the user asks, and nothing else.
    FrmSheetDetails(const document::SheetDetails& details, document::SettingsFile& settings,
                    QWidget* parent = nullptr);

    // The boxes, in the order of the field table.
    const std::array<QLineEdit*, 6>& boxes() const { return boxes_; }

    // The details in force, as the user left them.
    const document::SheetDetails& details() const { return details_; }

    // Shows details put in force by someone else (a design opened or begun);
    // stores nothing.
    void showDetails(const document::SheetDetails& details);

signals:
    // The user changed a field of the design's details.
    void edited();
    // The details in force are now the defaults for new designs, not yet
    // written to the settings file.
    void defaultsStored();

private:
    void useAsDefault();
    void showDefaultState();

    document::SheetDetails details_;
    document::SettingsFile& settings_;
    std::array<QLineEdit*, 6> boxes_{};
    QPushButton* useAsDefaultBtn_ = nullptr;
    QLabel* warning_ = nullptr; // why text typed or pasted was not all taken
};

} // namespace ui
