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
#include <QStyleOptionFrame>

#include <algorithm>
#include <limits>
#include <utility>

namespace widgets {

namespace {

// QLineEdit's blank between the contents rectangle and the text, on the left and the right
// (QLineEditPrivate::horizontalMargin, Qt 6.4.2).
constexpr int horizontalMargin = 2;

// A cursor this many characters away from the view's anchor lies outside the view, whose
// width holds far fewer characters; and the laid-out window reaches this many characters
// beyond the anchor and the cursor, enough to fill the view on either side.
constexpr qsizetype reach = 4096;
constexpr qsizetype margin = 1024;

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

// The text as QLineEdit shows it: control characters (but the tab), line and paragraph
// separators and the object replacement character become blanks, so that no font draws a box
// for them (QWidgetLineControl::updateDisplayText, Qt 6.4.2).
QString displayText(QString text)
{
    for (QChar &c : text) {
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            c = u' ';
    }
    return text;
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
        if (isLong()) {
            setUnshaped(true);
            showCursorMoved();
            return;
        }
        setUnshaped(false);
        m_blink.stop();
        deliverFocusOut();
        if (m_layout) {
            m_layout.reset();
            m_anchor = -1;
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
        return isLong() && mousePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return isLong() && mouseMove(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonDblClick:
        return isLong() && mouseDoubleClick(static_cast<QMouseEvent *>(event));
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
// makes QLineEdit's layout of the whole text on each change cheaper (see the header). Digits,
// which the field is for, look the same either way. The font set here
// holds the style strategy alone, so the rest still comes from the window, and a short text
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

// Moves the view by QLineEdit's rule (its scrolling in QLineEdit::paintEvent, Qt 6.4.2) and lays
// out the window of text around it.
void LongTextPainter::layOut()
{
    const QStyleOptionFrame panel = panelOption(m_edit);
    m_contents = m_edit->style()
                     ->subElementRect(QStyle::SE_LineEditContents, &panel, m_edit)
                     .marginsRemoved(m_edit->textMargins());
    const QFontMetrics metrics = m_edit->fontMetrics();
    const QRect lineRect(m_contents.x() + horizontalMargin,
                         m_contents.y() + (m_contents.height() - metrics.height() + 1) / 2,
                         m_contents.width() - 2 * horizontalMargin, metrics.height());
    const int width = lineRect.width();

    const QString text = m_edit->text();
    const qsizetype cursor = m_edit->cursorPosition();
    // A cursor far from the view has left it: the view then stands with the cursor at the
    // edge it left by, as after any jump. A text that has just grown long is treated so too.
    if (m_anchor < 0 || m_anchor > text.size() || cursor > m_anchor + reach) {
        m_anchor = cursor;
        m_offset = 1 - width;
    } else if (cursor < m_anchor - reach) {
        m_anchor = cursor;
        m_offset = 0;
    }
    m_start = startBoundary(text, std::min(m_anchor, cursor) - margin);
    const qsizetype end = endBoundary(text, std::max(m_anchor, cursor) + margin);

    m_layout = std::make_unique<QTextLayout>(displayText(text.mid(m_start, end - m_start)),
                                             m_edit->font());
    QTextOption option;
    option.setTextDirection(m_edit->layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    m_layout->beginLayout();
    const QTextLine line = m_layout->createLine();
    m_layout->endLayout();

    // QLineEdit's scrolling, with positions measured from the window's start.
    const auto xOf = [&](qsizetype position) { return line.cursorToX(int(position - m_start)); };
    const qreal cursorX = qRound(xOf(cursor));
    const qreal used = end == text.size() ? qRound(line.naturalTextWidth()) + 1
                                          : std::numeric_limits<qreal>::max();
    qreal left = xOf(m_anchor) + m_offset;
    if (m_start == 0 && used <= width)
        left = 0;
    else if (cursorX - left >= width)
        left = cursorX - width + 1;
    else if (cursorX - left < 0)
        left = cursorX;
    else if (used - left < width)
        left = used - width + 1;
    if (m_start == 0)
        left = std::max<qreal>(left, 0);

    m_anchor = m_start + line.xToCursor(std::max<qreal>(left, 0), QTextLine::CursorOnCharacter);
    m_offset = left - xOf(m_anchor);
    m_origin =
        QPointF(lineRect.x() - left, lineRect.y() - (qRound(line.ascent()) - metrics.ascent()));
}

void LongTextPainter::paint()
{
    layOut();
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

qsizetype LongTextPainter::positionAt(qreal x) const
{
    return m_start +
           m_layout->lineAt(0).xToCursor(x - m_origin.x(), QTextLine::CursorBetweenCharacters);
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
// after a double click selects everything. The right button is left to the context menu.
bool LongTextPainter::mousePress(const QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        return false;
    if (m_tripleClick.isActive() &&
        (event->position().toPoint() - m_doubleClickAt).manhattanLength() <
            QApplication::startDragDistance()) {
        m_edit->selectAll();
        return true;
    }
    layOut();
    const qsizetype position = positionAt(event->position().x());
    if (event->modifiers() & Qt::ShiftModifier) {
        const qsizetype anchor = selectionAnchor();
        select(anchor, position);
        m_selectionAnchor = anchor;
    } else {
        m_edit->setCursorPosition(int(position));
        m_selectionAnchor = position;
    }
    return true;
}

// Dragging with the left button selects from where the press left the anchor.
bool LongTextPainter::mouseMove(const QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return false;
    layOut();
    const qsizetype position = positionAt(event->position().x());
    select(m_selectionAnchor, position);
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
    layOut();
    const QString text = m_edit->text();
    const int position = int(positionAt(event->position().x()));
    const QTextLayout whole(displayText(text), m_edit->font());
    const int start = whole.previousCursorPosition(std::min(position + 1, int(text.size())),
                                                   QTextLayout::SkipWords);
    int end = whole.nextCursorPosition(start, QTextLayout::SkipWords);
    while (end > position && text.at(end - 1).isSpace())
        --end;
    select(start, end);
    m_selectionAnchor = start;
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
    m_doubleClickAt = event->position().toPoint();
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
    layOut();
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
