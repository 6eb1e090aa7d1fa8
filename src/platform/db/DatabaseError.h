#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A statement the database refused: the server's (or the embedded engine's) message and the
// statement text as it was sent.
class DatabaseError : public std::runtime_error
{
public:
    DatabaseError(const QString &message, const QString &statement)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_statement(statement)
    { }

    QString message() const { return m_message; }
    QString statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};

} // namespace db
