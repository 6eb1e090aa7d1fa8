#include "objects/RecordFields.h"

#include "platform/db/Connection.h"
#include "session/Inventory.h"

namespace records {

QDateTime zeroDate()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QString text(const db::Recordset &rs, const QString &column, const QString &ifNull)
{
    return format::variantText(IfNull(rs.field(column), ifNull));
}

qint16 smallint(const db::Recordset &rs, const QString &column, qint16 ifNull)
{
    const QVariant value = IfNull(rs.field(column), ifNull);
    // A bit column reads as 1 for true (never -1), as the location flags are compared with 0 and 1.
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (value.typeId() == QMetaType::QString)
        return static_cast<qint16>(format::leadingNumber(value.toString()));
    return static_cast<qint16>(value.toLongLong());
}

double number(const db::Recordset &rs, const QString &column)
{
    const QVariant value = IfNull(rs.field(column), 0);
    if (value.typeId() == QMetaType::QString)
        return format::leadingNumber(value.toString());
    return value.toDouble();
}

bool boolean(const db::Recordset &rs, const QString &column)
{
    const QVariant value = IfNull(rs.field(column), false);
    if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed();
        return t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
            || format::leadingNumber(t) != 0;
    }
    return value.toBool();
}

format::Currency currency(const db::Recordset &rs, const QString &column)
{
    const QVariant value = IfNull(rs.field(column), 0);
    if (value.typeId() == QMetaType::QString)
        return format::Currency::fromText(value.toString());
    return format::Currency::fromDouble(value.toDouble());
}

QDateTime date(const db::Recordset &rs, const QString &column)
{
    const QVariant value = rs.field(column);
    if (value.isNull())
        return zeroDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QDateTime parsed = format::parseDateTime(value.toString());
    return parsed.isValid() ? parsed : zeroDate();
}

db::Connection &connectionOf(db::Connection *connection)
{
    return connection ? *connection : sqlconnection();
}

} // namespace records
