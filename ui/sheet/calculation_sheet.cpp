#include "ui/sheet/calculation_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include "engine/design_check.h"
#include "engine/number_text.h"
#include "engine/rules_text.h"
#include "engine/service_class.h"
#include "io/display_text.h"
#include "report/check_working.h"
#include "report/design_aid_lines.h"
#include "report/design_basis_texts.h"
#include "ui/sheet/sheet_sketch.h"

namespace ui {
namespace {

using joist::Check;
using joist::Input;

// One block of the sheet: a heading over rows of cells. The plain text and
// the HTML are both written from these, so they cannot disagree.
struct Table
{
    QString heading;
    QStringList columns; // none for label and value lists
    std::vector<QStringList> rows;
    QString note = {}; // a line of its own under the heading
    // How many leading cells of each row are the program's own text, where
    // "w_inst" marks a subscript and "b^(f1 ζ − 1)" or "L^1.1" a power: set
    // as such on the formatted sheet, kept as written in plain text. Text
    // from outside the program is never read as marks.
    int markedCells = 0;
    int strongRow = -1; // the governing check
    int highlightedRow = -1;
    int highlightedColumn = -1; // counted from the first cell after the row's label
    // The span table's marks, as the rows' cells after the label: raised and
    // smaller beside the figure, in parentheses in plain text.
    std::vector<QStringList> marks = {};
    QString mark(std::size_t row, int cell) const
    {
        return cell > 0 && row < marks.size() ? marks[row].value(cell - 1) : QString();
    }
};

// "kN/m2" as the sheet writes units: powers raised, "kN/m²".
QString sheetUnit(QString unit)
{
    static const QRegularExpression power(QStringLiteral("(?<=[a-z])([234])(?![0-9])"));
    static const QString raised[] = {QStringLiteral("\u00B2"), QStringLiteral("\u00B3"),
                                     QStringLiteral("\u2074")};
    QRegularExpressionMatch match;
    while ((match = power.match(unit)).hasMatch())
        unit.replace(match.capturedStart(), 1, raised[match.captured(1).toInt() - 2]);
    return unit;
}

// How the sheet names a check and works its demand where the window's
// caption and symbols differ: EN 1995-1-1's symbols, the main window's
// caption beside them. "%1" stands for the factor 1.5. Null: as defined.
struct SheetCheckText
{
    Check check;
    const char* caption;
    const char* demand;
    const char* capacity;
};

constexpr SheetCheckText sheetCheckTexts[] = {
    {Check::u2, "w_inst (u 2)", "w_inst,Q = 5 qk L\u2074 / (384 E0,mean I)", nullptr},
    {Check::u2Fin, "w_fin (u 2,fin)", "w_fin,Q = (1 + \u03C82\u00B7kdef) w_inst,Q", nullptr},
    {Check::uNetFin, "w_net,fin (u net,fin)", "w_net,fin = w_fin,G + w_fin,Q \u2212 w_c", nullptr},
    {Check::bending, nullptr, "\u03C3m,d = M / W", nullptr},
    {Check::shear, nullptr, "\u03C4d = %1 V / A", nullptr},
    {Check::bearing, nullptr, "\u03C3c,90,d = V / (bearing length \u00D7 b)", nullptr},
    {Check::pointBending, nullptr, "\u03C3m,d = M P / W", nullptr},
    {Check::pointShear, nullptr, "\u03C4d = %1 V P / A", nullptr},
    {Check::pointBearing, nullptr, "\u03C3c,90,d = V P / (bearing length \u00D7 b)", nullptr},
    // Its ratio is what is required over what the floor provides.
    {Check::f1, nullptr, "required f1,min", "provided f1"},
    {Check::v, nullptr, nullptr, "v limit"},
};

// A check without a row here is named and worked as its definition says.
SheetCheckText sheetCheckText(Check check)
{
    for (const SheetCheckText& text : sheetCheckTexts) {
        if (text.check == check)
            return text;
    }
    return {check, nullptr, nullptr, nullptr};
}

class SheetTables
{
public:
    explicit SheetTables(const CalculationSheet& sheet) : sheet_(sheet) {}

    QString title() const { return QStringLiteral("Timber floor joist to EN 1995-1-1"); }

    // Label and value of each line of the job header; an empty value is
    // left to be filled in by hand.
    std::vector<QStringList> titleLines() const
    {
        std::vector<QStringList> lines;
        for (const document::SheetDetailField& field : document::sheetDetailFields)
            lines.push_back(
                {QLatin1String(field.caption),
                 io::displayText(sheet_.details.*field.member, io::DisplayUse::message)});
        lines.push_back(
            {QStringLiteral("Date"), sheet_.created.toString(QStringLiteral("yyyy-MM-dd HH:mm"))});
        lines.push_back({QStringLiteral("Program"),
                         sheet_.programName + QLatin1Char(' ') + sheet_.programVersion});
        return lines;
    }

    QString footer() const
    {
        return QStringLiteral("Strength-class table: %1%2, SHA-256 %3")
            .arg(sheet_.tableFile.isEmpty() ? QStringLiteral("not named") : sheet_.tableFile,
                 sheet_.tableEdition.isEmpty() ? QString()
                                               : QStringLiteral(" (%1)").arg(sheet_.tableEdition),
                 sheet_.tableFingerprint.isEmpty() ? QStringLiteral("not read")
                                                   : sheet_.tableFingerprint);
    }

    // Why kcr stands in shear, or what taking it with EN 338:2003 means.
    QString kcrNote() const
    {
        const std::string byTable = joist::kcrByTableNote(sheet_.design, sheet_.decimalSeparator);
        const std::string_view note =
            byTable.empty() ? joist::kcrConservativeNote(sheet_.design) : byTable;
        return note.empty() ? QString() : QStringLiteral("; ") + QString::fromUtf8(note);
    }

    // The method in one statement: the edition and the rules taken from
    // elsewhere, then every value of the design basis in force.
    Table basis() const
    {
        const joist::DesignBasis& b = sheet_.design.basis;
        const std::string_view sep = sheet_.decimalSeparator;
        Table table{QStringLiteral("Basis"), {}, {}};
        table.markedCells = 1;
        table.rows = {
            {QStringLiteral("%1, clauses 6.1.5, 6.1.6, 6.1.7, 7.2%2:")
                 .arg(QString::fromUtf8(joist::rulesStatement(sheet_.design)),
                      b.vibration ? QStringLiteral(", 2.2.3 and 7.3.3")
                                  : QStringLiteral(" and 2.2.3"))},
            {QStringLiteral("design load %1 (g0 + gk) + %2 qk (EN 1990 expression 6.10)")
                 .arg(number(1.35), number(1.5))},
            {joist::kcrInForce(sheet_.design)
                 ? QStringLiteral("shear %1 V / (kcr b h)%2").arg(number(1.5), kcrNote())
                 : QStringLiteral("shear %1 V / A").arg(number(1.5))},
            {b.rules == joist::Rules::amended
                 ? QStringLiteral("bearing V / (b l ef) \u2264 kc,90 fc,90,d: l ef = %1 mm, "
                                  "kc,90 = %2 (%3)")
                       .arg(number(sheet_.design.bearingLengthEff), number(sheet_.design.kc90),
                            QString::fromUtf8(joist::kc90Reason(sheet_.design, sep)))
                 : QStringLiteral("bearing V / (bearing length \u00D7 b)")},
            {QStringLiteral("final deflections with kdef and \u03C82\u00B7kdef as entered")},
            {!b.vibration ? QStringLiteral("no National Annex is applied")
             : b.vibrationRules == joist::VibrationRules::ukNa
                 ? QStringLiteral("floor vibration to 7.3.3 with the rules of the UK "
                                  "National Annex (NA to BS EN 1995-1-1) for kdist, kamp, "
                                  "a and b; the UK National Annex is used for 7.3.3 only")
                 : QStringLiteral("floor vibration to 7.3.3 with a and b chosen in the design "
                                  "basis (Figure 7.2); 7.3.3 does not say how w under 1 kN is "
                                  "found, so it is found with the UK National Annex's kdist and "
                                  "kamp; no National Annex is applied otherwise")},
            {QStringLiteral("material values %1").arg(sheet_.dataSource)}};
        for (const std::string& statement :
             report::basisStatements(b, sheet_.design.tablePresumesKcr, sep))
            table.rows.push_back({QString::fromUtf8(statement)});
        return table;
    }

    // The service class and category when the three factors are theirs;
    // otherwise the factors stand as entered.
    QString serviceClassLine() const
    {
        const joist::JoistDesign& d = sheet_.design;
        const std::optional<joist::ServiceFactors> factors = joist::serviceFactors(d.basis);
        const auto is = [](std::string_view text, float value) {
            return joist::parseNumber(text, ".") == value;
        };
        if (factors && is(factors->kmod, d.kmod) && is(factors->kdef, d.kmodGk) &&
            is(factors->psi2Kdef, d.kmodQk))
            return QStringLiteral("service class %1, imposed-load category %2: kmod = %3 for the "
                                  "medium-term imposed load, kdef = %4, \u03C82\u00B7kdef = %5")
                .arg(QString::fromUtf8(joist::serviceClassChoice.text(d.basis)),
                     QString::fromUtf8(joist::categoryChoice.text(d.basis)), number(d.kmod),
                     number(d.kmodGk), number(d.kmodQk));
        if (factors)
            return QStringLiteral("service class %1 chosen, but kmod, kdef and \u03C82\u00B7kdef "
                                  "as entered (kmod = %2)")
                .arg(QString::fromUtf8(joist::serviceClassChoice.text(d.basis)),
                     io::displayText(sheet_.input(Input::kmod).text));
        return QStringLiteral("service class and load duration as implied by kmod = %1")
            .arg(io::displayText(sheet_.input(Input::kmod).text));
    }

    Table assumptions() const
    {
        Table table{QStringLiteral("What is assumed and what is not checked"), {}, {}};
        const joist::DesignBasis& basis = sheet_.design.basis;
        for (const QString& line :
             {QStringLiteral("Simply supported single span under uniformly distributed load"),
              serviceClassLine(),
              QStringLiteral("lateral-torsional stability only through kcrit as entered")})
            table.rows.push_back({line});
        for (const std::string& line : report::checkedByChoiceLines(basis))
            table.rows.push_back({QString::fromUtf8(line)});
        table.rows.push_back({QString::fromUtf8(report::notCheckedLine(basis))});
        return table;
    }

    // Each design strength with its formula and the values put in, as typed.
    Table strengths() const
    {
        const joist::JoistDesign& d = sheet_.design;
        auto typed = [&](Input input) { return io::displayText(sheet_.input(input).text); };
        const QString kmod = typed(Input::kmod);
        const QString gammaM = typed(Input::gammaM);
        const QString kls = typed(Input::kls);
        Table table{QStringLiteral("Design strengths"), {}, {}};
        auto row = [&](const char* formula, const QStringList& values, float result) {
            table.rows.push_back({QStringLiteral("%1 = %2 = %3")
                                      .arg(QString::fromUtf8(formula),
                                           values.join(QStringLiteral(" \u00D7 ")), number(result)),
                                  QStringLiteral("N/mm\u00B2")});
        };
        row("fm,d = kmod \u00B7 kcrit \u00B7 ksys \u00B7 kh \u00B7 fm,k / \u03B3M",
            {kmod, typed(Input::kcrit), kls,
             d.basis.rules == joist::Rules::amended ? number(d.khInForce) : typed(Input::kh),
             property("fm,k") + QStringLiteral(" / ") + gammaM},
            d.fmd);
        row("fv,d = kmod \u00B7 ksys \u00B7 fv,k / \u03B3M",
            {kmod, kls, property("fv,k") + QStringLiteral(" / ") + gammaM}, d.fvd);
        row("fc,90,d = kmod \u00B7 fc,90,k / \u03B3M",
            {kmod, property("fc,90,k") + QStringLiteral(" / ") + gammaM}, d.fc90d);
        return table;
    }

    Table inputs() const
    {
        Table table{QStringLiteral("Inputs"), {}, {}};
        table.markedCells = 1;
        const SheetInput& material = sheet_.strengthClass;
        table.rows.push_back({material.caption, io::displayText(material.text), material.unit});
        for (const SheetInput& input : sheet_.inputs)
            table.rows.push_back(
                {input.caption, io::displayText(input.text), sheetUnit(input.unit)});
        return table;
    }

    Table material() const
    {
        Table table{QStringLiteral("Strength class %1 (%2)")
                        .arg(io::displayText(sheet_.className), sheet_.dataSource),
                    {},
                    {}};
        for (const SheetProperty& property : sheet_.properties)
            table.rows.push_back(
                {property.symbol, io::displayText(property.value), sheetUnit(property.unit)});
        return table;
    }

    Table actions() const
    {
        const joist::JoistDesign& d = sheet_.design;
        Table table{QStringLiteral("Section properties and actions"), {}, {}};
        table.markedCells = 3;
        auto row = [&](const QString& label, float value, const char* unit) {
            table.rows.push_back({label, number(value), QString::fromUtf8(unit)});
        };
        row(QStringLiteral("Area A = b h"), d.area, "mm\u00B2");
        row(QStringLiteral("Section modulus W = b h\u00B2/6"), d.sectionModulus, "mm\u00B3");
        row(QStringLiteral("Second moment I = b h\u00B3/12"), d.secondMoment, "mm\u2074");
        row(QStringLiteral("Self weight g0"), d.selfWeight, "kN/m");
        row(QStringLiteral("Dead line load gk"), d.deadLineLoad, "kN/m");
        // Partitions are imposed load: their own line, then part of qk.
        if (d.basis.partitions != 0) {
            table.rows.push_back(
                {QStringLiteral("Movable partitions (EN 1991-1-1 6.3.1.2(8)), on the imposed load"),
                 number(d.basis.partitions), QStringLiteral("kN/m\u00B2")});
            row(QStringLiteral("Live line load qk = (live load + partitions) s"), d.liveLineLoad,
                "kN/m");
        } else {
            row(QStringLiteral("Live line load qk"), d.liveLineLoad, "kN/m");
        }
        row(QStringLiteral("Design load w = %1 (g0 + gk) + %2 qk").arg(number(1.35), number(1.5)),
            d.designLoad, "kN/m");
        row(QStringLiteral("Design moment M = w L\u00B2/8"), d.designMoment, "kNm");
        row(QStringLiteral("Design shear V = w L/2"), d.designShear, "kN");
        row(QStringLiteral("w_inst,G = 5 (g0 + gk) L\u2074 / (384 E0,mean I)"), d.uInstG, "mm");
        row(QStringLiteral("w_fin,G = (1 + kdef) w_inst,G"), d.uFinG, "mm");
        return table;
    }

    bool belowEightHertz() const { return report::belowEightHertz(sheet_.design); }

    Table checks() const
    {
        Table table{QStringLiteral("Checks (EN 1995-1-1)"),
                    {QStringLiteral("Check"), QStringLiteral("Clause"),
                     QStringLiteral("Demand or required"), QString(),
                     QStringLiteral("Capacity, limit or provided"), QString(),
                     QStringLiteral("Unit"), QStringLiteral("Ratio"), QString()},
                    {}};
        table.markedCells = 9;
        const std::optional<Check> governing = joist::governingCheck(sheet_.design);
        const std::string_view separator = sheet_.decimalSeparator;
        for (std::size_t i = 0; i < joist::checkDefinitions.size(); ++i) {
            const joist::CheckDefinition& check = joist::checkDefinitions[i];
            if (!joist::inForce(check, sheet_.design))
                continue;
            if (governing == check.check)
                table.strongRow = static_cast<int>(table.rows.size());
            const SheetCheckText& text = sheetCheckText(check.check);
            QString note = governing == check.check ? QStringLiteral("governs") : QString();
            if (belowEightHertz() && (check.check == Check::w || check.check == Check::v))
                note += (note.isEmpty() ? QString() : QStringLiteral("; ")) +
                        QStringLiteral("not valid: f1 < 8 Hz");
            table.rows.push_back(
                {text.caption ? QString::fromUtf8(text.caption) : QString::fromUtf8(check.caption),
                 QString::fromUtf8(check.clause),
                 text.demand && joist::demandSymbolOf(check, sheet_.design) == check.demandSymbol
                     ? QString::fromUtf8(text.demand).replace(QStringLiteral("%1"), number(1.5))
                     : QString::fromUtf8(report::localSymbol(
                           joist::demandSymbolOf(check, sheet_.design), separator)),
                 number(sheet_.design.*check.numerator),
                 text.capacity
                     ? QString::fromUtf8(text.capacity)
                     : QString::fromUtf8(
                           report::deflectionLimitText(check.check, sheet_.design.basis, separator)
                               .value_or(report::localSymbol(
                                   joist::capacitySymbolOf(check, sheet_.design), separator))),
                 number(sheet_.design.*check.denominator), QString::fromUtf8(check.unit),
                 sheet_.ratioTexts[i], note});
        }
        return table;
    }

    // The concentrated load's actions, and whose the share is.
    Table pointLoad() const
    {
        const joist::JoistDesign& d = sheet_.design;
        Table table{QStringLiteral("Concentrated imposed load (EN 1991-1-1 6.2.1(4)), alone, "
                                   "without the distributed imposed load"),
                    {},
                    {}};
        table.markedCells = 3;
        auto row = [&](const QString& label, float value, const char* unit) {
            table.rows.push_back({label, number(value), QString::fromUtf8(unit)});
        };
        row(QStringLiteral("Qk"), d.basis.pointLoadQk, "kN");
        row(QStringLiteral("Share of Qk one joist carries (the engineer's assumption)"),
            d.basis.pointShare, "");
        row(QStringLiteral("Design point load Fd = %1 \u00D7 share \u00D7 Qk").arg(number(1.5)),
            d.pointDesignLoad, "kN");
        row(QStringLiteral("M P = %1 (g0 + gk) L\u00B2/8 + Fd L/4, Fd at mid-span")
                .arg(number(1.35)),
            d.pointMoment, "kNm");
        row(QStringLiteral("V P = %1 (g0 + gk) L/2 + Fd, Fd at a support").arg(number(1.35)),
            d.pointShear, "kN");
        return table;
    }

    // Every intermediate of the vibration check, with the rule behind it.
    Table vibration() const
    {
        const joist::JoistDesign& d = sheet_.design;
        const bool ukNa = d.basis.vibrationRules == joist::VibrationRules::ukNa;
        Table table{
            ukNa ? QStringLiteral("Floor vibration (EN 1995-1-1 7.3.3 with the UK National Annex)")
                 : QStringLiteral("Floor vibration (EN 1995-1-1 7.3.3, a and b from "
                                  "Figure 7.2)"),
            {},
            {}};
        table.markedCells = 3;
        auto row = [&](const char* label, float value, const char* unit) {
            table.rows.push_back(
                {QString::fromUtf8(report::localSymbol(label, sheet_.decimalSeparator)),
                 number(value), QString::fromUtf8(unit)});
        };
        if (belowEightHertz())
            table.note = QString::fromUtf8(report::lowFrequencyNote(number(d.f1).toStdString()));
        row("Floor width B", d.basis.floorWidth, "m");
        row("Deck thickness t", d.basis.deckThickness, "mm");
        row("Deck modulus across the joists E_deck", d.basis.deckModulus, "N/mm\u00B2");
        table.rows.push_back({QStringLiteral("Strutting"),
                              d.basis.strutting
                                  ? QStringLiteral("yes (kstrut = %1)").arg(number(0.97))
                                  : QStringLiteral("no (kstrut = 1)")});
        row("Damping ratio \u03B6", d.basis.damping, "");
        row("Amplification kamp (UK NA)", d.basis.kamp, "");
        row("Mass m = dead load / g + \u03C1mean b h / s with g = 9.81 m/s\u00B2: permanent "
            "actions only",
            d.floorMass, "kg/m\u00B2");
        row("(EI)_L = E0,mean I / s", d.eiFloor, "N m\u00B2/m");
        row("(EI)_joist = E0,mean I", d.eiJoist, "N mm\u00B2");
        row("(EI)_B = E_deck t\u00B3/12: deck only, no ceiling or composite action", d.eiDeck,
            "N mm\u00B2/m");
        row("f1 = \u03C0/(2 L\u00B2) \u221A((EI)_L / m)", d.f1, "Hz");
        row("kdist = kstrut (0.38 \u2212 0.08 ln(14 (EI)_B / s\u2074)), at least 0.3 (UK NA)",
            d.kdist, "");
        row("w = kdist kamp L\u00B3 / (48 (EI)_joist) under 1 kN", d.w, "mm");
        if (ukNa) {
            row("a = 1.8 for L \u2264 4000 mm, else 16500 / L^1.1 (UK NA)", d.a, "mm/kN");
            row("b = 180 \u2212 60 a for a \u2264 1, else 160 \u2212 40 a (UK NA)", d.b, "");
        } else {
            row("a, chosen in the design basis (EN 1995-1-1 Figure 7.2)", d.a, "mm/kN");
            row("b, chosen in the design basis (EN 1995-1-1 Figure 7.2)", d.b, "");
        }
        row("n40 = (((40 / f1)\u00B2 \u2212 1) (B / L)\u2074 (EI)_L / (EI)_B)^0.25", d.n40, "");
        row("v = 4 (0.4 + 0.6 n40) / (m B L + 200)", d.v, "m/(N s\u00B2)");
        row("v limit = b^(f1 \u03B6 \u2212 1)", d.vLimit, "m/(N s\u00B2)");
        return table;
    }

    // The deflection limits used stand in the checks' capacity column; a
    // basis other than the defaults is named here too.
    Table verdict() const
    {
        Table table{QStringLiteral("Result"),
                    {},
                    {{QStringLiteral("Overall"), sheet_.unityRatioText},
                     {QStringLiteral("Result"), sheet_.verdictText}}};
        // The verdict stands as the check gives it, with why it is no answer.
        if (const std::optional<std::string_view> problem = joist::loadProblem(sheet_.design))
            table.rows.push_back({QStringLiteral("Warning"),
                                  QString::fromStdString(report::loadProblemMessage(*problem))});
        const joist::DesignBasis& basis = sheet_.design.basis;
        if (report::basisChangesResults(basis, sheet_.design.tablePresumesKcr))
            table.rows.push_back(
                {QStringLiteral("Design basis"),
                 QString::fromUtf8(report::basisDescription(basis, sheet_.design.tablePresumesKcr,
                                                            sheet_.decimalSeparator))});
        if (!basis.vibration)
            table.rows.push_back(
                {QStringLiteral("Floor vibration"), QStringLiteral("not checked")});
        else if (belowEightHertz())
            table.rows.push_back({QStringLiteral("Floor vibration"),
                                  QStringLiteral("f1 < 8 Hz: special investigation required")});
        return table;
    }

    // "Longest span that passes: 4.372 m" becomes a label and a value.
    Table designAids() const
    {
        Table table{QStringLiteral("Design aids"), {}, {}};
        for (const QString& line : sheet_.designAids) {
            const qsizetype colon = line.indexOf(QStringLiteral(": "));
            if (colon < 0)
                table.rows.push_back({line});
            else
                table.rows.push_back({line.left(colon), line.mid(colon + 2)});
        }
        return table;
    }

    Table spanTable() const
    {
        const report::SpanTableTexts& spans = sheet_.spanTable;
        Table table{
            spans.caption, QStringList{QStringLiteral("Section")} + spans.columnHeadings, {}};
        for (qsizetype row = 0; row < spans.rowHeadings.size(); ++row) {
            QStringList cells{spans.rowHeadings[row]};
            if (std::size_t(row) < spans.cells.size())
                cells << spans.cells[std::size_t(row)];
            table.rows.push_back(cells);
        }
        table.marks = spans.marks;
        table.highlightedRow = spans.highlightedRow;
        table.highlightedColumn = spans.highlightedColumn;
        return table;
    }

private:
    // Four significant figures, halves rounded away from zero as by hand
    // (371.25 is 371.3); from 10^4 up and below 10^-3 as a multiple of a
    // power of ten that is a multiple of three, "459.4 × 10⁹", so that no
    // figure claims more digits than four.
    QString number(double value) const
    {
        if (value == 0 || !std::isfinite(value))
            return QString::fromUtf8(joist::numberText(value, 4, sheet_.decimalSeparator));
        const double nudged =
            std::nextafter(value, value < 0 ? -std::numeric_limits<double>::infinity()
                                            : std::numeric_limits<double>::infinity());
        const std::string plain = joist::numberText(nudged, 4, ".");
        double rounded = nudged;
        std::from_chars(plain.data(), plain.data() + plain.size(), rounded);
        const int exponent = int(std::floor(std::log10(std::abs(rounded))));
        if (exponent >= -3 && exponent < 4)
            return QString::fromUtf8(joist::numberText(rounded, 4, sheet_.decimalSeparator));
        const int power = 3 * int(std::floor(exponent / 3.0));
        return QString::fromUtf8(
                   joist::numberText(rounded / std::pow(10.0, power), 4, sheet_.decimalSeparator)) +
               QStringLiteral(" \u00D7 10") + superscript(power);
    }

    // "⁻⁶" for -6.
    static QString superscript(int power)
    {
        static const char16_t digits[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077"
                                         u"\u2078\u2079";
        QString text;
        for (const QChar c : QString::number(power))
            text += c == QLatin1Char('-') ? QChar(0x207B) : QChar(digits[c.digitValue()]);
        return text;
    }

    // A property of the class as the table holds it.
    QString property(const char* symbol) const
    {
        for (const SheetProperty& p : sheet_.properties)
            if (p.symbol == QLatin1String(symbol))
                return io::displayText(p.value);
        return QStringLiteral("?");
    }

    const CalculationSheet& sheet_;
};

// Text from the screen or the table file may hold anything; in the plain
// text a tab or line break inside it would shift the spreadsheet's cells.
QString plainCell(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}

void appendPlain(QString& out, const Table& table)
{
    out += plainCell(table.heading) + QLatin1Char('\n');
    if (!table.note.isEmpty())
        out += plainCell(table.note) + QLatin1Char('\n');
    auto line = [&out](const QStringList& cells) {
        QStringList clean;
        for (const QString& cell : cells)
            clean << plainCell(cell);
        while (!clean.isEmpty() && clean.back().isEmpty())
            clean.removeLast();
        out += clean.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    if (!table.columns.isEmpty())
        line(table.columns);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        QStringList cells = table.rows[r];
        for (int c = 1; c < cells.size(); ++c) {
            if (const QString mark = table.mark(r, c); !mark.isEmpty())
                cells[c] += QStringLiteral(" (") + mark + QLatin1Char(')');
        }
        line(cells);
    }
    out += QLatin1Char('\n');
}

QString html(const QString& text)
{
    return text.toHtmlEscaped();
}

// The program's own text with its subscripts and powers set as such.
QString markedHtml(const QString& text)
{
    static const QRegularExpression subscript(
        QStringLiteral("(?<=[A-Za-z)])_([A-Za-z0-9]+(?:,[A-Za-z0-9]+)*)"));
    static const QRegularExpression power(
        QStringLiteral("\\^(?:\\(([^()]*)\\)|([0-9]+(?:[.,][0-9]+)?))"));
    QString out = html(text);
    out.replace(subscript, QStringLiteral("<sub>\\1</sub>"));
    out.replace(power, QStringLiteral("<sup>\\1\\2</sup>"));
    return out;
}

QString cellHtml(const Table& table, int cell, const QString& text)
{
    return cell < table.markedCells ? markedHtml(text) : html(text);
}

constexpr const char* highlight = "#fff2b3";
// Lighter than the figures and still 7:1 on white and on the highlight.
constexpr const char* markColour = "#4d4d4d";

// A list of one-cell rows as one paragraph: the first row, then the rest
// separated by semicolons.
QString paragraphHtml(const Table& table)
{
    QStringList items;
    for (const QStringList& row : table.rows)
        items << cellHtml(table, 0, row.value(0));
    const QString first = items.isEmpty() ? QString() : items.takeFirst();
    const QString rest = items.join(QStringLiteral("; "));
    const QString between = first.endsWith(QLatin1Char(':')) || rest.isEmpty()
                                ? QStringLiteral(" ")
                                : QStringLiteral("; ");
    return QStringLiteral("<p class=\"h\"><b>%1</b></p><p>%2%3%4.</p>")
        .arg(html(table.heading), first, between, rest);
}

// The boxed job header: the title and page beside the details, dates and
// program, two to a line; an empty field is a box left blank to write in.
// Without a page count (0) there is no page to name: a word processor pages
// the sheet itself.
QString headerHtml(const SheetTables& tables, int page, int pages)
{
    QString out =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\" width=\"100%\" "
                       "style=\"border-style: solid; border-color: #000000;\">");
    out += QStringLiteral("<tr><td colspan=\"5\"><span style=\"font-size: 13pt;\"><b>%1</b>"
                          "</span></td><td align=\"right\">%2</td></tr>")
               .arg(html(tables.title()),
                    pages > 0 ? QStringLiteral("Page %1 of %2").arg(page).arg(pages) : QString());
    const std::vector<QStringList> lines = tables.titleLines();
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        out += QStringLiteral("<tr>");
        for (std::size_t j = i; j < i + 3; ++j) {
            if (j < lines.size())
                out += QStringLiteral("<td width=\"13%\">%1</td><td width=\"20%\">%2&nbsp;</td>")
                           .arg(html(lines[j][0]), html(lines[j].value(1)));
            else
                out += QStringLiteral("<td></td><td></td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

QString tableHtml(const Table& table)
{
    QString out = QStringLiteral("<p class=\"h\"><b>%1</b></p>").arg(html(table.heading));
    if (!table.note.isEmpty())
        out += QStringLiteral("<p><b>%1</b></p>").arg(html(table.note));
    out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">");
    // Heads repeated on every page the table runs onto.
    if (!table.columns.isEmpty()) {
        out += QStringLiteral("<thead><tr>");
        for (const QString& column : table.columns)
            out += QStringLiteral("<th align=\"left\">%1&nbsp;</th>").arg(html(column));
        out += QStringLiteral("</tr></thead>");
    }
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const QStringList& row = table.rows[std::size_t(r)];
        out += QStringLiteral("<tr>");
        for (int c = 0; c < row.size(); ++c) {
            const bool lit =
                r == table.highlightedRow || (c > 0 && c - 1 == table.highlightedColumn);
            QString cell = cellHtml(table, c, row[c]);
            if (const QString mark = table.mark(std::size_t(r), c); !mark.isEmpty())
                cell += QStringLiteral("<sup><span style=\"color: %1;\">%2</span></sup>")
                            .arg(QLatin1String(markColour), html(mark));
            if (r == table.strongRow ||
                (c > 0 && r == table.highlightedRow && c - 1 == table.highlightedColumn))
                cell = QStringLiteral("<b>%1</b>").arg(cell);
            out += lit ? QStringLiteral("<td bgcolor=\"%1\">").arg(QLatin1String(highlight))
                       : QStringLiteral("<td>");
            out += cell + QStringLiteral("&nbsp;&nbsp;</td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

QString htmlStart()
{
    return QStringLiteral(
        "<html><head><meta charset=\"utf-8\"><style>"
        "body { font-family: 'Liberation Sans', Arial, sans-serif; font-size: 7pt; }"
        "p { margin-top: 1px; margin-bottom: 1px; }"
        "p.h { margin-top: 4px; margin-bottom: 1px; }"
        "</style></head><body>");
}

// The sheet: two columns for the inputs and the actions, the checks and the
// span table across the width. A printed sheet has its headers painted on
// each page apart; the one for word processors starts with it.
QString pageHtml(const CalculationSheet& sheet, const QString& sketchSource, SheetPaging paging,
                 bool printed)
{
    const SheetTables tables(sheet);
    QString out = htmlStart();
    if (!printed)
        out += headerHtml(tables, 0, 0);

    const QString sketch =
        QStringLiteral("<p class=\"h\"><b>Section (dimensions in mm)</b></p><p><img src=\"%1\" "
                       "width=\"%2\" height=\"%3\"></p>")
            .arg(sketchSource)
            .arg(qRound(sheetSketchSize.width() * 4 / 3))
            .arg(qRound(sheetSketchSize.height() * 4 / 3));
    out +=
        QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"
                       "<tr><td valign=\"top\" width=\"50%\">%1</td><td valign=\"top\">%2</td></tr>"
                       "<tr><td valign=\"top\">%3</td><td valign=\"top\">%4</td></tr></table>")
            .arg(tableHtml(tables.inputs()), tableHtml(tables.material()),
                 tableHtml(tables.actions()), sketch);
    out += paragraphHtml(tables.basis()) + paragraphHtml(tables.assumptions());
    out += tableHtml(tables.strengths());
    out += tableHtml(tables.checks());
    QString working;
    if (sheet.design.basis.pointLoad)
        working += tableHtml(tables.pointLoad());
    if (sheet.design.basis.vibration)
        working += tableHtml(tables.vibration());
    const bool workingApart = paging == SheetPaging::workingApart;
    if (!workingApart)
        out += working;
    out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"
                          "<tr><td valign=\"top\" width=\"50%\">%1</td><td valign=\"top\">%2</td>"
                          "</tr></table>")
               .arg(tableHtml(tables.verdict()), tableHtml(tables.designAids()));
    if (paging != SheetPaging::onePage)
        out += QStringLiteral("<div style=\"page-break-before: always;\"></div>");
    if (workingApart)
        out += working;
    out += tableHtml(tables.spanTable());
    if (!sheet.spanTable.legend.isEmpty())
        out += QStringLiteral("<p style=\"margin-top: 0px;\">%1</p>")
                   .arg(html(sheet.spanTable.legend));
    out += QStringLiteral("<p class=\"h\">%1</p>").arg(html(tables.footer()));
    return out + QStringLiteral("</body></html>");
}

QString pngDataUrl(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

std::unique_ptr<QTextDocument> printedDocument(const QString& html)
{
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setHtml(html);
    return document;
}

} // namespace

QString sheetTitle(const CalculationSheet& sheet)
{
    const QString title = SheetTables(sheet).title();
    const QString member = sheet.details.member.simplified();
    return member.isEmpty()
               ? title
               : io::displayText(title + QStringLiteral(": ") + member, io::DisplayUse::message);
}

QString sheetPlainText(const CalculationSheet& sheet)
{
    const SheetTables tables(sheet);
    QString out;
    appendPlain(out, {tables.title(), {}, tables.titleLines()});
    for (const Table& table : {tables.inputs(), tables.material(), tables.actions(), tables.basis(),
                               tables.strengths(), tables.assumptions(), tables.checks()})
        appendPlain(out, table);
    if (sheet.design.basis.pointLoad)
        appendPlain(out, tables.pointLoad());
    if (sheet.design.basis.vibration)
        appendPlain(out, tables.vibration());
    for (const Table& table : {tables.verdict(), tables.designAids(), tables.spanTable()})
        appendPlain(out, table);
    if (!sheet.spanTable.legend.isEmpty())
        out += plainCell(sheet.spanTable.legend) + QLatin1Char('\n');
    out += plainCell(tables.footer()) + QLatin1Char('\n');
    return out;
}

QString sheetHtml(const CalculationSheet& sheet)
{
    return pageHtml(sheet, pngDataUrl(sheetSketchImage(sheet)), SheetPaging::onePage, false);
}

std::unique_ptr<QTextDocument> sheetDocument(const CalculationSheet& sheet, SheetPaging paging)
{
    const QString sketchName = QStringLiteral("sheet:sketch");
    std::unique_ptr<QTextDocument> document =
        printedDocument(pageHtml(sheet, sketchName, paging, true));
    placeSheetSketch(*document, sketchName, sheet);
    return document;
}

std::unique_ptr<QTextDocument> sheetHeaderDocument(const CalculationSheet& sheet, int page,
                                                   int pages)
{
    return printedDocument(htmlStart() + headerHtml(SheetTables(sheet), page, pages) +
                           QStringLiteral("</body></html>"));
}

} // namespace ui
