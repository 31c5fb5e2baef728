// Where a QLineEdit's text lies: the layout half of a line edit, as QWidgetLineControl is to
// QLineEdit in Qt, for LongTextPainter (which keeps the events) and for the line edits'
// accessibility interface (which asks where characters are).
//
// While the field is windowed (its painter paints it, see long_text_painter.h) the layout holds a
// window of some thousand characters around the view, scrolled by QLineEdit's rule on a scroll
// position of its own; otherwise it reads QLineEdit's own places back from its caret. Either way
// it answers in constant time, from the characters' places (TextAdvances), and keeps its answers
// until the text, the cursor, the size or the font changes.
//
// The rules and constants copied from Qt live here, once each, with the Qt function they come
// from (qtbase src/widgets/widgets/qlineedit.cpp, qlineedit_p.cpp and qwidgetlinecontrol.cpp,
// Qt 6.4.2; the same tests pass on Qt 6.8.2) and the test that guards them.
#pragma once

#include "widgets/text_advances.h"

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <functional>
#include <memory>

class QLineEdit;

namespace widgets {

class LongTextLayout
{
public:
    // QLineEdit's blank between the contents rectangle and the text, on the left and the right
    // (QLineEditPrivate::horizontalMargin). Guarded by long_text_painter_tests'
    // looksAsQLineEditDoes.
    static constexpr int horizontalMargin = 2;
    // The caret's rectangle, as QLineEdit tells it to input methods, begins this far left of the
    // caret and is the cursor's width plus caretWidening wide and a line plus one pixel high
    // (QWidgetLineControl::rectForPos). Guarded by long_text_differential_tests (the caret and
    // the characters' places against a plain QLineEdit).
    static constexpr int caretOffset = 5;
    static constexpr int caretWidening = 9;

    // `windowed` tells whether the field is painted from the window now; without it, never.
    explicit LongTextLayout(QLineEdit *edit, std::function<bool()> windowed = {});

    bool isWindowed() const;

    // The panel QLineEdit draws under its text, with the options QLineEdit gives its style
    // (QLineEdit::initStyleOption and paintEvent).
    QStyleOptionFrame panelOption() const;

    // Where QLineEdit lays out its line: the contents rectangle less the text margins, and within
    // it a line of the font's height, or of its text's glyphs' if they reach further,
    // horizontalMargin in from either side, centred vertically (QLineEdit::paintEvent). Guarded
    // by long_text_painter_tests' looksAsQLineEditDoes and, at odd spare heights,
    // long_text_differential_tests.
    QRect contentsRect() const;
    QRect lineRect() const;

    // Scrolls by QLineEdit's rule and lays out the window in view (QLineEdit::paintEvent): the
    // text stays put until the cursor leaves the view, and then the view follows the cursor to
    // the nearer edge. As in QLineEdit, the view moves only when the field is painted. Guarded by
    // long_text_painter_tests' looksAsQLineEditDoes and long_text_differential_tests.
    void scrollToCursorAndLayOut();
    // Lays out the window again, without scrolling, if the text, cursor, size or font changed.
    void keepLaidOut();

    // The view's left edge lies scroll() pixels right of the start of the text.
    int scroll() const { return m_scroll; }
    void setScroll(int scroll);

    // QLineEdit's own scroll position, which it keeps private: read back from its caret's
    // rectangle, which lies at lineRect().x() - scroll + cursorX - caretOffset
    // (QLineEditPrivate::adjustedControlRect and QWidgetLineControl::rectForPos).
    int lineEditScroll();
    // Gives QLineEdit a scroll position, from which its next paint starts. QLineEdit has no setter
    // and sets its scroll position only while it paints (QLineEdit::paintEvent): a text that fits
    // its line starts at the left, and a cursor at cursorX beyond the right edge of a line `width`
    // wide scrolls it to cursorX - width + 1. So the field is painted twice off screen: first with
    // its line made wide enough for any text, then with its right text margin set to end the line
    // where the cursor then scrolls it to `scroll`. A scroll position right of the cursor's is not
    // reached so: the cursor itself is at the left edge then, where QLineEdit's own next paint puts
    // it anyway. Guarded by long_text_differential_tests (the text made to cross the threshold).
    void setLineEditScroll(int scroll);

    // The window laid out last: its text begins at windowStart() in the field's text, and its
    // origin is drawn at origin() in the field.
    const QTextLayout &window() const { return *m_window; }
    qsizetype windowStart() const { return m_start; }
    QPointF origin() const { return m_origin; }

    // Where the character at `position` is shown, and the position nearest to a point, in the
    // field's coordinates, as QLineEdit shows them, windowed or not.
    QRect characterRect(qsizetype position);
    qsizetype positionAt(const QPoint &point);
    // While windowed: where a press at the point lands, and the caret's rectangle at a position as
    // QLineEdit tells it to input methods.
    qsizetype pressedPosition(const QPointF &point);
    QRect caretRect(qsizetype position);

private:
    // What the answers were found for.
    struct Key
    {
        QString text;
        qsizetype cursor = -1;
        QSize size;
        QFont font;
        bool windowed = false;
    };

    Key currentKey() const;
    bool holds(const Key &key) const;
    void layOutWindow(const Key &key);
    void readCaret(const Key &key);
    void keepCaretRead();
    int lineHeight() const;

    QLineEdit *m_edit;
    std::function<bool()> m_windowed;
    int m_scroll = 0;

    Key m_key;
    // While windowed: the window, and the clipping rectangle and line height it was laid out for.
    std::unique_ptr<QTextLayout> m_window;
    qsizetype m_start = 0;
    QPointF m_origin;
    int m_lineHeight = 0;
    // Otherwise: QLineEdit's caret, as it tells input methods.
    QRect m_caret;
    // The characters' places in the text.
    TextAdvances m_advances;
    // The line's height, for the text and font it was found for.
    mutable struct
    {
        QString text;
        QFont font;
        int height = 0;
    } m_height;
};

} // namespace widgets
