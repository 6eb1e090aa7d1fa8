#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

struct RefusalCase
{
    const char *sql;
    const char *message; // the start of the server's message; empty when the server runs it
};

std::ostream &operator<<(std::ostream &os, const RefusalCase &c)
{
    return os << c.sql;
}

// Statements the server refuses are refused here with its message, and their neighbours that it
// runs still run: a column outside both the GROUP BY list and an aggregate, DISTINCT ordered by
// a column it does not select, a subquery used as a value that gives several rows.
class RefusalTest : public EngineTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(RefusalTest, RefusesWhatTheServerRefuses)
{
    const QString sql = QString::fromUtf8(GetParam().sql);
    const QString expected = QString::fromUtf8(GetParam().message);
    try {
        m_db->query(sql);
        EXPECT_TRUE(expected.isEmpty()) << GetParam().sql << " ran";
    } catch (const db::DatabaseError &e) {
        EXPECT_FALSE(expected.isEmpty()) << GetParam().sql << ": " << e.message().toStdString();
        if (!expected.isEmpty())
            EXPECT_TRUE(e.message().startsWith(expected))
                << GetParam().sql << ": " << e.message().toStdString();
    }
}

constexpr auto kNotGrouped = "Column 'tbTest.Name' is invalid in the select list because it is "
                             "not contained in either an aggregate function or the GROUP BY "
                             "clause.";
constexpr auto kNotDistinct
    = "ORDER BY items must appear in the select list if SELECT DISTINCT is specified.";
constexpr auto kSeveralRows = "Subquery returned more than 1 value. This is not permitted when "
                              "the subquery follows =, !=, <, <= , >, >= or when the subquery is "
                              "used as an expression.";

INSTANTIATE_TEST_SUITE_P(
    Grouping, RefusalTest,
    ::testing::Values(
        RefusalCase {"select Name, count(*) from inventory..tbTest group by DocNo", kNotGrouped},
        RefusalCase {"select Name, count(*) from inventory..tbTest", kNotGrouped},
        RefusalCase {"select Name from inventory..tbTest having count(*) > 1", kNotGrouped},
        RefusalCase {"select upper(Name) + DocNo from inventory..tbTest group by upper(Name)",
                     "Column 'tbTest.DocNo' is invalid in the select list"},
        RefusalCase {"select t.DocNo from inventory..tbTest t group by t.DocNo having t.Qty > 1",
                     "Column 't.Qty' is invalid in the HAVING clause"},
        RefusalCase {"select DocNo from inventory..tbTest group by DocNo order by Name",
                     "Column \"tbTest.Name\" is invalid in the ORDER BY clause"},
        RefusalCase {"select DocNo, (select count(*) from inventory..tbTestLoc l where "
                     "l.LocationID = t.Name) from inventory..tbTest t group by DocNo",
                     "Column 't.Name' is invalid in the select list"},
        RefusalCase {"select upper(Name), count(*) from inventory..tbTest group by upper(Name)",
                     ""},
        RefusalCase {"select a.DocNo, max(a.Qty) from inventory..tbTest a group by DocNo", ""},
        RefusalCase {"select DocNo + '-' + cast(count(*) as varchar(5)) from inventory..tbTest "
                     "group by DocNo order by DocNo",
                     ""},
        RefusalCase {"select Name from inventory..tbTest group by Name order by count(*) desc", ""},
        RefusalCase {"select t.DocNo, (select count(*) from inventory..tbTestLoc l where "
                     "l.LocationID = t.DocNo) from inventory..tbTest t group by t.DocNo",
                     ""},
        RefusalCase {"select count(*), sum(Qty), 'x', getdate() from inventory..tbTest", ""},
        RefusalCase {"select 1 from inventory..tbTest group by DocNo having max(Name) > 'a'", ""},
        RefusalCase {"select isnull(Name, '') + '' from inventory..tbTest group by isnull(Name, "
                     "'') + ''",
                     ""}));

INSTANTIATE_TEST_SUITE_P(
    DistinctOrder, RefusalTest,
    ::testing::Values(
        RefusalCase {"select distinct Name from inventory..tbTest order by DocNo", kNotDistinct},
        RefusalCase {"select distinct Name from inventory..tbTest order by "
                     "upper(Name)",
                     kNotDistinct},
        RefusalCase {"select distinct Name from inventory..tbTest order by Name", ""},
        RefusalCase {"select distinct t.Name from inventory..tbTest t order by "
                     "t.name desc",
                     ""},
        RefusalCase {"select distinct Name as N from inventory..tbTest order by N", ""},
        RefusalCase {"select distinct upper(Name) from inventory..tbTest order by "
                     "upper(Name)",
                     ""},
        RefusalCase {"select distinct Name from inventory..tbTest order by 1", ""},
        RefusalCase {"select Name from inventory..tbTest order by DocNo", ""}));

INSTANTIATE_TEST_SUITE_P(
    SubqueryRows, RefusalTest,
    ::testing::Values(
        RefusalCase {"select (select Name from inventory..tbTest where Name like 'a%')",
                     kSeveralRows},
        RefusalCase {"select * from inventory..tbTestLoc where LocationID = (select DocNo from "
                     "inventory..tbTest)",
                     kSeveralRows},
        RefusalCase {"select DocNo, (select Location from inventory..tbTestLoc) from "
                     "inventory..tbTest",
                     kSeveralRows},
        RefusalCase {"declare @n varchar(50) set @n = (select Name from inventory..tbTest) "
                     "select @n",
                     kSeveralRows},
        RefusalCase {"select (select top 1 Name from inventory..tbTest order by DocNo)", ""},
        RefusalCase {"select (select max(Name) from inventory..tbTest)", ""},
        RefusalCase {"select (select Name from inventory..tbTest where DocNo = '1001')", ""},
        RefusalCase {"select (select Name from inventory..tbTest where DocNo = 'none')", ""},
        RefusalCase {"select DocNo, (select Location from inventory..tbTestLoc l where "
                     "l.LocationID = '21') from inventory..tbTest",
                     ""},
        RefusalCase {"select * from inventory..tbTestLoc where LocationID in (select DocNo from "
                     "inventory..tbTest)",
                     ""}));

// A subquery that gives several rows stops the whole update: no row is half-written.
TEST_F(EngineTest, UpdateFromSeveralRowsChangesNothing)
{
    try {
        m_db->execute(QStringLiteral("update inventory..tbTestLoc set Location = (select Name "
                                     "from inventory..tbTest where Name like 'a%')"));
        FAIL() << "the update ran";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(kSeveralRows)))
            << e.message().toStdString();
    }
    EXPECT_EQ(scalar(QStringLiteral("select Location from inventory..tbTestLoc where LocationID "
                                    "= '21'")),
              QVariant(QStringLiteral("Ward 21")));
    // One row per target row is fine.
    m_db->execute(QStringLiteral(
        "update l set Location = (select t.Name from inventory..tbTest t where t.DocNo = "
        "'1002') from inventory..tbTestLoc l where l.LocationID = '22'"));
    EXPECT_EQ(scalar(QStringLiteral("select Location from inventory..tbTestLoc where LocationID "
                                    "= '22'")),
              QVariant(QStringLiteral("aspirin")));
    // The same statement again with a value that gives several rows: refused, nothing changed.
    EXPECT_THROW(m_db->execute(QStringLiteral(
                     "update l set Location = (select t.Name from inventory..tbTest t where "
                     "t.Name = 'aspirin') from inventory..tbTestLoc l where l.LocationID = '21'")),
                 db::DatabaseError);
    EXPECT_EQ(scalar(QStringLiteral("select Location from inventory..tbTestLoc where LocationID "
                                    "= '21'")),
              QVariant(QStringLiteral("Ward 21")));
}

} // namespace
