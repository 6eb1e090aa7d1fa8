#include "platform/tsql/Catalog.h"

namespace tsql {

int Table::find(const QString &column) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

const QStringList &Catalog::databases()
{
    static const QStringList names = {QStringLiteral("INVENTORY"), QStringLiteral("Build_File"),
                                      QStringLiteral("Password"), QStringLiteral("patient_data")};
    return names;
}

QString Catalog::canonicalDatabase(const QString &name)
{
    for (const QString &db : databases()) {
        if (db.compare(name, Qt::CaseInsensitive) == 0)
            return db;
    }
    return {};
}

QString Catalog::key(const QString &db, const QString &name)
{
    return db.toLower() + QChar(0x1F) + name.toLower();
}

const Table *Catalog::table(const QString &db, const QString &name) const
{
    auto it = m_tables.constFind(key(db, name));
    return it == m_tables.constEnd() ? nullptr : &it.value();
}

void Catalog::addTable(Table table)
{
    const QString k = key(table.db, table.name);
    m_tables.insert(k, std::move(table));
    bump();
}

void Catalog::removeTable(const QString &db, const QString &name)
{
    m_tables.remove(key(db, name));
    removeIndexesOf(db, name);
    bump();
}

std::shared_ptr<const Routine> Catalog::routine(const QString &db, const QString &name) const
{
    return m_routines.value(key(db, name));
}

void Catalog::addRoutine(std::shared_ptr<const Routine> routine)
{
    const QString k = key(routine->db, routine->name);
    m_routines.insert(k, std::move(routine));
    bump();
}

void Catalog::removeRoutine(const QString &db, const QString &name)
{
    m_routines.remove(key(db, name));
    bump();
}

bool Catalog::hasIndex(const QString &db, const QString &table, const QString &name) const
{
    return m_indexes.contains(key(db, table) + QChar(0x1F) + name.toLower());
}

void Catalog::addIndex(const QString &db, const QString &table, const QString &name)
{
    m_indexes.insert(key(db, table) + QChar(0x1F) + name.toLower());
    bump();
}

void Catalog::removeIndex(const QString &db, const QString &table, const QString &name)
{
    m_indexes.remove(key(db, table) + QChar(0x1F) + name.toLower());
    bump();
}

void Catalog::removeIndexesOf(const QString &db, const QString &table)
{
    const QString prefix = key(db, table) + QChar(0x1F);
    for (auto it = m_indexes.begin(); it != m_indexes.end();) {
        if (it->startsWith(prefix))
            it = m_indexes.erase(it);
        else
            ++it;
    }
}

} // namespace tsql
