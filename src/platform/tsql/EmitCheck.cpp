#include "platform/tsql/Emitter.h"

#include "platform/tsql/EmitterScope.h"
#include "platform/tsql/Error.h"

namespace tsql {

namespace {

// SQLite refuses expressions nested deeper than this; longer chains of one operator are
// emitted as a balanced tree of the same operator.
constexpr size_t kDeepestChain = 900;
constexpr size_t kBalancedFrom = 64;

bool isAggregate(const Expr &e)
{
    if (e.kind == Expr::Kind::CountStar)
        return true;
    if (e.kind != Expr::Kind::Func || !e.name.isEmpty())
        return false;
    static const char *const names[]
        = {"count",  "count_big", "sum",  "avg",        "min",          "max",     "stdev",
           "stdevp", "var",       "varp", "string_agg", "checksum_agg", "grouping"};
    for (const char *n : names) {
        if (e.op == QLatin1String(n))
            return true;
    }
    return false;
}

// An aggregate at this query's own level (not inside a subquery of it).
bool hasAggregate(const Expr *root)
{
    std::vector<const Expr *> pending {root};
    while (!pending.empty()) {
        const Expr *e = pending.back();
        pending.pop_back();
        if (!e)
            continue;
        if (isAggregate(*e))
            return true;
        for (const ExprPtr &a : e->args)
            pending.push_back(a.get());
    }
    return false;
}

bool sameName(const QStringList &a, const QStringList &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    if (a.last().compare(b.last(), Qt::CaseInsensitive) != 0)
        return false;
    // A qualified and an unqualified name of the same column are the same column here.
    if (a.size() >= 2 && b.size() >= 2)
        return a[a.size() - 2].compare(b[b.size() - 2], Qt::CaseInsensitive) == 0;
    return true;
}

} // namespace

// Whether two expressions are written alike: the same operators, functions, columns and
// literal texts.
static bool sameExpr(const Expr &x, const Expr &y, const std::vector<Literal> &literals)
{
    std::vector<std::pair<const Expr *, const Expr *>> pending {{&x, &y}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (!a || !b) {
            if (a != b)
                return false;
            continue;
        }
        if (a->kind != b->kind || a->op != b->op || a->negated != b->negated
            || a->distinct != b->distinct || a->simpleCase != b->simpleCase
            || a->hasElse != b->hasElse || a->args.size() != b->args.size()
            || a->typeSpec.name != b->typeSpec.name || a->typeSpec.length != b->typeSpec.length
            || a->typeSpec.scale != b->typeSpec.scale || a->sub != b->sub
            || !sameName(a->name, b->name))
            return false;
        if (a->kind == Expr::Kind::Literal) {
            const auto n = static_cast<int>(literals.size());
            if (a->literal < 0 || b->literal < 0 || a->literal >= n || b->literal >= n)
                return a->literal == b->literal;
            const Literal &la = literals[static_cast<size_t>(a->literal)];
            const Literal &lb = literals[static_cast<size_t>(b->literal)];
            if (la.kind != lb.kind || la.raw != lb.raw)
                return false;
        }
        for (size_t i = 0; i < a->args.size(); ++i)
            pending.emplace_back(a->args[i].get(), b->args[i].get());
    }
    return true;
}

QString Emitter::textRule(const Em &em) const
{
    // Text, and values whose type is known only per row, follow the server's text rules
    // (letter case and trailing blanks do not count) when they are compared, grouped, sorted or
    // de-duplicated.
    if (em.type == Type::Text || em.type == Type::Unknown)
        return em.sql + QStringLiteral(" COLLATE TSQL");
    return em.sql;
}

QString Emitter::charPadded(const QString &sql, const TypeSpec &type) const
{
    if (type.type != Type::Text
        || (type.name != QLatin1String("char") && type.name != QLatin1String("nchar")))
        return sql;
    const int length = type.length > 0 ? type.length : 1;
    return QStringLiteral("tsql_char(") + sql + QStringLiteral(", ") + QString::number(length)
        + QLatin1Char(')');
}

QString Emitter::likeRange(const Expr &e, const Em &x)
{
    // col LIKE 'abc%' also gets the range of texts that begin with abc, so that an index on the
    // column serves it (the LIKE function alone reads every row). The pattern's value decides
    // the translation, so it is baked into the statement's shape.
    if (e.negated || e.args.size() != 2 || e.args[0]->kind != Expr::Kind::Column
        || e.args[1]->kind != Expr::Kind::Literal || x.type != Type::Text
        || !x.sql.startsWith(QLatin1Char('"')) || m_frame != &m_top)
        return QString();
    const Literal &lit = (*m_frame->literals)[static_cast<size_t>(e.args[1]->literal)];
    if (lit.kind != LitKind::String)
        return QString();
    if (!m_top.inlineLiterals)
        m_baked.push_back(e.args[1]->literal);
    const QString pattern = literalValue(lit).toString();
    QString prefix;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            break;
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return QString();
        prefix += c.toLower();
    }
    if (prefix.isEmpty())
        return QString();
    // The bounds differ from the prefix in its last character, a lower-case letter or a digit,
    // so that neither bound is a letter the collation folds.
    const QChar last = prefix.back();
    if (!((last >= QLatin1Char('a') && last <= QLatin1Char('z'))
          || (last >= QLatin1Char('0') && last <= QLatin1Char('9'))))
        return QString();
    QString low = prefix;
    QString high = prefix;
    low.back() = QChar(last.unicode() - 1);
    high.back() = QChar(last.unicode() + 1);
    return QLatin1Char('(') + x.sql + QStringLiteral(" > ") + sqlLiteral(QVariant(low))
        + QStringLiteral(" COLLATE TSQL AND ") + x.sql + QStringLiteral(" < ")
        + sqlLiteral(QVariant(high)) + QStringLiteral(" COLLATE TSQL)");
}

void Emitter::prepareGrouping(const QuerySpec &q, Scope &scope)
{
    bool grouped = !q.groupBy.empty() || q.having;
    for (size_t i = 0; i < q.items.size() && !grouped; ++i) {
        if (q.items[i].expr && hasAggregate(q.items[i].expr.get()))
            grouped = true;
    }
    scope.grouped = grouped;
    scope.groupBy = &q.groupBy;
}

bool Emitter::groupedExpr(const Expr &e, const Scope *scope) const
{
    if (!scope || !scope->grouped || scope->clause.isEmpty() || scope->inAggregate > 0
        || scope->inGrouped > 0 || !scope->groupBy)
        return false;
    if (e.kind == Expr::Kind::Column || e.kind == Expr::Kind::Literal)
        return false;
    for (const ExprPtr &g : *scope->groupBy) {
        if (g->kind == e.kind && sameExpr(*g, e, *m_frame->literals))
            return true;
    }
    return false;
}

void Emitter::checkGrouped(const Scope &s, const QString &alias, const QString &key,
                           const QString &column, int pos) const
{
    if (!s.grouped || s.clause.isEmpty() || s.inAggregate > 0 || s.inGrouped > 0)
        return;
    if (s.groupedColumns.contains(key))
        return;
    const QString name = alias.isEmpty() ? column : alias + QLatin1Char('.') + column;
    if (s.clause == QLatin1String("ORDER BY"))
        fail(QStringLiteral("Column \"%1\" is invalid in the ORDER BY clause because it is not "
                            "contained in either an aggregate function or the GROUP BY clause.")
                 .arg(name),
             QStringLiteral("ORDER BY"), pos);
    fail(QStringLiteral("Column '%1' is invalid in the %2 because it is not contained in either "
                        "an aggregate function or the GROUP BY clause.")
             .arg(name,
                  s.clause == QLatin1String("HAVING") ? QStringLiteral("HAVING clause")
                                                      : QStringLiteral("select list")),
         s.clause, pos);
}

void Emitter::checkDistinctOrder(const QuerySpec &q, const Expr &e) const
{
    for (const SelectItem &item : q.items) {
        if (item.star) {
            if (e.kind == Expr::Kind::Column)
                return;
            continue;
        }
        if (item.expr && sameExpr(*item.expr, e, *m_frame->literals))
            return;
    }
    fail(QStringLiteral("ORDER BY items must appear in the select list if SELECT DISTINCT is "
                        "specified."),
         QStringLiteral("ORDER BY"), e.pos);
}

Emitter::Em Emitter::aggregateCall(const Expr &e, const Scope *scope)
{
    if (!isAggregate(e))
        return function(e, scope);
    if (scope)
        ++scope->inAggregate;
    try {
        Em out;
        bool done = false;
        const bool textual = e.op == QLatin1String("min") || e.op == QLatin1String("max")
            || ((e.op == QLatin1String("count") || e.op == QLatin1String("count_big"))
                && e.distinct);
        if (textual && e.args.size() == 1) {
            // Text is compared by the server's rules: MIN('b', 'A') is 'A', and COUNT(DISTINCT)
            // counts 'x' and 'X ' once.
            const size_t mark = m_params.size();
            const size_t bakedMark = m_baked.size();
            Em x = emitExpr(*e.args[0], scope);
            if (x.type == Type::Text || x.type == Type::Unknown) {
                const bool count = e.op.startsWith(QLatin1String("count"));
                out = Em {(count ? QStringLiteral("count") : e.op) + QLatin1Char('(')
                              + (e.distinct ? QStringLiteral("DISTINCT ") : QString()) + textRule(x)
                              + QLatin1Char(')'),
                          count ? Type::Int : x.type};
                done = true;
            } else {
                m_params.resize(mark);
                m_baked.resize(bakedMark);
            }
        }
        if (!done)
            out = function(e, scope);
        if (scope)
            --scope->inAggregate;
        return out;
    } catch (...) {
        if (scope)
            --scope->inAggregate;
        throw;
    }
}

Emitter::Em Emitter::scalarSubquery(const Expr &e, const Scope *scope)
{
    SpecOut s = select(*e.sub, scope);
    if (s.columns.size() != 1)
        fail(QStringLiteral("Only one expression can be specified in the select list when "
                            "the subquery is not introduced with EXISTS."),
             QStringLiteral("subquery"), e.pos);
    bool single = false;
    if (e.sub->parts.size() == 1) {
        const QuerySpec &q = e.sub->parts[0];
        if (q.top && q.top->kind == Expr::Kind::Literal
            && (*m_frame->literals)[static_cast<size_t>(q.top->literal)].kind == LitKind::Integer)
            single = bakedInt(*q.top) <= 1;
        if (!single && q.groupBy.empty() && !q.items.empty()) {
            // An aggregate without GROUP BY gives exactly one row.
            single = true;
            for (const SelectItem &item : q.items)
                single = single && item.expr && hasAggregate(item.expr.get());
        }
    }
    if (single) {
        Em r {QLatin1Char('(') + s.sql + QLatin1Char(')'), s.columns[0].type};
        r.num = s.columns[0].num;
        return r;
    }
    // A subquery used as a value may give one row at most: the second row is refused, as the
    // server does.
    Em r {QStringLiteral("(SELECT tsql_single(\"v\".") + quoted(s.columns[0].name)
              + QStringLiteral(") FROM (") + s.sql + QStringLiteral(") AS \"v\")"),
          s.columns[0].type};
    r.num = s.columns[0].num;
    return r;
}

Emitter::Em Emitter::binary(const Expr &e, const Scope *scope)
{
    if (e.op == QLatin1String("and") || e.op == QLatin1String("or"))
        return logicalChain(e, scope);
    // a + b + c ... is a tree leaning left, as deep as the chain is long: it is walked down its
    // left side in a loop and built up again from the first term.
    std::vector<const Expr *> spine;
    const Expr *x = &e;
    while (true) {
        spine.push_back(x);
        const Expr *left = x->args[0].get();
        if (left->kind != Expr::Kind::Binary || left->op == QLatin1String("and")
            || left->op == QLatin1String("or") || groupedExpr(*left, scope))
            break;
        x = left;
    }
    std::vector<Em> terms;
    terms.reserve(spine.size() + 1);
    terms.push_back(emitExpr(*spine.back()->args[0], scope));
    for (auto it = spine.rbegin(); it != spine.rend(); ++it)
        terms.push_back(emitExpr(*(*it)->args[1], scope));
    if (spine.size() >= kBalancedFrom) {
        // One associative operator over terms of one type: grouped as a balanced tree, so that
        // SQLite's limit on nesting is not reached.
        const QString &op = e.op;
        bool balanced = op == QLatin1String("+") || op == QLatin1String("*")
            || op == QLatin1String("&") || op == QLatin1String("|");
        const Type t = terms[0].type;
        balanced = balanced && (t == Type::Int || (t == Type::Text && op == QLatin1String("+")));
        for (size_t i = 0; i < spine.size() && balanced; ++i)
            balanced = spine[i]->op == op;
        for (size_t i = 0; i < terms.size() && balanced; ++i)
            balanced = terms[i].type == t;
        if (balanced) {
            // The partial sums run in 64 bits; the whole is checked against the int range once,
            // which also keeps the range checks from deepening the tree.
            const bool checks = m_intChecks;
            m_intChecks = false;
            while (terms.size() > 1) {
                std::vector<Em> next;
                next.reserve(terms.size() / 2 + 1);
                for (size_t i = 0; i + 1 < terms.size(); i += 2)
                    next.push_back(binaryOp(e, std::move(terms[i]), std::move(terms[i + 1])));
                if (terms.size() % 2)
                    next.push_back(std::move(terms.back()));
                terms = std::move(next);
            }
            m_intChecks = checks;
            Em whole = std::move(terms[0]);
            if (checks && whole.type == Type::Int && whole.num.isInteger())
                whole.sql = QStringLiteral("tsql_int(") + whole.sql + QStringLiteral(", ")
                    + QString::number(whole.num.precision) + QLatin1Char(')');
            return whole;
        }
    }
    if (spine.size() > kDeepestChain)
        fail(QStringLiteral("Some part of your SQL statement is nested too deeply. Rewrite the "
                            "query or break it up into smaller queries."),
             QStringLiteral("expression"), e.pos);
    Em acc = std::move(terms[0]);
    size_t k = 1;
    for (auto it = spine.rbegin(); it != spine.rend(); ++it, ++k)
        acc = binaryOp(**it, std::move(acc), std::move(terms[k]));
    return acc;
}

Emitter::Em Emitter::logicalChain(const Expr &e, const Scope *scope)
{
    // The operands of a run of one logical operator, in the order written, without recursion.
    std::vector<const Expr *> operands;
    std::vector<const Expr *> pending {&e};
    while (!pending.empty()) {
        const Expr *x = pending.back();
        pending.pop_back();
        if (x->kind == Expr::Kind::Binary && x->op == e.op) {
            pending.push_back(x->args[1].get());
            pending.push_back(x->args[0].get());
            continue;
        }
        operands.push_back(x);
    }
    const QString joiner
        = e.op == QLatin1String("and") ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
    std::vector<QString> terms;
    terms.reserve(operands.size());
    for (const Expr *x : operands)
        terms.push_back(emitExpr(*x, scope).sql);
    if (terms.size() < kBalancedFrom) {
        QString sql = terms[0];
        for (size_t i = 1; i < terms.size(); ++i)
            sql = QLatin1Char('(') + sql + joiner + terms[i] + QLatin1Char(')');
        return Em {sql, Type::Bit};
    }
    while (terms.size() > 1) {
        std::vector<QString> next;
        next.reserve(terms.size() / 2 + 1);
        for (size_t i = 0; i + 1 < terms.size(); i += 2)
            next.push_back(QLatin1Char('(') + terms[i] + joiner + terms[i + 1] + QLatin1Char(')'));
        if (terms.size() % 2)
            next.push_back(terms.back());
        terms = std::move(next);
    }
    return Em {terms[0], Type::Bit};
}

} // namespace tsql
