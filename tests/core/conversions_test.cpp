#include "core/conversions.h"
#include "tests/support/locale_guard.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

using namespace pelmora;

namespace {

const std::string remark = shiftRemark;

// A panel whose five fields all hold earlier texts, so that a conversion that writes nothing
// can be told from one that writes an empty string.
FieldPanel filledPanel(bool decimalToGray)
{
    FieldPanel panel;
    panel.Option1 = {decimalToGray, !decimalToGray};
    for (std::size_t i = 0; i < panel.Text2.size(); ++i)
        panel.Text2[i].text = "earlier " + std::to_string(i);
    panel.Text2[decimalToGray ? decimalGrayField : decimalField].enabled = false;
    return panel;
}

struct Row
{
    std::string input;
    std::string fields[4];
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << '"' << row.input << '"';
}

class DecimalToGrayTest : public testing::TestWithParam<Row>
{};

TEST_P(DecimalToGrayTest, FillsTheFourResultFields)
{
    FieldPanel panel = filledPanel(true);
    panel.Text2[decimalField].text = GetParam().input;
    const FieldPanel before = panel;

    DecimalToGray(panel);

    EXPECT_EQ(panel.Text2[decimalField], before.Text2[decimalField]) << "the input stays as typed";
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(panel.Text2[i].text, GetParam().fields[i - 1]) << "Text2(" << i << ")";
        EXPECT_EQ(panel.Text2[i].enabled, before.Text2[i].enabled);
    }
    EXPECT_EQ(panel.Option1, before.Option1);
    EXPECT_EQ(integerToText(panel.CurrentNumber), GetParam().fields[3])
        << "CurrentNumber ends at the Gray code";
}

const std::string ones31(31, '1');

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalToGrayTest,
    testing::Values(
        Row{"5", {"101", "010", "111", "7"}}, Row{"1", {"1", "0", "1", "1"}},
        Row{"6", {"110", "011", "101", "5"}}, Row{"-6", {"110", "011", "101", "5"}},
        Row{"2.5", {"10", "01", "11", "3"}}, Row{"0.6", {"1", "0", "1", "1"}},
        Row{"1000", {"1111101000", "0111110100", "1000011100", "540"}},
        Row{"2147483647",
            {ones31, "0" + std::string(30, '1'), "1" + std::string(30, '0'), "1073741824"}},
        Row{"-2147483647",
            {ones31, "0" + std::string(30, '1'), "1" + std::string(30, '0'), "1073741824"}},
        Row{"2147483647.4",
            {ones31, "0" + std::string(30, '1'), "1" + std::string(30, '0'), "1073741824"}},
        Row{"&H8000", {"1000000000000000", "0100000000000000", "1100000000000000", "49152"}},
        Row{" 1 0abc", {"1010", "0101", "1111", "15"}}));

class GrayToDecimalTest : public testing::TestWithParam<Row>
{};

TEST_P(GrayToDecimalTest, FillsTheFourResultFields)
{
    FieldPanel panel = filledPanel(false);
    panel.Text2[decimalGrayField].text = GetParam().input;
    const FieldPanel before = panel;

    GrayToDecimal(panel);

    EXPECT_EQ(panel.Text2[decimalGrayField], before.Text2[decimalGrayField])
        << "the input stays as typed";
    for (std::size_t i = 0; i <= 3; ++i) {
        EXPECT_EQ(panel.Text2[i].text, GetParam().fields[i]) << "Text2(" << i << ")";
        EXPECT_EQ(panel.Text2[i].enabled, before.Text2[i].enabled);
    }
    EXPECT_EQ(panel.Option1, before.Option1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GrayToDecimalTest,
    testing::Values(
        Row{"7", {"5", "101", remark, "111"}}, Row{"1", {"1", "1", remark, "1"}},
        Row{"3", {"2", "10", remark, "11"}}, Row{"-7", {"5", "101", remark, "111"}},
        Row{"2.5", {"3", "11", remark, "10"}}, Row{"1.5", {"3", "11", remark, "10"}},
        Row{"1.25", {"1.25", "1", remark, "1"}}, Row{"1.4999", {"1.4999", "1", remark, "1"}},
        Row{"540", {"1000", "1111101000", remark, "1000011100"}},
        Row{"2147483647", {"1431655765", "1010101010101010101010101010101", remark, ones31}},
        Row{"-2147483647.4", {"1431655765", "1010101010101010101010101010101", remark, ones31}}));

// The user's locale as the program finds it at start, and what Gray to decimal of 1.25 shows
// with it. On Unix the locale comes from the environment, read at the call, so each row sets it
// for itself. A Windows program gets the user's regional settings when it starts (under Wine,
// from LANG), so there the tests run once per locale and each row runs in its own run.
struct UserSeparator
{
    const char *locale;
    const char *shown;
};

void PrintTo(const UserSeparator &row, std::ostream *os)
{
    *os << row.locale;
}

class UserDecimalSeparatorTest : public testing::TestWithParam<UserSeparator>
{};

TEST_P(UserDecimalSeparatorTest, ARealBelowOneAndAHalfShowsWithTheUsersSeparator)
{
#ifdef _WIN32
    const char *lang = std::getenv("LANG");
    if (lang == nullptr || std::string_view(lang) != GetParam().locale)
        GTEST_SKIP() << "the " << GetParam().locale << " row runs where LANG is that locale";
#else
    test::UserLocale user(GetParam().locale);
#endif
    test::NumericLocale restoredAfterwards;
    useUserDecimalSeparator();
    ASSERT_STRNE(std::setlocale(LC_NUMERIC, nullptr), "C")
        << "LC_NUMERIC not set from " << GetParam().locale
        << " (if that locale is missing, run tools/install-deps)";

    FieldPanel panel = filledPanel(false);
    panel.Text2[decimalGrayField].text = "1.25"; // the input itself always uses a full stop
    GrayToDecimal(panel);
    EXPECT_EQ(panel.Text2[decimalField].text, GetParam().shown);
    EXPECT_EQ(panel.Text2[binaryField].text, "1");
    EXPECT_EQ(panel.Text2[binaryGrayField].text, "1");
}

INSTANTIATE_TEST_SUITE_P(Table, UserDecimalSeparatorTest,
                         testing::Values(UserSeparator{"bg_BG.UTF-8", "1,25"},
                                         UserSeparator{"en_US.UTF-8", "1.25"}),
                         [](const testing::TestParamInfo<UserSeparator> &info) {
                             return std::string(info.param.locale, 5); // bg_BG, en_US
                         });

// Inputs whose magnitude is below 1 change nothing, also when earlier results are showing.
class NoNumberTest : public testing::TestWithParam<const char *>
{};

TEST_P(NoNumberTest, DecimalToGrayWritesNothing)
{
    FieldPanel panel = filledPanel(true);
    panel.Text2[decimalField].text = GetParam();
    const FieldPanel before = panel;
    DecimalToGray(panel);
    EXPECT_EQ(panel.Text2, before.Text2);
    EXPECT_EQ(panel.Option1, before.Option1);
}

TEST_P(NoNumberTest, GrayToDecimalWritesNothing)
{
    FieldPanel panel = filledPanel(false);
    panel.Text2[decimalGrayField].text = GetParam();
    const FieldPanel before = panel;
    GrayToDecimal(panel);
    EXPECT_EQ(panel.Text2, before.Text2);
    EXPECT_EQ(panel.Option1, before.Option1);
}

INSTANTIATE_TEST_SUITE_P(Table, NoNumberTest,
                         testing::Values("", "0", "0.4", "-0.4", "abc", " ", "-", "1e-400", "&X12",
                                         "Грей"));

TEST(NoNumber, OnlyTheGrayDirectionIgnoresMagnitudesBelowOne)
{
    // 0.6 rounds to 1 before the decimal direction compares it, but the Gray direction
    // compares the real itself.
    FieldPanel panel = filledPanel(false);
    panel.Text2[decimalGrayField].text = "0.6";
    const FieldPanel before = panel;
    GrayToDecimal(panel);
    EXPECT_EQ(panel, before);
}

// An overflow stops the conversion before any field, enabled flag or option changes.
class OverflowTest : public testing::TestWithParam<const char *>
{};

TEST_P(OverflowTest, DecimalToGrayLeavesTheFields)
{
    FieldPanel panel = filledPanel(true);
    panel.Text2[decimalField].text = GetParam();
    const FieldPanel before = panel;
    EXPECT_THROW(DecimalToGray(panel), OverflowError);
    EXPECT_EQ(panel.Text2, before.Text2);
    EXPECT_EQ(panel.Option1, before.Option1);
}

TEST_P(OverflowTest, GrayToDecimalLeavesTheFields)
{
    FieldPanel panel = filledPanel(false);
    panel.Text2[decimalGrayField].text = GetParam();
    const FieldPanel before = panel;
    EXPECT_THROW(GrayToDecimal(panel), OverflowError);
    EXPECT_EQ(panel, before) << "CurrentNumber too, since the Gray direction sets it last";
}

INSTANTIATE_TEST_SUITE_P(Table, OverflowTest,
                         testing::Values("2147483648", "-2147483648", "-2147483649", "2147483647.5",
                                         "1e400", "&H100000000", "99999999999999999999"));

TEST(Overflow, SmallestIntegerFailsOnlyWhenTakingItsMagnitude)
{
    // -2147483648.5 rounds to the even -2147483648, which fits, and then has no magnitude.
    FieldPanel panel = filledPanel(true);
    panel.Text2[decimalField].text = "-2147483648.5";
    EXPECT_THROW(DecimalToGray(panel), OverflowError);
    EXPECT_EQ(panel.Text2[binaryField].text, "earlier 1");
}

TEST(Repeat, CalculatingTwiceGivesTheSameResults)
{
    FieldPanel panel = filledPanel(true);
    panel.Text2[decimalField].text = "1000";
    DecimalToGray(panel);
    const FieldPanel first = panel;
    DecimalToGray(panel);
    EXPECT_EQ(panel, first);

    panel.Text2[decimalGrayField].text = "540";
    GrayToDecimal(panel);
    const FieldPanel second = panel;
    GrayToDecimal(panel);
    EXPECT_EQ(panel, second);
}

} // namespace
