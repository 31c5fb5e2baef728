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

// The platform's style, plus a dark ring inside the frame of a multi-line text box that has the
// focus, which the Fusion style leaves unmarked.
class FocusFrameStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace pelmora::look
