#pragma once

#include "platform/tsql/Engine.h"

#include <sqlite3.h>
#include <string>
#include <vector>

namespace tsql {

// A translated statement with its prepared SQLite statement, kept for reuse.
struct Engine::Compiled
{
    Translation translation;
    sqlite3_stmt *stmt = nullptr;
    QStringList names; // the result's column names, shared by every result
    std::vector<std::string> bound; // the text bound to each parameter, held until the next bind
    ~Compiled()
    {
        if (stmt)
            sqlite3_finalize(stmt);
    }
};

// The translations of one parsed batch or procedure, valid for one catalogue version.
struct Engine::PlanSet
{
    int version = -1;
    std::unordered_map<const void *, std::unique_ptr<Compiled>> plans;
};

struct Variable
{
    TypeSpec type;
    QVariant value;
};

// What a running batch or procedure sees.
struct Engine::Context
{
    const std::vector<Literal> *literals = nullptr;
    std::vector<QVariant> literalValues; // statement literals bound as parameters
    bool inlineLiterals = false;
    QHash<QString, Variable> vars;
    ResultSet *result = nullptr;
    QString text; // the text that positions refer to
    PlanSet *plans = nullptr;
    CacheEntry *entry = nullptr; // the cached batch, to note literals that shaped a translation
};

// A parsed statement text, found again by its shape.
struct Engine::CacheEntry
{
    Batch batch;
    QString text;
    QString db; // the current database it was translated in
    Lexed lexed; // its tokens, to confirm a shape match
    std::vector<std::pair<int, QString>> baked;
    PlanSet plans;
    bool cacheable = true;
};

} // namespace tsql
