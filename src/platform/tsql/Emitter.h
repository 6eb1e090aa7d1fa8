#pragma once

#include "platform/tsql/Ast.h"
#include "platform/tsql/Catalog.h"
#include "platform/tsql/Values.h"

#include <QHash>
#include <functional>
#include <vector>

namespace tsql {

// A value bound to a placeholder ?N of the emitted SQL: a literal of the statement text or a
// variable, converted for the column or expression it meets.
struct Param
{
    int literal = -1;
    QString variable;
    Conv conv = Conv::None;
    NumType num {}; // exact or integer target: rounded, truncated and range-checked
};

struct OutColumn
{
    QString name;
    Type type = Type::Unknown;
    NumType num {};
};

// One SQLite statement translated from T-SQL.
struct Translation
{
    QString sql;
    std::vector<Param> params;
    std::vector<OutColumn> columns;
    QStringList assignVars; // SELECT @v = ...: the variable of each column
};

// A table created by CREATE TABLE: the SQLite statements to run and the catalogue entry.
struct TableDdl
{
    QStringList sql;
    Table table;
};

// Translates the AST to SQLite SQL. Names are resolved against the catalogue; types are
// inferred so that `+`, comparisons and conversions follow the server's rules.
class Emitter
{
public:
    using VariableType = std::function<const TypeSpec *(const QString &name)>;

    Emitter(const Catalog &catalog, const QString &currentDb, const std::vector<Literal> &literals,
            bool inlineLiterals, VariableType variables, const QString &text);

    Translation query(const Select &select);
    Translation scalar(const Expr &expr);
    Translation condition(const Expr &expr);
    Translation insert(const Stmt &stmt);
    Translation update(const Stmt &stmt);
    Translation remove(const Stmt &stmt);
    TableDdl createTable(const Stmt &stmt);
    QString createIndex(const Stmt &stmt, QString &db, QString &table);

    // Literals whose value shaped the translation (they cannot become parameters).
    const std::vector<int> &baked() const { return m_baked; }

    // (database, object) of a name as written, in the current database by default.
    QString resolveDb(const ObjectName &name) const;
    const Table &resolveTable(const ObjectName &name) const;

    [[noreturn]] void fail(const QString &message, const QString &construct, int pos) const;

    struct Em
    {
        QString sql;
        Type type = Type::Unknown;
        int param = -1; // the expression is exactly this parameter (a literal)
        int literal = -1; // ... or this inline literal
        NumType num {}; // the exact or integer type of a number
    };
    struct Source;
    struct Scope;

private:
    struct Frame
    {
        const std::vector<Literal> *literals = nullptr;
        bool inlineLiterals = false;
        const QHash<QString, const Expr *> *args = nullptr;
        const Scope *argScope = nullptr;
        const Frame *caller = nullptr;
        QString aliasSuffix;
        QString text;
    };

    // Expressions
    Em emitExpr(const Expr &e, const Scope *scope);
    Em literal(const Expr &e);
    Em column(const Expr &e, const Scope *scope);
    Em variable(const Expr &e, const Scope *scope);
    Em unary(const Expr &e, const Scope *scope);
    Em binary(const Expr &e, const Scope *scope);
    Em comparison(const QString &op, Em l, Em r);
    Em numeric(const QString &op, const Em &l, const Em &r, Type type);
    Em function(const Expr &e, const Scope *scope);
    Em userFunction(const Expr &e, const Scope *scope);
    Em caseExpr(const Expr &e, const Scope *scope);
    Em cast(const Expr &e, const Scope *scope);
    Em castTo(Em x, const TypeSpec &dataType, int style);
    Em in(const Expr &e, const Scope *scope);
    void coerce(Em &em, Type target, bool dateOnly = false);
    void store(Em &em, const TypeSpec &column);
    bool storeNumber(Em &em, const TypeSpec &column);
    QString collated(const Em &em) const;
    QString unitOf(const Expr &e);
    int bakedInt(const Expr &e);
    int addParam(Param p);

    // Queries
    struct SpecOut
    {
        QString sql;
        std::vector<OutColumn> columns;
    };
    SpecOut select(const Select &sel, const Scope *parent, bool assign = false);
    SpecOut querySpec(const QuerySpec &q, const Scope *parent, int onlyItem, bool assign,
                      const std::vector<OrderItem> *orderBy);
    QString fromClause(const std::vector<FromItem> &from, Scope &scope, QStringList &conditions,
                       int withRowid = -1);
    Source tableSourceOf(const TableSource &src, const Scope *parent);
    QString orderBy(const std::vector<OrderItem> &items, const Scope *scope,
                    const std::vector<OutColumn> &outputs, bool compound,
                    const QuerySpec *distinct = nullptr);
    QString applyColumn(const Source &source, const Scope *owner, int item);
    // The SQLite expressions of a new table's computed columns (empty for stored ones); sets
    // their types and CASE parts in the table.
    std::vector<QString> computedColumns(const Stmt &stmt, Table &t);

    // What the server refuses, and expressions too long to emit by recursion.
    Em binaryOp(const Expr &e, Em l, Em r);
    Em logicalChain(const Expr &e, const Scope *scope);
    Em scalarSubquery(const Expr &e, const Scope *scope);
    Em aggregateCall(const Expr &e, const Scope *scope);
    void prepareGrouping(const QuerySpec &q, Scope &scope);
    bool groupedExpr(const Expr &e, const Scope *scope) const;
    void checkGrouped(const Scope &s, const QString &alias, const QString &sql,
                      const QString &column, int pos) const;
    void checkDistinctOrder(const QuerySpec &q, const Expr &e) const;
    QString textRule(const Em &em) const;
    QString charPadded(const QString &sql, const TypeSpec &type) const;
    QString likeRange(const Expr &e, const Em &x);

    QString quoted(const QString &name) const;
    QString tableSql(const Table &t) const;
    QString sqlAlias(const QString &alias) const;

    const Catalog &m_catalog;
    QString m_db;
    VariableType m_variables;
    Frame m_top;
    const Frame *m_frame;
    std::vector<Param> m_params;
    std::vector<int> m_baked;
    int m_inlineCount = 0;
    bool m_intChecks = true; // integer results checked against their range as they are built
    QString m_lastColumn; // "alias.column" of the column last emitted
};

} // namespace tsql
