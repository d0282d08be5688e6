#include "document/design_basis_settings.h"

#include <string_view>
#include <vector>

#include "engine/basis_value.h"
#include "engine/number_text.h"

namespace document {
namespace {

using joist::DesignBasis;

// A field's key in the settings: the design file's, in the group
// "designBasis"; its earlier name is read when the new one is not there.
QString settingsKey(std::string_view key)
{
    return QStringLiteral("designBasis/") + QString::fromUtf8(key.data(), qsizetype(key.size()));
}

QVariant storedValue(const SettingsFile& settings, const joist::BasisField& field)
{
    const QVariant value = settings.value(settingsKey(field.key));
    if (value.isValid() || field.earlierSettingsKey.empty())
        return value;
    return settings.value(settingsKey(field.earlierSettingsKey));
}

// A number or cap as the window accepts it, or nothing; an empty cap is none.
std::optional<float> storedNumber(const QVariant& value, const joist::BasisField& field)
{
    const joist::BasisValue read =
        joist::readBasisValue(field, value.toString().toStdString(), ".");
    return read.accepted() ? read.number : std::nullopt;
}

} // namespace

joist::DesignBasis readDesignBasis(const SettingsFile& settings)
{
    DesignBasis basis;
    std::vector<float DesignBasis::*> unset; // numbers not stored, or not usable
    for (const joist::BasisField& field : joist::basisFields) {
        const QVariant value = storedValue(settings, field);
        if (field.number) {
            if (const std::optional<float> number = storedNumber(value, field))
                basis.*field.number = *number;
            else
                unset.push_back(field.number);
        } else if (field.cap) {
            basis.*field.cap = storedNumber(value, field);
        } else if (field.choice) {
            field.choice->setFromText(basis, value.toString().toStdString());
        } else if (value.isValid()) {
            basis.*field.flag = value.toBool();
        }
    }
    // Once the rule set is known: those take their default under it.
    for (float DesignBasis::*number : unset)
        basis.*number = joist::defaultOf(number, basis);
    return basis;
}

void writeDesignBasis(SettingsFile& settings, const joist::DesignBasis& basis)
{
    const DesignBasis defaults;
    for (const joist::BasisField& field : joist::basisFields) {
        // Written under the key design files use; the earlier one goes.
        if (!field.earlierSettingsKey.empty())
            settings.remove(settingsKey(field.earlierSettingsKey));
        const QString key = settingsKey(field.key);
        // Floats as design files keep them: their shortest decimal, read back exactly.
        if (field.number && basis.*field.number != joist::defaultOf(field.number, basis))
            settings.setValue(key,
                              QString::fromStdString(joist::shortestText(basis.*field.number)));
        else if (field.cap && basis.*field.cap)
            settings.setValue(key,
                              QString::fromStdString(joist::shortestText(*(basis.*field.cap))));
        else if (field.choice && field.choice->get(basis) != field.choice->get(defaults))
            settings.setValue(key, QString::fromUtf8(field.choice->text(basis)));
        else if (field.flag && basis.*field.flag != defaults.*field.flag)
            settings.setValue(key, basis.*field.flag);
        else
            settings.remove(key);
    }
}

} // namespace document
