#pragma once

#include <QStringList>
#include <QVariant>
#include <vector>

namespace db {

// A fully fetched result (a client-side cursor): the rows are read before the statement returns,
// so the row count is known and nothing stays open on the connection.
//
// Field values: a null column is an invalid-typed null QVariant (isNull() true); text as
// QString, whole numbers as qlonglong, other numbers as double, datetime columns as QDateTime,
// bit columns as bool.
class Recordset
{
public:
    using Row = std::vector<QVariant>;

    Recordset() = default;
    Recordset(QStringList columns, std::vector<Row> rows);

    // Position: starts on the first row; eof() is true at once when there are no rows.
    bool eof() const { return m_closed || m_pos >= static_cast<int>(m_rows.size()); }
    bool bof() const { return m_closed || m_rows.empty() || m_pos < 0; }
    int recordCount() const { return m_closed ? 0 : static_cast<int>(m_rows.size()); }
    int position() const { return m_pos; }
    void moveNext() { ++m_pos; }
    void moveFirst() { m_pos = 0; }
    void move(int row) { m_pos = row; }
    void close();
    bool isClosed() const { return m_closed; }

    // Columns, matched by name without regard to letter case, as the server does.
    int fieldCount() const { return static_cast<int>(m_columns.size()); }
    const QStringList &columns() const { return m_columns; }
    QString fieldName(int index) const { return m_columns.value(index); }
    int fieldIndex(const QString &name) const; // -1 when there is no such column
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    // Values of the current row. field() throws DatabaseError for an unknown column name
    // or when there is no current row.
    QVariant field(const QString &name) const;
    QVariant value(int index) const;
    bool isNull(const QString &name) const { return field(name).isNull(); }
    // The value as text, a null giving the empty text (the program's "append the empty text").
    QString text(const QString &name) const;
    QString text(int index) const;

    // Direct access for binding a grid.
    const std::vector<Row> &rows() const { return m_rows; }

private:
    QStringList m_columns;
    std::vector<Row> m_rows;
    int m_pos = 0;
    bool m_closed = false;
};

} // namespace db
