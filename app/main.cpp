#include "app/identity.h"
#include "form/pelmora.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelmora::describeApplication();

    Pelmora window;
    window.show();
    return QApplication::exec();
}
