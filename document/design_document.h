#pragma once

// The design being edited as a document: the file it is kept in, whether it
// has changed since it was opened or saved, the sheet details that go into
// it, and the designs recently opened or saved. The window shows it; the
// design's inputs and basis stay with the check.

#include <optional>

#include <QString>
#include <QStringList>

#include "document/design_file.h"
#include "document/sheet_details.h"
#include "engine/design_basis.h"
#include "io/file_stamp.h"

namespace document {

class DesignDocument
{
public:
    static constexpr qsizetype recentCount = 8;

    // Recent designs are kept in `settings`, which must outlive the document.
    explicit DesignDocument(SettingsFile& settings);

    const QString& path() const { return path_; } // absolute; empty: no file in use
    bool modified() const { return modified_; }

    // The design is now the file at `path` (empty: none), as just opened or
    // saved: unmodified, and first among the recent designs. Returns whether
    // that list changed, so that the settings are written.
    bool setPath(const QString& path);

    // A change to a design that has a file; without one nothing is unsaved.
    void noteChanged();

    // Whether another program, or another window, changed the file since it
    // was opened or saved here.
    bool changedElsewhere() const;

    const SheetDetails& details() const { return details_; }
    void setDetails(const SheetDetails& details) { details_ = details; }

    // Most recent first, at most recentCount.
    QStringList recentDesigns() const;

    // Writes the design with this document's sheet details; throws
    // DesignFileError. The path is not taken over: setPath says so.
    void write(const QString& path, const DesignInputs& inputs,
               const joist::DesignBasis& basis) const;

private:
    SettingsFile& settings_;
    QString path_;
    std::optional<io::FileStamp> stamp_; // the file as last opened or saved
    bool modified_ = false;
    SheetDetails details_;
};

} // namespace document
