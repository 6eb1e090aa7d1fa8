#include "platform/tsql/Error.h"
#include "platform/tsql/Parser.h"

namespace tsql {

std::shared_ptr<Select> Parser::select()
{
    if (++m_depth > 200)
        fail(QStringLiteral("The statement is nested too deeply."), QStringLiteral("SELECT"),
             peek().offset);
    auto sel = std::make_shared<Select>();
    sel->pos = peek().offset;
    int parens = 0;
    while (acceptOp("("))
        ++parens;
    sel->parts.push_back(querySpec());
    for (; parens > 0; --parens)
        expectOp(")", "SELECT");
    while (isWord("union") || isWord("except") || isWord("intersect")) {
        if (!isWord("union"))
            unexpected("set operator");
        next();
        sel->unionAll.push_back(acceptWord("all"));
        int inner = 0;
        while (acceptOp("("))
            ++inner;
        sel->parts.push_back(querySpec());
        for (; inner > 0; --inner)
            expectOp(")", "UNION");
    }
    if (isWord("order") && isWord("by", 1)) {
        next();
        next();
        do {
            OrderItem item;
            item.expr = expr();
            if (acceptWord("desc"))
                item.descending = true;
            else
                acceptWord("asc");
            sel->orderBy.push_back(std::move(item));
        } while (acceptOp(","));
    }
    if (isWord("option") || isWord("for"))
        unexpected("query option");
    --m_depth;
    return sel;
}

QString Parser::optionalAlias()
{
    if (acceptWord("as")) {
        const Token &t = peek();
        if (t.kind == Tok::String) {
            next();
            m_structural.push_back(t.literal); // a column name, not a value
            return literalValue(m_lexed.literals[static_cast<size_t>(t.literal)]).toString();
        }
        return identifier("alias");
    }
    if (isName())
        return identifier("alias");
    return {};
}

QuerySpec Parser::querySpec()
{
    QuerySpec part;
    part.pos = peek().offset;
    expectWord("select", "SELECT");
    if (acceptWord("distinct"))
        part.distinct = true;
    else
        acceptWord("all");
    if (acceptWord("top")) {
        if (acceptOp("(")) {
            part.top = expr();
            expectOp(")", "TOP");
        } else {
            const Token &t = peek();
            if (t.kind != Tok::Integer)
                unexpected("TOP");
            part.top = primary();
        }
        if (isWord("percent") || (isWord("with") && isWord("ties", 1)))
            unexpected("TOP");
    }
    do {
        SelectItem item;
        item.pos = peek().offset;
        if (isOp("*")) {
            next();
            item.star = true;
        } else if (isName() && isOp(".", 1) && isOp("*", 2)) {
            item.starQualifier = identifier("select list");
            next();
            next();
            item.star = true;
        } else if (peek().kind == Tok::Variable && isOp("=", 1)) {
            item.assignVar = next().text.toString().toLower();
            next();
            item.expr = expr();
        } else if ((peek().kind == Tok::Ident || peek().kind == Tok::Quoted) && !isReserved(peek())
                   && isOp("=", 1)) {
            // alias = expression
            item.alias = identifier("select list");
            item.hasAlias = true;
            next();
            item.expr = expr();
        } else if (peek().kind == Tok::String && isOp("=", 1)) {
            const int literal = next().literal;
            m_structural.push_back(literal); // a column name, not a value
            item.alias = literalValue(m_lexed.literals[static_cast<size_t>(literal)]).toString();
            item.hasAlias = true;
            next();
            item.expr = expr();
        } else {
            item.expr = expr();
            const QString alias = optionalAlias();
            if (!alias.isNull()) {
                item.alias = alias;
                item.hasAlias = true;
            }
        }
        part.items.push_back(std::move(item));
    } while (acceptOp(","));
    if (isWord("into"))
        unexpected("SELECT INTO");
    if (acceptWord("from"))
        fromClause(part.from);
    if (acceptWord("where"))
        part.where = expr();
    if (isWord("group") && isWord("by", 1)) {
        next();
        next();
        do {
            part.groupBy.push_back(expr());
        } while (acceptOp(","));
    }
    if (acceptWord("having"))
        part.having = expr();
    return part;
}

TableSource Parser::tableSource()
{
    TableSource src;
    src.pos = peek().offset;
    if (isOp("(")) {
        if (!startsSelect())
            unexpected("parenthesised join");
        next();
        src.derived = select();
        expectOp(")", "derived table");
        src.alias = optionalAlias();
        if (src.alias.isEmpty())
            fail(QStringLiteral("A derived table needs a name (alias)."),
                 QStringLiteral("derived table"), src.pos);
        return src;
    }
    if (peek().kind == Tok::Variable)
        unexpected("table variable");
    src.name = objectName("table name");
    if (isOp("("))
        unexpected("table-valued function");
    src.alias = optionalAlias();
    // Table hints are accepted and have no effect.
    if (isWord("with") && isOp("(", 1)) {
        next();
        next();
        while (!isOp(")") && peek().kind != Tok::End)
            next();
        expectOp(")", "table hint");
    }
    return src;
}

void Parser::fromClause(std::vector<FromItem> &from)
{
    FromItem first;
    first.kind = JoinKind::First;
    first.source = tableSource();
    from.push_back(std::move(first));
    while (true) {
        FromItem item;
        bool needsOn = true;
        if (acceptOp(",")) {
            item.kind = JoinKind::Comma;
            needsOn = false;
        } else if (isWord("cross") && isWord("join", 1)) {
            next();
            next();
            item.kind = JoinKind::Cross;
            needsOn = false;
        } else if (isWord("cross") && isWord("apply", 1)) {
            next();
            next();
            item.kind = JoinKind::CrossApply;
            needsOn = false;
        } else if (isWord("outer") && isWord("apply", 1)) {
            next();
            next();
            item.kind = JoinKind::OuterApply;
            needsOn = false;
        } else if (isWord("join") || isWord("inner")) {
            if (acceptWord("inner")) {
                if (isWord("hash") || isWord("loop") || isWord("merge"))
                    unexpected("join hint");
            }
            expectWord("join", "JOIN");
            item.kind = JoinKind::Inner;
        } else if (isWord("left") || isWord("right") || isWord("full")) {
            const Token &t = next();
            item.kind = sameWord(t.text, "left") ? JoinKind::Left
                : sameWord(t.text, "right")      ? JoinKind::Right
                                                 : JoinKind::Full;
            acceptWord("outer");
            expectWord("join", "JOIN");
        } else {
            break;
        }
        if (item.kind == JoinKind::OuterApply || item.kind == JoinKind::CrossApply) {
            item.source.pos = peek().offset;
            if (!isOp("(") || !startsSelect())
                unexpected("APPLY");
            next();
            item.source.derived = select();
            expectOp(")", "APPLY");
            item.source.alias = optionalAlias();
            if (item.source.alias.isEmpty())
                fail(QStringLiteral("An applied query needs a name (alias)."),
                     QStringLiteral("APPLY"), item.source.pos);
        } else {
            item.source = tableSource();
        }
        if (needsOn) {
            expectWord("on", "JOIN");
            item.on = expr();
        }
        from.push_back(std::move(item));
    }
}

StmtPtr Parser::selectStatement()
{
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Kind::Select;
    s->pos = peek().offset;
    s->select = select();
    return s;
}

StmtPtr Parser::insertStatement()
{
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Kind::Insert;
    s->pos = next().offset;
    acceptWord("into");
    s->target = objectName("INSERT");
    if (isOp("(") && !startsSelect()) {
        next();
        do {
            s->columns << identifier("INSERT column list");
        } while (acceptOp(","));
        expectOp(")", "INSERT column list");
    }
    if (acceptWord("values")) {
        do {
            expectOp("(", "VALUES");
            std::vector<ExprPtr> row;
            do {
                if (isWord("default"))
                    unexpected("DEFAULT in VALUES");
                row.push_back(expr());
            } while (acceptOp(","));
            expectOp(")", "VALUES");
            s->rows.push_back(std::move(row));
        } while (acceptOp(","));
    } else if (isWord("default") && isWord("values", 1)) {
        next();
        next();
        s->defaultValues = true;
    } else if (startsSelect()) {
        s->select = select();
    } else if (isWord("exec") || isWord("execute")) {
        unexpected("INSERT ... EXEC");
    } else {
        unexpected("INSERT");
    }
    return s;
}

StmtPtr Parser::updateStatement()
{
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Kind::Update;
    s->pos = next().offset;
    if (isWord("top"))
        unexpected("UPDATE TOP");
    s->target = objectName("UPDATE");
    expectWord("set", "UPDATE");
    do {
        const int pos = peek().offset;
        if (peek().kind == Tok::Variable)
            fail(QStringLiteral("Assigning variables in UPDATE is not supported."),
                 QStringLiteral("UPDATE SET"), pos);
        QString column = identifier("UPDATE SET");
        if (acceptOp("."))
            column = identifier("UPDATE SET"); // alias.column
        expectOp("=", "UPDATE SET");
        s->sets.emplace_back(column, expr());
    } while (acceptOp(","));
    if (acceptWord("from"))
        fromClause(s->from);
    if (acceptWord("where")) {
        if (isWord("current"))
            unexpected("WHERE CURRENT OF");
        s->where = expr();
    }
    return s;
}

StmtPtr Parser::deleteStatement()
{
    auto s = std::make_unique<Stmt>();
    s->kind = Stmt::Kind::Delete;
    s->pos = next().offset;
    if (isWord("top"))
        unexpected("DELETE TOP");
    acceptWord("from");
    s->target = objectName("DELETE");
    if (acceptWord("from"))
        fromClause(s->from);
    if (acceptWord("where"))
        s->where = expr();
    return s;
}

} // namespace tsql
