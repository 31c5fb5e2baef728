#include "about.h"
#include "form/pelmora.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(pelmora::about::applicationName));
    QApplication::setApplicationVersion(QString::fromUtf8(pelmora::about::version));

    Pelmora window;
    window.show();
    return QApplication::exec();
}
