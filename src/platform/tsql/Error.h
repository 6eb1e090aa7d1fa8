#pragma once

#include <QString>
#include <stdexcept>

namespace tsql {

// A statement the engine cannot run: what went wrong, the construct concerned and where it
// stands in the statement text (line and column from 1; 0 when not known).
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message, const QString &construct = QString(), int line = 0,
                   int column = 0)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_construct(construct)
        , m_line(line)
        , m_column(column)
    { }

    QString message() const { return m_message; }
    QString construct() const { return m_construct; }
    int line() const { return m_line; }
    int column() const { return m_column; }

    // The message with the construct and position, as shown to the user.
    QString describe() const
    {
        if (m_line <= 0)
            return m_construct.isEmpty()
                ? m_message
                : m_message + QStringLiteral(" (") + m_construct + QLatin1Char(')');
        return m_message + QStringLiteral(" (")
            + (m_construct.isEmpty() ? QString() : m_construct + QStringLiteral(" at "))
            + QStringLiteral("line %1, column %2)").arg(m_line).arg(m_column);
    }

private:
    QString m_message;
    QString m_construct;
    int m_line;
    int m_column;
};

} // namespace tsql
