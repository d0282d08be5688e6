#include "document/design_document.h"

#include <QFileInfo>

#include "document/settings_file.h"

namespace document {
namespace {

const QString recentKey = QStringLiteral("recentDesigns");

} // namespace

DesignDocument::DesignDocument(SettingsFile& settings) : settings_(settings) {}

bool DesignDocument::setPath(const QString& path)
{
    path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    stamp_ = path_.isEmpty() ? std::nullopt : io::stampOf(path_);
    modified_ = false;
    if (path_.isEmpty())
        return false;
    const QStringList old = recentDesigns();
    QStringList paths = old;
    paths.removeAll(path_);
    paths.prepend(path_);
    paths = paths.mid(0, recentCount);
    if (paths == old)
        return false;
    // Written only when it changes.
    settings_.setValue(recentKey, paths);
    return true;
}

void DesignDocument::noteChanged()
{
    if (!path_.isEmpty())
        modified_ = true;
}

bool DesignDocument::changedElsewhere() const
{
    if (!stamp_)
        return false;
    const std::optional<io::FileStamp> now = io::stampOf(path_);
    return now && *now != *stamp_;
}

QStringList DesignDocument::recentDesigns() const
{
    return settings_.value(recentKey).toStringList().mid(0, recentCount);
}

void DesignDocument::write(const QString& path, const DesignInputs& inputs,
                           const joist::DesignBasis& basis) const
{
    writeDesignFile(path, inputs, basis, details_);
}

} // namespace document
