// GoogleTest main for tests that need a QApplication. Without a display the
// tests run on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The offscreen platform cannot raise windows; saying so on every show only
// buries real messages.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's settings go to a folder of this run's own, never the user's.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    // As a user who has found the context menu: the message line then says
    // only what a test makes it say. The hint for new users has its own tests.
    QFile settings(configHome.path() + QStringLiteral("/timber-joist/timber-joist.conf"));
    if (!QDir(configHome.path()).mkpath(QStringLiteral("timber-joist")) ||
        !settings.open(QIODevice::WriteOnly) ||
        settings.write("[help]\ncontextMenuUsed=true\n") < 0)
        return 2;
    settings.close();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
