#pragma once

#include "platform/tsql/Emitter.h"

namespace tsql {

// A row source of a FROM clause as the emitter sees it.
struct Emitter::Source
{
    QString alias; // the name it is qualified by in the statement
    QString sqlAlias; // the name in the emitted SQL
    QString table; // the table name, for qualification by table name
    std::vector<OutColumn> columns;
    const Select *apply = nullptr; // OUTER/CROSS APPLY: columns become correlated subqueries
    bool bare = false; // columns named without qualifier (a table's own computed columns)
};

struct Emitter::Scope
{
    std::vector<Source> sources;
    const Scope *parent = nullptr;
};

} // namespace tsql
