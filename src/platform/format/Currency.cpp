#include "platform/format/Decimal.h"
#include "platform/format/Format.h"

#include <cmath>
#include <limits>

namespace format {

using detail::Decimal;

namespace {

constexpr qint64 RawMax = std::numeric_limits<qint64>::max();
constexpr qint64 RawMin = std::numeric_limits<qint64>::min();
constexpr int Scale = 4; // ten-thousandths

// An amount beyond the range stays at its end rather than wrapping round to the other sign.
qint64 saturate(bool negative, unsigned __int128 magnitude)
{
    if (negative) {
        if (magnitude > static_cast<unsigned __int128>(RawMax) + 1)
            return RawMin;
        return static_cast<qint64>(-static_cast<__int128>(magnitude));
    }
    if (magnitude > static_cast<unsigned __int128>(RawMax))
        return RawMax;
    return static_cast<qint64>(magnitude);
}

// A decimal in ten-thousandths, rounded half away from zero.
qint64 rawOf(Decimal d)
{
    d.roundToDecimals(Scale);
    if (d.isZero())
        return 0;
    const long long places = d.point + Scale; // digits of the raw integer
    if (places > 20)
        return d.negative ? RawMin : RawMax;
    unsigned __int128 magnitude = 0;
    for (long long place = places - 1 - Scale; place >= -Scale; --place)
        magnitude = magnitude * 10 + static_cast<unsigned>(d.digitAt(place) - '0');
    return saturate(d.negative, magnitude);
}

} // namespace

Currency Currency::fromDouble(double value)
{
    if (std::isnan(value))
        return Currency();
    if (std::isinf(value))
        return fromRaw(value < 0 ? RawMin : RawMax);
    return fromRaw(rawOf(detail::decimalOf(value)));
}

Currency Currency::fromText(const QString &text)
{
    Decimal typed;
    if (detail::scanTypedNumber(text, typed))
        return fromRaw(rawOf(std::move(typed)));
    qsizetype pos = 0;
    while (pos < text.size() && detail::isBlank(text[pos].unicode()))
        ++pos;
    Decimal d;
    if (!detail::scanNumber(text, pos, false, d))
        return Currency();
    return fromRaw(rawOf(std::move(d)));
}

QString Currency::toString() const
{
    const bool negative = m_raw < 0;
    // Through unsigned so that the most negative amount has a magnitude too.
    const quint64 magnitude
        = negative ? 0 - static_cast<quint64>(m_raw) : static_cast<quint64>(m_raw);
    QString out = negative ? QStringLiteral("-") : QString();
    out += QString::number(magnitude / 10000);
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        int width = Scale;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --width;
        }
        out += QLatin1Char('.') + QString::number(fraction).rightJustified(width, QLatin1Char('0'));
    }
    return out;
}

Currency Currency::operator*(double factor) const
{
    if (std::isnan(factor) || m_raw == 0)
        return Currency();
    if (std::isinf(factor))
        return fromRaw((m_raw < 0) != (factor < 0) ? RawMin : RawMax);
    // The factor as the decimal the user sees (at most 15 digits) times a power of ten: the
    // product of the two integers is exact in 128 bits.
    const Decimal f = detail::decimalOf(factor);
    if (f.isZero())
        return Currency();
    unsigned __int128 digits = 0;
    for (const char c : f.digits)
        digits = digits * 10 + static_cast<unsigned>(c - '0');
    const quint64 magnitude
        = m_raw < 0 ? 0 - static_cast<quint64>(m_raw) : static_cast<quint64>(m_raw);
    unsigned __int128 product = digits * magnitude;
    const bool negative = (m_raw < 0) != f.negative;
    long long shift = f.point - static_cast<long long>(f.digits.size());
    if (shift >= 0) {
        for (; shift > 0; --shift) {
            if (product > static_cast<unsigned __int128>(RawMax) + 1)
                break;
            product *= 10;
        }
        return fromRaw(saturate(negative, product));
    }
    // 2^128 is below 10^39: a larger divisor leaves nothing.
    if (shift < -39)
        return Currency();
    unsigned __int128 divisor = 1;
    for (long long i = 0; i < -shift - 1; ++i)
        divisor *= 10;
    // Divide by all but the last power of ten, then round on the last digit.
    const unsigned __int128 tenths = product / divisor;
    const unsigned __int128 rounded = tenths / 10 + (tenths % 10 >= 5 ? 1 : 0);
    return fromRaw(saturate(negative, rounded));
}

} // namespace format
