#include "document/settings_file.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <sys/stat.h>

#include <QDataStream>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "io/checked_file.h"
#include "io/regular_file.h"

namespace document {
namespace {

constexpr qint64 largestSettingsBytes = 1 << 20;

// The last write of a settings file: QSettings' status, once an error, stays
// one after later writes succeed.
struct LastWrite
{
    bool made = false;
    QString problem; // empty when it succeeded
};
LastWrite& lastWrite()
{
    static LastWrite write;
    return write;
}

bool isHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Qt's INI escapes, so that this program's earlier versions and Qt read the
// file as they always have.
void appendKey(const QString& key, QByteArray& out)
{
    for (const QChar c : key) {
        const char16_t ch = c.unicode();
        if (ch == '/')
            out += '\\';
        else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                 ch == '_' || ch == '-' || ch == '.')
            out += char(ch);
        else if (ch <= 0xFF)
            out += '%' + QByteArray::number(ch, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(ch, 16).toUpper().rightJustified(4, '0');
    }
}

// `bytesOnly`: the text of @ByteArray or @Variant, one byte a character.
void appendText(const QString& text, QByteArray& out, bool bytesOnly)
{
    const qsizetype start = out.size();
    bool quoted = false;
    bool escapeHexDigit = false; // after a "\x" escape, which a hex digit would extend
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            quoted = true;
        if (escapeHexDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeHexDigit = false;
        static const std::map<char16_t, const char*> escapes = {
            {'\a', "\\a"}, {'\b', "\\b"}, {'\f', "\\f"}, {'\n', "\\n"}, {'\r', "\\r"},
            {'\t', "\\t"}, {'\v', "\\v"}, {'"', "\\\""}, {'\\', "\\\\"}};
        if (const auto escape = escapes.find(ch); escape != escapes.end()) {
            out += escape->second;
        } else if (ch == 0) {
            out += "\\0";
            escapeHexDigit = true;
        } else if (ch <= 0x1F || (bytesOnly && ch >= 0x7F)) {
            out += "\\x" + QByteArray::number(ch, 16);
            escapeHexDigit = true;
        } else if (bytesOnly) {
            out += char(ch);
        } else {
            const bool pair =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            out += text.mid(i, pair ? 2 : 1).toUtf8();
            i += pair ? 1 : 0;
        }
    }
    if (quoted || (out.size() > start && (out.at(start) == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void appendValue(const QVariant& value, QByteArray& out)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        out += "@Invalid()";
        return;
    case QMetaType::QString: {
        const QString text = value.toString();
        appendText(text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text, out, false);
        return;
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        appendText(value.toString(), out, false);
        return;
    case QMetaType::QByteArray:
        appendText(QStringLiteral("@ByteArray(") + QString::fromLatin1(value.toByteArray()) +
                       QLatin1Char(')'),
                   out, true);
        return;
    default:
        break;
    }
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_0);
        stream << value;
    }
    appendText(QStringLiteral("@Variant(") + QString::fromLatin1(bytes) + QLatin1Char(')'), out,
               true);
}

bool writeSettings(QIODevice& device, const QSettings::SettingsMap& map)
{
    std::map<QString, std::vector<std::pair<QString, QVariant>>> sections;
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        const qsizetype slash = entry.key().indexOf(QLatin1Char('/'));
        sections[slash < 0 ? QString() : entry.key().left(slash)].emplace_back(
            slash < 0 ? entry.key() : entry.key().mid(slash + 1), entry.value());
    }
    QByteArray text;
    for (const auto& [section, keys] : sections) {
        if (!text.isEmpty())
            text += '\n';
        if (section.isEmpty()) {
            text += "[General]";
        } else if (section.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            text += "[%General]";
        } else {
            text += '[';
            appendKey(section, text);
            text += ']';
        }
        text += '\n';
        for (const auto& [key, value] : keys) {
            appendKey(key, text);
            text += '=';
            const bool list =
                value.metaType().id() == QMetaType::QStringList ||
                (value.metaType().id() == QMetaType::QVariantList && value.toList().size() != 1);
            if (list && value.toList().isEmpty()) {
                text += "@Invalid()";
            } else if (list) {
                const QVariantList items = value.toList();
                for (qsizetype i = 0; i < items.size(); ++i) {
                    if (i > 0)
                        text += ", ";
                    appendValue(items[i].metaType().id() == QMetaType::QString
                                    ? items[i]
                                    : QVariant(items[i].toString()),
                                text);
                }
            } else {
                appendValue(value, text);
            }
            text += '\n';
        }
    }
    // QSettings commits its temporary file even when the buffered bytes failed
    // to reach the disk (a full disk, a size limit): only a flush says so. The
    // reason is worded as every other failed write's (io/checked_file.h).
    auto* file = qobject_cast<QFileDevice*>(&device);
    lastWrite().made = true;
    errno = 0;
    if (device.write(text) != text.size() || (file && !file->flush())) {
        // Qt's text for a failed flush is "Unknown error".
        const int error = errno;
        lastWrite().problem =
            error ? QString::fromStdString(io::errorInWords(error)) : device.errorString();
        return false;
    }
    return true;
}

// Qt's own INI reader, so that every file an earlier version wrote reads as
// it did. It reads through a link of its own: a second QSettings on the same
// name would wait for the lock this read holds, and a copy would be a write
// that a full disk or a size limit can refuse.
bool readSettings(QIODevice& device, QSettings::SettingsMap& map)
{
    const auto* file = qobject_cast<QFile*>(&device);
    const QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("settings.conf"));
    if (!file || !folder.isValid() ||
        !QFile::link(QFileInfo(file->fileName()).absoluteFilePath(), link))
        return false;
    const QSettings ini(link, QSettings::IniFormat);
    for (const QString& key : ini.allKeys())
        map.insert(key, ini.value(key));
    return ini.status() == QSettings::NoError;
}

QSettings::Format settingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), readSettings, writeSettings);
    return format;
}

std::string quoted(const QString& path)
{
    std::string text(1, '"');
    text += QDir::toNativeSeparators(path).toStdString();
    text += '"';
    return text;
}

// Why the file at `path` must not be read, or nothing when it is a regular
// file or absent.
std::optional<std::string> pathProblem(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        return std::string("it cannot be examined (") + std::strerror(errno) + ")";
    }
    if (S_ISLNK(status.st_mode) && ::stat(name.constData(), &status) != 0)
        return std::string("it is a link to nothing that can be read (") + std::strerror(errno) +
               ")";
    try {
        io::readRegularFile(path, largestSettingsBytes, "1 MiB");
    } catch (const io::FileRefused& refused) {
        return refused.what();
    }
    return std::nullopt;
}

} // namespace

QString programSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/timber-joist/timber-joist.conf");
}

std::unique_ptr<QSettings> programSettings()
{
    return std::make_unique<QSettings>(programSettingsPath(), settingsFormat());
}

ProgramSettings::ProgramSettings() = default;
ProgramSettings::ProgramSettings(ProgramSettings&&) noexcept = default;
ProgramSettings::~ProgramSettings() = default;

ProgramSettings openProgramSettings()
{
    ProgramSettings opened;
    const QString path = programSettingsPath();
    std::optional<std::string> problem = pathProblem(path);
    if (!problem) {
        opened.settings = std::make_unique<QSettings>(path, settingsFormat());
        if (opened.settings->status() == QSettings::NoError)
            return opened;
        problem = "it cannot be read as settings";
    }
    opened.problem = "The settings file " + quoted(path) + " is not used: " + *problem +
                     "; the defaults are in force, and nothing is saved there during this run.";
    opened.standIn = std::make_unique<QTemporaryDir>();
    opened.settings = std::make_unique<QSettings>(
        opened.standIn->filePath(QStringLiteral("timber-joist.conf")), settingsFormat());
    return opened;
}

std::optional<std::string> saveProgramSettings(QSettings& settings)
{
    lastWrite() = {};
    settings.sync();
    // Without a write of its own (the folder cannot be written, say) only
    // QSettings' status tells. Changes that failed are tried again next time.
    const bool saved =
        lastWrite().made ? lastWrite().problem.isEmpty() : settings.status() == QSettings::NoError;
    if (saved)
        return std::nullopt;
    const QString why = lastWrite().problem.isEmpty() ? QStringLiteral("it cannot be written there")
                                                      : lastWrite().problem;
    return "Your settings could not be saved to " + quoted(settings.fileName()) + " (" +
           why.toStdString() + "); the file there is kept as it was.";
}

} // namespace document
