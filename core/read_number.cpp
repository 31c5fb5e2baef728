// Reading the number that a text begins with.
//
// The rules, in the order the reader meets them:
// - Blanks (tab, line feed, carriage return, space and the ideographic space U+3000) are skipped
//   anywhere in the number: before it, after the sign, among the digits, after the point and in
//   the exponent. " 1 0" reads 10 and "- 5" reads -5.
// - "&H" or "&O" right after the leading blanks starts a hexadecimal or octal number. A value up
//   to 0xFFFF is taken as a signed 16-bit pattern ("&HFFFF" is -1), a larger one as a signed
//   32-bit pattern ("&HFFFFFFFF" is -1); more than 32 bits is an overflow. A trailing "&"
//   makes it a 32-bit number, the long-integer suffix ("&HFFFF&" is 65535, "&H8000&" 32768).
//   An "&" followed by anything but H or O, or by no digits, reads 0.
// - Otherwise: at most one sign, then the ASCII digits 0 to 9, then a full stop and the fraction
//   (a second full stop ends the number), then an exponent: E, e, D or d, an optional sign and
//   digits ("1D3" is 1000, "2e" is 2).
// - Any other character ends the number. A text that does not begin with one reads 0.
// - The result is the real nearest to the decimal number read. One beyond the largest real is an
//   overflow; one too small for a real reads 0.
//
// The reader makes one pass over the text and keeps at most a fixed number of significant digits
// (enough to decide the rounding exactly), so a text of a million digits reads in linear time.
#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace pelmora {

namespace {

// A correctly rounded double never depends on more than 768 significant decimal digits; the rest
// matter only through whether any of them is not zero.
constexpr std::size_t keptDigits = 800;
// Exponents are counted up to this bound; beyond it the result is 0 or an overflow anyway.
constexpr std::int64_t exponentBound = 1'000'000'000;

class Cursor
{
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
                ++m_pos;
            else if (m_text.substr(m_pos, 3) == "\xE3\x80\x80") // U+3000 in UTF-8
                m_pos += 3;
            else
                break;
        }
    }

    // The next character after any blanks, or '\0' at the end of the text.
    char peek()
    {
        skipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }

    // The next character as it stands, blanks included.
    char peekRaw() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }

    void advance() { ++m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int octalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The digits after "&H" or "&O", read as a 16-bit or 32-bit two's-complement pattern; a
// trailing "&" asks for 32 bits.
Real readRadixNumber(Cursor &cursor, unsigned radix, int (*digitValue)(char))
{
    std::uint64_t value = 0;
    for (int digit = digitValue(cursor.peek()); digit >= 0; digit = digitValue(cursor.peek())) {
        value = value * radix + static_cast<unsigned>(digit);
        if (value > 0xFFFF'FFFFu)
            throw OverflowError();
        cursor.advance();
    }
    const bool longSuffix = cursor.peek() == '&';
    if (value <= 0xFFFFu && !longSuffix)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Collects the significant digits of the mantissa in order, leading zeros dropped, and the
// decimal exponent of the first of them (the number is 0.d1d2d3... x 10^exponent).
class Mantissa
{
public:
    void addDigit(char c, bool inFraction)
    {
        if (m_digits.empty() && c == '0') {
            if (inFraction)
                --m_exponent; // 0.05 = 0.5 x 10^-1
            return;
        }
        if (!inFraction)
            ++m_exponent;
        if (m_digits.size() < keptDigits)
            m_digits.push_back(c);
        else if (c != '0')
            m_truncatedNonZero = true;
        // Keep the exponent bounded even for millions of digits.
        m_exponent = std::clamp(m_exponent, -exponentBound, exponentBound);
    }

    bool empty() const { return m_digits.empty(); }
    std::int64_t exponent() const { return m_exponent; }

    // "0.ddd...e<exponent>", with a final 1 standing for any non-zero digits dropped.
    std::string scientific(std::int64_t exponent) const
    {
        std::string text = "0." + m_digits;
        if (m_truncatedNonZero)
            text += '1';
        return text + 'e' + std::to_string(exponent);
    }

private:
    std::string m_digits;
    std::int64_t m_exponent = 0;
    bool m_truncatedNonZero = false;
};

Real readDecimalNumber(Cursor &cursor)
{
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }

    Mantissa mantissa;
    for (; isDigit(cursor.peek()); cursor.advance())
        mantissa.addDigit(cursor.peek(), false);
    if (cursor.peek() == '.') {
        cursor.advance();
        for (; isDigit(cursor.peek()); cursor.advance())
            mantissa.addDigit(cursor.peek(), true);
    }

    std::int64_t exponent = 0;
    const char marker = cursor.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        cursor.advance();
        bool negativeExponent = false;
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            negativeExponent = cursor.peek() == '-';
            cursor.advance();
        }
        for (; isDigit(cursor.peek()); cursor.advance())
            exponent = std::min(exponent * 10 + (cursor.peek() - '0'), exponentBound);
        if (negativeExponent)
            exponent = -exponent;
    }

    if (mantissa.empty())
        return 0.0;
    // Settle the far ends here so that the text handed to from_chars stays short.
    const std::int64_t total = mantissa.exponent() + exponent;
    if (total > 400)
        throw OverflowError();
    if (total < -400)
        return 0.0;

    const std::string text = mantissa.scientific(total);
    Real value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = total > 0 ? HUGE_VAL : 0.0;
    if (std::isinf(value))
        throw OverflowError();
    return negative && value != 0.0 ? -value : value;
}

} // namespace

Real readNumber(std::string_view text)
{
    Cursor cursor(text);
    cursor.skipBlanks();
    if (cursor.peekRaw() != '&')
        return readDecimalNumber(cursor);

    cursor.advance();
    const char prefix = cursor.peekRaw();
    if (prefix == 'H' || prefix == 'h') {
        cursor.advance();
        return readRadixNumber(cursor, 16, hexDigit);
    }
    if (prefix == 'O' || prefix == 'o') {
        cursor.advance();
        return readRadixNumber(cursor, 8, octalDigit);
    }
    return 0.0;
}

} // namespace pelmora
