#pragma once

#include "platform/tsql/Ast.h"
#include "platform/tsql/Numbers.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>

namespace tsql {

// A datetime as the engine stores it: a date and the milliseconds since midnight. Stored in
// SQLite as the text "yyyy-MM-dd HH:mm:ss.zzz", which sorts and compares as the date-time.
struct DateTimeValue
{
    QDate date;
    int msecs = 0;
    bool isValid() const { return date.isValid(); }
};

// The date-time texts the server accepts: "12/08/2026 10:15:00 AM", "12/08/2026",
// "2026-12-08 10:15", "2026-12-08T10:15:00.000", "20261208", "Dec 8 2026 10:15AM",
// "8 Dec 2026", a time alone (on 1900-01-01).
bool parseDateTime(QStringView text, DateTimeValue &out);
// CONVERT(datetime, text, style): the day, month and year in the order the style gives them
// (103: dd/mm/yyyy, 104: dd.mm.yyyy, 105: dd-mm-yyyy, 3/4/5 with two-digit years, 2/11/12:
// yy.mm.dd, yy/mm/dd, yymmdd); the other styles read as without a style.
bool parseDateTimeStyled(QStringView text, int style, DateTimeValue &out);
// The server keeps datetimes in 1/300 s: milliseconds end in 0, 3 or 7.
DateTimeValue roundedToTicks(DateTimeValue value);
QString storedText(const DateTimeValue &value);
// The stored form "yyyy-MM-dd HH:mm:ss.zzz" as UTF-8 bytes, read directly.
bool parseStoredDateTime(const char *text, int length, DateTimeValue &out);
DateTimeValue fromDays(double days); // days since 1900-01-01, as the server counts
double toDays(const DateTimeValue &value);
QDateTime toQDateTime(const DateTimeValue &value);
DateTimeValue fromQDateTime(const QDateTime &value);
// CONVERT(varchar, datetime, style); false for an unknown style.
bool styledText(const DateTimeValue &value, int style, QString &out);

// ISNUMERIC by the server's rules.
bool isNumericText(QStringView text);

// Conversions applied when a value goes into a column, a variable or a comparison of a type.
enum class Conv : unsigned char { None, DateTime, Date, Bit, Number, Int, Text };
Conv convFor(const TypeSpec &dataType);
Conv convFor(Type type);

// The value converted; throws tsql::Error with the server's conversion message. An exact or
// integer `num` rounds, truncates and range-checks numbers as that type.
QVariant convertValue(const QVariant &value, Conv conv, NumType num = {});
// The value as it is kept in a column or variable of the type.
QVariant convertTo(const QVariant &value, const TypeSpec &type);

// A value written as SQLite literal text.
QString sqlLiteral(const QVariant &value);

// Number text as the server converts numbers to varchar.
QString numberToText(double value);

} // namespace tsql
