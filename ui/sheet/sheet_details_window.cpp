#include "ui/sheet/sheet_details_window.h"

#include <algorithm>
#include <functional>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "document/settings_file.h"

namespace ui {
namespace {

// What is typed or pasted, cleaned by the rule design files are read by, so
// that whatever the window keeps a saved design opens with.
// Longer text than a detail holds is cut, and `cut` says so.
class DetailValidator : public QValidator
{
public:
    DetailValidator(std::function<void()> cut, QObject* parent)
        : QValidator(parent), cut_(std::move(cut))
    {}
    State validate(QString& input, int& pos) const override
    {
        if (std::any_of(input.cbegin(), input.cend(), document::isSheetDetailControl)) {
            pos = int(document::cleanSheetDetail(QStringView(input).first(pos)).size());
            input = document::cleanSheetDetail(input);
        }
        if (input.size() > document::longestSheetDetail) {
            input.truncate(document::longestSheetDetail);
            pos = std::min(pos, int(document::longestSheetDetail));
            cut_();
        }
        return Acceptable;
    }

private:
    std::function<void()> cut_;
};

} // namespace

FrmSheetDetails::FrmSheetDetails(const document::SheetDetails& details,
                                 document::SettingsFile& settings, QWidget* parent)
    : QDialog(parent), details_(details), settings_(settings)
{
    setObjectName(QStringLiteral("frmSheetDetails"));
    setWindowTitle(QStringLiteral("Sheet Details"));
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("detailsWarningLbl"));
    warning_->setWordWrap(true);
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < document::sheetDetailFields.size(); ++i) {
        const document::SheetDetailField& field = document::sheetDetailFields[i];
        auto* box = new QLineEdit(details_.*field.member, this);
        box->setObjectName(QLatin1String(field.boxName));
        box->setMinimumWidth(260);
        box->setValidator(new DetailValidator(
            [this, &field] {
                warning_->setText(
                    QStringLiteral("%1 holds at most %2 characters, so that the sheet's header "
                                   "shows it whole: the rest was not taken.")
                        .arg(QLatin1String(field.caption))
                        .arg(document::longestSheetDetail));
            },
            box));
        // textEdited, not textChanged: only what the user types is a change.
        connect(box, &QLineEdit::textEdited, this, [this, &field](const QString& text) {
            if (text.size() < document::longestSheetDetail &&
                warning_->text().startsWith(QLatin1String(field.caption)))
                warning_->clear();
            details_.*field.member = text;
            showDefaultState();
            emit edited();
        });
        form->addRow(QStringLiteral("&%1:").arg(QLatin1String(field.caption)), box);
        boxes_[i] = box;
    }
    auto* note = new QLabel(
        QStringLiteral("Printed in the header of this design's calculation sheet; an empty field "
                       "prints as a blank to fill in by hand. New designs start with member / "
                       "location and revision empty."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    useAsDefaultBtn_ = buttons->addButton(QStringLiteral("Use as Default for New Designs"),
                                          QDialogButtonBox::ActionRole);
    useAsDefaultBtn_->setObjectName(QStringLiteral("useAsDefaultBtn"));
    useAsDefaultBtn_->setAutoDefault(false);
    useAsDefaultBtn_->setToolTip(
        QStringLiteral("New designs, and the program when it starts, take the project, job no., "
                       "calculated by and checked by shown here."));
    connect(useAsDefaultBtn_, &QPushButton::clicked, this, &FrmSheetDetails::useAsDefault);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(warning_);
    layout->addWidget(buttons);
    showDefaultState();
}

void FrmSheetDetails::showDetails(const document::SheetDetails& details)
{
    details_ = details;
    for (std::size_t i = 0; i < document::sheetDetailFields.size(); ++i) {
        const QString& text = details.*document::sheetDetailFields[i].member;
        if (boxes_[i]->text() != text) // the unchanged keep their cursor and undo
            boxes_[i]->setText(text);
    }
    showDefaultState();
}

void FrmSheetDetails::useAsDefault()
{
    document::writeDefaultSheetDetails(settings_, details_);
    showDefaultState();
    emit defaultsStored();
}

// Offered only when it would change the defaults.
void FrmSheetDetails::showDefaultState()
{
    useAsDefaultBtn_->setEnabled(document::defaultPart(details_) !=
                                 document::readDefaultSheetDetails(settings_));
}

} // namespace ui
