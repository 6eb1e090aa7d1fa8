#include "platform/format/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace format::detail {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents beyond this are far outside the double range; clamping keeps the arithmetic safe
// for texts such as "1e99999999999999999999".
constexpr long long ExponentLimit = 1'000'000'000LL;

} // namespace

void Decimal::normalize()
{
    std::size_t lead = 0;
    while (lead < digits.size() && digits[lead] == '0')
        ++lead;
    if (lead == digits.size()) {
        digits.clear();
        point = 0;
        return;
    }
    if (lead > 0) {
        digits.erase(0, lead);
        point -= static_cast<long long>(lead);
    }
    std::size_t end = digits.size();
    while (end > 0 && digits[end - 1] == '0')
        --end;
    digits.resize(end);
}

void Decimal::roundToDecimals(long long decimals)
{
    const long long keep = point + decimals;
    if (keep >= static_cast<long long>(digits.size()))
        return;
    if (keep < 0) {
        // Below half of the last kept place.
        digits.clear();
        point = 0;
        return;
    }
    const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        long long i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    normalize();
}

char Decimal::digitAt(long long position) const
{
    const long long index = point - 1 - position;
    if (index < 0 || index >= static_cast<long long>(digits.size()))
        return '0';
    return digits[static_cast<std::size_t>(index)];
}

std::string Decimal::plainText() const
{
    if (isZero())
        return "0";
    std::string out;
    if (negative)
        out += '-';
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
        return out;
    }
    const auto size = static_cast<long long>(digits.size());
    if (point >= size) {
        out += digits;
        out.append(static_cast<std::size_t>(point - size), '0');
        return out;
    }
    out.append(digits, 0, static_cast<std::size_t>(point));
    out += '.';
    out.append(digits, static_cast<std::size_t>(point), std::string::npos);
    return out;
}

Decimal decimalOf(double value, int significantDigits)
{
    Decimal d;
    if (value == 0.0 || !std::isfinite(value))
        return d;
    d.negative = std::signbit(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, significantDigits - 1);
    // "d.ddde+XX" (or "de+XX" with one digit)
    const char *p = buffer;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits += *p;
    }
    int exponent = 0;
    if (p < result.ptr)
        std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
    d.point = exponent + 1;
    d.normalize();
    return d;
}

bool scanNumber(const QString &text, qsizetype &pos, bool thousands, Decimal &out)
{
    const qsizetype n = text.size();
    qsizetype i = pos;
    Decimal d;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    long long integerDigits = 0;
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (isDigit(c)) {
            d.digits += static_cast<char>(c);
            ++integerDigits;
            anyDigit = true;
            ++i;
        } else if (thousands && c == u',' && anyDigit && i + 1 < n
                   && isDigit(text[i + 1].unicode())) {
            ++i;
        } else {
            break;
        }
    }
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        while (j < n && isDigit(text[j].unicode())) {
            d.digits += static_cast<char>(text[j].unicode());
            anyDigit = true;
            ++j;
        }
        if (!anyDigit)
            return false;
        i = j;
    }
    if (!anyDigit)
        return false;
    long long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            ++j;
        }
        if (j < n && isDigit(text[j].unicode())) {
            while (j < n && isDigit(text[j].unicode())) {
                if (exponent < ExponentLimit)
                    exponent = exponent * 10 + (text[j].unicode() - u'0');
                ++j;
            }
            if (negativeExponent)
                exponent = -exponent;
            i = j;
        }
    }
    d.point = integerDigits + exponent;
    d.normalize();
    out = std::move(d);
    pos = i;
    return true;
}

namespace {

// The integer digits of a number with separators: one to three digits, then groups of three.
bool groupedInThrees(QStringView integer)
{
    const qsizetype firstComma = integer.indexOf(u',');
    if (firstComma < 0)
        return true;
    if (firstComma < 1 || firstComma > 3 || (integer.size() - firstComma) % 4 != 0)
        return false;
    for (qsizetype i = firstComma; i < integer.size(); i += 4) {
        if (integer[i] != u',')
            return false;
        for (qsizetype j = i + 1; j <= i + 3; ++j) {
            if (!isDigit(integer[j].unicode()))
                return false;
        }
    }
    return true;
}

} // namespace

bool scanTypedNumber(const QString &text, Decimal &out)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n && isBlank(text[pos].unicode()))
        ++pos;
    const qsizetype start = pos;
    Decimal d;
    if (!scanNumber(text, pos, true, d))
        return false;
    const qsizetype end = pos;
    while (pos < n && isBlank(text[pos].unicode()))
        ++pos;
    if (pos != n)
        return false;
    qsizetype digitsStart = start;
    if (text[digitsStart] == u'+' || text[digitsStart] == u'-')
        ++digitsStart;
    qsizetype digitsEnd = digitsStart;
    while (digitsEnd < end && (isDigit(text[digitsEnd].unicode()) || text[digitsEnd] == u','))
        ++digitsEnd;
    if (!groupedInThrees(QStringView(text).mid(digitsStart, digitsEnd - digitsStart)))
        return false;
    out = std::move(d);
    return true;
}

bool toDouble(const Decimal &value, double &out)
{
    if (value.isZero()) {
        out = 0.0;
        return true;
    }
    // Far beyond the range either way: no need to hand such digits to the converter.
    if (value.point > 400) {
        out = 0.0;
        return false;
    }
    if (value.point < -400) {
        out = 0.0;
        return true;
    }
    std::string text = value.digits;
    text += 'e';
    text += std::to_string(value.point - static_cast<long long>(value.digits.size()));
    double result = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), result);
    if (parsed.ec == std::errc::result_out_of_range) {
        out = 0.0;
        return value.point < 0; // underflow reads as 0, overflow has no value
    }
    if (parsed.ec != std::errc())
        return false;
    out = value.negative ? -result : result;
    return true;
}

} // namespace format::detail
