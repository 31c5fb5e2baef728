#include "widgets/long_text_painter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>

#include <algorithm>
#include <limits>
#include <utility>

namespace widgets {

namespace {

// QLineEdit's blank between the contents rectangle and the text, on the left and the right
// (QLineEditPrivate::horizontalMargin, Qt 6.4.2).
constexpr int horizontalMargin = 2;

// The laid-out window holds the characters in view, at most `reach` of them (a view holds far
// fewer, unless they have no width), and `margin` more on either side, so that a glyph cut by an
// edge of the view is drawn whole.
constexpr qsizetype reach = 4096;
constexpr qsizetype margin = 64;

// The panel QLineEdit draws under its text, with the options QLineEdit gives its style
// (QLineEdit::initStyleOption and paintEvent, Qt 6.4.2).
QStyleOptionFrame panelOption(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    return option;
}

// Window edges never split a surrogate pair.
qsizetype startBoundary(const QString &text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (position > 0 && position < text.size() && text.at(position).isLowSurrogate())
        --position;
    return position;
}

qsizetype endBoundary(const QString &text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    if (position < text.size() && text.at(position).isLowSurrogate())
        ++position;
    return position;
}

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

LongTextPainter::LongTextPainter(QLineEdit *edit) : QObject(edit), m_edit(edit)
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
                takeLineEditScroll();
            showCursorMoved();
            return;
        }
        setUnshaped(false);
        m_blink.stop();
        deliverFocusOut();
        if (wasLong) {
            giveLineEditScroll();
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

// Where QLineEdit lays out its line: the contents rectangle less the text margins, and within it
// a line of the font's height, horizontalMargin in from either side (QLineEdit::paintEvent,
// Qt 6.4.2).
QRect LongTextPainter::lineRect()
{
    const QStyleOptionFrame panel = panelOption(m_edit);
    m_contents = m_edit->style()
                     ->subElementRect(QStyle::SE_LineEditContents, &panel, m_edit)
                     .marginsRemoved(m_edit->textMargins());
    const int height = m_edit->fontMetrics().height();
    m_lineHeight = height;
    return {m_contents.x() + horizontalMargin,
            m_contents.y() + (m_contents.height() - height + 1) / 2,
            m_contents.width() - 2 * horizontalMargin, height};
}

// Lays out the window of text in view. Painting first scrolls by QLineEdit's rule
// (QLineEdit::paintEvent, Qt 6.4.2), on the same whole-pixel scroll position measured from the
// start of the text; as in QLineEdit, the view moves only when the field is painted, and a click
// before that lands where the text was last shown.
void LongTextPainter::layOut(bool scroll)
{
    const QRect line = lineRect();
    const int width = line.width();
    const QString text = m_edit->text();
    const qsizetype cursor = m_edit->cursorPosition();
    m_advances.measure(text, m_edit->font());
    const int cursorX = qRound(m_advances.x(cursor));
    const int used = qRound(m_advances.x(text.size())) + 1;
    if (scroll) {
        if (used <= width)
            m_scroll = 0;
        else if (cursorX - m_scroll >= width)
            m_scroll = cursorX - width + 1;
        else if (cursorX - m_scroll < 0 && m_scroll < used)
            m_scroll = cursorX;
        else if (used - m_scroll < width)
            m_scroll = used - width + 1;
        else
            m_scroll = std::max(0, m_scroll);
    }

    const qsizetype first = m_advances.position(m_scroll);
    const qsizetype last = std::min(m_advances.position(m_scroll + width), first + reach);
    m_start = startBoundary(text, first - margin);
    const qsizetype end = endBoundary(text, last + margin);
    m_layout = std::make_unique<QTextLayout>(lineEditDisplayText(text.mid(m_start, end - m_start)),
                                             m_edit->font());
    QTextOption option;
    option.setTextDirection(m_edit->layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    m_layout->beginLayout();
    const QTextLine textLine = m_layout->createLine();
    m_layout->endLayout();

    m_origin = QPointF(line.x() - m_scroll + m_advances.x(m_start),
                       line.y() - (qRound(textLine.ascent()) - m_edit->fontMetrics().ascent()));
    m_laidOut = {text, cursor, m_edit->size(), m_edit->font()};
}

// Lays out again only if the text, the cursor, the size or the font changed since the last time.
void LongTextPainter::keepLaidOut()
{
    if (!m_layout || !isSameText(m_edit->text(), m_laidOut.text) ||
        m_edit->cursorPosition() != m_laidOut.cursor || m_edit->size() != m_laidOut.size ||
        m_edit->font() != m_laidOut.font)
        layOut(false);
}

QRect LongTextPainter::characterRect(qsizetype position)
{
    keepLaidOut();
    const qreal x = m_origin.x() + m_advances.x(position) - m_advances.x(m_start);
    return QRect(qRound(x), qRound(m_origin.y()), qRound(m_advances.advance(position)),
                 m_lineHeight);
}

qsizetype LongTextPainter::positionAt(const QPoint &point)
{
    keepLaidOut();
    return m_advances.position(point.x() - m_origin.x() + m_advances.x(m_start));
}

// A text that has just grown long keeps the scroll position QLineEdit had for it, which its next
// paint would have started from. QLineEdit tells only its caret's rectangle, which lies at
// contents.x + horizontalMargin - scroll + cursorX - 5 (QLineEditPrivate::adjustedControlRect
// and QWidgetLineControl::rectForPos, Qt 6.4.2).
void LongTextPainter::takeLineEditScroll()
{
    const QRect line = lineRect();
    const QString text = m_edit->text();
    m_advances.measure(text, m_edit->font());
    const int cursorX = qRound(m_advances.x(m_edit->cursorPosition()));
    const int caretX = m_edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    m_scroll = line.x() + cursorX - 5 - caretX;
    // Anything laid out meanwhile (an input method may have asked where the cursor is) stood on
    // an older scroll position.
    m_layout.reset();
}

// A text that has just turned short gives QLineEdit the painter's scroll position, which its next
// paint starts from. QLineEdit sets its scroll position only while it paints (QLineEdit::
// paintEvent, Qt 6.4.2): a text that fits its line starts at the left, and a cursor at cursorX
// beyond the right edge of a line `width` wide scrolls it to cursorX - width + 1. So it is
// painted twice off screen: first with its line made wide enough for any text, then with its
// right text margin set to end the line where the cursor then scrolls it to the painter's
// position. A view left of the cursor's is not reached so: the cursor itself is at the left edge
// then, where QLineEdit's own next paint puts it anyway.
void LongTextPainter::giveLineEditScroll()
{
    const QMargins margins = m_edit->textMargins();
    const int width = lineRect().width();
    QImage scratch(m_edit->size(), QImage::Format_ARGB32_Premultiplied);
    const auto paintWithLine = [&](int lineWidth) {
        m_edit->setTextMargins(margins + QMargins(0, 0, width - lineWidth, 0));
        m_edit->render(&scratch);
    };
    constexpr int wideEnough = 1 << 24;
    paintWithLine(wideEnough);
    if (m_scroll > 0) {
        const int caretX = m_edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        const int cursorX = caretX - lineRect().x() + 5;
        paintWithLine(std::max(cursorX - m_scroll + 1, 1));
    }
    m_edit->setTextMargins(margins);
    m_layout.reset();
    m_advances = TextAdvances();
    m_laidOut = {};
}

void LongTextPainter::paint()
{
    layOut(true);
    const QStyleOptionFrame panel = panelOption(m_edit);
    QPainter painter(m_edit);
    m_edit->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, m_edit);
    painter.setClipRect(m_contents);

    const QPalette &palette = m_edit->palette();
    painter.setPen(palette.text().color());
    QList<QTextLayout::FormatRange> selections;
    if (m_edit->hasSelectedText()) {
        const qsizetype length = m_layout->text().size();
        const qsizetype from = std::clamp<qsizetype>(m_edit->selectionStart() - m_start, 0, length);
        const qsizetype to = std::clamp<qsizetype>(m_edit->selectionEnd() - m_start, 0, length);
        if (from < to) {
            QTextLayout::FormatRange range;
            range.start = int(from);
            range.length = int(to - from);
            range.format.setBackground(palette.brush(QPalette::Highlight));
            range.format.setForeground(palette.brush(QPalette::HighlightedText));
            selections.append(range);
        }
    }
    m_layout->draw(&painter, m_origin, selections, m_contents);

    if (m_cursorShown && m_edit->hasFocus() && !m_edit->isReadOnly()) {
        const int cursorWidth = m_edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel);
        m_layout->drawCursor(&painter, m_origin, int(m_edit->cursorPosition() - m_start),
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
    keepLaidOut();
    return m_start + m_layout->lineAt(0).xToCursor(point.x() - m_origin.x(),
                                                   QTextLine::CursorBetweenCharacters);
}

QRect LongTextPainter::cursorRectangle(qsizetype position) const
{
    const QTextLine line = m_layout->lineAt(0);
    const int inWindow = int(std::clamp<qsizetype>(position - m_start, 0, m_layout->text().size()));
    const int x = qRound(m_origin.x() + line.cursorToX(inWindow));
    const int cursorWidth = m_edit->style()->pixelMetric(QStyle::PM_TextCursorWidth);
    // Widened as QWidgetLineControl::rectForPos (Qt 6.4.2) widens the cursor.
    return QRect(x - 5, qRound(m_origin.y()), cursorWidth + 9, qRound(line.height()) + 1);
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
    keepLaidOut();
    const Qt::InputMethodQueries queries = event->queries();
    for (int bit = 0; bit < 32; ++bit) {
        const auto query = Qt::InputMethodQuery(int(queries & (1u << bit)));
        if (query == 0)
            continue;
        if (query == Qt::ImCursorRectangle) {
            event->setValue(query, cursorRectangle(m_edit->cursorPosition()));
        } else if (query == Qt::ImAnchorRectangle) {
            event->setValue(query, cursorRectangle(selectionAnchor()));
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
