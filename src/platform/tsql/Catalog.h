#pragma once

#include "platform/tsql/Ast.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <vector>

namespace tsql {

struct Column
{
    QString name;
    TypeSpec type;
    bool identity = false;
    bool computed = false; // never inserted or updated
    // A computed column of the form CASE WHEN condition THEN value END: the two as SQLite
    // text on the table's own columns, so that an index on the column can be an index on the
    // value over the rows that meet the condition.
    QString computedWhen;
    QString computedValue;
};

struct Table
{
    QString db; // canonical database name
    QString name; // as created
    std::vector<Column> columns;

    // Index of a column by name, without regard to letter case; -1 when missing.
    int find(const QString &column) const;
};

// What the engine knows about the objects it has created: tables with their columns and
// declared types, index names, procedures and scalar functions. Every database change bumps
// the version so that cached translations are dropped.
class Catalog
{
public:
    // The four databases, canonical spelling.
    static const QStringList &databases();
    // The canonical spelling of a database name in any letter case; empty when unknown.
    static QString canonicalDatabase(const QString &name);

    const Table *table(const QString &db, const QString &name) const;
    void addTable(Table table);
    void removeTable(const QString &db, const QString &name);

    std::shared_ptr<const Routine> routine(const QString &db, const QString &name) const;
    void addRoutine(std::shared_ptr<const Routine> routine);
    void removeRoutine(const QString &db, const QString &name);

    bool hasIndex(const QString &db, const QString &table, const QString &name) const;
    void addIndex(const QString &db, const QString &table, const QString &name);
    void removeIndex(const QString &db, const QString &table, const QString &name);
    void removeIndexesOf(const QString &db, const QString &table);

    bool isEmpty() const { return m_tables.isEmpty() && m_routines.isEmpty(); }
    int version() const { return m_version; }
    void bump() { ++m_version; }

private:
    static QString key(const QString &db, const QString &name);

    QHash<QString, Table> m_tables;
    QHash<QString, std::shared_ptr<const Routine>> m_routines;
    QSet<QString> m_indexes;
    int m_version = 0;
};

} // namespace tsql
