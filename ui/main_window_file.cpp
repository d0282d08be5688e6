// The main window's design files: new, open, open recent, save, save as, the
// caption that names the file, and the question before unsaved changes go.
#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "document/design_basis_settings.h"
#include "document/design_file.h"
#include "document/settings_file.h"
#include "document/sheet_details.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "io/display_text.h"
#include "io/failure_words.h"
#include "materials/class_material.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "ui/design_basis_window.h"
#include "ui/error_message.h"
#include "ui/input_table.h"
#include "ui/main_window.h"
#include "ui/sheet/sheet_details_window.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

const QString fileFilter = QStringLiteral("Timber joist designs (*.joist)");

std::string ignoredKeysNotice(const QString& path, const std::vector<std::string>& keys)
{
    std::string notice = QFileInfo(path).fileName().toStdString();
    notice.insert(notice.begin(), '"');
    notice += "\": ignored what this program does not know: ";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        notice += i ? ", \"" : "\"";
        notice += keys[i];
        notice += '"';
    }
    return notice + ".";
}

// The class names as the list shows them, by which the window finds a
// design's class.
std::vector<std::string> shownNames(const std::vector<std::string>& names)
{
    std::vector<std::string> shown;
    for (const std::string& name : names)
        shown.push_back(io::displayText(name).toStdString());
    return shown;
}

} // namespace

void FrmMain::showRecentDesigns(const QStringList& paths)
{
    recentMenu_->clear();
    // A long path keeps its file name; "&" would be read as a shortcut mark.
    const QFontMetrics metrics = recentMenu_->fontMetrics();
    for (const QString& path : paths) {
        const QString shown = metrics.elidedText(
            io::displayText(QDir::toNativeSeparators(path), io::DisplayUse::message),
            Qt::ElideMiddle, 60 * metrics.averageCharWidth());
        QAction* entry =
            recentMenu_->addAction(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(entry, &QAction::triggered, this, [this, path] { openDesign(path); });
    }
    recentAction_->setEnabled(!paths.isEmpty());
}

// Each change the user makes is written at once, so that a failure is told
// while it can still be acted on.
void FrmMain::saveSettings()
{
    std::optional<std::string> problem = settings_->save();
    status_.setSettingsProblem(problem ? std::move(*problem) : std::string());
}

// The design in use, unmodified. Qt shows "modified" only with the marker in
// the caption.
void FrmMain::setDesignPath(const QString& path)
{
    const bool recentChanged = document_->setPath(path);
    setWindowModified(false);
    showCaption();
    if (recentChanged) {
        saveSettings();
        showStatus();
    }
    if (!document_->path().isEmpty())
        showRecentDesigns(document_->recentDesigns());
}

void FrmMain::showCaption()
{
    // Qt shows "*" in place of "[*]" while the window is modified.
    const QString& path = document_->path();
    setWindowTitle(path.isEmpty()
                       ? fixedCaption_
                       : io::displayText(QFileInfo(path).fileName(), io::DisplayUse::windowTitle) +
                             QStringLiteral("[*] \u2013 ") + fixedCaption_);
}

void FrmMain::noteDesignChanged()
{
    if (loading_)
        return;
    document_->noteChanged();
    setWindowModified(document_->modified());
}

void FrmMain::showFileMessage(const QString& title, const std::string& text)
{
    plainMessageBox(QMessageBox::Warning, title, QString::fromUtf8(text), this);
}

bool FrmMain::keepOrDropChanges()
{
    if (!document_->modified())
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Unsaved Changes"),
                    QStringLiteral("Save the changes to \"%1\"?")
                        .arg(io::displayText(QFileInfo(document_->path()).fileName())),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("unsavedChangesBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveDesignTo(document_->path());
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    if (!keepOrDropChanges()) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

// The basis of the design opened or begun, in force as if the user had
// entered it: the design basis window shows it. Nothing is kept.
void FrmMain::applyBasis(const joist::DesignBasis& basis)
{
    if (basisWindow_) {
        basisWindow_->applyBasis(basis); // passes it back
    } else {
        const bool newTable = basis.table != design_.basis.table;
        design_.basis = basis;
        if (newTable)
            followTable();
    }
}

// The sheet details of the design opened or begun, in force as if the user
// had typed them; an open details window shows them. Nothing is kept.
void FrmMain::applySheetDetails(const document::SheetDetails& details)
{
    document_->setDetails(details);
    if (detailsWindow_)
        detailsWindow_->showDetails(details);
}

// The basis (whose table fills the class list), then the class (whose
// material decides what a list offers), then every input, set as the user
// would set them, while the window counts as loading, so that one check runs
// at the end.
void FrmMain::applyDesign(document::DesignInputs inputs, const joist::DesignBasis& basis,
                          std::string notice)
{
    loading_ = true;
    applyBasis(basis);
    c_.cmbSC->selectText(QString::fromUtf8(inputs.strengthClass));
    const joist::Material material = materials::currentMaterial(dStrengthClass_).material;
    offerExtraItems(material);
    // What the design does not give, its class's material does.
    if (std::string& gammaM = inputs.texts[std::size_t(joist::materialInput)]; gammaM.empty())
        gammaM = joist::materialStartValue(material);
    for (const joist::InputDefinition& definition : joist::inputDefinitions) {
        const InputControl& control = c_.inputs[static_cast<std::size_t>(definition.input)];
        const QString text =
            localizedDesignText(inputs.texts[static_cast<std::size_t>(definition.input)], locale_);
        if (control.list)
            control.list->selectText(text);
        else if (control.box)
            control.box->setText(text);
    }
    const bool read = readAllInputs();
    loading_ = false;
    status_.setNotice(std::move(notice));
    if (read)
        recalculate();
    else
        showStatus();
}

document::DesignInputs FrmMain::designInputs() const
{
    document::DesignInputs inputs;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (row.key.empty())
            continue;
        // A list the design has taken over (kh by depth) keeps its own value.
        const DropDownList* list = c_.inputs[static_cast<std::size_t>(row.input)].list;
        const std::string shown =
            list && !list->isEnabled() ? list->itemText(0).toStdString() : text(row.input);
        if (!joist::parseNumber(shown, decimalSeparator_))
            throw document::DesignFileError("The design cannot be saved while " +
                                            accessibleInputName(row) + " holds \"" + shown +
                                            "\", which is not a number.");
        inputs.texts[static_cast<std::size_t>(row.input)] =
            QString::fromUtf8(shown)
                .replace(locale_.decimalPoint(), QStringLiteral("."))
                .toStdString();
    }
    inputs.strengthClass = c_.cmbSC->selectedText().toStdString();
    // The window picks by position, but the file can name the class only.
    const std::vector<std::string> names = shownNames(dStrengthClass_.classNames());
    const auto picked = static_cast<std::size_t>(c_.cmbSC->selectedIndex());
    if (picked < names.size())
        if (const auto twice =
                materials::classNamedTwice(names, names[picked], dStrengthClass_.path()))
            throw document::DesignFileError("The design cannot be saved. " +
                                            std::string(twice->what()) + ".");
    return inputs;
}

void FrmMain::newDesign()
{
    if (!keepOrDropChanges())
        return;
    document::DesignInputs inputs = document::startInputs();
    inputs.texts[std::size_t(joist::materialInput)].clear(); // the class's
    std::string notice;
    if (c_.cmbSC->findText(QString::fromUtf8(inputs.strengthClass)) < 0 && c_.cmbSC->count() > 0) {
        inputs.strengthClass = c_.cmbSC->itemText(0).toStdString();
        notice = "The strength-class table " + dStrengthClass_.path() +
                 " has no class \"C16\"; starting on its first class, \"" + inputs.strengthClass +
                 "\".";
    }
    // The user's defaults; member and revision name the last member only.
    applySheetDetails(document::readDefaultSheetDetails(*settings_));
    applyDesign(inputs, document::readDesignBasis(*settings_), notice);
    setDesignPath({});
}

bool FrmMain::openDesign(const QString& path)
{
    if (!keepOrDropChanges())
        return false;
    document::DesignFile file;
    try {
        file = document::readDesignFile(path);
        // The class must be in the table the file's basis chooses, once, and
        // its material decides gamma M.
        const std::string table = materials::tablePath(programDirectory_, file.basis.table);
        const std::vector<std::string> names =
            shownNames(table == dStrengthClass_.path() ? dStrengthClass_.classNames()
                                                       : materials::classNames(table));
        const std::optional<materials::ClassMaterial> material =
            std::ranges::count(names, file.inputs.strengthClass) == 0
                ? std::nullopt
                : materials::materialOfClass(table, file.inputs.strengthClass);
        if (!material)
            throw document::DesignFileError(
                document::openFailure(path, "its strength class \"" + file.inputs.strengthClass +
                                                "\" is not in the strength-class table " + table));
        if (const auto twice = materials::classNamedTwice(names, file.inputs.strengthClass, table))
            throw document::DesignFileError(document::openFailure(path, twice->what()));
        try {
            document::settleMaterialInput(file.inputs, file.basis, material->material);
        } catch (const document::ValueRefused& refused) {
            throw document::DesignFileError(document::openFailure(path, refused.what()));
        }
    } catch (const std::exception& error) {
        showFileMessage(QStringLiteral("Open Design"), io::errorMessage(error));
        return false;
    }
    applySheetDetails(file.details);
    applyDesign(file.inputs, file.basis,
                file.ignoredKeys.empty() ? std::string()
                                         : ignoredKeysNotice(path, file.ignoredKeys));
    setDesignPath(path);
    return true;
}

void FrmMain::openDesignDialog()
{
    if (!keepOrDropChanges())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Design"), QFileInfo(document_->path()).path(), fileFilter);
    if (!path.isEmpty())
        openDesign(path);
}

// Whether to write over the design's file although another program, or
// another window, changed it since it was opened or saved here; Save As
// answers for itself.
bool FrmMain::overwriteChangedFile()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Save Design"),
                    QStringLiteral("\"%1\" was changed by another program or window since you "
                                   "opened or saved it here. Saving over it loses those changes.")
                        .arg(io::displayText(QFileInfo(document_->path()).fileName())),
                    QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("changedOnDiskBox"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* overwrite = box.addButton(QStringLiteral("Save Over It"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save As..."), QMessageBox::ActionRole);
    box.setDefaultButton(saveAs);
    box.exec();
    if (box.clickedButton() == saveAs)
        return saveDesignAs();
    return box.clickedButton() == overwrite && saveDesignTo(document_->path(), true);
}

bool FrmMain::saveDesignTo(const QString& path, bool overwriteChanges)
{
    if (!overwriteChanges && QFileInfo(path).absoluteFilePath() == document_->path() &&
        document_->changedElsewhere())
        return overwriteChangedFile();
    try {
        document_->write(path, designInputs(), design_.basis);
    } catch (const std::exception& error) {
        showFileMessage(QStringLiteral("Save Design"), io::errorMessage(error));
        return false;
    }
    setDesignPath(path);
    return true;
}

bool FrmMain::saveDesign()
{
    return document_->path().isEmpty() ? saveDesignAs() : saveDesignTo(document_->path());
}

bool FrmMain::saveDesignAs()
{
    QFileDialog dialog(this, QStringLiteral("Save Design As"),
                       document_->path().isEmpty() ? QDir::homePath() : document_->path(),
                       fileFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("joist"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return saveDesignTo(dialog.selectedFiles().constFirst());
}

} // namespace ui
