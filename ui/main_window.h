#pragma once

// The main window: inputs, the class's properties, sketch and illustration,
// results and verdict, and the actions of its context menu.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include <QLocale>

#include "document/design_document.h"
#include "document/sheet_details.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "materials/strength_class_connection.h"
#include "ui/main_window_layout.h"
#include "ui/result_status.h"
#include "ui/sheet/calculation_sheet.h"
#include "ui/sheet/sheet_gathering.h"
#include "ui/toolkit/form.h"

class QAction;
class QDialog;
class QMenu;
class QPrinter;
class QFileDialog;
class QKeyEvent;

namespace ui {

class FrmDBData;
class FrmDesignBasis;
class FrmSpanTable;
class FrmSheetDetails;

// The main window: every input of the joist check, the selected class's
// properties, the illustration and sketch, the six ratios, the unity ratio
// and the verdict. It owns the design record and its connection to the
// strength-class table.
class FrmMain : public Form, private joist::InputSource, private joist::ResultSink
{
public:
    // The database is looked for in `programDirectory`; numbers are read and
    // written in `locale`'s way.
    explicit FrmMain(std::filesystem::path programDirectory, QLocale locale = QLocale::system());
    ~FrmMain() override;

    const joist::JoistDesign& design() const { return design_; }
    // Typed access for tests and benchmarks that drive the window from outside.
    const MainControls& controls() const { return c_; }
    bool resultsCurrent() const { return status_.current(); }
    // How many design checks have run to completion or to a fault.
    int checksRun() const { return checksRun_; }
    FrmDBData* materialDataWindow() const { return materialWindow_.get(); }
    FrmSpanTable* spanTableWindow() const { return spanWindow_; }
    FrmDesignBasis* designBasisWindow() const { return basisWindow_; }
    FrmSheetDetails* sheetDetailsWindow() const { return detailsWindow_; }

    // The calculation sheet of the results on screen; throws SheetRefused
    // while they are out of date or the class row cannot be read again.
    CalculationSheet calculationSheet();
    // The actions' work without their dialogs. Each refuses, with the reason
    // in a message box, while the results are out of date.
    void copyCalculation();
    void printCalculationOn(QPrinter& printer);
    void saveCalculationTo(const QString& path);

    // The design-aid lines of the verdict's tooltip, computed when first
    // asked for after an input changed; none while results are out of date.
    QStringList designAidLines();

    // Design files. Each refusal or failure is shown in a message box and
    // leaves the design as it was; with unsaved changes to a design file the
    // user is asked first.
    bool openDesign(const QString& path);
    // `overwriteChanges`: write even when another program changed the file.
    bool saveDesignTo(const QString& path, bool overwriteChanges = false);
    void newDesign();
    const QString& designPath() const { return document_->path(); } // empty: no file in use

protected:
    // Start-up; throws materials::DatabaseError when the strength-class table
    // cannot be listed.
    void load() override;
    void unload() override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::string text(joist::Input input) const override;
    void setResultText(joist::ResultLabel label, std::string_view text) override;

    // Construction, step by step.
    void createControls();
    void bindMaterialLabels();
    void setFocusOrder();
    void connectEvents();
    void createActions();

    void onValueEdited(joist::Input input);
    void onStrengthClassPicked();
    void pickStrengthClass(std::string classChange);
    DropDownList* listOf(joist::Input input) const;
    std::string gammaMChange(const QString& before, joist::Material material) const;
    bool readAllInputs();
    std::string offerExtraItems(joist::Material material);
    void selectServiceFactors();
    bool khInForceShown() const;
    void releaseKhList();
    void showKhInForce();
    void noteInputProblem(joist::Input input, std::optional<std::string_view> refusedText);
    void recalculate();
    void showStatus();
    void showWorking();
    void showMaterialData();
    void showSpanTable();
    void showDesignBasis();
    void showSheetDetails();
    void showManual();
    void showShortcuts();
    void showAbout();
    void noteContextMenuUsed();
    void onBasisChanged(const joist::DesignBasis& basis);
    void followTable();
    void onDefaultsStored();
    void refreshSpanTable();
    void printCalculation();
    void saveCalculationAsPdf();
    template <class Output> void withSheet(const QString& title, Output output);
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void putStartValues();
    template <class Handler> void guarded(Handler handler);

    void applyDesign(document::DesignInputs inputs, const joist::DesignBasis& basis,
                     std::string notice);
    void applyBasis(const joist::DesignBasis& basis);
    void applySheetDetails(const document::SheetDetails& details);
    document::DesignInputs designInputs() const;
    void noteDesignChanged();
    void setDesignPath(const QString& path);
    void showCaption();
    void showRecentDesigns(const QStringList& paths);
    void saveSettings();
    void showFileMessage(const QString& title, const std::string& text);
    bool keepOrDropChanges();
    void openDesignDialog();
    bool saveDesign();
    bool saveDesignAs();
    bool overwriteChangedFile();
    bool isActionShortcut(const QKeyEvent& key) const;
    static std::optional<QString> sheetNameProblem(const QFileDialog& dialog,
                                                   const QString& chosen);
    void saveDesignAction() { saveDesign(); }
    void saveDesignAsAction() { saveDesignAs(); }

    std::filesystem::path programDirectory_;
    QLocale locale_;
    std::string decimalSeparator_;

    joist::JoistDesign design_;
    bool loading_ = false;
    materials::StrengthClassConnection dStrengthClass_;
    ResultStatus status_;
    int checksRun_ = 0;
    std::optional<joist::JoistDesign> lastCompleted_;
    std::unique_ptr<FrmDBData> materialWindow_;
    FrmSpanTable* spanWindow_ = nullptr; // a window of its own, deleted with this one
    std::unique_ptr<document::SettingsFile> settings_;
    // The design as a file; its sheet details are those in force, as design_
    // holds the basis.
    std::unique_ptr<document::DesignDocument> document_;
    FrmDesignBasis* basisWindow_ = nullptr;    // likewise
    FrmSheetDetails* detailsWindow_ = nullptr; // likewise
    QDialog* manualWindow_ = nullptr;          // likewise
    QDialog* shortcutsWindow_ = nullptr;       // likewise
    QDialog* aboutWindow_ = nullptr;           // likewise
    std::optional<QStringList> designAids_;
    bool workingShown_ = false; // the tooltips hold the working of what is on screen
    QString fixedCaption_;
    QMenu* recentMenu_ = nullptr;
    QAction* recentAction_ = nullptr;

    MainControls c_;
};

} // namespace ui
