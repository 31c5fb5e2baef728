#include "widgets/mark_style.h"

#include <QPainter>
#include <QRadioButton>
#include <QStyleOption>

namespace widgets {

void MarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const
{
    const QColor dark = option->palette.color(QPalette::Text);
    switch (element) {
    case PE_IndicatorRadioButton: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF mark = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->setPen(dark);
        painter->setBrush(option->palette.color(QPalette::Base));
        painter->drawEllipse(mark);
        if (option->state.testFlag(State_On)) {
            const qreal inset = mark.width() / 3.5;
            painter->setPen(Qt::NoPen);
            painter->setBrush(dark);
            painter->drawEllipse(mark.adjusted(inset, inset, -inset, -inset));
        }
        painter->restore();
        return;
    }
    case PE_FrameFocusRect:
        if (qobject_cast<const QRadioButton *>(widget) == nullptr)
            break;
        painter->save();
        painter->setPen(QPen(dark, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(widget->rect().adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_Frame && option->state.testFlag(State_HasFocus)) {
        painter->save();
        painter->setPen(option->palette.color(QPalette::Highlight));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

} // namespace widgets
