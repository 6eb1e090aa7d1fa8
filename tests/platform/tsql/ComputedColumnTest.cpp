// Computed columns and indexes on them: the value follows the row, inserts and updates leave
// it alone, a query of the same expression finds the same rows with or without the index, and
// the definition survives reopening the database.
#include "EngineFixture.h"

#include <QTemporaryDir>

namespace {

const char *const kNumbered = R"(
CREATE TABLE INVENTORY..tbNumbered (
    ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Doc varchar(20) NOT NULL,
    Note varchar(20) NULL,
    DocValue AS (CASE WHEN ISNUMERIC(Doc) = 1 THEN CAST(Doc AS float) END) PERSISTED,
    Label AS (Note + '-' + Doc)
)
GO
CREATE INDEX ix_tbNumbered_Value ON INVENTORY..tbNumbered (DocValue)
GO
CREATE INDEX ix_tbNumbered_Label ON INVENTORY..tbNumbered (Label)
GO
)";

class ComputedColumnTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_db->runScript(QString::fromUtf8(kNumbered));
    }

    QString next(db::Connection &connection)
    {
        db::Recordset rs = connection.query(
            QStringLiteral("SELECT (max(CAST(Doc AS float)) + 1) AS N FROM INVENTORY..tbNumbered "
                           "WHERE isnumeric(Doc) = 1"));
        return rs.text(QStringLiteral("N"));
    }
};

TEST_F(ComputedColumnTest, ValueFollowsTheRowAndTheDrawReadsIt)
{
    EXPECT_EQ(next(*m_db), QString()); // no numeric number yet
    m_db->execute(QStringLiteral("INSERT INTO INVENTORY..tbNumbered (Doc, Note) VALUES ('17', "
                                 "'a'), ('A-9', 'b'), ('120', NULL), ('9', 'c')"));
    EXPECT_EQ(next(*m_db), QStringLiteral("121"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DocValue FROM INVENTORY..tbNumbered WHERE Doc = "
                                    "'A-9'")),
              QVariant());
    EXPECT_EQ(scalar(QStringLiteral("SELECT Label FROM INVENTORY..tbNumbered WHERE Doc = '17'"))
                  .toString(),
              QStringLiteral("a-17"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM INVENTORY..tbNumbered WHERE DocValue > 10")), 2);

    // Changed, deleted and re-inserted rows move in the index with their values.
    m_db->execute(QStringLiteral("UPDATE INVENTORY..tbNumbered SET Doc = '1200' WHERE Doc = '9'"));
    EXPECT_EQ(next(*m_db), QStringLiteral("1201"));
    m_db->execute(QStringLiteral("DELETE INVENTORY..tbNumbered WHERE Doc = '1200'"));
    EXPECT_EQ(next(*m_db), QStringLiteral("121"));
    m_db->execute(QStringLiteral("UPDATE INVENTORY..tbNumbered SET Doc = 'X' + Doc"));
    EXPECT_EQ(next(*m_db), QString());
}

TEST_F(ComputedColumnTest, InsertsWithoutColumnsSkipItAndWritesToItAreRefused)
{
    m_db->execute(QStringLiteral("INSERT INTO INVENTORY..tbNumbered VALUES ('5', 'n')"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT DocValue FROM INVENTORY..tbNumbered")).toDouble(), 5);
    for (const char *write : {"INSERT INTO INVENTORY..tbNumbered (Doc, DocValue) VALUES ('6', 7)",
                              "UPDATE INVENTORY..tbNumbered SET DocValue = 8"})
        EXPECT_THROW(m_db->execute(QLatin1String(write)), db::DatabaseError) << write;
    EXPECT_EQ(next(*m_db), QStringLiteral("6"));
}

// The request tables carry the same column, so that both draw from an index.
TEST_F(ComputedColumnTest, RequestTablesDrawFromTheirNumbers)
{
    for (const char *table :
         {"INVENTORY..tbInvWithdrawRequest", "INVENTORY..tbInvWithdrawRequestConsolidation"}) {
        m_db->execute(QStringLiteral("INSERT INTO %1 (DocumentNumber, ItemID) VALUES ('41', "
                                     "'1001'), ('B-7', '1001'), ('300', '1012')")
                          .arg(QLatin1String(table)));
        EXPECT_EQ(
            scalar(
                QStringLiteral("SELECT max(DocumentNumberValue) FROM %1").arg(QLatin1String(table)))
                .toDouble(),
            300)
            << table;
        EXPECT_EQ(scalar(QStringLiteral("SELECT max(CAST(DocumentNumber AS float)) FROM %1 WHERE "
                                        "isnumeric(DocumentNumber) = 1")
                             .arg(QLatin1String(table)))
                      .toDouble(),
                  300)
            << table;
    }
}

TEST(ComputedColumnFolder, DefinitionSurvivesReopening)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        auto connection
            = db::EmbeddedConnection::open(dir.path(), db::EmbeddedConnection::Content::SchemaOnly);
        connection->runScript(QString::fromUtf8(kNumbered));
        connection->execute(
            QStringLiteral("INSERT INTO INVENTORY..tbNumbered (Doc) VALUES ('3'), ('Z')"));
    }
    auto connection = db::EmbeddedConnection::open(dir.path());
    connection->execute(QStringLiteral("INSERT INTO INVENTORY..tbNumbered VALUES ('44', 'q')"));
    db::Recordset rs = connection->query(
        QStringLiteral("SELECT Doc, DocValue, Label FROM INVENTORY..tbNumbered ORDER BY ID"));
    QStringList rows;
    for (; !rs.eof(); rs.moveNext())
        rows << rs.text(0) + QLatin1Char('|') + rs.text(1) + QLatin1Char('|') + rs.text(2);
    EXPECT_EQ(rows,
              (QStringList {QStringLiteral("3|3|"), QStringLiteral("Z||"),
                            QStringLiteral("44|44|q-44")}));
}

} // namespace
