#pragma once

// The job header of a calculation sheet (project, job number, member,
// who calculated and checked it, revision). The details in force belong to the
// design being edited; the user's defaults for new designs are kept in
// the settings file, without member and revision, which name one member only.

#include <array>

#include <QString>
#include <QStringView>

namespace document {

class SettingsFile;

struct SheetDetails
{
    QString project;
    QString jobNo;
    QString member;
    QString calculatedBy;
    QString checkedBy;
    QString revision;

    friend bool operator==(const SheetDetails&, const SheetDetails&) = default;
};

// One field of the header: its caption, its box in the details window, its
// settings key (also its design-file key, without the group) and whether it
// belongs to one design only, never a default for new ones.
struct SheetDetailField
{
    const char* caption;
    const char* boxName;
    const char* key;
    QString SheetDetails::*member;
    bool designOnly;
};

inline const std::array<SheetDetailField, 6> sheetDetailFields{{
    {"Project", "projectTxt", "sheetDetails/project", &SheetDetails::project, false},
    {"Job no.", "jobNoTxt", "sheetDetails/jobNo", &SheetDetails::jobNo, false},
    {"Member / location", "memberTxt", "sheetDetails/member", &SheetDetails::member, true},
    {"Calculated by", "calculatedByTxt", "sheetDetails/calculatedBy", &SheetDetails::calculatedBy,
     false},
    {"Checked by", "checkedByTxt", "sheetDetails/checkedBy", &SheetDetails::checkedBy, false},
    {"Revision", "revisionTxt", "sheetDetails/revision", &SheetDetails::revision, true},
}};

// The most characters a detail holds: the sheet's header shows each whole,
// wrapped over a few lines of its box, and keeps to its page.
inline constexpr qsizetype longestSheetDetail = 200;

// What a detail may not hold, for the window and for design files alike:
// line breaks, tabs and other control characters, which the sheet's one-line
// boxes cannot show.
bool isSheetDetailControl(QChar c);

// `text` as a detail may hold it: each tab or line break a space (CR LF one),
// other control characters removed.
QString cleanSheetDetail(QStringView text);

// `details` as a default for new designs: the design-only fields empty.
SheetDetails defaultPart(SheetDetails details);

// The user's defaults for new designs, cleaned as above; a missing one, and
// every design-only one (an earlier version kept them), is empty.
SheetDetails readDefaultSheetDetails(const SettingsFile& settings);

// Stores the default part of `details` as the defaults for new designs; an
// empty field, and every design-only one, is removed.
void writeDefaultSheetDetails(SettingsFile& settings, const SheetDetails& details);

} // namespace document
