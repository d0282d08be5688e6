#include "ui/design_basis_window.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/design_basis_settings.h"
#include "engine/basis_value.h"
#include "engine/design_check.h"
#include "engine/number_text.h"
#include "report/check_working.h"
#include "report/design_basis_texts.h"

namespace ui {
namespace {

using joist::BasisField;
using joist::BasisGroup;
using joist::DesignBasis;
constexpr const auto& fields = joist::basisFields;

const QString invalidBoxStyle = QStringLiteral("QLineEdit { border: 2px solid #c00000; }");

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The window's boxes in its order, the left column first; the floor
// vibration's results stand below its box.
struct GroupBox
{
    BasisGroup group;
    const char* title;
    int column;
};
constexpr GroupBox groupBoxes[] = {
    {BasisGroup::deflectionLimits, QT_TRANSLATE_NOOP("ui::FrmDesignBasis", "Deflection limits"), 0},
    {BasisGroup::imposedLoad,
     QT_TRANSLATE_NOOP("ui::FrmDesignBasis", "Service class and imposed load"), 0},
    {BasisGroup::pointLoad,
     QT_TRANSLATE_NOOP("ui::FrmDesignBasis",
                       "Concentrated imposed load (EN 1991-1-1 6.2.1(4), Table 6.2)"),
     0},
    {BasisGroup::rules,
     QT_TRANSLATE_NOOP("ui::FrmDesignBasis", "Sections, shear, bearing and material"), 0},
    {BasisGroup::vibration,
     QT_TRANSLATE_NOOP("ui::FrmDesignBasis", "Floor vibration (EN 1995-1-1 7.3.3)"), 1},
};

// A number or cap is typed; a flag is ticked and a choice picked.
bool isTyped(const BasisField& field)
{
    return field.number || field.cap;
}

QString objectNameOf(const BasisField& field)
{
    if (!field.control.empty())
        return fromView(field.control);
    return fromView(field.key) + (isTyped(field) ? "Txt" : field.flag ? "Chk" : "Cmb");
}

// The deflection check a limit's caption names: "u 2" of "u 2 limit, at most".
std::string_view limitName(std::string_view caption)
{
    return caption.substr(0, caption.find(" limit"));
}

// A typed field's value as the window shows it; empty for no cap.
std::string shownText(const BasisField& field, const DesignBasis& basis, std::string_view separator)
{
    if (field.number)
        return joist::generalText(basis.*field.number, separator);
    const std::optional<float>& cap = basis.*field.cap;
    return cap ? joist::generalText(*cap, separator) : std::string();
}

} // namespace

FrmDesignBasis::FrmDesignBasis(const joist::DesignBasis& basis, QLocale locale,
                               document::SettingsFile& settings, BasisChanged changed,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), basis_(basis), locale_(std::move(locale)),
      separator_(locale_.decimalPoint().toStdString()), settings_(settings),
      changed_(std::move(changed))
{
    setObjectName(QStringLiteral("frmDesignBasis"));
    setWindowTitle(QStringLiteral("Design Basis"));
    build();
    fill();
}

FrmDesignBasis::~FrmDesignBasis() = default;

void FrmDesignBasis::build()
{
    controls_.assign(std::size(fields), nullptr);
    problems_.assign(std::size(fields), {});
    // Two columns, so that the window fits a laptop's screen: the loads and
    // rules beside the floor vibration.
    const std::array<QVBoxLayout*, 2> columns{new QVBoxLayout, new QVBoxLayout};
    for (const GroupBox& group : groupBoxes)
        columns[std::size_t(group.column)]->addWidget(groupBox(group.group, tr(group.title)));
    columns[1]->addWidget(resultsBox());

    messageLbl_ = new QLabel(this);
    messageLbl_->setObjectName(QStringLiteral("messageLbl"));
    messageLbl_->setWordWrap(true);
    messageLbl_->setTextFormat(Qt::PlainText); // carries what the user typed
    QPalette messagePalette = messageLbl_->palette();
    messagePalette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    messageLbl_->setPalette(messagePalette);
    messageLbl_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    // Two kinds of default, named apart: the program's own values, put in
    // force for this design, and the user's, kept for new designs.
    restoreDefaultsBtn_ = buttons->addButton(QStringLiteral("Reset to Program Defaults"),
                                             QDialogButtonBox::ResetRole);
    restoreDefaultsBtn_->setObjectName(QStringLiteral("restoreDefaultsBtn"));
    restoreDefaultsBtn_->setToolTip(
        QStringLiteral("Puts the program's own design basis in force for this design; your "
                       "defaults for new designs stay as they are."));
    connect(restoreDefaultsBtn_, &QPushButton::clicked, this, &FrmDesignBasis::restoreDefaults);
    useAsDefaultBtn_ = buttons->addButton(QStringLiteral("Use as Default for New Designs"),
                                          QDialogButtonBox::ActionRole);
    useAsDefaultBtn_->setObjectName(QStringLiteral("useAsDefaultBtn"));
    useAsDefaultBtn_->setToolTip(
        QStringLiteral("New designs, and the program when it starts, take the design basis in "
                       "force here."));
    connect(useAsDefaultBtn_, &QPushButton::clicked, this, &FrmDesignBasis::useAsDefault);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    auto* columnsLine = new QHBoxLayout;
    for (QVBoxLayout* column : columns) {
        column->addStretch();
        columnsLine->addLayout(column);
    }
    layout->addLayout(columnsLine);
    layout->addWidget(messageLbl_);
    layout->addStretch();
    layout->addWidget(buttons);
    showDefaultState();

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

// A box of the window: its fields in the table's order, each a control of its
// kind with its caption and unit.
QGroupBox* FrmDesignBasis::groupBox(BasisGroup group, const QString& title)
{
    auto* box = new QGroupBox(title, this);
    std::vector<std::size_t> inBox;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        if (fields[i].group == group)
            inBox.push_back(i);
    auto* layout = new QVBoxLayout(box);
    if (group == BasisGroup::deflectionLimits)
        layOutLimits(box, layout, inBox);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (const std::size_t i : inBox) {
        QWidget* control = makeControl(i, box);
        if (fields[i].flag) {
            form->addRow(control);
            continue;
        }
        if (fields[i].choice) {
            form->addRow(fromView(fields[i].caption), control);
            continue;
        }
        auto* line = new QHBoxLayout;
        line->addWidget(control);
        line->addWidget(new QLabel(fromView(fields[i].unit), box));
        // The allowances of EN 1991-1-1 beside the typed one.
        if (&fields[i] == &joist::basisField("partitions"))
            line->addWidget(partitionBandList(static_cast<QLineEdit*>(control), box));
        form->addRow(fromView(fields[i].caption), line);
    }
    // Lines of their own: a wrapped label is cut short in a form.
    if (group == BasisGroup::pointLoad)
        form->addRow(new QLabel(
            tr("Alone, without the distributed imposed load; with the permanent load, factored "
               "1.35 G + 1.5 Q.\nAt mid-span for bending, at a support for shear and bearing.\nThe "
               "share one joist carries is your assumption: 1 puts all of Qk on one joist."),
            box));
    return box;
}

// Each deflection check's divisor and cap side by side, paired by the check
// their captions name; the box's other fields are left to its form.
void FrmDesignBasis::layOutLimits(QGroupBox* box, QBoxLayout* layout,
                                  std::vector<std::size_t>& inBox)
{
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    std::vector<std::size_t> unpaired = inBox;
    int row = 0;
    for (const std::size_t divisor : inBox) {
        const std::string_view name = limitName(fields[divisor].caption);
        const auto cap = std::ranges::find_if(inBox, [&](std::size_t i) {
            return fields[i].cap && limitName(fields[i].caption) == name;
        });
        if (!fields[divisor].number || cap == inBox.end())
            continue;
        std::erase(unpaired, divisor);
        std::erase(unpaired, *cap);
        grid->addWidget(new QLabel(fromView(name), box), row, 0);
        grid->addWidget(new QLabel(tr("span /"), box), row, 1);
        grid->addWidget(makeControl(divisor, box), row, 2);
        grid->addWidget(new QLabel(tr("and at most"), box), row, 3);
        grid->addWidget(makeControl(*cap, box), row, 4);
        grid->addWidget(new QLabel(fromView(fields[*cap].unit), box), row, 5);
        ++row;
    }
    inBox = unpaired;
}

// A field's control by its kind: a line edit (a cap left empty for none), a
// check box, or a list of the choice's captions.
QWidget* FrmDesignBasis::makeControl(std::size_t index, QWidget* box)
{
    const BasisField& field = fields[index];
    QWidget* control = nullptr;
    if (field.flag) {
        auto* check = new QCheckBox(fromView(field.caption), box);
        connect(check, &QCheckBox::toggled, this, &FrmDesignBasis::onFlagOrChoice);
        control = check;
    } else if (field.choice) {
        auto* list = new QComboBox(box);
        for (const std::string_view caption : field.choice->captions)
            list->addItem(fromView(caption));
        connect(list, &QComboBox::currentIndexChanged, this, &FrmDesignBasis::onFlagOrChoice);
        control = list;
    } else {
        auto* edit = new QLineEdit(box);
        if (field.cap)
            edit->setPlaceholderText(tr("no cap"));
        connect(edit, &QLineEdit::textChanged, this, [this, index] { onEdited(index); });
        control = edit;
    }
    if (!field.flag)
        control->setAccessibleName(fromView(field.caption));
    control->setObjectName(objectNameOf(field));
    controls_[index] = control;
    return control;
}

// The imposed floor load's partition allowance, typed or one of the bands.
QComboBox* FrmDesignBasis::partitionBandList(QLineEdit* partitions, QWidget* box)
{
    partitionBandCmb_ = new QComboBox(box);
    partitionBandCmb_->setObjectName(QStringLiteral("partitionBandCmb"));
    partitionBandCmb_->setAccessibleName(QStringLiteral("Partition allowance of EN 1991-1-1"));
    partitionBandCmb_->addItem(QStringLiteral("As typed"));
    for (const joist::PartitionBand& band : joist::partitionBands)
        partitionBandCmb_->addItem(
            QStringLiteral("Walls up to %1 kN/m: %2 kN/m\u00B2%3")
                .arg(locale_.toString(band.wallWeight, 'f', 1),
                     locale_.toString(band.allowance, 'f', 1),
                     band.verified ? QString() : QStringLiteral(" (value unverified)")));
    connect(partitionBandCmb_, &QComboBox::activated, this, [this, partitions](int index) {
        if (index > 0)
            partitions->setText(QString::fromStdString(joist::generalText(
                joist::partitionBands[std::size_t(index - 1)].allowance, separator_)));
    });
    connect(partitions, &QLineEdit::textChanged, this, &FrmDesignBasis::showPartitionBand);
    return partitionBandCmb_;
}

QGroupBox* FrmDesignBasis::resultsBox()
{
    auto unit = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    auto* results = new QGroupBox(QStringLiteral("Floor vibration results"), this);
    auto* resultGrid = new QGridLayout(results);
    const struct
    {
        const char* name;
        const char* caption;
        const char* unit;
    } resultRows[] = {
        {"f1Lbl", "Fundamental frequency f1", "Hz"},
        {"wLbl", "Deflection under 1 kN, w", "mm"},
        {"aLbl", "Limit for w, a", "mm/kN"},
        {"bLbl", "Constant b", ""},
        {"vLbl", "Unit impulse velocity v", "m/(N s\u00B2)"},
        {"vLimitLbl", "Limit for v", "m/(N s\u00B2)"},
        {"ratioF1Lbl", "Ratio 8 Hz / f1", ""},
        {"ratioWLbl", "Ratio w / a", ""},
        {"ratioVLbl", "Ratio v / limit", ""},
    };
    for (std::size_t i = 0; i < std::size(resultRows); ++i) {
        const int r = int(i);
        resultLbls_[i] = new QLabel(results);
        resultLbls_[i]->setObjectName(QLatin1String(resultRows[i].name));
        resultLbls_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        resultGrid->addWidget(new QLabel(QString::fromUtf8(resultRows[i].caption), results), r, 0);
        resultGrid->addWidget(resultLbls_[i], r, 1);
        resultGrid->addWidget(unit(resultRows[i].unit), r, 2);
    }
    showResults(std::nullopt, tablePresumesKcr_);
    return results;
}

// Puts the basis in force into the controls, raising no change.
void FrmDesignBasis::fill()
{
    filling_ = true;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const BasisField& field = fields[i];
        if (field.flag) {
            static_cast<QCheckBox*>(controls_[i])->setChecked(basis_.*field.flag);
        } else if (field.choice) {
            static_cast<QComboBox*>(controls_[i])->setCurrentIndex(int(field.choice->get(basis_)));
        } else {
            auto* box = static_cast<QLineEdit*>(controls_[i]);
            box->setText(QString::fromUtf8(shownText(field, basis_, separator_)));
            box->setStyleSheet(QString());
            box->setToolTip(QString());
        }
    }
    problems_.assign(problems_.size(), {});
    filling_ = false;
    showInForce();
    showMessages();
}

// A field the check does not use under the basis in force is greyed.
void FrmDesignBasis::showInForce()
{
    for (std::size_t i = 0; i < std::size(fields); ++i)
        controls_[i]->setEnabled(joist::inForce(fields[i], basis_, tablePresumesKcr_));
}

// The band the typed allowance is, or "As typed".
void FrmDesignBasis::showPartitionBand(const QString& allowance)
{
    const std::optional<float> typed = joist::parseNumber(allowance.toStdString(), separator_);
    int index = 0;
    for (std::size_t i = 0; i < std::size(joist::partitionBands); ++i)
        if (typed && *typed == joist::partitionBands[i].allowance)
            index = int(i) + 1;
    partitionBandCmb_->setCurrentIndex(index);
}

void FrmDesignBasis::onEdited(std::size_t index)
{
    if (filling_)
        return;
    const BasisField& field = fields[index];
    auto* box = static_cast<QLineEdit*>(controls_[index]);
    const std::string text = box->text().toStdString();
    const joist::BasisValue value = joist::readBasisValue(field, text, separator_);
    std::string& problem = problems_[index];
    if (!value.accepted()) {
        const std::optional<joist::LimitRange> range = joist::rangeOf(field);
        const std::string shown = shownText(field, basis_, separator_);
        const std::string inForce = field.number    ? shown
                                    : shown.empty() ? std::string("no cap")
                                                    : shown + " " + std::string(field.unit);
        problem =
            std::string(field.caption) +
            (value.problem == joist::BasisValueProblem::empty
                 ? std::string(" is empty")
                 : ": \"" + text + "\" is not " +
                       (range ? "a number " + report::rangeText(*range, field.unit, separator_)
                              : std::string("a positive number"))) +
            "; " + inForce + " stays in force.";
        box->setStyleSheet(invalidBoxStyle);
        box->setToolTip(QString::fromUtf8(problem));
        showMessages();
        return;
    }
    if (!problem.empty()) {
        problem.clear();
        box->setStyleSheet(QString());
        box->setToolTip(QString());
        showMessages();
    }
    DesignBasis changed = basis_;
    joist::setBasisValue(changed, field, value);
    accept(changed);
}

// Each flag and choice as its control shows it. A number showing its default
// takes the new basis's (the damping ratio follows the rule set); one the
// engineer typed stays.
void FrmDesignBasis::onFlagOrChoice()
{
    if (filling_)
        return;
    DesignBasis changed = basis_;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (fields[i].flag)
            changed.*fields[i].flag = static_cast<QCheckBox*>(controls_[i])->isChecked();
        else if (fields[i].choice)
            fields[i].choice->set(
                changed, std::size_t(static_cast<QComboBox*>(controls_[i])->currentIndex()));
    }
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (!fields[i].number)
            continue;
        const float before = joist::defaultOf(fields[i].number, basis_);
        const float after = joist::defaultOf(fields[i].number, changed);
        auto* box = static_cast<QLineEdit*>(controls_[i]);
        if (before != after &&
            joist::parseNumber(box->text().toStdString(), separator_) == before) {
            filling_ = true;
            box->setText(QString::fromUtf8(joist::generalText(after, separator_)));
            filling_ = false;
            changed.*fields[i].number = after;
        }
    }
    accept(changed);
    showInForce();
}

void FrmDesignBasis::restoreDefaults()
{
    applyBasis(DesignBasis{});
}

void FrmDesignBasis::applyBasis(const joist::DesignBasis& basis)
{
    const DesignBasis before = basis_;
    basis_ = basis;
    fill();
    basis_ = before;
    accept(basis);
}

// Passes a changed basis on to the design; an unchanged one does nothing.
void FrmDesignBasis::accept(const joist::DesignBasis& basis)
{
    if (basis == basis_)
        return;
    basis_ = basis;
    showDefaultState();
    changed_(basis_);
}

void FrmDesignBasis::useAsDefault()
{
    document::writeDesignBasis(settings_, basis_);
    showDefaultState();
    emit defaultsStored();
}

// Offered only when it would change the defaults.
void FrmDesignBasis::showDefaultState()
{
    useAsDefaultBtn_->setEnabled(basis_ != document::readDesignBasis(settings_));
}

void FrmDesignBasis::showMessages()
{
    QStringList lines;
    for (const std::string& problem : problems_) {
        if (!problem.empty())
            lines << QString::fromUtf8(problem);
    }
    messageLbl_->setText(lines.join(QLatin1Char('\n')));
    messageLbl_->setVisible(!lines.isEmpty());
}

void FrmDesignBasis::showResults(const std::optional<joist::JoistDesign>& checked,
                                 bool tablePresumesKcr)
{
    if (tablePresumesKcr != tablePresumesKcr_) {
        tablePresumesKcr_ = tablePresumesKcr;
        showInForce();
    }
    const bool shown = checked && checked->basis.vibration;
    const float values[] = {
        shown ? checked->f1 : 0,      shown ? checked->w : 0,      shown ? checked->a : 0,
        shown ? checked->b : 0,       shown ? checked->v : 0,      shown ? checked->vLimit : 0,
        shown ? checked->ratioF1 : 0, shown ? checked->ratioW : 0, shown ? checked->ratioV : 0,
    };
    static_assert(std::size(values) == std::tuple_size_v<decltype(resultLbls_)>);
    for (std::size_t i = 0; i < resultLbls_.size(); ++i) {
        QString text = QStringLiteral("\u2013");
        if (shown)
            text = QString::fromUtf8(i < 6 ? joist::numberText(values[i], 4, separator_)
                                           : joist::generalText(values[i], separator_));
        resultLbls_[i]->setText(text);
    }
}

} // namespace ui
