#include "widgets/wayland_exposure.h"

#include <QByteArray>

namespace widgets {

void keepWaylandWindowsExposed()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Zero switches the timer off (QWaylandWindow::handleUpdate starts it for a positive value
    // only); each window reads the variable when it is made.
    qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", QByteArrayLiteral("0"));
#endif
}

} // namespace widgets
