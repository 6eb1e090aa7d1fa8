#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

// Procedure bodies: variables, control flow, assignments from queries, nested calls.
const char *const kProcedures = R"(
IF OBJECT_ID('dbo.sp_Test_Flow') IS NOT NULL DROP PROCEDURE dbo.sp_Test_Flow
GO
CREATE PROC dbo.sp_Test_Flow @Mode varchar(10), @Limit int = 3, @When datetime = '12/01/2026'
AS
    SET NOCOUNT ON;
    DECLARE @i int = 0, @total float, @name varchar(5), @late bit
    IF @Mode = 'loop'
    BEGIN
        WHILE @i < 100
        BEGIN
            SET @i = @i + 1
            IF @i >= @Limit BREAK
        END
        SELECT @i AS Result
        RETURN
    END
    ELSE IF @Mode = 'assign'
    BEGIN
        SELECT @total = sum(Qty), @name = max(Name) FROM INVENTORY..tbTest WHERE TransDate >= @When
        SELECT @total AS Total, @name AS Name
    END
    ELSE IF @Mode = 'nested'
        EXEC INVENTORY..sp_Test_ByDoc '1003'
    ELSE IF @Mode = 'fail'
        RAISERROR ('Mode refused', 16, 1)
    ELSE IF @Mode = 'write'
    BEGIN
        INSERT INTO INVENTORY..tbTest (DocNo, Name, TransDate) VALUES ('W-' + cast(@Limit as varchar(5)), @Mode, @When)
        UPDATE INVENTORY..tbTest SET Flag = 'True' WHERE DocNo = 'W-' + cast(@Limit as varchar(5))
        SET @late = (SELECT Flag FROM INVENTORY..tbTest WHERE DocNo = 'W-' + cast(@Limit as varchar(5)))
        SELECT @late AS Late, count(*) AS N FROM INVENTORY..tbTest
    END
    SELECT 'end' AS Result
GO
)";

class ProcedureTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_db->runScript(QString::fromUtf8(kProcedures));
    }
};

TEST_F(ProcedureTest, WhileBreakAndReturn)
{
    db::Recordset rs = m_db->query(QStringLiteral("inventory..sp_Test_Flow 'loop', 5"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("Result")), QVariant(qlonglong(5)));
    EXPECT_EQ(m_db->query(QStringLiteral("inventory..sp_Test_Flow 'loop'")).value(0),
              QVariant(qlonglong(3)));
}

TEST_F(ProcedureTest, AssignmentFromQueryAndDateParameter)
{
    db::Recordset rs = m_db->query(QStringLiteral("inventory..sp_Test_Flow 'assign'"));
    // The last result of the procedure is the one returned.
    EXPECT_EQ(rs.field(QStringLiteral("Result")).toString(), QStringLiteral("end"));
    rs = m_db->query(
        QStringLiteral("exec inventory..sp_Test_Flow @Mode = 'assign', @When = '2026-11-01'"));
    EXPECT_EQ(rs.columns(), QStringList({"Result"}));
}

TEST_F(ProcedureTest, NestedCallsAndErrors)
{
    EXPECT_EQ(m_db->query(QStringLiteral("inventory..sp_Test_Flow 'nested'")).recordCount(), 1);
    try {
        m_db->query(QStringLiteral("inventory..sp_Test_Flow 'fail'"));
        FAIL();
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("Mode refused")));
    }
    EXPECT_THROW(m_db->query(QStringLiteral("inventory..sp_Test_Flow 'loop', 'many'")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->query(QStringLiteral("inventory..sp_Test_Flow 'loop', 1, '12/01/2026', 4")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->query(QStringLiteral("inventory..sp_Test_Flow @Nope = 1")),
                 db::DatabaseError);
}

TEST_F(ProcedureTest, WritesWithConvertedValues)
{
    db::Recordset rs = m_db->query(
        QStringLiteral("inventory..sp_Test_Flow 'write', 7, '12/02/2026 01:30:00 PM'"));
    EXPECT_EQ(rs.field(QStringLiteral("Result")).toString(), QStringLiteral("end"));
    rs = m_db->query(
        QStringLiteral("select Flag, TransDate from inventory..tbTest where DocNo = 'w-7'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(0), QVariant(true));
    EXPECT_EQ(rs.value(1).toDateTime(), QDateTime(QDate(2026, 12, 2), QTime(13, 30)));
}

TEST_F(ProcedureTest, ScriptsRerunAndObjectsPersistInTheCatalogue)
{
    // The script drops and creates again; a second run gives the same procedure.
    m_db->runScript(QString::fromUtf8(kProcedures));
    EXPECT_EQ(m_db->query(QStringLiteral("inventory..sp_Test_Flow 'loop', 2")).value(0),
              QVariant(qlonglong(2)));
    EXPECT_THROW(m_db->runScript(QStringLiteral("CREATE TABLE INVENTORY..tbTest (a int)")),
                 db::DatabaseError);
    EXPECT_THROW(
        m_db->runScript(QStringLiteral("CREATE INDEX IX_tbTest_Name ON INVENTORY..tbTest (Qty)")),
        db::DatabaseError);
    m_db->runScript(
        QStringLiteral("DROP INDEX IX_tbTest_Name ON INVENTORY..tbTest\nGO\n"
                       "CREATE INDEX IX_tbTest_Name ON INVENTORY..tbTest (Qty DESC)\nGO\n"
                       "DROP TABLE IF EXISTS INVENTORY..tbNothing\n"));
    EXPECT_EQ(m_db->query(QStringLiteral("select object_id('INVENTORY..tbTest') as id"))
                  .value(0)
                  .isNull(),
              false);
    EXPECT_TRUE(
        m_db->query(QStringLiteral("select object_id('INVENTORY..tbNothing')")).value(0).isNull());
    EXPECT_TRUE(
        m_db->query(QStringLiteral("select object_id('dbo.sp_Test_Flow', 'U')")).value(0).isNull());
    m_db->runScript(QStringLiteral(
        "IF DB_ID('INVENTORY') IS NULL CREATE DATABASE INVENTORY\nGO\nUSE Build_File\n"
        "GO\nCREATE TABLE tbHere (K int)\n"));
    EXPECT_EQ(count(QStringLiteral("select * from build_file.dbo.tbHere")), 0);
    EXPECT_THROW(m_db->query(QStringLiteral("select * from INVENTORY..tbHere")), db::DatabaseError);
}

TEST_F(ProcedureTest, ConstraintsAndDefaults)
{
    m_db->runScript(QStringLiteral(
        "CREATE TABLE INVENTORY..tbSeq (N int IDENTITY(100,1), K varchar(5) NOT NULL PRIMARY KEY, "
        "Made datetime DEFAULT (getdate()), Active bit DEFAULT 'True', Price money DEFAULT 0)\n"));
    m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (K) values ('a')"));
    m_db->execute(QStringLiteral("insert into INVENTORY..tbSeq (K, Price) values ('b', '12.75')"));
    db::Recordset rs = m_db->query(QStringLiteral("select * from INVENTORY..tbSeq order by N"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("N")), QVariant(qlonglong(100)));
    EXPECT_EQ(rs.field(QStringLiteral("Made")).toDateTime(), fixedNow());
    EXPECT_EQ(rs.field(QStringLiteral("Active")), QVariant(true));
    rs.moveNext();
    EXPECT_EQ(rs.field(QStringLiteral("N")), QVariant(qlonglong(101)));
    EXPECT_EQ(rs.field(QStringLiteral("Price")), QVariant(12.75));
    EXPECT_THROW(m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (K) values ('A ')")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (Price) values (1)")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (K, Nope) values ('c', 1)")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (K, Price) values ('c')")),
                 db::DatabaseError);
    EXPECT_EQ(count(QStringLiteral("select * from INVENTORY..tbSeq")), 2);
    // Stored as the column's type: a bit keeps 0/1, an int whole numbers, text its length.
    m_db->execute(QStringLiteral("insert INVENTORY..tbSeq (K, Active, N) values ('c  ', 2, 7.9)"));
    EXPECT_EQ(count(QStringLiteral("select * from INVENTORY..tbSeq where Active = 1 and N = 7")),
              1);
    EXPECT_THROW(
        m_db->execute(QStringLiteral("update INVENTORY..tbSeq set K = 'abcdef' where K = 'c'")),
        db::DatabaseError);
}

struct ErrorCase
{
    const char *sql;
    const char *position;
};

std::ostream &operator<<(std::ostream &os, const ErrorCase &c)
{
    return os << c.sql;
}

// Refused statements name the place of the fault.
class ErrorPositionTest : public EngineTest, public ::testing::WithParamInterface<ErrorCase>
{
};

TEST_P(ErrorPositionTest, NamesLineAndColumn)
{
    try {
        m_db->query(QString::fromUtf8(GetParam().sql));
        FAIL() << "no error";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().position)))
            << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorPositionTest,
    ::testing::Values(ErrorCase {"select *\nfrom inventory..tbTest\nwhere Nope = 1",
                                 "line 3, column 7"},
                      ErrorCase {"select * from inventory..tbNope", "line 1, column 15"},
                      ErrorCase {"select 'abc", "line 1, column 8"},
                      ErrorCase {"select a from (select 1 a)", "line 1, column 15"},
                      ErrorCase {"select\n  nosuchfn(1)", "line 2, column 3"},
                      ErrorCase {"select * from inventory..tbTest where Flag = 'maybe'", "bit"},
                      ErrorCase {"select * from inventory..tbTest where TransDate > '31/31/2026'",
                                 "Conversion failed"},
                      ErrorCase {"select top 1 percent * from inventory..tbTest", "TOP"}));

} // namespace
