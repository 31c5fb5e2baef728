#include "widgets/line_edit_accessible.h"

#include "widgets/long_text_layout.h"
#include "widgets/long_text_painter.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <optional>

namespace widgets {
namespace {

// A stretch of text, [start, end) in UTF-16 code units; start == end == -1 when there is none.
struct Span
{
    int start = -1;
    int end = -1;
};

enum class Side { Before, At, After };

// The items that the boundary queries step through: characters (graphemes), words (the blanks
// and punctuation between two words form an item of their own) or sentences. They cover the
// text without gaps or overlaps. Every query costs time in proportion to the text's length.
class Items
{
public:
    Items(QTextBoundaryFinder::BoundaryType type, const QString &text)
        : m_finder(type, text), m_size(int(text.size()))
    {}

    // The item that holds the character at offset, 0 <= offset < size.
    Span at(int offset)
    {
        const int start = isBoundary(offset) ? offset : previousBoundary(offset);
        return {start, nextBoundary(offset)};
    }

private:
    static constexpr QTextBoundaryFinder::BoundaryReasons itemEdge =
        QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;

    bool isBoundary(int position)
    {
        if (position == 0 || position == m_size)
            return true;
        m_finder.setPosition(position);
        return (m_finder.boundaryReasons() & itemEdge) != 0;
    }

    // The last item boundary before position, or 0.
    int previousBoundary(int position)
    {
        m_finder.setPosition(position);
        while (m_finder.toPreviousBoundary() > 0) {
            if (m_finder.boundaryReasons() & itemEdge)
                return int(m_finder.position());
        }
        return 0;
    }

    // The first item boundary after position, or the end of the text. QTextBoundaryFinder
    // returns -1 past the end; Qt 6.4's loop waits for a boundary there for ever.
    int nextBoundary(int position)
    {
        m_finder.setPosition(position);
        for (qsizetype next = m_finder.toNextBoundary(); next != -1 && next < m_size;
             next = m_finder.toNextBoundary()) {
            if (m_finder.boundaryReasons() & itemEdge)
                return int(next);
        }
        return m_size;
    }

    QTextBoundaryFinder m_finder;
    int m_size;
};

std::optional<QTextBoundaryFinder::BoundaryType> finderType(QAccessible::TextBoundaryType boundary)
{
    switch (boundary) {
    case QAccessible::CharBoundary:
        return QTextBoundaryFinder::Grapheme;
    case QAccessible::WordBoundary:
        return QTextBoundaryFinder::Word;
    case QAccessible::SentenceBoundary:
        return QTextBoundaryFinder::Sentence;
    default: // line, paragraph or the whole text: a single-line field holds just one
        return std::nullopt;
    }
}

// The item at offset (0 <= offset <= size), or the one just before or after it. The end of the
// text holds an empty item of its own, so that the last item is the one before it; a line covers
// the end of the text too. On an empty text only the item at 0 exists, and it is empty.
Span find(const QString &text, int offset, QAccessible::TextBoundaryType boundary, Side side)
{
    const int size = int(text.size());
    if (offset < 0 || offset > size)
        return {};
    const auto type = finderType(boundary);
    if (!type)
        return side == Side::At ? Span{0, size} : Span{};

    Items items(*type, text);
    const Span here = offset == size ? Span{size, size} : items.at(offset);
    switch (side) {
    case Side::Before:
        return here.start == 0 ? Span{} : items.at(here.start - 1);
    case Side::At:
        return here;
    case Side::After:
        return here.end == size ? Span{} : items.at(here.end);
    }
    return {};
}

class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText), m_ownLayout(edit)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value)
            QAccessibleWidget::setText(t, text);
        else if (canEdit())
            edit()->setText(text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    // The text, read through the field's public functions.

    // Offsets may be any int an assistive tool sends; the differences are taken in qsizetype.
    QString text(int start, int end) const override
    {
        return start <= end ? shownText().mid(start, qsizetype(end) - start) : QString();
    }
    int characterCount() const override { return int(shownText().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + edit()->selectionLength();
        }
    }

    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        const int size = characterCount();
        start = std::clamp(start, 0, size);
        end = std::clamp(end, 0, size);
        edit()->setSelection(start, end - start);
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }

    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }

    void scrollToSubstring(int start, int end) override
    {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }

    // A line edit has no text attributes: the whole text is one run without any. (Qt's own
    // answer, an empty run at the offset, makes Orca drop the first character of a selection.)
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Where the characters lie comes from what is painted, through the field's layout: its
    // painter's while it has one, which knows whether the painter or QLineEdit paints, and
    // otherwise one of the interface's own. Each answer takes constant time, for Qt's AT-SPI
    // bridge asks for every character of a range. Points come in screen coordinates.
    int offsetAtPoint(const QPoint &point) const override
    {
        return int(layout().positionAt(edit()->mapFromGlobal(point)));
    }

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= shownText().size())
            return {};
        const QRect rect = layout().characterRect(offset);
        return {edit()->mapToGlobal(rect.topLeft()), rect.size()};
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        return textAround(offset, boundary, Side::Before, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        return textAround(offset, boundary, Side::At, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        return textAround(offset, boundary, Side::After, start, end);
    }

    // Changes asked for by an assistive tool, allowed where the user could type.

    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }

    void replaceText(int start, int end, const QString &text) override
    {
        const QString old = edit()->text();
        if (canEdit() && 0 <= start && start <= end && end <= old.size())
            edit()->setText(QString(old).replace(start, end - start, text));
    }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    QString shownText() const
    {
        return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString();
    }

    bool canEdit() const { return edit()->isEnabled() && !edit()->isReadOnly(); }

    LongTextLayout &layout() const
    {
        auto *painter = edit()->findChild<LongTextPainter *>(QString(), Qt::FindDirectChildrenOnly);
        return painter != nullptr ? painter->layout() : m_ownLayout;
    }

    // Offset -2 stands for the caret and -1 for the end of the text.
    QString textAround(int offset, QAccessible::TextBoundaryType boundary, Side side, int *start,
                       int *end) const
    {
        const QString text = shownText();
        if (offset == -2)
            offset = edit()->cursorPosition();
        else if (offset == -1)
            offset = int(text.size());
        const Span span = find(text, offset, boundary, side);
        *start = span.start;
        *end = span.end;
        return span.start < 0 ? QString() : text.mid(span.start, span.end - span.start);
    }

    // The places in a field without a painter.
    mutable LongTextLayout m_ownLayout;
};

} // namespace

QAccessibleInterface *lineEditAccessibleInterface(const QString &className, QObject *object)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (className != QLatin1String("QLineEdit") || edit == nullptr ||
        edit->echoMode() != QLineEdit::Normal)
        return nullptr;
    return new LineEditAccessible(edit);
}

} // namespace widgets
