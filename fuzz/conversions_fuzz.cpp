// Feeds arbitrary bytes through both conversions, once as the decimal input and once as the
// Gray input. After each call the fields are either exactly as before (no number, or an
// overflow) or hold what the conversion writes: digit strings in the binary fields, and in the
// Gray direction the remark in the shift field.
#include "core/conversions.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace pelmora;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isDigitString(const std::string &s)
{
    return !s.empty() && s[0] == '1' && s.find_first_not_of("01") == std::string::npos;
}

bool isDecimal(const std::string &s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

FieldPanel earlierPanel(bool decimalToGray, const std::string &input)
{
    FieldPanel panel;
    panel.Option1 = {decimalToGray, !decimalToGray};
    for (auto &field : panel.Text2)
        field.text = "earlier";
    panel.Text2[decimalToGray ? decimalField : decimalGrayField].text = input;
    return panel;
}

void fuzzDecimalToGray(const std::string &input)
{
    FieldPanel panel = earlierPanel(true, input);
    const FieldPanel before = panel;
    try {
        DecimalToGray(panel);
    } catch (const OverflowError &) {
        check(panel.Text2 == before.Text2);
        return;
    }
    check(panel.Text2[decimalField] == before.Text2[decimalField]);
    if (panel.Text2 == before.Text2)
        return; // nothing to convert
    const std::string &binary = panel.Text2[binaryField].text;
    check(isDigitString(binary));
    check(panel.Text2[shiftField].text == "0" + binary.substr(0, binary.size() - 1));
    check(isDigitString(panel.Text2[binaryGrayField].text) &&
          panel.Text2[binaryGrayField].text.size() == binary.size());
    check(isDecimal(panel.Text2[decimalGrayField].text));
}

void fuzzGrayToDecimal(const std::string &input)
{
    FieldPanel panel = earlierPanel(false, input);
    const FieldPanel before = panel;
    try {
        GrayToDecimal(panel);
    } catch (const OverflowError &) {
        check(panel == before);
        return;
    }
    check(panel.Text2[decimalGrayField] == before.Text2[decimalGrayField]);
    if (panel.Text2 == before.Text2)
        return;
    check(!panel.Text2[decimalField].text.empty());
    check(isDigitString(panel.Text2[binaryField].text));
    check(panel.Text2[shiftField].text == shiftRemark);
    check(isDigitString(panel.Text2[binaryGrayField].text));
    check(panel.Text2[binaryField].text.size() == panel.Text2[binaryGrayField].text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    fuzzDecimalToGray(input);
    fuzzGrayToDecimal(input);
    return 0;
}
