#pragma once

// How the windows list, select and show the classes: filling the class list,
// moving to the selected class, closing the table.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "materials/database_error.h"
#include "materials/program_directory.h"
#include "materials/strength_class_connection.h"

namespace materials {

// The main window's class list, as the sequences see it.
class ClassList
{
public:
    virtual ~ClassList() = default;
    virtual void clear() = 0;
    virtual void append(const std::string& text) = 0;
    virtual int selectedIndex() const = 0; // -1 when nothing is selected
};

class ClassNameLabel
{
public:
    virtual ~ClassNameLabel() = default;
    virtual void setText(const std::string& text) = 0;
};

// A list and label that only keep the names, for reading a table without a
// window; `selected` is the row to move to.
class CollectedNames : public ClassList, public ClassNameLabel
{
public:
    void clear() override { names.clear(); }
    void append(const std::string& text) override { names.push_back(text); }
    int selectedIndex() const override { return selected; }
    void setText(const std::string&) override {}

    std::vector<std::string> names;
    int selected = -1;
};

// Clears the list, opens the connection on `path` and appends the class name
// of every row in stored order. Afterwards the cursor stands after the last
// row. Throws DatabaseError: emptyTable, tooManyRows beyond 32,766 rows,
// missingClassName for a row whose class name is null, or any failure to open.
void fillStrengthClassList(StrengthClassConnection& connection, ClassList& list,
                           const std::string& path);

// Puts the cursor on the row at the list's selected index, found by position
// alone, and shows that row's class name in the label. The caller then reads
// the inputs and recalculates. Throws DatabaseError; with no entry selected,
// or one beyond the table, nothing moves.
void selectStrengthClass(StrengthClassConnection& connection, const ClassList& list,
                         ClassNameLabel& classLabel);

// The material data window's load: sets the path, opens, moves to the first
// row and on by the main window's selected index. Throws DatabaseError
// (selectedRowMissing) when the table has no row at that index, as when the
// file has changed since the main window listed it.
void positionOnSelectedClass(StrengthClassConnection& connection, const std::string& path,
                             int selectedIndex);

void closeDatabase(StrengthClassConnection& connection);

// The class names of the table at `path` in stored order, as the class list
// would hold them. Throws DatabaseError as fillStrengthClassList does.
std::vector<std::string> classNames(const std::string& path);

// A design knows its class by name alone, compared exactly, so a name that a
// table's class names (in stored order, as classNames gives them) hold more
// than once finds no class: the error that names it and its rows, or none.
std::optional<DatabaseError> classNamedTwice(const std::vector<std::string>& names,
                                             std::string_view name, const std::string& path);
// The first name repeated in `names`, as that error, or none.
std::optional<DatabaseError> anyClassNamedTwice(const std::vector<std::string>& names,
                                                const std::string& path);

// The error to report when the bound text of a design field ("fm,k",
// "fc,90,k", "fv,k", "E0,mean", "rmean") of the current row is not a number
// the design can read: it names the file, the row by position and class name,
// the field and what it holds.
DatabaseError nonNumericFieldError(const StrengthClassConnection& connection,
                                   std::string_view fieldName);

} // namespace materials
