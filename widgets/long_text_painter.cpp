#include "widgets/long_text_painter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleHints>

#include <algorithm>
#include <utility>

namespace widgets {

namespace {

// QLineEdit keeps its text, cursor and blinking in a private helper object, a child of class
// QWidgetLineControl (Qt 6.4.2), whose timer finds out where the cursor lies, from the start of
// the text, twice a second. Should a Qt rename or drop it, the painter still paints right but
// cannot silence that timer, which then costs a core a few per cent at rest with a long text:
// that is said once, loudly, rather than paid in silence.
QObject *findLineControl(const QLineEdit *edit)
{
    for (QObject *child : edit->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetLineControl") == 0)
            return child;
    }
    static bool warned = false;
    if (!std::exchange(warned, true))
        qWarning("LongTextPainter: QLineEdit has no QWidgetLineControl child in this Qt; its "
                 "cursor timer goes on measuring long texts");
    return nullptr;
}

} // namespace

LongTextPainter::LongTextPainter(QLineEdit *edit)
    : QObject(edit), m_edit(edit), m_layout(edit, [this] { return isLong(); })
{
    edit->installEventFilter(this);
    // In the long mode the painter blinks the cursor itself and silences the helper's timer.
    m_control = findLineControl(edit);
    if (m_control != nullptr)
        m_control->installEventFilter(this);
    // QLineEdit asks for repaints of the places where its own idea of the scroll position puts
    // the change; in the long mode that idea is stale, so the painter repaints the whole field.
    // Any new text, whether typed or set, is also what QLineEdit records as an edit, for its
    // editingFinished on focus-out (QLineEditPrivate::setText and _q_textEdited, Qt 6.4.2),
    // until the signal is given.
    connect(edit, &QLineEdit::textChanged, this, [this] {
        m_edited = true;
        const bool wasLong = std::exchange(m_long, isLong());
        if (m_long) {
            setUnshaped(true);
            if (!wasLong)
                m_layout.setScroll(m_layout.lineEditScroll());
            showCursorMoved();
            return;
        }
        setUnshaped(false);
        m_blink.stop();
        deliverFocusOut();
        if (wasLong) {
            m_layout.setLineEditScroll(m_layout.scroll());
            m_edit->update();
        }
    });
    connect(edit, &QLineEdit::cursorPositionChanged, this, &LongTextPainter::showCursorMoved);
    connect(edit, &QLineEdit::selectionChanged, this, &LongTextPainter::showCursorMoved);
    connect(edit, &QLineEdit::editingFinished, this, [this] { m_edited = false; });
}

bool LongTextPainter::isLong() const
{
    return m_edit->text().size() >= threshold && m_edit->echoMode() == QLineEdit::Normal &&
           m_edit->inputMask().isEmpty();
}

bool LongTextPainter::eventFilter(QObject *watched, QEvent *event)
{
    // A line edit being destroyed is a QLineEdit no more once its QWidget part sends the last
    // events (a focus out, a hide): there is nothing left to paint or to ask.
    if (qobject_cast<QLineEdit *>(static_cast<QObject *>(m_edit)) == nullptr)
        return false;
    if (watched == m_control)
        return event->type() == QEvent::Timer && isLong();
    if (watched != m_edit)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_focusOut.reset();
        showCursorMoved();
        return false;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            prepareForPaste();
        showCursorMoved();
        return false;
    case QEvent::FocusOut:
        return isLong() && focusOut(static_cast<QFocusEvent *>(event));
    case QEvent::Paint:
        if (!isLong())
            return false;
        paint();
        return true;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton)
            prepareForPaste();
        return false;
    case QEvent::MouseButtonPress:
        return mousePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return mouseMove(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonDblClick:
        return mouseDoubleClick(static_cast<QMouseEvent *>(event));
    case QEvent::InputMethodQuery:
        if (!isLong())
            return false;
        answerInputMethodQuery(static_cast<QInputMethodQueryEvent *>(event));
        return true;
    default:
        return false;
    }
}

void LongTextPainter::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_cursorShown = !m_cursorShown;
        m_edit->update();
    } else if (event->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    }
}

// What QLineEdit does when it loses the focus (QLineEdit::focusOutEvent, Qt 6.4.2, for a field
// without a password echo, completer or keypad navigation), less the two reckonings of the
// cursor's place (each a pass over the whole text, which a text of digits alone makes a full
// one). QLineEdit's own record that its cursor is shown stays set until the event reaches it:
// that happens when the text turns short while the field is still without the focus, and the
// focus coming back overwrites the record anyway.
bool LongTextPainter::focusOut(const QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        m_edit->deselect();
    // Qt gives editingFinished only after a change of the text, and only with a text that its
    // validator accepts; not when the focus goes to the field's own context menu.
    const QWidget *popup = QApplication::activePopupWidget();
    if ((reason != Qt::PopupFocusReason || popup == nullptr || popup->parentWidget() != m_edit) &&
        m_edited && m_edit->hasAcceptableInput())
        emit m_edit->editingFinished();
    m_blink.stop();
    m_edit->update();
    m_focusOut = reason;
    return true;
}

void LongTextPainter::deliverFocusOut()
{
    if (!m_focusOut || m_edit->hasFocus())
        return;
    QFocusEvent event(QEvent::FocusOut, *m_focusOut);
    m_focusOut.reset();
    // Its signals were given when the focus left.
    const QSignalBlocker blocker(m_edit);
    QCoreApplication::sendEvent(m_edit, &event);
}

// While the text is long, the field lays it out without shaping (no kerning, no ligatures), which
// makes QLineEdit's layout of the whole text on each change cheaper (see the header), and lets
// the characters' places be added up one by one (TextAdvances). The font set here holds the
// style strategy alone, so the rest still comes from the window, and a short text
// gets the window's font back as it was.
void LongTextPainter::setUnshaped(bool unshaped)
{
    if (unshaped == m_unshaped)
        return;
    m_unshaped = unshaped;
    QFont font;
    if (unshaped)
        font.setStyleStrategy(QFont::PreferNoShaping);
    m_edit->setFont(font);
}

// A paste may make the text long: the field then lays it out unshaped straight away, rather
// than shaped and then again unshaped. Should the text stay short, the window's font comes
// back before the next frame (a queued call goes before the low-priority repaint).
void LongTextPainter::prepareForPaste()
{
    if (m_unshaped || m_edit->isReadOnly())
        return;
    setUnshaped(true);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isLong())
                setUnshaped(false);
        },
        Qt::QueuedConnection);
}

// The cursor moved, the selection or the text changed, or the focus came: while the painter
// paints, the cursor shows at once and the whole field is painted again.
void LongTextPainter::showCursorMoved()
{
    if (isLong()) {
        restartBlinking();
        m_edit->update();
    }
}

void LongTextPainter::restartBlinking()
{
    m_cursorShown = true;
    const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    if (m_edit->hasFocus() && flashTime >= 2)
        m_blink.start(flashTime / 2, this);
    else
        m_blink.stop();
}

// Paints what QLineEdit would (QLineEdit::paintEvent): the panel, then the window of text in
// view, scrolled by QLineEdit's rule, with the selection, and the cursor.
void LongTextPainter::paint()
{
    m_layout.scrollToCursorAndLayOut();
    const QStyleOptionFrame panel = m_layout.panelOption();
    QPainter painter(m_edit);
    m_edit->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, m_edit);
    const QRect contents = m_layout.contentsRect();
    painter.setClipRect(contents);
    const QTextLayout &window = m_layout.window();
    const qsizetype start = m_layout.windowStart();

    const QPalette &palette = m_edit->palette();
    painter.setPen(palette.text().color());
    QList<QTextLayout::FormatRange> selections;
    if (m_edit->hasSelectedText()) {
        const qsizetype length = window.text().size();
        const qsizetype from = std::clamp<qsizetype>(m_edit->selectionStart() - start, 0, length);
        const qsizetype to = std::clamp<qsizetype>(m_edit->selectionEnd() - start, 0, length);
        if (from < to) {
            QTextLayout::FormatRange range;
            range.start = int(from);
            range.length = int(to - from);
            range.format.setBackground(palette.brush(QPalette::Highlight));
            range.format.setForeground(palette.brush(QPalette::HighlightedText));
            selections.append(range);
        }
    }
    window.draw(&painter, m_layout.origin(), selections, contents);

    if (m_cursorShown && m_edit->hasFocus() && !m_edit->isReadOnly()) {
        const int cursorWidth = m_edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel);
        window.drawCursor(&painter, m_layout.origin(), int(m_edit->cursorPosition() - start),
                          cursorWidth);
    }
}

// The end of the selection that the cursor is not at; the cursor itself without a selection.
qsizetype LongTextPainter::selectionAnchor() const
{
    const qsizetype cursor = m_edit->cursorPosition();
    if (!m_edit->hasSelectedText())
        return cursor;
    return cursor == m_edit->selectionStart() ? m_edit->selectionEnd() : m_edit->selectionStart();
}

// Where a press at the point lands: in the painted window while the text is long, and where
// QLineEdit puts it otherwise.
qsizetype LongTextPainter::clickedPosition(const QPointF &point)
{
    if (!isLong())
        return m_edit->cursorPositionAt(point.toPoint());
    return m_layout.pressedPosition(point);
}

// The click moves the cursor there, or with Shift extends the selection; a third click soon
// after a double click selects everything (QLineEdit::mousePressEvent, Qt 6.4.2). QLineEdit
// remembers only the double clicks it took itself: after one that the painter took, it would
// take a press near its own older one for a third click, so the painter places such a press
// itself, as QLineEdit does, even in a short text. The right button is left to the context menu.
bool LongTextPainter::mousePress(const QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        return false;
    const bool thirdClick = m_tripleClick.isActive() &&
                            (event->position().toPoint() - m_doubleClickAt).manhattanLength() <
                                QApplication::startDragDistance();
    m_pressTaken = true;
    if (thirdClick && (isLong() || m_doubleClickTakenLong)) {
        m_edit->selectAll();
        return true;
    }
    if (!isLong() && !(m_tripleClick.isActive() && m_doubleClickTakenLong)) {
        m_pressTaken = false;
        return false;
    }
    const qsizetype position = clickedPosition(event->position());
    if (event->modifiers() & Qt::ShiftModifier)
        select(selectionAnchor(), position);
    else
        m_edit->setCursorPosition(int(position));
    return true;
}

// Dragging with the left button moves the cursor and keeps the other end of the selection, as
// QWidgetLineControl::moveCursor does (Qt 6.4.2); the painter goes on with a drag whose press it
// took, even when the text has turned short, since QLineEdit did not see that press.
bool LongTextPainter::mouseMove(const QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || !(isLong() || m_pressTaken))
        return false;
    select(selectionAnchor(), clickedPosition(event->position()));
    return true;
}

// A double click selects the word under the pointer, without the blanks after it. The word's
// bounds come from the whole text, as QLineEdit finds them (QWidgetLineControl::selectWordAtPos,
// Qt 6.4.2): a word, such as a long number, may reach far beyond the laid-out window. A layout
// that is never laid out reads the text's word breaks but shapes nothing.
bool LongTextPainter::mouseDoubleClick(const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
    m_doubleClickAt = event->position().toPoint();
    m_doubleClickTakenLong = isLong();
    if (!isLong())
        return false;
    const QString text = m_edit->text();
    const int position = int(clickedPosition(event->position()));
    const QTextLayout whole(lineEditDisplayText(text), m_edit->font());
    const int start = whole.previousCursorPosition(std::min(position + 1, int(text.size())),
                                                   QTextLayout::SkipWords);
    int end = whole.nextCursorPosition(start, QTextLayout::SkipWords);
    while (end > position && text.at(end - 1).isSpace())
        --end;
    select(start, end);
    return true;
}

// Selects from the anchor to the position, the cursor at the position. QLineEdit's own mouse
// handling moves its cursor with QWidgetLineControl::moveCursor (Qt 6.4.2), which ends the undo
// step being typed whenever the cursor moves; setSelection alone does not, so the cursor is moved
// first, and the next thing typed is undone on its own.
void LongTextPainter::select(qsizetype anchor, qsizetype position)
{
    if (position != m_edit->cursorPosition())
        m_edit->setCursorPosition(int(position));
    m_edit->setSelection(int(anchor), int(position - anchor));
}

// Input methods place their windows by the cursor's rectangle; everything else is QLineEdit's
// answer.
void LongTextPainter::answerInputMethodQuery(QInputMethodQueryEvent *event)
{
    const Qt::InputMethodQueries queries = event->queries();
    for (int bit = 0; bit < 32; ++bit) {
        const auto query = Qt::InputMethodQuery(int(queries & (1u << bit)));
        if (query == 0)
            continue;
        if (query == Qt::ImCursorRectangle) {
            event->setValue(query, m_layout.caretRect(m_edit->cursorPosition()));
        } else if (query == Qt::ImAnchorRectangle) {
            event->setValue(query, m_layout.caretRect(selectionAnchor()));
        } else {
            QVariant value = m_edit->inputMethodQuery(query);
            if (query == Qt::ImEnabled && !value.isValid() && m_edit->isEnabled())
                value = true;
            event->setValue(query, value);
        }
    }
    event->accept();
}

} // namespace widgets
