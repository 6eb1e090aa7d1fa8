#include "EngineFixture.h"

#include "platform/db/DatabaseError.h"

namespace {

struct RowsCase
{
    const char *sql;
    QStringList expected; // the first column of each row, in order (sorted when unordered)
    bool ordered;
};

std::ostream &operator<<(std::ostream &os, const RowsCase &c)
{
    return os << c.sql;
}

// Text compares without regard to letter case or trailing blanks wherever the server compares
// it: de-duplication, grouping, sorting and MIN/MAX, over columns and over expressions alike.
class TextRulesTest : public EngineTest, public ::testing::WithParamInterface<RowsCase>
{
};

TEST_P(TextRulesTest, GivesTheServersRows)
{
    QStringList rows;
    for (db::Recordset rs = m_db->query(QString::fromUtf8(GetParam().sql)); !rs.eof();
         rs.moveNext())
        rows << rs.text(0).toLower().trimmed();
    if (!GetParam().ordered)
        rows.sort();
    EXPECT_EQ(rows, GetParam().expected) << GetParam().sql;
}

const QStringList kNames
    = {QStringLiteral("aspirin"), QStringLiteral("gauze"), QStringLiteral("paracetamol")};

INSTANTIATE_TEST_SUITE_P(
    Semantics, TextRulesTest,
    ::testing::Values(
        RowsCase {"select distinct Name from inventory..tbTest", kNames, false},
        RowsCase {"select distinct isnull(Name, '') + '' from inventory..tbTest", kNames, false},
        RowsCase {"select distinct upper(left(Name, 3)) + lower(substring(Name, 4, 20)) from "
                  "inventory..tbTest",
                  kNames, false},
        RowsCase {"select Name + '' from inventory..tbTest union select 'GAUZE  '", kNames, false},
        RowsCase {"select Name from inventory..tbTest where DocNo = '1002' union select "
                  "'ASPIRIN ' + ''",
                  {QStringLiteral("aspirin")},
                  false},
        RowsCase {"select isnull(Name, 'x') as n from inventory..tbTest group by isnull(Name, 'x')",
                  kNames, false},
        RowsCase {"select n from (select Name + '' as n from inventory..tbTest) t group by n",
                  kNames, false},
        RowsCase {"select Name from inventory..tbTest order by Name + '' desc, DocNo",
                  {QStringLiteral("paracetamol"), QStringLiteral("gauze"),
                   QStringLiteral("aspirin"), QStringLiteral("aspirin")},
                  true},
        RowsCase {"select Name + '' as n from inventory..tbTest order by n",
                  {QStringLiteral("aspirin"), QStringLiteral("aspirin"), QStringLiteral("gauze"),
                   QStringLiteral("paracetamol")},
                  true},
        RowsCase {
            "select max(Name + '') from inventory..tbTest", {QStringLiteral("paracetamol")}, true},
        RowsCase {"select min(x) from (select 'b' as x union all select 'C' union all select "
                  "'a' + '') t",
                  {QStringLiteral("a")},
                  true},
        RowsCase {
            "select count(distinct Name + '') from inventory..tbTest", {QStringLiteral("3")}, true},
        RowsCase {"select count(*) from inventory..tbTest where Name + '' in ('ASPIRIN  ')",
                  {QStringLiteral("2")},
                  true},
        // A LIKE with a fixed beginning finds the same rows through the column's index.
        RowsCase {"select count(*) from inventory..tbTest where Name like 'PARACETAMOL'",
                  {QStringLiteral("1")},
                  true},
        RowsCase {"select count(*) from inventory..tbTest where Name like 'asPIR%%'",
                  {QStringLiteral("2")},
                  true},
        RowsCase {"select count(*) from inventory..tbTest where Name like 'G_uze' or Name like "
                  "'z%'",
                  {QStringLiteral("1")},
                  true},
        RowsCase {"select DocNo from inventory..tbTest where DocNo like '100%' order by DocNo desc",
                  {QStringLiteral("1003"), QStringLiteral("1002"), QStringLiteral("1001")},
                  true},
        RowsCase {"select count(*) from inventory..tbTest where DocNo like 'x-1' and Name like "
                  "'gauze%'",
                  {QStringLiteral("1")},
                  true},
        // The shorter text counts as padded with blanks: a tab sorts below the padding blank.
        RowsCase {"select case when 'a' > 'a' + char(9) then 'greater' else 'not' end",
                  {QStringLiteral("greater")},
                  true}));

// char(n) keeps its blanks: stored, converted and declared values are padded to n.
TEST_F(EngineTest, CharIsPaddedWithBlanks)
{
    m_db->runScript(QStringLiteral("CREATE TABLE INVENTORY..tbTestChar (Code char(5) NULL, "
                                   "Tag nchar(3) NULL, Note varchar(5) NULL)"));
    m_db->execute(QStringLiteral(
        "insert into inventory..tbTestChar (Code, Tag, Note) values ('ab', 'x', 'ab')"));
    m_db->execute(QStringLiteral(
        "insert into inventory..tbTestChar (Code, Tag, Note) select 'c', DocNo, 'c' from "
        "inventory..tbTest where DocNo = 'X-1'"));
    EXPECT_EQ(scalar(QStringLiteral("select Code + '|' + Tag + '|' + Note + '|' from "
                                    "inventory..tbTestChar where Code = 'ab'")),
              QVariant(QStringLiteral("ab   |x  |ab|")));
    EXPECT_EQ(scalar(QStringLiteral("select Code + '|' + Tag from inventory..tbTestChar where "
                                    "Note = 'c'")),
              QVariant(QStringLiteral("c    |X-1")));
    m_db->execute(QStringLiteral("update inventory..tbTestChar set Code = 'z' where Code = 'ab'"));
    EXPECT_EQ(scalar(QStringLiteral("select Code + '|' from inventory..tbTestChar where Code = "
                                    "'Z'")),
              QVariant(QStringLiteral("z    |")));
    EXPECT_EQ(scalar(QStringLiteral("select len(Code) from inventory..tbTestChar where Code = "
                                    "'z'")),
              QVariant(qlonglong(1)));
    EXPECT_EQ(scalar(QStringLiteral("select cast('ab' as char(4)) + '|'")),
              QVariant(QStringLiteral("ab  |")));
    EXPECT_EQ(scalar(QStringLiteral("declare @c char(3) set @c = 'a' select @c + '|'")),
              QVariant(QStringLiteral("a  |")));
    // Too long for the column: refused, and the row keeps its value.
    EXPECT_THROW(m_db->execute(QStringLiteral(
                     "update inventory..tbTestChar set Code = 'abcdef' where Note = 'c'")),
                 db::DatabaseError);
    EXPECT_EQ(scalar(QStringLiteral("select Code from inventory..tbTestChar where Note = 'c'")),
              QVariant(QStringLiteral("c    ")));
}

// Keys that differ in letter case or trailing blanks join, whatever plan SQLite picks once
// further filters narrow either side.
TEST_F(EngineTest, JoinsOnTextNeverLoseRows)
{
    m_db->runScript(QStringLiteral(
        "CREATE TABLE INVENTORY..tbTestA (K varchar(20) NOT NULL, F int NOT NULL)\nGO\n"
        "CREATE TABLE INVENTORY..tbTestB (K varchar(20) NOT NULL, G int NOT NULL)\nGO\n"));
    QStringList a;
    QStringList b;
    for (int i = 0; i < 2000; ++i) {
        a << QStringLiteral("('K%1', %2)").arg(i).arg(i % 5);
        b << QStringLiteral("('%1', %2)")
                 .arg(i % 2 ? QStringLiteral("k%1  ").arg(i) : QStringLiteral("K%1").arg(i))
                 .arg(i % 7);
    }
    m_db->execute(QStringLiteral("insert into inventory..tbTestA (K, F) values ")
                  + a.join(QStringLiteral(", ")));
    m_db->execute(QStringLiteral("insert into inventory..tbTestB (K, G) values ")
                  + b.join(QStringLiteral(", ")));
    auto expected = [](auto keep) {
        int n = 0;
        for (int i = 0; i < 2000; ++i)
            n += keep(i) ? 1 : 0;
        return qlonglong(n);
    };
    const QString join = QStringLiteral("select count(*) from inventory..tbTestA a inner join "
                                        "inventory..tbTestB b on a.K = b.K ");
    EXPECT_EQ(scalar(join), QVariant(qlonglong(2000)));
    EXPECT_EQ(scalar(join + QStringLiteral("where a.F = 1")),
              QVariant(expected([](int i) { return i % 5 == 1; })));
    EXPECT_EQ(scalar(join + QStringLiteral("where a.F = 1 and b.G = 2")),
              QVariant(expected([](int i) { return i % 5 == 1 && i % 7 == 2; })));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from inventory..tbTestA a left join "
                                    "inventory..tbTestB b on b.K = a.K where a.F = 1 and b.G > 2")),
              QVariant(expected([](int i) { return i % 5 == 1 && i % 7 > 2; })));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from inventory..tbTestA a where a.F = 3 and "
                                    "a.K in (select K from inventory..tbTestB where G = 4)")),
              QVariant(expected([](int i) { return i % 5 == 3 && i % 7 == 4; })));
}

} // namespace
