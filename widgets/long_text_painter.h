// Keeps a QLineEdit quick when it holds a very long text, such as a pasted million characters.
//
// QLineEdit measures, shapes and draws its whole text on every paint, and works out where its
// cursor lies from the start of the text: with a million characters one paint takes over
// 100 ms, and the blinking cursor asks for two of them every second. From `threshold`
// characters on, a LongTextPainter takes over the painting of its line edit, its blinking cursor
// and the mouse clicks whose meaning depends on where the text lies. It lays out only a window
// of some thousand characters around the part in view and draws there what QLineEdit would:
// the frame, the text, the selection and the cursor, scrolled by QLineEdit's rule (the text
// stays put until the cursor leaves the view, and then the view follows the cursor to the
// nearer edge). Typing, selecting with the keyboard, copying, undoing and reading the text stay
// QLineEdit's own and act on the whole text. While the text is long it is laid out without
// shaping (no kerning or ligatures), which makes QLineEdit's layout of the whole text on each
// change, a paste included, about 40 % cheaper; most digits look the same either way, but a
// font may kern some pairs (Liberation Serif draws "11" 0.59 pixels narrower). Below the
// threshold the line edit is left entirely to itself, so short texts look exactly as before.
//
// When the text crosses the threshold, either way, the view stays where QLineEdit had it or would
// have it, as in a plain line edit.
//
// Limits of the long mode: right-to-left text is laid out left to right, an input method's
// preedit text is not drawn, and text dropped onto the field lands where QLineEdit's own
// (stale) scroll position puts it.
//
// Written against Qt 6.4.2, for every Qt so far: it goes when QLineEdit itself repaints and idles
// with a million characters as quickly as with it (form_bench's RepaintWithMillionCharacters and
// IdleWithMillionCharacters, with the painter left out). As QLineEdit leaves its layout to
// QWidgetLineControl, the painter keeps the events and leaves to a LongTextLayout the text window,
// the scroll rule and the rules and constants copied from Qt (long_text_layout.h).
#pragma once

#include "widgets/long_text_layout.h"

#include <QBasicTimer>
#include <QObject>
#include <QPoint>

#include <optional>

class QLineEdit;
class QFocusEvent;
class QMouseEvent;
class QInputMethodQueryEvent;

namespace widgets {

class LongTextPainter : public QObject
{
    Q_OBJECT

public:
    // Texts this long or longer are painted by the painter. Below it QLineEdit paints in well
    // under a millisecond and a half.
    static constexpr qsizetype threshold = 10'000;

    // Watches the line edit for the rest of its life; the line edit owns the painter.
    explicit LongTextPainter(QLineEdit *edit);

    // Whether the painter is painting the line edit now, its text being long.
    bool isLong() const;

    // Where the line edit's text lies as the painter and QLineEdit show it, for its
    // accessibility interface (QLineEdit would answer from a scroll position it no longer keeps).
    LongTextLayout &layout() { return m_layout; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void paint();
    qsizetype clickedPosition(const QPointF &point);
    bool mousePress(const QMouseEvent *event);
    bool mouseMove(const QMouseEvent *event);
    bool mouseDoubleClick(const QMouseEvent *event);
    void select(qsizetype anchor, qsizetype position);
    bool focusOut(const QFocusEvent *event);
    void deliverFocusOut();
    void answerInputMethodQuery(QInputMethodQueryEvent *event);
    qsizetype selectionAnchor() const;
    void restartBlinking();
    void showCursorMoved();
    void setUnshaped(bool unshaped);
    void prepareForPaste();

    QLineEdit *m_edit;
    QObject *m_control = nullptr;
    // Why the focus left, while QLineEdit has not yet been told.
    std::optional<Qt::FocusReason> m_focusOut;
    // Whether the text was long when it last changed.
    bool m_long = false;
    // Whether the text has changed since editingFinished was last given.
    bool m_edited = false;

    // The text window, the scroll position and the characters' places.
    LongTextLayout m_layout;

    bool m_unshaped = false;
    QBasicTimer m_blink;
    bool m_cursorShown = false;
    // The last double click, long or short, for the triple click.
    QBasicTimer m_tripleClick;
    QPoint m_doubleClickAt;
    bool m_doubleClickTakenLong = false;
    // Whether the painter took the last press of a mouse button.
    bool m_pressTaken = false;
};

} // namespace widgets
