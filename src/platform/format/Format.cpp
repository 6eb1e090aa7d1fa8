#include "platform/format/Format.h"

#include "platform/format/Decimal.h"

#include <cmath>

namespace format {

using detail::Decimal;

namespace {

// NaN and infinities never come from the database; they still get a readable text.
QString nonFiniteText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
}

bool isPlaceholder(QChar c)
{
    return c == u'#' || c == u'0';
}

// A digit pattern taken apart: literal text around it, how many integer digits must show, and
// how many decimals may and must show.
struct NumberPattern
{
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    bool thousands = false;
    bool hasPoint = false;
    int maxDecimals = 0;
    int minDecimals = 0;
};

NumberPattern parsePattern(const QString &pattern)
{
    NumberPattern p;
    const auto isPart = [](QChar c) {
        return isPlaceholder(c) || c == u'.' || c == u',';
    };
    qsizetype first = 0;
    while (first < pattern.size() && !isPart(pattern[first]))
        ++first;
    qsizetype last = pattern.size() - 1;
    while (last >= first && !isPart(pattern[last]))
        --last;
    p.prefix = pattern.left(first);
    p.suffix = pattern.mid(last + 1);

    bool inDecimals = false;
    int integerPlaces = 0;
    int firstZeroPlace = -1;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = pattern[i];
        if (c == u'.' && !inDecimals) {
            inDecimals = true;
            p.hasPoint = true;
        } else if (c == u',' && !inDecimals) {
            p.thousands = true;
        } else if (isPlaceholder(c)) {
            if (inDecimals) {
                ++p.maxDecimals;
                if (c == u'0')
                    p.minDecimals = p.maxDecimals;
            } else {
                if (c == u'0' && firstZeroPlace < 0)
                    firstZeroPlace = integerPlaces;
                ++integerPlaces;
            }
        }
    }
    if (firstZeroPlace >= 0)
        p.minIntegerDigits = integerPlaces - firstZeroPlace;
    return p;
}

QString groupThousands(const std::string &digits)
{
    QString out;
    const auto n = static_cast<qsizetype>(digits.size());
    out.reserve(n + n / 3);
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += QLatin1Char(digits[static_cast<std::size_t>(i)]);
    }
    return out;
}

// Up to `significant` digits, without trailing zeros; an exponent ("1E+20", "1.5E-05") outside
// 1E-04 .. 1E+15, as the program has always written numbers.
QString generalNumberText(double value, int significant)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const Decimal d = detail::decimalOf(value, significant);
    if (d.isZero())
        return QStringLiteral("0");
    const long long exponent = d.point - 1;
    if (exponent >= -4 && exponent < significant)
        return QString::fromLatin1(d.plainText());

    std::string out;
    if (d.negative)
        out += '-';
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += '.';
        out.append(d.digits, 1, std::string::npos);
    }
    out += exponent < 0 ? "E-" : "E+";
    const std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (e.size() < 2)
        out += '0';
    out += e;
    return QString::fromLatin1(out);
}

} // namespace

QString formatNumber(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (pattern.isEmpty())
        return numberText(value);

    const NumberPattern p = parsePattern(pattern);
    Decimal d = detail::decimalOf(value);
    d.roundToDecimals(p.maxDecimals);

    std::string integerDigits;
    for (long long place = std::max<long long>(d.point, p.minIntegerDigits) - 1; place >= 0;
         --place)
        integerDigits += d.digitAt(place);

    QString out;
    if (d.negative && !d.isZero())
        out += QLatin1Char('-');
    out += p.prefix;
    out += p.thousands ? groupThousands(integerDigits) : QString::fromLatin1(integerDigits);
    if (p.hasPoint) {
        out += QLatin1Char('.');
        std::string decimals;
        for (int i = 1; i <= p.maxDecimals; ++i)
            decimals += d.digitAt(-i);
        auto shown = static_cast<qsizetype>(decimals.size());
        while (shown > p.minDecimals && decimals[static_cast<std::size_t>(shown - 1)] == '0')
            --shown;
        out += QString::fromLatin1(decimals.data(), shown);
    }
    out += p.suffix;
    return out;
}

double leadingNumber(const QString &text)
{
    qsizetype pos = 0;
    while (pos < text.size() && detail::isBlank(text[pos].unicode()))
        ++pos;
    Decimal d;
    if (!detail::scanNumber(text, pos, false, d))
        return 0.0;
    double value = 0.0;
    if (!detail::toDouble(d, value))
        return 0.0;
    return value;
}

namespace {

// The whole text, blanks around it allowed, as one number; false when it is not one or lies
// beyond the double range.
bool readWholeNumber(const QString &text, double &value)
{
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n && detail::isBlank(text[pos].unicode()))
        ++pos;
    Decimal d;
    if (!detail::scanNumber(text, pos, true, d))
        return false;
    while (pos < n && detail::isBlank(text[pos].unicode()))
        ++pos;
    if (pos != n)
        return false;
    return detail::toDouble(d, value);
}

} // namespace

bool isNumeric(const QString &text)
{
    double value = 0.0;
    return readWholeNumber(text, value);
}

double numericValue(const QString &text)
{
    double value = 0.0;
    if (!readWholeNumber(text, value))
        return 0.0;
    return value;
}

bool readTypedNumber(const QString &text, double &value)
{
    value = 0.0;
    Decimal d;
    if (!detail::scanTypedNumber(text, d) || !detail::toDouble(d, value)) {
        value = 0.0;
        return false;
    }
    return true;
}

double typedNumber(const QString &text)
{
    double value = 0.0;
    if (readTypedNumber(text, value))
        return value;
    return leadingNumber(text);
}

QString numberText(double value)
{
    return generalNumberText(value, 15);
}

QString numberTextStd(double value)
{
    QString text = numberText(value);
    if (text.startsWith(QLatin1Char('-')))
        return text;
    return QLatin1Char(' ') + text;
}

namespace detail {

// Single-precision values show the digits they hold, not the double's.
QString singleText(float value)
{
    return generalNumberText(static_cast<double>(value), 7);
}

} // namespace detail

} // namespace format
