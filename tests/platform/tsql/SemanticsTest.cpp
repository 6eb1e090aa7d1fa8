#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

struct CountCase
{
    const char *where;
    int expected;
};

std::ostream &operator<<(std::ostream &os, const CountCase &c)
{
    return os << c.where;
}

// Text comparison ignores letter case and trailing blanks; implicit conversions follow the
// server's rules; NULLs never compare equal.
class WhereTest : public EngineTest, public ::testing::WithParamInterface<CountCase>
{
};

TEST_P(WhereTest, CountsTheServersRows)
{
    const QString sql = QStringLiteral("Select * from inventory..tbtest where ")
        + QString::fromUtf8(GetParam().where);
    EXPECT_EQ(count(sql), GetParam().expected) << sql.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Semantics, WhereTest,
    ::testing::Values(
        CountCase {"Name = 'paracetamol'", 1}, CountCase {"Name = 'PARACETAMOL   '", 1},
        CountCase {"Name = 'Aspirin'", 2}, CountCase {"Name <> 'aspirin'", 2},
        CountCase {"Name in ('ASPIRIN', 'gauze')", 3}, CountCase {"Name like 'asp%'", 2},
        CountCase {"Name like '%MOL'", 1}, CountCase {"Name like 'g_uze'", 1},
        CountCase {"Name like '[ag]%'", 3}, CountCase {"Name between 'A' and 'B'", 2},
        CountCase {"ID = '2'", 1}, CountCase {"ID = 2.0", 1}, CountCase {"Flag = 1", 2},
        CountCase {"Flag = 'True'", 2}, CountCase {"isnull(IsRequest,1) = 1", 3},
        CountCase {"IsRequest = NULL", 0}, CountCase {"Remarks is null", 1},
        CountCase {"not Remarks is null", 3}, CountCase {"TransDate >= '12/01/2026'", 2},
        CountCase {"TransDate < '2026-12-01'", 2},
        CountCase {"TransDate between '11/24/2026' and '12/01/2026 08:00:00 AM'", 2},
        CountCase {"TransDate >= getdate()", 1},
        CountCase {"exists (select * from inventory..tbTestLoc l where l.OnHand > "
                   "tbTest.Qty)",
                   2},
        CountCase {"DocNo in (select DocNo from inventory..tbTest where Qty > 5)", 2}));

TEST_F(EngineTest, TextColumnMeetsNumber)
{
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc where LocationID = 21")), 1);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc where LocationID = '21 '")),
              1);
}

TEST_F(EngineTest, UnknownColumnIsRefusedWithItsPosition)
{
    try {
        m_db->query(QStringLiteral("Select Nosuch from inventory..tbtest"));
        FAIL() << "no error";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("Invalid column name 'Nosuch'")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QLatin1String("line 1, column 8")))
            << e.message().toStdString();
        EXPECT_EQ(e.statement(), QStringLiteral("Select Nosuch from inventory..tbtest"));
    }
}

struct ValueCase
{
    const char *expr;
    QVariant expected;
};

std::ostream &operator<<(std::ostream &os, const ValueCase &c)
{
    return os << c.expr;
}

// Expression values and their types as the recordset hands them out.
class ValueTest : public EngineTest, public ::testing::WithParamInterface<ValueCase>
{
};

TEST_P(ValueTest, GivesTheServersValue)
{
    const QString sql = QStringLiteral("select ") + QString::fromUtf8(GetParam().expr)
        + QStringLiteral(" as v from inventory..tbTest where DocNo = '1001'");
    const QVariant v = scalar(sql);
    const QVariant &e = GetParam().expected;
    EXPECT_EQ(v.typeId(), e.typeId()) << GetParam().expr << " gave " << v.toString().toStdString();
    EXPECT_EQ(v, e) << GetParam().expr << " gave " << v.toString().toStdString();
}

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 15, 0));

INSTANTIATE_TEST_SUITE_P(
    Semantics, ValueTest,
    ::testing::Values(
        ValueCase {"Name + '-' + DocNo", QStringLiteral("Paracetamol -1001")},
        ValueCase {"rtrim(Name) + DocNo", QStringLiteral("Paracetamol1001")},
        ValueCase {"Qty + 1", 11.0}, ValueCase {"ID + 1", qlonglong(2)},
        ValueCase {"'5' + 3", qlonglong(8)}, ValueCase {"Name + NULL", QVariant()},
        ValueCase {"Qty + NULL", QVariant()}, ValueCase {"Cost", 12.5}, ValueCase {"Flag", true},
        ValueCase {"IsRequest", QVariant()}, ValueCase {"isnull(IsRequest, 1)", true},
        ValueCase {"TransDate", kNow}, ValueCase {"TransDate + 1", kNow.addDays(1)},
        ValueCase {"getdate()", kNow},
        ValueCase {"cast(getdate() as date)", QDateTime(QDate(2026, 12, 8), QTime(0, 0))},
        ValueCase {"dateadd(month, 1, TransDate)", kNow.addMonths(1)},
        ValueCase {"dateadd(hh, -11, TransDate)", kNow.addSecs(-11 * 3600)},
        ValueCase {"datepart(d, getdate())", qlonglong(8)},
        ValueCase {"year(TransDate)", qlonglong(2026)},
        ValueCase {
            "dateadd(d,-7,cast(dateadd(d,(datepart(d,getdate()) -1) * -1,getdate()) as date))",
            QDateTime(QDate(2026, 11, 24), QTime(0, 0))},
        ValueCase {
            "dateadd(month,1,cast(dateadd(d,(datepart(d,getdate()) -1) * -1,getdate()) as date))",
            QDateTime(QDate(2027, 1, 1), QTime(0, 0))},
        ValueCase {"convert(varchar(10), TransDate, 101)", QStringLiteral("12/08/2026")},
        ValueCase {
            "cast(year(getdate()) as varchar(4)) + '-' + cast(isnull(NULL,0) + 1 as varchar(10))",
            QStringLiteral("2026-1")},
        ValueCase {"cast(Qty as int)", qlonglong(10)},
        ValueCase {"cast('12' as int) * 2", qlonglong(24)},
        ValueCase {"Convert(VarChar(4), Convert(Integer, Replace(DocNo, '1', '2')) + 1)",
                   QStringLiteral("2003")},
        ValueCase {"isnumeric('12')", qlonglong(1)}, ValueCase {"isnumeric(' 12 ')", qlonglong(1)},
        ValueCase {"isnumeric('1e3')", qlonglong(1)}, ValueCase {"isnumeric('$5')", qlonglong(1)},
        ValueCase {"isnumeric('')", qlonglong(0)}, ValueCase {"isnumeric('12a')", qlonglong(0)},
        ValueCase {"len('ab  ')", qlonglong(2)},
        ValueCase {"patindex('%.%', 'ab.c')", qlonglong(3)},
        ValueCase {"substring('abcdef', 2, 3)", QStringLiteral("bcd")},
        ValueCase {"left('abc', 2) + right('abc', 2)", QStringLiteral("abbc")},
        ValueCase {"charindex('C', 'abcabc', 4)", qlonglong(6)},
        ValueCase {"space(2) + ltrim('  x')", QStringLiteral("  x")},
        ValueCase {"upper('ñandú')", QStringLiteral("ÑANDÚ")},
        ValueCase {"coalesce(NULL, Remarks)", QStringLiteral("first")},
        ValueCase {"case when Flag = 1 then 'Y' else 'N' end", QStringLiteral("Y")},
        ValueCase {"case Name when 'PARACETAMOL' then 1 else 0 end", qlonglong(1)},
        ValueCase {"round(2.345, 2)", 2.35}, ValueCase {"abs(-3)", qlonglong(3)},
        ValueCase {"7 / 2", qlonglong(3)}, ValueCase {"7 / 2.0", 3.5},
        ValueCase {"(select top 1 Location from inventory..tbTestLoc order by Location desc)",
                   QStringLiteral("Ward 21")},
        ValueCase {"(select count(*) from inventory..tbTest where Name = 'aspirin')", qlonglong(2)},
        ValueCase {"inventory.dbo.fn_Test_Total('Aspirin', 2)", 11.0},
        ValueCase {"dbo.fn_Test_Total(Name, ID) + 1", 11.0}));

TEST_F(EngineTest, DatesSortAsDates)
{
    db::Recordset rs = m_db->query(
        QStringLiteral("select DocNo, TransDate from inventory..tbTest order by TransDate desc"));
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.text(QStringLiteral("DocNo"));
    // 12/08 after 12/01 after 11/24 after 10/31, though "10/31" > "12/01" as text
    EXPECT_EQ(order, QStringList({"1001", "1003", "1002", "X-1"}));
}

TEST_F(EngineTest, SelectItemsKeepNamesAndDuplicates)
{
    db::Recordset rs = m_db->query(QStringLiteral(
        "select Stat = '0', A.Name, B.Location, C.Location, A.Qty * 2 AS [Double Qty], A.Qty * 3, "
        "*, GetDate() as CurDate from inventory..tbTest A "
        "left outer join inventory..tbTestLoc B on B.LocationID = '21' "
        "left join inventory..tbTestLoc C on C.LocationID = '22' where A.DocNo = '1001'"));
    ASSERT_EQ(rs.recordCount(), 1);
    const QStringList names = rs.columns();
    ASSERT_GE(names.size(), 7);
    EXPECT_EQ(names.mid(0, 6),
              QStringList({"Stat", "Name", "Location", "Location", "Double Qty", ""}));
    EXPECT_EQ(rs.value(2).toString(), QStringLiteral("Ward 21"));
    EXPECT_EQ(rs.value(3).toString(), QStringLiteral("Pharmacy"));
    EXPECT_EQ(rs.field(QStringLiteral("curdate")).toDateTime(), fixedNow());
    EXPECT_EQ(rs.field(QStringLiteral("Remarks")).toString(), QStringLiteral("first"));
}

TEST_F(EngineTest, TopInSubqueryAndOuterApply)
{
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest where ID in (select top 2 ID "
                                   "from inventory..tbTest order by ID desc)")),
              2);
    db::Recordset rs = m_db->query(QStringLiteral(
        "select a.DocNo, e.OnHand from inventory..tbTest a outer apply (select isnull(onhand,0) "
        "as onhand from inventory..tbTestLoc where locationid = '22' and a.ID < 3) as E "
        "order by a.DocNo"));
    ASSERT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(rs.value(1), QVariant(0.0)); // 1001: a row with a null on hand
    rs.move(2);
    EXPECT_TRUE(rs.value(1).isNull()); // 1003: no row from the applied query
    EXPECT_EQ(count(QStringLiteral("select a.DocNo from inventory..tbTest a cross apply (select "
                                   "top 1 Location from inventory..tbTestLoc where a.ID < 3) x")),
              2);
}

TEST_F(EngineTest, UpdateFromJoinUpdatesTheJoinedRowsOnly)
{
    m_db->execute(QStringLiteral(
        "update a  Set Qty = (Qty - b.OnHand)  from inventory..tbTest a  inner join( select "
        "LocationID, OnHand from inventory..tbTestLoc where LocationID = '21') b on a.DocNo = "
        "'1001' and b.LocationID = '21' "));
    EXPECT_EQ(scalar(QStringLiteral("select Qty from inventory..tbTest where DocNo = '1001'")),
              QVariant(3.0));
    EXPECT_EQ(scalar(QStringLiteral("select Qty from inventory..tbTest where DocNo = 'X-1'")),
              QVariant(2.0));
    m_db->execute(QStringLiteral("Update INVENTORY..tbTest set Flag = 'True', TransDate = "
                                 "GetDate() where DocNo = 'X-1'"));
    db::Recordset rs = m_db->query(
        QStringLiteral("select Flag, TransDate from inventory..tbTest where DocNo = 'X-1'"));
    EXPECT_EQ(rs.value(0), QVariant(true));
    EXPECT_EQ(rs.value(1).toDateTime(), fixedNow());
    // Later joins may refer to the updated table; an outer join keeps its unmatched rows.
    m_db->execute(QStringLiteral(
        "update t set Remarks = isnull(l.Location, 'none') from inventory..tbTest t inner join "
        "inventory..tbTest u on u.ID = t.ID left join inventory..tbTestLoc l on l.LocationID = "
        "cast(t.ID + 20 as varchar(10))"));
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest where Remarks = 'none'")), 2);
    EXPECT_EQ(scalar(QStringLiteral("select Remarks from inventory..tbTest where ID = 2")),
              QVariant(QStringLiteral("Pharmacy")));
    m_db->execute(QStringLiteral("Delete INVENTORY..tbTest Where DocNo = '1002'"));
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 3);
    // Objects created inside a rolled-back transaction are gone with it.
    m_db->beginTransaction();
    m_db->runScript(QStringLiteral("CREATE TABLE INVENTORY..tbGone (a int)\nGO\nDROP TABLE "
                                   "INVENTORY..tbTestLoc\n"));
    m_db->rollbackTransaction();
    EXPECT_THROW(m_db->query(QStringLiteral("select * from inventory..tbGone")), db::DatabaseError);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc")), 2);
    EXPECT_EQ(count(QStringLiteral("inventory..sp_Test_ByDoc '1002'")), 1);
}

TEST_F(EngineTest, GroupByUnionAndDistinctFollowTextRules)
{
    EXPECT_EQ(count(QStringLiteral("select Name, count(*) from inventory..tbTest group by Name")),
              3);
    EXPECT_EQ(count(QStringLiteral("select distinct Name from inventory..tbTest")), 3);
    db::Recordset rs = m_db->query(QStringLiteral(
        "select DocNo from inventory..tbTest where Name = 'gauze' Union All select LocationID "
        "from inventory..tbTestLoc order by 1"));
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("21"));
    EXPECT_EQ(scalar(QStringLiteral("select max(TransDate) from inventory..tbTest")),
              QVariant(kNow));
}

struct CallCase
{
    const char *call;
    int rows;
};

std::ostream &operator<<(std::ostream &os, const CallCase &c)
{
    return os << c.call;
}

// Procedures called as text, with quoted, bare and defaulted arguments.
class CallTest : public EngineTest, public ::testing::WithParamInterface<CallCase>
{
};

TEST_P(CallTest, ReturnsTheProceduresRows)
{
    db::Recordset rs = m_db->query(QString::fromUtf8(GetParam().call));
    EXPECT_EQ(rs.recordCount(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Semantics, CallTest,
                         ::testing::Values(CallCase {"Inventory..sp_Test_ByDoc '1001'", 1},
                                           CallCase {"Inventory..sp_Test_ByDoc 1001", 1},
                                           CallCase {"inventory..sp_test_bydoc X", 1},
                                           CallCase {"exec INVENTORY.dbo.sp_Test_ByDoc '1001', 11",
                                                     0},
                                           CallCase {"EXEC sp_Test_ByDoc @DocNo = '1003'", 1},
                                           CallCase {"sp_Test_ByDoc '1003', -1", 1}));

TEST_F(EngineTest, ProcedureResultAndMissingParameter)
{
    EXPECT_EQ(scalar(QStringLiteral("Inventory..sp_Test_ByDoc 'NOPE'")),
              QVariant(QStringLiteral("none")));
    EXPECT_THROW(m_db->query(QStringLiteral("Inventory..sp_Test_ByDoc")), db::DatabaseError);
    EXPECT_THROW(m_db->query(QStringLiteral("Inventory..sp_Nothing 'a'")), db::DatabaseError);
}

TEST_F(EngineTest, DemoProcedureTakesBareAndQuotedArguments)
{
    auto demo = db::EmbeddedConnection::openInMemory();
    const db::Recordset quoted = demo->query(QStringLiteral("Inventory..sp_Inv_KitofItems 'P001'"));
    const db::Recordset bare = demo->query(QStringLiteral("Inventory..sp_Inv_KitofItems P001"));
    EXPECT_EQ(quoted.columns(), bare.columns());
    EXPECT_EQ(quoted.rows(), bare.rows());
}

TEST_F(EngineTest, ConversionFailuresAreErrors)
{
    EXPECT_THROW(
        m_db->execute(QStringLiteral("update inventory..tbTest set TransDate = '13/45/2026'")),
        db::DatabaseError);
    EXPECT_THROW(m_db->execute(QStringLiteral("update inventory..tbTest set Flag = 'maybe'")),
                 db::DatabaseError);
    EXPECT_THROW(m_db->query(QStringLiteral("select 1 / 0")), db::DatabaseError);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest where Flag = 1")), 2);
}

TEST_F(EngineTest, TransactionsRollBackAndNestAsOnTheServer)
{
    m_db->beginTransaction();
    m_db->beginTransaction(); // counted, as the server counts it
    m_db->execute(QStringLiteral("Delete INVENTORY..tbTest"));
    m_db->rollbackTransaction(); // at any depth, undoes the whole
    EXPECT_FALSE(m_db->inTransaction());
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 4);
    {
        db::Transaction t = m_db->begin();
        m_db->execute(QStringLiteral("Delete INVENTORY..tbTest where DocNo = '1001'"));
        t.commit();
    }
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest")), 3);
}

} // namespace

namespace {

TEST_F(EngineTest, BatchVariablesKeepTheirTypes)
{
    db::Recordset rs = m_db->query(
        QStringLiteral("DECLARE @d datetime = '11/30/2026', @n int\n"
                       "SET @n = (SELECT count(*) FROM inventory..tbTest WHERE TransDate > @d)\n"
                       "SELECT @n AS N, @d + 1 AS Next, @d AS D"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(0), QVariant(qlonglong(2)));
    EXPECT_EQ(rs.value(1).toDateTime(), QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
}

TEST_F(EngineTest, InsertSelectConvertsAndJoinedDeleteRemovesMatchedRows)
{
    m_db->execute(QStringLiteral(
        "insert inventory..tbTest (DocNo, Name, TransDate, Flag) select 'S-' + LocationID, "
        "Location, '12/' + LocationID + '/2026', 'True' from inventory..tbTestLoc"));
    db::Recordset rs = m_db->query(QStringLiteral(
        "select TransDate, Flag from inventory..tbTest where DocNo like 'S-%' order by DocNo"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(0).toDateTime(), QDateTime(QDate(2026, 12, 21), QTime(0, 0)));
    EXPECT_EQ(rs.value(1), QVariant(true));
    m_db->execute(
        QStringLiteral("delete t from inventory..tbTest t inner join inventory..tbTestLoc l "
                       "on t.DocNo = 'S-' + l.LocationID where l.OnHand is null"));
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest where DocNo like 's-%'")), 1);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest a full outer join "
                                   "inventory..tbTestLoc b on a.DocNo = b.LocationID")),
              7);
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTest a right join "
                                   "inventory..tbTestLoc b on a.DocNo = 'S-' + b.LocationID")),
              2);
}

} // namespace
