#include "platform/tsql/Emitter.h"

#include "platform/tsql/EmitterScope.h"
#include "platform/tsql/Error.h"

namespace tsql {

namespace {

QString args(const std::vector<Emitter::Em> &a)
{
    QStringList parts;
    for (const auto &e : a)
        parts << e.sql;
    return parts.join(QStringLiteral(", "));
}

} // namespace

Emitter::Em Emitter::function(const Expr &e, const Scope *scope)
{
    const QString &f = e.op;
    if (!e.name.isEmpty() || f.startsWith(QLatin1String("fn_")))
        return userFunction(e, scope);
    auto need = [&](size_t lo, size_t hi) {
        if (e.args.size() < lo || e.args.size() > hi)
            fail(QStringLiteral("The %1 function requires %2 argument(s).")
                     .arg(f)
                     .arg(lo == hi ? QString::number(lo)
                                   : QStringLiteral("%1 to %2").arg(lo).arg(hi)),
                 QStringLiteral("function call"), e.pos);
    };
    auto all = [&](size_t from = 0) {
        std::vector<Em> out;
        for (size_t i = from; i < e.args.size(); ++i)
            out.push_back(emitExpr(*e.args[i], scope));
        return out;
    };
    auto simple = [&](const char *sqlName, size_t lo, size_t hi, Type type) {
        need(lo, hi);
        return Em {QLatin1String(sqlName) + QLatin1Char('(') + args(all()) + QLatin1Char(')'),
                   type};
    };
    auto dateArg = [&](size_t i) {
        Em d = emitExpr(*e.args[i], scope);
        if (d.type != Type::DateTime)
            coerce(d, Type::DateTime);
        return d;
    };

    if (f == QLatin1String("isnull")) {
        need(2, 2);
        Em a = emitExpr(*e.args[0], scope);
        Em b = emitExpr(*e.args[1], scope);
        const Type t = a.type > Type::Null ? a.type : b.type;
        coerce(b, t);
        Em r {QStringLiteral("ifnull(") + a.sql + QStringLiteral(", ") + b.sql + QLatin1Char(')'),
              t};
        r.num = a.type > Type::Null ? a.num : b.num;
        return r;
    }
    if (f == QLatin1String("coalesce")) {
        if (e.args.size() < 2)
            need(2, 2);
        std::vector<Em> a = all();
        Type t = Type::Unknown;
        for (const Em &x : a)
            t = std::max(t, x.type);
        for (Em &x : a)
            coerce(x, t);
        return Em {QStringLiteral("coalesce(") + args(a) + QLatin1Char(')'), t};
    }
    if (f == QLatin1String("nullif")) {
        need(2, 2);
        std::vector<Em> a = all();
        coerce(a[1], a[0].type);
        return Em {QStringLiteral("nullif(") + args(a) + QLatin1Char(')'), a[0].type};
    }
    if (f == QLatin1String("isnumeric"))
        return simple("tsql_isnumeric", 1, 1, Type::Int);
    if (f == QLatin1String("len"))
        return simple("tsql_len", 1, 1, Type::Int);
    if (f == QLatin1String("datalength"))
        return simple("length", 1, 1, Type::Int);
    if (f == QLatin1String("ltrim") || f == QLatin1String("rtrim") || f == QLatin1String("trim")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        if (x.type == Type::DateTime)
            coerce(x, Type::Text);
        return Em {f + QStringLiteral("(") + x.sql + QStringLiteral(", ' ')"), Type::Text};
    }
    if (f == QLatin1String("upper"))
        return simple("tsql_upper", 1, 1, Type::Text);
    if (f == QLatin1String("lower"))
        return simple("tsql_lower", 1, 1, Type::Text);
    if (f == QLatin1String("substring"))
        return simple("substr", 3, 3, Type::Text);
    if (f == QLatin1String("left")) {
        need(2, 2);
        std::vector<Em> a = all();
        return Em {QStringLiteral("substr(") + a[0].sql + QStringLiteral(", 1, ") + a[1].sql
                       + QLatin1Char(')'),
                   Type::Text};
    }
    if (f == QLatin1String("right"))
        return simple("tsql_right", 2, 2, Type::Text);
    if (f == QLatin1String("replace"))
        return simple("tsql_replace", 3, 3, Type::Text);
    if (f == QLatin1String("charindex"))
        return simple("tsql_charindex", 2, 3, Type::Int);
    if (f == QLatin1String("patindex"))
        return simple("tsql_patindex", 2, 2, Type::Int);
    if (f == QLatin1String("space"))
        return simple("tsql_space", 1, 1, Type::Text);
    if (f == QLatin1String("replicate"))
        return simple("tsql_replicate", 2, 2, Type::Text);
    if (f == QLatin1String("reverse")) {
        need(1, 1);
        fail(QStringLiteral("REVERSE is not supported."), QStringLiteral("function call"), e.pos);
    }
    if (f == QLatin1String("char") || f == QLatin1String("nchar"))
        return simple("char", 1, 1, Type::Text);
    if (f == QLatin1String("ascii") || f == QLatin1String("unicode"))
        return simple("unicode", 1, 1, Type::Int);
    if (f == QLatin1String("abs")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        Em r {QStringLiteral("abs(") + x.sql + QLatin1Char(')'), x.type};
        r.num = x.num;
        return r;
    }
    if (f == QLatin1String("sign")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        return Em {QStringLiteral("(CASE WHEN ") + x.sql + QStringLiteral(" > 0 THEN 1 WHEN ")
                       + x.sql + QStringLiteral(" < 0 THEN -1 WHEN ") + x.sql
                       + QStringLiteral(" = 0 THEN 0 END)"),
                   Type::Int};
    }
    if (f == QLatin1String("floor") || f == QLatin1String("ceiling")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        Em r {(f == QLatin1String("floor") ? QStringLiteral("tsql_floor(")
                                           : QStringLiteral("tsql_ceiling("))
                  + x.sql + QLatin1Char(')'),
              x.type == Type::Int ? Type::Int : Type::Float};
        // A decimal keeps its integral digits and loses its decimals; money stays money.
        r.num = x.num.kind == NumType::Kind::Decimal ? NumType::decimal(x.num.precision, 0) : x.num;
        return r;
    }
    if (f == QLatin1String("round")) {
        need(2, 3);
        std::vector<Em> a = all();
        const Type t = a[0].type;
        QString sql = QStringLiteral("tsql_round(") + args(a) + QLatin1Char(')');
        if (t == Type::Int)
            sql = QStringLiteral("CAST(") + sql + QStringLiteral(" AS INTEGER)");
        Em r {sql, t == Type::Int ? Type::Int : Type::Float};
        r.num = a[0].num;
        return r;
    }
    if (f == QLatin1String("power"))
        fail(QStringLiteral("POWER is not supported."), QStringLiteral("function call"), e.pos);
    if (f == QLatin1String("getdate") || f == QLatin1String("sysdatetime")
        || f == QLatin1String("current_timestamp")) {
        need(0, 0);
        return Em {QStringLiteral("tsql_getdate()"), Type::DateTime};
    }
    if (f == QLatin1String("dateadd")) {
        need(3, 3);
        const QString unit = unitOf(*e.args[0]);
        Em n = emitExpr(*e.args[1], scope);
        coerce(n, Type::Float);
        Em d = dateArg(2);
        return Em {QStringLiteral("tsql_dateadd(") + unit + QStringLiteral(", ") + n.sql
                       + QStringLiteral(", ") + d.sql + QLatin1Char(')'),
                   Type::DateTime};
    }
    if (f == QLatin1String("datepart")) {
        need(2, 2);
        const QString unit = unitOf(*e.args[0]);
        Em d = dateArg(1);
        return Em {QStringLiteral("tsql_datepart(") + unit + QStringLiteral(", ") + d.sql
                       + QLatin1Char(')'),
                   Type::Int};
    }
    if (f == QLatin1String("datediff")) {
        need(3, 3);
        const QString unit = unitOf(*e.args[0]);
        Em a = dateArg(1);
        Em b = dateArg(2);
        return Em {QStringLiteral("tsql_datediff(") + unit + QStringLiteral(", ") + a.sql
                       + QStringLiteral(", ") + b.sql + QLatin1Char(')'),
                   Type::Int};
    }
    if (f == QLatin1String("year") || f == QLatin1String("month") || f == QLatin1String("day")) {
        need(1, 1);
        Em d = dateArg(0);
        return Em {QStringLiteral("tsql_datepart('") + f + QStringLiteral("', ") + d.sql
                       + QLatin1Char(')'),
                   Type::Int};
    }
    if (f == QLatin1String("db_id")) {
        need(1, 1);
        const Expr &a = *e.args[0];
        if (a.kind != Expr::Kind::Literal)
            fail(QStringLiteral("DB_ID takes a constant database name."), QStringLiteral("DB_ID"),
                 e.pos);
        const Literal &lit = (*m_frame->literals)[static_cast<size_t>(a.literal)];
        if (m_frame == &m_top && !m_top.inlineLiterals)
            m_baked.push_back(a.literal);
        const int index = static_cast<int>(
            Catalog::databases().indexOf(Catalog::canonicalDatabase(literalValue(lit).toString())));
        return Em {index < 0 ? QStringLiteral("NULL") : QString::number(index + 5), Type::Int};
    }
    if (f == QLatin1String("object_id"))
        return simple("tsql_object_id", 1, 2, Type::Int);
    if (f == QLatin1String("scope_identity") || f == QLatin1String("ident_current")) {
        if (f == QLatin1String("scope_identity"))
            need(0, 0);
        return Em {QStringLiteral("last_insert_rowid()"), Type::Int};
    }
    if (f == QLatin1String("newid"))
        fail(QStringLiteral("NEWID is not supported."), QStringLiteral("function call"), e.pos);
    // Aggregates
    if (f == QLatin1String("count") || f == QLatin1String("count_big")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        return Em {QStringLiteral("count(") + (e.distinct ? QStringLiteral("DISTINCT ") : QString())
                       + x.sql + QLatin1Char(')'),
                   Type::Int};
    }
    if (f == QLatin1String("sum") || f == QLatin1String("avg") || f == QLatin1String("min")
        || f == QLatin1String("max")) {
        need(1, 1);
        Em x = emitExpr(*e.args[0], scope);
        if ((f == QLatin1String("sum") || f == QLatin1String("avg")) && x.type == Type::Text)
            coerce(x, Type::Float);
        QString sql = f + QLatin1Char('(') + (e.distinct ? QStringLiteral("DISTINCT ") : QString())
            + x.sql + QLatin1Char(')');
        Type t = x.type;
        if (f == QLatin1String("avg") && (t == Type::Int || t == Type::Bit))
            sql = QStringLiteral("CAST(") + sql + QStringLiteral(" AS INTEGER)");
        if (t == Type::Bit && f != QLatin1String("min") && f != QLatin1String("max"))
            t = Type::Int;
        NumType num = x.num;
        if (f == QLatin1String("sum"))
            num = sumType(x.num);
        else if (f == QLatin1String("avg"))
            num = avgType(x.num);
        // A sum of exact values is rounded back to its scale: the doubles added up carry the
        // last bits of their binary form.
        if (num.isDecimal() && t == Type::Float
            && (f == QLatin1String("sum") || f == QLatin1String("avg")))
            sql = QStringLiteral("tsql_dec(") + sql + QStringLiteral(", ")
                + QString::number(num.scale) + QLatin1Char(')');
        // A sum of int values is an int, and overflows as one.
        if (f == QLatin1String("sum") && num.isInteger() && t == Type::Int)
            sql = QStringLiteral("tsql_int(") + sql + QStringLiteral(", ")
                + QString::number(num.precision) + QLatin1Char(')');
        Em r {sql, t};
        r.num = num;
        return r;
    }
    if (f == QLatin1String("stdev") || f == QLatin1String("var")
        || f == QLatin1String("string_agg"))
        fail(QStringLiteral("'%1' is not supported.").arg(f), QStringLiteral("function call"),
             e.pos);
    fail(QStringLiteral("'%1' is not a recognized built-in function name.").arg(f),
         QStringLiteral("function call"), e.pos);
}

Emitter::Em Emitter::userFunction(const Expr &e, const Scope *scope)
{
    QString db = m_db;
    if (e.name.size() >= 2 && !e.name[0].isEmpty()) {
        db = Catalog::canonicalDatabase(e.name[0]);
        if (db.isEmpty())
            fail(QStringLiteral("Database '%1' does not exist.").arg(e.name[0]),
                 QStringLiteral("function call"), e.pos);
    }
    if (e.name.size() > 2
        || (e.name.size() >= 1 && !e.name.last().isEmpty()
            && e.name.last().compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0))
        fail(QStringLiteral("Cannot find either column \"%1\" or the user-defined function or "
                            "aggregate \"%2\", or the name is ambiguous.")
                 .arg(e.name.join(QLatin1Char('.')), e.op),
             QStringLiteral("function call"), e.pos);
    std::shared_ptr<const Routine> fn = m_catalog.routine(db, e.op);
    if (!fn || !fn->isFunction)
        fail(QStringLiteral("Cannot find either column \"dbo\" or the user-defined function or "
                            "aggregate \"dbo.%1\", or the name is ambiguous.")
                 .arg(e.op),
             QStringLiteral("function call"), e.pos);
    if (e.args.size() != fn->params.size())
        fail(QStringLiteral("An insufficient number of arguments were supplied for the procedure "
                            "or function %1.")
                 .arg(fn->name),
             QStringLiteral("function call"), e.pos);
    for (const Frame *f = m_frame; f; f = f->caller) {
        if (f->text == fn->text && f != &m_top)
            fail(QStringLiteral("Function %1 calls itself.").arg(fn->name),
                 QStringLiteral("function call"), e.pos);
    }
    QHash<QString, const Expr *> argMap;
    for (size_t i = 0; i < fn->params.size(); ++i)
        argMap.insert(fn->params[i].name, e.args[i].get());
    Frame frame;
    frame.literals = &fn->literals;
    frame.inlineLiterals = true;
    frame.args = &argMap;
    frame.argScope = scope;
    frame.caller = m_frame;
    frame.aliasSuffix = QStringLiteral("_f%1").arg(++m_inlineCount);
    frame.text = fn->text;
    m_frame = &frame;
    Em body;
    try {
        body = emitExpr(*fn->returnExpr, nullptr);
    } catch (...) {
        m_frame = frame.caller;
        throw;
    }
    m_frame = frame.caller;
    return castTo(std::move(body), fn->returnType, -1);
}

} // namespace tsql
