#include "widgets/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace widgets {

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcer"));
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    // Hidden until the first message, so that the window opens without an empty notification.
    hide();
}

void Announcer::announce(const QString &message)
{
    setAccessibleName(message);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, message);
    QAccessible::updateAccessibility(&event);
#else
    hide();
    show();
#endif
}

QAccessibleInterface *Announcer::accessibleInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String(staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
}

} // namespace widgets
