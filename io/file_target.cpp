#include "io/file_target.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "io/display_text.h"

namespace io {
namespace {

// Qt replaces a file through a temporary name seven bytes longer: a
// dot and six random characters.
constexpr qsizetype longestReplacedName = NAME_MAX - 7;

QString linkTarget(const QByteArray& path)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
    if (length < 0)
        return QStringLiteral("somewhere it cannot read");
    target.truncate(length);
    return QStringLiteral("\"%1\"").arg(
        displayText(QDir::toNativeSeparators(QFile::decodeName(target))));
}

} // namespace

std::optional<QString> fileTargetProblem(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0)
        return std::nullopt; // nothing there yet, or the write will say why
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("it is a link to %1; choose that file itself, or another name")
            .arg(linkTarget(name));
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("a folder of that name is in the way");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("it is a named pipe, not a file");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return QStringLiteral("it is a device, not a file");
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("it is not a regular file");
    return longNameProblem(path);
}

std::optional<QString> longNameProblem(const QString& path)
{
    const qsizetype bytes = QFile::encodeName(QFileInfo(path).fileName()).size();
    if (bytes <= longestReplacedName || bytes > NAME_MAX)
        return std::nullopt;
    return QStringLiteral("the name is %1 bytes long, too long to replace the file safely (at "
                          "most %2 bytes); choose a shorter name")
        .arg(bytes)
        .arg(longestReplacedName);
}

} // namespace io
