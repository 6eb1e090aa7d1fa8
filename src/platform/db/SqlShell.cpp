#include "platform/db/SqlShell.h"

#include "platform/tsql/Engine.h"
#include "platform/tsql/Error.h"
#include "platform/tsql/Lexer.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTextStream>

namespace db {

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

// A batch that begins, commits or rolls back a transaction itself is left to do so: the engine
// keeps one transaction at a time.
bool managesTransaction(const QString &batch)
{
    tsql::Lexed lx;
    try {
        tsql::lex(batch, lx, false);
    } catch (const tsql::Error &) {
        return false; // the batch fails anyway, inside the shell's transaction
    }
    for (const tsql::Token &t : lx.tokens) {
        if (t.kind != tsql::Tok::Ident)
            continue;
        if (tsql::sameWord(t.text, "tran") || tsql::sameWord(t.text, "transaction")
            || tsql::sameWord(t.text, "commit") || tsql::sameWord(t.text, "rollback"))
            return true;
    }
    return false;
}

} // namespace

QList<ShellBatch> shellBatches(const QString &input)
{
    static const QRegularExpression go(QStringLiteral("^\\s*go\\s*(--.*)?$"),
                                       QRegularExpression::CaseInsensitiveOption);
    QList<ShellBatch> batches;
    ShellBatch current;
    const QStringList lines = input.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (go.match(line).hasMatch()) {
            if (!current.text.trimmed().isEmpty())
                batches << current;
            current = ShellBatch {QString(), i + 2};
            continue;
        }
        current.text += line + QLatin1Char('\n');
    }
    if (!current.text.trimmed().isEmpty())
        batches << current;
    return batches;
}

int runShell(tsql::Engine &engine, const QString &input, QTextStream &out, QTextStream &err)
{
    int failures = 0;
    for (const ShellBatch &batch : shellBatches(input)) {
        const bool own = managesTransaction(batch.text);
        try {
            if (!own)
                engine.beginTransaction();
            const tsql::ResultSet rs = engine.execute(batch.text);
            if (!own)
                engine.commitTransaction();
            for (const QString &message : engine.takeMessages())
                err << message << '\n';
            if (rs.present && !rs.columns.isEmpty()) {
                out << rs.columns.join(QLatin1Char('\t')) << '\n';
                for (const auto &row : rs.rows) {
                    QStringList cells;
                    for (const QVariant &v : row)
                        cells << cellText(v);
                    out << cells.join(QLatin1Char('\t')) << '\n';
                }
            }
            out.flush();
        } catch (const tsql::Error &e) {
            if (engine.inTransaction()) {
                try {
                    engine.rollbackTransaction();
                } catch (const tsql::Error &) { }
            }
            out.flush();
            for (const QString &message : engine.takeMessages())
                err << message << '\n';
            const int line = batch.firstLine + (e.line() > 0 ? e.line() - 1 : 0);
            err << "error at line " << line << ": " << e.message();
            if (!e.construct().isEmpty())
                err << " (" << e.construct()
                    << (e.column() > 0 ? QStringLiteral(", column %1").arg(e.column()) : QString())
                    << ')';
            err << "; the batch starting at line " << batch.firstLine << " changed nothing\n";
            err.flush();
            ++failures;
        } catch (const std::bad_alloc &) {
            if (engine.inTransaction()) {
                try {
                    engine.rollbackTransaction();
                } catch (const tsql::Error &) { }
            }
            err << "error at line " << batch.firstLine
                << ": out of memory; the batch changed "
                   "nothing\n";
            err.flush();
            ++failures;
        }
    }
    return failures;
}

} // namespace db
