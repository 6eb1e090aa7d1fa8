#include "platform/tsql/Engine.h"

#include "platform/tsql/EngineInternal.h"
#include "platform/tsql/Error.h"
#include "platform/tsql/Messages.h"
#include "platform/tsql/Values.h"

#include <string>

namespace tsql {

namespace {

QVariant columnValue(sqlite3_stmt *stmt, int i, Type type)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qlonglong v = sqlite3_column_int64(stmt, i);
        switch (type) {
        case Type::Bit:
            return v != 0;
        case Type::Float:
            return static_cast<double>(v);
        case Type::Text:
            return QString::number(v);
        case Type::DateTime:
            return toQDateTime(fromDays(static_cast<double>(v)));
        default:
            return v;
        }
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(stmt, i);
        switch (type) {
        case Type::Bit:
            return d != 0.0;
        case Type::Int:
            return static_cast<qlonglong>(d);
        case Type::Text:
            return numberToText(d);
        case Type::DateTime:
            return toQDateTime(fromDays(d));
        default:
            return d;
        }
    }
    default: {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        const int length = sqlite3_column_bytes(stmt, i);
        if (type == Type::DateTime) {
            DateTimeValue dt;
            if (parseStoredDateTime(bytes, length, dt))
                return toQDateTime(dt);
        }
        const QString s = QString::fromUtf8(bytes, length);
        switch (type) {
        case Type::DateTime: {
            DateTimeValue dt;
            if (parseDateTime(s, dt))
                return toQDateTime(dt);
            return s;
        }
        case Type::Bit: {
            try {
                return convertValue(s, Conv::Bit).toLongLong() != 0;
            } catch (const Error &) {
                return s;
            }
        }
        case Type::Int: {
            bool ok = false;
            const qlonglong v = s.trimmed().toLongLong(&ok);
            return ok ? QVariant(v) : QVariant(s);
        }
        case Type::Float: {
            bool ok = false;
            const double v = s.trimmed().toDouble(&ok);
            return ok ? QVariant(v) : QVariant(s);
        }
        default:
            return s;
        }
    }
    }
}

// Whether a text value of a column of this type is returned as the text itself.
bool keptAsText(Type type)
{
    return type != Type::DateTime && type != Type::Bit && type != Type::Int && type != Type::Float;
}

// Whether UTF-8 bytes hold exactly this text in ASCII. Rows of one document repeat most of their
// columns, so a text equal to the one above it shares that row's string instead of a new one.
bool sameAscii(const char *bytes, int length, const QString &text)
{
    if (text.size() != length)
        return false;
    const char16_t *u = QStringView(text).utf16();
    for (int k = 0; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[k]);
        if (b >= 0x80 || b != u[k])
            return false;
    }
    return true;
}

// The engine's value for a variable: ISO text for datetimes, 0/1 for bits.
QVariant storedValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return static_cast<qlonglong>(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    default: {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, i));
    }
    }
}

// Text in plain ASCII goes to SQLite as UTF-8 (the databases' encoding) from a buffer the
// statement keeps for the parameter, so that it is neither translated nor copied on every run;
// other text goes as UTF-16 and SQLite translates it.
void bindText(sqlite3_stmt *stmt, int index, QStringView s, std::string &buffer)
{
    const qsizetype n = s.size();
    const char16_t *u = s.utf16();
    qsizetype ascii = 0;
    while (ascii < n && u[ascii] < 0x80)
        ++ascii;
    if (ascii < n) {
        sqlite3_bind_text16(stmt, index, u, static_cast<int>(n * 2), SQLITE_TRANSIENT);
        return;
    }
    buffer.resize(static_cast<size_t>(n));
    char *out = buffer.data();
    for (qsizetype i = 0; i < n; ++i)
        out[i] = static_cast<char>(u[i]);
    sqlite3_bind_text(stmt, index, buffer.data(), static_cast<int>(n), SQLITE_STATIC);
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value, std::string &buffer)
{
    if (value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        break;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, value.toDouble());
        break;
    case QMetaType::QString:
        bindText(stmt, index, *static_cast<const QString *>(value.constData()), buffer);
        break;
    default:
        bindText(stmt, index, value.toString(), buffer);
    }
}

} // namespace

void Engine::fail(const QString &message, const QString &construct, int pos,
                  const Context &ctx) const
{
    int line = 0;
    int column = 0;
    lineColumn(ctx.text, pos, line, column);
    throw Error(message, construct, line, column);
}

void Engine::sqliteFail(const Context &ctx, int pos) const
{
    QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (message.startsWith(QLatin1String("Expression tree is too large"))
        || message.startsWith(QLatin1String("parser stack overflow")))
        message = QStringLiteral("Some part of your SQL statement is nested too deeply. Rewrite "
                                 "the query or break it up into smaller queries.");
    fail(message, QStringLiteral("statement"), pos, ctx);
}

QString Engine::resolveDb(const ObjectName &name, Context &ctx) const
{
    if (name.parts.size() == 3) {
        QString db = Catalog::canonicalDatabase(name.parts[0]);
        if (db.isEmpty())
            fail(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered "
                                "correctly.")
                     .arg(name.parts[0]),
                 QStringLiteral("object name"), name.pos, ctx);
        return db;
    }
    return m_currentDb;
}

Engine::Compiled &Engine::compile(const void *key, Context &ctx,
                                  const std::function<Translation(Emitter &)> &translate)
{
    PlanSet &plans = *ctx.plans;
    if (plans.version != m_catalog.version()) {
        plans.plans.clear();
        plans.version = m_catalog.version();
    }
    auto it = plans.plans.find(key);
    if (it != plans.plans.end())
        return *it->second;
    auto types = [&ctx](const QString &name) -> const TypeSpec * {
        auto v = ctx.vars.constFind(name);
        return v == ctx.vars.constEnd() ? nullptr : &v->type;
    };
    Emitter emitter(m_catalog, m_currentDb, *ctx.literals, ctx.inlineLiterals, types, ctx.text);
    auto compiled = std::make_unique<Compiled>();
    compiled->translation = translate(emitter);
    const QByteArray sql = compiled->translation.sql.toUtf8();
    if (sqlite3_prepare_v3(m_db, sql.constData(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &compiled->stmt, nullptr)
        != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(m_db)),
                    QStringLiteral("translated statement"));
    if (ctx.entry) {
        for (int index : emitter.baked())
            ctx.entry->baked.emplace_back(index, (*ctx.literals)[static_cast<size_t>(index)].raw);
    }
    Compiled &ref = *compiled;
    plans.plans.emplace(key, std::move(compiled));
    return ref;
}

void Engine::bind(Compiled &c, Context &ctx)
{
    static const QVariant null;
    sqlite3_stmt *stmt = c.stmt;
    sqlite3_reset(stmt);
    const auto &params = c.translation.params;
    if (c.bound.size() != params.size())
        c.bound.resize(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        const Param &p = params[i];
        const QVariant *value = &null;
        if (p.variable.isEmpty()) {
            value = &ctx.literalValues[static_cast<size_t>(p.literal)];
        } else {
            auto it = ctx.vars.constFind(p.variable);
            if (it != ctx.vars.constEnd())
                value = &it->value;
        }
        QVariant converted;
        if (p.conv != Conv::None) {
            converted = convertValue(*value, p.conv, p.num);
            value = &converted;
        }
        bindValue(stmt, static_cast<int>(i) + 1, *value, c.bound[i]);
    }
}

void Engine::runQuery(Compiled &c, Context &ctx, ResultSet *out)
{
    bind(c, ctx);
    sqlite3_stmt *stmt = c.stmt;
    const Translation &t = c.translation;
    const int n = sqlite3_column_count(stmt);
    const bool assigning = !t.assignVars.isEmpty();
    ResultSet rs;
    if (!assigning) {
        rs.present = true;
        if (c.names.size() != n) {
            c.names.clear();
            for (int i = 0; i < n; ++i)
                c.names << (i < static_cast<int>(t.columns.size())
                                ? t.columns[static_cast<size_t>(i)].name
                                : QString::fromUtf8(sqlite3_column_name(stmt, i)));
        }
        rs.columns = c.names;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (assigning) {
            for (int i = 0; i < n && i < t.assignVars.size(); ++i)
                assign(ctx, t.assignVars[i], storedValue(stmt, i), 0);
            continue;
        }
        const std::vector<QVariant> *previous = rs.rows.empty() ? nullptr : &rs.rows.back();
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const Type type = i < static_cast<int>(t.columns.size())
                ? t.columns[static_cast<size_t>(i)].type
                : Type::Unknown;
            if (previous && keptAsText(type) && sqlite3_column_type(stmt, i) == SQLITE_TEXT) {
                const QVariant &above = (*previous)[static_cast<size_t>(i)];
                if (above.typeId() == QMetaType::QString) {
                    const auto *bytes
                        = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                    const int length = sqlite3_column_bytes(stmt, i);
                    if (sameAscii(bytes, length, *static_cast<const QString *>(above.constData())))
                        row.push_back(above);
                    else
                        row.push_back(QString::fromUtf8(bytes, length));
                    continue;
                }
            }
            row.push_back(columnValue(stmt, i, type));
        }
        rs.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(stmt);
        throw Error(message);
    }
    sqlite3_reset(stmt);
    if (!assigning && out)
        *out = std::move(rs);
}

void Engine::runCommand(Compiled &c, Context &ctx)
{
    bind(c, ctx);
    int rc;
    while ((rc = sqlite3_step(c.stmt)) == SQLITE_ROW) { }
    if (rc != SQLITE_DONE) {
        QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        const int ext = sqlite3_extended_errcode(m_db);
        sqlite3_reset(c.stmt);
        if (ext == SQLITE_CONSTRAINT_PRIMARYKEY || ext == SQLITE_CONSTRAINT_UNIQUE)
            message
                = QStringLiteral("Violation of PRIMARY KEY or UNIQUE KEY constraint: ") + message;
        else if (ext == SQLITE_CONSTRAINT_CHECK)
            message = QStringLiteral("String or binary data would be truncated.");
        else if (ext == SQLITE_CONSTRAINT_NOTNULL)
            message = QStringLiteral("Cannot insert the value NULL into a column that does not "
                                     "allow nulls: ")
                + message;
        throw Error(message);
    }
    sqlite3_reset(c.stmt);
}

QVariant Engine::evaluate(const Expr &e, Context &ctx, Type *type)
{
    Compiled &c = compile(&e, ctx, [&e](Emitter &em) { return em.scalar(e); });
    bind(c, ctx);
    QVariant value;
    const int rc = sqlite3_step(c.stmt);
    if (rc == SQLITE_ROW)
        value = storedValue(c.stmt, 0);
    else if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(c.stmt);
        throw Error(message);
    }
    sqlite3_reset(c.stmt);
    if (type)
        *type = c.translation.columns.empty() ? Type::Unknown : c.translation.columns[0].type;
    return value;
}

bool Engine::test(const Expr &e, Context &ctx)
{
    Compiled &c = compile(&e, ctx, [&e](Emitter &em) { return em.condition(e); });
    bind(c, ctx);
    bool result = false;
    const int rc = sqlite3_step(c.stmt);
    if (rc == SQLITE_ROW)
        result = sqlite3_column_int(c.stmt, 0) != 0;
    else if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(c.stmt);
        throw Error(message);
    }
    sqlite3_reset(c.stmt);
    return result;
}

void Engine::assign(Context &ctx, const QString &name, const QVariant &value, int pos)
{
    auto it = ctx.vars.find(name);
    if (it == ctx.vars.end())
        fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(name),
             QStringLiteral("variable"), pos, ctx);
    QVariant v = convertTo(value, it->type);
    if (it->type.type == Type::Text && it->type.length > 0 && v.typeId() == QMetaType::QString) {
        v = v.toString().left(it->type.length);
        if (it->type.name == QLatin1String("char") || it->type.name == QLatin1String("nchar"))
            v = v.toString().leftJustified(it->type.length, QLatin1Char(' '));
    }
    it->value = v;
}

Engine::Flow Engine::runBlock(const std::vector<StmtPtr> &stmts, Context &ctx)
{
    for (const StmtPtr &s : stmts) {
        if (!s)
            continue;
        Flow f = Flow::Normal;
        try {
            f = run(*s, ctx);
        } catch (const Error &e) {
            // A fault found while running is placed at the statement of the batch that met it;
            // RAISERROR's text, and what a procedure raises, stay as they were written.
            if (e.line() > 0 || !ctx.entry || s->kind == Stmt::Kind::Block
                || s->kind == Stmt::Kind::Raise || s->kind == Stmt::Kind::Exec)
                throw;
            int line = 0;
            int column = 0;
            lineColumn(ctx.text, s->pos, line, column);
            throw Error(e.message(), e.construct(), line, column);
        }
        if (f != Flow::Normal)
            return f;
    }
    return Flow::Normal;
}

Engine::Flow Engine::run(const Stmt &s, Context &ctx)
{
    switch (s.kind) {
    case Stmt::Kind::Select: {
        Compiled &c = compile(&s, ctx, [&s](Emitter &em) { return em.query(*s.select); });
        runQuery(c, ctx, ctx.result);
        return Flow::Normal;
    }
    case Stmt::Kind::Insert:
        runCommand(compile(&s, ctx, [&s](Emitter &em) { return em.insert(s); }), ctx);
        return Flow::Normal;
    case Stmt::Kind::Update:
        runCommand(compile(&s, ctx, [&s](Emitter &em) { return em.update(s); }), ctx);
        return Flow::Normal;
    case Stmt::Kind::Delete:
        runCommand(compile(&s, ctx, [&s](Emitter &em) { return em.remove(s); }), ctx);
        return Flow::Normal;
    case Stmt::Kind::Truncate: {
        Emitter em(m_catalog, m_currentDb, *ctx.literals, true, nullptr, ctx.text);
        const Table &t = em.resolveTable(s.target);
        exec(QStringLiteral("DELETE FROM \"%1\".\"%2\"").arg(t.db, t.name));
        return Flow::Normal;
    }
    case Stmt::Kind::CreateTable:
        createTable(s, ctx);
        return Flow::Normal;
    case Stmt::Kind::CreateIndex:
        createIndex(s, ctx);
        return Flow::Normal;
    case Stmt::Kind::CreateRoutine:
        createRoutine(s, ctx);
        return Flow::Normal;
    case Stmt::Kind::Drop:
        drop(s, ctx);
        return Flow::Normal;
    case Stmt::Kind::Declare:
        for (const VarDecl &v : s.vars) {
            ctx.vars.insert(v.name, Variable {v.type, QVariant()});
            if (v.init)
                assign(ctx, v.name, evaluate(*v.init, ctx), s.pos);
        }
        return Flow::Normal;
    case Stmt::Kind::SetVar:
        if (!ctx.vars.contains(s.name))
            fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(s.name),
                 QStringLiteral("SET"), s.pos, ctx);
        assign(ctx, s.name, evaluate(*s.expr, ctx), s.pos);
        return Flow::Normal;
    case Stmt::Kind::SetOption:
        return Flow::Normal;
    case Stmt::Kind::Print:
        m_messages << evaluate(*s.expr, ctx).toString();
        if (m_messages.size() > 1000)
            m_messages.removeFirst(); // nobody reads them: keep the latest
        return Flow::Normal;
    case Stmt::Kind::If:
        if (test(*s.expr, ctx))
            return run(*s.body[0], ctx);
        if (s.body.size() > 1 && s.body[1])
            return run(*s.body[1], ctx);
        return Flow::Normal;
    case Stmt::Kind::While: {
        int guard = 0;
        while (test(*s.expr, ctx)) {
            if (++guard > 10000000)
                fail(QStringLiteral("The loop ran too long."), QStringLiteral("WHILE"), s.pos, ctx);
            const Flow f = run(*s.body[0], ctx);
            if (f == Flow::Break)
                break;
            if (f == Flow::Return)
                return f;
        }
        return Flow::Normal;
    }
    case Stmt::Kind::Block:
        return runBlock(s.body, ctx);
    case Stmt::Kind::Return:
        return Flow::Return;
    case Stmt::Kind::Break:
        return Flow::Break;
    case Stmt::Kind::Continue:
        return Flow::Continue;
    case Stmt::Kind::Exec:
        callProcedure(s, ctx);
        return Flow::Normal;
    case Stmt::Kind::Use: {
        const QString db = Catalog::canonicalDatabase(s.name);
        if (db.isEmpty())
            fail(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered "
                                "correctly.")
                     .arg(s.name),
                 QStringLiteral("USE"), s.pos, ctx);
        m_currentDb = db;
        return Flow::Normal;
    }
    case Stmt::Kind::CreateDatabase:
        if (Catalog::canonicalDatabase(s.name).isEmpty())
            fail(QStringLiteral("The embedded engine keeps only the databases %1.")
                     .arg(Catalog::databases().join(QStringLiteral(", "))),
                 QStringLiteral("CREATE DATABASE"), s.pos, ctx);
        return Flow::Normal;
    case Stmt::Kind::BeginTran:
        beginTransaction();
        return Flow::Normal;
    case Stmt::Kind::Commit:
        commitTransaction();
        return Flow::Normal;
    case Stmt::Kind::Rollback:
        rollbackTransaction();
        return Flow::Normal;
    case Stmt::Kind::Raise: {
        Type messageType = Type::Unknown;
        const QVariant message = evaluate(*s.expr, ctx, &messageType);
        const QVariant severityValue = evaluate(*s.exprs[0], ctx);
        evaluate(*s.exprs[1], ctx); // the state: reported by the server, not kept here
        if (severityValue.isNull())
            fail(QStringLiteral("Cannot specify a null severity in RAISERROR."),
                 QStringLiteral("RAISERROR"), s.pos, ctx);
        const int severity = severityValue.toInt();
        QString text;
        if (messageType == Type::Int) {
            // Numbered messages live in the server's message table, which this engine has not.
            text = QStringLiteral("Error %1, severity %2, state %3 was raised, but no message "
                                  "with that error number was found in sys.messages. If error is "
                                  "larger than 50000, make sure the user-defined message is "
                                  "added using sp_addmessage.")
                       .arg(message.toLongLong())
                       .arg(severity)
                       .arg(evaluate(*s.exprs[1], ctx).toInt());
        } else {
            std::vector<QVariant> args;
            for (size_t i = 2; i < s.exprs.size(); ++i)
                args.push_back(evaluate(*s.exprs[i], ctx));
            text = raiseMessage(message.toString(), args);
        }
        // Severity 10 or lower is a message; above, the statement fails with the text.
        if (severity <= 10) {
            m_messages << text;
            if (m_messages.size() > 1000)
                m_messages.removeFirst();
            return Flow::Normal;
        }
        throw Error(text);
    }
    }
    return Flow::Normal;
}

void Engine::callProcedure(const Stmt &s, Context &ctx)
{
    const QString db = resolveDb(s.target, ctx);
    if (s.target.parts.size() == 2 && !s.target.parts[0].isEmpty()
        && s.target.parts[0].compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
        fail(QStringLiteral("Could not find stored procedure '%1'.")
                 .arg(s.target.parts.join(QLatin1Char('.'))),
             QStringLiteral("procedure call"), s.pos, ctx);
    std::shared_ptr<const Routine> r = m_catalog.routine(db, s.target.last());
    if (!r || r->isFunction)
        fail(QStringLiteral("Could not find stored procedure '%1'.")
                 .arg(s.target.parts.join(QLatin1Char('.'))),
             QStringLiteral("procedure call"), s.pos, ctx);
    if (s.args.size() > r->params.size())
        fail(QStringLiteral("Procedure or function %1 has too many arguments specified.")
                 .arg(r->name),
             QStringLiteral("procedure call"), s.pos, ctx);
    if (m_depth >= 32)
        fail(QStringLiteral("Maximum stored procedure, function, trigger, or view nesting level "
                            "exceeded (limit 32)."),
             QStringLiteral("procedure call"), s.pos, ctx);

    Context inner;
    inner.literals = &r->literals;
    inner.inlineLiterals = true;
    inner.result = ctx.result;
    inner.text = r->text;
    std::vector<bool> given(r->params.size(), false);
    for (const RoutineParam &p : r->params)
        inner.vars.insert(p.name, Variable {p.type, QVariant()});
    auto argValue = [&](const ExecArg &a) -> QVariant {
        if (a.isBare)
            return a.bare;
        const Expr *e = a.value.get();
        bool negate = false;
        if (e->kind == Expr::Kind::Unary) {
            negate = e->op == QLatin1String("-");
            e = e->args[0].get();
        }
        QVariant v;
        if (e->kind == Expr::Kind::Literal)
            v = ctx.inlineLiterals ? literalValue((*ctx.literals)[static_cast<size_t>(e->literal)])
                                   : ctx.literalValues[static_cast<size_t>(e->literal)];
        else if (e->kind == Expr::Kind::Variable) {
            auto it = ctx.vars.constFind(e->op);
            if (it == ctx.vars.constEnd())
                fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(e->op),
                     QStringLiteral("procedure argument"), e->pos, ctx);
            v = it->value;
        } else if (e->kind != Expr::Kind::Null) {
            fail(QStringLiteral("Incorrect procedure argument."),
                 QStringLiteral("procedure argument"), e->pos, ctx);
        }
        if (negate && !v.isNull())
            v = v.typeId() == QMetaType::Double ? QVariant(-v.toDouble())
                                                : QVariant(-v.toLongLong());
        return v;
    };
    for (size_t i = 0; i < s.args.size(); ++i) {
        const ExecArg &a = s.args[i];
        size_t index = i;
        if (!a.paramName.isEmpty()) {
            index = r->params.size();
            for (size_t k = 0; k < r->params.size(); ++k) {
                if (r->params[k].name == a.paramName)
                    index = k;
            }
            if (index == r->params.size())
                fail(QStringLiteral("%1 is not a parameter for procedure %2.")
                         .arg(a.paramName, r->name),
                     QStringLiteral("procedure call"), s.pos, ctx);
        }
        if (a.isDefault)
            continue;
        const RoutineParam &p = r->params[index];
        try {
            QVariant v = convertTo(argValue(a), p.type);
            if (p.type.type == Type::Text && p.type.length > 0 && v.typeId() == QMetaType::QString)
                v = v.toString().left(p.type.length);
            inner.vars[p.name].value = v;
        } catch (const Error &e) {
            fail(
                QStringLiteral("Error converting the argument for %1: %2").arg(p.name, e.message()),
                QStringLiteral("procedure argument"), s.pos, ctx);
        }
        given[index] = true;
    }
    for (size_t i = 0; i < r->params.size(); ++i) {
        if (given[i])
            continue;
        const RoutineParam &p = r->params[i];
        if (!p.hasDefault)
            fail(QStringLiteral("Procedure or function '%1' expects parameter '%2', which was not "
                                "supplied.")
                     .arg(r->name, p.name),
                 QStringLiteral("procedure call"), s.pos, ctx);
        const Expr *d = p.defaultValue.get();
        bool negate = false;
        if (d->kind == Expr::Kind::Unary) {
            negate = d->op == QLatin1String("-");
            d = d->args[0].get();
        }
        QVariant v;
        if (d->kind == Expr::Kind::Literal)
            v = literalValue(r->literals[static_cast<size_t>(d->literal)]);
        if (negate && !v.isNull())
            v = v.typeId() == QMetaType::Double ? QVariant(-v.toDouble())
                                                : QVariant(-v.toLongLong());
        inner.vars[p.name].value = convertTo(v, p.type);
    }

    auto found = m_routinePlans.find(r.get());
    if (found == m_routinePlans.end())
        found = m_routinePlans.insert(r.get(), {r, std::make_shared<PlanSet>()});
    std::shared_ptr<PlanSet> plans = found->second;
    inner.plans = plans.get();

    const QString savedDb = m_currentDb;
    m_currentDb = r->db;
    ++m_depth;
    try {
        runBlock(r->body, inner);
    } catch (...) {
        --m_depth;
        m_currentDb = savedDb;
        throw;
    }
    --m_depth;
    m_currentDb = savedDb;
}

void Engine::createTable(const Stmt &s, Context &ctx)
{
    Emitter em(m_catalog, m_currentDb, *ctx.literals, true, nullptr, ctx.text);
    TableDdl ddl = em.createTable(s);
    for (const QString &sql : ddl.sql)
        exec(sql);
    persist(ddl.table.db, QStringLiteral("T"), ddl.table.name, ddl.table.name,
            ctx.text.mid(s.pos, s.endPos - s.pos));
    m_catalog.addTable(std::move(ddl.table));
}

void Engine::createIndex(const Stmt &s, Context &ctx)
{
    Emitter em(m_catalog, m_currentDb, *ctx.literals, true, nullptr, ctx.text);
    QString db;
    QString table;
    exec(em.createIndex(s, db, table));
    persist(db, QStringLiteral("I"), table + QStringLiteral("__") + s.name, table,
            ctx.text.mid(s.pos, s.endPos - s.pos));
    m_catalog.addIndex(db, table, s.name);
}

void Engine::createRoutine(const Stmt &s, Context &ctx)
{
    Routine &r = *s.routine;
    r.db = resolveDb(s.target, ctx);
    r.name = s.target.last();
    const bool alter
        = ctx.text.mid(s.pos, 5).compare(QLatin1String("alter"), Qt::CaseInsensitive) == 0
        || ctx.text.mid(s.pos, 16).contains(QLatin1String(" or "), Qt::CaseInsensitive);
    if (m_catalog.routine(r.db, r.name) || m_catalog.table(r.db, r.name)) {
        if (!alter || m_catalog.table(r.db, r.name))
            fail(QStringLiteral("There is already an object named '%1' in the database.")
                     .arg(r.name),
                 QStringLiteral("CREATE"), s.pos, ctx);
        unpersist(r.db, r.isFunction ? QStringLiteral("F") : QStringLiteral("P"), r.name);
        m_catalog.removeRoutine(r.db, r.name);
    }
    persist(r.db, r.isFunction ? QStringLiteral("F") : QStringLiteral("P"), r.name, QString(),
            r.source);
    m_catalog.addRoutine(s.routine);
}

void Engine::drop(const Stmt &s, Context &ctx)
{
    const QString db = resolveDb(s.target, ctx);
    const QString name = s.target.last();
    if (s.name == QLatin1String("table")) {
        const Table *t = m_catalog.table(db, name);
        if (!t) {
            if (s.ifExists)
                return;
            fail(QStringLiteral("Cannot drop the table '%1', because it does not exist or you do "
                                "not have permission.")
                     .arg(name),
                 QStringLiteral("DROP TABLE"), s.pos, ctx);
        }
        exec(QStringLiteral("DROP TABLE \"%1\".\"%2\"").arg(t->db, t->name));
        unpersist(db, QStringLiteral("T"), t->name);
        m_catalog.removeTable(db, name);
    } else if (s.name == QLatin1String("index")) {
        const Table *t = m_catalog.table(db, name);
        if (!t || !m_catalog.hasIndex(db, t->name, s.alias)) {
            if (s.ifExists)
                return;
            fail(QStringLiteral("Cannot drop the index '%1.%2', because it does not exist or you "
                                "do not have permission.")
                     .arg(name, s.alias),
                 QStringLiteral("DROP INDEX"), s.pos, ctx);
        }
        exec(QStringLiteral("DROP INDEX \"%1\".\"%2__%3\"").arg(db, t->name, s.alias));
        unpersist(db, QStringLiteral("I"), t->name + QStringLiteral("__") + s.alias);
        m_catalog.removeIndex(db, t->name, s.alias);
    } else {
        const bool function = s.name == QLatin1String("function");
        auto r = m_catalog.routine(db, name);
        if (!r || r->isFunction != function) {
            if (s.ifExists)
                return;
            fail(QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do not "
                                "have permission.")
                     .arg(s.name, name),
                 QStringLiteral("DROP"), s.pos, ctx);
        }
        unpersist(db, function ? QStringLiteral("F") : QStringLiteral("P"), r->name);
        m_catalog.removeRoutine(db, name);
    }
}

} // namespace tsql
