// Draws the encoder-disc picture that the window shows: a rotary encoder disc in black on white
// whose rings carry a reflected binary Gray code, with thin lines at the ring and sector
// boundaries and a hub in the middle. Writes the designed picture, a baseline JPEG of 100 x 100
// pixels at 96 dpi, and the same drawing at twice the size for screens of twice the density, as
// a greyscale PNG, which keeps the thin lines sharp.
//   encoder_disc_generator OUTPUT-FOLDER
#include "tools/assets/encoder_disc_layout.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace disc = pelmora::disc;

namespace {

constexpr int dotsPerMeterAt96Dpi = 3780; // 96 / 0.0254, rounded

QPointF toPoint(std::pair<double, double> xy)
{
    return {xy.first, xy.second};
}

QRectF circle(double radius)
{
    return {disc::centre - radius, disc::centre - radius, 2 * radius, 2 * radius};
}

// The disc drawn `scale` times as large, in the picture's own coordinates.
QImage drawDisc(int scale)
{
    QImage image(disc::size * scale, disc::size * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(dotsPerMeterAt96Dpi * scale);
    image.setDotsPerMeterY(dotsPerMeterAt96Dpi * scale);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);

    // Outermost track first; each inner track covers the middle of the one before.
    const int sixteenthsPerSector = 360 * 16 / disc::sectors;
    for (int track = 0; track < disc::tracks; ++track) {
        const QRectF outer = circle(disc::trackOuterRadius(track));
        for (int sector = 0; sector < disc::sectors; ++sector) {
            const bool black = (disc::grayCode(sector) >> track) & 1;
            painter.setBrush(black ? Qt::black : Qt::white);
            painter.drawPie(outer, sector * sixteenthsPerSector, sixteenthsPerSector);
        }
    }

    // Thin lines: a circle at every ring boundary and a spoke at every sector boundary.
    QPen line(Qt::black, 0.6);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    for (int track = 0; track <= disc::tracks; ++track)
        painter.drawEllipse(circle(disc::outerRadius - track * disc::trackWidth));
    for (int sector = 0; sector < disc::sectors; ++sector)
        painter.drawLine(toPoint(disc::polar(disc::hubRadius, disc::sectorStartAngle(sector))),
                         toPoint(disc::polar(disc::outerRadius, disc::sectorStartAngle(sector))));

    // The hub: a white boss with the shaft in the middle.
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawEllipse(circle(disc::hubRadius - 2.5));
    painter.setBrush(Qt::black);
    painter.drawEllipse(circle(3.0));
    return image;
}

bool write(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    if (qstrcmp(format, "jpeg") == 0) {
        writer.setQuality(95);
        writer.setOptimizedWrite(false);
        writer.setProgressiveScanWrite(false);
    }
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: encoder_disc_generator OUTPUT-FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + u'/';
    const bool written = write(drawDisc(1), folder + QStringLiteral("encoder-disc.jpg"), "jpeg") &&
                         write(drawDisc(2).convertToFormat(QImage::Format_Grayscale8),
                               folder + QStringLiteral("encoder-disc@2x.png"), "png");
    return written ? 0 : 1;
}
