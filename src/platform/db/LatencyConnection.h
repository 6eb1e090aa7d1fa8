#pragma once

#include "platform/db/Connection.h"

#include <chrono>
#include <memory>

namespace db {

// A connection as a workstation far from its server sees it: every round trip to the server
// (a statement, a batch, the start and end of a transaction) waits a fixed delay before it goes
// to the connection underneath. Benchmarks and tests use it to show what a distant clinic pays,
// and read the round trips it counted.
class LatencyConnection final : public Connection
{
public:
    explicit LatencyConnection(std::unique_ptr<Connection> inner,
                               std::chrono::microseconds delay = std::chrono::milliseconds(20));

    Connection &inner() { return *m_inner; }
    std::chrono::microseconds delay() const { return m_delay; }
    void setDelay(std::chrono::microseconds delay) { m_delay = delay; }

    // Round trips made so far (statements, batches, transaction starts and ends).
    long long roundTrips() const { return m_roundTrips; }
    void resetRoundTrips() { m_roundTrips = 0; }

    QString serverName() const override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    bool inTransaction() const override { return m_inner->inTransaction(); }

protected:
    Recordset doQuery(const QString &sql) override;
    void doExecute(const QString &sql) override;
    void doExecuteBatch(const QStringList &statements) override;

private:
    void travel();

    std::unique_ptr<Connection> m_inner;
    std::chrono::microseconds m_delay;
    long long m_roundTrips = 0;
};

} // namespace db
