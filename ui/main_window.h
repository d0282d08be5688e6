#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QLocale>

#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "materials/strength_class_connection.h"
#include "ui/form.h"
#include "ui/result_status.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class DropDownList;
class FrmDBData;
class PictureBox;

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
    bool resultsCurrent() const { return status_.current(); }
    // How many design checks have run to completion or to a fault.
    int checksRun() const { return checksRun_; }
    FrmDBData* materialDataWindow() const { return materialWindow_.get(); }

protected:
    // Start-up; throws materials::DatabaseError when the strength-class table
    // cannot be listed.
    void load() override;
    void unload() override;

private:
    std::string text(std::string_view control) const override;
    void setResultText(joist::ResultLabel label, std::string_view text) override;

    void connectEvents();
    void onValueEdited(joist::Input input);
    void onStrengthClassPicked();
    bool readAllInputs();
    void noteInputProblem(joist::Input input, std::optional<std::string_view> refusedText);
    void recalculate();
    void showStatus();
    void showWorking();
    void showMaterialData();
    QString localized(QString designText) const;
    void selectAtStartUp(std::string_view list, std::string_view designText);
    template <class Handler> void guarded(Handler handler);

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

    PictureBox* pic_ = nullptr;
    DropDownList* cmbSC_ = nullptr;
    QLabel* scLbl_ = nullptr;
    QLabel* messageLbl_ = nullptr;
    std::array<QLabel*, 8> resultLabels_{}; // by joist::ResultLabel
    std::map<std::string, std::function<QString()>, std::less<>> inputTexts_;
    std::array<QLineEdit*, joist::inputDefinitions.size()> textBoxes_{}; // by joist::Input
};

} // namespace ui
