#include "widgets/enter_presses_button.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace widgets {

bool EnterPressesButton::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (button == nullptr || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!key->isAutoRepeat()) // holding Space down presses once too
        button->click();
    return true;
}

} // namespace widgets
