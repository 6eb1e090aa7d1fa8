#pragma once

#include "platform/db/Connection.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

class QSqlQuery;

namespace db {

// A SQL Server reached through Qt's ODBC driver, unixODBC and FreeTDS (any ODBC driver works;
// the tests use the SQLite one). Statements go as they are; every result is read to the end
// before the call returns, so the connection is free for the next statement.
class OdbcConnection final : public Connection
{
public:
    // Connects with an ODBC connection string ("DRIVER={FreeTDS};Server=…;Database=…;UID=…;
    // PWD=…"). Gives up after the log-on timeout when the server does not answer. Throws
    // DatabaseError with the driver's message when the connection cannot be made.
    static std::unique_ptr<OdbcConnection> open(const QString &connectionString,
                                                int logonTimeoutSeconds = 10);

    ~OdbcConnection() override;
    OdbcConnection(const OdbcConnection &) = delete;
    OdbcConnection &operator=(const OdbcConnection &) = delete;

    // The Server= part of the connection string (Database= when it names none).
    QString serverName() const override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    bool inTransaction() const override { return m_transactionDepth > 0; }

    // The connection string as sent to the driver: for FreeTDS, TDS_Version=7.4 unless it names
    // a version.
    static QString driverConnectionString(const QString &connectionString);
    // A decimal column's digits as the recordset holds them: whole numbers as qlonglong, others
    // as double when a double keeps every digit, else the digits themselves as text.
    static QVariant decimalValue(const QString &digits);

protected:
    Recordset doQuery(const QString &sql) override;
    void doExecute(const QString &sql) override;

private:
    OdbcConnection(QString connectionName, QString serverName);

    // Runs a statement; throws DatabaseError when the driver refuses it.
    void run(QSqlQuery &query, const QString &sql);
    // Moves past every remaining result; throws when one of them carries an error.
    void drain(QSqlQuery &query, const QString &sql);

    QString m_connectionName;
    QString m_serverName;
    QSqlDatabase m_db;
    int m_transactionDepth = 0;
};

} // namespace db
