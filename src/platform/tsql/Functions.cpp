#include "platform/tsql/Functions.h"

#include "platform/tsql/FunctionParts.h"
#include "platform/tsql/Values.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tsql {

namespace fn {

QString textArg(sqlite3_value *v)
{
    const auto *data = static_cast<const char16_t *>(sqlite3_value_text16(v));
    const int bytes = sqlite3_value_bytes16(v);
    return QString::fromUtf16(data, bytes / 2);
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    sqlite3_result_text16(ctx, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), static_cast<int>(utf8.size()));
}

// The stored form "yyyy-MM-dd HH:mm:ss.zzz" is read directly; anything else goes through the
// general parser.
bool readDateTime(sqlite3_value *v, DateTimeValue &out, bool &isNull, sqlite3_context *ctx)
{
    isNull = false;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        isNull = true;
        return true;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        out = fromDays(sqlite3_value_double(v));
        return true;
    default:
        break;
    }
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    const int n = sqlite3_value_bytes(v);
    if (parseStoredDateTime(t, n, out))
        return true;
    const QString s = QString::fromUtf8(t, n);
    if (s.trimmed().isEmpty()) {
        out = fromDays(0);
        return true;
    }
    if (parseDateTime(s, out))
        return true;
    resultError(ctx,
                QStringLiteral("Conversion failed when converting date and/or time from "
                               "character string."));
    return false;
}

void collateFallback(int &result, const char *a, int na, const char *b, int nb)
{
    const QString sa = QString::fromUtf8(a, na);
    const QString sb = QString::fromUtf8(b, nb);
    const int c = sa.compare(sb, Qt::CaseInsensitive);
    result = c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int collateTsql(void *, int na, const void *va, int nb, const void *vb)
{
    const auto *a = static_cast<const char *>(va);
    const auto *b = static_cast<const char *>(vb);
    while (na > 0 && a[na - 1] == ' ')
        --na;
    while (nb > 0 && b[nb - 1] == ' ')
        --nb;
    const int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) & 0x80) {
            int result = 0;
            collateFallback(result, a + i, na - i, b + i, nb - i);
            return result;
        }
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    // The shorter text counts as padded with blanks, as on the server.
    if (na == nb)
        return 0;
    const char *rest = na < nb ? b : a;
    for (int i = n; i < (na < nb ? nb : na); ++i) {
        const auto c = static_cast<unsigned char>(rest[i]);
        if (c != ' ')
            return (c > ' ') == (na < nb) ? -1 : 1;
    }
    return 0;
}

FunctionHost *host(sqlite3_context *ctx)
{
    return static_cast<FunctionHost *>(sqlite3_user_data(ctx));
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1)
            return resultError(ctx, QStringLiteral("The escape character must be one character."));
        escape = e[0];
    }
    sqlite3_result_int(ctx, likeMatch(textArg(argv[0]), textArg(argv[1]), escape) ? 1 : 0);
}

void fnStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    QString out;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
        out = QString::number(sqlite3_value_int64(argv[0]));
        break;
    case SQLITE_FLOAT:
        out = numberToText(sqlite3_value_double(argv[0]));
        break;
    default:
        out = textArg(argv[0]);
        break;
    }
    const int length = sqlite3_value_int(argv[1]);
    if (length > 0 && out.size() > length) {
        // A whole number too long for its text shows as "*"; other numbers are refused.
        switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
            return resultText(ctx, QStringLiteral("*"));
        case SQLITE_FLOAT:
            return resultError(ctx,
                               QStringLiteral("Arithmetic overflow error converting float to data "
                                              "type varchar."));
        default:
            out.truncate(length);
            break;
        }
    }
    resultText(ctx, out);
}

// An exact number as text: tsql_numstr(x, decimals, length); decimals -2 is money without a
// style (two decimals).
void fnNumStr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_numeric_type(argv[0]);
    if (t == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (t != SQLITE_INTEGER && t != SQLITE_FLOAT)
        return resultText(ctx, textArg(argv[0]));
    const int decimals = sqlite3_value_int(argv[1]);
    const double v = sqlite3_value_double(argv[0]);
    const QString out = decimals == -2 ? moneyText(v) : decimalText(v, decimals);
    const int length = sqlite3_value_int(argv[2]);
    if (length > 0 && out.size() > length)
        return resultError(ctx,
                           decimals == -2 ? QStringLiteral("Arithmetic overflow error converting "
                                                           "expression to data type varchar.")
                                          : QStringLiteral("Arithmetic overflow error converting "
                                                           "numeric to data type varchar."));
    resultText(ctx, out);
}

void fnBit(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0.0 ? 1 : 0);
    default:
        break;
    }
    try {
        sqlite3_result_int64(ctx, convertValue(textArg(argv[0]), Conv::Bit).toLongLong());
    } catch (const std::exception &e) {
        resultError(ctx, QString::fromUtf8(e.what()));
    }
}

// Plain ASCII numbers ("  12", "-3.5", "1e3") are read from the bytes directly: these functions
// run once per row of the document numbering query.
enum class Ascii { Integer, Decimal, Other };

Ascii asciiNumber(const char *t, int n, qint64 &whole, double &real)
{
    int i = 0;
    while (i < n && t[i] == ' ')
        ++i;
    while (n > i && t[n - 1] == ' ')
        --n;
    if (i >= n)
        return Ascii::Other;
    const int start = i;
    if (t[i] == '-' || t[i] == '+')
        ++i;
    int digits = 0;
    qint64 value = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') {
        if (digits < 18)
            value = value * 10 + (t[i] - '0');
        ++digits;
        ++i;
    }
    if (i == n && digits > 0 && digits <= 18) {
        whole = t[start] == '-' ? -value : value;
        return Ascii::Integer;
    }
    bool point = false;
    if (i < n && t[i] == '.') {
        point = true;
        ++i;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return Ascii::Other;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '-' || t[i] == '+'))
            ++i;
        int exp = 0;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            ++exp;
            ++i;
        }
        if (exp == 0)
            return Ascii::Other;
        point = true;
    }
    if (i != n || !point)
        return Ascii::Other;
    const std::string text(t + start, static_cast<size_t>(n - start));
    char *end = nullptr;
    real = std::strtod(text.c_str(), &end);
    return end && *end == 0 ? Ascii::Decimal : Ascii::Other;
}

void fnNum(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_result_value(ctx, argv[0]);
    default:
        break;
    }
    qint64 whole = 0;
    double real = 0;
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    switch (asciiNumber(t, sqlite3_value_bytes(argv[0]), whole, real)) {
    case Ascii::Integer:
        return sqlite3_result_int64(ctx, whole);
    case Ascii::Decimal:
        return sqlite3_result_double(ctx, real);
    case Ascii::Other:
        break;
    }
    try {
        const QVariant v = convertValue(textArg(argv[0]), Conv::Number);
        if (v.typeId() == QMetaType::Double)
            sqlite3_result_double(ctx, v.toDouble());
        else
            sqlite3_result_int64(ctx, v.toLongLong());
    } catch (const std::exception &e) {
        resultError(ctx, QString::fromUtf8(e.what()));
    }
}

void fnIsNumeric(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_int(ctx, 0);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_result_int(ctx, 1);
    default:
        break;
    }
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int n = sqlite3_value_bytes(argv[0]);
    qint64 whole = 0;
    double real = 0;
    if (asciiNumber(t, n, whole, real) != Ascii::Other)
        return sqlite3_result_int(ctx, 1);
    // Only a text with no digit-like character at all can be decided without the full rules.
    bool plainWord = n > 0;
    for (int i = 0; i < n && plainWord; ++i) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        plainWord = (c >= 'A' && c <= 'Z' && c != 'E' && c != 'D')
            || (c >= 'a' && c <= 'z' && c != 'e' && c != 'd');
    }
    if (plainWord)
        return sqlite3_result_int(ctx, 0);
    sqlite3_result_int(ctx, isNumericText(textArg(argv[0])) ? 1 : 0);
}

void fnLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]);
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    sqlite3_result_int64(ctx, n);
}

void fnRight(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    const QString s = textArg(argv[0]);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return resultError(ctx,
                           QStringLiteral("Invalid length parameter passed to the right "
                                          "function."));
    resultText(ctx, s.right(static_cast<qsizetype>(n)));
}

void fnReplace(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(3, argv))
        return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]);
    const QString from = textArg(argv[1]);
    if (from.isEmpty())
        return resultText(ctx, s);
    s.replace(from, textArg(argv[2]), Qt::CaseInsensitive);
    resultText(ctx, s);
}

void fnCharIndex(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    const QString needle = textArg(argv[0]);
    const QString hay = textArg(argv[1]);
    qsizetype start = 0;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL)
        start = qMax<qint64>(0, sqlite3_value_int64(argv[2]) - 1);
    if (needle.isEmpty())
        return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, hay.indexOf(needle, start, Qt::CaseInsensitive) + 1);
}

void fnPatIndex(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    QString pattern = textArg(argv[0]);
    const QString text = textArg(argv[1]);
    if (!pattern.startsWith(QLatin1Char('%')))
        return sqlite3_result_int(ctx, likeMatch(pattern, text) ? 1 : 0);
    const QString rest = pattern.mid(1);
    // The first position from which the rest of the pattern matches.
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (likeMatch(rest, text.mid(i)))
            return sqlite3_result_int64(ctx, i + 1);
    }
    sqlite3_result_int(ctx, 0);
}

void fnSpace(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[0]);
    if (n < 0)
        return sqlite3_result_null(ctx);
    resultText(ctx, QString(static_cast<qsizetype>(qMin<qint64>(n, 8000)), QLatin1Char(' ')));
}

void fnReplicate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_null(ctx);
    const QString s = textArg(argv[0]);
    resultText(
        ctx,
        s.repeated(static_cast<qsizetype>(qMin<qint64>(n, 8000 / qMax<qsizetype>(1, s.size())))));
}

void fnUpper(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toUpper());
}

void fnLower(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toLower());
}

void fnAdd(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (anyNull(2, argv))
        return sqlite3_result_null(ctx);
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT)
        return resultText(ctx, textArg(argv[0]) + textArg(argv[1]));
    sqlite3_value *num[2] = {argv[0], argv[1]};
    double d[2];
    qint64 i[2];
    bool allInt = true;
    for (int k = 0; k < 2; ++k) {
        const int t = sqlite3_value_numeric_type(num[k]);
        if (t == SQLITE_INTEGER) {
            i[k] = sqlite3_value_int64(num[k]);
            d[k] = static_cast<double>(i[k]);
        } else if (t == SQLITE_FLOAT) {
            allInt = false;
            d[k] = sqlite3_value_double(num[k]);
        } else {
            return resultError(ctx,
                               QStringLiteral("Conversion failed when converting the "
                                              "varchar value '%1' to a number.")
                                   .arg(textArg(num[k]).left(60)));
        }
    }
    if (allInt)
        sqlite3_result_int64(ctx, i[0] + i[1]);
    else
        sqlite3_result_double(ctx, d[0] + d[1]);
}

void fnObjectId(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QString type = argc > 1 ? textArg(argv[1]) : QString();
    const int id = host(ctx)->objectId(textArg(argv[0]), type);
    if (id == 0)
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, id);
}

void fnFloor(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_numeric_type(argv[0]);
    if (t == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (t == SQLITE_INTEGER)
        return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    sqlite3_result_double(ctx, std::floor(sqlite3_value_double(argv[0])));
}

void fnCeiling(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_numeric_type(argv[0]);
    if (t == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (t == SQLITE_INTEGER)
        return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    sqlite3_result_double(ctx, std::ceil(sqlite3_value_double(argv[0])));
}

// ROUND on the decimal digits of the value: ROUND(1.005, 2) is 1.01.
void fnRound(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const double x = sqlite3_value_double(argv[0]);
    const int places = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    const bool truncate = argc > 2 && sqlite3_value_int(argv[2]) != 0;
    sqlite3_result_double(ctx, roundDecimal(x, places, truncate));
}

// tsql_dec(x, scale): an exact result rounded back to its scale.
void fnDec(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
        return sqlite3_result_value(ctx, argv[0]);
    default:
        break;
    }
    sqlite3_result_double(ctx,
                          roundDecimal(sqlite3_value_double(argv[0]), sqlite3_value_int(argv[1])));
}

bool divisor(sqlite3_context *ctx, sqlite3_value **argv, double &a, double &b)
{
    if (anyNull(2, argv)) {
        sqlite3_result_null(ctx);
        return false;
    }
    a = sqlite3_value_double(argv[0]);
    b = sqlite3_value_double(argv[1]);
    if (b == 0.0) {
        resultError(ctx, QStringLiteral("Divide by zero error encountered."));
        return false;
    }
    return true;
}

// tsql_ddiv(a, b, scale), tsql_dmod(a, b, scale): exact division and remainder.
void fnDDiv(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double a = 0;
    double b = 0;
    if (divisor(ctx, argv, a, b))
        sqlite3_result_double(ctx, roundDecimal(a / b, sqlite3_value_int(argv[2])));
}

void fnDMod(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double a = 0;
    double b = 0;
    if (divisor(ctx, argv, a, b))
        sqlite3_result_double(ctx, roundDecimal(std::fmod(a, b), sqlite3_value_int(argv[2])));
}

NumType targetOf(int precision, int scale)
{
    if (precision < 0)
        return NumType::money(precision == -10);
    if (scale < 0)
        return NumType::integer(precision);
    return NumType::decimal(precision, scale);
}

// tsql_int(x, precision): an integer result kept to the range of its type.
void fnInt(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const NumType type = NumType::integer(sqlite3_value_int(argv[1]));
    // SQLite turns an overflowing integer sum into a real.
    if (t != SQLITE_INTEGER
        || !fitsInteger(static_cast<double>(sqlite3_value_int64(argv[0])), type.precision))
        return resultError(ctx,
                           QStringLiteral("Arithmetic overflow error converting expression "
                                          "to data type %1.")
                               .arg(typeName(type)));
    sqlite3_result_value(ctx, argv[0]);
}

// tsql_conv(x, precision, scale): CAST to an integer (scale -1), decimal or money (negative
// precision) type, with the server's rounding, range and text rules.
void fnConv(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const NumType type = targetOf(sqlite3_value_int(argv[1]), sqlite3_value_int(argv[2]));
    QVariant in;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_value_int64(argv[0]);
        if (type.isInteger() && fitsInteger(static_cast<double>(v), type.precision))
            return sqlite3_result_int64(ctx, v);
        in = qlonglong(v);
        break;
    }
    case SQLITE_FLOAT:
        in = sqlite3_value_double(argv[0]);
        break;
    default: {
        qint64 whole = 0;
        double real = 0;
        const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
        if (type.isInteger()
            && asciiNumber(t, sqlite3_value_bytes(argv[0]), whole, real) == Ascii::Integer
            && fitsInteger(static_cast<double>(whole), type.precision))
            return sqlite3_result_int64(ctx, whole);
        in = textArg(argv[0]);
        break;
    }
    }
    try {
        const QVariant v = in.typeId() == QMetaType::QString ? textToNumber(in.toString(), type)
                                                             : numberToType(in, type);
        if (v.typeId() == QMetaType::Double)
            sqlite3_result_double(ctx, v.toDouble());
        else
            sqlite3_result_int64(ctx, v.toLongLong());
    } catch (const std::exception &e) {
        resultError(ctx, QString::fromUtf8(e.what()));
    }
}

void fnNonZero(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_numeric_type(argv[0]);
    if ((t == SQLITE_INTEGER && sqlite3_value_int64(argv[0]) == 0)
        || (t == SQLITE_FLOAT && sqlite3_value_double(argv[0]) == 0.0))
        return resultError(ctx, QStringLiteral("Divide by zero error encountered."));
    sqlite3_result_value(ctx, argv[0]);
}

struct Def
{
    const char *name;
    int args;
    void (*fn)(sqlite3_context *, int, sqlite3_value **);
    bool deterministic;
};

} // namespace fn

using namespace fn;

bool likeMatch(const QString &pattern, const QString &textIn, QChar escape)
{
    qsizetype textEnd = textIn.size();
    while (textEnd > 0 && textIn[textEnd - 1] == QLatin1Char(' '))
        --textEnd;
    const QChar *p = pattern.constData();
    const QChar *pe = p + pattern.size();
    const QChar *s = textIn.constData();
    const QChar *se = s + textEnd;
    const QChar *star = nullptr;
    const QChar *mark = nullptr;
    auto fold = [](QChar c) {
        return c.toCaseFolded();
    };
    // Length of the pattern element at q matching c, or 0 when it does not match.
    auto element = [&](const QChar *q, QChar c, bool &matched) -> qsizetype {
        if (!escape.isNull() && *q == escape && q + 1 < pe) {
            matched = fold(q[1]) == fold(c);
            return 2;
        }
        if (*q == QLatin1Char('_')) {
            matched = true;
            return 1;
        }
        if (*q == QLatin1Char('[')) {
            const QChar *r = q + 1;
            bool negate = false;
            if (r < pe && *r == QLatin1Char('^')) {
                negate = true;
                ++r;
            }
            bool hit = false;
            const QChar *start = r;
            while (r < pe && (*r != QLatin1Char(']') || r == start)) {
                if (r + 2 < pe && r[1] == QLatin1Char('-') && r[2] != QLatin1Char(']')) {
                    if (fold(c) >= fold(r[0]) && fold(c) <= fold(r[2]))
                        hit = true;
                    r += 3;
                } else {
                    if (fold(*r) == fold(c))
                        hit = true;
                    ++r;
                }
            }
            if (r >= pe) { // no closing bracket: a literal '['
                matched = c == QLatin1Char('[');
                return 1;
            }
            matched = hit != negate;
            return r - q + 1;
        }
        matched = fold(*q) == fold(c);
        return 1;
    };
    while (s < se) {
        if (p < pe && *p == QLatin1Char('%')) {
            while (p < pe && *p == QLatin1Char('%'))
                ++p;
            if (p == pe)
                return true;
            star = p;
            mark = s;
            continue;
        }
        if (p < pe) {
            bool matched = false;
            const qsizetype len = element(p, *s, matched);
            if (matched) {
                p += len;
                ++s;
                continue;
            }
        }
        if (star) {
            p = star;
            s = ++mark;
            continue;
        }
        return false;
    }
    while (p < pe && *p == QLatin1Char('%'))
        ++p;
    return p == pe;
}

void registerFunctions(sqlite3 *db, FunctionHost *h)
{
    sqlite3_create_collation(db, "TSQL", SQLITE_UTF8, nullptr, collateTsql);
    static const Def defs[] = {
        {"like", 2, fnLike, true},
        {"like", 3, fnLike, true},
        {"tsql_dt", 1, fnDt, true},
        {"tsql_date", 1, fnDate, true},
        {"tsql_getdate", 0, fnGetDate, false},
        {"tsql_dateadd", 3, fnDateAdd, true},
        {"tsql_datepart", 2, fnDatePart, true},
        {"tsql_datediff", 3, fnDateDiff, true},
        {"tsql_dtstr", 3, fnDtStr, true},
        {"tsql_str", 2, fnStr, true},
        {"tsql_bit", 1, fnBit, true},
        {"tsql_num", 1, fnNum, true},
        {"tsql_isnumeric", 1, fnIsNumeric, true},
        {"tsql_len", 1, fnLen, true},
        {"tsql_right", 2, fnRight, true},
        {"tsql_replace", 3, fnReplace, true},
        {"tsql_charindex", 2, fnCharIndex, true},
        {"tsql_charindex", 3, fnCharIndex, true},
        {"tsql_patindex", 2, fnPatIndex, true},
        {"tsql_space", 1, fnSpace, true},
        {"tsql_replicate", 2, fnReplicate, true},
        {"tsql_upper", 1, fnUpper, true},
        {"tsql_lower", 1, fnLower, true},
        {"tsql_add", 2, fnAdd, true},
        {"tsql_object_id", 1, fnObjectId, false},
        {"tsql_object_id", 2, fnObjectId, false},
        {"tsql_floor", 1, fnFloor, true},
        {"tsql_ceiling", 1, fnCeiling, true},
        {"tsql_round", 2, fnRound, true},
        {"tsql_round", 3, fnRound, true},
        {"tsql_nonzero", 1, fnNonZero, true},
        {"tsql_numstr", 3, fnNumStr, true},
        {"tsql_dec", 2, fnDec, true},
        {"tsql_ddiv", 3, fnDDiv, true},
        {"tsql_dmod", 3, fnDMod, true},
        {"tsql_int", 2, fnInt, true},
        {"tsql_conv", 3, fnConv, true},
        {"tsql_dtplus", 2, fnDtPlus, true},
        {"tsql_dtstyle", 3, fnDtStyle, true},
    };
    for (const Def &d : defs) {
        const int flags = SQLITE_UTF8 | (d.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db, d.name, d.args, flags, h, d.fn, nullptr, nullptr, nullptr);
    }
    registerServerRules(db);
}

} // namespace tsql
