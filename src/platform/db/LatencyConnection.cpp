#include "platform/db/LatencyConnection.h"

#include <thread>

namespace db {

LatencyConnection::LatencyConnection(std::unique_ptr<Connection> inner,
                                     std::chrono::microseconds delay)
    : m_inner(std::move(inner))
    , m_delay(delay)
{ }

void LatencyConnection::travel()
{
    ++m_roundTrips;
    if (m_delay.count() > 0)
        std::this_thread::sleep_for(m_delay);
}

QString LatencyConnection::serverName() const
{
    return m_inner->serverName();
}

void LatencyConnection::beginTransaction()
{
    travel();
    m_inner->beginTransaction();
}

void LatencyConnection::commitTransaction()
{
    travel();
    m_inner->commitTransaction();
}

void LatencyConnection::rollbackTransaction()
{
    travel();
    m_inner->rollbackTransaction();
}

Recordset LatencyConnection::doQuery(const QString &sql)
{
    travel();
    return m_inner->query(sql);
}

void LatencyConnection::doExecute(const QString &sql)
{
    travel();
    m_inner->execute(sql);
}

void LatencyConnection::doExecuteBatch(const QStringList &statements)
{
    travel();
    m_inner->executeBatch(statements);
}

} // namespace db
