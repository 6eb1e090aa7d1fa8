#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

namespace testing_support {

// Every row of every table that database/schema.sql creates, as text, for comparing a whole
// database before and after an operation.
class TableSnapshot
{
public:
    explicit TableSnapshot(db::Connection &connection);

    bool operator==(const TableSnapshot &other) const { return m_tables == other.m_tables; }
    bool operator!=(const TableSnapshot &other) const { return !(*this == other); }

    // Rows of this snapshot that the other one no longer holds.
    int rowsMissingFrom(const TableSnapshot &other) const;
    // The tables whose rows differ, with the rows only one side holds.
    QString difference(const TableSnapshot &other) const;

private:
    QMap<QString, QStringList> m_tables; // table -> its rows, sorted
};

} // namespace testing_support
