// Speaks a short message through a screen reader without moving the keyboard focus and without
// changing anything on the screen.
//
// Qt 6.4 tells assistive tools of a new name or description by the object alone, without the
// new text, and Orca 43 then speaks nothing (it fails on the event); it also speaks text changes
// only in the focused field. What it does speak is a notification that appears. So this is a
// widget of no size that draws nothing and that assistive tools see as a notification; each
// message becomes its name, and the widget is hidden and shown again to bring it out.
#pragma once

#include <QWidget>

namespace pelmora {

class Announcement : public QWidget
{
    Q_OBJECT

public:
    explicit Announcement(QWidget *parent);

    void announce(const QString &message);
};

} // namespace pelmora
