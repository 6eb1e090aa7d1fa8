// The SQL Server connection, driven for real through unixODBC: the SQLite ODBC driver stands in
// for a server, and FreeTDS shows how an unreachable server fails.
#include "platform/db/OdbcConnection.h"
#include "platform/format/Format.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString OdbcLibraries = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/");

// The registered driver name, else the driver library itself; empty when neither is there.
QString odbcDriver(const QString &registeredName, const QString &library)
{
    QFile ini(QStringLiteral("/etc/odbcinst.ini"));
    if (ini.open(QIODevice::ReadOnly)
        && QString::fromUtf8(ini.readAll())
               .contains(QLatin1Char('[') + registeredName + QLatin1Char(']')))
        return registeredName;
    if (QFile::exists(OdbcLibraries + library))
        return OdbcLibraries + library;
    return QString();
}

class OdbcConnectionTest : public testing_support::TestEnvironment
{
protected:
    void SetUp() override
    {
        TestEnvironment::SetUp();
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
            GTEST_SKIP() << "Qt's ODBC driver (libqt6sql6-odbc) is not installed";
        const QString driver
            = odbcDriver(QStringLiteral("SQLite3"), QStringLiteral("libsqlite3odbc.so"));
        if (driver.isEmpty())
            GTEST_SKIP() << "the SQLite ODBC driver (libsqliteodbc) is not installed";
        m_connectionString = QStringLiteral("DRIVER={%1};Database=%2")
                                 .arg(driver, tempPath() + QStringLiteral("/odbc.db"));
        m_db = db::OdbcConnection::open(m_connectionString);
        m_db->execute(QStringLiteral("CREATE TABLE tbLine (ID int, Name varchar(50), "
                                     "Qty numeric(18,4), Made datetime, Active bit)"));
    }

    int lineCount()
    {
        db::Recordset rs = m_db->query(QStringLiteral("SELECT COUNT(*) AS N FROM tbLine"));
        return rs.field(QStringLiteral("N")).toInt();
    }

    QString m_connectionString;
    std::unique_ptr<db::OdbcConnection> m_db;
};

TEST_F(OdbcConnectionTest, ReadsBackWhatWasWritten)
{
    m_db->execute(QStringLiteral("INSERT INTO tbLine VALUES (1, %1, 12.3456, "
                                 "'2026-12-08 13:05:09', 1)")
                      .arg(db::quote(QStringLiteral("O'Brien's Ñandú"))));
    m_db->execute(QStringLiteral("INSERT INTO tbLine VALUES (2, NULL, NULL, NULL, NULL)"));
    m_db->execute(QStringLiteral("INSERT INTO tbLine VALUES (3, '', 1234567.8901, "
                                 "'2026-12-08 00:00:00', 0)"));

    db::Recordset rs = m_db->query(QStringLiteral("SELECT * FROM tbLine ORDER BY ID"));
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.columns(), QStringList({"ID", "Name", "Qty", "Made", "Active"}));

    EXPECT_EQ(rs.field(QStringLiteral("id")), QVariant(qlonglong(1)));
    EXPECT_EQ(rs.text(QStringLiteral("NAME")), QStringLiteral("O'Brien's Ñandú"));
    EXPECT_EQ(rs.field(QStringLiteral("Qty")).toDouble(), 12.3456);
    EXPECT_EQ(rs.text(QStringLiteral("Qty")), QStringLiteral("12.3456"));
    EXPECT_EQ(rs.field(QStringLiteral("Made")),
              QVariant(QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9))));
    EXPECT_EQ(rs.field(QStringLiteral("Active")), QVariant(true));

    rs.moveNext();
    EXPECT_EQ(rs.field(QStringLiteral("ID")), QVariant(qlonglong(2)));
    for (const char *column : {"Name", "Qty", "Made", "Active"}) {
        EXPECT_TRUE(rs.isNull(QString::fromLatin1(column))) << column;
        EXPECT_EQ(rs.text(QString::fromLatin1(column)), QString()) << column;
    }

    rs.moveNext();
    EXPECT_FALSE(rs.isNull(QStringLiteral("Name")));
    EXPECT_EQ(rs.text(QStringLiteral("Qty")), QStringLiteral("1234567.8901"));
    EXPECT_EQ(rs.text(QStringLiteral("Made")), QStringLiteral("12/8/2026"));
    EXPECT_EQ(rs.text(QStringLiteral("Active")), QStringLiteral("False"));
    rs.moveNext();
    EXPECT_TRUE(rs.eof());

    EXPECT_TRUE(m_db->query(QStringLiteral("SELECT * FROM tbLine WHERE ID = 99")).eof());
}

TEST_F(OdbcConnectionTest, RefusedStatementCarriesTheDriversMessageAndTheStatement)
{
    const QString statements[]
        = {QStringLiteral("SELECT * FROM tbNowhere"),
           QStringLiteral("INSERT INTO tbLine VALUES (1, 'x'"), QStringLiteral("SELEC 1")};
    for (const QString &sql : statements) {
        try {
            m_db->execute(sql);
            ADD_FAILURE() << "accepted: " << sql.toStdString();
        } catch (const db::DatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String("[SQLite]"))) << e.what();
            EXPECT_EQ(e.statement(), sql);
        }
    }
    try {
        m_db->query(statements[0]);
        ADD_FAILURE() << "query accepted";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("no such table"))) << e.what();
        EXPECT_EQ(e.statement(), statements[0]);
    }
    // The connection goes on working.
    EXPECT_EQ(lineCount(), 0);
}

TEST_F(OdbcConnectionTest, TransactionRolledBackLeavesNothing)
{
    {
        db::Transaction t = m_db->begin();
        m_db->execute(QStringLiteral("INSERT INTO tbLine (ID) VALUES (1)"));
        m_db->execute(QStringLiteral("INSERT INTO tbLine (ID) VALUES (2)"));
        EXPECT_EQ(lineCount(), 2);
    } // not committed
    EXPECT_EQ(lineCount(), 0);

    {
        db::Transaction t = m_db->begin();
        m_db->execute(QStringLiteral("INSERT INTO tbLine (ID) VALUES (3)"));
        t.commit();
    }
    EXPECT_EQ(lineCount(), 1);

    // A second connection sees only what was committed.
    auto other = db::OdbcConnection::open(m_connectionString);
    EXPECT_EQ(other->query(QStringLiteral("SELECT ID FROM tbLine")).recordCount(), 1);
}

TEST_F(OdbcConnectionTest, NestedTransactionsCommitOnlyAtTheOutermost)
{
    {
        db::Transaction outer = m_db->begin();
        {
            db::Transaction inner = m_db->begin();
            m_db->execute(QStringLiteral("INSERT INTO tbLine (ID) VALUES (1)"));
            inner.commit();
        }
        // the outer one is left without commit
    }
    EXPECT_EQ(lineCount(), 0);

    db::Transaction outer = m_db->begin();
    m_db->execute(QStringLiteral("INSERT INTO tbLine (ID) VALUES (2)"));
    db::Transaction inner = m_db->begin();
    inner.rollback();
    // The rollback undid the whole: committing the outer one is a failure, not a success.
    EXPECT_THROW(outer.commit(), db::DatabaseError);
    EXPECT_EQ(lineCount(), 0);
}

TEST_F(OdbcConnectionTest, EachConnectionHasItsOwnNameAndRemovesIt)
{
    const auto ours = [] {
        return QSqlDatabase::connectionNames().filter(QStringLiteral("stockrequest-odbc"));
    };
    const qsizetype before = ours().size();
    auto second = db::OdbcConnection::open(m_connectionString);
    EXPECT_EQ(ours().size(), before + 1);
    EXPECT_EQ(second->serverName(), tempPath() + QStringLiteral("/odbc.db"));
    second.reset();
    m_db.reset();
    EXPECT_EQ(ours().size(), before - 1);
}

TEST(OdbcConnectionString, FreeTdsSpeaksProtocolSevenFourUnlessTold)
{
    using db::OdbcConnection;
    EXPECT_EQ(OdbcConnection::driverConnectionString(
                  QStringLiteral("DRIVER={FreeTDS};Server=db1;Port=1433")),
              QStringLiteral("DRIVER={FreeTDS};Server=db1;Port=1433;TDS_Version=7.4"));
    EXPECT_EQ(OdbcConnection::driverConnectionString(
                  QStringLiteral("DRIVER=/usr/lib/odbc/libtdsodbc.so;PWD={a;TDS_Version=5};")),
              QStringLiteral("DRIVER=/usr/lib/odbc/libtdsodbc.so;PWD={a;TDS_Version=5};"
                             "TDS_Version=7.4"));
    EXPECT_EQ(OdbcConnection::driverConnectionString(
                  QStringLiteral("DRIVER={FreeTDS};Server=db1;tds_version=7.3")),
              QStringLiteral("DRIVER={FreeTDS};Server=db1;tds_version=7.3"));
    EXPECT_EQ(OdbcConnection::driverConnectionString(
                  QStringLiteral("DRIVER={SQLite3};Database=/tmp/x.db")),
              QStringLiteral("DRIVER={SQLite3};Database=/tmp/x.db"));
}

TEST(OdbcDecimalValue, KeepsEveryDigit)
{
    using db::OdbcConnection;
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("12.3456")), QVariant(12.3456));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("-0.0001")), QVariant(-0.0001));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("12.0000")), QVariant(12.0));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("42")), QVariant(qlonglong(42)));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("99999999999999.9")),
              QVariant(99999999999999.9));
    // Beyond fifteen digits a double would change the amount: the digits stay as they are.
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("999999999999999.9900")),
              QVariant(QStringLiteral("999999999999999.9900")));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("12345678901234567.1234")),
              QVariant(QStringLiteral("12345678901234567.1234")));
    EXPECT_EQ(OdbcConnection::decimalValue(QStringLiteral("99999999999999999999")),
              QVariant(QStringLiteral("99999999999999999999")));
}

// A TCP port that takes connections and never answers: a server that hangs at log-on.
class SilentListener
{
public:
    SilentListener()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_socket, 4) != 0
            || ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~SilentListener()
    {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

// A port nobody listens on: bound for a moment, then let go.
int closedPort()
{
    SilentListener probe;
    return probe.port();
}

class UnreachableServerTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(UnreachableServerTest, FailsWithTheDriversMessageInsteadOfHanging)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        GTEST_SKIP() << "Qt's ODBC driver (libqt6sql6-odbc) is not installed";
    const QString driver = odbcDriver(QStringLiteral("FreeTDS"), QStringLiteral("libtdsodbc.so"));
    if (driver.isEmpty())
        GTEST_SKIP() << "the FreeTDS ODBC driver (tdsodbc) is not installed";

    SilentListener silent;
    const QString where = QString::fromLatin1(GetParam());
    const int port = where == QLatin1String("silent") ? silent.port() : closedPort();
    ASSERT_NE(port, 0);
    const QString connectionString = QStringLiteral("DRIVER={%1};Server=127.0.0.1;Port=%2;"
                                                    "Database=INVENTORY;UID=sa;PWD=secret")
                                         .arg(driver)
                                         .arg(port);
    QElapsedTimer clock;
    clock.start();
    try {
        db::OdbcConnection::open(connectionString, 3);
        ADD_FAILURE() << "connected to nothing";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("[FreeTDS]"))) << e.what();
        EXPECT_FALSE(e.message().contains(QLatin1String("secret")));
    }
    // Only a hang fails here; the log-on timeout is 3 seconds.
    EXPECT_LT(clock.elapsed(), 60'000);
}

INSTANTIATE_TEST_SUITE_P(Servers, UnreachableServerTest, ::testing::Values("closed", "silent"));

TEST(OdbcConnectionOpen, UnknownDriverIsRefused)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        GTEST_SKIP() << "Qt's ODBC driver (libqt6sql6-odbc) is not installed";
    EXPECT_THROW(db::OdbcConnection::open(QStringLiteral("DRIVER={No Such Driver};Server=x")),
                 db::DatabaseError);
}

// A batch runs every command, in order (the update counts on the inserts before it), quotes and
// semicolons inside values included. (The SQLite driver takes one statement per call, so it gets
// them one by one; a SQL Server gets them as one text, which the save tests run on the engine.)
TEST_F(OdbcConnectionTest, BatchRunsEveryCommandInOrder)
{
    QStringList seen;
    m_db->setObserver([&seen](const QString &sql) { seen << sql; });
    const QStringList batch = {
        QStringLiteral("INSERT INTO tbLine (ID, Name, Qty) VALUES (1, %1, 2)")
            .arg(db::quote(QStringLiteral("O'Brien; x"))),
        QStringLiteral("INSERT INTO tbLine (ID, Name, Qty) VALUES (2, 'b', 3) "),
        QStringLiteral("UPDATE tbLine SET Qty = Qty * 10 WHERE ID = 1"),
        QStringLiteral("INSERT INTO tbLine (ID, Name, Qty) SELECT 3, Name, Qty + 1 FROM tbLine "
                       "WHERE ID = 1"),
    };
    db::Transaction t = m_db->begin();
    m_db->executeBatch(batch);
    t.commit();
    EXPECT_EQ(seen, batch);

    db::Recordset rs = m_db->query(QStringLiteral("SELECT ID, Name, Qty FROM tbLine ORDER BY ID"));
    QStringList rows;
    for (; !rs.eof(); rs.moveNext())
        rows << rs.text(0) + QLatin1Char('|') + rs.text(1) + QLatin1Char('|') + rs.text(2);
    EXPECT_EQ(rows,
              (QStringList {QStringLiteral("1|O'Brien; x|20"), QStringLiteral("2|b|3"),
                            QStringLiteral("3|O'Brien; x|21")}));
}

// The third command breaks the key: the driver's message comes back and the caller's
// transaction undoes the two before it; the commands after it leave nothing either.
TEST_F(OdbcConnectionTest, RefusedCommandInABatchLeavesNothingWritten)
{
    m_db->execute(QStringLiteral("CREATE TABLE tbKey (ID int PRIMARY KEY, Name varchar(20))"));
    const QStringList batch = {
        QStringLiteral("INSERT INTO tbKey VALUES (1, 'a')"),
        QStringLiteral("INSERT INTO tbKey VALUES (2, 'b')"),
        QStringLiteral("INSERT INTO tbKey VALUES (1, 'again')"),
        QStringLiteral("INSERT INTO tbKey VALUES (3, 'c')"),
    };
    try {
        db::Transaction t = m_db->begin();
        m_db->executeBatch(batch);
        t.commit();
        ADD_FAILURE() << "the batch was accepted";
    } catch (const db::DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("[SQLite]"))) << e.what();
        EXPECT_TRUE(e.message().contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive)) << e.what();
    }
    db::Recordset rs = m_db->query(QStringLiteral("SELECT COUNT(*) AS N FROM tbKey"));
    EXPECT_EQ(rs.field(QStringLiteral("N")).toInt(), 0);
    // The connection goes on working.
    m_db->executeBatch({QStringLiteral("INSERT INTO tbKey VALUES (5, 'e')"),
                        QStringLiteral("INSERT INTO tbKey VALUES (6, 'f')")});
    rs = m_db->query(QStringLiteral("SELECT COUNT(*) AS N FROM tbKey"));
    EXPECT_EQ(rs.field(QStringLiteral("N")).toInt(), 2);
}

struct BatchTextCase
{
    const char *statement;
    const char *sent;
};

class OdbcBatchText : public ::testing::TestWithParam<BatchTextCase>
{
};

// A SQL Server runs a procedure named bare only as the first statement of a batch.
TEST_P(OdbcBatchText, ProceduresCalledByNameGetExec)
{
    const QStringList batch = {QStringLiteral("Select 1"), QLatin1String(GetParam().statement)};
    EXPECT_EQ(db::OdbcConnection::batchText(batch, true),
              QStringLiteral("Select 1;\n") + QLatin1String(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(
    Statements, OdbcBatchText,
    ::testing::Values(BatchTextCase {"Inventory..sp_Inv_Insert_Withdrawal_WD '21', 5",
                                     "EXEC Inventory..sp_Inv_Insert_Withdrawal_WD '21', 5;"},
                      BatchTextCase {"  sp_x ", "EXEC sp_x;"},
                      BatchTextCase {"exec sp_x 1", "exec sp_x 1;"},
                      BatchTextCase {" update INVENTORY..t  set a = 'x; y' ",
                                     "update INVENTORY..t  set a = 'x; y';"},
                      BatchTextCase {"Delete INVENTORY..t Where d = '1';",
                                     "Delete INVENTORY..t Where d = '1';"},
                      BatchTextCase {"Insert INVENTORY..t (a) Values ('b')",
                                     "Insert INVENTORY..t (a) Values ('b');"}));

} // namespace
