#pragma once

#include <QString>
#include <string>

// Decimal digits of a number, so that rounding is decided on the digits the user sees and not on
// the binary value (2.675 rounds to 2.68, 0.00005 to 0.0001).
namespace format::detail {

// value = 0.d1 d2 ... dn x 10^point, the sign apart. Zero has no digits.
struct Decimal
{
    bool negative = false;
    std::string digits; // '0'..'9', no leading or trailing zeros once normalised
    long long point = 0; // digits before the decimal point; negative below 0.1

    bool isZero() const { return digits.empty(); }
    void normalize();
    // Rounds half away from zero to the given number of decimals.
    void roundToDecimals(long long decimals);
    // The digit at a position counted from the decimal point (0: units, -1: first decimal).
    char digitAt(long long position) const;
    // Plain digits without exponent: "12.5", "0.0001", "100000000000000000000".
    std::string plainText() const;
};

// A finite double as the program shows numbers: to 15 significant digits, correctly rounded.
Decimal decimalOf(double value, int significantDigits = 15);

// Reads a number at `pos` in `text`: optional sign, digits (with thousands separators between
// integer digits when `thousands`), one decimal point, an optional exponent. On success `pos` is
// just past the number; on failure (no digit) it is left alone.
bool scanNumber(const QString &text, qsizetype &pos, bool thousands, Decimal &out);

// The whole text (blanks around it allowed) as one number the way a user types it: thousands
// separators are taken only between groups of three digits in the integer part ("1,040.00",
// "12,345,678"), so that "1,5" or "1,0400" is no number rather than a different one.
bool scanTypedNumber(const QString &text, Decimal &out);

// The nearest double; false when the number lies beyond the double range.
bool toDouble(const Decimal &value, double &out);

// The text of a single-precision value: the digits it holds, not those of its double.
QString singleText(float value);

// Blanks skipped before and after a typed number.
inline bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace format::detail
