#pragma once

// What the files of the engine's SQL functions share: reading arguments, giving results, and the
// functions each file defines for the registration table.

#include "platform/tsql/Functions.h"
#include "platform/tsql/Values.h"

#include <QString>

struct sqlite3_context;
struct sqlite3_value;

namespace tsql::fn {

QString textArg(sqlite3_value *v);
void resultText(sqlite3_context *ctx, const QString &s);
void resultError(sqlite3_context *ctx, const QString &message);
// A datetime argument in the stored form or any text the server reads as a date.
bool readDateTime(sqlite3_value *v, DateTimeValue &out, bool &isNull, sqlite3_context *ctx);
FunctionHost *host(sqlite3_context *ctx);
bool anyNull(int argc, sqlite3_value **argv);

// Date and time functions.
void fnDt(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDate(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnGetDate(sqlite3_context *ctx, int, sqlite3_value **);
void fnDateAdd(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDatePart(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDateDiff(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDtStr(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDtPlus(sqlite3_context *ctx, int, sqlite3_value **argv);
void fnDtStyle(sqlite3_context *ctx, int, sqlite3_value **argv);

} // namespace tsql::fn
