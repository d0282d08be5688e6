// The committed bitmaps as the windows load them, and the generator that draws
// them.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include "assets/resources.h"

namespace {

const int iconSizes[] = {16, 32, 48, 64, 128, 256};

QString committed(const QString& name)
{
    return QDir(QStringLiteral(JOIST_ASSETS_DIR)).filePath(name);
}

QString iconName(int size)
{
    return QStringLiteral("icons/%1x%1/timber-joist.png").arg(size);
}

// What the PNG file itself says, as opposed to what QImage converts it to.
struct PngHeader
{
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = -1; // 2 truecolour, 3 palette, 6 truecolour with alpha
    int paletteEntries = 0;
};

PngHeader readPngHeader(const QString& path)
{
    QFile file(path);
    PngHeader header;
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray data = file.readAll();
    if (!data.startsWith("\x89PNG\r\n\x1a\n") || data.size() < 33)
        return header;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    header.width = static_cast<int>(qFromBigEndian<quint32>(bytes + 16));
    header.height = static_cast<int>(qFromBigEndian<quint32>(bytes + 20));
    header.bitDepth = bytes[24];
    header.colourType = bytes[25];
    for (qsizetype at = 8; at + 8 <= data.size();) {
        const auto length = static_cast<qsizetype>(qFromBigEndian<quint32>(bytes + at));
        if (data.mid(at + 4, 4) == "PLTE")
            header.paletteEntries = static_cast<int>(length / 3);
        at += length + 12;
    }
    return header;
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

int countPixels(const QImage& image, bool (*match)(QColor))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool isOrange(QColor c)
{
    return c.red() > 200 && c.green() > 120 && c.green() < 180 && c.blue() < 80;
}

// Olive-brown timber: red and green close together and well above blue.
bool isTimber(QColor c)
{
    return c.red() > 80 && c.red() < 200 && std::abs(c.red() - c.green()) < 30 &&
           c.blue() < c.green() - 40;
}

bool isRed(QColor c)
{
    return c.red() > 190 && c.green() < 60 && c.blue() < 60;
}

bool isGrey(QColor c)
{
    return c.red() == c.green() && c.green() == c.blue() && c.red() > 100 && c.red() < 220;
}

TEST(FloorIllustration, LoadsFromTheResourceAsA416By189TrueColourPictureOnWhite)
{
    const QPixmap pixmap(assets::floorIllustrationPath());
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(416, 189));

    const PngHeader header = readPngHeader(assets::floorIllustrationPath());
    EXPECT_EQ(header.colourType, 2);
    EXPECT_EQ(header.bitDepth, 8);

    const QImage image = pixmap.toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(415, 0), QPoint(0, 188), QPoint(415, 188)})
        EXPECT_EQ(image.pixelColor(corner), QColor(Qt::white)) << corner.x() << "," << corner.y();
    // Boards and joists, each over a good part of the picture.
    EXPECT_GT(countPixels(image, isOrange), 416 * 189 / 10);
    EXPECT_GT(countPixels(image, isTimber), 416 * 189 / 10);
}

TEST(WindowIcon, LoadsFromTheResourceAs32By32In16Colours)
{
    const QPixmap pixmap(assets::windowIconPath());
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(32, 32));

    const PngHeader header = readPngHeader(assets::windowIconPath());
    EXPECT_EQ(header.colourType, 3);
    EXPECT_GE(header.paletteEntries, 1);
    EXPECT_LE(header.paletteEntries, 16);

    const QImage image = pixmap.toImage();
    EXPECT_LE(distinctColours(image), 16);
    EXPECT_TRUE(isGrey(image.pixelColor(0, 0)));
    EXPECT_GT(countPixels(image, isRed), 0);
    EXPECT_GT(countPixels(image, isTimber), 32 * 32 / 10);
}

TEST(DesktopIcons, ExistAtEverySizeAndTheSmallOnesKeepTo16Colours)
{
    for (int size : iconSizes) {
        SCOPED_TRACE(size);
        const QImage image(committed(iconName(size)));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        if (size <= 32) {
            EXPECT_LE(distinctColours(image), 16);
        }
        EXPECT_GT(countPixels(image, isTimber), size * size / 10);
    }
    EXPECT_EQ(QImage(committed(iconName(32))), QImage(assets::windowIconPath()));
}

// On a screen scaled by 2 (the test runs so) Qt takes the "@2x" files, drawn
// at twice the size with the same picture, and shows them at the same
// logical size.
TEST(ScaledScreen, GetsTheTwiceSizeBitmapsAtTheSameLogicalSize)
{
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    const struct
    {
        QString path;
        QSize logical;
    } bitmaps[] = {{assets::floorIllustrationPath(), QSize(416, 189)},
                   {assets::windowIconPath(), QSize(32, 32)}};
    for (const auto& bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.path.toStdString());
        EXPECT_EQ(QPixmap(bitmap.path).deviceIndependentSize(), QSizeF(bitmap.logical));
        const QPixmap sharp = QIcon(bitmap.path).pixmap(bitmap.logical);
        EXPECT_EQ(sharp.size(), bitmap.logical * 2);
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(bitmap.logical));

        // Halved again, the large one is the small one up to its smoothing.
        const QImage small = QImage(bitmap.path).convertToFormat(QImage::Format_RGB32);
        const QImage halved =
            sharp.toImage()
                .convertToFormat(QImage::Format_RGB32)
                .scaled(bitmap.logical, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        long difference = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x)
                difference += std::abs(qGray(small.pixel(x, y)) - qGray(halved.pixel(x, y)));
        EXPECT_LT(difference / (small.width() * small.height()), 24);
    }
    const PngHeader icon = readPngHeader(QStringLiteral(":/joist/icon@2x.png"));
    EXPECT_EQ(icon.colourType, 3);
    EXPECT_LE(icon.paletteEntries, 16);
}

class Generator : public ::testing::Test
{
protected:
    int run(const QStringList& arguments, QByteArray* errors = nullptr)
    {
        QProcess process;
        process.start(QStringLiteral(JOIST_GENERATE_ASSETS), arguments);
        if (!process.waitForFinished(120000))
            return -1;
        if (errors)
            *errors = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir out_;
};

TEST_F(Generator, DrawsEveryFileInTheCommittedSizesAndFormats)
{
    ASSERT_TRUE(out_.isValid());
    ASSERT_EQ(run({out_.path()}), 0);

    QStringList names = {QStringLiteral("floor.png"), QStringLiteral("icon.png"),
                         QStringLiteral("floor@2x.png"), QStringLiteral("icon@2x.png")};
    for (int size : iconSizes)
        names << iconName(size);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const PngHeader fresh = readPngHeader(QDir(out_.path()).filePath(name));
        const PngHeader kept = readPngHeader(committed(name));
        ASSERT_GT(kept.width, 0);
        EXPECT_EQ(fresh.width, kept.width);
        EXPECT_EQ(fresh.height, kept.height);
        EXPECT_EQ(fresh.bitDepth, kept.bitDepth);
        EXPECT_EQ(fresh.colourType, kept.colourType);
        EXPECT_EQ(fresh.paletteEntries, kept.paletteEntries);
    }
}

TEST_F(Generator, RefusesMissingOrUnwritableOutputWithAMessage)
{
    QByteArray errors;
    EXPECT_EQ(run({}, &errors), 2);
    EXPECT_TRUE(errors.contains("usage")) << errors.constData();

    // A directory cannot be made below an ordinary file.
    ASSERT_TRUE(out_.isValid());
    QFile blocker(QDir(out_.path()).filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(run({blocker.fileName() + QStringLiteral("/assets")}, &errors), 1);
    EXPECT_TRUE(errors.contains("cannot write")) << errors.constData();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Sizes are checked in logical pixels, so a scaled screen changes none of
    // the other tests.
    qputenv("QT_SCALE_FACTOR", "2");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
