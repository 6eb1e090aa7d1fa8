#include "platform/db/Connection.h"

namespace db {

Transaction::Transaction(Connection &connection)
    : m_connection(&connection)
{
    m_connection->beginTransaction();
}

Transaction::Transaction(Transaction &&other) noexcept
    : m_connection(other.m_connection)
{
    other.m_connection = nullptr;
}

Transaction::~Transaction()
{
    if (m_connection) {
        try {
            m_connection->rollbackTransaction();
        } catch (...) {
            // A failed rollback while unwinding must not end the program.
        }
    }
}

void Transaction::commit()
{
    if (!m_connection)
        return;
    Connection *c = m_connection;
    try {
        c->commitTransaction();
    } catch (...) {
        // A refused COMMIT (a full disk, a lock) must not leave the transaction open holding
        // its locks: it is rolled back, and the connection serves the next try. The backends
        // roll back themselves; this covers one that did not.
        m_connection = nullptr;
        try {
            c->rollbackTransaction();
        } catch (...) {
            // Already rolled back by the backend: nothing is open any more.
        }
        throw;
    }
    m_connection = nullptr;
}

void Transaction::rollback()
{
    if (m_connection) {
        Connection *c = m_connection;
        m_connection = nullptr;
        c->rollbackTransaction();
    }
}

Recordset Connection::query(const QString &sql)
{
    if (m_observer)
        m_observer(sql);
    return doQuery(sql);
}

void Connection::execute(const QString &sql)
{
    if (m_observer)
        m_observer(sql);
    doExecute(sql);
}

QString quoteInner(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString quote(const QString &value)
{
    return QLatin1Char('\'') + quoteInner(value) + QLatin1Char('\'');
}

} // namespace db
