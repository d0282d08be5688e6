// Draws the program's bitmaps into a directory: the floor illustration, the
// 16-colour window icon, both also at twice the size, and the desktop icon
// sizes.
#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include "assets/generator/floor_illustration.h"
#include "assets/generator/joist_icon.h"

namespace {

bool save(const QImage& image, const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "generate_assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_assets OUTPUT_DIRECTORY\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = save(assets::drawFloorIllustration(), out.filePath(QStringLiteral("floor.png")));
    ok = save(assets::drawWindowIcon(), out.filePath(QStringLiteral("icon.png"))) && ok;
    // Qt takes "@2x" files for screens scaled by more than 1.
    ok = save(assets::drawFloorIllustration(2), out.filePath(QStringLiteral("floor@2x.png"))) && ok;
    ok = save(assets::drawWindowIcon(2), out.filePath(QStringLiteral("icon@2x.png"))) && ok;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/%1x%1/timber-joist.png").arg(size);
        ok = save(assets::drawDesktopIcon(size), out.filePath(name)) && ok;
    }
    return ok ? 0 : 1;
}
