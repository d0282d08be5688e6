#pragma once

// The targets every writer of the program must refuse, or survive, alike:
// each layer's tests hand it their writers.

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace testing_support {

// The file size limit makes a write fail as a full disk does, even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// Writes a file at a path, or throws an error naming the path and why not.
using Writer = std::function<void(const QString&)>;

// A folder, a link, a pipe, a missing folder, a size limit and a name too
// long to replace safely: each write fails, says why, leaves nothing behind
// and keeps the old file as it was.
inline void expectHostileTargetsRefused(std::span<const Writer> writers)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.pdf")));
    QFile old(dir.filePath(QStringLiteral("old.pdf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier sheet");
    old.close();

    // Only the file named is written, never the one a link points to.
    ASSERT_TRUE(QFile::link(old.fileName(), dir.filePath(QStringLiteral("link.pdf"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere.pdf")),
                            dir.filePath(QStringLiteral("dangling.pdf"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.pdf"))), 0600), 0);
    const QString longName = dir.filePath(QString(250 - 4, QLatin1Char('n')) + ".pdf");
    ASSERT_TRUE(QFile(longName).open(QIODevice::WriteOnly));

    struct Case
    {
        QString path;
        QString reason;
        rlim_t sizeLimit = 0; // 0: none
    };
    const Case cases[] = {
        {dir.filePath(QStringLiteral("folder.pdf")), QStringLiteral("folder")},
        {dir.filePath(QStringLiteral("plain-file/sheet.pdf")), QStringLiteral("not a folder")},
        {dir.filePath(QStringLiteral("gone/sheet.pdf")), QStringLiteral("does not exist")},
        {dir.filePath(QStringLiteral("old.pdf")), QStringLiteral("File too large"), 500},
        {dir.filePath(QStringLiteral("link.pdf")), QStringLiteral("link to \"") + old.fileName()},
        {dir.filePath(QStringLiteral("dangling.pdf")), QStringLiteral("nowhere.pdf")},
        {dir.filePath(QStringLiteral("pipe.pdf")), QStringLiteral("named pipe")},
        {longName, QStringLiteral("250 bytes long")},
    };
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const Case& c : cases) {
        for (const Writer& write : writers) {
            SCOPED_TRACE(c.path.toStdString());
            QString message;
            try {
                std::optional<FileSizeLimit> limit;
                if (c.sizeLimit)
                    limit.emplace(c.sizeLimit);
                write(c.path);
            } catch (const std::exception& error) {
                message = QString::fromUtf8(error.what());
            }
            EXPECT_TRUE(message.contains(c.path)) << message.toStdString();
            EXPECT_TRUE(message.contains(c.reason)) << message.toStdString();
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System),
                      before);
        }
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "earlier sheet");
}

} // namespace testing_support
