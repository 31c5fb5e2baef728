// Draws the program's icon, a hamburger (bun, lettuce, cheese, patty, bun), as 32 x 32 pixel
// art with a palette of a few colours, and writes it as:
//   pelmora.ico      32 x 32, 8 bits per pixel (256-colour palette), transparency in the mask
//   pelmora.png      the same picture as an 8-bit palette PNG
//   pelmora-48.png   the same picture at one and a half times its size, for the icon theme's
//                    smallest standard size
//   pelmora-64.png, pelmora-128.png, pelmora-256.png
//                    the same picture enlarged two, four and eight times, for larger icons
//   icon_generator OUTPUT-FOLDER
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int side = 32;

enum Colour : uchar {
    Clear,
    Outline,
    Bun,
    BunShade,
    BunLight,
    Sesame,
    Lettuce,
    LettuceDark,
    Cheese,
    CheeseShade,
    Patty,
    PattyDark,
    PattyLight,
    ColourCount
};

const QRgb palette[ColourCount] = {
    qRgba(0, 0, 0, 0),      qRgb(0x3B, 0x1F, 0x0E), qRgb(0xE3, 0x9B, 0x3C), qRgb(0xB8, 0x6E, 0x1E),
    qRgb(0xF7, 0xCF, 0x7E), qRgb(0xFF, 0xF6, 0xD8), qRgb(0x52, 0xBE, 0x3A), qRgb(0x2C, 0x7A, 0x20),
    qRgb(0xFF, 0xD4, 0x1E), qRgb(0xDC, 0xA2, 0x00), qRgb(0x75, 0x3F, 0x1F), qRgb(0x4A, 0x26, 0x12),
    qRgb(0x95, 0x5A, 0x33)};

class Canvas
{
public:
    Canvas() : m_image(side, side, QImage::Format_Indexed8)
    {
        m_image.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            m_image.setColor(i, i < ColourCount ? palette[i] : qRgb(0, 0, 0));
        m_image.fill(Clear);
    }

    void set(int x, int y, Colour c)
    {
        if (x >= 0 && x < side && y >= 0 && y < side)
            m_image.setPixel(x, y, c);
    }
    Colour at(int x, int y) const
    {
        if (x < 0 || x >= side || y < 0 || y >= side)
            return Clear;
        return Colour(m_image.pixelIndex(x, y));
    }

    // A row centred on the picture's middle, `half` pixels to each side.
    void row(int y, int half, Colour c)
    {
        for (int x = 16 - half; x < 16 + half; ++x)
            set(x, y, c);
    }

    // Every drawn pixel next to a clear one becomes outline, so the silhouette reads on any
    // background.
    void outline()
    {
        QImage copy = m_image;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                if (at(x, y) == Clear)
                    continue;
                const auto clear = [&](int dx, int dy) {
                    const int cx = x + dx, cy = y + dy;
                    return cx < 0 || cx >= side || cy < 0 || cy >= side ||
                           copy.pixelIndex(cx, cy) == Clear;
                };
                if (clear(1, 0) || clear(-1, 0) || clear(0, 1) || clear(0, -1))
                    set(x, y, Outline);
            }
    }

    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

QImage drawHamburger()
{
    Canvas c;
    // Bottom bun.
    const int bottom[] = {14, 14, 14, 14, 13, 11};
    for (int i = 0; i < 6; ++i)
        c.row(22 + i, bottom[i], i >= 4 ? BunShade : Bun);
    // Patty, with a darker crust along its lower edge and a few lighter grill marks.
    for (int y = 17; y <= 21; ++y)
        c.row(y, 15, y == 21 ? PattyDark : Patty);
    for (int x : {5, 11, 18, 24}) {
        c.set(x, 19, PattyLight);
        c.set(x + 1, 19, PattyLight);
        c.set(x + 2, 18, PattyLight);
    }
    // Cheese: a slice a little wider than the patty, with drips over it.
    c.row(15, 16, Cheese);
    c.row(16, 16, CheeseShade);
    for (int x : {3, 9, 16, 22, 27}) {
        c.set(x, 17, Cheese);
        c.set(x + 1, 17, Cheese);
        c.set(x, 18, CheeseShade);
    }
    // Lettuce: a wavy leaf between the top bun and the cheese.
    c.row(13, 15, Lettuce);
    c.row(14, 16, Lettuce);
    for (int x = 1; x < side; x += 4) {
        c.set(x, 14, LettuceDark);
        c.set(x + 1, 15, Lettuce);
        c.set(x + 2, 15, LettuceDark);
    }
    // Top bun: a dome with a highlight and sesame seeds.
    const int dome[] = {4, 7, 9, 11, 12, 13, 14, 14, 14, 14};
    for (int i = 0; i < 10; ++i)
        c.row(3 + i, dome[i], i == 9 ? BunShade : Bun);
    for (int x = 9; x <= 12; ++x)
        c.set(x, 5, BunLight);
    c.set(7, 6, BunLight);
    c.set(8, 6, BunLight);
    c.set(6, 7, BunLight);
    for (const auto &[x, y] : {std::pair{14, 5},
                               {19, 5},
                               {10, 8},
                               {16, 7},
                               {22, 7},
                               {13, 10},
                               {19, 9},
                               {25, 10},
                               {7, 10}}) {
        c.set(x, y, Sesame);
        c.set(x + 1, y, Sesame);
    }
    c.outline();
    return c.image();
}

// One 32 x 32 image at 8 bits per pixel in the Windows icon format: the directory, a bitmap
// header with the height doubled for the mask, the 256-colour palette, the colour rows bottom
// up, and the 1-bit transparency mask.
QByteArray icoFile(const QImage &image)
{
    const int rowBytes = side; // 8 bits per pixel, already a multiple of 4
    const int maskRowBytes = ((side + 31) / 32) * 4;
    const quint32 bitmapSize = 40 + 256 * 4 + rowBytes * side + maskRowBytes * side;

    QByteArray out;
    const auto u8 = [&](int v) { out.append(char(v)); };
    const auto u16 = [&](quint16 v) { u8(v & 0xFF), u8(v >> 8); };
    const auto u32 = [&](quint32 v) { u16(quint16(v & 0xFFFF)), u16(quint16(v >> 16)); };

    u16(0), u16(1), u16(1);                            // reserved, type icon, one image
    u8(side), u8(side), u8(0), u8(0);                  // width, height, 256 colours, reserved
    u16(1), u16(8), u32(bitmapSize), u32(22);          // planes, bits per pixel, size, offset
    u32(40), u32(side), u32(2 * side), u16(1), u16(8); // BITMAPINFOHEADER
    u32(0), u32(rowBytes * side * 2), u32(0), u32(0), u32(256), u32(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb rgb = image.color(i);
        u8(qBlue(rgb)), u8(qGreen(rgb)), u8(qRed(rgb)), u8(0);
    }
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x)
            u8(image.pixelIndex(x, y));
    for (int y = side - 1; y >= 0; --y) {
        for (int byte = 0; byte < maskRowBytes; ++byte) {
            int bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                if (x < side && image.pixelIndex(x, y) == Clear)
                    bits |= 0x80 >> bit;
            }
            u8(bits);
        }
    }
    return out;
}

// The picture at 3/2 of its size. Each new pixel averages the part of the picture it covers,
// so every pixel of the drawing keeps the same share; enlarging by repeating pixels would draw
// every other row and column twice as wide as its neighbours. Integer arithmetic only, so the
// output is the same on every machine.
QImage enlargedThreeHalves(const QImage &icon)
{
    const int large = side * 3 / 2;
    QImage out(large, large, QImage::Format_ARGB32);
    for (int y = 0; y < large; ++y)
        for (int x = 0; x < large; ++x) {
            // The new pixel covers two thirds of a source pixel in each direction: the 2 x 2
            // samples of the picture enlarged three times that fall in it.
            int alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy : {2 * y, 2 * y + 1})
                for (int sx : {2 * x, 2 * x + 1}) {
                    const QRgb p = icon.color(icon.pixelIndex(sx / 3, sy / 3));
                    alpha += qAlpha(p);
                    red += qRed(p) * qAlpha(p);
                    green += qGreen(p) * qAlpha(p);
                    blue += qBlue(p) * qAlpha(p);
                }
            const auto mean = [&](int weighted) {
                return alpha ? (weighted + alpha / 2) / alpha : 0;
            };
            out.setPixel(x, y, qRgba(mean(red), mean(green), mean(blue), (alpha + 2) / 4));
        }
    return out;
}

QImage enlarged(const QImage &icon, int times)
{
    return icon.scaled(side * times, side * times, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon_generator OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QImage icon = drawHamburger();
    const auto savePng = [&](const QImage &image, const char *name) {
        return image.save(folder.filePath(QString::fromLatin1(name)), "png");
    };
    const bool ok = writeFile(folder.filePath(QStringLiteral("pelmora.ico")), icoFile(icon)) &&
                    savePng(icon, "pelmora.png") &&
                    savePng(enlargedThreeHalves(icon), "pelmora-48.png") &&
                    savePng(enlarged(icon, 2), "pelmora-64.png") &&
                    savePng(enlarged(icon, 4), "pelmora-128.png") &&
                    savePng(enlarged(icon, 8), "pelmora-256.png");
    if (!ok) {
        std::fprintf(stderr, "cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
