#include "platform/tsql/Error.h"
#include "platform/tsql/Parser.h"

namespace tsql {

namespace {

ExprPtr makeExpr(Expr::Kind kind, int pos)
{
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->pos = pos;
    return e;
}

ExprPtr binary(const QString &op, ExprPtr left, ExprPtr right, int pos)
{
    auto e = makeExpr(Expr::Kind::Binary, pos);
    e->op = op;
    e->args.push_back(std::move(left));
    e->args.push_back(std::move(right));
    return e;
}

} // namespace

Parser::Parser(const Lexed &lexed)
    : m_lexed(lexed)
    , m_tokens(lexed.tokens)
{ }

const Token &Parser::peek(int ahead) const
{
    const size_t i = m_pos + static_cast<size_t>(ahead);
    return i < m_tokens.size() ? m_tokens[i] : m_tokens.back();
}

const Token &Parser::next()
{
    const Token &t = peek();
    if (m_pos < m_tokens.size() - 1)
        ++m_pos;
    return t;
}

bool Parser::isWord(const char *keyword, int ahead) const
{
    const Token &t = peek(ahead);
    return t.kind == Tok::Ident && sameWord(t.text, keyword);
}

bool Parser::isOp(const char *op, int ahead) const
{
    const Token &t = peek(ahead);
    return t.kind == Tok::Op && t.text == QLatin1String(op);
}

bool Parser::acceptWord(const char *keyword)
{
    if (!isWord(keyword))
        return false;
    next();
    return true;
}

bool Parser::acceptOp(const char *op)
{
    if (!isOp(op))
        return false;
    next();
    return true;
}

void Parser::expectWord(const char *keyword, const char *construct)
{
    if (!acceptWord(keyword))
        fail(QStringLiteral("Expected %1 near '%2'.")
                 .arg(QString::fromLatin1(keyword).toUpper(), peek().text.toString()),
             QString::fromLatin1(construct), peek().offset);
}

void Parser::expectOp(const char *op, const char *construct)
{
    if (!acceptOp(op))
        fail(QStringLiteral("Expected '%1' near '%2'.")
                 .arg(QString::fromLatin1(op), peek().text.toString()),
             QString::fromLatin1(construct), peek().offset);
}

void Parser::fail(const QString &message, const QString &construct, int offset) const
{
    int line = 0;
    int column = 0;
    lineColumn(m_lexed.source, offset, line, column);
    throw Error(message, construct, line, column);
}

void Parser::unexpected(const char *construct) const
{
    const Token &t = peek();
    if (t.kind == Tok::End)
        fail(QStringLiteral("Incorrect syntax near the end of the statement."),
             QString::fromLatin1(construct), t.offset);
    fail(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text.toString()),
         QString::fromLatin1(construct), t.offset);
}

bool Parser::isReserved(const Token &t) const
{
    if (t.kind != Tok::Ident)
        return false;
    static const char *const words[] = {
        "select",     "from",     "where",     "group",      "order",     "having",     "union",
        "join",       "inner",    "left",      "right",      "full",      "outer",      "cross",
        "on",         "as",       "and",       "or",         "not",       "in",         "is",
        "null",       "like",     "between",   "exists",     "case",      "when",       "then",
        "else",       "end",      "insert",    "update",     "delete",    "set",        "into",
        "values",     "create",   "drop",      "alter",      "declare",   "if",         "while",
        "begin",      "return",   "exec",      "execute",    "use",       "print",      "distinct",
        "top",        "by",       "asc",       "desc",       "apply",     "with",       "commit",
        "rollback",   "truncate", "raiserror", "option",     "procedure", "proc",       "function",
        "table",      "index",    "default",   "primary",    "key",       "constraint", "unique",
        "collate",    "over",     "all",       "any",        "some",      "check",      "foreign",
        "references", "go",       "break",     "continue",   "intersect", "except",     "escape",
        "for",        "identity", "tran",      "transaction"};
    for (const char *w : words) {
        if (sameWord(t.text, w))
            return true;
    }
    return false;
}

bool Parser::isName(int ahead) const
{
    const Token &t = peek(ahead);
    return t.kind == Tok::Quoted || (t.kind == Tok::Ident && !isReserved(t));
}

QString Parser::identifier(const char *construct)
{
    const Token &t = peek();
    if (t.kind == Tok::Quoted || t.kind == Tok::Ident) {
        next();
        return t.text.toString();
    }
    unexpected(construct);
}

ObjectName Parser::objectName(const char *construct)
{
    ObjectName name;
    name.pos = peek().offset;
    // Up to three parts; an omitted part (INVENTORY..tbX) is empty.
    while (true) {
        if (isOp(".")) {
            name.parts << QString();
        } else {
            name.parts << identifier(construct);
        }
        if (!acceptOp("."))
            break;
        if (name.parts.size() >= 4)
            break;
    }
    if (name.parts.size() > 3)
        fail(QStringLiteral("Four-part names (linked servers) are not supported."),
             QString::fromLatin1(construct), name.pos);
    if (name.parts.last().isEmpty())
        unexpected(construct);
    return name;
}

TypeSpec Parser::typeSpec()
{
    const int pos = peek().offset;
    TypeSpec dataType;
    dataType.name = identifier("data type").toLower();
    if (dataType.name == QLatin1String("double") && acceptWord("precision"))
        dataType.name = QStringLiteral("float");
    if (acceptOp("(")) {
        if (acceptWord("max")) {
            dataType.max = true;
        } else {
            const Token &t = next();
            if (t.kind != Tok::Integer)
                fail(QStringLiteral("Expected a length in the data type."),
                     QStringLiteral("data type"), t.offset);
            dataType.length = t.text.toInt();
            m_structural.push_back(t.literal);
            if (acceptOp(",")) {
                const Token &s = next();
                if (s.kind != Tok::Integer)
                    fail(QStringLiteral("Expected a scale in the data type."),
                         QStringLiteral("data type"), s.offset);
                dataType.scale = s.text.toInt();
                m_structural.push_back(s.literal);
            }
        }
        expectOp(")", "data type");
    }
    int line = 0;
    int column = 0;
    lineColumn(m_lexed.source, pos, line, column);
    resolveTypeSpec(dataType, line, column);
    return dataType;
}

ExprPtr Parser::expr()
{
    if (++m_depth > 200)
        fail(QStringLiteral("The statement is nested too deeply."), QStringLiteral("expression"),
             peek().offset);
    ExprPtr e = orExpr();
    --m_depth;
    return e;
}

ExprPtr Parser::orExpr()
{
    ExprPtr left = andExpr();
    while (isWord("or")) {
        const int pos = next().offset;
        left = binary(QStringLiteral("or"), std::move(left), andExpr(), pos);
    }
    return left;
}

ExprPtr Parser::andExpr()
{
    ExprPtr left = notExpr();
    while (isWord("and")) {
        const int pos = next().offset;
        left = binary(QStringLiteral("and"), std::move(left), notExpr(), pos);
    }
    return left;
}

ExprPtr Parser::notExpr()
{
    if (isWord("not")) {
        if (++m_depth > 200)
            fail(QStringLiteral("The statement is nested too deeply."), QStringLiteral("NOT"),
                 peek().offset);
        const int pos = next().offset;
        auto e = makeExpr(Expr::Kind::Unary, pos);
        e->op = QStringLiteral("not");
        e->args.push_back(notExpr());
        --m_depth;
        return e;
    }
    return predicate();
}

bool Parser::startsSelect() const
{
    int i = 0;
    while (isOp("(", i))
        ++i;
    return isWord("select", i);
}

ExprPtr Parser::predicate()
{
    if (isWord("exists")) {
        const int pos = next().offset;
        expectOp("(", "EXISTS");
        auto e = makeExpr(Expr::Kind::Exists, pos);
        e->sub = select();
        expectOp(")", "EXISTS");
        return e;
    }
    ExprPtr left = additive();
    const Token &t = peek();
    if (t.kind == Tok::Op) {
        static const char *const ops[] = {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
        for (const char *op : ops) {
            if (t.text == QLatin1String(op)) {
                next();
                QString o = QString::fromLatin1(op);
                if (o == QLatin1String("!="))
                    o = QStringLiteral("<>");
                else if (o == QLatin1String("!<"))
                    o = QStringLiteral(">=");
                else if (o == QLatin1String("!>"))
                    o = QStringLiteral("<=");
                if (isWord("all") || isWord("any") || isWord("some"))
                    unexpected("ALL/ANY comparison");
                return binary(o, std::move(left), additive(), t.offset);
            }
        }
        return left;
    }
    bool negated = false;
    int pos = t.offset;
    if (isWord("not") && (isWord("in", 1) || isWord("like", 1) || isWord("between", 1))) {
        next();
        negated = true;
    }
    if (acceptWord("is")) {
        auto e = makeExpr(Expr::Kind::IsNull, pos);
        e->negated = acceptWord("not");
        expectWord("null", "IS NULL");
        e->args.push_back(std::move(left));
        return e;
    }
    if (acceptWord("in")) {
        auto e = makeExpr(Expr::Kind::In, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        expectOp("(", "IN");
        if (startsSelect()) {
            e->sub = select();
        } else {
            do {
                e->args.push_back(expr());
            } while (acceptOp(","));
        }
        expectOp(")", "IN");
        return e;
    }
    if (acceptWord("between")) {
        auto e = makeExpr(Expr::Kind::Between, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        e->args.push_back(additive());
        expectWord("and", "BETWEEN");
        e->args.push_back(additive());
        return e;
    }
    if (acceptWord("like")) {
        auto e = makeExpr(Expr::Kind::Like, pos);
        e->negated = negated;
        e->args.push_back(std::move(left));
        e->args.push_back(additive());
        if (acceptWord("escape"))
            e->args.push_back(additive());
        return e;
    }
    if (negated)
        unexpected("NOT");
    return left;
}

ExprPtr Parser::additive()
{
    ExprPtr left = multiplicative();
    while (isOp("+") || isOp("-") || isOp("&") || isOp("|") || isOp("^")) {
        const Token &t = next();
        left = binary(t.text.toString(), std::move(left), multiplicative(), t.offset);
    }
    return left;
}

ExprPtr Parser::multiplicative()
{
    ExprPtr left = unary();
    while (isOp("*") || isOp("/") || isOp("%")) {
        const Token &t = next();
        left = binary(t.text.toString(), std::move(left), unary(), t.offset);
    }
    return left;
}

ExprPtr Parser::unary()
{
    if ((isOp("-") || isOp("+") || isOp("~")) && ++m_depth > 200)
        fail(QStringLiteral("The statement is nested too deeply."), QStringLiteral("expression"),
             peek().offset);
    if (isOp("-") || isOp("+") || isOp("~")) {
        const Token &t = next();
        auto e = makeExpr(Expr::Kind::Unary, t.offset);
        e->op = t.text.toString();
        e->args.push_back(unary());
        --m_depth;
        return e;
    }
    return primary();
}

ExprPtr Parser::caseExpr(int pos)
{
    auto e = makeExpr(Expr::Kind::Case, pos);
    if (!isWord("when")) {
        e->simpleCase = true;
        e->args.push_back(expr());
    }
    if (!isWord("when"))
        unexpected("CASE");
    while (acceptWord("when")) {
        e->args.push_back(expr());
        expectWord("then", "CASE");
        e->args.push_back(expr());
    }
    if (acceptWord("else")) {
        e->hasElse = true;
        e->args.push_back(expr());
    }
    expectWord("end", "CASE");
    return e;
}

ExprPtr Parser::functionCall(QStringList name, int pos)
{
    auto e = makeExpr(Expr::Kind::Func, pos);
    e->op = name.takeLast().toLower();
    e->name = name;
    expectOp("(", "function call");
    if (e->op == QLatin1String("cast") && name.isEmpty()) {
        e->kind = Expr::Kind::Cast;
        e->args.push_back(expr());
        expectWord("as", "CAST");
        e->typeSpec = typeSpec();
        expectOp(")", "CAST");
        return e;
    }
    if ((e->op == QLatin1String("convert") || e->op == QLatin1String("try_convert"))
        && name.isEmpty()) {
        e->kind = Expr::Kind::Cast;
        e->typeSpec = typeSpec();
        expectOp(",", "CONVERT");
        e->args.push_back(expr());
        if (acceptOp(","))
            e->args.push_back(expr());
        expectOp(")", "CONVERT");
        return e;
    }
    if (e->op == QLatin1String("count") && isOp("*")) {
        next();
        expectOp(")", "COUNT(*)");
        e->kind = Expr::Kind::CountStar;
        return e;
    }
    if (acceptOp(")"))
        return e;
    if (acceptWord("distinct"))
        e->distinct = true;
    else
        acceptWord("all");
    do {
        e->args.push_back(expr());
    } while (acceptOp(","));
    expectOp(")", "function call");
    if (isWord("over"))
        unexpected("window function");
    return e;
}

ExprPtr Parser::primary()
{
    const Token &t = peek();
    switch (t.kind) {
    case Tok::String:
    case Tok::Integer:
    case Tok::Decimal: {
        next();
        auto e = makeExpr(Expr::Kind::Literal, t.offset);
        e->literal = t.literal;
        return e;
    }
    case Tok::Variable: {
        next();
        auto e = makeExpr(Expr::Kind::Variable, t.offset);
        e->op = t.text.toString().toLower();
        return e;
    }
    case Tok::Op:
        if (t.text == QLatin1String("(")) {
            next();
            if (startsSelect()) {
                auto e = makeExpr(Expr::Kind::Subquery, t.offset);
                e->sub = select();
                expectOp(")", "subquery");
                return e;
            }
            ExprPtr inner = expr();
            expectOp(")", "parenthesised expression");
            return inner;
        }
        unexpected("expression");
    case Tok::Ident:
        if (sameWord(t.text, "null")) {
            next();
            return makeExpr(Expr::Kind::Null, t.offset);
        }
        if (sameWord(t.text, "case")) {
            next();
            return caseExpr(t.offset);
        }
        if (isReserved(t) && !(sameWord(t.text, "left") || sameWord(t.text, "right"))
            && !isOp("(", 1))
            unexpected("expression");
        [[fallthrough]];
    case Tok::Quoted: {
        QStringList name;
        const int pos = t.offset;
        while (true) {
            if (isOp(".")) {
                name << QString();
            } else if (isOp("*") && !name.isEmpty()) {
                // A.* is handled by the select list; reaching here means it stands elsewhere.
                unexpected("expression");
            } else {
                const Token &part = peek();
                if (part.kind != Tok::Ident && part.kind != Tok::Quoted)
                    unexpected("name");
                next();
                name << part.text.toString();
            }
            if (isOp(".")) {
                next();
                continue;
            }
            break;
        }
        if (isOp("(") && t.kind == Tok::Ident)
            return functionCall(name, pos);
        if (name.size() > 4 || name.last().isEmpty())
            fail(QStringLiteral("Invalid column name."), QStringLiteral("column"), pos);
        auto e = makeExpr(Expr::Kind::Column, pos);
        e->name = name;
        return e;
    }
    case Tok::End:
        unexpected("expression");
    }
    unexpected("expression");
}

} // namespace tsql
