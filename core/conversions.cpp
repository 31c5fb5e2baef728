#include "core/conversions.h"

namespace pelmora {

Value BinaryDigits(const FieldPanel &panel)
{
    // Digits come out least significant first and are reversed once at the end.
    Integer a = panel.CurrentNumber;
    std::string s;
    while (a > 0) {
        s += (a % 2 != 0) ? "1" : "0";
        a = halve(a);
    }
    return reverse(s);
}

void DecimalToGray(FieldPanel &panel)
{
    const std::string &input = panel.Text2[decimalField].text;
    panel.CurrentNumber = toInteger(readNumber(input));
    panel.CurrentNumber = absInteger(panel.CurrentNumber);
    if (panel.CurrentNumber < 1)
        return;

    const Value b = BinaryDigits(panel);
    panel.Text2[binaryField].text = valueToText(b);
    // b without its last digit behind one "0": the number halved, as wide as b.
    panel.Text2[shiftField].text = concatenate("0", leftPart(valueToText(b), length(b) - 1));

    const Integer g = panel.CurrentNumber ^ halve(panel.CurrentNumber);
    panel.CurrentNumber = g;
    panel.Text2[binaryGrayField].text = valueToText(BinaryDigits(panel));
    panel.Text2[decimalGrayField].text = integerToText(g);
}

void GrayToDecimal(FieldPanel &panel)
{
    const std::string &input = panel.Text2[decimalGrayField].text;
    Value g = readNumber(input);
    g = absValue(g);
    if (lessThan(g, Integer{1}))
        return;

    // The first operation that needs an integer rounds g; an overflow stops here, before any
    // field is written.
    Integer k = toInteger(integerDivide(g, Integer{2}));
    Value r = g;
    // Decoding: r becomes the code exclusive-or all its right shifts. The first pass rounds
    // the real r; when g rounds to 1 the loop does not run and r stays the real read.
    while (k != 0) {
        r = exclusiveOr(r, k);
        k = halve(k);
    }

    panel.Text2[decimalField].text = valueToText(r);
    panel.CurrentNumber = toInteger(r);
    panel.Text2[binaryField].text = valueToText(BinaryDigits(panel));
    panel.Text2[shiftField].text = shiftRemark;
    panel.CurrentNumber = toInteger(g);
    panel.Text2[binaryGrayField].text = valueToText(BinaryDigits(panel));
}

} // namespace pelmora
