// stockrequest-sql DIR: an administrator's shell on an embedded database. Reads T-SQL from
// standard input (batches separated by GO lines, or one statement per line when there is no
// GO), prints each result as tab-separated text with a header line, and reports errors on
// standard error with a non-zero exit code.

#include "platform/db/DatabaseError.h"
#include "platform/db/EmbeddedConnection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace {

QString cellText(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default: {
        QString s = value.toString();
        s.replace(QLatin1Char('\t'), QLatin1Char(' '));
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return s;
    }
    }
}

} // namespace

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
    static const QRegularExpression go(QStringLiteral("^\\s*go\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::MultilineOption);
    QStringList batches;
    if (go.match(input).hasMatch()) {
        QString current;
        for (const QString &line : input.split(QLatin1Char('\n'))) {
            if (line.trimmed().compare(QLatin1String("go"), Qt::CaseInsensitive) == 0) {
                batches << current;
                current.clear();
            } else {
                current += line + QLatin1Char('\n');
            }
        }
        batches << current;
    } else {
        batches = input.split(QLatin1Char('\n'));
    }
    int failures = 0;
    for (const QString &batch : batches) {
        if (batch.trimmed().isEmpty())
            continue;
        try {
            const db::Recordset rs = connection->query(batch);
            if (rs.fieldCount() == 0)
                continue;
            out << rs.columns().join(QLatin1Char('\t')) << '\n';
            for (const auto &row : rs.rows()) {
                QStringList cells;
                for (const QVariant &v : row)
                    cells << cellText(v);
                out << cells.join(QLatin1Char('\t')) << '\n';
            }
            out.flush();
        } catch (const db::DatabaseError &e) {
            out.flush();
            err << "error: " << e.message() << '\n';
            err.flush();
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
