#pragma once

#include "platform/tsql/Lexer.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tsql {

// The value types the engine tracks for columns, variables and expressions. The order is the
// server's precedence for implicit conversion (a higher one wins).
enum class Type : unsigned char { Unknown, Null, Text, Bit, Int, Float, DateTime };

struct TypeSpec
{
    QString name; // lower case: varchar, int, datetime, ...
    int length = -1;
    int scale = -1;
    bool max = false;
    Type type = Type::Unknown;
    bool dateOnly = false; // `date`: midnight
};

// Fills type/dateOnly from the name; throws for an unknown type name.
void resolveTypeSpec(TypeSpec &dataType, int line, int column);

struct Select;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr
{
    enum class Kind : unsigned char {
        Literal,
        Null,
        Column, // name: [db, schema, table, column] as written, last = column
        Variable, // op: the name in lower case
        Unary, // op: "-", "+", "~", "not"
        Binary, // op: lower case operator or "and"/"or"
        Func, // op: function name in lower case; name: its qualifier parts
        CountStar,
        Case, // simpleCase: args[0] is the operand; then when/then pairs; hasElse: last
        Cast, // args[0], typeSpec; args[1] = style for CONVERT
        Subquery,
        Exists,
        In, // args[0] IN (args[1..]) or sub
        Between, // args[0] BETWEEN args[1] AND args[2]
        Like, // args[0] LIKE args[1] [ESCAPE args[2]]
        IsNull, // args[0] IS [NOT] NULL
    };
    Kind kind = Kind::Null;
    int pos = 0; // offset in the source text
    QString op;
    QStringList name;
    int literal = -1;
    bool negated = false;
    bool distinct = false;
    bool simpleCase = false;
    bool hasElse = false;
    TypeSpec typeSpec;
    std::vector<ExprPtr> args;
    std::shared_ptr<Select> sub;

    Expr() = default;
    Expr(const Expr &) = delete;
    Expr &operator=(const Expr &) = delete;
    Expr(Expr &&) = default;
    Expr &operator=(Expr &&) = default;
    // Long chains (a + b + c ..., thousands of terms) are freed without deep recursion.
    ~Expr()
    {
        if (args.empty())
            return;
        std::vector<ExprPtr> pending = std::move(args);
        while (!pending.empty()) {
            ExprPtr p = std::move(pending.back());
            pending.pop_back();
            if (!p)
                continue;
            for (ExprPtr &a : p->args)
                pending.push_back(std::move(a));
            p->args.clear();
        }
    }
};

struct ObjectName
{
    QStringList parts; // as written, omitted parts empty (INVENTORY..tbX -> INVENTORY, "", tbX)
    int pos = 0;
    QString last() const { return parts.isEmpty() ? QString() : parts.last(); }
};

struct SelectItem
{
    ExprPtr expr;
    QString alias;
    bool hasAlias = false;
    bool star = false;
    QString starQualifier; // A.* -> "A"
    QString assignVar; // SELECT @v = expr
    int pos = 0;
};

enum class JoinKind : unsigned char {
    First,
    Comma,
    Inner,
    Left,
    Right,
    Full,
    Cross,
    OuterApply,
    CrossApply
};

struct TableSource
{
    ObjectName name; // a table ...
    std::shared_ptr<Select> derived; // ... or a derived table / applied query
    QString alias;
    int pos = 0;
};

struct FromItem
{
    JoinKind kind = JoinKind::First;
    TableSource source;
    ExprPtr on;
};

struct QuerySpec
{
    bool distinct = false;
    ExprPtr top;
    std::vector<SelectItem> items;
    std::vector<FromItem> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    int pos = 0;
};

struct OrderItem
{
    ExprPtr expr;
    bool descending = false;
};

struct Select
{
    std::vector<QuerySpec> parts;
    std::vector<bool> unionAll; // between parts[i] and parts[i+1]
    std::vector<OrderItem> orderBy;
    int pos = 0;
};

struct ColumnDef
{
    QString name;
    TypeSpec type;
    bool notNull = false;
    bool identity = false;
    qlonglong seed = 1;
    bool primaryKey = false;
    bool unique = false;
    ExprPtr defaultValue;
    int pos = 0;
};

struct VarDecl
{
    QString name; // lower case, with @
    TypeSpec type;
    ExprPtr init;
};

struct ExecArg
{
    QString paramName; // @p = value (lower case), else empty
    ExprPtr value; // literal, variable, NULL or a negated number
    QString bare; // an unquoted word passed as text
    bool isBare = false;
    bool isDefault = false;
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
struct Routine;

struct Stmt
{
    enum class Kind : unsigned char {
        Select,
        Insert,
        Update,
        Delete,
        CreateTable,
        CreateIndex,
        CreateRoutine,
        Drop,
        Declare,
        SetVar,
        SetOption,
        If,
        While,
        Block,
        Return,
        Exec,
        Use,
        CreateDatabase,
        BeginTran,
        Commit,
        Rollback,
        Print,
        Raise,
        Truncate,
        Break,
        Continue,
    };
    Kind kind = Kind::Block;
    int pos = 0;
    int endPos = 0;

    std::shared_ptr<Select> select; // SELECT; INSERT ... SELECT
    ObjectName target; // table, index table, procedure, dropped object
    QString name; // index, variable, database, option, dropped kind
    QString alias; // UPDATE/DELETE target as written when it is an alias
    QStringList columns; // INSERT columns, index columns
    std::vector<bool> descending;
    std::vector<std::vector<ExprPtr>> rows; // INSERT VALUES
    bool defaultValues = false;
    std::vector<std::pair<QString, ExprPtr>> sets; // UPDATE SET column = expr
    std::vector<FromItem> from;
    ExprPtr where;
    std::vector<ColumnDef> columnDefs;
    QStringList primaryKey;
    std::vector<QStringList> uniques;
    bool unique = false;
    bool ifExists = false;
    std::vector<VarDecl> vars;
    ExprPtr expr; // SET @v = expr, IF/WHILE condition, RETURN, PRINT, RAISERROR message
    std::vector<ExprPtr> exprs; // RAISERROR: severity, state and the message's arguments
    std::vector<StmtPtr> body; // BLOCK; IF: body[0] then, body[1] else (may be null)
    std::vector<ExecArg> args;
    std::shared_ptr<Routine> routine;
};

struct RoutineParam
{
    QString name; // lower case, with @
    TypeSpec type;
    ExprPtr defaultValue;
    bool hasDefault = false;
};

// A procedure or scalar function as created; shared read-only between connections.
struct Routine
{
    QString db;
    QString name;
    bool isFunction = false;
    std::vector<RoutineParam> params;
    std::vector<StmtPtr> body;
    ExprPtr returnExpr; // functions: the single RETURN expression
    TypeSpec returnType;
    std::vector<Literal> literals;
    QString source; // the CREATE text, kept for reopening the database
    QString text; // the text the positions in the tree refer to
};

// A parsed batch: statements with the literals they refer to.
struct Batch
{
    std::vector<StmtPtr> stmts;
    std::vector<int> structural; // literals read as part of the syntax (type lengths)
};

} // namespace tsql
