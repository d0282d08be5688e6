#include "ui/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "engine/stop_reason.h"
#include "materials/strength_class_sequences.h"
#include "ui/check_working.h"
#include "ui/drop_down_list.h"
#include "ui/fonts.h"
#include "ui/input_messages.h"
#include "ui/layout_table.h"
#include "ui/main_window_layout.h"
#include "ui/material_data_window.h"
#include "ui/picture_box.h"
#include "ui/section_sketch.h"
#include "ui/value_label.h"

namespace ui {
namespace {

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The class list and class label as the table's sequences see them.
class ClassListAdapter : public materials::ClassList
{
public:
    explicit ClassListAdapter(DropDownList* list) : list_(list) {}
    void clear() override { list_->clearItems(); }
    void append(const std::string& text) override
    {
        list_->appendItem(QString::fromStdString(text));
    }
    int selectedIndex() const override { return list_->selectedIndex(); }

private:
    DropDownList* list_;
};

class ClassLabelAdapter : public materials::ClassNameLabel
{
public:
    explicit ClassLabelAdapter(QLabel* label) : label_(label) {}
    void setText(const std::string& text) override
    {
        showValue(label_, QString::fromStdString(text));
    }

private:
    QLabel* label_;
};

// Labels bound to the connection: field name and label.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> boundLabels{{
    {"fm,k", "fmkLbl"},
    {"fc,0,k", "fc0kLbl"},
    {"fc,90,k", "fc90kLbl"},
    {"fv,k", "fvkLbl"},
    {"E0,mean", "EmeanLbl"},
    {"rmean", "RmeanLbl"},
}};

// The field behind each material input.
std::string_view materialField(joist::Input input)
{
    switch (input) {
    case joist::Input::fmk:
        return "fm,k";
    case joist::Input::fc90k:
        return "fc,90,k";
    case joist::Input::fvk:
        return "fv,k";
    case joist::Input::e0mean:
        return "E0,mean";
    case joist::Input::rhoMean:
        return "rmean";
    default:
        return {};
    }
}

std::string describeSketchProblem(const SketchOutcome& outcome)
{
    if (outcome.problem == SketchOutcome::Problem::emptyWindow)
        return "Results out of date. No check: the section cannot be drawn with a joist spacing "
               "of 0.";
    return "Results out of date. No check: the section's dimensions are too large to draw.";
}

const QString invalidBoxStyle = QStringLiteral("QLineEdit { border: 2px solid #c00000; }");

} // namespace

FrmMain::FrmMain(std::filesystem::path programDirectory, QLocale locale)
    : Form(QStringLiteral("Timber Joist Design to EC5 by Brannoch"), mainClientWidth,
           mainClientHeight),
      programDirectory_(std::move(programDirectory)), locale_(std::move(locale)),
      decimalSeparator_(locale_.decimalPoint().toStdString()), dStrengthClass_(decimalSeparator_)
{
    setObjectName(QStringLiteral("frmMain"));
    setFont(standardFont());
    buildControls(this, mainWindowLayout());

    // The design texts and fixed items are written with a full stop; show
    // them the user's way, so that they convert the user's way too.
    for (const Placement& p : mainWindowLayout()) {
        if (p.kind == ControlKind::textBox) {
            control<QLineEdit>(this, p.name)->setText(localized(qtext(p.text)));
        } else if (p.kind == ControlKind::dropDownList && !p.text.empty()) {
            QStringList items;
            for (const QString& item : qtext(p.text).split(QLatin1Char('|')))
                items << localized(item);
            control<DropDownList>(this, p.name)->setItems(items);
        }
    }

    pic_ = control<PictureBox>(this, "Pic");
    pic_->setBackgroundColor(Qt::white);
    cmbSC_ = control<DropDownList>(this, "cmbSC");
    scLbl_ = control<QLabel>(this, "SCLbl");
    messageLbl_ = control<QLabel>(this, "messageLbl");
    QPalette messagePalette = messageLbl_->palette();
    messagePalette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    messageLbl_->setPalette(messagePalette);
    for (std::size_t i = 0; i < resultLabels_.size(); ++i)
        resultLabels_[i] =
            control<QLabel>(this, joist::resultLabelName(static_cast<joist::ResultLabel>(i)));

    for (const joist::InputDefinition& input : joist::inputDefinitions) {
        const QString name = qtext(input.control);
        std::function<QString()> read;
        if (auto* box = findChild<QLineEdit*>(name)) {
            textBoxes_[static_cast<std::size_t>(input.input)] = box;
            read = [box] { return box->text(); };
        } else if (auto* list = findChild<DropDownList*>(name)) {
            read = [list] { return list->selectedText(); };
        } else {
            read = [label = control<QLabel>(this, input.control)] { return label->text(); };
        }
        inputTexts_.emplace(std::string(input.control), std::move(read));
    }

    for (const auto& [field, labelName] : boundLabels) {
        QLabel* label = control<QLabel>(this, labelName);
        dStrengthClass_.bind(std::string(field), [label](const std::string& text) {
            showValue(label, QString::fromStdString(text));
        });
    }

    for (const auto& [name, accessibleName] : mainWindowAccessibleNames())
        control<QWidget>(this, name)->setAccessibleName(qtext(accessibleName));

    const auto order = mainWindowFocusOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(control<QWidget>(this, order[i - 1]), control<QWidget>(this, order[i]));

    connectEvents();
}

FrmMain::~FrmMain() = default;

void FrmMain::connectEvents()
{
    for (const joist::InputDefinition& input : joist::inputDefinitions) {
        const QString name = qtext(input.control);
        if (auto* box = findChild<QLineEdit*>(name)) {
            connect(box, &QLineEdit::textChanged, this,
                    [this, which = input.input] { onValueEdited(which); });
        } else if (auto* list = findChild<DropDownList*>(name)) {
            connect(list, &QComboBox::currentIndexChanged, this,
                    [this, which = input.input] { onValueEdited(which); });
        }
    }
    connect(cmbSC_, &QComboBox::currentIndexChanged, this, &FrmMain::onStrengthClassPicked);
    connect(control<QPushButton>(this, "showDBdataBtn"), &QPushButton::clicked, this,
            &FrmMain::showMaterialData);
}

QString FrmMain::localized(QString designText) const
{
    return designText.replace(QLatin1Char('.'), locale_.decimalPoint());
}

std::string FrmMain::text(std::string_view control) const
{
    const auto it = inputTexts_.find(control);
    return it == inputTexts_.end() ? std::string() : it->second().toStdString();
}

void FrmMain::setResultText(joist::ResultLabel label, std::string_view text)
{
    showValue(resultLabels_[static_cast<std::size_t>(label)], qtext(text));
}

void FrmMain::selectAtStartUp(std::string_view list, std::string_view designText)
{
    control<DropDownList>(this, list)->selectText(localized(qtext(designText)));
}

void FrmMain::load()
{
    loading_ = true;
    pic_->setHeightPixels(control<QLabel>(this, "IsoImg")->height());

    ClassListAdapter classList(cmbSC_);
    materials::fillStrengthClassList(dStrengthClass_, classList,
                                     materials::databasePath(programDirectory_));

    selectAtStartUp("cmbSpacing", "300");
    selectAtStartUp("cmbBreadth", "44");
    selectAtStartUp("cmbDepth", "225");
    selectAtStartUp("cmbKmod", "0.8");
    selectAtStartUp("cmbKcrit", "1");
    selectAtStartUp("cmbKls", "1");
    selectAtStartUp("cmbKh", "1");
    selectAtStartUp("cmbGm", "1.3");
    selectAtStartUp("cmbKmodGk", "0.8");
    selectAtStartUp("cmbKmodQk", "0.25");
    control<QLineEdit>(this, "bearLTxt")->setText(localized(QStringLiteral("50")));
    control<QLineEdit>(this, "u0Txt")->setText(localized(QStringLiteral("0")));
    if (!cmbSC_->selectText(QStringLiteral("C16"))) {
        // Start on the table's first class rather than on none.
        cmbSC_->setCurrentIndex(0);
        status_.setNotice("The strength-class table " + dStrengthClass_.path() +
                          " has no class \"C16\"; starting on its first class, \"" +
                          cmbSC_->selectedText().toStdString() + "\".");
    }

    readAllInputs();
    loading_ = false;
    recalculate();
    control<QLineEdit>(this, "spanTxt")->setFocus();
}

void FrmMain::unload()
{
    materials::closeDatabase(dStrengthClass_);
    // The program ends with its main window.
    if (materialWindow_)
        materialWindow_->close();
}

template <class Handler> void FrmMain::guarded(Handler handler)
{
    // Nothing may escape an event handler: report it instead.
    try {
        handler();
    } catch (const std::exception& error) {
        status_.setCalculationProblem(std::string("Results out of date: ") + error.what());
        showStatus();
    }
}

void FrmMain::onValueEdited(joist::Input input)
{
    guarded([&] {
        const joist::ReadResult read = joist::storeInput(design_, *this, input, decimalSeparator_);
        if (!read.ok()) {
            noteInputProblem(input, read.failedText);
            showStatus();
            return;
        }
        noteInputProblem(input, std::nullopt);
        recalculate();
    });
}

void FrmMain::onStrengthClassPicked()
{
    if (cmbSC_->selectedIndex() < 0)
        return;
    guarded([&] {
        ClassListAdapter classList(cmbSC_);
        ClassLabelAdapter classLabel(scLbl_);
        materials::selectStrengthClass(dStrengthClass_, classList, classLabel);
        if (!loading_)
            status_.setNotice({}); // the user has chosen
        if (!readAllInputs()) {
            showStatus();
            return;
        }
        recalculate();
    });
}

bool FrmMain::readAllInputs()
{
    const joist::ReadResult read = joist::readInputs(design_, *this, decimalSeparator_);
    const std::size_t stoppedAt =
        read.ok() ? joist::inputDefinitions.size() : static_cast<std::size_t>(*read.failedInput);
    // Everything before the stop converted.
    for (std::size_t i = 0; i < stoppedAt; ++i)
        noteInputProblem(joist::inputDefinitions[i].input, std::nullopt);
    if (read.ok()) {
        status_.clearMaterialProblem();
        return true;
    }
    const std::string_view field = materialField(*read.failedInput);
    if (!field.empty()) {
        status_.setMaterialProblem(std::string("Results out of date: ") +
                                   materials::nonNumericFieldError(dStrengthClass_, field).what());
    } else {
        status_.clearMaterialProblem();
        noteInputProblem(*read.failedInput, read.failedText);
    }
    return false;
}

// Marks an input whose text was refused, or clears its mark.
void FrmMain::noteInputProblem(joist::Input input, std::optional<std::string_view> refusedText)
{
    const bool wasMarked = status_.hasInputProblem(input);
    if (refusedText)
        status_.setInputProblem(input, inputProblemMessage(input, *refusedText, decimalSeparator_));
    else
        status_.clearInputProblem(input);
    QLineEdit* box = textBoxes_[static_cast<std::size_t>(input)];
    if (box && wasMarked != refusedText.has_value())
        box->setStyleSheet(refusedText ? invalidBoxStyle : QString());
}

void FrmMain::recalculate()
{
    const SketchOutcome sketch = drawSection(design_, *pic_);
    if (!sketch.ok()) {
        status_.setCalculationProblem(describeSketchProblem(sketch));
        showStatus();
        return;
    }
    const joist::CheckOutcome outcome =
        joist::runDesignCheck(design_, loading_, *this, decimalSeparator_);
    if (outcome.status != joist::CheckOutcome::Status::skipped) {
        ++checksRun_;
        if (outcome.stopped())
            status_.setCalculationProblem("Results out of date. " +
                                          joist::describeStoppedCheck(outcome, design_) + ".");
        else
            status_.clearCalculationProblem();
        if (outcome.completed())
            lastCompleted_ = design_;
    }
    showStatus();
}

void FrmMain::showStatus()
{
    const bool current = status_.current();
    for (QLabel* label : resultLabels_)
        label->setEnabled(current);
    messageLbl_->setText(QString::fromStdString(status_.message()));
    showWorking();
}

// The tooltips show the working of the last completed check, and say so
// when the results on screen are out of date.
void FrmMain::showWorking()
{
    std::string preface;
    if (!status_.current()) {
        preface = status_.message() + "\n";
        preface += lastCompleted_ ? "From the last completed check, not the inputs on screen:\n"
                                  : "No check has completed.";
    }
    auto show = [&](joist::ResultLabel label, const std::string& working) {
        const QString tip = QString::fromStdString(preface + (lastCompleted_ ? working : ""));
        QLabel* target = resultLabels_[static_cast<std::size_t>(label)];
        if (target->toolTip() != tip)
            target->setToolTip(tip);
    };
    const std::string_view separator = decimalSeparator_;
    for (const joist::CheckDefinition& check : joist::checkDefinitions)
        show(check.label,
             lastCompleted_ ? checkWorking(check.check, *lastCompleted_, separator) : "");
    show(joist::ResultLabel::unityRatio,
         lastCompleted_ ? governingCheckText(*lastCompleted_, separator) : "");
    show(joist::ResultLabel::governedBy,
         lastCompleted_ ? verdictWorking(*lastCompleted_, separator) : "");
}

void FrmMain::showMaterialData()
{
    if (!materialWindow_) {
        materialWindow_ = std::make_unique<FrmDBData>(programDirectory_, locale_,
                                                      [this] { return cmbSC_->selectedIndex(); });
    }
    try {
        materialWindow_->showModeless();
    } catch (const std::exception& error) {
        // Not while typing: only after a press of the button.
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Material Properties"),
                                    QString::fromStdString(error.what()), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
}

} // namespace ui
