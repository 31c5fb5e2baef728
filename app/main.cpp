#include "app/identity.h"
#include "core/numbers.h"
#include "form/pelmora.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelmora::describeApplication();
    pelmora::useUserDecimalSeparator();

    Pelmora window;
    window.show();
    return QApplication::exec();
}
