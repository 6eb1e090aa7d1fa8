#pragma once

#include <QString>

// The key the program encodes every password with.
inline constexpr const char *PasswordKey = "QUANTELBRIXOM";
// The encoder's fixed initial value, the same for every password of the hospital's password
// table: the encoded text starts with it as two hexadecimal digits ("4B").
inline constexpr int PasswordInitialValue = 0x4B;

// Encodes a password (mode "E") under a key: the initial value as two hex digits, then per
// character ((code + previous) mod 255) XOR the key's next character, as two upper-case hex
// digits right-aligned with a blank. Each value depends on every earlier character; the key is
// reused from its first character after its last. Other modes return the text unchanged.
QString EncodePassword(const QString &mode, const QString &key, const QString &text);
