#include "document/settings_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "io/checked_file.h"
#include "io/regular_file.h"

namespace document {
namespace {

constexpr qint64 largestSettingsBytes = 1 << 20;
// Another window holds the lock only while it writes the file.
constexpr int lockWaitMs = 2000;

std::string quoted(const QString& path)
{
    std::string text(1, '"');
    text += QDir::toNativeSeparators(path).toStdString();
    text += '"';
    return text;
}

[[noreturn]] void refuse(const std::string& reason)
{
    throw io::FileRefused(reason);
}

// The keys of the file at `path`, or nothing when there is none. Throws
// io::FileRefused for what cannot be read as settings.
std::optional<SettingsMap> readSettingsFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        refuse(std::string("it cannot be examined (") + std::strerror(errno) + ")");
    }
    if (S_ISLNK(status.st_mode) && ::stat(name.constData(), &status) != 0)
        refuse(std::string("it is a link to nothing that can be read (") + std::strerror(errno) +
               ")");
    return readSettingsText(io::readRegularFile(path, largestSettingsBytes, "1 MiB"));
}

// The lock earlier versions (through QSettings) take while they write the
// file, taken here too so that neither writes over the other's keys. What
// stands at its name is looked at first: QLockFile would read a pipe there.
std::unique_ptr<QLockFile> lockSettingsFile(const QString& path)
{
    const QString name = path + QStringLiteral(".lock");
    struct stat status = {};
    if (::lstat(QFile::encodeName(name).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        refuse("its lock file " + quoted(name) + " is not a regular file");
    auto lock = std::make_unique<QLockFile>(name);
    if (lock->tryLock(lockWaitMs))
        return lock;
    if (lock->error() == QLockFile::LockFailedError)
        refuse("another program is writing it");
    if (lock->error() == QLockFile::PermissionError)
        refuse(io::errorInWords(EACCES));
    refuse("its lock file " + quoted(name) + " cannot be made");
}

// A link is written through, as QSettings always did: its file is replaced.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.canonicalFilePath() : path;
}

} // namespace

QString programSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/timber-joist/timber-joist.conf");
}

SettingsFile::SettingsFile(QString path) : path_(std::move(path))
{
    try {
        values_ = readSettingsFile(path_).value_or(SettingsMap());
    } catch (const io::FileRefused& refused) {
        problem_ = "The settings file " + quoted(path_) + " is not used: " + refused.what() +
                   "; the defaults are in force, and nothing is saved there during this run.";
    }
}

void SettingsFile::setValue(const QString& key, const QVariant& value)
{
    values_.insert(key, value);
    changes_[key] = value;
}

void SettingsFile::remove(const QString& key)
{
    const QString group = key + QLatin1Char('/');
    for (auto entry = values_.begin(); entry != values_.end();) {
        if (entry.key() == key || entry.key().startsWith(group)) {
            changes_[entry.key()] = std::nullopt;
            entry = values_.erase(entry);
        } else {
            ++entry;
        }
    }
}

std::optional<std::string> SettingsFile::save()
{
    if (!problem_.empty())
        return problem_;
    if (changes_.empty())
        return std::nullopt;
    std::string why;
    try {
        writeChanges();
        return std::nullopt;
    } catch (const io::FileRefused& refused) {
        why = refused.what();
    } catch (const io::WriteFailed& failed) {
        why = failed.what();
    }
    return "Your settings could not be saved to " + quoted(path_) + " (" + why +
           "); the file there is kept as it was.";
}

void SettingsFile::writeChanges()
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const std::unique_ptr<QLockFile> lock = lockSettingsFile(path_);
    // Read again, checked as at the start: what cannot be read is not written.
    SettingsMap merged = readSettingsFile(path_).value_or(SettingsMap());
    for (const auto& [key, value] : changes_) {
        if (value)
            merged.insert(key, *value);
        else
            merged.remove(key);
    }
    const QByteArray text = settingsText(merged);
    io::writeWholeFile(writeTarget(path_),
                       std::string_view(text.constData(), std::size_t(text.size())));
    values_ = std::move(merged);
    changes_.clear();
}

std::unique_ptr<SettingsFile> programSettings()
{
    return std::make_unique<SettingsFile>(programSettingsPath());
}

} // namespace document
