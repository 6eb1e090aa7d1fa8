#include "platform/tsql/Error.h"
#include "platform/tsql/Parser.h"

namespace tsql {

namespace {

StmtPtr makeStmt(Stmt::Kind kind, int pos)
{
    auto s = std::make_unique<Stmt>();
    s->kind = kind;
    s->pos = pos;
    return s;
}

} // namespace

void resolveTypeSpec(TypeSpec &dataType, int line, int column)
{
    const QString &n = dataType.name;
    dataType.dateOnly = false;
    if (n == QLatin1String("varchar") || n == QLatin1String("nvarchar")
        || n == QLatin1String("char") || n == QLatin1String("nchar") || n == QLatin1String("text")
        || n == QLatin1String("ntext") || n == QLatin1String("sysname")
        || n == QLatin1String("uniqueidentifier"))
        dataType.type = Type::Text;
    else if (n == QLatin1String("int") || n == QLatin1String("integer")
             || n == QLatin1String("smallint") || n == QLatin1String("tinyint")
             || n == QLatin1String("bigint"))
        dataType.type = Type::Int;
    else if (n == QLatin1String("bit"))
        dataType.type = Type::Bit;
    else if (n == QLatin1String("float") || n == QLatin1String("real")
             || n == QLatin1String("money") || n == QLatin1String("smallmoney"))
        dataType.type = Type::Float;
    else if (n == QLatin1String("decimal") || n == QLatin1String("numeric"))
        dataType.type = Type::Float;
    else if (n == QLatin1String("datetime") || n == QLatin1String("smalldatetime")
             || n == QLatin1String("datetime2"))
        dataType.type = Type::DateTime;
    else if (n == QLatin1String("date")) {
        dataType.type = Type::DateTime;
        dataType.dateOnly = true;
    } else
        throw Error(QStringLiteral("Type %1 is not a defined system type.").arg(n),
                    QStringLiteral("data type"), line, column);
}

Batch Parser::parseBatch()
{
    Batch batch;
    bool first = true;
    while (peek().kind != Tok::End) {
        if (acceptOp(";"))
            continue;
        batch.stmts.push_back(statement(first));
        first = false;
    }
    batch.structural = m_structural;
    return batch;
}

std::vector<StmtPtr> Parser::statementsUntilEnd()
{
    std::vector<StmtPtr> out;
    while (!isWord("end")) {
        if (peek().kind == Tok::End)
            unexpected("BEGIN ... END");
        if (acceptOp(";"))
            continue;
        out.push_back(statement(false));
    }
    next();
    return out;
}

StmtPtr Parser::statement(bool first)
{
    if (++m_depth > 200)
        fail(QStringLiteral("The statement is nested too deeply."), QStringLiteral("statement"),
             peek().offset);
    const Token &t = peek();
    const int pos = t.offset;
    StmtPtr s;
    if (t.kind == Tok::Op && t.text == QLatin1String("(") && startsSelect()) {
        s = selectStatement();
    } else if (t.kind != Tok::Ident && t.kind != Tok::Quoted) {
        unexpected("statement");
    } else if (isWord("select")) {
        s = selectStatement();
    } else if (isWord("insert")) {
        s = insertStatement();
    } else if (isWord("update")) {
        s = updateStatement();
    } else if (isWord("delete")) {
        s = deleteStatement();
    } else if (isWord("create") || isWord("alter")) {
        s = createStatement();
    } else if (isWord("drop")) {
        s = dropStatement();
    } else if (isWord("declare")) {
        s = declareStatement();
    } else if (isWord("set")) {
        s = setStatement();
    } else if (isWord("if")) {
        s = ifStatement();
    } else if (isWord("while")) {
        s = whileStatement();
    } else if (isWord("begin")) {
        if (isWord("tran", 1) || isWord("transaction", 1)) {
            next();
            next();
            if (isName())
                next();
            s = makeStmt(Stmt::Kind::BeginTran, pos);
        } else {
            s = blockStatement();
        }
    } else if (isWord("commit") || isWord("rollback")) {
        const bool commit = isWord("commit");
        next();
        if (acceptWord("tran") || acceptWord("transaction") || acceptWord("work")) {
            if (isName())
                next();
        }
        s = makeStmt(commit ? Stmt::Kind::Commit : Stmt::Kind::Rollback, pos);
    } else if (isWord("return")) {
        next();
        s = makeStmt(Stmt::Kind::Return, pos);
        if (!isWord("end") && peek().kind != Tok::End && !isOp(";") && !isWord("select")
            && !isWord("insert") && !isWord("update") && !isWord("delete") && !isWord("if")
            && !isWord("set") && !isWord("declare") && !isWord("exec") && !isWord("execute")
            && !isWord("else"))
            s->expr = expr();
    } else if (isWord("break") || isWord("continue")) {
        s = makeStmt(isWord("break") ? Stmt::Kind::Break : Stmt::Kind::Continue, pos);
        next();
    } else if (isWord("exec") || isWord("execute")) {
        next();
        s = execStatement(pos);
    } else if (isWord("use")) {
        next();
        s = makeStmt(Stmt::Kind::Use, pos);
        s->name = identifier("USE");
    } else if (isWord("print")) {
        next();
        s = makeStmt(Stmt::Kind::Print, pos);
        s->expr = expr();
    } else if (isWord("raiserror")) {
        next();
        s = makeStmt(Stmt::Kind::Raise, pos);
        expectOp("(", "RAISERROR");
        s->expr = expr();
        // Severity, state, then the arguments of the message's placeholders.
        while (acceptOp(","))
            s->exprs.push_back(expr());
        expectOp(")", "RAISERROR");
        if (s->exprs.size() < 2)
            fail(QStringLiteral("RAISERROR needs a message, a severity and a state."),
                 QStringLiteral("RAISERROR"), pos);
        if (s->exprs.size() > 22)
            fail(QStringLiteral("RAISERROR takes at most 20 arguments after the state."),
                 QStringLiteral("RAISERROR"), pos);
        if (acceptWord("with")) {
            do {
                if (!acceptWord("log") && !acceptWord("nowait") && !acceptWord("seterror"))
                    unexpected("RAISERROR WITH");
            } while (acceptOp(","));
        }
    } else if (isWord("truncate")) {
        next();
        expectWord("table", "TRUNCATE TABLE");
        s = makeStmt(Stmt::Kind::Truncate, pos);
        s->target = objectName("TRUNCATE TABLE");
    } else if (isWord("with") || isWord("merge") || isWord("goto") || isWord("waitfor")
               || isWord("open") || isWord("fetch") || isWord("close") || isWord("deallocate")
               || isWord("grant") || isWord("revoke") || isWord("deny") || isWord("go")) {
        unexpected("statement");
    } else if (first && !isReserved(t)) {
        // A procedure named at the start of a batch runs without EXEC.
        s = execStatement(pos);
    } else {
        unexpected("statement");
    }
    s->endPos = peek().offset;
    --m_depth;
    return s;
}

StmtPtr Parser::execStatement(int pos)
{
    auto s = makeStmt(Stmt::Kind::Exec, pos);
    if (peek().kind == Tok::Variable && isOp("=", 1))
        unexpected("EXEC with a return value");
    if (isOp("("))
        unexpected("EXEC of a dynamic statement");
    s->target = objectName("procedure call");
    if (peek().kind == Tok::End || isOp(";"))
        return s;
    // Arguments run to the end of the statement: literals, variables, bare words, NULL.
    if (peek().kind == Tok::Ident && isReserved(peek()) && !isWord("null") && !isWord("default"))
        return s;
    do {
        ExecArg arg;
        if (peek().kind == Tok::Variable && isOp("=", 1)) {
            arg.paramName = next().text.toString().toLower();
            next();
        }
        const Token &t = peek();
        if (t.kind == Tok::String || t.kind == Tok::Integer || t.kind == Tok::Decimal
            || t.kind == Tok::Variable || isOp("-") || isOp("+")) {
            arg.value = unary();
        } else if (isWord("null")) {
            arg.value = primary();
        } else if (isWord("default")) {
            next();
            arg.isDefault = true;
        } else if (t.kind == Tok::Ident || t.kind == Tok::Quoted) {
            next();
            arg.isBare = true;
            arg.bare = t.text.toString();
        } else {
            unexpected("procedure argument");
        }
        if (acceptWord("output") || acceptWord("out"))
            unexpected("OUTPUT parameter");
        s->args.push_back(std::move(arg));
    } while (acceptOp(","));
    return s;
}

StmtPtr Parser::declareStatement()
{
    auto s = makeStmt(Stmt::Kind::Declare, next().offset);
    do {
        VarDecl v;
        const Token &t = next();
        if (t.kind != Tok::Variable)
            fail(QStringLiteral("Expected a variable name."), QStringLiteral("DECLARE"), t.offset);
        v.name = t.text.toString().toLower();
        acceptWord("as");
        if (isWord("table") || isWord("cursor"))
            unexpected("DECLARE");
        v.type = typeSpec();
        if (acceptOp("="))
            v.init = expr();
        s->vars.push_back(std::move(v));
    } while (acceptOp(","));
    return s;
}

StmtPtr Parser::setStatement()
{
    const int pos = next().offset;
    if (peek().kind == Tok::Variable) {
        auto s = makeStmt(Stmt::Kind::SetVar, pos);
        s->name = next().text.toString().toLower();
        if (!acceptOp("="))
            unexpected("SET");
        s->expr = expr();
        return s;
    }
    auto s = makeStmt(Stmt::Kind::SetOption, pos);
    s->name = identifier("SET option").toLower();
    static const char *const known[] = {"nocount",
                                        "ansi_nulls",
                                        "quoted_identifier",
                                        "ansi_padding",
                                        "ansi_warnings",
                                        "arithabort",
                                        "concat_null_yields_null",
                                        "xact_abort",
                                        "dateformat",
                                        "transaction",
                                        "rowcount",
                                        "language",
                                        "datefirst",
                                        "numeric_roundabort",
                                        "implicit_transactions",
                                        "identity_insert",
                                        "lock_timeout",
                                        "deadlock_priority"};
    bool ok = false;
    for (const char *k : known)
        ok = ok || s->name == QLatin1String(k);
    if (!ok)
        fail(QStringLiteral("Unknown SET option '%1'.").arg(s->name), QStringLiteral("SET"), pos);
    if (s->name == QLatin1String("rowcount") || s->name == QLatin1String("implicit_transactions"))
        unexpected("SET option");
    // The option's value is accepted without effect.
    if (s->name == QLatin1String("transaction")) {
        while (isWord("isolation") || isWord("level") || isWord("read") || isWord("committed")
               || isWord("uncommitted") || isWord("repeatable") || isWord("serializable")
               || isWord("snapshot"))
            next();
    } else if (s->name == QLatin1String("identity_insert")) {
        objectName("SET IDENTITY_INSERT");
        if (!acceptWord("on") && !acceptWord("off"))
            unexpected("SET IDENTITY_INSERT");
    } else {
        const Token &v = peek();
        if (v.kind == Tok::Ident || v.kind == Tok::Integer || v.kind == Tok::String)
            next();
        else
            unexpected("SET option");
    }
    return s;
}

StmtPtr Parser::ifStatement()
{
    auto s = makeStmt(Stmt::Kind::If, next().offset);
    s->expr = expr();
    s->body.push_back(statement(false));
    while (acceptOp(";")) { }
    if (acceptWord("else"))
        s->body.push_back(statement(false));
    else
        s->body.push_back(nullptr);
    return s;
}

StmtPtr Parser::whileStatement()
{
    auto s = makeStmt(Stmt::Kind::While, next().offset);
    s->expr = expr();
    s->body.push_back(statement(false));
    return s;
}

StmtPtr Parser::blockStatement()
{
    auto s = makeStmt(Stmt::Kind::Block, next().offset);
    if (isWord("try") || isWord("catch") || isWord("distributed"))
        unexpected("BEGIN TRY/CATCH");
    s->body = statementsUntilEnd();
    return s;
}

StmtPtr Parser::dropStatement()
{
    auto s = makeStmt(Stmt::Kind::Drop, next().offset);
    const Token &t = next();
    if (sameWord(t.text, "table"))
        s->name = QStringLiteral("table");
    else if (sameWord(t.text, "procedure") || sameWord(t.text, "proc"))
        s->name = QStringLiteral("procedure");
    else if (sameWord(t.text, "function"))
        s->name = QStringLiteral("function");
    else if (sameWord(t.text, "index"))
        s->name = QStringLiteral("index");
    else if (sameWord(t.text, "database"))
        s->name = QStringLiteral("database");
    else
        fail(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text.toString()),
             QStringLiteral("DROP"), t.offset);
    if (isWord("if") && isWord("exists", 1)) {
        next();
        next();
        s->ifExists = true;
    }
    if (s->name == QLatin1String("database"))
        unexpected("DROP DATABASE");
    s->target = objectName("DROP");
    if (s->name == QLatin1String("index")) {
        // DROP INDEX name ON table, or DROP INDEX table.name
        if (acceptWord("on")) {
            s->alias = s->target.last();
            s->target = objectName("DROP INDEX");
        } else if (s->target.parts.size() >= 2) {
            s->alias = s->target.parts.takeLast();
        } else {
            unexpected("DROP INDEX");
        }
    }
    if (isOp(","))
        unexpected("DROP of several objects");
    return s;
}

StmtPtr Parser::createStatement()
{
    const int pos = peek().offset;
    const bool alter = isWord("alter");
    next();
    if (!alter && acceptWord("or")) {
        expectWord("alter", "CREATE OR ALTER");
    }
    if (isWord("procedure") || isWord("proc")) {
        next();
        return createRoutine(pos, false);
    }
    if (acceptWord("function"))
        return createRoutine(pos, true);
    if (alter)
        unexpected("ALTER");
    if (acceptWord("table"))
        return createTable(pos);
    if (acceptWord("database")) {
        auto s = makeStmt(Stmt::Kind::CreateDatabase, pos);
        s->name = identifier("CREATE DATABASE");
        return s;
    }
    bool unique = acceptWord("unique");
    if (!acceptWord("clustered"))
        acceptWord("nonclustered");
    if (acceptWord("index"))
        return createIndex(pos, unique);
    unexpected("CREATE");
}

StmtPtr Parser::createIndex(int pos, bool unique)
{
    auto s = makeStmt(Stmt::Kind::CreateIndex, pos);
    s->unique = unique;
    s->name = identifier("CREATE INDEX");
    expectWord("on", "CREATE INDEX");
    s->target = objectName("CREATE INDEX");
    expectOp("(", "CREATE INDEX");
    do {
        s->columns << identifier("CREATE INDEX");
        bool desc = false;
        if (acceptWord("desc"))
            desc = true;
        else
            acceptWord("asc");
        s->descending.push_back(desc);
    } while (acceptOp(","));
    expectOp(")", "CREATE INDEX");
    if (isWord("include") || isWord("where"))
        unexpected("CREATE INDEX");
    if (isWord("with") && isOp("(", 1)) {
        next();
        next();
        while (!isOp(")") && peek().kind != Tok::End)
            next();
        expectOp(")", "index options");
    }
    if (acceptWord("on"))
        identifier("filegroup");
    return s;
}

StmtPtr Parser::createTable(int pos)
{
    auto s = makeStmt(Stmt::Kind::CreateTable, pos);
    s->target = objectName("CREATE TABLE");
    if (s->target.last().startsWith(QLatin1Char('#')))
        unexpected("temporary table");
    expectOp("(", "CREATE TABLE");
    auto keyColumns = [this](QStringList &out) {
        if (!acceptWord("clustered"))
            acceptWord("nonclustered");
        expectOp("(", "key columns");
        do {
            out << identifier("key columns");
            if (!acceptWord("asc"))
                acceptWord("desc");
        } while (acceptOp(","));
        expectOp(")", "key columns");
    };
    do {
        if (isOp(")"))
            break;
        if (isWord("constraint") || isWord("primary") || isWord("unique")) {
            if (acceptWord("constraint"))
                identifier("CONSTRAINT");
            if (acceptWord("primary")) {
                expectWord("key", "PRIMARY KEY");
                keyColumns(s->primaryKey);
            } else if (acceptWord("unique")) {
                QStringList cols;
                keyColumns(cols);
                s->uniques.push_back(cols);
            } else {
                unexpected("table constraint");
            }
            continue;
        }
        ColumnDef col;
        col.pos = peek().offset;
        col.name = identifier("column definition");
        if (acceptWord("as")) {
            // A computed column: its expression, optionally PERSISTED.
            col.computed = expr();
            acceptWord("persisted");
            if (isWord("not") && isWord("null", 1)) {
                next();
                next();
            }
            s->columnDefs.push_back(std::move(col));
            continue;
        }
        col.type = typeSpec();
        while (true) {
            if (acceptWord("identity")) {
                col.identity = true;
                if (acceptOp("(")) {
                    const Token &seed = next();
                    if (seed.kind != Tok::Integer)
                        unexpected("IDENTITY");
                    col.seed = seed.text.toLongLong();
                    expectOp(",", "IDENTITY");
                    const Token &inc = next();
                    if (inc.kind != Tok::Integer || inc.text != QLatin1String("1"))
                        fail(QStringLiteral("Only IDENTITY increments of 1 are supported."),
                             QStringLiteral("IDENTITY"), inc.offset);
                    expectOp(")", "IDENTITY");
                }
            } else if (isWord("not") && isWord("null", 1)) {
                next();
                next();
                col.notNull = true;
            } else if (acceptWord("null")) {
                col.notNull = false;
            } else if (acceptWord("constraint")) {
                identifier("CONSTRAINT");
            } else if (acceptWord("default")) {
                col.defaultValue = additive();
            } else if (acceptWord("primary")) {
                expectWord("key", "PRIMARY KEY");
                if (!acceptWord("clustered"))
                    acceptWord("nonclustered");
                col.primaryKey = true;
            } else if (acceptWord("unique")) {
                if (!acceptWord("clustered"))
                    acceptWord("nonclustered");
                col.unique = true;
            } else if (acceptWord("collate")) {
                identifier("COLLATE");
            } else if (isWord("references") || isWord("check") || isWord("foreign")
                       || isWord("as")) {
                unexpected("column constraint");
            } else {
                break;
            }
        }
        s->columnDefs.push_back(std::move(col));
    } while (acceptOp(","));
    expectOp(")", "CREATE TABLE");
    if (acceptWord("on"))
        identifier("filegroup");
    if (acceptWord("textimage_on"))
        identifier("filegroup");
    return s;
}

StmtPtr Parser::createRoutine(int pos, bool function)
{
    auto s = makeStmt(Stmt::Kind::CreateRoutine, pos);
    auto routine = std::make_shared<Routine>();
    routine->isFunction = function;
    s->target = objectName(function ? "CREATE FUNCTION" : "CREATE PROCEDURE");
    routine->name = s->target.last();
    if (acceptOp(";")) {
        const Token &t = next();
        if (t.kind != Tok::Integer)
            unexpected("procedure number");
    }
    const bool parens = acceptOp("(");
    if (!(parens && isOp(")"))) {
        while (peek().kind == Tok::Variable) {
            RoutineParam p;
            p.name = next().text.toString().toLower();
            acceptWord("as");
            p.type = typeSpec();
            if (acceptWord("varying"))
                unexpected("VARYING parameter");
            if (acceptOp("=")) {
                p.hasDefault = true;
                p.defaultValue = unary();
            }
            if (acceptWord("output") || acceptWord("out") || acceptWord("readonly"))
                unexpected("OUTPUT parameter");
            routine->params.push_back(std::move(p));
            if (!acceptOp(","))
                break;
        }
    }
    if (parens)
        expectOp(")", "parameter list");
    if (function) {
        expectWord("returns", "CREATE FUNCTION");
        if (peek().kind == Tok::Variable || isWord("table"))
            unexpected("table-valued function");
        routine->returnType = typeSpec();
    }
    if (acceptWord("with")) {
        do {
            identifier("routine option");
        } while (acceptOp(","));
    }
    expectWord("as", function ? "CREATE FUNCTION" : "CREATE PROCEDURE");
    if (function) {
        const bool block = acceptWord("begin");
        while (acceptOp(";")) { }
        expectWord("return", "CREATE FUNCTION");
        routine->returnExpr = expr();
        while (acceptOp(";")) { }
        if (block)
            expectWord("end", "CREATE FUNCTION");
    } else {
        // The body runs to the end of the batch.
        while (peek().kind != Tok::End) {
            if (acceptOp(";"))
                continue;
            routine->body.push_back(statement(false));
        }
    }
    while (acceptOp(";")) { }
    if (peek().kind != Tok::End)
        unexpected("CREATE FUNCTION");
    routine->literals = m_lexed.literals;
    routine->source = m_lexed.source.mid(pos);
    routine->text = m_lexed.source;
    s->routine = routine;
    return s;
}

} // namespace tsql
