#include "ui/design_basis_settings.h"

#include <cmath>
#include <string_view>

#include "engine/number_text.h"

namespace ui {
namespace {

using joist::DesignBasis;

struct NumberKey
{
    const char* key;
    float DesignBasis::*member;
};
constexpr NumberKey numberKeys[] = {
    {"designBasis/u2Divisor", &DesignBasis::u2Divisor},
    {"designBasis/u2FinDivisor", &DesignBasis::u2FinDivisor},
    {"designBasis/uNetFinDivisor", &DesignBasis::uNetFinDivisor},
    {"designBasis/floorWidth", &DesignBasis::floorWidth},
    {"designBasis/deckThickness", &DesignBasis::deckThickness},
    {"designBasis/deckModulus", &DesignBasis::deckModulus},
    {"designBasis/damping", &DesignBasis::damping},
    {"designBasis/kamp", &DesignBasis::kamp},
};

struct CapKey
{
    const char* key;
    std::optional<float> DesignBasis::*member;
};
constexpr CapKey capKeys[] = {
    {"designBasis/u2Cap", &DesignBasis::u2Cap},
    {"designBasis/u2FinCap", &DesignBasis::u2FinCap},
    {"designBasis/uNetFinCap", &DesignBasis::uNetFinCap},
};

struct FlagKey
{
    const char* key;
    bool DesignBasis::*member;
};
constexpr FlagKey flagKeys[] = {
    {"designBasis/vibration", &DesignBasis::vibration},
    {"designBasis/strutting", &DesignBasis::strutting},
};

// A positive finite float in its range, as the window accepts, or nothing.
std::optional<float> storedNumber(const QSettings& settings, const char* key,
                                  std::optional<joist::LimitRange> range)
{
    const QVariant value = settings.value(QLatin1String(key));
    bool ok = false;
    const double number = value.toDouble(&ok);
    const auto single = static_cast<float>(number);
    if (!ok || !std::isfinite(single) || !(single > 0) || (range && !range->holds(single)))
        return std::nullopt;
    return single;
}

} // namespace

joist::DesignBasis readDesignBasis(const QSettings& settings)
{
    DesignBasis basis;
    for (const NumberKey& number : numberKeys) {
        if (const std::optional<float> value =
                storedNumber(settings, number.key, joist::rangeOf(number.member)))
            basis.*number.member = *value;
    }
    for (const CapKey& cap : capKeys)
        basis.*cap.member = storedNumber(settings, cap.key, joist::capRange);
    for (const FlagKey& flag : flagKeys) {
        const QVariant value = settings.value(QLatin1String(flag.key));
        if (value.isValid())
            basis.*flag.member = value.toBool();
    }
    return basis;
}

void writeDesignBasis(QSettings& settings, const joist::DesignBasis& basis)
{
    const DesignBasis defaults;
    // Floats are stored as design files keep them: their shortest decimal,
    // read back exactly.
    auto put = [&settings](const char* key, bool isDefault, const QVariant& value) {
        if (isDefault)
            settings.remove(QLatin1String(key));
        else
            settings.setValue(QLatin1String(key), value);
    };
    for (const NumberKey& number : numberKeys)
        put(number.key, basis.*number.member == defaults.*number.member,
            QString::fromStdString(joist::shortestText(basis.*number.member)));
    for (const CapKey& cap : capKeys)
        put(cap.key, !(basis.*cap.member).has_value(),
            QString::fromStdString(joist::shortestText((basis.*cap.member).value_or(0))));
    for (const FlagKey& flag : flagKeys)
        put(flag.key, basis.*flag.member == defaults.*flag.member, basis.*flag.member);
}

} // namespace ui
