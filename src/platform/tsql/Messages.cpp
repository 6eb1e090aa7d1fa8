#include "platform/tsql/Messages.h"

#include "platform/tsql/Error.h"

namespace tsql {

namespace {

constexpr qsizetype kLongestMessage = 2047;

bool isWhole(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void mismatch(int parameter)
{
    throw Error(QStringLiteral("The data type of substitution parameter %1 does not match the "
                               "expected type of the format specifier.")
                    .arg(parameter),
                QStringLiteral("RAISERROR"));
}

} // namespace

QString raiseMessage(const QString &format, const std::vector<QVariant> &args)
{
    QString out;
    size_t next = 0;
    auto take = [&](const QVariant **value) {
        *value = next < args.size() ? &args[next] : nullptr;
        return static_cast<int>(++next);
    };
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        const qsizetype start = i;
        if (i + 1 < n && format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        bool left = false;
        bool plus = false;
        bool zero = false;
        bool alternate = false;
        bool blank = false;
        ++i;
        for (; i < n; ++i) {
            const QChar f = format[i];
            if (f == QLatin1Char('-'))
                left = true;
            else if (f == QLatin1Char('+'))
                plus = true;
            else if (f == QLatin1Char('0'))
                zero = true;
            else if (f == QLatin1Char('#'))
                alternate = true;
            else if (f == QLatin1Char(' '))
                blank = true;
            else
                break;
        }
        auto number = [&](int &value) {
            value = -1;
            if (i < n && format[i] == QLatin1Char('*')) {
                const QVariant *v = nullptr;
                const int parameter = take(&v);
                if (v && !v->isNull() && !isWhole(*v))
                    mismatch(parameter);
                value = v && !v->isNull() ? v->toInt() : -1;
                ++i;
                return;
            }
            while (i < n && format[i].isDigit()) {
                value = (value < 0 ? 0 : value) * 10 + format[i].digitValue();
                value = std::min(value, 4000);
                ++i;
            }
        };
        int width = -1;
        int precision = -1;
        number(width);
        if (i < n && format[i] == QLatin1Char('.')) {
            ++i;
            number(precision);
            if (precision < 0)
                precision = 0;
        }
        if (i < n && (format[i] == QLatin1Char('h') || format[i] == QLatin1Char('l')))
            ++i;
        if (i >= n)
            throw Error(
                QStringLiteral("Invalid format specifier: '%1'.").arg(format.mid(start, i - start)),
                QStringLiteral("RAISERROR"));
        const QChar type = format[i];
        const QVariant *v = nullptr;
        QString text;
        if (type == QLatin1Char('s')) {
            const int parameter = take(&v);
            if (!v || v->isNull())
                text = QStringLiteral("(null)");
            else if (v->typeId() == QMetaType::QString || v->typeId() == QMetaType::QByteArray)
                text = v->toString();
            else
                mismatch(parameter);
            if (precision >= 0)
                text.truncate(precision);
        } else if (type == QLatin1Char('d') || type == QLatin1Char('i') || type == QLatin1Char('u')
                   || type == QLatin1Char('o') || type == QLatin1Char('x')
                   || type == QLatin1Char('X')) {
            const int parameter = take(&v);
            if (!v || v->isNull()) {
                text = QStringLiteral("(null)");
            } else {
                if (!isWhole(*v))
                    mismatch(parameter);
                const qint64 value = v->toLongLong();
                // Unsigned forms read the value as a 32-bit unsigned number, as the server's
                // int arguments are.
                const quint64 bits = value < 0 && value >= INT_MIN
                    ? static_cast<quint64>(static_cast<quint32>(value))
                    : static_cast<quint64>(value);
                QString digits;
                QString prefix;
                if (type == QLatin1Char('d') || type == QLatin1Char('i')) {
                    digits = QString::number(value < 0 ? -value : value);
                    prefix = value < 0 ? QStringLiteral("-")
                        : plus         ? QStringLiteral("+")
                        : blank        ? QStringLiteral(" ")
                                       : QString();
                } else if (type == QLatin1Char('u')) {
                    digits = QString::number(bits);
                } else if (type == QLatin1Char('o')) {
                    digits = QString::number(bits, 8);
                    if (alternate && bits != 0)
                        prefix = QStringLiteral("0");
                } else {
                    digits = QString::number(bits, 16);
                    if (type == QLatin1Char('X'))
                        digits = digits.toUpper();
                    if (alternate && bits != 0)
                        prefix = type == QLatin1Char('X') ? QStringLiteral("0X")
                                                          : QStringLiteral("0x");
                }
                if (precision >= 0 && digits.size() < precision)
                    digits = QString(precision - digits.size(), QLatin1Char('0')) + digits;
                if (zero && !left && precision < 0 && width > 0
                    && prefix.size() + digits.size() < width)
                    digits
                        = QString(width - prefix.size() - digits.size(), QLatin1Char('0')) + digits;
                text = prefix + digits;
            }
        } else {
            throw Error(QStringLiteral("Invalid format specifier: '%1'.")
                            .arg(format.mid(start, i - start + 1)),
                        QStringLiteral("RAISERROR"));
        }
        if (width > 0 && text.size() < width) {
            const QString pad(width - text.size(), QLatin1Char(' '));
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    if (out.size() > kLongestMessage)
        out = out.left(kLongestMessage - 3) + QStringLiteral("...");
    return out;
}

} // namespace tsql
