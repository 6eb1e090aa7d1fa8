#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

struct DateCase
{
    const char *expr;
    QVariant expected;
};

std::ostream &operator<<(std::ostream &os, const DateCase &c)
{
    return os << c.expr;
}

// Datetime arithmetic, styled conversions and the server's 1/300 s precision.
class DateValueTest : public EngineTest, public ::testing::WithParamInterface<DateCase>
{
};

TEST_P(DateValueTest, GivesTheServersAnswer)
{
    const QVariant v = scalar(QStringLiteral("select ") + QString::fromUtf8(GetParam().expr));
    EXPECT_EQ(v, GetParam().expected) << GetParam().expr << " gave " << v.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, DateValueTest,
    ::testing::Values(DateCase {"cast('2026-12-08 10:00' as datetime) + 0.5", at(2026, 12, 8, 22)},
                      DateCase {"cast('2026-12-08 10:00' as datetime) - 0.25", at(2026, 12, 8, 4)},
                      DateCase {"0.75 + cast('2026-12-08' as datetime)", at(2026, 12, 8, 18)},
                      DateCase {"cast('2026-12-08 10:00' as datetime) + 1.5", at(2026, 12, 9, 22)},
                      DateCase {"getdate() - 1", at(2026, 12, 7, 10, 15)},
                      DateCase {"'1900-01-03' + cast('2026-12-08' as datetime)",
                                at(2026, 12, 10)}));

INSTANTIATE_TEST_SUITE_P(
    Styles, DateValueTest,
    ::testing::Values(
        DateCase {"convert(datetime, '08/12/2026', 103)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '13/01/2026 14:30', 103)", at(2026, 1, 13, 14, 30)},
        DateCase {"convert(datetime, '08.12.2026', 104)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '08-12-2026', 105)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '08/12/26', 3)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '26.12.08', 2)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '261208', 12)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '20261208', 112)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '12/08/2026', 101)", at(2026, 12, 8)},
        DateCase {"convert(datetime, '2026-12-08T10:15:00', 126)", at(2026, 12, 8, 10, 15)},
        DateCase {"convert(datetime, '8 Dec 2026', 106)", at(2026, 12, 8)},
        DateCase {"convert(date, '08/12/2026 10:15', 103)", at(2026, 12, 8)}));

INSTANTIATE_TEST_SUITE_P(
    Precision, DateValueTest,
    ::testing::Values(
        DateCase {"cast('2026-12-08 10:00:00.001' as datetime)", at(2026, 12, 8, 10, 0, 0, 0)},
        DateCase {"cast('2026-12-08 10:00:00.002' as datetime)", at(2026, 12, 8, 10, 0, 0, 3)},
        DateCase {"cast('2026-12-08 10:00:00.005' as datetime)", at(2026, 12, 8, 10, 0, 0, 7)},
        DateCase {"cast('2026-12-08 10:00:00.009' as datetime)", at(2026, 12, 8, 10, 0, 0, 10)},
        DateCase {"cast('2026-12-08 23:59:59.999' as datetime)", at(2026, 12, 9)},
        DateCase {"dateadd(ms, 5, cast('2026-12-08' as datetime))", at(2026, 12, 8, 0, 0, 0, 7)},
        DateCase {"convert(varchar(23), cast('2026-12-08 10:00:00.005' as datetime), 121)",
                  QStringLiteral("2026-12-08 10:00:00.007")}));

struct DateRefusal
{
    const char *expr;
    const char *message;
};

std::ostream &operator<<(std::ostream &os, const DateRefusal &c)
{
    return os << c.expr;
}

class DateRefusalTest : public EngineTest, public ::testing::WithParamInterface<DateRefusal>
{
};

TEST_P(DateRefusalTest, IsRefusedWithTheServersMessage)
{
    try {
        const QVariant v = scalar(QStringLiteral("select ") + QString::fromUtf8(GetParam().expr));
        FAIL() << GetParam().expr << " gave " << v.toString().toStdString();
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().message)))
            << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Server, DateRefusalTest,
    ::testing::Values(
        DateRefusal {"'Issued on ' + getdate()",
                     "Conversion failed when converting date and/or time from character string."},
        DateRefusal {"getdate() + 'x'",
                     "Conversion failed when converting date and/or time from character string."},
        DateRefusal {"convert(datetime, '13/01/2026', 101)",
                     "Conversion failed when converting date and/or time from character string."},
        DateRefusal {"convert(datetime, '31/02/2026', 103)",
                     "Conversion failed when converting date and/or time from character string."}));

// A text column met by a datetime is read as a date, row by row: a remark is refused.
TEST_F(EngineTest, TextColumnPlusDatetimeIsReadAsADate)
{
    EXPECT_THROW(scalar(QStringLiteral("select Remarks + TransDate from inventory..tbTest where "
                                       "DocNo = '1003'")),
                 db::DatabaseError);
    EXPECT_EQ(scalar(QStringLiteral("select TransDate + '1900-01-02 12:00' from inventory..tbTest "
                                    "where DocNo = '1003'")),
              QVariant(at(2026, 12, 2, 20)));
}

} // namespace
