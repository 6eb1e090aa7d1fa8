#include "platform/tsql/Emitter.h"

#include "platform/tsql/EmitterScope.h"
#include "platform/tsql/Error.h"

namespace tsql {

namespace {

bool isNumeric(Type t)
{
    return t == Type::Bit || t == Type::Int || t == Type::Float;
}

QString call(const char *fn, const QString &a)
{
    return QLatin1String(fn) + QLatin1Char('(') + a + QLatin1Char(')');
}

QString call(const char *fn, const QString &a, const QString &b)
{
    return QLatin1String(fn) + QLatin1Char('(') + a + QStringLiteral(", ") + b + QLatin1Char(')');
}

QString call(const char *fn, const QString &a, const QString &b, const QString &c)
{
    return QLatin1String(fn) + QLatin1Char('(') + a + QStringLiteral(", ") + b
        + QStringLiteral(", ") + c + QLatin1Char(')');
}

} // namespace

Emitter::Emitter(const Catalog &catalog, const QString &currentDb,
                 const std::vector<Literal> &literals, bool inlineLiterals, VariableType variables,
                 const QString &text)
    : m_catalog(catalog)
    , m_db(currentDb)
    , m_variables(std::move(variables))
{
    m_top.literals = &literals;
    m_top.inlineLiterals = inlineLiterals;
    m_top.text = text;
    m_frame = &m_top;
}

void Emitter::fail(const QString &message, const QString &construct, int pos) const
{
    int line = 0;
    int column = 0;
    lineColumn(m_frame->text, pos, line, column);
    throw Error(message, construct, line, column);
}

QString Emitter::quoted(const QString &name) const
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString Emitter::tableSql(const Table &t) const
{
    return quoted(t.db) + QLatin1Char('.') + quoted(t.name);
}

QString Emitter::sqlAlias(const QString &alias) const
{
    return alias + m_frame->aliasSuffix;
}

int Emitter::addParam(Param p)
{
    m_params.push_back(std::move(p));
    return static_cast<int>(m_params.size());
}

QString Emitter::collated(const Em &em) const
{
    return em.sql + QStringLiteral(" COLLATE TSQL");
}

int Emitter::bakedInt(const Expr &e)
{
    const Expr *x = &e;
    int sign = 1;
    if (x->kind == Expr::Kind::Unary && x->op == QLatin1String("-") && !x->args.empty()) {
        sign = -1;
        x = x->args[0].get();
    }
    if (x->kind != Expr::Kind::Literal)
        fail(QStringLiteral("A constant number is expected here."), QStringLiteral("constant"),
             e.pos);
    const Literal &lit = (*m_frame->literals)[static_cast<size_t>(x->literal)];
    if (lit.kind != LitKind::Integer)
        fail(QStringLiteral("A constant whole number is expected here."),
             QStringLiteral("constant"), e.pos);
    if (m_frame == &m_top && !m_top.inlineLiterals)
        m_baked.push_back(x->literal);
    return sign * lit.raw.toInt();
}

QString Emitter::unitOf(const Expr &e)
{
    QString u;
    if (e.kind == Expr::Kind::Column && e.name.size() == 1) {
        u = e.name[0].toLower();
    } else if (e.kind == Expr::Kind::Literal) {
        const Literal &lit = (*m_frame->literals)[static_cast<size_t>(e.literal)];
        u = literalValue(lit).toString().toLower();
        if (m_frame == &m_top && !m_top.inlineLiterals)
            m_baked.push_back(e.literal);
    }
    static const char *const table[][2] = {{"year", "year"},       {"yy", "year"},
                                           {"yyyy", "year"},       {"quarter", "quarter"},
                                           {"qq", "quarter"},      {"q", "quarter"},
                                           {"month", "month"},     {"mm", "month"},
                                           {"m", "month"},         {"dayofyear", "dayofyear"},
                                           {"dy", "dayofyear"},    {"y", "dayofyear"},
                                           {"day", "day"},         {"dd", "day"},
                                           {"d", "day"},           {"week", "week"},
                                           {"wk", "week"},         {"ww", "week"},
                                           {"weekday", "weekday"}, {"dw", "weekday"},
                                           {"w", "weekday"},       {"hour", "hour"},
                                           {"hh", "hour"},         {"minute", "minute"},
                                           {"mi", "minute"},       {"n", "minute"},
                                           {"second", "second"},   {"ss", "second"},
                                           {"s", "second"},        {"millisecond", "millisecond"},
                                           {"ms", "millisecond"}};
    for (const auto &row : table) {
        if (u == QLatin1String(row[0]))
            return QLatin1Char('\'') + QLatin1String(row[1]) + QLatin1Char('\'');
    }
    fail(QStringLiteral("Invalid date part '%1'.").arg(u), QStringLiteral("date part"), e.pos);
}

Emitter::Em Emitter::emitExpr(const Expr &e, const Scope *scope)
{
    if (groupedExpr(e, scope)) {
        // An expression of the GROUP BY list: its columns may stand outside an aggregate.
        ++scope->inGrouped;
        try {
            Em x = emitExpr(e, scope);
            --scope->inGrouped;
            return x;
        } catch (...) {
            --scope->inGrouped;
            throw;
        }
    }
    switch (e.kind) {
    case Expr::Kind::Literal:
        return literal(e);
    case Expr::Kind::Null:
        return Em {QStringLiteral("NULL"), Type::Null};
    case Expr::Kind::Column:
        return column(e, scope);
    case Expr::Kind::Variable:
        return variable(e, scope);
    case Expr::Kind::Unary:
        return unary(e, scope);
    case Expr::Kind::Binary:
        return binary(e, scope);
    case Expr::Kind::Func:
        return aggregateCall(e, scope);
    case Expr::Kind::CountStar:
        return Em {QStringLiteral("count(*)"), Type::Int};
    case Expr::Kind::Case:
        return caseExpr(e, scope);
    case Expr::Kind::Cast:
        return cast(e, scope);
    case Expr::Kind::Subquery:
        return scalarSubquery(e, scope);
    case Expr::Kind::Exists: {
        SpecOut s = select(*e.sub, scope);
        return Em {QStringLiteral("(EXISTS (") + s.sql + QStringLiteral("))"), Type::Bit};
    }
    case Expr::Kind::In:
        return in(e, scope);
    case Expr::Kind::Between: {
        Em x = emitExpr(*e.args[0], scope);
        Em lo = emitExpr(*e.args[1], scope);
        Em hi = emitExpr(*e.args[2], scope);
        Type top = std::max({x.type, lo.type, hi.type});
        if (top > Type::Null) {
            coerce(x, top);
            coerce(lo, top);
            coerce(hi, top);
        }
        const QString xs = x.type == Type::Text ? collated(x) : x.sql;
        return Em {QLatin1Char('(') + xs + (e.negated ? QStringLiteral(" NOT") : QString())
                       + QStringLiteral(" BETWEEN ") + lo.sql + QStringLiteral(" AND ") + hi.sql
                       + QLatin1Char(')'),
                   Type::Bit};
    }
    case Expr::Kind::Like: {
        Em x = emitExpr(*e.args[0], scope);
        Em p = emitExpr(*e.args[1], scope);
        if (x.type == Type::DateTime)
            x.sql = call("tsql_dtstr", x.sql, QStringLiteral("0"), QStringLiteral("0"));
        QString sql = QLatin1Char('(') + x.sql + (e.negated ? QStringLiteral(" NOT") : QString())
            + QStringLiteral(" LIKE ") + p.sql;
        if (e.args.size() > 2)
            sql += QStringLiteral(" ESCAPE ") + emitExpr(*e.args[2], scope).sql;
        sql += QLatin1Char(')');
        const QString range = likeRange(e, x);
        if (!range.isEmpty())
            sql = QLatin1Char('(') + sql + QStringLiteral(" AND ") + range + QLatin1Char(')');
        return Em {sql, Type::Bit};
    }
    case Expr::Kind::IsNull: {
        Em x = emitExpr(*e.args[0], scope);
        return Em {
            QLatin1Char('(') + x.sql
                + (e.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)")),
            Type::Bit};
    }
    }
    fail(QStringLiteral("Unsupported expression."), QStringLiteral("expression"), e.pos);
}

Emitter::Em Emitter::literal(const Expr &e)
{
    const Literal &lit = (*m_frame->literals)[static_cast<size_t>(e.literal)];
    const Type t = lit.kind == LitKind::String ? Type::Text
        : lit.kind == LitKind::Integer         ? Type::Int
                                               : Type::Float;
    // The digits of a number literal give its type (1.005 is decimal(4,3)); the statement's
    // shape holds them, so the type stays right when the literal becomes a parameter.
    const NumType num = lit.kind == LitKind::String
        ? NumType()
        : numTypeOfLiteral(lit.raw, lit.kind == LitKind::Decimal);
    if (m_frame->inlineLiterals) {
        Em em {sqlLiteral(literalValue(lit)), t};
        em.literal = e.literal;
        em.num = num;
        return em;
    }
    Param p;
    p.literal = e.literal;
    const int index = addParam(p);
    Em em {QLatin1Char('?') + QString::number(index), t};
    em.param = index;
    em.num = num;
    return em;
}

Emitter::Em Emitter::column(const Expr &e, const Scope *scope)
{
    const QString &col = e.name.last();
    const QString qualifier = e.name.size() >= 2 ? e.name[e.name.size() - 2] : QString();
    for (const Scope *s = scope; s; s = s->parent) {
        const Source *found = nullptr;
        int index = -1;
        for (const Source &src : s->sources) {
            if (!qualifier.isEmpty() && src.alias.compare(qualifier, Qt::CaseInsensitive) != 0
                && src.table.compare(qualifier, Qt::CaseInsensitive) != 0)
                continue;
            for (size_t i = 0; i < src.columns.size(); ++i) {
                if (src.columns[i].name.compare(col, Qt::CaseInsensitive) != 0)
                    continue;
                if (found && found != &src)
                    fail(QStringLiteral("Ambiguous column name '%1'.").arg(col),
                         QStringLiteral("column"), e.pos);
                if (!found) {
                    found = &src;
                    index = static_cast<int>(i);
                }
            }
        }
        if (found) {
            const OutColumn &c = found->columns[static_cast<size_t>(index)];
            m_lastColumn = found->alias.toLower() + QLatin1Char('.') + c.name.toLower();
            checkGrouped(*s, found->alias, m_lastColumn, c.name, e.pos);
            Em r {found->apply      ? applyColumn(*found, s, index)
                      : found->bare ? quoted(c.name)
                                    : quoted(found->sqlAlias) + QLatin1Char('.') + quoted(c.name),
                  c.type};
            r.num = c.num;
            return r;
        }
    }
    if (e.name.size() == 1 && e.name[0].startsWith(QLatin1Char('@')))
        fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(col),
             QStringLiteral("variable"), e.pos);
    fail(QStringLiteral("Invalid column name '%1'.").arg(e.name.join(QLatin1Char('.'))),
         QStringLiteral("column"), e.pos);
}

Emitter::Em Emitter::variable(const Expr &e, const Scope *)
{
    if (m_frame->args) {
        auto it = m_frame->args->constFind(e.op);
        if (it != m_frame->args->constEnd()) {
            const Frame *saved = m_frame;
            m_frame = saved->caller;
            Em r = emitExpr(*it.value(), saved->argScope);
            m_frame = saved;
            return r;
        }
    }
    if (e.op == QLatin1String("@@identity"))
        return Em {QStringLiteral("last_insert_rowid()"), Type::Int};
    if (e.op == QLatin1String("@@rowcount"))
        return Em {QStringLiteral("changes()"), Type::Int};
    if (e.op == QLatin1String("@@error"))
        return Em {QStringLiteral("0"), Type::Int};
    const TypeSpec *t = (m_frame == &m_top && m_variables) ? m_variables(e.op) : nullptr;
    if (!t)
        fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(e.op),
             QStringLiteral("variable"), e.pos);
    Param p;
    p.variable = e.op;
    const int index = addParam(p);
    Em r {QLatin1Char('?') + QString::number(index), t->type};
    r.num = numTypeOf(*t);
    return r;
}

Emitter::Em Emitter::unary(const Expr &e, const Scope *scope)
{
    Em x = emitExpr(*e.args[0], scope);
    if (e.op == QLatin1String("not"))
        return Em {QStringLiteral("(NOT ") + x.sql + QLatin1Char(')'), Type::Bit};
    if (e.op == QLatin1String("+"))
        return x;
    if (x.literal >= 0 && e.op == QLatin1String("-")) {
        x.sql = QStringLiteral("(-") + x.sql + QLatin1Char(')');
        x.literal = -1;
        return x;
    }
    Em r {QLatin1Char('(') + e.op + x.sql + QLatin1Char(')'),
          isNumeric(x.type) ? x.type : Type::Unknown};
    if (e.op == QLatin1String("-"))
        r.num = x.num;
    return r;
}

void Emitter::coerce(Em &em, Type target, bool dateOnly)
{
    if (target <= Type::Null || em.type == Type::Null)
        return;
    if (em.type == target && !dateOnly)
        return;
    if (target == Type::Text && em.type != Type::DateTime)
        return; // numbers win in comparisons; text columns store numbers as text by affinity
    if (isNumeric(target) && isNumeric(em.type))
        return;
    const Conv conv = dateOnly ? Conv::Date : target == Type::Int ? Conv::Number : convFor(target);
    if (em.param > 0) {
        m_params[static_cast<size_t>(em.param - 1)].conv = conv;
        em.type = target;
        return;
    }
    if (em.literal >= 0) {
        const Literal &lit = (*m_frame->literals)[static_cast<size_t>(em.literal)];
        em.sql = sqlLiteral(convertValue(literalValue(lit), conv));
        em.type = target;
        return;
    }
    switch (target) {
    case Type::DateTime:
        if (dateOnly)
            em.sql = call("tsql_date", em.sql);
        else if (em.type != Type::DateTime)
            em.sql = call("tsql_dt", em.sql);
        break;
    case Type::Bit:
        em.sql = call("tsql_bit", em.sql);
        break;
    case Type::Int:
    case Type::Float:
        if (em.type == Type::Text || em.type == Type::Unknown)
            em.sql = call("tsql_num", em.sql);
        break;
    case Type::Text:
        em.sql = call("tsql_dtstr", em.sql, QStringLiteral("0"), QStringLiteral("0"));
        break;
    default:
        break;
    }
    em.type = target;
}

Emitter::Em Emitter::comparison(const QString &op, Em l, Em r)
{
    if (l.type != r.type && l.type > Type::Null && r.type > Type::Null) {
        if (l.type < r.type)
            coerce(l, r.type);
        else
            coerce(r, l.type);
    }
    const bool text = (l.type == Type::Text || r.type == Type::Text) && !isNumeric(l.type)
        && !isNumeric(r.type) && l.type != Type::DateTime && r.type != Type::DateTime;
    return Em {QLatin1Char('(') + l.sql + QLatin1Char(' ') + op + QLatin1Char(' ')
                   + (text ? collated(r) : r.sql) + QLatin1Char(')'),
               Type::Bit};
}

Emitter::Em Emitter::binaryOp(const Expr &e, Em l, Em r)
{
    const QString &op = e.op;
    if (op == QLatin1String("=") || op == QLatin1String("<>") || op == QLatin1String("<")
        || op == QLatin1String(">") || op == QLatin1String("<=") || op == QLatin1String(">="))
        return comparison(op, std::move(l), std::move(r));
    auto arithmeticType = [](Type a, Type b) {
        if (!isNumeric(a) && a != Type::Null)
            return Type::Unknown;
        if (!isNumeric(b) && b != Type::Null)
            return Type::Unknown;
        if (a == Type::Float || b == Type::Float)
            return Type::Float;
        if (a == Type::Null && b == Type::Null)
            return Type::Int;
        return Type::Int;
    };
    if (op == QLatin1String("+")) {
        const bool lText = l.type == Type::Text;
        const bool rText = r.type == Type::Text;
        if ((lText && (rText || r.type == Type::Null)) || (rText && l.type == Type::Null))
            return Em {QLatin1Char('(') + l.sql + QStringLiteral(" || ") + r.sql + QLatin1Char(')'),
                       Type::Text};
        // A number added to a datetime counts days, fractions too (0.5 is noon). Text met by a
        // datetime is read as one, as the server does: 'abc' + GETDATE() is refused.
        if (l.type == Type::DateTime && (isNumeric(r.type) || r.type == Type::Null || rText))
            return Em {call("tsql_dtplus", l.sql, r.sql), Type::DateTime};
        if (r.type == Type::DateTime && (isNumeric(l.type) || l.type == Type::Null || lText))
            return Em {call("tsql_dtplus", r.sql, l.sql), Type::DateTime};
        if ((isNumeric(l.type) || l.type == Type::Null)
            && (isNumeric(r.type) || r.type == Type::Null))
            return numeric(op, l, r, arithmeticType(l.type, r.type));
        if ((lText && isNumeric(r.type)) || (rText && isNumeric(l.type))) {
            // Text meets a number: the text is converted to the number's type.
            coerce(lText ? l : r, lText ? r.type : l.type);
            return numeric(op, l, r, arithmeticType(l.type, r.type));
        }
        // Types unknown at translation: decided per row.
        Type t = Type::Unknown;
        if (lText || rText)
            t = Type::Text;
        return Em {call("tsql_add", l.sql, r.sql), t};
    }
    if (op == QLatin1String("-") && l.type == Type::DateTime
        && (isNumeric(r.type) || r.type == Type::Null))
        return Em {call("tsql_dtplus", l.sql, QStringLiteral("-(") + r.sql + QLatin1Char(')')),
                   Type::DateTime};
    if (l.type == Type::DateTime || r.type == Type::DateTime)
        fail(QStringLiteral("Operator '%1' is not supported on datetime values here.").arg(op),
             QStringLiteral("operator"), e.pos);
    if (l.type == Type::Text)
        coerce(l, Type::Float);
    if (r.type == Type::Text)
        coerce(r, Type::Float);
    const Type t = arithmeticType(l.type, r.type);
    if (op == QLatin1String("^"))
        return Em {QStringLiteral("((") + l.sql + QStringLiteral(" | ") + r.sql
                       + QStringLiteral(") - (") + l.sql + QStringLiteral(" & ") + r.sql
                       + QStringLiteral("))"),
                   Type::Int};
    return numeric(op, l, r, t);
}

Emitter::Em Emitter::numeric(const QString &op, const Em &l, const Em &r, Type t)
{
    const NumType num = t == Type::Float || t == Type::Int
        ? tsql::arithmeticType(op.isEmpty() ? QChar() : op[0], l.num, r.num)
        : NumType();
    const bool divide = op == QLatin1String("/") || op == QLatin1String("%");
    Em out;
    out.type = t;
    out.num = num;
    if (num.isDecimal() && t == Type::Float) {
        // Exact numbers: the double result is rounded back to the scale of the result type.
        if (divide)
            out.sql = call(op == QLatin1String("/") ? "tsql_ddiv" : "tsql_dmod", l.sql, r.sql,
                           QString::number(num.scale));
        else
            out.sql = call("tsql_dec",
                           QLatin1Char('(') + l.sql + QLatin1Char(' ') + op + QLatin1Char(' ')
                               + r.sql + QLatin1Char(')'),
                           QString::number(num.scale));
        return out;
    }
    if (divide) {
        // The server refuses a division by zero; SQLite would give NULL.
        out.sql = QLatin1Char('(') + l.sql + QLatin1Char(' ') + op
            + QStringLiteral(" tsql_nonzero(") + r.sql + QStringLiteral("))");
        return out;
    }
    out.sql = QLatin1Char('(') + l.sql + QLatin1Char(' ') + op + QLatin1Char(' ') + r.sql
        + QLatin1Char(')');
    // Integer results keep to the range of their type, as on the server.
    if (num.isInteger() && t == Type::Int && m_intChecks)
        out.sql = call("tsql_int", out.sql, QString::number(num.precision));
    return out;
}

Emitter::Em Emitter::in(const Expr &e, const Scope *scope)
{
    Em x = emitExpr(*e.args[0], scope);
    QString list;
    if (e.sub) {
        SpecOut s = select(*e.sub, scope);
        if (s.columns.size() != 1)
            fail(QStringLiteral("Only one expression can be specified in the select list when "
                                "the subquery is not introduced with EXISTS."),
                 QStringLiteral("IN"), e.pos);
        if (x.type == Type::Text && s.columns[0].type > Type::Text)
            coerce(x, s.columns[0].type);
        list = s.sql;
    } else {
        std::vector<Em> items;
        Type top = x.type;
        for (size_t i = 1; i < e.args.size(); ++i) {
            items.push_back(emitExpr(*e.args[i], scope));
            top = std::max(top, items.back().type);
        }
        coerce(x, top);
        QStringList parts;
        for (Em &item : items) {
            coerce(item, top);
            parts << item.sql;
        }
        list = parts.join(QStringLiteral(", "));
    }
    const QString xs = x.type == Type::Text ? collated(x) : x.sql;
    return Em {QLatin1Char('(') + xs
                   + (e.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) + list
                   + QStringLiteral("))"),
               Type::Bit};
}

Emitter::Em Emitter::caseExpr(const Expr &e, const Scope *scope)
{
    size_t i = 0;
    Em operand;
    if (e.simpleCase)
        operand = emitExpr(*e.args[i++], scope);
    const size_t end = e.args.size() - (e.hasElse ? 1 : 0);
    std::vector<Em> whens;
    std::vector<Em> results;
    for (; i + 1 < end + 1 && i < end; i += 2) {
        whens.push_back(emitExpr(*e.args[i], scope));
        results.push_back(emitExpr(*e.args[i + 1], scope));
    }
    if (e.hasElse)
        results.push_back(emitExpr(*e.args.back(), scope));
    Type top = Type::Unknown;
    for (const Em &r : results)
        top = std::max(top, r.type);
    if (top == Type::Null)
        top = Type::Unknown;
    for (Em &r : results)
        coerce(r, top);
    QString sql = QStringLiteral("(CASE");
    if (e.simpleCase) {
        Type wt = operand.type;
        for (const Em &w : whens)
            wt = std::max(wt, w.type);
        coerce(operand, wt);
        for (Em &w : whens)
            coerce(w, wt);
        sql += QLatin1Char(' ') + (operand.type == Type::Text ? collated(operand) : operand.sql);
    }
    for (size_t k = 0; k < whens.size(); ++k)
        sql += QStringLiteral(" WHEN ") + whens[k].sql + QStringLiteral(" THEN ") + results[k].sql;
    if (e.hasElse)
        sql += QStringLiteral(" ELSE ") + results.back().sql;
    sql += QStringLiteral(" END)");
    Em out {sql, top};
    // Results of one exact type keep it (their text shows its decimals).
    bool sameNum = !results.empty();
    for (const Em &r : results) {
        const NumType &a = r.num;
        const NumType &b = results.front().num;
        sameNum = sameNum && a.kind == b.kind && a.precision == b.precision && a.scale == b.scale;
    }
    if (sameNum)
        out.num = results.front().num;
    return out;
}

Emitter::Em Emitter::cast(const Expr &e, const Scope *scope)
{
    Em x = emitExpr(*e.args[0], scope);
    int style = -1;
    if (e.args.size() > 1)
        style = bakedInt(*e.args[1]);
    return castTo(std::move(x), e.typeSpec, style);
}

Emitter::Em Emitter::castTo(Em x, const TypeSpec &dataType, int style)
{
    const NumType target = numTypeOf(dataType);
    switch (dataType.type) {
    case Type::Text: {
        int length = dataType.max ? 0 : (dataType.length > 0 ? dataType.length : 30);
        TypeSpec padded = dataType;
        padded.length = length;
        if (x.type == Type::DateTime)
            return Em {charPadded(call("tsql_dtstr", x.sql, QString::number(style < 0 ? 0 : style),
                                       QString::number(length)),
                                  padded),
                       Type::Text};
        if (x.num.isDecimal() && x.type == Type::Float)
            // Decimals show all their decimals, money two (style 2: four), as on the server.
            return Em {charPadded(call("tsql_numstr", x.sql,
                                       QString::number(x.num.kind == NumType::Kind::Money
                                                           ? (style == 2 ? 4 : -2)
                                                           : static_cast<int>(x.num.scale)),
                                       QString::number(length)),
                                  padded),
                       Type::Text};
        return Em {charPadded(call("tsql_str", x.sql, QString::number(length)), padded),
                   Type::Text};
    }
    case Type::Int: {
        if (x.type == Type::DateTime)
            fail(QStringLiteral("Converting a datetime to a number is not supported."),
                 QStringLiteral("CAST"), 0);
        Em r {x.sql, Type::Int};
        r.num = target;
        // A whole number of a type no wider passes as it is; anything else is truncated and
        // checked against the range, and text must hold a whole number.
        if (!(x.type == Type::Int && x.num.isInteger() && x.num.precision <= target.precision))
            r.sql
                = call("tsql_conv", x.sql, QString::number(target.precision), QStringLiteral("-1"));
        return r;
    }
    case Type::Float: {
        if (target.isDecimal()) {
            Em r {x.sql, Type::Float};
            r.num = target;
            const bool same = x.type == Type::Float && x.num.kind == target.kind
                && x.num.scale == target.scale && x.num.precision <= target.precision;
            if (!same)
                r.sql = call("tsql_conv", x.sql,
                             QString::number(target.kind == NumType::Kind::Money
                                                 ? -static_cast<int>(target.precision)
                                                 : static_cast<int>(target.precision)),
                             QString::number(target.scale));
            return r;
        }
        if (x.type == Type::Text || x.type == Type::Unknown)
            x.sql = call("tsql_num", x.sql);
        Em r {QStringLiteral("CAST(") + x.sql + QStringLiteral(" AS REAL)"), Type::Float};
        r.num = target;
        return r;
    }
    case Type::Bit:
        return Em {call("tsql_bit", x.sql), Type::Bit};
    case Type::DateTime:
        if (style >= 0 && x.type != Type::DateTime)
            return Em {call("tsql_dtstyle", x.sql, QString::number(style),
                            QString::number(dataType.dateOnly ? 1 : 0)),
                       Type::DateTime};
        if (dataType.dateOnly)
            return Em {call("tsql_date", x.sql), Type::DateTime};
        if (x.type == Type::DateTime)
            return x;
        return Em {call("tsql_dt", x.sql), Type::DateTime};
    default:
        break;
    }
    return x;
}

} // namespace tsql
