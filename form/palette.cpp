#include "form/palette.h"

namespace pelmora {

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

} // namespace pelmora
