#pragma once

#include "platform/db/Connection.h"
#include "platform/db/EmbeddedConnection.h"
#include "support/TestEnvironment.h"

#include <QDateTime>
#include <QStringList>
#include <QVariant>

namespace dbtest {

// The demo database with helpers that read whole result columns, so a case states the rows it
// expects in one line.
class StatementTest : public testing_support::DatabaseTest
{
protected:
    db::Recordset run(const QString &sql) { return db().query(sql); }
    void exec(const QString &sql) { db().execute(sql); }

    int rowCount(const QString &sql) { return run(sql).recordCount(); }

    // One column of every row as text (a null giving the empty text).
    QStringList texts(const QString &sql, const QString &column);
    QStringList texts(const QString &sql, int column);

    // The first row's value of a column; a null QVariant when there is no row.
    QVariant first(const QString &sql, const QString &column);

    // Stock and ledger figures the posting procedures move.
    double onHand(const QString &itemId, const QString &locationId);
    double ppmp(const QString &itemId, const QString &locationId);
    int ledgerRows(const QString &movementType);

    // The identifier the demo's issue document with this MRIS number was given.
    QString recordNumberOf(const QString &transNum);

    static QDateTime at(int month, int day, int hour = 0, int minute = 0, int second = 0)
    {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute, second));
    }
};

} // namespace dbtest
