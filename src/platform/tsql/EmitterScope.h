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
};

struct Emitter::Scope
{
    std::vector<Source> sources;
    const Scope *parent = nullptr;

    // A grouped query (GROUP BY, HAVING or an aggregate): outside an aggregate, its columns may
    // only be read where they are grouped. `clause` names the clause being emitted; empty where
    // any column may stand (FROM, WHERE, GROUP BY).
    bool grouped = false;
    const std::vector<ExprPtr> *groupBy = nullptr;
    QStringList groupedColumns; // the emitted SQL of the grouped plain columns
    mutable QString clause;
    mutable int inAggregate = 0;
    mutable int inGrouped = 0;
};

} // namespace tsql
