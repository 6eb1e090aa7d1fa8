#include "platform/tsql/Emitter.h"

#include "platform/tsql/EmitterScope.h"
#include "platform/tsql/Error.h"

namespace tsql {

namespace {

QString sqliteType(const TypeSpec &t)
{
    switch (t.type) {
    case Type::Text:
        return QStringLiteral("TEXT COLLATE TSQL");
    case Type::Int:
    case Type::Bit:
        return QStringLiteral("INTEGER");
    case Type::Float:
        return QStringLiteral("REAL");
    case Type::DateTime:
        return QStringLiteral("DATETIME_TEXT");
    default:
        return QString();
    }
}

} // namespace

void Emitter::store(Em &x, const TypeSpec &type)
{
    coerce(x, type.type, type.dateOnly);
    if (storeNumber(x, type))
        return;
    x.sql = charPadded(x.sql, type);
    // A bit column keeps 0 or 1, an integer column whole numbers, as on the server.
    const bool toBit = type.type == Type::Bit && (x.type == Type::Int || x.type == Type::Float);
    const bool toInt = type.type == Type::Int && x.type == Type::Float;
    if (!toBit && !toInt)
        return;
    const Conv conv = toBit ? Conv::Bit : Conv::Int;
    if (x.param > 0) {
        m_params[static_cast<size_t>(x.param - 1)].conv = conv;
    } else if (x.literal >= 0) {
        const Literal &lit = (*m_frame->literals)[static_cast<size_t>(x.literal)];
        x.sql = sqlLiteral(convertValue(literalValue(lit), conv));
    } else {
        x.sql = toBit ? QStringLiteral("tsql_bit(") + x.sql + QLatin1Char(')')
                      : QStringLiteral("CAST(") + x.sql + QStringLiteral(" AS INTEGER)");
    }
    x.type = type.type;
}

bool Emitter::storeNumber(Em &x, const TypeSpec &type)
{
    const NumType target = numTypeOf(type);
    if (!(target.isDecimal() || target.isInteger()) || x.type == Type::Null)
        return false;
    // What already fits the column goes in as it is: a whole number of a type no wider, an exact
    // number with no more decimals and integral digits than the column has.
    const NumType from = x.num;
    if (target.isInteger() && from.isInteger() && from.precision <= target.precision)
        return true;
    if (target.isDecimal() && from.isInteger() && from.precision <= target.precision - target.scale)
        return true;
    if (target.isDecimal() && from.isDecimal() && x.type == Type::Float
        && from.scale <= target.scale
        && from.precision - from.scale <= target.precision - target.scale
        && (target.kind == NumType::Kind::Decimal || from.kind == NumType::Kind::Money
            || from.precision - from.scale <= 15))
        return true;
    const Conv conv = target.isInteger() ? Conv::Int : Conv::Number;
    if (x.param > 0) {
        Param &p = m_params[static_cast<size_t>(x.param - 1)];
        if (p.conv == Conv::None || p.conv == Conv::Number || p.conv == Conv::Int)
            p.conv = conv;
        p.num = target;
    } else if (x.literal >= 0) {
        const Literal &lit = (*m_frame->literals)[static_cast<size_t>(x.literal)];
        x.sql = sqlLiteral(convertValue(literalValue(lit), conv, target));
    } else {
        x.sql = QStringLiteral("tsql_conv(") + x.sql + QStringLiteral(", ")
            + QString::number(target.kind == NumType::Kind::Money
                                  ? -static_cast<int>(target.precision)
                                  : static_cast<int>(target.precision))
            + QStringLiteral(", ")
            + QString::number(target.isInteger() ? -1 : static_cast<int>(target.scale))
            + QLatin1Char(')');
    }
    x.type = type.type;
    x.num = target;
    return true;
}

Translation Emitter::insert(const Stmt &stmt)
{
    const Table &t = resolveTable(stmt.target);
    std::vector<int> cols;
    if (stmt.columns.isEmpty()) {
        for (size_t i = 0; i < t.columns.size(); ++i) {
            if (!t.columns[i].identity && !t.columns[i].computed)
                cols.push_back(static_cast<int>(i));
        }
    } else {
        for (const QString &name : stmt.columns) {
            const int i = t.find(name);
            if (i < 0)
                fail(QStringLiteral("Invalid column name '%1'.").arg(name),
                     QStringLiteral("INSERT"), stmt.pos);
            cols.push_back(i);
        }
    }
    QStringList names;
    for (int i : cols)
        names << quoted(t.columns[static_cast<size_t>(i)].name);
    Translation out;
    QString sql = QStringLiteral("INSERT INTO ") + tableSql(t);
    if (stmt.defaultValues) {
        out.sql = sql + QStringLiteral(" DEFAULT VALUES");
        return out;
    }
    sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QStringLiteral(") ");
    if (stmt.select) {
        SpecOut s = select(*stmt.select, nullptr);
        if (s.columns.size() != cols.size())
            fail(QStringLiteral("The select list for the INSERT statement contains %1 items than "
                                "the insert list.")
                     .arg(s.columns.size() < cols.size() ? QStringLiteral("fewer")
                                                         : QStringLiteral("more")),
                 QStringLiteral("INSERT"), stmt.pos);
        bool wrap = false;
        QStringList conv;
        for (size_t i = 0; i < cols.size(); ++i) {
            const Column &c = t.columns[static_cast<size_t>(cols[i])];
            Em x {QStringLiteral("column%1").arg(i + 1), s.columns[i].type};
            x.sql = QStringLiteral("\"column%1\"").arg(i + 1);
            const QString before = x.sql;
            x.num = s.columns[i].num;
            if (c.type.type == Type::DateTime || c.type.type == Type::Bit)
                coerce(x, c.type.type, c.type.dateOnly);
            else
                storeNumber(x, c.type);
            x.sql = charPadded(x.sql, c.type);
            wrap = wrap || x.sql != before;
            conv << x.sql;
        }
        if (wrap) {
            // Values that need converting: name the selected columns and convert them on the
            // way into the table.
            QStringList cn;
            for (size_t i = 0; i < cols.size(); ++i)
                cn << QStringLiteral("\"column%1\"").arg(i + 1);
            out.sql = QStringLiteral("WITH \"v\"(") + cn.join(QStringLiteral(", "))
                + QStringLiteral(") AS (") + s.sql + QStringLiteral(") ") + sql
                + QStringLiteral("SELECT ") + conv.join(QStringLiteral(", "))
                + QStringLiteral(" FROM \"v\"");
            out.params = m_params;
            return out;
        }
        sql += s.sql;
    } else {
        QStringList rows;
        for (const auto &row : stmt.rows) {
            if (row.size() != cols.size())
                fail(QStringLiteral("There are %1 columns in the INSERT statement than values "
                                    "specified in the VALUES clause. The number of values in the "
                                    "VALUES clause must match the number of columns specified in "
                                    "the INSERT statement.")
                         .arg(row.size() < cols.size() ? QStringLiteral("more")
                                                       : QStringLiteral("fewer")),
                     QStringLiteral("INSERT"), stmt.pos);
            QStringList values;
            for (size_t i = 0; i < cols.size(); ++i) {
                const Column &c = t.columns[static_cast<size_t>(cols[i])];
                Em x = emitExpr(*row[i], nullptr);
                store(x, c.type);
                values << x.sql;
            }
            rows << QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        sql += QStringLiteral("VALUES ") + rows.join(QStringLiteral(", "));
    }
    out.sql = sql;
    out.params = m_params;
    return out;
}

Translation Emitter::update(const Stmt &stmt)
{
    Scope scope;
    QStringList conditions;
    QString fromSql;
    const Table *target = nullptr;
    QString alias;
    QString updated; // the SQL name of the updated table
    if (stmt.from.empty()) {
        target = &resolveTable(stmt.target);
        alias = target->name;
        updated = sqlAlias(alias);
        Source self;
        self.alias = alias;
        self.sqlAlias = updated;
        self.table = target->name;
        for (const Column &c : target->columns)
            self.columns.push_back(OutColumn {c.name, c.type.type, numTypeOf(c.type)});
        scope.sources.push_back(self);
    } else {
        // The target is a table of the FROM clause, named by its alias or its table name. The
        // FROM clause is kept whole, the target included, and the updated rows are matched to
        // it by rowid: SQLite does not let the FROM clause see the updated table itself.
        int k = -1;
        for (size_t i = 0; i < stmt.from.size() && k < 0; ++i) {
            const TableSource &src = stmt.from[i].source;
            if (src.derived)
                continue;
            const bool byAlias = stmt.target.parts.size() == 1 && !src.alias.isEmpty()
                && src.alias.compare(stmt.target.last(), Qt::CaseInsensitive) == 0;
            const bool byName = src.alias.isEmpty() || stmt.target.parts.size() > 1;
            if (byAlias
                || (byName && resolveDb(src.name) == resolveDb(stmt.target)
                    && src.name.last().compare(stmt.target.last(), Qt::CaseInsensitive) == 0))
                k = static_cast<int>(i);
        }
        if (k < 0) {
            resolveTable(stmt.target);
            fail(QStringLiteral("UPDATE ... FROM without the updated table in the FROM clause is "
                                "not supported."),
                 QStringLiteral("UPDATE ... FROM"), stmt.pos);
        }
        const FromItem &ti = stmt.from[static_cast<size_t>(k)];
        target = &resolveTable(ti.source.name);
        alias = ti.source.alias.isEmpty() ? target->name : ti.source.alias;
        updated = sqlAlias(alias) + QStringLiteral("__updated");
        fromSql = fromClause(stmt.from, scope, conditions, k);
        conditions.prepend(quoted(updated) + QStringLiteral(".rowid = ") + quoted(sqlAlias(alias))
                           + QStringLiteral(".\"__rowid\""));
    }
    QStringList sets;
    for (const auto &[column, expr] : stmt.sets) {
        const int i = target->find(column);
        if (i < 0)
            fail(QStringLiteral("Invalid column name '%1'.").arg(column),
                 QStringLiteral("UPDATE SET"), stmt.pos);
        const Column &c = target->columns[static_cast<size_t>(i)];
        Em x = emitExpr(*expr, &scope);
        store(x, c.type);
        sets << quoted(c.name) + QStringLiteral(" = ") + x.sql;
    }
    if (stmt.where)
        conditions << emitExpr(*stmt.where, &scope).sql;
    QString sql = QStringLiteral("UPDATE ") + tableSql(*target) + QStringLiteral(" AS ")
        + quoted(updated) + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
    if (!fromSql.isEmpty())
        sql += QStringLiteral(" FROM ") + fromSql;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    Translation out;
    out.sql = sql;
    out.params = m_params;
    return out;
}

Translation Emitter::remove(const Stmt &stmt)
{
    Translation out;
    if (stmt.from.empty()) {
        const Table &t = resolveTable(stmt.target);
        Scope scope;
        Source self;
        self.alias = t.name;
        self.sqlAlias = sqlAlias(t.name);
        self.table = t.name;
        for (const Column &c : t.columns)
            self.columns.push_back(OutColumn {c.name, c.type.type, numTypeOf(c.type)});
        scope.sources.push_back(self);
        out.sql = QStringLiteral("DELETE FROM ") + tableSql(t) + QStringLiteral(" AS ")
            + quoted(self.sqlAlias);
        if (stmt.where)
            out.sql += QStringLiteral(" WHERE ") + emitExpr(*stmt.where, &scope).sql;
        out.params = m_params;
        return out;
    }
    // DELETE a FROM t a JOIN ...: the rows of the target that the join finds.
    Scope scope;
    QStringList conditions;
    const QString from = fromClause(stmt.from, scope, conditions);
    const Source *target = nullptr;
    for (const Source &s : scope.sources) {
        if (s.apply)
            continue;
        if ((stmt.target.parts.size() == 1
             && s.alias.compare(stmt.target.last(), Qt::CaseInsensitive) == 0)
            || s.table.compare(stmt.target.last(), Qt::CaseInsensitive) == 0) {
            target = &s;
            break;
        }
    }
    if (!target || target->table.isEmpty())
        fail(QStringLiteral("The DELETE target must be a table of the FROM clause."),
             QStringLiteral("DELETE ... FROM"), stmt.pos);
    QString db;
    for (const FromItem &f : stmt.from) {
        if (!f.source.derived
            && f.source.name.last().compare(target->table, Qt::CaseInsensitive) == 0)
            db = resolveDb(f.source.name);
    }
    const Table *t = m_catalog.table(db, target->table);
    if (stmt.where)
        conditions << emitExpr(*stmt.where, &scope).sql;
    out.sql = QStringLiteral("DELETE FROM ") + tableSql(*t)
        + QStringLiteral(" WHERE rowid IN (SELECT ") + quoted(target->sqlAlias)
        + QStringLiteral(".rowid FROM ") + from;
    if (!conditions.isEmpty())
        out.sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    out.sql += QLatin1Char(')');
    out.params = m_params;
    return out;
}

TableDdl Emitter::createTable(const Stmt &stmt)
{
    TableDdl ddl;
    Table &t = ddl.table;
    t.db = resolveDb(stmt.target);
    t.name = stmt.target.last();
    if (m_catalog.table(t.db, t.name))
        fail(QStringLiteral("There is already an object named '%1' in the database.").arg(t.name),
             QStringLiteral("CREATE TABLE"), stmt.pos);
    int identity = -1;
    QStringList primaryKey = stmt.primaryKey;
    for (size_t i = 0; i < stmt.columnDefs.size(); ++i) {
        const ColumnDef &c = stmt.columnDefs[i];
        if (t.find(c.name) >= 0)
            fail(QStringLiteral("Column names in each table must be unique. Column name '%1' is "
                                "specified more than once.")
                     .arg(c.name),
                 QStringLiteral("CREATE TABLE"), c.pos);
        if (c.identity) {
            if (identity >= 0)
                fail(QStringLiteral("Multiple identity columns specified for table '%1'.")
                         .arg(t.name),
                     QStringLiteral("IDENTITY"), c.pos);
            if (c.type.type != Type::Int)
                fail(QStringLiteral("Identity column '%1' must be of an integer type.").arg(c.name),
                     QStringLiteral("IDENTITY"), c.pos);
            identity = static_cast<int>(i);
        }
        if (c.primaryKey) {
            if (!primaryKey.isEmpty())
                fail(QStringLiteral("Cannot add multiple PRIMARY KEY constraints to table '%1'.")
                         .arg(t.name),
                     QStringLiteral("PRIMARY KEY"), c.pos);
            primaryKey << c.name;
        }
        t.columns.push_back(
            Column {c.name, c.type, c.identity, c.computed != nullptr, QString(), QString()});
    }
    const std::vector<QString> computed = computedColumns(stmt, t);
    for (const QString &k : primaryKey) {
        if (t.find(k) < 0)
            fail(QStringLiteral("Column name '%1' does not exist in the target table.").arg(k),
                 QStringLiteral("PRIMARY KEY"), stmt.pos);
    }
    const bool identityIsKey = identity >= 0 && primaryKey.size() == 1
        && primaryKey[0].compare(t.columns[static_cast<size_t>(identity)].name, Qt::CaseInsensitive)
            == 0;
    QStringList defs;
    for (size_t i = 0; i < stmt.columnDefs.size(); ++i) {
        const ColumnDef &c = stmt.columnDefs[i];
        QString def = quoted(c.name) + QLatin1Char(' ');
        const bool inKey = primaryKey.contains(c.name, Qt::CaseInsensitive);
        if (c.computed) {
            def += sqliteType(t.columns[i].type) + QStringLiteral(" GENERATED ALWAYS AS (")
                + computed[i] + QStringLiteral(") VIRTUAL");
        } else if (static_cast<int>(i) == identity) {
            def += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        } else {
            def += sqliteType(c.type);
            if (c.notNull || inKey)
                def += QStringLiteral(" NOT NULL");
            if (c.type.type == Type::Text && c.type.length > 0 && !c.type.max)
                def += QStringLiteral(" CHECK (length(rtrim(%1)) <= %2)")
                           .arg(quoted(c.name))
                           .arg(c.type.length);
            if (c.unique)
                def += QStringLiteral(" UNIQUE");
        }
        if (c.defaultValue) {
            Em d = emitExpr(*c.defaultValue, nullptr);
            coerce(d, c.type.type, c.type.dateOnly);
            def += QStringLiteral(" DEFAULT (") + d.sql + QLatin1Char(')');
        }
        defs << def;
    }
    auto keyList = [&](const QStringList &cols) {
        QStringList q;
        for (const QString &c : cols) {
            const int i = t.find(c);
            if (i < 0)
                fail(QStringLiteral("Column name '%1' does not exist in the target table.").arg(c),
                     QStringLiteral("CREATE TABLE"), stmt.pos);
            q << quoted(t.columns[static_cast<size_t>(i)].name);
        }
        return q.join(QStringLiteral(", "));
    };
    if (!primaryKey.isEmpty() && !identityIsKey) {
        // With an identity column the key is kept as a unique constraint: SQLite has one
        // rowid key.
        defs << (identity >= 0 ? QStringLiteral("UNIQUE (") : QStringLiteral("PRIMARY KEY ("))
                + keyList(primaryKey) + QLatin1Char(')');
    }
    for (const QStringList &u : stmt.uniques)
        defs << QStringLiteral("UNIQUE (") + keyList(u) + QLatin1Char(')');
    ddl.sql << QStringLiteral("CREATE TABLE ") + tableSql(t) + QStringLiteral(" (")
            + defs.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (identity >= 0) {
        const qlonglong seed = stmt.columnDefs[static_cast<size_t>(identity)].seed;
        if (seed != 1)
            ddl.sql << QStringLiteral("INSERT INTO %1.sqlite_sequence (name, seq) VALUES (%2, %3)")
                           .arg(quoted(t.db), sqlLiteral(t.name))
                           .arg(seed - 1);
    }
    return ddl;
}

std::vector<QString> Emitter::computedColumns(const Stmt &stmt, Table &t)
{
    std::vector<QString> out(stmt.columnDefs.size());
    // A computed column reads the row's stored columns, named without qualifier.
    Scope own;
    Source self;
    self.alias = t.name;
    self.sqlAlias = t.name;
    self.table = t.name;
    self.bare = true;
    for (size_t i = 0; i < stmt.columnDefs.size(); ++i) {
        if (!stmt.columnDefs[i].computed)
            self.columns.push_back(OutColumn {t.columns[i].name, t.columns[i].type.type});
    }
    own.sources.push_back(std::move(self));
    for (size_t i = 0; i < stmt.columnDefs.size(); ++i) {
        const ColumnDef &c = stmt.columnDefs[i];
        if (!c.computed)
            continue;
        const Em value = emitExpr(*c.computed, &own);
        out[i] = value.sql;
        Column &column = t.columns[i];
        column.type.type = value.type;
        switch (value.type) {
        case Type::Text:
            column.type.name = QStringLiteral("varchar");
            break;
        case Type::Int:
            column.type.name = QStringLiteral("int");
            break;
        case Type::Bit:
            column.type.name = QStringLiteral("bit");
            break;
        case Type::Float:
            column.type.name = QStringLiteral("float");
            break;
        case Type::DateTime:
            column.type.name = QStringLiteral("datetime");
            break;
        default:
            break;
        }
        const Expr &e = *c.computed;
        if (e.kind == Expr::Kind::Case && !e.simpleCase && !e.hasElse && e.args.size() == 2) {
            column.computedWhen = emitExpr(*e.args[0], &own).sql;
            column.computedValue = emitExpr(*e.args[1], &own).sql;
        }
    }
    return out;
}

QString Emitter::createIndex(const Stmt &stmt, QString &db, QString &table)
{
    const Table &t = resolveTable(stmt.target);
    db = t.db;
    table = t.name;
    if (m_catalog.hasIndex(t.db, t.name, stmt.name))
        fail(QStringLiteral("The operation failed because an index or statistics with name '%1' "
                            "already exists on table '%2'.")
                 .arg(stmt.name, t.name),
             QStringLiteral("CREATE INDEX"), stmt.pos);
    QStringList cols;
    QString where;
    for (int i = 0; i < stmt.columns.size(); ++i) {
        const int c = t.find(stmt.columns[i]);
        if (c < 0)
            fail(QStringLiteral("Column name '%1' does not exist in the target table.")
                     .arg(stmt.columns[i]),
                 QStringLiteral("CREATE INDEX"), stmt.pos);
        // An index on a computed CASE WHEN condition THEN value END holds the value of the rows
        // that meet the condition: a query of that value under that condition finds it.
        const Column &column = t.columns[static_cast<size_t>(c)];
        if (stmt.columns.size() == 1 && !column.computedWhen.isEmpty()) {
            cols << column.computedValue
                    + (stmt.descending[0] ? QStringLiteral(" DESC") : QString());
            where = QStringLiteral(" WHERE ") + column.computedWhen;
            break;
        }
        cols << quoted(t.columns[static_cast<size_t>(c)].name)
                + (stmt.descending[static_cast<size_t>(i)] ? QStringLiteral(" DESC") : QString());
    }
    return QStringLiteral("CREATE ") + (stmt.unique ? QStringLiteral("UNIQUE ") : QString())
        + QStringLiteral("INDEX ") + quoted(t.db) + QLatin1Char('.')
        + quoted(t.name + QStringLiteral("__") + stmt.name) + QStringLiteral(" ON ")
        + quoted(t.name) + QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QLatin1Char(')')
        + where;
}

} // namespace tsql
