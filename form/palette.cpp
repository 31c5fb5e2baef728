#include "form/palette.h"

#include <QPainter>
#include <QRadioButton>
#include <QStyleOption>

namespace pelmora::look {

QPalette fixedPalette()
{
    // Qt's own light palette, with two changes: a darker grey for disabled text (Qt's #bebebe
    // reads at 1.6 : 1 on a disabled field) and the classic navy selection, whose dark outline
    // also marks the focused field clearly on the window's lavender.
    const QColor grey(239, 239, 239);
    QPalette palette(Qt::black, grey, Qt::white, grey.darker(150), grey.darker(130), Qt::black,
                     Qt::white, Qt::white, grey);
    palette.setColor(QPalette::Midlight, grey.darker(130).lighter(110));
    palette.setColor(QPalette::Shadow, grey.darker(150).darker(135));
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, Qt::blue);
    palette.setColor(QPalette::LinkVisited, Qt::magenta);
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(96, 96, 96));
    palette.setColor(QPalette::Disabled, QPalette::Base, grey);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return palette;
}

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

} // namespace pelmora::look
