// Qt's Fusion style whatever the platform's own (Windows' own, for one, marks no focus on a text
// field), with the marks drawn dark in the palette's text colour, so that they show on light
// controls whatever Fusion would do: a ring inside the frame of a multi-line text box that has
// the focus (Fusion leaves it unmarked), and for option buttons a mark in the base colour with a
// dark ring and, when chosen, a dark dot, and a dotted frame around the option that has the
// keyboard focus (Fusion draws these in shades of the option's own colour, hard to see on it).
#pragma once

#include <QProxyStyle>

namespace widgets {

class MarkStyle : public QProxyStyle
{
    Q_OBJECT

public:
    MarkStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace widgets
