#pragma once

// Reading the columns of a record's row: every value goes through IfNull, so a null column gives
// the record's default instead of failing the load.

#include "platform/db/Recordset.h"
#include "platform/format/Format.h"

#include <QDateTime>
#include <QString>

namespace db {
class Connection;
}

namespace records {

// The platform's zero date (12/30/1899), what a null date column loads as.
QDateTime zeroDate();

QString text(const db::Recordset &rs, const QString &column, const QString &ifNull = QString());
qint16 smallint(const db::Recordset &rs, const QString &column, qint16 ifNull = 0);
double number(const db::Recordset &rs, const QString &column);
bool boolean(const db::Recordset &rs, const QString &column);
format::Currency currency(const db::Recordset &rs, const QString &column);
QDateTime date(const db::Recordset &rs, const QString &column);

// The record's own connection, or the session connection when its owner handed it none.
db::Connection &connectionOf(db::Connection *connection);

} // namespace records
