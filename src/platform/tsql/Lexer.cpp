#include "platform/tsql/Lexer.h"

#include "platform/tsql/Error.h"

#include <cstring>

namespace tsql {

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('#');
}

// Names are nearly always ASCII: their characters are looked up in a table.
struct IdentPartTable
{
    bool part[128] = {};
    constexpr IdentPartTable()
    {
        for (int u = 0; u < 128; ++u)
            part[u] = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                || u == '_' || u == '#' || u == '$' || u == '@';
    }
};
constexpr IdentPartTable kIdentPart;

bool isIdentPart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return kIdentPart.part[u];
    return c.isLetterOrNumber();
}

[[noreturn]] void fail(const QString &source, int offset, const QString &message,
                       const QString &construct)
{
    int line = 0;
    int column = 0;
    lineColumn(source, offset, line, column);
    throw Error(message, construct, line, column);
}

} // namespace

bool sameWord(QStringView text, const char *keyword)
{
    qsizetype i = 0;
    for (; keyword[i]; ++i) {
        if (i >= text.size())
            return false;
        char16_t c = text[i].unicode();
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char16_t>(c + 32);
        char k = keyword[i];
        if (k >= 'A' && k <= 'Z')
            k = static_cast<char>(k + 32);
        if (c != static_cast<char16_t>(k))
            return false;
    }
    return i == text.size();
}

void lineColumn(const QString &source, int offset, int &line, int &column)
{
    line = 1;
    column = 1;
    for (int i = 0; i < offset && i < source.size(); ++i) {
        if (source[i] == QLatin1Char('\n')) {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

static quint64 numberShape(Tok kind, QStringView text)
{
    if (kind != Tok::Integer && kind != Tok::Decimal)
        return 0;
    // What the number's type depends on: its digits before and after the point (1.5 is
    // decimal(2,1), 1.25 decimal(3,2)), an exponent, or a whole number beyond int.
    quint64 whole = 0;
    quint64 fraction = 0;
    bool point = false;
    bool exponent = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('.'))
            point = true;
        else if (c == QLatin1Char('e') || c == QLatin1Char('E'))
            exponent = true;
        else if (point)
            ++fraction;
        else if (whole > 0 || c != QLatin1Char('0'))
            ++whole;
    }
    if (kind == Tok::Integer)
        return whole < 10 || (whole == 10 && text.toString().toLongLong() <= 2147483647LL)
            ? 0
            : 0x1000 + whole;
    return exponent ? 1 : 2 + (whole << 8) + (fraction << 16);
}

bool sameShape(const std::vector<Token> &a, const std::vector<Token> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind)
            return false;
        if (a[i].literal >= 0) {
            if (numberShape(a[i].kind, a[i].text) != numberShape(b[i].kind, b[i].text))
                return false;
            continue;
        }
        const QStringView x = a[i].text;
        const QStringView y = b[i].text;
        if (x.size() != y.size()
            || std::memcmp(x.utf16(), y.utf16(), static_cast<size_t>(x.size()) * sizeof(char16_t))
                != 0)
            return false;
    }
    return true;
}

QVariant literalValue(const Literal &literal)
{
    switch (literal.kind) {
    case LitKind::String: {
        if (!literal.raw.contains(QLatin1Char('\'')))
            return literal.raw;
        QString value = literal.raw;
        value.replace(QLatin1String("''"), QLatin1String("'"));
        return value;
    }
    case LitKind::Integer: {
        bool ok = false;
        const qlonglong v = literal.raw.toLongLong(&ok);
        if (ok)
            return v;
        return literal.raw.toDouble();
    }
    case LitKind::Decimal:
        return literal.raw.toDouble();
    }
    return {};
}

void lex(const QString &source, Lexed &out, bool buildKey)
{
    out.source = source;
    out.tokens.clear();
    out.literals.clear();
    out.shapeHash = 1469598103934665603ULL;
    const QString &s = out.source;
    const int n = static_cast<int>(s.size());
    out.tokens.reserve(static_cast<size_t>(n / 4 + 2));
    out.literals.reserve(static_cast<size_t>(n / 32 + 4));
    quint64 &hash = out.shapeHash;
    auto mix = [&hash](quint64 v) {
        hash ^= v;
        hash *= 1099511628211ULL;
    };
    // A token's text goes into the key four characters at a time.
    auto mixText = [&mix](Tok kind, QStringView text) {
        const auto length = static_cast<quint64>(text.size());
        mix(static_cast<quint64>(kind) + 0x100 + (length << 8));
        const char16_t *u = text.utf16();
        quint64 k = 0;
        for (; k + 4 <= length; k += 4) {
            quint64 word = 0;
            std::memcpy(&word, u + k, sizeof word);
            mix(word);
        }
        for (; k < length; ++k)
            mix(u[k]);
    };
    int i = 0;
    auto push = [&](Tok kind, int start, int length) {
        Token t;
        t.kind = kind;
        t.offset = start;
        t.text = QStringView(s.constData() + start, length);
        out.tokens.push_back(t);
        if (buildKey)
            mixText(kind, t.text);
    };
    auto pushLiteral = [&](Tok kind, LitKind lit, int start, int length, QStringView raw) {
        Token t;
        t.kind = kind;
        t.offset = start;
        t.text = QStringView(s.constData() + start, length);
        t.literal = static_cast<int>(out.literals.size());
        out.literals.push_back(Literal {lit, raw.toString()});
        out.tokens.push_back(t);
        if (buildKey)
            mix(static_cast<quint64>(kind) + 0x200 + (numberShape(kind, t.text) << 8));
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            // Block comments nest, as on the server.
            const int start = i;
            int depth = 0;
            while (i < n) {
                if (s[i] == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
                    ++depth;
                    i += 2;
                } else if (s[i] == QLatin1Char('*') && i + 1 < n && s[i + 1] == QLatin1Char('/')) {
                    --depth;
                    i += 2;
                    if (depth == 0)
                        break;
                } else {
                    ++i;
                }
            }
            if (depth != 0)
                fail(s, start, QStringLiteral("Missing end comment mark '*/'."),
                     QStringLiteral("comment"));
            continue;
        }
        const bool national = (c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n
            && s[i + 1] == QLatin1Char('\'');
        if (c == QLatin1Char('\'') || national) {
            const int start = i;
            int j = national ? i + 2 : i + 1;
            const int contentStart = j;
            bool closed = false;
            while (j < n) {
                if (s[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && s[j + 1] == QLatin1Char('\'')) {
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                ++j;
            }
            if (!closed)
                fail(s, start,
                     QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                         .arg(s.mid(contentStart, 40)),
                     QStringLiteral("string literal"));
            pushLiteral(Tok::String, LitKind::String, start, j + 1 - start,
                        QStringView(s).mid(contentStart, j - contentStart));
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const int start = i;
            int j = i + 1;
            QString name;
            bool closed = false;
            while (j < n) {
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close) {
                        name += close;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                name += s[j];
                ++j;
            }
            if (!closed)
                fail(s, start,
                     QStringLiteral("Unclosed quotation mark after the name '%1'.")
                         .arg(name.left(40)),
                     QStringLiteral("quoted name"));
            Token t;
            t.kind = Tok::Quoted;
            t.offset = start;
            // The name without its delimiters; doubled closers are rare, so keep the raw span
            // when there are none.
            t.text = QStringView(s).mid(start + 1, j - start - 1);
            if (name.size() != j - start - 1)
                fail(s, start,
                     QStringLiteral("Doubled delimiters in a quoted name are not supported."),
                     QStringLiteral("quoted name"));
            out.tokens.push_back(t);
            if (buildKey)
                mixText(Tok::Quoted, t.text);
            i = j + 1;
            continue;
        }
        if (c.isDigit()
            || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit()
                && (i == 0
                    || !(isIdentPart(s[i - 1]) || s[i - 1] == QLatin1Char(']')
                         || s[i - 1] == QLatin1Char('"') || s[i - 1] == QLatin1Char(')'))))) {
            const int start = i;
            bool decimal = false;
            while (i < n && s[i].isDigit())
                ++i;
            if (i < n && s[i] == QLatin1Char('.')) {
                decimal = true;
                ++i;
                while (i < n && s[i].isDigit())
                    ++i;
            }
            if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
                int j = i + 1;
                if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && s[j].isDigit()) {
                    decimal = true;
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            if (i < n && isIdentStart(s[i]))
                fail(s, start,
                     QStringLiteral("Incorrect syntax near '%1'.").arg(s.mid(start, i + 1 - start)),
                     QStringLiteral("number"));
            pushLiteral(decimal ? Tok::Decimal : Tok::Integer,
                        decimal ? LitKind::Decimal : LitKind::Integer, start, i - start,
                        QStringView(s).mid(start, i - start));
            continue;
        }
        if (c == QLatin1Char('@')) {
            const int start = i;
            ++i;
            if (i < n && s[i] == QLatin1Char('@'))
                ++i;
            while (i < n && isIdentPart(s[i]))
                ++i;
            if (i - start < 2)
                fail(s, start, QStringLiteral("Incorrect syntax near '@'."),
                     QStringLiteral("variable"));
            push(Tok::Variable, start, i - start);
            continue;
        }
        if (isIdentStart(c)) {
            const int start = i;
            while (i < n && isIdentPart(s[i]))
                ++i;
            push(Tok::Ident, start, i - start);
            continue;
        }
        // Operators: two-character ones first.
        if (i + 1 < n) {
            const QChar d = s[i + 1];
            if ((c == QLatin1Char('<') && (d == QLatin1Char('=') || d == QLatin1Char('>')))
                || (c == QLatin1Char('>') && d == QLatin1Char('='))
                || (c == QLatin1Char('!')
                    && (d == QLatin1Char('=') || d == QLatin1Char('<') || d == QLatin1Char('>')))) {
                push(Tok::Op, i, 2);
                i += 2;
                continue;
            }
        }
        const char16_t u = c.unicode();
        if (u == '(' || u == ')' || u == ',' || u == '.' || u == ';' || u == '=' || u == '<'
            || u == '>' || u == '+' || u == '-' || u == '*' || u == '/' || u == '%' || u == '&'
            || u == '|' || u == '^' || u == '~') {
            push(Tok::Op, i, 1);
            ++i;
            continue;
        }
        fail(s, i, QStringLiteral("Incorrect syntax near '%1'.").arg(c),
             QStringLiteral("character"));
    }
    Token end;
    end.kind = Tok::End;
    end.offset = n;
    out.tokens.push_back(end);
}

} // namespace tsql
