#include "EngineFixture.h"

#include "platform/db/SqlShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class ShellTest : public EngineTest
{
protected:
    int run(const QString &input)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return db::runShell(m_db->engine(), input, out, err);
    }
    int locations() { return count(QStringLiteral("select * from inventory..tbTestLoc")); }

    QString m_out;
    QString m_err;
};

// A statement may run over several lines: the WHERE on the next line belongs to the DELETE.
TEST_F(ShellTest, StatementRunsAcrossLines)
{
    EXPECT_EQ(run(QStringLiteral("delete from inventory..tbTestLoc\n   where LocationID = '21'\n")),
              0)
        << m_err.toStdString();
    EXPECT_EQ(locations(), 1);
    EXPECT_EQ(run(QStringLiteral("select LocationID,\n  Location\nfrom inventory..tbTestLoc\n")),
              0);
    EXPECT_EQ(m_out, QStringLiteral("LocationID\tLocation\n22\tPharmacy\n"));
}

// A failing batch reports the input line of the fault and leaves the database as it was;
// the batches around it run.
TEST_F(ShellTest, FailingBatchChangesNothing)
{
    const QString input = QStringLiteral(
        "insert into inventory..tbTestLoc (LocationID, Location) values ('23', 'Ward 23')\n"
        "GO\n"
        "delete from inventory..tbTestLoc where LocationID = '21'\n"
        "update inventory..tbTestLoc\n"
        "   set Nosuch = 1\n"
        "go -- the second batch ends here\r\n"
        "select count(*) as N from inventory..tbTestLoc\n");
    EXPECT_EQ(run(input), 1);
    EXPECT_TRUE(m_err.contains(QLatin1String("error at line 4"))) << m_err.toStdString();
    EXPECT_TRUE(m_err.contains(QLatin1String("Invalid column name 'Nosuch'")))
        << m_err.toStdString();
    EXPECT_EQ(m_out, QStringLiteral("N\n3\n"));
    EXPECT_EQ(count(QStringLiteral("select * from inventory..tbTestLoc where LocationID = '21'")),
              1);
    // A fault found while running (not while reading) also undoes the batch's earlier statements.
    EXPECT_EQ(run(QStringLiteral("delete from inventory..tbTestLoc where LocationID = '21'\n"
                                 "select (select LocationID from inventory..tbTestLoc)\n")),
              1);
    EXPECT_EQ(locations(), 3);
    EXPECT_FALSE(m_db->engine().inTransaction());
}

// A batch that keeps its own transaction is left to it; PRINT and informational RAISERROR go
// to the message stream.
TEST_F(ShellTest, OwnTransactionAndMessages)
{
    EXPECT_EQ(run(QStringLiteral("begin tran\n"
                                 "delete from inventory..tbTestLoc where LocationID = '22'\n"
                                 "print 'deleted'\n"
                                 "commit\n"
                                 "go\n"
                                 "raiserror('%d left', 10, 1, 1)\n")),
              0)
        << m_err.toStdString();
    EXPECT_EQ(locations(), 1);
    EXPECT_EQ(m_err, QStringLiteral("deleted\n1 left\n"));
    EXPECT_TRUE(db::shellBatches(QStringLiteral("\n\ngo\nGO\n  \n")).isEmpty());
    const auto batches = db::shellBatches(QStringLiteral("select 1\ngo\n\nselect 2\n"));
    ASSERT_EQ(batches.size(), 2);
    EXPECT_EQ(batches[1].firstLine, 3);
}

// The installed command: a multi-line statement, then a failing batch, through standard input.
TEST(ShellProgramTest, ReadsBatchesFromStandardInput)
{
    const QString shell = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("../src/stockrequest-sql"));
    if (!QFile::exists(shell))
        GTEST_SKIP() << "stockrequest-sql is not built";
    QTemporaryDir dir;
    QProcess p;
    p.start(shell, {dir.filePath(QStringLiteral("db"))});
    ASSERT_TRUE(p.waitForStarted());
    p.write("delete from INVENTORY..tbInvLocation\n"
            "where 1 = 0\n"
            "select count(*) as N\n"
            "from INVENTORY..tbInvLocation where LocationID = 'NOSUCH'\n"
            "go\n"
            "delete from INVENTORY..tbInvLocation\n"
            "select 1/0\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(180000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("N\n0\n"));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QLatin1String("line 7"))) << err.toStdString();

    QProcess check;
    check.start(shell, {dir.filePath(QStringLiteral("db"))});
    ASSERT_TRUE(check.waitForStarted());
    check.write("select case when count(*) > 0 then 'kept' else 'lost' end as Rows from "
                "INVENTORY..tbInvLocation\n");
    check.closeWriteChannel();
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(check.readAllStandardOutput()), QStringLiteral("Rows\nkept\n"));
}

} // namespace
