#include "platform/format/Decimal.h"
#include "platform/format/Format.h"

#include <QLocale>
#include <QRegularExpression>

namespace format {

namespace {

// Dates are always written and read in the C locale: month first, English "AM"/"PM", whatever
// the workstation's regional settings.
const QLocale &cLocale()
{
    static const QLocale locale = QLocale::c();
    return locale;
}

// The date the old platform counts from: a date-time on it is a time of day only.
const QDate &zeroDate()
{
    static const QDate date(1899, 12, 30);
    return date;
}

QString timeOfDayText(const QTime &time)
{
    return cLocale().toString(time, QStringLiteral("h:mm:ss AP"));
}

// 12-hour clock with an "AM"/"PM" marker, or the 24-hour clock when there is none.
bool makeTime(int hour, int minute, int second, int msec, const QString &marker, QTime &out)
{
    if (!marker.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        const bool pm = marker.startsWith(QLatin1Char('P'), Qt::CaseInsensitive);
        hour = hour % 12 + (pm ? 12 : 0);
    }
    out = QTime(hour, minute, second, msec);
    return out.isValid();
}

int fractionMsec(const QString &fraction)
{
    // Up to seven digits come from the server; milliseconds are what a QTime keeps.
    const QString ms = (fraction + QStringLiteral("000")).left(3);
    return ms.toInt();
}

} // namespace

QString dateTimeText(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    return cLocale().toString(value, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

QString dateText(const QDate &value)
{
    if (!value.isValid())
        return QString();
    return cLocale().toString(value, QStringLiteral("MM/dd/yyyy"));
}

QString generalDateText(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    const QDate date = value.date();
    const QTime time = value.time();
    if (date == zeroDate())
        return timeOfDayText(time);
    QString datePart = cLocale().toString(date, QStringLiteral("M/d/yyyy"));
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return datePart;
    return datePart + QLatin1Char(' ') + timeOfDayText(time);
}

QDateTime parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    // No date text is longer; longer input is not worth a match.
    if (t.isEmpty() || t.size() > 40)
        return QDateTime();

    static const QRegularExpression us(QStringLiteral(
        "^(\\d{1,2})/(\\d{1,2})/(\\d{4})"
        "(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\.(\\d{1,7}))?(?:\\s*([AaPp][Mm]))?)?$"));
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})"
                       "(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2}))?(?:\\.(\\d{1,7}))?)?$"));
    static const QRegularExpression timeOnly(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])$"));

    QDate date;
    QTime time(0, 0);
    if (const auto m = us.match(t); m.hasMatch()) {
        date = QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        if (m.hasCaptured(4)
            && !makeTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                         fractionMsec(m.captured(7)), m.captured(8), time))
            return QDateTime();
    } else if (const auto m = iso.match(t); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (m.hasCaptured(4)
            && !makeTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                         fractionMsec(m.captured(7)), QString(), time))
            return QDateTime();
    } else if (const auto m = timeOnly.match(t); m.hasMatch()) {
        date = zeroDate();
        if (!makeTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), 0,
                      m.captured(4), time))
            return QDateTime();
    }
    if (!date.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

QString variantText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return numberText(value.toDouble());
    case QMetaType::Float:
        return detail::singleText(value.toFloat());
    case QMetaType::QDateTime:
        return generalDateText(value.toDateTime());
    case QMetaType::QDate:
        return generalDateText(QDateTime(value.toDate(), QTime(0, 0)));
    case QMetaType::QTime:
        return timeOfDayText(value.toTime());
    default:
        // Whole numbers give their digits, text itself.
        return value.toString();
    }
}

} // namespace format
