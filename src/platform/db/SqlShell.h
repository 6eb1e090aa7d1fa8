#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace tsql {
class Engine;
}

namespace db {

// One batch of the shell's input: its text and the input line it starts on (from 1).
struct ShellBatch
{
    QString text;
    int firstLine = 1;
};

// Splits the shell's input into batches: a batch ends at a line holding only GO (any letter
// case, a trailing comment allowed) or at the end of the input. A statement may run over as
// many lines as it needs; blank batches are dropped.
QList<ShellBatch> shellBatches(const QString &input);

// Runs the shell's input batch by batch on an engine. Each batch runs in a transaction, so a
// batch that fails changes nothing; a batch that opens its own transaction keeps to it. Rows go
// to `out` as tab-separated text under a header line; errors go to `err` with the input line
// they stand on. Answers the number of batches that failed.
int runShell(tsql::Engine &engine, const QString &input, QTextStream &out, QTextStream &err);

} // namespace db
