#include "session/EncodePassword.h"

namespace {

// The character's code in the single-byte code page the passwords were typed in; characters
// outside it count as '?'.
int ansiCode(QChar ch)
{
    const ushort u = ch.unicode();
    return u < 256 ? u : '?';
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
