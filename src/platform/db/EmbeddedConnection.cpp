#include "platform/db/EmbeddedConnection.h"

#include "platform/tsql/Engine.h"
#include "platform/tsql/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>
#include <sqlite3.h>

namespace db {

namespace {

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("The database script %1 is missing.").arg(path),
                            QString());
    return QString::fromUtf8(file.readAll());
}

// Builds a new database from the scripts compiled into the program, in one transaction so that
// a failure leaves no half-built database behind.
void buildDatabase(tsql::Engine &engine, EmbeddedConnection::Content content)
{
    QStringList scripts
        = {QStringLiteral(":/database/schema.sql"), QStringLiteral(":/database/procedures.sql")};
    if (content == EmbeddedConnection::Content::Demo)
        scripts << QStringLiteral(":/database/demo.sql");
    engine.beginTransaction();
    try {
        // Another program may have built the database while this one waited for the lock.
        if (engine.refreshCatalog()) {
            engine.commitTransaction();
            return;
        }
        for (const QString &script : scripts) {
            try {
                engine.runScript(resourceText(script));
            } catch (const tsql::Error &e) {
                throw DatabaseError(QStringLiteral("%1: %2").arg(script, e.describe()), QString());
            }
        }
        engine.commitTransaction();
    } catch (...) {
        try {
            engine.rollbackTransaction();
        } catch (...) { }
        throw;
    }
}

// The demo database is built once per process; every in-memory connection gets a copy.
const tsql::Engine &templateEngine(EmbeddedConnection::Content content)
{
    static std::mutex mutex;
    static std::unique_ptr<tsql::Engine> engines[2];
    std::lock_guard<std::mutex> lock(mutex);
    auto &slot = engines[content == EmbeddedConnection::Content::Demo ? 0 : 1];
    if (!slot) {
        std::unique_ptr<tsql::Engine> engine;
        try {
            engine = tsql::Engine::open(QString());
        } catch (const tsql::Error &e) {
            throw DatabaseError(e.describe(), QString());
        }
        buildDatabase(*engine, content);
        slot = std::move(engine);
    }
    return *slot;
}

} // namespace

EmbeddedConnection::EmbeddedConnection(std::unique_ptr<tsql::Engine> engine, QString where)
    : m_engine(std::move(engine))
    , m_where(std::move(where))
{ }

EmbeddedConnection::~EmbeddedConnection() = default;

std::unique_ptr<EmbeddedConnection> EmbeddedConnection::open(const QString &folder, Content content)
{
    if (folder.isEmpty())
        throw DatabaseError(QStringLiteral("No database folder was given."), QString());
    std::unique_ptr<tsql::Engine> engine;
    bool created = false;
    try {
        engine = tsql::Engine::open(folder, &created);
    } catch (const tsql::Error &e) {
        throw DatabaseError(e.describe(), QString());
    }
    // A folder holds the four databases, or none (a new database is built there). One that
    // lacks some of them would answer every statement on their tables with "Invalid object
    // name": it is reported as what it is.
    if (!created) {
        QStringList missing;
        for (const QString &db : tsql::Catalog::databases()) {
            if (!engine->holdsObjects(db))
                missing << db + QStringLiteral(".db");
        }
        if (!missing.isEmpty())
            throw DatabaseError(
                QStringLiteral("The database folder %1 is incomplete: %2 %3 missing or empty. "
                               "Restore %4 from a backup, or open another folder.")
                    .arg(QDir::toNativeSeparators(folder), missing.join(QStringLiteral(", ")),
                         missing.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                         missing.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")),
                QString());
    }
    // A database without objects (new, or one whose building failed and was rolled back) is
    // built from the scripts.
    if (created)
        buildDatabase(*engine, content);
    return std::unique_ptr<EmbeddedConnection>(
        new EmbeddedConnection(std::move(engine), QStringLiteral("(embedded) ") + folder));
}

std::unique_ptr<EmbeddedConnection> EmbeddedConnection::openInMemory(Content content)
{
    const tsql::Engine &source = templateEngine(content);
    std::unique_ptr<tsql::Engine> engine;
    try {
        engine = source.cloneInMemory();
    } catch (const tsql::Error &e) {
        throw DatabaseError(e.describe(), QString());
    }
    return std::unique_ptr<EmbeddedConnection>(
        new EmbeddedConnection(std::move(engine), QStringLiteral("(embedded, in memory)")));
}

void EmbeddedConnection::runScript(const QString &script)
{
    for (const QString &batch : tsql::Engine::splitBatches(script))
        doExecute(batch);
}

void EmbeddedConnection::setClock(std::function<QDateTime()> clock)
{
    m_engine->setClock(std::move(clock));
}

QStringList EmbeddedConnection::databaseFiles()
{
    QStringList files;
    for (const QString &db : tsql::Catalog::databases())
        files << db + QStringLiteral(".db");
    return files;
}

QString EmbeddedConnection::serverName() const
{
    return m_where;
}

// Nested transactions count as SQL Server counts them: only the outermost commits, and a
// rollback at any depth undoes the whole.
void EmbeddedConnection::beginTransaction()
{
    if (m_transactionDepth == 0) {
        try {
            m_engine->beginTransaction();
        } catch (const tsql::Error &e) {
            throw failure(e, QStringLiteral("BEGIN TRANSACTION"));
        }
    }
    ++m_transactionDepth;
}

void EmbeddedConnection::commitTransaction()
{
    const QString statement = QStringLiteral("COMMIT TRANSACTION");
    if (m_transactionDepth == 0)
        throw DatabaseError(QStringLiteral("The COMMIT TRANSACTION request has no corresponding "
                                           "BEGIN TRANSACTION."),
                            statement);
    if (--m_transactionDepth > 0)
        return;
    try {
        // A refused commit is rolled back by the engine: no lock stays behind.
        m_engine->commitTransaction();
    } catch (const tsql::Error &e) {
        throw failure(e, statement);
    }
}

void EmbeddedConnection::rollbackTransaction()
{
    const QString statement = QStringLiteral("ROLLBACK TRANSACTION");
    if (m_transactionDepth == 0)
        throw DatabaseError(QStringLiteral("The ROLLBACK TRANSACTION request has no "
                                           "corresponding BEGIN TRANSACTION."),
                            statement);
    m_transactionDepth = 0;
    try {
        if (m_engine->inTransaction())
            m_engine->rollbackTransaction();
    } catch (const tsql::Error &e) {
        throw failure(e, statement);
    }
}

bool EmbeddedConnection::inTransaction() const
{
    return m_transactionDepth > 0;
}

DatabaseError EmbeddedConnection::failure(const tsql::Error &error, const QString &sql) const
{
    // Another program's lock outlasted the wait (SQLite's own words, and its code, say so).
    const int code = m_engine->lastErrorCode() & 0xff;
    if ((code == SQLITE_BUSY || code == SQLITE_LOCKED)
        && error.message().contains(QString::fromUtf8(sqlite3_errstr(code))))
        return DatabaseError(busyMessage(), sql);
    return DatabaseError(error.describe(), sql);
}

QString EmbeddedConnection::busyMessage()
{
    return QStringLiteral("The database is busy: another program or workstation is writing to "
                          "it. Please try again in a moment.");
}

Recordset EmbeddedConnection::doQuery(const QString &sql)
{
    tsql::ResultSet rs;
    try {
        rs = m_engine->execute(sql);
    } catch (const tsql::Error &e) {
        throw failure(e, sql);
    } catch (const std::bad_alloc &) {
        throw DatabaseError(QStringLiteral("Out of memory."), sql);
    }
    if (!rs.present)
        return Recordset();
    return Recordset(std::move(rs.columns), std::move(rs.rows));
}

void EmbeddedConnection::doExecute(const QString &sql)
{
    doQuery(sql);
}

} // namespace db
