#pragma once

#include "platform/tsql/Ast.h"

#include <QString>
#include <QtGlobal>

namespace tsql {

// The exact side of a number type. Exact numbers (decimal, numeric, money) travel through SQLite
// as the double nearest to their value, always rounded to their scale on the decimal digits, so
// that one decimal value has one double: equality, ordering and indexes work on the doubles, and
// sums and products are rounded back to the scale the server gives them. Up to 15 significant
// digits are kept exactly.
struct NumType
{
    enum class Kind : unsigned char { None, Integer, Decimal, Money, Float };
    Kind kind = Kind::None;
    signed char precision = 0; // integers: 3 tinyint, 5 smallint, 10 int, 19 bigint
    signed char scale = 0;

    bool isDecimal() const { return kind == Kind::Decimal || kind == Kind::Money; }
    bool isInteger() const { return kind == Kind::Integer; }
    static NumType integer(int precision)
    {
        return {Kind::Integer, static_cast<signed char>(precision), 0};
    }
    static NumType decimal(int precision, int scale)
    {
        return {Kind::Decimal, static_cast<signed char>(precision),
                static_cast<signed char>(scale)};
    }
    static NumType money(bool small = false)
    {
        return {Kind::Money, static_cast<signed char>(small ? 10 : 19), 4};
    }
};

// Digits kept exactly by the double that carries a decimal value.
constexpr int kExactDigits = 15;

NumType numTypeOf(const TypeSpec &type);
// The type of a number literal as written: 12 int, 3000000000 bigint, 1.005 decimal(4,3),
// 1e3 float.
NumType numTypeOfLiteral(QStringView raw, bool decimal);

// The result type of `a op b` (op one of + - * / %) by the server's precision and scale rules;
// Kind::None when neither side is exact.
NumType arithmeticType(QChar op, NumType a, NumType b);
// SUM and AVG of a column of this type.
NumType sumType(NumType x);
NumType avgType(NumType x);
// decimal(p, s) of an integer or money value met by a decimal one.
NumType asDecimal(NumType x);

// The value rounded half away from zero to `scale` decimals, on its decimal digits (1.005 to
// two decimals is 1.01, although the double nearest to 1.005 lies below it). With `truncate`
// the digits beyond the scale are dropped.
double roundDecimal(double value, int scale, bool truncate = false);
// Whether a rounded value fits decimal(precision, scale).
bool fitsDecimal(double value, int precision, int scale);

// The server's names for conversion messages: "int", "numeric", "money", ...
QString typeName(NumType type);
bool fitsInteger(double value, int precision);

// Text of an exact value with all its decimals ("1.50", "-0.0100", "0.000").
QString decimalText(double value, int scale);
// Money as varchar without a style: two decimals ("12.35").
QString moneyText(double value);

// A text read as a number of the type; throws tsql::Error with the server's message when the
// server refuses it ("12.5" as int, "abc" as decimal, "99999" as decimal(4,0)).
QVariant textToNumber(const QString &text, NumType type);
// A number converted to the type: rounded (decimal, money) or truncated (integers) and checked
// for range; throws tsql::Error ("Arithmetic overflow error converting ...").
QVariant numberToType(const QVariant &value, NumType type);

} // namespace tsql
