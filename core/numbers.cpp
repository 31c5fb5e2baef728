#include "core/numbers.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pelmora {

namespace {

constexpr Real integerMin = static_cast<Real>(std::numeric_limits<Integer>::min());
constexpr Real integerMax = static_cast<Real>(std::numeric_limits<Integer>::max());

Real toReal(const Value &v)
{
    if (const auto *r = std::get_if<Real>(&v))
        return *r;
    if (const auto *i = std::get_if<Integer>(&v))
        return *i;
    return readNumber(std::get<std::string>(v));
}

// A UTF-8 continuation byte carries no character of its own.
bool startsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), startsCharacter));
}

} // namespace

Integer toInteger(Real x)
{
    // Rounded by hand rather than with the floating-point environment's mode, so that the
    // result does not depend on it. Every real beyond 2^52 is already whole, so x - floor(x)
    // is exact.
    Real rounded = std::floor(x);
    const Real fraction = x - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (!(rounded >= integerMin && rounded <= integerMax)) // also rejects NaN
        throw OverflowError();
    return static_cast<Integer>(rounded);
}

Integer toInteger(const Value &v)
{
    if (const auto *i = std::get_if<Integer>(&v))
        return *i;
    return toInteger(toReal(v));
}

Integer absInteger(Integer x)
{
    if (x == std::numeric_limits<Integer>::min())
        throw OverflowError();
    return x < 0 ? -x : x;
}

Value absValue(const Value &v)
{
    if (const auto *i = std::get_if<Integer>(&v)) {
        // The magnitude of the smallest integer only fits a real.
        if (*i == std::numeric_limits<Integer>::min())
            return -static_cast<Real>(*i);
        return absInteger(*i);
    }
    return std::fabs(toReal(v));
}

bool lessThan(const Value &a, const Value &b)
{
    return toReal(a) < toReal(b);
}

Value integerDivide(const Value &a, const Value &b)
{
    const Integer dividend = toInteger(a);
    const Integer divisor = toInteger(b);
    if (divisor == 0)
        throw std::domain_error("division by zero");
    if (dividend == std::numeric_limits<Integer>::min() && divisor == -1)
        throw OverflowError();
    return dividend / divisor;
}

Value exclusiveOr(const Value &a, Integer b)
{
    return toInteger(a) ^ b;
}

std::string integerToText(Integer x)
{
    return std::to_string(x);
}

std::string valueToText(const Value &v)
{
    if (const auto *i = std::get_if<Integer>(&v))
        return integerToText(*i);
    if (const auto *s = std::get_if<std::string>(&v))
        return *s;

    const Real x = std::get<Real>(v);
    if (x == 0.0)
        return "0"; // also for -0
    // Both formats follow LC_NUMERIC for the decimal separator; the first has none to show.
    const char *format = std::trunc(x) == x ? "%.0f" : "%.15G";
    char buffer[400]; // the longest whole real, DBL_MAX, has 309 digits
    const int written = std::snprintf(buffer, sizeof buffer, format, x);
    return std::string(buffer, static_cast<std::size_t>(std::max(written, 0)));
}

void useUserDecimalSeparator()
{
    std::setlocale(LC_NUMERIC, "");
}

ShortInteger length(const Value &v)
{
    const std::size_t count = characterCount(valueToText(v));
    if (count > static_cast<std::size_t>(std::numeric_limits<ShortInteger>::max()))
        throw OverflowError();
    return static_cast<ShortInteger>(count);
}

std::string leftPart(std::string_view text, int count)
{
    std::size_t end = 0;
    for (int taken = 0; end < text.size(); ++end) {
        if (startsCharacter(text[end]) && taken++ == count)
            break;
    }
    return std::string(count < 1 ? std::string_view() : text.substr(0, end));
}

std::string reverse(std::string_view text)
{
    // Reverse whole characters, so that a multi-byte character keeps its byte order.
    std::string result;
    result.reserve(text.size());
    std::size_t end = text.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && !startsCharacter(text[start]))
            --start;
        result.append(text.substr(start, end - start));
        end = start;
    }
    return result;
}

std::string concatenate(std::string_view left, std::string_view right)
{
    std::string result;
    result.reserve(left.size() + right.size());
    result.append(left).append(right);
    return result;
}

} // namespace pelmora
