#pragma once

// The design basis: the engineer's deflection limits, whether, with which
// floor and under whose rules the vibration check of residential floors is
// made, the rules of shear and bearing, the strength-class table, an
// allowance for movable partitions and the concentrated imposed load. The
// defaults reproduce the check without it exactly.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

#include "engine/enum_count.h"
#include "engine/material.h"
#include "engine/translatable_text.h"

namespace joist {

// The divisors and caps that can give a meaningful limit. A divisor below 1
// allows more deflection than the span, one above 100000 less than a
// hundredth of a millimetre a metre; a cap below 0.1 mm cannot be measured
// on site, and one above 10 m caps nothing. Far outside them the limit
// overflows or vanishes in single precision, and the check would stop
// blaming the span, loads or section.
struct LimitRange
{
    float least;
    float most;

    constexpr bool holds(float value) const { return value >= least && value <= most; }
};
inline constexpr LimitRange divisorRange{1, 100000};
inline constexpr LimitRange capRange{0.1f, 10000};
// No partition allowance of EN 1991-1-1 reaches 2 kN/m2; 10 leaves room for a
// National Annex or a heavier wall without letting a slip of the finger
// through.
inline constexpr LimitRange partitionsRange{0, 10};
// kcr reduces the breadth; above 1 it would widen it. The end distance is a
// length beside a bearing, 0 when the joist stops at its edge.
inline constexpr LimitRange kcrRange{0.1f, 1};
// EN 1991-1-1 Table 6.2 gives Qk up to 7 kN for categories A to D; 20 leaves
// room for a National Annex or a heavier point. One joist carries at most the
// whole of it.
inline constexpr LimitRange pointLoadRange{0.1f, 20};
inline constexpr LimitRange pointShareRange{0.05f, 1};
inline constexpr LimitRange endDistanceRange{0, 10000};
// The recommended range of EN 1995-1-1 Figure 7.2 (a in mm/kN). Range and
// its corner (4, 50) are from one source, a single digitisation of the
// figure; its points (0.5, 150), (1, 120) and (2, 80) from two.
inline constexpr LimitRange vibrationARange{0.5f, 4};
inline constexpr LimitRange vibrationBRange{50, 150};

// Which edition of EN 1995-1-1's shear and bearing rules the check applies.
enum class Rules {
    original, // as first published: tau = 1.5 V/A, sigma = F/(b l) <= fc,90,d
    amended,  // with A1:2008: kcr in shear, kc,90 and l_ef in bearing, kh by material
    count,
};

// The strength-class table the classes come from, each a file beside the
// program.
enum class TableChoice {
    shipped,    // ZU5ZO.mdb, EN 338:2003
    en338_2016, // EN338-2016.mdb
    en14080,    // EN14080.mdb, glulam
    count,
};

// Whose rules the floor vibration check follows: the UK National Annex's a
// and b from the span (one source), or EN 1995-1-1's own, where a and b are
// the engineer's choice from Figure 7.2. No other National Annex's values
// are confirmed.
enum class VibrationRules { ukNa, en, count };

// zeta where the basis does not give one: the UK National Annex's 0.02 (one
// source) or EN 1995-1-1's 0.01 (two sources).
constexpr float defaultDamping(VibrationRules rules)
{
    return rules == VibrationRules::en ? 0.01f : 0.02f;
}

// The section sizes the lists offer: the program's own, or beside them the
// EN 336 target sizes and the UK's regularised joists.
enum class Sizes { listed, extended, count };

// The service class of EN 1995-1-1 2.3.1.3 the floor is in, or none: the
// factors then stand as entered in the main window's lists.
enum class ServiceClass { asEntered, one, two, three, count };

// The floor's imposed-load category of EN 1991-1-1 Table 6.1, for psi 2.
enum class Category { A, B, C, D, count };

struct DesignBasis
{
    // Each deflection limit is span / divisor, and at most the cap when one
    // is set (mm).
    float u2Divisor = 300;
    float u2FinDivisor = 200;
    float uNetFinDivisor = 200;
    std::optional<float> u2Cap;
    std::optional<float> u2FinCap;
    std::optional<float> uNetFinCap;

    // Floor vibration (EN 1995-1-1 7.3.3); kdist and kamp are the UK National
    // Annex's under either rules.
    bool vibration = false;
    float floorWidth = 4.0f;  // B, m
    float deckThickness = 22; // t, mm
    float deckModulus = 3000; // E across the joists, N/mm2
    bool strutting = false;
    float damping = defaultDamping(VibrationRules::ukNa); // zeta
    float kamp = 1.05f;
    VibrationRules vibrationRules = VibrationRules::ukNa;
    float vibrationA = 1.5f; // a, mm/kN, and b: in force under EN 1995-1-1's rules only
    float vibrationB = 100;

    Rules rules = Rules::original;
    // EN 1995-1-1 6.1.7(2) with A1 recommends 0.67 for solid timber and
    // glulam (one source); National Annexes may set another.
    float kcr = 0.67f;
    // How far the joist runs past the outer edge of its bearing, mm: what
    // the bearing's effective length may gain on that side.
    float endDistance = 0;
    TableChoice table = TableChoice::shipped;
    Sizes sizes = Sizes::listed;
    ServiceClass serviceClass = ServiceClass::asEntered;
    Category category = Category::A;

    // Movable partitions (EN 1991-1-1 6.3.1.2(8)), kN/m2 of floor, added to
    // the imposed floor load wherever the check uses it.
    float partitions = 0;

    // The concentrated imposed load of EN 1991-1-1 6.2.1(4), checked on its
    // own, without the distributed imposed load: Qk, kN, and the share of it
    // one joist carries, the engineer's assumption.
    bool pointLoad = false;
    float pointLoadQk = 2.0f;
    float pointShare = 1.0f;

    bool isDefault() const { return *this == DesignBasis{}; }

    friend bool operator==(const DesignBasis&, const DesignBasis&) = default;
};

// What a number of the basis is when a design file, schedule or the settings
// do not give it: the member's default, but zeta the rule set's.
inline float defaultOf(float DesignBasis::*member, const DesignBasis& basis)
{
    if (member == &DesignBasis::damping)
        return defaultDamping(basis.vibrationRules);
    return DesignBasis{}.*member;
}

// The numbers of the basis that must lie in a range; the floor's other
// values need only be positive.
struct NumberRange
{
    float DesignBasis::*member;
    LimitRange range;
};
inline constexpr NumberRange numberRanges[] = {
    {&DesignBasis::u2Divisor, divisorRange},       {&DesignBasis::u2FinDivisor, divisorRange},
    {&DesignBasis::uNetFinDivisor, divisorRange},  {&DesignBasis::kcr, kcrRange},
    {&DesignBasis::endDistance, endDistanceRange}, {&DesignBasis::partitions, partitionsRange},
    {&DesignBasis::pointLoadQk, pointLoadRange},   {&DesignBasis::pointShare, pointShareRange},
    {&DesignBasis::vibrationA, vibrationARange},   {&DesignBasis::vibrationB, vibrationBRange},
};

inline std::optional<LimitRange> rangeOf(float DesignBasis::*member)
{
    for (const NumberRange& number : numberRanges)
        if (number.member == member)
            return number.range;
    return std::nullopt;
}

// The uniform allowances of EN 1991-1-1 6.3.1.2(8) for movable partitions, by
// the partitions' self-weight per metre of wall (kN/m): kN/m2 of floor. Each
// from one source; the last is unverified (the stored source breaks off
// before it). Heavier walls need their own analysis.
struct PartitionBand
{
    float wallWeight;
    float allowance;
    bool verified;
};
inline constexpr PartitionBand partitionBands[] = {
    {1.0f, 0.5f, true},
    {2.0f, 0.8f, true},
    {3.0f, 1.2f, false},
};

// Whether a number of the basis may be 0 (all others must be positive).
inline bool allowsZero(float DesignBasis::*member)
{
    return member == &DesignBasis::endDistance || member == &DesignBasis::partitions;
}

// A value of the basis chosen from a few, each with its text in files and
// settings and its caption where people read it, in its enum's order.
struct BasisChoice
{
    std::span<const std::string_view> texts;
    std::size_t (*get)(const DesignBasis&);
    void (*set)(DesignBasis&, std::size_t);
    std::span<const std::string_view> captions;

    std::string_view text(const DesignBasis& basis) const { return texts[get(basis)]; }
    // Sets the choice a text names; false, changing nothing, for any other.
    bool setFromText(DesignBasis& basis, std::string_view text) const
    {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] == text) {
                set(basis, i);
                return true;
            }
        }
        return false;
    }
};

inline constexpr std::array<std::string_view, 2> rulesTexts{"original", "amended"};
inline constexpr std::array<std::string_view, 2> rulesCaptions{
    JOIST_TR_NOOP("Basis", "As first published"),
    JOIST_TR_NOOP("Basis", "EN 1995-1-1 with A1:2008")};
inline constexpr std::array<std::string_view, 3> tableTexts{"shipped", "en338-2016", "en14080"};
inline constexpr std::array<std::string_view, 3> tableCaptions{
    JOIST_TR_NOOP("Basis", "EN 338:2003 (ZU5ZO.mdb)"),
    JOIST_TR_NOOP("Basis", "EN 338:2016 (EN338-2016.mdb)"),
    JOIST_TR_NOOP("Basis", "EN 14080:2013, glulam (EN14080.mdb)")};
inline constexpr std::array<std::string_view, 2> vibrationRulesTexts{"ukNa", "en"};
inline constexpr std::array<std::string_view, 2> vibrationRulesCaptions{
    JOIST_TR_NOOP("Basis", "UK National Annex"), JOIST_TR_NOOP("Basis", "EN 1995-1-1 recommended")};
inline constexpr std::array<std::string_view, 2> sizesTexts{"listed", "extended"};
inline constexpr std::array<std::string_view, 2> sizesCaptions{
    JOIST_TR_NOOP("Basis", "As listed"), JOIST_TR_NOOP("Basis", "EN 336 and UK regularised")};
inline constexpr std::array<std::string_view, 4> serviceClassTexts{"", "1", "2", "3"};
inline constexpr std::array<std::string_view, 4> serviceClassCaptions{
    JOIST_TR_NOOP("Basis", "As entered (factors in the main window)"),
    JOIST_TR_NOOP("Basis", "1 (heated interior)"), JOIST_TR_NOOP("Basis", "2 (covered, unheated)"),
    JOIST_TR_NOOP("Basis", "3 (exposed)")};
inline constexpr std::array<std::string_view, 4> categoryTexts{"A", "B", "C", "D"};
inline constexpr std::array<std::string_view, 4> categoryCaptions{
    JOIST_TR_NOOP("Basis", "A: domestic and residential"), JOIST_TR_NOOP("Basis", "B: offices"),
    JOIST_TR_NOOP("Basis", "C: congregation areas"), JOIST_TR_NOOP("Basis", "D: shopping areas")};

// A choice of the basis over the enum of its member.
template <auto member, auto& texts, auto& captions> constexpr BasisChoice choiceOf()
{
    using Choice = std::remove_cvref_t<decltype(std::declval<DesignBasis&>().*member)>;
    static_assert(texts.size() == enumCount<Choice> && captions.size() == texts.size(),
                  "a choice's texts and captions: one per value of its enum");
    return {texts, [](const DesignBasis& b) { return static_cast<std::size_t>(b.*member); },
            [](DesignBasis& b, std::size_t i) {
                b.*member = static_cast<std::remove_reference_t<decltype(b.*member)>>(i);
            },
            captions};
}
inline constexpr BasisChoice rulesChoice =
    choiceOf<&DesignBasis::rules, rulesTexts, rulesCaptions>();
inline constexpr BasisChoice vibrationRulesChoice =
    choiceOf<&DesignBasis::vibrationRules, vibrationRulesTexts, vibrationRulesCaptions>();
inline constexpr BasisChoice sizesChoice =
    choiceOf<&DesignBasis::sizes, sizesTexts, sizesCaptions>();
inline constexpr BasisChoice serviceClassChoice =
    choiceOf<&DesignBasis::serviceClass, serviceClassTexts, serviceClassCaptions>();
inline constexpr BasisChoice categoryChoice =
    choiceOf<&DesignBasis::category, categoryTexts, categoryCaptions>();
inline constexpr BasisChoice tableChoice =
    choiceOf<&DesignBasis::table, tableTexts, tableCaptions>();

// The boxes of the Design Basis window, in its order: each field stands in
// one.
enum class BasisGroup { deflectionLimits, imposedLoad, pointLoad, rules, vibration };

// When a field takes part in the check: always, or while a flag of the basis
// is on and, where named, a choice holds one value (or, `otherThan`, any
// other); kcr also wherever the class's table presumes it in shear.
struct InForceWhen
{
    bool DesignBasis::*flag = nullptr;
    const BasisChoice* choice = nullptr;
    std::size_t value = 0;
    bool orTablePresumesKcr = false;
    bool otherThan = false;
};

// Each value of the basis, once: its key (the same in design files and, under
// "designBasis/", in the settings), its caption and unit as the window and
// messages show them, and the member that holds it, a number, a cap (none
// when empty), a flag or a choice; its default is the member's. Then the box
// of the Design Basis window it stands in, when it takes part in the check,
// and the window's name for its control where that is not the key's. In the
// design file's order, which is the window's within each box.
struct BasisField
{
    std::string_view key;
    std::string_view caption;
    std::string_view unit;
    float DesignBasis::*number = nullptr;
    std::optional<float> DesignBasis::*cap = nullptr;
    bool DesignBasis::*flag = nullptr;
    std::string_view earlierSettingsKey = {}; // what settings called it before, if other
    const BasisChoice* choice = nullptr;
    BasisGroup group = BasisGroup::rules;
    InForceWhen when = {};
    std::string_view control = {}; // the window's object name, where not key + "Txt"/"Chk"/"Cmb"
};
namespace basis_rows {
using G = BasisGroup;
using D = DesignBasis;
constexpr InForceWhen vibrating{&D::vibration};
constexpr InForceWhen vibratingUnderEn{&D::vibration, &vibrationRulesChoice,
                                       std::size_t(VibrationRules::en)};
constexpr InForceWhen pointLoadChecked{&D::pointLoad};
constexpr InForceWhen amendedRules{nullptr, &rulesChoice, std::size_t(Rules::amended)};
constexpr InForceWhen kcrInShear{nullptr, &rulesChoice, std::size_t(Rules::amended), true};
constexpr InForceWhen serviceClassChosen{nullptr, &serviceClassChoice,
                                         std::size_t(ServiceClass::asEntered), false, true};
} // namespace basis_rows

inline constexpr BasisField basisFields[] = {
    // clang-format off
    {"u2Div", JOIST_TR_NOOP("Basis", "u 2 limit, span divisor"), "", &DesignBasis::u2Divisor, nullptr, nullptr, "u2Divisor", nullptr, basis_rows::G::deflectionLimits},
    {"u2FinDiv", JOIST_TR_NOOP("Basis", "u 2,fin limit, span divisor"), "", &DesignBasis::u2FinDivisor, nullptr, nullptr, "u2FinDivisor", nullptr, basis_rows::G::deflectionLimits},
    {"uNetFinDiv", JOIST_TR_NOOP("Basis", "u net,fin limit, span divisor"), "", &DesignBasis::uNetFinDivisor, nullptr, nullptr, "uNetFinDivisor", nullptr, basis_rows::G::deflectionLimits},
    {"u2Cap", JOIST_TR_NOOP("Basis", "u 2 limit, at most"), JOIST_TR_NOOP("Basis", "mm"), nullptr, &DesignBasis::u2Cap, nullptr, {}, nullptr, basis_rows::G::deflectionLimits},
    {"u2FinCap", JOIST_TR_NOOP("Basis", "u 2,fin limit, at most"), JOIST_TR_NOOP("Basis", "mm"), nullptr, &DesignBasis::u2FinCap, nullptr, {}, nullptr, basis_rows::G::deflectionLimits},
    {"uNetFinCap", JOIST_TR_NOOP("Basis", "u net,fin limit, at most"), JOIST_TR_NOOP("Basis", "mm"), nullptr, &DesignBasis::uNetFinCap, nullptr, {}, nullptr, basis_rows::G::deflectionLimits},
    {"vibration", JOIST_TR_NOOP("Basis", "Check floor vibration"), "", nullptr, nullptr, &DesignBasis::vibration, {}, nullptr, basis_rows::G::vibration},
    {"floorWidth", JOIST_TR_NOOP("Basis", "Floor width B"), JOIST_TR_NOOP("Basis", "m"), &DesignBasis::floorWidth, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"deckThickness", JOIST_TR_NOOP("Basis", "Deck thickness t"), JOIST_TR_NOOP("Basis", "mm"), &DesignBasis::deckThickness, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"deckModulus", JOIST_TR_NOOP("Basis", "Deck modulus across the joists E"), JOIST_TR_NOOP("Basis", "N/mm\u00B2"), &DesignBasis::deckModulus, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"strutting", JOIST_TR_NOOP("Basis", "Strutting"), "", nullptr, nullptr, &DesignBasis::strutting, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"damping", JOIST_TR_NOOP("Basis", "Damping ratio \u03B6"), "", &DesignBasis::damping, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"kamp", JOIST_TR_NOOP("Basis", "Amplification k amp"), "", &DesignBasis::kamp, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibrating},
    {"vibrationRules", JOIST_TR_NOOP("Basis", "Vibration rules"), "", nullptr, nullptr, nullptr, {}, &vibrationRulesChoice, basis_rows::G::vibration, basis_rows::vibrating},
    {"a", JOIST_TR_NOOP("Basis", "Limit a"), JOIST_TR_NOOP("Basis", "mm/kN"), &DesignBasis::vibrationA, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibratingUnderEn, "vibrationATxt"},
    {"b", JOIST_TR_NOOP("Basis", "Constant b"), "", &DesignBasis::vibrationB, nullptr, nullptr, {}, nullptr, basis_rows::G::vibration, basis_rows::vibratingUnderEn, "vibrationBTxt"},
    {"partitions", JOIST_TR_NOOP("Basis", "Movable partitions"), JOIST_TR_NOOP("Basis", "kN/m\u00B2"), &DesignBasis::partitions, nullptr, nullptr, {}, nullptr, basis_rows::G::imposedLoad},
    {"pointLoad", JOIST_TR_NOOP("Basis", "Check the concentrated imposed load"), "", nullptr, nullptr, &DesignBasis::pointLoad, {}, nullptr, basis_rows::G::pointLoad},
    {"pointLoadQk", JOIST_TR_NOOP("Basis", "Concentrated imposed load Qk"), JOIST_TR_NOOP("Basis", "kN"), &DesignBasis::pointLoadQk, nullptr, nullptr, {}, nullptr, basis_rows::G::pointLoad, basis_rows::pointLoadChecked, "pointLoadTxt"},
    {"pointShare", JOIST_TR_NOOP("Basis", "Share of Qk on one joist"), "", &DesignBasis::pointShare, nullptr, nullptr, {}, nullptr, basis_rows::G::pointLoad, basis_rows::pointLoadChecked},
    {"rules", JOIST_TR_NOOP("Basis", "Rules"), "", nullptr, nullptr, nullptr, {}, &rulesChoice, basis_rows::G::rules},
    {"kcr", JOIST_TR_NOOP("Basis", "Crack factor k cr"), "", &DesignBasis::kcr, nullptr, nullptr, {}, nullptr, basis_rows::G::rules, basis_rows::kcrInShear},
    {"endDistance", JOIST_TR_NOOP("Basis", "End distance a"), JOIST_TR_NOOP("Basis", "mm"), &DesignBasis::endDistance, nullptr, nullptr, {}, nullptr, basis_rows::G::rules, basis_rows::amendedRules},
    {"table", JOIST_TR_NOOP("Basis", "Strength-class table"), "", nullptr, nullptr, nullptr, {}, &tableChoice, basis_rows::G::rules},
    {"sizes", JOIST_TR_NOOP("Basis", "Section sizes"), "", nullptr, nullptr, nullptr, {}, &sizesChoice, basis_rows::G::rules},
    {"serviceClass", JOIST_TR_NOOP("Basis", "Service class"), "", nullptr, nullptr, nullptr, {}, &serviceClassChoice, basis_rows::G::imposedLoad},
    {"category", JOIST_TR_NOOP("Basis", "Imposed-load category"), "", nullptr, nullptr, nullptr, {}, &categoryChoice, basis_rows::G::imposedLoad, basis_rows::serviceClassChosen},
    // clang-format on
};

// Whether a field takes part in the check under a basis, with a class whose
// table does or does not presume kcr in shear.
constexpr bool inForce(const BasisField& field, const DesignBasis& basis, bool tablePresumesKcr)
{
    const InForceWhen& when = field.when;
    if (when.orTablePresumesKcr && tablePresumesKcr)
        return true;
    return (!when.flag || basis.*when.flag) &&
           (!when.choice || (when.choice->get(basis) == when.value) != when.otherThan);
}

// The field of a key; a key not in the table does not compile where it is
// looked up in a constant expression.
constexpr const BasisField& basisField(std::string_view key)
{
    for (const BasisField& field : basisFields)
        if (field.key == key)
            return field;
    throw "no design basis field has this key";
}

} // namespace joist
