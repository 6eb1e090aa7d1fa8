#include "EngineFixture.h"

#include "platform/tsql/Functions.h"
#include "platform/tsql/Values.h"

namespace {

struct DateCase
{
    const char *text;
    QDateTime expected; // invalid: refused
};

std::ostream &operator<<(std::ostream &os, const DateCase &c)
{
    return os << c.text;
}

class DateTextTest : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(DateTextTest, ReadsTheServersFormats)
{
    tsql::DateTimeValue v;
    const bool ok = tsql::parseDateTime(QString::fromUtf8(GetParam().text), v);
    ASSERT_EQ(ok, GetParam().expected.isValid());
    if (ok) {
        EXPECT_EQ(tsql::toQDateTime(v), GetParam().expected);
    }
}

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s, ms));
}

INSTANTIATE_TEST_SUITE_P(
    Values, DateTextTest,
    ::testing::Values(
        DateCase {"12/08/2026 10:15:00 AM", at(2026, 12, 8, 10, 15)},
        DateCase {"12/08/2026 12:05:09 AM", at(2026, 12, 8, 0, 5, 9)},
        DateCase {"12/8/2026 1:05 PM", at(2026, 12, 8, 13, 5)},
        DateCase {"12/08/2026", at(2026, 12, 8)},
        DateCase {" 2026-12-08 10:15 ", at(2026, 12, 8, 10, 15)},
        DateCase {"2026-12-08T10:15:00.123", at(2026, 12, 8, 10, 15, 0, 123)},
        DateCase {"20261208", at(2026, 12, 8)},
        DateCase {"Dec  8 2026 10:15AM", at(2026, 12, 8, 10, 15)},
        DateCase {"8 December 2026", at(2026, 12, 8)}, DateCase {"12-08-26", at(2026, 12, 8)},
        DateCase {"10:15", at(1900, 1, 1, 10, 15)}, DateCase {"02/29/2026", QDateTime()},
        DateCase {"13/08/2026", QDateTime()}, DateCase {"12/021/2026", QDateTime()},
        DateCase {"12/08/202", QDateTime()}, DateCase {"2026-012-08", QDateTime()},
        DateCase {"12/08/2026 25:00", QDateTime()}, DateCase {"12/08/2026 13:00 PM", QDateTime()},
        DateCase {"tomorrow", QDateTime()}, DateCase {"2026-12-08 10:15 extra", QDateTime()},
        DateCase {"", QDateTime()}));

struct NumericCase
{
    const char *text;
    bool numeric;
};

class IsNumericTest : public ::testing::TestWithParam<NumericCase>
{
};

TEST_P(IsNumericTest, FollowsTheServer)
{
    EXPECT_EQ(tsql::isNumericText(QString::fromUtf8(GetParam().text)), GetParam().numeric)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, IsNumericTest,
                         ::testing::Values(NumericCase {"12", true}, NumericCase {" 12 ", true},
                                           NumericCase {"-12.5", true}, NumericCase {"1e3", true},
                                           NumericCase {"1E-3", true}, NumericCase {"$5", true},
                                           NumericCase {"1,234", true}, NumericCase {".5", true},
                                           NumericCase {"-", true}, NumericCase {"", false},
                                           NumericCase {" ", false}, NumericCase {"12a", false},
                                           NumericCase {"1e", false}, NumericCase {"e1", false},
                                           NumericCase {"1-2", false},
                                           NumericCase {"P001", false}));

struct LikeCase
{
    const char *pattern;
    const char *text;
    bool matches;
};

class LikeTest : public ::testing::TestWithParam<LikeCase>
{
};

TEST_P(LikeTest, MatchesAsTheServer)
{
    EXPECT_EQ(tsql::likeMatch(QString::fromUtf8(GetParam().pattern),
                              QString::fromUtf8(GetParam().text), QLatin1Char('!')),
              GetParam().matches)
        << GetParam().pattern << " / " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, LikeTest,
    ::testing::Values(LikeCase {"abc", "ABC", true}, LikeCase {"abc", "abc   ", true},
                      LikeCase {"abc ", "abc", false}, LikeCase {"%b%", "abc", true},
                      LikeCase {"a_c", "abc", true}, LikeCase {"a_c", "ac", false},
                      LikeCase {"%", "", true}, LikeCase {"[a-c]%", "Bx", true},
                      LikeCase {"[^a-c]%", "bx", false}, LikeCase {"%!%%", "50%", true},
                      LikeCase {"%!%%", "50", false}, LikeCase {"%1001%", "X1001Y", true},
                      LikeCase {"ñ%", "Ñandú", true},
                      LikeCase {"%a%a%a%a%a%b", "aaaaaaaaaaaaaaaaaaaa", false}));

struct StyleCase
{
    int style;
    const char *expected;
};

class StyleTest : public EngineTest, public ::testing::WithParamInterface<StyleCase>
{
};

TEST_P(StyleTest, ConvertsDatesToText)
{
    const QString sql = QStringLiteral("select convert(varchar(30), TransDate, %1) from "
                                       "inventory..tbTest where DocNo = '1001'")
                            .arg(GetParam().style);
    EXPECT_EQ(scalar(sql).toString(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StyleTest,
    ::testing::Values(StyleCase {101, "12/08/2026"}, StyleCase {103, "08/12/2026"},
                      StyleCase {112, "20261208"}, StyleCase {120, "2026-12-08 10:15:00"},
                      StyleCase {121, "2026-12-08 10:15:00.000"}, StyleCase {108, "10:15:00"},
                      StyleCase {100, "Dec  8 2026 10:15AM"}, StyleCase {106, "08 Dec 2026"}));

TEST_F(EngineTest, OrderAndGroupIgnoreLetterCase)
{
    m_db->execute(QStringLiteral(
        "insert inventory..tbTestLoc values ('a1', 'apple', 1), ('a2', 'Banana', 2), "
        "('a3', 'cherry', 3), ('a4', 'APPLE ', 4)"));
    db::Recordset rs
        = m_db->query(QStringLiteral("select upper(rtrim(Location)) as L, sum(OnHand) as S from "
                                     "inventory..tbTestLoc where LocationID "
                                     "like 'A%' group by upper(rtrim(Location)) order by L"));
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.text(0), QStringLiteral("APPLE"));
    EXPECT_EQ(rs.value(1), QVariant(5.0));
    rs = m_db->query(
        QStringLiteral("select Location from inventory..tbTestLoc where LocationID like 'a%' "
                       "order by Location desc, LocationID"));
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.text(0);
    EXPECT_EQ(order, QStringList({"cherry", "Banana", "apple", "APPLE "}));
    EXPECT_EQ(count(QStringLiteral(
                  "select distinct Location from inventory..tbTestLoc where LocationID like 'a%'")),
              3);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc where Location = N'ÁPPLE'")),
              0);
}

} // namespace
