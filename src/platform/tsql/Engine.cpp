#include "platform/tsql/Engine.h"

#include "platform/tsql/EngineInternal.h"
#include "platform/tsql/Error.h"
#include "platform/tsql/Lexer.h"
#include "platform/tsql/Parser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace tsql {

namespace {

QString quotedName(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

bool containsDdl(const std::vector<StmtPtr> &stmts)
{
    for (const StmtPtr &s : stmts) {
        if (!s)
            continue;
        switch (s->kind) {
        case Stmt::Kind::CreateTable:
        case Stmt::Kind::CreateIndex:
        case Stmt::Kind::CreateRoutine:
        case Stmt::Kind::Drop:
        case Stmt::Kind::Use:
        case Stmt::Kind::Truncate:
            return true;
        default:
            break;
        }
        if (containsDdl(s->body))
            return true;
    }
    return false;
}

constexpr int kCacheLimit = 4000;
constexpr size_t kMaxParameters = 30000;

} // namespace

Engine::Engine()
    : m_currentDb(QStringLiteral("INVENTORY"))
{ }

Engine::~Engine()
{
    m_cache.clear();
    m_routinePlans.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Engine::exec(const QString &sql)
{
    char *error = nullptr;
    m_lastError = 0;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        m_lastError = sqlite3_extended_errcode(m_db);
        const QString message = QString::fromUtf8(error ? error : "SQLite error");
        sqlite3_free(error);
        throw Error(message);
    }
}

std::unique_ptr<Engine> Engine::open(const QString &folder, bool *created)
{
    std::unique_ptr<Engine> e(new Engine);
    e->m_folder = folder;
    // An engine on a folder belongs to one connection, used from one thread at a time (its
    // caches are not shared), so SQLite's locking of every call is left out. A private in-memory
    // engine may be the template that connections copy from, and keeps it.
    const int threading = folder.isEmpty() ? 0 : SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(":memory:", &e->m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | threading,
                        nullptr)
        != SQLITE_OK)
        throw Error(QStringLiteral("Cannot open the embedded database."));
    sqlite3_extended_result_codes(e->m_db, 1);
    sqlite3_busy_timeout(e->m_db, 5000);
    sqlite3_limit(e->m_db, SQLITE_LIMIT_ATTACHED, 10);
    registerFunctions(e->m_db, e.get());
    e->attach(folder);
    e->loadCatalog();
    if (created)
        *created = e->m_catalog.isEmpty();
    return e;
}

bool Engine::refreshCatalog()
{
    const int version = m_catalog.version();
    m_catalog = Catalog();
    while (m_catalog.version() <= version)
        m_catalog.bump(); // cached translations belong to the old catalogue
    loadCatalog();
    return !m_catalog.isEmpty();
}

void Engine::attach(const QString &folder)
{
    if (!folder.isEmpty() && !QDir().mkpath(folder))
        throw Error(QStringLiteral("Cannot create the database folder '%1'.").arg(folder));
    const bool folderWritable = folder.isEmpty() || QFileInfo(folder).isWritable();
    for (const QString &db : Catalog::databases()) {
        if (folder.isEmpty()) {
            exec(QStringLiteral("ATTACH DATABASE ':memory:' AS %1").arg(quotedName(db)));
        } else {
            const QString file = QDir(folder).filePath(db + QStringLiteral(".db"));
            const QFileInfo info(file);
            if (info.exists() && (!folderWritable || !info.isWritable())) {
                attachReadOnly(db, file);
                continue;
            }
            QString path = file;
            path.replace(QLatin1Char('\''), QLatin1String("''"));
            exec(QStringLiteral("ATTACH DATABASE '%1' AS %2").arg(path, quotedName(db)));
            exec(QStringLiteral("PRAGMA %1.journal_mode=WAL").arg(quotedName(db)));
            exec(QStringLiteral("PRAGMA %1.synchronous=NORMAL").arg(quotedName(db)));
        }
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1._tsql_objects (seq INTEGER PRIMARY KEY "
                            "AUTOINCREMENT, kind TEXT NOT NULL, name TEXT NOT NULL COLLATE NOCASE, "
                            "tablename TEXT COLLATE NOCASE, definition TEXT NOT NULL)")
                 .arg(quotedName(db)));
    }
}

void Engine::attachReadOnly(const QString &db, const QString &file)
{
    // A file this user may not write is read as it is. Reading a database in WAL mode needs
    // its shared-memory file beside it; where that cannot be made, the file is read as one that
    // nobody changes meanwhile.
    QString uri
        = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri.replace(QLatin1Char('\''), QLatin1String("''"));
    QString reason;
    for (const char *mode : {"?mode=ro", "?immutable=1"}) {
        bool attached = false;
        try {
            exec(QStringLiteral("ATTACH DATABASE '%1%2' AS %3")
                     .arg(uri, QLatin1String(mode), quotedName(db)));
            attached = true;
            exec(QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(quotedName(db)));
            return;
        } catch (const Error &e) {
            reason = e.message();
            if (attached)
                exec(QStringLiteral("DETACH DATABASE %1").arg(quotedName(db)));
        }
    }
    throw Error(QStringLiteral("Cannot read the database file '%1': %2").arg(file, reason));
}

void Engine::loadCatalog()
{
    for (const QString &db : Catalog::databases()) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql
            = QStringLiteral("SELECT kind, definition FROM %1._tsql_objects ORDER BY seq")
                  .arg(quotedName(db))
                  .toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw Error(QString::fromUtf8(sqlite3_errmsg(m_db)));
        std::vector<std::pair<QString, QString>> objects;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            objects.emplace_back(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))),
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1))));
        }
        sqlite3_finalize(stmt);
        m_currentDb = db;
        for (const auto &[kind, definition] : objects) {
            Lexed lx;
            lex(definition, lx, false);
            Parser parser(lx);
            Batch batch = parser.parseBatch();
            if (batch.stmts.size() != 1)
                throw Error(QStringLiteral("A stored definition in %1 is damaged.").arg(db));
            const Stmt &s = *batch.stmts[0];
            const std::vector<Literal> none;
            Emitter emitter(m_catalog, db, lx.literals, true, nullptr, definition);
            if (s.kind == Stmt::Kind::CreateTable) {
                m_catalog.addTable(emitter.createTable(s).table);
            } else if (s.kind == Stmt::Kind::CreateIndex) {
                QString idb;
                QString table;
                emitter.createIndex(s, idb, table);
                m_catalog.addIndex(idb, table, s.name);
            } else if (s.kind == Stmt::Kind::CreateRoutine) {
                s.routine->db = db;
                s.routine->name = s.target.last();
                m_catalog.addRoutine(s.routine);
            }
        }
    }
    m_currentDb = QStringLiteral("INVENTORY");
}

std::unique_ptr<Engine> Engine::cloneInMemory() const
{
    std::unique_ptr<Engine> e(new Engine);
    // The copy belongs to one connection (see open()).
    if (sqlite3_open_v2(":memory:", &e->m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        throw Error(QStringLiteral("Cannot open the embedded database."));
    sqlite3_extended_result_codes(e->m_db, 1);
    registerFunctions(e->m_db, e.get());
    for (const QString &db : Catalog::databases()) {
        e->exec(QStringLiteral("ATTACH DATABASE ':memory:' AS %1").arg(quotedName(db)));
        const QByteArray name = db.toUtf8();
        sqlite3_int64 size = 0;
        unsigned char *data = sqlite3_serialize(m_db, name.constData(), &size, 0);
        if (!data)
            throw Error(QStringLiteral("Cannot copy the database %1.").arg(db));
        const int rc
            = sqlite3_deserialize(e->m_db, name.constData(), data, size, size,
                                  SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
        if (rc != SQLITE_OK)
            throw Error(QStringLiteral("Cannot copy the database %1.").arg(db));
    }
    e->m_catalog = m_catalog;
    e->m_clock = m_clock;
    return e;
}

void Engine::persist(const QString &db, const QString &kind, const QString &name,
                     const QString &table, const QString &definition)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = QStringLiteral("INSERT INTO %1._tsql_objects (kind, name, tablename, "
                                          "definition) VALUES (?1, ?2, ?3, ?4)")
                               .arg(quotedName(db))
                               .toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(m_db)));
    const QByteArray values[4]
        = {kind.toUtf8(), name.toUtf8(), table.toUtf8(), definition.toUtf8()};
    for (int i = 0; i < 4; ++i)
        sqlite3_bind_text(stmt, i + 1, values[i].constData(), static_cast<int>(values[i].size()),
                          SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw Error(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void Engine::unpersist(const QString &db, const QString &kind, const QString &name)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql
        = QStringLiteral("DELETE FROM %1._tsql_objects WHERE (kind = ?1 AND name = ?2) "
                         "OR (?1 = 'T' AND kind = 'I' AND tablename = ?2)")
              .arg(quotedName(db))
              .toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(m_db)));
    const QByteArray k = kind.toUtf8();
    const QByteArray n = name.toUtf8();
    sqlite3_bind_text(stmt, 1, k.constData(), static_cast<int>(k.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
    sqlite3_step(stmt);
    sqlite3_finalize(stmt);
}

QDateTime Engine::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTime();
}

int Engine::objectId(const QString &name, const QString &type) const
{
    Lexed lx;
    try {
        lex(name, lx, false);
    } catch (const Error &) {
        return 0;
    }
    QStringList parts;
    bool expectName = true;
    for (const Token &t : lx.tokens) {
        if (t.kind == Tok::End)
            break;
        if (t.kind == Tok::Op && t.text == QLatin1String(".")) {
            if (expectName)
                parts << QString();
            expectName = true;
        } else if (t.kind == Tok::Ident || t.kind == Tok::Quoted) {
            parts << t.text.toString();
            expectName = false;
        } else {
            return 0;
        }
    }
    if (parts.isEmpty() || parts.size() > 3)
        return 0;
    QString db = m_currentDb;
    if (parts.size() == 3) {
        db = Catalog::canonicalDatabase(parts[0]);
        if (db.isEmpty())
            return 0;
    }
    const QString object = parts.last();
    const QString t = type.trimmed().toUpper();
    const int base
        = static_cast<int>(qHash(db.toLower() + QLatin1Char('.') + object.toLower()) & 0x3fffffff)
        + 1;
    if ((t.isEmpty() || t == QLatin1String("U")) && m_catalog.table(db, object))
        return base;
    if (auto r = m_catalog.routine(db, object)) {
        if (t.isEmpty() || (r->isFunction && t == QLatin1String("FN"))
            || (!r->isFunction && t == QLatin1String("P")))
            return base;
    }
    return 0;
}

void Engine::beginTransaction()
{
    if (m_inTransaction)
        throw Error(QStringLiteral("A transaction is already open on this connection."),
                    QStringLiteral("BEGIN TRANSACTION"));
    // Only the inventory database is locked for writing from the start, so that what the
    // transaction reads there stays as read until it commits (two saves drawing a number wait
    // for each other); the other databases are locked only if the transaction writes them, so
    // a program holding one of them does not stop every save.
    exec(QStringLiteral("BEGIN"));
    try {
        exec(QStringLiteral("DELETE FROM \"INVENTORY\"._tsql_objects WHERE 0"));
    } catch (const Error &) {
        const int code = sqlite3_extended_errcode(m_db);
        if (sqlite3_get_autocommit(m_db) == 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_lastError = code;
        throw;
    }
    m_inTransaction = true;
    m_transactionVersion = m_catalog.version();
}

void Engine::commitTransaction()
{
    if (!m_inTransaction)
        throw Error(QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN "
                                   "TRANSACTION."),
                    QStringLiteral("COMMIT"));
    if (sqlite3_get_autocommit(m_db) != 0) {
        // SQLite ended the transaction itself after a failure: nothing was committed.
        m_inTransaction = false;
        undoCatalogChanges();
        throw Error(QStringLiteral("The transaction was rolled back after an error; nothing was "
                                   "committed."),
                    QStringLiteral("COMMIT"));
    }
    try {
        exec(QStringLiteral("COMMIT"));
    } catch (const Error &) {
        // A commit that fails (a full disk, a lock) is rolled back, so that the connection
        // holds no lock and can be used again.
        m_lastError = sqlite3_extended_errcode(m_db);
        m_inTransaction = false;
        if (sqlite3_get_autocommit(m_db) == 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        undoCatalogChanges();
        throw;
    }
    m_inTransaction = false;
}

void Engine::rollbackTransaction()
{
    if (!m_inTransaction)
        throw Error(QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN "
                                   "TRANSACTION."),
                    QStringLiteral("ROLLBACK"));
    m_inTransaction = false;
    if (sqlite3_get_autocommit(m_db) == 0)
        exec(QStringLiteral("ROLLBACK"));
    undoCatalogChanges();
}

void Engine::undoCatalogChanges()
{
    // Objects created or dropped inside the transaction are undone with it.
    if (m_catalog.version() != m_transactionVersion) {
        const QString db = m_currentDb;
        refreshCatalog();
        m_currentDb = db;
    }
}

bool Engine::holdsObjects(const QString &db) const
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql
        = QStringLiteral("SELECT 1 FROM %1._tsql_objects LIMIT 1").arg(quotedName(db)).toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    const bool any = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return any;
}

int Engine::lastErrorCode() const
{
    return m_lastError ? m_lastError : sqlite3_extended_errcode(m_db);
}

QStringList Engine::splitBatches(const QString &script)
{
    QStringList batches;
    QString current;
    static const QRegularExpression go(QStringLiteral("^\\s*go\\s*(--.*)?$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (go.match(line).hasMatch()) {
            if (!current.trimmed().isEmpty())
                batches << current;
            current.clear();
        } else {
            current += line;
            current += QLatin1Char('\n');
        }
    }
    if (!current.trimmed().isEmpty())
        batches << current;
    return batches;
}

void Engine::runScript(const QString &script)
{
    for (const QString &batch : splitBatches(script))
        execute(batch);
}

ResultSet Engine::execute(const QString &text)
{
    m_lastError = 0;
    if (m_cacheVersion != m_catalog.version() || m_cacheSize > kCacheLimit) {
        m_cache.clear();
        m_routinePlans.clear();
        m_cacheSize = 0;
        m_cacheVersion = m_catalog.version();
    }
    Lexed lx;
    lex(text, lx, true);
    const quint64 key = lx.shapeHash ^ qHash(m_currentDb);
    std::shared_ptr<CacheEntry> entry;
    auto it = m_cache.find(key);
    if (it != m_cache.end()) {
        for (const auto &candidate : *it) {
            if (candidate->db != m_currentDb || !sameShape(candidate->lexed.tokens, lx.tokens))
                continue;
            bool same = true;
            for (const auto &[index, raw] : candidate->baked) {
                if (lx.literals[static_cast<size_t>(index)].raw != raw) {
                    same = false;
                    break;
                }
            }
            if (same) {
                entry = candidate;
                break;
            }
        }
    }
    if (!entry) {
        Parser parser(lx);
        entry = std::make_shared<CacheEntry>();
        entry->batch = parser.parseBatch();
        ++m_parseCount;
        entry->text = text;
        entry->db = m_currentDb;
        for (int index : entry->batch.structural)
            entry->baked.emplace_back(index, lx.literals[static_cast<size_t>(index)].raw);
        // Statements with very many literals (generated scripts) are not kept, and take their
        // values in the text: SQLite binds at most 32766 parameters.
        entry->cacheable = !containsDdl(entry->batch.stmts) && lx.literals.size() <= kMaxParameters;
        if (entry->cacheable) {
            entry->lexed = lx; // its token views stay on the text it shares
            m_cache[key].push_back(entry);
            ++m_cacheSize;
        }
    }
    ResultSet result;
    Context ctx;
    ctx.literals = &lx.literals;
    ctx.inlineLiterals = lx.literals.size() > kMaxParameters;
    ctx.literalValues.reserve(lx.literals.size());
    for (const Literal &l : lx.literals)
        ctx.literalValues.push_back(literalValue(l));
    ctx.result = &result;
    ctx.text = text;
    ctx.plans = &entry->plans;
    ctx.entry = entry.get();
    runBlock(entry->batch.stmts, ctx);
    return result;
}

} // namespace tsql
