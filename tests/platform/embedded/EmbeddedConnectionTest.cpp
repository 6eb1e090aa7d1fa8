#include "platform/db/EmbeddedConnection.h"
#include "platform/db/DatabaseError.h"
#include "platform/tsql/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EmbeddedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db = db::EmbeddedConnection::openInMemory();
        m_db->runScript(QStringLiteral(
            "CREATE TABLE INVENTORY..tbCache (DocNo varchar(20), Qty int, TransDate datetime)\nGO\n"
            "INSERT INTO INVENTORY..tbCache VALUES ('1', 1, '11/01/2026'), ('2', 2, "
            "'12/01/2026'), ('3', 3, '12/08/2026 10:15:00 AM')\n"));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<db::EmbeddedConnection> m_db;
};

TEST_F(EmbeddedTest, RepeatedShapeIsNotParsedAgain)
{
    const tsql::Engine &engine = m_db->engine();
    db::Recordset rs
        = m_db->query(QStringLiteral("select Qty from INVENTORY..tbCache where DocNo = '1'"));
    EXPECT_EQ(rs.value(0), QVariant(qlonglong(1)));
    const int parses = engine.parseCount();
    for (int i = 1; i <= 3; ++i) {
        rs = m_db->query(
            QStringLiteral("select Qty from INVENTORY..tbCache where DocNo = '%1'").arg(i));
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.value(0), QVariant(qlonglong(i)));
    }
    // A date literal converted for the column at binding, not baked into the translation.
    EXPECT_EQ(m_db->query(QStringLiteral(
                              "select * from INVENTORY..tbCache where TransDate >= '12/01/2026'"))
                  .recordCount(),
              2);
    const int afterDates = engine.parseCount();
    EXPECT_EQ(m_db->query(QStringLiteral(
                              "select * from INVENTORY..tbCache where TransDate >= '2026-11-01'"))
                  .recordCount(),
              3);
    EXPECT_EQ(engine.parseCount(), afterDates);
    EXPECT_EQ(afterDates, parses + 1);
}

TEST_F(EmbeddedTest, LiteralsThatShapeTheTranslationAreKeptApart)
{
    EXPECT_EQ(m_db->query(QStringLiteral("select top 1 DocNo from INVENTORY..tbCache order by 1"))
                  .recordCount(),
              1);
    EXPECT_EQ(m_db->query(QStringLiteral("select top 2 DocNo from INVENTORY..tbCache order by 1"))
                  .recordCount(),
              2);
    const QString a = m_db->query(QStringLiteral("select convert(varchar(10), TransDate, 101) from "
                                                 "INVENTORY..tbCache where DocNo = '3'"))
                          .text(0);
    const QString b = m_db->query(QStringLiteral("select convert(varchar(10), TransDate, 103) from "
                                                 "INVENTORY..tbCache where DocNo = '3'"))
                          .text(0);
    EXPECT_EQ(a, QStringLiteral("12/08/2026"));
    EXPECT_EQ(b, QStringLiteral("08/12/2026"));
    EXPECT_EQ(
        m_db->query(QStringLiteral("select DocNo, Qty from INVENTORY..tbCache order by 2 desc"))
            .text(0),
        QStringLiteral("3"));
    EXPECT_EQ(
        m_db->query(QStringLiteral("select DocNo, Qty from INVENTORY..tbCache order by 1 desc"))
            .text(0),
        QStringLiteral("3"));
    EXPECT_EQ(
        m_db->query(QStringLiteral("select Qty, DocNo from INVENTORY..tbCache order by 2")).text(0),
        QStringLiteral("1"));
}

TEST_F(EmbeddedTest, CachedShapesFollowUseAndTypeLengths)
{
    const QString sql = QStringLiteral("select cast(DocNo + 'abcdef' as varchar(%1)) from tbCache "
                                       "where Qty = 3");
    EXPECT_EQ(m_db->query(sql.arg(3)).text(0), QStringLiteral("3ab"));
    EXPECT_EQ(m_db->query(sql.arg(5)).text(0), QStringLiteral("3abcd"));
    EXPECT_EQ(m_db->query(sql.arg(3)).text(0), QStringLiteral("3ab"));
    EXPECT_EQ(m_db->query(QStringLiteral("select 1 as 'One', 'Two' = 2")).columns(),
              QStringList({"One", "Two"}));
    EXPECT_EQ(m_db->query(QStringLiteral("select 1 as 'Uno', 'Dos' = 2")).columns(),
              QStringList({"Uno", "Dos"}));
    // The same text in another current database names another table.
    m_db->execute(QStringLiteral("USE Build_File"));
    EXPECT_THROW(m_db->query(sql.arg(3)), db::DatabaseError);
    m_db->execute(QStringLiteral("use inventory"));
    EXPECT_EQ(m_db->query(sql.arg(3)).text(0), QStringLiteral("3ab"));
    // Literals in comments and brackets are not values.
    EXPECT_EQ(
        m_db->query(QStringLiteral("select [Qty] /* 'x' */ from [INVENTORY].[dbo].[tbCache] -- '\n"
                                   "where DocNo = N'2'"))
            .value(0),
        QVariant(qlonglong(2)));
}

TEST_F(EmbeddedTest, ObserverSeesTheTextAndErrorsCarryIt)
{
    QStringList seen;
    m_db->setObserver([&seen](const QString &sql) { seen << sql; });
    const QString bad = QStringLiteral("select nosuch from INVENTORY..tbCache");
    try {
        m_db->query(bad);
        FAIL();
    } catch (const db::DatabaseError &e) {
        EXPECT_EQ(e.statement(), bad);
    }
    EXPECT_EQ(seen, QStringList {bad});
    EXPECT_EQ(m_db->serverName(), QStringLiteral("(embedded, in memory)"));
}

TEST_F(EmbeddedTest, InMemoryCopiesArePrivate)
{
    auto other = db::EmbeddedConnection::openInMemory();
    m_db->execute(QStringLiteral("delete INVENTORY..tbInvLocation"));
    EXPECT_EQ(m_db->query(QStringLiteral("select * from INVENTORY..tbInvLocation")).recordCount(),
              0);
    EXPECT_GT(other->query(QStringLiteral("select * from INVENTORY..tbInvLocation")).recordCount(),
              0);
    EXPECT_THROW(other->query(QStringLiteral("select * from INVENTORY..tbCache")),
                 db::DatabaseError);
}

TEST_F(EmbeddedTest, TwoConnectionsOnOneFolderBothReadAndWrite)
{
    const QString folder = m_dir.filePath(QStringLiteral("db"));
    auto first = db::EmbeddedConnection::open(folder);
    auto second = db::EmbeddedConnection::open(folder);
    EXPECT_EQ(first->serverName(), QStringLiteral("(embedded) ") + folder);
    for (const char *name : {"INVENTORY", "Build_File", "Password", "patient_data"})
        EXPECT_TRUE(QFile::exists(
            QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".db"))));
    const int locations
        = first->query(QStringLiteral("select * from inventory..tbInvLocation")).recordCount();
    ASSERT_GT(locations, 0);
    first->execute(QStringLiteral(
        "insert into inventory..tbInvLocation (LocationID, Location) values ('T1', 'First')"));
    EXPECT_EQ(second
                  ->query(QStringLiteral(
                      "select Location from inventory..tbInvLocation where LocationID = 't1'"))
                  .text(0),
              QStringLiteral("First"));
    {
        db::Transaction t = second->begin();
        second->execute(QStringLiteral(
            "update inventory..tbInvLocation set Location = 'Second' where LocationID = 'T1'"));
        t.commit();
    }
    EXPECT_EQ(first
                  ->query(QStringLiteral(
                      "select Location from inventory..tbInvLocation where LocationID = 'T1'"))
                  .text(0),
              QStringLiteral("Second"));
}

TEST_F(EmbeddedTest, ReopenedFolderKeepsTablesAndProcedures)
{
    const QString folder = m_dir.filePath(QStringLiteral("reopen"));
    {
        auto conn
            = db::EmbeddedConnection::open(folder, db::EmbeddedConnection::Content::SchemaOnly);
        conn->runScript(QStringLiteral(
            "CREATE TABLE Password..tbKeep (K varchar(5) PRIMARY KEY, D datetime, B bit)\nGO\n"
            "CREATE PROCEDURE dbo.sp_Keep @K varchar(5) AS SELECT * FROM Password..tbKeep WHERE K "
            "= @K\nGO\n"
            "INSERT Password..tbKeep VALUES ('a', '12/08/2026', 'True')\n"));
    }
    auto conn = db::EmbeddedConnection::open(folder);
    db::Recordset rs = conn->query(QStringLiteral("inventory..sp_Keep 'A'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("D")).toDateTime(),
              QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    EXPECT_EQ(rs.field(QStringLiteral("B")), QVariant(true));
    // Created from the schema only: no demo rows.
    EXPECT_EQ(conn->query(QStringLiteral("select * from inventory..tbInvLocation")).recordCount(),
              0);
}

TEST_F(EmbeddedTest, FolderWithEmptyDatabaseFilesIsBuilt)
{
    // What an interrupted first start leaves behind: files without objects.
    const QString folder = m_dir.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(QDir(folder).filePath(QStringLiteral("INVENTORY.db")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto conn = db::EmbeddedConnection::open(folder);
    EXPECT_GT(conn->query(QStringLiteral("select * from inventory..tbInvLocation")).recordCount(),
              0);
}

TEST_F(EmbeddedTest, ShellPrintsHeaderAndRows)
{
    const QString shell = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("../src/stockrequest-sql"));
    if (!QFile::exists(shell))
        GTEST_SKIP() << "stockrequest-sql is not built";
    QProcess p;
    p.start(shell, {m_dir.filePath(QStringLiteral("shell"))});
    ASSERT_TRUE(p.waitForStarted());
    p.write("Select top 3 Location from INVENTORY..tbInvLocation order by Location\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList lines
        = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Location"));

    QProcess bad;
    bad.start(shell, {m_dir.filePath(QStringLiteral("shell"))});
    ASSERT_TRUE(bad.waitForStarted());
    bad.write("select 1 as a, 'x' as b\ngo\nselect nosuch\ngo\n");
    bad.closeWriteChannel();
    ASSERT_TRUE(bad.waitForFinished(60000));
    EXPECT_NE(bad.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(bad.readAllStandardOutput()), QStringLiteral("a\tb\n1\tx\n"));
    EXPECT_FALSE(bad.readAllStandardError().isEmpty());
}

} // namespace
