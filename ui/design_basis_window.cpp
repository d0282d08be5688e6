#include "ui/design_basis_window.h"

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
#include "engine/design_check.h"
#include "engine/number_text.h"
#include "report/check_working.h"
#include "report/design_basis_texts.h"

namespace ui {
namespace {

using joist::DesignBasis;

const QString invalidBoxStyle = QStringLiteral("QLineEdit { border: 2px solid #c00000; }");

} // namespace

// One text field of the basis: a value that must be a positive number, or an
// optional cap that may also be left empty; what it is comes from the basis's
// own table.
struct FrmDesignBasis::Field
{
    QLineEdit* Fields::*box;
    const char* name;
    const joist::BasisField& basis;
    FieldGroup group;
};

namespace {

// The window's text fields, in message order.
using FieldGroup = FrmDesignBasis::FieldGroup;

const FrmDesignBasis::Field fieldRows[] = {
    {&FrmDesignBasis::Fields::u2DivTxt, "u2DivTxt", joist::basisField("u2Div"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::u2FinDivTxt, "u2FinDivTxt", joist::basisField("u2FinDiv"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::uNetFinDivTxt, "uNetFinDivTxt", joist::basisField("uNetFinDiv"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::u2CapTxt, "u2CapTxt", joist::basisField("u2Cap"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::u2FinCapTxt, "u2FinCapTxt", joist::basisField("u2FinCap"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::uNetFinCapTxt, "uNetFinCapTxt", joist::basisField("uNetFinCap"),
     FieldGroup::deflectionLimits},
    {&FrmDesignBasis::Fields::floorWidthTxt, "floorWidthTxt", joist::basisField("floorWidth"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::deckThicknessTxt, "deckThicknessTxt",
     joist::basisField("deckThickness"), FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::deckModulusTxt, "deckModulusTxt", joist::basisField("deckModulus"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::dampingTxt, "dampingTxt", joist::basisField("damping"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::kampTxt, "kampTxt", joist::basisField("kamp"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::vibrationATxt, "vibrationATxt", joist::basisField("a"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::vibrationBTxt, "vibrationBTxt", joist::basisField("b"),
     FieldGroup::floorVibration},
    {&FrmDesignBasis::Fields::partitionsTxt, "partitionsTxt", joist::basisField("partitions"),
     FieldGroup::imposedLoad},
    {&FrmDesignBasis::Fields::pointLoadTxt, "pointLoadTxt", joist::basisField("pointLoadQk"),
     FieldGroup::pointLoad},
    {&FrmDesignBasis::Fields::pointShareTxt, "pointShareTxt", joist::basisField("pointShare"),
     FieldGroup::pointLoad},
    {&FrmDesignBasis::Fields::kcrTxt, "kcrTxt", joist::basisField("kcr"),
     FieldGroup::shearAndBearing},
    {&FrmDesignBasis::Fields::endDistanceTxt, "endDistanceTxt", joist::basisField("endDistance"),
     FieldGroup::shearAndBearing},
};

// The choices' captions, in their enums' order.
constexpr const char* vibrationRulesCaptions[] = {"UK National Annex", "EN 1995-1-1 recommended"};
constexpr const char* rulesCaptions[] = {"As first published", "EN 1995-1-1 with A1:2008"};
constexpr const char* tableCaptions[] = {"EN 338:2003 (ZU5ZO.mdb)", "EN 338:2016 (EN338-2016.mdb)",
                                         "EN 14080:2013, glulam (EN14080.mdb)"};
constexpr const char* sizesCaptions[] = {"As listed", "EN 336 and UK regularised"};
constexpr const char* serviceClassCaptions[] = {"As entered (factors in the main window)",
                                                "1 (heated interior)", "2 (covered, unheated)",
                                                "3 (exposed)"};
constexpr const char* categoryCaptions[] = {"A: domestic and residential", "B: offices",
                                            "C: congregation areas", "D: shopping areas"};
static_assert(std::size(rulesCaptions) == joist::rulesTexts.size() &&
              std::size(vibrationRulesCaptions) == joist::vibrationRulesTexts.size() &&
              std::size(tableCaptions) == joist::tableTexts.size() &&
              std::size(serviceClassCaptions) == joist::serviceClassTexts.size() &&
              std::size(categoryCaptions) == joist::categoryTexts.size() &&
              std::size(sizesCaptions) == joist::sizesTexts.size());

QString captionOf(std::string_view key)
{
    const std::string_view caption = joist::basisField(key).caption;
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
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
    problems_.resize(std::size(fieldRows));
    for (const Field& row : fieldRows) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(row.name));
        box->setAccessibleName(captionOf(row.basis.key));
        fields_.*row.box = box;
        connect(box, &QLineEdit::textChanged, this, [this, &row] { onEdited(row); });
    }
    auto unit = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };

    auto* limits = new QGroupBox(QStringLiteral("Deflection limits"), this);
    auto* limitGrid = new QGridLayout(limits);
    const struct
    {
        const char* caption;
        QLineEdit* Fields::*divisor;
        QLineEdit* Fields::*cap;
    } limitRows[] = {
        {"u 2", &Fields::u2DivTxt, &Fields::u2CapTxt},
        {"u 2,fin", &Fields::u2FinDivTxt, &Fields::u2FinCapTxt},
        {"u net,fin", &Fields::uNetFinDivTxt, &Fields::uNetFinCapTxt},
    };
    int row = 0;
    for (const auto& limit : limitRows) {
        limitGrid->addWidget(new QLabel(QString::fromUtf8(limit.caption), limits), row, 0);
        limitGrid->addWidget(unit("span /"), row, 1);
        limitGrid->addWidget(fields_.*limit.divisor, row, 2);
        limitGrid->addWidget(unit("and at most"), row, 3);
        limitGrid->addWidget(fields_.*limit.cap, row, 4);
        limitGrid->addWidget(unit("mm"), row, 5);
        (fields_.*limit.cap)->setPlaceholderText(QStringLiteral("no cap"));
        ++row;
    }

    // The rules are the list's to name.
    auto* vibration = new QGroupBox(QStringLiteral("Floor vibration (EN 1995-1-1 7.3.3)"), this);
    auto* form = new QFormLayout(vibration);
    vibrationChk_ = new QCheckBox(captionOf("vibration"), vibration);
    vibrationChk_->setObjectName(QStringLiteral("vibrationChk"));
    struttingChk_ = new QCheckBox(captionOf("strutting"), vibration);
    struttingChk_->setObjectName(QStringLiteral("struttingChk"));
    form->addRow(vibrationChk_);
    vibrationRulesCmb_ = new QComboBox(vibration);
    vibrationRulesCmb_->setObjectName(QStringLiteral("vibrationRulesCmb"));
    vibrationRulesCmb_->setAccessibleName(captionOf("vibrationRules"));
    for (const char* caption : vibrationRulesCaptions)
        vibrationRulesCmb_->addItem(QString::fromUtf8(caption));
    connect(vibrationRulesCmb_, &QComboBox::currentIndexChanged, this,
            &FrmDesignBasis::onChoicePicked);
    auto withUnit = [&](QLineEdit* box, std::string_view unitText) {
        auto* line = new QHBoxLayout;
        line->addWidget(box);
        line->addWidget(unit(std::string(unitText).c_str()));
        return line;
    };
    for (const Field& field : fieldRows) {
        // a and b below the list that puts them in force.
        if (fields_.*field.box == fields_.vibrationATxt)
            form->addRow(captionOf("vibrationRules"), vibrationRulesCmb_);
        if (field.group == FieldGroup::floorVibration)
            form->addRow(captionOf(field.basis.key),
                         withUnit(fields_.*field.box, field.basis.unit));
        if (fields_.*field.box == fields_.deckModulusTxt)
            form->addRow(struttingChk_);
    }
    connect(vibrationChk_, &QCheckBox::toggled, this, &FrmDesignBasis::onFlagToggled);
    connect(struttingChk_, &QCheckBox::toggled, this, &FrmDesignBasis::onFlagToggled);

    // The imposed floor load: a partition allowance, typed or one of the bands.
    auto* loadBox = new QGroupBox(QStringLiteral("Service class and imposed load"), this);
    auto* loadForm = new QFormLayout(loadBox);
    partitionBandCmb_ = new QComboBox(loadBox);
    partitionBandCmb_->setObjectName(QStringLiteral("partitionBandCmb"));
    partitionBandCmb_->setAccessibleName(QStringLiteral("Partition allowance of EN 1991-1-1"));
    partitionBandCmb_->addItem(QStringLiteral("As typed"));
    for (const joist::PartitionBand& band : joist::partitionBands)
        partitionBandCmb_->addItem(
            QStringLiteral("Walls up to %1 kN/m: %2 kN/m\u00B2%3")
                .arg(locale_.toString(band.wallWeight, 'f', 1),
                     locale_.toString(band.allowance, 'f', 1),
                     band.verified ? QString() : QStringLiteral(" (value unverified)")));
    for (const Field& field : fieldRows) {
        if (field.group == FieldGroup::imposedLoad) {
            auto* line = withUnit(fields_.*field.box, field.basis.unit);
            line->addWidget(partitionBandCmb_);
            loadForm->addRow(captionOf(field.basis.key), line);
        }
    }
    connect(partitionBandCmb_, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            fields_.partitionsTxt->setText(QString::fromStdString(joist::generalText(
                joist::partitionBands[std::size_t(index - 1)].allowance, separator_)));
    });
    connect(fields_.partitionsTxt, &QLineEdit::textChanged, this,
            &FrmDesignBasis::showPartitionBand);

    // The concentrated imposed load, checked on its own.
    auto* pointBox = new QGroupBox(
        QStringLiteral("Concentrated imposed load (EN 1991-1-1 6.2.1(4), Table 6.2)"), this);
    auto* pointForm = new QFormLayout(pointBox);
    pointLoadChk_ = new QCheckBox(captionOf("pointLoad"), pointBox);
    pointLoadChk_->setObjectName(QStringLiteral("pointLoadChk"));
    pointForm->addRow(pointLoadChk_);
    for (const Field& field : fieldRows) {
        if (field.group == FieldGroup::pointLoad)
            pointForm->addRow(captionOf(field.basis.key),
                              withUnit(fields_.*field.box, field.basis.unit));
    }
    // Lines of their own: a wrapped label is cut short in a form.
    auto* pointNote =
        new QLabel(QStringLiteral("Alone, without the distributed imposed load; with the permanent "
                                  "load, factored 1.35 G + 1.5 Q.\nAt mid-span for bending, at a "
                                  "support for shear and bearing.\nThe share one joist carries "
                                  "is your assumption: 1 puts all of Qk on one joist."),
                   pointBox);
    pointForm->addRow(pointNote);
    connect(pointLoadChk_, &QCheckBox::toggled, this, &FrmDesignBasis::onFlagToggled);

    auto* rules = new QGroupBox(QStringLiteral("Sections, shear, bearing and material"), this);
    auto* rulesForm = new QFormLayout(rules);
    const auto choiceList = [&](const char* name, const auto& captions) {
        auto* list = new QComboBox(rules);
        list->setObjectName(QLatin1String(name));
        for (const char* caption : captions)
            list->addItem(QString::fromUtf8(caption));
        connect(list, &QComboBox::currentIndexChanged, this, &FrmDesignBasis::onChoicePicked);
        return list;
    };
    rulesCmb_ = choiceList("rulesCmb", rulesCaptions);
    rulesCmb_->setAccessibleName(QStringLiteral("Rules"));
    tableCmb_ = choiceList("tableCmb", tableCaptions);
    tableCmb_->setAccessibleName(QStringLiteral("Strength-class table"));
    rulesForm->addRow(QStringLiteral("Rules"), rulesCmb_);
    for (const Field& field : fieldRows) {
        if (field.group == FieldGroup::shearAndBearing)
            rulesForm->addRow(captionOf(field.basis.key),
                              withUnit(fields_.*field.box, field.basis.unit));
    }
    rulesForm->addRow(QStringLiteral("Strength-class table"), tableCmb_);
    sizesCmb_ = choiceList("sizesCmb", sizesCaptions);
    sizesCmb_->setAccessibleName(captionOf("sizes"));
    rulesForm->addRow(captionOf("sizes"), sizesCmb_);
    // They choose kmod, kdef and psi2 kdef in the main window's lists.
    serviceClassCmb_ = choiceList("serviceClassCmb", serviceClassCaptions);
    serviceClassCmb_->setAccessibleName(captionOf("serviceClass"));
    categoryCmb_ = choiceList("categoryCmb", categoryCaptions);
    categoryCmb_->setAccessibleName(captionOf("category"));
    loadForm->addRow(captionOf("serviceClass"), serviceClassCmb_);
    loadForm->addRow(captionOf("category"), categoryCmb_);

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
    showResults(std::nullopt);

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

    // Two columns, so that the window fits a laptop's screen: the loads and
    // rules beside the floor vibration.
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QGroupBox* box : {limits, loadBox, pointBox, rules})
        left->addWidget(box);
    for (QGroupBox* box : {vibration, results})
        right->addWidget(box);
    left->addStretch();
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    layout->addLayout(columns);
    layout->addWidget(messageLbl_);
    layout->addStretch();
    layout->addWidget(buttons);
    showDefaultState();

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

// Puts the basis in force into the fields, raising no change.
void FrmDesignBasis::fill()
{
    filling_ = true;
    for (const Field& field : fieldRows) {
        QLineEdit* box = fields_.*field.box;
        std::string text;
        if (field.basis.number)
            text = joist::generalText(basis_.*field.basis.number, separator_);
        else if (const std::optional<float>& cap = basis_.*field.basis.cap)
            text = joist::generalText(*cap, separator_);
        box->setText(QString::fromUtf8(text));
        box->setStyleSheet(QString());
        box->setToolTip(QString());
    }
    vibrationChk_->setChecked(basis_.vibration);
    struttingChk_->setChecked(basis_.strutting);
    pointLoadChk_->setChecked(basis_.pointLoad);
    problems_.assign(problems_.size(), {});
    vibrationRulesCmb_->setCurrentIndex(int(basis_.vibrationRules));
    rulesCmb_->setCurrentIndex(int(basis_.rules));
    tableCmb_->setCurrentIndex(int(basis_.table));
    sizesCmb_->setCurrentIndex(int(basis_.sizes));
    serviceClassCmb_->setCurrentIndex(int(basis_.serviceClass));
    categoryCmb_->setCurrentIndex(int(basis_.category));
    filling_ = false;
    enableVibrationLimits();
    showMessages();
}

// a and b are typed only where they are in force.
void FrmDesignBasis::enableVibrationLimits()
{
    const bool typed = vibrationChk_->isChecked() &&
                       vibrationRulesCmb_->currentIndex() == int(joist::VibrationRules::en);
    fields_.vibrationATxt->setEnabled(typed);
    fields_.vibrationBTxt->setEnabled(typed);
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

void FrmDesignBasis::onEdited(const Field& field)
{
    if (filling_)
        return;
    QLineEdit* box = fields_.*field.box;
    const std::string text = box->text().toStdString();
    const joist::NumberReading reading = joist::readNumber(text, separator_);
    const bool emptyCap = field.basis.cap && reading.problem == joist::NumberProblem::empty;
    const std::optional<joist::LimitRange> range =
        field.basis.cap ? joist::capRange : joist::rangeOf(field.basis.number);
    const bool zeroAllowed = field.basis.number && joist::allowsZero(field.basis.number);
    const bool accepted =
        emptyCap ||
        (reading.value && (*reading.value > 0 || (zeroAllowed && *reading.value == 0)) &&
         (!range || range->holds(*reading.value)));
    std::string& problem = problems_[std::size_t(&field - fieldRows)];
    if (!accepted) {
        const std::string inForce =
            field.basis.number ? joist::generalText(basis_.*field.basis.number, separator_)
            : (basis_.*field.basis.cap)
                ? joist::generalText(*(basis_.*field.basis.cap), separator_) + " mm"
                : std::string("no cap");
        problem = std::string(field.basis.caption) +
                  (reading.problem == joist::NumberProblem::empty
                       ? std::string(" is empty")
                       : ": \"" + text + "\" is not " +
                             (range ? "a number " +
                                          report::rangeText(*range, field.basis.unit, separator_)
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
    if (field.basis.number)
        changed.*field.basis.number = *reading.value == 0 ? 0.0f : *reading.value; // never -0
    else
        changed.*field.basis.cap = emptyCap ? std::nullopt : reading.value;
    accept(changed);
}

void FrmDesignBasis::onFlagToggled()
{
    enableVibrationLimits();
    if (filling_)
        return;
    DesignBasis changed = basis_;
    changed.vibration = vibrationChk_->isChecked();
    changed.strutting = struttingChk_->isChecked();
    changed.pointLoad = pointLoadChk_->isChecked();
    accept(changed);
}

void FrmDesignBasis::onChoicePicked()
{
    enableVibrationLimits();
    if (filling_)
        return;
    DesignBasis changed = basis_;
    changed.vibrationRules = static_cast<joist::VibrationRules>(vibrationRulesCmb_->currentIndex());
    // The rule set's damping ratio follows it; one the engineer typed stays.
    const float oldDefault = joist::defaultDamping(basis_.vibrationRules);
    const float newDefault = joist::defaultDamping(changed.vibrationRules);
    if (oldDefault != newDefault &&
        joist::parseNumber(fields_.dampingTxt->text().toStdString(), separator_) == oldDefault) {
        filling_ = true;
        fields_.dampingTxt->setText(QString::fromUtf8(joist::generalText(newDefault, separator_)));
        filling_ = false;
        changed.damping = newDefault;
    }
    changed.rules = static_cast<joist::Rules>(rulesCmb_->currentIndex());
    changed.table = static_cast<joist::TableChoice>(tableCmb_->currentIndex());
    changed.sizes = static_cast<joist::Sizes>(sizesCmb_->currentIndex());
    changed.serviceClass = static_cast<joist::ServiceClass>(serviceClassCmb_->currentIndex());
    changed.category = static_cast<joist::Category>(categoryCmb_->currentIndex());
    accept(changed);
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

void FrmDesignBasis::showResults(const std::optional<joist::JoistDesign>& checked)
{
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
