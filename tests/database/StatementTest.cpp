#include "StatementTest.h"

namespace dbtest {

QStringList StatementTest::texts(const QString &sql, const QString &column)
{
    db::Recordset rs = run(sql);
    QStringList result;
    for (; !rs.eof(); rs.moveNext())
        result << rs.text(column);
    return result;
}

QStringList StatementTest::texts(const QString &sql, int column)
{
    db::Recordset rs = run(sql);
    QStringList result;
    for (; !rs.eof(); rs.moveNext())
        result << rs.text(column);
    return result;
}

QVariant StatementTest::first(const QString &sql, const QString &column)
{
    db::Recordset rs = run(sql);
    return rs.eof() ? QVariant() : rs.field(column);
}

double StatementTest::onHand(const QString &itemId, const QString &locationId)
{
    return first(QStringLiteral("Select OnHand From INVENTORY..tbInvent Where ItemID = %1 "
                                "and LocationID = %2")
                     .arg(db::quote(itemId), db::quote(locationId)),
                 QStringLiteral("OnHand"))
        .toDouble();
}

double StatementTest::ppmp(const QString &itemId, const QString &locationId)
{
    return first(QStringLiteral("Select PPMP From INVENTORY..tbInvent Where ItemID = %1 "
                                "and LocationID = %2")
                     .arg(db::quote(itemId), db::quote(locationId)),
                 QStringLiteral("PPMP"))
        .toDouble();
}

int StatementTest::ledgerRows(const QString &movementType)
{
    return rowCount(QStringLiteral("Select LedgerID From INVENTORY..tbInvStockLedger "
                                   "Where MovementType = %1")
                        .arg(db::quote(movementType)));
}

QString StatementTest::recordNumberOf(const QString &transNum)
{
    return first(QStringLiteral("Select RecordNumber From INVENTORY..tbInvWithdrawHeader "
                                "Where TransNum = %1")
                     .arg(db::quote(transNum)),
                 QStringLiteral("RecordNumber"))
        .toString();
}

} // namespace dbtest
