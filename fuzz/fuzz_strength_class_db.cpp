// The strength-class database opened from fuzzed file bytes.
//
// Input: the bytes of ZU5ZO.mdb. They are written into a directory of this
// process's own, and the main window's sequences run on it with its six bound
// labels: the listing, selections of a few rows, reading the design values
// from the labels and the selection of "C16"; then the material data window's
// connection, with its thirteen bound labels, is positioned on a selected row
// and every field it reads of that row is read. Which rows, and the decimal
// separator, follow from a hash of the bytes.
//
// Invariants: nothing crashes; every failure is a materials::DatabaseError
// whose message names the file's path, and nothing else is thrown; a
// connection that failed to open shows empty labels; the list holds one
// entry per row; a selection stands on the row at its index and shows that
// row's class name, and both windows' labels show the same values for it;
// a selection without a row is refused and moves nothing; two reads of one
// unchanged file agree.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <string_view>

#include "engine/number_text.h"
#include "fuzz/fuzz_check.h"
#include "materials/strength_class_fields.h"
#include "materials/strength_class_sequences.h"
#include "tests/materials_fixtures.h"

namespace {

using fuzzing::escaped;
using fuzzing::fail;
using materials::DatabaseError;
using materials::StrengthClassConnection;

// The labels each window binds: field names only; what they show is kept by
// field name.
constexpr std::array<std::string_view, 6> mainWindowFields{"fm,k", "fc,0,k",  "fc,90,k",
                                                           "fv,k", "E0,mean", "rmean"};

struct BoundLabels
{
    std::map<std::string, std::string, std::less<>> texts;

    template <std::size_t N>
    void bindTo(StrengthClassConnection& connection, const std::array<std::string_view, N>& fields)
    {
        for (const std::string_view field : fields) {
            texts[std::string(field)] = "never shown";
            connection.bind(
                std::string(field),
                [this, name = std::string(field)](const std::string& text) { texts[name] = text; });
        }
    }
    bool allEmpty() const
    {
        for (const auto& [field, text] : texts) {
            if (!text.empty())
                return false;
        }
        return true;
    }
};

std::array<std::string_view, 13> dataWindowFields()
{
    std::array<std::string_view, 13> fields{materials::classFieldName};
    std::copy(materials::propertyFieldNames.begin(), materials::propertyFieldNames.end(),
              fields.begin() + 1);
    return fields;
}

const materials::testing::TemporaryDirectory& directory()
{
    static const materials::testing::TemporaryDirectory made;
    return made;
}

void checkError(const DatabaseError& error, const std::string& path, std::string_view during)
{
    const std::string_view message = error.what();
    FUZZ_REQUIRE(!message.empty(), "a database error has no message", during);
    FUZZ_REQUIRE(message.find(path) != std::string_view::npos,
                 "a database error does not name the file",
                 std::string(during) + ": " + escaped(message));
}

// What the bound label of a field shows on the connection's current row.
std::string fieldTextNow(const StrengthClassConnection& connection, std::string_view field)
{
    return materials::fieldText(connection.fieldValue(field), connection.decimalSeparator())
        .value_or(std::string());
}

// The design inputs the main window reads from its labels, as readInputs would.
void readDesignValues(const StrengthClassConnection& connection, const BoundLabels& labels,
                      const std::string& path)
{
    for (const std::string_view field : materials::testing::designFieldNames) {
        const std::string& text = labels.texts.find(field)->second;
        if (joist::parseNumber(text, connection.decimalSeparator()))
            continue;
        const DatabaseError error = materials::nonNumericFieldError(connection, field);
        FUZZ_REQUIRE(error.kind() == materials::DatabaseErrorKind::nonNumericValue,
                     "a label that is not a number is reported as another error",
                     std::string(field) + " shows " + escaped(text) + ": " + escaped(error.what()));
        checkError(error, path, "reading a design value");
    }
}

struct MainWindow
{
    explicit MainWindow(std::string separator) : connection(std::move(separator))
    {
        labels.bindTo(connection, mainWindowFields);
    }
    StrengthClassConnection connection;
    BoundLabels labels;
    materials::testing::FakeClassList list;
    materials::testing::FakeLabel classLabel;
};

void checkSelection(MainWindow& window, int index, const std::string& path)
{
    const std::int32_t count = window.connection.recordCount();
    const std::int32_t rowBefore = window.connection.currentRow();
    const std::string classBefore = window.classLabel.text;
    const auto labelsBefore = window.labels.texts;
    window.list.selected = index;
    try {
        materials::selectStrengthClass(window.connection, window.list, window.classLabel);
    } catch (const DatabaseError& error) {
        checkError(error, path, "selecting a class");
        FUZZ_REQUIRE(index < 0 || index >= count, "a selection of an existing row failed",
                     escaped(error.what()));
        FUZZ_REQUIRE(window.connection.currentRow() == rowBefore &&
                         window.classLabel.text == classBefore &&
                         window.labels.texts == labelsBefore,
                     "a refused selection moved the cursor or changed a label");
        return;
    }
    FUZZ_REQUIRE(index >= 0 && index < count, "a selection without a row succeeded",
                 std::to_string(index) + " of " + std::to_string(count));
    FUZZ_REQUIRE(window.connection.currentRow() == index,
                 "a selection does not stand on the row at its index");
    FUZZ_REQUIRE(window.classLabel.text == window.list.entries[static_cast<std::size_t>(index)],
                 "a selection shows another class name than its list entry",
                 escaped(window.classLabel.text));
    for (const std::string_view field : mainWindowFields)
        FUZZ_REQUIRE(window.labels.texts.find(field)->second ==
                         fieldTextNow(window.connection, field),
                     "a bound label does not show its field of the selected row", field);
    readDesignValues(window.connection, window.labels, path);
}

void checkDataWindow(const MainWindow& window, int index, const std::string& path)
{
    StrengthClassConnection connection(window.connection.decimalSeparator());
    BoundLabels labels;
    labels.bindTo(connection, dataWindowFields());
    const bool rowExists = index >= 0 && index < window.connection.recordCount();
    try {
        materials::positionOnSelectedClass(connection, path, index);
    } catch (const DatabaseError& error) {
        // It reads more fields than the main window, so it may also find
        // fault with the file where the main window did not.
        checkError(error, path, "positioning the material data window");
        FUZZ_REQUIRE(
            !connection.isOpen() ||
                (!rowExists && error.kind() == materials::DatabaseErrorKind::selectedRowMissing),
            "positioning on an open table failed other than for a missing row",
            escaped(error.what()));
        return;
    }
    FUZZ_REQUIRE(rowExists, "the material data window stands on a row that does not exist",
                 std::to_string(index));
    FUZZ_REQUIRE(!connection.changesSince(window.connection),
                 "two reads of one unchanged file differ");
    FUZZ_REQUIRE(labels.texts.find(materials::classFieldName)->second ==
                     window.list.entries[static_cast<std::size_t>(index)],
                 "the material data window shows another class than the list entry");
    for (const std::string_view field : dataWindowFields())
        FUZZ_REQUIRE(labels.texts.find(field)->second == fieldTextNow(connection, field),
                     "a material data label does not show its field", field);
    if (window.connection.currentRow() == index) {
        for (const std::string_view field : mainWindowFields)
            FUZZ_REQUIRE(labels.texts.find(field)->second ==
                             window.labels.texts.find(field)->second,
                         "the two windows show different values for one row", field);
    }
    for (int position = 0; position < 16; ++position) {
        try {
            materials::fieldText(connection.fieldValue(position), connection.decimalSeparator());
        } catch (const DatabaseError& error) {
            FUZZ_REQUIRE(position != materials::classFieldPosition &&
                             error.kind() == materials::DatabaseErrorKind::fieldMissing,
                         "a field the connection reads cannot be read by position",
                         escaped(error.what()));
        }
    }
}

void run(const std::string& path, std::uint64_t hash)
{
    MainWindow window(hash & 1 ? "," : ".");
    try {
        materials::fillStrengthClassList(window.connection, window.list, path);
    } catch (const DatabaseError& error) {
        checkError(error, path, "listing the classes");
        if (!window.connection.isOpen())
            FUZZ_REQUIRE(window.labels.allEmpty(), "a connection that failed to open shows values",
                         escaped(error.what()));
        return;
    }
    const std::int32_t count = window.connection.recordCount();
    FUZZ_REQUIRE(count > 0 && window.list.entries.size() == static_cast<std::size_t>(count),
                 "the list does not hold one entry per row");
    FUZZ_REQUIRE(window.connection.currentRow() == count,
                 "after the listing the cursor is not after the end");

    // The first, the last and one from the hash, which may lie outside the
    // table; then "C16", as at start-up.
    const int hashed = static_cast<int>((hash >> 1) % static_cast<std::uint64_t>(count + 2)) - 1;
    for (const int index : {0, count - 1, hashed})
        checkSelection(window, index, path);
    const auto c16 = std::find(window.list.entries.begin(), window.list.entries.end(), "C16");
    if (c16 != window.list.entries.end())
        checkSelection(window, static_cast<int>(c16 - window.list.entries.begin()), path);

    checkDataWindow(window, hashed, path);

    materials::closeDatabase(window.connection);
    const DatabaseError closed = materials::nonNumericFieldError(window.connection, "fm,k");
    checkError(closed, path, "reading a closed connection");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = materials::databasePath(directory().path());
    // A new file each time: truncating one in place makes some file systems
    // write it out to disk at once.
    std::remove(path.c_str());
    materials::testing::writeFile(path,
                                  std::string_view(reinterpret_cast<const char*>(data), size));

    std::uint64_t hash = 14695981039346656037u; // FNV-1a
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 1099511628211u;

    try {
        run(path, hash);
    } catch (const DatabaseError& error) {
        fail("a database error escaped where the sequences cannot fail", error.what());
    } catch (const std::exception& error) {
        fail("something other than a DatabaseError was thrown", error.what());
    } catch (...) {
        fail("something other than an exception was thrown");
    }
    return 0;
}
