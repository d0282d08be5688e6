#pragma once

// The program's settings file, $XDG_CONFIG_HOME/timber-joist/timber-joist.conf,
// in the INI text QSettings has always written there (document/settings_text.h).
// Each read, the first and the one before every write, checks what stands at
// the path as every file the program opens is checked, and never blocks; a
// write goes through io::CheckedFile, so that a full disk or a size limit
// keeps the old file as it was. Nothing here needs a scratch folder.

#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QStringList>
#include <QVariant>

#include "document/settings_text.h"

namespace document {

QString programSettingsPath();

// The keys read from the file, with the changes made since. A save reads the
// file again and writes it with those changes alone, so that the keys another
// window wrote meanwhile stay, and a file that cannot be read is never
// written. When the file cannot be read at the start (a folder, a pipe, a
// device, a link to one of those, text that is not INI...), it is left alone
// for the whole run: the keys start empty and `problem()` says why, naming it.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    const QString& fileName() const { return path_; }
    // Empty while the file is in use.
    const std::string& problem() const { return problem_; }

    QVariant value(const QString& key) const { return values_.value(key); }
    bool contains(const QString& key) const { return values_.contains(key); }
    QStringList allKeys() const { return values_.keys(); }
    void setValue(const QString& key, const QVariant& value);
    // The key and every key under it ("designBasis" takes "designBasis/rules").
    void remove(const QString& key);

    // Writes the changes made so far; when they cannot be written, why in
    // words naming the file, which is kept as it was. Changes not written are
    // tried again at the next save.
    std::optional<std::string> save();

private:
    void writeChanges();

    QString path_;
    std::string problem_;
    SettingsMap values_;
    std::map<QString, std::optional<QVariant>> changes_; // nothing: removed
};

std::unique_ptr<SettingsFile> programSettings();

} // namespace document
