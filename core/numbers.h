// The numeric rules that both conversions follow.
//
// Numbers travel as a tagged Value (a real, a 32-bit integer or a string) and are combined by the
// small operations below, each of which does exactly one thing: round, take a magnitude, compare,
// divide, exclusive-or, or turn a number into text. The conversions in conversions.h are written
// in terms of these operations, step by step, so that every moment at which a real is rounded is
// visible there. Texts are UTF-8 and "character" means a Unicode code point.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace pelmora {

// A number that does not fit where it has to go: outside the 32-bit integer range when rounded,
// beyond the range of a real when read, or a string longer than a short integer can count. The
// operation that raises it gives no result, and the procedure that called it stops there.
class OverflowError : public std::overflow_error
{
public:
    OverflowError() : std::overflow_error("overflow") {}
};

using Real = double;
using Integer = std::int32_t;
using ShortInteger = std::int16_t;

// Exactly one of a real, an integer or a string.
using Value = std::variant<Real, Integer, std::string>;

// The value of the number that the text begins with; 0 when it does not begin with one. The
// reading rules are described in read_number.cpp. Throws OverflowError for a number beyond the
// range of a real and for a radix number of more than 32 bits.
Real readNumber(std::string_view text);

// Rounds to the nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Throws OverflowError when the result lies outside -2147483648..2147483647.
Integer toInteger(Real x);
// A real is rounded as above, an integer passes unchanged, a string is read as a number first.
Integer toInteger(const Value &v);

// |x|; throws OverflowError for -2147483648, whose magnitude has no 32-bit form.
Integer absInteger(Integer x);
// |x| keeping the kind: a real stays a real. A string is read as a number and gives a real.
Value absValue(const Value &v);

// Numeric comparison of the operands as they stand: a real is not rounded first.
bool lessThan(const Value &a, const Value &b);

// Both operands are rounded by toInteger (which may throw OverflowError), then the quotient is
// truncated toward zero. Throws std::domain_error for a divisor that rounds to 0, and
// OverflowError for -2147483648 / -1.
Value integerDivide(const Value &a, const Value &b);

// The value is rounded by toInteger (which may throw OverflowError); the result is the bitwise
// exclusive or of the two 32-bit integers, as an integer value.
Value exclusiveOr(const Value &a, Integer b);

// Division by 2, truncated toward zero.
constexpr Integer halve(Integer x)
{
    return x / 2;
}

// Decimal digits with a leading minus sign for a negative number and no leading blank.
std::string integerToText(Integer x);

// An integer as integerToText, a string unchanged, a whole real as its digits with no decimal
// part, and any other real rounded to 15 significant digits with trailing zeros dropped, using
// the decimal separator of the C library's current LC_NUMERIC locale.
std::string valueToText(const Value &v);

// Sets the C library's LC_NUMERIC from the user's settings, so that valueToText writes the
// user's decimal separator: on Unix from the locale environment variables, on Windows from the
// regional settings. The program calls it once at start. Qt's start-up does the same on Unix
// only; on Windows the C library would otherwise stay in the "C" locale and write a full stop.
// When the user's locale is not available, LC_NUMERIC stays as it was.
void useUserDecimalSeparator();

// Number of characters of the value's text. Throws OverflowError above 32767 characters.
ShortInteger length(const Value &v);

// The first `count` characters of the text (all of it when count exceeds its length; none for a
// count below 1).
std::string leftPart(std::string_view text, int count);

// The characters of the text in reverse order.
std::string reverse(std::string_view text);

// The left text followed by the right text.
std::string concatenate(std::string_view left, std::string_view right);

} // namespace pelmora
