#include "widgets/text_advances.h"

#include <algorithm>

namespace widgets {

QChar lineEditDisplayCharacter(QChar c)
{
    if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator ||
        c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
        return u' ';
    return c;
}

QString lineEditDisplayText(QString text)
{
    for (QChar &c : text)
        c = lineEditDisplayCharacter(c);
    return text;
}

void TextAdvances::measure(const QString &text, const QFont &font)
{
    if (m_measured && isSameText(text, m_text) && font == m_font)
        return;
    if (!m_measured || font != m_font) {
        m_metrics = QFontMetricsF(font);
        m_ascii.fill(-1);
        m_others.clear();
    }
    m_text = text;
    m_font = font;
    m_measured = true;

    const qsizetype size = text.size();
    m_advances.resize(size);
    m_marks.assign(size / step + 1, 0);
    qreal x = 0;
    for (qsizetype position = 0; position < size; ++position) {
        if (position % step == 0)
            m_marks[position / step] = x;
        m_advances[position] = float(measureCharacter(position));
        x += m_advances[position];
    }
    if (size % step == 0)
        m_marks[size / step] = x;
}

// A character alone, as the line edit shows it; a surrogate pair counts at its first half.
qreal TextAdvances::measureCharacter(qsizetype position)
{
    QChar c = m_text.at(position);
    if (c.isLowSurrogate() && position > 0 && m_text.at(position - 1).isHighSurrogate())
        return 0;
    if (c.isHighSurrogate() && position + 1 < m_text.size() &&
        m_text.at(position + 1).isLowSurrogate())
        return m_metrics.horizontalAdvance(m_text.mid(position, 2));
    c = lineEditDisplayCharacter(c);
    if (c.unicode() < m_ascii.size()) {
        qreal &known = m_ascii[c.unicode()];
        if (known < 0)
            known = m_metrics.horizontalAdvance(c);
        return known;
    }
    const auto known = m_others.constFind(c.unicode());
    if (known != m_others.cend())
        return *known;
    return *m_others.insert(c.unicode(), m_metrics.horizontalAdvance(c));
}

qreal TextAdvances::x(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, m_text.size());
    qreal x = m_marks[position / step];
    for (qsizetype i = position / step * step; i < position; ++i)
        x += m_advances[i];
    return x;
}

qreal TextAdvances::advance(qsizetype position) const
{
    return position >= 0 && position < m_text.size() ? m_advances[position] : 0;
}

qsizetype TextAdvances::position(qreal x) const
{
    // The last mark at or before x, then the character that x falls in.
    const auto mark = std::upper_bound(m_marks.cbegin() + 1, m_marks.cend(), x);
    qsizetype position = (mark - m_marks.cbegin() - 1) * step;
    qreal left = m_marks[position / step];
    while (position < m_text.size() && left + m_advances[position] <= x)
        left += m_advances[position++];
    if (position < m_text.size() && x - left > m_advances[position] / 2)
        ++position;
    if (position > 0 && position < m_text.size() && m_text.at(position).isLowSurrogate())
        --position;
    return position;
}

} // namespace widgets
