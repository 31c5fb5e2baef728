// What keeps the window's look the same on every desktop: the colours that go with the
// designed backgrounds, and a focus mark that shows on them.
#pragma once

#include <QPalette>
#include <QProxyStyle>

namespace pelmora::look {

// A complete light palette: dark text, white fields, greyed text that still reads at better than
// 5 : 1 on a disabled field, and a dark selection that white text reads on. The window resolves
// its own designed colours against it, so that no role is left to a dark or high-contrast
// desktop, which would put light text on the window's light colours.
QPalette fixedPalette();

// Qt's Fusion style, which the window is designed in, whatever the platform's own style (Windows'
// own, for one, marks no focus on a text field), plus the marks that have to show on the
// window's fixed colours, drawn dark whatever Fusion would do: a ring inside the frame of a
// multi-line text box that has the focus (Fusion leaves it unmarked), and for the option buttons
// a white mark with a dark ring and, when chosen, a dark dot, and a dotted frame around the
// option that has the keyboard focus (Fusion draws these in shades of the option's own colour,
// hard to see on it).
class MarkStyle : public QProxyStyle
{
public:
    MarkStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace pelmora::look
