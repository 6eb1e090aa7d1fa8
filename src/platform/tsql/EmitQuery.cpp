#include "platform/tsql/Emitter.h"

#include "platform/tsql/EmitterScope.h"
#include "platform/tsql/Error.h"

namespace tsql {

QString Emitter::resolveDb(const ObjectName &name) const
{
    const QStringList &p = name.parts;
    if (p.size() == 3) {
        if (!p[1].isEmpty() && p[1].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("The schema '%1' is not supported; use dbo.").arg(p[1]),
                 QStringLiteral("object name"), name.pos);
        const QString db = Catalog::canonicalDatabase(p[0]);
        if (db.isEmpty())
            fail(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered "
                                "correctly.")
                     .arg(p[0]),
                 QStringLiteral("object name"), name.pos);
        return db;
    }
    if (p.size() == 2 && !p[0].isEmpty()
        && p[0].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
        fail(QStringLiteral("The schema '%1' is not supported; use dbo.").arg(p[0]),
             QStringLiteral("object name"), name.pos);
    return m_db;
}

const Table &Emitter::resolveTable(const ObjectName &name) const
{
    const QString db = resolveDb(name);
    const Table *t = m_catalog.table(db, name.last());
    if (!t)
        fail(QStringLiteral("Invalid object name '%1'.").arg(name.parts.join(QLatin1Char('.'))),
             QStringLiteral("table"), name.pos);
    return *t;
}

Emitter::Source Emitter::tableSourceOf(const TableSource &src, const Scope *parent)
{
    Source s;
    if (src.derived) {
        SpecOut out = select(*src.derived, parent);
        s.alias = src.alias;
        s.sqlAlias = sqlAlias(src.alias);
        s.columns = out.columns;
        s.table = QStringLiteral("(") + out.sql + QLatin1Char(')'); // the SQL, replaced below
        return s;
    }
    const Table &t = resolveTable(src.name);
    s.alias = src.alias.isEmpty() ? t.name : src.alias;
    s.sqlAlias = sqlAlias(s.alias);
    s.table = t.name;
    for (const Column &c : t.columns)
        s.columns.push_back(OutColumn {c.name, c.type.type, numTypeOf(c.type)});
    return s;
}

QString Emitter::fromClause(const std::vector<FromItem> &from, Scope &scope,
                            QStringList &conditions, int withRowid)
{
    QString sql;
    bool first = true;
    for (size_t i = 0; i < from.size(); ++i) {
        const FromItem &item = from[i];
        if (item.kind == JoinKind::OuterApply || item.kind == JoinKind::CrossApply) {
            const Select &sel = *item.source.derived;
            if (sel.parts.size() != 1)
                fail(QStringLiteral("UNION inside APPLY is not supported."),
                     QStringLiteral("APPLY"), item.source.pos);
            Source s;
            s.alias = item.source.alias;
            s.sqlAlias = sqlAlias(s.alias);
            s.apply = &sel;
            // The applied query's columns and types, from a trial translation.
            const size_t mark = m_params.size();
            const size_t bakedMark = m_baked.size();
            SpecOut trial = querySpec(sel.parts[0], &scope, -1, false, &sel.orderBy);
            m_params.resize(mark);
            m_baked.resize(bakedMark);
            s.columns = trial.columns;
            if (item.kind == JoinKind::CrossApply) {
                SpecOut exists = querySpec(sel.parts[0], &scope, -1, false, &sel.orderBy);
                conditions << QStringLiteral("EXISTS (") + exists.sql + QLatin1Char(')');
            }
            scope.sources.push_back(std::move(s));
            continue;
        }
        Source s = tableSourceOf(item.source, scope.parent);
        QString src;
        if (item.source.derived) {
            src = s.table + QStringLiteral(" AS ") + quoted(s.sqlAlias);
            s.table.clear();
        } else if (static_cast<int>(i) == withRowid) {
            // The updated table of UPDATE ... FROM, with its rowid under a name of its own.
            src = QStringLiteral("(SELECT rowid AS \"__rowid\", * FROM ")
                + tableSql(*m_catalog.table(resolveDb(item.source.name), s.table))
                + QStringLiteral(") AS ") + quoted(s.sqlAlias);
        } else {
            src = tableSql(*m_catalog.table(resolveDb(item.source.name), s.table))
                + QStringLiteral(" AS ") + quoted(s.sqlAlias);
        }
        scope.sources.push_back(std::move(s));
        if (!first) {
            switch (item.kind) {
            case JoinKind::Comma:
                sql += QStringLiteral(", ");
                break;
            case JoinKind::Cross:
                sql += QStringLiteral(" CROSS JOIN ");
                break;
            case JoinKind::Left:
                sql += QStringLiteral(" LEFT JOIN ");
                break;
            case JoinKind::Right:
                sql += QStringLiteral(" RIGHT JOIN ");
                break;
            case JoinKind::Full:
                sql += QStringLiteral(" FULL JOIN ");
                break;
            default:
                sql += QStringLiteral(" INNER JOIN ");
                break;
            }
        }
        sql += src;
        if (item.on)
            sql += QStringLiteral(" ON ") + emitExpr(*item.on, &scope).sql;
        first = false;
    }
    return sql;
}

QString Emitter::applyColumn(const Source &source, const Scope *owner, int item)
{
    const Select &sel = *source.apply;
    SpecOut out = querySpec(sel.parts[0], owner, item, false, &sel.orderBy);
    if (sel.parts[0].top == nullptr)
        out.sql += QStringLiteral(" LIMIT 1");
    return QLatin1Char('(') + out.sql + QLatin1Char(')');
}

Emitter::SpecOut Emitter::select(const Select &sel, const Scope *parent, bool assign)
{
    if (sel.parts.size() == 1)
        return querySpec(sel.parts[0], parent, -1, assign, &sel.orderBy);
    if (assign)
        fail(QStringLiteral("Assigning variables from a UNION is not supported."),
             QStringLiteral("SELECT"), sel.pos);
    SpecOut out;
    for (size_t i = 0; i < sel.parts.size(); ++i) {
        SpecOut part = querySpec(sel.parts[i], parent, -1, false, nullptr);
        if (i == 0) {
            out.columns = part.columns;
        } else {
            if (part.columns.size() != out.columns.size())
                fail(QStringLiteral("All queries combined using a UNION operator must have an "
                                    "equal number of expressions in their target lists."),
                     QStringLiteral("UNION"), sel.parts[i].pos);
            for (size_t c = 0; c < part.columns.size(); ++c) {
                Type &t = out.columns[c].type;
                const Type o = part.columns[c].type;
                if (t <= Type::Null)
                    t = o;
                else if (o > Type::Null && o != t)
                    t = std::max(t, o);
            }
            out.sql
                += sel.unionAll[i - 1] ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
        }
        if (sel.parts[i].top)
            out.sql += QStringLiteral("SELECT * FROM (") + part.sql + QLatin1Char(')');
        else
            out.sql += part.sql;
    }
    if (!sel.orderBy.empty())
        out.sql += orderBy(sel.orderBy, nullptr, out.columns, true);
    return out;
}

QString Emitter::orderBy(const std::vector<OrderItem> &items, const Scope *scope,
                         const std::vector<OutColumn> &outputs, bool compound,
                         const QuerySpec *distinct)
{
    QStringList terms;
    for (const OrderItem &item : items) {
        const Expr &e = *item.expr;
        QString term;
        Type type = Type::Unknown;
        int position = -1;
        if (e.kind == Expr::Kind::Literal) {
            position = bakedInt(e);
            if (position < 1 || position > static_cast<int>(outputs.size()))
                fail(QStringLiteral("The ORDER BY position number %1 is out of range of the "
                                    "number of items in the select list.")
                         .arg(position),
                     QStringLiteral("ORDER BY"), e.pos);
        } else if (e.kind == Expr::Kind::Column && e.name.size() == 1) {
            for (size_t i = 0; i < outputs.size(); ++i) {
                if (outputs[i].name.compare(e.name[0], Qt::CaseInsensitive) == 0) {
                    position = static_cast<int>(i) + 1;
                    break;
                }
            }
        }
        if (position > 0) {
            term = QString::number(position);
            type = outputs[static_cast<size_t>(position - 1)].type;
        } else {
            if (compound)
                fail(QStringLiteral("ORDER BY items must appear in the select list if the "
                                    "statement contains a UNION operator."),
                     QStringLiteral("ORDER BY"), e.pos);
            if (distinct)
                checkDistinctOrder(*distinct, e);
            Em x = emitExpr(e, scope);
            term = x.sql;
            type = x.type;
        }
        if (type == Type::Text || type == Type::Unknown)
            term += QStringLiteral(" COLLATE TSQL");
        if (item.descending)
            term += QStringLiteral(" DESC");
        terms << term;
    }
    return QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
}

Emitter::SpecOut Emitter::querySpec(const QuerySpec &q, const Scope *parent, int onlyItem,
                                    bool assign, const std::vector<OrderItem> *order)
{
    Scope scope;
    scope.parent = parent;
    QStringList conditions;
    QString from;
    if (!q.from.empty())
        from = fromClause(q.from, scope, conditions);
    prepareGrouping(q, scope);
    QStringList groups;
    for (const ExprPtr &g : q.groupBy) {
        m_lastColumn.clear();
        Em x = emitExpr(*g, &scope);
        if (g->kind == Expr::Kind::Column && !m_lastColumn.isEmpty())
            scope.groupedColumns << m_lastColumn;
        groups << textRule(x);
    }
    scope.clause = QStringLiteral("select list");
    SpecOut out;
    QStringList items;
    auto addItem = [&](const QString &sql, const QString &name, Type type, NumType num) {
        items << sql + QStringLiteral(" AS ") + quoted(name);
        out.columns.push_back(OutColumn {name, type, num});
    };
    for (size_t i = 0; i < q.items.size(); ++i) {
        const SelectItem &item = q.items[i];
        if (item.star) {
            if (onlyItem >= 0)
                fail(QStringLiteral("'*' is not supported in an applied query."),
                     QStringLiteral("APPLY"), item.pos);
            if (assign)
                fail(QStringLiteral("A SELECT statement that assigns a value to a variable must "
                                    "not be combined with data-retrieval operations."),
                     QStringLiteral("SELECT"), item.pos);
            if (scope.sources.empty())
                fail(QStringLiteral("SELECT * with no tables specified is not valid."),
                     QStringLiteral("SELECT"), item.pos);
            bool matched = false;
            for (const Source &src : scope.sources) {
                if (!item.starQualifier.isEmpty()
                    && src.alias.compare(item.starQualifier, Qt::CaseInsensitive) != 0
                    && src.table.compare(item.starQualifier, Qt::CaseInsensitive) != 0)
                    continue;
                matched = true;
                for (size_t c = 0; c < src.columns.size(); ++c) {
                    const OutColumn &col = src.columns[c];
                    const QString sql = src.apply
                        ? applyColumn(src, &scope, static_cast<int>(c))
                        : quoted(src.sqlAlias) + QLatin1Char('.') + quoted(col.name);
                    addItem(sql, col.name, col.type, col.num);
                }
            }
            if (!matched)
                fail(QStringLiteral("The object name '%1' is not valid here.")
                         .arg(item.starQualifier),
                     QStringLiteral("SELECT"), item.pos);
            continue;
        }
        if (onlyItem >= 0 && static_cast<int>(i) != onlyItem) {
            // Only the one column is wanted; the others still give the names and types.
            out.columns.push_back(OutColumn {item.alias, Type::Unknown});
            continue;
        }
        if (assign != !item.assignVar.isEmpty())
            fail(QStringLiteral("A SELECT statement that assigns a value to a variable must not "
                                "be combined with data-retrieval operations."),
                 QStringLiteral("SELECT"), item.pos);
        Em x = emitExpr(*item.expr, &scope);
        QString name = item.alias;
        if (!item.hasAlias && item.expr->kind == Expr::Kind::Column)
            name = item.expr->name.last();
        if (assign)
            out.columns.push_back(OutColumn {item.assignVar, x.type, x.num}), items << x.sql;
        else
            addItem(item.expr->kind == Expr::Kind::Column ? x.sql : textRule(x), name, x.type,
                    x.num);
    }
    scope.clause.clear();
    if (onlyItem >= 0) {
        // Fix up the names of the skipped columns so that the caller can find them.
        for (size_t i = 0; i < q.items.size() && i < out.columns.size(); ++i) {
            const SelectItem &item = q.items[i];
            if (!item.hasAlias && item.expr && item.expr->kind == Expr::Kind::Column)
                out.columns[i].name = item.expr->name.last();
        }
    }
    QString sql = q.distinct ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    sql += items.join(QStringLiteral(", "));
    if (!from.isEmpty())
        sql += QStringLiteral(" FROM ") + from;
    if (q.where)
        conditions << emitExpr(*q.where, &scope).sql;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    if (!groups.isEmpty())
        sql += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
    if (q.having) {
        scope.clause = QStringLiteral("HAVING");
        sql += QStringLiteral(" HAVING ") + emitExpr(*q.having, &scope).sql;
        scope.clause.clear();
    }
    if (order && !order->empty()) {
        scope.clause = QStringLiteral("ORDER BY");
        sql += orderBy(*order, &scope, out.columns, false, q.distinct ? &q : nullptr);
        scope.clause.clear();
    }
    if (q.top) {
        Em n = emitExpr(*q.top, &scope);
        coerce(n, Type::Int);
        sql += QStringLiteral(" LIMIT ") + n.sql;
    }
    out.sql = sql;
    return out;
}

Translation Emitter::query(const Select &sel)
{
    const bool assign = sel.parts.size() == 1 && !sel.parts[0].items.empty()
        && !sel.parts[0].items[0].assignVar.isEmpty();
    SpecOut out = select(sel, nullptr, assign);
    Translation t;
    t.sql = out.sql;
    t.columns = out.columns;
    if (assign) {
        for (const OutColumn &c : out.columns)
            t.assignVars << c.name;
    }
    t.params = m_params;
    return t;
}

Translation Emitter::scalar(const Expr &expr)
{
    Em x = emitExpr(expr, nullptr);
    Translation t;
    t.sql = QStringLiteral("SELECT ") + x.sql;
    t.columns.push_back(OutColumn {QString(), x.type, x.num});
    t.params = m_params;
    return t;
}

Translation Emitter::condition(const Expr &expr)
{
    Em x = emitExpr(expr, nullptr);
    Translation t;
    t.sql = QStringLiteral("SELECT CASE WHEN ") + x.sql + QStringLiteral(" THEN 1 ELSE 0 END");
    t.columns.push_back(OutColumn {QString(), Type::Int});
    t.params = m_params;
    return t;
}

} // namespace tsql
