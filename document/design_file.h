#pragma once

// Design files (.joist): one design as a JSON object of sections, each a
// table of keys, read and written whole: the inputs, the design basis and the
// sheet details.

#include <array>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "document/sheet_details.h"
#include "engine/design_basis.h"
#include "engine/design_inputs.h"

namespace document {

inline constexpr std::string_view designFileFormat = "timber-joist design";
inline constexpr int designFileVersion = 1;
inline constexpr qint64 largestDesignFileBytes = 1 << 20;
inline constexpr std::string_view strengthClassKey = "strengthClass";
inline constexpr std::string_view startStrengthClass = "C16";

// A design file that cannot be read or written: the message names the file
// and says what is wrong.
class DesignFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A value that a section cannot take, in words naming its key.
class ValueRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One section of a design file: its name and its keys. A flag is a JSON
// true/false; a text is a JSON string, or a number typed in by hand; free
// text is a JSON string only.
struct FileSection
{
    enum class Kind { text, flag, freeText };
    struct Key
    {
        std::string name;
        Kind kind = Kind::text;
    };
    std::string_view name;
    std::vector<Key> keys;
};

// The sections this program reads and writes, in file order.
std::span<const FileSection> designFileSections();

// A section's values as the file holds them, by key; a flag as "true" or
// "false". Keys the file lacks are absent: each takes its default.
using SectionValues = std::map<std::string, std::string, std::less<>>;

// One design's inputs as texts with "." as decimal separator, by joist::Input
// (empty for the strength-class values, which come from the table), and the
// strength class by name. Each text is a number, and a list's text is one of
// its items; as read from a file, the material's input (gamma M) may be empty
// until settleMaterialInput gives it the class's.
struct DesignInputs
{
    std::array<std::string, joist::inputDefinitions.size()> texts;
    std::string strengthClass;

    friend bool operator==(const DesignInputs&, const DesignInputs&) = default;
};

// The start-up values.
DesignInputs startInputs();

// The inputs from the keys of the inputs section (design file or schedule
// row); a missing key takes its start value, but the material's input is
// left empty. Its value may be one that a class of any material is offered.
// Throws ValueRefused.
DesignInputs inputsFromValues(const SectionValues& values, const joist::DesignBasis& basis = {});

// One input's number from its text in a design file or schedule row: "." as
// decimal separator, and for a list one of its items, for a class of
// `material` (of any, when not given). Throws ValueRefused.
float inputValue(joist::Input input, std::string_view text, const joist::DesignBasis& basis = {},
                 std::optional<joist::Material> material = std::nullopt);

// Once the class is known: the material's input the file left empty takes
// the class's material's value, and one it gave must be offered for that
// material, as the window's list offers it. Throws ValueRefused.
void settleMaterialInput(DesignInputs& inputs, const joist::DesignBasis& basis,
                         joist::Material material);

// A strength class name a list can show. Throws ValueRefused.
std::string_view checkedClassName(std::string_view name);

// The basis from the keys of the design basis section (design file or
// schedule row): each number positive, a cap empty for none, a flag "true" or
// "false"; a missing key takes its default. Throws ValueRefused.
joist::DesignBasis basisFromValues(const SectionValues& values);

// The sheet details from the keys of their section: each a text a box can
// show; a missing key is empty. Throws ValueRefused.
SheetDetails detailsFromValues(const SectionValues& values);

// What a design file holds that this program uses, and the keys it ignored,
// each named once ("units", "inputs.colour").
struct DesignFile
{
    DesignInputs inputs;
    joist::DesignBasis basis;
    SheetDetails details;
    std::vector<std::string> ignoredKeys;
};

// Reads and checks a whole design file; throws DesignFileError. Whether the
// strength class is in the table is the caller's to check.
DesignFile readDesignFile(const QString& path);
DesignFile parseDesignFile(const QString& path, const QByteArray& bytes);

// Writes through QSaveFile: the old file stays whole unless the new one is
// complete. Throws DesignFileError.
void writeDesignFile(const QString& path, const DesignInputs& inputs,
                     const joist::DesignBasis& basis, const SheetDetails& details = {});
QByteArray designFileBytes(const DesignInputs& inputs, const joist::DesignBasis& basis,
                           const SheetDetails& details = {});

// "Cannot open the design \"<path>\": <reason>."
std::string openFailure(const QString& path, std::string_view reason);

} // namespace document
