#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

// Number and date text as the program shows and sends it.
namespace format {

// Format(number, pattern) for the digit patterns the program uses ("########0.0000",
// "###,###,##0.0000", "#########0", "#####0", "##0.00", "#######0.0000", "######0"):
// '#' an optional digit, '0' a required digit, '.' the decimal point, ',' in the integer part
// turns on thousands separators; text before and after the digits is kept. The number is taken
// to 15 significant digits and then rounded half away from zero on its decimal digits; a
// negative number keeps its sign unless it rounds to zero. NaN and infinities give "NaN",
// "Infinity", "-Infinity"; an empty pattern gives numberText.
QString formatNumber(double value, const QString &pattern);

// The leading number of a text: blanks skipped, optional sign, digits, one decimal point,
// an optional exponent. Empty or non-numeric text reads as 0 ("12abc" -> 12, " 3.5" -> 3.5,
// "1e3" -> 1000). A number beyond the double range reads as 0. Never throws.
double leadingNumber(const QString &text);

// True when the whole text (blanks around it allowed) is a number: sign, digits with thousands
// separators in the integer part, one decimal point, an exponent. Empty, blank-only, "." and
// "-" alone are not numeric, nor is a number beyond the double range.
bool isNumeric(const QString &text);

// The value of a numeric text (as isNumeric accepts it); 0 when not numeric.
double numericValue(const QString &text);

// A number typed or pasted into a field, read whole: blanks around it, a sign, digits with
// thousands separators between groups of three ("1,040.00" reads 1040), one decimal point, an
// exponent. False, and value 0, for anything else ("1,5", "12abc", "1e999", letters).
bool readTypedNumber(const QString &text, double &value);

// The value of a typed field's text: read whole as readTypedNumber does, else by its leading
// number; empty or non-numeric text reads as 0. "1,040.00" -> 1040, "12abc" -> 12.
double typedNumber(const QString &text);

// The default number-to-text conversion: "12.5", "0", "-3", no leading blank, up to 15
// significant digits; an exponent ("1E+20", "1.5E-05") from 1E+15 up and below 1E-04.
QString numberText(double value);

// The standard number-to-text conversion: as numberText, with a leading blank for
// non-negative numbers (" 3", "-3").
QString numberTextStd(double value);

// "MM/dd/yyyy HH:mm:ss AMPM": month/day/four-digit year, 12-hour clock with seconds and
// "AM"/"PM", e.g. "12/08/2026 01:05:09 PM".
QString dateTimeText(const QDateTime &value);
// "mm/dd/yyyy": month/day/year, e.g. "12/08/2026".
QString dateText(const QDate &value);
// The general date text of a date-time value: "12/8/2026 1:05:09 PM"; only the date when the
// time is midnight; only the time ("1:05:09 PM") on the platform's zero date, 12/30/1899.
QString generalDateText(const QDateTime &value);

// Reads the texts above back: "M/d/yyyy[ h:mm[:ss] AM|PM]" (24-hour without the marker), ISO
// "yyyy-MM-dd[ HH:mm[:ss[.zzz]]]" (or with "T"), and a time of day alone on the zero date. An
// invalid QDateTime when the text is not a date.
QDateTime parseDateTime(const QString &text);

// A value read from the database as text, as the program reads it by appending the empty text:
// null -> "", booleans "True"/"False", whole numbers their digits, other numbers by numberText
// (single precision to 7 digits), date-times by generalDateText, a date alone as "12/8/2026", a
// time alone as "1:05:09 PM", anything else as Qt writes it.
QString variantText(const QVariant &value);

// A fixed-point decimal with four decimals for costs and totals: sums of many lines do not drift.
class Currency
{
public:
    constexpr Currency() = default;
    static Currency fromDouble(double value); // rounded half away from zero
    // Exact for decimals: a whole typed number ("1,040.00" -> 1040, as readTypedNumber reads
    // it), else the leading number ("12abc" -> 12).
    static Currency fromText(const QString &text);
    static constexpr Currency fromRaw(qint64 tenThousandths)
    {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }

    qint64 raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / 10000.0; }
    QString toString() const; // plain text with the needed decimals only: "12.5", "0", "-3.0001"

    Currency operator+(Currency o) const { return fromRaw(m_raw + o.m_raw); }
    Currency operator-(Currency o) const { return fromRaw(m_raw - o.m_raw); }
    Currency &operator+=(Currency o)
    {
        m_raw += o.m_raw;
        return *this;
    }
    Currency operator*(double factor) const; // rounded half away from zero
    auto operator<=>(const Currency &) const = default;

private:
    qint64 m_raw = 0;
};

} // namespace format
