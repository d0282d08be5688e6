// The settings file as the main window uses it: what stands at its path is
// checked before it is read, and a write that fails keeps the old file.
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "document/design_basis_settings.h"
#include "document/settings_file.h"
#include "document/settings_text.h"
#include "document/sheet_details.h"
#include "tests/main_window_fixtures.h"
#include "ui/sheet/sheet_details_window.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        ASSERT_TRUE(QDir(config_.path()).mkpath("timber-joist"));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }
    QString path() const { return document::programSettingsPath(); }
    // Types `text` into a sheet detail and keeps it as a default.
    static void keepDetail(MainWindowDriver& main, const char* name, const char* text)
    {
        main.window->findChild<QAction*>("sheetDetailsAct")->trigger();
        QTest::keyClicks(control<QLineEdit>(main.window->sheetDetailsWindow(), name), text);
        control<QPushButton>(main.window->sheetDetailsWindow(), "useAsDefaultBtn")->click();
    }

    QTemporaryDir config_;
    QByteArray previous_;
};

// A pipe there once hung the start for ever; none of these is read, written
// or replaced, and the message line names the file and why.
TEST_F(SettingsFile, WhatIsNotARegularFileIsLeftAloneAndNamed)
{
    const struct
    {
        const char* what;
        std::function<bool(const QByteArray&)> make;
        const char* reason;
    } cases[] = {
        {"pipe", [](const QByteArray& p) { return ::mkfifo(p.constData(), 0600) == 0; },
         "not a regular file"},
        {"folder", [](const QByteArray& p) { return ::mkdir(p.constData(), 0700) == 0; },
         "a folder"},
        {"link to a device",
         [](const QByteArray& p) { return ::symlink("/dev/null", p.constData()) == 0; },
         "not a regular file"},
    };
    for (const auto& c : cases) {
        const QByteArray name = QFile::encodeName(path());
        ::unlink(name.constData());
        ::rmdir(name.constData());
        ASSERT_TRUE(c.make(name)) << c.what;
        struct stat before = {};
        ::lstat(name.constData(), &before);
        {
            MainWindowDriver main;
            main.start();
            const QString message = main.label("messageLbl");
            EXPECT_TRUE(message.contains(path()) && message.contains(c.reason))
                << c.what << ": " << message.toStdString();
            EXPECT_TRUE(main.window->design().basis.isDefault());
            keepDetail(main, "projectTxt", "Mill");
        }
        struct stat after = {};
        ::lstat(name.constData(), &after);
        EXPECT_TRUE(after.st_mode == before.st_mode && after.st_ino == before.st_ino &&
                    after.st_mtime == before.st_mtime)
            << c.what;
        EXPECT_EQ(
            QDir(QFileInfo(path()).path())
                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System),
            QStringList{"timber-joist.conf"})
            << c.what;
    }
}

// Under a file-size limit a write used to cut the file and report success.
// The file written by Qt's own INI writer stays byte for byte, and once a
// write succeeds, Qt reads back every value.
TEST_F(SettingsFile, FailedWriteKeepsTheOldFile)
{
    const QString project = QStringLiteral(" @Mill, \"Lane\"; \u00C9cole \U0001F3E0 \\x41");
    const QStringList recent{QStringLiteral("/a/b=c.joist"), QString(1200, QLatin1Char('x'))};
    {
        QSettings qt(path(), QSettings::IniFormat);
        qt.setValue("sheetDetails/project", project);
        qt.setValue("recentDesigns", recent);
        qt.setValue("designBasis/vibration", true);
    }
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();
    ASSERT_GT(old.size(), 1000);

    MainWindowDriver main;
    main.start();
    EXPECT_EQ(document::readDefaultSheetDetails(*document::programSettings()).project, project);
    EXPECT_TRUE(main.window->design().basis.vibration);
    rlimit limit = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = limit;
    lowered.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    keepDetail(main, "checkedByTxt", "B");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    file.close();
    const QString message = main.label("messageLbl");
    EXPECT_TRUE(message.contains("could not be saved") && message.contains(path()))
        << message.toStdString();

    keepDetail(main, "jobNoTxt", "7");
    EXPECT_FALSE(main.label("messageLbl").contains("could not be saved"));
    const QSettings qt(path(), QSettings::IniFormat);
    EXPECT_EQ(qt.value("sheetDetails/project").toString(), project);
    EXPECT_EQ(qt.value("sheetDetails/checkedBy").toString(), "B");
    EXPECT_EQ(qt.value("recentDesigns").toStringList(), recent);
    EXPECT_TRUE(qt.value("designBasis/vibration").toBool());
}

// Hostile states of the settings file and of the scratch folder: a sound file
// is read whatever TMPDIR is, a write never drops a key it did not change nor
// blocks, and what cannot be read or written is named in the message line.
TEST_F(SettingsFile, HostileStatesNeitherLoseKeysNorBlock)
{
    const QString notAFolder = config_.filePath("not-a-folder");
    ASSERT_TRUE(QFile(notAFolder).open(QIODevice::WriteOnly));
    const auto noScratchFolder = [&] { qputenv("TMPDIR", QFile::encodeName(notAFolder)); };
    // Written as bytes: a QSettings here would share its keys with the window's.
    const auto append = [this](const char* text) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(text);
    };
    const auto replaced = [this](std::function<bool(const QByteArray&)> make) {
        return [this, make] {
            const QByteArray name = QFile::encodeName(path());
            ::unlink(name.constData());
            ASSERT_TRUE(make(name));
        };
    };
    const struct
    {
        const char* what;
        std::function<void()> beforeStart, duringRun;
        const char* message; // what the message line says after the write, if anything
        int keys;            // else how many keys the file then holds
    } cases[] = {
        {"no scratch folder from the start", noScratchFolder, [] {}, nullptr, 4},
        {"no scratch folder once another window wrote", [] {},
         [&] {
             noScratchFolder();
             append("\n[added]\nkey=yes\n");
         },
         nullptr, 5},
        {"a folder swapped in", [] {},
         replaced([](const QByteArray& p) { return ::mkdir(p.constData(), 0700) == 0; }),
         "a folder", 0},
        {"a link to a device swapped in", [] {},
         replaced([](const QByteArray& p) { return ::symlink("/dev/null", p.constData()) == 0; }),
         "not a regular file", 0},
        {"a line that is not INI", [&] { append("a line without its equals sign\n"); }, [] {},
         "its line 7 is neither a [section] nor a key=value", 0},
        {"a pipe swapped in", [] {},
         replaced([](const QByteArray& p) { return ::mkfifo(p.constData(), 0600) == 0; }),
         "not a regular file", 0},
    };
    const QByteArray previousTemp = qgetenv("TMPDIR");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(path()).removeRecursively();
        QFile::remove(path());
        append("[designBasis]\nrules=amended\nu2Div=400\n\n[otherWindow]\nkept=yes\n");
        c.beforeStart();
        MainWindowDriver main;
        main.start();
        c.duringRun();
        const QString design = config_.filePath("design.joist");
        EXPECT_TRUE(main.window->saveDesignTo(design));
        const QString message = main.label("messageLbl");
        qputenv("TMPDIR", previousTemp);
        if (c.message) {
            EXPECT_TRUE(message.contains(path()) && message.contains(c.message))
                << message.toStdString();
            continue;
        }
        EXPECT_EQ(main.window->design().basis.rules, joist::Rules::amended);
        EXPECT_FALSE(message.contains("settings")) << message.toStdString();
        const QSettings qt(path(), QSettings::IniFormat);
        EXPECT_EQ(qt.allKeys().size(), c.keys) << qt.allKeys().join(' ').toStdString();
        EXPECT_EQ(qt.value("recentDesigns").toString(), design);
    }
}

// The settings file's text is read as Qt reads it, without Qt's reader, and
// what was read is written back byte for byte.
TEST(SettingsText, ReadsQtsTextAsQtAndWritesItBackUnchanged)
{
    const std::pair<QString, QVariant> values[] = {
        {"plain", "text"},
        {"General/quoted", " @at, comma; semi = equals "},
        {"a b/c%d\u00E9", QStringList{" padded ", "\"q\"", "tab\tnew\nline",
                                      "\\x41 \x01"
                                      "2"}},
        {"one", QStringList{"@item"}},
        {"none", QStringList{}},
        {"bytes", QByteArray("\x00\x7f\xff(", 4)},
        {"date", QDate(2024, 2, 29)},
        {"unicode", "\u00C9cole \U0001F3E0"},
    };
    const QTemporaryDir dir;
    const QString written = dir.filePath("written.conf");
    const QString copy = dir.filePath("copy.conf"); // read afresh, not from Qt's cache
    {
        QSettings qt(written, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            qt.setValue(key, value);
    }
    ASSERT_TRUE(QFile::copy(written, copy));
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const document::SettingsMap read = document::readSettingsText(text);
    const QSettings qt(copy, QSettings::IniFormat);
    EXPECT_EQ(read.keys(), qt.allKeys());
    for (const QString& key : qt.allKeys())
        EXPECT_EQ(read.value(key), qt.value(key)) << key.toStdString();
    EXPECT_EQ(document::settingsText(read), text);
    // Qt means to skip a byte order mark, but 6.4 takes the line after it for an error.
    EXPECT_EQ(document::readSettingsText("\xef\xbb\xbf[s]\nk=v").value("s/k"), "v");
}

} // namespace
} // namespace ui
