#include "support/FaultyConnection.h"

namespace testing_support {

FaultyConnection::FaultyConnection(std::unique_ptr<db::Connection> real)
    : m_real(std::move(real))
{ }

void FaultyConnection::arm(int k, bool insideTransactions)
{
    m_refuseAt = k;
    m_insideTransactions = insideTransactions;
    m_sent = 0;
    m_refused = false;
}

void FaultyConnection::count(const QString &statement)
{
    if (m_insideTransactions && !m_real->inTransaction())
        return;
    ++m_sent;
    if (m_sent == m_refuseAt) {
        m_refused = true;
        throw db::DatabaseError(QStringLiteral("Could not allocate space in the database: the "
                                               "disk is full."),
                                statement);
    }
}

void FaultyConnection::commitTransaction()
{
    count(QStringLiteral("COMMIT TRANSACTION"));
    m_real->commitTransaction();
}

db::Recordset FaultyConnection::doQuery(const QString &sql)
{
    count(sql);
    return m_real->query(sql);
}

void FaultyConnection::doExecute(const QString &sql)
{
    count(sql);
    m_real->execute(sql);
}

} // namespace testing_support
