#pragma once

// The job header of a calculation sheet (project, job number, member,
// who calculated and checked it, revision), kept between runs with QSettings.

#include <array>

#include <QString>
#include <QStringView>

class QSettings;

namespace ui {

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

// One field of the header: its caption, its box in the details window and
// its settings key.
struct SheetDetailField
{
    const char* caption;
    const char* boxName;
    const char* key;
    QString SheetDetails::*member;
};

inline const std::array<SheetDetailField, 6> sheetDetailFields{{
    {"Project", "projectTxt", "sheetDetails/project", &SheetDetails::project},
    {"Job no.", "jobNoTxt", "sheetDetails/jobNo", &SheetDetails::jobNo},
    {"Member / location", "memberTxt", "sheetDetails/member", &SheetDetails::member},
    {"Calculated by", "calculatedByTxt", "sheetDetails/calculatedBy", &SheetDetails::calculatedBy},
    {"Checked by", "checkedByTxt", "sheetDetails/checkedBy", &SheetDetails::checkedBy},
    {"Revision", "revisionTxt", "sheetDetails/revision", &SheetDetails::revision},
}};

// What a detail may not hold, for the window and for design files alike:
// line breaks, tabs and other control characters, which the sheet's one-line
// boxes cannot show.
bool isSheetDetailControl(QChar c);

// `text` as a detail may hold it: each tab or line break a space (CR LF one),
// other control characters removed.
QString cleanSheetDetail(QStringView text);

// The stored details, cleaned as above; a missing one is empty.
SheetDetails readSheetDetails(const QSettings& settings);

// Stores one field; an empty one is removed.
void writeSheetDetail(QSettings& settings, const SheetDetailField& field, const QString& value);

} // namespace ui
