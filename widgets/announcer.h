// Speaks a short message through a screen reader without moving the keyboard focus and without
// changing anything on the screen.
//
// Qt 6.8 has an event for this (QAccessibleAnnouncementEvent), which the announcer sends there.
// Before it, the announcer works around Qt 6.4's behaviour: Qt tells assistive tools of a new
// name or description by the object alone, without the new text, and Orca 43 then speaks nothing
// (it fails on the event); it also speaks text changes only in the focused field. What it does
// speak is a notification that appears. So the announcer is a widget of no size that draws
// nothing and that assistive tools see as a notification (through accessibleInterface(), which
// installAccessibleInterfaces() installs); each message becomes its name, and the widget is
// hidden and shown again to bring it out. The workaround goes with Qt 6.8 as the oldest Qt.
#pragma once

#include <QWidget>

class QAccessibleInterface;

namespace widgets {

class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &message);

    // An accessibility factory: the notification interface for an announcer, null for anything
    // else.
    static QAccessibleInterface *accessibleInterface(const QString &className, QObject *object);
};

} // namespace widgets
