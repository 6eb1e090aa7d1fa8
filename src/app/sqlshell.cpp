// stockrequest-sql DIR: an administrator's shell on an embedded database. Reads T-SQL from
// standard input in batches (a batch ends at a line holding only GO, or at the end of the
// input; a statement may run over several lines), prints each result as tab-separated text with
// a header line, and reports errors on standard error, with the input line, and a non-zero exit
// code. A batch that fails changes nothing.

#include "platform/db/SqlShell.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/EmbeddedConnection.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: stockrequest-sql DIR  (T-SQL on standard input)\n";
        return 2;
    }
    std::unique_ptr<db::EmbeddedConnection> connection;
    try {
        connection = db::EmbeddedConnection::open(args[1]);
    } catch (const db::DatabaseError &e) {
        err << "error: " << e.message() << '\n';
        return 1;
    }
    QTextStream in(stdin);
    const QString input = in.readAll();
    return db::runShell(connection->engine(), input, out, err) == 0 ? 0 : 1;
}
