#include "widgets/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace pelmora {
namespace {

QAccessibleInterface *announcementFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(Announcement::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
}

} // namespace

Announcement::Announcement(QWidget *parent) : QWidget(parent)
{
    QAccessible::installFactory(announcementFactory);
    setObjectName(QStringLiteral("Announcement"));
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    // Hidden until the first message, so that the window opens without an empty notification.
    hide();
}

void Announcement::announce(const QString &message)
{
    setAccessibleName(message);
    hide();
    show();
}

} // namespace pelmora
