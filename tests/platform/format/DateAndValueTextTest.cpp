// Date texts both ways, the text of database values, IfNull.
#include "platform/format/Format.h"
#include "session/Inventory.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QDateTime afternoon(QDate(2026, 12, 8), QTime(13, 5, 9));
const QDateTime midnight(QDate(2026, 12, 8), QTime(0, 0));

TEST(DateText, WritesMonthFirstWithTwelveHourClock)
{
    EXPECT_EQ(format::dateTimeText(afternoon), QStringLiteral("12/08/2026 01:05:09 PM"));
    EXPECT_EQ(format::dateTimeText(midnight), QStringLiteral("12/08/2026 12:00:00 AM"));
    EXPECT_EQ(format::dateTimeText(QDateTime(QDate(2026, 1, 2), QTime(12, 0))),
              QStringLiteral("01/02/2026 12:00:00 PM"));
    EXPECT_EQ(format::dateText(QDate(2026, 1, 2)), QStringLiteral("01/02/2026"));
    EXPECT_EQ(format::generalDateText(afternoon), QStringLiteral("12/8/2026 1:05:09 PM"));
    EXPECT_EQ(format::generalDateText(midnight), QStringLiteral("12/8/2026"));
    EXPECT_EQ(format::generalDateText(QDateTime(QDate(1899, 12, 30), QTime(9, 30))),
              QStringLiteral("9:30:00 AM"));
    EXPECT_EQ(format::dateTimeText(QDateTime()), QString());
    EXPECT_EQ(format::generalDateText(QDateTime()), QString());
}

TEST(DateText, IgnoresTheWorkstationLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = format::dateTimeText(afternoon);
    const QString general = format::generalDateText(afternoon);
    const QString number = format::formatNumber(1234.5, QStringLiteral("###,###,##0.0000"));
    const QDateTime parsed = format::parseDateTime(QStringLiteral("12/08/2026 01:05:09 PM"));
    QLocale::setDefault(before);

    EXPECT_EQ(text, QStringLiteral("12/08/2026 01:05:09 PM"));
    EXPECT_EQ(general, QStringLiteral("12/8/2026 1:05:09 PM"));
    EXPECT_EQ(number, QStringLiteral("1,234.5000"));
    EXPECT_EQ(parsed, afternoon);
}

struct ParseCase
{
    const char *text;
    QDateTime expected; // invalid: not a date
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class ParseDateTimeTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseDateTimeTest, Reads)
{
    const ParseCase &c = GetParam();
    const QDateTime parsed = format::parseDateTime(QString::fromLatin1(c.text));
    EXPECT_EQ(parsed.isValid(), c.expected.isValid());
    if (c.expected.isValid()) {
        EXPECT_EQ(parsed, c.expected);
    }
}

QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2026, 12, 8), QTime(h, m, s, ms));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDateTimeTest,
    ::testing::Values(ParseCase {"12/08/2026 01:05:09 PM", at(13, 5, 9)},
                      ParseCase {"12/8/2026 1:05:09 PM", at(13, 5, 9)},
                      ParseCase {"  12/8/2026 1:05:09 pm ", at(13, 5, 9)},
                      ParseCase {"12/08/2026 12:00:00 AM", at(0, 0, 0)},
                      ParseCase {"12/08/2026 12:30:00 PM", at(12, 30, 0)},
                      ParseCase {"12/08/2026 10:15 AM", at(10, 15, 0)},
                      ParseCase {"12/08/2026 13:05:09", at(13, 5, 9)},
                      ParseCase {"12/08/2026", at(0, 0, 0)}, ParseCase {"12/8/2026", at(0, 0, 0)},
                      ParseCase {"2026-12-08 13:05:09", at(13, 5, 9)},
                      ParseCase {"2026-12-08 13:05:09.123", at(13, 5, 9, 123)},
                      ParseCase {"2026-12-08 13:05:09.1234567", at(13, 5, 9, 123)},
                      ParseCase {"2026-12-08T13:05:09", at(13, 5, 9)},
                      ParseCase {"2026-12-08", at(0, 0, 0)},
                      ParseCase {"1:05:09 PM", QDateTime(QDate(1899, 12, 30), QTime(13, 5, 9))}));

INSTANTIATE_TEST_SUITE_P(NotDates, ParseDateTimeTest,
                         ::testing::Values(ParseCase {"", {}}, ParseCase {"   ", {}},
                                           ParseCase {"hello", {}}, ParseCase {"13/01/2026", {}},
                                           ParseCase {"02/30/2026", {}}, ParseCase {"12/08/26", {}},
                                           ParseCase {"12/08/2026 13:05:09 PM", {}},
                                           ParseCase {"12/08/2026 00:05:09 AM", {}},
                                           ParseCase {"2026-12-08 25:00:00", {}},
                                           ParseCase {"2026-12-08 10:61:00", {}},
                                           ParseCase {"12-08-2026", {}},
                                           ParseCase {"12/08/2026 10:15:00 AM trailing", {}}));

TEST(ParseDateTimeRoundTrip, ReadsBackWhatItWrites)
{
    for (const QDateTime &value :
         {afternoon, midnight, QDateTime(QDate(2000, 2, 29), QTime(23, 59, 59)),
          QDateTime(QDate(2026, 1, 1), QTime(12, 0, 1))}) {
        EXPECT_EQ(format::parseDateTime(format::dateTimeText(value)), value);
        EXPECT_EQ(format::parseDateTime(format::generalDateText(value)), value);
    }
}

TEST(ParseDateTimeBadInput, NeverADate)
{
    EXPECT_FALSE(format::parseDateTime(QString(1 << 20, QLatin1Char('1'))).isValid());
    EXPECT_FALSE(
        format::parseDateTime(QStringLiteral("12/08/2026") + QChar(u'\0') + QStringLiteral("x"))
            .isValid());
    EXPECT_FALSE(format::parseDateTime(QStringLiteral("١٢/٠٨/٢٠٢٦")).isValid());
}

struct VariantCase
{
    const char *name;
    QVariant value;
    const char *text;
};

void PrintTo(const VariantCase &c, std::ostream *os)
{
    *os << c.name;
}

class VariantTextTest : public ::testing::TestWithParam<VariantCase>
{
};

TEST_P(VariantTextTest, AppendsToTheEmptyText)
{
    EXPECT_EQ(format::variantText(GetParam().value), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, VariantTextTest,
    ::testing::Values(VariantCase {"null", QVariant(), ""},
                      VariantCase {"typedNull", QVariant(QMetaType::fromType<double>()), ""},
                      VariantCase {"true", QVariant(true), "True"},
                      VariantCase {"false", QVariant(false), "False"},
                      VariantCase {"int", QVariant(42), "42"},
                      VariantCase {"longlong", QVariant(qlonglong(-9000000000LL)), "-9000000000"},
                      VariantCase {"double", QVariant(12.5), "12.5"},
                      VariantCase {"sum", QVariant(0.1 + 0.2), "0.3"},
                      VariantCase {"huge", QVariant(1e20), "1E+20"},
                      VariantCase {"float", QVariant(0.1f), "0.1"},
                      VariantCase {"datetime", QVariant(afternoon), "12/8/2026 1:05:09 PM"},
                      VariantCase {"midnight", QVariant(midnight), "12/8/2026"},
                      VariantCase {"date", QVariant(QDate(2026, 12, 8)), "12/8/2026"},
                      VariantCase {"time", QVariant(QTime(13, 5, 9)), "1:05:09 PM"},
                      VariantCase {"text", QVariant(QStringLiteral("O'Brien")), "O'Brien"},
                      VariantCase {"empty", QVariant(QString()), ""}));

TEST(IfNull, ReplacesOnlyNull)
{
    EXPECT_EQ(IfNull(QVariant(), 0), QVariant(0));
    // A NULL column comes back as a null of the column's type.
    EXPECT_EQ(IfNull(QVariant(QMetaType::fromType<bool>()), false), QVariant(false));
    EXPECT_EQ(IfNull(QVariant(QMetaType::fromType<qlonglong>()), 1), QVariant(1));
    EXPECT_EQ(IfNull(QVariant(0), 1), QVariant(0));
    EXPECT_EQ(IfNull(QVariant(false), true), QVariant(false));
    EXPECT_EQ(IfNull(QVariant(QStringLiteral("")), QStringLiteral("x")), QVariant(QString()));
}

} // namespace
