// The main window's actions beyond the fixed layout: the span table, the
// calculation sheet, and the design aids in the verdict's tooltip.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>

#include "engine/design_aids.h"
#include "engine/number_text.h"
#include "materials/strength_class_sequences.h"
#include "ui/design_basis_window.h"
#include "ui/drop_down_list.h"
#include "ui/error_message.h"
#include "ui/input_table.h"
#include "ui/main_window.h"
#include "ui/picture_box.h"
#include "ui/sheet_output.h"
#include "ui/span_table_window.h"
#include "ui/strength_class_properties.h"
#include "ui/value_label.h"

namespace ui {
namespace {

using joist::Input;

QString qstring(const std::string& text)
{
    return QString::fromStdString(text);
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
    const ActionRow rows[] = {
        {"spanTableAct", "Span Table...", QKeySequence(Qt::CTRL | Qt::Key_T),
         &FrmMain::showSpanTable},
        {"designBasisAct", "Design Basis...", QKeySequence(Qt::CTRL | Qt::Key_D),
         &FrmMain::showDesignBasis},
        {"copyCalcAct", "Copy Calculation", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         &FrmMain::copyCalculation},
        {"printCalcAct", "Print Calculation...", QKeySequence(Qt::CTRL | Qt::Key_P),
         &FrmMain::printCalculation},
        {"pdfCalcAct", "Save Calculation as PDF...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &FrmMain::saveCalculationAsPdf},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(QString::fromLatin1(row.text), this);
        action->setObjectName(QString::fromLatin1(row.name));
        action->setShortcut(row.shortcut);
        action->setShortcutContext(Qt::WindowShortcut); // from any control of the window
        connect(action, &QAction::triggered, this, row.run);
        addAction(action);
    }
    // Right-click outside a text box lists them; text boxes keep their own menu.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    c_.governedByLbl->installEventFilter(this);
}

QStringList FrmMain::designAidLines()
{
    if (!status_.current() || !lastCompleted_)
        return {};
    if (!designAids_) {
        const joist::JoistDesign& inputs = *lastCompleted_;
        const std::vector<float> breadths = listValues(Input::breadth);
        const std::vector<float> depths = listValues(Input::depth);
        designAids_ = QStringList{
            "Longest span that passes: " +
                qstring(joist::longestSpanText(joist::findLongestSpan(inputs), decimalSeparator_)),
            "Lightest listed section that passes: " +
                qstring(joist::lightestSectionText(
                    joist::findLightestSection(inputs, breadths, depths), decimalSeparator_)),
        };
    }
    return *designAids_;
}

// The aids are worked out only when the verdict's tooltip is asked for.
bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c_.governedByLbl && event->type() == QEvent::ToolTip && status_.current() &&
        !designAids_) {
        designAidLines();
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
        basisWindow_->showResults(status_.current() ? lastCompleted_ : std::nullopt);
    }
    basisWindow_->show();
    basisWindow_->raise();
    basisWindow_->activateWindow();
}

void FrmMain::refreshSpanTable()
{
    if (status_.current() && lastCompleted_) {
        spanWindow_->showTable(spanTableTexts(*lastCompleted_, c_.scLbl->text(),
                                              listValues(Input::breadth), listValues(Input::depth),
                                              listValues(Input::spacing), decimalSeparator_));
    } else {
        spanWindow_->markOutOfDate(qstring(status_.message()));
    }
}

CalculationSheet FrmMain::calculationSheet()
{
    // No stale sheet may leave the program.
    if (!status_.current() || !lastCompleted_)
        throw SheetRefused(status_.message().empty() ? "No check has completed."
                                                     : status_.message());
    CalculationSheet sheet;
    sheet.programName = windowTitle();
    sheet.programVersion = QStringLiteral(JOIST_VERSION);
    sheet.created = QDateTime::currentDateTime();
    sheet.decimalSeparator = decimalSeparator_;
    auto input = [this](Input which) {
        const InputRow& row = inputRow(which);
        return SheetInput{qtext(row.caption), qstring(text(which)), qtext(row.unit)};
    };
    sheet.span = input(Input::span);
    sheet.spacing = input(Input::spacing);
    sheet.bearingLength = input(Input::bearingLength);
    sheet.camber = input(Input::camber);
    sheet.width = input(Input::breadth);
    sheet.depth = input(Input::depth);
    sheet.deadLoad = input(Input::deadLoad);
    sheet.liveLoad = input(Input::liveLoad);
    sheet.factors = {input(Input::kmod),  input(Input::kcrit),  input(Input::kls),
                     input(Input::kh),    input(Input::gammaM), input(Input::kmodGk),
                     input(Input::kmodQk)};
    sheet.className = c_.scLbl->text();
    sheet.strengthClass = {QStringLiteral("Strength Class"), sheet.className, {}};

    // The main window reads only the properties it uses: the twelve come from
    // the class's row read again, which must still hold what was checked.
    std::array<QString, strengthClassProperties.size()> values;
    materials::StrengthClassConnection row(decimalSeparator_);
    for (std::size_t i = 0; i < values.size(); ++i)
        row.bind(std::string(strengthClassProperties[i].field),
                 [&values, i](const std::string& value) { values[i] = qstring(value); });
    try {
        materials::positionOnSelectedClass(row, materials::databasePath(programDirectory_),
                                           c_.cmbSC->selectedIndex());
    } catch (const materials::DatabaseError& error) {
        throw SheetRefused(error.what());
    }
    if (const std::optional<materials::DatabaseError> change = row.changesSince(dStrengthClass_))
        throw SheetRefused(change->what());
    for (std::size_t i = 0; i < values.size(); ++i)
        sheet.properties[i] = {qtext(strengthClassProperties[i].symbol), values[i],
                               qtext(strengthClassProperties[i].unit)};

    sheet.design = *lastCompleted_;
    for (std::size_t i = 0; i < joist::checkDefinitions.size(); ++i) {
        const joist::CheckDefinition& check = joist::checkDefinitions[i];
        sheet.ratioTexts[i] =
            joist::isVibrationCheck(check.check)
                ? qstring(joist::generalText(sheet.design.*check.ratio, decimalSeparator_))
                : resultLabel(c_, check.label)->text();
    }
    sheet.unityRatioText = c_.unityRatioLbl->text();
    sheet.verdictText = c_.governedByLbl->text();
    sheet.designAids = designAidLines();
    sheet.spanTable =
        spanTableTexts(*lastCompleted_, sheet.className, listValues(Input::breadth),
                       listValues(Input::depth), listValues(Input::spacing), decimalSeparator_);
    sheet.sketch = c_.pic->image();
    return sheet;
}

// Builds the sheet and hands it on; a refusal or a failed write is shown in
// a message box, as plain text, and nothing is written.
template <class Output> void FrmMain::withSheet(const QString& title, Output output)
{
    try {
        output(calculationSheet());
    } catch (const std::exception& error) {
        auto* box = new QMessageBox(QMessageBox::Warning, title, qstring(errorMessage(error)),
                                    QMessageBox::Ok, this);
        box->setTextFormat(Qt::PlainText);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
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
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printSheet(sheet, printer);
    });
}

void FrmMain::printCalculationOn(QPrinter& printer)
{
    withSheet(QStringLiteral("Print Calculation"),
              [&printer](const CalculationSheet& sheet) { printSheet(sheet, printer); });
}

void FrmMain::saveCalculationAsPdf()
{
    withSheet(QStringLiteral("Save Calculation as PDF"), [this](const CalculationSheet& sheet) {
        QFileDialog dialog(this, QStringLiteral("Save Calculation as PDF"),
                           proposedSheetPath(sheet), QStringLiteral("PDF files (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            writeSheetPdf(sheet, dialog.selectedFiles().constFirst());
    });
}

void FrmMain::saveCalculationTo(const QString& path)
{
    withSheet(QStringLiteral("Save Calculation as PDF"),
              [&path](const CalculationSheet& sheet) { writeSheetPdf(sheet, path); });
}

} // namespace ui
