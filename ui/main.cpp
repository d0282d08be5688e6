#include <csignal>
#include <memory>

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "materials/database_error.h"
#include "materials/strength_class_sequences.h"
#include "ui/error_message.h"
#include "ui/main_window.h"

int main(int argc, char** argv)
{
    // A file-size limit then fails the write (EFBIG, "File too large") with
    // the usual message and the old file kept, instead of killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("timber-joist"));
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
                                QString::fromUtf8(ui::errorMessage(error))));
        box->exec();
        return 1;
    }
    return QApplication::exec();
}
