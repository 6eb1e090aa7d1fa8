#include "platform/tsql/Values.h"

#include "platform/tsql/Error.h"

#include <QHash>

#include <cmath>

namespace tsql {

namespace {

const char *const kMonths[]
    = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};

int monthFromName(QStringView word)
{
    if (word.size() < 3)
        return 0;
    const QString lower = word.left(3).toString().toLower();
    for (int i = 0; i < 12; ++i) {
        if (lower == QLatin1String(kMonths[i]))
            return i + 1;
    }
    return 0;
}

struct Cursor
{
    QStringView s;
    qsizetype i = 0;
    bool atEnd() const { return i >= s.size(); }
    QChar peek() const { return atEnd() ? QChar() : s[i]; }
    void skipSpaces()
    {
        while (!atEnd() && s[i].isSpace())
            ++i;
    }
    int digits(int &count)
    {
        int v = 0;
        count = 0;
        while (!atEnd() && s[i].isDigit() && count < 9) {
            v = v * 10 + s[i].digitValue();
            ++i;
            ++count;
        }
        return v;
    }
    QStringView word()
    {
        const qsizetype start = i;
        while (!atEnd() && s[i].isLetter())
            ++i;
        return s.mid(start, i - start);
    }
};

int fullYear(int year, int digits)
{
    if (digits <= 2)
        return year < 50 ? 2000 + year : 1900 + year;
    return year;
}

bool parseTime(Cursor &c, int &msecs)
{
    int n = 0;
    int hour = c.digits(n);
    if (n == 0 || n > 2)
        return false;
    int minute = 0;
    int second = 0;
    int millis = 0;
    if (c.peek() == QLatin1Char(':')) {
        ++c.i;
        minute = c.digits(n);
        if (n == 0 || n > 2)
            return false;
        if (c.peek() == QLatin1Char(':')) {
            ++c.i;
            second = c.digits(n);
            if (n == 0 || n > 2)
                return false;
            if (c.peek() == QLatin1Char('.') || c.peek() == QLatin1Char(':')) {
                ++c.i;
                int frac = c.digits(n);
                while (n > 3) {
                    frac /= 10;
                    --n;
                }
                while (n < 3 && n > 0) {
                    frac *= 10;
                    ++n;
                }
                millis = frac;
            }
        }
    }
    c.skipSpaces();
    const QStringView marker = c.word();
    if (!marker.isEmpty()) {
        const bool pm = marker.compare(QLatin1String("pm"), Qt::CaseInsensitive) == 0;
        const bool am = marker.compare(QLatin1String("am"), Qt::CaseInsensitive) == 0;
        if (!pm && !am)
            return false;
        if (hour < 1 || hour > 12)
            return false;
        if (am && hour == 12)
            hour = 0;
        if (pm && hour != 12)
            hour += 12;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    msecs = ((hour * 60 + minute) * 60 + second) * 1000 + millis;
    return true;
}

QString two(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

bool parseDateTime(QStringView text, DateTimeValue &out)
{
    Cursor c {text.trimmed()};
    if (c.s.isEmpty())
        return false;
    int year = 1900;
    int month = 1;
    int day = 1;
    bool haveDate = true;
    int n = 0;
    if (c.peek().isDigit()) {
        const qsizetype start = c.i;
        const int first = c.digits(n);
        const QChar sep = c.peek();
        if (n == 8 && (c.atEnd() || sep.isSpace() || sep == QLatin1Char('T'))) {
            year = first / 10000;
            month = first / 100 % 100;
            day = first % 100;
        } else if (sep == QLatin1Char(':')
                   || (n <= 2 && c.s.mid(c.i).trimmed().size() >= 2
                       && c.s.mid(c.i).trimmed().front().isLetter()
                       && monthFromName(c.s.mid(c.i).trimmed()) == 0)) {
            // A time alone ("10:15", "10 AM").
            haveDate = false;
            c.i = start;
        } else if (sep == QLatin1Char('-') || sep == QLatin1Char('/') || sep == QLatin1Char('.')) {
            ++c.i;
            int n2 = 0;
            const int second = c.digits(n2);
            if (n2 == 0 || c.peek() != sep)
                return false;
            ++c.i;
            int n3 = 0;
            const int third = c.digits(n3);
            if (n3 == 0)
                return false;
            if (n2 > 2 || (n == 4 ? n3 > 2 : (n > 2 || (n3 != 2 && n3 != 4))))
                return false;
            if (n == 4) {
                year = first;
                month = second;
                day = third;
            } else {
                month = first;
                day = second;
                year = fullYear(third, n3);
            }
        } else if (sep.isSpace()) {
            // "8 Dec 2026"
            c.skipSpaces();
            month = monthFromName(c.word());
            if (month == 0)
                return false;
            day = first;
            c.skipSpaces();
            int ny = 0;
            const int y = c.digits(ny);
            year = fullYear(y, ny);
            if (ny == 0)
                return false;
        } else {
            return false;
        }
    } else if (c.peek().isLetter()) {
        // "Dec 8 2026", "December 8, 2026"
        month = monthFromName(c.word());
        if (month == 0)
            return false;
        c.skipSpaces();
        int nd = 0;
        day = c.digits(nd);
        if (nd == 0)
            return false;
        if (c.peek() == QLatin1Char(','))
            ++c.i;
        c.skipSpaces();
        int ny = 0;
        const int y = c.digits(ny);
        year = fullYear(y, ny);
        if (ny == 0)
            return false;
    } else {
        return false;
    }
    int msecs = 0;
    if (haveDate) {
        if (c.peek() == QLatin1Char('T'))
            ++c.i;
        c.skipSpaces();
    }
    if (!c.atEnd()) {
        if (!parseTime(c, msecs))
            return false;
        c.skipSpaces();
        if (!c.atEnd())
            return false;
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1753 || year > 9999)
        return false;
    out.date = date;
    out.msecs = msecs;
    return true;
}

bool parseDateTimeStyled(QStringView text, int style, DateTimeValue &out)
{
    const bool dayFirst = style == 3 || style == 4 || style == 5 || style == 103 || style == 104
        || style == 105 || style == 13 || style == 113 || style == 6 || style == 106;
    const bool shortYearFirst = style == 2 || style == 11 || style == 12;
    if (!dayFirst && !shortYearFirst)
        return parseDateTime(text, out);
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    int parts[3] = {0, 0, 0};
    int widths[3] = {0, 0, 0};
    QChar separator;
    if (style == 12) {
        // yymmdd
        for (; i < t.size() && i < 6 && t[i].isDigit(); ++i)
            ;
        if (i != 6)
            return false;
        for (int k = 0; k < 3; ++k) {
            parts[k] = t.mid(2 * k, 2).toInt();
            widths[k] = 2;
        }
    } else {
        for (int k = 0; k < 3; ++k) {
            const qsizetype start = i;
            while (i < t.size() && t[i].isDigit())
                ++i;
            widths[k] = static_cast<int>(i - start);
            if (widths[k] == 0 || widths[k] > 4) {
                // "8 Dec 2026" and other forms with a month name read as without a style.
                return dayFirst && k == 1 ? parseDateTime(text, out) : false;
            }
            parts[k] = t.mid(start, i - start).toInt();
            if (k < 2) {
                if (i >= t.size())
                    return false;
                const QChar c = t[i];
                if (k == 0)
                    separator = c;
                if (c != separator
                    || (c != QLatin1Char('/') && c != QLatin1Char('.') && c != QLatin1Char('-')))
                    return dayFirst && k == 0 && c.isSpace() ? parseDateTime(text, out) : false;
                ++i;
            }
        }
    }
    int year = 0;
    int month = 0;
    int day = 0;
    int yearWidth = 0;
    if (dayFirst) {
        day = parts[0];
        month = parts[1];
        year = parts[2];
        yearWidth = widths[2];
    } else {
        year = parts[0];
        month = parts[1];
        day = parts[2];
        yearWidth = widths[0];
    }
    if (yearWidth != 2 && yearWidth != 4)
        return false;
    if (yearWidth == 2)
        year = fullYear(year, 2);
    const QString iso = QStringLiteral("%1-%2-%3")
                            .arg(year, 4, 10, QLatin1Char('0'))
                            .arg(month, 2, 10, QLatin1Char('0'))
                            .arg(day, 2, 10, QLatin1Char('0'))
        + t.mid(i).toString();
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    return parseDateTime(iso, out);
}

DateTimeValue roundedToTicks(DateTimeValue v)
{
    const int ticks = (v.msecs * 3 + 5) / 10;
    v.msecs = (ticks * 10 + 1) / 3;
    if (v.msecs >= 86400000) {
        v.msecs -= 86400000;
        v.date = v.date.addDays(1);
    }
    return v;
}

QString storedText(const DateTimeValue &value)
{
    const DateTimeValue v = roundedToTicks(value);
    const int parts[7]
        = {v.date.year(),        v.date.month(),      v.date.day(),  v.msecs / 3600000,
           v.msecs / 60000 % 60, v.msecs / 1000 % 60, v.msecs % 1000};
    static const int widths[7] = {4, 2, 2, 2, 2, 2, 3};
    static const char separators[7] = {'-', '-', ' ', ':', ':', '.', 0};
    QString out(23, QLatin1Char('0'));
    QChar *p = out.data();
    for (int k = 0; k < 7; ++k) {
        int value = parts[k];
        for (int i = widths[k] - 1; i >= 0; --i) {
            p[i] = QLatin1Char(static_cast<char>('0' + value % 10));
            value /= 10;
        }
        p += widths[k];
        if (separators[k])
            *p++ = QLatin1Char(separators[k]);
    }
    return out;
}

DateTimeValue fromDays(double days)
{
    const QDate base(1900, 1, 1);
    const double whole = std::floor(days);
    DateTimeValue v;
    v.date = base.addDays(static_cast<qint64>(whole));
    v.msecs = static_cast<int>(std::llround((days - whole) * 86400000.0));
    if (v.msecs >= 86400000) {
        v.msecs -= 86400000;
        v.date = v.date.addDays(1);
    }
    return v;
}

double toDays(const DateTimeValue &v)
{
    return static_cast<double>(QDate(1900, 1, 1).daysTo(v.date)) + v.msecs / 86400000.0;
}

QDateTime toQDateTime(const DateTimeValue &v)
{
    // Local date-times cost a time-zone look-up each; the offset is found once per date and
    // hour, and the value carries it (it compares equal to the local date-time).
    static thread_local QHash<qint64, int> offsets;
    const qint64 key = v.date.toJulianDay() * 24 + v.msecs / 3600000;
    auto it = offsets.constFind(key);
    if (it == offsets.constEnd()) {
        if (offsets.size() > 20000)
            offsets.clear();
        const QDateTime local(v.date, QTime(v.msecs / 3600000, 0));
        it = offsets.insert(key, local.offsetFromUtc());
    }
    return QDateTime(v.date, QTime::fromMSecsSinceStartOfDay(v.msecs), Qt::OffsetFromUTC, *it);
}

bool parseStoredDateTime(const char *t, int n, DateTimeValue &out)
{
    if (n != 23 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':'
        || t[19] != '.')
        return false;
    auto num = [t](int at, int len) {
        int r = 0;
        for (int i = 0; i < len; ++i) {
            const int d = t[at + i] - '0';
            if (d < 0 || d > 9)
                return -1;
            r = r * 10 + d;
        }
        return r;
    };
    const int parts[7]
        = {num(0, 4), num(5, 2), num(8, 2), num(11, 2), num(14, 2), num(17, 2), num(20, 3)};
    for (int p : parts) {
        if (p < 0)
            return false;
    }
    out.date = QDate(parts[0], parts[1], parts[2]);
    out.msecs = ((parts[3] * 60 + parts[4]) * 60 + parts[5]) * 1000 + parts[6];
    return out.date.isValid() && parts[3] < 24 && parts[4] < 60 && parts[5] < 60;
}

DateTimeValue fromQDateTime(const QDateTime &value)
{
    DateTimeValue v;
    v.date = value.date();
    v.msecs = value.time().msecsSinceStartOfDay();
    return v;
}

bool styledText(const DateTimeValue &v, int style, QString &out)
{
    const QDate d = v.date;
    const int h = v.msecs / 3600000;
    const int mi = v.msecs / 60000 % 60;
    const int s = v.msecs / 1000 % 60;
    const int ms = v.msecs % 1000;
    const QString yyyy = QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
    const QString yy = two(d.year() % 100);
    const QString mon = QString::fromLatin1(kMonths[d.month() - 1]);
    const QString Mon = mon.left(1).toUpper() + mon.mid(1);
    const QString hms = two(h) + QLatin1Char(':') + two(mi) + QLatin1Char(':') + two(s);
    switch (style) {
    case 0:
    case 100: {
        const int h12 = h % 12 == 0 ? 12 : h % 12;
        out = Mon + QLatin1Char(' ') + QStringLiteral("%1").arg(d.day(), 2) + QLatin1Char(' ')
            + yyyy + QLatin1Char(' ') + QStringLiteral("%1").arg(h12, 2) + QLatin1Char(':')
            + two(mi) + (h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
        return true;
    }
    case 1:
        out = two(d.month()) + '/' + two(d.day()) + '/' + yy;
        return true;
    case 101:
        out = two(d.month()) + '/' + two(d.day()) + '/' + yyyy;
        return true;
    case 2:
        out = yy + '.' + two(d.month()) + '.' + two(d.day());
        return true;
    case 102:
        out = yyyy + '.' + two(d.month()) + '.' + two(d.day());
        return true;
    case 3:
        out = two(d.day()) + '/' + two(d.month()) + '/' + yy;
        return true;
    case 103:
        out = two(d.day()) + '/' + two(d.month()) + '/' + yyyy;
        return true;
    case 104:
        out = two(d.day()) + '.' + two(d.month()) + '.' + yyyy;
        return true;
    case 105:
        out = two(d.day()) + '-' + two(d.month()) + '-' + yyyy;
        return true;
    case 106:
        out = two(d.day()) + ' ' + Mon + ' ' + yyyy;
        return true;
    case 107:
        out = Mon + ' ' + two(d.day()) + QStringLiteral(", ") + yyyy;
        return true;
    case 8:
    case 108:
        out = hms;
        return true;
    case 10:
        out = two(d.month()) + '-' + two(d.day()) + '-' + yy;
        return true;
    case 110:
        out = two(d.month()) + '-' + two(d.day()) + '-' + yyyy;
        return true;
    case 111:
        out = yyyy + '/' + two(d.month()) + '/' + two(d.day());
        return true;
    case 12:
        out = yy + two(d.month()) + two(d.day());
        return true;
    case 112:
        out = yyyy + two(d.month()) + two(d.day());
        return true;
    case 20:
    case 120:
        out = yyyy + '-' + two(d.month()) + '-' + two(d.day()) + ' ' + hms;
        return true;
    case 21:
    case 121:
        out = storedText(v);
        return true;
    case 23:
        out = yyyy + '-' + two(d.month()) + '-' + two(d.day());
        return true;
    case 126:
        out = yyyy + '-' + two(d.month()) + '-' + two(d.day()) + 'T' + hms + '.'
            + QStringLiteral("%1").arg(ms, 3, 10, QLatin1Char('0'));
        return true;
    default:
        return false;
    }
}

bool isNumericText(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto currency = [&](QChar c) {
        return c == QLatin1Char('$') || c == QChar(0x00A3) || c == QChar(0x20AC)
            || c == QChar(0x00A5);
    };
    if (i < n && currency(t[i]))
        ++i;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    if (i < n && currency(t[i]))
        ++i;
    while (i < n && t[i].isSpace())
        ++i;
    int digits = 0;
    while (i < n && (t[i].isDigit() || (t[i] == QLatin1Char(',') && digits > 0))) {
        if (t[i].isDigit())
            ++digits;
        ++i;
    }
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && t[i].isDigit()) {
            ++digits;
            ++i;
        }
    }
    if (i < n && digits > 0
        && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E') || t[i] == QLatin1Char('d')
            || t[i] == QLatin1Char('D'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        int exp = 0;
        while (i < n && t[i].isDigit()) {
            ++exp;
            ++i;
        }
        if (exp == 0)
            return false;
    }
    return i == n;
}

Conv convFor(const TypeSpec &dataType)
{
    if (dataType.type == Type::DateTime && dataType.dateOnly)
        return Conv::Date;
    return convFor(dataType.type);
}

Conv convFor(Type type)
{
    switch (type) {
    case Type::DateTime:
        return Conv::DateTime;
    case Type::Bit:
        return Conv::Bit;
    case Type::Int:
        return Conv::Int;
    case Type::Float:
        return Conv::Number;
    case Type::Text:
        return Conv::Text;
    default:
        return Conv::None;
    }
}

QString numberToText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    return QString::number(value, 'g', 15);
}

QVariant convertTo(const QVariant &value, const TypeSpec &type)
{
    return convertValue(value, convFor(type), numTypeOf(type));
}

QVariant convertValue(const QVariant &value, Conv conv, NumType num)
{
    if (conv == Conv::None || value.isNull())
        return value;
    if ((conv == Conv::Number || conv == Conv::Int) && (num.isDecimal() || num.isInteger())) {
        if (value.typeId() == QMetaType::QString)
            return textToNumber(value.toString(), num);
        return numberToType(value, num);
    }
    const int t = value.typeId();
    const bool isText = t == QMetaType::QString;
    switch (conv) {
    case Conv::None:
        return value;
    case Conv::Text:
        if (isText)
            return value;
        if (t == QMetaType::Double)
            return numberToText(value.toDouble());
        return value.toString();
    case Conv::DateTime:
    case Conv::Date: {
        DateTimeValue dt;
        if (isText && value.toString().trimmed().isEmpty()) {
            dt = fromDays(0);
        } else if (isText) {
            if (!parseDateTime(value.toString(), dt))
                throw Error(QStringLiteral("Conversion failed when converting date and/or time "
                                           "from character string."),
                            value.toString().left(60));
        } else {
            dt = fromDays(value.toDouble());
        }
        if (conv == Conv::Date)
            dt.msecs = 0;
        return storedText(dt);
    }
    case Conv::Bit: {
        if (!isText)
            return qlonglong(value.toDouble() != 0.0 ? 1 : 0);
        const QString s = value.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return qlonglong(1);
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return qlonglong(0);
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (!ok)
            throw Error(QStringLiteral("Conversion failed when converting the varchar value "
                                       "'%1' to data type bit.")
                            .arg(s.left(60)));
        return qlonglong(d != 0.0 ? 1 : 0);
    }
    case Conv::Number:
    case Conv::Int: {
        if (!isText) {
            if (conv == Conv::Int && t == QMetaType::Double)
                return qlonglong(value.toDouble());
            return value;
        }
        const QString s = value.toString().trimmed();
        if (s.isEmpty())
            return qlonglong(0);
        bool ok = false;
        const qlonglong i = s.toLongLong(&ok);
        if (ok)
            return i;
        const double d = s.toDouble(&ok);
        if (ok && conv == Conv::Number)
            return d;
        throw Error(QStringLiteral("Conversion failed when converting the varchar value '%1' to "
                                   "data type %2.")
                        .arg(s.left(60),
                             conv == Conv::Int ? QStringLiteral("int") : QStringLiteral("float")));
    }
    }
    return value;
}

QString sqlLiteral(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        QString s = QString::number(value.toDouble(), 'g', 17);
        if (!s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e')))
            s += QStringLiteral(".0");
        return s;
    }
    default: {
        QString s = value.toString();
        s.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + s + QLatin1Char('\'');
    }
    }
}

} // namespace tsql
