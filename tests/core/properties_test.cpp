// Properties checked over every number up to 2^20 and a spread of numbers over the whole
// positive integer range.
#include "core/conversions.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace pelmora;

namespace {

std::vector<Integer> sampleNumbers()
{
    std::vector<Integer> numbers;
    for (Integer n = 1; n <= (1 << 20); ++n)
        numbers.push_back(n);
    std::mt19937 random(1234);
    std::uniform_int_distribution<Integer> any(1, std::numeric_limits<Integer>::max());
    for (int i = 0; i < 300'000; ++i)
        numbers.push_back(any(random));
    for (int bit = 0; bit < 31; ++bit) { // around every power of two
        const Integer power = Integer{1} << bit;
        numbers.push_back(power);
        numbers.push_back(power - 1 > 0 ? power - 1 : 1);
    }
    numbers.push_back(std::numeric_limits<Integer>::max());
    return numbers;
}

// Where the check would report one failure per number, stop after the first few.
constexpr int reportLimit = 5;

TEST(Properties, GrayToDecimalUndoesDecimalToGray)
{
    int failures = 0;
    FieldPanel forward;
    FieldPanel back;
    back.Option1 = {false, true};
    for (const Integer n : sampleNumbers()) {
        forward.Text2[decimalField].text = std::to_string(n);
        DecimalToGray(forward);
        back.Text2[decimalGrayField].text = forward.Text2[decimalGrayField].text;
        GrayToDecimal(back);
        const bool same = back.Text2[decimalField].text == forward.Text2[decimalField].text &&
                          back.Text2[binaryField].text == forward.Text2[binaryField].text &&
                          back.Text2[binaryGrayField].text == forward.Text2[binaryGrayField].text;
        if (!same && failures++ < reportLimit)
            ADD_FAILURE() << "n = " << n << ": Gray " << forward.Text2[decimalGrayField].text
                          << " decodes to " << back.Text2[decimalField].text;
    }
    EXPECT_EQ(failures, 0);
}

TEST(Properties, GrayDigitsAreTheExclusiveOrOfBinaryAndShift)
{
    int failures = 0;
    FieldPanel panel;
    for (const Integer n : sampleNumbers()) {
        panel.Text2[decimalField].text = std::to_string(n);
        DecimalToGray(panel);
        const std::string &binary = panel.Text2[binaryField].text;
        const std::string &shift = panel.Text2[shiftField].text;
        const std::string &gray = panel.Text2[binaryGrayField].text;
        bool ok = !binary.empty() && binary[0] == '1' && binary.size() == shift.size() &&
                  binary.size() == gray.size();
        for (std::size_t i = 0; ok && i < binary.size(); ++i)
            ok = gray[i] == ((binary[i] != shift[i]) ? '1' : '0');
        // The decimal Gray code must be the number whose binary digits are shown.
        ok = ok && std::stoll(panel.Text2[decimalGrayField].text) == std::stoll(gray, nullptr, 2);
        if (!ok && failures++ < reportLimit)
            ADD_FAILURE() << "n = " << n << ": " << binary << " / " << shift << " / " << gray;
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
