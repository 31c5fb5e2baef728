#include "core/conversions.h"
#include "core/numbers.h"
#include "tests/support/locale_guard.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace pelmora;

namespace {

constexpr Integer integerMin = std::numeric_limits<Integer>::min();
constexpr Integer integerMax = std::numeric_limits<Integer>::max();

struct Rounding
{
    Real in;
    Integer out;
};

class ToIntegerTest : public testing::TestWithParam<Rounding>
{};

TEST_P(ToIntegerTest, RoundsHalfToEven)
{
    EXPECT_EQ(toInteger(GetParam().in), GetParam().out);
    EXPECT_EQ(toInteger(Value{GetParam().in}), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToIntegerTest,
    testing::Values(Rounding{2.5, 2}, Rounding{3.5, 4}, Rounding{-2.5, -2}, Rounding{0.5, 0},
                    Rounding{0.6, 1}, Rounding{1.5, 2}, Rounding{-0.5, 0}, Rounding{-1.5, -2},
                    Rounding{0.49999999999999994, 0}, Rounding{2147483647.4, integerMax},
                    Rounding{2147483646.5, 2147483646}, Rounding{-2147483648.4, integerMin},
                    Rounding{-2147483648.5, integerMin}, Rounding{-2147483647.5, integerMin}));

class ToIntegerOverflowTest : public testing::TestWithParam<Real>
{};

TEST_P(ToIntegerOverflowTest, Throws)
{
    EXPECT_THROW(toInteger(GetParam()), OverflowError);
}

INSTANTIATE_TEST_SUITE_P(Table, ToIntegerOverflowTest,
                         testing::Values(2147483647.5, 2147483648.0, -2147483649.0,
                                         -2147483648.5000005, 1e300, -1e300,
                                         std::numeric_limits<Real>::quiet_NaN(),
                                         std::numeric_limits<Real>::infinity()));

TEST(ToIntegerValue, IntegerPassesAndStringIsRead)
{
    EXPECT_EQ(toInteger(Value{Integer{-7}}), -7);
    EXPECT_EQ(toInteger(Value{integerMin}), integerMin);
    EXPECT_EQ(toInteger(Value{std::string("2.5")}), 2);
}

TEST(AbsInteger, MagnitudeAndTheOneOverflow)
{
    EXPECT_EQ(absInteger(-2147483647), 2147483647);
    EXPECT_EQ(absInteger(5), 5);
    EXPECT_EQ(absInteger(0), 0);
    EXPECT_THROW(absInteger(integerMin), OverflowError);
}

TEST(AbsValue, KeepsTheKind)
{
    EXPECT_EQ(absValue(Value{-2.5}), Value{2.5});
    EXPECT_EQ(absValue(Value{Integer{-3}}), Value{Integer{3}});
    EXPECT_EQ(absValue(Value{integerMin}), Value{2147483648.0});
}

TEST(LessThan, ComparesRealsWithoutRounding)
{
    EXPECT_TRUE(lessThan(Value{0.6}, Value{Integer{1}}));
    EXPECT_TRUE(lessThan(Value{0.9999999}, Value{Integer{1}}));
    EXPECT_FALSE(lessThan(Value{1.0}, Value{Integer{1}}));
    EXPECT_FALSE(lessThan(Value{Integer{2}}, Value{1.5}));
}

TEST(IntegerDivide, RoundsOperandsThenTruncates)
{
    EXPECT_EQ(integerDivide(Value{2.5}, Value{Integer{2}}), Value{Integer{1}});
    EXPECT_EQ(integerDivide(Value{1.4}, Value{Integer{2}}), Value{Integer{0}});
    EXPECT_EQ(integerDivide(Value{3.5}, Value{Integer{2}}), Value{Integer{2}});
    EXPECT_EQ(integerDivide(Value{Integer{-7}}, Value{Integer{2}}), Value{Integer{-3}});
    EXPECT_EQ(integerDivide(Value{7.0}, Value{2.5}), Value{Integer{3}});
}

TEST(IntegerDivide, Failures)
{
    EXPECT_THROW(integerDivide(Value{2147483647.5}, Value{Integer{2}}), OverflowError);
    EXPECT_THROW(integerDivide(Value{Integer{2}}, Value{2147483648.0}), OverflowError);
    EXPECT_THROW(integerDivide(Value{integerMin}, Value{Integer{-1}}), OverflowError);
    EXPECT_THROW(integerDivide(Value{Integer{5}}, Value{0.4}), std::domain_error);
}

TEST(ExclusiveOr, RoundsTheValueAndGivesAnInteger)
{
    EXPECT_EQ(exclusiveOr(Value{2.5}, 1), Value{Integer{3}});
    EXPECT_EQ(exclusiveOr(Value{Integer{5}}, 2), Value{Integer{7}});
    EXPECT_EQ(exclusiveOr(Value{Integer{-1}}, integerMax), Value{integerMin});
    EXPECT_THROW(exclusiveOr(Value{-2147483649.0}, 1), OverflowError);
}

TEST(Halve, TruncatesTowardZero)
{
    EXPECT_EQ(halve(7), 3);
    EXPECT_EQ(halve(-7), -3);
    EXPECT_EQ(halve(1), 0);
}

TEST(IntegerToText, DigitsAndSign)
{
    EXPECT_EQ(integerToText(0), "0");
    EXPECT_EQ(integerToText(540), "540");
    EXPECT_EQ(integerToText(-5), "-5");
    EXPECT_EQ(integerToText(integerMin), "-2147483648");
}

struct Written
{
    Value in;
    const char *out;
};

class ValueToTextTest : public testing::TestWithParam<Written>
{};

TEST_P(ValueToTextTest, InTheCLocale)
{
    EXPECT_EQ(valueToText(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueToTextTest,
    testing::Values(Written{Integer{-12}, "-12"}, Written{std::string("0101"), "0101"},
                    Written{1.0, "1"}, Written{-0.0, "0"}, Written{2147483648.0, "2147483648"},
                    Written{1e20, "100000000000000000000"}, Written{1.25, "1.25"},
                    Written{-1.25, "-1.25"}, Written{1.0 / 3.0, "0.333333333333333"},
                    Written{2.0 / 3.0, "0.666666666666667"},
                    Written{1.0000000000000002, "1"} /* whole after 15 digits */,
                    Written{1.1, "1.1"}, Written{0.00001, "1E-05"}));

TEST(ValueToText, UsesTheLocaleDecimalSeparator)
{
    {
        test::NumericLocale bulgarian(test::bulgarian);
        ASSERT_TRUE(bulgarian.active()) << test::bulgarian << " is missing: run tools/install-deps";
        EXPECT_EQ(valueToText(Value{1.25}), "1,25");
        EXPECT_EQ(valueToText(Value{1.0}), "1");
    }
    {
        test::NumericLocale english(test::english);
        ASSERT_TRUE(english.active()) << test::english << " is missing: run tools/install-deps";
        EXPECT_EQ(valueToText(Value{1.25}), "1.25");
    }
    EXPECT_EQ(valueToText(Value{1.25}), "1.25");
}

TEST(Strings, CountCutReverseAndJoinWholeCharacters)
{
    EXPECT_EQ(length(Value{std::string("101")}), 3);
    EXPECT_EQ(length(Value{std::string("")}), 0);
    EXPECT_EQ(length(Value{std::string("Грей")}), 4);
    EXPECT_THROW(length(Value{std::string(32768, '1')}), OverflowError);
    EXPECT_EQ(length(Value{std::string(32767, '1')}), 32767);

    EXPECT_EQ(leftPart("101", 2), "10");
    EXPECT_EQ(leftPart("101", 0), "");
    EXPECT_EQ(leftPart("101", -1), "");
    EXPECT_EQ(leftPart("101", 9), "101");
    EXPECT_EQ(leftPart("Грей", 2), "Гр");

    EXPECT_EQ(reverse("0011"), "1100");
    EXPECT_EQ(reverse(""), "");
    EXPECT_EQ(reverse("Грей"), "йерГ");

    EXPECT_EQ(concatenate("0", "10"), "010");
    EXPECT_EQ(concatenate("", ""), "");
}

struct Digits
{
    Integer number;
    std::string digits;
};

class BinaryDigitsTest : public testing::TestWithParam<Digits>
{};

TEST_P(BinaryDigitsTest, RendersCurrentNumberWithoutChangingIt)
{
    FieldPanel panel;
    panel.CurrentNumber = GetParam().number;
    EXPECT_EQ(BinaryDigits(panel), Value{GetParam().digits});
    EXPECT_EQ(panel.CurrentNumber, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Table, BinaryDigitsTest,
                         testing::Values(Digits{0, ""}, Digits{-1, ""}, Digits{integerMin, ""},
                                         Digits{1, "1"}, Digits{2, "10"}, Digits{6, "110"},
                                         Digits{1000, "1111101000"},
                                         Digits{integerMax, std::string(31, '1')}));

} // namespace
