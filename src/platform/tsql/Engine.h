#pragma once

#include "platform/tsql/Ast.h"
#include "platform/tsql/Catalog.h"
#include "platform/tsql/Emitter.h"
#include "platform/tsql/Functions.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tsql {

// Rows a statement (or the last row-returning statement of a batch or procedure) produced.
struct ResultSet
{
    bool present = false;
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
};

// The T-SQL engine: one SQLite connection with the four databases attached, the catalogue of
// what has been created, and the cache of translated statements.
//
// What it runs: SELECT (DISTINCT, TOP, joins of every kind, CROSS/OUTER APPLY, derived tables,
// subqueries, GROUP BY/HAVING, UNION [ALL], ORDER BY name/alias/position), INSERT VALUES/SELECT,
// UPDATE [FROM], DELETE [FROM], CREATE/DROP TABLE, INDEX, PROCEDURE, FUNCTION (scalar, one
// RETURN), DECLARE/SET/SELECT @v, IF/ELSE, WHILE/BREAK, BEGIN...END, EXEC, USE, SET options,
// BEGIN TRAN/COMMIT/ROLLBACK, RAISERROR, PRINT. Anything else is refused with an error naming
// the construct and its place.
//
// Limits: OUTER APPLY gives one row per outer row (the applied query's first row, as a
// correlated subquery per column); a scalar subquery with several rows gives its first row
// instead of an error; one transaction at a time (a nested BEGIN is an error); no temporary
// tables, cursors, CTEs, window functions, OUTPUT parameters or dynamic SQL.
class Engine final : public FunctionHost
{
public:
    // Opens the databases in a folder (files <folder>/<NAME>.db, created when missing; `created`
    // tells whether they hold no objects yet, so that the caller builds them), or private
    // in-memory databases when the folder is empty. Throws tsql::Error.
    static std::unique_ptr<Engine> open(const QString &folder, bool *created = nullptr);
    ~Engine() override;
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Reads the catalogue again from the databases (another program may have built them);
    // true when they hold objects.
    bool refreshCatalog();

    // Has any object been created in this database (one of the four)?
    bool holdsObjects(const QString &db) const;

    // A private in-memory copy of this engine's databases and catalogue.
    std::unique_ptr<Engine> cloneInMemory() const;

    // Runs one batch; the rows of its last row-returning statement. Throws tsql::Error.
    ResultSet execute(const QString &batch);
    // Runs a script of batches separated by lines holding only GO.
    void runScript(const QString &script);
    static QStringList splitBatches(const QString &script);

    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const override;
    int objectId(const QString &name, const QString &type) const override;

    // One transaction at a time: a second begin is an error. The inventory database is locked
    // for writing at the begin, the others when first written; a commit that fails is rolled
    // back.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const { return m_inTransaction; }
    // SQLite's extended result code of the last failure (SQLITE_BUSY when another program held
    // a lock past the wait).
    int lastErrorCode() const;

    // PRINT texts and RAISERROR messages of severity 10 or lower, in order, since last taken.
    QStringList takeMessages() { return std::exchange(m_messages, QStringList()); }

    // How many statement texts have been parsed (cache misses).
    int parseCount() const { return m_parseCount; }
    const Catalog &catalog() const { return m_catalog; }
    QString currentDatabase() const { return m_currentDb; }
    QString location() const { return m_folder; }

    struct Compiled;
    struct PlanSet;
    struct Context;
    struct CacheEntry;

private:
    Engine();
    void attach(const QString &folder);
    void attachReadOnly(const QString &db, const QString &file);
    void loadCatalog();
    void exec(const QString &sql);
    void undoCatalogChanges();
    void persist(const QString &db, const QString &kind, const QString &name, const QString &table,
                 const QString &definition);
    void unpersist(const QString &db, const QString &kind, const QString &name);

    enum class Flow { Normal, Return, Break, Continue };
    Flow run(const Stmt &stmt, Context &ctx);
    Flow runBlock(const std::vector<StmtPtr> &stmts, Context &ctx);
    Compiled &compile(const void *key, Context &ctx,
                      const std::function<Translation(Emitter &)> &translate);
    void bind(Compiled &c, Context &ctx);
    void runQuery(Compiled &c, Context &ctx, ResultSet *out);
    void runCommand(Compiled &c, Context &ctx);
    QVariant evaluate(const Expr &e, Context &ctx, Type *type = nullptr);
    bool test(const Expr &e, Context &ctx);
    void assign(Context &ctx, const QString &name, const QVariant &value, int pos);
    void callProcedure(const Stmt &stmt, Context &ctx);
    void createTable(const Stmt &stmt, Context &ctx);
    void createIndex(const Stmt &stmt, Context &ctx);
    void createRoutine(const Stmt &stmt, Context &ctx);
    void drop(const Stmt &stmt, Context &ctx);
    QString resolveDb(const ObjectName &name, Context &ctx) const;
    [[noreturn]] void fail(const QString &message, const QString &construct, int pos,
                           const Context &ctx) const;
    void sqliteFail(const Context &ctx, int pos) const;

    sqlite3 *m_db = nullptr;
    QString m_folder;
    Catalog m_catalog;
    QString m_currentDb;
    std::function<QDateTime()> m_clock;
    bool m_inTransaction = false;
    int m_lastError = 0;
    int m_transactionVersion = 0;
    int m_parseCount = 0;
    int m_depth = 0;
    QStringList m_messages;
    QHash<quint64, std::vector<std::shared_ptr<CacheEntry>>> m_cache;
    int m_cacheSize = 0;
    int m_cacheVersion = -1;
    QHash<const Routine *, std::pair<std::shared_ptr<const Routine>, std::shared_ptr<PlanSet>>>
        m_routinePlans;
};

} // namespace tsql
