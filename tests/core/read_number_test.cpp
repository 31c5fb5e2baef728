#include "core/numbers.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace pelmora;

namespace {

struct Reading
{
    std::string text;
    Real value;
};

void PrintTo(const Reading &r, std::ostream *os)
{
    *os << '"' << r.text.substr(0, 40) << (r.text.size() > 40 ? "...\"" : "\"");
}

class ReadNumberTest : public testing::TestWithParam<Reading>
{};

TEST_P(ReadNumberTest, ReadsTheLeadingNumber)
{
    const Real got = readNumber(GetParam().text);
    EXPECT_EQ(got, GetParam().value);
    EXPECT_FALSE(std::signbit(got) && got == 0.0) << "a zero reads without a sign";
}

INSTANTIATE_TEST_SUITE_P(
    Basics, ReadNumberTest,
    testing::Values(Reading{"12abc", 12}, Reading{"abc", 0}, Reading{"", 0}, Reading{"-5", -5},
                    Reading{"2,5", 2}, Reading{" 7", 7}, Reading{"+4", 4}, Reading{"--4", 0},
                    Reading{"+-4", 0}, Reading{"-", 0}, Reading{"-0", 0}, Reading{".5", 0.5},
                    Reading{"2.5", 2.5}, Reading{"007", 7}, Reading{"0.05", 0.05},
                    Reading{"1..5", 1}, Reading{"1.5.7", 1.5}, Reading{"5-3", 5},
                    Reading{"０", 0} /* a full-width digit is no digit */, Reading{"٣", 0}));

INSTANTIATE_TEST_SUITE_P(Blanks, ReadNumberTest,
                         testing::Values(Reading{" 1 0", 10}, Reading{"- 5", -5},
                                         Reading{"\t\r\n 42", 42}, Reading{"1 . 5", 1.5},
                                         Reading{"1e 3", 1000}, Reading{"1e - 1", 0.1},
                                         Reading{"\xE3\x80\x80"
                                                 "3\xE3\x80\x80"
                                                 "4",
                                                 34},
                                         Reading{"\v5", 0} /* vertical tab is not a blank */,
                                         Reading{"\xC2\xA0"
                                                 "5",
                                                 0} /* nor is the no-break space */));

INSTANTIATE_TEST_SUITE_P(
    Exponents, ReadNumberTest,
    testing::Values(Reading{"1e3", 1000}, Reading{"1E3", 1000}, Reading{"1D3", 1000},
                    Reading{"1d3", 1000}, Reading{"1e+2", 100}, Reading{"25e-1", 2.5},
                    Reading{"2e", 2}, Reading{"2e+", 2}, Reading{"2ex", 2}, Reading{"e5", 0},
                    Reading{"1e-400", 0}, Reading{"1e-99999999999999999999", 0},
                    Reading{"0e99999999999999999999", 0}, Reading{"4.9e-324", 4.9e-324}));

INSTANTIATE_TEST_SUITE_P(Suffixes, ReadNumberTest,
                         testing::Values(Reading{"12%", 12}, Reading{"12&", 12},
                                         Reading{"1.5!", 1.5}, Reading{"3@", 3}, Reading{"3#", 3}));

INSTANTIATE_TEST_SUITE_P(
    Radix, ReadNumberTest,
    testing::Values(Reading{"&HFFFF", -1}, Reading{"&HFFF", 4095}, Reading{"&H8000", -32768},
                    Reading{"&H7FFF", 32767}, Reading{"&H10000", 65536},
                    Reading{"&H0000FFFF", -1} /* leading zeros are not significant */,
                    Reading{"&H7FFFFFFF", 2147483647}, Reading{"&HFFFFFFFF", -1},
                    Reading{"&H80000000", -2147483648.0}, Reading{"&h1f", 31},
                    Reading{"&H 1 F", 31}, Reading{"  &HA", 10}, Reading{"&HAG7", 10},
                    Reading{"&O17", 15}, Reading{"&o17", 15}, Reading{"&O177777", -1},
                    Reading{"&O200000", 65536}, Reading{"&O37777777777", -1}, Reading{"&O78", 7},
                    Reading{"&", 0}, Reading{"&H", 0}, Reading{"&O", 0}, Reading{"&X", 0},
                    Reading{"&X12", 0}, Reading{"& H1", 0}, Reading{"-&H1", 0},
                    // A trailing & asks for a 32-bit number; other suffixes end it.
                    Reading{"&HFFFF&", 65535}, Reading{"&H8000&", 32768},
                    Reading{"&HFFFF &", 65535}, Reading{"&HFFFFFFFF&", -1},
                    Reading{"&O177777&", 65535}, Reading{"&H&", 0}, Reading{"&HFFFF%", -1},
                    Reading{"&HFFFF!", -1}));

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ReadNumberTest,
    testing::Values(Reading{"2147483647.4", 2147483647.4}, Reading{"2147483647.5", 2147483647.5},
                    Reading{"-2147483648.5", -2147483648.5}, Reading{"2147483648", 2147483648.0},
                    Reading{"1.7976931348623157e308", 1.7976931348623157e308}, Reading{"0.1", 0.1},
                    Reading{"9007199254740993", 9007199254740992.0},
                    // A digit far beyond the kept ones still breaks the tie upward.
                    Reading{"9007199254740993." + std::string(1000, '0') + "1", 9007199254740994.0},
                    Reading{"9007199254740993" + std::string(1000, '0') + "e-1000",
                            9007199254740992.0},
                    Reading{std::string(1'000'000, ' ') + "5", 5},
                    Reading{std::string(1'000'000, '0') + "5", 5},
                    Reading{"0." + std::string(1'000'000, '0') + "1", 0},
                    Reading{"1" + std::string(1'000'000, '0') + "e-1000000", 1}));

class ReadNumberOverflowTest : public testing::TestWithParam<std::string>
{};

TEST_P(ReadNumberOverflowTest, Throws)
{
    EXPECT_THROW(readNumber(GetParam()), OverflowError);
}

INSTANTIATE_TEST_SUITE_P(Table, ReadNumberOverflowTest,
                         testing::Values("1e400", "-1e400", "1.8e308", "1e99999999999999999999",
                                         "&H100000000", "&HFFFFFFFFFFFFFFFFFFFF", "&O40000000000",
                                         "1" + std::string(400, '0'), std::string(1'000'000, '9')));

// Any plain decimal number reads as the C library's correctly rounded strtod reads it.
TEST(ReadNumber, AgreesWithStrtodOnRandomDecimals)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> count(1, 40);
    std::uniform_int_distribution<int> exponent(-330, 310);
    for (int i = 0; i < 20000; ++i) {
        std::string text = (i % 2 != 0) ? "-" : "";
        for (int n = count(random); n > 0; --n)
            text += static_cast<char>('0' + digit(random));
        if (i % 3 != 0) {
            text += '.';
            for (int n = count(random); n > 0; --n)
                text += static_cast<char>('0' + digit(random));
        }
        if (i % 4 == 0) {
            text += 'e';
            text += std::to_string(exponent(random));
        }
        const Real expected = std::strtod(text.c_str(), nullptr);
        if (std::isinf(expected))
            EXPECT_THROW(readNumber(text), OverflowError) << text;
        else
            EXPECT_EQ(readNumber(text), expected == 0.0 ? 0.0 : expected) << text;
    }
}

} // namespace
