#pragma once

#include "platform/db/DatabaseError.h"
#include "platform/db/Recordset.h"

#include <QString>
#include <functional>
#include <memory>

namespace db {

class Connection;

// RAII transaction: rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(Connection &connection);
    Transaction(Transaction &&other) noexcept;
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    Transaction &operator=(Transaction &&) = delete;
    ~Transaction();

    void commit();
    void rollback();
    bool active() const { return m_connection != nullptr; }

private:
    Connection *m_connection;
};

// One open database connection. The program above this layer never knows whether it talks to
// the embedded engine or to a SQL Server.
class Connection
{
public:
    using Observer = std::function<void(const QString &statement)>;

    virtual ~Connection() = default;

    // Runs a statement (or procedure call) and fetches all its rows.
    Recordset query(const QString &sql);
    // Runs a command whose rows are not read.
    void execute(const QString &sql);

    Transaction begin() { return Transaction(*this); }

    // Sees every statement text sent, before it is sent.
    void setObserver(Observer observer) { m_observer = std::move(observer); }

    // A short description of where the connection goes (folder or server), for the log-in.
    virtual QString serverName() const = 0;

    // Transactions nest as SQL Server nests them: only the outermost commit commits, a
    // rollback at any depth undoes the whole, and a commit that fails rolls back the whole.
    virtual void beginTransaction() = 0;
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() = 0;
    // Is a transaction open on the connection?
    virtual bool inTransaction() const { return false; }

protected:
    virtual Recordset doQuery(const QString &sql) = 0;
    virtual void doExecute(const QString &sql) = 0;

private:
    Observer m_observer;
};

// Puts a value between single quotes for a statement, doubling embedded quotes. Every value the
// program places between quotes goes through here (or through quoteInner when the quotes are
// already part of the statement text).
QString quote(const QString &value);
// The value with its single quotes doubled, for text that already stands between quotes.
QString quoteInner(const QString &value);

} // namespace db
