#pragma once

#include "platform/tsql/Ast.h"
#include "platform/tsql/Lexer.h"

namespace tsql {

// Recursive-descent parser of the engine's T-SQL subset. Anything outside the subset throws
// tsql::Error naming the construct and its position.
class Parser
{
public:
    explicit Parser(const Lexed &lexed);

    // A whole batch: statements separated by ';' or simply following each other.
    Batch parseBatch();

private:
    friend struct ParserAccess;

    // Tokens
    const Token &peek(int ahead = 0) const;
    const Token &next();
    bool isWord(const char *keyword, int ahead = 0) const;
    bool isOp(const char *op, int ahead = 0) const;
    bool acceptWord(const char *keyword);
    bool acceptOp(const char *op);
    void expectWord(const char *keyword, const char *construct);
    void expectOp(const char *op, const char *construct);
    QString identifier(const char *construct);
    bool isName(int ahead = 0) const;
    bool isReserved(const Token &t) const;
    [[noreturn]] void fail(const QString &message, const QString &construct, int offset) const;
    [[noreturn]] void unexpected(const char *construct) const;

    // Statements
    StmtPtr statement(bool first);
    StmtPtr selectStatement();
    StmtPtr insertStatement();
    StmtPtr updateStatement();
    StmtPtr deleteStatement();
    StmtPtr createStatement();
    StmtPtr createTable(int pos);
    StmtPtr createIndex(int pos, bool unique);
    StmtPtr createRoutine(int pos, bool function);
    StmtPtr dropStatement();
    StmtPtr declareStatement();
    StmtPtr setStatement();
    StmtPtr ifStatement();
    StmtPtr whileStatement();
    StmtPtr blockStatement();
    StmtPtr execStatement(int pos);
    std::vector<StmtPtr> statementsUntilEnd();
    TypeSpec typeSpec();
    ObjectName objectName(const char *construct);

    // Queries
    std::shared_ptr<Select> select();
    QuerySpec querySpec();
    void fromClause(std::vector<FromItem> &from);
    TableSource tableSource();
    QString optionalAlias();

    // Expressions
    ExprPtr expr();
    ExprPtr orExpr();
    ExprPtr andExpr();
    ExprPtr notExpr();
    ExprPtr predicate();
    ExprPtr additive();
    ExprPtr multiplicative();
    ExprPtr unary();
    ExprPtr primary();
    ExprPtr caseExpr(int pos);
    ExprPtr functionCall(QStringList name, int pos);
    bool startsSelect() const;

    const Lexed &m_lexed;
    const std::vector<Token> &m_tokens;
    size_t m_pos = 0;
    std::vector<int> m_structural; // literals read as syntax: they shape the translation
    // Nesting of expressions and queries, bounded so that no input exhausts the stack.
    int m_depth = 0;
};

} // namespace tsql
