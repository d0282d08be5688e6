#include "document/design_file.h"

#include <algorithm>
#include <charconv>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include "engine/basis_value.h"
#include "engine/design_inputs.h"
#include "engine/list_offers.h"
#include "engine/number_text.h"
#include "io/checked_file.h"
#include "io/display_text.h"
#include "io/regular_file.h"
#include "report/design_basis_texts.h"

namespace document {
namespace {

using joist::DesignBasis;

constexpr std::string_view inputsSection = "inputs";
constexpr std::string_view basisSection = "designBasis";
constexpr std::string_view detailsSection = "sheetDetails";
// What a QLineEdit holds by default; the command line has no widgets to ask.
constexpr qsizetype longestText = 32767;

using BasisKey = joist::BasisField;
constexpr const auto& basisKeys = joist::basisFields;

// A sheet detail's key in the file: its settings key without the group.
std::string_view detailKey(const SheetDetailField& field)
{
    const std::string_view key = field.key;
    return key.substr(key.rfind('/') + 1);
}

std::vector<FileSection> makeSections()
{
    FileSection inputs{inputsSection, {}};
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.key.empty())
            inputs.keys.push_back({std::string(row.key)});
    }
    inputs.keys.push_back({std::string(strengthClassKey)});
    FileSection basis{basisSection, {}};
    for (const BasisKey& key : basisKeys)
        basis.keys.push_back(
            {std::string(key.key), key.flag ? FileSection::Kind::flag : FileSection::Kind::text});
    FileSection details{detailsSection, {}};
    for (const SheetDetailField& field : sheetDetailFields)
        details.keys.push_back({std::string(detailKey(field)), FileSection::Kind::freeText});
    return {inputs, basis, details};
}

const std::vector<FileSection>& sections()
{
    static const std::vector<FileSection> table = makeSections();
    return table;
}

std::string inQuotes(std::string_view text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string startText(const joist::InputFacts& row)
{
    return std::string(row.startValue.empty() ? row.designText : row.startValue);
}

// Each list's items: number and design text, read once.
using ListItems = std::vector<std::pair<float, std::string_view>>;
const ListItems& listItems(const joist::InputFacts& row)
{
    static const auto lists = [] {
        std::array<ListItems, joist::inputDefinitions.size()> all;
        for (const joist::InputFacts& list : joist::inputFacts()) {
            std::string_view rest = list.designText;
            while (list.entry == joist::InputEntry::list && !rest.empty()) {
                const std::size_t end = std::min(rest.find('|'), rest.size());
                const std::string_view item = rest.substr(0, end);
                all[static_cast<std::size_t>(list.input)].emplace_back(
                    joist::parseNumber(item, ".").value_or(0), item);
                rest.remove_prefix(std::min(end + 1, rest.size()));
            }
        }
        return all;
    }();
    return lists[static_cast<std::size_t>(row.input)];
}

// Texts a text box or list cannot show: line breaks and other control
// characters, or more than a box holds.
void requireShowable(std::string_view key, std::string_view text)
{
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        throw ValueRefused(inQuotes(key) + " holds a line break or another control character");
    // Beyond three bytes a character the text is too long, uncounted: a long
    // text is not copied to be counted.
    if (text.size() > std::size_t(longestText) &&
        (text.size() > 3 * std::size_t(longestText) ||
         QString::fromUtf8(text.data(), qsizetype(text.size())).size() > longestText))
        throw ValueRefused(inQuotes(key) + " holds a text too long for its box");
}

// One input's text checked: a number, and for a list the item it equals.
struct CheckedInput
{
    std::string_view text; // for a list, its item
    float value;
};
// What would offer a value a list refuses, in the file's words:
// "; "sizes": "extended" offers it", "; a glulam class offers it"; empty
// when nothing would. One choice changed where one does, else two.
std::string offeredBy(joist::Input input, float value, const DesignBasis& basis,
                      std::optional<joist::Material> material)
{
    const auto choiceText = [](const joist::ChoiceSetting& set) {
        return inQuotes(set.field->choice->texts[set.value]);
    };
    // Offers that differ only in the last choice's value read as one:
    // "serviceClass": "1" or "2".
    const auto sameButLastValue = [](const joist::ListOffer& a, const joist::ListOffer& b) {
        if (a.settings.empty() || a.settings.size() != b.settings.size())
            return false;
        for (std::size_t i = 0; i < a.settings.size(); ++i)
            if (a.settings[i].field != b.settings[i].field ||
                (i + 1 < a.settings.size() && a.settings[i].value != b.settings[i].value))
                return false;
        return true;
    };
    std::string text;
    const joist::ListOffer* last = nullptr;
    for (const joist::ListOffer& offer : joist::otherOffers(input, basis, material, 2)) {
        if (std::none_of(offer.items.begin(), offer.items.end(), [value](std::string_view item) {
                return joist::parseNumber(item, ".") == value;
            }))
            continue;
        if (last && sameButLastValue(*last, offer)) {
            text += " or " + choiceText(offer.settings.back());
        } else {
            text += text.empty() ? "" : " or ";
            if (offer.material)
                text += "a " + std::string(joist::materialText(*offer.material)) + " class";
            for (const joist::ChoiceSetting& set : offer.settings)
                text += (&set == &offer.settings.front() ? "" : " with ") +
                        inQuotes(set.field->key) + ": " + choiceText(set);
        }
        last = &offer;
    }
    return text.empty() ? text : "; " + text + " offers it";
}

CheckedInput checkedInput(const joist::InputFacts& row, std::string_view text,
                          const DesignBasis& basis, std::optional<joist::Material> material)
{
    requireShowable(row.key, text);
    const joist::NumberReading reading = joist::readNumber(text, ".");
    if (!reading.value) {
        const char* why = reading.problem == joist::NumberProblem::empty ? ", which is empty"
                          : reading.problem == joist::NumberProblem::outOfRange
                              ? ", a number beyond single precision"
                              : ", which is not a number written with \".\" as decimal separator";
        throw ValueRefused(inQuotes(row.key) + " holds " + inQuotes(text) + why);
    }
    if (row.entry != joist::InputEntry::list)
        return {text, *reading.value};
    for (const auto& [value, item] : listItems(row)) {
        if (value == *reading.value)
            return {item, value};
    }
    const std::vector<std::string_view> extra = joist::offeredItems(row.input, basis, material);
    for (const std::string_view item : extra)
        if (joist::parseNumber(item, ".") == *reading.value)
            return {item, *reading.value};
    std::string choices;
    for (const auto& [value, item] : listItems(row))
        choices += (choices.empty() ? "" : ", ") + std::string(item);
    for (const std::string_view item : extra)
        choices += ", " + std::string(item);
    throw ValueRefused(inQuotes(row.key) + " holds " + inQuotes(text) +
                       ", which its list does not offer (" + choices + ")" +
                       offeredBy(row.input, *reading.value, basis, material));
}

std::string choiceList(const joist::BasisChoice& choice)
{
    std::string list;
    for (const std::string_view text : choice.texts)
        list += (list.empty() ? "" : ", ") + inQuotes(text);
    return list;
}

// A value of the basis by the rule the window, settings and schedules share;
// refused in the file's words.
joist::BasisValue checkedBasisValue(const BasisKey& key, std::string_view text)
{
    using enum joist::BasisValueProblem;
    if (key.number || key.cap)
        requireShowable(key.key, text);
    const joist::BasisValue value = joist::readBasisValue(key, text, ".");
    if (value.accepted())
        return value;
    std::string why;
    switch (value.problem) {
    case notTrueOrFalse:
        why = "neither true nor false";
        break;
    case notOffered:
        why = "not one of " + choiceList(*key.choice);
        break;
    case outOfRange:
        why = "not a number " + report::rangeText(*joist::rangeOf(key), key.unit, ".");
        break;
    case none: // accepted above
    case empty:
    case notANumber:
    case beyondPrecision:
    case notPositive:
        why = "not a positive number written with \".\" as decimal separator";
        break;
    }
    throw ValueRefused(inQuotes(key.key) + " holds " + inQuotes(text) + ", which is " + why +
                       (key.cap ? " (leave it empty for no cap)" : ""));
}

SectionValues basisValues(const DesignBasis& basis)
{
    SectionValues values;
    for (const BasisKey& key : basisKeys) {
        std::string& text = values[std::string(key.key)];
        if (key.number)
            text = joist::shortestText(basis.*key.number);
        else if (key.cap)
            text = (basis.*key.cap) ? joist::shortestText(*(basis.*key.cap)) : std::string();
        else if (key.choice)
            text = key.choice->text(basis);
        else
            text = basis.*key.flag ? "true" : "false";
    }
    return values;
}

SectionValues detailsValues(const SheetDetails& details)
{
    SectionValues values;
    for (const SheetDetailField& field : sheetDetailFields)
        values[std::string(detailKey(field))] = (details.*field.member).toStdString();
    return values;
}

QJsonObject sectionObject(const FileSection& section, const SectionValues& values)
{
    QJsonObject object;
    for (const FileSection::Key& key : section.keys) {
        const auto value = values.find(key.name);
        if (value == values.end())
            continue;
        const QString name = QString::fromUtf8(key.name);
        if (key.kind == FileSection::Kind::flag)
            object.insert(name, value->second == "true");
        else
            object.insert(name, QString::fromUtf8(value->second));
    }
    return object;
}

// A section's values; keys it does not know go to `ignored`.
SectionValues sectionValues(const FileSection& section, const QJsonObject& object,
                            std::vector<std::string>& ignored)
{
    SectionValues values;
    for (auto member = object.begin(); member != object.end(); ++member) {
        const std::string name = member.key().toStdString();
        const auto key = std::find_if(section.keys.begin(), section.keys.end(),
                                      [&](const FileSection::Key& k) { return k.name == name; });
        if (key == section.keys.end()) {
            ignored.push_back(std::string(section.name) + "." + name);
            continue;
        }
        const QJsonValue value = member.value();
        const std::string where = inQuotes(std::string(section.name) + "." + name);
        if (key->kind == FileSection::Kind::flag) {
            if (!value.isBool())
                throw ValueRefused(where + " is neither true nor false");
            values[name] = value.toBool() ? "true" : "false";
        } else if (key->kind == FileSection::Kind::freeText && !value.isString()) {
            throw ValueRefused(where + " is not a text in double quotes");
        } else if (value.isString()) {
            values[name] = value.toString().toStdString();
        } else if (value.isDouble()) {
            // A number typed into the file by hand: its shortest exact text.
            values[name] = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                               .toStdString();
        } else {
            throw ValueRefused(where + " is neither a text nor a number");
        }
    }
    return values;
}

} // namespace

std::span<const FileSection> designFileSections()
{
    return sections();
}

std::string openFailure(const QString& path, std::string_view reason)
{
    return "Cannot open the design \"" + QDir::toNativeSeparators(path).toStdString() +
           "\": " + std::string(reason) + ".";
}

float inputValue(joist::Input input, std::string_view text, const DesignBasis& basis,
                 std::optional<joist::Material> material)
{
    return checkedInput(joist::factsOf(input), text, basis, material).value;
}

void settleMaterialInput(DesignInputs& inputs, const DesignBasis& basis, joist::Material material)
{
    std::string& text = inputs.texts[static_cast<std::size_t>(joist::materialInput)];
    if (text.empty())
        text = joist::materialStartValue(material);
    else
        inputValue(joist::materialInput, text, basis, material);
}

std::string_view checkedClassName(std::string_view name)
{
    requireShowable(strengthClassKey, name);
    return name;
}

DesignInputs startInputs()
{
    DesignInputs inputs;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.key.empty())
            inputs.texts[static_cast<std::size_t>(row.input)] = startText(row);
    }
    inputs.strengthClass = startStrengthClass;
    return inputs;
}

DesignInputs inputsFromValues(const SectionValues& values, const DesignBasis& basis)
{
    DesignInputs inputs;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (row.key.empty())
            continue;
        const auto value = values.find(row.key);
        inputs.texts[static_cast<std::size_t>(row.input)] =
            value != values.end()
                ? std::string(checkedInput(row, value->second, basis, std::nullopt).text)
            : row.input == joist::materialInput ? std::string() // the class's, once known
                                                : startText(row);
    }
    const auto name = values.find(strengthClassKey);
    inputs.strengthClass =
        checkedClassName(name == values.end() ? startStrengthClass : name->second);
    return inputs;
}

DesignBasis basisFromValues(const SectionValues& values)
{
    DesignBasis basis;
    for (const BasisKey& key : basisKeys) {
        const auto value = values.find(key.key);
        if (value == values.end())
            continue;
        joist::setBasisValue(basis, key, checkedBasisValue(key, value->second));
    }
    // Once the rule set is known: a number not given takes its default under it.
    for (const BasisKey& key : basisKeys)
        if (key.number && !values.contains(key.key))
            basis.*key.number = joist::defaultOf(key.number, basis);
    return basis;
}

SheetDetails detailsFromValues(const SectionValues& values)
{
    SheetDetails details;
    for (const SheetDetailField& field : sheetDetailFields) {
        const std::string_view key = detailKey(field);
        const auto value = values.find(key);
        if (value == values.end())
            continue;
        requireShowable(key, value->second);
        // Free text may also hold the controls and line breaks beyond ASCII.
        const QString text = QString::fromUtf8(value->second);
        if (std::any_of(text.begin(), text.end(), isSheetDetailControl))
            throw ValueRefused(inQuotes(key) + " holds a line break or another control character");
        if (text.size() > longestSheetDetail)
            throw ValueRefused(inQuotes(key) + " holds more than " +
                               std::to_string(longestSheetDetail) +
                               " characters, more than the sheet's header shows");
        details.*field.member = text;
    }
    return details;
}

DesignFile parseDesignFile(const QString& path, const QByteArray& bytes)
{
    auto refuse = [&path](std::string_view reason) {
        return DesignFileError(openFailure(path, reason));
    };
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw refuse("it is not valid JSON (" + error.errorString().toStdString() + " at byte " +
                     std::to_string(error.offset) + ")");
    const QJsonObject root = document.object();
    if (!document.isObject() ||
        root.value(QStringLiteral("format")).toString().toStdString() != designFileFormat)
        throw refuse("it is not a timber-joist design file (its \"format\" is not \"" +
                     std::string(designFileFormat) + "\")");
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != designFileVersion)
        throw refuse("it is a design file of version " +
                     (version.isDouble() ? QString::number(version.toDouble()).toStdString()
                                         : std::string("(none)")) +
                     ", and this program reads version " + std::to_string(designFileVersion));

    DesignFile file;
    std::map<std::string_view, SectionValues> read;
    for (auto member = root.begin(); member != root.end(); ++member) {
        const std::string name = member.key().toStdString();
        if (name == "format" || name == "version")
            continue;
        const auto section = std::find_if(sections().begin(), sections().end(),
                                          [&](const FileSection& s) { return s.name == name; });
        if (section == sections().end()) {
            file.ignoredKeys.push_back(name);
            continue;
        }
        if (!member.value().isObject())
            throw refuse(inQuotes(name) + " is not a JSON object");
        try {
            read[section->name] =
                sectionValues(*section, member.value().toObject(), file.ignoredKeys);
        } catch (const ValueRefused& refused) {
            throw refuse(refused.what());
        }
    }
    try {
        // The basis first: it decides what the lists offer.
        file.basis = basisFromValues(read[basisSection]);
        file.inputs = inputsFromValues(read[inputsSection], file.basis);
        file.details = detailsFromValues(read[detailsSection]);
    } catch (const ValueRefused& refused) {
        throw refuse(refused.what());
    }
    return file;
}

DesignFile readDesignFile(const QString& path)
{
    QByteArray bytes;
    try {
        bytes = io::readRegularFile(path, largestDesignFileBytes, "1 MiB");
    } catch (const io::FileRefused& refused) {
        throw DesignFileError(openFailure(path, refused.what()));
    }
    return parseDesignFile(path, bytes);
}

QByteArray designFileBytes(const DesignInputs& inputs, const DesignBasis& basis,
                           const SheetDetails& details)
{
    SectionValues values;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.key.empty())
            values[std::string(row.key)] = inputs.texts[static_cast<std::size_t>(row.input)];
    }
    values[std::string(strengthClassKey)] = inputs.strengthClass;

    QJsonObject root;
    // By section, in file order.
    const SectionValues byKey[] = {values, basisValues(basis), detailsValues(details)};
    for (std::size_t i = 0; i < std::size(byKey); ++i) {
        const std::string_view name = sections()[i].name;
        root.insert(QString::fromUtf8(name.data(), qsizetype(name.size())),
                    sectionObject(sections()[i], byKey[i]));
    }
    // The format and version first, where a file manager's content match
    // looks: Qt writes the keys sorted.
    QJsonObject head;
    head.insert(QStringLiteral("format"),
                QString::fromUtf8(designFileFormat.data(), qsizetype(designFileFormat.size())));
    const QByteArray format = QJsonDocument(head).toJson(QJsonDocument::Indented);
    const QByteArray body = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return format.first(format.size() - 3) +
           ",\n    \"version\": " + QByteArray::number(designFileVersion) + ",\n" + body.sliced(2);
}

void writeDesignFile(const QString& path, const DesignInputs& inputs, const DesignBasis& basis,
                     const SheetDetails& details)
{
    try {
        const QByteArray bytes = designFileBytes(inputs, basis, details);
        io::writeWholeFile(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const io::WriteFailed& failed) {
        throw DesignFileError(
            "Cannot save the design \"" +
            io::displayText(QDir::toNativeSeparators(path), io::DisplayUse::message).toStdString() +
            "\": " + failed.what() + ".");
    }
}

} // namespace document
