#include "widgets/long_text_layout.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QSet>
#include <QStyle>

#include <algorithm>
#include <array>
#include <utility>

namespace widgets {

namespace {

// The laid-out window holds the characters in view, at most `reach` of them (a view holds far
// fewer, unless they have no width), and `margin` more on either side, so that a glyph cut by an
// edge of the view is drawn whole.
constexpr qsizetype reach = 4096;
constexpr qsizetype margin = 64;

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

} // namespace

LongTextLayout::LongTextLayout(QLineEdit *edit, std::function<bool()> windowed)
    : m_edit(edit), m_windowed(std::move(windowed))
{}

bool LongTextLayout::isWindowed() const
{
    return m_windowed && m_windowed();
}

QStyleOptionFrame LongTextLayout::panelOption() const
{
    QStyleOptionFrame option;
    option.initFrom(m_edit);
    option.rect = m_edit->contentsRect();
    option.lineWidth =
        m_edit->hasFrame()
            ? m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_edit)
            : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (m_edit->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    return option;
}

QRect LongTextLayout::contentsRect() const
{
    const QStyleOptionFrame panel = panelOption();
    return m_edit->style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, m_edit)
        .marginsRemoved(m_edit->textMargins());
}

// QLineEdit measures the bounding rectangle of its whole text on each paint and takes its height
// when it exceeds the font's. That height is the extent of the glyphs drawn, so the text's
// distinct characters, a few for a long text of digits, give the same one.
int LongTextLayout::lineHeight() const
{
    const QString text = m_edit->text();
    const QFont font = m_edit->font();
    if (isSameText(text, m_height.text) && font == m_height.font)
        return m_height.height;
    std::array<bool, 128> seenAscii{};
    QSet<char32_t> seen;
    QString distinct;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < seenAscii.size()) {
            if (!std::exchange(seenAscii[unit], true))
                distinct += QChar(unit);
            continue;
        }
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()) : unit;
        if (!seen.contains(c)) {
            seen.insert(c);
            distinct += text.mid(i, pair ? 2 : 1);
        }
        i += pair ? 1 : 0;
    }
    const QFontMetrics metrics(font);
    m_height = {text, font, std::max(metrics.height(), metrics.boundingRect(distinct).height())};
    return m_height.height;
}

QRect LongTextLayout::lineRect() const
{
    const QRect contents = contentsRect();
    const int height = lineHeight();
    return {contents.x() + horizontalMargin, contents.y() + (contents.height() - height + 1) / 2,
            contents.width() - 2 * horizontalMargin, height};
}

LongTextLayout::Key LongTextLayout::currentKey() const
{
    return {m_edit->text(), m_edit->cursorPosition(), m_edit->size(), m_edit->font(), isWindowed()};
}

bool LongTextLayout::holds(const Key &key) const
{
    return isSameText(key.text, m_key.text) && key.cursor == m_key.cursor &&
           key.size == m_key.size && key.font == m_key.font && key.windowed == m_key.windowed;
}

void LongTextLayout::setScroll(int scroll)
{
    m_scroll = scroll;
    // Anything laid out before stood on another scroll position.
    m_key = {};
}

void LongTextLayout::scrollToCursorAndLayOut()
{
    const Key key = currentKey();
    m_advances.measure(key.text, key.font);
    const int width = lineRect().width();
    const int cursorX = qRound(m_advances.x(key.cursor));
    const int used = qRound(m_advances.x(key.text.size())) + 1;
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
    layOutWindow(key);
}

void LongTextLayout::keepLaidOut()
{
    const Key key = currentKey();
    if (!m_window || !holds(key))
        layOutWindow(key);
}

void LongTextLayout::layOutWindow(const Key &key)
{
    const QRect line = lineRect();
    const QString &text = key.text;
    m_advances.measure(text, key.font);
    const qsizetype first = m_advances.position(m_scroll);
    const qsizetype last = std::min(m_advances.position(m_scroll + line.width()), first + reach);
    m_start = startBoundary(text, first - margin);
    const qsizetype end = endBoundary(text, last + margin);
    m_window = std::make_unique<QTextLayout>(lineEditDisplayText(text.mid(m_start, end - m_start)),
                                             key.font);
    QTextOption option;
    option.setTextDirection(m_edit->layoutDirection());
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_window->setTextOption(option);
    m_window->setCacheEnabled(true);
    m_window->beginLayout();
    const QTextLine textLine = m_window->createLine();
    m_window->endLayout();

    m_origin = QPointF(line.x() - m_scroll + m_advances.x(m_start),
                       line.y() - (qRound(textLine.ascent()) - m_edit->fontMetrics().ascent()));
    // A character is as tall as the font, however tall the line.
    m_lineHeight = m_edit->fontMetrics().height();
    m_key = key;
}

// QLineEdit finds its caret from the start of the text, so it is asked once for each place of
// the caret.
void LongTextLayout::readCaret(const Key &key)
{
    m_caret = m_edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    m_lineHeight = QFontMetrics(key.font).height();
    m_window.reset();
    m_key = key;
}

void LongTextLayout::keepCaretRead()
{
    const Key key = currentKey();
    if (m_window || !holds(key))
        readCaret(key);
}

int LongTextLayout::lineEditScroll()
{
    const Key key = currentKey();
    m_advances.measure(key.text, key.font);
    const int cursorX = qRound(m_advances.x(key.cursor));
    const int caretX = m_edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    return lineRect().x() + cursorX - caretOffset - caretX;
}

void LongTextLayout::setLineEditScroll(int scroll)
{
    QLineEdit *edit = m_edit;
    const QMargins margins = edit->textMargins();
    const int width = lineRect().width();
    QImage scratch(edit->size(), QImage::Format_ARGB32_Premultiplied);
    const auto paintWithLine = [&](int lineWidth) {
        edit->setTextMargins(margins + QMargins(0, 0, width - lineWidth, 0));
        edit->render(&scratch);
    };
    constexpr int wideEnough = 1 << 24;
    paintWithLine(wideEnough);
    if (scroll > 0) {
        const int caretX = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        const int cursorX = caretX - lineRect().x() + caretOffset;
        paintWithLine(std::max(cursorX - scroll + 1, 1));
    }
    edit->setTextMargins(margins);
    m_window.reset();
    m_advances = TextAdvances();
    m_key = {};
}

QRect LongTextLayout::characterRect(qsizetype position)
{
    qreal x = 0;
    int y = 0;
    if (isWindowed()) {
        keepLaidOut();
        x = m_origin.x() + m_advances.x(position) - m_advances.x(m_start);
        y = qRound(m_origin.y());
    } else {
        keepCaretRead();
        m_advances.measure(m_key.text, m_key.font);
        x = m_caret.x() + caretOffset + m_advances.x(position) - m_advances.x(m_key.cursor);
        y = m_caret.top();
    }
    return QRect(qRound(x), y, qRound(m_advances.advance(position)), m_lineHeight);
}

qsizetype LongTextLayout::positionAt(const QPoint &point)
{
    if (!isWindowed())
        return m_edit->cursorPositionAt(point);
    keepLaidOut();
    return m_advances.position(point.x() - m_origin.x() + m_advances.x(m_start));
}

qsizetype LongTextLayout::pressedPosition(const QPointF &point)
{
    keepLaidOut();
    return m_start + m_window->lineAt(0).xToCursor(point.x() - m_origin.x(),
                                                   QTextLine::CursorBetweenCharacters);
}

QRect LongTextLayout::caretRect(qsizetype position)
{
    keepLaidOut();
    const QTextLine line = m_window->lineAt(0);
    const int inWindow = int(std::clamp<qsizetype>(position - m_start, 0, m_window->text().size()));
    const int x = qRound(m_origin.x() + line.cursorToX(inWindow));
    const int cursorWidth = m_edit->style()->pixelMetric(QStyle::PM_TextCursorWidth);
    return QRect(x - caretOffset, qRound(m_origin.y()), cursorWidth + caretWidening,
                 qRound(line.height()) + 1);
}

} // namespace widgets
