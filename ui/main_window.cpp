// The main window's fixed layout and its events: start-up, each edited input,
// the class pick, the check and what the window says about it.
#include "ui/main_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "document/design_basis_settings.h"
#include "engine/design_aids.h"
#include "engine/design_inputs.h"
#include "engine/list_offers.h"
#include "engine/number_text.h"
#include "engine/service_class.h"
#include "engine/stop_reason.h"
#include "io/display_text.h"
#include "io/failure_words.h"
#include "materials/class_material.h"
#include "materials/equivalent_class.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/check_working.h"
#include "report/design_aid_lines.h"
#include "report/design_basis_texts.h"
#include "ui/design_basis_window.h"
#include "ui/error_message.h"
#include "ui/input_messages.h"
#include "ui/input_table.h"
#include "ui/main_window_layout.h"
#include "ui/material_data_window.h"
#include "ui/sketch/section_sketch.h"
#include "ui/span_table_window.h"
#include "ui/stale_style.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/layout_table.h"
#include "ui/toolkit/picture_box.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

// The class list and class label as the table's sequences see them.
class ClassListAdapter : public materials::ClassList
{
public:
    explicit ClassListAdapter(DropDownList* list) : list_(list) {}
    void clear() override { list_->clearItems(); }
    void append(const std::string& text) override { list_->appendItem(io::displayText(text)); }
    int selectedIndex() const override { return list_->selectedIndex(); }

private:
    DropDownList* list_;
};

class ClassLabelAdapter : public materials::ClassNameLabel
{
public:
    explicit ClassLabelAdapter(ValueLabel* label) : label_(label) {}
    void setText(const std::string& text) override { label_->setValue(QString::fromUtf8(text)); }

private:
    ValueLabel* label_;
};

// What a change of the basis or class changed beside it, "; " between.
std::string joinedChanges(const std::vector<std::string>& changes)
{
    std::string text;
    for (const std::string& change : changes)
        if (!change.empty())
            text += (text.empty() ? "" : "; ") + change;
    return text;
}

std::string describeSketchProblem(const SketchOutcome& outcome)
{
    if (outcome.problem == SketchOutcome::Problem::emptyWindow)
        return "the section cannot be drawn with a joist spacing of 0.";
    return "the section's dimensions are too large to draw.";
}

// Said in the message line and the verdict's tooltip, f1 as the vibration
// results write it; empty while f1 settles nothing.
std::string lowFrequencyNote(const joist::JoistDesign& checked, std::string_view separator)
{
    return report::belowEightHertz(checked)
               ? report::lowFrequencyNote(joist::numberText(checked.f1, 4, separator))
               : std::string();
}

// What another choice of the basis, or a class of another material, would add
// to a list, a line each: the list's tooltip, empty when nothing would.
QString otherOffersTip(joist::Input input, const joist::DesignBasis& basis,
                       joist::Material material, const QLocale& locale)
{
    QStringList lines;
    QStringList choices; // those of the last line, which offer the same
    const joist::ListOffer* last = nullptr;
    for (const joist::ListOffer& offer : joist::otherOffers(input, basis, material, 1)) {
        QStringList items;
        for (const std::string_view item : offer.items)
            items << localizedDesignText(item, locale);
        if (offer.material) {
            lines << QCoreApplication::translate("FrmMain", "A %1 class would also offer %2")
                         .arg(QString::fromUtf8(joist::materialText(*offer.material)),
                              items.join(QStringLiteral(", ")));
            last = nullptr;
            continue;
        }
        const joist::ChoiceSetting& setting = offer.settings.front();
        const QString choice =
            QStringLiteral("\u201C%1\u201D")
                .arg(QString::fromUtf8(setting.field->choice->captions[setting.value]));
        if (last && last->settings.front().field == setting.field && last->items == offer.items) {
            choices << choice;
            lines.removeLast();
        } else {
            choices = {choice};
        }
        lines << QCoreApplication::translate("FrmMain",
                                             "%1 %2 would also offer %3 (Design Basis..., Ctrl+D)")
                     .arg(QString::fromUtf8(setting.field->caption),
                          choices.join(QCoreApplication::translate("FrmMain", " or ")),
                          items.join(QStringLiteral(", ")));
        last = &offer;
    }
    return lines.join(QLatin1Char('\n'));
}

// Set once the user has opened the context menu: the window stops pointing to it.
const QString menuUsedKey = QStringLiteral("help/contextMenuUsed");

const QString invalidBoxStyle =
    QStringLiteral("QLineEdit { border: 2px solid %1; }").arg(errorColour.name());

} // namespace

FrmMain::FrmMain(std::filesystem::path programDirectory, QLocale locale)
    : Form(QStringLiteral("Timber Joist Design to EC5 by Brannoch"), mainClientWidth,
           mainClientHeight),
      programDirectory_(std::move(programDirectory)), locale_(std::move(locale)),
      decimalSeparator_(locale_.decimalPoint().toStdString()), dStrengthClass_(decimalSeparator_)
{
    settings_ = document::programSettings();
    document_ = std::make_unique<document::DesignDocument>(*settings_);
    status_.setSettingsProblem(settings_->problem());
    // Nothing on screen shows where the commands are until the menu is found.
    if (!settings_->value(menuUsedKey).toBool())
        status_.setHint("Right-click the window for its commands; F1 opens the manual.");
    setObjectName(QStringLiteral("frmMain"));
    fixedCaption_ = windowTitle();
    setFont(standardFont());
    createControls();
    bindMaterialLabels();
    setFocusOrder();
    connectEvents();
    createActions();
}

FrmMain::~FrmMain() = default;

void FrmMain::createControls()
{
    buildMainWindowControls(this, c_, locale_);
    setLocale(locale_); // numbers a label shortens keep the user's separator
    for (const ResultPlace& place : resultPlaces)
        (c_.*place.member)->setNumeric(place.label != joist::ResultLabel::governedBy);
    for (const InputControl& input : c_.inputs)
        if (input.label)
            input.label->setNumeric(true);
    c_.fc0kLbl->setNumeric(true);
    c_.pic->setBackgroundColor(Qt::white);
    showInErrorColour(c_.messageLbl);
    c_.messageLbl->setDisplayUse(io::DisplayUse::message);
    // Out-of-date results stay readable (italics in showStatus).
    for (const ResultPlace& place : resultPlaces) {
        ValueLabel* label = c_.*place.member;
        QPalette palette = label->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText, staleTextColor());
        label->setPalette(palette);
    }
}

// The labels that always show a field of the connection's current row.
void FrmMain::bindMaterialLabels()
{
    auto bind = [this](std::string_view field, ValueLabel* label) {
        dStrengthClass_.bind(std::string(field), [label](const std::string& text) {
            label->setValue(QString::fromUtf8(text));
        });
    };
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.field.empty())
            bind(row.field, c_.inputs[static_cast<std::size_t>(row.input)].label);
    }
    materials::readMaterialFields(dStrengthClass_);
    bind("fc,0,k", c_.fc0kLbl);
}

void FrmMain::setFocusOrder()
{
    for (std::size_t i = 1; i < c_.tabOrder.size(); ++i)
        setTabOrder(c_.tabOrder[i - 1], c_.tabOrder[i]);
}

void FrmMain::connectEvents()
{
    for (const joist::InputFacts& row : joist::inputFacts()) {
        const InputControl& control = c_.inputs[static_cast<std::size_t>(row.input)];
        const joist::Input input = row.input;
        if (control.box)
            connect(control.box, &QLineEdit::textChanged, this,
                    [this, input] { onValueEdited(input); });
        else if (control.list)
            connect(control.list, &QComboBox::currentIndexChanged, this,
                    [this, input] { onValueEdited(input); });
    }
    connect(c_.cmbSC, &QComboBox::currentIndexChanged, this, &FrmMain::onStrengthClassPicked);
    connect(c_.showDBdataBtn, &QPushButton::clicked, this, &FrmMain::showMaterialData);
}

std::string FrmMain::text(joist::Input input) const
{
    const InputControl& control = c_.inputs[static_cast<std::size_t>(input)];
    if (control.box)
        return control.box->text().toStdString();
    if (control.list)
        return control.list->selectedText().toStdString();
    return control.label->value().toStdString();
}

void FrmMain::setResultText(joist::ResultLabel label, std::string_view text)
{
    if (ValueLabel* shown = resultLabel(c_, label))
        shown->setValue(QString::fromUtf8(text));
}

// Start-up values, in table order; each raises its control's event.
void FrmMain::putStartValues()
{
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (row.startValue.empty())
            continue;
        const InputControl& control = c_.inputs[static_cast<std::size_t>(row.input)];
        if (control.list)
            control.list->selectText(localizedDesignText(row.startValue, locale_));
        else if (control.box)
            control.box->setText(localizedDesignText(row.startValue, locale_));
    }
}

void FrmMain::load()
{
    loading_ = true;
    c_.pic->setHeightPixels(c_.isoImg->height());

    ClassListAdapter classList(c_.cmbSC);
    // The design in force starts as a new one: the user's defaults.
    design_.basis = document::readDesignBasis(*settings_);
    materials::fillStrengthClassList(dStrengthClass_, classList,
                                     materials::tablePath(programDirectory_, design_.basis.table));
    document_->setDetails(document::readDefaultSheetDetails(*settings_));
    putStartValues();
    std::string notice;
    if (!c_.cmbSC->selectText(QStringLiteral("C16"))) {
        // Start on the table's first class rather than on none.
        c_.cmbSC->setCurrentIndex(0);
        notice = "The strength-class table " + dStrengthClass_.path() +
                 " has no class \"C16\"; starting on its first class, \"" +
                 io::displayText(c_.cmbSC->selectedText()).toStdString() + "\".";
    }
    // The start-up values give no gamma M of their own: the class's material's.
    listOf(joist::materialInput)
        ->selectText(localizedDesignText(
            joist::materialStartValue(materials::currentMaterial(dStrengthClass_).material),
            locale_));
    // The list picks by position, but a design file names its class alone.
    if (const auto twice =
            materials::anyClassNamedTwice(dStrengthClass_.classNames(), dStrengthClass_.path()))
        notice.append(notice.empty() ? "" : " ").append(twice->what()).append(".");
    status_.setNotice(std::move(notice));

    // A text that does not convert stops here, with no check.
    const bool read = readAllInputs();
    loading_ = false;
    if (read)
        recalculate();
    else
        showStatus();
    c_.inputs[static_cast<std::size_t>(joist::Input::span)].box->setFocus();
}

void FrmMain::unload()
{
    materials::closeDatabase(dStrengthClass_);
    // The program ends with its main window.
    if (materialWindow_)
        materialWindow_->close();
    if (spanWindow_)
        spanWindow_->close();
    if (basisWindow_)
        basisWindow_->close();
    for (QWidget* help : {manualWindow_, shortcutsWindow_, aboutWindow_}) {
        if (help)
            help->close();
    }
}

template <class Handler> void FrmMain::guarded(Handler handler)
{
    // Nothing may escape an event handler: report it instead.
    try {
        handler();
    } catch (const std::exception& error) {
        status_.setCalculationProblem(io::errorMessage(error));
        showStatus();
    }
}

void FrmMain::onValueEdited(joist::Input input)
{
    noteDesignChanged();
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

// A change in the design basis window re-runs the check, like a keystroke.
void FrmMain::onBasisChanged(const joist::DesignBasis& basis)
{
    noteDesignChanged(); // a design file holds its basis
    // A design being opened runs one check at its end.
    if (loading_) {
        const bool newTable = basis.table != design_.basis.table;
        design_.basis = basis;
        if (newTable)
            followTable();
        return;
    }
    guarded([&] {
        const bool newTable = basis.table != design_.basis.table;
        const bool newService = basis.serviceClass != design_.basis.serviceClass ||
                                basis.category != design_.basis.category;
        const bool newLists = newService || basis.sizes != design_.basis.sizes;
        design_.basis = basis;
        if (newLists) {
            status_.setNotice(offerExtraItems(design_.material));
            if (newService && !loading_)
                selectServiceFactors();
            readAllInputs();
        }
        if (newTable)
            followTable();
        recalculate();
    });
}

// The class list follows the table the basis chooses at once, on the same
// class where the new table has it, else on its equivalent, and says so.
void FrmMain::followTable()
{
    const QString name = c_.cmbSC->selectedText();
    ClassListAdapter classList(c_.cmbSC);
    materials::fillStrengthClassList(dStrengthClass_, classList,
                                     materials::tablePath(programDirectory_, design_.basis.table));
    std::vector<std::string> names;
    for (int i = 0; i < c_.cmbSC->count(); ++i)
        names.push_back(c_.cmbSC->itemText(i).toStdString());
    if (names.empty())
        return;
    const std::size_t equivalent = materials::equivalentClass(names, name.toStdString());
    {
        const QSignalBlocker quiet(c_.cmbSC);
        c_.cmbSC->setCurrentIndex(int(equivalent));
    }
    const QString now = c_.cmbSC->selectedText();
    pickStrengthClass(
        now == name || name.isEmpty() || loading_
            ? std::string()
            : io::displayText(QStringLiteral("Strength class %1 \u2192 %2 (%3)")
                                  .arg(name, now,
                                       QString::fromUtf8(
                                           materials::shippedTableOf(design_.basis.table).edition)))
                  .toStdString());
}

// The user made the basis or details in force the defaults for new designs.
void FrmMain::onDefaultsStored()
{
    saveSettings();
    showStatus();
}

// Any way the window's context menu opens (right button, menu key) counts;
// a text box's own menu does not reach the window.
bool FrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::ContextMenu)
        noteContextMenuUsed();
    return Form::event(event);
}

// Kept so that later starts need no hint: written once, when the user has
// found the menu; a start alone writes nothing.
void FrmMain::noteContextMenuUsed()
{
    if (!status_.hasHint())
        return;
    status_.setHint({});
    settings_->setValue(menuUsedKey, true);
    saveSettings();
    showStatus();
}

void FrmMain::onStrengthClassPicked()
{
    pickStrengthClass({});
}

// `classChange` says why the class is not the one the user picked, if so.
void FrmMain::pickStrengthClass(std::string classChange)
{
    if (c_.cmbSC->selectedIndex() < 0)
        return;
    noteDesignChanged();
    guarded([&] {
        ClassListAdapter classList(c_.cmbSC);
        ClassLabelAdapter classLabel(c_.scLbl);
        const QString gammaMBefore = listOf(joist::materialInput)->selectedText();
        materials::selectStrengthClass(dStrengthClass_, classList, classLabel);
        const joist::Material material = materials::currentMaterial(dStrengthClass_).material;
        std::vector<std::string> changes{std::move(classChange)};
        changes.push_back(offerExtraItems(material));
        // A class of another material brings its own gamma M.
        if (!loading_ && material != design_.material) {
            listOf(joist::materialInput)
                ->selectText(localizedDesignText(joist::materialStartValue(material), locale_));
            changes.push_back(gammaMChange(gammaMBefore, material));
        }
        if (!loading_)
            status_.setNotice(joinedChanges(changes)); // the user has chosen
        if (!readAllInputs()) {
            showStatus();
            return;
        }
        recalculate();
    });
}

DropDownList* FrmMain::listOf(joist::Input input) const
{
    return c_.inputs[static_cast<std::size_t>(input)].list;
}

// "γM 1.3 → 1.25 (glulam)", or empty when gamma M stayed.
std::string FrmMain::gammaMChange(const QString& before, joist::Material material) const
{
    const QString after = listOf(joist::materialInput)->selectedText();
    if (after == before)
        return {};
    const std::string_view named = joist::materialText(material);
    return (QStringLiteral("\u03B3M %1 \u2192 %2 (").arg(before, after) +
            (named.empty() ? QStringLiteral("a class of no named material")
                           : QString::fromUtf8(named)) +
            QLatin1Char(')'))
        .toStdString();
}

// A list offers what the class's material and the basis's section sizes and
// service class add to its items (glulam's gamma M; the extended sizes; the
// standard's kmod, kdef and psi2 kdef), and its tooltip what other choices
// would. An item no longer offered gives way
// to the nearest one offered, the smaller of two as near; what changed so is
// returned in words. A design being opened sets its own texts after.
std::string FrmMain::offerExtraItems(joist::Material material)
{
    std::vector<std::string> changes;
    for (const joist::InputFacts& facts : joist::inputFacts()) {
        DropDownList* list = listOf(facts.input);
        if (!list || !list->isEnabled())
            continue;
        // Its own items and the offered ones, in ascending order.
        std::vector<std::pair<float, QString>> items;
        const QStringList own = QString::fromUtf8(facts.designText).split(QLatin1Char('|'));
        for (const QString& item : own)
            items.emplace_back(item.toFloat(), localizedDesignText(item.toStdString(), locale_));
        list->setToolTip(otherOffersTip(facts.input, design_.basis, material, locale_));
        const std::vector<std::string_view> extra =
            joist::extraListItems(facts.input, design_.basis, material);
        for (const std::string_view item : extra)
            items.emplace_back(*joist::parseNumber(item, "."), localizedDesignText(item, locale_));
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList wanted;
        for (const auto& [value, text] : items)
            wanted << text;
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
        if (shown == wanted)
            continue;
        const QSignalBlocker quiet(list);
        const QString chosen = list->selectedText();
        list->setItems(wanted);
        if (list->selectText(chosen))
            continue;
        const std::optional<float> was =
            joist::parseNumber(chosen.toStdString(), decimalSeparator_);
        if (!was) {
            list->selectText(localizedDesignText(facts.startValue, locale_));
            continue;
        }
        // Ascending, so the first of two as near is the smaller.
        const auto nearest =
            std::min_element(items.begin(), items.end(), [&](const auto& a, const auto& b) {
                return std::abs(double(a.first) - *was) < std::abs(double(b.first) - *was);
            });
        list->selectText(nearest->second);
        if (!loading_ && facts.input != joist::materialInput)
            changes.push_back(
                (QString::fromUtf8(facts.caption) +
                 QStringLiteral(" %1 \u2192 %2").arg(chosen, nearest->second) +
                 (facts.unit.empty() ? QString()
                                     : QLatin1Char(' ') + QString::fromUtf8(facts.unit)))
                    .toStdString());
    }
    return joinedChanges(changes);
}

// A service class or category chosen puts its factors in the lists at once.
void FrmMain::selectServiceFactors()
{
    const std::optional<joist::ServiceFactors> factors = joist::serviceFactors(design_.basis);
    if (!factors)
        return;
    const std::pair<joist::Input, std::string_view> picks[] = {
        {joist::Input::kmod, factors->kmod},
        {joist::Input::kmodGk, factors->kdef},
        {joist::Input::kmodQk, factors->psi2Kdef},
    };
    for (const auto& [input, text] : picks) {
        DropDownList* list = c_.inputs[static_cast<std::size_t>(input)].list;
        const QSignalBlocker quiet(list);
        list->selectText(localizedDesignText(text, locale_));
    }
}

bool FrmMain::readAllInputs()
{
    const joist::ReadResult read = joist::readInputs(design_, *this, decimalSeparator_);
    const materials::ClassMaterial material = materials::currentMaterial(dStrengthClass_);
    design_.material = material.material;
    design_.rhoK = material.rhoK;
    design_.tablePresumesKcr = material.tablePresumesKcr;
    const std::size_t stoppedAt =
        read.ok() ? joist::inputDefinitions.size() : static_cast<std::size_t>(*read.failedInput);
    // Everything before the stop converted.
    for (std::size_t i = 0; i < stoppedAt; ++i)
        noteInputProblem(joist::inputDefinitions[i].input, std::nullopt);
    if (read.ok()) {
        status_.clearMaterialProblem();
        return true;
    }
    const std::string_view field = joist::factsOf(*read.failedInput).field;
    if (!field.empty()) {
        status_.setMaterialProblem(materials::nonNumericFieldError(dStrengthClass_, field).what());
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
    QLineEdit* box = c_.inputs[static_cast<std::size_t>(input)].box;
    if (box && wasMarked != refusedText.has_value())
        box->setStyleSheet(refusedText ? invalidBoxStyle : QString());
}

void FrmMain::recalculate()
{
    designAids_.reset(); // an input changed
    const SketchOutcome sketch = drawSection(design_, *c_.pic);
    if (!sketch.ok()) {
        status_.setCalculationProblem(describeSketchProblem(sketch));
        showStatus();
        return;
    }
    releaseKhList();
    const joist::CheckOutcome outcome =
        joist::runDesignCheck(design_, loading_, *this, decimalSeparator_);
    if (outcome.completed())
        showKhInForce();
    if (outcome.status != joist::CheckOutcome::Status::skipped) {
        ++checksRun_;
        if (outcome.stopped())
            status_.setCalculationProblem(
                joist::describeStop(joist::stopReason(outcome, design_), joist::inputCaption) +
                ".");
        else
            status_.clearCalculationProblem();
        if (outcome.completed()) {
            lastCompleted_ = design_;
            const std::optional<std::string_view> problem = joist::loadProblem(design_);
            status_.setLoadProblem(problem ? report::loadProblemMessage(*problem) : std::string());
            status_.setResultNote(lowFrequencyNote(design_, decimalSeparator_));
            // The check writes the results in force; those a flag of the
            // basis puts in force are emptied while it is off.
            for (const joist::CheckDefinition& check : joist::checkDefinitions) {
                if (!joist::inForce(check, design_))
                    setResultText(check.label, std::string());
            }
        }
    }
    showStatus();
}

// Under the amended rules a class of known material has kh by its depth
// (3.2(3), 3.3(3)): the kh list shows the value in force and cannot be
// picked meanwhile. Otherwise it is the user's list again, and its own value
// is read back before the check.
bool FrmMain::khInForceShown() const
{
    return design_.basis.rules == joist::Rules::amended &&
           design_.material != joist::Material::unknown;
}

void FrmMain::releaseKhList()
{
    DropDownList* kh = c_.inputs[static_cast<std::size_t>(joist::Input::kh)].list;
    if (kh->isEnabled() || khInForceShown())
        return;
    {
        const QSignalBlocker quiet(kh);
        while (kh->count() > 1)
            kh->removeItem(kh->count() - 1);
        kh->selectText(localizedDesignText(joist::factsOf(joist::Input::kh).startValue, locale_));
        kh->setEnabled(true);
        kh->setToolTip({});
    }
    joist::storeInput(design_, *this, joist::Input::kh, decimalSeparator_);
}

void FrmMain::showKhInForce()
{
    if (!khInForceShown())
        return;
    DropDownList* kh = c_.inputs[static_cast<std::size_t>(joist::Input::kh)].list;
    const QSignalBlocker quiet(kh);
    const QString inForce =
        QString::fromStdString(joist::numberText(design_.khInForce, 4, decimalSeparator_));
    if (kh->count() == 1)
        kh->appendItem(inForce);
    else
        kh->setItemText(1, inForce);
    kh->setCurrentIndex(1);
    kh->setEnabled(false);
    kh->setToolTip(QStringLiteral("kh in force for this depth and material (EN 1995-1-1 %1)")
                       .arg(design_.material == joist::Material::glulam
                                ? QStringLiteral("3.3(3)")
                                : QStringLiteral("3.2(3)")));
}

void FrmMain::showStatus()
{
    for (const FlaggedBlock& block : flaggedBlocks) {
        const bool shown = design_.basis.*block.flag;
        const std::array<QLabel*, 4>& captions = c_.*block.captions;
        if (captions[0]->isHidden() != shown)
            continue;
        for (QLabel* caption : captions)
            caption->setVisible(shown);
        for (const joist::CheckDefinition& check : joist::checkDefinitions) {
            if (ValueLabel* label = resultLabel(c_, check.label);
                label && joist::flagOfKind(check.kind) == block.flag)
                label->setVisible(shown);
        }
    }
    const bool current = status_.current();
    for (const ResultPlace& place : resultPlaces) {
        ValueLabel* label = c_.*place.member;
        if (label->isEnabled() == current)
            continue;
        label->setEnabled(current);
        QFont font = label->font();
        font.setItalic(!current);
        label->setFont(font);
    }
    // The hint is no error: in the window's own text colour.
    const QColor messageColour =
        status_.showsHint() ? palette().color(QPalette::WindowText) : errorColour;
    if (c_.messageLbl->palette().color(QPalette::WindowText) != messageColour) {
        QPalette palette = c_.messageLbl->palette();
        palette.setColor(QPalette::WindowText, messageColour);
        c_.messageLbl->setPalette(palette);
    }
    c_.messageLbl->setValue(QString::fromUtf8(status_.message()));
    workingShown_ = false;
    if (spanWindow_ && spanWindow_->isVisible())
        refreshSpanTable();
    if (basisWindow_)
        basisWindow_->showResults(current ? lastCompleted_ : std::nullopt,
                                  design_.tablePresumesKcr);
}

// The tooltips show the working of the last completed check, and say so
// when the results on screen are out of date.
void FrmMain::showWorking()
{
    workingShown_ = true;
    std::string preface;
    if (!status_.current()) {
        preface = io::displayText(status_.message(), io::DisplayUse::message).toStdString() + "\n";
        preface += lastCompleted_ ? "From the last completed check, not the inputs on screen:\n"
                                  : "No check has completed.";
    }
    auto show = [&](joist::ResultLabel label, const std::string& working) {
        if (ValueLabel* shown = resultLabel(c_, label))
            shown->setDetail(QString::fromUtf8(preface + (lastCompleted_ ? working : "")));
    };
    const std::string_view separator = decimalSeparator_;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        const bool inForce = lastCompleted_ && joist::inForce(check, *lastCompleted_);
        show(check.label,
             inForce ? report::checkWorking(check.check, *lastCompleted_, separator) : "");
    }
    show(joist::ResultLabel::unityRatio,
         lastCompleted_ ? report::governingCheckText(*lastCompleted_, separator) : "");
    std::string verdict;
    if (lastCompleted_) {
        const std::string basis =
            report::basisLine(lastCompleted_->basis, lastCompleted_->tablePresumesKcr, separator);
        if (!basis.empty())
            verdict = basis + '\n';
        verdict += report::verdictWorking(*lastCompleted_, separator);
        if (lastCompleted_->basis.vibration)
            verdict += '\n' + report::vibrationBlock(*lastCompleted_, separator);
        if (const std::string note = lowFrequencyNote(*lastCompleted_, separator); !note.empty())
            verdict += '\n' + note;
    }
    if (lastCompleted_ && !lastCompleted_->basis.vibration) {
        verdict += '\n';
        verdict += report::vibrationNotCheckedLine;
    }
    if (status_.current() && designAids_) {
        verdict += '\n';
        verdict += designAids_->join(QLatin1Char('\n')).toStdString();
    }
    show(joist::ResultLabel::governedBy, verdict);
}

void FrmMain::showMaterialData()
{
    if (!materialWindow_) {
        materialWindow_ = std::make_unique<FrmDBData>(
            programDirectory_, locale_, [this] { return c_.cmbSC->selectedIndex(); },
            dStrengthClass_);
    }
    try {
        materialWindow_->showModeless();
    } catch (const std::exception& error) {
        // Not while typing: only after a press of the button.
        plainMessageBox(QMessageBox::Warning, QStringLiteral("Material Properties"),
                        QString::fromUtf8(io::errorMessage(error)), this);
    }
}

} // namespace ui
