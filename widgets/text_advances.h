// Where each position of a one-line text lies, in constant time per question, for any length.
//
// A QTextLine finds a position's x by adding up the advances from the start of its script item,
// so asking it for every character of a long text takes time in the square of the length: a
// screen reader asking a range's extents asks for each character of the range. TextAdvances adds
// up the characters' advances once (each character measured alone, so without kerning, as a
// text laid out unshaped is), keeps the sum at every 64th position, and answers from the nearest
// of those. Measuring a million characters takes some milliseconds and 4 MB. Characters are
// measured as the line edit shows them (see lineEditDisplayText).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

namespace widgets {

// The text as QLineEdit shows it: control characters (but the tab), line and paragraph
// separators and the object replacement character become blanks, so that no font draws a box
// for them (QWidgetLineControl::updateDisplayText, Qt 6.4.2).
QChar lineEditDisplayCharacter(QChar c);
QString lineEditDisplayText(QString text);

// Whether two strings are the same shared string, as a line edit's text() stays until the text
// changes: a constant-time test for a cached answer about a text.
inline bool isSameText(const QString &a, const QString &b)
{
    return a.isSharedWith(b) && a.size() == b.size();
}

class TextAdvances
{
public:
    // Measures `text` in `font` unless it is the text and font measured last (isSameText).
    void measure(const QString &text, const QFont &font);

    // The x of a position, 0 <= position <= size, from the start of the text.
    qreal x(qsizetype position) const;
    // The width of the character at position (0 for the low half of a surrogate pair).
    qreal advance(qsizetype position) const;
    // The position nearest to x, never inside a surrogate pair; clamped to the text.
    qsizetype position(qreal x) const;

private:
    static constexpr qsizetype step = 64;

    qreal measureCharacter(qsizetype position);

    QString m_text;
    QFont m_font;
    bool m_measured = false;
    // Each position's advance (a multiple of 1/64 pixel, exact as a float) and the x of every
    // step-th position.
    std::vector<float> m_advances;
    std::vector<qreal> m_marks;
    QFontMetricsF m_metrics{QFont()};
    std::array<qreal, 128> m_ascii{};
    QHash<char16_t, qreal> m_others;
};

} // namespace widgets
