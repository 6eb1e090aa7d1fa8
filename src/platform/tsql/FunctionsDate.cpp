// The date and time functions the emitter calls: conversions between the stored form and the
// server's, DATEADD, DATEPART, DATEDIFF and datetime arithmetic.
#include "platform/tsql/FunctionParts.h"

#include "platform/tsql/Values.h"

#include <sqlite3.h>

#include <cmath>

namespace tsql::fn {

void fnDt(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[0], v, isNull, ctx))
        return;
    if (isNull)
        return sqlite3_result_null(ctx);
    resultText(ctx, storedText(v));
}

void fnDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[0], v, isNull, ctx))
        return;
    if (isNull)
        return sqlite3_result_null(ctx);
    v.msecs = 0;
    resultText(ctx, storedText(v));
}

void fnGetDate(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, storedText(fromQDateTime(host(ctx)->now())));
}

static DateTimeValue addUnits(DateTimeValue v, const QByteArray &unit, qint64 n)
{
    if (unit == "year")
        v.date = v.date.addYears(static_cast<int>(n));
    else if (unit == "quarter")
        v.date = v.date.addMonths(static_cast<int>(n * 3));
    else if (unit == "month")
        v.date = v.date.addMonths(static_cast<int>(n));
    else if (unit == "day" || unit == "dayofyear" || unit == "weekday")
        v.date = v.date.addDays(n);
    else if (unit == "week")
        v.date = v.date.addDays(n * 7);
    else {
        qint64 ms = unit == "hour" ? n * 3600000
            : unit == "minute"     ? n * 60000
            : unit == "second"     ? n * 1000
                                   : n;
        qint64 total = v.msecs + ms;
        qint64 days = total >= 0 ? total / 86400000 : -((-total + 86399999) / 86400000);
        v.date = v.date.addDays(days);
        v.msecs = static_cast<int>(total - days * 86400000);
    }
    return v;
}

void fnDateAdd(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[2], v, isNull, ctx))
        return;
    const QByteArray unit(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    const double amount = sqlite3_value_double(argv[1]);
    v = addUnits(v, unit, static_cast<qint64>(std::trunc(amount)));
    if (!v.date.isValid() || v.date.year() < 1753 || v.date.year() > 9999)
        return resultError(ctx,
                           QStringLiteral("Adding a value to a 'datetime' column caused an "
                                          "overflow."));
    resultText(ctx, storedText(v));
}

static qint64 partOf(const DateTimeValue &v, const QByteArray &unit)
{
    if (unit == "year")
        return v.date.year();
    if (unit == "quarter")
        return (v.date.month() - 1) / 3 + 1;
    if (unit == "month")
        return v.date.month();
    if (unit == "dayofyear")
        return v.date.dayOfYear();
    if (unit == "day")
        return v.date.day();
    if (unit == "week")
        return (v.date.dayOfYear() + QDate(v.date.year(), 1, 1).dayOfWeek() % 7 - 1) / 7 + 1;
    if (unit == "weekday")
        return v.date.dayOfWeek() % 7 + 1; // Sunday = 1
    if (unit == "hour")
        return v.msecs / 3600000;
    if (unit == "minute")
        return v.msecs / 60000 % 60;
    if (unit == "second")
        return v.msecs / 1000 % 60;
    return v.msecs % 1000;
}

void fnDatePart(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[1], v, isNull, ctx))
        return;
    if (isNull)
        return sqlite3_result_null(ctx);
    const QByteArray unit(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    sqlite3_result_int64(ctx, partOf(v, unit));
}

void fnDateDiff(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    DateTimeValue a;
    DateTimeValue b;
    bool nullA = false;
    bool nullB = false;
    if (!readDateTime(argv[1], a, nullA, ctx) || !readDateTime(argv[2], b, nullB, ctx))
        return;
    if (nullA || nullB)
        return sqlite3_result_null(ctx);
    const QByteArray unit(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    qint64 r = 0;
    if (unit == "year")
        r = b.date.year() - a.date.year();
    else if (unit == "quarter")
        r = (b.date.year() - a.date.year()) * 4 + (b.date.month() - 1) / 3
            - (a.date.month() - 1) / 3;
    else if (unit == "month")
        r = (b.date.year() - a.date.year()) * 12 + b.date.month() - a.date.month();
    else if (unit == "week")
        r = (a.date.daysTo(b.date) + a.date.dayOfWeek() % 7 - b.date.dayOfWeek() % 7) / 7;
    else if (unit == "day" || unit == "dayofyear" || unit == "weekday")
        r = a.date.daysTo(b.date);
    else {
        const qint64 days = a.date.daysTo(b.date);
        const qint64 ms = days * 86400000 + b.msecs - a.msecs;
        if (unit == "hour")
            r = days * 24 + b.msecs / 3600000 - a.msecs / 3600000;
        else if (unit == "minute")
            r = days * 1440 + b.msecs / 60000 - a.msecs / 60000;
        else if (unit == "second")
            r = days * 86400 + b.msecs / 1000 - a.msecs / 1000;
        else
            r = ms;
    }
    sqlite3_result_int64(ctx, r);
}

void fnDtStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[0], v, isNull, ctx))
        return;
    if (isNull)
        return sqlite3_result_null(ctx);
    QString out;
    if (!styledText(v, sqlite3_value_int(argv[1]), out))
        return resultError(ctx,
                           QStringLiteral("%1 is not a valid style number when converting "
                                          "from datetime to a character string.")
                               .arg(sqlite3_value_int(argv[1])));
    const int length = sqlite3_value_int(argv[2]);
    if (length > 0)
        out.truncate(length);
    resultText(ctx, out);
}

// tsql_dtplus(datetime, days): days (fractions too) added; a datetime or a date text as the
// second operand counts its days since 1900-01-01, as the server adds two datetimes.
void fnDtPlus(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    DateTimeValue v;
    bool isNull = false;
    if (!readDateTime(argv[0], v, isNull, ctx))
        return;
    double days = 0;
    const int t = sqlite3_value_type(argv[1]);
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        days = sqlite3_value_double(argv[1]);
    } else {
        DateTimeValue other;
        const QString s = textArg(argv[1]);
        if (!parseDateTime(s, other))
            return resultError(ctx,
                               QStringLiteral("Conversion failed when converting date and/or "
                                              "time from character string."));
        days = toDays(other);
    }
    const double total = toDays(v) + days;
    if (!std::isfinite(total) || total < -53690 || total >= 2958464)
        return resultError(ctx,
                           QStringLiteral("Arithmetic overflow error converting expression "
                                          "to data type datetime."));
    resultText(ctx, storedText(fromDays(total)));
}

// tsql_dtstyle(text, style, dateOnly): CONVERT(datetime, text, style).
void fnDtStyle(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    DateTimeValue v;
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        v = fromDays(sqlite3_value_double(argv[0]));
    } else {
        const QString s = textArg(argv[0]);
        if (s.trimmed().isEmpty()) {
            v = fromDays(0);
        } else if (!parseDateTimeStyled(s, sqlite3_value_int(argv[1]), v)) {
            return resultError(ctx,
                               QStringLiteral("Conversion failed when converting date and/or "
                                              "time from character string."));
        }
    }
    if (sqlite3_value_int(argv[2]) != 0)
        v.msecs = 0;
    resultText(ctx, storedText(v));
}

} // namespace tsql::fn
