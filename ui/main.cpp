// The program: the command-line modes, or the main window and its event loop.
#include <csignal>
#include <cstdio>
#include <memory>

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "cli/command_line.h"
#include "io/failure_words.h"
#include "materials/database_error.h"
#include "materials/strength_class_sequences.h"
#include "ui/error_message.h"
#include "ui/main_window.h"

int main(int argc, char** argv)
{
    // A file-size limit then fails the write (EFBIG, "File too large") with
    // the usual message and the old file kept, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Checks and schedules run over ssh too: no display, no QApplication.
    if (cli::isCommandLineMode(argc, argv))
        return cli::runCommandLine(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("timber-joist"));
    QApplication::setOrganizationName(QStringLiteral("timber-joist")); // QSettings' folder
    QApplication::setDesktopFileName(QStringLiteral("timber-joist"));
    // Qt's own dialogs (print, save, message boxes) in the user's language,
    // where Debian's Qt translations are installed.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    std::unique_ptr<ui::FrmMain> window;
    try {
        window = std::make_unique<ui::FrmMain>(materials::programDirectory());
        window->showModeless();
    } catch (const std::exception& error) {
        // Without its strength-class table the program cannot check anything.
        std::unique_ptr<QMessageBox> box(
            ui::plainMessageBox(QMessageBox::Critical, QStringLiteral("Timber Joist Design to EC5"),
                                QString::fromUtf8(io::errorMessage(error))));
        box->exec();
        return 1;
    }
    // A design named on the command line (the file manager's %f), after the
    // start-up sequence.
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('-'))) {
            std::fprintf(stderr, "timber-joist: unknown option \"%s\"; see timber-joist --help\n",
                         qPrintable(argument));
            return 2;
        }
    }
    if (arguments.size() > 1)
        std::fprintf(stderr, "timber-joist: opening only the first of %d design files\n",
                     int(arguments.size()));
    if (!arguments.isEmpty())
        window->openDesign(arguments.constFirst());
    return QApplication::exec();
}
