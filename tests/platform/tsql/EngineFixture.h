#pragma once

#include "platform/db/EmbeddedConnection.h"
#include "platform/tsql/Engine.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <memory>

// An in-memory database with the schema and procedures of database/*.sql plus small tables,
// a procedure and a function of the tests' own, and the clock at 12/08/2026 10:15:00 AM.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override;

    static QDateTime fixedNow() { return QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0)); }
    QVariant scalar(const QString &sql);
    int count(const QString &sql);

    std::unique_ptr<db::EmbeddedConnection> m_db;
};
