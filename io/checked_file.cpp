#include "io/checked_file.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "io/display_text.h"
#include "io/file_target.h"

namespace io {
namespace {

// Beyond the file itself: the name, and the folder it goes in.
std::optional<QString> placeProblem(const QString& path)
{
    if (std::optional<QString> problem = fileTargetProblem(path))
        return problem;
    if (std::optional<QString> problem = longNameProblem(path))
        return problem;
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder \"%1\" does not exist")
            .arg(displayText(QDir::toNativeSeparators(folder.filePath()), DisplayUse::message));
    if (!folder.isDir())
        return QStringLiteral("\"%1\" is a file, not a folder")
            .arg(displayText(QDir::toNativeSeparators(folder.filePath()), DisplayUse::message));
    return std::nullopt;
}

} // namespace

std::string errorInWords(int error)
{
    switch (error) {
    case ENOSPC:
        return "there is no space left on the disk";
    case EDQUOT:
        return "your disk quota is used up";
    case EFBIG:
        return "File too large: the file size limit in force is smaller than the file";
    case ENAMETOOLONG:
        return "the name is too long for the file system";
    case EACCES:
    case EPERM:
        return "you have no permission to write there";
    case EROFS:
        return "the disk is read-only";
    case EIO:
        return "the disk reported an input/output error";
    default:
        return std::strerror(error);
    }
}

CheckedFile::CheckedFile(const QString& path)
    : path_(path), file_(std::make_unique<QSaveFile>(path))
{
    if (std::optional<QString> problem = fileTargetProblem(path))
        throw WriteFailed(problem->toStdString());
    // Unbuffered: every write reaches the system and is checked, where a
    // buffered one fails unseen at the commit and leaves a cut file.
    errno = 0;
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(errno);
}

CheckedFile::~CheckedFile() = default;

void CheckedFile::write(std::string_view bytes)
{
    // A short write is retried, so that a full disk or a size limit gives its reason.
    while (!bytes.empty()) {
        errno = 0;
        const qint64 written = file_->write(bytes.data(), qint64(bytes.size()));
        if (written <= 0)
            fail(errno);
        bytes.remove_prefix(std::size_t(written));
    }
}

void CheckedFile::commit()
{
    // The place may have changed while the file was written.
    if (std::optional<QString> problem = fileTargetProblem(path_)) {
        file_->cancelWriting();
        throw WriteFailed(problem->toStdString());
    }
    errno = 0;
    if (!file_->commit())
        fail(errno);
}

void CheckedFile::fail(int error)
{
    std::string reason;
    if (std::optional<QString> problem = placeProblem(path_))
        reason = problem->toStdString();
    else if (error != 0)
        reason = errorInWords(error);
    else
        reason = file_->errorString().toStdString();
    file_->cancelWriting();
    throw WriteFailed(reason);
}

void writeWholeFile(const QString& path, std::string_view bytes)
{
    CheckedFile file(path);
    file.write(bytes);
    file.commit();
}

} // namespace io
