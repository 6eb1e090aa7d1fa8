#pragma once

#include <QDateTime>
#include <QString>

struct sqlite3;

namespace tsql {

// What the SQL functions need from the engine that registered them.
class FunctionHost
{
public:
    virtual ~FunctionHost() = default;
    virtual QDateTime now() const = 0;
    // OBJECT_ID: an id when the object exists, else 0.
    virtual int objectId(const QString &name, const QString &type) const = 0;
};

// Registers the TSQL collation (no letter case, trailing blanks ignored), LIKE with the
// server's rules, and the tsql_* functions the emitted SQL calls.
void registerFunctions(sqlite3 *db, FunctionHost *host);

// char(n) padding, the one-row rule of subqueries used as values, and the planner settings
// that keep joins on collated text whole. Called by registerFunctions.
void registerServerRules(sqlite3 *db);

// Case-insensitive LIKE with %, _, [class] and an optional escape; trailing blanks of the
// text are ignored.
bool likeMatch(const QString &pattern, const QString &text, QChar escape = QChar());

} // namespace tsql
