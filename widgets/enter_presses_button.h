// Makes Enter and the keypad's Enter press a focused button as Space does. Qt gives them to
// buttons only in dialogs, where the default button takes them; in a window without a default
// button they would do nothing. Install it as an event filter on each button.
#pragma once

#include <QObject>

namespace widgets {

class EnterPressesButton : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace widgets
