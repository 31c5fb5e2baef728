// Renders the Pelmora window as it opens and saves the picture, for the README and the
// desktop's software centres. Run it on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen window_screenshot OUTPUT.png
#include "form/pelmora.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
        return 2;
    }
    Pelmora window;
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "png")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
