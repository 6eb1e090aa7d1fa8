#include "platform/user/CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace user {

namespace {

const QString DatabaseOption = QStringLiteral("database");
const QString OdbcOption = QStringLiteral("odbc");
const QString TimeoutOption = QStringLiteral("login-timeout");
const QString VersionOption = QStringLiteral("version");

} // namespace

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Stock requests of wards to the warehouse and pharmacy.\n\n"
                       "Without options the program uses the embedded demo database in the "
                       "user's data folder (created on first run); log in as employee DEMO "
                       "with the password demo.\n\n"
                       "The SQL Server password need not be on the command line: name an ODBC "
                       "data source that holds it (--odbc \"DSN=hospital\", see odbc.ini), set "
                       "the environment variable %1, or type it when the log-in asks.")
            .arg(QLatin1String(PasswordVariable)));
    parser.addHelpOption();
    parser.addOption({VersionOption, QStringLiteral("Show the program's version and end.")});
    parser.addOption({DatabaseOption,
                      QStringLiteral("Use the embedded database in FOLDER (created with the demo "
                                     "data when the folder holds none)."),
                      QStringLiteral("FOLDER")});
    parser.addOption(
        {OdbcOption,
         QStringLiteral("Connect to SQL Server through ODBC with this connection string, e.g. "
                        "\"DSN=hospital\" or \"DRIVER={FreeTDS};Server=host;Port=1433;"
                        "Database=INVENTORY;UID=user\"."),
         QStringLiteral("CONNECTION STRING")});
    parser.addOption({TimeoutOption,
                      QStringLiteral("Give up connecting after SECONDS (default 10)."),
                      QStringLiteral("SECONDS"), QStringLiteral("10")});
}

CommandLine parseCommandLine(const QStringList &arguments, const QProcessEnvironment &environment)
{
    CommandLine result;
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Unexpected argument: %1")
                           .arg(parser.positionalArguments().constFirst());
        return result;
    }
    result.showVersion = parser.isSet(VersionOption);
    result.target.databaseFolder = parser.value(DatabaseOption);
    result.target.odbcConnectionString = parser.value(OdbcOption);
    if (!result.target.databaseFolder.isEmpty() && !result.target.odbcConnectionString.isEmpty()) {
        result.error = QStringLiteral("Use either --database or --odbc, not both.");
        return result;
    }
    bool ok = false;
    const QString timeout = parser.value(TimeoutOption).trimmed();
    const int seconds = timeout.toInt(&ok);
    if (!ok || seconds < 1 || seconds > 3600) {
        result.error = QStringLiteral("--login-timeout takes a number of seconds from 1 to 3600, "
                                      "not \"%1\".")
                           .arg(timeout);
        return result;
    }
    result.target.loginTimeoutSeconds = seconds;
    result.target.serverPassword = environment.value(QLatin1String(PasswordVariable));
    static const QRegularExpression password(QStringLiteral("(^|;)\\s*(PWD|Password)\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    if (password.match(result.target.odbcConnectionString).hasMatch())
        result.warning = QStringLiteral("The database password on the command line can be read "
                                        "by every user of this computer; set %1 or use an ODBC "
                                        "data source instead.")
                             .arg(QLatin1String(PasswordVariable));
    return result;
}

} // namespace user
