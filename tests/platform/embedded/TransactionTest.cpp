// Transactions on both backends, and an embedded folder shared with other programs: a refused
// COMMIT leaves nothing open, nesting counts alike, a lock held elsewhere is waited for only on
// the database written, and a damaged or read-only folder says what it is.
#include "platform/db/EmbeddedConnection.h"
#include "platform/db/OdbcConnection.h"
#include "support/FaultyConnection.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

namespace {

using testing_support::FaultyConnection;

struct Backend
{
    const char *name;
    bool odbc;
};

class TransactionTest : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (GetParam().odbc) {
            const QString driver
                = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
            if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")) || !QFile::exists(driver))
                GTEST_SKIP() << "no ODBC driver for SQLite";
            m_connectionString = QStringLiteral("DRIVER={%1};Database=%2")
                                     .arg(driver, m_dir.filePath(QStringLiteral("odbc.db")));
            table = QStringLiteral("tbT");
        } else {
            table = QStringLiteral("INVENTORY..tbT");
        }
        auto real = connect();
        real->execute(QStringLiteral("CREATE TABLE %1 (ID int)").arg(table));
        faulty = std::make_unique<FaultyConnection>(std::move(real));
    }

    std::unique_ptr<db::Connection> connect()
    {
        if (GetParam().odbc)
            return db::OdbcConnection::open(m_connectionString);
        return db::EmbeddedConnection::open(m_dir.filePath(QStringLiteral("embedded")),
                                            db::EmbeddedConnection::Content::SchemaOnly);
    }

    void insert(db::Connection &c, int id)
    {
        c.execute(QStringLiteral("INSERT INTO %1 (ID) VALUES (%2)").arg(table).arg(id));
    }

    int count(db::Connection &c)
    {
        return c.query(QStringLiteral("SELECT COUNT(*) AS N FROM %1").arg(table))
            .field(QStringLiteral("N"))
            .toInt();
    }

    QTemporaryDir m_dir;
    QString m_connectionString;
    QString table;
    std::unique_ptr<FaultyConnection> faulty;
};

TEST_P(TransactionTest, RefusedCommitRollsBackAndTheNextSaveWorks)
{
    {
        db::Transaction t = faulty->begin();
        insert(*faulty, 1);
        faulty->arm(1); // the COMMIT is refused (a full disk)
        EXPECT_THROW(t.commit(), db::DatabaseError);
        EXPECT_FALSE(t.active());
    }
    EXPECT_TRUE(faulty->refused());
    EXPECT_FALSE(faulty->real().inTransaction());
    EXPECT_EQ(count(*faulty), 0);
    // Nothing holds a lock: another workstation writes at once, and this one saves again.
    auto other = connect();
    insert(*other, 2);
    faulty->arm(0);
    {
        db::Transaction t = faulty->begin();
        insert(*faulty, 3);
        t.commit();
    }
    EXPECT_EQ(count(*other), 2);
}

TEST_P(TransactionTest, NestedTransactionsCountAsOnBothBackends)
{
    db::Connection &c = *faulty;
    {
        db::Transaction outer = c.begin();
        {
            db::Transaction inner = c.begin();
            insert(c, 1);
            inner.commit(); // only counted
        }
        EXPECT_TRUE(c.inTransaction());
    } // the outer one is left without commit
    EXPECT_EQ(count(c), 0);
    EXPECT_FALSE(c.inTransaction());

    {
        db::Transaction outer = c.begin();
        insert(c, 2);
        db::Transaction inner = c.begin();
        inner.rollback(); // undoes the whole
        EXPECT_FALSE(c.inTransaction());
        EXPECT_THROW(outer.commit(), db::DatabaseError);
    }
    EXPECT_EQ(count(c), 0);

    {
        db::Transaction outer = c.begin();
        db::Transaction inner = c.begin();
        insert(c, 3);
        inner.commit();
        outer.commit();
    }
    EXPECT_EQ(count(c), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, TransactionTest,
                         ::testing::Values(Backend {"embedded", false}, Backend {"odbc", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// ----- an embedded folder shared with other programs ----------------------------------------

class SharedFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        folder = m_dir.filePath(QStringLiteral("shared"));
        db::EmbeddedConnection::open(folder, db::EmbeddedConnection::Content::SchemaOnly);
    }

    void TearDown() override
    {
        if (other)
            sqlite3_close(other);
        if (immutable)
            QProcess::execute(QStringLiteral("chattr"),
                              {QStringLiteral("-R"), QStringLiteral("-i"), folder});
    }

    // Another program takes the write lock of one database file and keeps it.
    void lockElsewhere(const char *file)
    {
        ASSERT_EQ(
            sqlite3_open(QDir(folder).filePath(QLatin1String(file)).toUtf8().constData(), &other),
            SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }

    // A request line saved as the main form saves one, in a transaction.
    void save(db::Connection &c, const QString &number)
    {
        db::Transaction t = c.begin();
        c.execute(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = %1")
                      .arg(db::quote(number)));
        c.execute(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID) "
                                 "Values (%1, '1001')")
                      .arg(db::quote(number)));
        t.commit();
    }

    QTemporaryDir m_dir;
    QString folder;
    sqlite3 *other = nullptr;
    bool immutable = false;
};

TEST_F(SharedFolderTest, LockOnAnotherDatabaseDoesNotStopASave)
{
    lockElsewhere("Password.db");
    auto c = db::EmbeddedConnection::open(folder);
    const auto start = std::chrono::steady_clock::now();
    save(*c, QStringLiteral("1"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // Reading the locked database goes on too.
    EXPECT_NO_THROW(c->query(QStringLiteral("select * from Password..tbPasswordMain")));
}

TEST_F(SharedFolderTest, SaveWaitsForALockThatIsLetGo)
{
    lockElsewhere("INVENTORY.db");
    auto c = db::EmbeddedConnection::open(folder);
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    EXPECT_NO_THROW(save(*c, QStringLiteral("2")));
    release.join();
    EXPECT_EQ(c->query(QStringLiteral("select * from INVENTORY..tbInvWithdrawRequest where "
                                      "DocumentNumber = '2'"))
                  .recordCount(),
              1);
}

TEST_F(SharedFolderTest, SaveRefusedByALockSaysTheDatabaseIsBusy)
{
    lockElsewhere("INVENTORY.db");
    auto c = db::EmbeddedConnection::open(folder);
    try {
        save(*c, QStringLiteral("3"));
        ADD_FAILURE() << "saved under another program's lock";
    } catch (const db::DatabaseError &error) {
        EXPECT_EQ(error.message(), db::EmbeddedConnection::busyMessage());
    }
    EXPECT_FALSE(c->inTransaction());
    // Once the other program is done, the same connection saves.
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    EXPECT_NO_THROW(save(*c, QStringLiteral("3")));
}

TEST_F(SharedFolderTest, FolderMissingADatabaseSaysWhichAtStartUp)
{
    for (const char *name : {"Password.db", "patient_data.db"}) {
        const QString path = QDir(folder).filePath(QLatin1String(name));
        const QString kept = path + QStringLiteral(".kept");
        ASSERT_TRUE(QFile::rename(path, kept));
        try {
            db::EmbeddedConnection::open(folder);
            ADD_FAILURE() << "opened without " << name;
        } catch (const db::DatabaseError &error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(name)))
                << error.message().toStdString();
            EXPECT_TRUE(error.message().contains(QStringLiteral("missing")));
        }
        QFile::remove(path);
        ASSERT_TRUE(QFile::rename(kept, path));
    }
    // Whole again: it opens, and its objects are all there.
    auto c = db::EmbeddedConnection::open(folder);
    EXPECT_NO_THROW(c->query(QStringLiteral("select * from Password..tbPasswordMain")));
}

TEST_F(SharedFolderTest, ReadOnlyFolderOpensForReading)
{
    {
        auto c = db::EmbeddedConnection::open(folder);
        save(*c, QStringLiteral("4"));
    }
    if (QProcess::execute(QStringLiteral("chattr"),
                          {QStringLiteral("-R"), QStringLiteral("+i"), folder})
        != 0)
        GTEST_SKIP() << "cannot make the folder read-only here";
    immutable = true;
    std::unique_ptr<db::EmbeddedConnection> c;
    ASSERT_NO_THROW(c = db::EmbeddedConnection::open(folder));
    EXPECT_EQ(c->query(QStringLiteral("select ItemID from INVENTORY..tbInvWithdrawRequest where "
                                      "DocumentNumber = '4'"))
                  .text(0),
              QStringLiteral("1001"));
    EXPECT_THROW(save(*c, QStringLiteral("5")), db::DatabaseError);
}

} // namespace
