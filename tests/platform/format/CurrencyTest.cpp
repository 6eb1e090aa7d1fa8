// Currency: fixed-point amounts with four decimals.
#include "platform/format/Format.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using format::Currency;

constexpr qint64 RawMax = std::numeric_limits<qint64>::max();
constexpr qint64 RawMin = std::numeric_limits<qint64>::min();

TEST(Currency, TenThousandLinesOfATenthSumExactly)
{
    Currency fromText;
    Currency fromDouble;
    for (int i = 0; i < 10000; ++i) {
        fromText += Currency::fromText(QStringLiteral("0.1"));
        fromDouble += Currency::fromDouble(0.1);
    }
    EXPECT_EQ(fromText, Currency::fromRaw(10000000));
    EXPECT_EQ(fromDouble, fromText);
    EXPECT_EQ(fromText.toString(), QStringLiteral("1000"));
    EXPECT_EQ(format::formatNumber(fromText.toDouble(), QStringLiteral("###,###,##0.0000")),
              QStringLiteral("1,000.0000"));
}

struct TextCase
{
    const char *text;
    qint64 raw;
};

class CurrencyFromTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(CurrencyFromTextTest, ReadsTheLeadingNumberExactly)
{
    EXPECT_EQ(Currency::fromText(QString::fromLatin1(GetParam().text)).raw(), GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(Texts, CurrencyFromTextTest,
                         ::testing::Values(TextCase {"12.5", 125000}, TextCase {"0.1", 1000},
                                           TextCase {" 12.3456", 123456}, TextCase {"0.00005", 1},
                                           TextCase {"-0.00005", -1}, TextCase {"0.000049999", 0},
                                           TextCase {"1.00005", 10001}, TextCase {"12abc", 120000},
                                           TextCase {"1e3", 10000000}, TextCase {"1,234", 12340000},
                                           TextCase {"1,5", 10000}, TextCase {"", 0},
                                           TextCase {"abc", 0}, TextCase {"-", 0},
                                           TextCase {"922337203685477.5807", RawMax},
                                           TextCase {"922337203685477.5808", RawMax},
                                           TextCase {"-922337203685477.5808", RawMin},
                                           TextCase {"1e30", RawMax}, TextCase {"-1e30", RawMin},
                                           TextCase {"1e-30", 0}));

TEST(Currency, FromDoubleRoundsHalfAwayFromZero)
{
    EXPECT_EQ(Currency::fromDouble(2.5).raw(), 25000);
    EXPECT_EQ(Currency::fromDouble(0.00005).raw(), 1);
    EXPECT_EQ(Currency::fromDouble(-0.00005).raw(), -1);
    EXPECT_EQ(Currency::fromDouble(1.00005).raw(), 10001);
    EXPECT_EQ(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()).raw(), 0);
    EXPECT_EQ(Currency::fromDouble(1e300).raw(), RawMax);
    EXPECT_EQ(Currency::fromDouble(-std::numeric_limits<double>::infinity()).raw(), RawMin);
}

TEST(Currency, TextShowsOnlyTheNeededDecimals)
{
    EXPECT_EQ(Currency::fromRaw(125000).toString(), QStringLiteral("12.5"));
    EXPECT_EQ(Currency().toString(), QStringLiteral("0"));
    EXPECT_EQ(Currency::fromRaw(-30001).toString(), QStringLiteral("-3.0001"));
    EXPECT_EQ(Currency::fromRaw(-1).toString(), QStringLiteral("-0.0001"));
    EXPECT_EQ(Currency::fromRaw(RawMin).toString(), QStringLiteral("-922337203685477.5808"));
}

TEST(Currency, MultiplyRoundsOnTheDecimalProduct)
{
    const auto c = [](const char *t) {
        return Currency::fromText(QString::fromLatin1(t));
    };
    EXPECT_EQ((c("12.3456") * 3).toString(), QStringLiteral("37.0368"));
    EXPECT_EQ((c("1.1") * 1.1).toString(), QStringLiteral("1.21"));
    EXPECT_EQ((c("100") * 0.1).toString(), QStringLiteral("10"));
    EXPECT_EQ((c("0.0001") * 0.5).raw(), 1);
    EXPECT_EQ((c("-0.0001") * 0.5).raw(), -1);
    EXPECT_EQ((c("0.0001") * 0.49).raw(), 0);
    EXPECT_EQ((c("3") * -2.5).toString(), QStringLiteral("-7.5"));
    EXPECT_EQ((c("900000000000") * 1e10).raw(), RawMax);
    EXPECT_EQ((c("-900000000000") * 1e10).raw(), RawMin);
    EXPECT_EQ((c("123") * 1e-30).raw(), 0);
    EXPECT_EQ((c("123") * std::numeric_limits<double>::quiet_NaN()).raw(), 0);
}

TEST(Currency, BadTextGivesTheFallback)
{
    EXPECT_EQ(Currency::fromText(QString(1 << 20, QLatin1Char('9'))).raw(), RawMax);
    EXPECT_EQ(Currency::fromText(QStringLiteral("0.") + QString(1 << 20, QLatin1Char('9'))).raw(),
              10000);
    EXPECT_EQ(Currency::fromText(QStringLiteral("7") + QChar(u'\0') + QStringLiteral("1")).raw(),
              70000);
}

} // namespace
