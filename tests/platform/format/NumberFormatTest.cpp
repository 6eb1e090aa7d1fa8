// Number texts: digit patterns, the default conversions, leading-number reading and IsNumeric.
#include "platform/format/Format.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct PatternCase
{
    double value;
    const char *pattern;
    const char *expected;
};

void PrintTo(const PatternCase &c, std::ostream *os)
{
    *os << c.value << " as \"" << c.pattern << "\"";
}

class FormatNumberTest : public ::testing::TestWithParam<PatternCase>
{
};

TEST_P(FormatNumberTest, GivesTheText)
{
    const PatternCase &c = GetParam();
    EXPECT_EQ(format::formatNumber(c.value, QString::fromLatin1(c.pattern)),
              QString::fromLatin1(c.expected));
}

constexpr double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    RoundingEdges, FormatNumberTest,
    ::testing::Values(PatternCase {0.00005, "########0.0000", "0.0001"},
                      PatternCase {-0.00005, "########0.0000", "-0.0001"},
                      PatternCase {0.00004999, "########0.0000", "0.0000"},
                      PatternCase {1.00005, "########0.0000", "1.0001"},
                      PatternCase {2.5, "#########0", "3"}, PatternCase {-2.5, "#########0", "-3"},
                      PatternCase {0.5, "######0", "1"}, PatternCase {12.5, "#####0", "13"},
                      PatternCase {2.675, "##0.00", "2.68"}, PatternCase {1.005, "##0.00", "1.01"},
                      PatternCase {999.995, "##0.00", "1000.00"},
                      PatternCase {0.1 + 0.2, "#######0.0000", "0.3000"},
                      // arithmetic noise below the 15th digit does not decide the rounding
                      PatternCase {0.285 * 10, "##0.0", "2.9"},
                      PatternCase {9.99995, "#######0.0000", "10.0000"}));

INSTANTIATE_TEST_SUITE_P(SignsAndZero, FormatNumberTest,
                         ::testing::Values(PatternCase {0.0, "##0.00", "0.00"},
                                           PatternCase {-0.0, "########0.0000", "0.0000"},
                                           PatternCase {-0.00004, "########0.0000", "0.0000"},
                                           PatternCase {-0.4, "######0", "0"},
                                           PatternCase {-1234.5, "######0", "-1235"},
                                           PatternCase {-7.25, "#######0.0000", "-7.2500"}));

INSTANTIATE_TEST_SUITE_P(
    Thousands, FormatNumberTest,
    ::testing::Values(PatternCase {1234567.89, "###,###,##0.0000", "1,234,567.8900"},
                      PatternCase {-1234567.89, "###,###,##0.0000", "-1,234,567.8900"},
                      PatternCase {1234567.89, "########0.0000", "1234567.8900"},
                      PatternCase {100, "###,###,##0.0000", "100.0000"},
                      PatternCase {1000, "###,###,##0.0000", "1,000.0000"},
                      PatternCase {999999.99995, "###,###,##0.0000", "1,000,000.0000"},
                      PatternCase {-1234.5, "$#,##0.00", "-$1,234.50"}));

INSTANTIATE_TEST_SUITE_P(
    HugeAndOdd, FormatNumberTest,
    ::testing::Values(PatternCase {1e15, "#########0", "1000000000000000"},
                      PatternCase {1e20, "########0.0000", "100000000000000000000.0000"},
                      PatternCase {-1e20, "###,###,##0.0000", "-100,000,000,000,000,000,000.0000"},
                      PatternCase {123456789012.3456, "########0.0000", "123456789012.3460"},
                      PatternCase {std::numeric_limits<double>::quiet_NaN(), "##0.00", "NaN"},
                      PatternCase {Inf, "##0.00", "Infinity"},
                      PatternCase {-Inf, "#####0", "-Infinity"}, PatternCase {5, "000", "005"},
                      PatternCase {12.5, "", "12.5"}));

struct TextCase
{
    double value;
    const char *text;
};

class NumberTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(NumberTextTest, WritesAsTheProgramAlwaysHas)
{
    const TextCase &c = GetParam();
    EXPECT_EQ(format::numberText(c.value), QString::fromLatin1(c.text));
    const QString standard = format::numberTextStd(c.value);
    if (c.text[0] == '-') {
        EXPECT_EQ(standard, QString::fromLatin1(c.text));
    } else {
        EXPECT_EQ(standard, QLatin1Char(' ') + QString::fromLatin1(c.text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(
        TextCase {12.5, "12.5"}, TextCase {0, "0"}, TextCase {-0.0, "0"}, TextCase {-3, "-3"},
        TextCase {0.1 + 0.2, "0.3"}, TextCase {1.0 / 3.0, "0.333333333333333"},
        TextCase {2.0 / 3.0, "0.666666666666667"}, TextCase {999999999999999, "999999999999999"},
        TextCase {1e15, "1E+15"}, TextCase {1e20, "1E+20"}, TextCase {-1.5e20, "-1.5E+20"},
        TextCase {0.0001, "0.0001"}, TextCase {0.00001, "1E-05"}, TextCase {-1.5e-5, "-1.5E-05"},
        TextCase {1.23e-100, "1.23E-100"}, TextCase {12.3456, "12.3456"}));

struct ReadCase
{
    const char *text;
    double leading;
    bool numeric;
    double value; // of the whole text when numeric
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class ReadNumberTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadNumberTest, ReadsLeadingNumberAndWholeNumber)
{
    const ReadCase &c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_DOUBLE_EQ(format::leadingNumber(text), c.leading);
    EXPECT_EQ(format::isNumeric(text), c.numeric);
    EXPECT_DOUBLE_EQ(format::numericValue(text), c.numeric ? c.value : 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ReadNumberTest,
    ::testing::Values(ReadCase {"12", 12, true, 12}, ReadCase {" 3.5", 3.5, true, 3.5},
                      ReadCase {"  -1,000.25 ", -1, true, -1000.25}, ReadCase {"-2", -2, true, -2},
                      ReadCase {"+7", 7, true, 7}, ReadCase {"1e3", 1000, true, 1000},
                      ReadCase {"1.5E-3", 0.0015, true, 0.0015}, ReadCase {".5", 0.5, true, 0.5},
                      ReadCase {"-.5", -0.5, true, -0.5}, ReadCase {"5.", 5, true, 5},
                      ReadCase {"1,234.5", 1, true, 1234.5},
                      ReadCase {"1,234,567", 1, true, 1234567},
                      ReadCase {"\t\n42\r\n", 42, true, 42}, ReadCase {"1e-999", 0, true, 0}));

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, ReadNumberTest,
    ::testing::Values(ReadCase {"", 0, false, 0}, ReadCase {"  ", 0, false, 0},
                      ReadCase {".", 0, false, 0}, ReadCase {"-", 0, false, 0},
                      ReadCase {"+", 0, false, 0}, ReadCase {"1.2.3", 1.2, false, 0},
                      ReadCase {"12abc", 12, false, 0}, ReadCase {"abc", 0, false, 0},
                      ReadCase {"&H10", 0, false, 0}, ReadCase {"0x1A", 0, false, 0},
                      ReadCase {"1e", 1, false, 0}, ReadCase {"1e+", 1, false, 0},
                      ReadCase {"1E2x", 100, false, 0}, ReadCase {"e3", 0, false, 0},
                      ReadCase {",123", 0, false, 0}, ReadCase {"1,", 1, false, 0},
                      ReadCase {"1,.5", 1, false, 0}, ReadCase {"1.5,0", 1.5, false, 0},
                      ReadCase {"12 34", 12, false, 0}, ReadCase {"- 3", 0, false, 0},
                      ReadCase {"1e999", 0, false, 0},
                      ReadCase {"\xd9\xa1\xd9\xa2", 0, false, 0}, // Arabic-Indic digits
                      ReadCase {"\xef\xbc\x91", 0, false, 0})); // a full-width one

// A number typed or pasted into a field: read whole, thousands separators only in threes.
struct TypedCase
{
    const char *text;
    bool number;
    double value; // typedNumber's reading: the whole number, else the leading one
};

void PrintTo(const TypedCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class TypedNumberTest : public ::testing::TestWithParam<TypedCase>
{
};

TEST_P(TypedNumberTest, ReadsTheWholeTextOrNothing)
{
    const TypedCase &c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    double value = -1;
    EXPECT_EQ(format::readTypedNumber(text, value), c.number);
    EXPECT_DOUBLE_EQ(value, c.number ? c.value : 0.0);
    EXPECT_DOUBLE_EQ(format::typedNumber(text), c.value);
    // A cost read for a total gets the same amount, to four decimals.
    EXPECT_EQ(format::Currency::fromText(text), format::Currency::fromDouble(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedNumberTest,
    ::testing::Values(TypedCase {"1,040.00", true, 1040}, TypedCase {" 1,040 ", true, 1040},
                      TypedCase {"-12,345,678.5", true, -12345678.5},
                      TypedCase {"999,999,999,999,999", true, 999999999999999.0},
                      TypedCase {"1040", true, 1040}, TypedCase {"2.5", true, 2.5},
                      TypedCase {"1e3", true, 1000}, TypedCase {".75", true, 0.75},
                      // Separators out of place are no number: never read as another one.
                      TypedCase {"1,5", false, 1}, TypedCase {"1,0400", false, 1},
                      TypedCase {"1234,567", false, 1234}, TypedCase {"1,234,56", false, 1},
                      TypedCase {",123", false, 0}, TypedCase {"12abc", false, 12},
                      TypedCase {"$5", false, 0}, TypedCase {"12 34", false, 12},
                      TypedCase {"", false, 0}, TypedCase {"\xef\xbc\x91", false, 0}));

// Text straight from a user or a file: never a crash, always the documented fallback.
TEST(ReadNumberBadInput, LongAndBinaryTextsGiveTheFallback)
{
    const QString megabyteOfDigits(1 << 20, QLatin1Char('9'));
    EXPECT_EQ(format::leadingNumber(megabyteOfDigits), 0.0);
    EXPECT_FALSE(format::isNumeric(megabyteOfDigits));
    EXPECT_EQ(format::numericValue(megabyteOfDigits), 0.0);

    // The same digits scaled down are an ordinary number, read exactly.
    const QString ninths = QString(1 << 20, QLatin1Char('1')) + QStringLiteral("e-1048576");
    EXPECT_DOUBLE_EQ(format::leadingNumber(ninths), 1.0 / 9.0);
    EXPECT_TRUE(format::isNumeric(ninths));

    const QString withNul = QStringLiteral("12") + QChar(u'\0') + QStringLiteral("34");
    EXPECT_EQ(format::leadingNumber(withNul), 12.0);
    EXPECT_FALSE(format::isNumeric(withNul));

    const QString exponentOverflow = QStringLiteral("1e99999999999999999999999");
    EXPECT_EQ(format::leadingNumber(exponentOverflow), 0.0);
    EXPECT_EQ(format::leadingNumber(QStringLiteral("1e-99999999999999999999999")), 0.0);
    EXPECT_EQ(format::leadingNumber(QStringLiteral("0e99999999999")), 0.0);
}

} // namespace
