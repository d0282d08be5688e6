#pragma once

// The Sheet Details window: the job header printed on every calculation
// sheet. Modeless, one instance; each edit the user makes is stored at once.

#include <array>

#include <QDialog>

class QLineEdit;
class QSettings;

namespace ui {

struct SheetDetails;

class FrmSheetDetails : public QDialog
{
    Q_OBJECT

public:
    // `settings` receives the user's edits, and nothing else.
    explicit FrmSheetDetails(QSettings& settings, QWidget* parent = nullptr);

    // The boxes, in the order of the field table.
    const std::array<QLineEdit*, 6>& boxes() const { return boxes_; }

    // Shows details stored by someone else (an opened design); stores nothing.
    void showDetails(const SheetDetails& details);

signals:
    // The user changed a field, and it is stored.
    void edited();

private:
    QSettings& settings_;
    std::array<QLineEdit*, 6> boxes_{};
};

} // namespace ui
