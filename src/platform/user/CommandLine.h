#pragma once

#include "platform/user/CurrentUser.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace user {

// The environment variable that may hold the SQL Server password, so that it never has to
// stand on the command line where every local user can read it.
inline constexpr const char *PasswordVariable = "STOCKREQUEST_DB_PASSWORD";

// What the command line asks for.
struct CommandLine
{
    ConnectionTarget target;
    bool showVersion = false;
    QString error; // not empty: the arguments cannot be used; the text says why
    QString warning; // shown but not fatal (a password given on the command line)
};

// Declares the program's options on the parser (also for --help).
void describeOptions(QCommandLineParser &parser);
// Reads the arguments (the program's name first) and the environment.
CommandLine parseCommandLine(const QStringList &arguments,
                             const QProcessEnvironment &environment
                             = QProcessEnvironment::systemEnvironment());

} // namespace user
