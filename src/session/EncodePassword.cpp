#include "session/EncodePassword.h"

namespace {

// The characters of codes 128 to 159 of the Windows code page the stored passwords were typed
// in (Windows-1252): the euro sign, dashes, curly quotes and the like. The five codes the code
// page leaves free stand for themselves.
constexpr char16_t kHighCodes[32]
    = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The character's code in that code page; a character it does not have counts as '?', as it
// did when the password was stored.
int ansiCode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHighCodes[i] == u)
            return 0x80 + i;
    }
    return '?';
}

QString hex2(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char(' '));
}

} // namespace

QString EncodePassword(const QString &mode, const QString &key, const QString &text)
{
    if (mode.compare(QLatin1String("E"), Qt::CaseInsensitive) != 0)
        return text;
    const int keyLength = static_cast<int>(key.size());
    int keyPos = 0;
    int previous = PasswordInitialValue;
    QString result = hex2(PasswordInitialValue);
    for (const QChar ch : text) {
        int value = (ansiCode(ch) + previous) % 255;
        if (keyLength > 0) {
            keyPos = keyPos < keyLength ? keyPos + 1 : 1;
            value ^= ansiCode(key.at(keyPos - 1));
        }
        result += hex2(value);
        previous = value;
    }
    return result;
}
