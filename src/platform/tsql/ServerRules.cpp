#include "platform/tsql/Functions.h"

#include <QString>

#include <sqlite3.h>

namespace tsql {

namespace {

// char(n): the text padded with blanks to n characters. Longer text is left for the column's
// check to refuse, unless only blanks stand beyond n.
void fnChar(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const auto *data = static_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    QString s = QString::fromUtf16(data, sqlite3_value_bytes16(argv[0]) / 2);
    const auto n = static_cast<qsizetype>(sqlite3_value_int(argv[1]));
    if (s.size() < n) {
        s += QString(n - s.size(), QLatin1Char(' '));
    } else if (s.size() > n) {
        qsizetype end = s.size();
        while (end > n && s[end - 1] == QLatin1Char(' '))
            --end;
        if (end == n)
            s.truncate(n);
    }
    sqlite3_result_text16(ctx, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_TRANSIENT);
}

struct Single
{
    sqlite3_value *value;
    int rows;
};

// The value of a subquery used as an expression: one row at most.
void singleStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto *s = static_cast<Single *>(sqlite3_aggregate_context(ctx, sizeof(Single)));
    if (!s)
        return sqlite3_result_error_nomem(ctx);
    if (++s->rows > 1) {
        static const char message[]
            = "Subquery returned more than 1 value. This is not permitted when the subquery "
              "follows =, !=, <, <= , >, >= or when the subquery is used as an expression.";
        return sqlite3_result_error(ctx, message, -1);
    }
    s->value = sqlite3_value_dup(argv[0]);
}

void singleFinal(sqlite3_context *ctx)
{
    auto *s = static_cast<Single *>(sqlite3_aggregate_context(ctx, 0));
    if (!s || !s->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, s->value);
    sqlite3_value_free(s->value);
    s->value = nullptr;
}

} // namespace

void registerServerRules(sqlite3 *db)
{
    sqlite3_create_function_v2(db, "tsql_char", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               fnChar, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "tsql_single", 1, SQLITE_UTF8, nullptr, nullptr, singleStep,
                               singleFinal, nullptr);
    // SQLite's Bloom filters on join keys hash the stored bytes, not the collation: 'ABC' and
    // 'abc ' would hash apart and a join would silently lose the row. They are switched off;
    // the indexes (automatic ones included) keep the TSQL collation.
    constexpr int kBloomFilter = 0x00080000;
    constexpr int kBloomPulldown = 0x00100000;
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilter | kBloomPulldown);
}

} // namespace tsql
