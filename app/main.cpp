#include "app/identity.h"
#include "app/qt_translation.h"
#include "core/numbers.h"
#include "form/pelmora.h"
#include "widgets/accessibility.h"
#include "widgets/wayland_exposure.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelmora::describeApplication();
    pelmora::installQtTranslation(app);
    pelmora::useUserDecimalSeparator();
    widgets::installAccessibleInterfaces();
    widgets::keepWaylandWindowsExposed();

    Pelmora window;
    window.show();
    return QApplication::exec();
}
