// The committed pictures: the encoder disc must be a baseline 100 x 100 JPEG at 96 dpi whose
// tracks read back as a Gray code, as must those of its copy at twice the size, and the icon a 32 x
// 32 picture with an 8-bit palette in both its Windows icon and PNG forms, whose larger sizes show
// the same picture.
#include "tools/assets/encoder_disc_layout.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtTest>

#include <bit>
#include <set>

namespace disc = pelmora::disc;

namespace {

QByteArray readFile(const QString &name)
{
    QFile file(QStringLiteral(PELMORA_IMAGES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int u16be(const QByteArray &b, qsizetype at)
{
    return (uchar(b[at]) << 8) | uchar(b[at + 1]);
}

int u16le(const QByteArray &b, qsizetype at)
{
    return uchar(b[at]) | (uchar(b[at + 1]) << 8);
}

struct JpegSegment
{
    int marker;
    QByteArray payload;
};

// The segments before the image data, in file order.
QList<JpegSegment> jpegHeaderSegments(const QByteArray &jpeg)
{
    QList<JpegSegment> segments;
    qsizetype at = 2; // after the start-of-image marker
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int marker = uchar(jpeg[at + 1]);
        const int length = u16be(jpeg, at + 2);
        segments.append({marker, jpeg.mid(at + 4, length - 2)});
        if (marker == 0xDA) // start of scan: the image data follows
            break;
        at += 2 + length;
    }
    return segments;
}

} // namespace

class AssetsTest : public QObject
{
    Q_OBJECT

private slots:
    void discIsABaselineJpegAt96Dpi();
    void discTracksReadAsAGrayCode_data();
    void discTracksReadAsAGrayCode();
    void iconIsAn8BitIco();
    void iconPngsHaveAPalette();
    void largerIconsShowTheSamePicture_data();
    void largerIconsShowTheSamePicture();
};

void AssetsTest::discIsABaselineJpegAt96Dpi()
{
    const QByteArray jpeg = readFile(QStringLiteral("encoder-disc.jpg"));
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    const auto segments = jpegHeaderSegments(jpeg);
    QList<int> markers;
    for (const auto &segment : segments)
        markers << segment.marker;
    QVERIFY2(markers.contains(0xC0), "baseline frame header (SOF0)");
    for (int progressiveOrOther : {0xC1, 0xC2, 0xC3, 0xC9, 0xCA})
        QVERIFY(!markers.contains(progressiveOrOther));

    QCOMPARE(segments.first().marker, 0xE0); // JFIF
    const QByteArray jfif = segments.first().payload;
    QVERIFY(jfif.startsWith(QByteArray("JFIF\0", 5)));
    QCOMPARE(int(uchar(jfif[7])), 1); // density in dots per inch
    QCOMPARE(u16be(jfif, 8), 96);
    QCOMPARE(u16be(jfif, 10), 96);

    QImage image;
    QVERIFY(image.loadFromData(jpeg, "JPEG"));
    QCOMPARE(image.size(), QSize(disc::size, disc::size));
}

void AssetsTest::discTracksReadAsAGrayCode_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::newRow("designed") << QStringLiteral("encoder-disc.jpg") << 1;
    QTest::newRow("twice the density") << QStringLiteral("encoder-disc@2x.png") << 2;
}

void AssetsTest::discTracksReadAsAGrayCode()
{
    QFETCH(QString, file);
    QFETCH(int, scale);
    QImage image;
    QVERIFY(image.loadFromData(readFile(file)));
    QCOMPARE(image.size(), QSize(disc::size, disc::size) * scale);

    QList<int> codes;
    for (int sector = 0; sector < disc::sectors; ++sector) {
        int code = 0;
        for (int track = 0; track < disc::tracks; ++track) {
            const auto [x, y] =
                disc::polar(disc::trackMiddleRadius(track), disc::sectorMiddleAngle(sector));
            const int grey = qGray(image.pixel(int(x * scale), int(y * scale)));
            // Clearly black or clearly white: the sectors must read without doubt.
            QVERIFY2(
                grey < 80 || grey > 175,
                qPrintable(
                    QStringLiteral("sector %1 track %2: %3").arg(sector).arg(track).arg(grey)));
            if (grey < 128)
                code |= 1 << track;
        }
        codes << code;
    }

    const std::set<int> distinct(codes.begin(), codes.end());
    QCOMPARE(int(distinct.size()), disc::sectors);
    for (int sector = 0; sector < disc::sectors; ++sector) {
        const int next = (sector + 1) % disc::sectors;
        QCOMPARE(std::popcount(unsigned(codes[sector] ^ codes[next])), 1);
    }
}

void AssetsTest::iconIsAn8BitIco()
{
    const QByteArray ico = readFile(QStringLiteral("pelmora.ico"));
    QVERIFY(ico.size() > 6 + 16 + 40);
    QCOMPARE(u16le(ico, 0), 0);
    QCOMPARE(u16le(ico, 2), 1); // an icon
    QCOMPARE(u16le(ico, 4), 1); // one picture
    QCOMPARE(int(uchar(ico[6])), 32);
    QCOMPARE(int(uchar(ico[7])), 32);
    QCOMPARE(u16le(ico, 6 + 6), 8); // bits per pixel in the directory
    const int offset = u16le(ico, 6 + 12);
    QCOMPARE(u16le(ico, offset + 14), 8);   // and in the bitmap header
    QCOMPARE(u16le(ico, offset + 32), 256); // colours in the palette

    // The program never reads the icon itself (Windows reads it from Pelmora.exe), and its
    // Windows build leaves Qt's ICO reader out; the Linux build checks the picture.
    if (!QImageReader::supportedImageFormats().contains("ico"))
        QSKIP("this Qt has no ICO reader");
    QImage image;
    QVERIFY(image.loadFromData(ico, "ICO"));
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(image.hasAlphaChannel()); // the corners are see-through
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(16, 16)), 255);
}

void AssetsTest::iconPngsHaveAPalette()
{
    QImage small;
    QVERIFY(small.loadFromData(readFile(QStringLiteral("pelmora.png")), "PNG"));
    QCOMPARE(small.size(), QSize(32, 32));
    QCOMPARE(small.format(), QImage::Format_Indexed8);
    QVERIFY(small.colorCount() <= 256);

    QImage large;
    QVERIFY(large.loadFromData(readFile(QStringLiteral("pelmora-128.png")), "PNG"));
    QCOMPARE(large.format(), QImage::Format_Indexed8);
}

void AssetsTest::largerIconsShowTheSamePicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("side");
    QTest::newRow("48") << QStringLiteral("pelmora-48.png") << 48;
    QTest::newRow("64") << QStringLiteral("pelmora-64.png") << 64;
    QTest::newRow("128") << QStringLiteral("pelmora-128.png") << 128;
    QTest::newRow("256") << QStringLiteral("pelmora-256.png") << 256;
}

// Every pixel of a larger icon that lies wholly inside one pixel of the 32 x 32 picture has
// that pixel's colour (at 48 the pixels across a boundary of the drawing blend the two sides).
void AssetsTest::largerIconsShowTheSamePicture()
{
    QFETCH(QString, name);
    QFETCH(int, side);
    QImage small;
    QVERIFY(small.loadFromData(readFile(QStringLiteral("pelmora.png")), "PNG"));
    QImage large;
    QVERIFY(large.loadFromData(readFile(name), "PNG"));
    QCOMPARE(large.size(), QSize(side, side));

    // The source pixels under the first and the last point of large pixel i.
    const auto first = [&](int i) { return i * 32 / side; };
    const auto last = [&](int i) { return ((i + 1) * 32 - 1) / side; };
    int compared = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (first(x) != last(x) || first(y) != last(y))
                continue;
            QCOMPARE(large.pixel(x, y), small.pixel(first(x), first(y)));
            ++compared;
        }
    QVERIFY(compared >= side * side * 4 / 9);
}

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
