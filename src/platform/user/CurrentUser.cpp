#include "platform/user/CurrentUser.h"

#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/Modal.h"
#include "platform/user/frmLogin.h"
#include "session/EncodePassword.h"

#include <QDir>
#include <QStandardPaths>

#if __has_include("platform/db/OdbcConnection.h")
#include "platform/db/OdbcConnection.h"
#define SR_HAVE_ODBC 1
#else
#define SR_HAVE_ODBC 0
#endif

namespace user {

namespace {

// One key of an ODBC connection string ("Server=host;UID=sa;PWD={a;b}"), keys matched without
// regard to letter case; the empty text when absent.
QString odbcValue(const QString &connectionString, const QStringList &keys)
{
    int i = 0;
    const int n = static_cast<int>(connectionString.size());
    while (i < n) {
        const int eq = connectionString.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = connectionString.mid(i, eq - i).trimmed();
        QString value;
        int j = eq + 1;
        while (j < n && connectionString.at(j) == QLatin1Char(' '))
            ++j;
        if (j < n && connectionString.at(j) == QLatin1Char('{')) {
            // A braced value may hold ';' and '}}' stands for one '}'.
            ++j;
            while (j < n) {
                if (connectionString.at(j) == QLatin1Char('}')) {
                    if (j + 1 < n && connectionString.at(j + 1) == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += connectionString.at(j++);
            }
            const int semi = connectionString.indexOf(QLatin1Char(';'), j);
            i = semi < 0 ? n : semi + 1;
        } else {
            const int semi = connectionString.indexOf(QLatin1Char(';'), j);
            const int end = semi < 0 ? n : semi;
            value = connectionString.mid(j, end - j).trimmed();
            i = end + 1;
        }
        for (const QString &wanted : keys) {
            if (key.compare(wanted, Qt::CaseInsensitive) == 0)
                return value;
        }
    }
    return QString();
}

} // namespace

CurrentUser::CurrentUser(ConnectionTarget target)
    : m_target(std::move(target))
{
    if (!m_target.odbcConnectionString.isEmpty()) {
        m_serverUser = odbcValue(m_target.odbcConnectionString,
                                 {QStringLiteral("UID"), QStringLiteral("User ID")});
        m_serverPassword = odbcValue(m_target.odbcConnectionString,
                                     {QStringLiteral("PWD"), QStringLiteral("Password")});
        if (m_serverPassword.isEmpty())
            m_serverPassword = m_target.serverPassword;
    }
}

bool CurrentUser::needsServerPassword() const
{
    const QString &text = m_target.odbcConnectionString;
    if (text.isEmpty() || !m_serverPassword.isEmpty())
        return false;
    if (!odbcValue(text, {QStringLiteral("DSN")}).isEmpty())
        return false; // the data source may hold the password
    if (odbcValue(text, {QStringLiteral("UID"), QStringLiteral("User ID")}).isEmpty())
        return false;
    if (odbcValue(text, {QStringLiteral("Trusted_Connection")})
            .compare(QLatin1String("yes"), Qt::CaseInsensitive)
        == 0)
        return false;
    return true;
}

void CurrentUser::setServerPassword(const QString &password)
{
    m_target.serverPassword = password;
    m_serverPassword = password;
}

QString CurrentUser::odbcConnectionString() const
{
    QString text = m_target.odbcConnectionString.trimmed();
    if (m_target.serverPassword.isEmpty()
        || !odbcValue(text, {QStringLiteral("PWD"), QStringLiteral("Password")}).isEmpty())
        return text;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char(';')))
        text += QLatin1Char(';');
    // Braces keep a ';' or '=' of the password inside the value; '}' is written twice.
    QString value = m_target.serverPassword;
    value.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return text + QStringLiteral("PWD={") + value + QLatin1Char('}');
}

CurrentUser::~CurrentUser() = default;

void CurrentUser::ShowMain()
{
    frmLogin login(*this);
    ui::showModal(login);
}

db::Connection &CurrentUser::sqlconnection() const
{
    if (!m_connection)
        throw db::DatabaseError(QStringLiteral("The database connection is not open."), QString());
    return *m_connection;
}

QString CurrentUser::ServerName() const
{
    if (m_connection)
        return m_connection->serverName();
    if (!m_target.odbcConnectionString.isEmpty())
        return odbcValue(
            m_target.odbcConnectionString,
            {QStringLiteral("Server"), QStringLiteral("Servername"), QStringLiteral("DSN")});
    if (m_target.open)
        return QString();
    return m_target.databaseFolder.isEmpty() ? defaultDatabaseFolder() : m_target.databaseFolder;
}

QString CurrentUser::defaultDatabaseFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/database");
}

std::unique_ptr<db::Connection> CurrentUser::openConnection() const
{
    if (m_target.open) {
        std::unique_ptr<db::Connection> connection = m_target.open();
        if (!connection)
            throw db::DatabaseError(QStringLiteral("The database could not be opened."), QString());
        return connection;
    }
    if (!m_target.odbcConnectionString.isEmpty()) {
        const QString server = ServerName();
#if SR_HAVE_ODBC
        try {
            return db::OdbcConnection::open(odbcConnectionString(), m_target.loginTimeoutSeconds);
        } catch (const db::DatabaseError &error) {
            throw db::DatabaseError(
                QStringLiteral("The database server %1 could not be reached or refused the "
                               "log-on:\n%2\n\nCheck the server name and port, the database "
                               "user and password, and that the server is running; with a slow "
                               "network start the program with a longer --login-timeout.")
                    .arg(server, error.message()),
                QString());
        }
#else
        throw db::DatabaseError(
            QStringLiteral("SQL Server connections are not available in this build; use an "
                           "embedded database with --database FOLDER."),
            QString());
#endif
    }
    const QString folder = QDir::toNativeSeparators(
        m_target.databaseFolder.isEmpty() ? defaultDatabaseFolder() : m_target.databaseFolder);
    if (!QDir().mkpath(folder))
        throw db::DatabaseError(QStringLiteral("The database folder %1 cannot be created.\n\n"
                                               "Check that its parent folder exists and that "
                                               "you may write there, or start the program with "
                                               "--database and a folder of your own.")
                                    .arg(folder),
                                QString());
    try {
        return db::EmbeddedConnection::open(folder);
    } catch (const db::DatabaseError &error) {
        throw db::DatabaseError(
            QStringLiteral("The database in the folder %1 could not be opened:\n%2\n\nCheck "
                           "that you may read and write the files in that folder and that no "
                           "other program holds them; a damaged database can be restored from "
                           "its backup, or start the program with --database and another "
                           "folder.")
                .arg(folder, error.message()),
            error.statement());
    }
}

void CurrentUser::logIn(std::unique_ptr<db::Connection> connection, const QString &employeeCode)
{
    m_connection = std::move(connection);
    m_employeeCode = employeeCode;
}

QString CurrentUser::checkPassword(db::Connection &connection, const QString &employeeId,
                                   const QString &password)
{
    if (employeeId.isEmpty())
        return QString();
    db::Recordset rs = connection.query(
        QStringLiteral("Select EmployeeId from Password..tbPasswordMain where EmployeeId = ")
        + db::quote(employeeId) + QStringLiteral(" and Password = ")
        + db::quote(
            EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey), password)));
    if (rs.eof())
        return QString();
    const QString code = rs.text(QStringLiteral("EmployeeId"));
    return code.isEmpty() ? employeeId : code;
}

} // namespace user
