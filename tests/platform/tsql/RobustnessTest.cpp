#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

#include <random>

namespace {

// Input that would change a statement's meaning on a careless engine: each either runs as
// written or is refused, and the table keeps its rows.
class BadInputTest : public EngineTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(BadInputTest, RunsOrIsRefusedWithoutHarm)
{
    const QString sql = QString::fromUtf8(GetParam());
    try {
        m_db->query(sql);
    } catch (const db::DatabaseError &e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_EQ(e.statement(), sql);
    }
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 4);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc")), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, BadInputTest,
    ::testing::Values(
        "Select * from inventory..tbTest where Name = 'O'Brien'",
        "Select * from inventory..tbTest where Name = 'x'; delete inventory..tbTest where 1 = 0 "
        "--'",
        "Select * from inventory..tbTest where Name = 'x' -- and Name = 'y",
        "Select * from inventory..tbTest where Name = 'x /* ' */",
        "Select * from inventory..tbTest where Name = 'a''; drop table inventory..tbTest; --'",
        "Select * from inventory..tbTest where Name = 'ñandú € 中'",
        "Select * from inventory..tbTest where Name = [unbalanced",
        "Select * from inventory..tbTest where (Name = 'x'",
        "Select * from inventory..tbTest where Name = 'x')",
        "Select * from [inventory]..[tbTest] where [Name] = 'x'",
        "Select * from inventory..tbTest where Name = \"x\"", "Select ((((((((((1))))))))))",
        "/* unclosed comment Select 1", "Select 'unclosed", "Select @undeclared", "Select 1 +",
        "Select * from nosuchdb..tbTest", "Select * from server.inventory.dbo.tbTest",
        "select sqlite_version()", "Select * from inventory..sqlite_master",
        "Select * from inventory.._tsql_objects", "Select * from inventory..tbTest where Name = ?1",
        "Select * from inventory..tbTest where Name = $1", "WITH x AS (select 1 a) select * from x",
        "Select * into #t from inventory..tbTest", "exec ('delete inventory..tbTest')",
        "Select 1 go Select 2", "", ";;;", "Select\x01 1",
        "SELECT TOP 1 PERCENT * FROM inventory..tbTest", "Select char(39) + 'x'",
        "Select * from inventory..tbTest order by 99"));

TEST_F(EngineTest, VeryLongTextIsHandled)
{
    const QString longText(200000, QLatin1Char('x'));
    db::Recordset rs
        = m_db->query(QStringLiteral("Select len('") + longText + QStringLiteral("') as n"));
    EXPECT_EQ(rs.value(0), QVariant(qlonglong(200000)));
    QString deep = QStringLiteral("Select ");
    for (int i = 0; i < 100000; ++i)
        deep += QLatin1Char('(');
    deep += QLatin1Char('1');
    for (int i = 0; i < 100000; ++i)
        deep += QLatin1Char(')');
    try {
        m_db->query(deep);
    } catch (const db::DatabaseError &) { }
    // Longer than the column: refused, as on the server, and the row keeps its text.
    EXPECT_THROW(m_db->execute(QStringLiteral("Update inventory..tbTest set Remarks = '") + longText
                               + QStringLiteral("' where DocNo = '1001'")),
                 db::DatabaseError);
    EXPECT_EQ(scalar(QStringLiteral("select Remarks from inventory..tbTest where DocNo = '1001'")),
              QVariant(QStringLiteral("first")));
}

TEST_F(EngineTest, StatementsWithVeryManyLiteralsRun)
{
    QStringList rows;
    for (int i = 0; i < 20000; ++i)
        rows << QStringLiteral("('%1', 'Bulk', %2, '12/08/2026')").arg(i).arg(i % 7);
    m_db->execute(
        QStringLiteral("insert into inventory..tbTest (DocNo, Name, Qty, TransDate) values ")
        + rows.join(QStringLiteral(", ")));
    EXPECT_EQ(
        scalar(QStringLiteral("select count(*) from inventory..tbTest where Name = 'bulk' and "
                              "TransDate = '2026-12-08'")),
        QVariant(qlonglong(20000)));
    m_db->execute(QStringLiteral("delete inventory..tbTest where Name = 'Bulk'"));
}

// Thousands of truncated and mutated valid statements: each runs or is refused with a
// DatabaseError; nothing crashes and the tables are not touched by statements that do not write.
TEST_F(EngineTest, RandomMutationsNeverCrash)
{
    const QStringList seeds = {
        QStringLiteral(
            "Select A.DocNo, isnull(A.Name,'') + ' ' + isnull(A.Remarks,'') as N, "
            "(Select Top 1 Location From inventory..tbTestLoc Where LocationID = '21') "
            "from inventory..tbTest A Left Outer Join inventory..tbTestLoc B On B.LocationID "
            "= A.DocNo where A.TransDate >= dateadd(d,-7,cast(getdate() as date)) and "
            "A.Name like '%a%' order by A.TransDate desc"),
        QStringLiteral(
            "select a.DocNo, e.OnHand from inventory..tbTest a outer apply (select "
            "isnull(onhand,0) as onhand from inventory..tbTestLoc where locationid = '22') "
            "as E where a.ID in (1, 2, 3) group by a.DocNo, e.OnHand having count(*) > 0"),
        QStringLiteral("Inventory..sp_Test_ByDoc '1001', 2"),
        QStringLiteral("select case when Flag = 1 then 'Y' else 'N' end, cast(Qty as varchar(10)), "
                       "convert(varchar(10), TransDate, 101) from inventory..tbTest where "
                       "isnumeric(DocNo) = 1 and Qty between 1 and 100"),
    };
    const QString alphabet = QStringLiteral("'\"[]()*,.;=<>+-/%@#$ \n\t0123456789abcXYZ_\\`");
    std::mt19937 rng(20261208);
    int refused = 0;
    int ran = 0;
    for (int i = 0; i < 3000; ++i) {
        QString sql = seeds[static_cast<int>(rng() % static_cast<unsigned>(seeds.size()))];
        switch (rng() % 4) {
        case 0:
            sql.truncate(static_cast<qsizetype>(rng() % static_cast<unsigned>(sql.size())));
            break;
        case 1:
            sql.remove(static_cast<qsizetype>(rng() % static_cast<unsigned>(sql.size())),
                       1 + rng() % 8);
            break;
        case 2:
            sql.insert(
                static_cast<qsizetype>(rng() % static_cast<unsigned>(sql.size())),
                alphabet[static_cast<qsizetype>(rng() % static_cast<unsigned>(alphabet.size()))]);
            break;
        default: {
            const auto at = static_cast<qsizetype>(rng() % static_cast<unsigned>(sql.size()));
            sql[at]
                = alphabet[static_cast<qsizetype>(rng() % static_cast<unsigned>(alphabet.size()))];
        }
        }
        try {
            m_db->query(sql);
            ++ran;
        } catch (const db::DatabaseError &) {
            ++refused;
        }
    }
    EXPECT_EQ(ran + refused, 3000);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 4);
}

} // namespace
