#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace user {

// Where the log-in connects: an embedded database folder, or a SQL Server by ODBC connection
// string. Empty: the embedded demo database in the per-user data folder.
struct ConnectionTarget
{
    QString databaseFolder;
    QString odbcConnectionString;
    // The SQL Server password when it is not in the connection string (from the environment or
    // typed at the log-in); it never has to stand on the command line.
    QString serverPassword;
    // How long the log-in waits for the database before it gives up.
    int loginTimeoutSeconds = 10;
    // When set, opens the connection instead (a database the caller has prepared, e.g. in
    // memory); called at most once per successful opening.
    std::function<std::unique_ptr<db::Connection>()> open;
};

// The hospital information system's current-user component, as the program uses it: it logs the
// user in, holds the open connection and names the logged-in employee.
class CurrentUser
{
public:
    explicit CurrentUser(ConnectionTarget target = {});
    ~CurrentUser();

    QString PasswordDeptCode;

    // Shows the log-in dialog (through the Modal seam); Connected() tells whether it succeeded.
    void ShowMain();
    bool Connected() const { return m_connection != nullptr && !m_employeeCode.isEmpty(); }

    db::Connection &sqlconnection() const;
    QString Employeecode() const { return m_employeeCode; }
    QString ServerName() const;
    QString UserID() const { return m_serverUser; }
    QString ServerPassword() const { return m_serverPassword; }

    // Opens the target's connection (throws db::DatabaseError when it cannot be opened; the
    // message names the folder or server and says what to do). Safe on a worker thread.
    std::unique_ptr<db::Connection> openConnection() const;
    // The log-in must ask for the SQL Server password: the connection string names a user but
    // no password, no data source that could hold one, and none was given otherwise.
    bool needsServerPassword() const;
    void setServerPassword(const QString &password);
    // The connection string as sent: the password given apart is added to it.
    QString odbcConnectionString() const;
    // Takes an open connection and an employee as logged in (the log-in dialog's last step;
    // tests use it to start with a given user).
    void logIn(std::unique_ptr<db::Connection> connection, const QString &employeeCode);

    const ConnectionTarget &target() const { return m_target; }

    // Does the password table hold this employee with this (plain) password? The employee's
    // code as the table spells it, or the empty text when not.
    static QString checkPassword(db::Connection &connection, const QString &employeeId,
                                 const QString &password);
    // The folder of the embedded demo database used when the target names none.
    static QString defaultDatabaseFolder();

private:
    ConnectionTarget m_target;
    std::unique_ptr<db::Connection> m_connection;
    QString m_employeeCode;
    QString m_serverUser;
    QString m_serverPassword;
};

} // namespace user
