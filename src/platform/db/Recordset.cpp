#include "platform/db/Recordset.h"

#include "platform/db/DatabaseError.h"
#include "platform/format/Format.h"

namespace db {

Recordset::Recordset(QStringList columns, std::vector<Row> rows)
    : m_columns(std::move(columns))
    , m_rows(std::move(rows))
{ }

void Recordset::close()
{
    m_closed = true;
    m_rows.clear();
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::value(int index) const
{
    if (eof() || m_pos < 0)
        throw DatabaseError(QStringLiteral("Either BOF or EOF is True, or the current record has "
                                           "been deleted."),
                            QString());
    if (index < 0 || index >= fieldCount())
        throw DatabaseError(QStringLiteral("Item cannot be found in the collection corresponding "
                                           "to the requested name or ordinal."),
                            QString());
    const Row &row = m_rows[static_cast<size_t>(m_pos)];
    return index < static_cast<int>(row.size()) ? row[static_cast<size_t>(index)] : QVariant();
}

QVariant Recordset::field(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Item cannot be found in the collection corresponding "
                                           "to the requested name or ordinal: ")
                                + name,
                            QString());
    return value(index);
}

QString Recordset::text(const QString &name) const
{
    return format::variantText(field(name));
}

QString Recordset::text(int index) const
{
    return format::variantText(value(index));
}

} // namespace db
