// The main window's actions beyond the fixed layout: the span table, the
// calculation sheet, and the design aids in the verdict's tooltip.
#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "document/sheet_details.h"
#include "engine/design_aids.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "io/failure_words.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/design_aid_lines.h"
#include "ui/design_basis_window.h"
#include "ui/error_message.h"
#include "ui/help_windows.h"
#include "ui/input_table.h"
#include "ui/main_window.h"
#include "ui/sheet/sheet_details_window.h"
#include "ui/sheet/sheet_gathering.h"
#include "ui/sheet/sheet_output.h"
#include "ui/span_table_window.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using joist::Input;

void bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void FrmMain::createActions()
{
    struct ActionRow
    {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        void (FrmMain::*run)();
    };
    // The context menu, top to bottom: a row without a name is a separator,
    // one without an action the submenu of recent designs.
    const ActionRow rows[] = {
        {"newDesignAct", "New Design", QKeySequence(Qt::CTRL | Qt::Key_N), &FrmMain::newDesign},
        {"openDesignAct", "Open Design...", QKeySequence(Qt::CTRL | Qt::Key_O),
         &FrmMain::openDesignDialog},
        {"openRecentAct", "Open Recent", {}, nullptr},
        {"saveDesignAct", "Save Design", QKeySequence(Qt::CTRL | Qt::Key_S),
         &FrmMain::saveDesignAction},
        {"saveDesignAsAct", "Save Design As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &FrmMain::saveDesignAsAction},
        {nullptr, nullptr, {}, nullptr},
        {"spanTableAct", "Span Table...", QKeySequence(Qt::CTRL | Qt::Key_T),
         &FrmMain::showSpanTable},
        {"designBasisAct", "Design Basis...", QKeySequence(Qt::CTRL | Qt::Key_D),
         &FrmMain::showDesignBasis},
        {"sheetDetailsAct", "Sheet Details...", QKeySequence(), &FrmMain::showSheetDetails},
        {"copyCalcAct", "Copy Calculation", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         &FrmMain::copyCalculation},
        {"printCalcAct", "Print Calculation...", QKeySequence(QKeySequence::Print),
         &FrmMain::printCalculation},
        {"pdfCalcAct", "Export Calculation as PDF...", QKeySequence(Qt::CTRL | Qt::Key_E),
         &FrmMain::saveCalculationAsPdf},
        {nullptr, nullptr, {}, nullptr},
        {"helpAct", "Timber Joist Manual", QKeySequence(QKeySequence::HelpContents),
         &FrmMain::showManual},
        {"shortcutsAct", "Keyboard Shortcuts", QKeySequence(), &FrmMain::showShortcuts},
        {"aboutAct", "About Timber Joist", QKeySequence(), &FrmMain::showAbout},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(this);
        if (!row.name) {
            action->setSeparator(true);
            addAction(action);
            continue;
        }
        action->setText(QString::fromLatin1(row.text));
        action->setObjectName(QString::fromLatin1(row.name));
        if (row.run) {
            action->setShortcut(row.shortcut);
            action->setShortcutContext(Qt::WindowShortcut); // from any control of the window
            connect(action, &QAction::triggered, this, row.run);
        } else {
            recentMenu_ = new QMenu(this);
            recentMenu_->setObjectName(QStringLiteral("recentDesignsMenu"));
            action->setMenu(recentMenu_);
            recentAction_ = action;
        }
        addAction(action);
    }
    showRecentDesigns(document_->recentDesigns());
    // Right-click outside a text box lists them; text boxes keep their own menu.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // The working is written into the result labels' tooltips when one is
    // asked for, not on every keystroke.
    for (const ResultPlace& place : resultPlaces)
        (c_.*place.member)->installEventFilter(this);
    // A text box would claim some of them for its own editing keys (on X11,
    // Ctrl+E moves to the end of the line): the window's commands win.
    for (const InputControl& input : c_.inputs) {
        if (input.box)
            input.box->installEventFilter(this);
    }
}

bool FrmMain::isActionShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    const QList<QAction*> all = actions();
    return std::any_of(all.begin(), all.end(), [&pressed](const QAction* action) {
        return action->isEnabled() && action->shortcut() == pressed;
    });
}

QStringList FrmMain::designAidLines()
{
    if (!status_.current() || !lastCompleted_)
        return {};
    if (!designAids_) {
        const report::DesignAids aids = report::computeDesignAids(*lastCompleted_);
        designAids_ =
            QStringList{QString::fromUtf8(report::longestSpanLine(aids, decimalSeparator_)),
                        QString::fromUtf8(report::lightestSectionLine(aids, decimalSeparator_))};
        workingShown_ = false; // whoever asked, the verdict's tooltip gains the aids
    }
    return *designAids_;
}

// The working, and the aids in the verdict's, are worked out only when a
// result's tooltip is asked for.
bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // Left unaccepted, the override lets the shortcut reach its action.
    if (event->type() == QEvent::ShortcutOverride &&
        isActionShortcut(*static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::ToolTip) {
        if (watched == c_.governedByLbl && status_.current() && !designAids_)
            designAidLines();
        if (!workingShown_)
            showWorking();
    }
    return Form::eventFilter(watched, event);
}

void FrmMain::showSpanTable()
{
    if (!spanWindow_)
        spanWindow_ = new FrmSpanTable(this);
    refreshSpanTable();
    spanWindow_->show();
    spanWindow_->raise();
    spanWindow_->activateWindow();
}

void FrmMain::showDesignBasis()
{
    if (!basisWindow_) {
        basisWindow_ = new FrmDesignBasis(
            design_.basis, locale_, *settings_,
            [this](const joist::DesignBasis& basis) { onBasisChanged(basis); }, this);
        basisWindow_->showResults(status_.current() ? lastCompleted_ : std::nullopt,
                                  design_.tablePresumesKcr);
        connect(basisWindow_, &FrmDesignBasis::defaultsStored, this, &FrmMain::onDefaultsStored);
    }
    basisWindow_->show();
    basisWindow_->raise();
    basisWindow_->activateWindow();
}

void FrmMain::showSheetDetails()
{
    if (!detailsWindow_) {
        detailsWindow_ = new FrmSheetDetails(document_->details(), *settings_, this);
        // A design file holds its sheet details.
        connect(detailsWindow_, &FrmSheetDetails::edited, this, [this] {
            document_->setDetails(detailsWindow_->details());
            noteDesignChanged();
        });
        connect(detailsWindow_, &FrmSheetDetails::defaultsStored, this, &FrmMain::onDefaultsStored);
    }
    detailsWindow_->show();
    detailsWindow_->raise();
    detailsWindow_->activateWindow();
}

void FrmMain::showManual()
{
    const QString path = QString::fromStdString((programDirectory_ / "timber-joist.html").string());
    if (!QFileInfo(path).isFile()) {
        plainMessageBox(QMessageBox::Warning, QStringLiteral("Timber Joist Manual"),
                        QStringLiteral("The manual is not where it is installed with the "
                                       "program, \"%1\". Install the program again, or read "
                                       "the manual page: man timber-joist.")
                            .arg(io::displayText(QDir::toNativeSeparators(path))),
                        this);
        return;
    }
    // The desktop's browser where there is one, else a window of our own.
    openInBrowser(path, this, [this, path] {
        if (!manualWindow_)
            manualWindow_ = makeManualWindow(path, this);
        bringUp(manualWindow_);
    });
}

void FrmMain::showShortcuts()
{
    if (!shortcutsWindow_)
        shortcutsWindow_ = makeShortcutsWindow(actions(), this);
    bringUp(shortcutsWindow_);
}

// Made again each time: it says which table is in use now.
void FrmMain::showAbout()
{
    delete aboutWindow_;
    const std::string& digest = dStrengthClass_.fingerprint();
    const std::optional<joist::TableChoice> shipped = materials::shippedTableOfFingerprint(digest);
    aboutWindow_ =
        makeAboutWindow({QString::fromStdString(dStrengthClass_.messagePath()), digest,
                         !digest.empty() && shipped.has_value(),
                         shipped && *shipped != joist::TableChoice::shipped
                             ? QString::fromUtf8(materials::shippedTableOf(*shipped).edition)
                             : QString()},
                        this);
    bringUp(aboutWindow_);
}

void FrmMain::refreshSpanTable()
{
    if (status_.current() && lastCompleted_) {
        spanWindow_->showTable(report::spanTableTexts(
            *lastCompleted_, c_.scLbl->text(), listValues(Input::breadth, lastCompleted_->basis),
            listValues(Input::depth, lastCompleted_->basis), listValues(Input::spacing),
            decimalSeparator_));
    } else {
        spanWindow_->markOutOfDate(QString::fromUtf8(status_.message()));
    }
}

CalculationSheet FrmMain::calculationSheet()
{
    // No stale sheet may leave the program.
    if (!status_.current() || !lastCompleted_)
        throw SheetRefused(status_.message().empty() ? "No check has completed."
                                                     : status_.message());
    SheetSources sources;
    sources.programName = fixedCaption_; // without the design file's name
    sources.decimalSeparator = decimalSeparator_;
    sources.inputOrder = inputsInFocusOrder();
    sources.inputText = [this](Input input) { return text(input); };
    sources.className = c_.scLbl->text();
    sources.databasePath = materials::tablePath(programDirectory_, design_.basis.table);
    sources.selectedClass = c_.cmbSC->selectedIndex();
    sources.checkedRow = &dStrengthClass_;
    sources.design = *lastCompleted_;
    // As shown, or as the check writes it where the window has no place for it.
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        const ValueLabel* shown = resultLabel(c_, check.label);
        sources.ratioTexts.push_back(shown && !shown->isHidden()
                                         ? shown->text()
                                         : QString::fromUtf8(joist::generalText(
                                               sources.design.*check.ratio, decimalSeparator_)));
    }
    sources.unityRatioText = c_.unityRatioLbl->text();
    sources.verdictText = c_.governedByLbl->text();
    sources.designAids = designAidLines();
    sources.details = document_->details();
    return gatherCalculationSheet(sources);
}

// Builds the sheet and hands it on; a refusal or a failed write is shown in
// a message box, as plain text, and nothing is written.
template <class Output> void FrmMain::withSheet(const QString& title, Output output)
{
    try {
        output(calculationSheet());
    } catch (const std::exception& error) {
        plainMessageBox(QMessageBox::Warning, title, QString::fromUtf8(io::errorMessage(error)),
                        this);
    }
}

void FrmMain::copyCalculation()
{
    withSheet(QStringLiteral("Copy Calculation"), [](const CalculationSheet& sheet) {
        auto* data = new QMimeData;
        data->setText(sheetPlainText(sheet));
        data->setHtml(sheetHtml(sheet));
        QApplication::clipboard()->setMimeData(data);
    });
}

void FrmMain::printCalculation()
{
    withSheet(QStringLiteral("Print Calculation"), [this](const CalculationSheet& sheet) {
        // Printing to a file is Save as PDF's work: the print dialog's own
        // file choice opens the file to test it, and hangs on a named pipe.
        if (QPrinterInfo::availablePrinters().isEmpty())
            throw SheetOutputError("No printer is set up on this computer. To keep the "
                                   "calculation as a file, use Export Calculation as PDF.");
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() == QDialog::Accepted)
            printSheet(sheet, printer);
    });
}

void FrmMain::printCalculationOn(QPrinter& printer)
{
    withSheet(QStringLiteral("Print Calculation"),
              [&printer](const CalculationSheet& sheet) { printSheet(sheet, printer); });
}

// Why the name the user gave is not used, or nothing.
std::optional<QString> FrmMain::sheetNameProblem(const QFileDialog& dialog, const QString& chosen)
{
    // Qt's own dialog reads double quotes as a list of names and saves
    // under one of them, perhaps elsewhere.
    const auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString name = typed ? typed->text() : QString();
    if (name.contains(QLatin1Char('"')))
        return QStringLiteral("The calculation was not saved: the name typed, \"%1\", holds "
                              "double quotes, which the file dialog reads as a list of names. "
                              "Type the name without them.")
            .arg(io::displayText(name));
    // A whole path says where it goes; a name with folders in it, relative
    // to the folder shown, may not.
    if (QDir::isAbsolutePath(name))
        return std::nullopt;
    const QString folder = QFileInfo(chosen).absolutePath();
    const QString shown = dialog.directory().absolutePath();
    if (QDir::cleanPath(folder) != QDir::cleanPath(shown))
        return QStringLiteral("The calculation was not saved: the name given would put it in "
                              "\"%1\", not in the folder shown, \"%2\". Open that folder "
                              "first, or type the whole path.")
            .arg(io::displayText(QDir::toNativeSeparators(folder), io::DisplayUse::message),
                 io::displayText(QDir::toNativeSeparators(shown), io::DisplayUse::message));
    return std::nullopt;
}

void FrmMain::saveCalculationAsPdf()
{
    const QString title = QStringLiteral("Export Calculation as PDF");
    withSheet(title, [this, &title](const CalculationSheet& sheet) {
        // Beside the design's file, under its name, when there is one.
        const QString& path = document_->path();
        const QFileInfo design(path);
        const QString proposal =
            path.isEmpty()
                ? proposedSheetPath(sheet)
                : design.dir().filePath(design.completeBaseName() + QStringLiteral(".pdf"));
        QString folder = QFileInfo(proposal).path(), name = QFileInfo(proposal).fileName();
        // After a refusal the dialog comes back with the name as given.
        for (;;) {
            QFileDialog dialog(this, title, folder, QStringLiteral("PDF files (*.pdf)"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("pdf"));
            dialog.selectFile(name);
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return;
            folder = dialog.directory().absolutePath();
            if (const auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name = typed->text();
            const QString chosen = dialog.selectedFiles().constFirst();
            std::optional<QString> problem = sheetNameProblem(dialog, chosen);
            if (!problem) {
                try {
                    writeSheetPdf(sheet, chosen);
                    return;
                } catch (const SheetOutputError& error) {
                    problem = QString::fromUtf8(error.what());
                }
            }
            std::unique_ptr<QMessageBox> box(
                plainMessageBox(QMessageBox::Warning, title, *problem));
            box->setObjectName(QStringLiteral("sheetNotSavedBox"));
            box->exec();
        }
    });
}

void FrmMain::saveCalculationTo(const QString& path)
{
    withSheet(QStringLiteral("Export Calculation as PDF"),
              [&path](const CalculationSheet& sheet) { writeSheetPdf(sheet, path); });
}

} // namespace ui
