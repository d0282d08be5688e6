#include "ui/sheet/sheet_details_window.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QVBoxLayout>
#include <QValidator>

#include "ui/sheet/sheet_details.h"

namespace ui {
namespace {

// What is typed or pasted, cleaned by the rule design files are read by, so
// that whatever the window keeps a saved design opens with.
class DetailValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        if (std::any_of(input.cbegin(), input.cend(), isSheetDetailControl)) {
            pos = int(cleanSheetDetail(QStringView(input).first(pos)).size());
            input = cleanSheetDetail(input);
        }
        return Acceptable;
    }
};

} // namespace

FrmSheetDetails::FrmSheetDetails(QSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("frmSheetDetails"));
    setWindowTitle(QStringLiteral("Sheet Details"));
    auto* form = new QFormLayout;
    const SheetDetails stored = readSheetDetails(settings_);
    for (std::size_t i = 0; i < sheetDetailFields.size(); ++i) {
        const SheetDetailField& field = sheetDetailFields[i];
        auto* box = new QLineEdit(stored.*field.member, this);
        box->setObjectName(QLatin1String(field.boxName));
        box->setMinimumWidth(260);
        box->setValidator(new DetailValidator(box));
        // textEdited, not textChanged: only what the user types is stored.
        connect(box, &QLineEdit::textEdited, this, [this, &field](const QString& text) {
            writeSheetDetail(settings_, field, text);
            emit edited();
        });
        form->addRow(QStringLiteral("&%1:").arg(QLatin1String(field.caption)), box);
        boxes_[i] = box;
    }
    auto* note = new QLabel(
        QStringLiteral("Printed in the header of every calculation sheet; an empty field "
                       "prints as a blank to fill in by hand."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

void FrmSheetDetails::showDetails(const SheetDetails& details)
{
    for (std::size_t i = 0; i < sheetDetailFields.size(); ++i) {
        const QString& text = details.*sheetDetailFields[i].member;
        if (boxes_[i]->text() != text) // the unchanged keep their cursor and undo
            boxes_[i]->setText(text);
    }
}

} // namespace ui
