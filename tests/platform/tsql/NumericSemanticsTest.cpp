#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

struct NumberCase
{
    const char *expr;
    QVariant expected;
};

std::ostream &operator<<(std::ostream &os, const NumberCase &c)
{
    return os << c.expr;
}

// Exact numbers, integers and their text as the server gives them (its documented answers).
class NumberValueTest : public EngineTest, public ::testing::WithParamInterface<NumberCase>
{
};

TEST_P(NumberValueTest, GivesTheServersAnswer)
{
    const QString sql
        = QStringLiteral("select ") + QString::fromUtf8(GetParam().expr) + QStringLiteral(" as v");
    const QVariant v = scalar(sql);
    const QVariant &e = GetParam().expected;
    EXPECT_EQ(v.typeId(), e.typeId()) << GetParam().expr << " gave " << v.toString().toStdString();
    EXPECT_EQ(v, e) << GetParam().expr << " gave " << v.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, NumberValueTest,
    ::testing::Values(NumberCase {"case when 0.1 + 0.2 = 0.3 then 1 else 0 end", qlonglong(1)},
                      NumberCase {"case when 0.1 * 3 = 0.3 then 1 else 0 end", qlonglong(1)},
                      NumberCase {"1.10 + 2.205", 3.305},
                      NumberCase {"cast(10 as money) / 3", 3.3333},
                      NumberCase {"cast(1 as money) / 3 * 3", 0.9999},
                      NumberCase {"cast(1 as decimal(10,2)) / 3", 0.3333333333333},
                      NumberCase {"1.0 / 3 * 3", 0.999999999999}, NumberCase {"7.5 % 2", 1.5},
                      NumberCase {"7 % 3", qlonglong(1)}, NumberCase {"-7 / 2", qlonglong(-3)},
                      NumberCase {"cast(2147483647 as bigint) + 1", qlonglong(2147483648LL)}));

INSTANTIATE_TEST_SUITE_P(
    Rounding, NumberValueTest,
    ::testing::Values(NumberCase {"round(1.005, 2)", 1.01}, NumberCase {"round(2.5, 0)", 3.0},
                      NumberCase {"round(-2.5, 0)", -3.0},
                      NumberCase {"round(1234.5678, -2)", 1200.0},
                      NumberCase {"round(1.239, 2, 1)", 1.23}, NumberCase {"round(0.285, 2)", 0.29},
                      NumberCase {"floor(-1.5)", -2.0}, NumberCase {"ceiling(1.01)", 2.0},
                      NumberCase {"round(cast(10 as money) / 3, 2)", 3.33}));

INSTANTIATE_TEST_SUITE_P(Conversions, NumberValueTest,
                         ::testing::Values(NumberCase {"cast(1.005 as decimal(10,2))", 1.01},
                                           NumberCase {"cast(0.125 as decimal(5,2))", 0.13},
                                           NumberCase {"cast(-0.125 as decimal(5,2))", -0.13},
                                           NumberCase {"cast(12.345678 as money)", 12.3457},
                                           NumberCase {"cast('12.345678' as money)", 12.3457},
                                           NumberCase {"cast('$1,234.56' as money)", 1234.56},
                                           NumberCase {"cast(' 42 ' as int)", qlonglong(42)},
                                           NumberCase {"cast(12.9 as int)", qlonglong(12)},
                                           NumberCase {"cast(-12.9 as int)", qlonglong(-12)},
                                           NumberCase {"cast(2.9e0 as smallint)", qlonglong(2)},
                                           NumberCase {"cast('0.5' as decimal(3,1)) + 1", 1.5}));

INSTANTIATE_TEST_SUITE_P(
    Text, NumberValueTest,
    ::testing::Values(
        NumberCase {"cast(cast(1.5 as decimal(10,2)) as varchar(10))", QStringLiteral("1.50")},
        NumberCase {"cast(1.0 / 3 as varchar(20))", QStringLiteral("0.333333333333")},
        NumberCase {"cast(1.20 * 3 as varchar(10))", QStringLiteral("3.60")},
        NumberCase {"cast(cast(10 as money) / 3 as varchar(20))", QStringLiteral("3.33")},
        NumberCase {"convert(varchar(20), cast(10 as money) / 3, 2)", QStringLiteral("3.3333")},
        NumberCase {"cast(cast(-0.001 as decimal(5,2)) as varchar(10))", QStringLiteral("0.00")},
        NumberCase {"convert(varchar(4), 10000)", QStringLiteral("*")},
        NumberCase {"convert(varchar(5), 10000)", QStringLiteral("10000")},
        NumberCase {"convert(varchar(4), 9999 + 1)", QStringLiteral("*")},
        NumberCase {"convert(varchar(4), 'abcdef')", QStringLiteral("abcd")}));

struct RefusalCase
{
    const char *expr;
    const char *message;
};

std::ostream &operator<<(std::ostream &os, const RefusalCase &c)
{
    return os << c.expr;
}

// Conversions and results the server refuses, with its message.
class NumberRefusalTest : public EngineTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(NumberRefusalTest, IsRefusedWithTheServersMessage)
{
    const QString sql = QStringLiteral("select ") + QString::fromUtf8(GetParam().expr);
    try {
        const QVariant v = scalar(sql);
        FAIL() << GetParam().expr << " gave " << v.toString().toStdString();
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().message)))
            << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Server, NumberRefusalTest,
    ::testing::Values(
        RefusalCase {
            "convert(int, '12.5')",
            "Conversion failed when converting the varchar value '12.5' to data type int."},
        RefusalCase {"cast('abc' as int)",
                     "Conversion failed when converting the varchar value 'abc' to data type int."},
        RefusalCase {"cast('2147483648' as int)",
                     "The conversion of the varchar value '2147483648' overflowed an int column."},
        RefusalCase {"cast(2147483648 as int)",
                     "Arithmetic overflow error converting expression to data type int."},
        RefusalCase {"2147483647 + 1",
                     "Arithmetic overflow error converting expression to data type int."},
        RefusalCase {"-2147483647 - 2",
                     "Arithmetic overflow error converting expression to data type int."},
        RefusalCase {"65536 * 65536",
                     "Arithmetic overflow error converting expression to data type int."},
        RefusalCase {"cast(300 as tinyint)",
                     "Arithmetic overflow error converting expression to data type tinyint."},
        RefusalCase {"cast('abc' as decimal(10,2))",
                     "Error converting data type varchar to numeric."},
        RefusalCase {"cast(123.45 as decimal(4,2))",
                     "Arithmetic overflow error converting numeric to data type numeric."},
        RefusalCase {"cast('1x' as money)", "Cannot convert a char value to money."},
        RefusalCase {"convert(varchar(3), cast(12.5 as decimal(5,2)))",
                     "Arithmetic overflow error converting numeric to data type varchar."},
        RefusalCase {"cast(1 as money) / 0", "Divide by zero error encountered."},
        RefusalCase {"1.5 / 0", "Divide by zero error encountered."}));

// Values kept by columns and variables of exact and integer types, written by statements,
// variables and a procedure of the program, then read, summed, compared and ordered.
class NumberStorageTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_db->execute(QStringLiteral(
            "CREATE TABLE INVENTORY..tbTestAmount (Line int NOT NULL PRIMARY KEY, Cost money NULL, "
            "Amount decimal(10,2) NULL, Small smallmoney NULL, Whole int NULL)"));
        m_db->execute(QStringLiteral(
            "CREATE INDEX IX_tbTestAmount_Amount ON INVENTORY..tbTestAmount (Amount)"));
    }

    QVariant value(const QString &column, int line)
    {
        return scalar(QStringLiteral("select %1 from inventory..tbTestAmount where Line = %2")
                          .arg(column)
                          .arg(line));
    }
};

TEST_F(NumberStorageTest, ColumnsKeepTheirScaleWhateverWritesThem)
{
    m_db->execute(QStringLiteral("insert into inventory..tbTestAmount (Line, Cost, Amount, Small) "
                                 "values (1, 12.345678, 2.675, 1.00005)"));
    m_db->execute(QStringLiteral("insert into inventory..tbTestAmount (Line, Cost, Amount) values "
                                 "(2, '12.345649', '-2.675')"));
    m_db->execute(QStringLiteral("declare @c money, @a decimal(10,2)\n"
                                 "set @c = 1 / 3.0\n"
                                 "set @a = @c\n"
                                 "insert into inventory..tbTestAmount (Line, Cost, Amount) values "
                                 "(3, @c, @a)"));
    m_db->execute(QStringLiteral("insert into inventory..tbTestAmount (Line, Cost, Amount) select "
                                 "Line + 10, Cost * 1.1, Amount / 3 from inventory..tbTestAmount"));
    EXPECT_EQ(value(QStringLiteral("Cost"), 1), QVariant(12.3457));
    EXPECT_EQ(value(QStringLiteral("Amount"), 1), QVariant(2.68));
    EXPECT_EQ(value(QStringLiteral("Small"), 1), QVariant(1.0001));
    EXPECT_EQ(value(QStringLiteral("Cost"), 2), QVariant(12.3456));
    EXPECT_EQ(value(QStringLiteral("Amount"), 2), QVariant(-2.68));
    EXPECT_EQ(value(QStringLiteral("Cost"), 3), QVariant(0.3333));
    EXPECT_EQ(value(QStringLiteral("Amount"), 3), QVariant(0.33));
    EXPECT_EQ(value(QStringLiteral("Cost"), 11), QVariant(13.5803)); // 13.58027
    EXPECT_EQ(value(QStringLiteral("Amount"), 11), QVariant(0.89)); // 0.893333...
    EXPECT_EQ(value(QStringLiteral("Amount"), 12), QVariant(-0.89));

    m_db->execute(QStringLiteral("update inventory..tbTestAmount set Cost = Cost / 7, Amount = "
                                 "Amount * 1.005 where Line = 1"));
    EXPECT_EQ(value(QStringLiteral("Cost"), 1), QVariant(1.7637)); // 1.763671...
    EXPECT_EQ(value(QStringLiteral("Amount"), 1), QVariant(2.69)); // 2.6934
}

TEST_F(NumberStorageTest, SumsComparisonsAndOrderFollowTheDecimalValues)
{
    for (int line = 1; line <= 10; ++line)
        m_db->execute(QStringLiteral("insert into inventory..tbTestAmount (Line, Cost, Amount) "
                                     "values (%1, 0.1, 0.1)")
                          .arg(line));
    m_db->execute(QStringLiteral("insert into inventory..tbTestAmount (Line, Cost, Amount) values "
                                 "(11, 0.3, 0.3), (12, 0.15, 0.15), (13, NULL, NULL)"));
    EXPECT_EQ(scalar(QStringLiteral("select sum(Cost) from inventory..tbTestAmount where Line <= "
                                    "10")),
              QVariant(1.0));
    EXPECT_EQ(scalar(QStringLiteral("select sum(Amount) from inventory..tbTestAmount")),
              QVariant(1.45));
    EXPECT_EQ(scalar(QStringLiteral("select cast(avg(Amount) as varchar(20)) from "
                                    "inventory..tbTestAmount")),
              QVariant(QStringLiteral("0.120833"))); // 1.45 / 12, six decimals
    EXPECT_EQ(scalar(QStringLiteral("select avg(Cost) from inventory..tbTestAmount")),
              QVariant(0.1208));
    // 0.1 + 0.2 stored and compared
    m_db->execute(QStringLiteral("update inventory..tbTestAmount set Amount = Amount + 0.2, "
                                 "Cost = Cost + 0.2 where Line = 1"));
    EXPECT_EQ(count(QStringLiteral("select Line from inventory..tbTestAmount where Amount = 0.3")),
              2);
    EXPECT_EQ(count(QStringLiteral("select Line from inventory..tbTestAmount where Cost = 0.3")),
              2);
    EXPECT_EQ(
        count(QStringLiteral("select Line from inventory..tbTestAmount where Amount = '0.30'")), 2);
    EXPECT_EQ(count(QStringLiteral("select Line from inventory..tbTestAmount where Amount between "
                                   "0.11 and 0.3")),
              3);
    db::Recordset rs = m_db->query(QStringLiteral(
        "select Line from inventory..tbTestAmount where Amount > 0.1 order by Amount desc, Line"));
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.text(QStringLiteral("Line"));
    EXPECT_EQ(order, QStringList({"1", "11", "12"}));
}

TEST_F(NumberStorageTest, ARefusedValueLeavesTheTableAsItWas)
{
    m_db->execute(QStringLiteral(
        "insert into inventory..tbTestAmount (Line, Whole, Amount) values (1, 2147483647, 1)"));
    const char *const refused[] = {
        "insert into inventory..tbTestAmount (Line, Whole) values (2, 2147483648)",
        "insert into inventory..tbTestAmount (Line, Amount) values (3, 123456789.5)",
        "insert into inventory..tbTestAmount (Line, Whole) values (4, '12.5')",
        "update inventory..tbTestAmount set Whole = Whole + 1",
        "update inventory..tbTestAmount set Amount = Amount * 100000000",
        "declare @i int\nset @i = 2147483648",
        "declare @s smallmoney\nset @s = 214748.5",
    };
    for (const char *sql : refused) {
        EXPECT_THROW(m_db->execute(QString::fromUtf8(sql)), db::DatabaseError) << sql;
    }
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestAmount")), 1);
    EXPECT_EQ(value(QStringLiteral("Whole"), 1), QVariant(qlonglong(2147483647)));
    EXPECT_EQ(value(QStringLiteral("Amount"), 1), QVariant(1.0));
}

// The cost a posting procedure of the program records keeps the four decimals of money.
TEST_F(EngineTest, PostingProcedureStoresMoneyToFourDecimals)
{
    m_db->execute(
        QStringLiteral("exec INVENTORY..sp_Inv_WithdrawalPosting_Auto 'A1', 'A1P', 'W1', '1001', "
                       "'12/08/2026', 2, 20, 12.345678, 1.23456, 0, 0, 'user', 'L2'"));
    db::Recordset rs = m_db->query(QStringLiteral(
        "select MovementType, UnitCost, UnitCost * Quantity as Total from "
        "INVENTORY..tbInvStockLedger where DocumentNo = '1001' order by MovementType"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.text(QStringLiteral("MovementType")), QStringLiteral("TI"));
    EXPECT_EQ(rs.field(QStringLiteral("UnitCost")), QVariant(1.2346));
    EXPECT_DOUBLE_EQ(rs.field(QStringLiteral("Total")).toDouble(), 24.692);
    rs.moveNext();
    EXPECT_EQ(rs.field(QStringLiteral("UnitCost")), QVariant(12.3457));
}

// A decimal literal's digits decide its type; a statement seen before with other digits must
// not lend it its translation.
TEST_F(EngineTest, LiteralDigitsShapeTheResultTypeThroughTheCache)
{
    EXPECT_EQ(scalar(QStringLiteral("select cast(1.5 * 2 as varchar(10))")),
              QVariant(QStringLiteral("3.0")));
    EXPECT_EQ(scalar(QStringLiteral("select cast(1.25 * 2 as varchar(10))")),
              QVariant(QStringLiteral("2.50")));
    EXPECT_EQ(scalar(QStringLiteral("select cast(9.5 * 2 as varchar(10))")),
              QVariant(QStringLiteral("19.0")));
    EXPECT_EQ(scalar(QStringLiteral("select cast(4 * 2 as varchar(10))")),
              QVariant(QStringLiteral("8")));
}

} // namespace
