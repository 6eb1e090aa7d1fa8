#pragma once

#include "platform/db/Connection.h"

#include <QStringList>
#include <memory>

namespace testing_support {

// A connection to a real database (the embedded one, or one reached through ODBC) that refuses
// one chosen statement: the k-th query,
// command or commit sent through it (counted from 1 since the last arm()), as a server refuses
// one on a full disk or a broken network. Everything else goes to the real connection.
class FaultyConnection final : public db::Connection
{
public:
    explicit FaultyConnection(std::unique_ptr<db::Connection> real);

    // Counts statements from now on and refuses the k-th (0: none); with insideTransactions,
    // only statements sent inside a transaction (and its commit) count.
    void arm(int k, bool insideTransactions = false);
    // Statements (commits included) sent since arm().
    int sent() const { return m_sent; }
    // Was the chosen statement reached and refused?
    bool refused() const { return m_refused; }
    db::Connection &real() { return *m_real; }

    QString serverName() const override { return m_real->serverName(); }
    void beginTransaction() override { m_real->beginTransaction(); }
    void commitTransaction() override;
    void rollbackTransaction() override { m_real->rollbackTransaction(); }
    bool inTransaction() const override { return m_real->inTransaction(); }

protected:
    db::Recordset doQuery(const QString &sql) override;
    void doExecute(const QString &sql) override;

private:
    void count(const QString &statement);

    std::unique_ptr<db::Connection> m_real;
    int m_refuseAt = 0;
    bool m_insideTransactions = false;
    int m_sent = 0;
    bool m_refused = false;
};

} // namespace testing_support
