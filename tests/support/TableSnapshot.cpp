#include "support/TableSnapshot.h"

#include "platform/db/Connection.h"

#include <QFile>
#include <QRegularExpression>

namespace testing_support {

namespace {

QStringList schemaTables()
{
    QFile file(QStringLiteral(":/database/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression create(QStringLiteral("CREATE\\s+TABLE\\s+(\\S+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    auto it = create.globalMatch(QString::fromUtf8(file.readAll()));
    while (it.hasNext())
        tables << it.next().captured(1);
    tables.removeDuplicates();
    return tables;
}

// The rows of `from` that `to` lacks, counting repeated rows.
QStringList missing(const QStringList &from, const QStringList &to)
{
    QStringList left = to;
    QStringList out;
    for (const QString &row : from) {
        const qsizetype at = left.indexOf(row);
        if (at < 0)
            out << row;
        else
            left.removeAt(at);
    }
    return out;
}

} // namespace

TableSnapshot::TableSnapshot(db::Connection &connection)
{
    for (const QString &table : schemaTables()) {
        QStringList rows;
        for (db::Recordset rs = connection.query(QStringLiteral("select * from ") + table);
             !rs.eof(); rs.moveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.fieldCount(); ++i) {
                const QVariant v = rs.value(i);
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            rows << cells.join(QLatin1Char('|'));
        }
        rows.sort();
        m_tables.insert(table, rows);
    }
}

int TableSnapshot::rowsMissingFrom(const TableSnapshot &other) const
{
    int count = 0;
    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it)
        count += static_cast<int>(missing(it.value(), other.m_tables.value(it.key())).size());
    return count;
}

QString TableSnapshot::difference(const TableSnapshot &other) const
{
    QString out;
    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it) {
        const QStringList theirs = other.m_tables.value(it.key());
        if (theirs == it.value())
            continue;
        out += QStringLiteral("\n%1: lost [%2] gained [%3]")
                   .arg(it.key(), missing(it.value(), theirs).join(QStringLiteral("; ")),
                        missing(theirs, it.value()).join(QStringLiteral("; ")));
    }
    return out;
}

} // namespace testing_support
