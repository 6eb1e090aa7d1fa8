#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <vector>

namespace tsql {

enum class Tok : unsigned char {
    End,
    Ident, // a name or keyword
    Quoted, // [bracketed] or "double-quoted" name; text is the name itself
    String, // 'text' or N'text'; text is the raw literal between the quotes
    Integer, // 123
    Decimal, // 1.5, 1e3
    Variable, // @name (also @@name)
    Op, // punctuation and operators
};

struct Token
{
    Tok kind = Tok::End;
    int offset = 0; // in the source text
    QStringView text;
    int literal = -1; // index into the literal list for String/Integer/Decimal
};

enum class LitKind : unsigned char { String, Integer, Decimal };

// A literal as written; its value is computed when it is bound.
struct Literal
{
    LitKind kind = LitKind::String;
    QString raw;
};

QVariant literalValue(const Literal &literal);

// The token stream of a statement text with its literals. The shape hash covers the token
// stream with every literal replaced by its kind, so statements that differ only in their
// literal values share one translation (sameShape confirms a match).
struct Lexed
{
    QString source;
    std::vector<Token> tokens; // ends with a Tok::End token
    std::vector<Literal> literals;
    quint64 shapeHash = 0;
};

bool sameShape(const std::vector<Token> &a, const std::vector<Token> &b);

// Throws tsql::Error for unclosed quotes, brackets and comments, and for characters that
// belong to no token.
void lex(const QString &source, Lexed &out, bool buildKey);

// Line and column (from 1) of an offset in a text.
void lineColumn(const QString &source, int offset, int &line, int &column);

bool sameWord(QStringView text, const char *keyword);

} // namespace tsql
