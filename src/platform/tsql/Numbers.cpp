#include "platform/tsql/Numbers.h"

#include "platform/format/Decimal.h"
#include "platform/tsql/Error.h"

#include <algorithm>
#include <cmath>

namespace tsql {

namespace {

using format::detail::Decimal;

const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double power10(int n)
{
    if (n >= 0 && n <= 22)
        return kPowers[n];
    return std::pow(10.0, n);
}

// An integer or money type as the decimal it widens to when it meets a decimal.
NumType widened(NumType x)
{
    if (x.kind == NumType::Kind::Integer)
        return NumType::decimal(x.precision, 0);
    if (x.kind == NumType::Kind::Money)
        return NumType::decimal(x.precision, 4);
    return x;
}

// A result wider than 38 digits keeps its integral digits and gives up decimals.
NumType capped(int p, int s, int integral, bool multiplicative)
{
    if (p <= 38)
        return NumType::decimal(p, s);
    if (multiplicative) {
        const int whole = p - s;
        if (whole < 32)
            s = std::min(s, 38 - whole);
        else if (s > 6)
            s = 6;
    } else {
        s = std::max(0, std::min(s, 38 - integral));
    }
    return NumType::decimal(38, s);
}

QString trimmedCopy(const QString &text)
{
    return text.trimmed();
}

bool plainDigits(const QString &s, bool allowPoint)
{
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    bool digit = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
        } else if (c == QLatin1Char('.') && allowPoint && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

} // namespace

NumType numTypeOf(const TypeSpec &type)
{
    const QString &n = type.name;
    if (n == QLatin1String("int") || n == QLatin1String("integer"))
        return NumType::integer(10);
    if (n == QLatin1String("bigint"))
        return NumType::integer(19);
    if (n == QLatin1String("smallint"))
        return NumType::integer(5);
    if (n == QLatin1String("tinyint"))
        return NumType::integer(3);
    if (n == QLatin1String("money"))
        return NumType::money();
    if (n == QLatin1String("smallmoney"))
        return NumType::money(true);
    if (n == QLatin1String("decimal") || n == QLatin1String("numeric")) {
        const int p = type.length > 0 ? std::min(type.length, 38) : 18;
        const int s = type.scale > 0 ? std::min(type.scale, p) : 0;
        return NumType::decimal(p, s);
    }
    if (n == QLatin1String("float") || n == QLatin1String("real"))
        return {NumType::Kind::Float, 53, 0};
    return {};
}

NumType numTypeOfLiteral(QStringView raw, bool decimal)
{
    if (raw.contains(QLatin1Char('e')) || raw.contains(QLatin1Char('E')))
        return {NumType::Kind::Float, 53, 0};
    int whole = 0;
    int fraction = 0;
    bool point = false;
    bool leading = true;
    for (const QChar c : raw) {
        if (c == QLatin1Char('.')) {
            point = true;
            continue;
        }
        if (!c.isDigit())
            continue;
        if (point) {
            ++fraction;
        } else if (!(leading && c == QLatin1Char('0'))) {
            leading = false;
            ++whole;
        }
    }
    if (!decimal) {
        if (whole < 10)
            return NumType::integer(10);
        if (whole == 10 && raw.trimmed().toString().toLongLong() <= 2147483647LL)
            return NumType::integer(10);
        return NumType::decimal(std::min(std::max(whole, 1), 38), 0);
    }
    const int p = std::min(std::max(whole + fraction, 1), 38);
    return NumType::decimal(p, std::min(fraction, p));
}

NumType arithmeticType(QChar op, NumType a, NumType b)
{
    using K = NumType::Kind;
    if (a.kind == K::Float || b.kind == K::Float)
        return {K::Float, 53, 0};
    if (a.kind == K::None || b.kind == K::None)
        return {};
    if (a.isInteger() && b.isInteger())
        return NumType::integer(std::max(a.precision, b.precision));
    if (a.kind != K::Decimal && b.kind != K::Decimal) {
        // money with money or with an integer stays money (smallmoney only with its own kind)
        const bool small = (a.kind != K::Money || a.precision == 10)
            && (b.kind != K::Money || b.precision == 10);
        return NumType::money(small);
    }
    a = widened(a);
    b = widened(b);
    const int p1 = a.precision;
    const int s1 = a.scale;
    const int p2 = b.precision;
    const int s2 = b.scale;
    const int integral = std::max(p1 - s1, p2 - s2);
    switch (op.unicode()) {
    case u'+':
    case u'-': {
        const int s = std::max(s1, s2);
        return capped(s + integral + 1, s, integral + 1, false);
    }
    case u'*':
        return capped(p1 + p2 + 1, s1 + s2, 0, true);
    case u'/': {
        const int s = std::max(6, s1 + p2 + 1);
        return capped(p1 - s1 + s2 + s, s, 0, true);
    }
    case u'%': {
        const int s = std::max(s1, s2);
        return capped(std::min(p1 - s1, p2 - s2) + s, s, std::min(p1 - s1, p2 - s2), false);
    }
    default:
        return {};
    }
}

NumType sumType(NumType x)
{
    switch (x.kind) {
    case NumType::Kind::Integer:
        return NumType::integer(std::max<int>(x.precision, 10));
    case NumType::Kind::Decimal:
        return NumType::decimal(38, x.scale);
    default:
        return x;
    }
}

NumType avgType(NumType x)
{
    switch (x.kind) {
    case NumType::Kind::Integer:
        return NumType::integer(std::max<int>(x.precision, 10));
    case NumType::Kind::Decimal:
        return NumType::decimal(38, std::max<int>(x.scale, 6));
    default:
        return x;
    }
}

NumType asDecimal(NumType x)
{
    return widened(x);
}

double roundDecimal(double value, int scale, bool truncate)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    if (!truncate && scale >= 0 && scale <= 22) {
        // A value already at its scale (up to the last bits of a sum or a product) is found
        // without going through its digits.
        const double p = kPowers[scale];
        const double m = value * p;
        if (std::fabs(m) < 1e15) {
            const double n = std::nearbyint(m);
            if (std::fabs(m - n) <= std::fabs(m) * 5e-16)
                return n / p;
        }
    }
    Decimal d = format::detail::decimalOf(value, kExactDigits);
    if (truncate) {
        const long long keep = d.point + scale;
        if (keep <= 0)
            return 0.0;
        if (keep < static_cast<long long>(d.digits.size()))
            d.digits.resize(static_cast<size_t>(keep));
        d.normalize();
    } else {
        d.roundToDecimals(scale);
    }
    double out = 0.0;
    format::detail::toDouble(d, out);
    return out;
}

bool fitsDecimal(double value, int precision, int scale)
{
    return std::fabs(value) < power10(precision - scale);
}

bool fitsInteger(double value, int precision)
{
    switch (precision) {
    case 3:
        return value >= 0 && value <= 255;
    case 5:
        return value >= -32768 && value <= 32767;
    case 10:
        return value >= -2147483648.0 && value <= 2147483647.0;
    default:
        return value >= -9223372036854775808.0 && value < 9223372036854775808.0;
    }
}

QString typeName(NumType type)
{
    switch (type.kind) {
    case NumType::Kind::Integer:
        return type.precision == 3 ? QStringLiteral("tinyint")
            : type.precision == 5  ? QStringLiteral("smallint")
            : type.precision == 10 ? QStringLiteral("int")
                                   : QStringLiteral("bigint");
    case NumType::Kind::Decimal:
        return QStringLiteral("numeric");
    case NumType::Kind::Money:
        return type.precision == 10 ? QStringLiteral("smallmoney") : QStringLiteral("money");
    default:
        return QStringLiteral("float");
    }
}

QString decimalText(double value, int scale)
{
    QString s = QString::number(roundDecimal(value, scale), 'f', std::max(scale, 0));
    if (s.startsWith(QLatin1Char('-'))) {
        bool zero = true;
        for (qsizetype i = 1; i < s.size() && zero; ++i)
            zero = s[i] == QLatin1Char('0') || s[i] == QLatin1Char('.');
        if (zero)
            s.remove(0, 1);
    }
    return s;
}

QString moneyText(double value)
{
    return decimalText(value, 2);
}

QVariant textToNumber(const QString &text, NumType type)
{
    const QString s = trimmedCopy(text);
    switch (type.kind) {
    case NumType::Kind::Integer: {
        if (s.isEmpty())
            return qlonglong(0);
        if (!plainDigits(s, false))
            throw Error(QStringLiteral("Conversion failed when converting the varchar value '%1' "
                                       "to data type %2.")
                            .arg(text.left(60), typeName(type)));
        bool ok = false;
        const qlonglong v = s.toLongLong(&ok);
        if (!ok || !fitsInteger(static_cast<double>(v), type.precision))
            throw Error(QStringLiteral("The conversion of the varchar value '%1' overflowed an "
                                       "%2 column.")
                            .arg(text.left(60), typeName(type)));
        return v;
    }
    case NumType::Kind::Decimal: {
        if (!plainDigits(s, true))
            throw Error(QStringLiteral("Error converting data type varchar to numeric."));
        const double v = roundDecimal(s.toDouble(), type.scale);
        if (!fitsDecimal(v, type.precision, type.scale))
            throw Error(QStringLiteral("Arithmetic overflow error converting varchar to data "
                                       "type numeric."));
        return v;
    }
    case NumType::Kind::Money: {
        if (s.isEmpty())
            return 0.0;
        QString t = s;
        qsizetype i = 0;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        if (i < t.size() && t[i] == QLatin1Char('$'))
            t.remove(i, 1);
        else if (!t.isEmpty() && t[0] == QLatin1Char('$'))
            t.remove(0, 1);
        qsizetype pos = 0;
        Decimal d;
        double v = 0.0;
        if (!format::detail::scanNumber(t, pos, true, d) || pos != t.size()
            || t.contains(QLatin1Char('e'), Qt::CaseInsensitive) || !format::detail::toDouble(d, v))
            throw Error(QStringLiteral("Cannot convert a char value to money. The char value has "
                                       "incorrect syntax."));
        return numberToType(v, type);
    }
    default: {
        if (s.isEmpty())
            return 0.0;
        qsizetype pos = 0;
        Decimal d;
        double v = 0.0;
        if (!format::detail::scanNumber(s, pos, false, d) || pos != s.size()
            || !format::detail::toDouble(d, v))
            throw Error(QStringLiteral("Error converting data type varchar to float."));
        return v;
    }
    }
}

QVariant numberToType(const QVariant &value, NumType type)
{
    if (value.isNull())
        return value;
    const bool whole = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int
        || value.typeId() == QMetaType::Bool;
    switch (type.kind) {
    case NumType::Kind::Integer: {
        if (whole) {
            const qlonglong v = value.toLongLong();
            if (!fitsInteger(static_cast<double>(v), type.precision))
                throw Error(QStringLiteral("Arithmetic overflow error converting expression to "
                                           "data type %1.")
                                .arg(typeName(type)));
            return v;
        }
        const double v = std::trunc(value.toDouble());
        if (!std::isfinite(v) || !fitsInteger(v, type.precision))
            throw Error(
                QStringLiteral("Arithmetic overflow error converting expression to data type %1.")
                    .arg(typeName(type)));
        return static_cast<qlonglong>(v);
    }
    case NumType::Kind::Decimal:
    case NumType::Kind::Money: {
        const double v = roundDecimal(value.toDouble(), type.scale);
        const bool fits = type.kind == NumType::Kind::Decimal
            ? fitsDecimal(v, type.precision, type.scale)
            : (type.precision == 10 ? std::fabs(v) <= 214748.3647
                                    : std::fabs(v) < 922337203685477.5807);
        if (!fits || !std::isfinite(v))
            throw Error(type.kind == NumType::Kind::Decimal
                            ? QStringLiteral("Arithmetic overflow error converting %1 to data "
                                             "type numeric.")
                                  .arg(whole ? QStringLiteral("int") : QStringLiteral("numeric"))
                            : QStringLiteral("Arithmetic overflow error converting expression "
                                             "to data type %1.")
                                  .arg(typeName(type)));
        return v;
    }
    case NumType::Kind::Float:
        return value.toDouble();
    default:
        return value;
    }
}

} // namespace tsql
